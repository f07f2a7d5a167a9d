#include "data/case_file.h"
#include "data/case_file_io.h"
#include "data/component_database.h"
#include "tests/data/test_files.h"
#include "units/fractions.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

namespace quorvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

class CaseFileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_db = new ComponentDatabase(QUORVANE_COMPONENTS_DB); }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }

    // A case of n database components in the weight-fraction basis, every array filled with
    // distinct values, as after a two-phase flash.
    static CaseFile MakeCase(int n, std::string name = "Separator feed") {
        CaseFile c;
        c.streamName = std::move(name);
        c.eosIndex = 3;
        c.steamShown = 1;
        c.basis = 1;
        c.steamFormulation = 1;
        c.steamInputs = {1, 0, 0, 1, 0};
        c.estimateKij = 1;
        c.flashType = 2;
        c.mixture.SetRowWidth(s_db->RowWidth());
        for (int i = 0; i < n; ++i) {
            c.mixture.AddDatabaseComponent(s_db->Offered()[static_cast<std::size_t>(i * 3)]);
        }
        for (int i = 0; i < n; ++i) {
            const auto at = static_cast<std::size_t>(i);
            const float share = 1.0F / static_cast<float>(n);
            c.mixture.EnteredComposition()[at] = share * (i % 2 == 0 ? 0.5F : 1.5F);
            c.mixture.FeedMoleFractions()[at] = share;
            c.mixture.VaporMoleFractions()[at] = share * (1.0F + 0.01F * static_cast<float>(i));
            c.mixture.LiquidMoleFractions()[at] = share * (1.0F - 0.01F * static_cast<float>(i));
            c.mixture.KValues()[at] = 1.0F + 0.1F * static_cast<float>(i);
            for (int j = 0; j < i; ++j) {
                c.mixture.SetKijPair(i, j, 0.001F * static_cast<float>(i * 25 + j));
            }
        }
        c.tempF = -40.5F;
        c.pressPsia = 812.25F;
        c.vapourFraction = 0.375;
        for (std::size_t k = 0; k < c.results.size(); ++k) {
            c.results[k] = 1.5F * static_cast<float>(k) - 3.0F;
        }
        for (std::size_t k = 0; k < c.further.size(); ++k) {
            c.further[k] = 0.25F * static_cast<float>(k);
        }
        return c;
    }

    // Bytes of fields 1 to 10 and of the component table's descriptor.
    static std::size_t HeaderSize(const CaseFile& c) { return 4 + c.streamName.size() + 18 + 18; }

    static ComponentDatabase* s_db;
};

ComponentDatabase* CaseFileTest::s_db = nullptr;

std::uint16_t U16At(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}
std::uint32_t U32At(const Bytes& bytes, std::size_t at) {
    return U16At(bytes, at) | (static_cast<std::uint32_t>(U16At(bytes, at + 2)) << 16);
}

// Replaces the first occurrence of `from` after `start` by `to` (same length).
void Patch(Bytes& bytes, const Bytes& from, const Bytes& to, std::size_t start) {
    const auto at = std::search(bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.end(),
                                from.begin(), from.end());
    ASSERT_NE(at, bytes.end());
    std::copy(to.begin(), to.end(), at);
}

Bytes DoubleCell(double value) {
    Bytes cell = {5, 0};
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int shift = 0; shift < 64; shift += 8) {
        cell.push_back(static_cast<std::uint8_t>(bits >> shift));
    }
    return cell;
}

// Bytes of a component row in the table: a type code per cell, 8 more for a number, the
// length and the characters for text.
std::size_t RowBytes(const ComponentRecord& record) {
    std::size_t size = 0;
    for (const ComponentCell& cell : record.cells) {
        size += 2;
        if (std::holds_alternative<double>(cell)) {
            size += 8;
        } else if (const auto* text = std::get_if<std::string>(&cell)) {
            size += 2 + text->size();
        }
    }
    return size;
}

int ErrorOf(const Bytes& bytes) {
    try {
        ReadCaseFile(bytes);
    } catch (const CaseFileError& error) {
        return error.Number();
    }
    return 0;
}

