#include "TdsLoginListener.h"

#include "TdsTokens.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>

namespace md::odbc::test {

namespace {

constexpr char kPrelogin = 0x12;
constexpr char kLogin7 = 0x10;
constexpr char kSqlBatch = 0x01;
constexpr char kRpc = 0x03;
constexpr char kAttention = 0x06;
constexpr int kHeaderSize = 8;
constexpr int kPacketSize = 4096;
constexpr int kWaitMs = 15000;

bool readExactly(int fd, char* into, int size) {
    int done = 0;
    while (done < size) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, kWaitMs) <= 0)
            return false;
        const ssize_t n = ::recv(fd, into + done, size_t(size - done), 0);
        if (n <= 0)
            return false;
        done += int(n);
    }
    return true;
}

// One TDS message (all its packets up to the end-of-message bit): its type and body.
bool readMessage(int fd, char& type, QByteArray& body) {
    body.clear();
    for (;;) {
        char header[kHeaderSize];
        if (!readExactly(fd, header, kHeaderSize))
            return false;
        type = header[0];
        const int length = (quint8(header[2]) << 8) | quint8(header[3]);
        if (length < kHeaderSize)
            return false;
        QByteArray part(length - kHeaderSize, '\0');
        if (!readExactly(fd, part.data(), int(part.size())))
            return false;
        body += part;
        if (header[1] & 0x01)
            return true;
    }
}

// The server's PRELOGIN answer: a version, and encryption not supported.
QByteArray preloginReply() {
    const QByteArray version("\x0F\x00\x07\xD0\x00\x00", 6);
    const QByteArray encryption("\x02", 1);
    const int dataStart = 2 * 5 + 1;
    QByteArray payload;
    auto option = [&](char token, int offset, int length) {
        payload += token;
        payload += char(offset >> 8);
        payload += char(offset & 0xFF);
        payload += char(length >> 8);
        payload += char(length & 0xFF);
    };
    option(0x00, dataStart, int(version.size()));
    option(0x01, dataStart + int(version.size()), int(encryption.size()));
    payload += char(0xFF);
    payload += version + encryption;
    const int length = kHeaderSize + int(payload.size());
    QByteArray packet;
    packet += char(0x04);  // a reply
    packet += char(0x01);  // end of message
    packet += char(length >> 8);
    packet += char(length & 0xFF);
    packet += QByteArray(4, '\0');
    packet[6] = 1;  // packet id
    return packet + payload;
}

quint16 little16(const QByteArray& data, int at) {
    return quint16(quint8(data[at]) | (quint8(data[at + 1]) << 8));
}

quint32 little32(const QByteArray& data, int at) {
    return quint32(little16(data, at)) | (quint32(little16(data, at + 2)) << 16);
}

// Sends `tokens` as one reply message, in packets of the size the client starts with.
// A reply cut off (`complete` false) lacks its end-of-message bit, as when a server goes
// away in the middle of an answer.
bool sendReply(int fd, const QByteArray& tokens, bool complete = true) {
    constexpr int room = kPacketSize - kHeaderSize;
    int sent = 0;
    quint8 id = 1;
    do {
        const int size = qMin(room, int(tokens.size()) - sent);
        const int length = kHeaderSize + size;
        QByteArray packet(kHeaderSize, '\0');
        packet[0] = 0x04;                                                    // a reply
        packet[1] = char(complete && sent + size == tokens.size() ? 1 : 0);  // end of message
        packet[2] = char(length >> 8);
        packet[3] = char(length & 0xFF);
        packet[5] = 51;  // the session id
        packet[6] = char(id++);
        packet += tokens.mid(sent, size);
        if (::send(fd, packet.constData(), size_t(packet.size()), MSG_NOSIGNAL) != packet.size())
            return false;
        sent += size;
    } while (sent < tokens.size());
    return true;
}

