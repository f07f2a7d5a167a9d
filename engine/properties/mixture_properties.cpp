#include "engine/properties/mixture_properties.h"

#include "engine/eos/cubic_roots.h"
#include "engine/eos/engine_errors.h"
#include "engine/properties/property_constants.h"
#include "engine/properties/property_errors.h"
#include "engine/properties/property_steps.h"
#include "engine/properties/pure_correlations.h"
#include "engine/properties/stream_transport.h"
#include "engine/properties/translated_density.h"

namespace quorvane {

namespace {

using namespace property_steps;

constexpr int kOrdinalMolWeight = 2;
constexpr int kOrdinalBoilingPoint = 7;
constexpr int kOrdinalReferenceEnthalpy = 12;
constexpr int kOrdinalReferenceEntropy = 14;

double Cell(const std::vector<double>& row, int ordinal) {
    const auto k = static_cast<std::size_t>(ordinal);
    return k < row.size() ? row[k] : std::numeric_limits<double>::quiet_NaN();
}

void CheckSizes(const FlashCase& fc, std::size_t n, const std::vector<std::vector<double>>& rows) {
    const bool ok = fc.z.size() >= n && fc.x.size() >= n && fc.y.size() >= n &&
                    fc.tcF.size() >= n && fc.pcPsia.size() >= n && fc.w.size() >= n &&
                    fc.vc.size() >= n && fc.zc.size() >= n && rows.size() >= n &&
                    fc.kij.Columns() >= static_cast<int>(n) &&
                    n <= static_cast<std::size_t>(KijTable::kRows);
    if (!ok) {
        throw MixtureSizeError("the mixture's arrays do not match its component count");
    }
}

Inputs InputsOf(const FlashCase& fc, std::size_t n,
                const std::vector<std::vector<double>>& componentRows,
                std::span<const std::string> componentNames) {
    Inputs in;
    in.n = n;
    in.flash = &fc;
    in.rows = &componentRows;
    in.names = componentNames;
    in.eos = fc.Eos();
    in.kij = RunKijTable(fc);
    in.tempF = fc.tempF;
    in.tempK = FahrenheitToKelvin(fc.tempF);
    in.pressPsia = fc.pressPsia;
    in.v = fc.vapourFraction;
    in.vapour = in.v != 0.0;
    in.liquid = in.v != 1.0;
    in.molWeight.resize(n);
    in.boilingF.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        in.molWeight[i] = ToSingle(Cell(componentRows[i], kOrdinalMolWeight));
        in.boilingF[i] = ToSingle(Cell(componentRows[i], kOrdinalBoilingPoint));
    }
    return in;
}

// Per-component ideal-gas heat capacity, enthalpy and entropy at T, with the reference
// enthalpy and entropy of each component added.
struct IdealGasParts {
    std::vector<double> cp, h, s;
};

IdealGasParts IdealGasOf(const Inputs& in) {
    IdealGasParts out{std::vector<double>(in.n, 0.0), std::vector<double>(in.n, 0.0),
                      std::vector<double>(in.n, 0.0)};
    for (std::size_t i = 0; i < in.n; ++i) {
        const CoefficientSet set = in.Set(i, set_base::kIdealGasHeatCapacity);
        const auto& row = (*in.rows)[i];
        const double m = in.molWeight[i];
        Store(out.cp[i], [&] { return HeatCapacityCorrelation(set, in.tempF); });
        Store(out.h[i], [&] {
            return IdealGasEnthalpy(set, in.tempF) + Cell(row, kOrdinalReferenceEnthalpy) * m;
        });
        Store(out.s[i], [&] {
            return IdealGasEntropy(set, in.tempF) + Cell(row, kOrdinalReferenceEntropy) * m;
        });
    }
    return out;
}

double Weighted(std::span<const float> fractions, const std::vector<double>& values) {
    double sum = 0.0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        sum += static_cast<double>(fractions[i]) * values[i];
    }
    return sum;
}

