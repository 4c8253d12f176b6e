#include "data/backend/DbError.h"
#include "data/embedded/BatchParser.h"

#include <gtest/gtest.h>

namespace md::embedded::test {
namespace {

std::vector<OpKind> kinds(const Program& p) {
    std::vector<OpKind> out;
    for (const auto& op : p.ops)
        out.push_back(op.kind);
    return out;
}

TEST(BatchParser, SplitsStatementsThatNoSemicolonSeparates) {
    const Program p = compileBatch(QStringLiteral(
        "Insert Into T (A) Select A From U Union All Select A From V\n"
        "Update T Set A = Case When A > 1 Then 1 Else 0 End Where A Is Not Null\n"
        "Create Table C (Id int References P (Id) On Delete Cascade On Update No Action)\n"
        "Create View W As Select A From T\n"
        "Alter Table T Add B int, C int\n"
        "Delete From T; Select 1"));
    ASSERT_EQ(p.ops.size(), 7u);
    EXPECT_EQ(kinds(p), (std::vector<OpKind>{OpKind::Sql, OpKind::Sql, OpKind::Ddl, OpKind::Ddl,
                                             OpKind::Ddl, OpKind::Sql, OpKind::Sql}));
    EXPECT_EQ(p.ops[0].insertTarget, QStringLiteral("T"));
    EXPECT_TRUE(p.ops[0].text.endsWith(QStringLiteral("From V")));
    EXPECT_TRUE(p.ops[1].text.endsWith(QStringLiteral("Is Not Null")));
    EXPECT_TRUE(p.ops[6].select);
    EXPECT_FALSE(p.sideEffectsFrom(6));
    EXPECT_TRUE(p.sideEffectsFrom(5));
}

TEST(BatchParser, IfElseChainsJumpPastTheBranchesNotTaken) {
    const Program p = compileBatch(QStringLiteral(
        "If @a = 1 Select 1 Else If Not Exists (Select * From T Where X = ?) Begin Print 'x' "
        "Select ? End Else Select 3\nSelect 4"));
    // cond, sel1, jump, cond, print, sel?, jump, sel3, sel4
    ASSERT_EQ(p.ops.size(), 9u);
    EXPECT_EQ(p.ops[0].target, 3);
    EXPECT_EQ(p.ops[2].target, 8);
    EXPECT_TRUE(p.ops[3].exists);
    EXPECT_TRUE(p.ops[3].negate);
    EXPECT_EQ(p.ops[3].target, 7);
    EXPECT_EQ(p.ops[6].target, 8);
    // Positional parameters are numbered through the whole batch.
    EXPECT_EQ(p.ops[3].paramBase, 0);
    EXPECT_EQ(p.ops[5].paramBase, 1);
}

TEST(BatchParser, AssignmentsDeclarationsAndExec) {
    const Program p = compileBatch(QStringLiteral(
        "Declare @n int, @s varchar(10)\nSelect @n = Count(*), @s = Max(Name) From T Where A = 1\n"
        "Exec @n = P @s Output\nSet NoCount On\nBegin Tran\nCommit Transaction"));
    EXPECT_EQ(kinds(p), (std::vector<OpKind>{OpKind::Declare, OpKind::SelectAssign, OpKind::Exec,
                                             OpKind::Ignore, OpKind::BeginTran, OpKind::Commit}));
    ASSERT_EQ(p.ops[0].decls.size(), 2u);
    EXPECT_EQ(p.ops[0].decls[1].second.type.length, 10);
    ASSERT_EQ(p.ops[1].assigns.size(), 2u);
    EXPECT_EQ(p.ops[1].text, QStringLiteral("SELECT Count(*), Max(Name) From T Where A = 1"));
}

TEST(BatchParser, RefusesBrokenBatches) {
    for (const char* sql : {"End", "Begin Select 1", "Select 'open", "Declare @x nosuchtype"}) {
        EXPECT_THROW(compileBatch(QString::fromLatin1(sql)), data::DbError) << sql;
    }
}

}  // namespace
}  // namespace md::embedded::test

namespace md::embedded::test {
namespace {

// The runner asks after every result whether a later operation changes anything; the answer
// is found once, as the batch compiles, so a batch of many SELECTs does not scan its tail
// after each one.
TEST(BatchParser, KnowsTheLastOperationThatChangesAnything) {
    const Program reads = compileBatch(QStringLiteral("Select 1 Select 2 IF 1=1 PRINT 'x'"));
    EXPECT_EQ(reads.lastSideEffect, -1);
    EXPECT_FALSE(reads.sideEffectsFrom(0));
    const Program mixed =
        compileBatch(QStringLiteral("Select 1 Delete From T Select 2 Select 3 Print 'x'"));
    EXPECT_EQ(mixed.lastSideEffect, 1);
    EXPECT_TRUE(mixed.sideEffectsFrom(0));
    EXPECT_TRUE(mixed.sideEffectsFrom(1));
    EXPECT_FALSE(mixed.sideEffectsFrom(2));
}

}  // namespace
}  // namespace md::embedded::test
