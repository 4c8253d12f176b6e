#pragma once

// A listener on 127.0.0.1 that reads what a SQL Server client sends to log in: it answers the
// PRELOGIN packet (no encryption), decodes the LOGIN7 packet that follows and then closes the
// connection, so the login fails but the values the driver really sent can be checked.

#include <QString>
#include <QtGlobal>
#include <atomic>
#include <mutex>
#include <optional>
#include <thread>

namespace md::odbc::test {

struct TdsLogin {
    QString user;
    QString password;  // de-obfuscated
    QString database;
    QString server;
};

class TdsLoginListener {
  public:
    TdsLoginListener();  // binds and starts listening; port() is 0 when that failed
    ~TdsLoginListener();
    TdsLoginListener(const TdsLoginListener&) = delete;
    TdsLoginListener& operator=(const TdsLoginListener&) = delete;

    quint16 port() const { return port_; }
    // The login of the first client that sent one, if any did.
    std::optional<TdsLogin> login() const;
    // Clients that connected at all.
    int connections() const { return connections_; }

  private:
    void serve();
    void serveClient(int client);

    int listener_ = -1;
    quint16 port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::optional<TdsLogin> login_;
    std::thread thread_;
};

// The LOGIN7 fields of a packet body (after the 8-byte packet header); nullopt when malformed.
std::optional<TdsLogin> decodeLogin7(const QByteArray& body);

}  // namespace md::odbc::test
