// SQL Server's results for the expressions and statements the program uses, checked by running
// the translation on SQLite with the engine's functions.

#include "data/embedded/tsql/Values.h"
#include "tests/tsql/TsqlTestSupport.h"

#include <gtest/gtest.h>
#include <QDateTime>

namespace md::tsql::test {
namespace {

using namespace Qt::StringLiterals;

class Semantics : public ::testing::Test {
  protected:
    void SetUp() override {
        db.sqlite(
            u"CREATE TABLE Product (Id INTEGER PRIMARY KEY, Code TEXT COLLATE TSQL, "
            "ThaiName TEXT COLLATE TSQL, Price REAL, Qty INTEGER, Rate REAL, StartDate TEXT);"
            "CREATE INDEX ProductCode ON Product (Code);"
            "CREATE TABLE Unit (Id INTEGER PRIMARY KEY, Product INTEGER, UnitName TEXT COLLATE "
            "TSQL, Fraction INTEGER);"
            "INSERT INTO Product VALUES (1, 'A01', 'กา', 10.5, 3, 1.25, '2026-01-15 00:00:00.000');"
            "INSERT INTO Product VALUES (2, 'A02', 'ขา', 1234567.891, 7, 2.5, "
            "'2026-12-31 10:30:00.000');"
            "INSERT INTO Product VALUES (3, 'B01', NULL, NULL, NULL, NULL, NULL);"
            "INSERT INTO Unit VALUES (1, 1, 'ชิ้น', 1), (2, 1, 'กล่อง', 12), (3, 2, 'ชิ้น', 1);"_s);
        auto& s = db.schema();
        s.add(u"Product"_s, u"Id"_s, {SqlType::Integer});
        s.add(u"Product"_s, u"Code"_s, {SqlType::Text, 20});
        s.add(u"Product"_s, u"ThaiName"_s, {SqlType::Text, 60});
        s.add(u"Product"_s, u"Price"_s, {SqlType::Money, -1, 19, 4});
        s.add(u"Product"_s, u"Qty"_s, {SqlType::Integer});
        s.add(u"Product"_s, u"Rate"_s, {SqlType::Decimal, -1, 10, 2});
        s.add(u"Product"_s, u"StartDate"_s, {SqlType::DateTime});
        s.add(u"Unit"_s, u"Id"_s, {SqlType::Integer});
        s.add(u"Unit"_s, u"Product"_s, {SqlType::Integer});
        s.add(u"Unit"_s, u"UnitName"_s, {SqlType::Text, 20});
        s.add(u"Unit"_s, u"Fraction"_s, {SqlType::Integer});
    }
    QString text(const QString& tsql, const std::vector<QVariant>& params = {}) {
        return db.value(tsql, params).toString();
    }
    TestDb db;
};

TEST_F(Semantics, PlusConcatenatesStringsAndAddsNumbers) {
    EXPECT_EQ(text(u"Select 'ab' + 'cd'"_s), u"abcd");
    EXPECT_EQ(text(u"Select Code + '-' + ThaiName From Product Where Id = 1"_s), u"A01-กา");
    // NULL on either side gives NULL (CONCAT_NULL_YIELDS_NULL).
    EXPECT_TRUE(db.value(u"Select Code + ThaiName From Product Where Id = 3"_s).isNull());
    EXPECT_TRUE(db.value(u"Select 'x' + NULL"_s).isNull());
    // A string beside a number converts to the number.
    EXPECT_EQ(db.value(u"Select '1' + 1"_s).toLongLong(), 2);
    EXPECT_EQ(db.value(u"Select Qty + '4' From Product Where Id = 1"_s).toLongLong(), 7);
    EXPECT_EQ(db.value(u"Select Qty + Id From Product Where Id = 2"_s).toLongLong(), 9);
    EXPECT_DOUBLE_EQ(db.value(u"Select Price + 1 From Product Where Id = 1"_s).toDouble(), 11.5);
    // A parameter bound as text beside a text column concatenates.
    EXPECT_EQ(text(u"Select Code + ? From Product Where Id = 1"_s, {u"Z"_s}), u"A01Z");
}

TEST_F(Semantics, PlusRefusesAStringThatIsNotANumber) {
    const auto e = errorOf(db, u"Select 'abc' + 1"_s);
    EXPECT_EQ(e.nativeError(), 245);
    EXPECT_EQ(e.sqlState(), u"22018");
    EXPECT_EQ(e.message(),
              u"Conversion failed when converting the varchar value 'abc' to data type int.");
    EXPECT_EQ(errorOf(db, u"Select Qty + '1.5' From Product Where Id = 1"_s).nativeError(), 245);
}

TEST_F(Semantics, DateTimePlusNumberAddsDays) {
    EXPECT_EQ(text(u"Select StartDate + 20 From Product Where Id = 1"_s),
              u"2026-02-04 00:00:00.000");
    EXPECT_EQ(text(u"Select StartDate - 1 From Product Where Id = 2"_s),
              u"2026-12-30 10:30:00.000");
}

TEST_F(Semantics, TopBecomesLimitWhereverItStands) {
    EXPECT_EQ(db.run(u"Select Top 2 Code From Product Order By Code Desc"_s),
              (std::vector<Row>{{u"B01"_s}, {u"A02"_s}}));
    EXPECT_EQ(text(u"Select (Select Top 1 UnitName From Unit Where Product = P.Id Order By "
                   "Fraction Desc) From Product P Where P.Id = 1"_s),
              u"กล่อง");
    // TOP belongs to the first select of a UNION, the ORDER BY to the whole.
    const auto rows =
        db.run(u"Select Top 1 Code From Product Union All Select UnitName From Unit Order By 1"_s);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(db.run(u"Select Top (?) Id From Product Order By Id"_s, {2}).size(), 2u);
}

TEST_F(Semantics, CastToNumbersRoundsOrTruncatesAsTheServer) {
    EXPECT_DOUBLE_EQ(db.value(u"Select Cast('2.5' As Float)"_s).toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(db.value(u"Select Cast(2.71828 As Money)"_s).toDouble(), 2.7183);
    EXPECT_DOUBLE_EQ(db.value(u"Select Cast(2.675 As Decimal(10, 2))"_s).toDouble(), 2.68);
    EXPECT_DOUBLE_EQ(db.value(u"Select Cast(-2.675 As Numeric(10, 2))"_s).toDouble(), -2.68);
    EXPECT_EQ(db.value(u"Select Cast(2.9 As Integer)"_s).toLongLong(), 2);
    EXPECT_EQ(db.value(u"Select Cast(-2.9 As Int)"_s).toLongLong(), -2);
    EXPECT_EQ(db.value(u"Select Convert(Int, '42')"_s).toLongLong(), 42);
    EXPECT_EQ(errorOf(db, u"Select Cast('4x' As Int)"_s).nativeError(), 245);
    const auto e = errorOf(db, u"Select Cast(12345.6 As Decimal(5, 2))"_s);
    EXPECT_EQ(e.nativeError(), 8115);
    EXPECT_EQ(e.sqlState(), u"22003");
}

TEST_F(Semantics, CastToTextPadsOrCuts) {
    EXPECT_EQ(text(u"Select Cast('ab' As Char(5)) + '|'"_s), u"ab   |");
    EXPECT_EQ(text(u"Select Cast('abcdef' As VarChar(3))"_s), u"abc");
    EXPECT_EQ(text(u"Select Convert(nvarchar(2), ThaiName) From Product Where Id = 1"_s), u"กา");
    EXPECT_EQ(text(u"Select Convert(Char(10), Cast(-3.5 As Decimal(8, 2))) + '|'"_s),
              u"-3.50     |");
    EXPECT_EQ(text(u"Select Convert(Char(8), Rate) From Product Where Id = 1"_s), u"1.25    ");
    EXPECT_EQ(text(u"Select Cast(Qty As VarChar(10)) From Product Where Id = 2"_s), u"7");
}

TEST_F(Semantics, ConvertMoneyToTextFollowsTheStyle) {
    const QString money = u"Cast(1234567.891 As Money)"_s;
    EXPECT_EQ(text(u"Select Convert(varchar(30), %1)"_s.arg(money)), u"1234567.89");
    EXPECT_EQ(text(u"Select Convert(varchar(30), %1, 0)"_s.arg(money)), u"1234567.89");
    EXPECT_EQ(text(u"Select Convert(varchar(30), %1, 1)"_s.arg(money)), u"1,234,567.89");
    EXPECT_EQ(text(u"Select Convert(varchar(30), %1, 2)"_s.arg(money)), u"1234567.8910");
    EXPECT_EQ(text(u"Select Convert(varchar(30), %1, 126)"_s.arg(money)), u"1234567.8910");
    EXPECT_EQ(text(u"Select Convert(varchar(30), %1, 3)"_s.arg(money)), u"1234567.89");
    EXPECT_EQ(text(u"Select Convert(varchar(30), Cast(-1234.5 As Money), 1)"_s), u"-1,234.50");
    // A money column is money without a CAST.
    EXPECT_EQ(text(u"Select Convert(varchar(20), Price, 1) From Product Where Id = 2"_s),
              u"1,234,567.89");
    const auto e = errorOf(db, u"Select Convert(varchar(5), %1, 3)"_s.arg(money));
    EXPECT_EQ(e.nativeError(), 8115);
    EXPECT_EQ(e.sqlState(), u"22003");
    EXPECT_EQ(e.message(),
              u"Arithmetic overflow error converting expression to data type varchar.");
}

TEST_F(Semantics, ConvertDateTimeToTextByStyle) {
    const QString d = u"Select Convert(varchar(30), StartDate, %1) From Product Where Id = 2"_s;
    EXPECT_EQ(text(d.arg(101)), u"12/31/2026");
    EXPECT_EQ(text(d.arg(103)), u"31/12/2026");
    EXPECT_EQ(text(d.arg(112)), u"20261231");
    EXPECT_EQ(text(d.arg(120)), u"2026-12-31 10:30:00");
    EXPECT_EQ(text(u"Select Convert(varchar(10), StartDate, 120) From Product Where Id = 2"_s),
              u"2026-12-31");
    EXPECT_EQ(text(u"Select Convert(DateTime, '12/31/2026')"_s), u"2026-12-31 00:00:00.000");
}

TEST_F(Semantics, StrRightJustifiesAndRounds) {
    EXPECT_EQ(text(u"Select Str(123.45)"_s), u"       123");
    EXPECT_EQ(text(u"Select Str(123.45, 8, 1)"_s), u"   123.5");
    EXPECT_EQ(text(u"Select Str(-2.5)"_s), u"        -3");
    EXPECT_EQ(text(u"Select Str(1234.5678, 6, 2)"_s), u"1234.6");
    EXPECT_EQ(text(u"Select Str(123456, 4)"_s), u"****");
    EXPECT_EQ(text(u"Select Str(Coalesce(Qty, 0)) From Product Where Id = 3"_s), u"         0");
}

TEST_F(Semantics, DateFunctions) {
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QDateTime now =
        QDateTime::fromString(text(u"Select GetDate()"_s), u"yyyy-MM-dd HH:mm:ss.zzz"_s);
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    EXPECT_TRUE(now >= before && now <= after) << now.toString().toStdString();  // local time
    EXPECT_EQ(db.value(u"Select Year(StartDate) From Product Where Id = 2"_s).toLongLong(), 2026);
    EXPECT_EQ(db.value(u"Select Month(StartDate) From Product Where Id = 2"_s).toLongLong(), 12);
    EXPECT_EQ(db.value(u"Select Day(StartDate) From Product Where Id = 2"_s).toLongLong(), 31);
    EXPECT_EQ(db.value(u"Select Year(GetDate())"_s).toLongLong(), QDate::currentDate().year());
    EXPECT_EQ(text(u"Select DateAdd(day, 1, StartDate) From Product Where Id = 2"_s),
              u"2027-01-01 10:30:00.000");
    EXPECT_EQ(text(u"Select DateAdd(month, 1, '01/31/2026')"_s), u"2026-02-28 00:00:00.000");
    EXPECT_EQ(text(u"Select DateAdd(yy, -1, StartDate) From Product Where Id = 1"_s),
              u"2025-01-15 00:00:00.000");
    EXPECT_EQ(db.value(u"Select DateDiff(day, '12/31/2026 23:59', '01/01/2027')"_s).toLongLong(),
              1);
    EXPECT_EQ(db.value(u"Select DateDiff(month, '01/31/2026', '02/01/2026')"_s).toLongLong(), 1);
    EXPECT_EQ(db.value(u"Select DateDiff(year, '12/31/2025', '01/01/2026')"_s).toLongLong(), 1);
}

TEST_F(Semantics, StringFunctions) {
    EXPECT_EQ(text(u"Select '[' + LTrim('  a b  ') + ']'"_s), u"[a b  ]");
    EXPECT_EQ(text(u"Select '[' + RTrim(LTrim('  a b  ')) + ']'"_s), u"[a b]");
    EXPECT_EQ(text(u"Select '[' + RTrim('a' + Char9) + ']' From (Select '\t' Char9) T"_s),
              u"[a\t]");  // only blanks are trimmed
    EXPECT_EQ(text(u"Select Coalesce(ThaiName, 'none') From Product Where Id = 3"_s), u"none");
    EXPECT_EQ(text(u"Select IsNull(ThaiName, 'x') From Product Where Id = 3"_s), u"x");
    // ISNULL gives the type of its first argument: the replacement is cut to ThaiName's 60.
    EXPECT_EQ(
        text(u"Select IsNull(ThaiName, '%1') From Product Where Id = 3"_s.arg(QString(70, u'y'))),
        QString(60, u'y'));
    EXPECT_EQ(text(u"Select Upper('abcé')"_s), u"ABCÉ");
    EXPECT_EQ(text(u"Select Lower('ABC')"_s), u"abc");
    EXPECT_EQ(db.value(u"Select Len('ab  ')"_s).toLongLong(), 2);
    EXPECT_EQ(db.value(u"Select Len('  ab')"_s).toLongLong(), 4);
    EXPECT_EQ(db.value(u"Select Len(ThaiName) From Product Where Id = 1"_s).toLongLong(), 2);
    EXPECT_EQ(text(u"Select SubString('abcdef', 2, 3)"_s), u"bcd");
    EXPECT_EQ(text(u"Select SubString('abcdef', 0, 2)"_s), u"a");
    EXPECT_EQ(text(u"Select SubString('abcdef', -1, 3)"_s), u"a");
    EXPECT_EQ(text(u"Select Left('abcdef', 2) + Right('abcdef', 2)"_s), u"abef");
    EXPECT_EQ(errorOf(db, u"Select Left('abc', -1)"_s).nativeError(), 536);
    EXPECT_EQ(text(u"Select Replace('aXbxc', 'x', '-')"_s), u"a-b-c");  // collation: no case
    EXPECT_EQ(db.value(u"Select CharIndex('C', 'abcabc')"_s).toLongLong(), 3);
    EXPECT_EQ(db.value(u"Select CharIndex('c', 'abcabc', 4)"_s).toLongLong(), 6);
    EXPECT_EQ(db.value(u"Select CharIndex('z', 'abc')"_s).toLongLong(), 0);
}

TEST_F(Semantics, AbsAndRound) {
    EXPECT_EQ(db.value(u"Select Abs(-5)"_s).toLongLong(), 5);
    EXPECT_DOUBLE_EQ(db.value(u"Select Round(2.675, 2)"_s).toDouble(), 2.68);
    EXPECT_DOUBLE_EQ(db.value(u"Select Round(-2.5, 0)"_s).toDouble(), -3.0);
    EXPECT_EQ(db.value(u"Select Round(125, -1)"_s).toLongLong(), 130);
    EXPECT_DOUBLE_EQ(db.value(u"Select Round(2.679, 2, 1)"_s).toDouble(), 2.67);
}

TEST_F(Semantics, DivisionAsTheServer) {
    EXPECT_EQ(db.value(u"Select 7 / 2"_s).toLongLong(), 3);
    EXPECT_EQ(db.value(u"Select -7 / 2"_s).toLongLong(), -3);
    EXPECT_DOUBLE_EQ(db.value(u"Select 7.0 / 2"_s).toDouble(), 3.5);
    const auto e = errorOf(db, u"Select Qty / 0 From Product Where Id = 1"_s);
    EXPECT_EQ(e.nativeError(), 8134);  // SQLite would give NULL
}

TEST_F(Semantics, RankCaseExistsInBetweenDistinct) {
    const auto ranks = db.run(
        u"Select Code, RANK() Over (Order By Qty Desc) AS R From Product Where Qty Is Not "
        "Null Order By Code"_s);
    EXPECT_EQ(ranks, (std::vector<Row>{{u"A01"_s, 2}, {u"A02"_s, 1}}));
    EXPECT_EQ(
        text(u"Select Case When Qty > 5 Then 'many' Else 'few' End From Product Where Id = 2"_s),
        u"many");
    EXPECT_EQ(text(u"Select Case Code When 'a01' Then 'first' Else 'other' End From Product Where "
                   "Id = 1"_s),
              u"first");
    EXPECT_EQ(db.run(u"Select Code From Product P Where Exists (Select * From Unit U Where "
                     "U.Product = P.Id And U.Fraction = 12)"_s),
              (std::vector<Row>{{u"A01"_s}}));
    EXPECT_EQ(db.run(u"Select Id From Product Where Code In ('a01', 'B01 ') Order By Id"_s),
              (std::vector<Row>{{1}, {3}}));
    EXPECT_EQ(db.run(u"Select Id From Product Where Id Not In (Select Product From Unit)"_s),
              (std::vector<Row>{{3}}));
    EXPECT_EQ(db.run(u"Select Id From Product Where Qty Between 1 And 5"_s),
              (std::vector<Row>{{1}}));
    EXPECT_EQ(db.run(u"Select Distinct UnitName From Unit Order By UnitName"_s).size(), 2u);
}

TEST_F(Semantics, DerivedTablesJoinsAndAliases) {
    const auto rows = db.run(
        u"Select P.Code, C.Units From Product P Left Outer Join (Select Product, Count(*) Units "
        "From Unit Group By Product) As C On (C.Product = P.Id) Order By P.Code"_s);
    EXPECT_EQ(rows, (std::vector<Row>{{u"A01"_s, 2}, {u"A02"_s, 1}, {u"B01"_s, QVariant()}}));
    EXPECT_EQ(db.run(u"Select P.Code From Product P Inner Join Unit U On U.Product = P.Id Where "
                     "U.Fraction = 12"_s),
              (std::vector<Row>{{u"A01"_s}}));
    // Expr Alias, Expr As 'Alias', Alias = Expr
    const QString sql =
        db.translate(u"Select Code C1, Qty As 'Q 2', Total = Qty * 2 From Product"_s);
    EXPECT_TRUE(sql.contains(u"AS \"C1\"")) << sql.toStdString();
    EXPECT_TRUE(sql.contains(u"AS \"Q 2\"")) << sql.toStdString();
    EXPECT_TRUE(sql.contains(u"AS \"Total\"")) << sql.toStdString();
    db.run(u"Select Code C1, Qty As 'Q 2', Total = Qty * 2 From Product"_s);
}

TEST_F(Semantics, IdentityIsTheLastInsertedKey) {
    db.run(u"Insert Into Unit (Product, UnitName, Fraction) Values (2, 'โหล', 12)"_s);
    EXPECT_EQ(db.value(u"SELECT @@IDENTITY AS 'New_Id'"_s).toLongLong(), 4);
}

TEST_F(Semantics, DateLiteralsComparedWithDateTimes) {
    EXPECT_EQ(db.run(u"Select Id From Product Where StartDate = '01/15/2026'"_s),
              (std::vector<Row>{{1}}));
    EXPECT_EQ(db.run(u"Select Id From Product Where StartDate > '2026-06-01'"_s),
              (std::vector<Row>{{2}}));
    EXPECT_EQ(db.run(u"Select Id From Product Where StartDate Between '20260101' And "
                     "'2026-01-15T00:00:00' Order By Id"_s),
              (std::vector<Row>{{1}}));
    EXPECT_EQ(db.run(u"Select Id From Product Where StartDate = '12/31/2026 10:30:00.000'"_s),
              (std::vector<Row>{{2}}));
    // A parameter bound as text reads the same way.
    EXPECT_EQ(db.run(u"Select Id From Product Where StartDate = ?"_s, {u"1/15/2026"_s}),
              (std::vector<Row>{{1}}));
    EXPECT_EQ(db.run(u"Select Id From Product Where ? Between StartDate And StartDate + 1"_s,
                     {u"01/15/2026 12:00"_s}),
              (std::vector<Row>{{1}}));
}

TEST_F(Semantics, DateLiteralsAssignedToDateTimes) {
    db.run(u"Insert Into Product (Id, Code, StartDate) Values (9, 'N', '03/04/2026')"_s);
    EXPECT_EQ(text(u"Select StartDate From Product Where Id = 9"_s), u"2026-03-04 00:00:00.000");
    db.run(u"Update Product Set StartDate = '2026-03-05 08:00' Where Id = 9"_s);
    EXPECT_EQ(text(u"Select StartDate From Product Where Id = 9"_s), u"2026-03-05 08:00:00.000");
    db.run(u"Update Product Set StartDate = ? Where Id = 9"_s, {u"12/01/2026"_s});
    EXPECT_EQ(text(u"Select StartDate From Product Where Id = 9"_s), u"2026-12-01 00:00:00.000");
}

TEST_F(Semantics, DateLiteralsThatDoNotConvertAreRefused) {
    auto e = errorOf(db, u"Select Id From Product Where StartDate = 'tomorrow'"_s);
    EXPECT_EQ(e.nativeError(), 241);
    EXPECT_EQ(e.sqlState(), u"22007");
    EXPECT_EQ(e.message(),
              u"Conversion failed when converting date and/or time from character string.");
    EXPECT_EQ(e.category(), data::ErrorCategory::Conversion);
    // A date of the right shape with an impossible month or day is out of range (242).
    e = errorOf(db, u"Update Product Set StartDate = '13/45/2026' Where Id = 1"_s);
    EXPECT_EQ(e.nativeError(), 242);
    EXPECT_EQ(e.sqlState(), u"22008");
    EXPECT_EQ(errorOf(db, u"Select Id From Product Where StartDate = '02/30/2026'"_s).nativeError(),
              242);
    EXPECT_EQ(errorOf(db, u"Select Id From Product Where StartDate = ?"_s, {u"x"_s}).nativeError(),
              241);
}

}  // namespace
}  // namespace md::tsql::test

namespace md::tsql::test {
namespace {

using namespace Qt::StringLiterals;

QString stored(const QString& text) {
    const DateTimeParse r = parseDateTime(text);
    if (r.status == DateTimeParse::Invalid)
        return u"invalid"_s;
    if (r.status == DateTimeParse::OutOfRange)
        return u"out of range"_s;
    return storageText(r.value);
}

TEST(DateTexts, ReadAsTheServerReadsThemUnderUsEnglish) {
    EXPECT_EQ(stored(u"12/31/2026"_s), u"2026-12-31 00:00:00.000");
    EXPECT_EQ(stored(u"1/2/2026"_s), u"2026-01-02 00:00:00.000");  // month first
    EXPECT_EQ(stored(u"12-31-2026"_s), u"2026-12-31 00:00:00.000");
    EXPECT_EQ(stored(u"12/31/49"_s), u"2049-12-31 00:00:00.000");  // two-digit year cutoff
    EXPECT_EQ(stored(u"1/1/50"_s), u"1950-01-01 00:00:00.000");
    EXPECT_EQ(stored(u"12/31/2026 2:05 PM"_s), u"2026-12-31 14:05:00.000");
    EXPECT_EQ(stored(u"12/31/2026 12:00AM"_s), u"2026-12-31 00:00:00.000");
    EXPECT_EQ(stored(u"2026-12-31"_s), u"2026-12-31 00:00:00.000");
    EXPECT_EQ(stored(u"2026-12-31 23:59:59.997"_s), u"2026-12-31 23:59:59.997");
    EXPECT_EQ(stored(u"20261231"_s), u"2026-12-31 00:00:00.000");
    EXPECT_EQ(stored(u"2026-12-31T08:09:10"_s), u"2026-12-31 08:09:10.000");
    EXPECT_EQ(stored(u""_s), u"1900-01-01 00:00:00.000");
    EXPECT_EQ(stored(u"10:30"_s), u"1900-01-01 10:30:00.000");
    EXPECT_EQ(stored(u"13/45/2026"_s), u"out of range");
    EXPECT_EQ(stored(u"02/29/2026"_s), u"out of range");
    EXPECT_EQ(stored(u"01/01/1752"_s), u"out of range");  // before datetime's first year
    EXPECT_EQ(stored(u"12/31/2026 25:00"_s), u"out of range");
    EXPECT_EQ(stored(u"31.12.2026x"_s), u"invalid");
    EXPECT_EQ(stored(u"Dec 31"_s), u"invalid");
    EXPECT_EQ(stored(u"2026-12"_s), u"invalid");
}

TEST(NumberTexts, RoundHalfAwayFromZeroAndFormats) {
    EXPECT_EQ(decimalText(2.675, 2), u"2.68");
    EXPECT_EQ(decimalText(-0.001, 2), u"0.00");
    EXPECT_EQ(decimalText(1.005, 2), u"1.01");
    EXPECT_EQ(moneyText(999.995, 1), u"1,000.00");
    EXPECT_EQ(moneyText(-12.3, 0), u"-12.30");
    EXPECT_EQ(strText(0.5, 3, 0), u"  1");
    EXPECT_EQ(strText(-123.4, 4, 0), u"-123");
    EXPECT_EQ(strText(-1234.4, 4, 0), u"****");
}

TEST(InsertShape, ValueCountMustMatchTheColumns) {
    TestDb db;
    db.schema().add(u"T"_s, u"A"_s, {SqlType::Integer});
    db.schema().add(u"T"_s, u"B"_s, {SqlType::Integer});
    try {
        db.translate(u"Insert Into T (A, B) Values (1)"_s);
        FAIL();
    } catch (const data::DbError& e) {
        EXPECT_EQ(e.nativeError(), 109);
    }
}

}  // namespace
}  // namespace md::tsql::test
