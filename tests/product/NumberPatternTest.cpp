// Display patterns with the separators handed in, never the machine's.

#include "product/NumberPattern.h"

#include <gtest/gtest.h>

using md::product::FormatNumber;
using md::product::NumberSeparators;

namespace {

const NumberSeparators kPoint{QStringLiteral(","), QStringLiteral(".")};
// A workstation that groups with "." and writes "," for decimals, as many European ones do.
const NumberSeparators kComma{QStringLiteral("."), QStringLiteral(",")};

QString fmt(const char* pattern, double v, const NumberSeparators& s = kPoint) {
    return FormatNumber(QString::fromLatin1(pattern), v, s);
}

TEST(NumberPattern, GroupsThousandsAndDropsUnusedDecimals) {
    EXPECT_EQ(fmt("###,###,##0.###### ", 1234567.5), QStringLiteral("1,234,567.5 "));
    EXPECT_EQ(fmt("###,###,##0.###### ", 1234567), QStringLiteral("1,234,567 "));
    EXPECT_EQ(fmt("###,###,##0.###### ", 0), QStringLiteral("0 "));
    EXPECT_EQ(fmt("###,###,##0.###### ", 0.123456789), QStringLiteral("0.123457 "));
    EXPECT_EQ(fmt("###,###,##0 ", 999), QStringLiteral("999 "));
    EXPECT_EQ(fmt("###,###,##0 ", 1000), QStringLiteral("1,000 "));
    // Grouping goes on past the marks of the pattern.
    EXPECT_EQ(fmt("#,##0", 12345678901.0), QStringLiteral("12,345,678,901"));
}

TEST(NumberPattern, WritesTheSeparatorsItIsGiven) {
    EXPECT_EQ(fmt("###,###,##0.###### ", 1234567.25, kComma), QStringLiteral("1.234.567,25 "));
    EXPECT_EQ(fmt(" ######.###### ", 1234.5, kComma), QStringLiteral(" 1234,5 "));
    const NumberSeparators thaiSpace{QStringLiteral(" "), QStringLiteral(".")};
    EXPECT_EQ(fmt("#,##0.##", 1234.5, thaiSpace), QStringLiteral("1 234.5"));
}

TEST(NumberPattern, OptionalIntegerDigitsLeaveABareFraction) {
    // Without a required integer digit a value below one starts at the decimal point.
    EXPECT_EQ(fmt(" ######.###### ", 0.5), QStringLiteral(" .5 "));
    EXPECT_EQ(fmt(" ######.###### ", 1.5), QStringLiteral(" 1.5 "));
    // No grouping without a comma in the pattern.
    EXPECT_EQ(fmt(" ######.###### ", 12345678), QStringLiteral(" 12345678 "));
    EXPECT_EQ(fmt("0.00", 3), QStringLiteral("3.00"));
    EXPECT_EQ(fmt("000", 7), QStringLiteral("007"));
}

TEST(NumberPattern, RoundsHalfAwayFromZeroOnTheDecimalText) {
    // 1.005 and 2.675 are held just below their decimal value; the user typed the decimal one.
    EXPECT_EQ(fmt("#,##0.##", 1.005), QStringLiteral("1.01"));
    EXPECT_EQ(fmt("#,##0.##", 2.675), QStringLiteral("2.68"));
    EXPECT_EQ(fmt("#,##0.##", 2.674), QStringLiteral("2.67"));
    EXPECT_EQ(fmt("#,##0.##", 999.995), QStringLiteral("1,000"));
    EXPECT_EQ(fmt("###,###,##0.###### ", 0.0000005), QStringLiteral("0.000001 "));
    EXPECT_EQ(fmt("###,###,##0 ", 2.5), QStringLiteral("3 "));
}

TEST(NumberPattern, NegativeValuesTakeTheirOwnSection) {
    EXPECT_EQ(fmt("#,##0.##;-#,##0.##", -1234.5), QStringLiteral("-1,234.5"));
    EXPECT_EQ(fmt("#,##0.##;(#,##0.##)", -1234.5), QStringLiteral("(1,234.5)"));
    EXPECT_EQ(fmt("#,##0.##;-#,##0.##", 1234.5), QStringLiteral("1,234.5"));
    // Without a negative section the sign goes before the digits.
    EXPECT_EQ(fmt("#,##0.##", -3.25), QStringLiteral("-3.25"));
    // A value that rounds to zero has no sign.
    EXPECT_EQ(fmt("#,##0.##;-#,##0.##", -0.001), QStringLiteral("0"));
    EXPECT_EQ(fmt("#,##0.##", -0.001), QStringLiteral("0"));
}

}  // namespace
