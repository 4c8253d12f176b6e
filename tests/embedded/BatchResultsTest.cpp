// The results of a batch survive a later statement's failure and each error is reported in its
// place; SELECT sets @@ROWCOUNT; which errors end only their statement; bigint and bit values
// converted as the server converts them.

#include "EngineFixture.h"

namespace md::embedded::test {
namespace {

using Scope = data::ResultSet::ErrorScope;

class BatchResultsTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        run(
            QStringLiteral("Create Table P (Id int NOT NULL PRIMARY KEY, Code varchar(3))\n"
                           "Create Table Log (Id int NOT NULL)\n"
                           "Insert Into P (Id, Code) Values (1, 'A')\n"
                           "Insert Into P (Id, Code) Values (2, 'B')\n"
                           "Insert Into P (Id, Code) Values (3, 'C')"));
    }
    static std::vector<QVariant> rows(data::ResultSet& rs) {
        std::vector<QVariant> out, row;
        while (rs.fetch(row))
            out.push_back(row.at(0));
        return out;
    }
    int count(const QString& table) {
        return scalar(QStringLiteral("Select Count(*) From ") + table).toInt();
    }
};

const QString kMixedBatch = QStringLiteral(
    "Select Id From P Where Id = 1\n"
    "Insert Into P (Id, Code) Values (1, 'X')\n"  // 2627: the batch goes on
    "Select Code From P Where Id = 2\n"
    "Select Convert(int, 'x')\n"  // 245: the batch ends here
    "Insert Into Log (Id) Values (1)");

TEST_F(BatchResultsTest, ResultsBeforeAFailureStayReadableAndErrorsComeInTheirPlace) {
    auto rs = db->execute(kMixedBatch, {});
    EXPECT_TRUE(rs->takeErrors(Scope::BeforeCurrentResult).empty());
    EXPECT_EQ(rows(*rs), std::vector<QVariant>{QVariant(1)});
    ASSERT_TRUE(rs->nextResult());
    const auto before = rs->takeErrors(Scope::BeforeCurrentResult);
    ASSERT_EQ(before.size(), 1u);
    EXPECT_EQ(before[0].nativeError(), 2627);
    EXPECT_EQ(rows(*rs), std::vector<QVariant>{QVariant(QStringLiteral("B"))});
    try {
        rs->nextResult();
        FAIL() << "the conversion error was not raised";
    } catch (const data::DbError& e) {
        EXPECT_EQ(e.nativeError(), 245);
        EXPECT_TRUE(e.laterErrors().empty());  // 2627 was taken already
    }
    EXPECT_EQ(count(QStringLiteral("Log")), 0);  // nothing after the conversion error ran

    // A caller that takes nothing gets the first error after the last result, the rest on it.
    rs = db->execute(kMixedBatch, {});
    EXPECT_EQ(rows(*rs).size(), 1u);
    ASSERT_TRUE(rs->nextResult());
    try {
        rs->nextResult();
        FAIL() << "no error after the batch";
    } catch (const data::DbError& e) {
        EXPECT_EQ(e.nativeError(), 2627);
        ASSERT_EQ(e.laterErrors().size(), 1u);
        EXPECT_EQ(e.laterErrors()[0].nativeError(), 245);
    }
    // An error before the first result comes with it, and is raised after the batch too.
    rs = db->execute(QStringLiteral("Insert Into P (Id, Code) Values (1, 'X')\nSelect 7"), {});
    EXPECT_EQ(rows(*rs), std::vector<QVariant>{QVariant(7)});
    EXPECT_THROW(rs->nextResult(), data::DbError);
    rs = db->execute(QStringLiteral("Insert Into P (Id, Code) Values (1, 'X')\nSelect 7"), {});
    const auto first = rs->takeErrors(Scope::BeforeCurrentResult);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].nativeError(), 2627);
    EXPECT_FALSE(rs->nextResult());  // taken, so not raised again
}

TEST_F(BatchResultsTest, DivisionByZeroEndsItsStatementAConversionErrorTheBatch) {
    // Arithmetic errors end only their statement while ANSI_WARNINGS is ON (every ODBC
    // connection); a conversion error ends the batch.
    EXPECT_EQ(refusal(QStringLiteral("Insert Into Log (Id) Values (1 / 0)\n"
                                     "Insert Into Log (Id) Values (2)"))
                  .nativeError(),
              8134);
    EXPECT_EQ(count(QStringLiteral("Log")), 1);
    EXPECT_EQ(refusal(QStringLiteral("Insert Into Log (Id) Values (Convert(int, 'x'))\n"
                                     "Insert Into Log (Id) Values (3)"))
                  .nativeError(),
              245);
    EXPECT_EQ(refusal(QStringLiteral("Insert Into Log (Id) Values (Convert(int, 'x') + 1)\n"
                                     "Insert Into Log (Id) Values (4)"))
                  .nativeError(),
              245);
    EXPECT_EQ(count(QStringLiteral("Log")), 1);
}

