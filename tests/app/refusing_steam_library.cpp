// A stand-in for libcalvix.so whose temperature and heat-capacity setters refuse every code and
// that has no property functions at all.

#define STUB_API extern "C" __attribute__((visibility("default")))

STUB_API int STM_SetTempUnit(int) {
    return 0;
}
STUB_API int STM_SetPressUnit(int) {
    return 1;
}
STUB_API int STM_SetEnthalUnit(int) {
    return 1;
}
STUB_API int STM_SetEntroUnit(int) {
    return 1;
}
STUB_API int STM_SetDensityUnit(int) {
    return 1;
}
STUB_API int STM_SetWetDryUnit(int) {
    return 1;
}
STUB_API int STM_SetHCUnit(int) {
    return 0;
}
