#include "engine/properties/transport.h"

#include "common/precision.h"
#include "engine/properties/coefficient_set.h"

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

namespace quorvane {

namespace {

// Conversion of the generalized SI conductivities to Btu/(h ft F).
constexpr double kConductivityToInternal = 0.57826656;

// Reducing group xi = k * Tc_K^(1/6) / (M^(1/2) * Pc_Pa^(2/3)). The correlations were fitted
// with slightly different constants for k and for the psia-to-Pa factor; each keeps its own.
double ReducingGroup(double constant, double paPerPsi, double tcF, double pcPsia,
                     double molWeight) {
    const double tcK = FahrenheitToKelvin(tcF);
    const double pcPa = pcPsia * paPerPsi;
    return constant * std::pow(tcK, 1.0 / 6.0) / (std::sqrt(molWeight) * std::pow(pcPa, 2.0 / 3.0));
}

// A constant held as a 32-bit value, widened for 64-bit arithmetic.
double Single(double value) {
    return static_cast<double>(ToSingle(value));
}

} // namespace

YoonThodosConstants YoonThodosConstantsFor(std::string_view name) {
    std::string upper(name);
    for (char& ch : upper) {
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    }
    if (upper == "HYDROGEN") {
        return {47.65F, 0.657F, 20.0F, -0.858F, 19.0F, -3.995F};
    }
    if (upper == "HELIUM") {
        return {52.57F, 0.656F, 18.9F, -1.144F, 17.9F, -5.182F};
    }
    return {46.1F, 0.618F, 20.4F, -0.449F, 19.4F, -4.058F};
}

double YoonThodosReducingGroup(double tcF, double pcPsia, double molWeight) {
    return ReducingGroup(2173.4241, 6894.733261, tcF, pcPsia, molWeight);
}

double LetsouStielReducingGroup(double tcF, double pcPsia, double molWeight) {
    return ReducingGroup(2173.424, 6894.733261, tcF, pcPsia, molWeight);
}

float YoonThodosViscosity(std::string_view componentName, double tempF, double tcF, double pcPsia,
                          double molWeight) {
    return YoonThodosViscosity(YoonThodosConstantsFor(componentName),
                               YoonThodosReducingGroup(tcF, pcPsia, molWeight), tempF, tcF);
}

float YoonThodosViscosity(const YoonThodosConstants& k, double xi, double tempF, double tcF) {
    const double tr = FahrenheitToKelvin(tempF) / FahrenheitToKelvin(tcF);
    const double sum = 1.0 + k.a * std::pow(tr, static_cast<double>(k.b)) -
                       k.c * std::exp(k.d * tr) + k.e * std::exp(k.f * tr);
    return ToSingle(sum / (xi * 1e8) * 1000.0);
}

float WilkeViscosityMixing(std::span<const float> fractions, std::span<const float> molWeights,
                           std::span<const float> viscosities) {
    const std::size_t n = fractions.size();
    std::vector<double> weightRoot(n * n);
    std::vector<double> weightScale(n * n);
    FillWilkePairs(molWeights.first(n), weightRoot, weightScale);
    return WilkeViscosityMixing(fractions, WilkePairs{weightRoot, weightScale}, viscosities);
}

void FillWilkePairs(std::span<const float> molWeights, std::span<double> weightRoot,
                    std::span<double> weightScale) {
    const std::size_t n = molWeights.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double mi = molWeights[i];
        for (std::size_t j = 0; j < n; ++j) {
            const double mj = molWeights[j];
            weightRoot[i * n + j] = std::pow(mj / mi, 0.25);
            weightScale[i * n + j] = std::sqrt(8.0 * (1.0 + mi / mj));
        }
    }
}

float WilkeViscosityMixing(std::span<const float> fractions, const WilkePairs& pairs,
                           std::span<const float> viscosities) {
    const std::size_t n = fractions.size();
    for (std::size_t j = 0; j < n; ++j) {
        if (viscosities[j] == 0.0F || !(pairs.weightScale[j * n + j] > 0.0)) {
            return std::nanf(""); // a ratio with a zero divisor: the mixing rule fails
        }
    }
    double mix = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        if (fractions[i] == 0.0F) {
            continue;
        }
        const double* root = pairs.weightRoot.data() + i * n;
        const double* scale = pairs.weightScale.data() + i * n;
        double denominator = 0.0;
        for (std::size_t j = 0; j < n; ++j) {
            const double sum =
                1.0 + std::sqrt(static_cast<double>(viscosities[i]) / viscosities[j]) * root[j];
            const double phi = sum * sum / scale[j];
            denominator += static_cast<double>(fractions[j]) * phi;
        }
        mix += static_cast<double>(fractions[i]) * viscosities[i] / denominator;
    }
    return ToSingle(mix);
}

float DeanStielIncrement(double rhoR, double tcF, double pcPsia, double molWeight) {
    const double xi = ReducingGroup(2173.4241, 6894.7333, tcF, pcPsia, molWeight);
    return ToSingle(1.08e-7 * (std::exp(1.4439 * rhoR) - std::exp(-1.111 * std::pow(rhoR, 1.85))) /
                    xi * 1000.0);
}

