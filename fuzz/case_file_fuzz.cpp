// libFuzzer target for the case-file reader. Every input must either be refused with a
// CaseFileError or read into a case that writes and reads back to the same bytes; anything else
// (a crash, another exception, a case that does not survive its own round trip) aborts.

#include "data/case_file.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorvane::CaseFile loaded;
    try {
        loaded = quorvane::ReadCaseFile(std::span<const std::uint8_t>(data, size));
    } catch (const quorvane::CaseFileError&) {
        return 0;
    }
    // What was accepted can be saved, and reading the saved bytes gives the same case.
    const std::vector<std::uint8_t> written = quorvane::WriteCaseFile(loaded);
    const std::vector<std::uint8_t> again =
        quorvane::WriteCaseFile(quorvane::ReadCaseFile(written));
    if (written != again) {
        std::abort();
    }
    for (auto option : {quorvane::LoadOption::VaporAsFeed, quorvane::LoadOption::LiquidAsFeed}) {
        quorvane::CaseFile copy = loaded;
        try {
            quorvane::ApplyLoadOption(copy, option);
        } catch (const quorvane::CaseFileError&) {
        }
    }
    return 0;
}
