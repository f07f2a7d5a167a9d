#include "data/component_database.h"
#include "data/mixture_components.h"

#include <cmath>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

class MixtureFromBundledDatabase : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_db = new ComponentDatabase(QUORVANE_COMPONENTS_DB); }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override { mixture.SetRowWidth(s_db->RowWidth()); }

    const ComponentRecord& Component(std::string_view name) {
        const int index = s_db->IndexOfName(name);
        EXPECT_GE(index, 0) << name;
        return s_db->Offered()[static_cast<std::size_t>(index)];
    }
    // Key of component i, the tag the aligned-array checks use.
    float KeyOf(int i) const { return static_cast<float>(*mixture.Record(i).Number(0)); }

    // Every per-component array lines up with the records: working values from the record's
    // ordinals, compositions and interaction parameters tagged by key.
    void ExpectAligned() {
        const int n = mixture.Count();
        ASSERT_EQ(mixture.MolecularWeights().size(), static_cast<std::size_t>(n));
        ASSERT_EQ(mixture.EnteredComposition().size(), static_cast<std::size_t>(n));
        ASSERT_EQ(mixture.KValues().size(), static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            const ComponentRecord& r = mixture.Record(i);
            const auto at = [&](int ord) { return static_cast<float>(*r.Number(ord)); };
            EXPECT_EQ(mixture.MolecularWeights()[i], at(2)) << r.Name();
            EXPECT_EQ(mixture.CriticalTemperaturesF()[i], at(3)) << r.Name();
            EXPECT_EQ(mixture.CriticalPressuresPsia()[i], at(4)) << r.Name();
            EXPECT_EQ(mixture.CriticalVolumes()[i], at(5)) << r.Name();
            EXPECT_EQ(mixture.CriticalZ()[i], at(6)) << r.Name();
            EXPECT_EQ(mixture.BoilingPointsF()[i], at(7)) << r.Name();
            EXPECT_EQ(mixture.AcentricFactors()[i], at(17)) << r.Name();
            EXPECT_EQ(mixture.EnteredComposition()[i], KeyOf(i) / 1000.0f) << r.Name();
            EXPECT_EQ(mixture.FeedMoleFractions()[i], KeyOf(i) / 2000.0f) << r.Name();
            for (int j = 0; j < n; ++j) {
                const float expected = i == j ? 0.0f : KeyOf(i) + KeyOf(j) / 1000.0f;
                EXPECT_EQ(mixture.Kij(i, j), expected) << i << "," << j;
            }
        }
        // Rows of the table below the mixture are zeros.
        for (int row = n; row < MixtureComponents::kInteractionRows; ++row) {
            for (int col = 0; col < n; ++col) {
                EXPECT_EQ(mixture.Kij(row, col), 0.0f);
            }
        }
    }
    // Tags every array entry of the current mixture by key.
    void Tag() {
        const int n = mixture.Count();
        for (int i = 0; i < n; ++i) {
            mixture.EnteredComposition()[i] = KeyOf(i) / 1000.0f;
            mixture.FeedMoleFractions()[i] = KeyOf(i) / 2000.0f;
            for (int j = 0; j < n; ++j) {
                if (i != j) {
                    mixture.SetKij(i, j, KeyOf(i) + KeyOf(j) / 1000.0f);
                }
            }
        }
    }

    static ComponentDatabase* s_db;
    MixtureComponents mixture;
};
ComponentDatabase* MixtureFromBundledDatabase::s_db = nullptr;

TEST_F(MixtureFromBundledDatabase, TwentyFiveAndNoMore) {
    for (int i = 0; i < 25; ++i) {
        EXPECT_EQ(mixture.AddDatabaseComponent(s_db->Offered()[i]), AddComponentResult::Added);
    }
    EXPECT_EQ(mixture.Count(), 25);
    Tag();
    EXPECT_EQ(mixture.AddDatabaseComponent(s_db->Offered()[25]), AddComponentResult::LimitReached);
    EXPECT_EQ(mixture.Count(), 25);
    EXPECT_FALSE(mixture.IsComponentInMixture(s_db->Offered()[25]));
    // The limit is checked first: a component already present is refused with the message too.
    EXPECT_EQ(mixture.AddDatabaseComponent(s_db->Offered()[0]), AddComponentResult::LimitReached);
    ExpectAligned(); // nothing changed
    EXPECT_EQ(kTooManyComponentsMessage, "Only 25 components are allowed.");
    EXPECT_EQ(kPhysicalPropertiesTitle, "Physical Properties");
}

TEST_F(MixtureFromBundledDatabase, DuplicateIsSilentlyIgnored) {
    EXPECT_FALSE(mixture.IsComponentInMixture(Component("METHANE")));
    EXPECT_EQ(mixture.AddDatabaseComponent(Component("METHANE")), AddComponentResult::Added);
    EXPECT_EQ(mixture.AddDatabaseComponent(Component("ETHANE")), AddComponentResult::Added);
    Tag();
    EXPECT_TRUE(mixture.IsComponentInMixture(Component("METHANE")));
    EXPECT_EQ(mixture.AddDatabaseComponent(Component("METHANE")),
              AddComponentResult::AlreadyInMixture);
    EXPECT_EQ(mixture.Count(), 2);
    ExpectAligned();
}

