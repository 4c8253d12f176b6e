// masterdata-sql as administrators and scripts use it: the real executable, its flags, its
// output and its exit codes.

#include "tests/odbc/OdbcDrivers.h"
#include "tests/support/TempServer.h"
#include "tools/SqlShell.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cstring>

namespace {

QString s(const char* t) {
    return QString::fromUtf8(t);
}

struct ShellRun {
    int exitCode;
    QString out;
    QString err;
};

class SqlShell : public ::testing::Test {
  protected:
    ShellRun run(const QStringList& args) {
        QProcess p;
        p.setWorkingDirectory(server_.folder());
        p.start(s(MD_SQLSHELL_PATH), args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    QStringList on(const QString& db, QStringList more) {
        return QStringList{s("-S"), server_.serverName(), s("-d"), db} + more;
    }
    md::testing::TempServer server_;
};

TEST_F(SqlShell, RunsAScriptOfBatchesAndPrintsRowsAsSqlcmdDoes) {
    const QString script = server_.folder() + s("/setup.sql");
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        "CREATE TABLE Misc (Id int NOT NULL PRIMARY KEY, Code varchar(10) NOT NULL, "
        "Description varchar(40) NULL)\ngo\n"
        "INSERT INTO Misc (Id, Code, Description) VALUES (1, 'THB', 'บาท')\n"
        "INSERT INTO Misc (Id, Code, Description) VALUES (2, 'USD', NULL)\n  GO  \n");
    f.close();
    ASSERT_EQ(run({s("-S"), server_.serverName(), s("-Q"), s("CREATE DATABASE SHELL01")}).exitCode,
              0);
    const ShellRun setup = run(on(s("SHELL01"), {s("-i"), script, s("-b")}));
    ASSERT_EQ(setup.exitCode, 0) << setup.err.toStdString();
    EXPECT_TRUE(setup.out.contains(s("(1 rows affected)")));

    const ShellRun plain =
        run(on(s("SHELL01"), {s("-h"), s("-1"), s("-s"), s("|"), s("-W"), s("-Q"),
                              s("SELECT Code, Description FROM Misc ORDER BY Id")}));
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(plain.out, s("THB|บาท\nUSD|NULL\n\n(2 rows affected)\n"));

    const ShellRun headed =
        run(on(s("SHELL01"), {s("-Q"), s("SELECT Code FROM Misc WHERE Id = 1")}));
    const QStringList lines = headed.out.split(u'\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], s("Code      "));  // padded to the column's declared length
    EXPECT_EQ(lines[1], s("----------"));
    EXPECT_EQ(lines[2], s("THB       "));
}

TEST_F(SqlShell, ErrorsGoToStderrInSqlcmdFormAndMinusBSetsTheExitCode) {
    const ShellRun soft =
        run({s("-S"), server_.serverName(), s("-Q"), s("SELECT * FROM NoSuchTable")});
    EXPECT_EQ(soft.exitCode, 0) << "without -b an error does not change the exit code";
    EXPECT_TRUE(soft.err.startsWith(s("Msg "))) << soft.err.toStdString();
    EXPECT_TRUE(soft.err.contains(s(", Level ")));
    EXPECT_TRUE(soft.err.contains(s(", State ")));
    EXPECT_TRUE(soft.out.isEmpty());

    const ShellRun hard =
        run({s("-S"), server_.serverName(), s("-b"), s("-Q"), s("SELECT * FROM NoSuchTable")});
    EXPECT_NE(hard.exitCode, 0);

    const ShellRun missing = run(on(s("NOPE"), {s("-b"), s("-Q"), s("SELECT 1")}));
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(missing.err.contains(s("Msg 4060"))) << missing.err.toStdString();
    EXPECT_TRUE(missing.err.contains(s("Cannot open database \"NOPE\"")));
}

TEST_F(SqlShell, MinusWRemovesTrailingBlanksOnlyAndPadsNothing) {
    const ShellRun r =
        run({s("-S"), server_.serverName(), s("-W"), s("-h"), s("-1"), s("-s"), s("|"), s("-Q"),
             s("SELECT '  ตรา  ' AS A, 42 AS N, ' ' AS Blank, 'end' AS E")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, s("  ตรา|42||end\n\n(1 rows affected)\n"));
}

TEST_F(SqlShell, ResultsAndErrorsOfABatchArePrintedInTheirOrder) {
    ASSERT_EQ(run({s("-S"), server_.serverName(), s("-Q"), s("CREATE DATABASE SHELL02")}).exitCode,
              0);
    ASSERT_EQ(run(on(s("SHELL02"), {s("-b"), s("-Q"),
                                    s("CREATE TABLE K (Id int NOT NULL PRIMARY KEY)\n"
                                      "CREATE TABLE R (KId int NULL REFERENCES K (Id))\n"
                                      "INSERT INTO K (Id) VALUES (1)\n"
                                      "INSERT INTO R (KId) VALUES (1)")}))
                  .exitCode,
              0);
    // 2627, 515 and 547 end only their statements, 245 the batch: the two results around them
    // are printed, and each error with the message state SQL Server gives it.
    const ShellRun r =
        run(on(s("SHELL02"), {s("-b"), s("-h"), s("-1"), s("-Q"),
                              s("SELECT 'first'\nINSERT INTO K (Id) VALUES (1)\n"
                                "INSERT INTO K (Id) VALUES (NULL)\nDELETE FROM K\n"
                                "SELECT 'second'\nSELECT CONVERT(int, 'x')\nSELECT 'never'")}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains(s("first")));
    EXPECT_TRUE(r.out.contains(s("second")));
    EXPECT_FALSE(r.out.contains(s("never")));
    int previous = -1;
    for (const char* header :
         {"Msg 2627, Level 14, State 1, Line 1\n", "Msg 515, Level 16, State 2, Line 1\n",
          "Msg 547, Level 16, State 0, Line 1\n", "Msg 245, Level 16, State 1, Line 1\n"}) {
        const int at = r.err.indexOf(s(header));
        EXPECT_GT(at, previous) << header << r.err.toStdString();
        previous = at;
    }
}

// Swaps the order of the TSQL collation under an index, as a file written by a tool with
// another collation of that name would be: the rows are there, the index order is wrong.
int reverseOrder(void*, int a, const void* x, int b, const void* y) {
    const int n = std::memcmp(x, y, size_t(std::min(a, b)));
    return n != 0 ? -n : b - a;
}

TEST_F(SqlShell, DbccCheckdbReportsProblemsAsRowsAndFailsWithMinusB) {
    ASSERT_EQ(run({s("-S"), server_.serverName(), s("-Q"), s("CREATE DATABASE SHELL03")}).exitCode,
              0);
    ASSERT_EQ(run(on(s("SHELL03"), {s("-b"), s("-Q"),
                                    s("CREATE TABLE K (Code varchar(10) NOT NULL PRIMARY KEY)\n"
                                      "INSERT INTO K (Code) VALUES ('m')")}))
                  .exitCode,
              0);
    const ShellRun healthy =
        run(on(s("SHELL03"), {s("-b"), s("-h"), s("-1"), s("-Q"), s("DBCC CHECKDB")}));
    EXPECT_EQ(healthy.exitCode, 0) << healthy.err.toStdString();
    EXPECT_TRUE(healthy.out.contains(
        s("CHECKDB found 0 allocation errors and 0 consistency errors in database 'SHELL03'.")))
        << healthy.out.toStdString();

    sqlite3* raw = nullptr;
    const QByteArray file = QDir(server_.folder()).filePath(s("SHELL03.mdf.sqlite")).toUtf8();
    ASSERT_EQ(sqlite3_open(file.constData(), &raw), SQLITE_OK);
    sqlite3_create_collation(raw, "TSQL", SQLITE_UTF8, nullptr, reverseOrder);
    // The engine's checks in the table's triggers call its functions; here every check passes.
    for (const char* function : {"md_raise", "md_dbname", "md_keytext", "md_error"}) {
        sqlite3_create_function(
            raw, function, -1, SQLITE_UTF8, nullptr,
            [](sqlite3_context* ctx, int, sqlite3_value**) { sqlite3_result_null(ctx); }, nullptr,
            nullptr);
    }
    ASSERT_EQ(sqlite3_exec(raw, "INSERT INTO K (Code) VALUES ('a'), ('z'), ('b')", nullptr, nullptr,
                           nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(raw);
    sqlite3_close(raw);

    const ShellRun damaged =
        run(on(s("SHELL03"), {s("-b"), s("-h"), s("-1"), s("-Q"), s("DBCC CHECKDB (SHELL03)")}));
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.out.contains(s("index"))) << damaged.out.toStdString();
    EXPECT_TRUE(damaged.err.contains(s("Msg 8989"))) << damaged.err.toStdString();
    EXPECT_FALSE(damaged.err.contains(s(" 0 consistency errors")));
    EXPECT_EQ(run(on(s("SHELL03"), {s("-b"), s("-Q"), s("DBCC CHECKDB (OTHER)")})).exitCode, 1);
}

TEST(SqlShellArguments, BadCommandLinesAreRefused) {
    md::tools::SqlShellOptions o;
    EXPECT_FALSE(md::tools::parseSqlShellArguments({s("-S")}, o).isEmpty());
    EXPECT_FALSE(md::tools::parseSqlShellArguments({s("-X"), s("-Q"), s("x")}, o).isEmpty());
    md::tools::SqlShellOptions both;
    EXPECT_FALSE(
        md::tools::parseSqlShellArguments({s("-Q"), s("x"), s("-i"), s("f")}, both).isEmpty());
    md::tools::SqlShellOptions ok;
    EXPECT_TRUE(md::tools::parseSqlShellArguments({s("-h"), s("-1"), s("-W"), s("-Q"), s("x")}, ok)
                    .isEmpty());
    EXPECT_FALSE(ok.headers);
    EXPECT_TRUE(ok.trimTrailing);
    EXPECT_FALSE(ok.interactive) << "-Q runs its query and leaves";

    md::tools::SqlShellOptions bare, staying, file, help;
    EXPECT_TRUE(md::tools::parseSqlShellArguments({s("-S"), s("sqlite:x")}, bare).isEmpty());
    EXPECT_TRUE(bare.interactive) << "no query and no file: standard input";
    EXPECT_TRUE(md::tools::parseSqlShellArguments({s("-q"), s("SELECT 1")}, staying).isEmpty());
    EXPECT_TRUE(staying.interactive);
    EXPECT_EQ(staying.query, s("SELECT 1"));
    EXPECT_TRUE(md::tools::parseSqlShellArguments({s("-i"), s("a.sql")}, file).isEmpty());
    EXPECT_FALSE(file.interactive);
    EXPECT_TRUE(md::tools::parseSqlShellArguments({s("-?"), s("-X")}, help).isEmpty())
        << "the summary is asked for before anything after it is judged";
    EXPECT_TRUE(help.help);
}

TEST(SqlShellBatches, GoLinesSeparateBatchesInAnyCase) {
    const QStringList b =
        md::tools::splitBatches(s("select 1\nGO\n\ngo\nselect 2\n Go \nselect 'GO'"));
    ASSERT_EQ(b.size(), 3);
    EXPECT_EQ(b[2], s("select 'GO'"));
}

// The same shell over the ODBC backend: a script of batches into a database of Debian's SQLite
// ODBC driver, then the rows back, Thai included.
TEST_F(SqlShell, WorksOverAnOdbcDriverToo) {
    const QStringList odbc{s("-S"), md::odbc::test::sqliteServer(server_.folder()), s("-d"),
                           s("ODBC01")};
    const ShellRun setup = run(odbc + QStringList{s("-b"), s("-Q"),
                                                  s("CREATE TABLE Unit (Code varchar(10), Name "
                                                    "varchar(20)); INSERT INTO Unit VALUES "
                                                    "('BOX', 'กล่อง')")});
    ASSERT_EQ(setup.exitCode, 0) << setup.err.toStdString();
    const ShellRun read = run(odbc + QStringList{s("-h"), s("-1"), s("-s"), s("|"), s("-W"),
                                                 s("-Q"), s("SELECT Code, Name FROM Unit")});
    EXPECT_EQ(read.exitCode, 0) << read.err.toStdString();
    EXPECT_EQ(read.out, s("BOX|กล่อง\n\n(1 rows affected)\n"));
    const ShellRun bad = run(odbc + QStringList{s("-b"), s("-Q"), s("SELECT * FROM NoSuchTable")});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_TRUE(bad.err.contains(s("NoSuchTable"))) << bad.err.toStdString();
}

}  // namespace
