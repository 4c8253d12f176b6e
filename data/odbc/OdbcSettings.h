#pragma once

// Site settings of the SQL Server backend. They come from the environment, read in one place,
// so that a site can change the driver or the timeouts without a new build.

#include <QString>

namespace md::odbc {

struct OdbcSettings {
    // ODBC driver used for SQL Server instances (MD_ODBC_DRIVER). The FreeTDS driver takes
    // FreeTDS keys; any other driver (the Microsoft "ODBC Driver 18 for SQL Server") the
    // Microsoft keys.
    QString driver = QStringLiteral("FreeTDS");
    // Seconds a login may take before it fails with HYT00 (MD_ODBC_LOGIN_TIMEOUT).
    int loginTimeoutSeconds = 15;
    // TDS protocol version FreeTDS asks for (MD_ODBC_TDS_VERSION): "7.1" (SQL Server 2000) up to
    // "7.4", or "auto". A SQL Server answers a newer version with the newest it speaks. "auto"
    // is not the default: FreeTDS 1.3 then ignores the login timeout once a server has accepted
    // the connection, so a server that never answers holds the program for ever.
    QString tdsVersion = QStringLiteral("7.4");
    // Extra "key=value;..." pairs appended to a SQL Server connection string (MD_ODBC_OPTIONS),
    // for instance "Encryption=require" or "Encrypt=no".
    QString extraOptions;
};

// The settings as the environment gives them; unset or unusable values keep their defaults.
OdbcSettings readSettings();

}  // namespace md::odbc
