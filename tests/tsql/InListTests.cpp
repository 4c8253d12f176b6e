// A long IN list of constants is read from one JSON array (json_each) instead of being written
// out; it must select exactly the rows the written-out list selects.

#include "tests/tsql/TsqlTestSupport.h"

#include <gtest/gtest.h>

namespace md::tsql::test {
namespace {

using namespace Qt::StringLiterals;

class LongInList : public ::testing::Test {
  protected:
    void SetUp() override {
        db.sqlite(
            u"CREATE TABLE W (Id INTEGER PRIMARY KEY, Code TEXT COLLATE TSQL, Qty INTEGER, "
            "Price REAL);"
            "INSERT INTO W VALUES (1, 'A01', 1, 1.5), (2, 'a01  ', 2, 2.25), (3, NULL, NULL, "
            "NULL), (4, 'it''s', 10, 3), (5, 'x\"y\\z', 10, NULL), (6, 'กา', 3, 0.1), "
            "(7, '10', 7, -4), (8, 'tab' || char(9) || 'nl' || char(10) || 'bell' || char(7), "
            "-3, 2);"_s);
        auto& s = db.schema();
        s.add(u"W"_s, u"Id"_s, {SqlType::Integer});
        s.add(u"W"_s, u"Code"_s, {SqlType::Text, 20});
        s.add(u"W"_s, u"Qty"_s, {SqlType::Integer});
        s.add(u"W"_s, u"Price"_s, {SqlType::Float});
    }

    // The ids the condition `left [NOT] IN (items)` selects, written out and, with items that
    // match no row added to make the list long, read from an array; both must agree.
    std::vector<Row> both(const QString& left, const QStringList& items, bool numbers) {
        QStringList longList = items;
        for (int i = 0; longList.size() < 80; ++i)
            longList << (numbers ? QString::number(900000 + i) : u"'zz%1'"_s.arg(i));
        const auto select = [&](const QStringList& list) {
            return u"Select Id From W Where "_s + left + u" ("_s + list.join(u", "_s) +
                   u") Order By Id"_s;
        };
        EXPECT_FALSE(db.translate(select(items)).contains(u"json_each"));
        EXPECT_TRUE(db.translate(select(longList)).contains(u"json_each")) << left.toStdString();
        const std::vector<Row> written = db.run(select(items));
        EXPECT_EQ(db.run(select(longList)), written)
            << (left + u' ' + items.join(u", "_s)).toStdString();
        return written;
    }
    static std::vector<Row> ids(std::initializer_list<qlonglong> list) {
        std::vector<Row> rows;
        for (qlonglong id : list)
            rows.push_back({QVariant(id)});
        return rows;
    }
    TestDb db;
};

TEST_F(LongInList, TextsCompareByTheColumnsCollation) {
    // Case and trailing blanks ignored, duplicates and NULL items change nothing.
    EXPECT_EQ(both(u"Code In"_s, {u"'a01'"_s, u"'กา'"_s, u"NULL"_s, u"'A01 '"_s}, false),
              ids({1, 2, 6}));
    // An expression on the left is compared with the engine's collation, as written out.
    EXPECT_EQ(both(u"Upper(Code) In"_s, {u"'a01'"_s}, false), ids({1, 2}));
    // Quotes, backslashes and control characters reach the array unchanged.
    const QString control = u"'tab\tnl\nbell\a'"_s;
    EXPECT_EQ(both(u"Code In"_s, {u"'it''s'"_s, u"'x\"y\\z'"_s, control}, false), ids({4, 5, 8}));
}

TEST_F(LongInList, NotInWithANullItemSelectsNothing) {
    EXPECT_EQ(both(u"Code Not In"_s, {u"'A01'"_s, u"NULL"_s}, false), ids({}));
    EXPECT_EQ(both(u"Qty Not In"_s, {u"1"_s, u"NULL"_s}, true), ids({}));
    // Without one, rows whose value is NULL are still left out.
    EXPECT_EQ(both(u"Code Not In"_s, {u"'a01'"_s, u"'x\"y\\z'"_s, u"'กา'"_s}, false),
              ids({4, 7, 8}));
    EXPECT_EQ(both(u"Qty Not In"_s, {u"1"_s, u"2"_s, u"10"_s}, true), ids({6, 7, 8}));
}

TEST_F(LongInList, NumbersKeepTheirValueAndTheColumnsAffinity) {
    EXPECT_EQ(both(u"Qty In"_s, {u"1"_s, u"10"_s, u"10"_s, u"NULL"_s, u"-3"_s, u"007"_s}, true),
              ids({1, 4, 5, 7, 8}));
    EXPECT_EQ(both(u"Price In"_s, {u"1.5"_s, u"2.250"_s, u"0.1"_s, u"-4"_s}, true),
              ids({1, 2, 6, 7}));
    // A text column compares numbers as texts, an integer column texts as numbers.
    EXPECT_EQ(both(u"Code In"_s, {u"10"_s, u"7"_s}, true), ids({7}));
    EXPECT_EQ(both(u"Qty In"_s, {u"'10'"_s, u"'2'"_s}, false), ids({2, 4, 5}));
}

TEST_F(LongInList, ItemsJsonCannotCarryAreWrittenOut) {
    QStringList items;
    for (int i = 0; i < 80; ++i)
        items << QString::number(i);
    const QString nul = u"'a"_s + QChar(0) + u"b'"_s;
    for (const QString& odd : {u"1e1"_s, u".5"_s, u"Qty"_s, u"?"_s, u"'a' + 'b'"_s, nul}) {
        QStringList list = items;
        list << odd;
        const QString sql =
            db.translate(u"Select Id From W Where Qty In ("_s + list.join(u',') + u")"_s);
        EXPECT_FALSE(sql.contains(u"json_each")) << odd.toStdString();
    }
}

TEST_F(LongInList, AListWithAnExpressionIsWrittenOutAndSelectsTheSameRows) {
    QStringList items;
    for (int i = 0; i < 80; ++i)
        items << QString::number(900000 + i);
    items << u"Id * 0 + 10"_s << u"-3"_s << u"NULL"_s;
    const QString sql =
        u"Select Id From W Where Qty In ("_s + items.join(u", "_s) + u") Order By Id"_s;
    EXPECT_FALSE(db.translate(sql).contains(u"json_each"));
    EXPECT_EQ(db.run(sql), ids({4, 5, 8}));
    // A list cut short or ending in a comma is refused as before.
    EXPECT_EQ(errorOf(db, u"Select Id From W Where Qty In (1, 2"_s).nativeError(), 102);
    EXPECT_EQ(errorOf(db, u"Select Id From W Where Qty In (1, 2,)"_s).nativeError(), 102);
    EXPECT_EQ(errorOf(db, u"Select Id From W Where Qty In ()"_s).nativeError(), 102);
}

}  // namespace
}  // namespace md::tsql::test
