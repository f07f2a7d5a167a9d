#include "engine/properties/mixture_properties.h"

#include "engine/eos/cubic_roots.h"
#include "engine/eos/engine_errors.h"
#include "engine/precision.h"
#include "engine/properties/coefficient_set.h"
#include "engine/properties/departures.h"
#include "engine/properties/property_constants.h"
#include "engine/properties/property_errors.h"
#include "engine/properties/pure_correlations.h"
#include "engine/properties/translated_density.h"
#include "engine/properties/transport.h"

#include <cmath>
#include <limits>

namespace quorvane {

namespace {

constexpr std::size_t kFeed = 0;
constexpr std::size_t kVapour = 1;
constexpr std::size_t kLiquid = 2;
// Index of the vapour and liquid in the two-stream arrays.
constexpr std::size_t kVapourOnly = 0;
constexpr std::size_t kLiquidOnly = 1;

constexpr int kOrdinalMolWeight = 2;
constexpr int kOrdinalBoilingPoint = 7;
constexpr int kOrdinalReferenceEnthalpy = 12;
constexpr int kOrdinalReferenceEntropy = 14;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// One statement of the protected part of the calculation: the target takes the computed value
// only when it is finite (after narrowing to its 32-bit storage); otherwise it keeps its
// previous value. A root-finder failure counts as a failed statement.
template <typename Compute>
void Store(float& target, Compute&& compute) {
    double value = kNaN;
    try {
        value = compute();
    } catch (const EngineError&) {
        return;
    }
    const float narrowed = ToSingle(value);
    if (std::isfinite(narrowed)) {
        target = narrowed;
    }
}

template <typename Compute>
void Store(double& target, Compute&& compute) {
    double value = kNaN;
    try {
        value = compute();
    } catch (const EngineError&) {
        return;
    }
    if (std::isfinite(value)) {
        target = value;
    }
}

double Cell(const std::vector<double>& row, int ordinal) {
    const auto k = static_cast<std::size_t>(ordinal);
    return k < row.size() ? row[k] : kNaN;
}

EosEquation EquationOfIndex(int index) {
    switch (index) {
    case 0:
        return EosEquation::RK;
    case 1:
    case 2:
        return EosEquation::SRK;
    case 3:
    case 4:
        return EosEquation::PR;
    default:
        return EosEquation::Unknown;
    }
}

EosVariant VariantOfIndex(int index) {
    return index == 2 || index == 4 ? EosVariant::V78 : EosVariant::Original;
}

// Everything the steps read, gathered once.
struct Inputs {
    std::size_t n = 0;
    const FlashCase* flash = nullptr;
    const std::vector<std::vector<double>>* rows = nullptr;
    std::span<const std::string> names;
    EosEquation equation = EosEquation::Unknown;
    EosVariant variant = EosVariant::Original;
    double tempF = 0.0;
    double tempK = 0.0;
    double pressPsia = 0.0;
    double v = 0.0;
    std::vector<float> molWeight; // working arrays of 32-bit values
    std::vector<float> boilingF;

