#include "cli/flash_request.h"

#include "cli/component_fields.h"
#include "cli/json_fields.h"
#include "cli/request_error.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace quorvane {

namespace {

// Which state variables each flash type is given (index order of FlashTypeCodes).
constexpr GivenStateVariables kFlashInputs[] = {
    {true, true, false},  // TP
    {true, false, false}, // BUBP
    {false, true, false}, // BUBT
    {true, false, false}, // DEWP
    {false, true, false}, // DEWT
    {true, false, true},  // TV
    {false, true, true},  // PV
};

std::string JoinQuoted(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) {
        joined += joined.empty() ? "\"" : ", \"";
        joined += text;
        joined += '"';
    }
    return joined;
}

int IndexIn(const std::vector<std::string>& texts, const std::string& text, const char* field,
            const char* what) {
    auto it = std::find(texts.begin(), texts.end(), text);
    if (it == texts.end()) {
        throw RequestError(std::string(field) + ": unknown " + what + " \"" + Excerpt(text) +
                           "\" (expected one of " + JoinQuoted(texts) + ")");
    }
    return static_cast<int>(it - texts.begin());
}

double StateVariable(const nlohmann::json& request, const char* key, bool given,
                     const std::string& flash) {
    std::optional<double> value = OptionalNumber(request, key, "");
    if (!value) {
        if (given) {
            throw RequestError(std::string(key) + ": missing field (a \"" + flash +
                               "\" flash is given it)");
        }
        return 0.0;
    }
    return *value;
}

std::vector<double> ReadComposition(const nlohmann::json& request, std::size_t n) {
    const nlohmann::json& array = RequireArray(request, "z", "");
    if (array.size() != n) {
        throw RequestError("z: " + std::to_string(array.size()) + " fractions for " +
                           std::to_string(n) + " components");
    }
    std::vector<double> z(n);
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        z[i] = AsNumberAt(array[i], [&] { return ElementPath("z", i); });
        if (z[i] < 0) {
            throw RequestError(ElementPath("z", i) + ": a mole fraction cannot be negative");
        }
        sum += z[i];
    }
    // The same test as the composition total of the window: the fractions must add up to 1.
    if (std::abs(sum - 1.0) > 1e-5) {
        char total[32];
        std::snprintf(total, sizeof(total), "%.7g", sum);
        throw RequestError(std::string("z: the mole fractions add up to ") + total + ", not 1");
    }
    return z;
}

// "properties": true (or absent, null) every group, false none, or a list of group names.
unsigned ReadPropertyGroups(const nlohmann::json& request) {
    const nlohmann::json* member = Member(request, "properties");
    if (member == nullptr || (member->is_boolean() && member->get<bool>())) {
        return kAllPropertyGroups;
    }
    if (member->is_boolean()) {
        return 0;
    }
    if (!member->is_array()) {
        throw RequestError(std::string("properties: expected true, false or a list of property "
                                       "groups, found ") +
                           member->type_name());
    }
    unsigned groups = 0;
    for (std::size_t i = 0; i < member->size(); ++i) {
        const nlohmann::json& name = (*member)[i];
        const std::string path = ElementPath("properties", i);
        if (!name.is_string()) {
            throw RequestError(path + ": expected the name of a property group, found " +
                               name.type_name());
        }
        groups |= 1U << IndexIn(PropertyGroupNames(), name.get<std::string>(), path.c_str(),
                                "property group");
    }
    return groups;
}

std::vector<std::vector<double>> ReadInteractions(const nlohmann::json& request, std::size_t n) {
    std::vector<std::vector<double>> kij(n, std::vector<double>(n, 0.0));
    if (Member(request, "kij") == nullptr) {
        return kij;
    }
    const nlohmann::json& rows = RequireArray(request, "kij", "");
    if (rows.size() != n) {
        throw RequestError("kij: " + std::to_string(rows.size()) + " rows for " +
                           std::to_string(n) + " components");
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (!rows[i].is_array() || rows[i].size() != n) {
            throw RequestError(ElementPath("kij", i) + ": expected an array of " +
                               std::to_string(n) + " numbers");
        }
        for (std::size_t j = 0; j < n; ++j) {
            kij[i][j] =
                AsNumberAt(rows[i][j], [&] { return ElementPath(ElementPath("kij", i), j); });
        }
    }
    return kij;
}

} // namespace

