#include "engine/properties/departures.h"

#include "common/precision.h"
#include "engine/eos/phase_fugacity.h"
#include "engine/properties/property_constants.h"

#include <array>
#include <cmath>
#include <limits>
#include <utility>

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

bool Usable(const PhaseCondition& phase) {
    const std::size_t n = phase.x.size();
    return phase.equation != EosEquation::Unknown && n != 0 &&
           n <= static_cast<std::size_t>(kMaxComponents) && phase.tcF.size() >= n &&
           phase.pcPsia.size() >= n && phase.w.size() >= n;
}

// The per-component terms of the phase's equation at its temperature, from its raw data.
ComponentAttraction TermsOf(const PhaseCondition& phase) {
    const std::size_t n = phase.x.size();
    std::array<EosComponentConstants, kMaxComponents> constants{};
    std::array<double, kMaxComponents * kMaxComponents> sqrtPc{};
    const EosChoice eos{phase.equation, phase.variant};
    for (std::size_t i = 0; i < n; ++i) {
        constants[i] =
            PrepareEosComponent(eos, RankineOf(phase.tcF[i]), phase.pcPsia[i], phase.w[i]);
        for (std::size_t j = 0; j < n; ++j) {
            sqrtPc[i * n + j] = std::sqrt(static_cast<double>(phase.pcPsia[i]) * phase.pcPsia[j]);
        }
    }
    return AttractionTermsAt(std::span(constants.data(), n), std::span(sqrtPc.data(), n * n),
                             RankineOf(phase.tempF));
}

// a(T) and its temperature derivatives at the phase's composition, all with the slope m of the
// phase's variant: H, S, Cp and the other derived properties then belong to one equation of
// state. a = sum x_i x_j (1 - kij) sqrt(a_i) sqrt(a_j), summed with its derivatives.
Attraction Mix(const ComponentAttraction& terms, const PhaseCondition& phase) {
    Attraction out;
    const std::size_t n = terms.n;
    out.tR = terms.tR;
    for (std::size_t i = 0; i < n; ++i) {
        out.b += static_cast<double>(phase.x[i]) * terms.b[i];
    }
    if (terms.equation == EosEquation::RK) {
        // The RK form of MixtureAParameter, row by row and without kij.
        for (std::size_t i = 0; i < n; ++i) {
            double row = 0.0;
            for (std::size_t j = 0; j < n; ++j) {
                row += static_cast<double>(phase.x[j]) * (terms.sqrtA[i] * terms.sqrtA[j]);
            }
            out.a += static_cast<double>(phase.x[i]) * row;
        }
        out.valid = true;
        return out;
    }
    const double tR = terms.tR;
    double a = 0.0;
    double dadT = 0.0;
    double second = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const int ii = static_cast<int>(i);
        const double* sqrtPc = terms.sqrtPcPairs.data() + i * n;
        for (std::size_t j = 0; j < n; ++j) {
            const double weight = static_cast<double>(phase.x[i]) * phase.x[j] *
                                  (1.0 - static_cast<double>(phase.kij(ii, static_cast<int>(j))));
            a += weight * terms.sqrtA[i] * terms.sqrtA[j];
            dadT += weight * (terms.sqrtA[j] * terms.dSqrtA[i] + terms.sqrtA[i] * terms.dSqrtA[j]);
            second += weight * terms.m[i] * (1.0 + terms.m[j]) * terms.tcR[i] * terms.tcR[j] /
                      (sqrtPc[j] * terms.sqrtTTc[i]);
        }
    }
    out.a = a;
    out.dadT = dadT;
    out.d2adT2 = OmegaASecondDerivative(terms.equation) * kR * kR / (2.0 * tR) * second;
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

double EnthalpyOf(EosEquation equation, double tR, double z, const ReducedGroups& g,
                  double attractionLog) {
    return kRe * tR *
           (z - 1.0 -
            g.bigA / (AttractionDivisor(equation) * g.bigB) * (1.0 + g.dOverA) * attractionLog);
}

double EntropyOf(EosEquation equation, double z, const ReducedGroups& g, double attractionLog) {
    return kRe * (std::log(z - g.bigB) -
                  g.bigA / (AttractionDivisor(equation) * g.bigB) * g.dOverA * attractionLog);
}

// The enthalpy and entropy departures of the phase from its mixture parameters; the
// logarithms both read are taken once.
void EnthalpyAndEntropy(const PhaseCondition& phase, const Attraction& at, double& enthalpy,
                        double& entropy) {
    const double z = phase.z;
    const double t = at.tR;
    if (phase.equation == EosEquation::RK) {
        const double p = phase.pressPsia;
        const double tPow15 = t * std::sqrt(t);
        const double bpOverZrt = at.b * p / (z * kR * t);
        const double attractionLog = std::log(1.0 + bpOverZrt);
        enthalpy = kRe * t * (z - 1.0 - 1.5 * at.a / (at.b * kR * tPow15) * attractionLog);
        entropy = kRe * (std::log(z * (1.0 - bpOverZrt)) -
                         at.a / (2.0 * at.b * kR * tPow15) * attractionLog);
        return;
    }
    const ReducedGroups g = GroupsOf(phase, at);
    const double attractionLog = AttractionLog(phase.equation, z, g.bigB);
    enthalpy = EnthalpyOf(phase.equation, t, z, g, attractionLog);
    entropy = EntropyOf(phase.equation, z, g, attractionLog);
}

