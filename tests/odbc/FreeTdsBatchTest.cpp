// What the ODBC backend makes of a batch that goes on after failed statements, through this
// machine's FreeTDS: the loopback listener answers the batch with the tokens SQL Server sends
// for it, so the driver's own way of handing out results and diagnostics is what is tested.

#include "OdbcDrivers.h"
#include "TdsLoginListener.h"
#include "TdsTokens.h"
#include "data/backend/DbError.h"
#include "data/odbc/OdbcBackend.h"

#include <gtest/gtest.h>

using md::data::DbError;
using md::data::ErrorCategory;
using md::data::ResultSet;
namespace tds = md::odbc::test::tds;

namespace {

const QString kDuplicate = QStringLiteral(
    "Violation of PRIMARY KEY constraint 'PK_Item'. Cannot insert duplicate key in object "
    "'dbo.Item'. The duplicate key value is (1).");
const QString kNull = QStringLiteral(
    "Cannot insert the value NULL into column 'Code', table 'SHOP.dbo.Item'; column does not "
    "allow nulls. INSERT fails.");
const QString kTerminated = QStringLiteral("The statement has been terminated.");

// The answer to: a SELECT of two rows, a duplicate INSERT, a PRINT, an INSERT that ran, a
// RAISERROR of severity 10, an INSERT of a NULL, and a SELECT of the count.
QByteArray goesOnAfterErrors() {
    using namespace tds;
    return intResult({QStringLiteral("A")}, {{1}, {2}}) + done(kDoneMore | kDoneCount, 2) +
           message(2627, 1, 14, kDuplicate, 2) + message(3621, 0, 0, kTerminated, 2) +
           done(kDoneMore | kDoneError) + message(0, 1, 0, QStringLiteral("between"), 3) +
           done(kDoneMore | kDoneCount, 1) +
           message(50000, 1, 10, QStringLiteral("only a notice"), 4) + done(kDoneMore) +
           message(515, 2, 16, kNull, 5) + message(3621, 0, 0, kTerminated, 5) +
           done(kDoneMore | kDoneError) + intResult({QStringLiteral("N")}, {{3}}) +
           done(kDoneCount, 1);
}

// The answer to: a SELECT of one row, then a conversion that ends the batch.
QByteArray endedByAConversion() {
    using namespace tds;
    return intResult({QStringLiteral("A")}, {{7}}) + done(kDoneMore | kDoneCount, 1) +
           message(245, 1, 16,
                   QStringLiteral("Conversion failed when converting the varchar value 'x' to "
                                  "data type int."),
                   2) +
           done(kDoneError);
}

// The answer to: a SELECT whose third row overflows, then a SELECT of one row.
QByteArray cutShortByAnOverflow() {
    using namespace tds;
    return intResult({QStringLiteral("A")}, {{1}, {2}}) +
           message(8115, 2, 16,
                   QStringLiteral("Arithmetic overflow error converting expression to data type "
                                  "int."),
                   1) +
           done(kDoneMore | kDoneError) + intResult({QStringLiteral("N")}, {{9}}) +
           done(kDoneCount, 1);
}

// The answer to a call of a procedure whose second and fourth statements fail.
QByteArray procedureGoesOnAfterErrors() {
    using namespace tds;
    return done(kDoneMore | kDoneCount, 1, End::InProc) + message(2627, 1, 14, kDuplicate, 3) +
           message(3621, 0, 0, kTerminated, 3) + done(kDoneMore | kDoneError, 0, End::InProc) +
           done(kDoneMore | kDoneCount, 1, End::InProc) + message(515, 2, 16, kNull, 5) +
           message(3621, 0, 0, kTerminated, 5) + done(kDoneMore | kDoneError, 0, End::InProc) +
           done(kDoneFinal, 0, End::Proc);
}

class FreeTdsBatch : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(server_.port(), 0); }

    std::unique_ptr<md::data::Session> connect() {
        md::odbc::OdbcSettings settings;
        settings.loginTimeoutSeconds = 5;
        return md::odbc::openSession(
            {QStringLiteral("SHOP"), QStringLiteral("127.0.0.1,%1").arg(server_.port()),
             QStringLiteral("clerk"), QStringLiteral("secretpw")},
            settings);
    }

    static std::vector<int> column(ResultSet& rs) {
        std::vector<int> values;
        std::vector<QVariant> row;
        while (rs.fetch(row))
            values.push_back(row.at(0).toInt());
        return values;
    }

    // Declared first, so that it outlives the sessions of a test.
    md::odbc::test::TdsLoginListener server_{[](const QString& sql) {
        if (sql.contains(QStringLiteral("GOES_ON")))
            return goesOnAfterErrors();
        if (sql.contains(QStringLiteral("ENDS")))
            return endedByAConversion();
        if (sql.contains(QStringLiteral("CUT")))
            return cutShortByAnOverflow();
        if (sql.contains(QStringLiteral("HANG_UP")))
            return tds::intResult({QStringLiteral("A")}, {{5}}) +
                   tds::done(tds::kDoneMore | tds::kDoneCount, 1) +
                   tds::message(2627, 1, 14, kDuplicate, 2) + tds::hangUp();
        if (sql.contains(QStringLiteral("AddItems")))
            return procedureGoesOnAfterErrors();
        return QByteArray();
    }};
};

