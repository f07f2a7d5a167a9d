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
void VapourViscosity(const Inputs& in, double rhoR, std::vector<float>& eta, ComponentGaps& gaps,
                     PropertyResults& r) {
    const FlashCase& fc = *in.flash;
    FromSetOrEstimate(
        in, set_base::kVapourViscosity, SetProperty::Viscosity, "vapour-viscosity", eta, gaps,
        [&](std::size_t i) {
            StoreComponent(
                eta[i], gaps, i,
                [&] {
                    return YoonThodosViscosity(in.Name(i), in.tempF, fc.tcF[i], fc.pcPsia[i],
                                               in.molWeight[i]);
                },
                [&] { return EstimateNote(in, i, "Yoon-Thodos viscosity estimate"); });
        });
    Put(
        r, Quantity::Viscosity, kVapour, r.viscosity[kVapourOnly],
        [&] {
            return static_cast<double>(WilkeViscosityMixing(in.Of(fc.y), in.molWeight, eta)) +
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
    std::vector<float> eta(in.n, 0.0F);
    ComponentGaps gaps(in.n);
    FromSetOrEstimate(
        in, set_base::kLiquidViscosity, SetProperty::Viscosity, "liquid-viscosity", eta, gaps,
        [&](std::size_t i) {
            StoreComponent(
                eta[i], gaps, i,
                [&] {
                    return LetsouStielViscosity(in.tempF, fc.tcF[i], fc.pcPsia[i], fc.w[i],
                                                in.molWeight[i]);
                },
                [&] { return EstimateNote(in, i, "Letsou-Stiel viscosity estimate"); });
        });
    for (std::size_t i = 0; i < in.n; ++i) {
        const CoefficientSet vp = in.Set(i, set_base::kVapourPressure);
        if (vp.IsUsableAt(in.tempK) && !gaps.Failed(i)) {
            StoreComponent(
                eta[i], gaps, i,
                [&] {
                    const double pvp =
                        AcceptsCode(SetProperty::VapourPressure, vp.Code())
                            ? static_cast<double>(VapourPressureCorrelation(vp, in.tempF))
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
    const std::vector<float> massFractions = MoleToMassFractions(in.Of(fc.x), in.molWeight);
    Put(
        r, Quantity::Viscosity, kLiquid, r.viscosity[kLiquidOnly],
        [&] { return LogMeanMixing(massFractions, eta); }, Shortfall().Add(gaps));
}

// Step 18: per-component gas conductivities, their molar average and the dense-gas term. The
// modified Eucken relation stands on the component's ideal-gas heat capacity and viscosity.
void VapourConductivity(const Inputs& in, double rhoR, const std::vector<double>& idealGasCp,
                        const ComponentGaps& cpGaps, const std::vector<float>& eta,
                        const ComponentGaps& etaGaps, std::vector<float>& lambda,
                        ComponentGaps& gaps, PropertyResults& r) {
    const FlashCase& fc = *in.flash;
    FromSetOrEstimate(
        in, set_base::kVapourConductivity, SetProperty::ThermalConductivity,
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
            return static_cast<double>(MolarAverage(y, lambda)) +
                   StielThodosIncrement(rhoR, r.pseudoCriticalTempF[kVapour],
                                        r.pseudoCriticalPressPsia[kVapour],
                                        r.molecularWeight[kVapour], zcVapour);
        },
        VapourState(r).Add(gaps));
}

// Step 19: per-component liquid conductivities (a component above its Tc without a set keeps
// its entry, and with it whether that entry failed), their molar average and the pressure
// factor.
void LiquidConductivity(const Inputs& in, std::vector<float>& lambda, ComponentGaps& gaps,
                        PropertyResults& r) {
    const FlashCase& fc = *in.flash;
    FromSetOrEstimate(
        in, set_base::kLiquidConductivity, SetProperty::ThermalConductivity,
        "liquid thermal-conductivity", lambda, gaps, [&](std::size_t i) {
            if (fc.tempF < fc.tcF[i]) {
                StoreComponent(
                    lambda[i], gaps, i,
                    [&] {
                        return SatoRiedelConductivity(in.tempF, fc.tcF[i], in.boilingF[i],
                                                      in.molWeight[i]);
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
            return static_cast<double>(MolarAverage(in.Of(fc.x), lambda)) * factor;
        },
        Shortfall()
            .Add(gaps)
            .Add(r, Quantity::PseudoCriticalTemperature, kLiquid)
            .Add(r, Quantity::PseudoCriticalPressure, kLiquid));
}

} // namespace

void CalculateTransport(const Inputs& in, const std::vector<double>& idealGasCp,
                        const ComponentGaps& idealGasCpGaps, PropertyResults& r) {
    const double rhoR =
        static_cast<double>(r.pseudoCriticalVolume[kVapour]) * r.molarDensity[kVapour];
    std::vector<float> etaVapour(in.n, 0.0F);
    ComponentGaps etaGaps(in.n);
    if (in.vapour) {
        VapourViscosity(in, rhoR, etaVapour, etaGaps, r);
    }
    if (in.liquid) {
        LiquidViscosity(in, r);
    }
    // The per-component conductivities are shared by both phases: a supercritical component
    // without a liquid set keeps its vapour value (or 0) in the liquid's average.
    std::vector<float> lambda(in.n, 0.0F);
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
