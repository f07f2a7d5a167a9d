#pragma once

#include "engine/eos/phase_fugacity.h"

#include <array>
#include <span>

// Small dense linear algebra for the phase-boundary solvers: fixed-size rows (no allocation
// while iterating), LU factors kept for several right-hand sides, and the eigenvalues of a
// symmetric matrix.

namespace quorvane::envelope {

// Unknowns of a phase-boundary system: ln K of every component, then ln T and ln P.
inline constexpr int kMaxUnknowns = kMaxComponents + 2;

using Vec = std::array<double, kMaxUnknowns>;
using Mat = std::array<Vec, kMaxUnknowns>;

// LU factors of an m × m matrix with partial pivoting.
class LuFactors {
public:
    // Factors the leading m × m block of a; false when a pivot is zero or not finite.
    bool Factor(const Mat& a, int m);
    // The same for a matrix written into Storage() beforehand (no copy).
    bool FactorInPlace(int m);
    Mat& Storage() { return m_lu; }
    // Solves A·x = rhs in place (rhs holds m values).
    void Solve(std::span<double> rhs) const;

private:
    Mat m_lu; // written by Factor or through Storage() before it is read
    std::array<int, kMaxUnknowns> m_pivot{};
    int m_m = 0;
};

// Eigenvalues (ascending) and eigenvectors (columns of vectors) of the symmetric m × m matrix a,
// by cyclic Jacobi rotations. Returns false when the rotations did not settle.
bool SymmetricEigen(const Mat& a, int m, std::span<double> values, Mat& vectors);

} // namespace quorvane::envelope
