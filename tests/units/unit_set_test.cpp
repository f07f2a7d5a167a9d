#include "units/unit_set.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(UnitSet, KeysAndTagsInStoredOrder) {
    EXPECT_EQ(UnitSetKey(UnitSetEntry::TUnits), "TUnits");
    EXPECT_EQ(UnitSetKey(UnitSetEntry::HOVUnits), "HOVUnits");
    EXPECT_EQ(UnitSetKey(UnitSetEntry::FracUnits), "FracUnits");
    EXPECT_EQ(UnitSetTag(UnitSetEntry::HOVUnits), QuantityTag::Enthalpy);
    EXPECT_EQ(UnitSetTag(UnitSetEntry::EntroUnits), QuantityTag::Entropy);
    EXPECT_EQ(UnitSetTag(UnitSetEntry::FracUnits), QuantityTag::PhaseFraction);
}

TEST(UnitSet, Presets) {
    const UnitSet ip = IpEngineeringUnits();
    for (int e = 0; e < kUnitSetSize; ++e) {
        const auto entry = static_cast<UnitSetEntry>(e);
        EXPECT_EQ(ip[entry], entry == UnitSetEntry::VelUnits ? 1 : 0);
    }
    const UnitSet si = SiEngineeringUnits();
    const auto name = [&](UnitSetEntry e) { return UnitNames(UnitSetTag(e))[si[e]]; };
    EXPECT_EQ(name(UnitSetEntry::TUnits), "°C");
    EXPECT_EQ(name(UnitSetEntry::PUnits), "kPa");
    EXPECT_EQ(name(UnitSetEntry::VUnits), "m³/kg");
    EXPECT_EQ(name(UnitSetEntry::DUnits), "kgmol/m³");
    EXPECT_EQ(name(UnitSetEntry::EntroUnits), "kJ/kgmol-K");
    EXPECT_EQ(name(UnitSetEntry::JTUnits), "°C/kPa");
    EXPECT_EQ(name(UnitSetEntry::LVVUnits), "kg/m-s"); // an SI preset, not lbm/ft-hr
    EXPECT_EQ(name(UnitSetEntry::LVTCUnits), "W/m-K");
    EXPECT_EQ(name(UnitSetEntry::STUnits), "N/m");
    EXPECT_EQ(name(UnitSetEntry::VelUnits), "m/s");
    EXPECT_EQ(name(UnitSetEntry::FracUnits), "Mole Fraction");
}

TEST(UnitSet, SelectorsFollowTheirEntries) {
    UnitSet set = SiEngineeringUnits();
    EXPECT_EQ(SelectorUnit(0, set), 1);
    EXPECT_EQ(SelectorUnit(10, set), set[UnitSetEntry::HOVUnits]);
    EXPECT_FALSE(SelectorUnit(2, set).has_value());
    EXPECT_FALSE(SelectorUnit(8, set).has_value());
    // Volume "m³/kg" (5) shows the molecular weight in "kg/kgmol" (2).
    EXPECT_EQ(SelectorUnit(4, set), 2);
    EXPECT_EQ(UnitNames(QuantityTag::MolecularWeight)[*SelectorUnit(4, set)], "kg/kgmol");
    set[UnitSetEntry::VUnits] = 1;
    EXPECT_EQ(SelectorUnit(4, set), 1);
    EXPECT_EQ(MainWindowSelector(26).tag, QuantityTag::HC);
    EXPECT_EQ(MainWindowSelector(30).follows, UnitSetEntry::VelUnits);
    EXPECT_THROW(MainWindowSelector(31), std::out_of_range);
    // Every selector's followed entry indexes a list of the selector's own size or larger.
    for (int i = 0; i < kMainWindowSelectorCount; ++i) {
        const auto info = MainWindowSelector(i);
        if (info.follows && i != 4) {
            EXPECT_EQ(UnitNames(*info.tag).size(), UnitNames(UnitSetTag(*info.follows)).size())
                << i;
        }
    }
}

} // namespace
} // namespace quorvane
