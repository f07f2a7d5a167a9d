#pragma once

// Viscosity and thermal conductivity of the vapour and the liquid after a flash (steps 16 to
// 19 of the property driver), from the per-component sets or generalized estimates, their
// mixing rules and the dense-gas and pressure corrections.

#include "engine/properties/property_results.h"
#include "engine/properties/property_steps.h"

namespace quorvane::property_steps {

// Reads the molecular weights, densities and pseudo-critical constants already in `results`
// and writes the viscosities and thermal conductivities of the present phases; a failing
// statement keeps its target, and a value made from one that failed is not marked computed.
// idealGasCp: each component's ideal-gas heat capacity at T, idealGasCpGaps those that failed.
void CalculateTransport(const Inputs& in, const ComponentValues<double>& idealGasCp,
                        const ComponentGaps& idealGasCpGaps, PropertyResults& results);

} // namespace quorvane::property_steps
