#pragma once

// Reading comma-separated text: fields may be quoted ("1,1-DICHLOROETHANE"), a doubled quote
// inside quotes is one quote, and lines may end in CR LF.

#include <istream>
#include <string>
#include <vector>

namespace quorvane {

using CsvRow = std::vector<std::string>;

// All rows of the stream, the header included; blank lines are skipped.
std::vector<CsvRow> ReadCsv(std::istream& in);

} // namespace quorvane
