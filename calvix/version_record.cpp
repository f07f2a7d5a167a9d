#include "calvix/version_record.h"

#include "calvix/constants.h"

#include <charconv>
#include <cstddef>

namespace calvix {
namespace {

// The value of "ProductVersion=" in the record, or empty.
std::string_view ProductVersion(std::string_view record) {
    constexpr std::string_view kVersionKey = "ProductVersion=";
    std::size_t at = 0;
    while (at < record.size()) {
        std::size_t end = record.find('\n', at);
        if (end == std::string_view::npos) {
            end = record.size();
        }
        const std::string_view line = record.substr(at, end - at);
        if (line.substr(0, kVersionKey.size()) == kVersionKey) {
            return line.substr(kVersionKey.size());
        }
        at = end + 1;
    }
    return {};
}

// The part-th token (1-based) of the version, tokens split at blanks, commas, tabs and
// line feeds.
std::int32_t VersionToken(std::string_view version, std::int32_t part) {
    constexpr std::string_view kSeparators = " ,\t\n";
    std::int32_t index = 0;
    std::size_t at = version.find_first_not_of(kSeparators);
    while (at != std::string_view::npos) {
        std::size_t end = version.find_first_of(kSeparators, at);
        if (end == std::string_view::npos) {
            end = version.size();
        }
        if (++index == part) {
            std::int32_t value = 0;
            const char* first = version.data() + at;
            const char* last = version.data() + end;
            const auto [ptr, ec] = std::from_chars(first, last, value);
            return ec == std::errc() && ptr == last ? value : kErrorCode;
        }
        at = version.find_first_not_of(kSeparators, end);
    }
    return kErrorCode;
}

} // namespace

std::int32_t VersionPart(std::string_view record, std::int32_t part) {
    if (part < 1 || part > 4) {
        part = 1;
    }
    const std::string_view version = ProductVersion(record);
    if (version.empty()) {
        return kErrorCode;
    }
    return VersionToken(version, part);
}

} // namespace calvix
