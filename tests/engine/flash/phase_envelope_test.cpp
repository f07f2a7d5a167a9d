// The phase-envelope tracer on a natural gas, a methane/n-butane binary and a hydrogen/n-decane
// feed: where the curves start, that the points drawn are the saturation points the routines
// find on their own, the limits of the march, cancelling and the point check.

#include "engine/flash/phase_envelope.h"
#include "engine/flash/saturation.h"
#include "tests/engine/flash/component_table.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace quorvane {
namespace {

struct Feed {
    FlashCase flashCase;
    std::vector<float> mw;
};

Feed MakeFeed(const std::vector<std::string_view>& names, const std::vector<float>& z) {
    return Feed{testdata::MakeCase(names, z), testdata::MolarMasses(names)};
}

Feed NaturalGas() {
    return Feed{testdata::NaturalGas(), testdata::MolarMasses(testdata::kNaturalGasNames)};
}

Feed MethaneButane() {
    return MakeFeed({"METHANE", "n-BUTANE"}, {0.5F, 0.5F});
}

class PhaseEnvelopeTest : public ::testing::Test {
protected:
    PhaseEnvelope Trace(const Feed& feed, const EnvelopeOptions& options = {}) {
        FlashState state;
        return TraceCaseEnvelope(feed.flashCase, feed.mw, state, options);
    }

    // The saturation point at the point's given variable, found from scratch (no start from a
    // previous point); returns the other variable.
    static float FromScratch(const Feed& feed, const EnvelopePoint& point) {
        FlashState state;
        FlashResults out;
        const FlashMixture mixture = MixtureOf(feed.flashCase);
        const auto& z = feed.flashCase.z;
        switch (point.routine) {
        case SaturationRoutine::BubblePressure:
            BubblePressure(mixture, z, point.tempF, out, state);
            return out.pressPsia;
        case SaturationRoutine::BubbleTemperature:
            BubbleTemperature(mixture, z, point.pressPsia, out, state);
            return out.tempF;
        case SaturationRoutine::DewPressure:
            DewPressure(mixture, z, point.tempF, out, state);
            return out.pressPsia;
        case SaturationRoutine::DewTemperature:
            DewTemperature(mixture, z, point.pressPsia, out, state);
            return out.tempF;
        }
        return 0.0F;
    }

    // Drawn points below pressLimit agree with the routines run from scratch: 0.5 % in
    // pressure, 0.5 °F in temperature.
    static void ExpectGenuine(const Feed& feed, const std::vector<EnvelopePoint>& points,
                              float pressLimit) {
        for (const EnvelopePoint& point : points) {
            if (point.pressPsia > pressLimit) {
                continue;
            }
            const float other = FromScratch(feed, point);
            const std::string where = std::string(SaturationRoutineCode(point.routine)) +
                                      " T=" + std::to_string(point.tempF) +
                                      " P=" + std::to_string(point.pressPsia);
            if (point.routine == SaturationRoutine::BubblePressure ||
                point.routine == SaturationRoutine::DewPressure) {
                EXPECT_NEAR(other, point.pressPsia, 0.005 * point.pressPsia) << where;
            } else {
                EXPECT_NEAR(other, point.tempF, 0.5) << where;
            }
        }
    }

