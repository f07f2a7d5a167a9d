// Saturation line and wet steam: saturated liquid and vapour values combined by the wetness
// (liquid mass fraction). Volumes are combined as specific volumes (in χ) before any conversion
// to density.

#include "dadez/dadez.h"
#include "dornel/conversions.h"
#include "dornel/dornel.h"
#include "dornel/library.h"
#include "dornel/property_set.h"
#include "dornel/reduced_state.h"

#include <algorithm>

namespace dornel {

namespace {

double Mix(double wetness, const SaturatedPair& pair) {
    return wetness * pair.liquid + (1.0 - wetness) * pair.vapour;
}

// The property of the wet state at (θ, β) on the saturation line, from subregions 1 and 2 below
// 350 °C; a failed volume root is returned unchanged.
double WetValue(const PropertySet& property, double theta, double beta, double wetness) {
    const SaturatedPair pair = Saturated(property, theta, beta, theta < Dadez().minTheta34);
    if (!pair.ok) {
        return pair.failed;
    }
    return property.out(Mix(wetness, pair));
}

double WetFromTemperature(const PropertySet& property, double t, double w, const char* name) {
    return Guarded([&] {
        const double theta = SaturationTheta(t, name);
        const double wetness = Wetness(w, name);
        const double betaK = STM_beta_K(theta);
        if (betaK < 0.0) {
            return kErrorValue;
        }
        return WetValue(property, theta, betaK, wetness);
    });
}

double WetFromPressure(const PropertySet& property, double p, double w, const char* name) {
    return Guarded([&] {
        const double beta = SaturationBeta(p, name);
        const double wetness = Wetness(w, name);
        const double thetaK = STM_inv_theta_beta_K(beta);
        if (thetaK < 0.0) {
            return thetaK;
        }
        return WetValue(property, thetaK, beta, wetness);
    });
}

// Wetness of the wet state at β with the given reduced entropy or enthalpy (`property`), which
// must lie between the saturated liquid and vapour values. Sets `failed` on a negative
// intermediate result.
struct WetnessResult {
    double wetness = 0;
    double thetaK = 0;
    bool ok = true;
    double failed = 0;
};

WetnessResult WetnessAt(const PropertySet& property, double beta, double given, const char* name) {
    WetnessResult result;
    result.thetaK = STM_inv_theta_beta_K(beta);
    if (result.thetaK < 0.0) {
        result.ok = false;
        result.failed = result.thetaK;
        return result;
    }
    const SaturatedPair pair = Saturated(property, result.thetaK, beta, beta < Dadez().minBeta34);
    if (!pair.ok) {
        result.ok = false;
        result.failed = pair.failed;
        return result;
    }
    const double span = pair.vapour - pair.liquid;
    if (!InsideRange(given, pair.liquid, pair.vapour) || span == 0.0) {
        Fail(kRangeError, name);
    }
    result.wetness = std::clamp((pair.vapour - given) / span, 0.0, 1.0);
    return result;
}

} // namespace

} // namespace dornel

using namespace dornel;

extern "C" {

double STM_kPt(double t) {
    return Guarded([&] {
        const double theta = SaturationTheta(t, "STM_kPt()");
        const double beta = STM_beta_K(theta);
        if (beta < 0.0) {
            return kErrorValue;
        }
        return OutPressure(beta);
    });
}

double STM_kTp(double p) {
    return Guarded([&] {
        const double beta = SaturationBeta(p, "STM_kTp()");
        // A failed inverse is never passed on as a temperature: -1 would read as -1 °C.
        const double theta = STM_inv_theta_beta_K(beta);
        if (theta < 0.0) {
            return kErrorValue;
        }
        return OutTemperature(theta);
    });
}

double STM_sEtw(double t, double w) {
    return WetFromTemperature(kEnthalpy, t, w, "STM_sEtw()");
}
double STM_sStw(double t, double w) {
    return WetFromTemperature(kEntropy, t, w, "STM_sStw()");
}
double STM_sXtw(double t, double w) {
    return WetFromTemperature(kVolume, t, w, "STM_sXtw()");
}

double STM_sEpw(double p, double w) {
    return WetFromPressure(kEnthalpy, p, w, "STM_sEpw()");
}
double STM_sSpw(double p, double w) {
    return WetFromPressure(kEntropy, p, w, "STM_sSpw()");
}
double STM_sXpw(double p, double w) {
    return WetFromPressure(kVolume, p, w, "STM_sXpw()");
}

double STM_sEsp(double p, double s) {
    return Guarded([&] {
        const char* name = "STM_sEsp()";
        const double beta = SaturationBeta(p, name);
        const double sigma = SToSigma(s, Code(Units().entr));
        const WetnessResult w = WetnessAt(kEntropy, beta, sigma, name);
        if (!w.ok) {
            return w.failed;
        }
        const SaturatedPair h = Saturated(kEnthalpy, w.thetaK, beta, beta < Dadez().minBeta34);
        if (!h.ok) {
            return h.failed;
        }
        return OutEnthalpy(Mix(w.wetness, h));
    });
}

double STM_sWsp(double p, double s) {
    return Guarded([&] {
        const char* name = "STM_sWsp()";
        const double beta = SaturationBeta(p, name);
        const double sigma = SToSigma(s, Code(Units().entr));
        const WetnessResult w = WetnessAt(kEntropy, beta, sigma, name);
        if (!w.ok) {
            return w.failed;
        }
        return WetToWetdry(w.wetness, Code(Units().wetDry));
    });
}

double STM_sWep(double p, double h) {
    return Guarded([&] {
        const char* name = "STM_sWep()";
        const double beta = SaturationBeta(p, name);
        const double epsilon = HToE(h, Code(Units().entl));
        const WetnessResult w = WetnessAt(kEnthalpy, beta, epsilon, name);
        if (!w.ok) {
            return w.failed;
        }
        return WetToWetdry(w.wetness, Code(Units().wetDry));
    });
}

} // extern "C"
