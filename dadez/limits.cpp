// Reducing constants, the range of the formulation and the subregion of a state.

#include "dadez/dadez.h"
#include "dadez/fundamental.h"
#include "dadez/saturation.h"

using namespace dadez::ifc67;

extern "C" {

double STM_GetCriticalTempK(void) {
    return kTc1;
}
double STM_GetCriticalPressPa(void) {
    return kPc1;
}
double STM_GetCriticalVolumeM3Kg(void) {
    return kVc1;
}

double STM_min_theta(void) {
    return kThetaMin;
}
double STM_max_theta(void) {
    return kThetaMax;
}
double STM_min_beta(void) {
    return kBetaMin;
}
double STM_max_beta(void) {
    return kBetaMax;
}
double STM_min_beta_K(void) {
    static const double value = dadez::BetaK(kThetaMin);
    return value;
}
double STM_min_theta_3_4(void) {
    return kTheta1;
}
double STM_min_beta_3_4(void) {
    static const double value = dadez::BetaK(kTheta1);
    return value;
}

int STM_decision_subregion(double theta, double beta) {
    if (!(theta >= kThetaMin && theta <= kThetaMax && beta >= kBetaMin && beta <= kBetaMax)) {
        return 0;
    }
    if (theta <= kTheta1) {
        const double betaK = dadez::BetaK(theta);
        if (beta > betaK) {
            return 1;
        }
        return beta < betaK ? 2 : 6;
    }
    if (theta < 1.0) {
        const double betaK = dadez::BetaK(theta);
        if (beta > betaK) {
            return 4;
        }
        if (beta == betaK) {
            return 5;
        }
    }
    if (theta <= kTheta2 && beta > dadez::BetaL(theta)) {
        return 3;
    }
    return 2;
}

} // extern "C"
