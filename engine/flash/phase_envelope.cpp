// The phase-envelope tracer: a low-pressure start of the bubble curve, then the bubble curve
// and the dew curve one saturation point per pass, with the routine chosen by the local slope
// of the curve and the step by the density ratio of the phases.

#include "engine/flash/phase_envelope.h"

#include "common/precision.h"
#include "engine/eos/checked_math.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/eos_parameters.h"
#include "engine/flash/flash_steps.h"
#include "engine/flash/isothermal_flash.h"
#include "engine/flash/saturation.h"

#include <cmath>
#include <optional>
#include <string>

namespace quorvane {

namespace {

constexpr float kStepTempF = 6.0F;      // ΔT
constexpr float kStepPressPsia = 45.0F; // ΔP
constexpr int kCurvePassLimit = 200;    // saturation calls per curve (points, failed or not)
constexpr int kSearchLimit = 250;       // steps of the low-pressure search
constexpr float kSearchStepF = 10.0F;
constexpr float kSearchPressPsia = 5.0F; // the bubble curve starts above this pressure
constexpr float kDewStartPressPsia = 10.0F;
constexpr double kBubbleSlopeLimit = 5.0; // psia/°F: at or above it the bubble curve runs in P
constexpr double kDewSlopeLimit = 2.0;    // the same for the dew curve
constexpr double kRepeatTolerance = 0.001;
constexpr double kCriticalZGap = 1e-05;

// Where the curve stands: the last point of the march and what was learnt from it. The march
// follows what the saturation routines find, whatever the point check then draws.
struct March {
    float t = 0.0F; // working temperature and pressure
    float p = 0.0F;
    int points = 0; // points the march made on this curve
    float lastT = 0.0F, lastP = 0.0F;
    float beforeT = 0.0F; // temperature of the point before the last
    double slope = 0.0;   // dP/dT between the last two points
    double densityRatio = 0.0;
};

// ρ = P·M/(Z·R·T) of one phase, T in °R; nullopt when it cannot be formed.
std::optional<double> Density(float pressPsia, float tempF, std::span<const float> fractions,
                              std::span<const float> mw, float z) {
    double m = 0.0;
    for (std::size_t i = 0; i < fractions.size(); ++i) {
        m += static_cast<double>(fractions[i]) * mw[i];
    }
    const double rho = pressPsia * m / (z * kGasConstant * (tempF + kRankineOffset));
    if (!std::isfinite(rho) || !(rho > 0.0)) {
        return std::nullopt;
    }
    return rho;
}

// Whether the routine is given the pressure (and finds the temperature).
bool ByPressure(SaturationRoutine routine) {
    return routine == SaturationRoutine::BubbleTemperature ||
           routine == SaturationRoutine::DewTemperature;
}

class Tracer {
public:
    Tracer(const FlashMixture& mixture, std::span<const float> z, std::span<const float> mw,
           FlashState& state, const EnvelopeOptions& options)
        : m_mixture(mixture), m_z(z), m_mw(mw), m_state(state), m_options(options) {}

    PhaseEnvelope Trace();

private:
    bool SearchLowPressure();
    bool TraceBubbleCurve();
    bool TraceDewCurve();
    // One saturation call into m_out; false when it failed.
    bool Call(SaturationRoutine routine, float given, bool start, bool upper = false);
    // Tells the caller where the tracing stands; false when the caller stops it.
    bool Report(SaturationRoutine routine, bool completed);
    // Stores the march point, the previous-point record, the densities and the slope.
    void Advance(March& march);
    void Keep(EnvelopeCurve curve, SaturationRoutine routine);

