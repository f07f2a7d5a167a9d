#pragma once

// Mixtures of the saturation and envelope tests, built on the shared component table.

#include "engine/flash/flash_driver.h"
#include "tests/engine/flash/component_table.h"

#include <string_view>

namespace quorvane::testdata {

// The natural gas of examples/natural_gas_tp.json (N2, CO2, methane to n-decane).
inline FlashCase ExampleGas(std::string_view eosText = "PR") {
    return MakeCase({"NITROGEN", "CARBON DIOXIDE", "METHANE", "ETHANE", "PROPANE", "n-BUTANE",
                     "n-PENTANE", "n-HEXANE", "n-HEPTANE", "n-DECANE"},
                    {0.02F, 0.03F, 0.8F, 0.07F, 0.04F, 0.02F, 0.01F, 0.005F, 0.003F, 0.002F},
                    eosText);
}

// A CO2-rich gas with the usual CO2-hydrocarbon interaction parameters of 0.10 to 0.135.
inline FlashCase CarbonDioxideRich(std::string_view eosText = "PR") {
    FlashCase c = MakeCase({"CARBON DIOXIDE", "METHANE", "ETHANE", "PROPANE", "n-BUTANE"},
                           {0.7F, 0.15F, 0.08F, 0.05F, 0.02F}, eosText);
    const float kij[] = {0.10F, 0.13F, 0.135F, 0.13F};
    for (int j = 1; j <= 4; ++j) {
        c.kij(0, j) = kij[j - 1];
        c.kij(j, 0) = kij[j - 1];
    }
    return c;
}

// One run of the driver: the case with the flash type and state variables set.
inline FlashCase RunCase(FlashCase c, FlashType type, float tempF, float pressPsia,
                         double vapourFraction = 0.0) {
    FlashState state;
    c.flashType = type;
    c.tempF = tempF;
    c.pressPsia = pressPsia;
    c.vapourFraction = vapourFraction;
    RunFlash(c, state);
    return c;
}

} // namespace quorvane::testdata
