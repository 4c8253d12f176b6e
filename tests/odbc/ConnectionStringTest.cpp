#include "data/backend/DbError.h"
#include "data/odbc/ConnectionString.h"
#include "data/odbc/OdbcCalls.h"
#include "data/odbc/OdbcSettings.h"

#include <gtest/gtest.h>

#include <QtGlobal>

using md::data::ConnectParams;
using md::data::DbError;
using md::data::ErrorCategory;
using namespace md::odbc;

namespace {

ConnectParams login(const QString& server, const QString& database = QStringLiteral("KVR_CONFIG")) {
    return {database, server, QStringLiteral("kvr"), QStringLiteral("secretpw")};
}

OdbcSettings driver(const QString& name) {
    OdbcSettings settings;
    settings.driver = name;
    return settings;
}

}  // namespace

TEST(ServerName, PortAfterCommaOrColonInstanceKept) {
    EXPECT_EQ(parseServerName(QStringLiteral("db1,1533")).host, QStringLiteral("db1"));
    EXPECT_EQ(parseServerName(QStringLiteral("db1,1533")).port, QStringLiteral("1533"));
    EXPECT_EQ(parseServerName(QStringLiteral("10.0.0.5:1433")).host, QStringLiteral("10.0.0.5"));
    EXPECT_EQ(parseServerName(QStringLiteral("10.0.0.5:1433")).port, QStringLiteral("1433"));
    EXPECT_EQ(parseServerName(QStringLiteral("HQ\\SQLEXPRESS")).host,
              QStringLiteral("HQ\\SQLEXPRESS"));
    EXPECT_TRUE(parseServerName(QStringLiteral("HQ\\SQLEXPRESS")).port.isEmpty());
    // Server.Dat's first line is used untrimmed; blanks around the name mean nothing here.
    EXPECT_EQ(parseServerName(QStringLiteral("KVR  ")).host, QStringLiteral("KVR"));
    // An IPv6 address is not a host:port pair.
    EXPECT_EQ(parseServerName(QStringLiteral("fe80::1")).host, QStringLiteral("fe80::1"));
}

TEST(ConnectionString, FreeTdsKeys) {
    EXPECT_EQ(
        buildConnectionString(login(QStringLiteral("KVR")), driver(QStringLiteral("FreeTDS"))),
        QStringLiteral("Driver={FreeTDS};Server=KVR;Database=KVR_CONFIG;UID=kvr;"
                       "PWD=secretpw;ClientCharset=UTF-8;TDS_Version=7.4;LoginTimeout=15"));
    EXPECT_EQ(
        buildConnectionString(login(QStringLiteral("db1:1533")), driver(QStringLiteral("FreeTDS"))),
        QStringLiteral("Driver={FreeTDS};Server=db1;Port=1533;Database=KVR_CONFIG;UID=kvr;"
                       "PWD=secretpw;ClientCharset=UTF-8;TDS_Version=7.4;LoginTimeout=15"));
}

TEST(ConnectionString, MicrosoftDriverKeysAndExtraOptions) {
    OdbcSettings settings = driver(QStringLiteral("ODBC Driver 18 for SQL Server"));
    settings.extraOptions = QStringLiteral("Encrypt=no");
    EXPECT_EQ(buildConnectionString(login(QStringLiteral("db1:1533")), settings),
              QStringLiteral("Driver={ODBC Driver 18 for SQL Server};Server=db1,1533;"
                             "Database=KVR_CONFIG;UID=kvr;PWD=secretpw;"
                             "TrustServerCertificate=yes;Encrypt=no"));
}

TEST(ConnectionString, ValuesFollowEachDriversRules) {
    ConnectParams params = login(QStringLiteral("KVR"));
    params.password = QStringLiteral("a;Server=evil}");
    // The ODBC rule of the Microsoft drivers: braces, and '}' doubled.
    const QString text =
        buildConnectionString(params, driver(QStringLiteral("ODBC Driver 18 for SQL Server")));
    EXPECT_TRUE(text.contains(QStringLiteral(";PWD={a;Server=evil}}};"))) << text.toStdString();
    // FreeTDS reads no "}}": such a value is refused, never sent.
    EXPECT_THROW(buildConnectionString(params, driver(QStringLiteral("FreeTDS"))), DbError);
    params.password = QStringLiteral("a}b c");
    EXPECT_TRUE(buildConnectionString(params, driver(QStringLiteral("FreeTDS")))
                    .contains(QStringLiteral(";PWD=a}b c;")));
    params.password = QString(QChar(0));
    EXPECT_THROW(buildConnectionString(params, driver(QStringLiteral("FreeTDS"))), DbError);
}

TEST(ConnectionString, OdbcFormReplacesDatabaseAndRefusesBreakout) {
    EXPECT_EQ(buildConnectionString(
                  login(QStringLiteral("odbc:Driver=SQLite3;Database=/srv/{database}.db"),
                        QStringLiteral("CO19")),
                  {}),
              QStringLiteral("Driver=SQLite3;Database=/srv/CO19.db"));
    try {
        buildConnectionString(login(QStringLiteral("ODBC:Driver=SQLite3;Database=/srv/{database}"),
                                    QStringLiteral("x;Driver=other")),
                              {});
        FAIL() << "a ';' in the database name was accepted";
    } catch (const DbError& e) {
        EXPECT_EQ(e.category(), ErrorCategory::Connection);
    }
}

TEST(Settings, EnvironmentOverridesAndBadValuesKeepDefaults) {
    qputenv("MD_ODBC_DRIVER", "ODBC Driver 18 for SQL Server");
    qputenv("MD_ODBC_LOGIN_TIMEOUT", "3");
    qputenv("MD_ODBC_TDS_VERSION", "7.1");
    OdbcSettings settings = readSettings();
    EXPECT_EQ(settings.tdsVersion, QStringLiteral("7.1"));
    EXPECT_EQ(settings.driver, QStringLiteral("ODBC Driver 18 for SQL Server"));
    EXPECT_EQ(settings.loginTimeoutSeconds, 3);

    qputenv("MD_ODBC_LOGIN_TIMEOUT", "soon");
    qunsetenv("MD_ODBC_DRIVER");
    settings = readSettings();
    EXPECT_EQ(settings.driver, QStringLiteral("FreeTDS"));
    EXPECT_EQ(settings.loginTimeoutSeconds, 15);
    qunsetenv("MD_ODBC_LOGIN_TIMEOUT");
    qunsetenv("MD_ODBC_TDS_VERSION");
}

TEST(Diagnostics, SqlStatesGiveTheCategory) {
    EXPECT_EQ(categoryOf(QStringLiteral("08S01")), ErrorCategory::Connection);
    EXPECT_EQ(categoryOf(QStringLiteral("HYT00")), ErrorCategory::Connection);
    EXPECT_EQ(categoryOf(QStringLiteral("28000")), ErrorCategory::Connection);  // login failed
    EXPECT_EQ(categoryOf(QStringLiteral("23000")), ErrorCategory::Constraint);
    EXPECT_EQ(categoryOf(QStringLiteral("22007")), ErrorCategory::Conversion);
    EXPECT_EQ(categoryOf(QStringLiteral("42S02")), ErrorCategory::Syntax);
    EXPECT_EQ(categoryOf(QStringLiteral("HY000")), ErrorCategory::Other);
    EXPECT_EQ(categoryOf(QStringLiteral("01000")), ErrorCategory::Other);
}