// The text of a SQL batch message: UTF-16 after the headers (TDS 7.2 and later). A remote
// procedure call carries its texts among binary fields: it is read at both byte alignments,
// so that what it names can be looked for.
QString requestText(char type, const QByteArray& body) {
    if (body.size() < 4)
        return {};
    const int headers = int(little32(body, 0));
    if (headers < 4 || headers > body.size())
        return {};
    auto utf16 = [](const QByteArray& bytes) {
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()),
                                  bytes.size() / 2);
    };
    const QByteArray text = body.mid(headers);
    if (type != kRpc)
        return utf16(text);
    return utf16(text) + u'\n' + utf16(text.mid(1));
}

}  // namespace

std::optional<TdsLogin> decodeLogin7(const QByteArray& body) {
    // Fixed part: 36 bytes, then offset/length pairs (length in UTF-16 units) for host, user,
    // password, application, server, extension, library, language and database.
    constexpr int kPairs = 36;
    if (body.size() < kPairs + 9 * 4)
        return std::nullopt;
    auto field = [&](int index, QString& into) {
        const int offset = little16(body, kPairs + 4 * index);
        const int length = little16(body, kPairs + 4 * index + 2);
        if (offset + 2 * length > body.size())
            return false;
        QByteArray bytes = body.mid(offset, 2 * length);
        if (index == 2) {
            // The password travels with each byte's nibbles swapped and XORed with 0xA5.
            for (char& b : bytes) {
                const quint8 x = quint8(b) ^ 0xA5;
                b = char(quint8((x << 4) | (x >> 4)));
            }
        }
        into = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), length);
        return true;
    };
    TdsLogin login;
    if (!field(1, login.user) || !field(2, login.password) || !field(4, login.server) ||
        !field(8, login.database))
        return std::nullopt;
    return login;
}

TdsLoginListener::TdsLoginListener(BatchResponder responder) : responder_(std::move(responder)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listener_ < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

TdsLoginListener::~TdsLoginListener() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (listener_ >= 0)
        ::close(listener_);
}

QStringList TdsLoginListener::batches() const {
    std::lock_guard lock(mutex_);
    return batches_;
}

std::optional<TdsLogin> TdsLoginListener::login() const {
    std::lock_guard lock(mutex_);
    return login_;
}

void TdsLoginListener::serve() {
    while (!stop_) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0)
            continue;
        ++connections_;
        serveClient(client);
        ::close(client);
    }
}

void TdsLoginListener::serveClient(int client) {
    char type = 0;
    QByteArray body;
    if (!readMessage(client, type, body) || type != kPrelogin)
        return;
    const QByteArray reply = preloginReply();
    if (::send(client, reply.constData(), size_t(reply.size()), MSG_NOSIGNAL) != reply.size())
        return;
    if (!readMessage(client, type, body) || type != kLogin7)
        return;
    std::optional<TdsLogin> decoded = decodeLogin7(body);
    {
        std::lock_guard lock(mutex_);
        if (decoded && !login_)
            login_ = std::move(decoded);
    }
    if (responder_ && sendReply(client, tds::loginAccepted()))
        serveBatches(client);
}

void TdsLoginListener::serveBatches(int client) {
    char type = 0;
    QByteArray body;
    while (!stop_ && readMessage(client, type, body)) {
        QByteArray reply;
        if (type == kSqlBatch || type == kRpc) {
            const QString sql = requestText(type, body);
            {
                std::lock_guard lock(mutex_);
                batches_ << sql;
            }
            reply = responder_(sql);
        }
        if (reply.isEmpty())
            reply = tds::done(type == kAttention ? 0x0020 : tds::kDoneFinal);
        if (reply.endsWith(tds::hangUp())) {
            sendReply(client, reply.chopped(tds::hangUp().size()), false);
            return;  // the connection closes
        }
        if (!sendReply(client, reply))
            return;
    }
}

}  // namespace md::odbc::test
