// The token rule of the version query.

#include "calvix/constants.h"
#include "calvix/version_record.h"

#include <gtest/gtest.h>

namespace calvix {
namespace {

constexpr const char* kRecord = "ProductName=Calvix\nProductVersion=2, 2, 0, 0\n";

TEST(VersionRecord, TokensOfTheProductVersion) {
    EXPECT_EQ(VersionPart(kRecord, 1), 2);
    EXPECT_EQ(VersionPart(kRecord, 2), 2);
    EXPECT_EQ(VersionPart(kRecord, 3), 0);
    EXPECT_EQ(VersionPart(kRecord, 4), 0);
}

TEST(VersionRecord, PartOutsideOneToFourCountsAsOne) {
    const char* record = "ProductVersion=7, 8, 9, 10";
    EXPECT_EQ(VersionPart(record, 0), 7);
    EXPECT_EQ(VersionPart(record, 5), 7);
    EXPECT_EQ(VersionPart(record, -1), 7);
    EXPECT_EQ(VersionPart(record, 4), 10);
}

TEST(VersionRecord, SeparatorsAreBlanksCommasTabsAndLineFeeds) {
    EXPECT_EQ(VersionPart("ProductVersion=3,,4\t 5 ,6", 3), 5);
    EXPECT_EQ(VersionPart("ProductVersion= ,3,,4\t 5 ,6", 4), 6);
}

TEST(VersionRecord, FailuresGiveTheErrorCode) {
    EXPECT_EQ(VersionPart("ProductVersion=2, 2", 3), kErrorCode);    // fewer tokens than part
    EXPECT_EQ(VersionPart("FileVersion=2, 2, 0, 0", 1), kErrorCode); // no product version
    EXPECT_EQ(VersionPart("", 1), kErrorCode);
    EXPECT_EQ(VersionPart("ProductVersion=2, x, 0, 0", 2), kErrorCode);
    EXPECT_EQ(VersionPart("ProductVersion=", 1), kErrorCode);
}

} // namespace
} // namespace calvix
