#include "cli/flash_service.h"

#include "cli/component_cache.h"
#include "cli/request_error.h"
#include "engine/flash/flash_driver.h"
#include "engine/flash/flash_state.h"
#include "engine/precision.h"
#include "engine/properties/mixture_properties.h"
#include "engine/properties/property_errors.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <span>

namespace quorvane {

namespace {

void SingleArray(JsonWriter& writer, std::string_view key, std::span<const float> values) {
    writer.Key(key);
    writer.BeginArray();
    for (float value : values) {
        writer.Single(value);
    }
    writer.EndArray();
}

// nlohmann's messages start with "[json.exception.parse_error.101] "; the rest says where.
std::string WithoutExceptionTag(const char* message) {
    const char* text = message;
    if (text[0] == '[') {
        if (const char* end = std::strstr(text, "] ")) {
            text = end + 2;
        }
    }
    return text;
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

void WriteStream(JsonWriter& writer, const PropertyResults& results, Stream stream) {
    struct Field {
        const char* key;
        Quantity quantity;
    };
    static constexpr Field kFields[] = {
        {"MW", Quantity::MolecularWeight},
        {"Vc", Quantity::PseudoCriticalVolume},
        {"Tc_F", Quantity::PseudoCriticalTemperature},
        {"Pc_psia", Quantity::PseudoCriticalPressure},
        {"Z", Quantity::Compressibility},
        {"density", Quantity::MolarDensity},
        {"Cp", Quantity::HeatCapacity},
        {"H", Quantity::Enthalpy},
        {"S", Quantity::Entropy},
        {"CpCv", Quantity::HeatCapacityRatio},
        {"JT", Quantity::JouleThomson},
        {"sound", Quantity::SoundSpeed},
        {"viscosity", Quantity::Viscosity},
        {"conductivity", Quantity::ThermalConductivity},
    };
    writer.BeginObject();
    for (const Field& field : kFields) {
        WriteValue(writer, field.key, results, field.quantity, stream);
    }
    if (stream == Stream::Liquid) {
        WriteValue(writer, "heat_of_vaporization", results, Quantity::HeatOfVaporization, stream);
        WriteValue(writer, "surface_tension", results, Quantity::SurfaceTension, stream);
    }
    writer.Key("residual");
    writer.BeginObject();
    WriteValue(writer, "H", results, Quantity::ResidualEnthalpy, stream);
    WriteValue(writer, "S", results, Quantity::ResidualEntropy, stream);
    WriteValue(writer, "Cp", results, Quantity::ResidualHeatCapacity, stream);
    writer.EndObject();
    writer.EndObject();
}

bool Missing(const std::vector<double>& cells, std::size_t ordinal) {
    return std::isnan(cells[ordinal]);
}

void Blank(std::span<float> values) {
    for (float& value : values) {
        value = std::numeric_limits<float>::quiet_NaN();
    }
}

// A component given without the data the database holds for every offered component (the
// ideal-gas heat capacity, the reference enthalpy and entropy, the boiling point) leaves the
// values built on it undefined: the driver would step over them and report zeros or partial
// sums. They are reported as null instead.
void BlankValuesWithoutData(const std::vector<std::vector<double>>& rows,
                            PropertyResults& results) {
    bool noIdealGasCp = false;
    bool noEnthalpy = false;
    bool noEntropy = false;
    bool noBoilingPoint = false;
    for (const std::vector<double>& cells : rows) {
        noIdealGasCp = noIdealGasCp || Missing(cells, kOrdinalIdealGasCpSet + kSetCodeOffset);
        noEnthalpy = noEnthalpy || Missing(cells, kOrdinalReferenceEnthalpy);
        noEntropy = noEntropy || Missing(cells, kOrdinalReferenceEntropy);
        noBoilingPoint = noBoilingPoint || Missing(cells, kOrdinalBoilingTemperature);
    }
    if (noIdealGasCp) {
        Blank(results.heatCapacity);
        Blank(results.heatCapacityRatio);
        Blank(results.jouleThomson);
        Blank(results.soundSpeed);
    }
    if (noIdealGasCp || noEnthalpy) {
        Blank(results.enthalpy);
    }
    if (noIdealGasCp || noEntropy) {
        Blank(results.entropy);
    }
    if (noBoilingPoint) {
        // Their estimates from the critical constants start from the boiling point.
        results.heatOfVaporization = std::numeric_limits<float>::quiet_NaN();
        results.surfaceTension = std::numeric_limits<float>::quiet_NaN();
        results.thermalConductivity[1] = std::numeric_limits<float>::quiet_NaN();
    }
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
    flashCase.eosText = request.eos;
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
    writer.Member("eos", flashCase.eosText);
    auto stateVariable = [&](std::string_view key, float value, bool computed) {
        writer.Key(key);
        if (computed && !flashCase.converged) {
            writer.Null();
        } else {
            writer.Single(value);
        }
    };
    stateVariable("T_F", flashCase.tempF, computesT);
    stateVariable("P_psia", flashCase.pressPsia, computesP);
    writer.Member("vf", flashCase.vapourFraction);
    SingleArray(writer, "x", flashCase.x);
    SingleArray(writer, "y", flashCase.y);
    if (onePhase) {
        writer.Key("K");
        writer.Null();
    } else {
        SingleArray(writer, "K", flashCase.k);
    }
    writer.Member("Z_L", flashCase.liquidZ);
    writer.Member("Z_V", flashCase.vapourZ);
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

    nlohmann::json request;
    try {
        request = nlohmann::json::parse(requestText, nullptr, true, true);
    } catch (const nlohmann::json::exception& error) {
        // Syntax errors, and numbers too large for a double ("1e400").
        throw RequestError("malformed JSON: " + WithoutExceptionTag(error.what()));
    }
    return Answer(request);
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
        // The surface tension, evaluated last, failed: every other value stands.
        properties.surfaceTension = std::numeric_limits<float>::quiet_NaN();
    } catch (const std::exception& error) {
        throw RequestError(std::string("the property calculation failed: ") + error.what());
    }
    BlankValuesWithoutData(rows, properties);
    return FlashResponse(flashCase, &properties);
}

} // namespace quorvane
