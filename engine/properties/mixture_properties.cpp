#include "engine/properties/mixture_properties.h"

#include "engine/eos/cubic_roots.h"
#include "engine/eos/engine_errors.h"
#include "engine/properties/property_constants.h"
#include "engine/properties/property_errors.h"
#include "engine/properties/property_steps.h"
#include "engine/properties/pure_correlations.h"
#include "engine/properties/stream_transport.h"
#include "engine/properties/translated_density.h"

#include <cmath>
#include <string>
#include <string_view>
#include <tuple>

namespace quorvane {

namespace {

using namespace property_steps;

void CheckSizes(const FlashCase& fc, std::size_t n, const PropertyComponents& components) {
    const bool ok =
        fc.z.size() >= n && fc.x.size() >= n && fc.y.size() >= n && fc.tcF.size() >= n &&
        fc.pcPsia.size() >= n && fc.w.size() >= n && fc.vc.size() >= n && fc.zc.size() >= n &&
        fc.kij.Columns() >= static_cast<int>(n) && n <= static_cast<std::size_t>(KijTable::kRows);
    if (!ok) {
        throw MixtureSizeError("the mixture's arrays do not match its component count");
    }
    if (!components.Matches(fc)) {
        throw MixtureSizeError("the prepared component constants are not those of the mixture");
    }
}

Inputs InputsOf(const FlashCase& fc, std::size_t n, const PropertyComponents& components,
                PropertySelection selection) {
    Inputs in;
    in.n = n;
    in.flash = &fc;
    in.components = &components;
    in.selection = selection;
    in.eos = fc.Eos();
    // The table the flash used: the estimate of the components when the case asks for it.
    in.kij = fc.estimateKij ? components.EstimatedKij().View() : fc.kij.View();
    in.tempF = fc.tempF;
    in.tempK = FahrenheitToKelvin(fc.tempF);
    in.setTemperature = SetTemperature::At(in.tempK);
    in.pressPsia = fc.pressPsia;
    in.v = fc.vapourFraction;
    in.vapour = in.v != 0.0;
    in.liquid = in.v != 1.0;
    in.molWeight = components.MolWeights();
    in.boilingF = components.BoilingPoints();
    return in;
}

// Per-component ideal-gas heat capacity, enthalpy and entropy at T, with the reference
// enthalpy and entropy of each component added, and the components whose values failed.
struct IdealGasParts {
    explicit IdealGasParts(std::size_t n) : cp(n), h(n), s(n), cpGaps(n), hGaps(n), sGaps(n) {}
    ComponentValues<double> cp, h, s;
    ComponentGaps cpGaps, hGaps, sGaps;
};

constexpr std::string_view kIdealGasSet = "ideal-gas heat-capacity";

// The ideal-gas set is used without a range test; a set that is incomplete or of a code the
// heat capacity does not take gives no value (its form would give 0 or not a number).
void IdealGasOf(const Inputs& in, IdealGasParts& out) {
    const double logTOverT0 = std::log(in.tempK / 298.15);
    for (std::size_t i = 0; i < in.n; ++i) {
        const PropertyComponent& component = in.Component(i);
        const IdealGasSet& set = component.idealGas;
        const auto setNote = [&] {
            return SetNote(in, i, set.prepared, SetProperty::HeatCapacity, kIdealGasSet);
        };
        if (!set.prepared.numeric || !AcceptsCode(SetProperty::HeatCapacity, set.prepared.code)) {
            out.cpGaps.Fail(i, setNote());
            out.hGaps.Fail(i, setNote());
            out.sGaps.Fail(i, setNote());
            continue;
        }
        const IdealGasValues values = EvaluateIdealGas(set, in.tempK, logTOverT0);
        StoreComponent(
            out.cp[i], out.cpGaps, i, [&] { return values.cp; }, setNote);
        const auto referenceNote = [&](double reference, std::string_view what) {
            return std::isfinite(reference) ? setNote() : MissingDataNote(in, i, what);
        };
        StoreComponent(
            out.h[i], out.hGaps, i, [&] { return values.h + component.referenceEnthalpy; },
            [&] { return referenceNote(component.referenceEnthalpy, "reference enthalpy"); });
        StoreComponent(
            out.s[i], out.sGaps, i, [&] { return values.s + component.referenceEntropy; },
            [&] { return referenceNote(component.referenceEntropy, "reference entropy"); });
    }
}

double Weighted(std::span<const float> fractions, const ComponentValues<double>& values) {
    double sum = 0.0;
    for (std::size_t i = 0; i < values.Size(); ++i) {
        sum += static_cast<double>(fractions[i]) * values[i];
    }
    return sum;
}

// S = sum x_i S_i - R ln(P/1 atm) - R sum x_i ln x_i + departure, the mixing sum over the
// components present in the phase.
double PhaseEntropy(const Inputs& in, std::span<const float> fractions,
                    const ComponentValues<double>& s0, double logPressure, double departure) {
    double mixing = 0.0;
    for (std::size_t i = 0; i < in.n; ++i) {
        const double x = fractions[i];
        if (x != 0.0) {
            mixing += x * std::log(x);
        }
    }
    return Weighted(fractions, s0) - kGasConstantMixing * logPressure -
           kGasConstantMixing * mixing + departure;
}

// Enthalpy, entropy, departures and derived properties of a present phase (steps 11 and 13
// and the end of 14). The derived Cp is the vapour's heat capacity; the liquid takes its own
// from the liquid correlations and does not store this one. `terms`: the components' share of
// the attraction parameter at T, which both phases read.
void PhaseThermodynamics(const Inputs& in, const ComponentAttraction& terms, std::size_t stream,
                         std::span<const float> fractions, float z, const IdealGasParts& ideal,
                         PropertyResults& r) {
    const PhaseCondition phase = in.Phase(fractions, z);
    // The phase's ideal-gas heat capacity is a molar average (32-bit).
    const PhaseDepartures departures = DeparturesOf(
        terms, phase, MolarAverage(fractions, ideal.cp.Span()), r.molecularWeight[stream]);
    const double dH = departures.enthalpy;
    const double dS = departures.entropy;
    const double logPressure = std::log(in.pressPsia / kAtmospherePsia);
    // Everything here stands on the phase's Z from the flash.
    Shortfall root;
    root.Add(r, Quantity::Compressibility, stream);
    Put(
        r, Quantity::Enthalpy, stream, r.enthalpy[stream],
        [&] { return Weighted(fractions, ideal.h) + dH; }, Shortfall(root).Add(ideal.hGaps));
    Put(
        r, Quantity::Entropy, stream, r.entropy[stream],
        [&] { return PhaseEntropy(in, fractions, ideal.s, logPressure, dS); },
        Shortfall(root).Add(ideal.sGaps));
    ResidualProperties& residual = r.residual[stream];
    Put(
        r, Quantity::ResidualEnthalpy, stream, residual.enthalpy, [&] { return dH; }, root);
    Put(
        r, Quantity::ResidualEntropy, stream, residual.entropy, [&] { return dS; }, root);

    // The five values come in order; those after the first failure keep their targets.
    const DerivedPropertyValues& d = departures.derived;
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
    ComponentValues<double> cp(in.n, 0.0);
    ComponentGaps gaps(in.n);
    for (std::size_t i = 0; i < in.n; ++i) {
        const PreparedSet& set = in.Set(i, SetKind::LiquidHeatCapacity);
        if (set.numeric) {
            StoreComponent(
                cp[i], gaps, i,
                [&] {
                    return AcceptsCode(SetProperty::HeatCapacity, set.code)
                               ? ClampedLiquidHeatCapacity(set.set, in.tempF)
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
        [&] { return MolarAverage(in.Of(fc.x), cp.Span()); }, Shortfall().Add(gaps));
}

// Step 10: the liquid-density routes of one component, else the mixture Rackett density.
float LiquidDensity(const Inputs& in, CubicState& cubic) {
    const FlashCase& fc = *in.flash;
    if (in.n == 1) {
        const PreparedSet& set = in.Set(0, SetKind::LiquidDensity);
        if (set.UsableAt(in.tempK)) {
            return AcceptsCode(SetProperty::LiquidDensity, set.code)
                       ? LiquidDensityCorrelation(set.set, in.tempF)
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
    return MixtureRackettDensity(in.Of(fc.x), in.Of(fc.tcF), in.Of(fc.pcPsia), in.Of(fc.vc),
                                 in.components->RackettZ(), in.tempF, in.components->Rackett());
}

// Step 12: per component from its set when usable, else Vetere's estimate carried to T by
// Watson's relation; a component whose value fails keeps 0 in the sum's array.
void HeatOfVaporization(const Inputs& in, PropertyResults& r) {
    const FlashCase& fc = *in.flash;
    ComponentValues<double> hv(in.n, 0.0);
    ComponentGaps gaps(in.n);
    for (std::size_t i = 0; i < in.n; ++i) {
        const PreparedSet& set = in.Set(i, SetKind::HeatOfVaporization);
        if (set.UsableAt(in.tempK)) {
            StoreComponent(
                hv[i], gaps, i,
                [&] {
                    return AcceptsCode(SetProperty::HeatOfVaporization, set.code)
                               ? HeatOfVaporizationCorrelation(set.set, in.tempF, fc.tcF[i])
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
                    return WatsonHeatOfVaporization(in.Component(i).vetereHeatOfVaporization,
                                                    in.tempF, in.boilingF[i], fc.tcF[i]);
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
        const PreparedSet& set = in.Set(i, SetKind::SurfaceTension);
        double value = 0.0;
        if (set.UsableAt(in.tempK)) {
            value = AcceptsCode(SetProperty::SurfaceTension, set.code)
                        ? SurfaceTensionCorrelation(set.set, in.tempF, fc.tcF[i])
                        : std::nan("");
            if (!std::isfinite(value) && note.empty()) {
                note = SetNote(in, i, set, SetProperty::SurfaceTension, "surface-tension");
            }
        } else if (fc.tempF < fc.tcF[i]) {
            value = BrockBirdSurfaceTension(in.Component(i).brockBirdScale, in.tempF, fc.tcF[i]);
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

// An input of each present phase (the feed's values are made from them).
Shortfall FromPhases(const Inputs& in, const PropertyResults& r, Quantity quantity) {
    return Shortfall()
        .AddIf(in.vapour, r, quantity, kVapour)
        .AddIf(in.liquid, r, quantity, kLiquid);
}

// A feed value weighted by the vapour fraction. An absent phase has weight 0 and is left out,
// as its field may hold no number.
double FeedOf(const Inputs& in, double vapourValue, double liquidValue) {
    return (in.vapour ? in.v * vapourValue : 0.0) + (in.liquid ? (1.0 - in.v) * liquidValue : 0.0);
}

// Steps 9 and 10: the phases' molar densities and the feed's from their volumes.
void Densities(const Inputs& in, PropertyResults& r) {
    const FlashCase& fc = *in.flash;
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
        [&] {
            return TwoPhaseMolarDensity(in.v, r.molarDensity[kVapour], r.molarDensity[kLiquid]);
        },
        FromPhases(in, r, Quantity::MolarDensity));
}

// Steps 11 to 15: enthalpy, entropy, heat capacity and the derived properties of the phases,
// the heat of vaporization, and the feed's values from its phases.
void ThermalProperties(const Inputs& in, const IdealGasParts& ideal, PropertyResults& r) {
    const FlashCase& fc = *in.flash;
    // What the two phases share of the attraction parameter at T.
    const bool known = fc.eosIndex >= 0 && fc.eosIndex < static_cast<int>(kEosListTexts.size());
    const ComponentAttraction terms =
        known ? AttractionTermsAt(in.components->Eos(fc.eosIndex), in.components->SqrtPcPairs(),
                                  RankineOf(fc.tempF))
              : ComponentAttraction{};

    // Step 11: vapour enthalpy, entropy and derived properties.
    if (in.vapour) {
        PhaseThermodynamics(in, terms, kVapour, in.Of(fc.y), fc.vapourZ, ideal, r);
    }

    // Step 12: heat of vaporization of the liquid.
    HeatOfVaporization(in, r);

    // Steps 13 and 14: liquid enthalpy, entropy, heat capacity and derived properties. The
    // entropy departure of the liquid root already holds the entropy of vaporization.
    if (in.liquid) {
        PhaseThermodynamics(in, terms, kLiquid, in.Of(fc.x), fc.liquidZ, ideal, r);
        LiquidHeatCapacity(in, ideal, r);
    }

    // Step 15: feed values weighted by the vapour fraction.
    const auto feed = [&](Quantity quantity, float& target, double vapourValue,
                          double liquidValue) {
        Put(
            r, quantity, kFeed, target, [&] { return FeedOf(in, vapourValue, liquidValue); },
            FromPhases(in, r, quantity));
    };
    feed(Quantity::HeatCapacity, r.heatCapacity[kFeed], r.heatCapacity[kVapour],
         r.heatCapacity[kLiquid]);
    feed(Quantity::Enthalpy, r.enthalpy[kFeed], r.enthalpy[kVapour], r.enthalpy[kLiquid]);
    feed(Quantity::Entropy, r.entropy[kFeed], r.entropy[kVapour], r.entropy[kLiquid]);
    const ResidualProperties& resV = r.residual[kVapour];
    const ResidualProperties& resL = r.residual[kLiquid];
    ResidualProperties& resF = r.residual[kFeed];
    Put(
        r, Quantity::ResidualEnthalpy, kFeed, resF.enthalpy,
        [&] { return FeedOf(in, resV.enthalpy, resL.enthalpy); },
        FromPhases(in, r, Quantity::ResidualEnthalpy));
    Put(
        r, Quantity::ResidualEntropy, kFeed, resF.entropy,
        [&] { return FeedOf(in, resV.entropy, resL.entropy); },
        FromPhases(in, r, Quantity::ResidualEntropy));
    Put(
        r, Quantity::ResidualHeatCapacity, kFeed, resF.heatCapacity,
        [&] { return FeedOf(in, resV.heatCapacity, resL.heatCapacity); },
        FromPhases(in, r, Quantity::ResidualHeatCapacity));
}

} // namespace

void CalculateMixtureProperties(FlashCase& flashCase,
                                const std::vector<std::vector<double>>& componentRows,
                                std::span<const std::string> componentNames,
                                PropertyResults& results, PropertySelection selection) {
    // No value of an earlier calculation counts as this one's, whatever happens below.
    results.BeginCalculation();
    if (flashCase.n < 1) {
        return;
    }
    const PropertyComponents components(flashCase, componentRows, componentNames);
    CalculateMixtureProperties(flashCase, components, results, selection);
}

void CalculateMixtureProperties(FlashCase& flashCase, const PropertyComponents& components,
                                PropertyResults& results, PropertySelection selection) {
    // No value of an earlier calculation counts as this one's, whatever happens below.
    results.BeginCalculation();
    // Step 1: nothing to do without components.
    if (flashCase.n < 1) {
        return;
    }
    const auto n = static_cast<std::size_t>(flashCase.n);
    CheckSizes(flashCase, n, components);
    FlashCase& fc = flashCase;
    const bool thermal = selection.Has(PropertyGroup::Thermal);
    const bool transport = selection.Has(PropertyGroup::Transport);

    // Step 2: trace fractions of the feed are raised to 1e-7 (not renormalised).
    for (std::size_t i = 0; i < n; ++i) {
        if (fc.z[i] < 1e-7F) {
            fc.z[i] = 1e-7F;
        }
    }

    // Step 3: the equation of state as the flash used it, and which phases are present.
    const Inputs in = InputsOf(fc, n, components, selection);
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
        FromPhases(in, r, Quantity::Compressibility));

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

    // Steps 9 and 10: densities (the vapour's also for its transport properties). The feed's
    // molar volume is the sum of its phases' volumes.
    if (selection.Has(PropertyGroup::Density) || transport) {
        Densities(in, r);
    }

    // The ideal-gas heat capacity, enthalpy and entropy of each component (the heat capacity
    // also for the vapour's conductivity).
    IdealGasParts ideal(n);
    if (thermal || transport) {
        IdealGasOf(in, ideal);
    }

    // Steps 11 to 15: the thermal properties.
    if (thermal) {
        ThermalProperties(in, ideal, r);
    }

    // Steps 16 to 19: viscosities and thermal conductivities of the phases.
    if (transport) {
        CalculateTransport(in, ideal.cp, ideal.cpGaps, r);
    }

    // Step 20: the feed's heat-capacity ratio from its phases (an absent phase counts 0).
    if (thermal) {
        Put(
            r, Quantity::HeatCapacityRatio, kFeed, r.heatCapacityRatio[kFeed],
            [&] { return FeedOf(in, r.heatCapacityRatio[kVapour], r.heatCapacityRatio[kLiquid]); },
            FromPhases(in, r, Quantity::HeatCapacityRatio));
    }

    // Step 21: surface tension of the liquid. From here a failure ends the calculation.
    if (in.liquid && selection.Has(PropertyGroup::SurfaceTension)) {
        SurfaceTension(in, r);
    }
}

} // namespace quorvane
