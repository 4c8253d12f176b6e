// The real masterdata executable on a fresh demo server: exit codes and what it says for each
// way the command line and Server.Dat can be wrong. Offscreen, no message boxes, and every run
// under a deadline so that nothing can wait for a user.

#include "schema/DemoServer.h"
#include "tests/support/DemoServer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct Outcome {
    bool finished = false;
    bool crashed = false;  // ended by a signal (a crash at exit, say)
    int exitCode = -1;
    QString errorLines;  // the program's own lines on stderr ("masterdata: ...")
    QString output;      // stdout: "opened: <caption>" when a window opened
};

class Masterdata : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(work_.isValid());
        writeServerDat((server_ + u'\n').toUtf8());
    }
    void writeServerDat(const QByteArray& content) {
        QFile f(work_.filePath(QStringLiteral("Server.Dat")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }

    // Runs the program; with `keys` it plays them (MD_PLAY_KEYS) instead of leaving right after
    // the start-up.
    Outcome run(const QStringList& arguments, const QString& keys = {}) {
        QProcess p;
        p.setWorkingDirectory(work_.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("MD_NO_FATAL_BOX"), QStringLiteral("1"));
        if (keys.isEmpty())
            env.insert(QStringLiteral("MD_EXIT_AFTER_START"), QStringLiteral("1"));
        else
            env.insert(QStringLiteral("MD_PLAY_KEYS"), keys);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(MASTERDATA_EXE), arguments);
        Outcome out;
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return out;
        }
        out.finished = p.exitStatus() == QProcess::NormalExit;
        out.crashed = p.exitStatus() == QProcess::CrashExit;
        out.exitCode = p.exitCode();
        out.output = QString::fromUtf8(p.readAllStandardOutput());
        const QStringList lines = QString::fromLocal8Bit(p.readAllStandardError()).split(u'\n');
        QStringList own;
        bool inOwn = false;
        for (const QString& line : lines) {
            // A message may go on over several lines (a driver's error list).
            if (line.startsWith(QStringLiteral("masterdata: ")))
                inOwn = true;
            else if (line.isEmpty() || line.startsWith(QStringLiteral("QStandardPaths")) ||
                     line.startsWith(QStringLiteral("This plugin")))
                inOwn = false;
            if (inOwn)
                own << line;
        }
        out.errorLines = own.join(u'\n');
        return out;
    }
    static QStringList args(const char* menu, const char* user, const char* company,
                            const char* keyword) {
        return {QString::fromUtf8(menu), QString::fromUtf8(user), QString::fromUtf8(company),
                QStringLiteral("-"), QString::fromUtf8(keyword)};
    }

    // A copy of the demo server for each test: the program writes to it.
    md::testing::DemoServerCopy demo_;
    const QString server_ = demo_.serverName();
    QTemporaryDir work_;
    QTemporaryDir runtime_;
};

TEST_F(Masterdata, BadOrMissingNumbersEndWithAMessageNamingTheValue) {
    Outcome o = run({});
    ASSERT_TRUE(o.finished);
    EXPECT_NE(o.exitCode, 0);
    EXPECT_EQ(o.errorLines, QStringLiteral("masterdata: Argument 1 (menu id) is missing"));

    o = run(args("1O1", "1", "DEMO01", "IMPEXPENSE"));
    ASSERT_TRUE(o.finished);
    EXPECT_NE(o.exitCode, 0);
    EXPECT_EQ(o.errorLines,
              QStringLiteral("masterdata: Argument 1 (menu id) is not a valid integer: '1O1'"));

    o = run(args("101", "admin", "DEMO01", "IMPEXPENSE"));
    ASSERT_TRUE(o.finished);
    EXPECT_NE(o.exitCode, 0);
    EXPECT_EQ(o.errorLines,
              QStringLiteral("masterdata: Argument 2 (user id) is not a valid integer: 'admin'"));

    o = run({QStringLiteral("101")});
    ASSERT_TRUE(o.finished);
    EXPECT_NE(o.exitCode, 0);
    EXPECT_EQ(o.errorLines, QStringLiteral("masterdata: Argument 2 (user id) is missing"));
}

TEST_F(Masterdata, UnknownCompanyInAnyCaseIsNamedInCapitalsAndEndsWithZero) {
    for (const char* name : {"nosuch", "NoSuch", "NOSUCH"}) {
        const Outcome o = run(args("101", "1", name, "IMPEXPENSE"));
        ASSERT_TRUE(o.finished);
        EXPECT_EQ(o.exitCode, 0);
        EXPECT_EQ(o.errorLines, QStringLiteral("masterdata: Not Found Database : NOSUCH"));
    }
}

TEST_F(Masterdata, NoAccessUnknownOrBlankedKeywordEndSilentlyWithZero) {
    for (const QStringList& a :
         {args("101", "3", "DEMO01", "IMPEXPENSE"), args("101", "1", "DEMO01", "NOSUCH"),
          args("101", "1", "DEMO01", " IMPEXPENSE"), args("101", "1", "DEMO01", "IMPEXPENSE "),
          QStringList{QStringLiteral("101"), QStringLiteral("1"), QStringLiteral("DEMO01")}}) {
        const Outcome o = run(a);
        ASSERT_TRUE(o.finished) << a.join(u'|').toStdString();
        EXPECT_EQ(o.exitCode, 0) << a.join(u'|').toStdString();
        EXPECT_EQ(o.errorLines, QString()) << a.join(u'|').toStdString();
        EXPECT_EQ(o.output, QString()) << a.join(u'|').toStdString();  // no window
    }
}

