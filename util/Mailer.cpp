#include "util/Mailer.h"

#include <curl/curl.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QSettings>
#include <QUuid>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace md::util {

namespace {

// RFC 2047 allows 75 characters per encoded word; 45 bytes of UTF-8 give 60 of base64 plus the
// 12 of "=?UTF-8?B?" and "?=".
constexpr qsizetype kEncodedWordBytes = 45;

QString cleanHeaderText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\t') {
            out += u' ';
        } else if (c.category() != QChar::Other_Control) {
            out += c;
        }
    }
    return out;
}

bool isPlainAscii(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    }
    return true;
}

// The subject as one or more encoded words, split between characters, folded onto lines of
// their own.
QByteArray encodeSubject(const QString& subject) {
    const QString clean = cleanHeaderText(subject);
    if (isPlainAscii(clean) && clean.size() <= 900)
        return clean.toLatin1();
    QByteArray out;
    qsizetype i = 0;
    while (i < clean.size()) {
        QByteArray chunk;
        while (i < clean.size()) {
            qsizetype step = clean.at(i).isHighSurrogate() && i + 1 < clean.size() ? 2 : 1;
            const QByteArray piece = clean.mid(i, step).toUtf8();
            if (!chunk.isEmpty() && chunk.size() + piece.size() > kEncodedWordBytes)
                break;
            chunk += piece;
            i += step;
        }
        if (!out.isEmpty())
            out += "\r\n ";
        out += "=?UTF-8?B?" + chunk.toBase64() + "?=";
    }
    return out;
}

QByteArray mailbox(const QString& address) {
    return "<" + cleanHeaderText(address).toUtf8() + ">";
}

QByteArray crlfBody(const QString& body) {
    QString text = body;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text.toUtf8();
}

QByteArray rfc2822Date() {
    const QDateTime now = QDateTime::currentDateTime();
    const int offsetMinutes = now.offsetFromUtc() / 60;
    const int absolute = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    return QLocale::c().toString(now, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")).toLatin1() +
           (offsetMinutes < 0 ? "-" : "+") +
           QByteArray::number(absolute / 60).rightJustified(2, '0') +
           QByteArray::number(absolute % 60).rightJustified(2, '0');
}

struct Upload {
    QByteArray data;
    qsizetype offset = 0;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* userData) {
    auto* upload = static_cast<Upload*>(userData);
    const size_t room = size * count;
    const size_t left = static_cast<size_t>(upload->data.size() - upload->offset);
    const size_t n = left < room ? left : room;
    if (n > 0) {
        memcpy(buffer, upload->data.constData() + upload->offset, n);
        upload->offset += static_cast<qsizetype>(n);
    }
    return n;
}

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool fail(const QString& text, QString* error) {
    std::fprintf(stderr, "error mail not sent: %s\n", text.toLocal8Bit().constData());
    if (error)
        *error = text;
    return false;
}

}  // namespace

QString MailSettings::defaultIniPath() {
    const QString dir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return QDir(dir).filePath(QStringLiteral("masterdata.ini"));
}

MailSettings MailSettings::load(const QString& iniPath) {
    MailSettings s;
    QSettings ini(iniPath.isEmpty() ? defaultIniPath() : iniPath, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("Mail"));
    s.host = ini.value(QStringLiteral("Host"), s.host).toString();
    s.port = ini.value(QStringLiteral("Port"), s.port).toInt();
    s.from = ini.value(QStringLiteral("From"), s.from).toString();
    s.to = ini.value(QStringLiteral("To"), s.to).toString();
    s.timeoutSeconds = ini.value(QStringLiteral("TimeoutSeconds"), s.timeoutSeconds).toInt();
    ini.endGroup();

    auto env = [](const char* name, QString& target) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            target = value;
    };
    env("MD_SMTP_HOST", s.host);
    env("MD_SMTP_FROM", s.from);
    env("MD_SMTP_TO", s.to);
    bool ok = false;
    const int port = qEnvironmentVariableIntValue("MD_SMTP_PORT", &ok);
    if (ok)
        s.port = port;
    if (s.port <= 0 || s.port > 65535)
        s.port = 25;
    if (s.timeoutSeconds <= 0)
        s.timeoutSeconds = 30;
    return s;
}

QByteArray BuildMailMessage(const MailSettings& settings, const QString& subject,
                            const QString& body) {
    QByteArray message;
    message += "Date: " + rfc2822Date() + "\r\n";
    message += "From: " + mailbox(settings.from) + "\r\n";
    message += "To: " + mailbox(settings.to) + "\r\n";
    message += "Message-ID: <" + QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + "@" +
               cleanHeaderText(settings.host).toUtf8() + ">\r\n";
    message += "Subject: " + encodeSubject(subject) + "\r\n";
    message += "MIME-Version: 1.0\r\n";
    message += "Content-Type: text/plain; charset=UTF-8\r\n";
    message += "Content-Transfer-Encoding: base64\r\n";
    message += "\r\n";
    const QByteArray encoded = crlfBody(body).toBase64();
    for (qsizetype i = 0; i < encoded.size(); i += 76)
        message += encoded.mid(i, 76) + "\r\n";
    return message;
}

bool SendMail(const MailSettings& settings, const QString& subject, const QString& body,
              QString* error) {
    try {
        initCurlOnce();
        CURL* curl = curl_easy_init();
        if (!curl)
            return fail(QStringLiteral("cannot start the mail client"), error);

        Upload upload{BuildMailMessage(settings, subject, body)};
        const QByteArray url =
            "smtp://" + settings.host.toUtf8() + ":" + QByteArray::number(settings.port);
        const QByteArray from = mailbox(settings.from);
        const QByteArray to = mailbox(settings.to);
        curl_slist* recipients = curl_slist_append(nullptr, to.constData());
        char errorText[CURL_ERROR_SIZE] = {};

        curl_easy_setopt(curl, CURLOPT_URL, url.constData());
        curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
        curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
        curl_easy_setopt(curl, CURLOPT_READFUNCTION, readUpload);
        curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 10L);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT, static_cast<long>(settings.timeoutSeconds));

        const CURLcode code = curl_easy_perform(curl);
        curl_slist_free_all(recipients);
        curl_easy_cleanup(curl);
        if (code != CURLE_OK) {
            const QString text = errorText[0] != '\0' ? QString::fromLocal8Bit(errorText)
                                                      : QString::fromUtf8(curl_easy_strerror(code));
            return fail(text, error);
        }
        return true;
    } catch (const std::exception& e) {
        return fail(QString::fromLocal8Bit(e.what()), error);
    } catch (...) {
        return fail(QStringLiteral("unknown failure"), error);
    }
}

}  // namespace md::util
