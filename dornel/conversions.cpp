// Unit conversions. Input factors take a value to SI; output factors are stored as given so that
// results match the established tables digit for digit.

#include "dornel/conversions.h"

#include "dornel/library.h"

namespace dornel {

namespace {

constexpr double kAtmPa = 101325.0;
constexpr double kKgfPerCm2Pa = 98066.5;
constexpr double kMmHgPa = kAtmPa / 760.0;
constexpr double kKcalJ = 4186.8;
constexpr double kWhJ = 3600.0;

// Output factors per Pa and per J.
constexpr double kPaToKgfPerCm2 = 1.0197162129779284e-5;
constexpr double kPaToMmHg = 0.007500616827041698;
constexpr double kPaToAtm = 9.869232667160129e-6;
constexpr double kPaToHPa = 0.01;
constexpr double kPaToMPa = 1e-6;
constexpr double kJToKcal = 0.00023884589662749592;
constexpr double kJToWh = 0.0002777777777777778;

constexpr double kKelvinOffset = 273.15;
constexpr double kRankineOffset = 459.67;

// Energy per mass (or per mass and kelvin) to J: codes base+1 kcal, base+2 J, base+3 Wh.
double EnergyToSi(double value, int code, int base, const char* name) {
    switch (code - base) {
    case 1:
        return value * kKcalJ;
    case 2:
        return value;
    case 3:
        return value * kWhJ;
    default:
        Fail(kRangeError, name);
    }
}

double SiToEnergy(double value, int code, int base, const char* name) {
    switch (code - base) {
    case 1:
        return value * kJToKcal;
    case 2:
        return value;
    case 3:
        return value * kJToWh;
    default:
        Fail(kRangeError, name);
    }
}

double PvScale() {
    return Dadez().pc * Dadez().vc;
}

} // namespace

double PToBeta(double p, int code) {
    double pa = 0.0;
    switch (code) {
    case 11:
        pa = p;
        break;
    case 12:
        pa = p * kKgfPerCm2Pa;
        break;
    case 13:
        pa = p * kKgfPerCm2Pa + kAtmPa;
        break;
    case 14:
    case 18:
        pa = p * kMmHgPa;
        break;
    case 15:
        pa = (p + 760.0) * kMmHgPa;
        break;
    case 16:
        pa = p * kAtmPa;
        break;
    case 17:
        pa = (p + 1.0) * kAtmPa;
        break;
    case 19:
        pa = p * 100.0;
        break;
    case 1001:
        pa = p * 1e6;
        break;
    default:
        Fail(kRangeError, "p_to_beta()");
    }
    return pa / Dadez().pc;
}

double BetaToP(double beta, int code) {
    const double pa = beta * Dadez().pc;
    switch (code) {
    case 11:
        return pa;
    case 12:
        return pa * kPaToKgfPerCm2;
    case 13:
        return (pa - kAtmPa) * kPaToKgfPerCm2;
    case 14:
    case 18:
        return pa * kPaToMmHg;
    case 15:
        return pa * kPaToMmHg - 760.0;
    case 16:
        return pa * kPaToAtm;
    case 17:
        return pa * kPaToAtm - 1.0;
    case 19:
        return pa * kPaToHPa;
    case 1001:
        return pa * kPaToMPa;
    default:
        Fail(kRangeError, "beta_to_p()");
    }
}

double TempToKelvin(double t, int code) {
    switch (code) {
    case 1:
        return t;
    case 2:
        return t + kKelvinOffset;
    case 3:
        return (t + kRankineOffset) / 1.8;
    default:
        Fail(kRangeError, "temp_to_theta()");
    }
}

double TempToTheta(double t, int code) {
    return TempToKelvin(t, code) / Dadez().tc;
}

double ThetaToTemp(double theta, int code) {
    const double kelvin = theta * Dadez().tc;
    switch (code) {
    case 1:
        return kelvin;
    case 2:
        return kelvin - kKelvinOffset;
    case 3:
        return kelvin * 1.8 - kRankineOffset;
    default:
        Fail(kRangeError, "theta_to_temp()");
    }
}

double VolumeToX(double v, int code) {
    switch (code) {
    case 41:
        return v / Dadez().vc;
    case 42:
        if (v == 0.0) {
            Fail(kDivisionByZero, "volume_to_x()");
        }
        return 1.0 / (v * Dadez().vc);
    default:
        Fail(kRangeError, "volume_to_x()");
    }
}

double XToVolume(double chi, int code) {
    switch (code) {
    case 41:
        return chi * Dadez().vc;
    case 42:
        if (chi == 0.0) {
            Fail(kDivisionByZero, "x_to_volume()");
        }
        return 1.0 / (chi * Dadez().vc);
    default:
        Fail(kRangeError, "x_to_volume()");
    }
}

double HToE(double h, int code) {
    return EnergyToSi(h, code, 20, "h_to_e()") / PvScale();
}

double EToH(double epsilon, int code) {
    return SiToEnergy(epsilon * PvScale(), code, 20, "e_to_h()");
}

double SToSigma(double s, int code) {
    return EnergyToSi(s, code, 30, "s_to_sigma()") * Dadez().tc / PvScale();
}

double SigmaToS(double sigma, int code) {
    return SiToEnergy(sigma * PvScale() / Dadez().tc, code, 30, "sigma_to_s()");
}

double WetToWetdry(double w, int code) {
    switch (code) {
    case 51:
        return w;
    case 52:
        return 1.0 - w;
    default:
        Fail(kRangeError, "wet_to_wetdry()");
    }
}

double FaiToCap(double phi, int code) {
    return SiToEnergy(phi * PvScale() / Dadez().tc, code, 60, "fai_to_cap()");
}

double WmkToTc(double lambda, int code) {
    switch (code) {
    case 71:
        return lambda * 0.8598452278589853;
    case 72:
        return lambda;
    default:
        Fail(kRangeError, "wmk_to_tc()");
    }
}

double MicropasToDynvis(double mu, int code) {
    switch (code) {
    case 81:
        return mu * 0.00001;
    case 82:
        return mu * 1e-6;
    case 83:
        return mu;
    default:
        Fail(kRangeError, "micropas_to_dynvis()");
    }
}

double NmToSurtension(double sigma, int code) {
    switch (code) {
    case 91:
        return sigma;
    case 92:
    case 93:
        return sigma * 1000.0;
    default:
        Fail(kRangeError, "nm_to_surtension()");
    }
}

} // namespace dornel
