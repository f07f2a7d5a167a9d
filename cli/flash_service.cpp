#include "cli/flash_service.h"

#include "cli/component_cache.h"
#include "cli/json_fields.h"
#include "cli/request_error.h"
#include "common/precision.h"
#include "engine/flash/flash_driver.h"
#include "engine/flash/flash_state.h"
#include "engine/properties/mixture_properties.h"
#include "engine/properties/property_errors.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvane {

namespace {

// The range a reported value must lie in to be written; outside it (or not a number) the value
// is null. An answer flagged as not converged may hold the last iterate, whose numbers need
// not be physical; a converged one lies in range anyway.
struct Physical {
    double low;
    double high;
    bool lowIncluded;
};
constexpr Physical kFraction{0.0, 1.0, true};
constexpr Physical kPositive{0.0, std::numeric_limits<double>::infinity(), false};
constexpr Physical kAboveAbsoluteZero{-459.67, std::numeric_limits<double>::infinity(), false};

bool InRange(double value, Physical range) {
    return std::isfinite(value) && value <= range.high &&
           (range.lowIncluded ? value >= range.low : value > range.low);
}

void Checked(JsonWriter& writer, std::string_view key, float value, Physical range) {
    writer.Key(key);
    if (InRange(value, range)) {
        writer.Single(value);
    } else {
        writer.Null();
    }
}

void SingleArray(JsonWriter& writer, std::string_view key, std::span<const float> values,
                 Physical range) {
    writer.Key(key);
    writer.BeginArray();
    for (float value : values) {
        if (InRange(value, range)) {
            writer.Single(value);
        } else {
            writer.Null();
        }
    }
    writer.EndArray();
}

void WriteValue(JsonWriter& writer, std::string_view key, const PropertyResults& results,
                Quantity quantity, Stream stream) {
    writer.Key(key);
    const std::optional<double> value = results.Value(quantity, stream);
    if (!value) {
        writer.Null();
        return;
    }
    // The departures are kept in 64 bits, everything else in 32.
    switch (quantity) {
    case Quantity::ResidualEnthalpy:
    case Quantity::ResidualEntropy:
    case Quantity::ResidualHeatCapacity:
        writer.Double(*value);
        break;
    default:
        // Exact: the value was stored in 32 bits and only widened on the way out.
        writer.Single(static_cast<float>(*value));
    }
}

// The key of each value in a stream's object ("residual.H" inside its "residual" object).
std::string_view KeyOf(Quantity quantity) {
    switch (quantity) {
    case Quantity::MolecularWeight:
        return "MW";
    case Quantity::PseudoCriticalVolume:
        return "Vc";
    case Quantity::PseudoCriticalTemperature:
        return "Tc_F";
    case Quantity::PseudoCriticalPressure:
        return "Pc_psia";
    case Quantity::Compressibility:
        return "Z";
    case Quantity::MolarDensity:
        return "density";
    case Quantity::HeatCapacity:
        return "Cp";
    case Quantity::Enthalpy:
        return "H";
    case Quantity::Entropy:
        return "S";
    case Quantity::HeatCapacityRatio:
        return "CpCv";
    case Quantity::JouleThomson:
        return "JT";
    case Quantity::SoundSpeed:
        return "sound";
    case Quantity::Viscosity:
        return "viscosity";
    case Quantity::ThermalConductivity:
        return "conductivity";
    case Quantity::HeatOfVaporization:
        return "heat_of_vaporization";
    case Quantity::SurfaceTension:
        return "surface_tension";
    case Quantity::ResidualEnthalpy:
        return "residual.H";
    case Quantity::ResidualEntropy:
        return "residual.S";
    case Quantity::ResidualHeatCapacity:
        return "residual.Cp";
    }
    return "";
}

std::string_view StreamKey(Stream stream) {
    switch (stream) {
    case Stream::Feed:
        return "feed";
    case Stream::Vapour:
        return "vapour";
    case Stream::Liquid:
        return "liquid";
    }
    return "";
}

void WriteStream(JsonWriter& writer, const PropertyResults& results, Stream stream) {
    static constexpr Quantity kFields[] = {
        Quantity::MolecularWeight,
        Quantity::PseudoCriticalVolume,
        Quantity::PseudoCriticalTemperature,
        Quantity::PseudoCriticalPressure,
        Quantity::Compressibility,
        Quantity::MolarDensity,
        Quantity::HeatCapacity,
        Quantity::Enthalpy,
        Quantity::Entropy,
        Quantity::HeatCapacityRatio,
        Quantity::JouleThomson,
        Quantity::SoundSpeed,
        Quantity::Viscosity,
        Quantity::ThermalConductivity,
    };
    writer.BeginObject();
    for (Quantity quantity : kFields) {
        WriteValue(writer, KeyOf(quantity), results, quantity, stream);
    }
    if (stream == Stream::Liquid) {
        for (Quantity quantity : {Quantity::HeatOfVaporization, Quantity::SurfaceTension}) {
            WriteValue(writer, KeyOf(quantity), results, quantity, stream);
        }
    }
    writer.Key("residual");
    writer.BeginObject();
    WriteValue(writer, "H", results, Quantity::ResidualEnthalpy, stream);
    WriteValue(writer, "S", results, Quantity::ResidualEntropy, stream);
    WriteValue(writer, "Cp", results, Quantity::ResidualHeatCapacity, stream);
    writer.EndObject();
    writer.EndObject();
}

// Why values are null: each note once, with the values it explains ("vapour.Cp"), in the order
// the notes were made. Only the notes of missing values of present streams are told.
void WriteNotes(JsonWriter& writer, const PropertyResults& results) {
    std::vector<std::pair<std::string_view, std::vector<std::string>>> notes;
    for (const PropertyNote& note : results.Notes()) {
        if (!PropertyResults::Applies(note.quantity, note.stream) ||
            !results.IsPresent(note.stream) || results.Value(note.quantity, note.stream)) {
            continue;
        }
        std::string value =
            std::string(StreamKey(note.stream)) + "." + std::string(KeyOf(note.quantity));
        auto it = std::find_if(notes.begin(), notes.end(),
                               [&](const auto& entry) { return entry.first == note.text; });
        if (it == notes.end()) {
            notes.emplace_back(note.text, std::vector<std::string>{std::move(value)});
        } else {
            it->second.push_back(std::move(value));
        }
    }
    writer.Key("notes");
    writer.BeginArray();
    for (const auto& [text, values] : notes) {
        writer.BeginObject();
        writer.Member("note", text);
        writer.Key("values");
        writer.BeginArray();
        for (const std::string& value : values) {
            writer.String(value);
        }
        writer.EndArray();
        writer.EndObject();
    }
    writer.EndArray();
}

} // namespace

