// A packed row gives back every value exactly as it went in: type, null-ness and contents.

#include "data/BufferedRow.h"
#include "data/PackedRow.h"
#include "data/backend/Decimal.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QTimeZone>

#include <limits>

using namespace md::data;

namespace {

QString s(const char* text) {
    return QString::fromUtf8(text);
}

QVariant dec(Decimal::Units units, int scale) {
    return QVariant::fromValue(Decimal(units, scale));
}

constexpr Decimal::Units kSmallEdge = Decimal::Units(1) << 55;

std::vector<QVariant> everyKind() {
    const Decimal::Units wide = powerOfTen(37) * 3 + 7;
    return {
        QVariant(),
        QVariant(QMetaType(QMetaType::LongLong)),
        QVariant(QMetaType(QMetaType::QString)),
        QVariant(QMetaType(QMetaType::QDateTime)),
        QVariant(QMetaType(QMetaType::Double)),
        QVariant(qlonglong(-5)),
        QVariant(qlonglong(std::numeric_limits<qint64>::min())),
        QVariant(7),
        QVariant(2.5),
        QVariant(-0.1),
        QVariant(true),
        QVariant(false),
        QVariant(s("LED-000123")),
        QVariant(s("")),
        QVariant(QString()),
        QVariant(s("หลอดไฟ LED 12 วัตต์")),
        QVariant(s("café ÿ")),
        QVariant(s("ไทย é")),         // two blocks past ASCII
        QVariant(s("x \U0001F600")),  // a pair of surrogates
        QVariant(QString(QChar(0x0E7F))),
        QVariant(QString(QChar(0xFFFF))),
        dec(1234567, 2),
        dec(-1, 4),
        dec(0, 6),
        dec(kSmallEdge - 1, 3),
        dec(-kSmallEdge, 3),
        dec(kSmallEdge, 3),
        dec(-wide, 38),
        dec(wide, 0),
        QVariant(QDateTime(QDate(2026, 12, 9), QTime(13, 45, 10, 250))),
        QVariant(QDateTime(QDate(2001, 2, 3), QTime(4, 5), QTimeZone::utc())),
        QVariant(QDate(1999, 12, 31)),
        QVariant(QByteArray("\x00\x01\xff", 3)),
    };
}

// The very value: what QVariant's == cannot tell apart is checked one by one.
void expectSame(const QVariant& got, const QVariant& want, size_t at) {
    SCOPED_TRACE(::testing::Message() << "cell " << at << " " << want.typeName());
    EXPECT_EQ(got.isValid(), want.isValid());
    EXPECT_EQ(got.metaType(), want.metaType());
    EXPECT_EQ(got.isNull(), want.isNull());
    EXPECT_TRUE(got == want);
    if (want.typeId() == QMetaType::QString && !want.isNull()) {
        EXPECT_EQ(got.toString().isNull(), want.toString().isNull());
        EXPECT_EQ(got.toString(), want.toString());
    }
    if (want.metaType() == QMetaType::fromType<Decimal>()) {
        EXPECT_EQ(got.value<Decimal>().units(), want.value<Decimal>().units());
        EXPECT_EQ(got.value<Decimal>().scale(), want.value<Decimal>().scale());
    }
    if (want.typeId() == QMetaType::QDateTime && !want.isNull()) {
        EXPECT_EQ(got.toDateTime().timeSpec(), want.toDateTime().timeSpec());
    }
}

TEST(PackedRow, GivesBackEveryKindOfValueAsItWentIn) {
    const std::vector<QVariant> values = everyKind();
    const PackedRow row(values);
    ASSERT_EQ(row.size(), int(values.size()));
    for (size_t i = 0; i < values.size(); ++i)
        expectSame(row.value(int(i)), values[i], i);
    EXPECT_TRUE(row.holds(values));
    EXPECT_TRUE(row.equals(values));
    EXPECT_FALSE(row.value(-1).isValid());
    EXPECT_FALSE(row.value(int(values.size())).isValid());
}

TEST(PackedRow, CopiesAndMovesOwnTheirValues) {
    const std::vector<QVariant> values = everyKind();
    auto first = std::make_unique<PackedRow>(values);
    PackedRow copy(*first);
    PackedRow assigned;
    assigned = copy;
    first.reset();  // the copies must not share the placed dates and variants
    PackedRow moved(std::move(copy));
    EXPECT_TRUE(copy.isNull());  // NOLINT(bugprone-use-after-move): a moved row is empty
    for (size_t i = 0; i < values.size(); ++i) {
        expectSame(moved.value(int(i)), values[i], i);
        expectSame(assigned.value(int(i)), values[i], i);
    }
    assigned = std::move(moved);
    expectSame(assigned.value(int(values.size()) - 1), values.back(), values.size() - 1);
    EXPECT_TRUE(PackedRow(std::vector<QVariant>{}).holds({}));
}

TEST(PackedRow, HoldsOnlyTheVeryValuesWhereEqualValuesDiffer) {
    const PackedRow row({dec(1000, 2), QVariant(s("")), QVariant(qlonglong(1))});
    // 10.00 and 10.0 are equal decimals but show differently; an empty text is not a null one;
    // an int is not the qlonglong read.
    const std::vector<std::vector<QVariant>> others = {
        {dec(100, 1), QVariant(s("")), QVariant(qlonglong(1))},
        {dec(1000, 2), QVariant(QString()), QVariant(qlonglong(1))},
        {dec(1000, 2), QVariant(s("")), QVariant(1)},
    };
    for (const auto& other : others) {
        EXPECT_TRUE(row.equals(other));
        EXPECT_FALSE(row.holds(other));
    }
    EXPECT_FALSE(row.equals({dec(1000, 2), QVariant(s("x")), QVariant(qlonglong(1))}));
    EXPECT_FALSE(row.equals({dec(1000, 2), QVariant(s(""))}));
}

TEST(BufferedRow, KeepsTheValuesAsReadApartOnlyWhileTheyDiffer) {
    BufferedRow row = BufferedRow::packed({QVariant(qlonglong(1)), QVariant(s("one"))});
    EXPECT_FALSE(row.snapshot());
    row.set(1, s("changed"));
    EXPECT_TRUE(row.changed());
    EXPECT_EQ(row.value(1).toString(), s("changed"));
    EXPECT_EQ(row.original(1).toString(), s("one"));
    row.set(1, s("one"));
    EXPECT_FALSE(row.changed());
    row.settle();
    EXPECT_FALSE(row.snapshot()) << "a row changed back must not keep a second copy";

    row.set(0, qlonglong(2));
    row.commit();
    EXPECT_EQ(row.original(0).toLongLong(), 2);
    EXPECT_FALSE(row.changed());
    row.set(0, qlonglong(3));
    row.revert();
    EXPECT_EQ(row.value(0).toLongLong(), 2);
}

TEST(BufferedRow, AnUnpackedRowKeepsItsValuesAsReadWhenChanged) {
    BufferedRow row = BufferedRow::unpacked(std::make_unique<BufferedRow::Values>(
        BufferedRow::Values{QVariant(s("A01")), dec(150, 2)}));
    EXPECT_FALSE(row.changed());
    auto before = row.snapshot();
    row.set(0, s("B02"));
    row.set(1, dec(1, 0));
    EXPECT_TRUE(row.changed());
    EXPECT_EQ(row.original(0).toString(), s("A01"));
    EXPECT_EQ(row.original(1).toString(), s("1.50"));
    row.restore(std::move(before));
    EXPECT_EQ(row.value(0).toString(), s("A01"));
    EXPECT_FALSE(row.changed());

    BufferedRow fresh = BufferedRow::unpacked(
        std::make_unique<BufferedRow::Values>(BufferedRow::Values{QVariant(s("C03"))}));
    const auto lent = fresh.takeUnpacked();
    ASSERT_TRUE(lent);
    ASSERT_EQ(lent->size(), 1u);
    EXPECT_EQ((*lent)[0].toString(), s("C03"));
    EXPECT_FALSE(BufferedRow::packed({QVariant(1)}).takeUnpacked());
}

}  // namespace
