#pragma once

// Makes sure the SQLite3 and FreeTDS ODBC drivers are registered before any test connects. On a
// machine whose odbcinst.ini lacks them, a private odbcinst.ini in a temporary folder names the
// Debian driver libraries and the driver manager is pointed at it.

#include <QString>

namespace md::odbc::test {

// "odbc:" server name of a SQLite database file in `folder` ({database}.db).
QString sqliteServer(const QString& folder);

}  // namespace md::odbc::test
