#include "units/format_table.h"
#include "units/number_format.h"

#include <array>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>
#include <string>
#include <utility>

namespace quorvane {
namespace {

struct Case {
    double value;
    const char* pattern;
    const char* expected;
};

void ExpectAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected)
            << c.value << " with \"" << c.pattern << "\"";
    }
}

TEST(FormatNumber, TemperatureAndPressurePatterns) {
    ExpectAll({
        {1234.567, "##,##0.00", "1,234.57"},
        {-1234.567, "##,##0.00", "-1,234.57"},
        {0.0, "##,##0.00", "0.00"},
        {60.0, "##,##0.00", "60.00"},
        {-0.001, "##,##0.00", "0.00"}, // rounds to zero: no minus sign
        {1.0e9, "##,##0.00", "1,000,000,000.00"},
        {1.0e-9, "##,##0.00", "0.00"},
        {1.0e20, "##,##0.00", "100,000,000,000,000,000,000.00"},
        {14.6959, "##,##0.000", "14.696"},
        {123456.0, "##,##0.000", "123,456.000"},
    });
}

TEST(FormatNumber, OptionalPlacesBeforeARequiredZero) {
    // At least one decimal for each "0" after the point, more only while significant.
    ExpectAll({
        {0.5, "#0.###0", "0.5"},
        {1.23456, "#0.###0", "1.2346"},
        {2.0, "#0.###0", "2.0"},
        {-16.04, "#0.###0", "-16.04"},
        {0.0, "#0.###0", "0.0"},
        {1.0e-7, "#0.###0", "0.0"},
        {123456.789, "#0.###0", "123456.789"},
        {0.00012, "#0.###0", "0.0001"},
        {0.0123, "0.###0", "0.0123"},
        {45.6, "0.###0", "45.6"},
        {0.00000123, "#0.#####0", "0.000001"},
        {100.0, "##,##0.#0", "100.0"},
        {123.456, "##,##0.#0", "123.46"},
        {-459.67, "##,##0.#0", "-459.67"},
        {72.0, "##0.#0", "72.0"},
        {1000.0, "##,##0.##0", "1,000.0"},
    });
}

TEST(FormatNumber, OtherDefaultPatterns) {
    ExpectAll({
        {1234567.89, "#,###,##0.0", "1,234,567.9"},
        {-1415.25, "###,##0.0", "-1,415.3"}, // half away from zero
        {0.0, "###,##0.0", "0.0"},
        {0.5, "#.######", ".5"},
        {0.1234567, "#.######", ".123457"},
        {1.0, "#.######", "1"},
        {0.0, "#.######", "0"},
        {1.0e-9, "#.######", "0"},
        {-0.25, "#.######", "-.25"},
        {12.5, "###.####", "12.5"},
        {1234.5, "###.####", "1234.5"},
        {3.14159265, "###.####", "3.1416"},
    });
}

