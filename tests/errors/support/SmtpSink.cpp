#include "SmtpSink.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace md::testing {

namespace {

constexpr int kMaxSessions = 8;
constexpr int kMaxCommands = 64;
constexpr qsizetype kMaxBytes = 1 << 20;
constexpr auto kLifetime = std::chrono::seconds(60);
constexpr int kReadTimeoutMs = 5000;

void sendAll(int fd, const QByteArray& text) {
    qsizetype sent = 0;
    while (sent < text.size()) {
        const ssize_t n = ::send(fd, text.constData() + sent,
                                 static_cast<size_t>(text.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            return;
        sent += n;
    }
}

}  // namespace

SmtpSink::SmtpSink() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listener_ < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 4) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(listener_);
        listener_ = -1;
        return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { run(); });
}

SmtpSink::~SmtpSink() {
    stop();
}

void SmtpSink::stop() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (listener_ >= 0) {
        ::close(listener_);
        listener_ = -1;
    }
}

QList<SinkMail> SmtpSink::mails() const {
    std::lock_guard lock(mutex_);
    return mails_;
}

void SmtpSink::run() {
    const auto deadline = std::chrono::steady_clock::now() + kLifetime;
    int sessions = 0;
    while (!stop_ && sessions < kMaxSessions && std::chrono::steady_clock::now() < deadline) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0)
            continue;
        ++sessions;
        serve(client);
        ::close(client);
    }
}

void SmtpSink::serve(int client) {
    QByteArray buffer;
    qsizetype received = 0;
    // The next CRLF-terminated line, or an empty array when the peer went away or went quiet.
    auto readLine = [&](QByteArray& line) -> bool {
        for (;;) {
            const qsizetype end = buffer.indexOf("\r\n");
            if (end >= 0) {
                line = buffer.left(end);
                buffer.remove(0, end + 2);
                return true;
            }
            if (stop_ || received > kMaxBytes)
                return false;
            pollfd p{client, POLLIN, 0};
            if (::poll(&p, 1, kReadTimeoutMs) <= 0)
                return false;
            char chunk[4096];
            const ssize_t n = ::recv(client, chunk, sizeof chunk, 0);
            if (n <= 0)
                return false;
            buffer.append(chunk, n);
            received += n;
        }
    };

    sendAll(client, "220 sink.test ESMTP\r\n");
    SinkMail mail;
    QByteArray line;
    for (int commands = 0; commands < kMaxCommands && readLine(line); ++commands) {
        const QByteArray verb = line.left(4).toUpper();
        if (verb == "EHLO") {
            sendAll(client, "250-sink.test\r\n250 8BITMIME\r\n");
        } else if (verb == "HELO" || verb == "NOOP") {
            sendAll(client, "250 OK\r\n");
        } else if (verb == "RSET") {
            mail = SinkMail{};
            sendAll(client, "250 OK\r\n");
        } else if (verb == "MAIL") {
            mail.from = line.mid(line.indexOf(':') + 1).trimmed();
            sendAll(client, "250 OK\r\n");
        } else if (verb == "RCPT") {
            mail.recipients << line.mid(line.indexOf(':') + 1).trimmed();
            sendAll(client, "250 OK\r\n");
        } else if (verb == "DATA") {
            sendAll(client, "354 End data with <CR><LF>.<CR><LF>\r\n");
            QByteArray data;
            bool complete = false;
            while (readLine(line)) {
                if (line == ".") {
                    complete = true;
                    break;
                }
                if (line.startsWith(".."))
                    line.remove(0, 1);
                data += line + "\r\n";
            }
            if (!complete)
                return;
            mail.data = data;
            {
                std::lock_guard lock(mutex_);
                mails_ << mail;
            }
            mail = SinkMail{};
            sendAll(client, "250 OK queued\r\n");
        } else if (verb == "QUIT") {
            sendAll(client, "221 Bye\r\n");
            return;
        } else {
            sendAll(client, "502 Command not implemented\r\n");
        }
    }
}

}  // namespace md::testing