// S = sum x_i S_i - R ln(P/1 atm) - R sum x_i ln x_i + departure, the mixing sum over the
// components present in the phase.
double PhaseEntropy(const Inputs& in, std::span<const float> fractions,
                    const std::vector<double>& s0, double departure) {
    double mixing = 0.0;
    for (std::size_t i = 0; i < in.n; ++i) {
        const double x = fractions[i];
        if (x != 0.0) {
            mixing += x * std::log(x);
        }
    }
    return Weighted(fractions, s0) - kGasConstantMixing * std::log(in.pressPsia / kAtmospherePsia) -
           kGasConstantMixing * mixing + departure;
}

// Enthalpy, entropy, departures and derived properties of a present phase (steps 11 and 13
// and the end of 14). The derived Cp is the vapour's heat capacity; the liquid takes its own
// from the liquid correlations and does not store this one.
void PhaseThermodynamics(const Inputs& in, std::size_t stream, std::span<const float> fractions,
                         float z, const IdealGasParts& ideal, PropertyResults& r) {
    const PhaseCondition phase = in.Phase(fractions, z);
    const double dH = EnthalpyDeparture(phase);
    const double dS = EntropyDeparture(phase);
    Store(r.enthalpy[stream], [&] { return Weighted(fractions, ideal.h) + dH; });
    Store(r.entropy[stream], [&] { return PhaseEntropy(in, fractions, ideal.s, dS); });
    ResidualProperties& residual = r.residual[stream];
    Store(residual.enthalpy, [&] { return dH; });
    Store(residual.entropy, [&] { return dS; });

    // The phase's ideal-gas heat capacity is a molar average (32-bit). The five values come in
    // order; those after the first failure keep their targets.
    const DerivedPropertyValues d =
        DerivedProperties(phase, MolarAverage(fractions, ideal.cp), r.molecularWeight[stream]);
    const std::size_t phaseIndex = stream == kVapour ? kVapourOnly : kLiquidOnly;
    if (d.written >= 1) {
        if (stream == kVapour) {
            r.heatCapacity[stream] = d.cp;
        }
        residual.heatCapacity = d.residualCp;
    }
    if (d.written >= 3) {
        r.heatCapacityRatio[stream] = d.cpCv;
    }
    if (d.written >= 4) {
        r.jouleThomson[phaseIndex] = d.jouleThomson;
    }
    if (d.written >= 5) {
        r.soundSpeed[phaseIndex] = d.soundSpeed;
    }
}

// Step 14: per component the liquid heat-capacity set (clamped into its range) when its cells
// are numeric, else the ideal-gas value plus the Rowlinson-Bondi residual.
float LiquidHeatCapacity(const Inputs& in, const IdealGasParts& ideal) {
    const FlashCase& fc = *in.flash;
    std::vector<double> cp(in.n, 0.0);
    for (std::size_t i = 0; i < in.n; ++i) {
        const CoefficientSet set = in.Set(i, set_base::kLiquidHeatCapacity);
        if (set.IsNumeric()) {
            Store(cp[i], [&] { return ClampedLiquidHeatCapacity(set, in.tempF); });
        } else {
            Store(cp[i], [&] {
                return ideal.cp[i] + RowlinsonBondiResidual(in.tempF, fc.tcF[i], fc.w[i]);
            });
        }
    }
    return MolarAverage(in.Of(fc.x), cp);
}

// Step 10: the liquid-density routes of one component, else the mixture Rackett density.
float LiquidDensity(const Inputs& in, CubicState& cubic) {
    const FlashCase& fc = *in.flash;
    if (in.n == 1) {
        const CoefficientSet set = in.Set(0, set_base::kLiquidDensity);
        if (set.IsUsableAt(in.tempK)) {
            return LiquidDensityCorrelation(set, in.tempF);
        }
        const double tr = FahrenheitToRankine(in.tempF) / FahrenheitToRankine(fc.tcF[0]);
        if (tr < 1.0) {
            return RackettDensity(in.tempF, RackettCompressibility(fc.w[0]), fc.pcPsia[0],
                                  fc.tcF[0]);
        }
        return TranslatedPengRobinsonDensity(fc.tempF, fc.pressPsia, fc.tcF[0], fc.pcPsia[0],
                                             fc.w[0], cubic);
    }
    std::vector<float> zra(in.n);
    for (std::size_t i = 0; i < in.n; ++i) {
        zra[i] = RackettCompressibility(fc.w[i]);
    }
    return MixtureRackettDensity(in.Of(fc.x), in.Of(fc.tcF), in.Of(fc.pcPsia), in.Of(fc.vc), zra,
                                 in.tempF);
}

