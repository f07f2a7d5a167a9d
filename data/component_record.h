#pragma once

// One full row of the component table, held as the database returned it. Cells are addressed
// by ordinal: 0 the key, 1 the name (COMP), k >= 2 the property column named k-1 (molecular
// weight at 2, critical temperature at 3, ..., coefficient sets from 19 on).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quorvane {

// A cell: empty (NULL or unreadable), a number, or text.
using ComponentCell = std::variant<std::monostate, double, std::string>;

// Ordinals the mixture storage and the property code read.
namespace ordinal {
inline constexpr int kKey = 0;
inline constexpr int kName = 1;
inline constexpr int kMolecularWeight = 2;
inline constexpr int kCriticalTemperature = 3; // °F
inline constexpr int kCriticalPressure = 4;    // psia
inline constexpr int kCriticalVolume = 5;      // ft³/lb-mol
inline constexpr int kCriticalZ = 6;
inline constexpr int kNormalBoilingPoint = 7; // °F
inline constexpr int kReferenceEnthalpy = 12; // Btu/lb, ideal gas at 298.15 K
inline constexpr int kReferenceEntropy = 14;  // Btu/(lb·°R), ideal gas at 298.15 K and 1 atm
inline constexpr int kAcentricFactor = 17;
// Bases of the eight-ordinal coefficient sets (A..E, Tmin K, Tmax K, equation code).
inline constexpr int kVaporPressureSet = 19;
inline constexpr int kLiquidDensitySet = 27;
inline constexpr int kLiquidViscositySet = 35;
inline constexpr int kVaporViscositySet = 43;
inline constexpr int kHeatOfVaporizationSet = 51;
inline constexpr int kLiquidHeatCapacitySet = 59;
inline constexpr int kIdealGasHeatCapacitySet = 75;
inline constexpr int kSurfaceTensionSet = 91;
inline constexpr int kLiquidConductivitySet = 99;
inline constexpr int kVaporConductivitySet = 107;
inline constexpr int kLastOrdinal = 114; // row width of the table (113 property columns)
} // namespace ordinal

struct ComponentRecord {
    std::vector<ComponentCell> cells; // ordinal 0 .. row width

    // The cell at `ord`; an ordinal beyond the row is an empty cell.
    const ComponentCell& Cell(int ord) const;
    // The number at `ord`, or nullopt when the cell is empty or text.
    std::optional<double> Number(int ord) const;
    // The name (ordinal 1) as text; "" when it is not text.
    std::string_view Name() const;
    // Row width: the last ordinal (cells less one); -1 for an empty record.
    int Width() const { return static_cast<int>(cells.size()) - 1; }
};

// The row as numbers indexed by ordinal, NaN for empty or text cells (the form the property
// driver takes).
std::vector<double> NumericCells(const ComponentRecord& record);

} // namespace quorvane
