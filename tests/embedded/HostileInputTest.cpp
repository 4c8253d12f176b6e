// Bad input a careless or hostile user can type into a batch: statements nested or chained past
// what the engine can take, a batch that ends in the middle of an IF, and identifiers that
// hold the text of an engine error.

#include "EngineFixture.h"

namespace md::embedded::test {
namespace {

using namespace Qt::StringLiterals;

QString repeated(const char* piece, int times) {
    return QString::fromLatin1(piece).repeated(times);
}

QString chain(const char* term, const char* op, int terms) {
    QStringList parts;
    for (int i = 0; i < terms; ++i)
        parts << QString::fromLatin1(term).arg(i);
    return parts.join(QString::fromLatin1(op));
}

class HostileInputTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        run(QStringLiteral("Create Table T (Id int NOT NULL PRIMARY KEY, Code varchar(20) NULL)"));
        run(QStringLiteral("Insert Into T (Id, Code) Values (7, 'A')"));
    }
    qint64 rows() { return scalar(QStringLiteral("Select Count(*) From T")).toLongLong(); }
};

TEST_F(HostileInputTest, NestingPastTheLimitIsRefusedWith191AndNothingRuns) {
    const int deep = 3000;
    const QStringList batches = {
        u"Insert Into T (Id) Values (1) "_s + repeated("IF 1=1 BEGIN ", deep) + u"PRINT 1"_s +
            repeated(" END", deep),
        u"Insert Into T (Id) Values (1) Select "_s + repeated("(", deep) + u"1"_s +
            repeated(")", deep),
        u"Insert Into T (Id) Values (1) Select 1 Where "_s + repeated("NOT ", deep) + u"1=1"_s,
        u"Insert Into T (Id) Values (1) Select "_s + repeated("- ", deep) + u"1"_s,
        u"Insert Into T (Id) Values (1) Select "_s + repeated("Abs(", deep) + u"1"_s +
            repeated(")", deep),
        u"Insert Into T (Id) Values (1) Select "_s + repeated("Case When 1=1 Then ", deep) +
            u"1"_s + repeated(" End", deep),
        u"Insert Into T (Id) Values (1) Select * From "_s + repeated("(Select * From ", deep) +
            u"T"_s + repeated(") X", deep),
        u"Insert Into T (Id) Values (1) Select "_s + chain("1", "+", deep),
        u"Insert Into T (Id) Values (1) Select "_s + chain("1&1", "+", deep),
    };
    for (const QString& batch : batches) {
        const data::DbError e = refusal(batch);
        EXPECT_EQ(e.nativeError(), 191) << batch.left(80).toStdString();
        EXPECT_EQ(e.message(),
                  u"Some part of your SQL statement is nested too deeply. Rewrite the query or "
                  "break it up into smaller queries."_s);
        EXPECT_EQ(rows(), 1);
    }
}

TEST_F(HostileInputTest, BelowTheLimitDeepFormsRun) {
    EXPECT_EQ(scalar(u"Select "_s + repeated("(", 60) + u"5"_s + repeated(")", 60)).toInt(), 5);
    EXPECT_EQ(scalar(repeated("IF 1=1 BEGIN ", 30) + u"Select 6"_s + repeated(" END", 30)).toInt(),
              6);
    // SQLite's parser holds about 45 nested function calls of its own; the engine's limit is
    // the same error past that.
    EXPECT_EQ(scalar(u"Select "_s + repeated("Abs(", 20) + u"-3"_s + repeated(")", 20)).toInt(), 3);
    // A chain of 400 operators is as long as one may be.
    EXPECT_EQ(scalar(u"Select "_s + chain("1", "+", 401)).toInt(), 401);
    EXPECT_EQ(scalar(u"Select "_s + chain("2", "*", 31)).toLongLong(), Q_INT64_C(1) << 31);
}

TEST_F(HostileInputTest, ThousandsOfAndedAndOredTermsRun) {
    EXPECT_EQ(scalar(u"Select Count(*) From T Where "_s + chain("Id <> %1", " AND ", 1000)).toInt(),
              0);  // 7 is among the terms
    EXPECT_EQ(scalar(u"Select Count(*) From T Where "_s + chain("Id = %1", " OR ", 1000)).toInt(),
              1);
    EXPECT_EQ(
        scalar(u"Select Count(*) From T Where Code = 'A' AND ("_s + chain("Id = %1", " OR ", 2000) +
               u") AND "_s + chain("Code <> 'B%1'", " AND ", 2000))
            .toInt(),
        1);
}

TEST_F(HostileInputTest, OperatorChainsKeepTheServersGrouping) {
    // + - & | ^ share one precedence and group from the left on the server; SQLite binds
    // + before |, so a chain written flat must keep its parentheses where they matter.
    EXPECT_EQ(scalar(QStringLiteral("Select 6 | 1 + 1")).toInt(), 8);
    EXPECT_EQ(scalar(QStringLiteral("Select 1 + 1 & 1 + 1")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("Select 10 - 2 - 3")).toInt(), 5);
    EXPECT_EQ(scalar(QStringLiteral("Select 2 + 3 * 4 - 1")).toInt(), 13);
    EXPECT_EQ(scalar(QStringLiteral("Select 'a' + 'b' + Code From T")).toString(), u"abA"_s);
}

TEST_F(HostileInputTest, AnIfWithNothingAfterItIsASyntaxError) {
    for (const char* tail :
         {"IF", "IF 1=1", "IF 1=1 PRINT 1 ELSE", "IF BEGIN PRINT 1 END", "IF 1=1 BEGIN"}) {
        const data::DbError e =
            refusal(u"Insert Into T (Id) Values (1) "_s + QString::fromLatin1(tail));
        EXPECT_EQ(e.nativeError(), 102) << tail;
        EXPECT_EQ(rows(), 1) << tail;
    }
}

TEST_F(HostileInputTest, IdentifiersHoldingErrorTextStayPlainText) {
    // The control characters and the number the engine's own errors were once written with.
    const QString forged = QString(QChar(0x1f)) + u"MDERR"_s + QChar(0x1f) + u"2627"_s +
                           QChar(0x1f) + u"23000"_s + QChar(0x1f) + u"forged"_s;
    const data::DbError table = refusal(u"Select * From ["_s + forged + u"]"_s);
    EXPECT_EQ(table.nativeError(), 208);
    EXPECT_TRUE(table.message().contains(forged));
    const data::DbError column = refusal(u"Select ["_s + forged + u"] From T"_s);
    EXPECT_EQ(column.nativeError(), 207);
    const data::DbError value = refusal(u"Select Convert(int, '"_s + forged + u"')"_s);
    EXPECT_EQ(value.nativeError(), 245);
    EXPECT_EQ(value.sqlState(), u"22018"_s);
    // The engine's own errors still come back with their numbers.
    EXPECT_EQ(refusal(QStringLiteral("Insert Into T (Id) Values (7)")).nativeError(), 2627);
    EXPECT_EQ(refusal(QStringLiteral("Select Convert(int, 'abc')")).nativeError(), 245);
}

}  // namespace
}  // namespace md::embedded::test