// Step 12: per component from its set when usable, else Vetere's estimate carried to T by
// Watson's relation; a component whose value fails keeps 0 in the sum's array.
double HeatOfVaporization(const Inputs& in) {
    const FlashCase& fc = *in.flash;
    std::vector<double> hv(in.n, 0.0);
    for (std::size_t i = 0; i < in.n; ++i) {
        const CoefficientSet set = in.Set(i, set_base::kHeatOfVaporization);
        if (set.IsUsableAt(in.tempK)) {
            Store(hv[i], [&] { return HeatOfVaporizationCorrelation(set, in.tempF, fc.tcF[i]); });
        } else {
            Store(hv[i], [&] {
                const float hvb = VetereHeatOfVaporization(in.boilingF[i], fc.tcF[i], fc.pcPsia[i]);
                return WatsonHeatOfVaporization(hvb, in.tempF, in.boilingF[i], fc.tcF[i]);
            });
        }
    }
    return Weighted(in.Of(fc.x), hv);
}

// Step 21, outside the protected steps: per component the set when usable, else Brock-Bird
// below the component's Tc, else 0; molar average. A failure ends the calculation.
float SurfaceTension(const Inputs& in) {
    const FlashCase& fc = *in.flash;
    double sigma = 0.0;
    for (std::size_t i = 0; i < in.n; ++i) {
        const CoefficientSet set = in.Set(i, set_base::kSurfaceTension);
        double value = 0.0;
        if (set.IsUsableAt(in.tempK)) {
            value = SurfaceTensionCorrelation(set, in.tempF, fc.tcF[i]);
        } else if (fc.tempF < fc.tcF[i]) {
            value = BrockBirdSurfaceTension(in.tempF, in.boilingF[i], fc.tcF[i], fc.pcPsia[i]);
        }
        sigma += static_cast<double>(fc.x[i]) * value;
    }
    const float stored = ToSingle(sigma);
    if (!std::isfinite(stored)) {
        throw PropertyError("the surface tension of the liquid could not be evaluated");
    }
    return stored;
}

} // namespace

