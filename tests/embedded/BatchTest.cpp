#include "EngineFixture.h"

#include "data/embedded/ProcedureRegistry.h"

namespace md::embedded::test {
namespace {

class BatchTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        run(QStringLiteral(
            "Create Table Serial (Name varchar(10) NOT NULL PRIMARY KEY, LastNo int NOT NULL)"));
        ProcedureRegistry::instance().add(
            QStringLiteral("TestNextNo"),
            {{QStringLiteral("@Name"), QMetaType::QString, false, true},
             {QStringLiteral("@Step"), QMetaType::LongLong, false, false},
             {QStringLiteral("@No"), QMetaType::LongLong, true, false}},
            [](data::Session& s, ProcedureCall& call) {
                const QVariant step = call.in(QStringLiteral("@Step"));
                s.execute(
                    QStringLiteral("Update Serial Set LastNo = LastNo + ? Where Name = ?"),
                    {step.isNull() ? 1 : step.toLongLong(), call.in(QStringLiteral("@Name"))});
                auto rs = s.execute(QStringLiteral("Select LastNo From Serial Where Name = ?"),
                                    {call.in(QStringLiteral("@Name"))});
                std::vector<QVariant> row;
                if (!rs->fetch(row))
                    return 1;
                call.out(QStringLiteral("@No"), row[0]);
                return 0;
            });
        run(QStringLiteral("Insert Into Serial (Name, LastNo) Values ('INV', 10)"));
    }
};

TEST_F(BatchTest, DeclareExecOutputAndSelectVariable) {
    auto rs = db->execute(
        QStringLiteral("Declare @No int, @rc int\n"
                       "Exec @rc = TestNextNo @Name = 'INV', @Step = 5, @No = @No OUTPUT\n"
                       "Select @No\nSelect @rc"),
        {});
    std::vector<QVariant> row;
    ASSERT_TRUE(rs->fetch(row));
    EXPECT_EQ(row[0].toLongLong(), 15);
    EXPECT_EQ(rs->columns()[0].type, QMetaType::LongLong);
    ASSERT_TRUE(rs->nextResult());
    ASSERT_TRUE(rs->fetch(row));
    EXPECT_EQ(row[0].toLongLong(), 0);
    EXPECT_FALSE(rs->nextResult());
    // Positional arguments follow the declared order; a variable never set is NULL.
    EXPECT_EQ(
        scalar(
            QStringLiteral(
                "Declare @v int, @w varchar(3)\nExecute TestNextNo 'INV', ?, @v Output\nSelect @v"),
            {QVariant(2)})
            .toLongLong(),
        17);
    EXPECT_TRUE(scalar(QStringLiteral("Declare @w varchar(3)\nSelect @w")).isNull());
    const data::DbError unknown = refusal(QStringLiteral("Exec NoSuchProc"));
    EXPECT_EQ(unknown.nativeError(), 2812);
    EXPECT_EQ(unknown.state(), 62) << "the state SQL Server raises it with";
    EXPECT_EQ(refusal(QStringLiteral("Exec TestNextNo @Step = 1")).nativeError(), 201);
    const data::DbError undeclared = refusal(QStringLiteral("Select @undeclared"));
    EXPECT_EQ(undeclared.nativeError(), 137);
    EXPECT_EQ(undeclared.state(), 2);
}

TEST_F(BatchTest, SetAndSelectAssignmentAndIfElse) {
    const QString sql = QStringLiteral(
        "Declare @n int, @name varchar(3)\n"
        "Set @n = 2 * 3\n"
        "Select @name = Name, @n = @n + LastNo From Serial Where Name = 'INV'\n"
        "If @n > 10\n  Select 'big', @name\nElse\n  Select 'small', @name\n"
        "If Exists (Select * From Serial Where Name = 'NONE') Begin Select 'wrong' End Else Begin "
        "Select @n End");
    auto rs = db->execute(sql, {});
    std::vector<QVariant> row;
    ASSERT_TRUE(rs->fetch(row));
    EXPECT_EQ(row[0].toString(), QStringLiteral("big"));
    EXPECT_EQ(row[1].toString(), QStringLiteral("INV"));
    ASSERT_TRUE(rs->nextResult());
    ASSERT_TRUE(rs->fetch(row));
    EXPECT_EQ(row[0].toLongLong(), 16);
    EXPECT_FALSE(rs->nextResult());
}

TEST_F(BatchTest, StatementsSplitWithoutSemicolonsAndCaseEndStaysInItsSelect) {
    auto rs = db->execute(
        QStringLiteral(
            "Insert Into Serial (Name, LastNo) Values ('A', 1) "
            "Insert Into Serial (Name, LastNo) Select 'B', 2 "
            "Update Serial Set LastNo = LastNo + 1 Where Name In ('A', 'B') "
            "Select Name, Case When LastNo > 2 Then 'Y' Else 'N' End From Serial Order By Name"),
        {});
    std::vector<QVariant> row;
    std::vector<QString> got;
    while (rs->fetch(row))
        got.push_back(row[0].toString() + row[1].toString());
    EXPECT_EQ(got, (std::vector<QString>{QStringLiteral("AN"), QStringLiteral("BY"),
                                         QStringLiteral("INVY")}));
}

TEST_F(BatchTest, BatchTransactionsAndProceduresInsideTheCallersTransaction) {
    run(QStringLiteral("Begin Tran\nUpdate Serial Set LastNo = 0\nRollback"));
    EXPECT_EQ(scalar(QStringLiteral("Select LastNo From Serial")).toInt(), 10);
    run(QStringLiteral("Begin Transaction\nUpdate Serial Set LastNo = 1\nCommit Transaction"));
    EXPECT_EQ(scalar(QStringLiteral("Select LastNo From Serial")).toInt(), 1);
    EXPECT_EQ(refusal(QStringLiteral("Commit")).nativeError(), 3902);

    db->beginTransaction();
    std::vector<data::ProcParam> params{
        {QStringLiteral("@Name"), QStringLiteral("INV")},
        {QStringLiteral("@No"), QVariant(), true, QMetaType::LongLong}};
    EXPECT_EQ(db->callProcedure(QStringLiteral("testnextno"), params), 0);
    EXPECT_EQ(params[1].value.toLongLong(), 2);
    db->rollback();
    EXPECT_EQ(scalar(QStringLiteral("Select LastNo From Serial")).toInt(), 1);
}

TEST_F(BatchTest, RegisteredProceduresAreObjectsOfTheDatabase) {
    // The procedure was registered after `db` opened: the next session writes its row.
    EXPECT_EQ(column(*open(QStringLiteral("DB")),
                     QStringLiteral("Select XType From SysObjects Where Name = 'TESTNEXTNO'"))
                  .size(),
              1u);
    db->beginTransaction();
    run(QStringLiteral("Update Serial Set LastNo = 0"));
    // Opening a session while another holds a transaction does not wait for it.
    auto other = open(QStringLiteral("DB"));
    EXPECT_EQ(
        column(*other, QStringLiteral("Select XType From SysObjects Where Name = 'TESTNEXTNO'"))
            .at(0)
            .toString(),
        QStringLiteral("P "));
    db->rollback();
}

}  // namespace
}  // namespace md::embedded::test
