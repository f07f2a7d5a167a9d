#pragma once

#include "engine/envelope/cubic_mixture.h"
#include "engine/eos/cubic_roots.h"
#include "engine/eos/phase_fugacity.h"
#include "engine/flash/flash_case.h"
#include "engine/flash/flash_results.h"

#include <array>

// What the flash routines carry between calls, held by the caller instead of in globals so
// that independent flashes can run in parallel: the cubic solver's last B, the previous
// saturation point of the phase-envelope tracer, and preallocated working storage.

namespace quorvane {

// The previous saturation point, written by the phase-envelope tracer and read by the
// saturation routines when their start flag is set.
struct SaturationPoint {
    float tempF = 0.0F;
    float pressPsia = 0.0F;
    std::array<float, kMaxComponents> x{}; // liquid composition
    std::array<float, kMaxComponents> y{}; // vapour composition
};

// Working arrays of the flash routines (fixed size: no allocation while iterating).
struct FlashWorkspace {
    using Row = std::array<double, kMaxComponents>;
    PhaseFugacity eos;
    Row phiL{}, phiV{};                           // φ of a phase set to the feed
    Row lnPhiL{}, lnPhiV{}, lnPhiL2{}, lnPhiV2{}; // ln φ at the iterate (and a second pressure)
    Row ratio{}, ratioPrev{}, lambda{};           // fugacity ratios and acceleration exponents
    Row v{}, k{}, k2{};                           // vapour-pressure estimates, K-values
    std::array<float, kMaxComponents> tSat{};     // component saturation temperatures
    // Continuation of the isothermal flash.
    Row lnK{}, g{}, gTrial{}, xd{}, yd{};
    std::array<Row, kMaxComponents> jacobian{};
    // The equation of state in 64 bits with its derivatives (phase identification).
    envelope::CubicMixture model;
};

struct FlashState {
    CubicState cubic;
    SaturationPoint previous;
    FlashWorkspace work;
    // The results the driver's run writes before they go to the case, and the interaction
    // table of a run that estimates it; kept here so that their storage outlives a run.
    FlashResults results;
    KijTable estimatedKij;
};

} // namespace quorvane
