// Results presented as converged are physical and at equilibrium: the states where the
// substitution loop ends on nonsense (negative fractions, K below zero, a trivial split) and a
// sweep of TP flashes over the whole (T, P) plane.

#include "engine/eos/k_estimates.h"
#include "engine/flash/flash_steps.h"
#include "engine/flash/isothermal_flash.h"
#include "engine/flash/saturation.h"
#include "engine/flash/stability.h"
#include "engine/flash/vapour_fraction_flash.h"
#include "tests/engine/flash/component_table.h"
#include "tests/engine/flash/flash_checks.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

namespace quorvane {
namespace {

bool Fractions(const std::vector<float>& f) {
    double sum = 0.0;
    for (const float v : f) {
        if (!(std::isfinite(v) && v >= 0.0F && v <= 1.0F)) {
            return false;
        }
        sum += v;
    }
    return std::fabs(sum - 1.0) <= 1e-5;
}

class PhysicalResults : public ::testing::Test {
protected:
    FlashResults Flash(const FlashCase& c, float tempF, float pressPsia) {
        FlashResults out;
        IsothermalFlash(MixtureOf(c), c.z, tempF, pressPsia, out, state);
        return out;
    }

    bool FeedIsStable(const FlashCase& c, float tempF, float pressPsia) {
        std::vector<double> kStart(c.n);
        std::vector<double> kSplit(c.n);
        for (int i = 0; i < c.n; ++i) {
            kStart[i] = WilsonK(tempF, pressPsia, c.tcF[i], c.pcPsia[i], c.w[i]);
        }
        FlashState fresh;
        detail::BindMixture(MixtureOf(c), fresh);
        const detail::StabilityResult s =
            detail::TestStability(fresh, c.z, tempF, pressPsia, kStart, kSplit);
        return s.evaluated && s.stable;
    }

    // Empty when r is either flagged or physical and at equilibrium; otherwise what is wrong.
    std::string Unsound(const FlashCase& c, const FlashResults& r, float tempF, float pressPsia) {
        if (!r.converged) {
            return r.warning.empty() || !std::isfinite(r.residual) ? "flag without reason" : "";
        }
        std::ostringstream why;
        const double v = r.vapourFraction;
        if (!(v >= 0.0 && v <= 1.0)) {
            why << "V = " << v << "; ";
        }
        if (!Fractions(r.x) || !Fractions(r.y)) {
            why << "fractions outside 0..1 or not summing to 1; ";
        }
        for (int i = 0; i < c.n; ++i) {
            if (!(std::isfinite(r.k[i]) && r.k[i] > 0.0F)) {
                why << "K[" << i << "] = " << r.k[i] << "; ";
            }
        }
        if (v > 0.0 && v < 1.0) {
            const double mismatch =
                testdata::LargestFugacityMismatch(c, r.x, r.y, tempF, pressPsia);
            if (!(mismatch < 1e-4)) {
                why << "fugacities differ by " << mismatch << "; ";
            }
            for (int i = 0; i < c.n; ++i) {
                const double feed = v * r.y[i] + (1.0 - v) * r.x[i];
                if (std::fabs(feed - c.z[i]) > 1e-5) {
                    why << "material balance of component " << i << "; ";
                }
            }
        } else {
            const std::vector<float>& present = v == 0.0 ? r.x : r.y;
            for (int i = 0; i < c.n; ++i) {
                if (present[i] != c.z[i]) {
                    why << "the single phase is not the feed; ";
                    break;
                }
            }
            if (!FeedIsStable(c, tempF, pressPsia)) {
                why << "single phase reported for an unstable feed; ";
            }
        }
        return why.str();
    }

