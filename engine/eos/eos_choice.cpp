#include "engine/eos/eos_choice.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace quorvane {

EosChoice EosChoiceFromText(std::string_view listText) {
    EosChoice choice;
    std::string_view name = listText;
    const auto dash = listText.find('-');
    if (dash != std::string_view::npos) {
        name = listText.substr(0, dash);
        choice.variant = EosVariant::V78;
    }
    if (name == "RK") {
        choice.equation = EosEquation::RK;
    } else if (name == "SRK") {
        choice.equation = EosEquation::SRK;
    } else if (name == "PR") {
        choice.equation = EosEquation::PR;
    }
    return choice;
}

EosVariant EosVariantFromText(std::string_view variantText) {
    std::string upper(variantText);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper == "78" ? EosVariant::V78 : EosVariant::Original;
}

std::string_view EquationName(EosEquation equation) {
    switch (equation) {
    case EosEquation::RK:
        return "RK";
    case EosEquation::SRK:
        return "SRK";
    case EosEquation::PR:
        return "PR";
    case EosEquation::Unknown:
        break;
    }
    return "";
}

std::string_view VariantName(EosVariant variant) {
    return variant == EosVariant::V78 ? "78" : "ORIGINAL";
}

std::optional<int> EosListIndex(std::string_view listText) {
    for (std::size_t i = 0; i < kEosListTexts.size(); ++i) {
        if (kEosListTexts[i] == listText) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

std::string_view EosListText(int index) {
    if (index < 0 || index >= static_cast<int>(kEosListTexts.size())) {
        return {};
    }
    return kEosListTexts[static_cast<std::size_t>(index)];
}

EosChoice EosChoiceFromIndex(int index) {
    return EosChoiceFromText(EosListText(index));
}

} // namespace quorvane
