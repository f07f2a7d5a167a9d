#include "engine/properties/stream_transport.h"

#include "engine/properties/pure_correlations.h"
#include "engine/properties/transport.h"
#include "units/fractions.h"

#include <limits>

namespace quorvane::property_steps {

namespace {

// The vapour's results the dense-gas terms read.
Shortfall VapourState(const PropertyResults& r) {
    return Shortfall()
        .Add(r, Quantity::MolecularWeight, kVapour)
        .Add(r, Quantity::PseudoCriticalTemperature, kVapour)
        .Add(r, Quantity::PseudoCriticalPressure, kVapour)
        .Add(r, Quantity::PseudoCriticalVolume, kVapour)
        .Add(r, Quantity::MolarDensity, kVapour);
}

// Step 16: per-component gas viscosities (kept for the conductivity of step 18), Wilke's
// mixture, and the dense-gas term at the vapour's reduced density.
void VapourViscosity(const Inputs& in, double rhoR, ComponentValues<float>& eta,
                     ComponentGaps& gaps, PropertyResults& r) {
    const FlashCase& fc = *in.flash;
    FromSetOrEstimate(
        in, SetKind::VapourViscosity, SetProperty::Viscosity, "vapour-viscosity", eta, gaps,
        [&](std::size_t i) {
            StoreComponent(
                eta[i], gaps, i,
                [&] {
                    const PropertyComponent& c = in.Component(i);
                    return YoonThodosViscosity(c.yoonThodos, c.yoonThodosReducing, in.tempF,
                                               fc.tcF[i]);
                },
                [&] { return EstimateNote(in, i, "Yoon-Thodos viscosity estimate"); });
        });
    Put(
        r, Quantity::Viscosity, kVapour, r.viscosity[kVapourOnly],
        [&] {
            return static_cast<double>(
                       WilkeViscosityMixing(in.Of(fc.y), in.components->Wilke(), eta.Span())) +
                   DeanStielIncrement(rhoR, r.pseudoCriticalTempF[kVapour],
                                      r.pseudoCriticalPressPsia[kVapour],
                                      r.molecularWeight[kVapour]);
        },
        VapourState(r).Add(gaps));
}

// Step 17: per-component liquid viscosities, pressure-corrected where a vapour-pressure set
// applies, mixed logarithmically by mass fraction.
void LiquidViscosity(const Inputs& in, PropertyResults& r) {
    const FlashCase& fc = *in.flash;
    ComponentValues<float> eta(in.n, 0.0F);
    ComponentGaps gaps(in.n);
    FromSetOrEstimate(
        in, SetKind::LiquidViscosity, SetProperty::Viscosity, "liquid-viscosity", eta, gaps,
        [&](std::size_t i) {
            StoreComponent(
                eta[i], gaps, i,
                [&] {
                    return LetsouStielViscosity(in.Component(i).letsouStielReducing, in.tempF,
                                                fc.tcF[i], fc.w[i]);
                },
                [&] { return EstimateNote(in, i, "Letsou-Stiel viscosity estimate"); });
        });
    for (std::size_t i = 0; i < in.n; ++i) {
        const PreparedSet& vp = in.Set(i, SetKind::VapourPressure);
        if (vp.UsableAt(in.tempK) && !gaps.Failed(i)) {
            StoreComponent(
                eta[i], gaps, i,
                [&] {
                    const double pvp =
                        AcceptsCode(SetProperty::VapourPressure, vp.code)
                            ? static_cast<double>(ToSingle(EvaluateSet(
                                  vp, SetProperty::VapourPressure, in.setTemperature, 0.0)))
                            : std::numeric_limits<double>::quiet_NaN();
                    return static_cast<double>(eta[i]) * LucasPressureRatio(in.tempF, fc.tcF[i],
                                                                            in.pressPsia, pvp,
                                                                            fc.pcPsia[i], fc.w[i]);
                },
                [&] {
                    return SetNote(in, i, vp, SetProperty::VapourPressure, "vapour-pressure") +
                           " (the pressure correction of its liquid viscosity)";
                });
        }
    }
    ComponentValues<float> massFractions(in.n, 0.0F);
    MoleToMassFractions(in.Of(fc.x), in.molWeight, massFractions.Span());
    Put(
        r, Quantity::Viscosity, kLiquid, r.viscosity[kLiquidOnly],
        [&] { return LogMeanMixing(massFractions.Span(), eta.Span()); }, Shortfall().Add(gaps));
}

// Step 18: per-component gas conductivities, their molar average and the dense-gas term. The
// modified Eucken relation stands on the component's ideal-gas heat capacity and viscosity.
void VapourConductivity(const Inputs& in, double rhoR, const ComponentValues<double>& idealGasCp,
                        const ComponentGaps& cpGaps, const ComponentValues<float>& eta,
                        const ComponentGaps& etaGaps, ComponentValues<float>& lambda,
                        ComponentGaps& gaps, PropertyResults& r) {
    const FlashCase& fc = *in.flash;
    FromSetOrEstimate(
        in, SetKind::VapourConductivity, SetProperty::ThermalConductivity,
        "vapour thermal-conductivity", lambda, gaps, [&](std::size_t i) {
            if (cpGaps.Failed(i) || etaGaps.Failed(i)) {
                gaps.Fail(i, cpGaps.Failed(i) ? cpGaps.NoteOf(i) : etaGaps.NoteOf(i));
                return;
            }
            StoreComponent(
                lambda[i], gaps, i,
                [&] { return EuckenConductivity(idealGasCp[i], eta[i], in.molWeight[i]); },
                [&] { return EstimateNote(in, i, "modified Eucken conductivity estimate"); });
        });
    const std::span<const float> y = in.Of(fc.y);
    Put(
        r, Quantity::ThermalConductivity, kVapour, r.thermalConductivity[kVapourOnly],
        [&] {
            const double zcVapour = MolarAverage(y, in.Of(fc.zc));
            return static_cast<double>(MolarAverage(y, lambda.Span())) +
                   StielThodosIncrement(rhoR, r.pseudoCriticalTempF[kVapour],
                                        r.pseudoCriticalPressPsia[kVapour],
                                        r.molecularWeight[kVapour], zcVapour);
        },
        VapourState(r).Add(gaps));
}

// Step 19: per-component liquid conductivities (a component above its Tc without a set keeps
// its entry, and with it whether that entry failed), their molar average and the pressure
// factor.
void LiquidConductivity(const Inputs& in, ComponentValues<float>& lambda, ComponentGaps& gaps,
                        PropertyResults& r) {
    const FlashCase& fc = *in.flash;
    FromSetOrEstimate(
        in, SetKind::LiquidConductivity, SetProperty::ThermalConductivity,
        "liquid thermal-conductivity", lambda, gaps, [&](std::size_t i) {
            if (fc.tempF < fc.tcF[i]) {
                StoreComponent(
                    lambda[i], gaps, i,
                    [&] {
                        return SatoRiedelConductivity(in.Component(i).satoRiedel, in.tempF,
                                                      fc.tcF[i]);
                    },
                    [&] { return EstimateNote(in, i, "Sato-Riedel conductivity estimate", true); });
            }
        });
    Put(
        r, Quantity::ThermalConductivity, kLiquid, r.thermalConductivity[kLiquidOnly],
        [&] {
            const double tcLiquid = r.pseudoCriticalTempF[kLiquid];
            double factor = 1.0;
            if (in.pressPsia > 50.0 && in.tempF < tcLiquid) {
                const double tr = FahrenheitToRankine(in.tempF) / FahrenheitToRankine(tcLiquid);
                const double pr = in.pressPsia / r.pseudoCriticalPressPsia[kLiquid];
                factor = LiquidConductivityPressureFactor(tr, pr);
            }
            return static_cast<double>(MolarAverage(in.Of(fc.x), lambda.Span())) * factor;
        },
        Shortfall()
            .Add(gaps)
            .Add(r, Quantity::PseudoCriticalTemperature, kLiquid)
            .Add(r, Quantity::PseudoCriticalPressure, kLiquid));
}

} // namespace

void CalculateTransport(const Inputs& in, const ComponentValues<double>& idealGasCp,
                        const ComponentGaps& idealGasCpGaps, PropertyResults& r) {
    const double rhoR =
        static_cast<double>(r.pseudoCriticalVolume[kVapour]) * r.molarDensity[kVapour];
    ComponentValues<float> etaVapour(in.n, 0.0F);
    ComponentGaps etaGaps(in.n);
    if (in.vapour) {
        VapourViscosity(in, rhoR, etaVapour, etaGaps, r);
    }
    if (in.liquid) {
        LiquidViscosity(in, r);
    }
    // The per-component conductivities are shared by both phases: a supercritical component
    // without a liquid set keeps its vapour value (or 0) in the liquid's average.
    ComponentValues<float> lambda(in.n, 0.0F);
    ComponentGaps lambdaGaps(in.n);
    if (in.vapour) {
        VapourConductivity(in, rhoR, idealGasCp, idealGasCpGaps, etaVapour, etaGaps, lambda,
                           lambdaGaps, r);
    }
    if (in.liquid) {
        LiquidConductivity(in, lambda, lambdaGaps, r);
    }
}

} // namespace quorvane::property_steps
