#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <utility>
#include <vector>

// A component as the command-line front end hands it to the engine: its name and its full
// ordinal-indexed row of numbers (the layout of the component table: ordinal 2 molecular
// weight, 3 Tc, ..., 19..26 the vapour-pressure set), NaN where a cell is empty.

namespace quorvane {

// Ordinals 0 (key) to 114 (last cell of the vapour-conductivity set).
inline constexpr std::size_t kComponentRowCells = 115;

inline constexpr std::size_t kOrdinalMolecularWeight = 2;
inline constexpr std::size_t kOrdinalCriticalTemperature = 3;
inline constexpr std::size_t kOrdinalCriticalPressure = 4;
inline constexpr std::size_t kOrdinalCriticalVolume = 5;
inline constexpr std::size_t kOrdinalCriticalZ = 6;
inline constexpr std::size_t kOrdinalBoilingTemperature = 7;
inline constexpr std::size_t kOrdinalReferenceEnthalpy = 12;
inline constexpr std::size_t kOrdinalReferenceEntropy = 14;
inline constexpr std::size_t kOrdinalAcentricFactor = 17;
inline constexpr std::size_t kOrdinalVapourPressureSet = 19;
inline constexpr std::size_t kOrdinalIdealGasCpSet = 75;
// Within a coefficient set: A..E at +0..+4, lowest and highest T (K) at +5, +6, code at +7.
inline constexpr std::size_t kSetCodeOffset = 7;
inline constexpr std::size_t kSetCells = 8;

struct ComponentRow {
    std::string name;
    std::vector<double> cells =
        std::vector<double>(kComponentRowCells, std::numeric_limits<double>::quiet_NaN());
    // Cells of a database row that hold text where a number belongs (their cell is NaN), so
    // that a message can say so instead of calling the cell empty.
    std::vector<std::pair<std::size_t, std::string>> textCells;

    // The text of that cell, or nothing.
    [[nodiscard]] const std::string* TextAt(std::size_t ordinal) const {
        for (const auto& [at, text] : textCells) {
            if (at == ordinal) {
                return &text;
            }
        }
        return nullptr;
    }
};

} // namespace quorvane
