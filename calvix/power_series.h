#pragma once

// Sums of the form  Σ n · a^I · b^J  over a coefficient table, with the scaled derivative
// sums every property relation of the formulation needs. Every power is taken by the
// general power function (no nested evaluation); a power that several terms share is
// taken once per call, which gives the same numbers as taking it per term.

#include <array>
#include <cmath>
#include <cstddef>

namespace calvix {

// One term of a table: exponents I and J (doubles, since one backward table has
// quarter-integer I) and coefficient n.
struct Term {
    double i;
    double j;
    double n;
};

// The sums of one table at (a, b). The derivative sums are scaled by the variables so
// that no division happens inside the loop:
//   value = Σ n a^I b^J           a  = Σ n I a^I b^J        = a ∂/∂a
//   aa    = Σ n I(I−1) a^I b^J    = a² ∂²/∂a²               b, bb likewise in b
//   ab    = Σ n I J a^I b^J       = a b ∂²/∂a∂b
struct SeriesSums {
    double value = 0.0;
    double a = 0.0;
    double aa = 0.0;
    double b = 0.0;
    double bb = 0.0;
    double ab = 0.0;
};

template <std::size_t N>
class PowerSeries {
public:
    constexpr explicit PowerSeries(const Term (&terms)[N]) {
        for (std::size_t k = 0; k < N; ++k) {
            m_n[k] = terms[k].n;
            m_i[k] = terms[k].i;
            m_j[k] = terms[k].j;
            m_iSlot[k] = SlotOf(m_iExponents, m_iCount, terms[k].i);
            m_jSlot[k] = SlotOf(m_jExponents, m_jCount, terms[k].j);
        }
    }

    // Σ n a^I b^J only (backward equations).
    double Value(double a, double b) const {
        std::array<double, N> pa{};
        std::array<double, N> pb{};
        Powers(a, b, pa, pb);
        double sum = 0.0;
        for (std::size_t k = 0; k < N; ++k) {
            sum += m_n[k] * pa[m_iSlot[k]] * pb[m_jSlot[k]];
        }
        return sum;
    }

    SeriesSums Sums(double a, double b) const { return Sums(a, PowersOfB(b)); }

    // The powers of b the table uses, for callers that hold b fixed over many calls (an
    // isotherm); Sums(a, powersOfB) then takes only the powers of a.
    using BPowers = std::array<double, N>;
    BPowers PowersOfB(double b) const {
        BPowers pb{};
        for (std::size_t k = 0; k < m_jCount; ++k) {
            pb[k] = std::pow(b, m_jExponents[k]);
        }
        return pb;
    }

    SeriesSums Sums(double a, const BPowers& pb) const {
        std::array<double, N> pa{};
        for (std::size_t k = 0; k < m_iCount; ++k) {
            pa[k] = std::pow(a, m_iExponents[k]);
        }
        SeriesSums s;
        for (std::size_t k = 0; k < N; ++k) {
            const double t = m_n[k] * pa[m_iSlot[k]] * pb[m_jSlot[k]];
            const double ti = m_i[k] * t;
            const double tj = m_j[k] * t;
            s.value += t;
            s.a += ti;
            s.aa += (m_i[k] - 1.0) * ti;
            s.b += tj;
            s.bb += (m_j[k] - 1.0) * tj;
            s.ab += m_j[k] * ti;
        }
        return s;
    }

private:
    static constexpr std::size_t SlotOf(std::array<double, N>& exponents, std::size_t& count,
                                        double exponent) {
        for (std::size_t k = 0; k < count; ++k) {
            if (exponents[k] == exponent) {
                return k;
            }
        }
        exponents[count] = exponent;
        return count++;
    }

    void Powers(double a, double b, std::array<double, N>& pa, std::array<double, N>& pb) const {
        for (std::size_t k = 0; k < m_iCount; ++k) {
            pa[k] = std::pow(a, m_iExponents[k]);
        }
        for (std::size_t k = 0; k < m_jCount; ++k) {
            pb[k] = std::pow(b, m_jExponents[k]);
        }
    }

    std::array<double, N> m_n{};
    std::array<double, N> m_i{};
    std::array<double, N> m_j{};
    std::array<std::size_t, N> m_iSlot{};
    std::array<std::size_t, N> m_jSlot{};
    std::array<double, N> m_iExponents{};
    std::array<double, N> m_jExponents{};
    std::size_t m_iCount = 0;
    std::size_t m_jCount = 0;
};

} // namespace calvix