DerivedPropertyValues DerivedOf(const PhaseCondition& phase, const Attraction& at,
                                double idealGasCp, double molWeight) {
    DerivedPropertyValues out;
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
    case EosEquation::RK: {
        // T^1.5 and T^2.5 from one square root.
        const double sqrtT = std::sqrt(t);
        dPdT = kR / vmb + a / (2.0 * (t * sqrtT) * v * (v + b));
        dPdV = -kR * t / (vmb * vmb) + a * (2.0 * v + b) / (sqrtT * v * v * (v + b) * (v + b));
        cvResidual = t * 3.0 * a / (4.0 * b * (t * t * sqrtT)) * std::log((v + b) / v);
        break;
    }
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

} // namespace

ComponentAttraction AttractionTermsAt(std::span<const EosComponentConstants> eos,
                                      std::span<const double> sqrtPcPairs, float tR) {
    ComponentAttraction terms;
    const std::size_t n = std::min(eos.size(), static_cast<std::size_t>(kMaxComponents));
    terms.n = n;
    terms.tR = tR;
    terms.sqrtPcPairs = sqrtPcPairs;
    terms.equation = n > 0 ? eos[0].equation : EosEquation::Unknown;
    const double omega = OmegaA(terms.equation);
    for (std::size_t i = 0; i < n; ++i) {
        const EosComponentConstants& c = eos[i];
        terms.b[i] = c.b;
        terms.sqrtA[i] = std::sqrt(c.AttractionAt(tR));
        terms.tcR[i] = c.tcR;
        if (terms.equation == EosEquation::RK) {
            continue;
        }
        // d sqrt(a_i)/dT = -m_i sqrt(a_i/alpha_i) / (2 sqrt(T Tc_i)), with
        // sqrt(a_i/alpha_i) = R Tc_i sqrt(Omega_a / Pc_i).
        terms.m[i] = c.SlopeAt(tR);
        terms.sqrtTTc[i] = std::sqrt(static_cast<double>(tR) * c.tcR);
        const double base = kR * c.tcR * std::sqrt(omega / c.pcPsia);
        terms.dSqrtA[i] = -terms.m[i] * base / (2.0 * terms.sqrtTTc[i]);
    }
    return terms;
}

double CubicEnthalpyDeparture(EosEquation equation, double tR, double z, double bigA, double bigB,
                              double dOverA) {
    return EnthalpyOf(equation, tR, z, ReducedGroups{bigA, bigB, dOverA},
                      AttractionLog(equation, z, bigB));
}

double CubicEntropyDeparture(EosEquation equation, double z, double bigA, double bigB,
                             double dOverA) {
    return EntropyOf(equation, z, ReducedGroups{bigA, bigB, dOverA},
                     AttractionLog(equation, z, bigB));
}

namespace {

// H and S departures of the phase (NaN when its condition is not usable).
std::pair<double, double> EnthalpyAndEntropyOf(const PhaseCondition& phase) {
    double enthalpy = kNaN;
    double entropy = kNaN;
    if (Usable(phase)) {
        EnthalpyAndEntropy(phase, Mix(TermsOf(phase), phase), enthalpy, entropy);
    }
    return {enthalpy, entropy};
}

} // namespace

double EnthalpyDeparture(const PhaseCondition& phase) {
    return EnthalpyAndEntropyOf(phase).first;
}

double EntropyDeparture(const PhaseCondition& phase) {
    return EnthalpyAndEntropyOf(phase).second;
}

DerivedPropertyValues DerivedProperties(const PhaseCondition& phase, double idealGasCp,
                                        double molWeight) {
    if (!Usable(phase)) {
        return {};
    }
    return DerivedOf(phase, Mix(TermsOf(phase), phase), idealGasCp, molWeight);
}

PhaseDepartures DeparturesOf(const ComponentAttraction& terms, const PhaseCondition& phase,
                             double idealGasCp, double molWeight) {
    PhaseDepartures out;
    if (terms.equation != phase.equation || terms.n != phase.x.size() || !Usable(phase)) {
        return out;
    }
    const Attraction at = Mix(terms, phase);
    EnthalpyAndEntropy(phase, at, out.enthalpy, out.entropy);
    out.derived = DerivedOf(phase, at, idealGasCp, molWeight);
    return out;
}

} // namespace quorvane
