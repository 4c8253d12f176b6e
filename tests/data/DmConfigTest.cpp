// The session module against a fresh demo server: the probe of the configuration database, the
// upgrade script, the company configuration, rights and language, and the error log.

#include "data/Dm_Config.h"
#include "data/Query.h"
#include "data/backend/DbError.h"
#include "schema/DemoServer.h"
#include "tests/support/DemoServer.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using md::data::TDMConfig;

namespace {

QString s(const char* t) {
    return QString::fromUtf8(t);
}

class DmConfig : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = QDir::currentPath();
        ASSERT_TRUE(work_.isValid());
        QDir::setCurrent(work_.path());
        writeServerDat(server_ + s("\n"));
    }
    void TearDown() override { QDir::setCurrent(previous_); }

    static void writeServerDat(const QString& text) {
        QFile f(s("Server.Dat"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    }

    // A copy of the demo server for each test: the program writes to it.
    md::testing::DemoServerCopy demo_;
    const QString server_ = demo_.serverName();
    QTemporaryDir work_;
    QString previous_;
};

TEST_F(DmConfig, LoadsTheCompanyAndTheThaiUsersRights) {
    TDMConfig config;
    config.GetCompanyConfig(s("demo01"));  // upper-cased before it is matched
    EXPECT_EQ(config.configDatabaseName(), s("KVR_CONFIG"));
    EXPECT_EQ(config.CompanyDbName, s("DEMO01"));
    EXPECT_FALSE(config.CompanyNameThai.isEmpty());
    EXPECT_GT(config.CompanyId, 0);
    EXPECT_TRUE(config.QCompany.isOpen());
    EXPECT_TRUE(config.QSoftware.isOpen());

    config.CheckRight(101, 1);
    EXPECT_TRUE(config.AccessRight);
    EXPECT_TRUE(config.AddRight);
    EXPECT_TRUE(config.LanguageThai);
    EXPECT_FALSE(config.MenuCaption.isEmpty());
    EXPECT_EQ(config.MenuCaption, config.MenuCaption.trimmed());
    EXPECT_EQ(config.SaveConfirmText, s("จัดเก็บข้อมูล ?"));
    EXPECT_EQ(config.DeleteConfirmText, s("ลบข้อมูล ?"));
}

TEST_F(DmConfig, EnglishUserAndUserWithoutAccess) {
    TDMConfig config;
    config.GetCompanyConfig(s("DEMO01"));
    config.CheckRight(101, 2);
    EXPECT_TRUE(config.AccessRight);
    EXPECT_FALSE(config.LanguageThai);
    EXPECT_EQ(config.SaveConfirmText, s("Save Data ?"));

    TDMConfig other;
    other.GetCompanyConfig(s("DEMO01"));
    other.CheckRight(101, 3);
    EXPECT_FALSE(other.AccessRight);

    TDMConfig nobody;
    nobody.GetCompanyConfig(s("DEMO01"));
    nobody.CheckRight(101, 999);  // no UserName row: English, no flags, no error
    EXPECT_FALSE(nobody.LanguageThai);
    EXPECT_TRUE(nobody.UserFullName.isEmpty());
    for (bool flag : nobody.UserRights)
        EXPECT_FALSE(flag);
}

TEST_F(DmConfig, UnknownCompanyIsReportedWithItsUpperCasedName) {
    TDMConfig config;
    try {
        config.GetCompanyConfig(s("nosuch"));
        FAIL() << "an unknown company must be reported";
    } catch (const md::data::CompanyNotFound& e) {
        EXPECT_EQ(e.message(), s("Not Found Database : NOSUCH"));
    }
}

TEST_F(DmConfig, UpgradeScriptRunsOnEveryConnectAndChangesNothingTheSecondTime) {
    TDMConfig config;
    config.GetCompanyConfig(s("DEMO01"));
    auto columnCount = [&](const char* table, const char* column) {
        md::data::Query q(&config.DmCfg,
                          {s("Select Count(*) As N From SysColumns Where Id = (Select Id From "
                             "SysObjects Where Name = '") +
                           s(table) + s("') And Name = '") + s(column) + s("'")});
        q.open();
        return q.fieldByName(s("N")).asInteger();
    };
    EXPECT_EQ(columnCount("Menu", "Version"), 1);
    EXPECT_EQ(columnCount("UserName", "UserSeeImport"), 1);
    EXPECT_EQ(columnCount("UserName", "UserSeeCost"), 1);
    config.DmCfg.close();
    config.DmCfg.open();  // the script runs again
    EXPECT_EQ(columnCount("Menu", "Version"), 1);
}

TEST_F(DmConfig, ServerDatFirstLineIsUsedUntrimmedAndAMissingOneMeansKVR) {
    TDMConfig config;
    writeServerDat(s("sqlite:somewhere  \nsecond line"));
    EXPECT_EQ(config.ReadServerName(), s("sqlite:somewhere  "));
    QFile::remove(s("Server.Dat"));
    EXPECT_EQ(config.ReadServerName(), QString());
}

TEST_F(DmConfig, LogErrorWritesAnErrorLogRowWithTheWorkstationAndSession) {
    TDMConfig config;
    config.GetCompanyConfig(s("DEMO01"));
    config.CheckRight(101, 1);
    config.UserId = 1;
    config.MenuId = 101;
    config.LogError(s("Cannot insert duplicate key ทดสอบ"));
    md::data::Query q(&config.DmCfg, {s("Select CompName, LogName, UserId, MenuId, ErrorMsg From "
                                        "ErrorLog Where ErrorMsg = :M")});
    q.paramByName(s("M")).setAsString(s("Cannot insert duplicate key ทดสอบ"));
    q.open();
    ASSERT_FALSE(q.isEmpty());
    EXPECT_EQ(q.fieldByName(s("UserId")).asInteger(), 1);
    EXPECT_EQ(q.fieldByName(s("MenuId")).asInteger(), 101);
    EXPECT_FALSE(q.fieldByName(s("CompName")).asString().isEmpty());
    const QString login = q.fieldByName(s("LogName")).asString();
    EXPECT_EQ(login, login.toUpper());
}

}  // namespace