TEST_F(FreeTdsBatch, ErrorsComeInOrderBetweenTheResultsWithTheServersNumbersAndLevels) {
    auto session = connect();
    auto rs = session->execute(QStringLiteral("-- GOES_ON"), {});
    ASSERT_EQ(rs->columns().size(), 1u);
    EXPECT_EQ(rs->columns()[0].name, QStringLiteral("A"));
    EXPECT_EQ(column(*rs), (std::vector<int>{1, 2}));
    // The rows read to their end, the statements up to the next result are known.
    const auto before = rs->takeErrors(ResultSet::ErrorScope::BeforeCurrentResult);
    EXPECT_TRUE(before.empty());

    ASSERT_TRUE(rs->nextResult());
    const auto errors = rs->takeErrors(ResultSet::ErrorScope::BeforeCurrentResult);
    ASSERT_EQ(errors.size(), 2u) << "messages of severity 10 and below are no errors";
    EXPECT_EQ(errors[0].message(), QStringLiteral("[FreeTDS][SQL Server]") + kDuplicate);
    EXPECT_EQ(errors[0].nativeError(), 2627);
    EXPECT_EQ(errors[0].sqlState(), QStringLiteral("23000"));
    EXPECT_EQ(errors[0].category(), ErrorCategory::Constraint);
    EXPECT_EQ(errors[0].level(), 14);
    EXPECT_EQ(errors[1].message(), QStringLiteral("[FreeTDS][SQL Server]") + kNull);
    EXPECT_EQ(errors[1].nativeError(), 515);
    EXPECT_EQ(errors[1].level(), 16);
    // The server sent the 515 in state 2, but FreeTDS hands out no message state: what its
    // message-state field holds is the severity, which must not pass for the state.
    EXPECT_EQ(errors[1].state(), 1);
    EXPECT_EQ(rs->columns()[0].name, QStringLiteral("N"));
    EXPECT_EQ(column(*rs), (std::vector<int>{3}));
    EXPECT_FALSE(rs->nextResult());
}

TEST_F(FreeTdsBatch, ErrorsNotTakenAreRaisedAfterTheLastResult) {
    auto session = connect();
    auto rs = session->execute(QStringLiteral("-- GOES_ON"), {});
    ASSERT_TRUE(rs->nextResult()) << "the first result is passed over unread";
    EXPECT_EQ(column(*rs), (std::vector<int>{3}));
    try {
        rs->nextResult();
        FAIL() << "the batch was reported as a success";
    } catch (const DbError& e) {
        EXPECT_EQ(e.nativeError(), 2627);
        ASSERT_EQ(e.laterErrors().size(), 1u);
        EXPECT_EQ(e.laterErrors()[0].nativeError(), 515);
    }
}

