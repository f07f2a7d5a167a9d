#include "app/water/water_transport.h"

#include <array>
#include <cmath>

namespace quorvane {

namespace {

// Reduced temperature and density of both correlations: T* = 647.226 K, ρ* = 317.763 kg/m³;
// 1 lbmol/ft³ of water is 288.5764 kg/m³.
constexpr double kReducingTempK = 647.226;
constexpr double kReducingDensity = 317.763;
constexpr double kKgM3PerLbmolFt3 = 288.5764;

double ReducedTemp(double tempF) {
    return ((tempF - 32.0) / 1.8 + 273.15) / kReducingTempK;
}

double ReducedDensity(double densLbmolPerFt3) {
    return densLbmolPerFt3 * kKgM3PerLbmolFt3 / kReducingDensity;
}

// Viscosity of ordinary water substance (the association's 1985 formulation), coefficients
// H_ij multiplying (1/T̄ − 1)^i (ρ̄ − 1)^j; rows j = 0 to 6, columns i = 0 to 5.
constexpr std::array<std::array<double, 6>, 7> kViscosityH = {{
    {0.5132047, 0.3205656, 0.0, 0.0, -0.7782567, 0.1885447},
    {0.2151778, 0.7317883, 1.241044, 1.476783, 0.0, 0.0},
    {-0.2818107, -1.070786, -1.263184, 0.0, 0.0, 0.0},
    {0.1778064, 0.460504, 0.2340379, -0.4924179, 0.0, 0.0},
    {-0.0417661, 0.0, 0.0, 0.1600435, 0.0, 0.0},
    {0.0, -0.01578386, 0.0, 0.0, 0.0, 0.0},
    {0.0, 0.0, 0.0, -0.003629481, 0.0, 0.0},
}};
constexpr double kViscosityScale = 55.071e-6; // Pa s

// Thermal conductivity (the industrial correlation), W/(m K) to Btu/(h ft °F).
constexpr double kBtuPerHrFtFPerWPerMK = 0.5783036484;

} // namespace

double WaterViscosity(double tempF, double densLbmolPerFt3) {
    const double t = ReducedTemp(tempF);
    const double r = ReducedDensity(densLbmolPerFt3);
    const double mu0 =
        std::sqrt(t) / (1.0 + 0.978197 / t + 0.579829 / (t * t) - 0.202354 / (t * t * t));
    const double x = 1.0 / t - 1.0;
    const double y = r - 1.0;
    double sum = 0.0;
    double yj = 1.0;
    for (const auto& row : kViscosityH) {
        double inner = 0.0;
        for (auto i = row.size(); i-- > 0;) {
            inner = inner * x + row[i];
        }
        sum += inner * yj;
        yj *= y;
    }
    const double mu1 = std::exp(r * sum);
    return mu0 * mu1 * kViscosityScale * 1000.0;
}

double WaterConductivity(double tempF, double densLbmolPerFt3) {
    const double t = ReducedTemp(tempF);
    const double r = ReducedDensity(densLbmolPerFt3);

    const double lambda0 =
        std::sqrt(t) * (0.0102811 + t * (0.0299621 + t * (0.0156146 + t * -0.00422464)));
    const double lambda1 =
        -0.39707 + 0.400302 * r + 1.06 * std::exp(-0.171587 * (r + 2.39219) * (r + 2.39219));

    constexpr double d1 = 0.0701309, d2 = 0.0118529, d3 = 0.00169937, d4 = -1.02;
    constexpr double c1 = 0.642857, c2 = -4.11717, c3 = -6.17937, c4 = 0.00308976;
    constexpr double c5 = 0.0822994, c6 = 10.0932;
    const double dt = std::fabs(t - 1.0) + c4;
    const double dt06 = std::pow(dt, 0.6);
    const double q = 2.0 + c5 / dt06;
    const double s = t >= 1.0 ? 1.0 / dt : c6 / dt06;
    const double delta =
        (d1 / std::pow(t, 10.0) + d2) * std::pow(r, 1.8) * std::exp(c1 * (1.0 - std::pow(r, 2.8))) +
        d3 * s * std::pow(r, q) * std::exp((q / (1.0 + q)) * (1.0 - std::pow(r, 1.0 + q))) +
        d4 * std::exp(c2 * std::pow(t, 1.5) + c3 / std::pow(r, 5.0));
    return (lambda0 + lambda1 + delta) * kBtuPerHrFtFPerWPerMK;
}

double WaterSurfaceTension(double tempF) {
    const double tC = (tempF - 32.0) / 1.8;
    if (!(tC >= 0.0 && tC <= 373.946)) {
        return NAN;
    }
    const double tau = 1.0 - (tC + 273.15) / 647.096;
    return 235.8 * std::pow(tau, 1.256) * (1.0 - 0.625 * tau) / 1000.0;
}

} // namespace quorvane
