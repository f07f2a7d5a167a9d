#pragma once

// Where the programs find their data files and the steam libraries, from the folder the
// running program lies in. In the build tree everything lies in that one folder
// (build/<preset>/bin). Installed, the programs lie in <prefix>/bin, the data files (the
// component database, notes, help, disclaimer) in <prefix>/share/quorvane and the libraries
// in <prefix>/lib/quorvane; both are found relative to the program, so any prefix works and no
// path of the build machine is kept.

#include <filesystem>

namespace quorvane {

// The program folder itself when it holds the component database, else the installed data
// folder beside it when that exists, else the program folder (whose missing files the caller
// then reports).
std::filesystem::path DataFolderOf(const std::filesystem::path& programDir);

// The same for the libraries, told by libcalvix.so.
std::filesystem::path LibraryFolderOf(const std::filesystem::path& programDir);

} // namespace quorvane
