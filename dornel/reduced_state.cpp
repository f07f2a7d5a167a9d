#include "dornel/reduced_state.h"

#include "dornel/conversions.h"
#include "dornel/library.h"

namespace dornel {

namespace {

void Require(bool condition, const char* name) {
    if (!condition) {
        Fail(kRangeError, name);
    }
}

} // namespace

double SinglePhaseTheta(double t, const char* name) {
    const double theta = TempToTheta(t, Code(Units().temp));
    const DadezLimits& d = Dadez();
    Require(theta >= d.minTheta && theta <= d.maxTheta &&
                !(theta > 0.99999998 && theta < 1.00000002),
            name);
    return theta;
}

double SaturationTheta(double t, const char* name) {
    const double theta = TempToTheta(t, Code(Units().temp));
    Require(theta >= Dadez().minTheta && theta <= kSaturationThetaLimit, name);
    return theta;
}

double SinglePhaseBeta(double p, const char* name) {
    const double beta = PToBeta(p, Code(Units().press));
    Require(beta >= Dadez().minBeta && beta <= Dadez().maxBeta, name);
    return beta;
}

double SaturationBeta(double p, const char* name) {
    const double beta = PToBeta(p, Code(Units().press));
    Require(beta >= Dadez().minBetaK && beta <= kSaturationBetaLimit, name);
    return beta;
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
