// masterdata-sql at a terminal: the real executable on a pseudo-terminal, typed at line by line
// as a person does, and the same lines through a pipe.

#include "tests/support/TempServer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <QElapsedTimer>
#include <QProcess>
#include <cerrno>
#include <csignal>
#include <string>

namespace {

QString s(const char* t) {
    return QString::fromUtf8(t);
}

// A child process whose standard input, output and error are one pseudo-terminal, with echo
// off so that the transcript holds only what the program wrote.
class TerminalSession {
  public:
    TerminalSession(const QString& workDir, const QStringList& args) {
        std::vector<std::string> argv{MD_SQLSHELL_PATH};
        for (const QString& a : args)
            argv.push_back(a.toStdString());
        const std::string dir = workDir.toStdString();
        termios settings{};
        cfmakeraw(&settings);
        settings.c_iflag = ICRNL;
        settings.c_oflag = OPOST | ONLCR;
        settings.c_lflag = ICANON | ISIG;  // line editing as at a shell, no echo
        settings.c_cflag = CS8 | CREAD;
        settings.c_cc[VEOF] = 4;
        pid_ = forkpty(&master_, nullptr, &settings, nullptr);
        if (pid_ == 0) {
            if (::chdir(dir.c_str()) != 0)
                _exit(126);
            std::vector<char*> raw;
            for (auto& a : argv)
                raw.push_back(a.data());
            raw.push_back(nullptr);
            ::execv(raw[0], raw.data());
            _exit(127);
        }
    }
    ~TerminalSession() {
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (master_ >= 0)
            ::close(master_);
    }
    bool started() const { return pid_ > 0; }

    void type(const char* line) {
        std::string text = std::string(line) + "\n";
        ASSERT_EQ(::write(master_, text.data(), text.size()), ssize_t(text.size()));
    }
    void endOfInput() {
        const char eof = 4;
        ASSERT_EQ(::write(master_, &eof, 1), 1);
    }

    // Reads until the transcript ends with `tail` (a prompt, usually); false after 60 s.
    bool waitFor(const QString& tail) {
        QElapsedTimer timer;
        timer.start();
        while (!transcript().endsWith(tail)) {
            if (timer.elapsed() > 60000 || !readSome(500))
                return transcript().endsWith(tail);
        }
        return true;
    }

    // Waits for the program to end, reading what is left; returns its exit code.
    int finish() {
        while (readSome(1000)) {
        }
        int status = 0;
        ::waitpid(pid_, &status, 0);
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // What the program wrote, with the terminal's carriage returns taken out.
    QString transcript() const { return QString::fromUtf8(bytes_).remove(u'\r'); }

  private:
    // False at the end of the output (the program closed the terminal) or after `ms` of quiet
    // when the program has ended.
    bool readSome(int ms) {
        pollfd p{master_, POLLIN, 0};
        const int ready = ::poll(&p, 1, ms);
        if (ready <= 0)
            return ready == 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0;
        char buffer[4096];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            return false;  // EIO: the slave side closed
        bytes_.append(buffer, n);
        return true;
    }

    pid_t pid_ = -1;
    int master_ = -1;
    bool reaped_ = false;
    QByteArray bytes_;
};

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
    TerminalSession t(server_.folder(), on() + QStringList{s("-W")});
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
        TerminalSession t(server_.folder(),
                          on() + QStringList{s("-q"), s("CREATE TABLE Unit (Code varchar(5))")});
        ASSERT_TRUE(t.waitFor(s("1> "))) << "-q runs its query, then prompts";
        t.type("INSERT INTO Unit VALUES ('BOX')");
        ASSERT_TRUE(t.waitFor(s("2> ")));
        t.endOfInput();
        EXPECT_EQ(t.finish(), 0);
        EXPECT_EQ(t.transcript(), s("1> 2> \n"));
    }
    EXPECT_EQ(query(s("SELECT Count(*) FROM Unit")), s("0\n\n(1 rows affected)\n"));

    TerminalSession t(server_.folder(), on());
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
