// Decimal, numeric and money columns of the embedded engine: rounding on every write,
// overflow refusals that change nothing, exact arithmetic and sums, and values that reach the
// caller with their scale.

#include "EngineFixture.h"
#include "data/backend/Decimal.h"

namespace md::embedded::test {
namespace {

using data::Decimal;

QString text(const QVariant& v) {
    return v.metaType() == QMetaType::fromType<Decimal>()
               ? v.value<Decimal>().toString()
               : QStringLiteral("<%1: %2>").arg(QString::fromLatin1(v.typeName()), v.toString());
}

class DecimalTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        run(
            QStringLiteral("Create Table Amount (Id int NOT NULL PRIMARY KEY, Price "
                           "decimal(18,2) NULL, Rate decimal(20,6) NULL, Qty decimal(18,4) NULL, "
                           "Cash money NULL, Small decimal(4,2) NULL DEFAULT 1.005)"));
    }
    QString valueOf(const QString& column, int id = 1) {
        return text(
            scalar(QStringLiteral("Select %1 From Amount Where Id = %2").arg(column).arg(id)));
    }
};

TEST_F(DecimalTest, EveryWriteRoundsHalfAwayFromZeroToTheColumnsScale) {
    run(QStringLiteral("Insert Into Amount (Id, Price, Rate) Values (1, 10.005, 35.9172968)"));
    EXPECT_EQ(valueOf(QStringLiteral("Price")), QStringLiteral("10.01"));
    EXPECT_EQ(valueOf(QStringLiteral("Rate")), QStringLiteral("35.917297"));
    EXPECT_EQ(valueOf(QStringLiteral("Small")), QStringLiteral("1.01"));  // the default too
    run(QStringLiteral("Update Amount Set Price = -10.005, Qty = 0.00005 Where Id = 1"));
    EXPECT_EQ(valueOf(QStringLiteral("Price")), QStringLiteral("-10.01"));
    EXPECT_EQ(valueOf(QStringLiteral("Qty")), QStringLiteral("0.0001"));
    // Bound values: a double as the decimal it stands for, a text exactly, a Decimal.
    run(QStringLiteral("Insert Into Amount (Id, Price, Rate, Qty) Values (2, ?, ?, ?)"),
        {2.675, QStringLiteral("-0.0000005"), QVariant::fromValue(*Decimal::parse(u"1.23455"))});
    EXPECT_EQ(valueOf(QStringLiteral("Price"), 2), QStringLiteral("2.68"));
    EXPECT_EQ(valueOf(QStringLiteral("Rate"), 2), QStringLiteral("-0.000001"));
    EXPECT_EQ(valueOf(QStringLiteral("Qty"), 2), QStringLiteral("1.2346"));
    // Money keeps four decimals; an integer and a value of no decimals keep the scale.
    run(QStringLiteral("Insert Into Amount (Id, Price, Cash) Values (3, 10, 1.23456)"));
    EXPECT_EQ(valueOf(QStringLiteral("Price"), 3), QStringLiteral("10.00"));
    EXPECT_EQ(valueOf(QStringLiteral("Cash"), 3), QStringLiteral("1.2346"));
    // INSERT ... SELECT converts what it selects.
    run(QStringLiteral(
        "Insert Into Amount (Id, Price) Select Id + 10, Rate From Amount Where Id = 1"));
    EXPECT_EQ(valueOf(QStringLiteral("Price"), 11), QStringLiteral("35.92"));
}

TEST_F(DecimalTest, ATooLongValueIsRefusedAndNothingOfTheStatementIsApplied) {
    run(QStringLiteral("Insert Into Amount (Id, Small) Values (1, 1)"));
    const data::DbError e =
        refusal(QStringLiteral("Insert Into Amount (Id, Small) Values (2, 5), (3, 100.5)"));
    EXPECT_EQ(e.nativeError(), 8115);
    EXPECT_EQ(e.sqlState(), QStringLiteral("22003"));
    EXPECT_EQ(e.message(),
              QStringLiteral("Arithmetic overflow error converting numeric to data type numeric."));
    EXPECT_EQ(e.state(), 8) << "SQL Server's state for this conversion";
    EXPECT_EQ(scalar(QStringLiteral("Select Count(*) From Amount")).toInt(), 1);
    // 99.995 rounds to 100.00, which needs three integer digits.
    EXPECT_EQ(refusal(QStringLiteral("Update Amount Set Small = 99.995")).nativeError(), 8115);
    EXPECT_EQ(valueOf(QStringLiteral("Small")), QStringLiteral("1.00"));
    EXPECT_EQ(
        refusal(QStringLiteral("Update Amount Set Small = ?"), {QStringLiteral("12a")}).message(),
        QStringLiteral("Error converting data type nvarchar to numeric."));
    const data::DbError notANumber = refusal(QStringLiteral("Update Amount Set Small = 'x'"));
    EXPECT_EQ(notANumber.nativeError(), 8114);
    EXPECT_EQ(notANumber.message(),
              QStringLiteral("Error converting data type varchar to numeric."));
    EXPECT_EQ(notANumber.state(), 5);
    EXPECT_EQ(valueOf(QStringLiteral("Small")), QStringLiteral("1.00"));
}

