#include "cli/flash_service.h"

#include "cli/json_numbers.h"
#include "cli/request_error.h"
#include "engine/flash/flash_driver.h"
#include "engine/flash/flash_state.h"
#include "engine/precision.h"
#include "engine/properties/mixture_properties.h"
#include "engine/properties/property_errors.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <span>

namespace quorvane {

namespace {

nlohmann::ordered_json SingleArray(std::span<const float> values) {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (float value : values) {
        array.push_back(SingleNumber(value));
    }
    return array;
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

nlohmann::ordered_json Value(const PropertyResults& results, Quantity quantity, Stream stream) {
    const std::optional<double> value = results.Value(quantity, stream);
    if (!value) {
        return nullptr;
    }
    // The departures are kept in 64 bits, everything else in 32.
    switch (quantity) {
    case Quantity::ResidualEnthalpy:
    case Quantity::ResidualEntropy:
    case Quantity::ResidualHeatCapacity:
        return DoubleNumber(*value);
    default:
        return SingleNumber(static_cast<float>(*value));
    }
}

nlohmann::ordered_json StreamProperties(const PropertyResults& results, Stream stream) {
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
    nlohmann::ordered_json object;
    for (const Field& field : kFields) {
        object[field.key] = Value(results, field.quantity, stream);
    }
    if (stream == Stream::Liquid) {
        object["heat_of_vaporization"] = Value(results, Quantity::HeatOfVaporization, stream);
        object["surface_tension"] = Value(results, Quantity::SurfaceTension, stream);
    }
    object["residual"] = {{"H", Value(results, Quantity::ResidualEnthalpy, stream)},
                          {"S", Value(results, Quantity::ResidualEntropy, stream)},
                          {"Cp", Value(results, Quantity::ResidualHeatCapacity, stream)}};
    return object;
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

nlohmann::ordered_json PropertiesResponse(const PropertyResults& results) {
    return {{"feed", StreamProperties(results, Stream::Feed)},
            {"vapour", StreamProperties(results, Stream::Vapour)},
            {"liquid", StreamProperties(results, Stream::Liquid)}};
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

nlohmann::ordered_json FlashResponse(const FlashCase& flashCase) {
    nlohmann::ordered_json response;
    response["flash"] = std::string(FlashTypeCode(flashCase.flashType));
    response["eos"] = flashCase.eosText;
    response["T_F"] = SingleNumber(flashCase.tempF);
    response["P_psia"] = SingleNumber(flashCase.pressPsia);
    response["vf"] = DoubleNumber(flashCase.vapourFraction);
    response["x"] = SingleArray(flashCase.x);
    response["y"] = SingleArray(flashCase.y);
    response["K"] = SingleArray(flashCase.k);
    response["Z_L"] = SingleNumber(flashCase.liquidZ);
    response["Z_V"] = SingleNumber(flashCase.vapourZ);
    response["iterations"] = flashCase.iterations;
    response["converged"] = flashCase.converged;
    if (!flashCase.converged) {
        response["residual"] = DoubleNumber(flashCase.residual);
        response["warning"] = flashCase.warning;
    }
    return response;
}

nlohmann::ordered_json FlashService::Answer(std::string_view requestText) const {
    nlohmann::json request;
    try {
        request = nlohmann::json::parse(requestText, nullptr, true, true);
    } catch (const nlohmann::json::parse_error& error) {
        throw RequestError("malformed JSON: " + WithoutExceptionTag(error.what()));
    }
    return Answer(request);
}

nlohmann::ordered_json FlashService::Answer(const nlohmann::json& request) const {
    FlashRequest parsed = ParseFlashRequest(request, m_catalog);
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
    nlohmann::ordered_json response = FlashResponse(flashCase);

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
    response["properties"] = PropertiesResponse(properties);
    return response;
}

} // namespace quorvane