    CoefficientSet Set(std::size_t i, int base) const {
        return CoefficientSet::FromRow((*rows)[i], base);
    }
    std::string_view Name(std::size_t i) const {
        return i < names.size() ? std::string_view(names[i]) : std::string_view();
    }
    PhaseCondition Phase(std::span<const float> composition, double z) const {
        PhaseCondition phase;
        phase.equation = equation;
        phase.variant = variant;
        phase.tempF = flash->tempF;
        phase.pressPsia = flash->pressPsia;
        phase.x = composition;
        phase.z = z;
        phase.tcF = flash->tcF;
        phase.pcPsia = flash->pcPsia;
        phase.w = flash->w;
        phase.kij = flash->kij.View();
        return phase;
    }
};

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

// The derived properties of a phase, stored in order until the first that failed.
void StoreDerived(const DerivedPropertyValues& d, float* cp, float& ratio, float& jouleThomson,
                  float& sound, double& residualCp) {
    if (d.written >= 1) {
        if (cp != nullptr) {
            *cp = d.cp;
        }
        residualCp = d.residualCp;
    }
    if (d.written >= 3) {
        ratio = d.cpCv;
    }
    if (d.written >= 4) {
        jouleThomson = d.jouleThomson;
    }
    if (d.written >= 5) {
        sound = d.soundSpeed;
    }
}

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
    const std::span<const float> x(fc.x.data(), in.n);
    return MixtureRackettDensity(x, std::span(fc.tcF).first(in.n), std::span(fc.pcPsia).first(in.n),
                                 std::span(fc.vc).first(in.n), zra, in.tempF);
}

// Per component from its set when usable, else Vetere's estimate carried to T by Watson's
// relation; a component whose value fails keeps 0 in the sum's array.
double HeatOfVaporization(const Inputs& in, std::span<const float> x) {
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
    return Weighted(x, hv);
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

    // Step 3: the equation of state by list index.
    Inputs in;
    in.n = n;
    in.flash = &fc;
    in.rows = &componentRows;
    in.names = componentNames;
    in.equation = EquationOfIndex(fc.eosIndex);
    in.variant = VariantOfIndex(fc.eosIndex);
    in.tempF = fc.tempF;
    in.tempK = FahrenheitToKelvin(fc.tempF);
    in.pressPsia = fc.pressPsia;
    in.v = fc.vapourFraction;
    in.molWeight.resize(n);
    in.boilingF.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        in.molWeight[i] = ToSingle(Cell(componentRows[i], kOrdinalMolWeight));
        in.boilingF[i] = ToSingle(Cell(componentRows[i], kOrdinalBoilingPoint));
    }
    const double v = in.v;
    const bool vapour = v != 0.0;
    const bool liquid = v != 1.0;
    results.calculated = true;
    results.vapourPresent = vapour;
    results.liquidPresent = liquid;

    PropertyResults& r = results;
    const std::span<const float> z(fc.z.data(), n);
    const std::span<const float> y(fc.y.data(), n);
    const std::span<const float> x(fc.x.data(), n);
    const std::span<const float> tc(fc.tcF.data(), n);
    const std::span<const float> pc(fc.pcPsia.data(), n);
    const std::span<const float> vc(fc.vc.data(), n);
    const std::span<const float> zc(fc.zc.data(), n);
    const std::array<std::span<const float>, 3> streams{z, y, x};

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
    if (!liquid) {
        r.molarDensity[kLiquid] = 0.0F;
    } else {
        Store(r.molarDensity[kLiquid], [&] { return LiquidDensity(in, cubic); });
    }
    Store(r.molarDensity[kFeed], [&] {
        return TwoPhaseMolarDensity(v, r.molarDensity[kVapour], r.molarDensity[kLiquid]);
    });

    // Step 11: vapour enthalpy, entropy and derived properties.
    const IdealGasParts ideal = IdealGasOf(in);
    if (vapour) {
        const PhaseCondition phase = in.Phase(y, fc.vapourZ);
        const double dH = EnthalpyDeparture(phase);
        const double dS = EntropyDeparture(phase);
        Store(r.enthalpy[kVapour], [&] { return Weighted(y, ideal.h) + dH; });
        Store(r.entropy[kVapour], [&] { return PhaseEntropy(in, y, ideal.s, dS); });
        Store(r.residual[kVapour].enthalpy, [&] { return dH; });
        Store(r.residual[kVapour].entropy, [&] { return dS; });
        const double cp0 = Weighted(y, ideal.cp);
        const DerivedPropertyValues d = DerivedProperties(phase, cp0, r.molecularWeight[kVapour]);
        StoreDerived(d, &r.heatCapacity[kVapour], r.heatCapacityRatio[kVapour],
                     r.jouleThomson[kVapourOnly], r.soundSpeed[kVapourOnly],
                     r.residual[kVapour].heatCapacity);
    }

    // Step 12: heat of vaporization of the liquid.
    Store(r.heatOfVaporization, [&] { return HeatOfVaporization(in, x); });

