#include "data/component_database.h"
#include "data/component_table_builder.h"
#include "data/csv.h"
#include "data/mixture_components.h"
#include "tests/data/component_csv.h"
#include "tests/data/test_files.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

using testing::ComponentCsvHeader;
using testing::ComponentCsvRow;
using testing::ScratchFolder;

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

// The database the build made from the bundled CSV.
class BundledDatabase : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_db = new ComponentDatabase(QUORVANE_COMPONENTS_DB); }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    static ComponentDatabase* s_db;
};
ComponentDatabase* BundledDatabase::s_db = nullptr;

TEST_F(BundledDatabase, OffersEveryCsvRowWithItsRequiredColumns) {
    std::ifstream in(QUORVANE_COMPONENTS_CSV);
    const std::vector<CsvRow> rows = ReadCsv(in);
    ASSERT_GT(rows.size(), 1u);
    const CsvRow& header = rows[0];
    std::vector<std::size_t> required;
    for (std::string_view column : kRequiredColumns) {
        required.push_back(static_cast<std::size_t>(
            std::find(header.begin(), header.end(), column) - header.begin()));
    }
    const auto expected = std::count_if(rows.begin() + 1, rows.end(), [&](const CsvRow& row) {
        return std::all_of(required.begin(), required.end(),
                           [&](std::size_t c) { return !row.at(c).empty(); });
    });
    EXPECT_EQ(expected, 493); // the bundled table: every row is complete
    EXPECT_EQ(static_cast<long>(s_db->Offered().size()), expected);
}

TEST_F(BundledDatabase, NamesInNameOrder) {
    const std::vector<std::string> names = s_db->OfferedNames();
    ASSERT_FALSE(names.empty());
    for (std::size_t i = 1; i < names.size(); ++i) {
        EXPECT_LE(Lower(names[i - 1]), Lower(names[i])) << names[i - 1] << " / " << names[i];
    }
    // A lower-case prefix sorts among the upper-case names, as a reader expects.
    const auto pos = [&](std::string_view n) {
        return std::find(names.begin(), names.end(), n) - names.begin();
    };
    EXPECT_LT(pos("METHANE"), pos("n-BUTANE"));
    EXPECT_LT(pos("n-BUTANE"), pos("OXYGEN"));
}

TEST_F(BundledDatabase, RowsAreAddressedByOrdinal) {
    EXPECT_EQ(s_db->RowWidth(), ordinal::kLastOrdinal);
    const auto methane = s_db->FindByName("METHANE");
    ASSERT_TRUE(methane.has_value());
    EXPECT_EQ(methane->Width(), ordinal::kLastOrdinal);
    EXPECT_EQ(methane->Name(), "METHANE");
    ASSERT_TRUE(methane->Number(ordinal::kKey).has_value());
    // Methane: M = 16.0428, Tc = 190.564 K = -116.6548 °F, ω = 0.0114 (bundled data notes).
    EXPECT_NEAR(*methane->Number(ordinal::kMolecularWeight), 16.04, 0.01);
    EXPECT_NEAR(*methane->Number(ordinal::kCriticalTemperature), (190.564 - 273.15) * 1.8 + 32,
                0.01);
    EXPECT_NEAR(*methane->Number(ordinal::kAcentricFactor), 0.0114, 1e-4);
    // The vapour-pressure set ends in its equation code 6.
    EXPECT_EQ(methane->Number(ordinal::kVaporPressureSet + 7), 6.0);
    const std::vector<double> numbers = NumericCells(*methane);
    ASSERT_EQ(numbers.size(), methane->cells.size());
    EXPECT_TRUE(std::isnan(numbers[ordinal::kName]));
    EXPECT_TRUE(std::isnan(numbers[9])); // column 8 is empty
    EXPECT_EQ(numbers[ordinal::kMolecularWeight], *methane->Number(ordinal::kMolecularWeight));
}

TEST_F(BundledDatabase, FindByName) {
    EXPECT_TRUE(s_db->FindByName("n-BUTANE").has_value());
    const auto lower = s_db->FindByName("methane");
    ASSERT_TRUE(lower.has_value());
    EXPECT_EQ(lower->Name(), "METHANE");
    EXPECT_FALSE(s_db->FindByName("UNOBTAINIUM").has_value());
    EXPECT_EQ(s_db->IndexOfName("UNOBTAINIUM"), -1);
    EXPECT_EQ(s_db->Offered()[s_db->IndexOfName("WATER")].Name(), "WATER");
}

