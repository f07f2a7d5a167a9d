#include "engine/flash/flash_driver.h"

#include "engine/eos/engine_errors.h"
#include "engine/eos/phase_fugacity.h"
#include "engine/flash/flash_gate.h"
#include "engine/flash/flash_results.h"
#include "engine/flash/isothermal_flash.h"
#include "engine/flash/isothermal_phases.h"
#include "engine/flash/saturation_check.h"
#include "engine/precision.h"

#include <cmath>
#include <exception>
#include <string>

namespace quorvane {

namespace {

// Reported vapour fractions of saturation points.
constexpr double kBubbleVapourFraction = 1e-08;
constexpr double kDewVapourFraction = 0.9999999;

// Why the case cannot be run, or an empty text.
std::string CheckCase(const FlashCase& c) {
    const auto n = static_cast<std::size_t>(c.n);
    if (c.n > kMaxComponents) {
        return "The mixture has more than 25 components.";
    }
    if (c.z.size() < n || c.tcF.size() < n || c.pcPsia.size() < n || c.w.size() < n ||
        c.vc.size() < n || c.zc.size() < n || c.vapourPressure.size() < n) {
        return "The component data do not cover every component of the mixture.";
    }
    if (c.kij.Columns() < c.n) {
        return "The interaction-parameter table is smaller than the mixture.";
    }
    double zSum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!(std::isfinite(c.z[i]) && c.z[i] >= 0.0F)) {
            return "There is an error in the stream compositions.";
        }
        zSum += c.z[i];
        if (!(std::isfinite(c.tcF[i]) && c.tcF[i] > -459.67F && std::isfinite(c.pcPsia[i]) &&
              c.pcPsia[i] > 0.0F && std::isfinite(c.w[i]))) {
            return "The critical data of a component are missing or out of range.";
        }
    }
    if (!(zSum > 0.0)) {
        return "There is an error in the stream compositions.";
    }
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
        if (flashCase.n <= 0) {
            flashCase.failure = "No components have been selected.";
            return false;
        }
        if (flashCase.eosIndex < 0 || flashCase.eosIndex > 4) {
            flashCase.failure = "No equation of state is selected.";
            return false;
        }
        if (std::string why = CheckCase(flashCase); !why.empty()) {
            flashCase.failure = std::move(why);
            return false;
        }
        const int n = flashCase.n;
        FlashMixture mixture = MixtureOf(flashCase);
        // With the estimate chosen, the run uses the estimated table; the case's own table is
        // left as it is.
        KijTable estimated;
        if (flashCase.estimateKij) {
            estimated = EstimateKij(mixture.tcF, mixture.zc);
            mixture.kij = estimated.View();
        }
        const std::span<const float> z(flashCase.z.data(), static_cast<std::size_t>(n));
        FlashResults out;
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