TEST_F(CaseFileTest, CasesRoundTripByteForByteInTheirLayout) {
    for (int n : {25, 1, 0}) {
        const CaseFile saved = MakeCase(n);
        const Bytes bytes = WriteCaseFile(saved);
        const CaseFile loaded = ReadCaseFile(bytes);
        EXPECT_EQ(WriteCaseFile(loaded), bytes) << n << " components";

        ASSERT_EQ(loaded.mixture.Count(), n);
        EXPECT_EQ(loaded.streamName, saved.streamName);
        EXPECT_EQ(loaded.flashType, 2);
        EXPECT_EQ(loaded.tempF, -40.5F);
        EXPECT_EQ(loaded.vapourFraction, 0.375);
        EXPECT_EQ(loaded.results, saved.results);
        EXPECT_EQ(loaded.further, saved.further);
        if (n > 0) {
            EXPECT_EQ(loaded.mixture.Name(n - 1), saved.mixture.Name(n - 1));
            EXPECT_EQ(loaded.mixture.Kij(n - 1, 0), saved.mixture.Kij(n - 1, 0));
            EXPECT_EQ(loaded.mixture.KValues()[0], 1.0F);
        }

        // Stream name: type code 8 and its length; then the ten 16-bit header fields.
        EXPECT_EQ(U16At(bytes, 0), 8);
        EXPECT_EQ(U16At(bytes, 2), saved.streamName.size());
        const std::size_t fields = 4 + saved.streamName.size();
        const std::uint16_t header[] = {3, 1, 1, 1, 1, 0, 0, 1, 0};
        for (std::size_t k = 0; k < std::size(header); ++k) {
            EXPECT_EQ(U16At(bytes, fields + 2 * k), header[k]) << "field " << k + 2;
        }
        // The component table: two dimensions (cells of a row, components), lower bounds 0.
        const std::size_t table = fields + 18;
        if (n == 0) {
            EXPECT_EQ(U16At(bytes, table), 0);
            continue;
        }
        EXPECT_EQ(U16At(bytes, table), 2);
        EXPECT_EQ(U32At(bytes, table + 2), static_cast<std::uint32_t>(s_db->RowWidth() + 1));
        EXPECT_EQ(U32At(bytes, table + 6), 0u);
        EXPECT_EQ(U32At(bytes, table + 10), static_cast<std::uint32_t>(n));
        // The first cell is the key, a 64-bit number; the last two fields close the file.
        EXPECT_EQ(U16At(bytes, table + 18), 5);
        EXPECT_EQ(U16At(bytes, bytes.size() - 4), 1); // estimate kij
        EXPECT_EQ(U16At(bytes, bytes.size() - 2), 2); // flash type
    }

    // An empty stream name is type code 8 with length 0.
    const Bytes unnamed = WriteCaseFile(MakeCase(1, ""));
    EXPECT_EQ(Bytes(unnamed.begin(), unnamed.begin() + 4), (Bytes{8, 0, 0, 0}));
}

TEST_F(CaseFileTest, DamagedFilesAreRefusedOrReadConsistently) {
    const CaseFile saved = MakeCase(2);
    const Bytes bytes = WriteCaseFile(saved);

    // Every truncation, and one byte too many, is refused.
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        EXPECT_NE(ErrorOf(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size))),
                  0)
            << "truncated to " << size;
    }
    Bytes longer = bytes;
    longer.push_back(0);
    EXPECT_EQ(ErrorOf(longer), case_error::kInvalidValue);

    // Every single-byte change of the header is refused, or read as a case that is written back
    // to exactly the changed bytes (a different name, equation, flag).
    int accepted = 0;
    for (std::size_t at = 0; at < HeaderSize(saved); ++at) {
        for (int value = 0; value < 256; ++value) {
            if (value == bytes[at]) {
                continue;
            }
            Bytes changed = bytes;
            changed[at] = static_cast<std::uint8_t>(value);
            try {
                const CaseFile loaded = ReadCaseFile(changed);
                ++accepted;
                ASSERT_EQ(WriteCaseFile(loaded), changed) << "byte " << at << " = " << value;
            } catch (const CaseFileError&) {
            }
        }
    }
    EXPECT_GT(accepted, 0); // the name's characters, for one

    // Foreign content: an unknown cell type, a component twice, constants that are not the
    // row's.
    const std::size_t table = HeaderSize(saved);
    const std::size_t secondRow = table + RowBytes(saved.mixture.Record(0));
    const std::size_t arrays = secondRow + RowBytes(saved.mixture.Record(1));
    Bytes unknownType = bytes;
    unknownType[table] = 99;
    EXPECT_EQ(ErrorOf(unknownType), case_error::kTypeMismatch);

    const double key0 = *saved.mixture.Record(0).Number(0);
    const double key1 = *saved.mixture.Record(1).Number(0);
    Bytes twice = bytes;
    Patch(twice, DoubleCell(key1), DoubleCell(key0), secondRow);
    EXPECT_EQ(ErrorOf(twice), case_error::kInvalidValue);

    const float tc0 = saved.mixture.CriticalTemperaturesF()[0];
    const auto tcBits = std::bit_cast<std::uint32_t>(tc0);
    const auto otherBits = std::bit_cast<std::uint32_t>(tc0 + 1.0F);
    Bytes tcArray = {1, 0, 2, 0, 0, 0, 0, 0, 0, 0};
    Bytes otherArray = tcArray;
    for (int shift = 0; shift < 32; shift += 8) {
        tcArray.push_back(static_cast<std::uint8_t>(tcBits >> shift));
        otherArray.push_back(static_cast<std::uint8_t>(otherBits >> shift));
    }
    Bytes disagreeing = bytes;
    Patch(disagreeing, tcArray, otherArray, arrays);
    EXPECT_EQ(ErrorOf(disagreeing), case_error::kInvalidValue);
}