TEST_F(MixtureFromBundledDatabase, ArraysStayAlignedThroughAddsAndRemoves) {
    for (auto name : {"METHANE", "ETHANE", "PROPANE", "n-BUTANE", "NITROGEN", "CARBON DIOXIDE"}) {
        mixture.AddDatabaseComponent(Component(name));
    }
    Tag();
    ExpectAligned();
    ASSERT_TRUE(mixture.RemoveComponent(1)); // ETHANE
    ExpectAligned();
    ASSERT_TRUE(mixture.RemoveComponent(4)); // CARBON DIOXIDE, the last
    ExpectAligned();
    ASSERT_TRUE(mixture.RemoveComponent(0)); // METHANE, the first
    ExpectAligned();
    EXPECT_EQ(mixture.Name(0), "PROPANE");
    EXPECT_EQ(mixture.Name(1), "n-BUTANE");
    EXPECT_EQ(mixture.Name(2), "NITROGEN");
    EXPECT_EQ(mixture.IndexOfName("NITROGEN"), 2);
    EXPECT_EQ(mixture.Names(), (std::vector<std::string>{"PROPANE", "n-BUTANE", "NITROGEN"}));
    const auto rows = mixture.NumericRecords();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2][ordinal::kMolecularWeight], *mixture.Record(2).Number(2));
    // Adding keeps compositions and kij, and gives the newcomer zeros.
    mixture.AddDatabaseComponent(Component("WATER"));
    EXPECT_EQ(mixture.EnteredComposition()[3], 0.0f);
    EXPECT_EQ(mixture.Kij(0, 3), 0.0f);
    EXPECT_EQ(mixture.Kij(1, 2), KeyOf(1) + KeyOf(2) / 1000.0f);
    Tag();
    ExpectAligned();
    EXPECT_FALSE(mixture.RemoveComponent(4));
    EXPECT_FALSE(mixture.RemoveComponent(-1));
    EXPECT_EQ(mixture.Count(), 4);
}

TEST_F(MixtureFromBundledDatabase, RemovingTheOnlyComponentEmptiesTheMixture) {
    mixture.AddDatabaseComponent(Component("WATER"));
    ASSERT_TRUE(mixture.RemoveComponent(0));
    EXPECT_TRUE(mixture.Empty());
    EXPECT_TRUE(mixture.MolecularWeights().empty());
    EXPECT_TRUE(mixture.FeedMoleFractions().empty());
    EXPECT_EQ(mixture.Kij(24, 0), 0.0f); // 25 × 1 zeros
    EXPECT_EQ(mixture.RowWidth(), s_db->RowWidth());
}

TEST_F(MixtureFromBundledDatabase, InteractionMatrixIsTheUsedCorner) {
    mixture.AddDatabaseComponent(Component("METHANE"));
    mixture.AddDatabaseComponent(Component("CARBON DIOXIDE"));
    mixture.SetKijPair(0, 1, 0.0919f);
    EXPECT_EQ(mixture.InteractionMatrix(), (std::vector<float>{0.0f, 0.0919f, 0.0919f, 0.0f}));
    mixture.ClearInteractionTable();
    EXPECT_EQ(mixture.InteractionMatrix(), (std::vector<float>(4, 0.0f)));
    EXPECT_THROW(mixture.Kij(25, 0), std::out_of_range);
    EXPECT_THROW(mixture.Kij(0, 2), std::out_of_range);
}

ComponentRecord SmallRecord(double key, double omega) {
    ComponentRecord r;
    r.cells.resize(18);
    r.cells[0] = key;
    r.cells[1] = std::string("TEST GAS");
    for (int ord = 2; ord <= 7; ++ord) {
        r.cells[static_cast<std::size_t>(ord)] = 10.0 * ord;
    }
    r.cells[17] = omega;
    return r;
}

TEST(MixtureComponents, ZeroAcentricFactorAndEmptyCellsAreKept) {
    MixtureComponents mixture;
    mixture.SetRowWidth(ordinal::kLastOrdinal);
    ASSERT_EQ(mixture.AddDatabaseComponent(SmallRecord(7, 0.0)), AddComponentResult::Added);
    EXPECT_EQ(mixture.AcentricFactors()[0], 0.0f);
    EXPECT_EQ(mixture.MolecularWeights()[0], 20.0f);
    // The short record is padded to the row width with empty cells.
    EXPECT_EQ(mixture.Record(0).Width(), ordinal::kLastOrdinal);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(mixture.Record(0).Cell(27)));
    EXPECT_TRUE(std::isnan(NumericCells(mixture.Record(0))[27]));
}

TEST(MixtureComponents, RecordWithoutWorkingNumbersIsRefused) {
    MixtureComponents mixture;
    ComponentRecord r = SmallRecord(8, 0.1);
    r.cells[4] = std::monostate{};
    EXPECT_THROW(mixture.AddDatabaseComponent(r), InvalidComponentRecord);
    r.cells[4] = std::string("n/a");
    EXPECT_THROW(mixture.AddDatabaseComponent(r), InvalidComponentRecord);
    EXPECT_TRUE(mixture.Empty());
}

} // namespace
} // namespace quorvane
