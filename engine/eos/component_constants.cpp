#include "engine/eos/component_constants.h"

#include "engine/eos/eos_parameters.h"

#include <cmath>

namespace quorvane {

EosComponentConstants PrepareEosComponent(EosChoice eos, float tcR, float pcPsia, float w) {
    EosComponentConstants c;
    c.equation = eos.equation;
    c.variant = eos.variant;
    c.tcR = tcR;
    c.pcPsia = pcPsia;
    c.w = w;
    c.b = ComponentBParameter(eos.equation, tcR, pcPsia);
    const double tc = tcR;
    switch (eos.equation) {
    case EosEquation::RK:
        c.scale = ComponentAParameter(eos.equation, tcR, pcPsia, 0.0F, w, eos.variant);
        break;
    case EosEquation::SRK:
        c.scale = kOmegaARk * (kGasConstant * tc) * (kGasConstant * tc);
        break;
    case EosEquation::PR:
        c.scale = kOmegaAPr * (kGasConstant * tc) * (kGasConstant * tc);
        break;
    case EosEquation::Unknown:
        break;
    }
    c.slopeVaries = eos.equation == EosEquation::SRK && eos.variant == EosVariant::V78 && w == 0.0F;
    c.slope = AlphaSlope(eos.equation, eos.variant, w, tcR, tcR);
    return c;
}

double EosComponentConstants::SlopeAt(float tR) const {
    return slopeVaries ? AlphaSlope(equation, variant, w, tR, tcR) : slope;
}

// The arithmetic of ComponentAParameter and AlphaFunction, step for step.
double EosComponentConstants::AttractionAt(float tR) const {
    switch (equation) {
    case EosEquation::RK:
        return scale;
    case EosEquation::SRK:
    case EosEquation::PR: {
        const double m = SlopeAt(tR);
        const double s = 1.0 + m * (1.0 - std::sqrt(static_cast<double>(tR) / tcR));
        return scale * (s * s) / pcPsia;
    }
    case EosEquation::Unknown:
        break;
    }
    return 0.0;
}

} // namespace quorvane
