#pragma once

// Saturation line (K function) and the boundary line between subregions 2 and 3 (L function),
// for use inside Dadez.

namespace dadez {

// β_K(θ) for any 0 < θ <= 1 (no range check).
double BetaK(double theta);
// θ_K(β) for β_K(STM_min_theta) <= β <= 1; -1 outside.
double ThetaK(double beta);
// θ_L(β), the root of β_L(θ) = β on the rising branch; -1 below the line's lowest point.
double ThetaL(double beta);

} // namespace dadez
