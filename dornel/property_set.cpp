#include "dornel/property_set.h"

#include "dadez/dadez.h"
#include "dornel/reduced_state.h"

namespace dornel {

namespace {

// In subregions 3 and 4 the reduced volume is the root χ itself.
double ChiItself(double /*theta*/, double chi) {
    return chi;
}

} // namespace

const PropertySet kEnthalpy = {STM_e1_enthalpy, STM_e2_enthalpy, STM_e3_enthalpy, STM_e4_enthalpy,
                               OutEnthalpy};
const PropertySet kEntropy = {STM_sigma1_entropy, STM_sigma2_entropy, STM_sigma3_entropy,
                              STM_sigma4_entropy, OutEntropy};
const PropertySet kVolume = {STM_x1_volume, STM_x2_volume, ChiItself, ChiItself, OutVolume};
const PropertySet kHeatCapacity = {STM_iso_heat_cap1, STM_iso_heat_cap2, STM_iso_heat_cap3,
                                   STM_iso_heat_cap4, OutHeatCapacity};

SaturatedPair Saturated(const PropertySet& property, double theta, double beta,
                        bool lowSubregions) {
    SaturatedPair pair;
    if (lowSubregions) {
        pair.liquid = property.region1(theta, beta);
        pair.vapour = property.region2(theta, beta);
        return pair;
    }
    const double chiLiquid = STM_inv_x_beta4(theta, beta);
    if (chiLiquid < 0.0) {
        pair.ok = false;
        pair.failed = chiLiquid;
        return pair;
    }
    const double chiVapour = STM_inv_x_beta3(theta, beta);
    if (chiVapour < 0.0) {
        pair.ok = false;
        pair.failed = chiVapour;
        return pair;
    }
    pair.liquid = property.region4(theta, chiLiquid);
    pair.vapour = property.region3(theta, chiVapour);
    return pair;
}

} // namespace dornel
