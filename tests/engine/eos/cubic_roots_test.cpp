#include "engine/eos/cubic_roots.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

// Coefficients of (Z − r1)(Z − r2)(Z − r3).
void Coefficients(double r1, double r2, double r3, double& a1, double& a2, double& a3) {
    a1 = -(r1 + r2 + r3);
    a2 = r1 * r2 + r1 * r3 + r2 * r3;
    a3 = -r1 * r2 * r3;
}

class SolveCubicTest : public ::testing::Test {
protected:
    RootPair Roots(double r1, double r2, double r3, double lastB = 0.0) {
        double a1 = 0.0, a2 = 0.0, a3 = 0.0;
        Coefficients(r1, r2, r3, a1, a2, a3);
        return SolveCubic(a1, a2, a3, CubicState{lastB});
    }
};

TEST_F(SolveCubicTest, ThreeRealRootsGiveLargestAndSmallest) {
    const RootPair r = Roots(0.05, 0.3, 0.9);
    EXPECT_NEAR(r.vapour, 0.9, 1e-12);
    EXPECT_NEAR(r.liquid, 0.05, 1e-12);
}

TEST_F(SolveCubicTest, OneRealRootMarksNoLiquid) {
    // (Z − 0.8)(Z² + 0.1): one real root.
    const RootPair r = SolveCubic(-0.8, 0.1, -0.08, CubicState{});
    EXPECT_NEAR(r.vapour, 0.8, 1e-12);
    EXPECT_EQ(r.liquid, kNoLiquidRoot);
}

TEST_F(SolveCubicTest, NegativeSmallestRootIsReportedAsMinusOne) {
    const RootPair r = Roots(-0.1, 0.2, 0.7);
    EXPECT_NEAR(r.vapour, 0.7, 1e-12);
    EXPECT_EQ(r.liquid, kNoLiquidRoot);
}

TEST_F(SolveCubicTest, LargestRootBelowLastBGivesZero) {
    const RootPair r = Roots(0.05, 0.3, 0.9, 1.0);
    EXPECT_EQ(r.vapour, 0.0);
}

// A liquid at very low pressure: the smallest root is tiny and must keep its relative
// accuracy (it is compared with B ~ 1e-10 in ln(Z − B)).
TEST_F(SolveCubicTest, TinyLiquidRootKeepsItsRelativeAccuracy) {
    const RootPair r = Roots(2.33e-10, 1.0e-7, 0.99999999);
    EXPECT_NEAR(r.liquid, 2.33e-10, 1e-8 * 2.33e-10); // the coefficients carry 2e-9
    EXPECT_NEAR(r.vapour, 0.99999999, 1e-14);
}

TEST_F(SolveCubicTest, DegenerateRootsAreHandled) {
    // Triple root (Q = 0).
    RootPair r = Roots(0.5, 0.5, 0.5);
    EXPECT_NEAR(r.vapour, 0.5, 1e-12);
    EXPECT_NEAR(r.liquid, 0.5, 1e-12);
    // Double largest root (x = +1, θ = 0).
    r = Roots(0.2, 0.8, 0.8);
    EXPECT_NEAR(r.vapour, 0.8, 1e-6);
    EXPECT_NEAR(r.liquid, 0.2, 1e-6);
    // Double smallest root (x = −1): the double root is the liquid-like root.
    r = Roots(0.2, 0.2, 0.8);
    EXPECT_NEAR(r.vapour, 0.8, 1e-6);
    EXPECT_NEAR(r.liquid, 0.2, 1e-6);
}

} // namespace
} // namespace quorvane
