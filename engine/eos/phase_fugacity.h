#pragma once

#include "engine/eos/cubic_roots.h"
#include "engine/eos/eos_choice.h"
#include "engine/eos/eos_parameters.h"
#include "engine/eos/fugacity.h"

#include <array>
#include <span>

// Fugacity coefficients of every component of one phase from one evaluation: the mixture
// parameters and the root are computed once per phase (O(n²)), the temperature-dependent pure
// component parameters once per temperature. The numbers are those of FugacityCoefficient,
// component by component. Fixed-size working arrays: nothing is allocated while iterating.

namespace quorvane {

inline constexpr int kMaxComponents = 25;

class PhaseFugacity {
public:
    // Binds the mixture: equation, critical data (Tc in °F) and interaction parameters (RK
    // ignores kij). Throws MixtureSizeError for more than kMaxComponents components or arrays
    // of different lengths.
    void Bind(EosChoice eos, std::span<const float> tcF, std::span<const float> pcPsia,
              std::span<const float> w, KijView kij);

    // φ_i of every component (written to phi[0..n-1]) of the phase of composition x at T (°F)
    // and P (psia); returns the Z of the chosen root (32-bit), as FugacityCoefficient writes it.
    // The composition may be held in 32 or 64 bits. Throws as FugacityCoefficient does; phi is
    // then left as it was.
    float Evaluate(Phase phase, float tempF, float pressPsia, std::span<const float> x,
                   std::span<double> phi, CubicState& state);
    float Evaluate(Phase phase, float tempF, float pressPsia, std::span<const double> x,
                   std::span<double> phi, CubicState& state);

    // ln φ_i instead of φ_i (no exponentiation): ratios of coefficients then cost one
    // exponential per component.
    float EvaluateLog(Phase phase, float tempF, float pressPsia, std::span<const float> x,
                      std::span<double> lnPhi, CubicState& state);
    float EvaluateLog(Phase phase, float tempF, float pressPsia, std::span<const double> x,
                      std::span<double> lnPhi, CubicState& state);

    int Size() const { return m_n; }
    EosChoice Eos() const { return m_eos; }

private:
    using Row = std::array<double, kMaxComponents>;

    // What depends on the composition and temperature only, not on the pressure or the root:
    // b, a and s_i = Σ_j x_j·sqrt(a_i·a_j)·(1 − kij). Two compositions are kept (the liquid
    // and the vapour of an iteration), so evaluations at a second pressure reuse them.
    struct CompositionTerms {
        bool valid = false;
        float tR = 0.0F;
        Row x{};
        double a = 0.0;
        double b = 0.0;
        Row s{};
    };

    template <typename Real>
    float EvaluateImpl(Phase phase, float tempF, float pressPsia, std::span<const Real> x,
                       std::span<double> out, bool takeExp, CubicState& state);
    void SetTemperature(float tR);
    template <typename Real>
    const CompositionTerms& TermsFor(std::span<const Real> x);

    EosChoice m_eos;
    int m_n = 0;
    std::array<float, kMaxComponents> m_tcR{};
    std::array<float, kMaxComponents> m_pc{};
    std::array<float, kMaxComponents> m_w{};
    std::array<Row, kMaxComponents> m_oneMinusKij{};
    // Parameters at the last temperature (°R, 32-bit as the engine holds it).
    bool m_haveTemperature = false;
    float m_tR = 0.0F;
    double m_tPow15 = 0.0; // T^1.5 for RK
    Row m_a{};
    Row m_sqrtA{};
    Row m_b{};
    // sqrt(a_i)·sqrt(a_j)·(1 − kij) (RK: no kij).
    std::array<Row, kMaxComponents> m_aij{};
    std::array<CompositionTerms, 2> m_terms{};
    int m_lastUsedSlot = 1;
};

} // namespace quorvane
