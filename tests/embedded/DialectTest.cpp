// The T-SQL dialect as a window meets it: statements with :Name parameters through Connection
// and Query on a fresh embedded server, each checked against SQL Server's result.

#include "data/Connection.h"
#include "data/Query.h"
#include "data/backend/DbError.h"
#include "tests/support/TempServer.h"

#include <gtest/gtest.h>
#include <QDateTime>

namespace md::embedded::test {
namespace {

using namespace Qt::StringLiterals;
using data::DbError;
using data::ErrorCategory;
using data::Query;

class Dialect : public ::testing::Test {
  protected:
    void SetUp() override {
        server.createDatabase(u"DB"_s);
        conn = server.connect(u"DB"_s);
        conn->open();
        exec(
            u"Create Table Item (Id IdNo IDENTITY(1,1) PRIMARY KEY, Code varchar(10) NOT NULL "
            "CONSTRAINT UQ_ItemCode UNIQUE, Name nvarchar(30) NULL, Price money NULL, Qty int "
            "NULL, Rate decimal(10, 2) NULL, StartDate datetime NULL, Active CharFlag NULL)"_s);
        exec(
            u"Create Table Part (Id int NOT NULL PRIMARY KEY, Item int NOT NULL CONSTRAINT "
            "FK_PartItem REFERENCES Item(Id), Note varchar(4) NULL)"_s);
        exec(
            u"Insert Into Item (Code, Name, Price, Qty, Rate, StartDate) Values ('A01', N'กา', "
            "10.5, 3, 1.25, '01/15/2026')"_s);
        exec(
            u"Insert Into Item (Code, Name, Price, Qty, Rate, StartDate) Values ('b02', N'ขา', "
            "1234567.891, 7, 2.5, '12/31/2026 10:30')"_s);
        exec(u"Insert Into Item (Code, Name, StartDate) Values ('C03', NULL, '2027-01-05')"_s);
    }

    qint64 exec(const QString& sql, const std::vector<std::pair<QString, QVariant>>& params = {}) {
        Query q(conn.get(), {sql});
        for (const auto& [name, value] : params)
            q.paramByName(name).setValue(value);
        return q.execSql();
    }
    // The first column of every row.
    std::vector<QVariant> column(const QString& sql,
                                 const std::vector<std::pair<QString, QVariant>>& params = {}) {
        Query q(conn.get(), {sql});
        for (const auto& [name, value] : params)
            q.paramByName(name).setValue(value);
        q.open();
        std::vector<QVariant> out;
        for (q.first(); !q.eof(); q.next())
            out.push_back(q.field(0).value());
        return out;
    }
    QVariant value(const QString& sql,
                   const std::vector<std::pair<QString, QVariant>>& params = {}) {
        const auto c = column(sql, params);
        return c.empty() ? QVariant() : c.front();
    }
    DbError refusal(const QString& sql,
                    const std::vector<std::pair<QString, QVariant>>& params = {}) {
        try {
            exec(sql, params);
        } catch (const DbError& e) {
            return e;
        }
        ADD_FAILURE() << "no error from: " << sql.toStdString();
        return DbError(QString());
    }

