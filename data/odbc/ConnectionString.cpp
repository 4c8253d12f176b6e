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

data::DbError unusableValue(const QString& what, const QString& reason) {
    return data::DbError(
        QStringLiteral("The %1 cannot be passed to the ODBC driver: %2.").arg(what, reason), 0,
        QStringLiteral("08001"), data::ErrorCategory::Connection);
}

QString freeTdsValue(const QString& value, const QString& what) {
    // Plain, FreeTDS keeps every character up to the next ';', so only a ';' or a leading '{'
    // needs braces; inside braces a '}' could end the value early, and FreeTDS has no escape
    // for it.
    if (!value.contains(u';') && !value.startsWith(u'{'))
        return value;
    if (value.contains(u'}')) {
        throw unusableValue(what, QStringLiteral("FreeTDS cannot carry a '}' in a value that "
                                                 "also holds ';' or begins with '{'"));
    }
    return u'{' + value + u'}';
}

QString odbcValue(const QString& value) {
    bool plain = !value.isEmpty() && value.trimmed() == value;
    for (QChar c : value) {
        if (c == u';' || c == u'{' || c == u'}' || c == u'=')
            plain = false;
    }
    if (plain)
        return value;
    QString escaped = value;
    escaped.replace(u'}', QStringLiteral("}}"));
    return u'{' + escaped + u'}';
}

}  // namespace

QString connectionValue(const QString& value, ValueRules rules, const QString& what) {
    if (value.contains(QChar(0)))
        throw unusableValue(what, QStringLiteral("it holds a NUL character"));
    return rules == ValueRules::FreeTds ? freeTdsValue(value, what) : odbcValue(value);
}

namespace {

void addKey(QStringList& parts, ValueRules rules, const QString& key, const QString& value,
            const QString& what) {
    parts << key + u'=' + connectionValue(value, rules, what);
}

}  // namespace

bool isOdbcConnectionString(const QString& serverName) {
    return serverName.startsWith(kOdbcPrefix, Qt::CaseInsensitive);
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
    const ValueRules rules = freeTds ? ValueRules::FreeTds : ValueRules::Odbc;
    QStringList parts;
    parts << QStringLiteral("Driver={%1}").arg(settings.driver);
    if (freeTds) {
        addKey(parts, rules, QStringLiteral("Server"), address.host, QStringLiteral("server name"));
        if (!address.port.isEmpty())
            addKey(parts, rules, QStringLiteral("Port"), address.port, QStringLiteral("port"));
    } else {
        // The Microsoft drivers take the port after a comma in the server key.
        addKey(parts, rules, QStringLiteral("Server"),
               address.port.isEmpty() ? address.host : address.host + u',' + address.port,
               QStringLiteral("server name"));
    }
    if (!params.database.isEmpty())
        addKey(parts, rules, QStringLiteral("Database"), params.database,
               QStringLiteral("database name"));
    if (!params.user.isEmpty()) {
        addKey(parts, rules, QStringLiteral("UID"), params.user, QStringLiteral("user name"));
        addKey(parts, rules, QStringLiteral("PWD"), params.password, QStringLiteral("password"));
    } else if (!freeTds) {
        parts << QStringLiteral("Trusted_Connection=yes");
    }
    if (freeTds) {
        // The login timeout goes in both as the connection attribute and as FreeTDS's own key;
        // FreeTDS honours one or the other depending on where the login stalls.
        parts << QStringLiteral("ClientCharset=UTF-8");
        addKey(parts, rules, QStringLiteral("TDS_Version"), settings.tdsVersion,
               QStringLiteral("TDS version"));
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