TEST_F(DecimalTest, SumsAndArithmeticAreExact) {
    run(QStringLiteral("Insert Into Amount (Id, Qty) Values (1, 0.1), (2, 0.2)"));
    EXPECT_EQ(scalar(QStringLiteral("Select Count(*) From Amount Having Sum(Qty) = 0.3")).toInt(),
              2);
    EXPECT_EQ(text(scalar(QStringLiteral("Select Sum(Qty) From Amount"))),
              QStringLiteral("0.3000"));
    EXPECT_EQ(text(scalar(QStringLiteral("Select Sum(Qty) - 0.3 From Amount"))),
              QStringLiteral("0.0000"));
    // Many rows: a thousand times 0.1 is exactly 100.
    run(QStringLiteral("Delete From Amount"));
    QString values;
    for (int i = 1; i <= 1000; ++i)
        values +=
            QStringLiteral("%1(%2, 0.1)").arg(i > 1 ? QStringLiteral(", ") : QString()).arg(i);
    run(QStringLiteral("Insert Into Amount (Id, Qty) Values ") + values);
    EXPECT_EQ(text(scalar(QStringLiteral("Select Sum(Qty) From Amount"))),
              QStringLiteral("100.0000"));
    EXPECT_EQ(text(scalar(QStringLiteral("Select Avg(Qty) From Amount"))),
              QStringLiteral("0.100000"));
    // The result scales of + - * /.
    run(QStringLiteral("Update Amount Set Price = 10.25, Rate = 3 Where Id = 1"));
    const QString one = QStringLiteral(" From Amount Where Id = 1");
    EXPECT_EQ(text(scalar(QStringLiteral("Select Price + Qty") + one)), QStringLiteral("10.3500"));
    EXPECT_EQ(text(scalar(QStringLiteral("Select Price * Qty") + one)), QStringLiteral("1.025000"));
    EXPECT_EQ(text(scalar(QStringLiteral("Select Price / 3") + one)),
              QStringLiteral("3.4166666666667"));
    EXPECT_EQ(text(scalar(QStringLiteral("Select Round(Price, 1)") + one)),
              QStringLiteral("10.30"));
    EXPECT_EQ(text(scalar(QStringLiteral("Select Cast(Price As Decimal(28,2)) / Rate") + one)),
              QStringLiteral("3.416667"));
    EXPECT_EQ(refusal(QStringLiteral("Select Price / 0 From Amount")).nativeError(), 8134);
}

TEST_F(DecimalTest, ConversionsAtTheEdgesRoundAsTheServerDoes) {
    EXPECT_EQ(text(scalar(QStringLiteral("Select Cast(0.5 As Decimal(1,0))"))),
              QStringLiteral("1"));
    EXPECT_EQ(text(scalar(QStringLiteral("Select Cast(-0.5 As Decimal(1,0))"))),
              QStringLiteral("-1"));
    EXPECT_EQ(text(scalar(QStringLiteral("Select Cast(-0.004 As Decimal(5,2))"))),
              QStringLiteral("0.00"));
    EXPECT_EQ(text(scalar(QStringLiteral("Select Cast('0.05' As Decimal(2,1))"))),
              QStringLiteral("0.1"));
    EXPECT_EQ(text(scalar(QStringLiteral(
                  "Select Cast('99999999999999999999999999999999999999' As Decimal(38,0))"))),
              QStringLiteral("99999999999999999999999999999999999999"));
    EXPECT_EQ(
        refusal(QStringLiteral(
                    "Select Cast('99999999999999999999999999999999999999.5' As Decimal(38,0))"))
            .nativeError(),
        8115);
    EXPECT_EQ(text(scalar(QStringLiteral("Select Convert(Char(10), Cast(2.675 As Decimal(9,2)))"))),
              QStringLiteral("<QString: 2.68      >"));
}

TEST_F(DecimalTest, ComparisonsAndOrderAreExact) {
    run(QStringLiteral("Insert Into Amount (Id, Price) Values (1, 0.1), (2, 0.3), (3, -2)"));
    run(QStringLiteral("Update Amount Set Price = Price + 0.2 Where Id = 1"));
    EXPECT_EQ(scalar(QStringLiteral("Select Count(*) From Amount Where Price = 0.3")).toInt(), 2);
    EXPECT_EQ(scalar(QStringLiteral("Select Count(*) From Amount Where Price = ?"), {0.3}).toInt(),
              2);
    EXPECT_EQ(text(scalar(QStringLiteral("Select Min(Price) From Amount"))),
              QStringLiteral("-2.00"));
    EXPECT_EQ(scalar(QStringLiteral("Select Id From Amount Order By Price, Id")).toInt(), 3);
}

