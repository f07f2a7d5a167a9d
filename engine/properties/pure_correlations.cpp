#include "engine/properties/pure_correlations.h"

#include "common/precision.h"
#include "engine/properties/property_constants.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace quorvane {

namespace {

constexpr double kReferenceTempK = 298.15;

template <typename V>
double Average(std::span<const float> fractions, std::span<const V> values) {
    double sum = 0.0;
    for (std::size_t i = 0; i < fractions.size(); ++i) {
        sum += static_cast<double>(fractions[i]) * static_cast<double>(values[i]);
    }
    return sum;
}

} // namespace

float MolarAverage(std::span<const float> fractions, std::span<const float> values) {
    return ToSingle(Average(fractions, values));
}

float MolarAverage(std::span<const float> fractions, std::span<const double> values) {
    return ToSingle(Average(fractions, values));
}

float PseudoCriticalTemperature(std::span<const float> fractions, std::span<const float> tcF,
                                std::span<const float> vc) {
    const double volume = Average(fractions, vc);
    double tcR = 0.0;
    for (std::size_t i = 0; i < fractions.size(); ++i) {
        const double phi = static_cast<double>(fractions[i]) * vc[i] / volume;
        tcR += phi * FahrenheitToRankine(tcF[i]);
    }
    return ToSingle(tcR - 459.67);
}

float PseudoCriticalPressure(std::span<const float> fractions, std::span<const float> vc,
                             std::span<const float> tcF, std::span<const float> zc) {
    double zcSum = 0.0;
    double tcSum = 0.0;
    double vcSum = 0.0;
    for (std::size_t i = 0; i < fractions.size(); ++i) {
        const double x = fractions[i];
        zcSum += x * zc[i];
        tcSum += x * FahrenheitToRankine(tcF[i]);
        vcSum += x * vc[i];
    }
    return ToSingle(kGasConstantPvt * zcSum * tcSum / vcSum);
}

float VapourMolarDensity(double z, double tempF, double pressPsia) {
    if (z == 0.0) {
        return 0.0F;
    }
    return ToSingle(pressPsia / (z * kGasConstantPvt * FahrenheitToRankine(tempF)));
}

float TwoPhaseMolarDensity(double v, double rhoVapour, double rhoLiquid) {
    if (v == 0.0) {
        return ToSingle(rhoLiquid);
    }
    if (v == 1.0) {
        return ToSingle(rhoVapour);
    }
    if (rhoVapour == 0.0 || rhoLiquid == 0.0) {
        return std::nanf("");
    }
    return ToSingle(1.0 / (v / rhoVapour + (1.0 - v) / rhoLiquid));
}

float LiquidDensityCorrelation(const CoefficientSet& set, double tempF) {
    return ToSingle(EvaluateSet(set, SetProperty::LiquidDensity, FahrenheitToKelvin(tempF), 0.0));
}

float RackettCompressibility(double w) {
    return ToSingle(0.29056 - 0.08775 * w);
}

float RackettDensity(double tempF, double zra, double pcPsia, double tcF) {
    const double tcR = FahrenheitToRankine(tcF);
    const double tr = FahrenheitToRankine(tempF) / tcR;
    return ToSingle(pcPsia /
                    (kGasConstantPvt * tcR * std::pow(zra, 1.0 + std::pow(1.0 - tr, 2.0 / 7.0))));
}

float MixtureRackettDensity(std::span<const float> fractions, std::span<const float> tcF,
                            std::span<const float> pcPsia, std::span<const float> vc,
                            std::span<const float> zra, double tempF) {
    const std::size_t n = fractions.size();
    std::vector<double> oneMinusK(n * n);
    std::vector<double> sqrtTc(n * n);
    FillRackettPairs(tcF.first(n), vc.first(n), oneMinusK, sqrtTc);
    return MixtureRackettDensity(fractions, tcF, pcPsia, vc, zra, tempF,
                                 RackettPairs{oneMinusK, sqrtTc});
}

void FillRackettPairs(std::span<const float> tcF, std::span<const float> vc,
                      std::span<double> oneMinusK, std::span<double> sqrtTc) {
    const std::size_t n = tcF.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double tciR = FahrenheitToRankine(tcF[i]);
        for (std::size_t j = 0; j < n; ++j) {
            const double tcjR = FahrenheitToRankine(tcF[j]);
            const double vi = vc[i];
            const double vj = vc[j];
            const double rootSum = std::cbrt(vi) + std::cbrt(vj);
            const double kij = 1.0 - 8.0 * std::sqrt(vi * vj) / (rootSum * rootSum * rootSum);
            oneMinusK[i * n + j] = 1.0 - kij;
            sqrtTc[i * n + j] = std::sqrt(tciR * tcjR);
        }
    }
}

