// A demo server made earlier is kept only while its schema is the one this version makes: the
// check itself in-process, and masterdata-demo --reuse saying what it did.

#include "schema/DemoServer.h"
#include "tools/demo/SchemaSignature.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

QString s(const char* t) {
    return QString::fromUtf8(t);
}

TEST(DemoSchema, AServerKeepsMatchingAfterTheProgramsOwnScriptsButNotAfterAnotherChange) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(s("demo"));
    md::schema::createDemoServer(folder, {});
    EXPECT_TRUE(md::tools::demoSchemaMatches(folder)) << "as made";
    // What the program runs as it connects changes nothing that counts.
    md::tools::applyConnectScripts(folder);
    EXPECT_TRUE(md::tools::demoSchemaMatches(folder)) << "after the program opened it";
    // Rows are not schema.
    md::schema::openDatabase(md::schema::serverNameOf(folder), s("DEMO01"))
        ->execute(s("UPDATE Misc SET Description = N'แก้แล้ว'"), {});
    EXPECT_TRUE(md::tools::demoSchemaMatches(folder)) << "after rows were changed";

    md::schema::openDatabase(md::schema::serverNameOf(folder), s("DEMO01"))
        ->execute(s("ALTER TABLE Misc ADD Extra int"), {});
    EXPECT_FALSE(md::tools::demoSchemaMatches(folder)) << "a column another version had";

    QTemporaryDir other;
    const QString empty = other.filePath(s("empty"));
    ASSERT_TRUE(QDir().mkpath(empty));
    EXPECT_FALSE(md::tools::demoSchemaMatches(empty)) << "a folder without the databases";
    md::schema::createSchemaServer(empty, true);
    ASSERT_TRUE(QFile::remove(empty + s("/DEMO01.mdf.sqlite")));
    EXPECT_FALSE(md::tools::demoSchemaMatches(empty)) << "the company database missing";
}

TEST(DemoSchema, ReuseKeepsAMatchingServerAndMakesAnOutdatedOneAgainSayingSo) {
    QTemporaryDir work;
    auto demo = [&](const QStringList& args) {
        QProcess p;
        p.setWorkingDirectory(work.path());
        p.start(s(MD_DEMO_PATH), args);
        EXPECT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return QString::fromUtf8(p.readAllStandardOutput());
    };
    EXPECT_TRUE(demo({s("--reuse"), s("demo")}).startsWith(s("Server sqlite:")));
    const QString kept = demo({s("--reuse"), s("demo")});
    EXPECT_TRUE(kept.startsWith(s("Demo server demo kept"))) << kept.toStdString();
    EXPECT_TRUE(kept.endsWith(s("Server.Dat written: sqlite:demo\n")));

    const QString server = md::schema::serverNameOf(work.filePath(s("demo")));
    md::schema::openDatabase(server, s("KVR_CONFIG"))
        ->execute(s("CREATE TABLE LeftOver (Id int)"), {});
    const QString again = demo({s("--reuse"), s("demo")});
    EXPECT_TRUE(
        again.startsWith(s("Demo server demo has the schema of another version; making "
                           "it again\nServer sqlite:")))
        << again.toStdString();
    EXPECT_TRUE(md::tools::demoSchemaMatches(work.filePath(s("demo"))));

    QFile dat(work.filePath(s("Server.Dat")));
    ASSERT_TRUE(dat.open(QIODevice::ReadOnly));
    EXPECT_EQ(dat.readAll(), QByteArray("sqlite:demo\n"));
}

}  // namespace
