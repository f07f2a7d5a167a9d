#include "engine/properties/property_results.h"

#include <gtest/gtest.h>
#include <numeric>
#include <string>
#include <vector>

namespace quorvane {
namespace {

TEST(PropertyResultsTest, NothingIsReportedBeforeACalculation) {
    const PropertyResults results;
    EXPECT_FALSE(results.Value(Quantity::MolecularWeight, Stream::Feed).has_value());
}

TEST(PropertyResultsTest, AbsentPhaseAndInapplicableValuesAreNotReported) {
    PropertyResults results;
    results.calculated = true;
    results.vapourPresent = true;
    results.liquidPresent = false;
    results.molecularWeight = {20.0F, 18.0F, 60.0F};
    results.viscosity = {0.012F, 0.3F};
    for (Stream s : {Stream::Feed, Stream::Vapour, Stream::Liquid}) {
        for (Quantity q : {Quantity::MolecularWeight, Quantity::Viscosity, Quantity::SurfaceTension,
                           Quantity::JouleThomson}) {
            results.MarkComputed(q, s);
        }
    }
    EXPECT_EQ(results.Value(Quantity::MolecularWeight, Stream::Vapour), 18.0);
    EXPECT_FALSE(results.Value(Quantity::MolecularWeight, Stream::Liquid).has_value());
    EXPECT_NEAR(*results.Value(Quantity::Viscosity, Stream::Vapour), 0.012, 1e-9);
    EXPECT_FALSE(results.Value(Quantity::Viscosity, Stream::Feed).has_value());
    EXPECT_FALSE(results.Value(Quantity::SurfaceTension, Stream::Vapour).has_value());
    EXPECT_FALSE(results.Value(Quantity::JouleThomson, Stream::Feed).has_value());
    EXPECT_TRUE(PropertyResults::Applies(Quantity::HeatOfVaporization, Stream::Liquid));
    EXPECT_TRUE(PropertyResults::Applies(Quantity::ResidualEnthalpy, Stream::Feed));
}

// A record that starts unset reports nothing that a calculation did not give it, and no
// stored value that is not a finite number reaches a caller.
TEST(PropertyResultsTest, UnsetValuesAreNotReported) {
    PropertyResults results = PropertyResults::Unset();
    results.calculated = true;
    results.vapourPresent = true;
    results.liquidPresent = true;
    for (Stream s : {Stream::Feed, Stream::Vapour, Stream::Liquid}) {
        for (Quantity q :
             {Quantity::MolecularWeight, Quantity::Compressibility, Quantity::HeatCapacityRatio,
              Quantity::SoundSpeed, Quantity::SurfaceTension, Quantity::ResidualHeatCapacity}) {
            EXPECT_FALSE(results.Value(q, s).has_value()) << static_cast<int>(q);
        }
    }
    results.soundSpeed[0] = 1400.0F;
    results.MarkComputed(Quantity::SoundSpeed, Stream::Vapour);
    EXPECT_EQ(results.Value(Quantity::SoundSpeed, Stream::Vapour), 1400.0);
}

// A field keeps the number of an earlier calculation when a statement fails; only what the
// last calculation marked is reported, and its notes go with the calculation.
TEST(PropertyResultsTest, OnlyTheLastCalculationsValuesAreReported) {
    PropertyResults results;
    results.calculated = true;
    results.vapourPresent = true;
    results.heatCapacity = {9.0F, 9.5F, 0.0F};
    results.MarkComputed(Quantity::HeatCapacity, Stream::Vapour);
    EXPECT_EQ(results.Value(Quantity::HeatCapacity, Stream::Vapour), 9.5);

    results.BeginCalculation();
    results.calculated = true;
    results.AddNote(Quantity::HeatCapacity, Stream::Vapour, "no ideal-gas set");
    results.AddNote(Quantity::HeatCapacity, Stream::Vapour, "no ideal-gas set");
    results.AddNote(Quantity::HeatCapacity, Stream::Vapour, "no reference enthalpy");
    EXPECT_FALSE(results.Value(Quantity::HeatCapacity, Stream::Vapour).has_value());
    EXPECT_EQ(results.NotesOf(Quantity::HeatCapacity, Stream::Vapour),
              (std::vector<std::string>{"no ideal-gas set", "no reference enthalpy"}));
    EXPECT_TRUE(results.NotesOf(Quantity::HeatCapacity, Stream::Feed).empty());

    results.BeginCalculation();
    EXPECT_FALSE(results.calculated);
    EXPECT_TRUE(results.Notes().empty());
}

TEST(PropertyResultsTest, StoredRecordKeepsItsOrder) {
    PropertyResults results;
    results.molecularWeight = {1.0F, 2.0F, 3.0F};
    results.heatOfVaporization = 16.0F;
    results.viscosity = {26.0F, 27.0F};
    results.surfaceTension = 30.0F;
    const auto record = results.StoredRecord();
    EXPECT_EQ(record[0], 1.0F);
    EXPECT_EQ(record[2], 3.0F);
    EXPECT_EQ(record[15], 16.0F);
    EXPECT_EQ(record[25], 26.0F);
    EXPECT_EQ(record[29], 30.0F);

    std::array<float, kStoredResultCount> counting{};
    std::iota(counting.begin(), counting.end(), 1.0F);
    PropertyResults back;
    back.SetStoredRecord(counting);
    EXPECT_EQ(back.StoredRecord(), counting);
    EXPECT_EQ(back.entropy[2], 25.0F);
    // The record holds results of a completed calculation: they are reported again.
    back.calculated = true;
    back.liquidPresent = true;
    EXPECT_EQ(back.Value(Quantity::Entropy, Stream::Liquid), 25.0);
    EXPECT_FALSE(back.Value(Quantity::SoundSpeed, Stream::Liquid).has_value());
}

} // namespace
} // namespace quorvane
