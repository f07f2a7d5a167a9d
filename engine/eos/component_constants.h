#pragma once

#include "engine/eos/eos_choice.h"

// The temperature-free part of one component's equation-of-state parameters for one equation
// and variant. A batch flashes one mixture at many states: these parts are worked out once per
// component set, and give b_i, the slope m_i and a_i at any temperature to the last bit of
// ComponentBParameter, AlphaSlope and ComponentAParameter.

namespace quorvane {

struct EosComponentConstants {
    EosEquation equation = EosEquation::Unknown;
    EosVariant variant = EosVariant::Original;
    float tcR = 0.0F;
    float pcPsia = 0.0F;
    float w = 0.0F;
    double b = 0.0;     // co-volume b_i
    double scale = 0.0; // RK: a_i itself; SRK and PR: Omega_a·(R·Tc)², which α and 1/Pc complete
    double slope = 0.0;       // m_i of α, unless it depends on the temperature
    bool slopeVaries = false; // SRK-78 with an acentric factor of exactly 0: m follows Tr

    // m_i at T (°R).
    [[nodiscard]] double SlopeAt(float tR) const;
    // a_i at T (°R).
    [[nodiscard]] double AttractionAt(float tR) const;
};

EosComponentConstants PrepareEosComponent(EosChoice eos, float tcR, float pcPsia, float w);

} // namespace quorvane
