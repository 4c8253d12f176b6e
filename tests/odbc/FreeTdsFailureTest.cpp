// Failures of the SQL Server path against this machine's FreeTDS: no server is needed, only a
// port where nothing listens and a listener that never answers the login.

#include "OdbcDrivers.h"
#include "data/backend/DbError.h"
#include "data/odbc/OdbcBackend.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <atomic>
#include <thread>

using md::data::DbError;
using md::data::ErrorCategory;

namespace {

// A socket bound to 127.0.0.1 on a port the system chose.
int boundSocket(quint16& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return -1;
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

// The site defaults with a short login timeout.
md::odbc::OdbcSettings freeTds() {
    md::odbc::OdbcSettings settings;
    settings.loginTimeoutSeconds = 3;
    return settings;
}

DbError connectFailure(quint16 port, qint64& elapsedMs,
                       const md::odbc::OdbcSettings& settings = freeTds()) {
    QElapsedTimer timer;
    timer.start();
    try {
        md::odbc::openSession(
            {QStringLiteral("KVR_CONFIG"), QStringLiteral("127.0.0.1,%1").arg(port),
             QStringLiteral("kvr"), QStringLiteral("secretpw")},
            settings);
    } catch (const DbError& e) {
        elapsedMs = timer.elapsed();
        return e;
    }
    elapsedMs = timer.elapsed();
    ADD_FAILURE() << "connected to a port where no server runs";
    return DbError(QString());
}

// Fails the test only when a connect hangs far beyond its login timeout.
constexpr qint64 kHangMs = 20000;

TEST(FreeTdsFailure, ClosedPortIsAConnectionError) {
    quint16 port = 0;
    const int fd = boundSocket(port);
    ASSERT_GE(fd, 0);
    ::close(fd);  // nothing listens there any more

    qint64 elapsed = 0;
    const DbError e = connectFailure(port, elapsed);
    EXPECT_TRUE(
        e.message().startsWith(QStringLiteral("[FreeTDS][SQL Server]Unable to connect: Adaptive "
                                              "Server is unavailable or does not exist")))
        << e.what();
    EXPECT_TRUE(e.message().contains(QStringLiteral("Unable to connect to data source")))
        << e.what();
    EXPECT_EQ(e.sqlState(), QStringLiteral("08S01"));
    EXPECT_EQ(e.nativeError(), 20009);
    EXPECT_EQ(e.category(), ErrorCategory::Connection);
    EXPECT_LT(elapsed, kHangMs);
}

TEST(FreeTdsFailure, SilentServerFailsWithinTheLoginTimeout) {
    quint16 port = 0;
    const int listener = boundSocket(port);
    ASSERT_GE(listener, 0);
    ASSERT_EQ(::listen(listener, 8), 0);
    std::atomic<bool> done{false};
    // Accepts every connection and never answers, until the test is over (bounded).
    std::thread silent([&] {
        std::vector<int> accepted;
        for (int waited = 0; !done && waited < kHangMs; waited += 100) {
            pollfd p{listener, POLLIN, 0};
            if (::poll(&p, 1, 100) > 0) {
                const int client = ::accept(listener, nullptr, nullptr);
                if (client >= 0)
                    accepted.push_back(client);
            }
        }
        for (int client : accepted)
            ::close(client);
    });

    // The default settings, but a short timeout. (With TDS_Version=auto FreeTDS 1.3 never gives
    // up here, which is why "auto" is not the default.)
    qint64 elapsed = 0;
    const DbError e = connectFailure(port, elapsed);
    EXPECT_TRUE(e.message().startsWith(QStringLiteral("[FreeTDS][SQL Server]Timeout expired")))
        << e.what();
    EXPECT_TRUE(e.message().contains(QStringLiteral("Unable to connect to data source")));
    EXPECT_EQ(e.sqlState(), QStringLiteral("HYT00"));
    EXPECT_EQ(e.category(), ErrorCategory::Connection);
    EXPECT_LT(elapsed, kHangMs);

    done = true;
    silent.join();
    ::close(listener);
}

}  // namespace
