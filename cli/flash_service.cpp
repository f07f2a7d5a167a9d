#include "cli/flash_service.h"

#include "cli/component_cache.h"
#include "cli/json_fields.h"
#include "cli/request_error.h"
#include "cli/request_reader.h"
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

void WriteStream(JsonWriter& writer, const PropertyResults& results, Stream stream,
                 PropertySelection selection) {
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
        if (selection.Has(quantity)) {
            WriteValue(writer, KeyOf(quantity), results, quantity, stream);
        }
    }
    if (stream == Stream::Liquid) {
        for (Quantity quantity : {Quantity::HeatOfVaporization, Quantity::SurfaceTension}) {
            if (selection.Has(quantity)) {
                WriteValue(writer, KeyOf(quantity), results, quantity, stream);
            }
        }
    }
    if (selection.Has(PropertyGroup::Thermal)) {
        writer.Key("residual");
        writer.BeginObject();
        WriteValue(writer, "H", results, Quantity::ResidualEnthalpy, stream);
        WriteValue(writer, "S", results, Quantity::ResidualEntropy, stream);
        WriteValue(writer, "Cp", results, Quantity::ResidualHeatCapacity, stream);
        writer.EndObject();
    }
    writer.EndObject();
}

// Why values are null: each note once, with the values it explains ("vapour.Cp"), in the order
// the notes were made. Only the notes of missing values of present streams are told, and only
// of the values the answer holds.
void WriteNotes(JsonWriter& writer, const PropertyResults& results, PropertySelection selection) {
    std::vector<std::pair<std::string_view, std::vector<std::string>>> notes;
    for (const PropertyNote& note : results.Notes()) {
        if (!selection.Has(note.quantity) ||
            !PropertyResults::Applies(note.quantity, note.stream) ||
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

void WriteProperties(JsonWriter& writer, const PropertyResults& results,
                     PropertySelection selection) {
    writer.BeginObject();
    writer.Key("feed");
    WriteStream(writer, results, Stream::Feed, selection);
    writer.Key("vapour");
    WriteStream(writer, results, Stream::Vapour, selection);
    writer.Key("liquid");
    WriteStream(writer, results, Stream::Liquid, selection);
    WriteNotes(writer, results, selection);
    writer.EndObject();
}

PropertySelection SelectionOf(unsigned propertyGroups) {
    // Bit i of a request's group set is the i-th group name, in the order of PropertyGroup.
    constexpr std::array<PropertyGroup, kPropertyGroupCount> kGroups = {
        PropertyGroup::PseudoCritical, PropertyGroup::Density, PropertyGroup::Thermal,
        PropertyGroup::Transport, PropertyGroup::SurfaceTension};
    PropertySelection selection = PropertySelection::None();
    for (std::size_t i = 0; i < kGroups.size(); ++i) {
        if ((propertyGroups & (1U << i)) != 0) {
            selection.Add(kGroups[i]);
        }
    }
    return selection;
}

FlashCase BuildFlashCase(const FlashRequest& request) {
    FlashCase flashCase;
    const std::size_t n = request.components.size();
    FillComponentData(flashCase, request.components);
    flashCase.z.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        flashCase.z[i] = ToSingle(request.z[i]);
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

std::string FlashResponse(const FlashCase& flashCase, const PropertyResults* properties,
                          PropertySelection selection) {
    JsonWriter writer;
    WriteFlashResponse(writer, flashCase, properties, selection);
    return writer.Take();
}

void WriteFlashResponse(JsonWriter& writer, const FlashCase& flashCase,
                        const PropertyResults* properties, PropertySelection selection) {
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
        WriteProperties(writer, *properties, selection);
    }
    writer.EndObject();
}

// What a thread keeps between the requests it answers: the components arrays it has met, and
// the storage of the request's fields, the flash case, the flash routines' state, the
// property results and the answer's text. A run starts from the same numbers whatever ran
// before it: the carried-over state of the routines (the cubic solver's last B, the previous
// saturation point) is cleared, and the property results go back to those of a new record.
struct FlashService::Scratch {
    std::uint64_t owner = 0;
    ComponentCache cache;
    RequestFields fields;
    FlashCase flashCase;
    FlashState state;
    PropertyResults properties;
    JsonWriter writer;
};

namespace {

// Runs the flash of the case, then the property groups asked for, and writes the answer.
void RunAndAnswer(FlashCase& flashCase, const PropertyComponents& components,
                  PropertySelection selection, FlashState& state, PropertyResults& properties,
                  JsonWriter& writer) {
    state.cubic = CubicState{};
    state.previous = SaturationPoint{};
    if (!RunFlash(flashCase, state)) {
        throw RequestError("the flash failed: " + (flashCase.failure.empty()
                                                       ? std::string("no result")
                                                       : flashCase.failure));
    }
    writer.Clear();
    if (selection.Empty()) {
        WriteFlashResponse(writer, flashCase, nullptr, selection);
        return;
    }
    properties.Clear();
    try {
        CalculateMixtureProperties(flashCase, components, properties, selection);
    } catch (const PropertyError&) {
        // The surface tension, evaluated last, failed (its note says why): every other value
        // stands.
    } catch (const std::exception& error) {
        throw RequestError(std::string("the property calculation failed: ") + error.what());
    }
    WriteFlashResponse(writer, flashCase, &properties, selection);
}

} // namespace

FlashService::FlashService(const ComponentCatalog* catalog) : m_catalog(catalog) {
    static std::atomic<std::uint64_t> services{0};
    m_id = ++services;
}

FlashService::Scratch& FlashService::ScratchOfThisThread() const {
    thread_local std::unique_ptr<Scratch> scratch;
    if (!scratch || scratch->owner != m_id) {
        scratch = std::make_unique<Scratch>();
        scratch->owner = m_id;
    }
    return *scratch;
}

void FlashService::Answer(std::string_view requestText, std::string& answer) const {
    Scratch& scratch = ScratchOfThisThread();
    // The plain shape of a batch line is read straight from the text. Whatever does not fit
    // it (unusual text, a field that is wrong) takes the ordinary way, which then gives the
    // answer or reports the request's first error as it always does.
    if (AnswerPlain(requestText, scratch, answer)) {
        return;
    }
    answer = Answer(ParseRequestText(requestText));
}

std::string FlashService::Answer(std::string_view requestText) const {
    std::string answer;
    Answer(requestText, answer);
    return answer;
}

std::string FlashService::Answer(const nlohmann::json& request) const {
    const FlashRequest parsed = ParseFlashRequest(request, m_catalog);
    FlashCase flashCase = BuildFlashCase(parsed);
    const std::unique_ptr<const PreparedMixture> mixture = PrepareMixture(parsed.components);
    Scratch& scratch = ScratchOfThisThread();
    RunAndAnswer(flashCase, mixture->properties, SelectionOf(parsed.propertyGroups), scratch.state,
                 scratch.properties, scratch.writer);
    return scratch.writer.Take();
}

bool FlashService::AnswerPlain(std::string_view requestText, Scratch& scratch,
                               std::string& answer) const {
    RequestFields& f = scratch.fields;
    if (!ReadRequestFields(requestText, f, scratch.cache.Latest())) {
        return false;
    }
    // Every check of the full validation; a request that fails one takes the ordinary way to
    // its error.
    const auto indexIn = [](const std::vector<std::string>& texts, std::string_view text) {
        const auto it = std::find(texts.begin(), texts.end(), text);
        return it == texts.end() ? -1 : static_cast<int>(it - texts.begin());
    };
    const int eosIndex = indexIn(EquationOfStateTexts(), f.eos);
    const int flashIndex = indexIn(FlashTypeCodes(), f.flash);
    if (eosIndex < 0 || flashIndex < 0) {
        return false;
    }
    const GivenStateVariables given = GivenFor(flashIndex);
    if ((given.temperature && !f.tempF) || (given.pressure && !f.pressPsia) ||
        (given.vaporFraction && !f.vaporFraction) || (f.tempF && *f.tempF <= -459.67) ||
        (f.pressPsia && *f.pressPsia <= 0) ||
        (f.vaporFraction && (*f.vaporFraction < 0 || *f.vaporFraction > 1))) {
        return false;
    }
    if (f.components.empty()) {
        return false;
    }
    const PreparedMixture* mixture = scratch.cache.Find(f.components);
    if (mixture == nullptr) {
        try {
            mixture = &scratch.cache.Insert(
                f.components, ParseComponents(nlohmann::json::parse(f.components), m_catalog));
        } catch (const std::exception&) {
            return false;
        }
    }
    const std::size_t n = mixture->Size();
    if (!f.zGiven || f.zCount != n || (f.kijGiven && f.kijRows != n)) {
        return false;
    }
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        if (f.z[i] < 0) {
            return false;
        }
        sum += f.z[i];
    }
    if (std::abs(sum - 1.0) > 1e-5) {
        return false;
    }

    // The case, in this thread's storage; the component data come from the prepared mixture.
    FlashCase& fc = scratch.flashCase;
    const FlashCase& data = mixture->components;
    fc.n = data.n;
    fc.tcF.assign(data.tcF.begin(), data.tcF.end());
    fc.pcPsia.assign(data.pcPsia.begin(), data.pcPsia.end());
    fc.w.assign(data.w.begin(), data.w.end());
    fc.vc.assign(data.vc.begin(), data.vc.end());
    fc.zc.assign(data.zc.begin(), data.zc.end());
    fc.vapourPressure.assign(data.vapourPressure.begin(), data.vapourPressure.end());
    fc.z.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        fc.z[i] = ToSingle(f.z[i]);
    }
    // An estimated table is the prepared one (the same numbers EstimateKij gives).
    fc.estimateKij = false;
    if (f.estimateKij.value_or(false)) {
        fc.kij = mixture->properties.EstimatedKij();
    } else {
        fc.kij.Reset(static_cast<int>(n));
        for (std::size_t i = 0; f.kijGiven && i < n; ++i) {
            for (std::size_t j = 0; j < n; ++j) {
                fc.kij(static_cast<int>(i), static_cast<int>(j)) = ToSingle(f.kij[i * n + j]);
            }
        }
    }
    fc.eosIndex = eosIndex;
    fc.flashType = static_cast<FlashType>(flashIndex);
    fc.tempF = ToSingle(f.tempF.value_or(0.0));
    fc.pressPsia = ToSingle(f.pressPsia.value_or(0.0));
    fc.vapourFraction = f.vaporFraction.value_or(0.0);
    fc.x.assign(n, 0.0F);
    fc.y.assign(n, 0.0F);
    fc.k.assign(n, 0.0F);
    fc.liquidZ = 0.0F;
    fc.vapourZ = 0.0F;
    fc.iterations = 0;
    fc.converged = false;
    fc.residual = 0.0;
    fc.warning.clear();
    fc.failure.clear();
    fc.otherPoint = OtherPoint{};

    RunAndAnswer(fc, mixture->properties, SelectionOf(f.propertyGroups), scratch.state,
                 scratch.properties, scratch.writer);
    scratch.writer.CopyTo(answer);
    return true;
}

} // namespace quorvane
