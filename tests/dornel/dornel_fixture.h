#pragma once

// Unit codes are process-wide: every Dornel test starts and ends with the defaults.

#include "dornel/dornel.h"

#include <gtest/gtest.h>

namespace dornel_test {

constexpr double kError = -9999.0;

inline void SetDefaultUnits() {
    STM_SetTempUnit(2);
    STM_SetPressUnit(11);
    STM_SetEntlUnit(22);
    STM_SetEntrUnit(32);
    STM_SetVolUnit(42);
    STM_SetWetDryUnit(51);
    STM_SetHeatCapUnit(62);
    STM_SetThermalConUnit(72);
    STM_SetDynamicVisUnit(83);
    STM_SetSurTensionUnit(91);
}

class DornelTest : public ::testing::Test {
protected:
    void SetUp() override { SetDefaultUnits(); }
    void TearDown() override { SetDefaultUnits(); }
};

} // namespace dornel_test
