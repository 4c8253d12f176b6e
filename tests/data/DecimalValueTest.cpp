// The exact decimal value type: reading texts and doubles, rounding, arithmetic and how a
// QVariant holding one converts.

#include "data/backend/Decimal.h"

#include <gtest/gtest.h>
#include <QVariant>

using md::data::Decimal;
using namespace Qt::StringLiterals;

namespace {

QString rounded(const char* text, int scale) {
    const auto d = Decimal::parse(QString::fromLatin1(text));
    if (!d)
        return QStringLiteral("<not a number>");
    const auto r = d->rescaled(scale);
    return r ? r->toString() : QStringLiteral("<overflow>");
}

TEST(DecimalValue, RoundsHalfAwayFromZeroAtEveryScale) {
    EXPECT_EQ(rounded("10.005", 2), QStringLiteral("10.01"));
    EXPECT_EQ(rounded("-10.005", 2), QStringLiteral("-10.01"));
    EXPECT_EQ(rounded("0.5", 0), QStringLiteral("1"));
    EXPECT_EQ(rounded("-0.5", 0), QStringLiteral("-1"));
    EXPECT_EQ(rounded("0.05", 1), QStringLiteral("0.1"));
    EXPECT_EQ(rounded("-0.004", 2), QStringLiteral("0.00"));  // no negative zero
    EXPECT_EQ(rounded(" +7 ", 3), QStringLiteral("7.000"));
    EXPECT_EQ(rounded("99999999999999999999999999999999999999", 0),
              QStringLiteral("99999999999999999999999999999999999999"));
    EXPECT_EQ(rounded("99999999999999999999999999999999999999", 1), QStringLiteral("<overflow>"));
    EXPECT_EQ(rounded("1.5e3", 0), QStringLiteral("<not a number>"));
    EXPECT_EQ(rounded("1,5", 0), QStringLiteral("<not a number>"));
    EXPECT_EQ(rounded(".", 0), QStringLiteral("<not a number>"));
    // Digits past 38 are rounded while reading.
    EXPECT_EQ(rounded("0.123456789012345678901234567890123456789", 38),
              QStringLiteral("0.12345678901234567890123456789012345679"));
}

TEST(DecimalValue, DoublesAreReadAsTheDecimalTheyStandFor) {
    EXPECT_EQ(Decimal::fromDouble(0.1)->toString(), QStringLiteral("0.1"));
    EXPECT_EQ(Decimal::fromDouble(2.675)->rescaled(2)->toString(), QStringLiteral("2.68"));
    EXPECT_EQ(Decimal::fromDouble(1e20)->toString(), QStringLiteral("100000000000000000000"));
    EXPECT_EQ(Decimal::fromDouble(1.5e-7)->toString(), QStringLiteral("0.00000015"));
    EXPECT_FALSE(Decimal::fromDouble(std::numeric_limits<double>::infinity()));
    EXPECT_TRUE(Decimal::parse(u"35.917297")->fitsDouble());
    EXPECT_FALSE(Decimal::parse(u"1234567890123456.78")->fitsDouble());
}

TEST(DecimalValue, ArithmeticIsExact) {
    const Decimal a = *Decimal::parse(u"0.1"), b = *Decimal::parse(u"0.2");
    EXPECT_EQ(a.plus(b)->toString(), QStringLiteral("0.3"));
    EXPECT_EQ(a.plus(b)->minus(*Decimal::parse(u"0.3"))->isZero(), true);
    EXPECT_EQ(Decimal::parse(u"10.25")->times(*Decimal::parse(u"0.1000"))->toString(),
              QStringLiteral("1.025000"));
    EXPECT_EQ(Decimal::parse(u"1")->dividedBy(*Decimal::parse(u"3"), 6)->toString(),
              QStringLiteral("0.333333"));
    EXPECT_EQ(Decimal::parse(u"-2")->dividedBy(*Decimal::parse(u"3"), 2)->toString(),
              QStringLiteral("-0.67"));
    EXPECT_FALSE(a.dividedBy(Decimal(), 2));
    EXPECT_EQ(Decimal::parse(u"1234.5678")->roundedAt(-2)->toString(), QStringLiteral("1200.0000"));
    EXPECT_EQ(Decimal::parse(u"1234.5678")->roundedAt(2, true)->toString(),
              QStringLiteral("1234.5600"));
    EXPECT_LT(Decimal::parse(u"-0.01")->compare(*Decimal::parse(u"0.001")), 0);
    EXPECT_EQ(Decimal::parse(u"1.50")->compare(*Decimal::parse(u"1.5")), 0);
}

// The 8-bit reading every stored value goes through agrees with the general one, also where it
// must hand over to it: past 38 digits, with blanks, a plus sign or an exponent.
TEST(DecimalValue, StoredTextReadsAsTheGeneralParseReadsIt) {
    const QString nines = QString(38, u'9');
    for (const QString& t :
         {u"10.00"_s, u"-0.50"_s, u"0"_s, u"-0"_s, u"5."_s, nines, u'-' + nines, nines + u'9',
          u"0."_s + nines + u'5', nines + u".5"_s, u" 1.5 "_s, u"+2"_s, u"1.0e+20"_s, u"-"_s,
          u"."_s, u""_s, u"1.2.3"_s, QString(70, u'9') + u"Else"_s}) {
        const QByteArray latin1 = t.toLatin1();
        const auto fast =
            Decimal::parseLatin1(std::string_view(latin1.constData(), size_t(latin1.size())), true);
        const auto general = Decimal::parse(t, true);
        ASSERT_EQ(fast.has_value(), general.has_value()) << t.toStdString();
        if (fast) {
            EXPECT_EQ(fast->toString(), general->toString()) << t.toStdString();
        }
    }
}

TEST(DecimalValue, AVariantHoldingOneConvertsAsANumber) {
    const QVariant v = QVariant::fromValue(*Decimal::parse(u"-12.50"));
    EXPECT_EQ(v.toString(), QStringLiteral("-12.50"));
    EXPECT_DOUBLE_EQ(v.toDouble(), -12.5);
    EXPECT_EQ(v.toLongLong(), -12);
    EXPECT_EQ(v, QVariant::fromValue(*Decimal::parse(u"-12.5")));
}

}  // namespace
