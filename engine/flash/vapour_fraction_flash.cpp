#include "engine/flash/vapour_fraction_flash.h"

#include "common/precision.h"
#include "engine/eos/checked_math.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/k_estimates.h"
#include "engine/flash/flash_steps.h"
#include "engine/flash/rachford_rice.h"

#include <cmath>
#include <string>

namespace quorvane {

namespace {

constexpr int kPassLimit = 1000;
constexpr int kLeastPasses = 5;
constexpr double kLnSTolerance = 1e-06;

// x_i = z_i/(1 + V·(K_i − 1)) and y_i = K_i·x_i, both normalised; returns S_y and S_x, the
// sums before normalisation.
void SplitAtFraction(std::span<const float> z, std::span<const double> k, float vf,
                     std::span<float> x, std::span<float> y, double& sy, double& sx) {
    sy = 0.0;
    sx = 0.0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        const double xi = checked::Div(z[i], 1.0 + vf * (k[i] - 1.0), "Rachford-Rice pole");
        sx += xi;
        sy += k[i] * xi;
        x[i] = checked::Single(xi, "liquid composition out of range");
        y[i] = checked::Single(k[i] * xi, "vapour composition out of range");
    }
    NormalizeFractions(x);
    NormalizeFractions(y);
}

// The secant iteration shared by both routines on the unknown state variable u (P or T).
// evaluate(u) runs the phase evaluations at u; the step rules are those of the pressure and
// temperature forms alike.
template <typename AtState, typename Clamp>
void SecantOnState(const FlashMixture& mixture, std::span<const float> z, float vf, float& u,
                   FlashResults& out, FlashState& state, AtState&& at, Clamp&& clamp) {
    const int n = static_cast<int>(z.size());
    auto& ws = state.work;
    std::span<double> lnPhiL(ws.lnPhiL.data(), n), lnPhiV(ws.lnPhiV.data(), n);
    std::span<double> k(ws.k.data(), n);
    const bool trackLiquid = 0.5F < vf;
    double uPrev = u;
    double sPrev = 0.0;
    double lnS = 0.0;
    int pass = 1;
    bool converged = false;
    for (; pass <= kPassLimit; ++pass) {
        float tempF = 0.0F;
        float pressPsia = 0.0F;
        at(u, tempF, pressPsia);
        out.liquidZ =
            detail::EvaluateLogPhase<float>(state, Phase::Liquid, tempF, pressPsia, out.x, lnPhiL);
        out.vapourZ =
            detail::EvaluateLogPhase<float>(state, Phase::Vapour, tempF, pressPsia, out.y, lnPhiV);
        for (int i = 0; i < n; ++i) {
            k[i] = detail::KFromLogs(lnPhiL[i], lnPhiV[i]);
        }
        double sy = 0.0;
        double sx = 0.0;
        SplitAtFraction(z, k, vf, out.x, out.y, sy, sx);
        const double s = trackLiquid ? sx : sy;
        lnS = checked::Log(s, "composition sum not positive");
        if (std::fabs(lnS) <= kLnSTolerance && pass >= kLeastPasses) {
            converged = true;
            break;
        }
        double uNew = u;
        if (pass == 1) {
            uNew = s >= 1.0 ? u - 10.0 : u + 10.0;
        } else if (s != sPrev) {
            uNew = u + (u - uPrev) * (1.0 - s) / (s - sPrev);
        }
        uPrev = u;
        sPrev = s;
        u = checked::Single(clamp(uNew), "state variable out of range");
    }
    for (int i = 0; i < n; ++i) {
        out.k[i] = checked::Single(k[i], "K-value out of range");
    }
    out.iterations = static_cast<std::int16_t>(pass > kPassLimit ? kPassLimit : pass);
    out.vapourFraction = vf;
    out.residual = std::fabs(lnS);
    (void)mixture;
    if (!converged) {
        detail::MarkUnconverged(out, std::fabs(lnS),
                                "The vapour-fraction flash did not converge in 1000 passes.");
    } else {
        switch (detail::CheckSplitOutcome(out, z)) {
        case detail::SplitOutcome::Sound:
            break;
        case detail::SplitOutcome::Unphysical:
            detail::MarkUnconverged(out, std::fabs(lnS),
                                    "The vapour-fraction flash ended on compositions or K-values "
                                    "that are not physical.");
            break;
        case detail::SplitOutcome::PureSupercritical:
        case detail::SplitOutcome::Trivial:
            detail::MarkUnconverged(out, std::fabs(lnS),
                                    "No state with this vapour fraction was found: the flash "
                                    "settled on a trivial solution (both phases are the same "
                                    "fluid as the feed). Either the mixture is above its "
                                    "critical region here, or the iteration lost the split.");
            break;
        }
    }
}

void StartPhases(std::span<const float> z, float vf, std::span<double> k, FlashResults& out) {
    double sy = 0.0;
    double sx = 0.0;
    SplitAtFraction(z, k, vf, out.x, out.y, sy, sx);
}

} // namespace