TEST_F(Masterdata, LowerCaseKeywordOpensItsWindow) {
    const Outcome o = run(args("101", "1", "DEMO01", "impexpense"));
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_TRUE(o.output.startsWith(QStringLiteral("opened: "))) << o.output.toStdString();
    EXPECT_EQ(o.errorLines, QString());
}

TEST_F(Masterdata, ServerDatFirstLineIsTheServerUntrimmed) {
    // Trailing blanks stay in the name the connection gets; the embedded engine, like a host
    // name lookup, ignores blanks around the server folder, so the server is still reached.
    writeServerDat((server_ + QStringLiteral("  \n")).toUtf8());
    Outcome o = run(args("101", "1", "DEMO01", "NOSUCH"));
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.errorLines, QString());
    o = run(args("101", "1", "demo02", "IMPEXPENSE"));
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.errorLines, QStringLiteral("masterdata: Not Found Database : DEMO02"));

    // Only the first line counts, and it may end without a line break.
    writeServerDat(server_.toUtf8() + "\r\nsqlite:elsewhere\n");
    o = run(args("101", "1", "DEMO01", "NOSUCH"));
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.errorLines, QString());
    writeServerDat(server_.toUtf8());
    o = run(args("101", "1", "DEMO01", "NOSUCH"));
    EXPECT_EQ(o.exitCode, 0);
}

// Each search the program keeps for the run, opened from the window that uses it, then the
// window left with Escape and Yes (Return) at the exit question: the program ends with 0, also
// under the sanitizers. The keys are reported with the window they went to, so a search that did
// not open shows.
TEST_F(Masterdata, LeavingAfterEveryKeptSearchEndsWithZero) {
    struct Session {
        const char* menu;
        const char* user;
        const char* keyword;
        QString keys;
        QStringList wentTo;  // caption of the window each key reached
    };
    const QString expense = QStringLiteral(u"ค่าใช้จ่ายในการนำเข้า");
    const QString lot = QStringLiteral(u"Lot No. การนำเข้า (Version 1.05.10.18)");
    const Session sessions[] = {
        {"101",
         "1",
         "IMPEXPENSE",
         QStringLiteral("F5 Esc Esc Return"),
         {expense, QStringLiteral(u"ค้นหา") + expense, expense, QString()}},
        {"102",
         "2",
         "IMPORTLOTNO",
         QStringLiteral("F5 Esc Esc Return"),
         {lot, QStringLiteral(u"ค้นหา") + lot, lot, QString()}},
        // The search chosen from, then left; the same kept dialog opened twice.
        {"101",
         "1",
         "IMPEXPENSE",
         QStringLiteral("F5 Return Return F3 F5 Esc Esc Return"),
         {expense, QStringLiteral(u"ค้นหา") + expense, QStringLiteral(u"ค้นหา") + expense, expense,
          expense, QStringLiteral(u"ค้นหา") + expense, expense, QString()}},
    };
    for (const Session& session : sessions) {
        SCOPED_TRACE(session.keyword + (u' ' + session.keys).toStdString());
        const Outcome o =
            run(args(session.menu, session.user, "DEMO01", session.keyword), session.keys);
        EXPECT_FALSE(o.crashed);
        ASSERT_TRUE(o.finished);
        EXPECT_EQ(o.exitCode, 0);
        EXPECT_EQ(o.errorLines, QString());
        const QStringList keys = session.keys.split(u' ');
        QStringList expected;
        for (int i = 0; i < keys.size(); ++i) {
            // The exit question's caption is the program's display name: not checked.
            expected << QStringLiteral("key ") + keys[i] + QStringLiteral(": ") +
                            (session.wentTo[i].isNull() ? QStringLiteral("*") : session.wentTo[i]);
        }
        QStringList seen = o.output.split(u'\n', Qt::SkipEmptyParts);
        for (int i = 0; i < seen.size() && i < expected.size(); ++i) {
            if (expected[i].endsWith(u'*'))
                seen[i] = seen[i].section(u':', 0, 0) + QStringLiteral(": *");
        }
        EXPECT_EQ(seen.join(u'\n').toStdString(), expected.join(u'\n').toStdString());
    }
}

TEST_F(Masterdata, UnreachableServerIsFatal) {
    writeServerDat("sqlite:no-such-folder\n");
    Outcome o = run(args("101", "1", "DEMO01", "IMPEXPENSE"));
    ASSERT_TRUE(o.finished);
    EXPECT_NE(o.exitCode, 0);
    EXPECT_TRUE(o.errorLines.contains(QStringLiteral("no-such-folder")))
        << o.errorLines.toStdString();
}

TEST_F(Masterdata, MissingOrEmptyServerDatMeansTheServerNamedKVR) {
    // No such server here: the SQL Server driver's refusal ends the start-up.
    for (bool empty : {false, true}) {
        if (empty)
            writeServerDat("\n");
        else
            QFile::remove(work_.filePath(QStringLiteral("Server.Dat")));
        const Outcome o = run(args("101", "1", "DEMO01", "IMPEXPENSE"));
        ASSERT_TRUE(o.finished);
        EXPECT_NE(o.exitCode, 0);
        EXPECT_TRUE(o.errorLines.startsWith(QStringLiteral("masterdata: ")))
            << o.errorLines.toStdString();
        EXPECT_FALSE(o.errorLines.contains(QStringLiteral("sqlite"))) << o.errorLines.toStdString();
    }
}

}  // namespace
