#include "engine/flash/saturation_check.h"

#include "common/precision.h"
#include "engine/envelope/boundary_points.h"
#include "engine/envelope/level_points.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/eos_choice.h"
#include "engine/flash/flash_steps.h"
#include "engine/flash/saturation.h"
#include "engine/flash/saturation_messages.h"
#include "engine/flash/vapour_fraction_flash.h"

#include <cmath>
#include <string>

namespace quorvane {

namespace {

using envelope::BoundaryPoint;
using envelope::Given;
using envelope::PointCheck;
using envelope::PointQuery;
using envelope::PointStatus;

PointQuery QueryOf(FlashType type, float given, float vapourFraction) {
    switch (type) {
    case FlashType::BUBP:
        return PointQuery{Given::Temperature, given, 0.0};
    case FlashType::DEWP:
        return PointQuery{Given::Temperature, given, 1.0};
    case FlashType::BUBT:
        return PointQuery{Given::Pressure, given, 0.0};
    case FlashType::DEWT:
        return PointQuery{Given::Pressure, given, 1.0};
    case FlashType::TV:
        return PointQuery{Given::Temperature, given, vapourFraction};
    case FlashType::PV:
        return PointQuery{Given::Pressure, given, vapourFraction};
    case FlashType::TP:
        break;
    }
    return PointQuery{};
}

void RunRoutine(FlashType type, const FlashMixture& mixture, std::span<const float> z, float given,
                float vapourFraction, FlashResults& out, FlashState& state) {
    switch (type) {
    case FlashType::BUBP:
        BubblePressure(mixture, z, given, out, state);
        break;
    case FlashType::DEWP:
        DewPressure(mixture, z, given, out, state);
        break;
    case FlashType::BUBT:
        BubbleTemperature(mixture, z, given, out, state);
        break;
    case FlashType::DEWT:
        DewTemperature(mixture, z, given, out, state);
        break;
    case FlashType::TV:
        VapourFractionPressure(mixture, z, given, vapourFraction, out, state);
        break;
    case FlashType::PV:
        VapourFractionTemperature(mixture, z, given, vapourFraction, out, state);
        break;
    case FlashType::TP:
        break;
    }
}

// The routine's answer as a candidate point, when it is one: finite, off the floors its
// iterations clamp to, physical and not trivial.
bool CandidateOf(const FlashResults& out, std::span<const float> z, BoundaryPoint& point) {
    if (!(std::isfinite(out.tempF) && std::isfinite(out.pressPsia) && out.tempF > -459.0F &&
          out.pressPsia > 1e-5F)) {
        return false;
    }
    if (detail::CheckSplitOutcome(out, z) != detail::SplitOutcome::Sound) {
        return false;
    }
    point.tempF = out.tempF;
    point.pressPsia = out.pressPsia;
    for (std::size_t i = 0; i < z.size(); ++i) {
        point.k[i] = out.k[i];
    }
    return true;
}

// Writes a confirmed point into the results. The saturated phase is the feed exactly; the
// given state variable is exactly the given value.
void StorePoint(const PointQuery& query, const BoundaryPoint& p, const PointCheck& check,
                std::span<const float> z, float given, FlashResults& out) {
    const std::size_t n = z.size();
    for (std::size_t i = 0; i < n; ++i) {
        out.x[i] = query.vapourFraction == 0.0 ? z[i] : ToSingle(p.x[i]);
        out.y[i] = query.vapourFraction == 1.0 ? z[i] : ToSingle(p.y[i]);
        out.k[i] = ToSingle(p.k[i]);
    }
    if (query.given == Given::Temperature) {
        out.tempF = given;
        out.pressPsia = ToSingle(p.pressPsia);
    } else {
        out.pressPsia = given;
        out.tempF = ToSingle(p.tempF);
    }
    out.liquidZ = ToSingle(p.liquidZ);
    out.vapourZ = ToSingle(p.vapourZ);
    out.vapourFraction = query.vapourFraction;
    out.iterations = static_cast<std::int16_t>(out.iterations + check.iterations);
    out.residual = check.residual;
    out.converged = true;
    out.warning.clear();
}

// Of several points at the given variable, the one engineers expect: the upper dew point (at a
// given T the dew pressure on the retrograde branch, at a given P the upper dew temperature),
// the bubble point of highest pressure or lowest temperature, and the like for a vapour
// fraction (the dew side above one half).
std::size_t Preferred(const PointQuery& query, std::size_t count) {
    const bool upper = query.given == Given::Temperature || query.vapourFraction > 0.5;
    return upper ? count - 1 : 0;
}

void Refuse(const envelope::EnvelopeMixture& mixture, std::span<const float> z,
            const PointQuery& query, float given, float previous, FlashResults& out,
            FlashState& state) {
    // No false number is shown: the computed variable keeps its value, both phases are the
    // feed.
    if (query.given == Given::Temperature) {
        out.tempF = given;
        out.pressPsia = previous;
    } else {
        out.pressPsia = given;
        out.tempF = previous;
    }
    for (std::size_t i = 0; i < z.size(); ++i) {
        out.x[i] = z[i];
        out.y[i] = z[i];
        out.k[i] = 1.0F;
    }
    // Both Z are the feed's, on its root of lower Gibbs energy, where the state can be
    // evaluated; 1 otherwise.
    out.liquidZ = 1.0F;
    out.vapourZ = 1.0F;
    try {
        envelope::CubicMixture& model = state.work.model;
        model.Bind(mixture.eos, mixture.tcF, mixture.pcPsia, mixture.w, mixture.kij);
        std::array<double, kMaxComponents> feed{};
        for (std::size_t i = 0; i < z.size(); ++i) {
            feed[i] = z[i];
        }
        envelope::PhaseResult phase;
        model.Evaluate(RankineOf(out.tempF), out.pressPsia,
                       std::span<const double>(feed.data(), z.size()), envelope::Root::LowerGibbs,
                       envelope::kLnPhiOnly, phase);
        out.liquidZ = ToSingle(phase.z);
        out.vapourZ = out.liquidZ;
    } catch (const EngineError&) {
    }
    out.vapourFraction = query.vapourFraction;
    out.otherPoint = OtherPoint{};
    detail::MarkUnconverged(out, out.residual, NoPointMessage(mixture, z, query));
}

} // namespace

envelope::EnvelopeMixture EnvelopeMixtureOf(const FlashMixture& mixture) {
    return envelope::EnvelopeMixture{EosChoiceFromText(mixture.eosText), mixture.tcF,
                                     mixture.pcPsia, mixture.w, mixture.kij};
}

void RunSaturationFlash(FlashType type, const FlashMixture& mixture, std::span<const float> z,
                        float given, float vapourFraction, float previous, FlashResults& out,
                        FlashState& state) {
    detail::CheckMixture(mixture, z);
    const PointQuery query = QueryOf(type, given, vapourFraction);
    const envelope::EnvelopeMixture env = EnvelopeMixtureOf(mixture);
    const bool dew = query.vapourFraction == 1.0;

    // The routine of the flash type first.
    bool ran = true;
    try {
        RunRoutine(type, mixture, z, given, vapourFraction, out, state);
    } catch (const EngineError&) {
        ran = false;
        out.Prepare(static_cast<int>(z.size()));
    }
    BoundaryPoint routine;
    bool confirmed = false;
    if (ran && CandidateOf(out, z, routine)) {
        const PointCheck check = envelope::ConfirmPoint(env, z, query, routine);
        if (check.status == PointStatus::Genuine) {
            StorePoint(query, routine, check, z, given, out);
            confirmed = true;
        }
    }
    if (confirmed && (!dew || envelope::OnlyPointOfItsKind(env, z, query, routine))) {
        return;
    }

    // Every point at the given variable, from the line of this vapour fraction.
    const envelope::PointSearch search = envelope::FindPoints(env, z, query);
    if (search.points.empty()) {
        if (confirmed) {
            return;
        }
        if (!ran) {
            // The routine ended on an arithmetic failure and there is no point to find: the
            // run fails, as the routine's failures do, and says why there is no point.
            std::string why = NoPointMessage(env, z, query);
            if (!why.empty() && why.back() == '.') {
                why.pop_back();
            }
            throw EngineError(why);
        }
        Refuse(env, z, query, given, previous, out, state);
        return;
    }
    std::size_t chosen = Preferred(query, search.points.size());
    if (confirmed) {
        // The routine's point stands; the search names the other one.
        bool matched = false;
        for (std::size_t i = 0; i < search.points.size(); ++i) {
            const BoundaryPoint& p = search.points[i];
            if (std::fabs(p.tempF - routine.tempF) < 1e-4 &&
                std::fabs(p.pressPsia / routine.pressPsia - 1.0) < 1e-6) {
                chosen = i;
                matched = true;
            }
        }
        if (!matched) {
            // The search did not meet the routine's point: every point it found is another.
            if (!search.points.empty()) {
                const BoundaryPoint& p = search.points.back();
                out.otherPoint = OtherPoint{true, ToSingle(p.tempF), ToSingle(p.pressPsia)};
                out.warning = OtherPointMessage(query, p);
            }
            return;
        }
    } else {
        StorePoint(query, search.points[chosen], search.checks[chosen], z, given, out);
    }
    if (search.points.size() > 1) {
        const std::size_t other = chosen == 0 ? 1 : chosen - 1;
        const BoundaryPoint& p = search.points[other];
        out.otherPoint = OtherPoint{true, ToSingle(p.tempF), ToSingle(p.pressPsia)};
        out.warning = OtherPointMessage(query, p);
    }
}

} // namespace quorvane