void VapourFractionPressure(const FlashMixture& mixture, std::span<const float> z, float tempF,
                            float vapourFraction, FlashResults& out, FlashState& state) {
    detail::CheckMixture(mixture, z);
    const int n = static_cast<int>(z.size());
    detail::BindMixture(mixture, state);
    out.Prepare(n);
    auto& ws = state.work;
    std::span<double> k(ws.k.data(), n);

    // Start from the bubble-type estimate (V up to 0.5) or the dew-type one.
    const bool dewSide = 0.5F < vapourFraction;
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        const double vi = VapourPressureEstimate(tempF, mixture.tcF[i], mixture.pcPsia[i],
                                                 mixture.w[i], mixture.vapourPressure[i], z[i]);
        if (z[i] != 0.0F) { // an absent component adds nothing to either sum
            sum += dewSide ? checked::Div(z[i], vi, "a component without a vapour pressure")
                           : z[i] * vi;
        }
    }
    float p = checked::Single(dewSide ? checked::Div(1.0, sum, "dew-point sum of zero") : sum,
                              "start pressure out of range");
    for (int i = 0; i < n; ++i) {
        k[i] = WilsonK(tempF, p, mixture.tcF[i], mixture.pcPsia[i], mixture.w[i]);
    }
    StartPhases(z, vapourFraction, k, out);
    SecantOnState(
        mixture, z, vapourFraction, p, out, state,
        [tempF](float u, float& t, float& pr) {
            t = tempF;
            pr = u;
        },
        [](double u) { return u <= 0.0 ? 1e-05 : u; });
    out.pressPsia = p;
    out.tempF = tempF;
}

void VapourFractionTemperature(const FlashMixture& mixture, std::span<const float> z,
                               float pressPsia, float vapourFraction, FlashResults& out,
                               FlashState& state) {
    detail::CheckMixture(mixture, z);
    const int n = static_cast<int>(z.size());
    detail::BindMixture(mixture, state);
    out.Prepare(n);
    auto& ws = state.work;
    std::span<double> k(ws.k.data(), n);

    // Start temperature: the weighted saturation temperatures, or on the dew side 0.7 of the
    // weighted critical temperature as held in °F.
    double tSatSum = 0.0;
    for (int i = 0; i < n; ++i) {
        float tSat = 0.0F;
        try {
            tSat = SaturationTemperatureK(pressPsia, mixture.vapourPressure[i], 0.01);
        } catch (const EngineError&) {
        }
        tSatSum += static_cast<double>(z[i]) * tSat;
    }
    float t = ToSingle((tSatSum - 273.15) * 1.8 + 32.0);
    if (0.5F < vapourFraction) {
        double tcSum = 0.0;
        for (int i = 0; i < n; ++i) {
            tcSum += static_cast<double>(z[i]) * mixture.tcF[i];
        }
        t = ToSingle(0.7 * tcSum);
    }
    for (int i = 0; i < n; ++i) {
        k[i] = WilsonK(t, pressPsia, mixture.tcF[i], mixture.pcPsia[i], mixture.w[i]);
    }
    StartPhases(z, vapourFraction, k, out);
    SecantOnState(
        mixture, z, vapourFraction, t, out, state,
        [pressPsia](float u, float& tt, float& pr) {
            tt = u;
            pr = pressPsia;
        },
        [](double u) { return u < -459.69 ? -455.0 : u; });
    out.tempF = t;
    out.pressPsia = pressPsia;
}

} // namespace quorvane
