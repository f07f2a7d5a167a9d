// The drawn envelope of the natural gas of the example case, methane/n-butane and
// methane/propane/n-hexane: every point is a saturation point (equal fugacities, recomputed
// from the one-component fugacity coefficient; the TP flash finds two phases just inside the
// outline and one just outside), the curves meet at the critical point, and the artefacts the
// tracer leaves near it (a hook, a flat stretch) are gone.

#include "engine/flash/isothermal_flash.h"
#include "engine/flash/verified_envelope.h"
#include "tests/engine/flash/flash_checks.h"
#include "tests/engine/flash/saturation_cases.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace quorvane {
namespace {

struct Mixture {
    std::string name;
    FlashCase flashCase;
    std::vector<float> mw;
};

std::vector<Mixture> Mixtures() {
    const std::vector<std::string_view> ternary = {"METHANE", "PROPANE", "n-HEXANE"};
    return {
        {"natural gas", testdata::ExampleGas(), testdata::MolarMasses(testdata::kNaturalGasNames)},
        {"methane/n-butane", testdata::MethaneButane(0.5F),
         testdata::MolarMasses({"METHANE", "n-BUTANE"})},
        {"methane/propane/n-hexane", testdata::MakeCase(ternary, {0.6F, 0.25F, 0.15F}),
         testdata::MolarMasses(ternary)}};
}

class VerifiedEnvelopeTest : public ::testing::Test {
protected:
    static PhaseEnvelope Trace(const Mixture& m, const EnvelopeOptions& options = {}) {
        FlashState state;
        return TraceVerifiedEnvelope(m.flashCase, m.mw, state, options);
    }

    // The closed outline: the bubble curve, the critical point, the dew curve backwards; below
    // the lowest points of the curves (about 10 psia) the two-phase region goes on down
    // between them.
    static std::vector<std::pair<double, double>> Outline(const PhaseEnvelope& e) {
        std::vector<std::pair<double, double>> outline;
        outline.emplace_back(e.bubble.front().tempF, 0.0);
        for (const EnvelopePoint& p : e.bubble) {
            outline.emplace_back(p.tempF, p.pressPsia);
        }
        outline.emplace_back(e.continuation.critical.tempF, e.continuation.critical.pressPsia);
        for (auto p = e.dew.rbegin(); p != e.dew.rend(); ++p) {
            outline.emplace_back(p->tempF, p->pressPsia);
        }
        outline.emplace_back(e.dew.front().tempF, 0.0);
        return outline;
    }

    // Whether (T, P) lies inside the outline (crossings of a ray towards higher temperature).
    static bool Inside(const std::vector<std::pair<double, double>>& outline, double t, double p) {
        bool inside = false;
        for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
            const auto [ti, pi] = outline[i];
            const auto [tj, pj] = outline[j];
            if ((pi > p) != (pj > p) && t < ti + (p - pi) * (tj - ti) / (pj - pi)) {
                inside = !inside;
            }
        }
        return inside;
    }

    // Whether the TP flash splits the feed at (T, P); nothing when it does not converge.
    std::optional<bool> TwoPhase(const FlashCase& c, double tempF, double pressPsia) {
        FlashResults out;
        IsothermalFlash(MixtureOf(c), c.z, static_cast<float>(tempF), static_cast<float>(pressPsia),
                        out, state);
        if (!out.converged) {
            return std::nullopt;
        }
        return out.vapourFraction > 0.0 && out.vapourFraction < 1.0;
    }

    FlashState state;
};

TEST_F(VerifiedEnvelopeTest, EveryPointIsASaturationPointWithTwoPhasesInsideAndOneOutside) {
    for (const Mixture& m : Mixtures()) {
        const PhaseEnvelope e = Trace(m);
        ASSERT_TRUE(e.closed) << m.name;
        ASSERT_GE(e.bubble.size(), 20U) << m.name;
        ASSERT_GE(e.dew.size(), 20U) << m.name;
        const auto outline = Outline(e);
        const FlashCase& c = m.flashCase;
        const envelope::SpecialPoint& critical = e.continuation.critical;
        int unconverged = 0;
        for (const bool bubble : {true, false}) {
            for (const EnvelopePoint& p : bubble ? e.bubble : e.dew) {
                const std::string where = m.name + (bubble ? " bubble" : " dew") +
                                          " T=" + std::to_string(p.tempF) +
                                          " P=" + std::to_string(p.pressPsia);
                // Equal fugacities of the feed and the incipient phase, in 32-bit storage.
                std::vector<float> incipient(p.incipient.begin(), p.incipient.begin() + c.n);
                EXPECT_LT(testdata::LargestFugacityMismatch(c, bubble ? c.z : incipient,
                                                            bubble ? incipient : c.z, p.tempF,
                                                            p.pressPsia),
                          2e-4)
                    << where;
                // Across the point along its free variable: two phases on the side inside the
                // outline, one on the side outside.
                const bool givenPressure = p.routine == SaturationRoutine::BubbleTemperature ||
                                           p.routine == SaturationRoutine::DewTemperature;
                for (const double side : {-1.0, 1.0}) {
                    const double t = givenPressure ? p.tempF + 0.5 * side : p.tempF;
                    const double pr =
                        givenPressure ? p.pressPsia : p.pressPsia * (1.0 + 3e-3 * side);
                    const std::optional<bool> split = TwoPhase(c, t, pr);
                    if (split) {
                        EXPECT_EQ(*split, Inside(outline, t, pr))
                            << where << " probe T=" << t << " P=" << pr;
                        continue;
                    }
                    // Known exception: near the critical point the TP flash itself may end
                    // unconverged on either side (on a trivial solution, the phases there
                    // differing too little for its iterations); that is no verdict on the
                    // point. It happens on a few percent of the probes, within 20 °F and 15 %
                    // of the critical point.
                    ++unconverged;
                    EXPECT_LT(std::fabs(t - critical.tempF), 20.0) << where;
                    EXPECT_LT(std::fabs(pr / critical.pressPsia - 1.0), 0.15) << where;
                }
            }
        }
        EXPECT_LE(unconverged, static_cast<int>((e.bubble.size() + e.dew.size()) / 10)) << m.name;
    }
}

