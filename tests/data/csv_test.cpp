#include "data/csv.h"

#include <gtest/gtest.h>
#include <sstream>

namespace quorvane {
namespace {

TEST(Csv, QuotedFieldsAndLineEnds) {
    std::istringstream in(
        "key,COMP,1\r\n29,\"1,1,2-TRICHLOROETHANE\",133.4\n\n30,\"a \"\"b\"\"\",\n");
    const auto rows = ReadCsv(in);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (CsvRow{"key", "COMP", "1"}));
    EXPECT_EQ(rows[1], (CsvRow{"29", "1,1,2-TRICHLOROETHANE", "133.4"}));
    EXPECT_EQ(rows[2], (CsvRow{"30", "a \"b\"", ""}));
}

TEST(Csv, LastLineWithoutNewline) {
    std::istringstream in("a,b\n1,");
    const auto rows = ReadCsv(in);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], (CsvRow{"1", ""}));
}

} // namespace
} // namespace quorvane
