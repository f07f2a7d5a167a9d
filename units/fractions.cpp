#include "units/fractions.h"

#include "units/number_format.h"

#include <stdexcept>

namespace quorvane {

namespace {

std::size_t CommonLength(std::span<const float> fractions, std::span<const float> mw) {
    if (fractions.size() != mw.size()) {
        throw std::invalid_argument("fractions and molecular weights differ in length");
    }
    return fractions.size();
}

} // namespace

// The sums and products are deliberately float: stored compositions are 32-bit and the
// conversions have always been carried out at that precision.

std::vector<float> MoleToMassFractions(std::span<const float> x, std::span<const float> mw) {
    std::vector<float> w(CommonLength(x, mw));
    MoleToMassFractions(x, mw, w);
    return w;
}

void MoleToMassFractions(std::span<const float> x, std::span<const float> mw, std::span<float> w) {
    const std::size_t n = CommonLength(x, mw);
    if (w.size() != n) {
        throw std::invalid_argument("fractions and their result differ in length");
    }
    float sum = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        w[i] = x[i] * mw[i];
        sum += w[i];
    }
    if (sum > 0.0f) {
        for (float& wi : w) {
            wi /= sum;
        }
    }
}

std::vector<float> MassToMoleFractions(std::span<const float> w, std::span<const float> mw) {
    const std::size_t n = CommonLength(w, mw);
    std::vector<float> x(n);
    float sum = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        // A component without a molecular weight has no moles to give.
        x[i] = mw[i] > 0.0f ? w[i] / mw[i] : 0.0f;
        sum += x[i];
    }
    if (sum > 0.0f) {
        for (float& xi : x) {
            xi /= sum;
        }
    }
    return x;
}

bool IsWeightBasis(CompositionBasis basis) {
    return basis == CompositionBasis::WeightFrac || basis == CompositionBasis::WeightPercent;
}

bool IsPercentBasis(CompositionBasis basis) {
    return basis == CompositionBasis::MolePercent || basis == CompositionBasis::WeightPercent;
}

std::string_view BasisColumnHeading(CompositionBasis basis) {
    switch (basis) {
    case CompositionBasis::MoleFrac:
        return "Mole Frac";
    case CompositionBasis::WeightFrac:
        return "Weight Frac";
    case CompositionBasis::MolePercent:
        return "Mole %";
    case CompositionBasis::WeightPercent:
        return "Weight %";
    }
    return {};
}

std::string_view BasisLabelCaption(CompositionBasis basis) {
    switch (basis) {
    case CompositionBasis::MoleFrac:
        return "Mole Fraction";
    case CompositionBasis::WeightFrac:
        return "Weight Fraction";
    case CompositionBasis::MolePercent:
        return "Mole %";
    case CompositionBasis::WeightPercent:
        return " Weight %";
    }
    return {};
}

std::vector<float> ChangeCompositionBasis(std::span<const float> entered, std::span<const float> mw,
                                          CompositionBasis previous, CompositionBasis next) {
    const bool wasWeight = IsWeightBasis(previous);
    const bool isWeight = IsWeightBasis(next);
    if (isWeight && !wasWeight) {
        return MoleToMassFractions(entered, mw);
    }
    if (!isWeight && wasWeight) {
        return MassToMoleFractions(entered, mw);
    }
    return {entered.begin(), entered.end()};
}

std::vector<float> FeedFromEntered(std::span<const float> entered, std::span<const float> mw,
                                   CompositionBasis basis) {
    if (IsWeightBasis(basis)) {
        return MassToMoleFractions(entered, mw);
    }
    return {entered.begin(), entered.end()};
}

std::vector<float> EnteredFromFeed(std::span<const float> feed, std::span<const float> mw,
                                   CompositionBasis basis) {
    if (IsWeightBasis(basis)) {
        return MoleToMassFractions(feed, mw);
    }
    return {feed.begin(), feed.end()};
}

std::string FormatEnteredAmount(float fraction, CompositionBasis basis) {
    if (IsPercentBasis(basis)) {
        return FormatNumber(100.0 * static_cast<double>(fraction), "##0.###0");
    }
    return FormatNumber(fraction, "0.###0");
}

} // namespace quorvane
