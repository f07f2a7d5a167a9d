#pragma once

#include "engine/eos/eos_parameters.h"
#include "engine/eos/k_estimates.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Inputs and outputs shared by the flash routines.

namespace quorvane {

struct FlashCase;

// The mixture as the flash routines read it (all arrays n long; Tc in °F, Pc in psia).
struct FlashMixture {
    std::span<const float> tcF;
    std::span<const float> pcPsia;
    std::span<const float> w;
    std::span<const float> vc;
    std::span<const float> zc;
    std::span<const VapourPressureSet> vapourPressure;
    KijView kij;
    std::string_view eosText; // the equation-of-state list text

    int Size() const { return static_cast<int>(tcF.size()); }
};

FlashMixture MixtureOf(const FlashCase& flashCase);

// The second saturation point of a mixture at the same temperature or pressure (a lower and
// an upper dew point), named beside the one reported.
struct OtherPoint {
    bool present = false;
    float tempF = 0.0F;
    float pressPsia = 0.0F;
};

// What a flash routine writes back. The computed state variable is in tempF or pressPsia.
struct FlashResults {
    std::vector<float> x, y, k;
    double vapourFraction = 0.0;
    float tempF = 0.0F;
    float pressPsia = 0.0F;
    float liquidZ = 0.0F;
    float vapourZ = 0.0F;
    std::int16_t iterations = 0;

    // Whether the routine reached equilibrium, how far from it it ended and, if not, why. The
    // residual is sqrt(Σ (f_L,i/f_V,i − 1)²) for the isothermal flash (sqrt(Σ ln²) after a
    // continuation, 0 for a feed found stable), |S − 1| for the saturation points and |ln S|
    // for the vapour-fraction flashes as their own iterations end; once the driver has
    // confirmed a saturation or vapour-fraction point it is the largest |ln(f_V,i/f_L,i)| of
    // the confirmed point (64-bit). The warning may accompany a converged result too (a
    // second saturation point, a second liquid phase).
    bool converged = true;
    double residual = 0.0;
    std::string warning;
    // The isothermal flash went on past its substitution loop (stall or pass limit) to reach
    // equilibrium.
    bool continued = false;
    OtherPoint otherPoint;

    // Sizes x, y, k to n (keeping their storage) and clears the outcome.
    void Prepare(int n);
    // Back to the state of a new object, keeping the storage of the arrays and the warning.
    void Reset();
};

// Start and direction flags of the saturation routines (the phase-envelope tracer sets them).
struct SaturationFlags {
    bool start = false;     // begin from FlashState::previous instead of the start stages
    bool direction = false; // DewPressure only: correct P by P·S^e instead of P/S^e
};

} // namespace quorvane