// Every pattern the program uses (the format-table defaults, the composition grid and basis
// amounts, the result-grid columns and the status bar) on a typical, a negative, a zero, a
// large and a tiny value.
TEST(FormatNumber, EveryPatternInUse) {
    struct Row {
        const char* pattern;
        std::array<const char*, 5> expected;
    };
    const double values[] = {1234.56789, -0.5, 0.0, 12345678.9, 0.00000123};
    const Row rows[] = {
        {"##,##0.00", {"1,234.57", "-0.50", "0.00", "12,345,678.90", "0.00"}},
        {"##,##0.000", {"1,234.568", "-0.500", "0.000", "12,345,678.900", "0.000"}},
        {"#0.###0", {"1234.5679", "-0.5", "0.0", "12345678.9", "0.0"}},
        {"#0.####0", {"1234.56789", "-0.5", "0.0", "12345678.9", "0.0"}},
        {"##,##0.#0", {"1,234.57", "-0.5", "0.0", "12,345,678.9", "0.0"}},
        {"0.###0", {"1234.5679", "-0.5", "0.0", "12345678.9", "0.0"}},
        {"###,##0.0", {"1,234.6", "-0.5", "0.0", "12,345,678.9", "0.0"}},
        {"#0.#####0", {"1234.56789", "-0.5", "0.0", "12345678.9", "0.000001"}},
        {"#,###,##0.0", {"1,234.6", "-0.5", "0.0", "12,345,678.9", "0.0"}},
        {"##0.#0", {"1234.57", "-0.5", "0.0", "12345678.9", "0.0"}},
        {"##,##0.##0", {"1,234.568", "-0.5", "0.0", "12,345,678.9", "0.0"}},
        {"#,##0.0", {"1,234.6", "-0.5", "0.0", "12,345,678.9", "0.0"}},
        {"##0.###0", {"1234.5679", "-0.5", "0.0", "12345678.9", "0.0"}},
        {"#.######", {"1234.56789", "-.5", "0", "12345678.9", ".000001"}},
        {"###.####", {"1234.5679", "-.5", "0", "12345678.9", "0"}},
        {"###,##0", {"1,235", "-1", "0", "12,345,679", "0"}},
        {"###,###,##0", {"1,235", "-1", "0", "12,345,679", "0"}},
    };
    for (const Row& row : rows) {
        for (std::size_t i = 0; i < std::size(values); ++i) {
            EXPECT_EQ(FormatNumber(values[i], row.pattern), row.expected[i])
                << values[i] << " with \"" << row.pattern << "\"";
        }
    }
}

TEST(FormatNumber, RoundsHalfAwayFromZero) {
    ExpectAll({
        {0.125, "0.00", "0.13"},
        {-0.125, "0.00", "-0.13"},
        {2.5, "0", "3"},
        {-2.5, "#,##0", "-3"},
        {1.0, "#,##0.", "1"}, // a point with nothing after it is dropped
    });
}

TEST(FormatNumber, RoundingCarriesIntoTheIntegerPart) {
    ExpectAll({
        {9.995, "##,##0.00", "10.00"},
        {999999.95, "#,###,##0.0", "1,000,000.0"},
        {0.96, "0", "1"},
        {0.6, "#", "1"},
        {0.4, "#", "0"},
        {0.99999, "#0.###0", "1.0"},
        {-0.00005, "#0.###0", "-0.0001"},
        {0.00004999, "#0.###0", "0.0"},
    });
}

TEST(FormatNumber, DecimalDigitsAsShownNotBinaryNoise) {
    // 2.675 and 1.005 are stored just below their decimal value; they round as written.
    EXPECT_EQ(FormatNumber(2.675, "0.00"), "2.68");
    EXPECT_EQ(FormatNumber(1.005, "0.00"), "1.01");
    // 32-bit values show the digits they hold, padded with zeros, not those of their widening.
    EXPECT_EQ(FormatNumber(1234.567f, "#0.#####0"), "1234.567");
    EXPECT_EQ(FormatNumber(1234.567f, "0.000000"), "1234.567000");
    EXPECT_EQ(FormatNumber(101352.93f, "##,##0.000"), "101,352.930");
    EXPECT_EQ(FormatNumber(2.675f, "0.00"), "2.68");
    EXPECT_EQ(FormatNumber(0.1f, "#.######"), ".1");
    EXPECT_EQ(FormatNumber(-0.0f, "#0.###0"), "0.0");
    EXPECT_EQ(FormatNumber(3.4028235e38f, "0"), "340282350000000000000000000000000000000");
    // A 64-bit value keeps all its digits.
    EXPECT_EQ(FormatNumber(1234.5670166015625, "0.000000"), "1234.567017");
}

TEST(FormatNumber, LiteralsEmptyPatternAndNonFinite) {
    EXPECT_EQ(FormatNumber(12.5, "0.0 psia"), "12.5 psia");
    EXPECT_EQ(FormatNumber(0.5, ""), ".5");
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::quiet_NaN(), "0.00"), "");
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity(), "0.00"), "");
}

