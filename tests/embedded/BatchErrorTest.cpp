// A batch goes on after a statement-level error, as SQL Server's do, and reports every error
// in order; syntax errors reject it before anything runs; statements need no semicolons; the
// batch can test its own steps with @@ERROR, @@ROWCOUNT and @@TRANCOUNT.

#include "EngineFixture.h"

namespace md::embedded::test {
namespace {

class BatchErrorTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        run(QStringLiteral(
            "Create Table P (Id int NOT NULL PRIMARY KEY, Code varchar(3) NOT NULL)\n"
            "Create Table C (Id int NOT NULL PRIMARY KEY, PId int NULL REFERENCES P(Id))\n"
            "Create Table Log (Id int NOT NULL)\n"
            "Insert Into P (Id, Code) Values (1, 'A')"));
    }
    int count(const QString& table) {
        return scalar(QStringLiteral("Select Count(*) From ") + table).toInt();
    }
};

TEST_F(BatchErrorTest, EachKindOfStatementErrorFailsOnlyItsStatement) {
    const data::DbError e =
        refusal(QStringLiteral("Insert Into P (Id, Code) Values (1, 'B')\n"  // duplicate key
                               "Insert Into Log (Id) Values (1)\n"
                               "Insert Into P (Id, Code) Values (2, NULL)\n"  // NULL into NOT NULL
                               "Insert Into Log (Id) Values (2)\n"
                               "Insert Into C (Id, PId) Values (1, 9)\n"  // reference
                               "Insert Into Log (Id) Values (3)\n"
                               "Insert Into P (Id, Code) Values (3, 'ABCD')\n"  // too long
                               "Insert Into Log (Id) Values (4)"));
    EXPECT_EQ(e.nativeError(), 2627);
    ASSERT_EQ(e.laterErrors().size(), 3u);
    EXPECT_EQ(e.laterErrors()[0].nativeError(), 515);
    EXPECT_EQ(e.laterErrors()[1].nativeError(), 547);
    EXPECT_EQ(e.laterErrors()[2].nativeError(), 8152);
    // Each keeps the message state SQL Server raises it with.
    EXPECT_EQ(e.state(), 1);
    EXPECT_EQ(e.laterErrors()[0].state(), 2);
    EXPECT_EQ(e.laterErrors()[1].state(), 0);
    EXPECT_EQ(e.laterErrors()[2].state(), 14);
    EXPECT_TRUE(e.laterErrors()[2].statement().contains(QStringLiteral("'ABCD'")));
    EXPECT_EQ(count(QStringLiteral("Log")), 4);
    EXPECT_EQ(count(QStringLiteral("P")), 1);
    // A batch-ending error after a statement error still reports both, in order.
    const data::DbError both = refusal(QStringLiteral(
        "Insert Into P (Id, Code) Values (1, 'B')\nInsert Into Nowhere (Id) Values (1)\n"
        "Insert Into Log (Id) Values (5)"));
    EXPECT_EQ(both.nativeError(), 2627);
    ASSERT_EQ(both.laterErrors().size(), 1u);
    EXPECT_EQ(both.laterErrors()[0].nativeError(), 208);
    EXPECT_EQ(count(QStringLiteral("Log")), 4);
}

TEST_F(BatchErrorTest, ASyntaxErrorRejectsTheWholeBatchBeforeAnythingRuns) {
    EXPECT_EQ(refusal(QStringLiteral("Insert Into Log (Id) Values (1)\nSelect * From Log Where"))
                  .category(),
              data::ErrorCategory::Syntax);
    EXPECT_EQ(count(QStringLiteral("Log")), 0);
}

TEST_F(BatchErrorTest, StatementsNeedNoSemicolons) {
    run(QStringLiteral("Insert Into Log (Id) Select Id From P\nInsert Into Log (Id) Values (7)"));
    EXPECT_EQ(count(QStringLiteral("Log")), 2);
    run(QStringLiteral("Insert Into Log (Id) Select Id + 1 From P Select Id From Log"));
    EXPECT_EQ(count(QStringLiteral("Log")), 3);
    run(QStringLiteral("Select Id From P Update Log Set Id = Id + 10 Where Id = 7"));
    EXPECT_EQ(scalar(QStringLiteral("Select Max(Id) From Log")).toInt(), 17);
    run(QStringLiteral("Insert Into Log (Id) Values (20) Delete From Log Where Id < 10"));
    EXPECT_EQ(count(QStringLiteral("Log")), 2);
    run(QStringLiteral("Select Id From P If 1 = 1 Insert Into Log (Id) Values (30)"));
    EXPECT_EQ(count(QStringLiteral("Log")), 3);
}

TEST_F(BatchErrorTest, ErrorRowCountAndTranCountTellTheBatchItsSteps) {
    const auto value = [&](const QString& sql) {
        const auto v = column(*db, sql);
        return v.empty() ? -1 : v.front().toLongLong();
    };
    // The batch that met an error raises it afterwards; what it did meanwhile stays.
    refusal(
        QStringLiteral("Insert Into P (Id, Code) Values (1, 'B')\n"
                       "Insert Into Log (Id) Values (@@ERROR)"));
    EXPECT_EQ(value(QStringLiteral("Select Max(Id) From Log")), 2627);
    run(QStringLiteral("Delete From Log\nInsert Into Log (Id) Values (1)"));
    EXPECT_EQ(value(QStringLiteral("Insert Into Log (Id) Select Id From Log\nSelect @@ROWCOUNT")),
              1);
    EXPECT_EQ(value(QStringLiteral("Update Log Set Id = 5\nSelect @@ERROR")), 0);
    EXPECT_EQ(value(QStringLiteral("Begin Tran\nSelect @@TRANCOUNT")), 1);
    EXPECT_EQ(value(QStringLiteral("Rollback\nSelect @@TRANCOUNT")), 0);
    refusal(
        QStringLiteral("Declare @e int\nInsert Into C (Id, PId) Values (1, 9)\n"
                       "Set @e = @@ERROR\nIf @e <> 0 Insert Into Log (Id) Values (99)"));
    EXPECT_EQ(value(QStringLiteral("Select Count(*) From Log Where Id = 99")), 1);
}

}  // namespace
}  // namespace md::embedded::test
