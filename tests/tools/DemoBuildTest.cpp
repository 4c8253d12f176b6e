// masterdata-demo as a process: a build that is killed leaves no server, --force leaves a
// server alone while another session has it open, and progress appears only at a terminal.

#include "schema/DemoServer.h"
#include "tests/tools/TerminalSession.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace {

using md::testing::TerminalSession;

QString s(const char* t) {
    return QString::fromUtf8(t);
}

struct DemoRun {
    int exitCode = -1;
    QString out, err;
};

DemoRun demo(const QString& workDir, const QStringList& args) {
    QProcess p;
    p.setWorkingDirectory(workDir);
    p.start(s(MD_DEMO_PATH), args);
    EXPECT_TRUE(p.waitForFinished(300000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

qint64 products(const QString& folder) {
    auto session = md::schema::openDatabase(md::schema::serverNameOf(folder), s("DEMO01"));
    auto r = session->execute(s("SELECT Count(*) FROM Product"), {});
    std::vector<QVariant> row;
    return r->fetch(row) ? row[0].toLongLong() : -1;
}

QStringList building(const QString& workDir) {
    return QDir(workDir).entryList({s(".srv.building-*")},
                                   QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(DemoBuild, AKilledBuildLeavesNoServerAndTheNextBuildClearsItsFolder) {
    QTemporaryDir work;
    QProcess p;
    p.setWorkingDirectory(work.path());
    p.start(s(MD_DEMO_PATH), {s("--products"), s("5000000"), s("srv")});
    ASSERT_TRUE(p.waitForStarted());
    // Killed once it is writing generated products into its company database.
    QElapsedTimer timer;
    timer.start();
    bool writing = false;
    while (!writing && timer.elapsed() < 120000 && p.state() == QProcess::Running) {
        QThread::msleep(100);
        for (const QString& dir : building(work.path())) {
            const QFileInfo company(work.filePath(dir + s("/DEMO01.mdf.sqlite-wal")));
            writing = writing || company.size() > 4 * 1024 * 1024;
        }
    }
    ASSERT_TRUE(writing) << "the build never got to the generated products";
    p.kill();
    ASSERT_TRUE(p.waitForFinished(10000));

    EXPECT_FALSE(QFileInfo::exists(work.filePath(s("srv")))) << "no half-filled server";
    EXPECT_EQ(building(work.path()).size(), 1) << "the killed build's own folder is left";

    const DemoRun next = demo(work.path(), {s("srv")});
    ASSERT_EQ(next.exitCode, 0) << next.err.toStdString();
    EXPECT_TRUE(building(work.path()).isEmpty()) << "the next build removed the left folder";
    EXPECT_EQ(products(work.filePath(s("srv"))), 216);
}

TEST(DemoBuild, ForceIsRefusedWhileAnotherSessionHasTheServerOpen) {
    QTemporaryDir work;
    const QString folder = work.filePath(s("srv"));
    ASSERT_EQ(demo(work.path(), {s("srv")}).exitCode, 0);
    {
        // masterdata-sql at its prompt keeps its connection open, idle.
        TerminalSession shell(s(MD_SQLSHELL_PATH), work.path(),
                              {s("-S"), md::schema::serverNameOf(folder), s("-d"), s("DEMO01")});
        ASSERT_TRUE(shell.started());
        ASSERT_TRUE(shell.waitFor(s("1> "))) << shell.transcript().toStdString();
        const DemoRun refused =
            demo(work.path(), {s("--force"), s("--products"), s("10"), s("srv")});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_TRUE(refused.err.contains(s("is in use: another session has DEMO01 open")))
            << refused.err.toStdString();
        EXPECT_EQ(products(folder), 216) << "the open server was left as it was";
        EXPECT_TRUE(building(work.path()).isEmpty());
        shell.type("EXIT");
        EXPECT_EQ(shell.finish(), 0);
    }
    const DemoRun replaced = demo(work.path(), {s("--force"), s("--products"), s("10"), s("srv")});
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_EQ(products(folder), 226);
}

TEST(DemoBuild, ProgressIsShownOnATerminalOnly) {
    QTemporaryDir work;
    TerminalSession terminal(s(MD_DEMO_PATH), work.path(), {s("--products"), s("3000"), s("a")});
    ASSERT_TRUE(terminal.started());
    EXPECT_EQ(terminal.finish(), 0);
    const QString shown = terminal.transcript();
    EXPECT_TRUE(shown.contains(s("Generating products: 3,000 of 3,000, "))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(s(" a second"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(s("\nServer sqlite:"))) << "the summary starts a line of its own";

    const DemoRun piped = demo(work.path(), {s("--products"), s("3000"), s("b")});
    EXPECT_EQ(piped.exitCode, 0);
    EXPECT_FALSE(piped.err.contains(s("Generating"))) << piped.err.toStdString();
    EXPECT_FALSE(piped.out.contains(s("Generating"))) << piped.out.toStdString();
    EXPECT_TRUE(piped.out.startsWith(s("Server sqlite:"))) << piped.out.toStdString();
}

}  // namespace
