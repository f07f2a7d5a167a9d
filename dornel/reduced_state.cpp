#include "dornel/reduced_state.h"

#include "dornel/conversions.h"
#include "dornel/library.h"

#include <cmath>

namespace dornel {

namespace {

void Require(bool condition, const char* name) {
    if (!condition) {
        Fail(kRangeError, name);
    }
}

constexpr double kLimitRounding = 1e-9;

// Values within rounding of [low, high] are accepted and moved onto the limit.
double WithinLimits(double value, double low, double high, const char* name) {
    Require(InsideLimits(value, low, high), name);
    return value < low ? low : (value > high ? high : value);
}

} // namespace

bool InsideLimits(double value, double low, double high) {
    return value >= low * (1.0 - kLimitRounding) && value <= high * (1.0 + kLimitRounding);
}

bool InsideRange(double value, double a, double b) {
    const double slack = 1e-12 * (std::fabs(b - a) + std::fmax(std::fabs(a), std::fabs(b)));
    return value >= std::fmin(a, b) - slack && value <= std::fmax(a, b) + slack;
}

double SinglePhaseTheta(double t, const char* name) {
    const DadezLimits& d = Dadez();
    const double theta =
        WithinLimits(TempToTheta(t, Code(Units().temp)), d.minTheta, d.maxTheta, name);
    Require(!(theta > 0.99999998 && theta < 1.00000002), name);
    return theta;
}

double SaturationTheta(double t, const char* name) {
    return WithinLimits(TempToTheta(t, Code(Units().temp)), Dadez().minTheta, kSaturationThetaLimit,
                        name);
}

double SinglePhaseBeta(double p, const char* name) {
    return WithinLimits(PToBeta(p, Code(Units().press)), Dadez().minBeta, Dadez().maxBeta, name);
}

double SaturationBeta(double p, const char* name) {
    return WithinLimits(PToBeta(p, Code(Units().press)), Dadez().minBetaK, kSaturationBetaLimit,
                        name);
}

double Wetness(double w, const char* name) {
    const double wetness = WetToWetdry(w, Code(Units().wetDry));
    Require(wetness >= 0.0 && wetness <= 1.0, name);
    return wetness;
}

double OutEnthalpy(double epsilon) {
    return EToH(epsilon, Code(Units().entl));
}
double OutEntropy(double sigma) {
    return SigmaToS(sigma, Code(Units().entr));
}
double OutVolume(double chi) {
    return XToVolume(chi, Code(Units().vol));
}
double OutHeatCapacity(double phi) {
    return FaiToCap(phi, Code(Units().heatCap));
}
double OutTemperature(double theta) {
    return ThetaToTemp(theta, Code(Units().temp));
}
double OutPressure(double beta) {
    return BetaToP(beta, Code(Units().press));
}

} // namespace dornel