TEST_F(DecimalTest, EveryDigitOfTheWholeRangeIsKept) {
    run(
        QStringLiteral("Create Table Wide (Id int NOT NULL PRIMARY KEY, Amt decimal(18,2) NULL, "
                       "Big decimal(38,0) NULL, Fine decimal(38,37) NULL)"));
    const QString nines = QString(38, u'9');
    run(QStringLiteral("Insert Into Wide Values (1, 9999999999999999.99, %1, 0.5), "
                       "(2, -9999999999999999.99, -%1, -0.05)")
            .arg(nines));
    const auto wide = [&](const QString& expression, int id) {
        return text(
            scalar(QStringLiteral("Select %1 From Wide Where Id = %2").arg(expression).arg(id)));
    };
    EXPECT_EQ(wide(QStringLiteral("Amt"), 1), QStringLiteral("9999999999999999.99"));
    EXPECT_EQ(wide(QStringLiteral("Big"), 2), u'-' + nines);
    EXPECT_EQ(wide(QStringLiteral("Fine"), 1), QStringLiteral("0.5") + QString(36, u'0'));
    EXPECT_EQ(wide(QStringLiteral("Amt - 0.01"), 1), QStringLiteral("9999999999999999.98"));
    EXPECT_EQ(wide(QStringLiteral("Convert(varchar(30), Amt)"), 2),
              QStringLiteral("<QString: -9999999999999999.99>"));
    // A bound value and an UPDATE keep every digit too; the last digit tells rows apart.
    run(QStringLiteral("Insert Into Wide (Id, Amt) Values (3, ?), (4, ?)"),
        {QVariant::fromValue(*Decimal::parse(u"1234567890123456.78")),
         QStringLiteral("1234567890123456.77")});
    run(QStringLiteral("Update Wide Set Big = Amt * 100 Where Id = 3"));
    EXPECT_EQ(wide(QStringLiteral("Big"), 3), QStringLiteral("123456789012345678"));
    EXPECT_EQ(scalar(QStringLiteral("Select Id From Wide Where Amt = 1234567890123456.77")).toInt(),
              4);
    EXPECT_EQ(scalar(QStringLiteral("Select Count(*) From Wide Where Amt > ?"),
                     {QStringLiteral("1234567890123456.77")})
                  .toInt(),
              2);
    // Order, extremes and sums over values no double tells apart.
    QStringList order;
    for (const QVariant& id : column(*db, QStringLiteral("Select Id From Wide Order By Amt Desc")))
        order << id.toString();
    EXPECT_EQ(order.join(u' '), QStringLiteral("1 3 4 2"));
    order.clear();
    for (const QVariant& id :
         column(*db, QStringLiteral("Select Id From Wide Where Amt Is Not Null Order By Amt * 2, "
                                    "Id")))
        order << id.toString();
    EXPECT_EQ(order.join(u' '), QStringLiteral("2 4 3 1"));
    EXPECT_EQ(text(scalar(QStringLiteral("Select Min(Amt) From Wide Where Id > 2"))),
              QStringLiteral("1234567890123456.77"));
    EXPECT_EQ(text(scalar(QStringLiteral("Select Sum(Amt) From Wide Where Id > 2"))),
              QStringLiteral("2469135780246913.55"));
    EXPECT_EQ(scalar(QStringLiteral("Select Count(*) From Wide Where IsNull(Amt, 0) > 5")).toInt(),
              3);
    // One digit more than the column holds is still refused, and nothing changes.
    EXPECT_EQ(refusal(QStringLiteral("Update Wide Set Amt = 10000000000000000 Where Id = 1"))
                  .nativeError(),
              8115);
    EXPECT_EQ(wide(QStringLiteral("Amt"), 1), QStringLiteral("9999999999999999.99"));
}