float MixtureRackettDensity(std::span<const float> fractions, std::span<const float> tcF,
                            std::span<const float> pcPsia, std::span<const float> vc,
                            std::span<const float> zra, double tempF, const RackettPairs& pairs) {
    const std::size_t n = fractions.size();
    const double volume = Average(fractions, vc);
    double tcMix = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double phiI = static_cast<double>(fractions[i]) * vc[i] / volume;
        const double* oneMinusK = pairs.oneMinusK.data() + i * n;
        const double* sqrtTc = pairs.sqrtTc.data() + i * n;
        for (std::size_t j = 0; j < n; ++j) {
            const double phiJ = static_cast<double>(fractions[j]) * vc[j] / volume;
            tcMix += phiI * phiJ * oneMinusK[j] * sqrtTc[j];
        }
    }
    double zraMix = 0.0;
    double s = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        zraMix += static_cast<double>(fractions[i]) * zra[i];
        s += static_cast<double>(fractions[i]) * FahrenheitToRankine(tcF[i]) / pcPsia[i];
    }
    double tr = FahrenheitToRankine(tempF) / tcMix;
    if (tr >= 1.0) {
        tr = static_cast<double>(0.999999F); // the cap is held as a 32-bit value
    }
    return ToSingle(1.0 /
                    (kGasConstantPvt * s * std::pow(zraMix, 1.0 + std::pow(1.0 - tr, 2.0 / 7.0))));
}

float HeatCapacityCorrelation(const CoefficientSet& set, double tempF) {
    return ToSingle(EvaluateSet(set, SetProperty::HeatCapacity, FahrenheitToKelvin(tempF), 0.0));
}

float ClampedLiquidHeatCapacity(const CoefficientSet& set, double tempF) {
    double tempK = FahrenheitToKelvin(tempF);
    if (tempK < set.tMinK) {
        tempK = set.tMinK;
    } else if (tempK > set.tMaxK) {
        tempK = set.tMaxK;
    }
    return ToSingle(EvaluateSet(set, SetProperty::HeatCapacity, tempK, 0.0));
}

float IdealGasEnthalpy(const CoefficientSet& set, double tempF) {
    const double t = FahrenheitToKelvin(tempF);
    return EvaluateIdealGas(PrepareIdealGasSet(set), t, std::log(t / kReferenceTempK)).h;
}

float IdealGasEntropy(const CoefficientSet& set, double tempF) {
    const double t = FahrenheitToKelvin(tempF);
    return EvaluateIdealGas(PrepareIdealGasSet(set), t, std::log(t / kReferenceTempK)).s;
}

IdealGasSet PrepareIdealGasSet(const CoefficientSet& set) {
    IdealGasSet out;
    out.prepared = PreparedSet(set);
    const double x0 = set.c / kReferenceTempK;
    const double y0 = set.e / kReferenceTempK;
    const Hyperbolic hx0(x0);
    const Hyperbolic hy0(y0);
    out.cothX0 = hx0.Coth();
    out.tanhY0 = hy0.Tanh();
    out.x0CothX0 = x0 * out.cothX0;
    out.sinhX0 = hx0.Sinh();
    out.y0TanhY0 = y0 * out.tanhY0;
    out.coshY0 = hy0.Cosh();
    return out;
}

