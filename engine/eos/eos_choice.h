#pragma once

#include <array>
#include <optional>
#include <string_view>

// The equation of state a calculation uses: an equation name ("RK", "SRK", "PR") and a variant
// ("ORIGINAL" or "78"), derived from the text of the equation-of-state list.

namespace quorvane {

enum class EosEquation { Unknown, RK, SRK, PR };
enum class EosVariant { Original, V78 };

struct EosChoice {
    EosEquation equation = EosEquation::Unknown;
    EosVariant variant = EosVariant::Original;
    friend bool operator==(const EosChoice&, const EosChoice&) = default;
};

// The entries of the equation-of-state list, in list order (index 0..4).
inline constexpr std::array<std::string_view, 5> kEosListTexts = {"RK", "SRK", "SRK-78 (API)", "PR",
                                                                  "PR-78"};

// Text containing "-": the name is the text left of the first "-" and the variant is "78";
// otherwise the whole text is the name and the variant is "ORIGINAL". A name other than
// "RK", "SRK" or "PR" gives EosEquation::Unknown.
EosChoice EosChoiceFromText(std::string_view listText);

// "ORIGINAL" or "78" as text (compared after conversion to upper case); any text other than
// "78" is the original variant.
EosVariant EosVariantFromText(std::string_view variantText);

std::string_view EquationName(EosEquation equation); // "RK", "SRK", "PR" or ""
std::string_view VariantName(EosVariant variant);    // "ORIGINAL" or "78"

// Index of a list text in kEosListTexts, or nothing when the text is not one of them.
std::optional<int> EosListIndex(std::string_view listText);

// The list text of index 0..4, or "" for any other index.
std::string_view EosListText(int index);

// The equation of state of list index 0..4; EosEquation::Unknown for any other index.
EosChoice EosChoiceFromIndex(int index);

} // namespace quorvane
