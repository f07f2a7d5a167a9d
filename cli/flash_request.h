#pragma once

#include "cli/component_catalog.h"
#include "cli/component_row.h"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace quorvane {

inline constexpr std::size_t kComponentLimit = 25;

// The property groups a request may name in "properties" (bit i of a group set for the i-th
// name), and the set of them all, the default.
const std::vector<std::string>& PropertyGroupNames();
inline constexpr unsigned kAllPropertyGroups = (1U << 5) - 1;

// Which state variables a flash type (index of FlashTypeCodes) is given.
struct GivenStateVariables {
    bool temperature;
    bool pressure;
    bool vaporFraction;
};
GivenStateVariables GivenFor(int flashIndex);

// One flash request, validated: everything the driver needs, in internal units.
struct FlashRequest {
    std::string eos;          // list text: "RK", "SRK", "SRK-78 (API)", "PR", "PR-78"
    int eosIndex = 0;         // its list position, 0..4
    std::string flash;        // code: "TP", "BUBP", "BUBT", "DEWP", "DEWT", "TV", "PV"
    int flashIndex = 0;       // its type index, 0..6
    double tempF = 0;         // given for TP, BUBP, DEWP, TV; else a start value or 0
    double pressPsia = 0;     // given for TP, BUBT, DEWT, PV; else a start value or 0
    double vaporFraction = 0; // given for TV and PV
    std::vector<ComponentRow> components;
    std::vector<double> z;
    std::vector<std::vector<double>> kij; // n x n, zeros by default
    bool estimateKij = false;
    unsigned propertyGroups = kAllPropertyGroups; // none: the flash alone
};

// Validates a parsed request object; throws RequestError saying what is wrong and where.
// `components`, when given, are the request's components already validated (from the
// component cache); the request's own "components" member is then not read.
FlashRequest ParseFlashRequest(const nlohmann::json& request, const ComponentCatalog* catalog,
                               const std::vector<ComponentRow>* components = nullptr);

// The mixture of a request alone (eos, components, z, kij, estimate_kij), for the commands that
// work on the mixture rather than on one state: the flash fields are not read. The result's
// flash is "TP" and its state variables 0.
FlashRequest ParseMixtureRequest(const nlohmann::json& request, const ComponentCatalog* catalog);

// The "components" array of a request, validated.
std::vector<ComponentRow> ParseComponents(const nlohmann::json& components,
                                          const ComponentCatalog* catalog);

// The list texts and flash codes in list order.
const std::vector<std::string>& EquationOfStateTexts();
const std::vector<std::string>& FlashTypeCodes();

} // namespace quorvane
