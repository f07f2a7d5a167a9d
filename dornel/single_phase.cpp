// Version, range and single-phase properties from temperature and pressure.

#include "dadez/dadez.h"
#include "dornel/dornel.h"
#include "dornel/library.h"
#include "dornel/property_set.h"
#include "dornel/reduced_state.h"

namespace dornel {

namespace {

constexpr int kDornelVersion = 4;

double SinglePhase(const PropertySet& property, double t, double p, const char* name) {
    return Guarded([&] {
        const double theta = SinglePhaseTheta(t, name);
        const double beta = SinglePhaseBeta(p, name);
        double value = 0.0;
        switch (STM_decision_subregion(theta, beta)) {
        case 1:
            value = property.region1(theta, beta);
            break;
        case 2:
        case 6:
            value = property.region2(theta, beta);
            break;
        case 3:
        case 5: {
            const double chi = STM_inv_x_beta3(theta, beta);
            if (chi < 0.0) {
                return chi;
            }
            value = property.region3(theta, chi);
            break;
        }
        case 4: {
            const double chi = STM_inv_x_beta4(theta, beta);
            if (chi < 0.0) {
                return chi;
            }
            value = property.region4(theta, chi);
            break;
        }
        default:
            Fail(kRegionError, name);
        }
        return property.out(value);
    });
}

} // namespace

} // namespace dornel

using namespace dornel;

extern "C" {

int STM_GetMnDllVer(void) {
    return Dadez().usable ? kDornelVersion : static_cast<int>(kErrorValue);
}

double STM_GetMaxTemp(void) {
    return Guarded([] { return OutTemperature(Dadez().maxTheta); });
}
double STM_GetMinTemp(void) {
    return Guarded([] { return OutTemperature(Dadez().minTheta); });
}
double STM_GetMaxPress(void) {
    return Guarded([] { return OutPressure(Dadez().maxBeta); });
}
double STM_GetMinPress(void) {
    return Guarded([] { return OutPressure(Dadez().minBeta); });
}

double STM_nEtp(double t, double p) {
    return SinglePhase(kEnthalpy, t, p, "STM_nEtp()");
}
double STM_nStp(double t, double p) {
    return SinglePhase(kEntropy, t, p, "STM_nStp()");
}
double STM_nXtp(double t, double p) {
    return SinglePhase(kVolume, t, p, "STM_nXtp()");
}
double STM_nCtp(double t, double p) {
    return SinglePhase(kHeatCapacity, t, p, "STM_nCtp()");
}

} // extern "C"
