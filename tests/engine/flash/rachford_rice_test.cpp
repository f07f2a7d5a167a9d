#include "engine/flash/rachford_rice.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(RachfordRice, SolvesKnownSplits) {
    const std::array<float, 2> z = {0.5F, 0.5F};
    // 0.5/(1 + V) = 0.25/(1 − V/2) gives V = 0.5.
    const std::array<float, 2> k = {2.0F, 0.5F};
    EXPECT_NEAR(RachfordRiceSolve(k, z), 0.5, 1e-5);
    const std::array<double, 2> kd = {2.0, 0.5};
    EXPECT_NEAR(RachfordRiceSolveTight(kd, z), 0.5, 1e-14);
    EXPECT_NEAR(RachfordRiceFunction(0.5, kd, z), 0.0, 1e-15);
}

TEST(RachfordRice, ReturnsVapourFractionsOutsideZeroToOne) {
    // z = (0.2, 0.8), K = (1.5, 0.5): 0.1·(1 − V/2) = 0.4·(1 + V/2) gives V = −1.2.
    const std::array<float, 2> z = {0.2F, 0.8F};
    const std::array<float, 2> k = {1.5F, 0.5F};
    EXPECT_NEAR(RachfordRiceSolve(k, z), -1.2, 1e-5);
    const std::array<double, 2> kd = {1.5, 0.5};
    EXPECT_NEAR(RachfordRiceSolveTight(kd, z), -1.2, 1e-13);
}

TEST(RachfordRice, KOfExactlyOneKeepsTheBracketFinite) {
    const std::array<float, 2> z = {0.5F, 0.5F};
    for (const auto& k : {std::array<float, 2>{1.0F, 0.5F}, std::array<float, 2>{1.0F, 2.0F},
                          std::array<float, 2>{1.0F, 1.0F}}) {
        EXPECT_TRUE(std::isfinite(RachfordRiceSolve(k, z)));
    }
}

TEST(NormalizeFractions, DividesBySumAndLeavesZeroSumsAlone) {
    std::array<float, 3> v = {1.0F, 2.0F, 1.0F};
    EXPECT_TRUE(NormalizeFractions(v));
    EXPECT_FLOAT_EQ(v[1], 0.5F);
    std::array<double, 2> zero = {0.0, 0.0};
    EXPECT_FALSE(NormalizeFractions(zero));
    EXPECT_EQ(zero[0], 0.0);
}

} // namespace
} // namespace quorvane
