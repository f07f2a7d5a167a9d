#pragma once

#include "cli/flash_request.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

// The fields of a flash request read straight from its text, without building a document: the
// shape a batch repeats on every line. Only plain text is taken: one object, member names and
// strings without escapes or bytes outside ASCII, no comments, a "components" array given once,
// numbers within the range of a double. Anything else (and any value of the wrong kind) is
// left to the full parser, which then gives the request's answer or its error; what this
// reader takes it reads exactly as that parser does.

namespace quorvane {

inline constexpr std::size_t kMostPlainComponents = 25;

struct RequestFields {
    std::string_view eos;   // the string's text
    std::string_view flash; // the string's text
    // null or absent: empty
    std::optional<double> tempF;
    std::optional<double> pressPsia;
    std::optional<double> vaporFraction;
    std::string_view components; // the array's text, from '[' to ']'
    bool zGiven = false;
    std::size_t zCount = 0;
    std::array<double, kMostPlainComponents> z{};
    bool kijGiven = false; // an array of rows of equal length (null or absent: not given)
    std::size_t kijRows = 0;
    std::array<double, kMostPlainComponents * kMostPlainComponents> kij{}; // row i at i·kijRows
    std::optional<bool> estimateKij;
    // "properties" as FlashRequest holds it (every group unless the request says otherwise).
    unsigned propertyGroups = 0;

    // Back to no field read (the arrays keep their storage; their counts say what is read).
    void Clear();
};

// Reads the request; false when its text is not of the plain shape or a known field is not
// of its kind. `likelyComponents`, when given, is the text of a whole components array that
// the request probably repeats (the previous request's): when the member starts with it, that
// is the array, and its text is not scanned again.
bool ReadRequestFields(std::string_view text, RequestFields& fields,
                       std::string_view likelyComponents = {});

} // namespace quorvane