float LetsouStielViscosity(double tempF, double tcF, double pcPsia, double w, double molWeight) {
    return LetsouStielViscosity(LetsouStielReducingGroup(tcF, pcPsia, molWeight), tempF, tcF, w);
}

float LetsouStielViscosity(double xi, double tempF, double tcF, double w) {
    const double tr = FahrenheitToKelvin(tempF) / FahrenheitToKelvin(tcF);
    const double simple = (1.5174 - 2.135 * tr + 0.75 * tr * tr) * 1e-5;
    const double deviation = (4.2552 - 7.674 * tr + 3.4 * tr * tr) * 1e-5;
    double eta = (simple + w * deviation) / xi * 1000.0;
    // Only a computed value is floored: a failed evaluation stays non-finite, so that the
    // property driver keeps the previous value instead of reporting the floor.
    if (std::isfinite(eta) && eta <= 1e-7) {
        eta = 1e-7;
    }
    return ToSingle(eta);
}

float LucasPressureRatio(double tempF, double tcF, double pressPsia, double pvpPsia, double pcPsia,
                         double w) {
    const double tr = FahrenheitToRankine(tempF) / FahrenheitToRankine(tcF);
    const double dpr = (pressPsia - pvpPsia) / pcPsia;
    const double a = 0.9991 - 4.674e-4 / (1.0523 * std::pow(tr, -0.03877) - 1.0513);
    // The powers of Tr by multiplication.
    const double tr2 = tr * tr;
    const double tr3 = tr2 * tr;
    const double tr4 = tr2 * tr2;
    const double c = -0.07921 + 2.1616 * tr - 13.404 * tr2 + 44.1706 * tr3 - 84.8291 * tr4 +
                     96.1209 * (tr4 * tr) - 59.8127 * (tr3 * tr3) + 15.6719 * (tr4 * tr3);
    const double d = 0.3257 / std::pow(1.0039 - std::pow(tr, 2.573), 0.2906) - 0.2086;
    return ToSingle((1.0 + d * std::pow(dpr / 2.118, a)) / (1.0 + c * w * dpr));
}

float LogMeanMixing(std::span<const float> weights, std::span<const float> values) {
    double sum = 0.0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (!(values[i] > 0.0F)) {
            return std::nanf(""); // the logarithm of a non-positive value fails
        }
        sum += static_cast<double>(weights[i]) * std::log(static_cast<double>(values[i]));
    }
    return ToSingle(std::exp(sum));
}

float EuckenConductivity(double idealGasCp, double viscosityCp, double molWeight) {
    const double etaPaS = viscosityCp / 1000.0;
    const double cpSi = idealGasCp / 0.239 * 1000.0; // J/(kmol K)
    return ToSingle(etaPaS * (1.15 * (cpSi - 8314.0) + 16903.36) / molWeight *
                    kConductivityToInternal);
}

float StielThodosIncrement(double rhoR, double tcF, double pcPsia, double molWeight, double zc) {
    const double tcK = FahrenheitToKelvin(tcF);
    const double pcPa = pcPsia * 6894.7333;
    const double gamma =
        std::pow(tcK, 1.0 / 6.0) * std::sqrt(molWeight) / std::pow(pcPa, 2.0 / 3.0);
    // The published correlation reduces the increment with Gamma * Zc^5; the product is held
    // as a 32-bit value. The multipliers are 32-bit constants applied at their 1e-8 scale.
    constexpr double kScale = 1e-8;
    double g = 0.0;
    if (rhoR < 0.5) {
        g = Single(2.702) * kScale * (std::exp(Single(0.535) * rhoR) - 1.0);
    } else if (rhoR <= 2.0) {
        g = Single(2.528) * kScale * (std::exp(Single(0.67) * rhoR) - 1.069);
    } else {
        g = Single(0.574) * kScale * (std::exp(Single(1.155) * rhoR) + Single(2.016));
    }
    const double zc2 = zc * zc;
    const double reducing = static_cast<double>(ToSingle(gamma * (zc2 * zc2 * zc)));
    return ToSingle(g / reducing * kConductivityToInternal);
}

float SatoRiedelConductivity(double tempF, double tcF, double tbF, double molWeight) {
    return SatoRiedelConductivity(SatoRiedelConstantsOf(tcF, tbF, molWeight), tempF, tcF);
}

SatoRiedelConstants SatoRiedelConstantsOf(double tcF, double tbF, double molWeight) {
    const double tbr = FahrenheitToRankine(tbF) / FahrenheitToRankine(tcF);
    return {1.1053152 / std::sqrt(molWeight), 3.0 + 20.0 * std::pow(1.0 - tbr, 2.0 / 3.0)};
}

float SatoRiedelConductivity(const SatoRiedelConstants& constants, double tempF, double tcF) {
    const double tr = FahrenheitToRankine(tempF) / FahrenheitToRankine(tcF);
    return ToSingle(constants.scale * (3.0 + 20.0 * std::pow(1.0 - tr, 2.0 / 3.0)) /
                    constants.boiling * kConductivityToInternal);
}

float LiquidConductivityPressureFactor(double tr, double pr) {
    return ToSingle(0.98 + 0.0079 * pr * std::pow(tr, 1.4) +
                    0.63 * std::pow(tr, 1.2) * (pr / (30.0 + pr)));
}

} // namespace quorvane
