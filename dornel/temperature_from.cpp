// Temperature from pressure and entropy (vapour, else liquid) and from pressure and enthalpy
// (superheated vapour only). Each first checks that the value lies in the range the subregion
// spans along the isobar, then lets Dadez solve for θ. A failed solve gives the error value,
// never Dadez's negative θ, which would read as a temperature.

#include "dadez/dadez.h"
#include "dornel/conversions.h"
#include "dornel/dornel.h"
#include "dornel/library.h"
#include "dornel/reduced_state.h"

namespace dornel {

namespace {

// Offset above the boundary line L at which the vapour range starts from 350 °C on.
constexpr double kAboveLineL = 0.00001;

} // namespace

} // namespace dornel

using namespace dornel;

extern "C" {

double STM_nTsp(double p, double s) {
    return Guarded([&] {
        const char* name = "STM_nTsp()";
        const DadezLimits& d = Dadez();
        const double beta = SinglePhaseBeta(p, name);
        const double sigma = SToSigma(s, Code(Units().entr));

        // Saturation temperature, needed by both branches below 350 °C.
        const bool belowSubregion34 = beta >= d.minBetaK && beta < d.minBeta34;
        const double thetaK = belowSubregion34 ? STM_inv_theta_beta_K(beta) : 0.0;
        double thetaLow = 0.0;
        if (beta < d.minBetaK) {
            thetaLow = d.minTheta;
        } else if (belowSubregion34) {
            thetaLow = thetaK;
        } else {
            thetaLow = STM_inv_theta_beta_L(beta) + kAboveLineL;
        }
        if (InsideRange(sigma, STM_sigma2_entropy(d.maxTheta, beta),
                        STM_sigma2_entropy(thetaLow, beta))) {
            const double theta = STM_inv_theta_sigma2(sigma, beta);
            return theta < 0.0 ? kErrorValue : OutTemperature(theta);
        }
        if (beta >= d.minBetaK) {
            const double thetaHigh = belowSubregion34 ? thetaK : d.minTheta34;
            if (InsideRange(sigma, STM_sigma1_entropy(d.minTheta, beta),
                            STM_sigma1_entropy(thetaHigh, beta))) {
                const double theta = STM_inv_theta_sigma1(sigma, beta);
                return theta < 0.0 ? kErrorValue : OutTemperature(theta);
            }
        }
        Fail(kRegionError, name);
    });
}

double STM_2Tep(double p, double h) {
    return Guarded([&] {
        const char* name = "STM_2Tep()";
        const DadezLimits& d = Dadez();
        const double beta = SinglePhaseBeta(p, name);
        const double epsilon = HToE(h, Code(Units().entl));

        double thetaLow = 0.0;
        if (beta <= d.minBetaK) {
            thetaLow = d.minTheta;
        } else if (beta <= d.minBeta34) {
            thetaLow = STM_inv_theta_beta_K(beta);
        } else {
            thetaLow = STM_inv_theta_beta_L(beta) + kAboveLineL;
        }
        if (!InsideRange(epsilon, STM_e2_enthalpy(d.maxTheta, beta),
                         STM_e2_enthalpy(thetaLow, beta))) {
            Fail(kRangeError, name);
        }
        const double theta = STM_inv_theta_e2(epsilon, beta);
        return theta < 0.0 ? kErrorValue : OutTemperature(theta);
    });
}

} // extern "C"