    static std::size_t HottestIndex(const std::vector<EnvelopePoint>& points) {
        return static_cast<std::size_t>(
            std::max_element(points.begin(), points.end(),
                             [](const auto& a, const auto& b) { return a.tempF < b.tempF; }) -
            points.begin());
    }
};

TEST_F(PhaseEnvelopeTest, NaturalGasCurvesStartLowAndFollowTheSaturationPoints) {
    const Feed gas = NaturalGas();
    const PhaseEnvelope e = Trace(gas);
    // The bubble curve starts cold, after a search upwards, just above 5 psia.
    EXPECT_GT(e.searchSteps, 1);
    ASSERT_GE(e.bubble.size(), 20U);
    EXPECT_EQ(e.bubble.front().routine, SaturationRoutine::BubblePressure);
    EXPECT_GT(e.bubble.front().pressPsia, 5.0F);
    EXPECT_LT(e.bubble.front().pressPsia, 30.0F);
    EXPECT_LE(e.bubble.size(), 200U);
    // The dew curve starts at 10 psia, passes its hottest point and turns back at high pressure.
    ASSERT_GE(e.dew.size(), 20U);
    EXPECT_FLOAT_EQ(e.dew.front().pressPsia, 10.0F);
    const std::size_t hottest = HottestIndex(e.dew);
    ASSERT_LT(hottest + 1, e.dew.size());
    EXPECT_GT(e.dew.back().pressPsia, e.dew[hottest].pressPsia);
    EXPECT_EQ(e.dew.back().routine, SaturationRoutine::DewPressure);
    // Every point drawn is the routine's own answer (compared where the routines started from
    // their estimates still converge: the dew temperature of this gas above ~400 psia needs
    // the start from the previous point).
    ExpectGenuine(gas, e.bubble, 1000.0F);
    ExpectGenuine(gas, e.dew, 300.0F);
    EXPECT_FALSE(e.cancelled);
}

TEST_F(PhaseEnvelopeTest, BinaryLowerDewCurveRunsByPressureOnItsOwnBranch) {
    const Feed binary = MethaneButane();
    const PhaseEnvelope e = Trace(binary);
    const std::size_t hottest = HottestIndex(e.dew);
    // Below the hottest dew point the curve is flat enough to be traced at given temperatures;
    // the pressures found there lie on the lower dew curve, not at zero or on the upper one.
    std::vector<EnvelopePoint> lower;
    for (std::size_t i = 0; i < hottest; ++i) {
        if (e.dew[i].routine == SaturationRoutine::DewPressure) {
            lower.push_back(e.dew[i]);
        }
    }
    ASSERT_FALSE(lower.empty());
    ExpectGenuine(binary, lower, 1000.0F);
    ExpectGenuine(binary, e.bubble, 1000.0F);
}

TEST_F(PhaseEnvelopeTest, VolatileFeedStartsTheBubbleCurveAtOnce) {
    // Hydrogen far above its critical point gives a bubble pressure well above 5 psia at the
    // cold start temperature of this feed.
    const PhaseEnvelope e = Trace(MakeFeed({"HYDROGEN", "n-DECANE"}, {0.05F, 0.95F}));
    EXPECT_EQ(e.searchSteps, 1);
    ASSERT_FALSE(e.bubble.empty());
    EXPECT_FLOAT_EQ(e.bubble.front().tempF, e.bubbleStartTempF + 10.0F);
}

TEST_F(PhaseEnvelopeTest, FailingPointsAreSteppedOverUpToEveryLimit) {
    Feed broken = MethaneButane();
    broken.flashCase.w[1] = std::numeric_limits<float>::quiet_NaN();
    FlashState state;
    int calls = 0;
    EnvelopeOptions options;
    options.progress = [&](const EnvelopeProgress&) {
        ++calls;
        return true;
    };
    const PhaseEnvelope e = TracePhaseEnvelope(MixtureOf(broken.flashCase), broken.flashCase.z,
                                               broken.mw, state, options);
    // 250 search steps, 200 passes on each curve, nothing drawn.
    EXPECT_EQ(e.searchSteps, 250);
    EXPECT_EQ(e.failed, 650);
    EXPECT_EQ(calls, 650);
    EXPECT_TRUE(e.bubble.empty());
    EXPECT_TRUE(e.dew.empty());
}

TEST_F(PhaseEnvelopeTest, CancellingKeepsThePointsSoFar) {
    EnvelopeOptions options;
    int calls = 0;
    EnvelopeProgress last;
    options.progress = [&](const EnvelopeProgress& p) {
        last = p;
        return ++calls < 40;
    };
    const PhaseEnvelope e = Trace(NaturalGas(), options);
    EXPECT_TRUE(e.cancelled);
    EXPECT_EQ(calls, 40);
    EXPECT_EQ(static_cast<std::size_t>(last.bubblePoints), e.bubble.size());
    EXPECT_GT(e.bubble.size(), 20U);
    EXPECT_TRUE(e.dew.empty());
}

TEST_F(PhaseEnvelopeTest, PointCheckChangesWhatIsDrawnNotTheMarch) {
    const Feed binary = MethaneButane();
    std::vector<std::pair<SaturationRoutine, int>> plain, checked;
    auto recorder = [](auto& calls) {
        return [&calls](const EnvelopeProgress& p) {
            calls.emplace_back(p.routine, p.iterations);
            return true;
        };
    };
    const PhaseEnvelope reference = Trace(binary, {recorder(plain), {}});
    int seen = 0;
    auto check = [&](PointCandidate& c) {
        if (++seen % 2 == 0) {
            return PointVerdict::Drop;
        }
        c.result.pressPsia += 1.0F;
        return PointVerdict::Resolved;
    };
    const PhaseEnvelope e = Trace(binary, {recorder(checked), check});
    EXPECT_EQ(checked, plain);
    EXPECT_EQ(e.resolved + e.dropped, seen);
    EXPECT_EQ(static_cast<std::size_t>(e.resolved), e.bubble.size() + e.dew.size());
    ASSERT_FALSE(e.bubble.empty());
    EXPECT_TRUE(e.bubble.front().resolved);
    EXPECT_FLOAT_EQ(e.bubble.front().pressPsia, reference.bubble.front().pressPsia + 1.0F);
}

TEST_F(PhaseEnvelopeTest, CasesThatCannotBeTracedAreRefusedInWords) {
    auto refusal = [&](const Feed& feed) {
        try {
            Trace(feed);
        } catch (const EnvelopeInputError& e) {
            return std::string(e.what());
        }
        return std::string("traced");
    };
    EXPECT_EQ(refusal(Feed{}), "No components have been selected.");
    Feed noEos = MethaneButane();
    noEos.flashCase.eosIndex = -1;
    EXPECT_EQ(refusal(noEos), "No equation of state is selected.");
    Feed noVolume = MethaneButane();
    noVolume.flashCase.vc[0] = 0.0F;
    EXPECT_NE(refusal(noVolume).find("critical volume"), std::string::npos);
    Feed noMass = MethaneButane();
    noMass.mw.pop_back();
    EXPECT_NE(refusal(noMass).find("molar masses"), std::string::npos);
}

} // namespace
} // namespace quorvane
