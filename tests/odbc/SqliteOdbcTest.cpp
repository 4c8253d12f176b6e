// The backend through Debian's SQLite ODBC driver: everything but output parameters.

#include "OdbcDrivers.h"
#include "data/backend/DbError.h"
#include "data/odbc/OdbcBackend.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTemporaryDir>

using md::data::DbError;
using md::data::ErrorCategory;
using md::data::ProcParam;
using md::data::ResultSet;
using md::data::Session;
using md::data::UsageError;
using Row = std::vector<QVariant>;

namespace {

const QString kThai = QStringLiteral("สินค้านำเข้า ภาษีอากร");

class SqliteOdbc : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        session_ = open();
        exec(
            QStringLiteral("create table Item (Id integer primary key, Code varchar(30) not null, "
                           "Rate decimal(10,4), Stamp datetime, Picture blob)"));
    }

    std::unique_ptr<Session> open() {
        return md::odbc::openSession({QStringLiteral("company"),
                                      md::odbc::test::sqliteServer(folder_.path()),
                                      QStringLiteral("kvr"), QString()});
    }

    std::unique_ptr<ResultSet> exec(const QString& sql, const Row& params = {}) {
        return session_->execute(sql, params);
    }

    std::vector<Row> readAll(ResultSet& result) {
        std::vector<Row> rows;
        Row row;
        while (result.fetch(row))
            rows.push_back(row);
        return rows;
    }

    void insertItems(int count) {
        session_->beginTransaction();
        for (int i = 1; i <= count; ++i) {
            exec(QStringLiteral("insert into Item (Id, Code) values (?, ?)"),
                 {i, QStringLiteral("C%1").arg(i)});
        }
        session_->commit();
    }

    QTemporaryDir folder_;
    std::unique_ptr<Session> session_;
};

TEST_F(SqliteOdbc, TypedValuesRoundTripThroughParameters) {
    const QDateTime stamp(QDate(2024, 2, 29), QTime(13, 45, 7, 250));
    const QByteArray picture = QByteArray("\x00\xff\x10jpeg", 7).repeated(3000);  // > one chunk
    exec(QStringLiteral("insert into Item (Id, Code, Rate, Stamp, Picture) values (?, ?, ?, ?, ?)"),
         {qlonglong(7), kThai, 35.125, stamp, picture});
    exec(QStringLiteral("insert into Item (Id, Code, Rate, Stamp, Picture) values (?, ?, ?, ?, ?)"),
         {8, QStringLiteral("N"), QVariant(QMetaType(QMetaType::Double)),
          QVariant(QMetaType(QMetaType::QDateTime)), QVariant(QMetaType(QMetaType::QByteArray))});

    auto result =
        exec(QStringLiteral("select Id, Code, Rate, Stamp, Picture from Item order by Id"));
    const auto& columns = result->columns();
    ASSERT_EQ(columns.size(), 5u);
    EXPECT_EQ(columns[0].type, QMetaType::LongLong);
    EXPECT_EQ(columns[1].name, QStringLiteral("Code"));
    EXPECT_EQ(columns[1].type, QMetaType::QString);
    EXPECT_EQ(columns[1].size, 30);
    EXPECT_EQ(columns[2].type, QMetaType::Double);
    EXPECT_EQ(columns[3].type, QMetaType::QDateTime);
    EXPECT_EQ(columns[4].type, QMetaType::QByteArray);

    const auto rows = readAll(*result);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], QVariant(qlonglong(7)));
    EXPECT_EQ(rows[0][1].toString(), kThai);
    EXPECT_DOUBLE_EQ(rows[0][2].toDouble(), 35.125);
    EXPECT_EQ(rows[0][3].toDateTime(), stamp);
    EXPECT_EQ(rows[0][4].toByteArray(), picture);
    for (int c = 2; c <= 4; ++c) {
        EXPECT_TRUE(rows[1][c].isNull()) << c;
        EXPECT_EQ(rows[1][c].metaType().id(), columns[c].type) << c;
    }
}