void WriteProperties(JsonWriter& writer, const PropertyResults& results) {
    writer.BeginObject();
    writer.Key("feed");
    WriteStream(writer, results, Stream::Feed);
    writer.Key("vapour");
    WriteStream(writer, results, Stream::Vapour);
    writer.Key("liquid");
    WriteStream(writer, results, Stream::Liquid);
    WriteNotes(writer, results);
    writer.EndObject();
}

FlashCase BuildFlashCase(const FlashRequest& request) {
    FlashCase flashCase;
    const std::size_t n = request.components.size();
    flashCase.n = static_cast<std::int16_t>(n);
    flashCase.z.resize(n);
    flashCase.tcF.resize(n);
    flashCase.pcPsia.resize(n);
    flashCase.w.resize(n);
    flashCase.vc.resize(n);
    flashCase.zc.resize(n);
    flashCase.vapourPressure.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::vector<double>& cells = request.components[i].cells;
        flashCase.z[i] = ToSingle(request.z[i]);
        flashCase.tcF[i] = ToSingle(cells[kOrdinalCriticalTemperature]);
        flashCase.pcPsia[i] = ToSingle(cells[kOrdinalCriticalPressure]);
        flashCase.w[i] = ToSingle(cells[kOrdinalAcentricFactor]);
        flashCase.vc[i] = ToSingle(cells[kOrdinalCriticalVolume]);
        flashCase.zc[i] = ToSingle(cells[kOrdinalCriticalZ]);
        VapourPressureSet& vp = flashCase.vapourPressure[i];
        for (std::size_t c = 0; c < vp.c.size(); ++c) {
            vp.c[c] = ToSingle(cells[kOrdinalVapourPressureSet + c]);
        }
        vp.code = static_cast<std::int16_t>(cells[kOrdinalVapourPressureSet + kSetCodeOffset]);
    }

    flashCase.estimateKij = request.estimateKij;
    if (request.estimateKij) {
        flashCase.kij = EstimateKij(flashCase.tcF, flashCase.zc);
    } else {
        flashCase.kij = ZeroKijTable(static_cast<int>(n));
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < n; ++j) {
                flashCase.kij(static_cast<int>(i), static_cast<int>(j)) =
                    ToSingle(request.kij[i][j]);
            }
        }
    }

    flashCase.eosIndex = request.eosIndex;
    flashCase.flashType = static_cast<FlashType>(request.flashIndex);
    flashCase.tempF = ToSingle(request.tempF);
    flashCase.pressPsia = ToSingle(request.pressPsia);
    flashCase.vapourFraction = request.vaporFraction;
    flashCase.x.assign(n, 0.0F);
    flashCase.y.assign(n, 0.0F);
    flashCase.k.assign(n, 0.0F);
    return flashCase;
}

