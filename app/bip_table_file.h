#pragma once

// The interaction-parameter reference table file (".qvb"): the whole grid, header row and
// column included, as text. Line 1 names the format, line 2 gives the row and column counts,
// then one line per row with its cells separated by tabs; a backslash, tab, carriage return or
// line feed inside a cell is written as \\, \t, \r or \n. Reading gives back exactly the grid
// that was written.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvane {

using BipGrid = std::vector<std::vector<std::string>>; // [row][column], rectangular

class BipTableFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kBipTableFileHeader = "Quorvane BIP table 1";

std::string WriteBipTable(const BipGrid& grid);
BipGrid ReadBipTable(const std::string& text); // throws BipTableFileError

void SaveBipTableFile(const std::filesystem::path& path, const BipGrid& grid);
BipGrid LoadBipTableFile(const std::filesystem::path& path);

} // namespace quorvane