void CalculateMixtureProperties(FlashCase& flashCase,
                                const std::vector<std::vector<double>>& componentRows,
                                std::span<const std::string> componentNames,
                                PropertyResults& results) {
    // Step 1: nothing to do without components.
    if (flashCase.n < 1) {
        return;
    }
    const auto n = static_cast<std::size_t>(flashCase.n);
    CheckSizes(flashCase, n, componentRows);
    FlashCase& fc = flashCase;

    // Step 2: trace fractions of the feed are raised to 1e-7 (not renormalised).
    for (std::size_t i = 0; i < n; ++i) {
        if (fc.z[i] < 1e-7F) {
            fc.z[i] = 1e-7F;
        }
    }

    // Step 3: the equation of state as the flash used it, and which phases are present.
    const Inputs in = InputsOf(fc, n, componentRows, componentNames);
    const double v = in.v;
    PropertyResults& r = results;
    r.calculated = true;
    r.vapourPresent = in.vapour;
    r.liquidPresent = in.liquid;

    const std::span<const float> y = in.Of(fc.y);
    const std::span<const float> x = in.Of(fc.x);
    const std::span<const float> tc = in.Of(fc.tcF);
    const std::span<const float> vc = in.Of(fc.vc);
    const std::span<const float> zc = in.Of(fc.zc);
    const std::array<std::span<const float>, 3> streams{in.Of(fc.z), y, x};

    // Step 4: compressibility factors.
    Store(r.compressibility[kFeed], [&] { return v * fc.vapourZ + (1.0 - v) * fc.liquidZ; });
    r.compressibility[kVapour] = fc.vapourZ;
    r.compressibility[kLiquid] = fc.liquidZ;

    // Steps 5 to 8: molecular weight and pseudo-critical constants of each stream.
    for (std::size_t s = 0; s < 3; ++s) {
        Store(r.molecularWeight[s], [&] { return MolarAverage(streams[s], in.molWeight); });
        Store(r.pseudoCriticalVolume[s], [&] { return MolarAverage(streams[s], vc); });
        Store(r.pseudoCriticalTempF[s],
              [&] { return PseudoCriticalTemperature(streams[s], tc, vc); });
        Store(r.pseudoCriticalPressPsia[s],
              [&] { return PseudoCriticalPressure(streams[s], vc, tc, zc); });
    }

    // Steps 9 and 10: densities. The feed's molar volume is the sum of its phases' volumes.
    CubicState cubic;
    Store(r.molarDensity[kVapour],
          [&] { return VapourMolarDensity(fc.vapourZ, in.tempF, in.pressPsia); });
    if (!in.liquid) {
        r.molarDensity[kLiquid] = 0.0F;
    } else {
        Store(r.molarDensity[kLiquid], [&] { return LiquidDensity(in, cubic); });
    }
    Store(r.molarDensity[kFeed], [&] {
        return TwoPhaseMolarDensity(v, r.molarDensity[kVapour], r.molarDensity[kLiquid]);
    });

    // Step 11: vapour enthalpy, entropy and derived properties.
    const IdealGasParts ideal = IdealGasOf(in);
    if (in.vapour) {
        PhaseThermodynamics(in, kVapour, y, fc.vapourZ, ideal, r);
    }

    // Step 12: heat of vaporization of the liquid.
    Store(r.heatOfVaporization, [&] { return HeatOfVaporization(in); });

    // Steps 13 and 14: liquid enthalpy, entropy, heat capacity and derived properties. The
    // entropy departure of the liquid root already holds the entropy of vaporization.
    if (in.liquid) {
        PhaseThermodynamics(in, kLiquid, x, fc.liquidZ, ideal, r);
        Store(r.heatCapacity[kLiquid], [&] { return LiquidHeatCapacity(in, ideal); });
    }

    // Step 15: feed values weighted by the vapour fraction. An absent phase has weight 0 and
    // is left out, as its field may hold no number.
    auto feedOf = [&](double vapourValue, double liquidValue) {
        return (in.vapour ? v * vapourValue : 0.0) + (in.liquid ? (1.0 - v) * liquidValue : 0.0);
    };
    Store(r.heatCapacity[kFeed],
          [&] { return feedOf(r.heatCapacity[kVapour], r.heatCapacity[kLiquid]); });
    Store(r.enthalpy[kFeed], [&] { return feedOf(r.enthalpy[kVapour], r.enthalpy[kLiquid]); });
    Store(r.entropy[kFeed], [&] { return feedOf(r.entropy[kVapour], r.entropy[kLiquid]); });
    const ResidualProperties& resV = r.residual[kVapour];
    const ResidualProperties& resL = r.residual[kLiquid];
    Store(r.residual[kFeed].enthalpy, [&] { return feedOf(resV.enthalpy, resL.enthalpy); });
    Store(r.residual[kFeed].entropy, [&] { return feedOf(resV.entropy, resL.entropy); });
    Store(r.residual[kFeed].heatCapacity,
          [&] { return feedOf(resV.heatCapacity, resL.heatCapacity); });

    // Steps 16 to 19: viscosities and thermal conductivities of the phases.
    CalculateTransport(in, ideal.cp, r);

    // Step 20: the feed's heat-capacity ratio from its phases (an absent phase counts 0).
    Store(r.heatCapacityRatio[kFeed],
          [&] { return feedOf(r.heatCapacityRatio[kVapour], r.heatCapacityRatio[kLiquid]); });

    // Step 21: surface tension of the liquid. From here a failure ends the calculation.
    if (in.liquid) {
        r.surfaceTension = SurfaceTension(in);
    }
}

} // namespace quorvane
