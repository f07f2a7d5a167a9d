#include "data/program_layout.h"

#include "data/component_database.h"

#include <system_error>

namespace quorvane {

namespace {

// The installed folders relative to the prefix, as the install rules place them.
constexpr const char* kInstalledDataFolder = QUORVANE_INSTALL_DATADIR;
constexpr const char* kInstalledLibraryFolder = QUORVANE_INSTALL_LIBDIR;

std::filesystem::path FolderHolding(const std::filesystem::path& programDir,
                                    const std::filesystem::path& marker,
                                    const char* installedFolder) {
    std::error_code error;
    if (std::filesystem::exists(programDir / marker, error)) {
        return programDir;
    }
    const std::filesystem::path installed =
        (programDir.parent_path() / installedFolder).lexically_normal();
    if (std::filesystem::is_directory(installed, error)) {
        return installed;
    }
    return programDir;
}

} // namespace

std::filesystem::path DataFolderOf(const std::filesystem::path& programDir) {
    return FolderHolding(programDir, kComponentDatabaseFileName, kInstalledDataFolder);
}

std::filesystem::path LibraryFolderOf(const std::filesystem::path& programDir) {
    return FolderHolding(programDir, "libcalvix.so", kInstalledLibraryFolder);
}

} // namespace quorvane