TEST_F(SqliteOdbc, ThaiSurvivesLiteralsParametersAndLongTexts) {
    const QString longThai = kThai.repeated(400);  // several reads of the column
    auto result = exec(QStringLiteral("select 'ภาษาไทย' as ชื่อ, ?, ?"), {kThai, longThai});
    EXPECT_EQ(result->columns()[0].name, QStringLiteral("ชื่อ"));
    Row row;
    ASSERT_TRUE(result->fetch(row));
    EXPECT_EQ(row[0].toString(), QStringLiteral("ภาษาไทย"));
    EXPECT_EQ(row[1].toString(), kThai);
    EXPECT_EQ(row[2].toString(), longThai);
    EXPECT_FALSE(result->fetch(row));

    exec(QStringLiteral("insert into Item (Id, Code) values (1, 'ไทย')"));
    result = exec(QStringLiteral("select Id from Item where Code = ?"), {QStringLiteral("ไทย")});
    EXPECT_EQ(readAll(*result).size(), 1u);
}

TEST_F(SqliteOdbc, BatchesGiveEveryRowResultInTurn) {
    auto result = exec(QStringLiteral("insert into Item (Id, Code) values (?, 'a'); "
                                      "select Code from Item; select count(*) as N, ? from Item"),
                       {1, QStringLiteral("x;y")});
    // The cursor starts on the first result with columns.
    ASSERT_EQ(result->columns().size(), 1u);
    EXPECT_EQ(readAll(*result).size(), 1u);
    ASSERT_TRUE(result->nextResult());
    EXPECT_EQ(result->columns()[0].name, QStringLiteral("N"));
    auto rows = readAll(*result);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][1].toString(), QStringLiteral("x;y"));
    EXPECT_FALSE(result->nextResult());

    // No result has columns: the cursor rests on the last statement.
    result =
        exec(QStringLiteral("update Item set Code = 'b'; update Item set Code = 'c' where 1=0"));
    EXPECT_TRUE(result->columns().empty());
    EXPECT_EQ(result->rowsAffected(), 0);
    result = exec(QStringLiteral("update Item set Code = 'd'"));
    EXPECT_EQ(result->rowsAffected(), 1);
}

TEST_F(SqliteOdbc, LaterStatementFailureStopsTheBatch) {
    auto result =
        exec(QStringLiteral("select 1; selec 2; insert into Item (Id, Code) values (1, 'a')"));
    EXPECT_EQ(readAll(*result).size(), 1u);
    try {
        result->nextResult();
        FAIL() << "the failing statement went unnoticed";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("syntax error"))) << e.what();
    }
    EXPECT_FALSE(result->nextResult()) << "an error is raised once, after the last result";
    EXPECT_EQ(readAll(*exec(QStringLiteral("select * from Item"))).size(), 0u);
}

TEST_F(SqliteOdbc, OpenResultIsReadIntoMemoryBeforeTheNextStatement) {
    insertItems(500);
    auto first = exec(QStringLiteral("select Id, Code from Item order by Id"));
    Row row;
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(first->fetch(row));
    auto second = exec(QStringLiteral("select count(*) from Item"));
    // The rows of the first result are the ones read before the update below ran.
    exec(QStringLiteral("update Item set Code = 'changed'"));
    int count = 10;
    while (first->fetch(row)) {
        ++count;
        EXPECT_EQ(row[1].toString(), QStringLiteral("C%1").arg(count));
    }
    EXPECT_EQ(count, 500);
    ASSERT_TRUE(second->fetch(row));
    EXPECT_EQ(row[0].toLongLong(), 500);
}

TEST_F(SqliteOdbc, BufferedResultKeepsItsFailureForTheReader) {
    insertItems(3);
    auto first = exec(QStringLiteral("select Id from Item; select * from NoSuchTable"));
    Row row;
    ASSERT_TRUE(first->fetch(row));
    exec(QStringLiteral("select 1"));  // reads the rest of `first` into memory
    EXPECT_EQ(readAll(*first).size(), 2u);
    try {
        first->nextResult();
        FAIL() << "a batch cut short was reported as complete";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("no such table: NoSuchTable"))) << e.what();
    }
}

TEST_F(SqliteOdbc, ResultOutlivesItsSession) {
    insertItems(3);
    auto result = exec(QStringLiteral("select Id from Item"));
    session_.reset();
    EXPECT_EQ(readAll(*result).size(), 3u);
}

