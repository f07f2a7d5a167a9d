#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace quorvane {

// Exit statuses of quorvane-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRequestFailed = 1; // at least one request was answered with an error
inline constexpr int kExitUsage = 2;         // bad arguments, unreadable input or database

// The whole program over explicit streams: `args` without the program name; `programDir` is
// where the component database is looked for unless --db names another file.
int RunCommandLine(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                   std::ostream& err, const std::filesystem::path& programDir);

// The --help text.
std::string UsageText();

} // namespace quorvane
