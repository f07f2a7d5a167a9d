#include "calvix/constants.h"
#include "calvix/gibbs_vapour.h"
#include "calvix/power_series.h"
#include "calvix/regions.h"

namespace calvix {
namespace {

// Region 5 in the form of the 1997 release (five residual terms, up to 10 MPa).
// Ideal-gas part γ⁰ = ln π + Σ n τ^J (I unused and 0), terms 1 to 6.
constexpr Term kRegion5IdealTerms[] = {
    {0, 0, -1.3179983674201e+01},  // 1
    {0, 1, 6.8540841634434e+00},   // 2
    {0, -3, -2.4805148933466e-02}, // 3
    {0, -2, 3.6901534980333e-01},  // 4
    {0, -1, -3.1161318213925e+00}, // 5
    {0, 2, -3.2961626538917e-01},  // 6
};

// Residual part γʳ = Σ n π^I τ^J, terms 1 to 5 of the 1997 release.
constexpr Term kRegion5ResidualTerms[] = {
    {1, 0, -1.2563183589592e-04}, // 1
    {1, 1, 2.1774678714571e-03},  // 2
    {1, 3, -4.5942820899910e-03}, // 3
    {2, 9, -3.9724828359569e-06}, // 4
    {3, 3, 1.2919228289784e-07},  // 5
};

constexpr PowerSeries kRegion5Ideal(kRegion5IdealTerms);
constexpr PowerSeries kRegion5Residual(kRegion5ResidualTerms);

constexpr double kPressStar = 1.0;   // p*, MPa
constexpr double kTempStar = 1000.0; // T*, K

} // namespace

Properties Region5(double tK, double pMPa) {
    const double pi = pMPa / kPressStar;
    const double tau = kTempStar / tK;
    return VapourGibbsProperties(tK, pMPa, pi, tau, kRegion5Ideal.Sums(1.0, tau),
                                 kRegion5Residual.Sums(pi, tau), tau);
}

} // namespace calvix