const std::vector<std::string>& EquationOfStateTexts() {
    static const std::vector<std::string> texts{"RK", "SRK", "SRK-78 (API)", "PR", "PR-78"};
    return texts;
}

const std::vector<std::string>& PropertyGroupNames() {
    static const std::vector<std::string> names{"pseudo_critical", "density", "thermal",
                                                "transport", "surface_tension"};
    return names;
}

GivenStateVariables GivenFor(int flashIndex) {
    return kFlashInputs[flashIndex];
}

const std::vector<std::string>& FlashTypeCodes() {
    static const std::vector<std::string> codes{"TP", "BUBP", "BUBT", "DEWP", "DEWT", "TV", "PV"};
    return codes;
}

std::vector<ComponentRow> ParseComponents(const nlohmann::json& components,
                                          const ComponentCatalog* catalog) {
    if (!components.is_array()) {
        throw RequestError(std::string("components: expected an array, found ") +
                           components.type_name());
    }
    if (components.empty()) {
        throw RequestError("components: at least one component is needed");
    }
    if (components.size() > kComponentLimit) {
        throw RequestError("components: " + std::to_string(components.size()) +
                           " components given; Only 25 components are allowed.");
    }
    std::vector<ComponentRow> rows;
    rows.reserve(components.size());
    for (std::size_t i = 0; i < components.size(); ++i) {
        rows.push_back(ParseComponent(components[i], i, catalog));
    }
    return rows;
}

namespace {

void ParseMixtureFields(const nlohmann::json& request, const ComponentCatalog* catalog,
                        const std::vector<ComponentRow>* components, FlashRequest& parsed) {
    if (components != nullptr) {
        parsed.components = *components;
    } else {
        parsed.components = ParseComponents(RequireArray(request, "components", ""), catalog);
    }
    const std::size_t n = parsed.components.size();
    parsed.z = ReadComposition(request, n);
    parsed.kij = ReadInteractions(request, n);
    parsed.estimateKij = OptionalBool(request, "estimate_kij", "").value_or(false);
}

void RequireObject(const nlohmann::json& request) {
    if (!request.is_object()) {
        throw RequestError(std::string("expected a request object, found ") + request.type_name());
    }
}

} // namespace

FlashRequest ParseMixtureRequest(const nlohmann::json& request, const ComponentCatalog* catalog) {
    RequireObject(request);
    FlashRequest parsed;
    parsed.eos = RequireString(request, "eos", "");
    parsed.eosIndex = IndexIn(EquationOfStateTexts(), parsed.eos, "eos", "equation of state");
    parsed.flash = FlashTypeCodes().front();
    ParseMixtureFields(request, catalog, nullptr, parsed);
    return parsed;
}

FlashRequest ParseFlashRequest(const nlohmann::json& request, const ComponentCatalog* catalog,
                               const std::vector<ComponentRow>* components) {
    RequireObject(request);
    FlashRequest parsed;
    parsed.eos = RequireString(request, "eos", "");
    parsed.eosIndex = IndexIn(EquationOfStateTexts(), parsed.eos, "eos", "equation of state");
    parsed.flash = RequireString(request, "flash", "");
    parsed.flashIndex = IndexIn(FlashTypeCodes(), parsed.flash, "flash", "flash type");

    const GivenStateVariables& inputs = kFlashInputs[parsed.flashIndex];
    parsed.tempF = StateVariable(request, "T_F", inputs.temperature, parsed.flash);
    parsed.pressPsia = StateVariable(request, "P_psia", inputs.pressure, parsed.flash);
    parsed.vaporFraction = StateVariable(request, "vf", inputs.vaporFraction, parsed.flash);
    if (Member(request, "T_F") != nullptr && parsed.tempF <= -459.67) {
        throw RequestError("T_F: below absolute zero (-459.67 F)");
    }
    if (Member(request, "P_psia") != nullptr && parsed.pressPsia <= 0) {
        throw RequestError("P_psia: the pressure must be positive");
    }
    // A field present must be valid, whether or not the flash type uses it.
    if (Member(request, "vf") != nullptr &&
        (parsed.vaporFraction < 0 || parsed.vaporFraction > 1)) {
        throw RequestError("vf: Vapor Fraction must be a number between 0 and 1.");
    }
    ParseMixtureFields(request, catalog, components, parsed);
    parsed.propertyGroups = ReadPropertyGroups(request);
    return parsed;
}

} // namespace quorvane
