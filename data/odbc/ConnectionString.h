#pragma once

// Turns the server name and login of a connection into an ODBC connection string.

#include "data/backend/Backend.h"
#include "data/odbc/OdbcSettings.h"

#include <QString>

namespace md::odbc {

// True for "odbc:<connection string>" server names (the prefix without regard to case).
bool isOdbcConnectionString(const QString& serverName);

// A value for a connection string: as it is when that is safe, otherwise in braces with '}'
// doubled, so that a ';' in a password cannot start another key.
QString connectionValue(const QString& value);

// Host and port of a SQL Server name: "host,port" and "host:port" give both, "host\instance"
// and plain "host" give no port. Surrounding blanks are dropped.
struct ServerAddress {
    QString host;
    QString port;  // empty when the name gives none
};
ServerAddress parseServerName(const QString& serverName);

// The connection string for `params`. Throws DbError (category Connection) when the database
// name cannot be placed into an "odbc:" connection string safely.
QString buildConnectionString(const data::ConnectParams& params, const OdbcSettings& settings);

}  // namespace md::odbc