    testing::TempServer server;
    std::unique_ptr<data::Connection> conn;
};

TEST_F(Dialect, PlusConcatenatesAddsAndCountsDays) {
    EXPECT_EQ(
        value(u"Select Code + '-' + :Suffix From Item Where Id = 1"_s, {{u"Suffix"_s, u"x"_s}})
            .toString(),
        u"A01-x");
    EXPECT_TRUE(value(u"Select Code + Name From Item Where Id = 3"_s).isNull());
    EXPECT_EQ(value(u"Select Qty + '4' From Item Where Id = 1"_s).toLongLong(), 7);
    EXPECT_EQ(value(u"Select Qty + :N From Item Where Id = 2"_s, {{u"N"_s, 3}}).toLongLong(), 10);
    EXPECT_EQ(value(u"Select StartDate + 20 From Item Where Id = 1"_s).toDateTime(),
              QDateTime(QDate(2026, 2, 4), QTime(0, 0)));
    const DbError e = refusal(u"Update Item Set Qty = Qty + 'x1' Where Id = 1"_s);
    EXPECT_EQ(e.nativeError(), 245);
    EXPECT_EQ(e.sqlState(), u"22018");
    EXPECT_EQ(e.message(),
              u"Conversion failed when converting the varchar value 'x1' to data type int.");
}

TEST_F(Dialect, TopInTheSelectAndInASubquery) {
    EXPECT_EQ(column(u"Select Top 2 Code From Item Order By Code Desc"_s),
              (std::vector<QVariant>{u"C03"_s, u"b02"_s}));
    EXPECT_EQ(value(u"Select Count(*) From Item Where Id In (Select Top 1 Id From Item Order By "
                    "Price Desc)"_s)
                  .toInt(),
              1);
}

TEST_F(Dialect, ConversionsGiveTheServersTexts) {
    EXPECT_EQ(value(u"Select Convert(varchar(20), Price, 1) From Item Where Id = 2"_s).toString(),
              u"1,234,567.89");
    EXPECT_EQ(value(u"Select Convert(varchar(20), Price) From Item Where Id = 2"_s).toString(),
              u"1234567.89");
    EXPECT_EQ(value(u"Select Convert(varchar(20), Price, 2) From Item Where Id = 2"_s).toString(),
              u"1234567.8910");
    EXPECT_EQ(value(u"Select Convert(Char(8), Rate) From Item Where Id = 1"_s).toString(),
              u"1.25    ");
    EXPECT_EQ(value(u"Select Str(Price, 8, 1) From Item Where Id = 1"_s).toString(), u"    10.5");
    EXPECT_EQ(value(u"Select Str(Price, 4) From Item Where Id = 2"_s).toString(), u"****");
    EXPECT_DOUBLE_EQ(
        value(u"Select Cast(Price As Decimal(10, 1)) From Item Where Id = 1"_s).toDouble(), 10.5);
    EXPECT_EQ(value(u"Select Cast(Rate * 3 As Int) From Item Where Id = 2"_s).toLongLong(), 7);
    EXPECT_EQ(refusal(u"Update Item Set Name = Convert(varchar(5), Price, 1) Where Id = 2"_s)
                  .nativeError(),
              8115);
}

TEST_F(Dialect, DateTextsAndDateParameters) {
    // A date-time parameter and a month/day/year literal mean the same day.
    EXPECT_EQ(column(u"Select Id From Item Where StartDate = :D"_s,
                     {{u"D"_s, QDateTime(QDate(2026, 1, 15), QTime(0, 0))}}),
              (std::vector<QVariant>{1}));
    EXPECT_EQ(column(u"Select Id From Item Where StartDate >= '12/31/2026' Order By Id"_s),
              (std::vector<QVariant>{2, 3}));
    // Date-times sort by time, not by their text.
    EXPECT_EQ(column(u"Select Id From Item Order By StartDate Desc"_s),
              (std::vector<QVariant>{3, 2, 1}));
    EXPECT_EQ(value(u"Select StartDate From Item Where Id = 2"_s).toDateTime(),
              QDateTime(QDate(2026, 12, 31), QTime(10, 30)));
    EXPECT_EQ(value(u"Select Year(StartDate) From Item Where Id = 3"_s).toLongLong(), 2027);
    exec(u"Update Item Set StartDate = :D Where Id = 3"_s, {{u"D"_s, u"02/01/2027"_s}});
    EXPECT_EQ(value(u"Select Month(StartDate) From Item Where Id = 3"_s).toLongLong(), 2);
    const DbError e = refusal(u"Update Item Set StartDate = 'someday' Where Id = 3"_s);
    EXPECT_EQ(e.nativeError(), 241);
    EXPECT_EQ(e.sqlState(), u"22007");
    EXPECT_EQ(e.category(), ErrorCategory::Conversion);
    EXPECT_EQ(refusal(u"Update Item Set StartDate = '02/30/2027' Where Id = 3"_s).nativeError(),
              242);
}

TEST_F(Dialect, TextComparesWithoutCaseAndTrailingBlanks) {
    EXPECT_EQ(column(u"Select Id From Item Where Code = :Code"_s, {{u"Code"_s, u"B02  "_s}}),
              (std::vector<QVariant>{2}));
    EXPECT_EQ(
        column(u"Select Id From Item Where Code Like :Code Order By Id"_s, {{u"Code"_s, u"%0%"_s}}),
        (std::vector<QVariant>{1, 2, 3}));
    EXPECT_EQ(column(u"Select Id From Item Where Upper(Code) Like 'B%'"_s),
              (std::vector<QVariant>{2}));
    // Order without regard to case: b02 between A01 and C03.
    EXPECT_EQ(column(u"Select Code From Item Order By Code"_s),
              (std::vector<QVariant>{u"A01"_s, u"b02"_s, u"C03"_s}));
    EXPECT_EQ(column(u"Select Upper(Left(Code, 1)) From Item Group By Upper(Left(Code, 1)) "
                     "Order By 1"_s)
                  .size(),
              3u);
    // A unique code treats 'a01 ' as 'A01'.
    const DbError e =
        refusal(u"Insert Into Item (Code) Values (:Code)"_s, {{u"Code"_s, u"a01 "_s}});
    EXPECT_EQ(e.nativeError(), 2627);
    EXPECT_EQ(e.sqlState(), u"23000");
    EXPECT_EQ(e.category(), ErrorCategory::Constraint);
    EXPECT_EQ(e.message(),
              u"Violation of UNIQUE KEY constraint 'UQ_ItemCode'. Cannot insert duplicate key in "
              "object 'dbo.Item'. The duplicate key value is (a01 ).");
}

TEST_F(Dialect, BatchesWithConditionsVariablesAndIdentity) {
    exec(
        u"If Not Exists (Select * From Item Where Code = 'D04')\n"
        "Begin\n"
        "  Insert Into Item (Code, Qty) Values ('D04', 1)\n"
        "  Update Item Set Qty = Qty + 1 Where Code = 'D04'\n"
        "End"_s);
    exec(
        u"If Not Exists (Select * From Item Where Code = 'D04') Insert Into Item (Code) Values "
        "('D05')"_s);
    EXPECT_EQ(value(u"Select Qty From Item Where Code = 'D04'"_s).toLongLong(), 2);
    EXPECT_TRUE(value(u"Select Id From Item Where Code = 'D05'"_s).isNull());
    EXPECT_TRUE(value(u"Declare @v int\nSelect @v"_s).isNull());
    EXPECT_EQ(
        value(u"Declare @n int\nSelect @n = Count(*) From Item\nSelect @n * 10"_s).toLongLong(),
        40);
    exec(u"Insert Into Item (Code) Values (:Code)"_s, {{u"Code"_s, u"E05"_s}});
    EXPECT_EQ(value(u"Select @@IDENTITY"_s).toLongLong(),
              value(u"Select Id From Item Where Code = 'E05'"_s).toLongLong());
    // The same batch text again, after the catalogue changed in between, sees the new column.
    const QString probe =
        u"Select Count(*) From SysColumns Where Id = (Select Id From "
        "SysObjects Where Name = 'Item')"_s;
    const qint64 before = value(probe).toLongLong();
    exec(u"Alter Table Item Add Remark varchar(20) NULL, Amount money NULL"_s);
    EXPECT_EQ(value(probe).toLongLong(), before + 2);
    exec(u"Update Item Set Remark = Code + '!', Amount = 2.5 Where Id = 1"_s);
    EXPECT_EQ(value(u"Select Remark From Item Where Id = 1"_s).toString(), u"A01!");
}

TEST_F(Dialect, RefusalsCarryTheServersNumbersAndTexts) {
    DbError e = refusal(u"Insert Into Item (Name) Values ('x')"_s);
    EXPECT_EQ(e.nativeError(), 515);
    EXPECT_EQ(e.message(),
              u"Cannot insert the value NULL into column 'Code', table 'DB.dbo.Item'; column does "
              "not allow nulls. INSERT fails.");
    e = refusal(u"Insert Into Part (Id, Item) Values (1, 99)"_s);
    EXPECT_EQ(e.nativeError(), 547);
    EXPECT_EQ(e.sqlState(), u"23000");
    exec(u"Insert Into Part (Id, Item, Note) Values (1, 1, 'n')"_s);
    e = refusal(u"Delete From Item Where Id = :Id"_s, {{u"Id"_s, 1}});
    EXPECT_EQ(e.nativeError(), 547);
    EXPECT_EQ(e.message(),
              u"DELETE statement conflicted with COLUMN REFERENCE constraint 'FK_PartItem'. The "
              "conflict occurred in database 'DB', table 'Part', column 'Item'.");
    e = refusal(u"Update Part Set Note = :Note"_s, {{u"Note"_s, u"12345"_s}});
    EXPECT_EQ(e.nativeError(), 8152);
    EXPECT_EQ(e.message(), u"String or binary data would be truncated.");
    // Trailing blanks beyond the length are no truncation, as on the server.
    exec(u"Update Part Set Note = :Note"_s, {{u"Note"_s, u"1234  "_s}});

    auto missing = server.connect(u"NoSuchDb"_s, u"X"_s);
    try {
        missing->open();
        ADD_FAILURE() << "a missing database opened";
    } catch (const DbError& err) {
        EXPECT_EQ(err.nativeError(), 4060);
        EXPECT_EQ(err.message(),
                  u"Cannot open database \"NoSuchDb\" requested by the login. The login failed.");
    }
}

}  // namespace
}  // namespace md::embedded::test