TEST_F(BatchResultsTest, SelectSetsRowCountToTheRowsItReturned) {
    // The caller reads nothing of the first result; the rows are counted all the same.
    auto rs = db->execute(QStringLiteral("Select Id From P\nSelect @@ROWCOUNT"), {});
    ASSERT_TRUE(rs->nextResult());
    EXPECT_EQ(rows(*rs), std::vector<QVariant>{QVariant(3)});
    EXPECT_EQ(scalar(QStringLiteral("Select Id From P Where Id > 1\nSelect @@ROWCOUNT")), 2);
    rs = db->execute(QStringLiteral("Select Id From P Where Id > 1\nSelect @@ROWCOUNT"), {});
    ASSERT_TRUE(rs->nextResult());
    EXPECT_EQ(rows(*rs), std::vector<QVariant>{QVariant(2)});
    rs = db->execute(QStringLiteral("Declare @x int\nSelect @x = Id From P\nSelect @@ROWCOUNT, @x"),
                     {});
    EXPECT_EQ(rows(*rs), std::vector<QVariant>{QVariant(3)});
}

TEST_F(BatchResultsTest, BigintKeepsItsWholeRangeAndRefusesBeyondIt) {
    run(QStringLiteral("Create Table N (B bigint NULL)"));
    run(QStringLiteral("Insert Into N (B) Values (9223372036854775807)\n"
                       "Insert Into N (B) Values ('-9223372036854775808')\n"
                       "Insert Into N (B) Values (?)"),
        {QVariant(QStringLiteral("4611686018427387905"))});
    EXPECT_EQ(column(*db, QStringLiteral("Select B From N Order By B")),
              (std::vector<QVariant>{QVariant(qlonglong(std::numeric_limits<qint64>::min())),
                                     QVariant(qlonglong(4611686018427387905LL)),
                                     QVariant(qlonglong(std::numeric_limits<qint64>::max()))}));
    for (const char* value : {"9223372036854775808", "'9223372036854775808'", "1e19"}) {
        SCOPED_TRACE(value);
        const data::DbError e = refusal(
            QStringLiteral("Insert Into N (B) Values (%1)").arg(QString::fromLatin1(value)));
        EXPECT_EQ(e.nativeError(), 8115);
        EXPECT_EQ(e.state(), 2) << e.what();
    }
    EXPECT_EQ(refusal(QStringLiteral("Insert Into N (B) Values ('12x')")).nativeError(), 245);
    EXPECT_EQ(
        refusal(QStringLiteral("Select Cast('99999999999999999999' As bigint)")).nativeError(),
        8115);
    const data::DbError tiny = refusal(QStringLiteral("Select Cast(300 As tinyint)"));
    EXPECT_EQ(tiny.nativeError(), 220);
    EXPECT_EQ(tiny.state(), 2);
    EXPECT_EQ(count(QStringLiteral("N")), 3);
}

TEST_F(BatchResultsTest, BitTakesAnyNonzeroNumberAsOneAndTrueFalseTexts) {
    run(QStringLiteral("Create Table F (Id int NOT NULL, V bit NULL)"));
    run(QStringLiteral("Insert Into F Values (1, 5)\nInsert Into F Values (2, -1)\n"
                       "Insert Into F Values (3, 0)\nInsert Into F Values (4, 0.5)\n"
                       "Insert Into F Values (5, 'TRUE')\nInsert Into F Values (6, 'false')\n"
                       "Insert Into F Values (7, '2')\nInsert Into F Values (8, ?)"),
        {QVariant(QStringLiteral("True"))});
    EXPECT_EQ(column(*db, QStringLiteral("Select V From F Order By Id")),
              (std::vector<QVariant>{1, 1, 0, 1, 1, 0, 1, 1}));
    const data::DbError e = refusal(QStringLiteral("Insert Into F Values (9, 'yes')"));
    EXPECT_EQ(e.nativeError(), 245);
    EXPECT_EQ(e.message(), QStringLiteral("Conversion failed when converting the varchar value "
                                          "'yes' to data type bit."));
    EXPECT_EQ(refusal(QStringLiteral("Update F Set V = ? Where Id = 1"), {QStringLiteral("on")})
                  .message(),
              QStringLiteral("Conversion failed when converting the nvarchar value 'on' to data "
                             "type bit."));
    EXPECT_EQ(scalar(QStringLiteral("Select Cast(2.5 As bit)")), 1);
    EXPECT_EQ(scalar(QStringLiteral("Select Cast('FALSE' As bit)")), 0);
    EXPECT_EQ(refusal(QStringLiteral("Select Convert(bit, 'x')")).nativeError(), 245);
    EXPECT_EQ(count(QStringLiteral("F")), 8);
}

}  // namespace
}  // namespace md::embedded::test
