// Exported unit-setting functions and range limits.

#include "calvix/calvix.h"
#include "calvix/constants.h"
#include "calvix/export_support.h"
#include "calvix/units.h"

using calvix::Quantity;

extern "C" {

CALVIX_API int32_t STM_SetTempUnit(int32_t code) {
    return calvix::SetUnitCode(Quantity::Temperature, code) ? 1 : 0;
}

CALVIX_API int32_t STM_SetPressUnit(int32_t code) {
    return calvix::SetUnitCode(Quantity::Pressure, code) ? 1 : 0;
}

CALVIX_API int32_t STM_SetEnthalUnit(int32_t code) {
    return calvix::SetUnitCode(Quantity::Enthalpy, code) ? 1 : 0;
}

CALVIX_API int32_t STM_SetEntroUnit(int32_t code) {
    return calvix::SetUnitCode(Quantity::Entropy, code) ? 1 : 0;
}

CALVIX_API int32_t STM_SetDensityUnit(int32_t code) {
    return calvix::SetUnitCode(Quantity::Density, code) ? 1 : 0;
}

CALVIX_API int32_t STM_SetWetDryUnit(int32_t code) {
    return calvix::SetUnitCode(Quantity::WetDry, code) ? 1 : 0;
}

CALVIX_API int32_t STM_SetHCUnit(int32_t code) {
    return calvix::SetUnitCode(Quantity::HeatCapacity, code) ? 1 : 0;
}

CALVIX_API double STM_GetMaxTemp(void) {
    return calvix::Answer(Quantity::Temperature, calvix::kMaxTemp);
}

CALVIX_API double STM_GetMinTemp(void) {
    return calvix::Answer(Quantity::Temperature, calvix::kMinTemp);
}

CALVIX_API double STM_GetMaxPress(void) {
    return calvix::Answer(Quantity::Pressure, calvix::kMaxPress);
}

CALVIX_API double STM_GetMinPress(void) {
    return calvix::Answer(Quantity::Pressure, 0.0);
}

} // extern "C"