    const FlashMixture& m_mixture;
    std::span<const float> m_z;
    std::span<const float> m_mw;
    FlashState& m_state;
    const EnvelopeOptions& m_options;
    FlashResults m_out;
    PhaseEnvelope m_result;
    March m_march;             // the low-pressure search and the bubble curve
    float m_searchEndT = 0.0F; // the temperature the search reached
};

bool Tracer::Call(SaturationRoutine routine, float given, bool start, bool upper) {
    const SaturationFlags flags{start, upper};
    bool completed = true;
    try {
        switch (routine) {
        case SaturationRoutine::BubblePressure:
            BubblePressure(m_mixture, m_z, given, m_out, m_state, flags);
            break;
        case SaturationRoutine::BubbleTemperature:
            BubbleTemperature(m_mixture, m_z, given, m_out, m_state, flags);
            break;
        case SaturationRoutine::DewPressure:
            DewPressure(m_mixture, m_z, given, m_out, m_state, flags);
            break;
        case SaturationRoutine::DewTemperature:
            DewTemperature(m_mixture, m_z, given, m_out, m_state, flags);
            break;
        }
        // The given state variable completes the point.
        if (ByPressure(routine)) {
            m_out.pressPsia = given;
        } else {
            m_out.tempF = given;
        }
    } catch (const EngineError&) {
        // Stepped over: the march keeps its values and goes on.
        ++m_result.failed;
        completed = false;
    }
    return completed;
}

bool Tracer::Report(SaturationRoutine routine, bool completed) {
    if (m_options.progress) {
        const EnvelopeProgress progress{routine, completed ? m_out.iterations : 0,
                                        static_cast<int>(m_result.bubble.size()),
                                        static_cast<int>(m_result.dew.size())};
        if (!m_options.progress(progress)) {
            m_result.cancelled = true;
            return false;
        }
    }
    return true;
}

void Tracer::Advance(March& march) {
    const float t = m_out.tempF;
    const float p = m_out.pressPsia;
    march.t = t;
    march.p = p;
    // The next point starts from this one.
    SaturationPoint& previous = m_state.previous;
    previous.tempF = t;
    previous.pressPsia = p;
    for (std::size_t i = 0; i < m_z.size(); ++i) {
        previous.x[i] = m_out.x[i];
        previous.y[i] = m_out.y[i];
    }
    const auto rhoL = Density(p, t, m_out.x, m_mw, m_out.liquidZ);
    const auto rhoV = Density(p, t, m_out.y, m_mw, m_out.vapourZ);
    if (rhoL && rhoV) {
        march.densityRatio = *rhoL / *rhoV;
    }
    if (march.points > 0) {
        const double slope = (static_cast<double>(p) - march.lastP) / (t - march.lastT);
        if (std::isfinite(slope)) {
            march.slope = slope;
        }
    }
    march.beforeT = march.lastT;
    march.lastT = t;
    march.lastP = p;
    ++march.points;
}

void Tracer::Keep(EnvelopeCurve curve, SaturationRoutine routine) {
    PointCandidate candidate{m_mixture, m_z, curve, routine, m_out, m_state};
    const PointVerdict verdict =
        m_options.check ? m_options.check(candidate) : KeepConvergedPoint(candidate);
    if (verdict == PointVerdict::Drop) {
        ++m_result.dropped;
        return;
    }
    const bool resolved = verdict == PointVerdict::Resolved;
    m_result.resolved += resolved ? 1 : 0;
    auto& list = curve == EnvelopeCurve::Bubble ? m_result.bubble : m_result.dew;
    EnvelopePoint& point = list.emplace_back(
        EnvelopePoint{m_out.tempF, m_out.pressPsia, routine, m_out.iterations, resolved});
    const std::vector<float>& incipient = curve == EnvelopeCurve::Bubble ? m_out.y : m_out.x;
    for (std::size_t i = 0; i < m_z.size() && i < incipient.size(); ++i) {
        point.incipient[i] = incipient[i];
    }
}

bool Tracer::SearchLowPressure() {
    float p = 0.0F;
    for (int step = 0; step < kSearchLimit && !(p > kSearchPressPsia); ++step) {
        ++m_result.searchSteps;
        const bool completed = Call(SaturationRoutine::BubblePressure, m_march.t, false);
        if (completed) {
            p = m_out.pressPsia;
        }
        if (!Report(SaturationRoutine::BubblePressure, completed)) {
            return false;
        }
        m_march.t = ToSingle(static_cast<double>(m_march.t) + kSearchStepF);
    }
    m_march.p = p;
    m_searchEndT = m_march.t;
    return true;
}

bool Tracer::TraceBubbleCurve() {
    March& march = m_march;
    for (int pass = 0; pass < kCurvePassLimit; ++pass) {
        const bool first = march.points == 0;
        const SaturationRoutine routine = first || march.slope < kBubbleSlopeLimit
                                              ? SaturationRoutine::BubblePressure
                                              : SaturationRoutine::BubbleTemperature;
        const bool completed = Call(routine, ByPressure(routine) ? march.p : march.t, !first);
        bool repeated = false;
        if (completed) {
            const float lastT = march.lastT;
            const float lastP = march.lastP;
            Advance(march);
            Keep(EnvelopeCurve::Bubble, routine);
            // From the third point on, a point that repeats the last one ends the curve.
            repeated = march.points >= 3 && (std::fabs(march.t - lastT) < kRepeatTolerance ||
                                             std::fabs(march.p - lastP) < kRepeatTolerance);
        }
        if (!Report(routine, completed)) {
            return false;
        }
        if (repeated) {
            return true;
        }
        // The step shrinks as the phases approach each other in density.
        const double r = march.densityRatio;
        float dt = 0.0F, dp = 0.0F;
        if (march.points <= 1 || r > 2.0) {
            dt = kStepTempF;
            dp = kStepPressPsia;
        } else if (r > 1.0) {
            dt = kStepTempF / 4.0F;
            dp = kStepPressPsia / 4.0F;
        } else if (r > 0.5) {
            dt = 0.01F;
            dp = 1.0F;
        }
        march.t = ToSingle(static_cast<double>(march.t) + dt);
        march.p = ToSingle(static_cast<double>(march.p) + dp);
    }
    return true;
}

bool Tracer::TraceDewCurve() {
    const double tpcR = m_result.pseudoCriticalTempF + kRankineOffset;
    const double ppc = m_result.pseudoCriticalPressPsia;
    // The dew curve is a march of its own, from the low-pressure end.
    March march;
    march.t = m_searchEndT;
    march.p = kDewStartPressPsia;
    bool pressureStep = true; // the last advance was in pressure
    for (int pass = 0; pass < kCurvePassLimit; ++pass) {
        const bool first = march.points == 0;
        // The routine that takes the variable just advanced as given.
        const SaturationRoutine routine =
            pressureStep ? SaturationRoutine::DewTemperature : SaturationRoutine::DewPressure;
        // On the retrograde part (pressure rising as temperature falls) the pressure is
        // corrected towards the upper dew point.
        const bool upper = march.slope < 0.0;
        const bool completed = Call(routine, pressureStep ? march.p : march.t, !first, upper);
        bool critical = false;
        if (completed) {
            Advance(march);
            // Phases of one density: the curve has reached the critical region.
            critical = std::fabs(m_out.vapourZ - m_out.liquidZ) < kCriticalZGap;
            Keep(EnvelopeCurve::Dew, routine);
        }
        if (!Report(routine, completed)) {
            return false;
        }
        if (critical) {
            return true;
        }
        const double dT = std::fabs(march.t - m_result.pseudoCriticalTempF) / tpcR;
        const double dP = std::fabs(march.p - ppc) / ppc;
        auto near = [&](double limit) { return dT < limit || dP < limit; };
        // After the first two points the pressure steps up whatever the slope.
        pressureStep = march.points <= 2 || march.slope >= kDewSlopeLimit;
        if (march.points <= 2) {
            march.p = ToSingle(march.p + (near(0.01) ? 0.1 * kStepPressPsia : kStepPressPsia));
        } else if (!pressureStep) {
            const double step = near(0.02) ? 0.1 * kStepTempF : kStepTempF;
            march.t = ToSingle(march.lastT > march.beforeT ? march.t + step : march.t - step);
        } else {
            march.p = ToSingle(march.p + (near(0.05) ? 0.25 * kStepPressPsia : kStepPressPsia));
        }
    }
    return true;
}

PhaseEnvelope Tracer::Trace() {
    m_result.bubble.reserve(kCurvePassLimit);
    m_result.dew.reserve(kCurvePassLimit);
    m_result.pseudoCriticalTempF = PseudoCriticalTemperatureF(m_z, m_mixture.tcF, m_mixture.vc);
    m_result.pseudoCriticalPressPsia = PseudoCriticalPressurePsia(m_z, m_mixture);
    // A low temperature: three tenths of the pseudo-critical temperature on the absolute scale.
    const double startR = 0.3 * (m_result.pseudoCriticalTempF + kRankineOffset);
    m_march.t = ToSingle(startR - kRankineOffset);
    m_result.bubbleStartTempF = m_march.t;
    if (!SearchLowPressure() || !TraceBubbleCurve()) {
        return std::move(m_result);
    }
    TraceDewCurve();
    return std::move(m_result);
}

} // namespace

std::string_view SaturationRoutineCode(SaturationRoutine routine) {
    switch (routine) {
    case SaturationRoutine::BubblePressure:
        return "BUBP";
    case SaturationRoutine::BubbleTemperature:
        return "BUBT";
    case SaturationRoutine::DewPressure:
        return "DEWP";
    case SaturationRoutine::DewTemperature:
        return "DEWT";
    }
    return "";
}

PointVerdict KeepConvergedPoint(PointCandidate& candidate) {
    return candidate.result.converged ? PointVerdict::Accept : PointVerdict::Drop;
}

float PseudoCriticalPressurePsia(std::span<const float> z, const FlashMixture& mixture) {
    double zcSum = 0.0, tcSum = 0.0, vcSum = 0.0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        zcSum += static_cast<double>(z[i]) * mixture.zc[i];
        tcSum += static_cast<double>(z[i]) * (mixture.tcF[i] + kRankineOffset);
        vcSum += static_cast<double>(z[i]) * mixture.vc[i];
    }
    if (!(vcSum > 0.0)) {
        throw InvalidArgumentError("the feed has no critical volume");
    }
    return checked::Single(kGasConstant * zcSum * tcSum / vcSum,
                           "pseudo-critical pressure out of range");
}

