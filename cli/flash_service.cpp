#include "cli/flash_service.h"

#include "cli/json_numbers.h"
#include "cli/request_error.h"
#include "engine/flash/flash_driver.h"
#include "engine/flash/flash_state.h"
#include "engine/precision.h"

#include <cstring>
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

} // namespace

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
    FlashCase flashCase = BuildFlashCase(ParseFlashRequest(request, m_catalog));

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
    return FlashResponse(flashCase);
}

} // namespace quorvane
