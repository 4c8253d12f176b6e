// The TSQL collation and LIKE: SQL Server's default comparison, Thai order, and the index
// range that keeps a prefix search on an indexed code fast.

#include "data/embedded/tsql/TextRules.h"
#include "tests/tsql/TsqlTestSupport.h"

#include <gtest/gtest.h>
#include <QStringList>
#include <algorithm>

namespace md::tsql::test {
namespace {

using namespace Qt::StringLiterals;

class Text : public ::testing::Test {
  protected:
    void SetUp() override {
        db.sqlite(
            u"CREATE TABLE Misc (Id INTEGER PRIMARY KEY, Code TEXT COLLATE TSQL, "
            "Description TEXT COLLATE TSQL);"
            "CREATE INDEX MiscCode ON Misc (Code);"_s);
        db.schema().add(u"Misc"_s, u"Id"_s, {SqlType::Integer});
        db.schema().add(u"Misc"_s, u"Code"_s, {SqlType::Text, 10});
        db.schema().add(u"Misc"_s, u"Description"_s, {SqlType::Text, 60});
        const QStringList codes = {u"ABC1"_s, u"abc2"_s, u"ABD"_s,   u"AB"_s,
                                   u"XYZ"_s,  u"abc "_s, u"ABCZZ"_s, u"ab-c"_s};
        int id = 0;
        for (const QString& c : codes)
            db.runSqlite(u"INSERT INTO Misc VALUES (?, ?, ?)"_s, {++id, c, u"d"_s + c});
    }
    std::vector<int> ids(const QString& tsql, const std::vector<QVariant>& params = {}) {
        std::vector<int> out;
        for (const Row& r : db.run(tsql, params))
            out.push_back(r.front().toInt());
        std::sort(out.begin(), out.end());
        return out;
    }
    bool usesIndex(const QString& tsql) {
        QString plan;
        for (const Row& r :
             db.runSqlite(u"EXPLAIN QUERY PLAN "_s + db.translate(tsql), {u"ABC%"_s}))
            plan += r.back().toString() + u'\n';
        return plan.contains(u"USING INDEX MiscCode"_s) ||
               plan.contains(u"USING COVERING INDEX MiscCode"_s);
    }
    TestDb db;
};

TEST_F(Text, EqualityIgnoresCaseAndTrailingBlanks) {
    EXPECT_EQ(db.value(u"Select Case When 'A' = 'a ' Then 1 Else 0 End"_s).toInt(), 1);
    EXPECT_EQ(db.value(u"Select Case When 'A' = ' a' Then 1 Else 0 End"_s).toInt(), 0);
    EXPECT_EQ(ids(u"Select Id From Misc Where Code = 'abc'"_s), (std::vector<int>{6}));
    EXPECT_EQ(ids(u"Select Id From Misc Where Code = 'Abc1   '"_s), (std::vector<int>{1}));
    // An expression of a column has no collation of its own in SQLite: still SQL Server's.
    EXPECT_EQ(ids(u"Select Id From Misc Where LTrim(RTrim(Code)) = 'xyz'"_s),
              (std::vector<int>{5}));
    EXPECT_EQ(ids(u"Select Id From Misc Where Code + 'q' = 'xyzQ'"_s), (std::vector<int>{5}));
}

TEST_F(Text, ThaiWordsSortInThaiOrder) {
    // ICU's Thai order: a leading vowel sorts by the consonant after it, tone marks count
    // after the letters.
    const QStringList words = {u"ไก่"_s, u"ขา"_s, u"แข"_s, u"เกม"_s, u"กา"_s,
                               u"ก่า"_s, u"โก"_s, u"ค"_s,  u"ใจ"_s};
    int id = 100;
    for (const QString& w : words)
        db.runSqlite(u"INSERT INTO Misc VALUES (?, ?, ?)"_s, {++id, w, w});
    QStringList sorted;
    for (const Row& r : db.run(u"Select Description From Misc Where Id > 100 Order By Code"_s))
        sorted << r.front().toString();
    EXPECT_EQ(sorted, (QStringList{u"กา"_s, u"ก่า"_s, u"เกม"_s, u"โก"_s, u"ไก่"_s, u"ขา"_s, u"แข"_s,
                                   u"ค"_s, u"ใจ"_s}))
        << sorted.join(u' ').toStdString();
    // Tone marks are not ignored by equality.
    EXPECT_EQ(ids(u"Select Id From Misc Where Code = 'กา'"_s), (std::vector<int>{105}));
}

TEST_F(Text, MixedTextsSortInTheWindowsWordOrder) {
    // Hyphens and apostrophes decide only between texts otherwise equal; blanks and other
    // marks before digits, digits before Latin letters before Thai; case and trailing blanks
    // ignored.
    const QStringList words = {u"กนก"_s,   u"car-s"_s, u"Brown"_s,  u"cars"_s,    u"123"_s,
                               u"car's"_s, u"apple"_s, u"carps"_s,  u"F-FAN16"_s, u"FANLB-017"_s,
                               u" x"_s,    u"#1"_s,    u"APPLE "_s, u"เกม"_s};
    int id = 200;
    for (const QString& w : words)
        db.runSqlite(u"INSERT INTO Misc VALUES (?, ?, ?)"_s, {++id, w, w});
    QStringList sorted;
    for (const Row& r : db.run(u"Select Description From Misc Where Id > 200 Order By Code, Id"_s))
        sorted << r.front().toString();
    EXPECT_EQ(sorted, (QStringList{u" x"_s, u"#1"_s, u"123"_s, u"apple"_s, u"APPLE "_s, u"Brown"_s,
                                   u"carps"_s, u"cars"_s, u"car's"_s, u"car-s"_s, u"FANLB-017"_s,
                                   u"F-FAN16"_s, u"กนก"_s, u"เกม"_s}))
        << sorted.join(u'|').toStdString();
    // MIN, MAX, DISTINCT and ranges follow the same order; equal texts stay equal.
    EXPECT_EQ(db.value(u"Select Max(Code) From Misc Where Id > 200"_s).toString(), u"เกม"_s);
    EXPECT_EQ(db.value(u"Select Min(Code) From Misc Where Id > 200 And Code > '1'"_s).toString(),
              u"123"_s);
    EXPECT_EQ(db.run(u"Select Distinct Code From Misc Where Code = 'apple'"_s).size(), 1u);
    EXPECT_EQ(ids(u"Select Id From Misc Where Code > 'cars' And Code < 'F'"_s),
              (std::vector<int>{202, 206}));
    EXPECT_EQ(db.value(u"Select Case When 'A-B' = 'a-b' Then 1 Else 0 End"_s).toInt(), 1);
    EXPECT_EQ(db.value(u"Select Case When 'AB' = 'A-B' Then 1 Else 0 End"_s).toInt(), 0);
}

TEST_F(Text, LikeFollowsTheServer) {
    const auto like = [](const QString& v, const QString& p) { return likeMatches(v, p); };
    EXPECT_TRUE(like(u"ABC"_s, u"abc"_s));
    EXPECT_TRUE(like(u"abc  "_s, u"abc"_s));  // value trailing blanks ignored
    EXPECT_FALSE(like(u"abc"_s, u"abc "_s));  // pattern trailing blanks count
    EXPECT_TRUE(like(u"abc"_s, u"a_c"_s));
    EXPECT_FALSE(like(u"ac"_s, u"a_c"_s));
    EXPECT_TRUE(like(u"xaBcx"_s, u"%abc%"_s));
    EXPECT_TRUE(like(u"b1"_s, u"[abc]1"_s));
    EXPECT_TRUE(like(u"Q"_s, u"[p-r]"_s));
    EXPECT_FALSE(like(u"b"_s, u"[^abc]"_s));
    EXPECT_FALSE(like(u"50%"_s, u"50!%"_s));  // without ESCAPE '!' is a character
    EXPECT_TRUE(likeMatches(u"50%"_s, u"50!%"_s, u'!'));
    EXPECT_FALSE(likeMatches(u"505"_s, u"50!%"_s, u'!'));
    EXPECT_TRUE(like(u"สินค้าไทย"_s, u"%ค้า%"_s));
    EXPECT_TRUE(like(u"a[b"_s, u"a[b"_s));  // an unclosed bracket is a character
    // Many wildcards on a long text stay linear.
    EXPECT_FALSE(like(QString(5000, u'a'), u"%a%a%a%a%a%a%a%a%b"_s));

    // The form the LIKE function keeps per statement reads UTF-8 as the text form reads it,
    // invalid bytes too, and gives the literal runs a contained-text index narrows by.
    const LikePattern contains(u"%ÄB%"_s);
    const auto utf8 = [&](const QByteArray& v) {
        return contains.matchesUtf8(v.constData(), int(v.size()));
    };
    EXPECT_TRUE(
        utf8("x\xC3\xA4"
             "bx"));                  // äb
    EXPECT_FALSE(utf8("x\xC3\xA4"));  // ä alone
    EXPECT_TRUE(
        utf8("\xFF\xC3\xA4"
             "B"));                        // an invalid byte before the match
    EXPECT_FALSE(utf8("\xC3\xA4\xC3 b"));  // a cut sequence between ä and b
    EXPECT_EQ(utf8("\xC3\xA4\xC3 b"), likeMatches(QString::fromUtf8("\xC3\xA4\xC3 b"), u"%ÄB%"_s));
    EXPECT_TRUE(LikePattern(u"%ค้า%"_s).matchesUtf8("สินค้า  ", 20));
    EXPECT_EQ(LikePattern(u"%aB_cd[x]EFG%h[^i]j[k-l]"_s).literalRuns(),
              (std::vector<std::u32string>{U"ab", U"cdxefg", U"h", U"j"}));
    EXPECT_EQ(LikePattern(u"%50[%] [_]off[[]%"_s).literalRuns(),
              (std::vector<std::u32string>{U"50% _off["}));
    EXPECT_EQ(LikePattern(u"50!%x[y"_s, u'!').literalRuns(),
              (std::vector<std::u32string>{U"50%x[y"}));

    EXPECT_EQ(ids(u"Select Id From Misc Where Code Like 'abc%'"_s), (std::vector<int>{1, 2, 6, 7}));
    EXPECT_EQ(ids(u"Select Id From Misc Where Code Like ?"_s, {u"ab%"_s}),
              (std::vector<int>{1, 2, 3, 4, 6, 7, 8}));
    EXPECT_EQ(ids(u"Select Id From Misc Where Code Like ?"_s, {u"%c%"_s}),
              (std::vector<int>{1, 2, 6, 7, 8}));
    EXPECT_EQ(ids(u"Select Id From Misc Where Code Not Like 'a%'"_s), (std::vector<int>{5}));
    EXPECT_EQ(ids(u"Select Id From Misc Where (Description Like ?) Or (Code Like ?)"_s,
                  {u"%XY%"_s, u"AB-%"_s}),
              (std::vector<int>{5, 8}));
}

TEST_F(Text, PrefixSearchUsesTheIndex) {
    EXPECT_TRUE(usesIndex(u"Select Id From Misc Where Code Like 'ABC%'"_s));
    EXPECT_TRUE(usesIndex(u"Select Id From Misc Where Code Like ?"_s));
    // The range must never lose a match: codes right at its ends.
    db.runSqlite(
        u"INSERT INTO Misc VALUES (50, 'abc', 'x'), (51, 'ABCzzzzzz', 'y'), "
        "(52, 'abcé', 'z'), (53, 'abcก', 'w')"_s);
    EXPECT_EQ(ids(u"Select Id From Misc Where Code Like 'abc%'"_s),
              (std::vector<int>{1, 2, 6, 7, 50, 51, 52, 53}));
    EXPECT_EQ(ids(u"Select Id From Misc Where Code Like ?"_s, {u"ABC%"_s}),
              (std::vector<int>{1, 2, 6, 7, 50, 51, 52, 53}));
    // A Thai prefix gets no range (a leading vowel sorts by what follows) but still matches.
    db.runSqlite(u"INSERT INTO Misc VALUES (60, 'เกม', 'x'), (61, 'เขา', 'y')"_s);
    EXPECT_EQ(ids(u"Select Id From Misc Where Code Like 'เ%'"_s), (std::vector<int>{60, 61}));
    EXPECT_EQ(ids(u"Select Id From Misc Where Code Like ?"_s, {u"เ%"_s}),
              (std::vector<int>{60, 61}));
}

}  // namespace
}  // namespace md::tsql::test

