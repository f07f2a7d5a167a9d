#pragma once

// The unit set: one display unit per quantity group, global for the program's run, saved under
// the "Units" keys of the settings store; and which unit-set entry each unit selector of the
// main window follows. The conversions themselves are in unit_catalogue.h.

#include "units/unit_catalogue.h"

#include <array>
#include <optional>
#include <string_view>

namespace quorvane {

// Entries of the unit set, in stored order.
enum class UnitSetEntry {
    TUnits,     // temperature
    PUnits,     // pressure
    VUnits,     // molar or specific volume
    DUnits,     // density
    EnthUnits,  // enthalpy
    EntroUnits, // entropy
    HOVUnits,   // heat of vaporization
    JTUnits,    // Joule-Thomson coefficient
    HCUnits,    // heat capacity
    LVVUnits,   // viscosity
    LVTCUnits,  // thermal conductivity
    STUnits,    // surface tension
    VelUnits,   // sonic velocity
    FracUnits,  // phase fraction basis
};
inline constexpr int kUnitSetSize = 14;

// The settings key of an entry ("TUnits", ..., "FracUnits").
std::string_view UnitSetKey(UnitSetEntry entry);
// The quantity tag whose unit list the entry indexes.
QuantityTag UnitSetTag(UnitSetEntry entry);

struct UnitSet {
    std::array<UnitIndex, kUnitSetSize> units{}; // all 0: the first-run set

    UnitIndex& operator[](UnitSetEntry e) { return units[static_cast<int>(e)]; }
    UnitIndex operator[](UnitSetEntry e) const { return units[static_cast<int>(e)]; }
    bool operator==(const UnitSet&) const = default;
};

// The two presets of the unit options dialog.
UnitSet IpEngineeringUnits(); // every entry 0, sonic velocity 1 ("ft/s")
UnitSet SiEngineeringUnits(); // °C, kPa, m³/kg, kgmol/m³, kJ/kgmol, ..., viscosity "kg/m-s"

// The main window's unit selectors (cboUnits 0 to 30).
inline constexpr int kMainWindowSelectorCount = 31;

struct UnitSelectorInfo {
    std::optional<QuantityTag> tag;      // list the selector shows; none for selector 2
    std::optional<UnitSetEntry> follows; // unit-set entry it follows; none for 2 and 8
};

// Tag and followed entry of selector `index` (0 to 30); throws std::out_of_range otherwise.
UnitSelectorInfo MainWindowSelector(int index);

// The unit index selector `index` shows for the unit set: its entry's index, except the
// molecular-weight selector (4), which follows VUnits with 3 to 5 mapped to 0 to 2.
// nullopt for selectors that follow nothing.
std::optional<UnitIndex> SelectorUnit(int index, const UnitSet& set);

} // namespace quorvane
