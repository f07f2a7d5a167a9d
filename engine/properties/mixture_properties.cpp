#include "engine/properties/mixture_properties.h"

#include "engine/eos/cubic_roots.h"
#include "engine/eos/engine_errors.h"
#include "engine/properties/property_constants.h"
#include "engine/properties/property_errors.h"
#include "engine/properties/property_steps.h"
#include "engine/properties/pure_correlations.h"
#include "engine/properties/stream_transport.h"
#include "engine/properties/translated_density.h"

#include <string>
#include <string_view>
#include <tuple>

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
// enthalpy and entropy of each component added, and the components whose values failed.
struct IdealGasParts {
    std::vector<double> cp, h, s;
    ComponentGaps cpGaps, hGaps, sGaps;
};

constexpr std::string_view kIdealGasSet = "ideal-gas heat-capacity";

// The ideal-gas set is used without a range test; a set that is incomplete or of a code the
// heat capacity does not take gives no value (its form would give 0 or not a number).
IdealGasParts IdealGasOf(const Inputs& in) {
    IdealGasParts out{std::vector<double>(in.n, 0.0),
                      std::vector<double>(in.n, 0.0),
                      std::vector<double>(in.n, 0.0),
                      ComponentGaps(in.n),
                      ComponentGaps(in.n),
                      ComponentGaps(in.n)};
    for (std::size_t i = 0; i < in.n; ++i) {
        const CoefficientSet set = in.Set(i, set_base::kIdealGasHeatCapacity);
        const auto& row = (*in.rows)[i];
        const double m = in.molWeight[i];
        const auto setNote = [&] {
            return SetNote(in, i, set, SetProperty::HeatCapacity, kIdealGasSet);
        };
        if (!set.IsNumeric() || !AcceptsCode(SetProperty::HeatCapacity, set.Code())) {
            out.cpGaps.Fail(i, setNote());
            out.hGaps.Fail(i, setNote());
            out.sGaps.Fail(i, setNote());
            continue;
        }
        StoreComponent(
            out.cp[i], out.cpGaps, i, [&] { return HeatCapacityCorrelation(set, in.tempF); },
            setNote);
        const auto referenceNote = [&](int ordinal, std::string_view what) {
            return std::isfinite(Cell(row, ordinal) * m) ? setNote() : MissingDataNote(in, i, what);
        };
        StoreComponent(
            out.h[i], out.hGaps, i,
            [&] {
                return IdealGasEnthalpy(set, in.tempF) + Cell(row, kOrdinalReferenceEnthalpy) * m;
            },
            [&] { return referenceNote(kOrdinalReferenceEnthalpy, "reference enthalpy"); });
        StoreComponent(
            out.s[i], out.sGaps, i,
            [&] {
                return IdealGasEntropy(set, in.tempF) + Cell(row, kOrdinalReferenceEntropy) * m;
            },
            [&] { return referenceNote(kOrdinalReferenceEntropy, "reference entropy"); });
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
    // Everything here stands on the phase's Z from the flash.
    Shortfall root;
    root.Add(r, Quantity::Compressibility, stream);
    Put(
        r, Quantity::Enthalpy, stream, r.enthalpy[stream],
        [&] { return Weighted(fractions, ideal.h) + dH; }, Shortfall(root).Add(ideal.hGaps));
    Put(
        r, Quantity::Entropy, stream, r.entropy[stream],
        [&] { return PhaseEntropy(in, fractions, ideal.s, dS); }, Shortfall(root).Add(ideal.sGaps));
    ResidualProperties& residual = r.residual[stream];
    Put(
        r, Quantity::ResidualEnthalpy, stream, residual.enthalpy, [&] { return dH; }, root);
    Put(
        r, Quantity::ResidualEntropy, stream, residual.entropy, [&] { return dS; }, root);

    // The phase's ideal-gas heat capacity is a molar average (32-bit). The five values come in
    // order; those after the first failure keep their targets.
    const DerivedPropertyValues d =
        DerivedProperties(phase, MolarAverage(fractions, ideal.cp), r.molecularWeight[stream]);
    const std::size_t phaseIndex = stream == kVapour ? kVapourOnly : kLiquidOnly;
    const Shortfall withCp = Shortfall(root).Add(ideal.cpGaps);
    if (d.written >= 1) {
        if (stream == kVapour) {
            r.heatCapacity[stream] = d.cp;
        }
        residual.heatCapacity = d.residualCp;
    }
    if (stream == kVapour) {
        Settle(r, Quantity::HeatCapacity, stream, d.written >= 1, withCp);
    }
    Settle(r, Quantity::ResidualHeatCapacity, stream, d.written >= 1, root);
    if (d.written >= 3) {
        r.heatCapacityRatio[stream] = d.cpCv;
    }
    Settle(r, Quantity::HeatCapacityRatio, stream, d.written >= 3, withCp);
    if (d.written >= 4) {
        r.jouleThomson[phaseIndex] = d.jouleThomson;
    }
    Settle(r, Quantity::JouleThomson, stream, d.written >= 4, withCp);
    if (d.written >= 5) {
        r.soundSpeed[phaseIndex] = d.soundSpeed;
    }
    Settle(r, Quantity::SoundSpeed, stream, d.written >= 5,
           Shortfall(withCp).Add(r, Quantity::MolecularWeight, stream));
}

// Step 14: per component the liquid heat-capacity set (clamped into its range) when its cells
// are numeric, else the ideal-gas value plus the Rowlinson-Bondi residual.
void LiquidHeatCapacity(const Inputs& in, const IdealGasParts& ideal, PropertyResults& r) {
    const FlashCase& fc = *in.flash;
    std::vector<double> cp(in.n, 0.0);
    ComponentGaps gaps(in.n);
    for (std::size_t i = 0; i < in.n; ++i) {
        const CoefficientSet set = in.Set(i, set_base::kLiquidHeatCapacity);
        if (set.IsNumeric()) {
            StoreComponent(
                cp[i], gaps, i,
                [&] {
                    return AcceptsCode(SetProperty::HeatCapacity, set.Code())
                               ? ClampedLiquidHeatCapacity(set, in.tempF)
                               : std::nanf("");
                },
                [&] {
                    return SetNote(in, i, set, SetProperty::HeatCapacity, "liquid heat-capacity");
                });
        } else if (ideal.cpGaps.Failed(i)) {
            gaps.Fail(i, ideal.cpGaps.NoteOf(i));
        } else {
            StoreComponent(
                cp[i], gaps, i,
                [&] { return ideal.cp[i] + RowlinsonBondiResidual(in.tempF, fc.tcF[i], fc.w[i]); },
                [&] { return EstimateNote(in, i, "Rowlinson-Bondi liquid heat capacity"); });
        }
    }
    Put(
        r, Quantity::HeatCapacity, kLiquid, r.heatCapacity[kLiquid],
        [&] { return MolarAverage(in.Of(fc.x), cp); }, Shortfall().Add(gaps));
}

// Step 10: the liquid-density routes of one component, else the mixture Rackett density.
float LiquidDensity(const Inputs& in, CubicState& cubic) {
    const FlashCase& fc = *in.flash;
    if (in.n == 1) {
        const CoefficientSet set = in.Set(0, set_base::kLiquidDensity);
        if (set.IsUsableAt(in.tempK)) {
            return AcceptsCode(SetProperty::LiquidDensity, set.Code())
                       ? LiquidDensityCorrelation(set, in.tempF)
                       : std::nanf("");
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
void HeatOfVaporization(const Inputs& in, PropertyResults& r) {
    const FlashCase& fc = *in.flash;
    std::vector<double> hv(in.n, 0.0);
    ComponentGaps gaps(in.n);
    for (std::size_t i = 0; i < in.n; ++i) {
        const CoefficientSet set = in.Set(i, set_base::kHeatOfVaporization);
        if (set.IsUsableAt(in.tempK)) {
            StoreComponent(
                hv[i], gaps, i,
                [&] {
                    return AcceptsCode(SetProperty::HeatOfVaporization, set.Code())
                               ? HeatOfVaporizationCorrelation(set, in.tempF, fc.tcF[i])
                               : std::nanf("");
                },
                [&] {
                    return SetNote(in, i, set, SetProperty::HeatOfVaporization,
                                   "heat-of-vaporization");
                });
        } else {
            StoreComponent(
                hv[i], gaps, i,
                [&] {
                    const float hvb =
                        VetereHeatOfVaporization(in.boilingF[i], fc.tcF[i], fc.pcPsia[i]);
                    return WatsonHeatOfVaporization(hvb, in.tempF, in.boilingF[i], fc.tcF[i]);
                },
                [&] { return EstimateNote(in, i, "Vetere heat-of-vaporization estimate", true); });
        }
    }
    Put(
        r, Quantity::HeatOfVaporization, kLiquid, r.heatOfVaporization,
        [&] { return Weighted(in.Of(fc.x), hv); }, Shortfall().Add(gaps));
}

// Step 21, outside the protected steps: per component the set when usable, else Brock-Bird
// below the component's Tc, else 0; molar average. A failure is noted on the value and ends
// the calculation.
void SurfaceTension(const Inputs& in, PropertyResults& r) {
    const FlashCase& fc = *in.flash;
    double sigma = 0.0;
    std::string note;
    for (std::size_t i = 0; i < in.n; ++i) {
        const CoefficientSet set = in.Set(i, set_base::kSurfaceTension);
        double value = 0.0;
        if (set.IsUsableAt(in.tempK)) {
            value = AcceptsCode(SetProperty::SurfaceTension, set.Code())
                        ? SurfaceTensionCorrelation(set, in.tempF, fc.tcF[i])
                        : std::nan("");
            if (!std::isfinite(value) && note.empty()) {
                note = SetNote(in, i, set, SetProperty::SurfaceTension, "surface-tension");
            }
        } else if (fc.tempF < fc.tcF[i]) {
            value = BrockBirdSurfaceTension(in.tempF, in.boilingF[i], fc.tcF[i], fc.pcPsia[i]);
            if (!std::isfinite(value) && note.empty()) {
                note = EstimateNote(in, i, "Brock-Bird surface-tension estimate", true);
            }
        }
        sigma += static_cast<double>(fc.x[i]) * value;
    }
    const float stored = ToSingle(sigma);
    if (!std::isfinite(stored)) {
        if (note.empty()) {
            note = "the surface tension of the liquid could not be evaluated";
        }
        r.AddNote(Quantity::SurfaceTension, Stream::Liquid, note);
        throw PropertyError(note);
    }
    r.surfaceTension = stored;
    r.MarkComputed(Quantity::SurfaceTension, Stream::Liquid);
}

} // namespace

void CalculateMixtureProperties(FlashCase& flashCase,
                                const std::vector<std::vector<double>>& componentRows,
                                std::span<const std::string> componentNames,
                                PropertyResults& results) {
    // No value of an earlier calculation counts as this one's, whatever happens below.
    results.BeginCalculation();
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
    // An input of each present phase (the feed's values are made from them).
    const auto fromPhases = [&](Quantity quantity) {
        return Shortfall()
            .AddIf(in.vapour, r, quantity, kVapour)
            .AddIf(in.liquid, r, quantity, kLiquid);
    };

    // Step 4: compressibility factors. A present phase needs a positive Z from the flash.
    r.compressibility[kVapour] = fc.vapourZ;
    r.compressibility[kLiquid] = fc.liquidZ;
    for (const auto& [stream, present, z, name] :
         {std::tuple{kVapour, in.vapour, fc.vapourZ, "vapour"},
          std::tuple{kLiquid, in.liquid, fc.liquidZ, "liquid"}}) {
        if (present && std::isfinite(z) && z > 0.0F) {
            r.MarkComputed(Quantity::Compressibility, static_cast<Stream>(stream));
        } else if (present) {
            r.AddNote(Quantity::Compressibility, static_cast<Stream>(stream),
                      std::string("the flash left no valid compressibility factor for the ") +
                          name);
        }
    }
    Put(
        r, Quantity::Compressibility, kFeed, r.compressibility[kFeed],
        [&] { return v * fc.vapourZ + (1.0 - v) * fc.liquidZ; },
        fromPhases(Quantity::Compressibility));

    // Steps 5 to 8: molecular weight and pseudo-critical constants of each stream.
    for (std::size_t s = 0; s < 3; ++s) {
        Put(r, Quantity::MolecularWeight, s, r.molecularWeight[s],
            [&] { return MolarAverage(streams[s], in.molWeight); });
        Put(r, Quantity::PseudoCriticalVolume, s, r.pseudoCriticalVolume[s],
            [&] { return MolarAverage(streams[s], vc); });
        Put(r, Quantity::PseudoCriticalTemperature, s, r.pseudoCriticalTempF[s],
            [&] { return PseudoCriticalTemperature(streams[s], tc, vc); });
        Put(r, Quantity::PseudoCriticalPressure, s, r.pseudoCriticalPressPsia[s],
            [&] { return PseudoCriticalPressure(streams[s], vc, tc, zc); });
    }

    // Steps 9 and 10: densities. The feed's molar volume is the sum of its phases' volumes.
    CubicState cubic;
    Put(
        r, Quantity::MolarDensity, kVapour, r.molarDensity[kVapour],
        [&] { return VapourMolarDensity(fc.vapourZ, in.tempF, in.pressPsia); },
        Shortfall().Add(r, Quantity::Compressibility, kVapour));
    if (!in.liquid) {
        r.molarDensity[kLiquid] = 0.0F;
    } else {
        Put(r, Quantity::MolarDensity, kLiquid, r.molarDensity[kLiquid],
            [&] { return LiquidDensity(in, cubic); });
    }
    Put(
        r, Quantity::MolarDensity, kFeed, r.molarDensity[kFeed],
        [&] { return TwoPhaseMolarDensity(v, r.molarDensity[kVapour], r.molarDensity[kLiquid]); },
        fromPhases(Quantity::MolarDensity));

    // Step 11: vapour enthalpy, entropy and derived properties.
    const IdealGasParts ideal = IdealGasOf(in);
    if (in.vapour) {
        PhaseThermodynamics(in, kVapour, y, fc.vapourZ, ideal, r);
    }

    // Step 12: heat of vaporization of the liquid.
    HeatOfVaporization(in, r);

    // Steps 13 and 14: liquid enthalpy, entropy, heat capacity and derived properties. The
    // entropy departure of the liquid root already holds the entropy of vaporization.
    if (in.liquid) {
        PhaseThermodynamics(in, kLiquid, x, fc.liquidZ, ideal, r);
        LiquidHeatCapacity(in, ideal, r);
    }

    // Step 15: feed values weighted by the vapour fraction. An absent phase has weight 0 and
    // is left out, as its field may hold no number.
    auto feedOf = [&](double vapourValue, double liquidValue) {
        return (in.vapour ? v * vapourValue : 0.0) + (in.liquid ? (1.0 - v) * liquidValue : 0.0);
    };
    Put(
        r, Quantity::HeatCapacity, kFeed, r.heatCapacity[kFeed],
        [&] { return feedOf(r.heatCapacity[kVapour], r.heatCapacity[kLiquid]); },
        fromPhases(Quantity::HeatCapacity));
    Put(
        r, Quantity::Enthalpy, kFeed, r.enthalpy[kFeed],
        [&] { return feedOf(r.enthalpy[kVapour], r.enthalpy[kLiquid]); },
        fromPhases(Quantity::Enthalpy));
    Put(
        r, Quantity::Entropy, kFeed, r.entropy[kFeed],
        [&] { return feedOf(r.entropy[kVapour], r.entropy[kLiquid]); },
        fromPhases(Quantity::Entropy));
    const ResidualProperties& resV = r.residual[kVapour];
    const ResidualProperties& resL = r.residual[kLiquid];
    Put(
        r, Quantity::ResidualEnthalpy, kFeed, r.residual[kFeed].enthalpy,
        [&] { return feedOf(resV.enthalpy, resL.enthalpy); },
        fromPhases(Quantity::ResidualEnthalpy));
    Put(
        r, Quantity::ResidualEntropy, kFeed, r.residual[kFeed].entropy,
        [&] { return feedOf(resV.entropy, resL.entropy); }, fromPhases(Quantity::ResidualEntropy));
    Put(
        r, Quantity::ResidualHeatCapacity, kFeed, r.residual[kFeed].heatCapacity,
        [&] { return feedOf(resV.heatCapacity, resL.heatCapacity); },
        fromPhases(Quantity::ResidualHeatCapacity));

    // Steps 16 to 19: viscosities and thermal conductivities of the phases.
    CalculateTransport(in, ideal.cp, ideal.cpGaps, r);

    // Step 20: the feed's heat-capacity ratio from its phases (an absent phase counts 0).
    Put(
        r, Quantity::HeatCapacityRatio, kFeed, r.heatCapacityRatio[kFeed],
        [&] { return feedOf(r.heatCapacityRatio[kVapour], r.heatCapacityRatio[kLiquid]); },
        fromPhases(Quantity::HeatCapacityRatio));

    // Step 21: surface tension of the liquid. From here a failure ends the calculation.
    if (in.liquid) {
        SurfaceTension(in, r);
    }
}

} // namespace quorvane
