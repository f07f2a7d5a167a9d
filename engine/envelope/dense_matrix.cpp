#include "engine/envelope/dense_matrix.h"

#include <algorithm>
#include <cmath>

namespace quorvane::envelope {

bool LuFactors::Factor(const Mat& a, int m) {
    for (int r = 0; r < m; ++r) {
        for (int c = 0; c < m; ++c) {
            m_lu[r][c] = a[r][c];
        }
    }
    return FactorInPlace(m);
}

bool LuFactors::FactorInPlace(int m) {
    m_m = m;
    for (int c = 0; c < m; ++c) {
        int pivot = c;
        for (int r = c + 1; r < m; ++r) {
            if (std::fabs(m_lu[r][c]) > std::fabs(m_lu[pivot][c])) {
                pivot = r;
            }
        }
        const double p = m_lu[pivot][c];
        if (p == 0.0 || !std::isfinite(p)) {
            return false;
        }
        m_pivot[c] = pivot;
        if (pivot != c) {
            std::swap_ranges(m_lu[pivot].begin(), m_lu[pivot].begin() + m, m_lu[c].begin());
        }
        const double inverse = 1.0 / p;
        const Vec& top = m_lu[c];
        for (int r = c + 1; r < m; ++r) {
            Vec& row = m_lu[r];
            const double f = row[c] * inverse;
            row[c] = f;
            if (f != 0.0) {
                for (int k = c + 1; k < m; ++k) {
                    row[k] -= f * top[k];
                }
            }
        }
    }
    return true;
}

void LuFactors::Solve(std::span<double> rhs) const {
    const int m = m_m;
    // The factorisation swapped whole rows: every interchange first, then L and U.
    for (int c = 0; c < m; ++c) {
        if (m_pivot[c] != c) {
            std::swap(rhs[c], rhs[m_pivot[c]]);
        }
    }
    for (int c = 0; c < m; ++c) {
        for (int r = c + 1; r < m; ++r) {
            rhs[r] -= m_lu[r][c] * rhs[c];
        }
    }
    for (int r = m - 1; r >= 0; --r) {
        double s = rhs[r];
        for (int k = r + 1; k < m; ++k) {
            s -= m_lu[r][k] * rhs[k];
        }
        rhs[r] = s / m_lu[r][r];
    }
}

bool SymmetricEigen(const Mat& a, int m, std::span<double> values, Mat& vectors) {
    Mat s = a;
    for (int r = 0; r < m; ++r) {
        for (int c = 0; c < m; ++c) {
            vectors[r][c] = r == c ? 1.0 : 0.0;
        }
    }
    bool settled = false;
    for (int sweep = 0; sweep < 60 && !settled; ++sweep) {
        double off = 0.0;
        double scale = 0.0;
        for (int r = 0; r < m; ++r) {
            scale += s[r][r] * s[r][r];
            for (int c = r + 1; c < m; ++c) {
                off += s[r][c] * s[r][c];
            }
        }
        if (off <= 1e-30 * (scale + 1e-300)) {
            settled = true;
            break;
        }
        for (int p = 0; p < m; ++p) {
            for (int q = p + 1; q < m; ++q) {
                if (s[p][q] == 0.0) {
                    continue;
                }
                // The rotation that zeroes s[p][q]: tan φ from the stable root of
                // t² + 2·θ·t − 1 = 0, θ = (s_qq − s_pp)/(2·s_pq).
                const double theta = (s[q][q] - s[p][p]) / (2.0 * s[p][q]);
                const double t = (theta >= 0.0 ? 1.0 : -1.0) /
                                 (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double cs = 1.0 / std::sqrt(t * t + 1.0);
                const double sn = t * cs;
                for (int k = 0; k < m; ++k) {
                    const double skp = s[k][p];
                    const double skq = s[k][q];
                    s[k][p] = cs * skp - sn * skq;
                    s[k][q] = sn * skp + cs * skq;
                }
                for (int k = 0; k < m; ++k) {
                    const double spk = s[p][k];
                    const double sqk = s[q][k];
                    s[p][k] = cs * spk - sn * sqk;
                    s[q][k] = sn * spk + cs * sqk;
                }
                for (int k = 0; k < m; ++k) {
                    const double vkp = vectors[k][p];
                    const double vkq = vectors[k][q];
                    vectors[k][p] = cs * vkp - sn * vkq;
                    vectors[k][q] = sn * vkp + cs * vkq;
                }
            }
        }
    }
    // Ascending order, the vectors following their values.
    std::array<int, kMaxUnknowns> order{};
    for (int i = 0; i < m; ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.begin() + m, [&](int l, int r) { return s[l][l] < s[r][r]; });
    Mat sorted{};
    for (int i = 0; i < m; ++i) {
        values[i] = s[order[i]][order[i]];
        for (int k = 0; k < m; ++k) {
            sorted[k][i] = vectors[k][order[i]];
        }
    }
    vectors = sorted;
    return settled;
}

} // namespace quorvane::envelope
