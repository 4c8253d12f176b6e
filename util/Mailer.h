#pragma once

// Error reports by mail: SMTP through libcurl, a plain-text UTF-8 body and MIME headers with
// the subject as RFC 2047 encoded words, so Thai text arrives intact.

#include <QString>

namespace md::util {

// Where error reports go. Defaults, overridden by the ini file beside the program, overridden
// in turn by the environment (MD_SMTP_HOST, MD_SMTP_PORT, MD_SMTP_FROM, MD_SMTP_TO).
struct MailSettings {
    QString host = QStringLiteral("localhost");
    int port = 25;
    QString from = QStringLiteral("masterdata-errors@localhost");
    QString to = QStringLiteral("support@localhost");
    int timeoutSeconds = 30;  // the whole exchange; the user-interface thread waits for it

    // Reads the [Mail] group (Host, Port, From, To, TimeoutSeconds) of `iniPath`, then the
    // environment. An empty path means "masterdata.ini" beside the executable.
    static MailSettings load(const QString& iniPath = {});
    static QString defaultIniPath();
};

// The whole message as it goes over the wire after DATA: headers, a blank line and the body in
// base64, every line ending in CRLF. Line breaks in the body (CR, LF or CRLF) become CRLF;
// control characters in the subject are dropped so it cannot add header lines.
QByteArray BuildMailMessage(const MailSettings& settings, const QString& subject,
                            const QString& body);

// Sends one mail and waits for the server to take it. Never throws: any failure returns false,
// writes one line to stderr and, when `error` is given, its text there.
bool SendMail(const MailSettings& settings, const QString& subject, const QString& body,
              QString* error = nullptr);

}  // namespace md::util
