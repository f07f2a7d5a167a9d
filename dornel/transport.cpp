// Transport properties of water and steam, evaluated by correlations held here (not in Dadez):
// thermal conductivity and viscosity from temperature and density, surface tension from
// temperature.

#include "dornel/conversions.h"
#include "dornel/dornel.h"
#include "dornel/library.h"
#include "dornel/reduced_state.h"

#include <cmath>

namespace dornel {

namespace {

constexpr double kMaxDensity = 1050.0; // kg/m³
constexpr int kDensityCode = 42;
constexpr double kRaiseFactor = 1e-8;

// Temperature (K) and density (kg/m³) from the arguments, with their range checks. The density is
// taken through χ with the current volume code and back as a density.
struct TransportState {
    double tK;
    double rho;
};

TransportState ReadState(double t, double v, double referenceK, const char* name) {
    const DadezLimits& d = Dadez();
    double tK = TempToKelvin(t, Code(Units().temp));
    const double theta = tK / d.tc;
    if (!InsideLimits(theta, d.minTheta, d.maxTheta)) {
        Fail(kRangeError, name);
    }
    // A volume or density is a positive finite number; anything else (an error value of
    // another function, an infinity) would pass through the conversions as a density of 0 or
    // below and come out as an infinite or negative property. Zero goes on to the conversion,
    // which reports it as the division by zero it is.
    if (!std::isfinite(v) || v < 0.0) {
        Fail(kRangeError, name);
    }
    // A failed conversion (reported under the conversion's name) also refuses the state.
    double rho = -1.0;
    try {
        rho = XToVolume(VolumeToX(v, Code(Units().vol)), kDensityCode);
    } catch (const ReportedError&) {
        rho = -1.0;
    }
    if (!(rho >= 0.0 && rho <= kMaxDensity)) {
        Fail(kRangeError, name);
    }
    // Exactly at the correlation's reference temperature the state is moved just above it.
    if (tK == referenceK) {
        tK += referenceK * kRaiseFactor;
    }
    return {tK, rho};
}

// Industrial thermal conductivity correlation, W/(m K).
double Conductivity(double tK, double rho, double tc) {
    const double t = tK / tc;
    const double r = rho * 0.003147623544224111; // ρ/317.7

    const double lambda0 =
        std::sqrt(t) * (0.0102811 + t * (0.0299621 + t * (0.0156146 + t * -0.00422464)));
    const double lambda1 =
        -0.39707 + 0.400302 * r + 1.06 * std::exp(-0.171587 * (r + 2.39219) * (r + 2.39219));

    constexpr double d1 = 0.0701309, d2 = 0.011852, d3 = 0.00169937, d4 = -1.02;
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
    return lambda0 + lambda1 + delta;
}

constexpr double kViscosityTc = 647.27;    // K
constexpr double kViscosityRhoC = 317.763; // kg/m³

// Viscosity correlation, µPa s; b[i][j] multiplies (1/T̄ − 1)^i (ρ̄ − 1)^j.
constexpr double kViscosityB[6][5] = {{0.501938, 0.235622, -0.274637, 0.145831, -0.0270448},
                                      {0.162888, 0.789393, -0.743539, 0.263129, -0.0253093},
                                      {-0.130356, 0.673665, -0.959456, 0.347247, -0.0267758},
                                      {0.907919, 1.207552, -0.687343, 0.213486, -0.0822904},
                                      {-0.551119, 0.0670665, -0.497089, 0.100754, 0.0602253},
                                      {0.146543, -0.084337, 0.195286, -0.032932, -0.0202595}};

double Viscosity(double tK, double rho) {
    const double t = tK / kViscosityTc;
    const double r = rho / kViscosityRhoC;
    const double invT = 1.0 / t;
    const double mu0 =
        std::sqrt(t) / (0.0181583 + invT * (0.0177624 + invT * (0.0105287 + invT * -0.0036744)));
    const double x = invT - 1.0;
    const double y = r - 1.0;
    double sum = 0.0;
    double xi = 1.0;
    for (const auto& row : kViscosityB) {
        double inner = row[4];
        for (int j = 3; j >= 0; --j) {
            inner = inner * y + row[j];
        }
        sum += inner * xi;
        xi *= x;
    }
    return mu0 * std::exp(r * sum);
}

constexpr double kSurfaceTensionTc = 647.15; // K

} // namespace

} // namespace dornel

using namespace dornel;

extern "C" {

double STM_ThermalConductivity(double t, double v) {
    return Guarded([&] {
        const char* name = "STM_ThermalConductivity()";
        const TransportState s = ReadState(t, v, Dadez().tc, name);
        return WmkToTc(Conductivity(s.tK, s.rho, Dadez().tc), Code(Units().thermalCon));
    });
}

double STM_DynamicViscosity(double t, double v) {
    return Guarded([&] {
        const char* name = "STM_DynamicViscosity()";
        const TransportState s = ReadState(t, v, kViscosityTc, name);
        return MicropasToDynvis(Viscosity(s.tK, s.rho), Code(Units().dynamicVis));
    });
}

double STM_SurfaceTension(double t) {
    return Guarded([&] {
        const char* name = "STM_SurfaceTension()";
        const double tK = TempToKelvin(t, Code(Units().temp));
        // 647.15 K typed in °F (705.2) arrives a bit above 647.15; that rounding still counts
        // as the end of the range.
        if (!(InsideLimits(tK / Dadez().tc, Dadez().minTheta, 1.0) &&
              tK <= kSurfaceTensionTc * (1.0 + 1e-12))) {
            Fail(kRangeError, name);
        }
        const double tau = std::fmax(0.0, 1.0 - tK / kSurfaceTensionTc);
        const double sigma = 0.2358 * std::pow(tau, 1.256) * (1.0 - 0.625 * tau);
        return NmToSurtension(sigma, Code(Units().surTension));
    });
}

} // extern "C"
