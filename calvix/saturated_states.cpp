#include "calvix/saturated_states.h"

#include "calvix/constants.h"
#include "calvix/region3_density.h"

namespace calvix {

std::optional<SaturatedPair> SaturatedStates(double tK, double pMPa) {
    if (tK <= kRegion13Temp) {
        return SaturatedPair{Region1(tK, pMPa), Region2(tK, pMPa)};
    }
    const std::optional<double> rhoLiquid = SaturatedLiquidDensity(tK);
    const std::optional<double> rhoVapour = SaturatedVapourDensity(tK);
    if (!rhoLiquid || !rhoVapour) {
        return std::nullopt;
    }
    return SaturatedPair{Region3(*rhoLiquid, tK), Region3(*rhoVapour, tK)};
}

} // namespace calvix
