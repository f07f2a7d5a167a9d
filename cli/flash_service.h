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
// the flash driver and the property driver, and answer with the case's results.

namespace quorvane {

// The flash case of a validated request (inputs only; results are filled by the driver).
FlashCase BuildFlashCase(const FlashRequest& request);

// The property groups of a request's group set (see PropertyGroupNames).
PropertySelection SelectionOf(unsigned propertyGroups);

// The response of a completed run (compact JSON text): the case's state variables and
// results, with "residual" and "warning" when the run did not reach equilibrium, and the
// "properties" object with the selected groups when `properties` is given.
std::string FlashResponse(const FlashCase& flashCase, const PropertyResults* properties,
                          PropertySelection selection = PropertySelection::All());
void WriteFlashResponse(JsonWriter& writer, const FlashCase& flashCase,
                        const PropertyResults* properties, PropertySelection selection);

// The "properties" object: feed, vapour and liquid, each with the values of the selected
// groups in internal units (and, with the thermal group, its equation-of-state departures);
// null where a value does not apply to the stream; then the notes on the values missing.
void WriteProperties(JsonWriter& writer, const PropertyResults& results,
                     PropertySelection selection = PropertySelection::All());

// Runs one request (JSON text) to its response; throws RequestError when the request cannot
// be run or the run fails. Safe to call from several threads at once: each thread keeps its
// own working storage, and its cache of the components arrays it has met, so that a batch of
// one mixture allocates nothing per request.
class FlashService {
public:
    explicit FlashService(const ComponentCatalog* catalog);

    // The response as compact JSON text, into `answer` (whose storage is reused).
    void Answer(std::string_view requestText, std::string& answer) const;
    std::string Answer(std::string_view requestText) const;
    std::string Answer(const nlohmann::json& request) const;

private:
    struct Scratch;
    Scratch& ScratchOfThisThread() const;
    bool AnswerPlain(std::string_view requestText, Scratch& scratch, std::string& answer) const;

    const ComponentCatalog* m_catalog;
    std::uint64_t m_id; // tells the per-thread storage of services apart
};

} // namespace quorvane
