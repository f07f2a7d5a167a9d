#include "engine/properties/stream_transport.h"

#include "engine/properties/pure_correlations.h"
#include "engine/properties/transport.h"
#include "units/fractions.h"

namespace quorvane::property_steps {

namespace {

// Step 16: per-component gas viscosities (kept for the conductivity of step 18), Wilke's
// mixture, and the dense-gas term at the vapour's reduced density.
void VapourViscosity(const Inputs& in, double rhoR, std::vector<float>& eta, PropertyResults& r) {
    const FlashCase& fc = *in.flash;
    FromSetOrEstimate(in, set_base::kVapourViscosity, SetProperty::Viscosity, eta,
                      [&](std::size_t i) {
                          Store(eta[i], [&] {
                              return YoonThodosViscosity(in.Name(i), in.tempF, fc.tcF[i],
                                                         fc.pcPsia[i], in.molWeight[i]);
                          });
                      });
    Store(r.viscosity[kVapourOnly], [&] {
        return static_cast<double>(WilkeViscosityMixing(in.Of(fc.y), in.molWeight, eta)) +
               DeanStielIncrement(rhoR, r.pseudoCriticalTempF[kVapour],
                                  r.pseudoCriticalPressPsia[kVapour], r.molecularWeight[kVapour]);
    });
}

// Step 17: per-component liquid viscosities, pressure-corrected where a vapour-pressure set
// applies, mixed logarithmically by mass fraction.
void LiquidViscosity(const Inputs& in, PropertyResults& r) {
    const FlashCase& fc = *in.flash;
    std::vector<float> eta(in.n, 0.0F);
    FromSetOrEstimate(in, set_base::kLiquidViscosity, SetProperty::Viscosity, eta,
                      [&](std::size_t i) {
                          Store(eta[i], [&] {
                              return LetsouStielViscosity(in.tempF, fc.tcF[i], fc.pcPsia[i],
                                                          fc.w[i], in.molWeight[i]);
                          });
                      });
    for (std::size_t i = 0; i < in.n; ++i) {
        const CoefficientSet vp = in.Set(i, set_base::kVapourPressure);
        if (vp.IsUsableAt(in.tempK)) {
            Store(eta[i], [&] {
                const double pvp = VapourPressureCorrelation(vp, in.tempF);
                return static_cast<double>(eta[i]) * LucasPressureRatio(in.tempF, fc.tcF[i],
                                                                        in.pressPsia, pvp,
                                                                        fc.pcPsia[i], fc.w[i]);
            });
        }
    }
    const std::vector<float> massFractions = MoleToMassFractions(in.Of(fc.x), in.molWeight);
    Store(r.viscosity[kLiquidOnly], [&] { return LogMeanMixing(massFractions, eta); });
}

// Step 18: per-component gas conductivities, their molar average and the dense-gas term.
void VapourConductivity(const Inputs& in, double rhoR, const std::vector<double>& idealGasCp,
                        const std::vector<float>& eta, std::vector<float>& lambda,
                        PropertyResults& r) {
    const FlashCase& fc = *in.flash;
    FromSetOrEstimate(in, set_base::kVapourConductivity, SetProperty::ThermalConductivity, lambda,
                      [&](std::size_t i) {
                          Store(lambda[i], [&] {
                              return EuckenConductivity(idealGasCp[i], eta[i], in.molWeight[i]);
                          });
                      });
    const std::span<const float> y = in.Of(fc.y);
    Store(r.thermalConductivity[kVapourOnly], [&] {
        const double zcVapour = MolarAverage(y, in.Of(fc.zc));
        return static_cast<double>(MolarAverage(y, lambda)) +
               StielThodosIncrement(rhoR, r.pseudoCriticalTempF[kVapour],
                                    r.pseudoCriticalPressPsia[kVapour], r.molecularWeight[kVapour],
                                    zcVapour);
    });
}

// Step 19: per-component liquid conductivities (a component above its Tc without a set keeps
// its entry), their molar average and the pressure factor.
void LiquidConductivity(const Inputs& in, std::vector<float>& lambda, PropertyResults& r) {
    const FlashCase& fc = *in.flash;
    FromSetOrEstimate(in, set_base::kLiquidConductivity, SetProperty::ThermalConductivity, lambda,
                      [&](std::size_t i) {
                          if (fc.tempF < fc.tcF[i]) {
                              Store(lambda[i], [&] {
                                  return SatoRiedelConductivity(in.tempF, fc.tcF[i], in.boilingF[i],
                                                                in.molWeight[i]);
                              });
                          }
                      });
    Store(r.thermalConductivity[kLiquidOnly], [&] {
        const double tcLiquid = r.pseudoCriticalTempF[kLiquid];
        double factor = 1.0;
        if (in.pressPsia > 50.0 && in.tempF < tcLiquid) {
            const double tr = FahrenheitToRankine(in.tempF) / FahrenheitToRankine(tcLiquid);
            const double pr = in.pressPsia / r.pseudoCriticalPressPsia[kLiquid];
            factor = LiquidConductivityPressureFactor(tr, pr);
        }
        return static_cast<double>(MolarAverage(in.Of(fc.x), lambda)) * factor;
    });
}

} // namespace

void CalculateTransport(const Inputs& in, const std::vector<double>& idealGasCp,
                        PropertyResults& r) {
    const double rhoR =
        static_cast<double>(r.pseudoCriticalVolume[kVapour]) * r.molarDensity[kVapour];
    std::vector<float> etaVapour(in.n, 0.0F);
    if (in.vapour) {
        VapourViscosity(in, rhoR, etaVapour, r);
    }
    if (in.liquid) {
        LiquidViscosity(in, r);
    }
    // The per-component conductivities are shared by both phases: a supercritical component
    // without a liquid set keeps its vapour value (or 0) in the liquid's average.
    std::vector<float> lambda(in.n, 0.0F);
    if (in.vapour) {
        VapourConductivity(in, rhoR, idealGasCp, etaVapour, lambda, r);
    }
    if (in.liquid) {
        LiquidConductivity(in, lambda, r);
    }
}

} // namespace quorvane::property_steps
