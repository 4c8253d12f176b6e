// The maintenance windows opened by the real program from the menu's command line against a
// fresh demo server: the window stays up until it is closed, nothing reaches the error log, and
// a user without the right or an unknown keyword ends the program at once.

#include "schema/DemoServer.h"
#include "tests/support/DemoServer.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

class Program : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        demo_.writeServerDat(dir_.path());
    }
    // Starts masterdata with the five arguments; true when it is still running (a window is
    // open) after `seconds`, false when it ended by itself with exit code `exitCode`.
    bool stillRunning(const QStringList& args, int seconds, int* exitCode = nullptr) {
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.start(QString::fromUtf8(MD_MASTERDATA_PATH), args);
        if (!p.waitForStarted(10000))
            return false;
        if (p.waitForFinished(seconds * 1000)) {
            if (exitCode)
                *exitCode = p.exitCode();
            return false;
        }
        p.kill();
        p.waitForFinished(5000);
        return true;
    }
    // What the program reports it opened when told to leave right after the start-up.
    QString opened(const QStringList& args) {
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("MD_EXIT_AFTER_START"), QStringLiteral("1"));
        p.setProcessEnvironment(env);
        p.start(QString::fromUtf8(MD_MASTERDATA_PATH), args);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    qint64 errorRows() {
        QProcess sql;
        sql.setWorkingDirectory(dir_.path());
        sql.start(QString::fromUtf8(MD_SQLSHELL_PATH),
                  {QStringLiteral("-d"), QStringLiteral("KVR_CONFIG"), QStringLiteral("-h"),
                   QStringLiteral("-1"), QStringLiteral("-W"), QStringLiteral("-Q"),
                   QStringLiteral("Select Count(*) From ErrorLog")});
        sql.waitForFinished(30000);
        return QString::fromUtf8(sql.readAllStandardOutput()).section(u'\n', 0, 0).toLongLong();
    }

    QTemporaryDir dir_;
    md::testing::DemoServerCopy demo_;  // the program writes to it
};

TEST_F(Program, EachImportWindowOpensFromTheCommandLineAndNothingFails) {
    EXPECT_EQ(opened({QStringLiteral("101"), QStringLiteral("1"), QStringLiteral("DEMO01"),
                      QString(), QStringLiteral("IMPEXPENSE")}),
              QStringLiteral(u"opened: ค่าใช้จ่ายในการนำเข้า\n"));
    EXPECT_EQ(opened({QStringLiteral("102"), QStringLiteral("2"), QStringLiteral("demo01"),
                      QStringLiteral("x"), QStringLiteral("importlotno")}),
              QStringLiteral(u"opened: Lot No. การนำเข้า (Version 1.05.10.18)\n"));
    EXPECT_TRUE(stillRunning({QStringLiteral("101"), QStringLiteral("1"), QStringLiteral("DEMO01"),
                              QString(), QStringLiteral("IMPEXPENSE")},
                             4));
    EXPECT_TRUE(stillRunning({QStringLiteral("102"), QStringLiteral("2"), QStringLiteral("demo01"),
                              QStringLiteral("x"), QStringLiteral("importlotno")},
                             4));
    EXPECT_EQ(errorRows(), 0);
}

TEST_F(Program, TheForeignVendorAndCustomerWindowsOpenFromTheCommandLine) {
    EXPECT_EQ(opened({QStringLiteral("103"), QStringLiteral("1"), QStringLiteral("DEMO01"),
                      QStringLiteral("-"), QStringLiteral("FRVENDOR")}),
              QStringLiteral(u"opened: เจ้าหนี้ต่างประเทศ\n"));
    EXPECT_EQ(opened({QStringLiteral("104"), QStringLiteral("1"), QStringLiteral("DEMO01"),
                      QStringLiteral("-"), QStringLiteral("FRCUSTOMER")}),
              QStringLiteral(u"opened: ลูกค้าต่างประเทศ\n"));
    EXPECT_TRUE(stillRunning({QStringLiteral("103"), QStringLiteral("1"), QStringLiteral("DEMO01"),
                              QStringLiteral("-"), QStringLiteral("FRVENDOR")},
                             4));
    EXPECT_TRUE(stillRunning({QStringLiteral("104"), QStringLiteral("1"), QStringLiteral("DEMO01"),
                              QStringLiteral("-"), QStringLiteral("FRCUSTOMER")},
                             4));
    EXPECT_EQ(errorRows(), 0);
}

TEST_F(Program, NoRightOrAnUnknownKeywordEndsAtOnceWithExitCodeZero) {
    int code = -1;
    EXPECT_FALSE(stillRunning({QStringLiteral("101"), QStringLiteral("3"), QStringLiteral("DEMO01"),
                               QString(), QStringLiteral("IMPEXPENSE")},
                              30, &code));
    EXPECT_EQ(code, 0);
    code = -1;
    EXPECT_FALSE(stillRunning({QStringLiteral("101"), QStringLiteral("1"), QStringLiteral("DEMO01"),
                               QString(), QStringLiteral(" IMPEXPENSE")},
                              30, &code));
    EXPECT_EQ(code, 0);
}

}  // namespace
