#include "util/Utility.h"

#ifdef _WIN32
#include <windows.h>
#include <winsock.h>
#else
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <QByteArray>
#include <QtGlobal>
#include <cstring>
#include <vector>

namespace md::util {

namespace {

// The Windows computer name is a NetBIOS name of at most 15 characters; the error log keeps it so.
constexpr qsizetype kComputerNameLength = 15;

// Trims blanks and control characters at both ends (QString::trimmed keeps most controls).
QString trimControls(QString text) {
    auto isJunk = [](QChar c) { return c.isSpace() || c.category() == QChar::Other_Control; };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isJunk(text.at(begin)))
        ++begin;
    while (end > begin && isJunk(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

}  // namespace

#ifdef _WIN32

QString LocalComputerName() {
    char buffer[20] = {};
    DWORD size = sizeof buffer;
    if (!GetComputerNameA(buffer, &size))
        return {};
    return trimControls(QString::fromLocal8Bit(buffer, static_cast<qsizetype>(size)))
        .left(kComputerNameLength);
}

QString LocalLoginName() {
    DWORD size = 0;
    GetUserNameA(nullptr, &size);  // asks for the length, the terminating zero included
    std::vector<char> buffer(size > 0 ? size : 1);
    if (size == 0 || !GetUserNameA(buffer.data(), &size))
        return QStringLiteral("Unknown").toUpper();
    return QString::fromLocal8Bit(buffer.data()).toUpper();
}

QString LocalHostName() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0)
        return {};
    char host[64] = {};
    const bool ok = gethostname(host, sizeof host) == 0;
    WSACleanup();
    return ok ? QString::fromLocal8Bit(host) : QString();
}

std::vector<quint32> ResolveHost(const QString& hostName) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0)
        return {};
    std::vector<quint32> addresses;
    const QByteArray name = hostName.toLocal8Bit();
    if (hostent* entry = gethostbyname(name.constData()); entry && entry->h_addr_list) {
        for (char** address = entry->h_addr_list; *address; ++address) {
            in_addr in;
            memcpy(&in, *address, sizeof in);
            addresses.push_back(ntohl(in.s_addr));
        }
    }
    WSACleanup();
    return addresses;
}

#else

QString LocalComputerName() {
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0)
        return {};
    return trimControls(QString::fromLocal8Bit(buffer)).left(kComputerNameLength);
}

QString LocalLoginName() {
    // The login name of the session; without a controlling terminal (services, CI) the name of
    // the account the process runs as; then the environment.
    char buffer[256] = {};
    if (getlogin_r(buffer, sizeof buffer) == 0 && buffer[0] != '\0') {
        return QString::fromLocal8Bit(buffer).toUpper();
    }
    long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> storage(suggested > 0 ? static_cast<size_t>(suggested) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, storage.data(), storage.size(), &found) == 0 && found &&
        found->pw_name && found->pw_name[0] != '\0') {
        return QString::fromLocal8Bit(found->pw_name).toUpper();
    }
    const QString user = qEnvironmentVariable("USER");
    if (!user.isEmpty())
        return user.toUpper();
    return QStringLiteral("Unknown").toUpper();
}

QString LocalHostName() {
    char host[64] = {};
    if (gethostname(host, sizeof host - 1) != 0)
        return {};
    return QString::fromLocal8Bit(host);
}

std::vector<quint32> ResolveHost(const QString& hostName) {
    const QByteArray name = hostName.toLocal8Bit();
    if (name.isEmpty())
        return {};
    addrinfo hints{};
    hints.ai_family = AF_INET;  // the dotted decimal form is an IPv4 address
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (getaddrinfo(name.constData(), nullptr, &hints, &list) != 0 || !list)
        return {};
    std::vector<quint32> addresses;
    for (const addrinfo* item = list; item; item = item->ai_next) {
        if (item->ai_family != AF_INET || !item->ai_addr)
            continue;
        const auto* in = reinterpret_cast<const sockaddr_in*>(item->ai_addr);
        addresses.push_back(ntohl(in->sin_addr.s_addr));
    }
    freeaddrinfo(list);
    return addresses;
}

#endif

QString LocalIpAddress(const HostResolver& resolve) {
    const QString host = LocalHostName();
    if (host.isEmpty())
        return {};
    const std::vector<quint32> addresses = resolve(host);
    if (addresses.empty())
        return {};
    const quint32 last = addresses.back();
    return QStringLiteral("%1.%2.%3.%4")
        .arg(last >> 24)
        .arg((last >> 16) & 0xff)
        .arg((last >> 8) & 0xff)
        .arg(last & 0xff);
}

QString LocalIpAddress() {
    return LocalIpAddress(ResolveHost);
}

}  // namespace md::util
