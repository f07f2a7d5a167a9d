#include "calvix/units.h"

#include <array>
#include <atomic>
#include <cmath>
#include <cstddef>

namespace calvix {
namespace {

struct CodeRange {
    std::int32_t first;
    std::int32_t last;
    std::int32_t initial;
};

// Accepted codes and defaults, in the order of Quantity.
constexpr std::array<CodeRange, 7> kRanges = {{
    {1, 3, 1},
    {11, 21, 12},
    {31, 33, 32},
    {51, 53, 52},
    {71, 72, 71},
    {91, 92, 91},
    {101, 103, 102},
}};

// Process-wide settings. Atomic so that a read racing a write is not undefined behaviour;
// callers that change units while others evaluate must still serialise (see calvix.h).
std::array<std::atomic<std::int32_t>, 7> g_codes = {
    kRanges[0].initial, kRanges[1].initial, kRanges[2].initial, kRanges[3].initial,
    kRanges[4].initial, kRanges[5].initial, kRanges[6].initial,
};

std::size_t Index(Quantity quantity) {
    return static_cast<std::size_t>(quantity);
}

constexpr double kAtmPa = 101325.0;
constexpr double kAtmMPa = 0.101325;
constexpr double kKgfPerCm2 = 9.80665; // ×0.01 gives MPa
constexpr double kKcal = 4186.8;       // J per kcal

std::optional<double> Finite(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// The energy-like triples (enthalpy, entropy, heat capacity): J, kJ, kcal based units,
// with `offset` the code's position in its triple (0, 1, 2).
std::optional<double> EnergyToInternal(std::int32_t offset, double value) {
    switch (offset) {
    case 0:
        return value * 0.001;
    case 1:
        return value;
    case 2:
        return value * kKcal * 0.001;
    default:
        return std::nullopt;
    }
}

std::optional<double> EnergyFromInternal(std::int32_t offset, double value) {
    switch (offset) {
    case 0:
        return value * 1000.0;
    case 1:
        return value;
    case 2:
        return value * 1000.0 / kKcal;
    default:
        return std::nullopt;
    }
}

std::optional<double> TempToInternal(std::int32_t code, double value) {
    switch (code) {
    case 1:
        return value;
    case 2:
        return value + 273.15;
    case 3:
        return (value + 459.67) / 1.8;
    default:
        return std::nullopt;
    }
}

std::optional<double> TempFromInternal(std::int32_t code, double tK) {
    switch (code) {
    case 1:
        return tK;
    case 2:
        return tK - 273.15;
    case 3:
        return tK * 1.8 - 459.67;
    default:
        return std::nullopt;
    }
}

// Gauge codes add or subtract the standard atmosphere.
std::optional<double> PressToInternal(std::int32_t code, double value) {
    switch (code) {
    case 11:
        return value * 1e-6;
    case 12:
        return value;
    case 13:
        return value * kKgfPerCm2 * 0.01;
    case 14:
        return value * kKgfPerCm2 * 0.01 + kAtmMPa;
    case 15:
        return value * kAtmPa / 7.6e8;
    case 16:
        return (value + 760.0) * kAtmPa / 7.6e8;
    case 17:
        return value * kAtmPa * 1e-6;
    case 18:
        return (value + 1.0) * kAtmPa * 1e-6;
    case 19:
        return value * 0.0001;
    case 20:
        return (value + kAtmPa) * 1e-6;
    case 21:
        return value + kAtmMPa;
    default:
        return std::nullopt;
    }
}

std::optional<double> PressFromInternal(std::int32_t code, double pMPa) {
    switch (code) {
    case 11:
        return pMPa * 1e6;
    case 12:
        return pMPa;
    case 13:
        return pMPa * 100.0 / kKgfPerCm2;
    case 14:
        return (pMPa - kAtmMPa) * 100.0 / kKgfPerCm2;
    case 15:
        return pMPa * 1e6 * 760.0 / kAtmPa;
    case 16:
        return pMPa * 1e6 * 760.0 / kAtmPa - 760.0;
    case 17:
        return pMPa * 1e6 / kAtmPa;
    case 18:
        return pMPa * 1e6 / kAtmPa - 1.0;
    case 19:
        return pMPa * 10000.0;
    case 20:
        return pMPa * 1e6 - kAtmPa;
    case 21:
        return pMPa - kAtmMPa;
    default:
        return std::nullopt;
    }
}

// Code 71 is the specific volume, 1/ρ in both directions; 72 the density itself.
std::optional<double> DensityConvert(std::int32_t code, double value) {
    switch (code) {
    case 71:
        if (value == 0.0) {
            return std::nullopt;
        }
        return 1.0 / value;
    case 72:
        return value;
    default:
        return std::nullopt;
    }
}

// Code 91 is the wetness itself, 92 the dryness x = 1 − w; the same in both directions.
std::optional<double> WetDryConvert(std::int32_t code, double value) {
    switch (code) {
    case 91:
        return value;
    case 92:
        return 1.0 - value;
    default:
        return std::nullopt;
    }
}

std::optional<double> Convert(Quantity quantity, double value, bool toInternal) {
    const std::int32_t code = UnitCode(quantity);
    std::optional<double> result;
    switch (quantity) {
    case Quantity::Temperature:
        result = toInternal ? TempToInternal(code, value) : TempFromInternal(code, value);
        break;
    case Quantity::Pressure:
        result = toInternal ? PressToInternal(code, value) : PressFromInternal(code, value);
        break;
    case Quantity::Enthalpy:
    case Quantity::Entropy:
    case Quantity::HeatCapacity: {
        const std::int32_t offset = code - kRanges[Index(quantity)].first;
        result = toInternal ? EnergyToInternal(offset, value) : EnergyFromInternal(offset, value);
        break;
    }
    case Quantity::Density:
        result = DensityConvert(code, value);
        break;
    case Quantity::WetDry:
        result = WetDryConvert(code, value);
        break;
    }
    return result ? Finite(*result) : std::nullopt;
}

} // namespace

bool SetUnitCode(Quantity quantity, std::int32_t code) {
    const CodeRange& range = kRanges[Index(quantity)];
    if (code < range.first || code > range.last) {
        return false;
    }
    g_codes[Index(quantity)].store(code, std::memory_order_relaxed);
    return true;
}

std::int32_t UnitCode(Quantity quantity) {
    return g_codes[Index(quantity)].load(std::memory_order_relaxed);
}

std::optional<double> ToInternal(Quantity quantity, double value) {
    return Convert(quantity, value, true);
}

std::optional<double> FromInternal(Quantity quantity, double value) {
    return Convert(quantity, value, false);
}

} // namespace calvix
