// Unit setters: each accepts the codes of its quantity and returns 1, else 0.

#include "dornel/dornel.h"
#include "dornel/library.h"

#include <atomic>

namespace {

int Store(std::atomic<int>& target, int code, bool accepted) {
    if (!dornel::Dadez().usable || !accepted) {
        return 0;
    }
    target.store(code, std::memory_order_relaxed);
    return 1;
}

bool Within(int code, int low, int high) {
    return code >= low && code <= high;
}

} // namespace

extern "C" {

int STM_SetTempUnit(int code) {
    return Store(dornel::Units().temp, code, Within(code, 1, 3));
}
int STM_SetPressUnit(int code) {
    return Store(dornel::Units().press, code, Within(code, 11, 19) || code == 1001);
}
int STM_SetEntlUnit(int code) {
    return Store(dornel::Units().entl, code, Within(code, 21, 23));
}
int STM_SetEntrUnit(int code) {
    return Store(dornel::Units().entr, code, Within(code, 31, 33));
}
int STM_SetVolUnit(int code) {
    return Store(dornel::Units().vol, code, Within(code, 41, 42));
}
int STM_SetWetDryUnit(int code) {
    return Store(dornel::Units().wetDry, code, Within(code, 51, 52));
}
int STM_SetHeatCapUnit(int code) {
    return Store(dornel::Units().heatCap, code, Within(code, 61, 63));
}
int STM_SetThermalConUnit(int code) {
    return Store(dornel::Units().thermalCon, code, Within(code, 71, 72));
}
int STM_SetDynamicVisUnit(int code) {
    return Store(dornel::Units().dynamicVis, code, Within(code, 81, 83));
}
int STM_SetSurTensionUnit(int code) {
    return Store(dornel::Units().surTension, code, Within(code, 91, 93));
}

} // extern "C"