std::string FlashResponse(const FlashCase& flashCase, const PropertyResults* properties) {
    JsonWriter writer;
    writer.Reserve(properties != nullptr ? 3072 : 1024);
    const FlashType type = flashCase.flashType;
    // A saturation point or vapour-fraction state that was not reached has no computed value;
    // a one-phase answer has no K-values.
    const bool computesT =
        type == FlashType::BUBT || type == FlashType::DEWT || type == FlashType::PV;
    const bool computesP =
        type == FlashType::BUBP || type == FlashType::DEWP || type == FlashType::TV;
    const bool onePhase = type == FlashType::TP &&
                          (flashCase.vapourFraction == 0.0 || flashCase.vapourFraction == 1.0);
    writer.BeginObject();
    writer.Member("flash", FlashTypeCode(type));
    writer.Member("eos", flashCase.EosText());
    auto stateVariable = [&](std::string_view key, float value, bool computed, Physical range) {
        if (computed && !flashCase.converged) {
            writer.Key(key);
            writer.Null();
        } else {
            Checked(writer, key, value, range);
        }
    };
    stateVariable("T_F", flashCase.tempF, computesT, kAboveAbsoluteZero);
    stateVariable("P_psia", flashCase.pressPsia, computesP, kPositive);
    writer.Key("vf");
    if (InRange(flashCase.vapourFraction, kFraction)) {
        writer.Double(flashCase.vapourFraction);
    } else {
        writer.Null();
    }
    SingleArray(writer, "x", flashCase.x, kFraction);
    SingleArray(writer, "y", flashCase.y, kFraction);
    if (onePhase) {
        writer.Key("K");
        writer.Null();
    } else {
        SingleArray(writer, "K", flashCase.k, kPositive);
    }
    Checked(writer, "Z_L", flashCase.liquidZ, kPositive);
    Checked(writer, "Z_V", flashCase.vapourZ, kPositive);
    writer.Member("iterations", static_cast<int>(flashCase.iterations));
    writer.Member("converged", flashCase.converged);
    writer.Member("residual", flashCase.residual);
    if (!flashCase.warning.empty()) {
        writer.Member("warning", flashCase.warning);
    }
    if (flashCase.otherPoint.present) {
        writer.Key("other_point");
        writer.BeginObject();
        writer.Member("T_F", flashCase.otherPoint.tempF);
        writer.Member("P_psia", flashCase.otherPoint.pressPsia);
        writer.EndObject();
    }
    if (properties != nullptr) {
        writer.Key("properties");
        WriteProperties(writer, *properties);
    }
    writer.EndObject();
    return writer.Take();
}

FlashService::FlashService(const ComponentCatalog* catalog) : m_catalog(catalog) {
    static std::atomic<std::uint64_t> services{0};
    m_id = ++services;
}

std::string FlashService::Answer(std::string_view requestText) const {
    // The fast way for a batch of one mixture: the components come from the cache, and only
    // the rest of the request is parsed. Whatever does not fit it (a new array that does not
    // validate, text that does not parse) takes the ordinary way, which then reports the
    // request's first error as it always does.
    if (const auto span = TopLevelArray(requestText, "components")) {
        thread_local ComponentCache cache;
        thread_local std::uint64_t cacheOwner = 0;
        if (cacheOwner != m_id) {
            cache = ComponentCache();
            cacheOwner = m_id;
        }
        const std::string_view arrayText =
            requestText.substr(span->first, span->second - span->first);
        const std::vector<ComponentRow>* components = cache.Find(arrayText);
        if (components == nullptr) {
            try {
                components = &cache.Insert(
                    arrayText, ParseComponents(nlohmann::json::parse(arrayText), m_catalog));
            } catch (const std::exception&) {
                components = nullptr;
            }
        }
        if (components != nullptr) {
            std::string rest(requestText.substr(0, span->first));
            rest += "[]";
            rest += requestText.substr(span->second);
            nlohmann::json request = nlohmann::json::parse(rest, nullptr, false, true);
            if (!request.is_discarded()) {
                return Answer(request, components);
            }
        }
    }

    return Answer(ParseRequestText(requestText));
}

std::string FlashService::Answer(const nlohmann::json& request) const {
    return Answer(request, nullptr);
}

std::string FlashService::Answer(const nlohmann::json& request,
                                 const std::vector<ComponentRow>* components) const {
    FlashRequest parsed = ParseFlashRequest(request, m_catalog, components);
    FlashCase flashCase = BuildFlashCase(parsed);

    // Working storage of the flash routines, one per thread. The carried-over state (the
    // cubic solver's last B, the previous saturation point) is cleared so that every request
    // gives the same answer whatever ran before it on this thread.
    thread_local std::unique_ptr<FlashState> state = std::make_unique<FlashState>();
    state->cubic = CubicState{};
    state->previous = SaturationPoint{};

    if (!RunFlash(flashCase, *state)) {
        throw RequestError("the flash failed: " + (flashCase.failure.empty()
                                                       ? std::string("no result")
                                                       : flashCase.failure));
    }
    // The property driver takes the components' full rows and names.
    std::vector<std::vector<double>> rows;
    std::vector<std::string> names;
    rows.reserve(parsed.components.size());
    names.reserve(parsed.components.size());
    for (ComponentRow& component : parsed.components) {
        rows.push_back(std::move(component.cells));
        names.push_back(std::move(component.name));
    }
    PropertyResults properties;
    try {
        CalculateMixtureProperties(flashCase, rows, names, properties);
    } catch (const PropertyError&) {
        // The surface tension, evaluated last, failed (its note says why): every other value
        // stands.
    } catch (const std::exception& error) {
        throw RequestError(std::string("the property calculation failed: ") + error.what());
    }
    return FlashResponse(flashCase, &properties);
}

} // namespace quorvane