TEST_F(SqliteOdbc, TransactionsCommitAndRollBack) {
    session_->beginTransaction();
    EXPECT_TRUE(session_->inTransaction());
    exec(QStringLiteral("insert into Item (Id, Code) values (1, 'kept')"));
    session_->commit();
    EXPECT_FALSE(session_->inTransaction());

    session_->beginTransaction();
    exec(QStringLiteral("insert into Item (Id, Code) values (2, 'dropped')"));
    session_->rollback();
    EXPECT_EQ(readAll(*exec(QStringLiteral("select Code from Item"))).size(), 1u);

    // Outside a transaction every statement commits at once.
    exec(QStringLiteral("insert into Item (Id, Code) values (3, 'auto')"));
    EXPECT_THROW(session_->commit(), UsageError);

    // A session closed inside a transaction takes its work with it.
    session_->beginTransaction();
    EXPECT_THROW(session_->beginTransaction(), UsageError);
    exec(QStringLiteral("insert into Item (Id, Code) values (4, 'lost')"));
    session_ = open();
    EXPECT_EQ(readAll(*exec(QStringLiteral("select Code from Item"))).size(), 2u);
}

TEST_F(SqliteOdbc, ErrorsCarryTheDriverText) {
    try {
        exec(QStringLiteral("selec 1"));
        FAIL();
    } catch (const DbError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("[SQLite]near \"selec\": syntax error (1)"));
        EXPECT_EQ(e.sqlState(), QStringLiteral("HY000"));
        EXPECT_EQ(e.nativeError(), 1);
    }
    try {
        exec(QStringLiteral("insert into Item (Id, Code) values (?, ?)"),
             {1, QVariant(QMetaType(QMetaType::QString))});
        FAIL();
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("NOT NULL constraint failed: Item.Code")));
        EXPECT_EQ(e.category(), ErrorCategory::Constraint);
    }
    // The session stays usable after a refusal.
    EXPECT_EQ(readAll(*exec(QStringLiteral("select 1"))).size(), 1u);
}

TEST_F(SqliteOdbc, ProceduresFailCleanlyWithoutServerSupport) {
    EXPECT_FALSE(session_->quirks().outputParameters);
    std::vector<ProcParam> params{
        {QStringLiteral("@MENUID"), 1, false},
        {QStringLiteral("@CAPTION"), QVariant(), true, QMetaType::QString, 100}};
    EXPECT_THROW(session_->callProcedure(QStringLiteral("MENUCAPTION"), params), DbError);
    EXPECT_THROW(session_->callProcedure(QStringLiteral("x; drop table Item"), params), UsageError);
    params[0].name = QStringLiteral("@a = 1; drop table Item --");
    EXPECT_THROW(session_->callProcedure(QStringLiteral("MENUCAPTION"), params), UsageError);
    EXPECT_EQ(readAll(*exec(QStringLiteral("select * from Item"))).size(), 0u);
}

TEST_F(SqliteOdbc, UntypedNullsAndUnsupportedValues) {
    exec(QStringLiteral("insert into Item (Id, Code, Rate, Stamp) values (?, ?, ?, ?)"),
         {1, QStringLiteral("x"), QVariant(), QVariant()});
    auto result = exec(QStringLiteral("select Rate, Stamp from Item"));
    Row row;
    ASSERT_TRUE(result->fetch(row));
    EXPECT_TRUE(row[0].isNull());
    EXPECT_TRUE(row[1].isNull());
    // A value the server has no type for is refused, never sent as NULL.
    EXPECT_THROW(exec(QStringLiteral("select ?"), {QVariant(QVariantList{1, 2})}), UsageError);
}

TEST_F(SqliteOdbc, SemicolonsInsideTextDoNotSplitTheBatch) {
    auto result = exec(QStringLiteral("select 'a;b' as T -- one; two\n; select ? as U"), {kThai});
    auto rows = readAll(*result);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].toString(), QStringLiteral("a;b"));
    ASSERT_TRUE(result->nextResult());
    rows = readAll(*result);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].toString(), kThai);
}

}  // namespace