namespace md::tsql::test {
namespace {

using namespace Qt::StringLiterals;

TEST(TextGrouping, GroupByAndDistinctCompareTextAsEquality) {
    TestDb db;
    db.sqlite(
        u"CREATE TABLE W (Name TEXT COLLATE TSQL, N INTEGER);"
        "INSERT INTO W VALUES (' abc', 1), ('ABC ', 2), ('x', 3);"_s);
    db.schema().add(u"W"_s, u"Name"_s, {SqlType::Text, 10});
    db.schema().add(u"W"_s, u"N"_s, {SqlType::Integer});
    EXPECT_EQ(db.run(u"Select LTrim(Name), Sum(N) From W Group By LTrim(Name) Order By 1"_s).size(),
              2u);
    EXPECT_EQ(db.run(u"Select Distinct LTrim(Name) From W"_s).size(), 2u);
    // UNION removes duplicates by the same rule, and a computed column of a derived table
    // still compares as text does.
    EXPECT_EQ(
        db.run(u"Select LTrim(Name) From W Where N = 1 Union Select Name From W Where N = 2"_s)
            .size(),
        1u);
    EXPECT_EQ(db.value(u"Select Count(*) From (Select LTrim(Name) X From W) T Where T.X = 'abc'"_s)
                  .toInt(),
              2);
    EXPECT_EQ(db.value(u"Select Count(*) From W Where LTrim(Name) In (Select Upper(Name) From W "
                       "Where N = 2)"_s)
                  .toInt(),
              2);
}

}  // namespace
}  // namespace md::tsql::test
