#pragma once

// Pressure along an isotherm of subregion 3 or 4: β(χ) = −∂ψ/∂χ at fixed θ. The χ-dependent part
// of ψ3 (and of ψ4) is a sum of powers of χ and ln χ whose coefficients depend on θ only; they are
// gathered once per θ so that the volume root costs a few dozen operations per step.

namespace dadez {

class Isotherm {
public:
    static Isotherm Subregion3(double theta);
    static Isotherm Subregion4(double theta);

    // β and ∂β/∂χ at χ.
    struct Point {
        double beta;
        double slope;
    };
    Point At(double chi) const;

private:
    // ψ(χ) = linear χ + logarithm ln χ + Σ inverse[k] χ^(−k) (k = 1..10) + sixth χ⁶ + square χ²
    // + terms without χ.
    double m_linear = 0;
    double m_logarithm = 0;
    double m_inverse[11] = {};
    double m_sixth = 0;
    double m_square = 0;
};

} // namespace dadez