    FlashState state;
};

// −200 °F, 1000 psia: a compressed liquid. The loop ends with all K-values negative.
TEST_F(PhysicalResults, CompressedLiquidIsOneLiquidPhase) {
    const FlashCase c = testdata::MethaneButane(0.5F);
    const FlashResults r = Flash(c, -200.0F, 1000.0F);
    ASSERT_TRUE(r.converged) << r.warning;
    EXPECT_EQ(r.vapourFraction, 0.0);
    EXPECT_EQ(Unsound(c, r, -200.0F, 1000.0F), "");
    // The absent vapour is set to the feed, with K = 1.
    for (int i = 0; i < c.n; ++i) {
        EXPECT_EQ(r.x[i], c.z[i]);
        EXPECT_EQ(r.y[i], c.z[i]);
        EXPECT_EQ(r.k[i], 1.0F);
    }
}

// 300 °F, 50 psia: a superheated vapour. The loop ends with x = y = (1.5, −0.5).
TEST_F(PhysicalResults, SuperheatedVapourIsOneVapourPhase) {
    const FlashCase c = testdata::MethaneButane(0.5F);
    const FlashResults r = Flash(c, 300.0F, 50.0F);
    ASSERT_TRUE(r.converged) << r.warning;
    EXPECT_EQ(r.vapourFraction, 1.0);
    EXPECT_EQ(Unsound(c, r, 300.0F, 50.0F), "");
    for (int i = 0; i < c.n; ++i) {
        EXPECT_EQ(r.y[i], c.z[i]);
        EXPECT_EQ(r.x[i], c.z[i]);
    }
}

// An ordinary split is left exactly as the loop made it.
TEST_F(PhysicalResults, OrdinarySplitIsUntouched) {
    const FlashCase c = testdata::MethaneButane(0.5F);
    const FlashResults r = Flash(c, 40.0F, 1000.0F);
    ASSERT_TRUE(r.converged) << r.warning;
    EXPECT_FALSE(r.continued);
    EXPECT_GT(r.vapourFraction, 0.0);
    EXPECT_LT(r.vapourFraction, 1.0);
    EXPECT_EQ(Unsound(c, r, 40.0F, 1000.0F), "");
}

// 40 °F, V = 0.5: the secant iteration settles where both phases sit on the liquid root.
TEST_F(PhysicalResults, TrivialVapourFractionSplitIsFlagged) {
    const FlashCase c = testdata::MethaneButane(0.5F);
    FlashResults r;
    VapourFractionPressure(MixtureOf(c), c.z, 40.0F, 0.5F, r, state);
    if (r.converged) {
        // Should the iteration reach the genuine split, it must be one.
        EXPECT_GT(detail::LargestLnK(r.k, c.z), detail::kNearTrivialLnK);
        EXPECT_LT(testdata::LargestFugacityMismatch(c, r.x, r.y, 40.0F, r.pressPsia), 1e-4);
    } else {
        EXPECT_NE(r.warning.find("trivial"), std::string::npos) << r.warning;
    }
}

// Methane at 40 °F is above its critical temperature: there is no bubble point.
TEST_F(PhysicalResults, PureComponentAboveItsCriticalPointHasNoBubblePoint) {
    const FlashCase c = testdata::MakeCase({"METHANE"}, {1.0F});
    FlashResults r;
    BubblePressure(MixtureOf(c), c.z, 40.0F, r, state);
    EXPECT_FALSE(r.converged);
    EXPECT_NE(r.warning.find("No saturation point at this temperature"), std::string::npos)
        << r.warning;
    // Below the critical temperature the bubble point stands.
    BubblePressure(MixtureOf(c), c.z, -150.0F, r, state);
    EXPECT_TRUE(r.converged) << r.warning;
}

// A grid over −250..400 °F and 10..3000 psia: every TP result is flagged or sound.
struct SweepCase {
    const char* mixture;
    const char* eos;
};

class PhysicalSweep : public PhysicalResults, public ::testing::WithParamInterface<SweepCase> {};

TEST_P(PhysicalSweep, EveryResultIsFlaggedOrSound) {
    const SweepCase p = GetParam();
    const FlashCase c = std::string(p.mixture) == "binary" ? testdata::MethaneButane(0.5F, p.eos)
                                                           : testdata::NaturalGas(p.eos);
    const float pressures[] = {10.0F,   50.0F,   100.0F,  200.0F,  400.0F, 700.0F,
                               1000.0F, 1500.0F, 2000.0F, 2500.0F, 3000.0F};
    int flagged = 0;
    int total = 0;
    for (float t = -250.0F; t <= 400.0F; t += 25.0F) {
        for (const float pr : pressures) {
            const FlashResults r = Flash(c, t, pr);
            ++total;
            flagged += r.converged ? 0 : 1;
            EXPECT_EQ(Unsound(c, r, t, pr), "")
                << p.mixture << " " << p.eos << " at " << t << " °F, " << pr << " psia";
        }
    }
    // The checks must not turn into flagging everything.
    EXPECT_LE(flagged, total / 20) << flagged << " of " << total << " flagged";
}

INSTANTIATE_TEST_SUITE_P(Grid, PhysicalSweep,
                         ::testing::Values(SweepCase{"binary", "PR"}, SweepCase{"binary", "SRK"},
                                           SweepCase{"gas", "PR"}, SweepCase{"gas", "SRK"}));

} // namespace
} // namespace quorvane
