#pragma once

// A small SMTP server for tests: listens on 127.0.0.1 at a port the system picks, answers
// EHLO/HELO, MAIL, RCPT, DATA, RSET, NOOP and QUIT on its own thread, and keeps every message it
// accepts. Bounded: a few sessions, a limited number of commands and bytes, and a deadline
// after which it stops by itself.

#include <QByteArray>
#include <QList>
#include <atomic>
#include <mutex>
#include <thread>

namespace md::testing {

struct SinkMail {
    QByteArray from;
    QList<QByteArray> recipients;
    QByteArray data;  // as received after DATA, without the closing dot line
};

class SmtpSink {
  public:
    SmtpSink();
    ~SmtpSink();
    SmtpSink(const SmtpSink&) = delete;
    SmtpSink& operator=(const SmtpSink&) = delete;

    bool listening() const { return listener_ >= 0; }
    quint16 port() const { return port_; }

    // Stops serving and closes the port: later connections are refused.
    void stop();

    QList<SinkMail> mails() const;

  private:
    void run();
    void serve(int client);

    int listener_ = -1;
    quint16 port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    QList<SinkMail> mails_;
    std::thread thread_;
};

}  // namespace md::testing
