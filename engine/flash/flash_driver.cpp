#include "engine/flash/flash_driver.h"

#include "common/precision.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/phase_fugacity.h"
#include "engine/flash/flash_results.h"
#include "engine/flash/isothermal_flash.h"
#include "engine/flash/saturation.h"
#include "engine/flash/vapour_fraction_flash.h"

#include <cmath>
#include <exception>
#include <string>

namespace quorvane {

namespace {

// Reported vapour fractions of saturation points.
constexpr double kBubbleVapourFraction = 1e-08;
constexpr double kDewVapourFraction = 0.9999999;

// Why the case's state variables cannot be flashed, or an empty text.
std::string CheckStateVariables(const FlashCase& c) {
    const FlashType t = c.flashType;
    const bool givenT =
        t == FlashType::TP || t == FlashType::BUBP || t == FlashType::DEWP || t == FlashType::TV;
    const bool givenP =
        t == FlashType::TP || t == FlashType::BUBT || t == FlashType::DEWT || t == FlashType::PV;
    if (givenT && !(std::isfinite(c.tempF) && c.tempF > -459.67F)) {
        return "The flash temperature must lie above absolute zero.";
    }
    if (givenP && !(std::isfinite(c.pressPsia) && c.pressPsia > 0.0F)) {
        return "The flash pressure must be greater than zero.";
    }
    if ((t == FlashType::TV || t == FlashType::PV) &&
        !(c.vapourFraction >= 0.0 && c.vapourFraction <= 1.0)) {
        return "Vapor Fraction must be a number between 0 and 1.";
    }
    return {};
}

} // namespace

bool RunFlash(FlashCase& flashCase, FlashState& state) noexcept {
    try {
        if (std::string why = MixtureDataProblem(flashCase); !why.empty()) {
            flashCase.failure = std::move(why);
            return false;
        }
        if (std::string why = CheckStateVariables(flashCase); !why.empty()) {
            flashCase.failure = std::move(why);
            return false;
        }
        const int n = flashCase.n;
        FlashMixture mixture = MixtureOf(flashCase);
        // With the estimate chosen, the run uses the estimated table; the case's own table is
        // left as it is.
        const KijTable runKij = RunKijTable(flashCase);
        mixture.kij = runKij.View();
        const std::span<const float> z(flashCase.z.data(), static_cast<std::size_t>(n));
        FlashResults out;
        const float tempF = flashCase.tempF;
        const float pressPsia = flashCase.pressPsia;
        double vapourFraction = flashCase.vapourFraction;
        float computedTempF = tempF;
        float computedPressPsia = pressPsia;

        switch (flashCase.flashType) {
        case FlashType::TP:
            IsothermalFlash(mixture, z, tempF, pressPsia, out, state);
            vapourFraction = out.vapourFraction;
            break;
        case FlashType::BUBP:
            BubblePressure(mixture, z, tempF, out, state);
            computedPressPsia = out.pressPsia;
            vapourFraction = kBubbleVapourFraction;
            break;
        case FlashType::BUBT:
            BubbleTemperature(mixture, z, pressPsia, out, state);
            computedTempF = out.tempF;
            vapourFraction = kBubbleVapourFraction;
            break;
        case FlashType::DEWP:
            DewPressure(mixture, z, tempF, out, state);
            computedPressPsia = out.pressPsia;
            vapourFraction = kDewVapourFraction;
            break;
        case FlashType::DEWT:
            DewTemperature(mixture, z, pressPsia, out, state);
            computedTempF = out.tempF;
            vapourFraction = kDewVapourFraction;
            break;
        case FlashType::TV:
            VapourFractionPressure(mixture, z, tempF, ToSingle(vapourFraction), out, state);
            computedPressPsia = out.pressPsia;
            break;
        case FlashType::PV:
            VapourFractionTemperature(mixture, z, pressPsia, ToSingle(vapourFraction), out, state);
            computedTempF = out.tempF;
            break;
        default:
            flashCase.failure = "Unknown flash type.";
            return false;
        }

        // The run completed: replace the results, nothing else of the case.
        flashCase.x = std::move(out.x);
        flashCase.y = std::move(out.y);
        flashCase.k = std::move(out.k);
        flashCase.vapourFraction = vapourFraction;
        flashCase.tempF = computedTempF;
        flashCase.pressPsia = computedPressPsia;
        flashCase.liquidZ = out.liquidZ;
        flashCase.vapourZ = out.vapourZ;
        flashCase.iterations = out.iterations;
        flashCase.converged = out.converged;
        flashCase.residual = out.residual;
        flashCase.warning = std::move(out.warning);
        flashCase.failure.clear();
        return true;
    } catch (const EngineError& e) {
        flashCase.failure = std::string("The flash calculation failed: ") + e.what() + ".";
    } catch (const std::exception& e) {
        flashCase.failure = std::string("The flash calculation failed: ") + e.what() + ".";
    } catch (...) {
        flashCase.failure = "The flash calculation failed.";
    }
    return false;
}

} // namespace quorvane
