#include "engine/flash/flash_driver.h"

#include "common/precision.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/phase_fugacity.h"
#include "engine/flash/flash_gate.h"
#include "engine/flash/flash_results.h"
#include "engine/flash/isothermal_flash.h"
#include "engine/flash/isothermal_phases.h"
#include "engine/flash/saturation_check.h"

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
        if (flashCase.estimateKij) {
            state.estimatedKij = RunKijTable(flashCase);
            mixture.kij = state.estimatedKij.View();
        }
        const std::span<const float> z(flashCase.z.data(), static_cast<std::size_t>(n));
        // The results of the previous run on this state start over (their storage is kept).
        FlashResults& out = state.results;
        out.Reset();
        const float tempF = flashCase.tempF;
        const float pressPsia = flashCase.pressPsia;
        double vapourFraction = flashCase.vapourFraction;
        float computedTempF = tempF;
        float computedPressPsia = pressPsia;

        const FlashType type = flashCase.flashType;
        switch (type) {
        case FlashType::TP:
            IsothermalFlash(mixture, z, tempF, pressPsia, out, state);
            detail::FinishIsothermal(mixture, z, tempF, pressPsia, out, state);
            out.tempF = tempF;
            out.pressPsia = pressPsia;
            break;
        case FlashType::BUBP:
        case FlashType::DEWP:
        case FlashType::TV:
            // The routine, then the confirmation of its point (or the search for one).
            RunSaturationFlash(type, mixture, z, tempF, ToSingle(vapourFraction), pressPsia, out,
                               state);
            break;
        case FlashType::BUBT:
        case FlashType::DEWT:
        case FlashType::PV:
            RunSaturationFlash(type, mixture, z, pressPsia, ToSingle(vapourFraction), tempF, out,
                               state);
            break;
        default:
            flashCase.failure = "Unknown flash type.";
            return false;
        }
        ApplyFinalGate(type, mixture, z, out, state);
        switch (type) {
        case FlashType::TP:
            vapourFraction = out.vapourFraction;
            break;
        case FlashType::BUBP:
        case FlashType::BUBT:
            vapourFraction = kBubbleVapourFraction;
            break;
        case FlashType::DEWP:
        case FlashType::DEWT:
            vapourFraction = kDewVapourFraction;
            break;
        default:
            break;
        }
        const bool computesP =
            type == FlashType::BUBP || type == FlashType::DEWP || type == FlashType::TV;
        const bool computesT =
            type == FlashType::BUBT || type == FlashType::DEWT || type == FlashType::PV;
        if (computesP) {
            computedPressPsia = out.pressPsia;
        }
        if (computesT) {
            computedTempF = out.tempF;
        }

        // The run completed: replace the results, nothing else of the case.
        flashCase.x.assign(out.x.begin(), out.x.end());
        flashCase.y.assign(out.y.begin(), out.y.end());
        flashCase.k.assign(out.k.begin(), out.k.end());
        flashCase.vapourFraction = vapourFraction;
        flashCase.tempF = computedTempF;
        flashCase.pressPsia = computedPressPsia;
        flashCase.liquidZ = out.liquidZ;
        flashCase.vapourZ = out.vapourZ;
        flashCase.iterations = out.iterations;
        flashCase.converged = out.converged;
        flashCase.residual = out.residual;
        flashCase.warning.assign(out.warning);
        flashCase.otherPoint = out.otherPoint;
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
