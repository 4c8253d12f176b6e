#pragma once

// A listener on 127.0.0.1 that reads what a SQL Server client sends to log in: it answers the
// PRELOGIN packet (no encryption), decodes the LOGIN7 packet that follows and then closes the
// connection, so the login fails but the values the driver really sent can be checked.
// Given a responder, it accepts the login instead and answers each SQL batch with the tokens
// the responder makes of its text, so that what a driver makes of a server's answer can be
// checked without a server.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <atomic>
#include <functional>
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

// The tokens answering one request: a SQL batch, given its text, or a remote procedure call,
// given the texts it carries; an empty answer ends the request with DONE.
using BatchResponder = std::function<QByteArray(const QString& sql)>;

class TdsLoginListener {
  public:
    // Binds and starts listening; port() is 0 when that failed.
    explicit TdsLoginListener(BatchResponder responder = {});
    ~TdsLoginListener();
    TdsLoginListener(const TdsLoginListener&) = delete;
    TdsLoginListener& operator=(const TdsLoginListener&) = delete;

    quint16 port() const { return port_; }
    // The login of the first client that sent one, if any did.
    std::optional<TdsLogin> login() const;
    // Clients that connected at all.
    int connections() const { return connections_; }
    // The texts of the requests answered, in order.
    QStringList batches() const;

  private:
    void serve();
    void serveClient(int client);
    void serveBatches(int client);

    int listener_ = -1;
    quint16 port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::optional<TdsLogin> login_;
    BatchResponder responder_;
    QStringList batches_;
    std::thread thread_;
};

// The LOGIN7 fields of a packet body (after the 8-byte packet header); nullopt when malformed.
std::optional<TdsLogin> decodeLogin7(const QByteArray& body);

}  // namespace md::odbc::test
