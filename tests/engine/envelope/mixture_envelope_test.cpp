#include "common/precision.h"
#include "engine/envelope/boundary_system.h"
#include "engine/envelope/boundary_trace.h"
#include "engine/envelope/critical_point.h"
#include "engine/envelope/envelope_feed.h"
#include "engine/envelope/mixture_envelope.h"
#include "engine/flash/flash_driver.h"
#include "tests/engine/flash/saturation_cases.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace quorvane::envelope {
namespace {

EnvelopeMixture MixtureOfCase(const FlashCase& c) {
    return EnvelopeMixture{c.Eos(), c.tcF, c.pcPsia, c.w, c.kij.View()};
}

// One component: the cubic equations reproduce the critical temperature and pressure they are
// built from, with Z_c = 0.3074 for PR and 1/3 for SRK (Peng and Robinson, Ind. Eng. Chem.
// Fundam. 15 (1976) 59, eq. 8: Z_c = 0.307 for PR). The vapour-pressure curve ends there, and
// it is both the bubble and the dew curve.
TEST(ContinuationEnvelope, PureComponentEndsAtItsOwnCriticalPoint) {
    for (const auto& [eos, zc] : {std::pair{"PR", 0.3074}, std::pair{"SRK", 1.0 / 3.0}}) {
        for (const char* name : {"PROPANE", "CARBON DIOXIDE"}) {
            const FlashCase c = testdata::MakeCase({name}, {1.0F}, eos);
            const PhaseEnvelope env = TracePhaseEnvelope(MixtureOfCase(c), c.z);
            ASSERT_TRUE(env.critical.found) << eos << " " << name << " " << env.note;
            EXPECT_NEAR(env.critical.tempF, c.tcF[0], 0.02) << eos << " " << name;
            EXPECT_NEAR(env.critical.pressPsia / c.pcPsia[0], 1.0, 2e-4) << eos << " " << name;
            EXPECT_EQ(env.bubble.size(), env.dew.size());
            CubicMixture model;
            model.Bind(EosChoiceFromText(eos), c.tcF, c.pcPsia, c.w, c.kij.View());
            const std::vector<double> z = {1.0};
            const double tR = env.critical.tempF + kRankineOffset;
            const double v = model.MolarVolume(tR, env.critical.pressPsia, z, Root::Vapour);
            EXPECT_NEAR(env.critical.pressPsia * v / (kGasConstant * tR), zc, 2e-3) << eos;
        }
    }
}

// Two hydrocarbon binaries without interaction parameters, whose critical loci PR follows
// closely: the computed critical point against the measured one (Hicks and Young, "The
// gas-liquid critical properties of binary mixtures", Chem. Rev. 75 (1975) 119, as K and MPa
// at the mole fraction of the lighter component). A wrong criterion or a wrong derivative
// misses these by far more than the 1.5 % and 2 % allowed.
TEST(ContinuationEnvelope, BinaryCriticalPointsMatchMeasuredLoci) {
    struct Measured {
        const char* light;
        const char* heavy;
        float zLight;
        double tK;
        double pMPa;
    };
    const Measured loci[] = {
        {"ETHANE", "n-BUTANE", 0.3820F, 394.30, 5.170},  // Hicks and Young (1975)
        {"ETHANE", "n-BUTANE", 0.6020F, 370.40, 5.770},  // Hicks and Young (1975)
        {"PROPANE", "n-HEXANE", 0.4437F, 468.17, 4.434}, // Hicks and Young (1975)
        {"PROPANE", "n-HEXANE", 0.8130F, 411.45, 4.951}, // Hicks and Young (1975)
    };
    for (const Measured& m : loci) {
        const FlashCase c =
            testdata::MakeCase({m.light, m.heavy}, {m.zLight, 1.0F - m.zLight}, "PR");
        const PhaseEnvelope env = TracePhaseEnvelope(MixtureOfCase(c), c.z);
        ASSERT_TRUE(env.critical.found) << m.light << " " << m.zLight << " " << env.note;
        const double tK = (env.critical.tempF + kRankineOffset) / 1.8;
        const double pMPa = env.critical.pressPsia * 6.894757e-3;
        EXPECT_NEAR(tK / m.tK, 1.0, 0.015) << m.light << " " << m.zLight;
        EXPECT_NEAR(pMPa / m.pMPa, 1.0, 0.02) << m.light << " " << m.zLight;
    }
}

// Where the traced dew curve passes into the bubble curve (the K-values change sides) and the
// Heidemann-Khalil criterion, solved on its own from a rough start, give the same point: two
// independent routes to the critical point, for a binary, a CO2-rich mixture with kij and the
// example gas.
TEST(ContinuationEnvelope, BranchesMeetWhereTheCriticalCriterionHolds) {
    const FlashCase cases[] = {testdata::MethaneButane(0.5F), testdata::CarbonDioxideRich(),
                               testdata::ExampleGas(), testdata::MethaneButane(0.8F, "SRK")};
    for (const FlashCase& c : cases) {
        CubicMixture model;
        const Feed feed = BindFeed(model, MixtureOfCase(c), c.z);
        const std::span<const double> z(feed.z.data(), c.z.size());
        BoundarySystem dew(model, z, 1.0);
        TraceOptions options;
        options.largestLnTStep = 0.01; // fine steps: the crossing is interpolated
        const TraceLine line = TraceLineFromLowPressure(dew, options);
        Vec crossing{};
        ASSERT_TRUE(CriticalCrossing(dew, line, crossing)) << c.n;
        const double tCross = std::exp(crossing[TemperatureIndex(c.n)]);
        const double pCross = std::exp(crossing[PressureIndex(c.n)]);
        // The criterion from 5 % off in temperature and 10 % in pressure.
        const CriticalPointResult hk = FindCriticalPoint(model, z, 1.05 * tCross, 0.9 * pCross);
        ASSERT_TRUE(hk.found) << c.n;
        EXPECT_NEAR(hk.tR, tCross, 0.05) << c.n;
        EXPECT_NEAR(hk.pPsia / pCross, 1.0, 5e-4) << c.n;
        EXPECT_LT(std::fabs(hk.eigenvalue), 1e-9);
    }
}

// The cricondenbar and cricondentherm bound every point of both curves, and the curves meet at
// the critical point.
TEST(ContinuationEnvelope, ExtremesBoundBothCurves) {
    for (const FlashCase& c : {testdata::ExampleGas(), testdata::CarbonDioxideRich("SRK")}) {
        const PhaseEnvelope env = TracePhaseEnvelope(MixtureOfCase(c), c.z);
        ASSERT_TRUE(env.critical.found && env.cricondenbar.found && env.cricondentherm.found)
            << env.note;
        EXPECT_TRUE(env.note.empty()) << env.note;
        for (const auto* branch : {&env.bubble, &env.dew}) {
            for (const EnvelopePoint& p : *branch) {
                EXPECT_LE(p.pressPsia, env.cricondenbar.pressPsia * (1.0 + 1e-9));
                EXPECT_LE(p.tempF, env.cricondentherm.tempF + 1e-6);
            }
            EXPECT_EQ(branch->back().tempF, env.critical.tempF);
            EXPECT_EQ(branch->back().pressPsia, env.critical.pressPsia);
        }
    }
}

// Points of the quality lines are states of that vapour fraction: a TP flash there agrees.
TEST(ContinuationEnvelope, QualityLinesHaveTheirVapourFraction) {
    const FlashCase c = testdata::MethaneButane(0.5F);
    EnvelopeOptions options;
    options.qualities = {0.25, 0.75};
    const PhaseEnvelope env = TracePhaseEnvelope(MixtureOfCase(c), c.z, options);
    ASSERT_EQ(env.qualities.size(), 2U);
    for (const QualityLine& line : env.qualities) {
        ASSERT_GT(line.points.size(), 5U);
        for (std::size_t k = 1; k + 2 < line.points.size(); k += 3) {
            const EnvelopePoint& p = line.points[k];
            const FlashCase r =
                testdata::RunCase(c, FlashType::TP, ToSingle(p.tempF), ToSingle(p.pressPsia));
            ASSERT_TRUE(r.converged) << r.warning;
            EXPECT_NEAR(r.vapourFraction, line.vapourFraction, 2e-3)
                << p.tempF << " °F, " << p.pressPsia << " psia";
        }
    }
}

TEST(ContinuationEnvelope, ProgressReportsAndCancels) {
    const FlashCase c = testdata::ExampleGas();
    EnvelopeOptions options;
    int calls = 0;
    options.progress = [&](const EnvelopeProgress& p) {
        ++calls;
        EXPECT_EQ(p.points, calls);
        return calls < 5;
    };
    const PhaseEnvelope env = TracePhaseEnvelope(MixtureOfCase(c), c.z, options);
    EXPECT_TRUE(env.cancelled);
    EXPECT_EQ(calls, 5);
    EXPECT_FALSE(env.critical.found);
}

} // namespace
} // namespace quorvane::envelope
