#include "data/odbc/OdbcSettings.h"

#include <QByteArray>
#include <QtGlobal>

namespace md::odbc {

OdbcSettings readSettings() {
    OdbcSettings settings;
    const QString driver = qEnvironmentVariable("MD_ODBC_DRIVER").trimmed();
    if (!driver.isEmpty())
        settings.driver = driver;

    bool ok = false;
    const int timeout = qEnvironmentVariable("MD_ODBC_LOGIN_TIMEOUT").trimmed().toInt(&ok);
    if (ok && timeout > 0)
        settings.loginTimeoutSeconds = timeout;

    const QString tds = qEnvironmentVariable("MD_ODBC_TDS_VERSION").trimmed();
    if (!tds.isEmpty())
        settings.tdsVersion = tds;

    settings.extraOptions = qEnvironmentVariable("MD_ODBC_OPTIONS").trimmed();
    return settings;
}

}  // namespace md::odbc
