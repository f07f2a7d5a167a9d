#include "calvix/region_tp.h"

#include "calvix/constants.h"
#include "calvix/limits.h"
#include "calvix/saturation.h"

#include <cmath>

namespace calvix {

std::int32_t RegionOfTp(double tK, double pMPa) {
    if (!std::isfinite(tK) || !std::isfinite(pMPa)) {
        return kErrorCode;
    }
    if (tK < kMinTemp || tK > kMaxTemp25 || pMPa <= 0.0 || pMPa > kMaxPress) {
        const bool inRegion5 =
            tK > kMaxTemp25 && tK <= kMaxTemp && pMPa > 0.0 && pMPa <= kMaxPress5;
        return inRegion5 ? kRegion5 : kErrorCode;
    }
    if (tK > kRegion13Temp) {
        if (tK < kCriticalTemp && pMPa == SaturationPressure(tK)) {
            return kRegion4;
        }
        return pMPa > B23Pressure(tK) ? kRegion3 : kRegion2;
    }
    const double ps = SaturationPressure(tK);
    if (pMPa == ps) {
        return kRegion4;
    }
    return pMPa > ps ? kRegion1 : kRegion2;
}

TpState OntoTpRange(double tK, double pMPa) {
    tK = OntoRange(tK, kMinTemp, kMaxTemp);
    pMPa = OntoHigh(pMPa, kMaxPress);
    // Above 10 MPa the formulation ends at 1073.15 K; above 1073.15 K it ends at 10 MPa.
    if (pMPa > kMaxPress5) {
        tK = OntoHigh(tK, kMaxTemp25);
    }
    if (tK > kMaxTemp25) {
        pMPa = OntoHigh(pMPa, kMaxPress5);
    }
    return {tK, pMPa};
}

} // namespace calvix
