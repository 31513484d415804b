#include "platform/core/Errors.h"
#include "platform/core/Format.h"

#include <gtest/gtest.h>

using namespace fat;

TEST(Format, FormatFloatPatterns) {
    struct Case { const char* pattern; double value; const char* text; };
    const Case cases[] = {
        {"##0.00", 2.675, "2,68"},          // halves away from zero on the decimal digits
        {"##0.00", -2.675, "-2,68"},
        {"##0.00", 1.005, "1,01"},
        {"##0.00", 0.004, "0,00"},
        {"##0.00", -0.004, "0,00"},        // no sign on a value that rounds to zero
        {"##0.00", 1234567.891, "1234567,89"},
        {"000", 7, "007"},
        {"000", 1234, "1234"},
        {"000000", 42, "000042"},
        {"###,##0", 1234567, "1.234.567"},
        {"###,##0", 0, "0"},
        {"#,###,##0.00", 1234567.5, "1.234.567,50"},
        {"#,###,##0.00", -0.5, "-0,50"},
        {"#,###,##0.00", 999.999, "1.000,00"},
        {"##0.0000", 0.00005, "0,0001"},
        {"##0.000000000000000000000000000000", 1.5, "1,500000000000000000000000000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatFloat(c.pattern, c.value), c.text) << c.pattern << " " << c.value;
}

TEST(Format, FloatTextRoundTrips) {
    const double values[] = {0, -0.01, 1234.5, -1e-7, 123456789012.25};
    for (double v : values) EXPECT_EQ(StrToFloat(FloatToStr(v)), v) << v;
    EXPECT_EQ(FloatToStr(1234.5), "1234,5");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0,3"); // 15 significant digits, as the platform shows floats
    EXPECT_EQ(StrToFloat(" 12.5 "), 12.5);
    EXPECT_THROW(StrToFloat("12,5x"), ConversionError);
    EXPECT_THROW(StrToFloat(""), ConversionError);
    EXPECT_EQ(StrToFloatDef("abc", -1), -1);
}

TEST(Format, WholeNumbersWithFallback) {
    struct Case { const char* text; int fallback; int result; };
    const Case cases[] = {
        {"100", 0, 100}, {" 300 ", 0, 300}, {"-5", 0, -5}, {"+7", 0, 7}, {"", 0, 0},
        {"ABC", 0, 0},  {"12a", 9, 9},   {"2147483648", 0, 0}, {"1.5", 3, 3},
    };
    for (const auto& c : cases) EXPECT_EQ(StrToIntDef(c.text, c.fallback), c.result) << c.text;
    try {
        StrToInt("12a");
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("'12a'"), std::string::npos);
    }
}

TEST(Format, DatesInTheShortFormat) {
    EXPECT_EQ(StrToDate("01/01/1901"), EncodeDate(1901, 1, 1));
    EXPECT_EQ(StrToDate("1/2/26"), EncodeDate(2026, 2, 1));
    EXPECT_EQ(DateToStr(EncodeDate(2026, 12, 10)), "10/12/2026");
    EXPECT_EQ(FormatDateTime("dd\"/\"mm\"/\"yyyy", EncodeDate(2026, 3, 5)), "05/03/2026");
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn:ss", EncodeDateTime({2026, 3, 5, 7, 8, 9, 0})), "05/03/2026 07:08:09");
    for (const char* bad : {"31/02/2026", "", "10-12-2026", "aa/bb/cccc", "10/12"})
        EXPECT_THROW(StrToDate(bad), ConversionError) << bad;
}

TEST(Format, QuotedTextDoublesInnerQuotes) {
    EXPECT_EQ(QuotedStr("000123"), "'000123'");
    EXPECT_EQ(QuotedStr("D'AVILA"), "'D''AVILA'");
    EXPECT_EQ(Trim("  12 \t"), "12");
}