    // Steps 13 and 14: liquid enthalpy, entropy, heat capacity and derived properties. The
    // entropy departure of the liquid root already holds the entropy of vaporization.
    if (liquid) {
        const PhaseCondition phase = in.Phase(x, fc.liquidZ);
        const double dH = EnthalpyDeparture(phase);
        const double dS = EntropyDeparture(phase);
        Store(r.enthalpy[kLiquid], [&] { return Weighted(x, ideal.h) + dH; });
        Store(r.entropy[kLiquid], [&] { return PhaseEntropy(in, x, ideal.s, dS); });
        Store(r.residual[kLiquid].enthalpy, [&] { return dH; });
        Store(r.residual[kLiquid].entropy, [&] { return dS; });

        std::vector<double> cpLiquid(n, 0.0);
        for (std::size_t i = 0; i < n; ++i) {
            const CoefficientSet set = in.Set(i, set_base::kLiquidHeatCapacity);
            if (set.IsNumeric()) {
                Store(cpLiquid[i], [&] { return ClampedLiquidHeatCapacity(set, in.tempF); });
            } else {
                Store(cpLiquid[i], [&] {
                    return ideal.cp[i] + RowlinsonBondiResidual(in.tempF, tc[i], fc.w[i]);
                });
            }
        }
        Store(r.heatCapacity[kLiquid], [&] { return Weighted(x, cpLiquid); });
        const double cp0 = Weighted(x, ideal.cp);
        const DerivedPropertyValues d = DerivedProperties(phase, cp0, r.molecularWeight[kLiquid]);
        StoreDerived(d, nullptr, r.heatCapacityRatio[kLiquid], r.jouleThomson[kLiquidOnly],
                     r.soundSpeed[kLiquidOnly], r.residual[kLiquid].heatCapacity);
    }

    // Step 15: feed values weighted by the vapour fraction.
    auto feedOf = [&](const auto& values) {
        return v * static_cast<double>(values[kVapour]) +
               (1.0 - v) * static_cast<double>(values[kLiquid]);
    };
    Store(r.heatCapacity[kFeed], [&] { return feedOf(r.heatCapacity); });
    Store(r.enthalpy[kFeed], [&] { return feedOf(r.enthalpy); });
    Store(r.entropy[kFeed], [&] { return feedOf(r.entropy); });
    Store(r.residual[kFeed].enthalpy, [&] {
        return v * r.residual[kVapour].enthalpy + (1.0 - v) * r.residual[kLiquid].enthalpy;
    });
    Store(r.residual[kFeed].entropy, [&] {
        return v * r.residual[kVapour].entropy + (1.0 - v) * r.residual[kLiquid].entropy;
    });
    Store(r.residual[kFeed].heatCapacity, [&] {
        return v * r.residual[kVapour].heatCapacity + (1.0 - v) * r.residual[kLiquid].heatCapacity;
    });

    // Step 16: vapour viscosity, with the dense-gas term at the vapour's reduced density.
    std::vector<float> etaVapour(n, 0.0F);
    const double rhoR =
        static_cast<double>(r.pseudoCriticalVolume[kVapour]) * r.molarDensity[kVapour];
    if (vapour) {
        for (std::size_t i = 0; i < n; ++i) {
            const CoefficientSet set = in.Set(i, set_base::kVapourViscosity);
            if (set.IsUsableAt(in.tempK)) {
                Store(etaVapour[i], [&] {
                    return EvaluateSet(set, SetProperty::Viscosity, in.tempK,
                                       FahrenheitToKelvin(tc[i]));
                });
            } else {
                Store(etaVapour[i], [&] {
                    return YoonThodosViscosity(in.Name(i), in.tempF, tc[i], pc[i], in.molWeight[i]);
                });
            }
        }
        Store(r.viscosity[kVapourOnly], [&] {
            return static_cast<double>(WilkeViscosityMixing(y, in.molWeight, etaVapour)) +
                   DeanStielIncrement(rhoR, r.pseudoCriticalTempF[kVapour],
                                      r.pseudoCriticalPressPsia[kVapour],
                                      r.molecularWeight[kVapour]);
        });
    }

