// What FreeTDS really sends for the login values of a connection, read off the wire by a
// listener on loopback: every value arrives as one value, whole, Thai included, or the connect
// is refused before anything is sent.

#include "TdsLoginListener.h"
#include "data/backend/DbError.h"
#include "data/odbc/OdbcBackend.h"

#include <gtest/gtest.h>

#include <QFileInfo>

using md::data::ConnectParams;
using md::data::DbError;
using md::data::ErrorCategory;
using md::odbc::test::TdsLogin;
using md::odbc::test::TdsLoginListener;

namespace {

bool freeTdsInstalled() {
    return QFileInfo::exists(QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so"));
}

md::odbc::OdbcSettings shortTimeout() {
    md::odbc::OdbcSettings settings;
    settings.loginTimeoutSeconds = 5;
    return settings;
}

// Connects to the listener (the login always fails there) and returns the error.
std::optional<DbError> connectTo(const TdsLoginListener& listener, const ConnectParams& login) {
    ConnectParams params = login;
    params.server = QStringLiteral("127.0.0.1,%1").arg(listener.port());
    try {
        md::odbc::openSession(params, shortTimeout());
    } catch (const DbError& e) {
        return e;
    }
    return std::nullopt;
}

struct Case {
    const char* label;
    QString user;
    QString password;
    QString database;
};

TEST(FreeTdsLoginValues, EachValueArrivesWhole) {
    if (!freeTdsInstalled())
        GTEST_SKIP() << "FreeTDS (tdsodbc) is not installed";
    const Case cases[] = {
        {"separators in braces", QStringLiteral("kvr"), QStringLiteral("a;b=c"),
         QStringLiteral("KVR;CONFIG")},
        {"a closing brace needs no braces", QStringLiteral("k}v"), QStringLiteral("a}b"),
         QStringLiteral("x}y")},
        {"Thai", QStringLiteral("ผู้ใช้"), QStringLiteral("รหัส;ผ่าน ๑"), QStringLiteral("ฐานข้อมูล")},
        {"leading brace and blanks", QStringLiteral("{kvr"), QStringLiteral(" pw "),
         QStringLiteral("{db")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TdsLoginListener listener;
        ASSERT_NE(listener.port(), 0);
        const std::optional<DbError> error =
            connectTo(listener, {c.database, {}, c.user, c.password});
        ASSERT_TRUE(error.has_value()) << "the listener never accepts a login";
        const std::optional<TdsLogin> login = listener.login();
        ASSERT_TRUE(login.has_value()) << "no login reached the listener: " << error->what();
        EXPECT_EQ(login->user, c.user);
        EXPECT_EQ(login->password, c.password);
        EXPECT_EQ(login->database, c.database);
        EXPECT_EQ(login->server, QStringLiteral("127.0.0.1"));
    }
}

TEST(FreeTdsLoginValues, ValueThatWouldAddKeysIsRefusedBeforeConnecting) {
    if (!freeTdsInstalled())
        GTEST_SKIP() << "FreeTDS (tdsodbc) is not installed";
    // Each of these once ended its braced value early, and the rest became keys of their own:
    // the login went to port 1, or to another database.
    const Case cases[] = {
        {"password", QStringLiteral("kvr"), QStringLiteral("x};Port=1;PWD=y"),
         QStringLiteral("KVR")},
        {"user name", QStringLiteral("x};Port=1;UID=kvr"), QStringLiteral("pw"),
         QStringLiteral("KVR")},
        {"database name", QStringLiteral("kvr"), QStringLiteral("pw"),
         QStringLiteral("x};Database=master")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TdsLoginListener listener;
        ASSERT_NE(listener.port(), 0);
        const std::optional<DbError> error =
            connectTo(listener, {c.database, {}, c.user, c.password});
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->category(), ErrorCategory::Connection);
        EXPECT_EQ(error->sqlState(), QStringLiteral("08001"));
        EXPECT_TRUE(error->message().startsWith(QStringLiteral("The ") +
                                                QString::fromUtf8(c.label) +
                                                QStringLiteral(" cannot be passed")))
            << error->what();
        EXPECT_FALSE(error->message().contains(QStringLiteral("Port=1")))
            << "the message shows the value";
        EXPECT_EQ(listener.connections(), 0);
    }
}

}  // namespace
