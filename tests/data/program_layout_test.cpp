#include "data/component_database.h"
#include "data/program_layout.h"
#include "tests/data/test_files.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

// The build tree (everything in one folder), an installed prefix and a bare folder.
TEST(ProgramLayout, FindsDataAndLibrariesBuiltOrInstalled) {
    testing::ScratchFolder scratch;
    const auto build = scratch / "build/bin";
    std::filesystem::create_directories(build);
    std::ofstream(build / "components.db") << "db";
    std::ofstream(build / "libcalvix.so") << "so";
    EXPECT_EQ(DataFolderOf(build), build);
    EXPECT_EQ(LibraryFolderOf(build), build);

    const auto bin = scratch / "usr/bin";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(scratch / "usr/share/quorvane");
    std::filesystem::create_directories(scratch / "usr/lib/quorvane");
    EXPECT_EQ(DataFolderOf(bin), scratch / "usr/share/quorvane");
    EXPECT_EQ(LibraryFolderOf(bin), scratch / "usr/lib/quorvane");
    EXPECT_EQ(ComponentDatabasePath(bin), scratch / "usr/share/quorvane/components.db");

    // Nothing anywhere: the program folder, so that messages name where the files belong.
    const auto bare = scratch / "bare";
    std::filesystem::create_directories(bare);
    EXPECT_EQ(DataFolderOf(bare), bare);
    EXPECT_EQ(LibraryFolderOf(bare), bare);
}

} // namespace
} // namespace quorvane
