#pragma once

// Property relations shared by the two vapour equations (regions 2 and 5): a Gibbs free
// energy split into an ideal-gas part γ⁰ = ln π + Σ n τ^J and a residual part Σ n π^I b^J.

#include "calvix/power_series.h"
#include "calvix/regions.h"

namespace calvix {

// ideal: sums of the ideal-gas table at (1, τ); residual: sums of the residual table at
// (π, b) with b the shifted reduced temperature (τ − 0.5 in region 2, τ in region 5).
Properties VapourGibbsProperties(double tK, double pMPa, double pi, double tau,
                                 const SeriesSums& ideal, const SeriesSums& residual, double b);

} // namespace calvix
