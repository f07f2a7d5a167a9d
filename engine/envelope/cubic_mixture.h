#pragma once

#include "engine/envelope/dense_matrix.h"
#include "engine/eos/eos_choice.h"
#include "engine/eos/eos_parameters.h"

#include <span>

// The mixture's cubic equation of state in 64 bits throughout, with the derivatives the
// phase-boundary solvers need. It evaluates the same parameters as the flash routines (the
// critical temperatures held in 32 bits and converted to °R the same way, the same a_i, b_i,
// kij and gas constant), but takes T and P as 64-bit values, so that a saturation point can be
// solved far below the rounding of 32-bit storage.
//
// All three equations are written in the common form P = RT/(v − b) − a(T)/((v + δ1·b)(v + δ2·b))
// (RK and SRK: δ1 = 1, δ2 = 0; PR: δ1 = 1 + √2, δ2 = 1 − √2; RK's a(T) = a_i/√T), and every
// quantity comes from the reduced residual Helmholtz energy F(T, V, n) and its derivatives.

namespace quorvane::envelope {

// Which root of the cubic a phase takes: the largest (vapour-like), the smallest above the
// co-volume (liquid-like), or of the two the one of lower Gibbs energy. With one real root the
// choice is that root.
enum class Root { Vapour, Liquid, LowerGibbs };

// What an evaluation computes besides ln φ.
enum Needs : unsigned { kLnPhiOnly = 0, kTemperature = 1, kPressure = 2, kComposition = 4 };

struct PhaseResult {
    double z = 0.0;
    bool liquidRoot = false; // the smaller of two distinct roots was taken
    double gibbs = 0.0;      // Σ x_i·ln φ_i, the residual Gibbs energy over RT
    Vec lnPhi{};
    Vec dLnPhiDT{};  // ∂ln φ_i/∂T at constant P and composition, 1/°R
    Vec dLnPhiDP{};  // ∂ln φ_i/∂P at constant T and composition, 1/psia
    Mat nDLnPhiDn{}; // N·∂ln φ_i/∂n_j at constant T and P (symmetric)
};

class CubicMixture {
public:
    // Throws MixtureSizeError for more than 25 components or arrays of different lengths.
    void Bind(EosChoice eos, std::span<const float> tcF, std::span<const float> pcPsia,
              std::span<const float> w, KijView kij);

    int Size() const { return m_n; }
    EosChoice Eos() const { return m_eos; }

    // The phase of mole numbers n (any positive total; only the proportions count) at T (°R)
    // and P (psia). Throws InvalidArgumentError when no root lies above the co-volume or the
    // composition is empty.
    void Evaluate(double tR, double pPsia, std::span<const double> n, Root root, unsigned needs,
                  PhaseResult& out);

    // Venkatarathnam and Oellrich's phase-identification parameter Π of the phase of mole
    // numbers n at T (°R) on the compressibility factor z; a phase with Π > 1 is liquid-like.
    double PhaseIdentification(double tR, double pPsia, std::span<const double> n, double z);

    // ln f_i (psia) of the fluid of mole numbers n in the total volume V (ft³) at T (°R), and
    // the pressure there (psia). Used by the critical-point criterion, which works at constant
    // T and V.
    double LnFugacityTV(double tR, double volume, std::span<const double> n, std::span<double> lnF);

    // B_ij = δ_ij + sqrt(z_i·z_j)·∂²F/∂n_i∂n_j for one mole of composition z in the molar
    // volume v (ft³/lb-mol): the scaled Hessian of the Helmholtz energy, singular at the
    // stability limit.
    void StabilityMatrixTV(double tR, double volume, std::span<const double> z, Mat& b);

    // Molar volume (ft³/lb-mol) of the chosen root of the phase of composition n at T, P.
    double MolarVolume(double tR, double pPsia, std::span<const double> n, Root root);

    // Mixture co-volume b (ft³/lb-mol) of composition n.
    double CoVolume(std::span<const double> n) const;

    // Critical temperature (°R, as the parameters take it) and pressure of component i.
    double CriticalTemperatureR(int i) const { return m_tcR[i]; }
    double CriticalPressure(int i) const { return m_pc[i]; }

    // Wilson's K-value estimate of component i at T (°R) and P (psia), in 64 bits: the starting
    // values of the solvers. WilsonLnKSlope is d ln K_i / d ln T of it.
    double WilsonK(int i, double tR, double pPsia) const;
    double WilsonLnKSlope(int i, double tR) const;

private:
    struct Mixing {
        double a = 0.0, aT = 0.0, b = 0.0, nTotal = 0.0;
        Vec s{}, sT{}; // Σ_j x_j·a_ij and its temperature derivative
        Vec x{};
        bool withT = false; // aT and sT are set
    };
    void SetTemperature(double tR);
    // The mixing terms of n; their temperature derivatives only withT (ln φ alone does not
    // need them).
    void Mix(std::span<const double> n, Mixing& m, bool withT) const;
    void MixTemperatureTerms(Mixing& m) const;
    // The mixing terms of n at the current temperature, from the two kept (a phase whose
    // composition stays, such as the feed of a saturation line, is not mixed again).
    const Mixing& MixFor(std::span<const double> n, bool withT);
    double SolveZ(double bigA, double bigB, Root root, bool& liquid) const;

    EosChoice m_eos;
    int m_n = 0;
    double m_d1 = 1.0, m_d2 = 0.0;
    Vec m_tcR{}, m_pc{}, m_w{}, m_b{};
    Vec m_ac{}; // a_i at its critical temperature (α = 1)
    // The n × n blocks of these are written by Bind and SetTemperature before they are read;
    // the rest stays uninitialised, so that a model costs nothing to set up.
    Mat m_oneMinusKij;
    bool m_haveT = false;
    double m_tR = 0.0;
    Mat m_aij, m_aijT;
    struct KeptMix {
        bool valid = false;
        Vec n{};
        Mixing mix;
    };
    std::array<KeptMix, 2> m_kept{};
    int m_lastKept = 0;
};

} // namespace quorvane::envelope
