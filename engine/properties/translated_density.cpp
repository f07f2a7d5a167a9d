#include "engine/properties/translated_density.h"

#include "common/precision.h"
#include "engine/properties/property_constants.h"
#include "engine/properties/pure_correlations.h"

#include <array>

namespace quorvane {

float TranslatedPengRobinsonDensity(float tempF, float pressPsia, float tcF, float pcPsia, float w,
                                    CubicState& state) {
    const std::array<float, 1> tc{tcF};
    const std::array<float, 1> pc{pcPsia};
    const std::array<float, 1> acentric{w};
    const std::array<float, 1> x{1.0F};
    const std::array<float, 1> noInteraction{0.0F};
    const RootPair roots =
        CompressibilityRoots(EosEquation::PR, tempF, pressPsia, tc, pc, acentric, x,
                             EosVariant::Original, KijView{noInteraction.data(), 1}, state);
    const double z = roots.liquid == kNoLiquidRoot ? roots.vapour : roots.liquid;

    const double zra = RackettCompressibility(w);
    const double tcR = FahrenheitToRankine(tcF);
    const double shift = 0.50033 * (0.25969 - zra) * kGasConstantPvt * tcR / pcPsia;
    const double p = pressPsia;
    return ToSingle(p / (kGasConstantPvt * FahrenheitToRankine(tempF) * z - shift * p));
}

} // namespace quorvane
