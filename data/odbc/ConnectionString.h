#pragma once

// Turns the server name and login of a connection into an ODBC connection string.

#include "data/backend/Backend.h"
#include "data/odbc/OdbcSettings.h"

#include <QString>

namespace md::odbc {

// True for "odbc:<connection string>" server names (the prefix without regard to case).
bool isOdbcConnectionString(const QString& serverName);

// How a driver reads a value of its connection string.
enum class ValueRules {
    // The ODBC rules the Microsoft drivers follow: a braced value ends at a single '}', and
    // "}}" stands for one '}'.
    Odbc,
    // FreeTDS: a plain value runs to the next ';' (blanks, '=' and '}' kept); a braced value
    // ends at the first '}' followed by ';' or the end, and "}}" is two characters.
    FreeTds,
};

// `value` written so that the driver reads exactly it, as one value: as it is where that is
// safe, otherwise in braces. Throws DbError (category Connection) naming `what` (for instance
// "password") when the driver cannot be given the value at all: a NUL character, or for FreeTDS
// a '}' in a value that needs braces. The message never shows the value.
QString connectionValue(const QString& value, ValueRules rules, const QString& what);

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
