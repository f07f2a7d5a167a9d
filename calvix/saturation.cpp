#include "calvix/saturation.h"

#include <cmath>
#include <limits>

namespace calvix {
namespace {

// Region 4 saturation equations, coefficients n₁ to n₁₀ of the 1997 release (reducing
// quantities 1 MPa and 1 K). Index 0 is unused so that kN[i] reads as nᵢ.
constexpr double kN[11] = {
    0.0,
    1.1670521452767e+03,  // n1
    -7.2421316703206e+05, // n2
    -1.7073846940092e+01, // n3
    1.2020824702470e+04,  // n4
    -3.2325550322333e+06, // n5
    1.4915108613530e+01,  // n6
    -4.8232657361591e+03, // n7
    4.0511340542057e+05,  // n8
    -2.3855557567849e-01, // n9
    6.5017534844798e+02,  // n10
};

// B23 boundary equation, coefficients n₁ to n₅ of the 1997 release.
constexpr double kB23N1 = 3.4805185628969e+02;
constexpr double kB23N2 = -1.1671859879975e+00;
constexpr double kB23N3 = 1.0192970039326e-03;
constexpr double kB23N4 = 5.7254459862746e+02;
constexpr double kB23N5 = 1.3918839778870e+01;

} // namespace

double SaturationPressure(double tK) {
    if (tK == kN[10]) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const double theta = tK + kN[9] / (tK - kN[10]);
    const double a = theta * theta + kN[1] * theta + kN[2];
    const double b = kN[3] * theta * theta + kN[4] * theta + kN[5];
    const double c = kN[6] * theta * theta + kN[7] * theta + kN[8];
    return std::pow(2.0 * c / (-b + std::sqrt(b * b - 4.0 * a * c)), 4.0);
}

double SaturationTemperature(double pMPa) {
    const double beta = std::pow(pMPa, 0.25);
    const double e = beta * beta + kN[3] * beta + kN[6];
    const double f = kN[1] * beta * beta + kN[4] * beta + kN[7];
    const double g = kN[2] * beta * beta + kN[5] * beta + kN[8];
    const double d = 2.0 * g / (-f - std::sqrt(f * f - 4.0 * e * g));
    return (kN[10] + d - std::sqrt((kN[10] + d) * (kN[10] + d) - 4.0 * (kN[9] + kN[10] * d))) / 2.0;
}

double B23Pressure(double tK) {
    return kB23N1 + kB23N2 * tK + kB23N3 * tK * tK;
}

double B23Temperature(double pMPa) {
    return kB23N4 + std::sqrt((pMPa - kB23N5) / kB23N3);
}

} // namespace calvix
