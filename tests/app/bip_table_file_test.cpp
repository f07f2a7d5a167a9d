#include "app/bip_table_file.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

BipGrid SampleGrid() {
    return {{"", "METHANE", "CO2", "H2S"},
            {"METHANE", "---", "0.0919", "0.08"},
            {"CO2", "0.0919", "---", "0.097"},
            {"H2S", "0.08", "0.097", "---"}};
}

TEST(BipTableFile, WritesAndReadsBackTheSameGrid) {
    const BipGrid grid = SampleGrid();
    EXPECT_EQ(ReadBipTable(WriteBipTable(grid)), grid);
}

TEST(BipTableFile, KeepsAwkwardCellTextsUnchanged) {
    const BipGrid grid = {{"", "tab\there", "back\\slash\\t"},
                          {"line\nbreak", "", "cr\rlf\r\n"},
                          {"µ °C ³", " padded ", "\\"}};
    EXPECT_EQ(ReadBipTable(WriteBipTable(grid)), grid);
}

TEST(BipTableFile, RoundTripsThroughAFile) {
    const auto path = std::filesystem::temp_directory_path() / "quorvane_bip_round_trip.qvb";
    SaveBipTableFile(path, SampleGrid());
    EXPECT_EQ(LoadBipTableFile(path), SampleGrid());
    std::filesystem::remove(path);
}

TEST(BipTableFile, AcceptsWindowsLineEnds) {
    std::string text = WriteBipTable(SampleGrid());
    std::string crlf;
    for (char c : text) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    EXPECT_EQ(ReadBipTable(crlf), SampleGrid());
}

TEST(BipTableFile, EmptyGridRoundTrips) {
    EXPECT_EQ(ReadBipTable(WriteBipTable({})), BipGrid{});
}

TEST(BipTableFile, RejectsForeignAndDamagedFiles) {
    EXPECT_THROW(ReadBipTable("hello\n"), BipTableFileError);
    EXPECT_THROW(ReadBipTable(std::string(kBipTableFileHeader) + "\n2\tx\n"), BipTableFileError);
    // Too few rows, and a row with the wrong cell count.
    EXPECT_THROW(ReadBipTable(std::string(kBipTableFileHeader) + "\n2\t2\na\tb\n"),
                 BipTableFileError);
    EXPECT_THROW(ReadBipTable(std::string(kBipTableFileHeader) + "\n1\t2\na\tb\tc\n"),
                 BipTableFileError);
    EXPECT_THROW(ReadBipTable(std::string(kBipTableFileHeader) + "\n1\t1\nbad\\q\n"),
                 BipTableFileError);
    EXPECT_THROW(LoadBipTableFile("/nonexistent/folder/table.qvb"), BipTableFileError);
}

} // namespace
} // namespace quorvane
