// masterdata-sql over FreeTDS prints each error of a batch where it happened, between the
// results around it, as against the embedded engine.

#include "OdbcDrivers.h"
#include "TdsLoginListener.h"
#include "TdsTokens.h"
#include "tools/BatchReader.h"
#include "tools/SqlShell.h"

#include <gtest/gtest.h>

#include <QTextStream>

namespace tds = md::odbc::test::tds;

namespace {

// A SELECT, a duplicate INSERT (in a state other than 1), a SELECT.
QByteArray failureBetweenTwoResults() {
    using namespace tds;
    return intResult({QStringLiteral("A")}, {{1}, {2}}) + done(kDoneMore | kDoneCount, 2) +
           message(2627, 3, 14, QStringLiteral("Violation of PRIMARY KEY constraint 'PK_Item'."),
                   2) +
           message(3621, 0, 0, QStringLiteral("The statement has been terminated."), 2) +
           done(kDoneMore | kDoneError) + intResult({QStringLiteral("N")}, {{3}}) +
           done(kDoneCount, 1);
}

TEST(SqlShellOverFreeTds, PrintsEachErrorBetweenTheResultsAroundIt) {
    md::odbc::test::TdsLoginListener server([](const QString& sql) {
        return sql.contains(QStringLiteral("BETWEEN")) ? failureBetweenTwoResults() : QByteArray();
    });
    ASSERT_NE(server.port(), 0);
    md::tools::SqlShellOptions options;
    options.server = QStringLiteral("127.0.0.1,%1").arg(server.port());
    options.database = QStringLiteral("SHOP");
    options.user = QStringLiteral("clerk");
    options.password = QStringLiteral("secretpw");
    options.interactive = false;
    md::tools::ScriptBatches batches(QStringLiteral("-- BETWEEN\nGO\n"));
    QString text;
    QTextStream both(&text);
    EXPECT_EQ(md::tools::runSqlShell(options, batches, both, both), 0);
    both.flush();

    const qsizetype first = text.indexOf(QStringLiteral("(2 rows affected)"));
    // FreeTDS passes on the server's number and severity but not its message state (the
    // severity sits in the driver's message-state field), so the state printed is 1, never
    // the severity.
    const qsizetype error = text.indexOf(QStringLiteral("Msg 2627, Level 14, State 1, Line 1"));
    const qsizetype second = text.indexOf(QStringLiteral("(1 rows affected)"));
    ASSERT_GE(first, 0) << text.toStdString();
    EXPECT_GT(error, first) << text.toStdString();
    EXPECT_GT(second, error) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("[FreeTDS][SQL Server]Violation of PRIMARY KEY")));
    EXPECT_FALSE(text.contains(QStringLiteral("Msg 3621"))) << "a message is no error";
}

}  // namespace