TEST_F(DecimalTest, AHalfRoundsAwayFromZeroAtEveryScaleAndNoZeroIsNegative) {
    for (const int scale : {0, 1, 2, 6, 10, 20, 37}) {
        SCOPED_TRACE(scale);
        run(QStringLiteral("Create Table H%1 (Id int NOT NULL, V decimal(38,%1) NULL)").arg(scale));
        // Five at the first digit past the scale, both signs, and a negative value that
        // rounds to zero.
        const QString half = QStringLiteral("0.") + QString(scale, u'0') + u'5';
        const QString tiny = QStringLiteral("-0.%1").arg(QString(scale + 1, u'0')) + u'4';
        run(QStringLiteral("Insert Into H%1 Values (1, %2), (2, -%2), (3, %3)")
                .arg(scale)
                .arg(half, tiny));
        const QString unit = scale == 0
                                 ? QStringLiteral("1")
                                 : QStringLiteral("0.%1").arg(QString(scale - 1, u'0')) + u'1';
        const auto at = [&](int id) {
            return text(
                scalar(QStringLiteral("Select V From H%1 Where Id = %2").arg(scale).arg(id)));
        };
        EXPECT_EQ(at(1), unit);
        EXPECT_EQ(at(2), u'-' + unit);
        EXPECT_EQ(at(3),
                  scale == 0 ? QStringLiteral("0") : QStringLiteral("0.") + QString(scale, u'0'));
        EXPECT_EQ(scalar(QStringLiteral("Select Id From H%1 Where V = 0").arg(scale)).toInt(), 3);
    }
}

TEST_F(DecimalTest, AUniqueIndexAndGroupsCompareByTheNumber) {
    run(QStringLiteral("Create Table Rates (Rate decimal(20,6) NOT NULL, Note varchar(5) NULL)"));
    run(QStringLiteral("Create Unique Index UQ_Rates On Rates (Rate)"));
    run(
        QStringLiteral("Insert Into Rates Values (35.5, 'a'), (10000000000000.000001, 'b'), "
                       "(10000000000000.000002, 'c'), (-2, 'd'), (9, 'e')"));
    // 35.50 is 35.5: the index refuses it as the server would.
    EXPECT_EQ(refusal(QStringLiteral("Insert Into Rates Values (35.50, 'x')")).nativeError(), 2601);
    EXPECT_EQ(scalar(QStringLiteral("Select Count(Distinct Rate) From Rates")).toInt(), 5);
    EXPECT_EQ(scalar(QStringLiteral("Select Note From Rates Where Rate = 35.5")).toString(),
              QStringLiteral("a"));
    EXPECT_EQ(scalar(QStringLiteral("Select Max(Note) From Rates Where Rate Between 9 And "
                                    "10000000000000.000001"))
                  .toString(),
              QStringLiteral("e"));
    EXPECT_EQ(scalar(QStringLiteral("Select Count(*) From (Select Rate From Rates Group By Rate "
                                    "Having Rate < 10) As Small"))
                  .toInt(),
              2);
    EXPECT_EQ(text(scalar(QStringLiteral("Select Max(Rate) From Rates"))),
              QStringLiteral("10000000000000.000002"));
    EXPECT_EQ(scalar(QStringLiteral("Select Note From Rates Where Rate In (9, -2.0) Order By "
                                    "Rate"))
                  .toString(),
              QStringLiteral("d"));
}

TEST_F(DecimalTest, VariablesKeepTheirScale) {
    EXPECT_EQ(text(scalar(QStringLiteral("Declare @r decimal(9,2)\nSet @r = 1.005\nSelect @r"))),
              QStringLiteral("1.01"));
    const data::DbError e = refusal(QStringLiteral("Declare @r decimal(3,2)\nSet @r = 10"));
    EXPECT_EQ(e.nativeError(), 8115);
    EXPECT_EQ(e.state(), 8);
}

TEST_F(EngineTest, IntegerColumnsKeepTheirRangeAndKind) {
    run(QStringLiteral("Create Table N (I int NULL, S smallint NULL, T tinyint NULL)"));
    const auto expect = [&](const QString& values, int number, const QString& message) {
        const data::DbError e = refusal(QStringLiteral("Insert Into N (I, S, T) Values ") + values);
        EXPECT_EQ(e.nativeError(), number) << values.toStdString();
        EXPECT_EQ(e.message(), message) << values.toStdString();
    };
    expect(QStringLiteral("(99999999999, 1, 1)"), 8115,
           QStringLiteral("Arithmetic overflow error converting expression to data type int."));
    expect(QStringLiteral("(1, 70000, 1)"), 220,
           QStringLiteral("Arithmetic overflow error for data type smallint, value = 70000."));
    expect(QStringLiteral("(1, 1, 300)"), 220,
           QStringLiteral("Arithmetic overflow error for data type tinyint, value = 300."));
    expect(QStringLiteral("(1, 'abc', 1)"), 245,
           QStringLiteral("Conversion failed when converting the varchar value 'abc' to data "
                          "type smallint."));
    EXPECT_EQ(scalar(QStringLiteral("Select Count(*) From N")).toInt(), 0);
    run(QStringLiteral("Insert Into N (I, S, T) Values (?, ?, -0.5 + 1)"),
        {QStringLiteral("12"), 2.9});
    EXPECT_EQ(scalar(QStringLiteral("Select I + S + T From N")).toInt(), 14);
    EXPECT_EQ(refusal(QStringLiteral("Update N Set T = -1")).nativeError(), 220);
}

}  // namespace
}  // namespace md::embedded::test