TEST(FormatGeneral, SinglePrecisionTextForm) {
    EXPECT_EQ(FormatGeneral(0.5f), " .5");
    EXPECT_EQ(FormatGeneral(-0.5f), "-.5");
    EXPECT_EQ(FormatGeneral(0.0f), " 0");
    EXPECT_EQ(FormatGeneral(-0.0f), " 0");
    EXPECT_EQ(FormatGeneral(1.0f), " 1");
    EXPECT_EQ(FormatGeneral(100.0f), " 100");
    EXPECT_EQ(FormatGeneral(-459.67f), "-459.67");
    EXPECT_EQ(FormatGeneral(1.0f / 3.0f), " .3333333");
    EXPECT_EQ(FormatGeneral(0.1f), " .1");
    EXPECT_EQ(FormatGeneral(16.043f), " 16.043");
    EXPECT_EQ(FormatGeneral(1234567.0f), " 1234567");
    EXPECT_EQ(FormatGeneral(12345678.0f), " 1.234568E+07");
    EXPECT_EQ(FormatGeneral(1.0e7f), " 1E+07");
    EXPECT_EQ(FormatGeneral(0.0001f), " .0001");
    EXPECT_EQ(FormatGeneral(0.000314f), " .000314");
    EXPECT_EQ(FormatGeneral(0.00001f), " 1E-05");
    EXPECT_EQ(FormatGeneral(5.0e-7f), " 5E-07");
    EXPECT_EQ(FormatGeneral(-2.5e-5f), "-2.5E-05");
    EXPECT_EQ(FormatGeneral(3.4028235e38f), " 3.402823E+38");
    EXPECT_EQ(FormatGeneral(1.0e-40f), " 9.999946E-41"); // subnormal: its own seven digits
    EXPECT_EQ(FormatGeneral(std::numeric_limits<float>::quiet_NaN()), "");
}

TEST(FormatPatternEditing, AddAndRemoveDigits) {
    EXPECT_EQ(AddDigit("##,##0.00"), "##,##0.000");
    EXPECT_EQ(AddDigit("#0.#####0"), "#0.#####0"); // six places: no more
    EXPECT_EQ(AddDigit("##,##0."), "##,##0.0");
    EXPECT_EQ(SubDigit("###,##0.0"), "###,##0.");
    EXPECT_EQ(SubDigit("###,##0."), "###,##0."); // the point stays last
    EXPECT_EQ(SubDigit("#0.###0"), "#0.###");
    EXPECT_EQ(SubDigit("0"), ""); // no point: the whole length counts
    EXPECT_EQ(SubDigit(""), "");
}

// The stored keys in their read order and each key's default, written out a second time.
TEST(FormatTable, EveryKeyInOrderWithItsDefault) {
    const std::string keys =
        "TForm PForm VFForm PFFForm PFVForm PFLForm MWFForm MWVForm MWLForm VcFForm VcVForm "
        "VcLForm TcFForm TcVForm TcLForm PcFForm PcVForm PcLForm DFForm DVForm DLForm HOVForm "
        "CpFForm CpVForm CpLForm HFForm HVForm HLForm SFForm SVForm SLForm VisVForm VisLForm "
        "ThermCVForm ThermCLForm JTVForm JTLForm SSVForm SSLForm STLForm stmTForm stmPForm "
        "stmQForm stmHForm stmSForm stmVolForm stmDenForm stmCpForm stmCvForm stmVisForm "
        "stmTCForm stmSTForm stmCVelForm stmPdltForm stmIEForm";
    std::string joined;
    for (const NumberFormatSlot& slot : NumberFormatSlots()) {
        if (!joined.empty()) {
            joined += ' ';
        }
        joined += slot.key;
    }
    EXPECT_EQ(joined, keys);

    const std::pair<const char*, const char*> defaults[] = {
        {"##,##0.00", "TForm"},
        {"##,##0.000", "PForm"},
        {"#0.###0", "VFForm MWFForm MWVForm MWLForm CpFForm CpVForm CpLForm SFForm SVForm SLForm "
                    "JTVForm JTLForm stmQForm stmSForm stmCpForm stmCvForm stmPdltForm stmIEForm"},
        {"#0.####0", "PFFForm PFVForm PFLForm VcFForm VcVForm VcLForm"},
        {"##,##0.#0", "TcFForm TcVForm TcLForm PcFForm PcVForm PcLForm stmTForm"},
        {"0.###0", "DFForm DVForm DLForm"},
        {"###,##0.0", "HOVForm HFForm HVForm HLForm stmHForm"},
        {"#0.#####0", "VisVForm VisLForm ThermCVForm ThermCLForm stmVolForm stmDenForm "
                      "stmVisForm stmTCForm stmSTForm"},
        {"#,###,##0.0", "SSVForm SSLForm"},
        {"##0.#0", "STLForm"},
        {"##,##0.##0", "stmPForm"},
        {"#,##0.0", "stmCVelForm"},
    };
    int counted = 0;
    for (const auto& [pattern, group] : defaults) {
        std::istringstream in(group);
        for (std::string key; in >> key; ++counted) {
            const int slot = NumberFormatSlotIndex(key);
            ASSERT_GE(slot, 0) << key;
            EXPECT_EQ(NumberFormatSlots()[static_cast<std::size_t>(slot)].defaultPattern, pattern)
                << key;
        }
    }
    EXPECT_EQ(counted, kNumberFormatSlotCount);
}

