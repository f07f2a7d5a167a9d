#include "units/fractions.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numeric>
#include <stdexcept>

namespace quorvane {
namespace {

TEST(Fractions, WorkedMoleToMass) {
    // M = 16 and 32 at 0.5/0.5 give 1/3 and 2/3, and back within 32-bit rounding.
    const std::vector<float> x{0.5f, 0.5f};
    const std::vector<float> mw{16.0f, 32.0f};
    const std::vector<float> w = MoleToMassFractions(x, mw);
    ASSERT_EQ(w.size(), 2u);
    EXPECT_FLOAT_EQ(w[0], 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(w[1], 2.0f / 3.0f);
    const std::vector<float> back = MassToMoleFractions(w, mw);
    EXPECT_FLOAT_EQ(back[0], 0.5f);
    EXPECT_FLOAT_EQ(back[1], 0.5f);
}

TEST(Fractions, NaturalGasRoundTripAtSinglePrecision) {
    const std::vector<float> x{0.85f, 0.07f, 0.03f, 0.02f, 0.015f, 0.015f};
    const std::vector<float> mw{16.043f, 30.07f, 44.097f, 58.123f, 28.0134f, 44.0095f};
    const std::vector<float> w = MoleToMassFractions(x, mw);
    EXPECT_NEAR(std::accumulate(w.begin(), w.end(), 0.0), 1.0, 1e-6);
    // Methane: 0.85·16.043 / 19.3858... (sum of x·M computed independently in 64 bits).
    double sum = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sum += double(x[i]) * double(mw[i]);
    }
    EXPECT_NEAR(w[0], 0.85 * 16.043 / sum, 1e-6);
    const std::vector<float> back = MassToMoleFractions(w, mw);
    for (std::size_t i = 0; i < x.size(); ++i) {
        EXPECT_NEAR(back[i], x[i], 4e-7 * std::max(1.0f, x[i] * 10.0f)) << i;
    }
}

TEST(Fractions, ResultsAreSinglePrecisionQuotients) {
    // 0.1·16.043 and 0.9·44.097 each rounded to float before summing: the result is the float
    // quotient, not the double one rounded once.
    const std::vector<float> x{0.1f, 0.9f};
    const std::vector<float> mw{16.043f, 44.097f};
    const float p0 = 0.1f * 16.043f;
    const float p1 = 0.9f * 44.097f;
    const float s = p0 + p1;
    EXPECT_EQ(MoleToMassFractions(x, mw)[0], p0 / s);
}

TEST(Fractions, AllZeroStaysZero) {
    const std::vector<float> zeros{0.0f, 0.0f, 0.0f};
    const std::vector<float> mw{16.0f, 30.0f, 44.0f};
    for (float w : MoleToMassFractions(zeros, mw)) {
        EXPECT_EQ(w, 0.0f);
    }
    for (float x : MassToMoleFractions(zeros, mw)) {
        EXPECT_EQ(x, 0.0f);
    }
}

TEST(Fractions, ZeroMolecularWeightDoesNotDivide) {
    const std::vector<float> w{0.5f, 0.5f};
    const std::vector<float> mw{0.0f, 32.0f};
    const std::vector<float> x = MassToMoleFractions(w, mw);
    EXPECT_EQ(x[0], 0.0f);
    EXPECT_EQ(x[1], 1.0f);
}

TEST(Fractions, ArraysOfDifferentLengthAreRefused) {
    const std::vector<float> x{0.5f, 0.5f};
    const std::vector<float> mw{16.0f};
    EXPECT_THROW(MoleToMassFractions(x, mw), std::invalid_argument);
    EXPECT_THROW(MassToMoleFractions(x, mw), std::invalid_argument);
}

TEST(CompositionBasisChange, ConvertsOnlyAcrossFamilies) {
    const std::vector<float> entered{0.5f, 0.5f};
    const std::vector<float> mw{16.0f, 32.0f};
    using B = CompositionBasis;
    EXPECT_EQ(ChangeCompositionBasis(entered, mw, B::MoleFrac, B::MolePercent), entered);
    EXPECT_EQ(ChangeCompositionBasis(entered, mw, B::WeightPercent, B::WeightFrac), entered);
    const auto w = ChangeCompositionBasis(entered, mw, B::MolePercent, B::WeightFrac);
    EXPECT_FLOAT_EQ(w[0], 1.0f / 3.0f);
    const auto x = ChangeCompositionBasis(w, mw, B::WeightFrac, B::MoleFrac);
    EXPECT_FLOAT_EQ(x[0], 0.5f);
    EXPECT_FLOAT_EQ(FeedFromEntered(w, mw, B::WeightPercent)[1], 0.5f);
    EXPECT_EQ(FeedFromEntered(entered, mw, B::MoleFrac), entered);
    EXPECT_FLOAT_EQ(EnteredFromFeed(entered, mw, B::WeightFrac)[1], 2.0f / 3.0f);
}

TEST(CompositionBasisChange, HeadingsCaptionsAndAmounts) {
    using B = CompositionBasis;
    EXPECT_EQ(BasisColumnHeading(B::WeightFrac), "Weight Frac");
    EXPECT_EQ(BasisColumnHeading(B::MolePercent), "Mole %");
    EXPECT_EQ(BasisLabelCaption(B::WeightPercent), " Weight %");
    EXPECT_EQ(BasisLabelCaption(B::MoleFrac), "Mole Fraction");
    // Switching "Mole Frac" to "Mole %" shows the same fraction ×100.
    EXPECT_EQ(FormatEnteredAmount(0.5f, B::MoleFrac), "0.5");
    EXPECT_EQ(FormatEnteredAmount(0.5f, B::MolePercent), "50.0");
    EXPECT_EQ(FormatEnteredAmount(0.78084f, B::MolePercent), "78.084");
    EXPECT_EQ(FormatEnteredAmount(0.209476f, B::MoleFrac), "0.2095");
}

} // namespace
} // namespace quorvane
