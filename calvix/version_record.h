#pragma once

// Reading the library's version record: lines "Key=value"; the product version is the value
// of "ProductVersion", a list of numbers separated by blanks, commas, tabs or line feeds.

#include <cstdint>
#include <string_view>

namespace calvix {

// The part-th number (1-based; a part outside 1 to 4 counts as 1) of the product version
// in `record`; kErrorCode when the record has no product version, fewer numbers than part,
// or the token at part is not an integer.
std::int32_t VersionPart(std::string_view record, std::int32_t part);

} // namespace calvix
