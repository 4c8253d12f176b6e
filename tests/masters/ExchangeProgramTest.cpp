// The exchange rates window opened by the real program from the menu's command line against a
// fresh demo server: it stays up until it is closed and nothing reaches the error log.

#include "schema/DemoServer.h"
#include "tests/support/DemoServer.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

class ExchangeProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        demo_.writeServerDat(dir_.path());
    }
    QProcessEnvironment environment(bool exitAfterStart) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        if (exitAfterStart)
            env.insert(QStringLiteral("MD_EXIT_AFTER_START"), QStringLiteral("1"));
        return env;
    }
    QString sql(const QString& database, const QString& statement) {
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        p.start(QString::fromUtf8(MD_SQLSHELL_PATH),
                {QStringLiteral("-d"), database, QStringLiteral("-h"), QStringLiteral("-1"),
                 QStringLiteral("-W"), QStringLiteral("-Q"), statement});
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
    }

    const QStringList args{QStringLiteral("105"), QStringLiteral("1"), QStringLiteral("DEMO01"),
                           QStringLiteral("-"), QStringLiteral("EXCHANGE")};
    QTemporaryDir dir_;
    md::testing::DemoServerCopy demo_;  // the program writes to it
};

TEST_F(ExchangeProgram, OpensFromTheCommandLineStaysUpAndNothingFails) {
    QProcess once;
    once.setWorkingDirectory(dir_.path());
    once.setProcessEnvironment(environment(true));
    once.start(QString::fromUtf8(MD_MASTERDATA_PATH), args);
    ASSERT_TRUE(once.waitForFinished(60000));
    EXPECT_EQ(once.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(once.readAllStandardOutput()),
              QStringLiteral(u"opened: กำหนดอัตราแลกเปลี่ยนประจำวัน (21.12.08)\n"));

    QProcess running;
    running.setWorkingDirectory(dir_.path());
    running.setProcessEnvironment(environment(false));
    running.start(QString::fromUtf8(MD_MASTERDATA_PATH), args);
    ASSERT_TRUE(running.waitForStarted(10000));
    EXPECT_FALSE(running.waitForFinished(4000));
    running.kill();
    running.waitForFinished(5000);

    EXPECT_EQ(sql(QStringLiteral("KVR_CONFIG"), QStringLiteral("Select Count(*) From ErrorLog")),
              QStringLiteral("0"));
    // The window's schema script has run: the full-amount column is there.
    EXPECT_EQ(
        sql(QStringLiteral("DEMO01"),
            QStringLiteral("Select Count(*) From SysColumns Where Name = 'PurcScrap' And Id = "
                           "(Select Id From SysObjects Where Name = 'CurrencyEx')")),
        QStringLiteral("1"));
}

}  // namespace
