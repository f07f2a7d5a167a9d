#include "engine/eos/fugacity.h"

#include "common/precision.h"
#include "engine/eos/checked_math.h"
#include "engine/eos/fugacity_terms.h"

#include <cmath>
#include <vector>

namespace quorvane {

Phase PhaseFromFlag(std::string_view flag) {
    return flag == "V" ? Phase::Vapour : Phase::Liquid;
}

double FugacityCoefficient(EosEquation equation, Phase phase, float tempF, float pressPsia,
                           std::span<const float> tcF, std::span<const float> pcPsia,
                           std::span<const float> w, std::span<const float> x, int i,
                           EosVariant variant, KijView kij, float& zOut, CubicState& state) {
    const RootPair roots =
        CompressibilityRoots(equation, tempF, pressPsia, tcF, pcPsia, w, x, variant, kij, state);
    const double z = detail::ChooseZ(roots, phase);
    zOut = ToSingle(z);

    const float tR = RankineOf(tempF);
    std::vector<float> tcR(tcF.size());
    for (std::size_t j = 0; j < tcF.size(); ++j) {
        tcR[j] = RankineOf(tcF[j]);
    }
    const double bi = ComponentBParameter(equation, tcR[i], pcPsia[i]);
    const double b = MixtureBParameter(equation, tcR, pcPsia, x);
    const double ai = ComponentAParameter(equation, tcR[i], pcPsia[i], tR, w[i], variant);
    const double a = equation == EosEquation::RK
                         ? MixtureAParameter(equation, tcR, pcPsia, x)
                         : MixtureAParameter(equation, tcR, pcPsia, w, x, tR, variant, kij);
    const detail::PhaseTerms terms = detail::MakePhaseTerms(equation, z, a, b, tR, pressPsia);

    double si = 0.0;
    if (equation != EosEquation::RK) {
        for (std::size_t j = 0; j < x.size(); ++j) {
            const double aj = ComponentAParameter(equation, tcR[j], pcPsia[j], tR, w[j], variant);
            si += x[j] * std::sqrt(aj) * (1.0 - static_cast<double>(kij(i, static_cast<int>(j))));
        }
    }
    const double attraction =
        equation == EosEquation::RK ? 2.0 * std::sqrt(ai * a) : 2.0 * std::sqrt(ai) * si / a;
    const double lnPhi = detail::LnPhi(terms, bi, attraction);
    return checked::Exp(lnPhi, "fugacity coefficient out of range");
}

} // namespace quorvane
