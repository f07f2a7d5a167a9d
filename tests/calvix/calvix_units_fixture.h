#pragma once

// The unit codes are process-wide: every test starts and ends with the defaults.

#include "calvix/calvix.h"

#include <gtest/gtest.h>

namespace calvix::test {

inline void ResetUnits() {
    STM_SetTempUnit(1);
    STM_SetPressUnit(12);
    STM_SetEnthalUnit(32);
    STM_SetEntroUnit(52);
    STM_SetDensityUnit(71);
    STM_SetWetDryUnit(91);
    STM_SetHCUnit(102);
}

class CalvixExports : public testing::Test {
protected:
    void SetUp() override { ResetUnits(); }
    void TearDown() override { ResetUnits(); }
};

} // namespace calvix::test