TEST_F(VerifiedEnvelopeTest, CurvesMeetAtTheCriticalPointWithoutHookOrFlatStretch) {
    const std::vector<Mixture> mixtures = Mixtures();
    for (const Mixture& m : mixtures) {
        const PhaseEnvelope e = Trace(m);
        const envelope::SpecialPoint& critical = e.continuation.critical;
        ASSERT_TRUE(e.closed && critical.found) << m.name;
        EXPECT_EQ(critical.how, envelope::FoundBy::Criterion) << m.name;
        // Each curve ends within a few degrees and a few percent of the critical point, which
        // closes the outline; for these mixtures the bubble curve comes to it from lower
        // temperatures and the dew curve from higher ones, so neither runs on past it.
        for (const EnvelopePoint& end : {e.bubble.back(), e.dew.back()}) {
            EXPECT_LT(std::fabs(end.tempF - critical.tempF), 8.0) << m.name;
            EXPECT_LT(std::fabs(end.pressPsia / critical.pressPsia - 1.0), 0.06) << m.name;
        }
        EXPECT_LT(e.bubble.back().tempF, critical.tempF) << m.name;
        EXPECT_GT(e.dew.back().tempF, critical.tempF) << m.name;
        // No point lies above the cricondenbar or right of the cricondentherm, and no step
        // (the last one into the critical point included) is long enough on the plot to show
        // as a corner: at most 5 % of its extent, spanned by the cricondentherm and
        // cricondenbar.
        const double spanT = e.continuation.cricondentherm.tempF - e.bubble.front().tempF;
        const double spanP = e.continuation.cricondenbar.pressPsia;
        for (const auto* curve : {&e.bubble, &e.dew}) {
            for (std::size_t i = 0; i < curve->size(); ++i) {
                const EnvelopePoint& p = (*curve)[i];
                EXPECT_LE(p.pressPsia, e.continuation.cricondenbar.pressPsia * 1.0001) << m.name;
                EXPECT_LE(p.tempF, e.continuation.cricondentherm.tempF + 0.01) << m.name;
                const bool last = i + 1 == curve->size();
                const double nextT = last ? critical.tempF : (*curve)[i + 1].tempF;
                const double nextP = last ? critical.pressPsia : (*curve)[i + 1].pressPsia;
                EXPECT_LT(std::hypot((nextT - p.tempF) / spanT, (nextP - p.pressPsia) / spanP),
                          0.05)
                    << m.name << " step from T=" << p.tempF << " P=" << p.pressPsia;
            }
        }
    }
    // The natural gas: its bubble curve rises to the critical point in both T and P (the
    // tracer's own march turns back in temperature near -55 °F), and its dew curve comes down
    // from the cricondenbar to it (the march runs flat at 2318 psia instead).
    const PhaseEnvelope gas = Trace(mixtures[0]);
    for (std::size_t i = 1; i < gas.bubble.size(); ++i) {
        EXPECT_GT(gas.bubble[i].tempF, gas.bubble[i - 1].tempF) << i;
        EXPECT_GT(gas.bubble[i].pressPsia, gas.bubble[i - 1].pressPsia) << i;
    }
    EXPECT_GT(gas.resolved, 0);
    EXPECT_GT(gas.added, 0);
    const double cricondenbarT = gas.continuation.cricondenbar.tempF;
    for (std::size_t i = 1; i < gas.dew.size(); ++i) {
        if (gas.dew[i].tempF < cricondenbarT) {
            EXPECT_LT(gas.dew[i].tempF, gas.dew[i - 1].tempF) << i;
            EXPECT_LT(gas.dew[i].pressPsia, gas.dew[i - 1].pressPsia) << i;
        }
    }
}

TEST_F(VerifiedEnvelopeTest, StoppedTracingIsNeitherCarriedOnNorClosed) {
    EnvelopeOptions options;
    int calls = 0;
    options.progress = [&](const EnvelopeProgress& p) { return p.continuation || ++calls < 60; };
    const PhaseEnvelope e = Trace(Mixtures()[0], options);
    EXPECT_TRUE(e.cancelled);
    EXPECT_FALSE(e.closed);
    EXPECT_EQ(e.added, 0);
    EXPECT_FALSE(e.bubble.empty());
    // Stopped before the first point: nothing at all.
    options.progress = [](const EnvelopeProgress&) { return false; };
    const PhaseEnvelope none = Trace(Mixtures()[0], options);
    EXPECT_TRUE(none.cancelled);
    EXPECT_TRUE(none.bubble.empty() && none.dew.empty());
}

} // namespace
} // namespace quorvane
