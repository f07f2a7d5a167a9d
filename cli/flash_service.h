#pragma once

#include "cli/component_catalog.h"
#include "cli/flash_request.h"
#include "cli/json_writer.h"
#include "engine/flash/flash_case.h"
#include "engine/properties/property_results.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

// The "flash" command's work on one request: parse and validate, build the flash case, run
// the flash driver, and answer with the case's results.

namespace quorvane {

// The flash case of a validated request (inputs only; results are filled by the driver).
FlashCase BuildFlashCase(const FlashRequest& request);

// The response of a completed run (compact JSON text): the case's state variables and
// results, with "residual" and "warning" when the run did not reach equilibrium, and the
// "properties" object when `properties` is given.
std::string FlashResponse(const FlashCase& flashCase, const PropertyResults* properties);

// The "properties" object: feed, vapour and liquid, each with its values in internal units
// and its equation-of-state departures; null where a value does not apply to the stream.
void WriteProperties(JsonWriter& writer, const PropertyResults& results);

// Runs one request (JSON text) to its response; throws RequestError when the request cannot
// be run or the run fails. Safe to call from several threads at once.
class FlashService {
public:
    explicit FlashService(const ComponentCatalog* catalog);

    // The response as compact JSON text.
    std::string Answer(std::string_view requestText) const;
    std::string Answer(const nlohmann::json& request) const;

private:
    std::string Answer(const nlohmann::json& request,
                       const std::vector<ComponentRow>* components) const;

    const ComponentCatalog* m_catalog;
    std::uint64_t m_id; // tells the per-thread component caches of services apart
};

} // namespace quorvane
