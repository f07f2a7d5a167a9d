#include "engine/properties/departures.h"

#include "common/precision.h"
#include "engine/eos/phase_fugacity.h"
#include "engine/properties/property_constants.h"

#include <array>
#include <cmath>
#include <limits>

namespace quorvane {

namespace {

constexpr double kR = kGasConstantPvt;
constexpr double kRe = kGasConstantDeparture;
constexpr double kSqrt2 = 1.4142135623730951;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Omega_a of the attraction parameter. The second temperature derivative of the PR operation
// of the derived properties was written with 0.457236; it keeps it.
double OmegaA(EosEquation equation) {
    return equation == EosEquation::PR ? 0.457235 : 0.42748;
}
double OmegaASecondDerivative(EosEquation equation) {
    return equation == EosEquation::PR ? 0.457236 : 0.42748;
}

// The mixture attraction parameter and its temperature derivatives at fixed composition.
struct Attraction {
    float tR = 0.0F;     // the Rankine temperature as the engine holds it
    double a = 0.0;      // a(T) (RK: the temperature-free constant of a/T^0.5)
    double b = 0.0;      // co-volume
    double dadT = 0.0;   // SRK and PR only
    double d2adT2 = 0.0; // SRK and PR only
    bool valid = false;
};

// a(T) and its temperature derivatives, all with the slope m of the phase's variant: H, S, Cp
// and the other derived properties then belong to one equation of state.
Attraction AttractionOf(const PhaseCondition& phase, bool wantSecondDerivative) {
    Attraction out;
    const std::size_t n = phase.x.size();
    if (phase.equation == EosEquation::Unknown || n == 0 ||
        n > static_cast<std::size_t>(kMaxComponents) || phase.tcF.size() < n ||
        phase.pcPsia.size() < n || phase.w.size() < n) {
        return out;
    }
    const EosEquation eq = phase.equation;
    const float tR = RankineOf(phase.tempF);
    out.tR = tR;

    std::array<float, kMaxComponents> tcR{};
    for (std::size_t i = 0; i < n; ++i) {
        tcR[i] = RankineOf(phase.tcF[i]);
    }
    const std::span<const float> tcSpan(tcR.data(), n);
    const std::span<const float> pc = phase.pcPsia.first(n);
    out.b = MixtureBParameter(eq, tcSpan, pc, phase.x);
    if (eq == EosEquation::RK) {
        out.a = MixtureAParameter(eq, tcSpan, pc, phase.x);
        out.valid = true;
        return out;
    }
    const std::span<const float> w = phase.w.first(n);

    // d sqrt(a_i)/dT = -m_i sqrt(a_i/alpha_i) / (2 sqrt(T Tc_i)), with
    // sqrt(a_i/alpha_i) = R Tc_i sqrt(Omega_a / Pc_i).
    std::array<double, kMaxComponents> sqrtA{};
    std::array<double, kMaxComponents> dSqrtA{};
    std::array<double, kMaxComponents> m{};
    const double omega = OmegaA(eq);
    for (std::size_t i = 0; i < n; ++i) {
        sqrtA[i] = std::sqrt(ComponentAParameter(eq, tcR[i], pc[i], tR, w[i], phase.variant));
        m[i] = AlphaSlope(eq, phase.variant, w[i], tR, tcR[i]);
        const double base = kR * tcR[i] * std::sqrt(omega / pc[i]);
        dSqrtA[i] = -m[i] * base / (2.0 * std::sqrt(static_cast<double>(tR) * tcR[i]));
    }
    // a = sum x_i x_j (1 - kij) sqrt(a_i) sqrt(a_j), summed with its derivatives.
    double a = 0.0;
    double dadT = 0.0;
    double second = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const int ii = static_cast<int>(i);
        for (std::size_t j = 0; j < n; ++j) {
            const double weight = static_cast<double>(phase.x[i]) * phase.x[j] *
                                  (1.0 - static_cast<double>(phase.kij(ii, static_cast<int>(j))));
            a += weight * sqrtA[i] * sqrtA[j];
            dadT += weight * (sqrtA[j] * dSqrtA[i] + sqrtA[i] * dSqrtA[j]);
            if (wantSecondDerivative) {
                second += weight * m[i] * (1.0 + m[j]) * static_cast<double>(tcR[i]) * tcR[j] /
                          (std::sqrt(static_cast<double>(pc[i]) * pc[j]) *
                           std::sqrt(static_cast<double>(tR) * tcR[i]));
            }
        }
    }
    out.a = a;
    out.dadT = dadT;
    if (wantSecondDerivative) {
        out.d2adT2 = OmegaASecondDerivative(eq) * kR * kR / (2.0 * tR) * second;
    }
    out.valid = true;
    return out;
}

// A, B and D/a of the SRK and PR departures, D = -T da/dT.
struct ReducedGroups {
    double bigA = 0.0;
    double bigB = 0.0;
    double dOverA = 0.0;
};

ReducedGroups GroupsOf(const PhaseCondition& phase, const Attraction& at) {
    return ReducedGroups{ReducedA(phase.equation, at.a, phase.pressPsia, at.tR),
                         ReducedB(at.b, phase.pressPsia, at.tR), -at.tR * at.dadT / at.a};
}

// ln of the attraction integral of each form: ln(1 + B/Z) for RK and SRK,
// ln((Z + (1 + sqrt 2) B)/(Z + (1 - sqrt 2) B)) for PR; and its prefactor divisor.
double AttractionLog(EosEquation equation, double z, double bigB) {
    if (equation == EosEquation::PR) {
        return std::log((z + (1.0 + kSqrt2) * bigB) / (z + (1.0 - kSqrt2) * bigB));
    }
    return std::log(1.0 + bigB / z);
}
double AttractionDivisor(EosEquation equation) {
    return equation == EosEquation::PR ? 2.0 * kSqrt2 : 1.0;
}

} // namespace