// Values a pattern would show as 0 or with one significant digit fall back to the general form
// with four digits; every other value keeps its pattern, exact zero included.
TEST(FormatReadable, SmallValuesKeepFourSignificantDigits) {
    const Case cases[] = {
        {6.9e-6, "###.####", "6.9E-06"},       // a K-value that "###.####" shows as 0
        {0.0013729, "#0.0", "0.001373"},       // surface tension in lbf/ft
        {0.0003, "###.####", "0.0003"},        // one digit shown: the general form says the same
        {0.00034567, "###.####", "0.0003457"}, // one digit shown, four in the fallback
        {-0.0042, "##0.00", "-0.0042"},        // rounds to zero without its sign
        {5.25, "#0", "5.25"},
        {9.99996e-5, "0.00", "0.0001"},       // the rounding carries into a new digit
        {123456789.0, "#0.0", "123456789.0"}, // large values are never touched
        {0.0123, "#0.00", "0.0123"},
        {0.012, "#0.000", "0.012"}, // two digits shown: the pattern stands
        {0.0, "#0.00", "0.00"},
        {2.7975, "###.####", "2.7975"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatReadable(c.value, c.pattern), c.expected)
            << c.value << " with \"" << c.pattern << "\"";
    }
    // A stored 32-bit value shows its own digits, as FormatNumber does.
    EXPECT_EQ(FormatReadable(0.0000005F, "0.0000"), "5E-07");
    EXPECT_EQ(FormatSignificant(-12345.678, 4), "-1.235E+04");
    EXPECT_EQ(FormatSignificant(99.996, 4), "100");
    EXPECT_EQ(Readable(0.000314, "0.0003"), "0.000314");
    EXPECT_EQ(SignificantDigitsShown("-1,200.0"), 5);
    EXPECT_EQ(FormatReadable(std::numeric_limits<double>::quiet_NaN(), "#0.0"), "");
}

TEST(FormatTable, SlotsAndDefaults) {
    const auto slots = NumberFormatSlots();
    ASSERT_EQ(slots.size(), 55u);
    EXPECT_EQ(slots.front().key, "TForm");
    EXPECT_EQ(slots.front().defaultPattern, "##,##0.00");
    EXPECT_EQ(slots.back().key, "stmIEForm");
    EXPECT_EQ(slots[NumberFormatSlotIndex("DLForm")].defaultPattern, "0.###0");
    EXPECT_EQ(slots[NumberFormatSlotIndex("SSLForm")].defaultPattern, "#,###,##0.0");
    EXPECT_EQ(slots[NumberFormatSlotIndex("stmCVelForm")].defaultPattern, "#,##0.0");
    EXPECT_EQ(slots[NumberFormatSlotIndex("PFVForm")].defaultPattern, "#0.####0");
    EXPECT_EQ(NumberFormatSlotIndex("NoSuchForm"), -1);
}

} // namespace
} // namespace quorvane