IdealGasValues EvaluateIdealGas(const IdealGasSet& prepared, double tempK, double logTOverT0) {
    const CoefficientSet& set = prepared.prepared.set;
    const double t = tempK;
    const double t0 = kReferenceTempK;
    IdealGasValues out;
    double cp = 0.0;
    double h = 0.0;
    double s = 0.0;
    switch (prepared.prepared.code) {
    case 7: {
        // The powers of T by multiplication; those of T0 once.
        static const double t03 = std::pow(t0, 3);
        static const double t04 = std::pow(t0, 4);
        static const double t05 = std::pow(t0, 5);
        const double t2 = t * t;
        const double t3 = t2 * t;
        const double t4 = t2 * t2;
        cp = set.a + t * (set.b + t * (set.c + t * (set.d + t * set.e)));
        h = set.a * (t - t0) + set.b / 2.0 * (t2 - t0 * t0) + set.c / 3.0 * (t3 - t03) +
            set.d / 4.0 * (t4 - t04) + set.e / 5.0 * (t4 * t - t05);
        s = set.a * logTOverT0 + set.b * (t - t0) + set.c / 2.0 * (t2 - t0 * t0) +
            set.d / 3.0 * (t3 - t03) + set.e / 4.0 * (t4 - t04);
        break;
    }
    case 2: {
        const double x = set.c / t;
        const double y = set.e / t;
        const Hyperbolic hx(x);
        const Hyperbolic hy(y);
        cp = HyperbolicHeatCapacity(set, x, hx, y, hy);
        h = set.a * (t - t0) + set.b * set.c * (hx.Coth() - prepared.cothX0) -
            set.d * set.e * (hy.Tanh() - prepared.tanhY0);
        s = set.a * logTOverT0 +
            set.b * (x * hx.Coth() - prepared.x0CothX0 - std::log(hx.Sinh() / prepared.sinhX0)) -
            set.d * (y * hy.Tanh() - prepared.y0TanhY0 - std::log(hy.Cosh() / prepared.coshY0));
        break;
    }
    default:
        return out;
    }
    out.cp = ToSingle(cp * 0.000239044); // J/(kmol K) -> Btu/(lb-mol R)
    out.h = ToSingle(h * 0.000430278);   // J/kmol -> Btu/lb-mol
    out.s = ToSingle(s / 4184.0);        // J/(kmol K) -> Btu/(lb-mol R)
    return out;
}

float HeatOfVaporizationCorrelation(const CoefficientSet& set, double tempF, double tcF) {
    return ToSingle(EvaluateSet(set, SetProperty::HeatOfVaporization, FahrenheitToKelvin(tempF),
                                FahrenheitToKelvin(tcF)));
}

float VetereHeatOfVaporization(double tbF, double tcF, double pcPsia) {
    const double tbR = FahrenheitToRankine(tbF);
    const double tcR = FahrenheitToRankine(tcF);
    const double tbr = tbR / tcR;
    const double pcAtm = pcPsia / kAtmospherePsia;
    const double r = static_cast<double>(1.986F); // held as a 32-bit value in this estimate
    return ToSingle(r * tcR * tbr * (0.4343 * std::log(pcAtm) - 0.69431 + 0.89584 * tbr) /
                    (0.37691 - 0.37306 * tbr + 0.15075 / (pcAtm * tbr * tbr)));
}

float WatsonHeatOfVaporization(double hvbBtu, double tempF, double tbF, double tcF) {
    const double t = tempF <= tcF ? tempF : tcF - 1.0;
    return ToSingle(hvbBtu * std::pow((tcF - t) / (tcF - tbF), 0.38));
}

float RowlinsonBondiResidual(double tempF, double tcF, double w) {
    double tr = FahrenheitToRankine(tempF) / FahrenheitToRankine(tcF);
    if (tr >= 1.0) {
        tr = 0.95;
    }
    const double oneLess = 1.0 - tr;
    return ToSingle(1.987 *
                    (1.45 + 0.45 / oneLess +
                     0.25 * w * (17.11 + 25.2 * std::cbrt(oneLess) / tr + 1.742 / oneLess)));
}

float VapourPressureCorrelation(const CoefficientSet& set, double tempF) {
    return ToSingle(EvaluateSet(set, SetProperty::VapourPressure, FahrenheitToKelvin(tempF), 0.0));
}

float SurfaceTensionCorrelation(const CoefficientSet& set, double tempF, double tcF) {
    return ToSingle(EvaluateSet(set, SetProperty::SurfaceTension, FahrenheitToKelvin(tempF),
                                FahrenheitToKelvin(tcF)));
}

float BrockBirdSurfaceTension(double tempF, double tbF, double tcF, double pcPsia) {
    return BrockBirdSurfaceTension(BrockBirdScale(tbF, tcF, pcPsia), tempF, tcF);
}

double BrockBirdScale(double tbF, double tcF, double pcPsia) {
    const double tcK = FahrenheitToKelvin(tcF);
    const double tbr = FahrenheitToRankine(tbF) / FahrenheitToRankine(tcF);
    const double pcPa = pcPsia / kAtmospherePsia * 101325.0;
    const double q = 0.1207 * (1.0 + tbr * (std::log(pcPa) - 11.526) / (1.0 - tbr)) - 0.281;
    return 4.6e-7 * std::pow(pcPa, 2.0 / 3.0) * std::cbrt(tcK) * q;
}

float BrockBirdSurfaceTension(double scale, double tempF, double tcF) {
    const double tr = FahrenheitToRankine(tempF) / FahrenheitToRankine(tcF);
    return ToSingle(scale * std::pow(1.0 - tr, 11.0 / 9.0));
}

} // namespace quorvane
