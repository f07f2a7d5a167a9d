#include "cli/envelope_service.h"

#include "cli/flash_request.h"
#include "cli/flash_service.h"
#include "cli/json_fields.h"
#include "cli/json_writer.h"
#include "cli/request_error.h"
#include "common/precision.h"
#include "engine/envelope/mixture_envelope.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/eos_choice.h"

#include <cstring>

namespace quorvane {

namespace {

void Point(JsonWriter& writer, double tempF, double pressPsia) {
    writer.BeginObject();
    writer.Member("T_F", ToSingle(tempF));
    writer.Member("P_psia", ToSingle(pressPsia));
    writer.EndObject();
}

void Special(JsonWriter& writer, std::string_view key, const envelope::SpecialPoint& p) {
    writer.Key(key);
    if (p.found) {
        Point(writer, p.tempF, p.pressPsia);
    } else {
        writer.Null();
    }
}

void Branch(JsonWriter& writer, std::string_view key,
            const std::vector<envelope::EnvelopePoint>& points) {
    writer.Key(key);
    writer.BeginArray();
    for (const auto& p : points) {
        Point(writer, p.tempF, p.pressPsia);
    }
    writer.EndArray();
}

// What is missing, when the envelope's own note does not say.
std::string MissingText(const envelope::PhaseEnvelope& env) {
    if (!env.note.empty()) {
        return env.note;
    }
    std::string missing;
    for (const auto& [found, name] : {std::pair{env.critical.found, "critical point"},
                                      std::pair{env.cricondenbar.found, "cricondenbar"},
                                      std::pair{env.cricondentherm.found, "cricondentherm"}}) {
        if (!found) {
            missing += missing.empty() ? "" : ", ";
            missing += name;
        }
    }
    return missing.empty() ? "" : "Not found on the traced envelope: " + missing + ".";
}

} // namespace

EnvelopeService::EnvelopeService(const ComponentCatalog* catalog, EnvelopeCommand command)
    : m_catalog(catalog), m_command(command) {}

std::string EnvelopeService::Answer(std::string_view requestText) const {
    return Answer(ParseRequestText(requestText));
}

std::string EnvelopeService::Answer(const nlohmann::json& request) const {
    const FlashRequest parsed = ParseMixtureRequest(request, m_catalog);
    const FlashCase mixture = BuildFlashCase(parsed);
    const KijTable kij = RunKijTable(mixture);
    const envelope::EnvelopeMixture env{mixture.Eos(), mixture.tcF, mixture.pcPsia, mixture.w,
                                        kij.View()};
    envelope::PhaseEnvelope traced;
    try {
        traced = envelope::TracePhaseEnvelope(env, mixture.z);
    } catch (const EngineError& error) {
        throw RequestError(std::string("the envelope could not be traced: ") + error.what());
    }
    JsonWriter writer;
    writer.BeginObject();
    if (m_command == EnvelopeCommand::Envelope) {
        Branch(writer, "bubble", traced.bubble);
        Branch(writer, "dew", traced.dew);
        Special(writer, "critical", traced.critical);
    } else {
        Special(writer, "critical", traced.critical);
        Special(writer, "cricondenbar", traced.cricondenbar);
        Special(writer, "cricondentherm", traced.cricondentherm);
    }
    if (const std::string message = MissingText(traced); !message.empty()) {
        writer.Member("message", message);
    }
    writer.EndObject();
    return writer.Take();
}

} // namespace quorvane
