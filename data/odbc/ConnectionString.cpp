#include "data/odbc/ConnectionString.h"

#include "data/backend/DbError.h"

#include <QStringList>

namespace md::odbc {

namespace {

const QString kOdbcPrefix = QStringLiteral("odbc:");

bool isDigits(const QString& text) {
    if (text.isEmpty() || text.size() > 5)
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

bool isFreeTds(const QString& driver) {
    return driver.contains(QStringLiteral("FreeTDS"), Qt::CaseInsensitive) ||
           driver.contains(QStringLiteral("tdsodbc"), Qt::CaseInsensitive);
}

void addKey(QStringList& parts, const QString& key, const QString& value) {
    parts << key + u'=' + connectionValue(value);
}

}  // namespace

bool isOdbcConnectionString(const QString& serverName) {
    return serverName.startsWith(kOdbcPrefix, Qt::CaseInsensitive);
}

QString connectionValue(const QString& value) {
    bool plain = !value.isEmpty() && value.trimmed() == value;
    for (QChar c : value) {
        if (c == u';' || c == u'{' || c == u'}' || c == u'=' || c == QChar(0))
            plain = false;
    }
    if (plain)
        return value;
    QString escaped = value;
    escaped.replace(u'}', QStringLiteral("}}"));
    return u'{' + escaped + u'}';
}

ServerAddress parseServerName(const QString& serverName) {
    const QString name = serverName.trimmed();
    const int comma = name.lastIndexOf(u',');
    if (comma > 0) {
        return {name.left(comma).trimmed(), name.mid(comma + 1).trimmed()};
    }
    // host:port, but not an IPv6 address (several ':') and not "host\instance".
    const int colon = name.lastIndexOf(u':');
    if (colon > 0 && name.count(u':') == 1 && isDigits(name.mid(colon + 1))) {
        return {name.left(colon), name.mid(colon + 1)};
    }
    return {name, {}};
}

QString buildConnectionString(const data::ConnectParams& params, const OdbcSettings& settings) {
    if (isOdbcConnectionString(params.server)) {
        QString text = params.server.mid(kOdbcPrefix.size());
        if (text.contains(QStringLiteral("{database}"))) {
            // The name lands inside a value the site wrote (a path, a key); a character that
            // would end that value or add a key is refused rather than passed on.
            for (QChar c : params.database) {
                if (c == u';' || c == u'{' || c == u'}' || c == QChar(0)) {
                    throw data::DbError(
                        QStringLiteral("The database name \"%1\" cannot be used in an ODBC "
                                       "connection string.")
                            .arg(params.database),
                        0, QStringLiteral("08001"), data::ErrorCategory::Connection);
                }
            }
            text.replace(QStringLiteral("{database}"), params.database);
        }
        return text;
    }

    const ServerAddress address = parseServerName(params.server);
    const bool freeTds = isFreeTds(settings.driver);
    QStringList parts;
    parts << QStringLiteral("Driver={%1}").arg(settings.driver);
    if (freeTds) {
        addKey(parts, QStringLiteral("Server"), address.host);
        if (!address.port.isEmpty())
            addKey(parts, QStringLiteral("Port"), address.port);
    } else {
        // The Microsoft drivers take the port after a comma in the server key.
        addKey(parts, QStringLiteral("Server"),
               address.port.isEmpty() ? address.host : address.host + u',' + address.port);
    }
    if (!params.database.isEmpty())
        addKey(parts, QStringLiteral("Database"), params.database);
    if (!params.user.isEmpty()) {
        addKey(parts, QStringLiteral("UID"), params.user);
        addKey(parts, QStringLiteral("PWD"), params.password);
    } else if (!freeTds) {
        parts << QStringLiteral("Trusted_Connection=yes");
    }
    if (freeTds) {
        // The login timeout goes in both as the connection attribute and as FreeTDS's own key;
        // FreeTDS honours one or the other depending on where the login stalls.
        parts << QStringLiteral("ClientCharset=UTF-8");
        addKey(parts, QStringLiteral("TDS_Version"), settings.tdsVersion);
        parts << QStringLiteral("LoginTimeout=%1").arg(settings.loginTimeoutSeconds);
    } else {
        parts << QStringLiteral("TrustServerCertificate=yes");
    }
    QString text = parts.join(u';');
    if (!settings.extraOptions.isEmpty())
        text += u';' + settings.extraOptions;
    return text;
}

}  // namespace md::odbc
