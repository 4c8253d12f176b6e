// A batch goes on after a statement-level error, on every backend: the results before the
// failed statement stay readable, the statements after it run, and each error is reported in
// order, at its place among the results or raised after the last one.

#include "data/Connection.h"
#include "data/Query.h"
#include "data/backend/DbError.h"
#include "tests/data/BackendContext.h"

#include <gtest/gtest.h>

using namespace md::data;
using md::testing::BackendContext;

namespace {

QString s(const char* text) {
    return QString::fromUtf8(text);
}

// The failures of these batches: a duplicate code, then a NULL code.
const QString kDuplicate = s("Insert Into Item (Id, Code) Values (2, 'A01')");
const QString kNullCode = s("Insert Into Item (Id, Code) Values (4, NULL)");

class BatchErrors : public ::testing::TestWithParam<BackendContext> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        db_ = GetParam().freshDatabase(dir_);
        exec(s("Create Table Item (Id integer not null primary key, Code varchar(10) not null)"));
        exec(s("Create Unique Index IX_Item_Code On Item (Code)"));
        exec(s("Insert Into Item (Id, Code) Values (1, 'A01')"));
    }

    qint64 exec(const QString& sql) { return Query(db_.get(), {sql}).execSql(); }

    int count(const QString& condition) {
        Query q(db_.get(), {s("Select Count(*) As N From Item Where ") + condition});
        q.open();
        return int(q.fieldByName(s("N")).asInteger());
    }

    std::unique_ptr<ResultSet> run(const QStringList& statements) {
        return db_->session().execute(statements.join(s(";\n")), {});
    }

    static std::vector<QVariant> rowOf(ResultSet& rs) {
        std::vector<QVariant> row;
        EXPECT_TRUE(rs.fetch(row));
        return row;
    }

    // The duplicate is refused first, the NULL second, whatever each backend calls them.
    static void expectDuplicateThenNull(const std::vector<DbError>& errors) {
        ASSERT_EQ(errors.size(), 2u);
        EXPECT_FALSE(errors[0].message().contains(s("NULL"), Qt::CaseInsensitive))
            << errors[0].what();
        EXPECT_TRUE(errors[1].message().contains(s("NULL"), Qt::CaseInsensitive))
            << errors[1].what();
        for (const DbError& e : errors) {
            EXPECT_EQ(e.category(), ErrorCategory::Constraint) << e.what();
            EXPECT_GE(e.level(), 11) << "an error, not a message: " << e.what();
        }
    }

    QTemporaryDir dir_;
    std::unique_ptr<Connection> db_;
};

TEST_P(BatchErrors, EachErrorIsTakenAtItsPlaceBetweenTheResults) {
    auto rs = run({s("Select Code From Item"), kDuplicate,
                   s("Insert Into Item (Id, Code) Values (3, 'A03')"), kNullCode,
                   s("Select Count(*) As N From Item")});
    ASSERT_EQ(rs->columns().size(), 1u);
    EXPECT_EQ(rowOf(*rs)[0].toString(), s("A01")) << "the result before the failures is read";
    EXPECT_TRUE(rs->takeErrors(ResultSet::ErrorScope::BeforeCurrentResult).empty());

    ASSERT_TRUE(rs->nextResult());
    expectDuplicateThenNull(rs->takeErrors(ResultSet::ErrorScope::BeforeCurrentResult));
    EXPECT_EQ(rowOf(*rs)[0].toLongLong(), 2) << "the statement between the failures ran";
    // Taken errors are not raised again.
    EXPECT_FALSE(rs->nextResult());
    EXPECT_TRUE(rs->takeErrors(ResultSet::ErrorScope::SoFar).empty());
}

TEST_P(BatchErrors, ErrorsLeftUntakenAreRaisedAfterTheLastResultFirstWithTheOthersOnIt) {
    auto rs = run({kDuplicate, s("Select Code From Item Order By Code"), kNullCode,
                   s("Insert Into Item (Id, Code) Values (3, 'A03')")});
    ASSERT_EQ(rs->columns().size(), 1u) << "the failed first statement leaves the result after it";
    EXPECT_EQ(rowOf(*rs)[0].toString(), s("A01"));
    std::vector<QVariant> row;
    EXPECT_FALSE(rs->fetch(row));
    try {
        rs->nextResult();
        FAIL() << "the batch reported success over its failed statements";
    } catch (const DbError& e) {
        std::vector<DbError> all{e};
        all.insert(all.end(), e.laterErrors().begin(), e.laterErrors().end());
        expectDuplicateThenNull(all);
    }
    rs.reset();
    EXPECT_EQ(count(s("Id = 3")), 1) << "the statement after the failures ran";
}

TEST_P(BatchErrors, ExecSqlRaisesTheFirstFailureAfterTheWholeBatchRan) {
    Query q(db_.get(), {kDuplicate + s(";"), s("Insert Into Item (Id, Code) Values (3, 'A03');"),
                        kNullCode + s(";"), s("Insert Into Item (Id, Code) Values (5, 'A05')")});
    try {
        q.execSql();
        FAIL() << "the duplicate was reported as success";
    } catch (const DbError& e) {
        std::vector<DbError> all{e};
        all.insert(all.end(), e.laterErrors().begin(), e.laterErrors().end());
        expectDuplicateThenNull(all);
        EXPECT_TRUE(e.statement().contains(s("'A01'"))) << "the error names its statement";
    }
    EXPECT_EQ(count(s("Id In (3, 5)")), 2);
    EXPECT_EQ(count(s("Id In (2, 4)")), 0);
}

TEST_P(BatchErrors, AnUnknownTableEndsTheBatchAfterTheStatementsBeforeIt) {
    try {
        run({s("Insert Into Item (Id, Code) Values (3, 'A03')"), s("Select Id From NoSuchTable"),
             s("Insert Into Item (Id, Code) Values (5, 'A05')")});
        FAIL() << "an unknown table was reported as success";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains(s("NoSuchTable"), Qt::CaseInsensitive)) << e.what();
        EXPECT_TRUE(e.laterErrors().empty());
    }
    EXPECT_EQ(count(s("Id = 3")), 1);
    EXPECT_EQ(count(s("Id = 5")), 0) << "the batch ended at the unknown table";
}

TEST_P(BatchErrors, AQueryReadToItsEndNeverReportsSuccessOverAFailureAfterItsRows) {
    // The embedded engine runs the statement after the rows when the query opens; over ODBC it
    // is reached when the rows have been read. Either way the failure is the query's.
    Query q(db_.get(), {s("Select Code From Item;"), kDuplicate});
    EXPECT_THROW(
        {
            q.open();
            q.recordCount();
        },
        DbError);
    EXPECT_EQ(count(s("Id = 2")), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, BatchErrors,
                         ::testing::ValuesIn(md::testing::backendsUnderTest()),
                         [](const auto& info) { return info.param.name.toStdString(); });

}  // namespace