TEST_F(CaseFileTest, LoadOptionsMakeAFlashedPhaseTheFeed) {
    const CaseFile saved = MakeCase(3);
    const auto& m = saved.mixture;

    CaseFile feed = saved;
    ApplyLoadOption(feed, LoadOption::FeedAsFeed);
    EXPECT_EQ(WriteCaseFile(feed), WriteCaseFile(saved));

    // The vapour as feed, shown as mass fractions in the saved weight basis.
    CaseFile vapour = saved;
    ApplyLoadOption(vapour, LoadOption::VaporAsFeed);
    EXPECT_EQ(vapour.vapourFraction, 1.0);
    const auto y = m.VaporMoleFractions();
    EXPECT_TRUE(std::equal(y.begin(), y.end(), vapour.mixture.FeedMoleFractions().begin()));
    const auto mass = MoleToMassFractions(y, m.MolecularWeights());
    EXPECT_TRUE(std::equal(mass.begin(), mass.end(), vapour.mixture.EnteredComposition().begin()));

    CaseFile liquid = saved;
    liquid.basis = 2; // mole percent: the entered composition is the liquid itself
    ApplyLoadOption(liquid, LoadOption::LiquidAsFeed);
    EXPECT_EQ(liquid.vapourFraction, 0.0);
    const auto x = m.LiquidMoleFractions();
    EXPECT_TRUE(std::equal(x.begin(), x.end(), liquid.mixture.EnteredComposition().begin()));

    // A case never flashed has no vapour to take; it is left as it was.
    CaseFile unflashed = saved;
    for (float& v : unflashed.mixture.VaporMoleFractions()) {
        v = 0.0F;
    }
    const Bytes before = WriteCaseFile(unflashed);
    EXPECT_THROW(ApplyLoadOption(unflashed, LoadOption::VaporAsFeed), CaseFileError);
    EXPECT_EQ(WriteCaseFile(unflashed), before);
}

// Saving over an existing file: the write, the flush and the folder may fail; the old file
// survives each failure and no temporary file is left beside it.
TEST_F(CaseFileTest, AFailedSaveKeepsThePreviousFile) {
    testing::ScratchFolder folder;
    const auto path = folder / "case.qvr";
    const CaseFile first = MakeCase(1, "First");
    SaveCaseFile(path, first);
    const Bytes firstBytes = WriteCaseFile(first);
    const auto fileBytes = [&] {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    };
    const auto entries = [&] {
        return std::distance(std::filesystem::directory_iterator(path.parent_path()),
                             std::filesystem::directory_iterator());
    };
    ASSERT_EQ(fileBytes(), firstBytes);

    // A disk that fills after 100 bytes, and one whose flush fails.
    FileWriteCalls fullDisk = SystemFileWriteCalls();
    std::size_t budget = 100;
    fullDisk.write = [&budget](int fd, const void* data, std::size_t size) -> ssize_t {
        if (budget == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t step = std::min(size, budget);
        budget -= step;
        return ::write(fd, data, step);
    };
    FileWriteCalls failingFlush = SystemFileWriteCalls();
    failingFlush.sync = [](int) {
        errno = EIO;
        return -1;
    };
    const CaseFile second = MakeCase(25, "Second");
    try {
        SaveCaseFile(path, second, fullDisk);
        ADD_FAILURE() << "a full disk was not reported";
    } catch (const CaseFileError& error) {
        EXPECT_EQ(error.Number(), case_error::kDiskFull);
    }
    EXPECT_THROW(SaveCaseFile(path, second, failingFlush), CaseFileError);
    EXPECT_EQ(fileBytes(), firstBytes);
    EXPECT_EQ(entries(), 1);

    // A read-only folder stops the save only for a user other than root.
    if (::geteuid() != 0) {
        std::filesystem::permissions(path.parent_path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        EXPECT_THROW(SaveCaseFile(path, second), CaseFileError);
        std::filesystem::permissions(path.parent_path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        EXPECT_EQ(fileBytes(), firstBytes);
    }

    // A save that succeeds replaces the file; missing and oversized files are refused by name.
    SaveCaseFile(path, second);
    EXPECT_EQ(LoadCaseFile(path).streamName, "Second");
    EXPECT_EQ(entries(), 1);
    try {
        LoadCaseFile(folder / "missing.qvr");
        ADD_FAILURE() << "a missing file was read";
    } catch (const CaseFileError& error) {
        EXPECT_EQ(error.Number(), case_error::kFileNotFound);
    }
    const auto big = folder.Write("big.qvr", std::string(kMaxCaseFileBytes + 1, '\0'));
    EXPECT_THROW(LoadCaseFile(big), CaseFileError);
}

} // namespace
} // namespace quorvane
