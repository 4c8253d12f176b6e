// Compiled batches and their translations are reused per connection, and never across a
// catalogue change; parameters are bound by position whatever mix of '?' and variables.

#include "EngineFixture.h"
#include "data/embedded/LruCache.h"

namespace md::embedded::test {
namespace {

using namespace Qt::StringLiterals;

TEST(LruCache, ForgetsTheLeastRecentlyUsedEntry) {
    LruCache<int> cache(2);
    cache.insert(u"a"_s, 1);
    cache.insert(u"b"_s, 2);
    ASSERT_NE(cache.find(u"a"_s), nullptr);  // a is now the most recent
    cache.insert(u"c"_s, 3);
    EXPECT_EQ(cache.find(u"b"_s), nullptr);
    ASSERT_NE(cache.find(u"a"_s), nullptr);
    EXPECT_EQ(*cache.find(u"a"_s), 1);
    EXPECT_EQ(*cache.find(u"c"_s), 3);
    cache.insert(u"c"_s, 4);  // replacing keeps one entry
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_EQ(*cache.find(u"c"_s), 4);
    cache.clear();
    EXPECT_EQ(cache.find(u"a"_s), nullptr);
}

TEST_F(EngineTest, ABatchRunAgainAfterTheCatalogueChangedIsTranslatedAgain) {
    run(u"Create Table T (A int NULL, B int NULL)"_s);
    run(u"Insert Into T (A, B) Values (1, 2)"_s);
    const QString sum = u"Select A + B From T"_s;
    EXPECT_EQ(scalar(sum).toLongLong(), 3);
    // Same text, same connection: the cached batch gives the same answer.
    EXPECT_EQ(scalar(sum).toLongLong(), 3);
    run(u"Drop Table T"_s);
    run(u"Create Table T (A varchar(5) NULL, B varchar(5) NULL)"_s);
    run(u"Insert Into T (A, B) Values ('1', '2')"_s);
    EXPECT_EQ(scalar(sum).toString(), u"12");  // now text: concatenation
    // A change made by another session is seen as well.
    auto other = open(u"DB"_s);
    other->execute(u"Drop Table T"_s, {});
    other->execute(u"Create Table T (A money NULL, B int NULL)"_s, {});
    other->execute(u"Insert Into T (A, B) Values (1.5, 2)"_s, {});
    EXPECT_DOUBLE_EQ(scalar(sum).toDouble(), 3.5);
}

TEST_F(EngineTest, TheSameStatementWithOtherVariableTypesIsTranslatedForThem) {
    EXPECT_EQ(
        scalar(u"Declare @a int, @b int\nSet @a = 1\nSet @b = 2\nSelect @a + @b"_s).toLongLong(),
        3);
    EXPECT_EQ(scalar(u"Declare @a varchar(5), @b varchar(5)\nSet @a = '1'\nSet @b = '2'\nSelect "
                     "@a + @b"_s)
                  .toString(),
              u"12");
}

TEST_F(EngineTest, ParametersBindByPositionAcrossVariablesAndStatements) {
    run(u"Create Table P (A int NULL, B varchar(10) NULL, C int NULL)"_s);
    const QString batch =
        u"Declare @v int\nSet @v = ?\nInsert Into P (A, B, C) Values (@v, ?, @v + ?)\n"
        "Select A, B, C From P Where B = ? And A = @v"_s;
    for (int round = 0; round < 3; ++round) {
        auto rs = db->execute(batch, {round, u"r%1"_s.arg(round), 10, u"r%1"_s.arg(round)});
        std::vector<QVariant> row;
        ASSERT_TRUE(rs->fetch(row));
        EXPECT_EQ(row[0].toInt(), round);
        EXPECT_EQ(row[1].toString(), u"r%1"_s.arg(round));
        EXPECT_EQ(row[2].toInt(), round + 10);
    }
    // A batch short of values is refused, not run with NULLs.
    EXPECT_EQ(refusal(batch, {1, u"x"_s}).sqlState(), u"07002");
    // A multi-row insert of many markers binds every one in its place.
    QString values;
    std::vector<QVariant> params;
    for (int i = 0; i < 300; ++i) {
        values += (i ? u", "_s : QString()) + u"(?, ?, ?)"_s;
        params.insert(params.end(), {i, u"m%1"_s.arg(i), i * 2});
    }
    run(u"Insert Into P (A, B, C) Values "_s + values, params);
    EXPECT_EQ(scalar(u"Select Count(*) From P Where B Like 'm%' And C = A * 2"_s).toInt(), 300);
    EXPECT_EQ(scalar(u"Select B From P Where A = 299"_s).toString(), u"m299");
}

}  // namespace
}  // namespace md::embedded::test

namespace md::embedded::test {
namespace {

using namespace Qt::StringLiterals;

TEST_F(EngineTest, LikeFindsTheSameRowsOnIndexedAndPlainColumns) {
    run(u"Create Table L (Id int NOT NULL PRIMARY KEY, Code varchar(10) NULL, Plain varchar(10) "
        "NULL)\nCreate Index IX_LCode On L (Code)"_s);
    run(u"Insert Into L (Id, Code, Plain) Values (1, 'abc1', 'abc1'), (2, 'ABC2', 'ABC2'), (3, "
        "'xabc', 'xabc'), (4, 'ab', 'ab')"_s);
    for (const QString& name : {u"Code"_s, u"Plain"_s}) {
        const QString sql = u"Select Id From L Where %1 Like ? Order By Id"_s.arg(name);
        EXPECT_EQ(column(*db, sql, {u"ABC%"_s}), (std::vector<QVariant>{1, 2}))
            << name.toStdString();
        EXPECT_EQ(column(*db, sql, {u"%abc%"_s}), (std::vector<QVariant>{1, 2, 3}))
            << name.toStdString();
        EXPECT_EQ(
            column(*db, u"Select Id From L Where %1 Like 'ab%' Order By Id"_s.arg(name)).size(),
            3u);
    }
}

}  // namespace
}  // namespace md::embedded::test