double CubicEnthalpyDeparture(EosEquation equation, double tR, double z, double bigA, double bigB,
                              double dOverA) {
    return kRe * tR *
           (z - 1.0 -
            bigA / (AttractionDivisor(equation) * bigB) * (1.0 + dOverA) *
                AttractionLog(equation, z, bigB));
}

double CubicEntropyDeparture(EosEquation equation, double z, double bigA, double bigB,
                             double dOverA) {
    return kRe * (std::log(z - bigB) - bigA / (AttractionDivisor(equation) * bigB) * dOverA *
                                           AttractionLog(equation, z, bigB));
}

double EnthalpyDeparture(const PhaseCondition& phase) {
    const Attraction at = AttractionOf(phase, false);
    if (!at.valid) {
        return kNaN;
    }
    const double z = phase.z;
    const double t = at.tR;
    if (phase.equation == EosEquation::RK) {
        const double p = phase.pressPsia;
        return kRe * t *
               (z - 1.0 -
                1.5 * at.a / (at.b * kR * std::pow(t, 1.5)) *
                    std::log(1.0 + at.b * p / (z * kR * t)));
    }
    const ReducedGroups g = GroupsOf(phase, at);
    return CubicEnthalpyDeparture(phase.equation, t, z, g.bigA, g.bigB, g.dOverA);
}

double EntropyDeparture(const PhaseCondition& phase) {
    const Attraction at = AttractionOf(phase, false);
    if (!at.valid) {
        return kNaN;
    }
    const double z = phase.z;
    const double t = at.tR;
    if (phase.equation == EosEquation::RK) {
        const double bpOverZrt = at.b * phase.pressPsia / (z * kR * t);
        return kRe * (std::log(z * (1.0 - bpOverZrt)) -
                      at.a / (2.0 * at.b * kR * std::pow(t, 1.5)) * std::log(1.0 + bpOverZrt));
    }
    const ReducedGroups g = GroupsOf(phase, at);
    return CubicEntropyDeparture(phase.equation, z, g.bigA, g.bigB, g.dOverA);
}

DerivedPropertyValues DerivedProperties(const PhaseCondition& phase, double idealGasCp,
                                        double molWeight) {
    DerivedPropertyValues out;
    const Attraction at = AttractionOf(phase, true);
    if (!at.valid) {
        return out;
    }
    const double t = at.tR;
    const double p = phase.pressPsia;
    const double a = at.a;
    const double b = at.b;
    const double v = phase.z * kR * t / p;
    const double vmb = v - b;

    double dPdT = 0.0;
    double dPdV = 0.0;
    double cvResidual = 0.0; // psia ft3/(lb-mol R)
    switch (phase.equation) {
    case EosEquation::RK:
        dPdT = kR / vmb + a / (2.0 * std::pow(t, 1.5) * v * (v + b));
        dPdV =
            -kR * t / (vmb * vmb) + a * (2.0 * v + b) / (std::sqrt(t) * v * v * (v + b) * (v + b));
        cvResidual = t * 3.0 * a / (4.0 * b * std::pow(t, 2.5)) * std::log((v + b) / v);
        break;
    case EosEquation::SRK: {
        const double vvb = v * (v + b);
        dPdT = kR / vmb - at.dadT / vvb;
        dPdV = -kR * t / (vmb * vmb) + a * (2.0 * v + b) / (vvb * vvb);
        cvResidual = t * at.d2adT2 / b * std::log((v + b) / v);
        break;
    }
    case EosEquation::PR: {
        const double quad = v * v + 2.0 * b * v - b * b;
        dPdT = kR / vmb - at.dadT / quad;
        dPdV = -kR * t / (vmb * vmb) + 2.0 * a * (v + b) / (quad * quad);
        cvResidual = t * at.d2adT2 / (2.0 * kSqrt2 * b) *
                     std::log((v + (1.0 + kSqrt2) * b) / (v + (1.0 - kSqrt2) * b));
        break;
    }
    case EosEquation::Unknown:
        return out;
    }

    // Each value is stored as a 32-bit result before the next one reads it; the first
    // non-finite value ends the operation.
    const double cpMinusCv = -t * dPdT * dPdT / dPdV; // psia ft3/(lb-mol R)
    const double residualCp = (cvResidual + cpMinusCv) * kRe / kR - kRe;
    const float cp = ToSingle(idealGasCp + residualCp);
    if (!std::isfinite(cp)) {
        return out;
    }
    out.cp = cp;
    out.residualCp = residualCp;
    out.written = 1;

    const float cv = ToSingle(cp - cpMinusCv * kRe / kR);
    if (!std::isfinite(cv)) {
        return out;
    }
    out.cv = cv;
    out.written = 2;

    const float ratio = ToSingle(static_cast<double>(cp) / cv);
    if (!std::isfinite(ratio)) {
        return out;
    }
    out.cpCv = ratio;
    out.written = 3;

    const float jt = ToSingle(-(v + t * dPdT / dPdV) / (cp * kR / kRe));
    if (!std::isfinite(jt)) {
        return out;
    }
    out.jouleThomson = jt;
    out.written = 4;

    const float sound = ToSingle(std::sqrt(-(ratio * v * v / molWeight * dPdV * 144.0 * 32.174)));
    if (!std::isfinite(sound)) {
        return out;
    }
    out.soundSpeed = sound;
    out.written = 5;
    return out;
}

} // namespace quorvane