PhaseEnvelope TracePhaseEnvelope(const FlashMixture& mixture, std::span<const float> z,
                                 std::span<const float> mw, FlashState& state,
                                 const EnvelopeOptions& options) {
    detail::CheckMixture(mixture, z);
    if (mw.size() != z.size() || mixture.vc.size() != z.size() || mixture.zc.size() != z.size()) {
        throw MixtureSizeError("the component data do not match the number of components");
    }
    double sum = 0.0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        if (!(z[i] >= 0.0F) || !std::isfinite(z[i])) {
            throw InvalidArgumentError("a mole fraction is out of range");
        }
        if (!(mw[i] > 0.0F) || !std::isfinite(mw[i])) {
            throw InvalidArgumentError("the molar mass of a component is missing");
        }
        sum += z[i];
    }
    if (!(sum > 0.0)) {
        throw InvalidArgumentError("the feed has no mole fractions");
    }
    Tracer tracer(mixture, z, mw, state, options);
    return tracer.Trace();
}

void CheckEnvelopeCase(const FlashCase& flashCase, std::span<const float> mw) {
    if (std::string why = MixtureDataProblem(flashCase); !why.empty()) {
        throw EnvelopeInputError(why);
    }
    const auto n = static_cast<std::size_t>(flashCase.n);
    if (mw.size() < n) {
        throw EnvelopeInputError("The molar masses do not cover every component of the mixture.");
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (!(std::isfinite(mw[i]) && mw[i] > 0.0F)) {
            throw EnvelopeInputError("The molar mass of a component is missing or out of range.");
        }
        if (!(std::isfinite(flashCase.vc[i]) && flashCase.vc[i] > 0.0F &&
              std::isfinite(flashCase.zc[i]) && flashCase.zc[i] > 0.0F)) {
            throw EnvelopeInputError("The critical volume or compressibility of a component is "
                                     "missing, so the pseudo-critical point cannot be formed.");
        }
    }
}

PhaseEnvelope TraceCaseEnvelope(const FlashCase& flashCase, std::span<const float> mw,
                                FlashState& state, const EnvelopeOptions& options) {
    CheckEnvelopeCase(flashCase, mw);
    const auto n = static_cast<std::size_t>(flashCase.n);
    FlashMixture mixture = MixtureOf(flashCase);
    const KijTable kij = RunKijTable(flashCase);
    mixture.kij = kij.View();
    return TracePhaseEnvelope(mixture, std::span(flashCase.z.data(), n), mw.first(n), state,
                              options);
}

} // namespace quorvane
