#pragma once

// Mole and mass fractions, and the composition basis of the entered composition.
// Both conversions compute every product, quotient and the running sum in 32 bits, as the
// stored compositions are 32-bit values.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// w_i = x_i·M_i / Σ x_j·M_j; when the sum is not greater than 0 the products are returned
// unscaled (an all-zero composition stays all zero). Both conversions take arrays of equal
// length and throw std::invalid_argument otherwise (a shorter result would be read past its
// end by a caller that indexes it by component).
std::vector<float> MoleToMassFractions(std::span<const float> x, std::span<const float> mw);
// The same into `w` (as long as x), for callers that keep their own storage.
void MoleToMassFractions(std::span<const float> x, std::span<const float> mw, std::span<float> w);

// x_i = (w_i / M_i) / Σ w_j / M_j; when the sum is not greater than 0 the quotients are returned
// unscaled. A component with a molecular weight that is not positive contributes 0 (no
// division by zero; database rows always carry a molecular weight).
std::vector<float> MassToMoleFractions(std::span<const float> w, std::span<const float> mw);

// The composition basis (option index 0 to 3). The entered composition is always held as
// fractions of the basis family; the percent scale only multiplies by 100 for display.
enum class CompositionBasis { MoleFrac = 0, WeightFrac = 1, MolePercent = 2, WeightPercent = 3 };

bool IsWeightBasis(CompositionBasis basis);
bool IsPercentBasis(CompositionBasis basis);
std::string_view BasisColumnHeading(CompositionBasis basis); // "Mole Frac", ..., "Weight %"
std::string_view BasisLabelCaption(CompositionBasis basis);  // "Mole Fraction", ..., " Weight %"

// The entered composition after switching from basis `previous` to `next`: converted between
// mole and mass fractions when the family changes, unchanged within a family.
std::vector<float> ChangeCompositionBasis(std::span<const float> entered, std::span<const float> mw,
                                          CompositionBasis previous, CompositionBasis next);

// Feed mole fractions made from the entered composition when the composition step is left.
std::vector<float> FeedFromEntered(std::span<const float> entered, std::span<const float> mw,
                                   CompositionBasis basis);

// Entered composition made from the feed mole fractions when a case is opened.
std::vector<float> EnteredFromFeed(std::span<const float> feed, std::span<const float> mw,
                                   CompositionBasis basis);

// One amount of the composition grid after a basis change: the fraction with "0.###0", or
// for the percent bases 100 times it with "##0.###0".
std::string FormatEnteredAmount(float fraction, CompositionBasis basis);

} // namespace quorvane
