#include "units/unit_set.h"

#include <array>
#include <stdexcept>
#include <string>

namespace quorvane {

namespace {

using Tag = QuantityTag;
using Entry = UnitSetEntry;

struct EntryInfo {
    std::string_view key;
    Tag tag;
};

constexpr std::array<EntryInfo, kUnitSetSize> kEntries{{
    {"TUnits", Tag::Temperature},
    {"PUnits", Tag::Pressure},
    {"VUnits", Tag::Volume},
    {"DUnits", Tag::MolarDensity},
    {"EnthUnits", Tag::Enthalpy},
    {"EntroUnits", Tag::Entropy},
    {"HOVUnits", Tag::Enthalpy},
    {"JTUnits", Tag::JTCoefficient},
    {"HCUnits", Tag::HC},
    {"LVVUnits", Tag::Viscosity},
    {"LVTCUnits", Tag::ThermalConductivity},
    {"STUnits", Tag::SurfaceTension},
    {"VelUnits", Tag::Velocity},
    {"FracUnits", Tag::PhaseFraction},
}};

struct SelectorRow {
    std::optional<Tag> tag;
    std::optional<Entry> follows;
};

// Selectors 0-1: state inputs; 3-18: mixture results; 19-30: water/steam calculator results.
const std::array<SelectorRow, kMainWindowSelectorCount> kSelectors{{
    {Tag::Temperature, Entry::TUnits},
    {Tag::Pressure, Entry::PUnits},
    {std::nullopt, std::nullopt},
    {Tag::PhaseFraction, Entry::FracUnits},
    {Tag::MolecularWeight, Entry::VUnits},
    {Tag::Volume, Entry::VUnits},
    {Tag::Temperature, Entry::TUnits},
    {Tag::Pressure, Entry::PUnits},
    {Tag::FlowRate, std::nullopt},
    {Tag::MolarDensity, Entry::DUnits},
    {Tag::Enthalpy, Entry::HOVUnits},
    {Tag::HC, Entry::HCUnits},
    {Tag::Enthalpy, Entry::EnthUnits},
    {Tag::Entropy, Entry::EntroUnits},
    {Tag::Viscosity, Entry::LVVUnits},
    {Tag::ThermalConductivity, Entry::LVTCUnits},
    {Tag::JTCoefficient, Entry::JTUnits},
    {Tag::Velocity, Entry::VelUnits},
    {Tag::SurfaceTension, Entry::STUnits},
    {Tag::Temperature, Entry::TUnits},
    {Tag::Pressure, Entry::PUnits},
    {Tag::Enthalpy, Entry::EnthUnits},
    {Tag::Entropy, Entry::EntroUnits},
    {Tag::Volume, Entry::VUnits},
    {Tag::MolarDensity, Entry::DUnits},
    {Tag::HC, Entry::HCUnits},
    {Tag::HC, Entry::HCUnits},
    {Tag::Viscosity, Entry::LVVUnits},
    {Tag::ThermalConductivity, Entry::LVTCUnits},
    {Tag::SurfaceTension, Entry::STUnits},
    {Tag::Velocity, Entry::VelUnits},
}};

constexpr int kMolecularWeightSelector = 4;

} // namespace

std::string_view UnitSetKey(UnitSetEntry entry) {
    return kEntries.at(static_cast<std::size_t>(entry)).key;
}

QuantityTag UnitSetTag(UnitSetEntry entry) {
    return kEntries.at(static_cast<std::size_t>(entry)).tag;
}

UnitSet IpEngineeringUnits() {
    UnitSet set;
    set[Entry::VelUnits] = 1; // ft/s
    return set;
}

UnitSet SiEngineeringUnits() {
    UnitSet set;
    set[Entry::TUnits] = 1;     // °C
    set[Entry::PUnits] = 6;     // kPa
    set[Entry::VUnits] = 5;     // m³/kg
    set[Entry::DUnits] = 2;     // kgmol/m³
    set[Entry::EnthUnits] = 2;  // kJ/kgmol
    set[Entry::EntroUnits] = 2; // kJ/kgmol-K
    set[Entry::HOVUnits] = 2;   // kJ/kgmol
    set[Entry::JTUnits] = 1;    // °C/kPa
    set[Entry::HCUnits] = 2;    // kJ/kgmol-K
    set[Entry::LVVUnits] = 2;   // kg/m-s
    set[Entry::LVTCUnits] = 2;  // W/m-K
    set[Entry::STUnits] = 2;    // N/m
    set[Entry::VelUnits] = 3;   // m/s
    set[Entry::FracUnits] = 0;  // Mole Fraction
    return set;
}

UnitSelectorInfo MainWindowSelector(int index) {
    if (index < 0 || index >= kMainWindowSelectorCount) {
        throw std::out_of_range("no unit selector " + std::to_string(index));
    }
    const auto& row = kSelectors[static_cast<std::size_t>(index)];
    return {row.tag, row.follows};
}

std::optional<UnitIndex> SelectorUnit(int index, const UnitSet& set) {
    const UnitSelectorInfo info = MainWindowSelector(index);
    if (!info.follows) {
        return std::nullopt;
    }
    UnitIndex unit = set[*info.follows];
    // The molecular-weight list has the three molar units of the volume list.
    if (index == kMolecularWeightSelector && unit >= 3) {
        unit = static_cast<UnitIndex>(unit - 3);
    }
    return unit;
}

} // namespace quorvane