    // Step 17: liquid viscosity, pressure-corrected where a vapour-pressure set applies,
    // mixed logarithmically by mass fraction.
    if (liquid) {
        std::vector<float> etaLiquid(n, 0.0F);
        for (std::size_t i = 0; i < n; ++i) {
            const CoefficientSet set = in.Set(i, set_base::kLiquidViscosity);
            if (set.IsUsableAt(in.tempK)) {
                Store(etaLiquid[i], [&] {
                    return EvaluateSet(set, SetProperty::Viscosity, in.tempK,
                                       FahrenheitToKelvin(tc[i]));
                });
            } else {
                Store(etaLiquid[i], [&] {
                    return LetsouStielViscosity(in.tempF, tc[i], pc[i], fc.w[i], in.molWeight[i]);
                });
            }
            const CoefficientSet vp = in.Set(i, set_base::kVapourPressure);
            if (vp.IsUsableAt(in.tempK)) {
                Store(etaLiquid[i], [&] {
                    const double pvp = VapourPressureCorrelation(vp, in.tempF);
                    return static_cast<double>(etaLiquid[i]) *
                           LucasPressureRatio(in.tempF, tc[i], in.pressPsia, pvp, pc[i], fc.w[i]);
                });
            }
        }
        std::vector<float> massFractions(n, 0.0F);
        double massSum = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            massSum += static_cast<double>(x[i]) * in.molWeight[i];
        }
        for (std::size_t i = 0; i < n; ++i) {
            Store(massFractions[i],
                  [&] { return static_cast<double>(x[i]) * in.molWeight[i] / massSum; });
        }
        Store(r.viscosity[kLiquidOnly], [&] { return LogMeanMixing(massFractions, etaLiquid); });
    }

    // Step 18: vapour conductivity. The per-component array is shared with step 19: a
    // supercritical component without a liquid set keeps its vapour value there.
    std::vector<float> lambda(n, 0.0F);
    if (vapour) {
        for (std::size_t i = 0; i < n; ++i) {
            const CoefficientSet set = in.Set(i, set_base::kVapourConductivity);
            if (set.IsUsableAt(in.tempK)) {
                Store(lambda[i], [&] {
                    return EvaluateSet(set, SetProperty::ThermalConductivity, in.tempK,
                                       FahrenheitToKelvin(tc[i]));
                });
            } else {
                Store(lambda[i], [&] {
                    return EuckenConductivity(ideal.cp[i], etaVapour[i], in.molWeight[i]);
                });
            }
        }
        Store(r.thermalConductivity[kVapourOnly], [&] {
            const double zcVapour = MolarAverage(y, zc);
            return static_cast<double>(MolarAverage(y, lambda)) +
                   StielThodosIncrement(rhoR, r.pseudoCriticalTempF[kVapour],
                                        r.pseudoCriticalPressPsia[kVapour],
                                        r.molecularWeight[kVapour], zcVapour);
        });
    }

    // Step 19: liquid conductivity with its pressure factor.
    if (liquid) {
        for (std::size_t i = 0; i < n; ++i) {
            const CoefficientSet set = in.Set(i, set_base::kLiquidConductivity);
            if (set.IsUsableAt(in.tempK)) {
                Store(lambda[i], [&] {
                    return EvaluateSet(set, SetProperty::ThermalConductivity, in.tempK,
                                       FahrenheitToKelvin(tc[i]));
                });
            } else if (fc.tempF < tc[i]) {
                Store(lambda[i], [&] {
                    return SatoRiedelConductivity(in.tempF, tc[i], in.boilingF[i], in.molWeight[i]);
                });
            }
        }
        Store(r.thermalConductivity[kLiquidOnly], [&] {
            const double tcLiquid = r.pseudoCriticalTempF[kLiquid];
            double factor = 1.0;
            if (in.pressPsia > 50.0 && in.tempF < tcLiquid) {
                const double tr = FahrenheitToRankine(in.tempF) / FahrenheitToRankine(tcLiquid);
                const double pr = in.pressPsia / r.pseudoCriticalPressPsia[kLiquid];
                factor = LiquidConductivityPressureFactor(tr, pr);
            }
            return static_cast<double>(MolarAverage(x, lambda)) * factor;
        });
    }

    // Step 20: the feed's heat-capacity ratio from its phases (an absent phase counts 0).
    Store(r.heatCapacityRatio[kFeed], [&] {
        const double vapourRatio = vapour ? r.heatCapacityRatio[kVapour] : 0.0;
        const double liquidRatio = liquid ? r.heatCapacityRatio[kLiquid] : 0.0;
        return v * vapourRatio + (1.0 - v) * liquidRatio;
    });

    // Step 21: surface tension of the liquid. From here a failure ends the calculation.
    if (liquid) {
        double sigma = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            const CoefficientSet set = in.Set(i, set_base::kSurfaceTension);
            double value = 0.0;
            if (set.IsUsableAt(in.tempK)) {
                value = SurfaceTensionCorrelation(set, in.tempF, tc[i]);
            } else if (fc.tempF < tc[i]) {
                value = BrockBirdSurfaceTension(in.tempF, in.boilingF[i], tc[i], pc[i]);
            }
            sigma += static_cast<double>(x[i]) * value;
        }
        const float stored = ToSingle(sigma);
        if (!std::isfinite(stored)) {
            throw PropertyError("the surface tension of the liquid could not be evaluated");
        }
        r.surfaceTension = stored;
    }
}

} // namespace quorvane
