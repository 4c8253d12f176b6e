// The quantity text on its own: whole stock units, then the remainder in smallest units.

#include "product/QuantityText.h"

#include <gtest/gtest.h>

using md::product::NumberSeparators;
using md::product::QuantityText;
using md::product::QuantityUnits;

namespace {

const NumberSeparators kPoint{QStringLiteral(","), QStringLiteral(".")};
const NumberSeparators kComma{QStringLiteral("."), QStringLiteral(",")};

QuantityUnits dozen() {
    return {12.0, QStringLiteral(u"โหล"), QStringLiteral(u"ชิ้น")};
}

QString text(double q, const QuantityUnits& u = dozen(), const NumberSeparators& s = kPoint) {
    return QuantityText(q, u, s);
}

TEST(QuantityText, StockUnitsAndRemainder) {
    EXPECT_EQ(text(25), QStringLiteral(u"2 โหล 1 ชิ้น"));
    EXPECT_EQ(text(24), QStringLiteral(u"2 โหล"));
    EXPECT_EQ(text(-25), QStringLiteral(u"- 2 โหล 1 ชิ้น"));
    // Thousands of stock units are grouped; the remainder never is.
    EXPECT_EQ(text(12.0 * 1234 + 11), QStringLiteral(u"1,234 โหล 11 ชิ้น"));
    EXPECT_EQ(text(12.0 * 1234 + 11, dozen(), kComma), QStringLiteral(u"1.234 โหล 11 ชิ้น"));
}

TEST(QuantityText, ZeroAndBelowOneStockUnit) {
    EXPECT_EQ(text(0), QStringLiteral(u"0 โหล"));
    // Below one stock unit only the remainder shows, with its leading blank.
    EXPECT_EQ(text(5), QStringLiteral(u" 5 ชิ้น"));
    EXPECT_EQ(text(-5), QStringLiteral(u"-  5 ชิ้น"));
    EXPECT_EQ(text(0.5), QStringLiteral(u" .5 ชิ้น"));
}

TEST(QuantityText, RemaindersKeepTheirDecimals) {
    EXPECT_EQ(text(25.5), QStringLiteral(u"2 โหล 1.5 ชิ้น"));
    EXPECT_EQ(text(25.5, dozen(), kComma), QStringLiteral(u"2 โหล 1,5 ชิ้น"));
    // 25.3 - 24 is not exactly 1.3 in binary; six decimals show what was stored.
    EXPECT_EQ(text(25.3), QStringLiteral(u"2 โหล 1.3 ชิ้น"));
    EXPECT_EQ(text(-36.25), QStringLiteral(u"- 3 โหล .25 ชิ้น"));
}

TEST(QuantityText, StockUnitOfFractionOneShowsDecimalsAndNoRemainder) {
    const QuantityUnits piece{1.0, QStringLiteral(u"ชุด"), QStringLiteral(u"ชุด")};
    EXPECT_EQ(text(2.125, piece), QStringLiteral(u"2.125 ชุด"));
    EXPECT_EQ(text(1234567.1234567, piece), QStringLiteral(u"1,234,567.123457 ชุด"));
    EXPECT_EQ(text(0, piece), QStringLiteral(u"0 ชุด"));
    EXPECT_EQ(text(-3, piece), QStringLiteral(u"- 3 ชุด"));
}

TEST(QuantityText, WithoutAStockUnitTheQuantityShowsOnceInTheSmallestUnit) {
    const QuantityUnits noStock{std::nullopt, QString(), QStringLiteral(u"ชิ้น")};
    EXPECT_EQ(text(25, noStock), QStringLiteral(u"25 ชิ้น"));
    EXPECT_EQ(text(-2.5, noStock), QStringLiteral(u"- 2.5 ชิ้น"));
    EXPECT_EQ(text(0, noStock), QStringLiteral(u"0 ชิ้น"));
    // A stock unit stored with fraction 0 cannot divide either.
    const QuantityUnits zero{0.0, QStringLiteral(u"โหล"), QStringLiteral(u"ชิ้น")};
    EXPECT_EQ(text(25, zero), QStringLiteral(u"25 ชิ้น"));
}

}  // namespace
