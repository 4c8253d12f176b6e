// masterdata-sql at a terminal: the real executable on a pseudo-terminal, typed at line by line
// as a person does, and the same lines through a pipe.

#include "tests/support/TempServer.h"
#include "tests/tools/TerminalSession.h"

#include <gtest/gtest.h>
#include <QProcess>

namespace {

using md::testing::TerminalSession;

QString s(const char* t) {
    return QString::fromUtf8(t);
}

class InteractiveShell : public ::testing::Test {
  protected:
    void SetUp() override { server_.createDatabase(s("TERM01")); }
    QStringList on() const { return {s("-S"), server_.serverName(), s("-d"), s("TERM01")}; }
    QString query(const QString& text) {
        QProcess p;
        p.start(s(MD_SQLSHELL_PATH), on() + QStringList{s("-h"), s("-1"), s("-W"), s("-Q"), text});
        EXPECT_TRUE(p.waitForFinished(60000));
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    md::testing::TempServer server_;
};

TEST_F(InteractiveShell, NumberedPromptsGoResetAnErrorThaiTextAndExit) {
    TerminalSession t(s(MD_SQLSHELL_PATH), server_.folder(), on() + QStringList{s("-W")});
    ASSERT_TRUE(t.started());
    ASSERT_TRUE(t.waitFor(s("1> "))) << t.transcript().toStdString();
    t.type("CREATE TABLE City (Id int NOT NULL PRIMARY KEY,");
    ASSERT_TRUE(t.waitFor(s("2> ")));
    t.type("  Name nvarchar(30) NOT NULL)");
    ASSERT_TRUE(t.waitFor(s("3> ")));
    t.type("go");
    ASSERT_TRUE(t.waitFor(s("3> 1> "))) << "after GO the prompt starts again at 1";

    t.type("INSERT INTO City VALUES (1, N'กรุงเทพมหานคร')");
    ASSERT_TRUE(t.waitFor(s("2> ")));
    t.type("GO");
    ASSERT_TRUE(t.waitFor(s("\n(1 rows affected)\n1> "))) << t.transcript().toStdString();

    // A batch typed and then forgotten never reaches the server.
    t.type("DELETE FROM City");
    ASSERT_TRUE(t.waitFor(s("2> ")));
    t.type(":reset");
    ASSERT_TRUE(t.waitFor(s("2> 1> ")));

    // An error in the middle of the session is reported and the session goes on.
    t.type("INSERT INTO City VALUES (1, N'ซ้ำ')");
    ASSERT_TRUE(t.waitFor(s("2> ")));
    t.type("GO");
    ASSERT_TRUE(t.waitFor(s("1> "))) << t.transcript().toStdString();
    t.type("SELECT Id, Name FROM City");
    ASSERT_TRUE(t.waitFor(s("2> ")));
    t.type("GO 2");
    ASSERT_TRUE(t.waitFor(s("(1 rows affected)\n1> ")));
    t.type("DELETE FROM City");
    ASSERT_TRUE(t.waitFor(s("2> ")));
    t.type("EXIT");
    EXPECT_EQ(t.finish(), 0);

    const QString expected =
        s("1> 2> 3> 1> 2> \n(1 rows affected)\n"
          "1> 2> 1> 2> Msg 2627, Level 14, State 1, Line 1\n"
          "Violation of PRIMARY KEY constraint");
    const QString transcript = t.transcript();
    EXPECT_TRUE(transcript.startsWith(expected)) << transcript.toStdString();
    const QString rows = s("Id Name\n-- ----\n1 กรุงเทพมหานคร\n\n(1 rows affected)\n");
    EXPECT_TRUE(transcript.endsWith(s("1> 2> ") + rows + rows + s("1> 2> ")))
        << "GO 2 runs the batch twice\n"
        << transcript.toStdString();
    EXPECT_EQ(query(s("SELECT Name FROM City")), s("กรุงเทพมหานคร\n\n(1 rows affected)\n"))
        << "EXIT leaves without running the batch typed so far";
}

TEST_F(InteractiveShell, TheEndOfInputLeavesAndQuitWorksAfterAQuery) {
    {
        TerminalSession t(s(MD_SQLSHELL_PATH), server_.folder(),
                          on() + QStringList{s("-q"), s("CREATE TABLE Unit (Code varchar(5))")});
        ASSERT_TRUE(t.waitFor(s("1> "))) << "-q runs its query, then prompts";
        t.type("INSERT INTO Unit VALUES ('BOX')");
        ASSERT_TRUE(t.waitFor(s("2> ")));
        t.endOfInput();
        EXPECT_EQ(t.finish(), 0);
        EXPECT_EQ(t.transcript(), s("1> 2> \n"));
    }
    EXPECT_EQ(query(s("SELECT Count(*) FROM Unit")), s("0\n\n(1 rows affected)\n"));

    TerminalSession t(s(MD_SQLSHELL_PATH), server_.folder(), on());
    ASSERT_TRUE(t.waitFor(s("1> ")));
    t.type("  Quit  ");
    EXPECT_EQ(t.finish(), 0);
}

TEST_F(InteractiveShell, StandardInputThatIsNoTerminalIsReadAsAScriptWithoutPrompts) {
    QProcess p;
    p.start(s(MD_SQLSHELL_PATH), on() + QStringList{s("-h"), s("-1"), s("-W")});
    ASSERT_TRUE(p.waitForStarted());
    p.write(
        "CREATE TABLE Bank (Code varchar(5), Name nvarchar(20))\nGO\n"
        "INSERT INTO Bank VALUES ('KTB', N'กรุงไทย')\nGO\n"
        "SELECT * FROM NoSuchTable\nGO\n"
        "SELECT Code, Name FROM Bank\n");  // the last batch needs no GO
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()),
              s("\n(1 rows affected)\nKTB กรุงไทย\n\n(1 rows affected)\n"));
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).startsWith(s("Msg 208, Level 16")));
}

}  // namespace
