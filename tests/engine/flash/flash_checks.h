#pragma once

// Checks shared by the flash tests: equal fugacities of every component in two phases,
// recomputed from scratch with the one-component fugacity coefficient.

#include "engine/eos/eos_choice.h"
#include "engine/eos/fugacity.h"
#include "engine/flash/flash_case.h"

#include <cmath>
#include <vector>

namespace quorvane::testdata {

// Largest |ln(x_i·φ_L,i / (y_i·φ_V,i))| over the components present.
inline double LargestFugacityMismatch(const FlashCase& c, const std::vector<float>& x,
                                      const std::vector<float>& y, float tempF, float pressPsia) {
    const EosChoice eos = c.Eos();
    CubicState cubic;
    double largest = 0.0;
    for (int i = 0; i < c.n; ++i) {
        if (c.z[i] <= 0.0F) {
            continue;
        }
        float z = 0.0F;
        const double phiL =
            FugacityCoefficient(eos.equation, Phase::Liquid, tempF, pressPsia, c.tcF, c.pcPsia, c.w,
                                x, i, eos.variant, c.kij.View(), z, cubic);
        const double phiV =
            FugacityCoefficient(eos.equation, Phase::Vapour, tempF, pressPsia, c.tcF, c.pcPsia, c.w,
                                y, i, eos.variant, c.kij.View(), z, cubic);
        largest = std::max(largest, std::fabs(std::log(x[i] * phiL / (y[i] * phiV))));
    }
    return largest;
}

} // namespace quorvane::testdata
