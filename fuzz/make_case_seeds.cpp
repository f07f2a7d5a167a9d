// Writes valid case files of 0, 1, 3 and 25 components into a folder, the starting corpus of
// the case-file fuzz target. The component rows are made up: numbers where the mixture needs
// them, text, empty cells and coefficient sets elsewhere.

#include "data/case_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

quorvane::ComponentRecord MadeUpRecord(int i) {
    quorvane::ComponentRecord record;
    record.cells.resize(quorvane::ordinal::kLastOrdinal + 1);
    record.cells[0] = static_cast<double>(100 + i);
    record.cells[1] = "COMPONENT " + std::to_string(i);
    for (int k = 2; k <= quorvane::ordinal::kLastOrdinal; ++k) {
        if (k % 11 == 9) {
            continue; // an empty cell
        }
        record.cells[static_cast<std::size_t>(k)] = 1.5 * k + 0.25 * i;
    }
    record.cells[20] = std::string("note");
    return record;
}

quorvane::CaseFile MadeUpCase(int n) {
    quorvane::CaseFile c;
    c.streamName = "Seed " + std::to_string(n);
    c.eosIndex = static_cast<std::int16_t>(n % 5);
    c.basis = static_cast<std::int16_t>(n % 4);
    c.steamInputs = {1, 1, 0, 0, 0};
    c.flashType = static_cast<std::int16_t>(n % 7);
    c.tempF = 60.0F;
    c.pressPsia = 14.7F;
    c.vapourFraction = 0.5;
    for (int i = 0; i < n; ++i) {
        c.mixture.AddDatabaseComponent(MadeUpRecord(i));
    }
    for (int i = 0; i < n; ++i) {
        const auto at = static_cast<std::size_t>(i);
        c.mixture.EnteredComposition()[at] = 1.0F / static_cast<float>(n);
        c.mixture.FeedMoleFractions()[at] = 1.0F / static_cast<float>(n);
        c.mixture.VaporMoleFractions()[at] = 0.5F / static_cast<float>(n);
        c.mixture.LiquidMoleFractions()[at] = 1.5F / static_cast<float>(n);
        c.mixture.KValues()[at] = 0.33F;
        for (int j = 0; j < i; ++j) {
            c.mixture.SetKijPair(i, j, 0.01F * static_cast<float>(i + j));
        }
    }
    for (std::size_t k = 0; k < c.results.size(); ++k) {
        c.results[k] = static_cast<float>(k) * 1.25F;
    }
    return c;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_case_seeds <folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (int n : {0, 1, 3, 25}) {
        const auto bytes = quorvane::WriteCaseFile(MadeUpCase(n));
        std::ofstream out(folder / ("seed" + std::to_string(n) + ".qvr"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    return 0;
}
