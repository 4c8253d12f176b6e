// Which diagnostic records are errors and which of those end the walk through a batch.

#include "data/odbc/OdbcDiagnostics.h"

#include <gtest/gtest.h>

using md::data::ErrorCategory;
using md::odbc::DiagRecord;
using md::odbc::endsTheWalk;
using md::odbc::errorOf;
using md::odbc::errorsOf;
using md::odbc::reportsError;

namespace {

DiagRecord record(const char* sqlState, int native, int severity = -1, int state = -1) {
    return DiagRecord{QString::fromLatin1(sqlState), native, QStringLiteral("text"), severity,
                      state};
}

TEST(Diagnostics, MessagesOfSeverityTenAndWarningsAreNoErrors) {
    EXPECT_FALSE(reportsError(record("01000", 0, 0)));       // PRINT
    EXPECT_FALSE(reportsError(record("01000", 3621, -1)));   // "The statement has been terminated."
    EXPECT_FALSE(reportsError(record("42000", 50000, 10)));  // RAISERROR at severity 10
    EXPECT_FALSE(reportsError(record("01004", 0)));          // a truncation warning
    EXPECT_TRUE(reportsError(record("23000", 2627, 14)));
    EXPECT_TRUE(reportsError(record("23000", 2627)));  // no severity: the SQLSTATE tells
    EXPECT_TRUE(reportsError(record("HY000", 19)));    // the SQLite driver
    // FreeTDS files its lost connections at a low severity.
    EXPECT_TRUE(reportsError(record("08S01", 20004, 9)));
}

TEST(Diagnostics, ErrorsKeepTheServersNumbersLevelAndState) {
    const auto e = errorOf(record("23000", 2627, 14, 3), false);
    EXPECT_EQ(e.message(), QStringLiteral("text"));
    EXPECT_EQ(e.nativeError(), 2627);
    EXPECT_EQ(e.sqlState(), QStringLiteral("23000"));
    EXPECT_EQ(e.category(), ErrorCategory::Constraint);
    EXPECT_EQ(e.level(), 14);
    EXPECT_EQ(e.state(), 3);
    // State 0 is one the server gives (to 547); a driver that tells none leaves 1.
    EXPECT_EQ(errorOf(record("23000", 547, 16, 0), false).state(), 0);
    EXPECT_EQ(errorOf(record("23000", 2627, 14), false).state(), 1);
    // SQLite's constraint code is a constraint only from the SQLite driver.
    EXPECT_EQ(errorOf(record("HY000", 19), true).category(), ErrorCategory::Constraint);
    EXPECT_EQ(errorOf(record("HY000", 19), false).category(), ErrorCategory::Other);

    const auto errors = errorsOf(
        {record("23000", 2627, 14), record("01000", 3621, 0), record("23000", 515, 16)}, false);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].nativeError(), 2627);
    EXPECT_EQ(errors[1].nativeError(), 515);
}

TEST(Diagnostics, OnlyALostConnectionAFatalLevelOrTheDriversOwnRefusalEndTheWalk) {
    EXPECT_FALSE(endsTheWalk(errorOf(record("23000", 2627, 14), false)));
    EXPECT_FALSE(endsTheWalk(errorOf(record("22018", 245, 16), false)));
    EXPECT_FALSE(endsTheWalk(errorOf(record("HY000", 19), true)));
    EXPECT_TRUE(endsTheWalk(errorOf(record("08S01", 20004, 9), false)));
    EXPECT_TRUE(endsTheWalk(errorOf(record("42000", 823, 24), false)));
    EXPECT_TRUE(endsTheWalk(errorOf(record("HY010", 0), false)));  // function sequence error
}

}  // namespace
