#pragma once

#include "cli/component_catalog.h"

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

// The "critical" and "envelope" commands' work on one request: the mixture of a flash request
// (eos, components, z, kij, estimate_kij; the flash fields are not read), its phase envelope by
// continuation, and the answer.
//   critical: {"critical": {"T_F", "P_psia"}, "cricondenbar": {...}, "cricondentherm": {...}},
//             null where there is none, and "message" saying why.
//   envelope: {"bubble": [{"T_F", "P_psia"}, ...], "dew": [...], "critical": {...} or null},
//             each branch from the lowest pressure to the critical point, and "message" when
//             a part is missing.

namespace quorvane {

enum class EnvelopeCommand { Critical, Envelope };

class EnvelopeService {
public:
    EnvelopeService(const ComponentCatalog* catalog, EnvelopeCommand command);

    // The answer as compact JSON text; throws RequestError when the request cannot be run.
    std::string Answer(std::string_view requestText) const;
    std::string Answer(const nlohmann::json& request) const;

private:
    const ComponentCatalog* m_catalog;
    EnvelopeCommand m_command;
};

} // namespace quorvane