TEST_F(FreeTdsBatch, AnErrorThatEndsTheBatchFollowsTheResultBeforeIt) {
    auto session = connect();
    auto rs = session->execute(QStringLiteral("-- ENDS"), {});
    EXPECT_EQ(column(*rs), (std::vector<int>{7}));
    try {
        rs->nextResult();
        FAIL() << "the conversion error was lost";
    } catch (const DbError& e) {
        EXPECT_EQ(e.nativeError(), 245);
        EXPECT_TRUE(e.laterErrors().empty());
    }
    // The connection is free for the next batch.
    rs.reset();
    auto next = session->execute(QStringLiteral("-- GOES_ON"), {});
    EXPECT_EQ(column(*next), (std::vector<int>{1, 2}));
}

TEST_F(FreeTdsBatch, RowsCutShortByAnErrorRaiseItWhereTheyEndAndTheBatchGoesOn) {
    auto session = connect();
    auto rs = session->execute(QStringLiteral("-- CUT"), {});
    std::vector<int> values;
    std::vector<QVariant> row;
    try {
        while (rs->fetch(row))
            values.push_back(row.at(0).toInt());
        FAIL() << "the rows were reported complete";
    } catch (const DbError& e) {
        EXPECT_EQ(e.nativeError(), 8115);
    }
    EXPECT_EQ(values, (std::vector<int>{1, 2}));
    ASSERT_TRUE(rs->nextResult());
    EXPECT_TRUE(rs->takeErrors(ResultSet::ErrorScope::SoFar).empty()) << "raised once";
    EXPECT_EQ(column(*rs), (std::vector<int>{9}));
    EXPECT_FALSE(rs->nextResult());
}

TEST_F(FreeTdsBatch, AProcedureCallRaisesEveryFailedStatementOfItsBody) {
    auto session = connect();
    std::vector<md::data::ProcParam> params{{QStringLiteral("@Count"), 2}};
    try {
        session->callProcedure(QStringLiteral("AddItems"), params);
        FAIL() << "the failed statements went unnoticed";
    } catch (const DbError& e) {
        // The body's statements end with DONEINPROC, which FreeTDS reads within one call, and
        // it ranks the records of one call by severity: the 515 (16) comes before the 2627
        // (14) the server sent first. Between the statements of a batch the order holds.
        EXPECT_EQ(e.nativeError(), 515);
        ASSERT_EQ(e.laterErrors().size(), 1u);
        EXPECT_EQ(e.laterErrors()[0].nativeError(), 2627);
    }
    auto next = session->execute(QStringLiteral("-- GOES_ON"), {});
    EXPECT_EQ(column(*next), (std::vector<int>{1, 2})) << "the call was read to its end";
}

TEST_F(FreeTdsBatch, ALostConnectionEndsTheWalkWithTheErrorsBeforeIt) {
    auto session = connect();
    auto rs = session->execute(QStringLiteral("-- HANG_UP"), {});
    EXPECT_EQ(column(*rs), (std::vector<int>{5}));
    try {
        rs->nextResult();
        FAIL() << "a batch the server never finished was reported as a success";
    } catch (const DbError& e) {
        std::vector<DbError> all{e};
        all.insert(all.end(), e.laterErrors().begin(), e.laterErrors().end());
        // The duplicate the server sent, then FreeTDS's own word for the lost connection: an
        // "Unknown error" under HY000 with no native number, after which the walk stops.
        ASSERT_EQ(all.size(), 2u);
        EXPECT_EQ(all[0].nativeError(), 2627);
        EXPECT_EQ(all[1].sqlState(), QStringLiteral("HY000")) << all[1].what();
        EXPECT_EQ(all[1].nativeError(), 0);
    }
    EXPECT_FALSE(rs->nextResult()) << "nothing more is asked of a lost connection";
}

}  // namespace