TEST(ComponentDatabase, MissingFileNamesItAndWhatToDo) {
    ScratchFolder folder;
    const auto path = folder / "components.db";
    try {
        OpenComponentDatabase(path);
        FAIL() << "no error for a missing database";
    } catch (const ComponentDatabaseError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find(path.string()), std::string::npos) << message;
        EXPECT_NE(message.find("not found"), std::string::npos) << message;
        EXPECT_NE(message.find("program folder"), std::string::npos) << message;
    }
    EXPECT_FALSE(std::filesystem::exists(path)); // opening read-only creates nothing
}

TEST(ComponentDatabase, UnreadableFileIsATypedError) {
    ScratchFolder folder;
    const auto garbage = folder.Write("components.db", std::string(4096, 'x'));
    try {
        OpenComponentDatabase(garbage);
        FAIL() << "no error for a file that is not a database";
    } catch (const ComponentDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find(garbage.string()), std::string::npos) << e.what();
    }
    EXPECT_THROW(OpenComponentDatabase(folder / ""), ComponentDatabaseError); // a folder
    EXPECT_THROW(OpenComponentDatabase(folder.Write("empty.db", "")), ComponentDatabaseError);
    // A database without the table.
    const auto csv = folder.Write("wrong.csv", "key,COMP,1\n1,X,2\n");
    BuildComponentDatabase(csv, folder / "wrong.db");
    try {
        OpenComponentDatabase(folder / "wrong.db");
        FAIL() << "no error for a database without the required columns";
    } catch (const ComponentDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("wrong.db"), std::string::npos);
    }
}

TEST(ComponentDatabase, RowsMissingARequiredColumnAreNotOffered) {
    ScratchFolder folder;
    std::string csv = ComponentCsvHeader() + ComponentCsvRow(1, "zeta-GAS", {26}) +
                      ComponentCsvRow(2, "ALPHA, BETA", {7, 12, 17, 19, 73, 75, 113});
    // One row per required column, each missing only that one: none of them is offered.
    int key = 10;
    for (std::string_view column : kRequiredColumns) {
        const int c = std::stoi(std::string(column));
        csv += ComponentCsvRow(key++, "NO COLUMN " + std::string(column), {c});
    }
    BuildComponentDatabase(folder.Write("c.csv", csv), folder / "c.db");
    const ComponentDatabase db = OpenComponentDatabase(folder / "c.db");
    EXPECT_EQ(db.OfferedNames(), (std::vector<std::string>{"ALPHA, BETA", "zeta-GAS"}));
    // The optional column 26 is listed and stays empty (ordinal 27), also in the mixture.
    const auto zeta = db.FindByName("zeta-GAS");
    ASSERT_TRUE(zeta.has_value());
    EXPECT_TRUE(std::holds_alternative<std::monostate>(zeta->Cell(27)));
    EXPECT_EQ(zeta->Number(26), 1.025);
    MixtureComponents mixture;
    mixture.SetRowWidth(db.RowWidth());
    ASSERT_EQ(mixture.AddDatabaseComponent(*zeta), AddComponentResult::Added);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(mixture.Record(0).Cell(27)));
    EXPECT_EQ(mixture.Record(0).Width(), ordinal::kLastOrdinal);
}

TEST(ComponentTableBuilder, RejectsMalformedCsv) {
    ScratchFolder folder;
    const auto out = folder / "c.db";
    EXPECT_THROW(BuildComponentDatabase(folder.Write("a.csv", "id,NAME,1\n"), out),
                 ComponentCsvError);
    EXPECT_THROW(BuildComponentDatabase(folder.Write("b.csv", "key,COMP,1,3\n"), out),
                 ComponentCsvError);
    try {
        BuildComponentDatabase(folder.Write("c.csv", "key,COMP,1\n1,A,2\n2,B,x\n"), out);
        FAIL() << "no error for a text cell";
    } catch (const ComponentCsvError& e) {
        EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
    }
    EXPECT_THROW(BuildComponentDatabase(folder.Write("d.csv", "key,COMP,1\n1,A,2\n1,B,3\n"), out),
                 ComponentCsvError); // duplicate key
    EXPECT_THROW(BuildComponentDatabase(folder.Write("e.csv", "key,COMP,1\n1,A,nan\n"), out),
                 ComponentCsvError);
    EXPECT_THROW(BuildComponentDatabase(folder.Write("f.csv", "key,COMP,1\n1,A,-inf\n"), out),
                 ComponentCsvError);
    EXPECT_FALSE(std::filesystem::exists(out)); // nothing half-made is left
}

} // namespace
} // namespace quorvane
