#include "calvix/constants.h"
#include "calvix/power_series.h"
#include "calvix/regions.h"

#include <algorithm>
#include <cmath>

namespace calvix {
namespace {

// Region 1, dimensionless Gibbs free energy γ = Σ n (7.1 − π)^I (τ − 1.222)^J;
// coefficients and exponents of the 1997 release, table "region 1" (terms 1 to 34).
constexpr Term kRegion1Terms[] = {
    {0, -2, 1.4632971213167e-01},    // 1
    {0, -1, -8.4548187169114e-01},   // 2
    {0, 0, -3.7563603672040e+00},    // 3
    {0, 1, 3.3855169168385e+00},     // 4
    {0, 2, -9.5791963387872e-01},    // 5
    {0, 3, 1.5772038513228e-01},     // 6
    {0, 4, -1.6616417199501e-02},    // 7
    {0, 5, 8.1214629983568e-04},     // 8
    {1, -9, 2.8319080123804e-04},    // 9
    {1, -7, -6.0706301565874e-04},   // 10
    {1, -1, -1.8990068218419e-02},   // 11
    {1, 0, -3.2529748770505e-02},    // 12
    {1, 1, -2.1841717175414e-02},    // 13
    {1, 3, -5.2838357969930e-05},    // 14
    {2, -3, -4.7184321073267e-04},   // 15
    {2, 0, -3.0001780793026e-04},    // 16
    {2, 1, 4.7661393906987e-05},     // 17
    {2, 3, -4.4141845330846e-06},    // 18
    {2, 17, -7.2694996297594e-16},   // 19
    {3, -4, -3.1679644845054e-05},   // 20
    {3, 0, -2.8270797985312e-06},    // 21
    {3, 6, -8.5205128120103e-10},    // 22
    {4, -5, -2.2425281908000e-06},   // 23
    {4, -2, -6.5171222895601e-07},   // 24
    {4, 10, -1.4341729937924e-13},   // 25
    {5, -8, -4.0516996860117e-07},   // 26
    {8, -11, -1.2734301741641e-09},  // 27
    {8, -6, -1.7424871230634e-10},   // 28
    {21, -29, -6.8762131295531e-19}, // 29
    {23, -31, 1.4478307828521e-20},  // 30
    {29, -38, 2.6335781662795e-23},  // 31
    {30, -39, -1.1947622640071e-23}, // 32
    {31, -40, 1.8228094581404e-24},  // 33
    {32, -41, -9.3537087292458e-26}, // 34
};
constexpr PowerSeries kRegion1(kRegion1Terms);

constexpr double kPressStar = 16.53; // p*, MPa
constexpr double kTempStar = 1386.0; // T*, K

} // namespace

Properties Region1(double tK, double pMPa) {
    const double pi = pMPa / kPressStar;
    const double tau = kTempStar / tK;
    const double a = 7.1 - pi;
    const double b = tau - 1.222;
    const SeriesSums s = kRegion1.Sums(a, b);

    // Chain rule through the shifted variables: d/dπ = −d/da, d/dτ = d/db.
    const double gamma = s.value;
    const double gPi = -s.a / a;
    const double gPiPi = s.aa / (a * a);
    const double gTau = s.b / b;
    const double gTauTau = s.bb / (b * b);
    const double gPiTau = -s.ab / (a * b);

    const double rt = kGasConstant * tK;
    const double cross = gPi - tau * gPiTau;
    const double soundBracket = gPi * gPi / (cross * cross / (tau * tau * gTauTau) - gPiPi);

    Properties out;
    out.p = pMPa;
    out.v = rt / pMPa * pi * gPi * 0.001;
    out.h = rt * tau * gTau;
    out.s = kGasConstant * (tau * gTau - gamma);
    out.cp = -kGasConstant * tau * tau * gTauTau;
    out.cv = kGasConstant * (-tau * tau * gTauTau + cross * cross / gPiPi);
    out.w = std::sqrt(1000.0 * rt * std::max(soundBracket, 0.0));
    out.kappa = soundBracket / (pi * gPi);
    return out;
}

} // namespace calvix
