#include "calvix/constants.h"
#include "calvix/power_series.h"
#include "calvix/regions.h"

#include <algorithm>
#include <cmath>

namespace calvix {
namespace {

// Region 3, dimensionless Helmholtz free energy φ = n₁ ln δ + Σ n δ^I τ^J; 1997 release,
// table "region 3". Term 1 is the coefficient of ln δ; terms 2 to 40 follow.
constexpr double kN1 = 1.0658070028513e+00; // 1
constexpr Term kRegion3Terms[] = {
    {0, 0, -1.5732845290239e+01},   // 2
    {0, 1, 2.0944396974307e+01},    // 3
    {0, 2, -7.6867707878716e+00},   // 4
    {0, 7, 2.6185947787954e+00},    // 5
    {0, 10, -2.8080781148620e+00},  // 6
    {0, 12, 1.2053369696517e+00},   // 7
    {0, 23, -8.4566812812502e-03},  // 8
    {1, 2, -1.2654315477714e+00},   // 9
    {1, 6, -1.1524407806681e+00},   // 10
    {1, 15, 8.8521043984318e-01},   // 11
    {1, 17, -6.4207765181607e-01},  // 12
    {2, 0, 3.8493460186671e-01},    // 13
    {2, 2, -8.5214708824206e-01},   // 14
    {2, 6, 4.8972281541877e+00},    // 15
    {2, 7, -3.0502617256965e+00},   // 16
    {2, 22, 3.9420536879154e-02},   // 17
    {2, 26, 1.2558408424308e-01},   // 18
    {3, 0, -2.7999329698710e-01},   // 19
    {3, 2, 1.3899799569460e+00},    // 20
    {3, 4, -2.0189915023570e+00},   // 21
    {3, 16, -8.2147637173963e-03},  // 22
    {3, 26, -4.7596035734923e-01},  // 23
    {4, 0, 4.3984074473500e-02},    // 24
    {4, 2, -4.4476435428739e-01},   // 25
    {4, 4, 9.0572070719733e-01},    // 26
    {4, 26, 7.0522450087967e-01},   // 27
    {5, 1, 1.0770512626332e-01},    // 28
    {5, 3, -3.2913623258954e-01},   // 29
    {5, 26, -5.0871062041158e-01},  // 30
    {6, 0, -2.2175400873096e-02},   // 31
    {6, 2, 9.4260751665092e-02},    // 32
    {6, 26, 1.6436278447961e-01},   // 33
    {7, 2, -1.3503372241348e-02},   // 34
    {8, 26, -1.4834345352472e-02},  // 35
    {9, 2, 5.7922953628084e-04},    // 36
    {9, 26, 3.2308904703711e-03},   // 37
    {10, 0, 8.0964802996215e-05},   // 38
    {10, 1, -1.6557679795037e-04},  // 39
    {11, 26, -4.4923899061815e-05}, // 40
};
constexpr PowerSeries kRegion3(kRegion3Terms);

// δ = ρ/ρc, τ = Tc/T.
SeriesSums Region3Sums(double rho, double tK) {
    return kRegion3.Sums(rho / kCriticalDensity, kCriticalTemp / tK);
}

} // namespace

Properties Region3(double rho, double tK) {
    const double delta = rho / kCriticalDensity;
    const SeriesSums s = Region3Sums(rho, tK);

    // Reduced derivatives multiplied by their variables, the ln δ term added by hand.
    const double phi = kN1 * std::log(delta) + s.value;
    const double dPhiD = kN1 + s.a;     // δ φδ
    const double d2PhiDD = -kN1 + s.aa; // δ² φδδ
    const double tPhiT = s.b;           // τ φτ
    const double t2PhiTT = s.bb;        // τ² φττ
    const double dtPhiDT = s.ab;        // δ τ φδτ

    const double rt = kGasConstant * tK;
    const double cross = dPhiD - dtPhiDT;
    const double soundBracket = 2.0 * dPhiD + d2PhiDD - cross * cross / t2PhiTT;

    Properties out;
    out.p = rho * rt * dPhiD * 0.001;
    out.v = 1.0 / rho;
    out.h = rt * (tPhiT + dPhiD);
    out.s = kGasConstant * (tPhiT - phi);
    out.cv = -kGasConstant * t2PhiTT;
    out.cp = kGasConstant * (-t2PhiTT + cross * cross / (2.0 * dPhiD + d2PhiDD));
    out.w = std::sqrt(1000.0 * rt * std::max(soundBracket, 0.0));
    // κ = 2 + δφδδ/φδ − δ(φδ − τφδτ)²/(τ²φττ φδ), written with the scaled derivatives.
    out.kappa = 2.0 + d2PhiDD / dPhiD - cross * cross / (t2PhiTT * dPhiD);
    return out;
}

static_assert(sizeof(decltype(kRegion3)::BPowers) == sizeof(std::array<double, 39>));

Region3Isotherm::Region3Isotherm(double tK)
    : m_tK(tK), m_tauPowers(kRegion3.PowersOfB(kCriticalTemp / tK)) {}

double Region3Isotherm::Pressure(double rho) const {
    const SeriesSums s = kRegion3.Sums(rho / kCriticalDensity, m_tauPowers);
    return rho * kGasConstant * m_tK * (kN1 + s.a) * 0.001;
}

double Region3Isotherm::DpDv(double v) const {
    const double rho = 1.0 / v;
    const SeriesSums s = kRegion3.Sums(rho / kCriticalDensity, m_tauPowers);
    // Σ n I (I + 1) δ^I τ^J = Σ n I (I − 1) δ^I τ^J + 2 Σ n I δ^I τ^J.
    return -rho * rho * kGasConstant * m_tK * 0.001 * (kN1 + s.aa + 2.0 * s.a);
}

double Region3Pressure(double rho, double tK) {
    return Region3Isotherm(tK).Pressure(rho);
}

double Region3DpDv(double v, double tK) {
    return Region3Isotherm(tK).DpDv(v);
}

} // namespace calvix
