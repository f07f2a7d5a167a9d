// quorvane-cli: the command-line front end. All the work is in quorvane_cli_core.

#include "cli/command_line.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);

    // The program folder: where this executable lies (the database sits beside it).
    std::error_code error;
    std::filesystem::path programDir =
        std::filesystem::canonical("/proc/self/exe", error).parent_path();
    if (error) {
        programDir = std::filesystem::absolute(argv[0], error).parent_path();
    }
    try {
        return quorvane::RunCommandLine(args, std::cin, std::cout, std::cerr, programDir);
    } catch (const std::exception& failure) {
        std::cerr << "quorvane-cli: " << failure.what() << '\n';
    } catch (...) {
        std::cerr << "quorvane-cli: internal error\n";
    }
    return quorvane::kExitUsage;
}
