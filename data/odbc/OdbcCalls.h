#pragma once

// The few ODBC calls that carry text, and the diagnostics that become DbError.
//
// On Windows the wide (UTF-16) functions are used. Elsewhere the narrow functions are used with
// UTF-8 text: the unixODBC driver manager converts wide text for a narrow driver (the SQLite
// driver is one) through the process locale, which loses Thai in a process whose locale is not
// UTF-8, while UTF-8 reaches FreeTDS intact because its connection string says
// ClientCharset=UTF-8. Parameter and column values always travel as SQL_C_WCHAR, which both
// drivers convert themselves.

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include "data/backend/DbError.h"

#include <QString>
#include <vector>

namespace md::odbc {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "ODBC wide characters must be UTF-16");

inline bool succeeded(SQLRETURN rc) {
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

SQLRETURN driverConnect(SQLHDBC dbc, const QString& connectionString);
SQLRETURN execDirect(SQLHSTMT stmt, const QString& sql);
// Name, SQL type and size of a result column (1-based).
SQLRETURN describeColumn(SQLHSTMT stmt, SQLUSMALLINT column, QString& name, SQLSMALLINT& type,
                         SQLULEN& size, SQLSMALLINT& digits);
// A text attribute of a result column; empty when the driver has none.
QString columnText(SQLHSTMT stmt, SQLUSMALLINT column, SQLUSMALLINT field);
// A text item of SQLGetInfo; empty when the driver has none.
QString infoText(SQLHDBC dbc, SQLUSMALLINT item);

struct DiagRecord {
    QString sqlState;
    int nativeError = 0;
    QString message;
    int severity = -1;  // SQL Server's severity level; -1 when the driver does not tell it
    int state = -1;     // SQL Server's message state; -1 when the driver does not tell it
};

// How a driver reports SQL Server's severity and message state beside a record. The Microsoft
// drivers give each as a field of their own; FreeTDS keeps the severity in the message-state
// field and gives the state nowhere; other drivers give neither.
enum class DiagDialect { Plain, FreeTds, Microsoft };

// Every diagnostic record the last call left on `handle`, in the driver's order.
std::vector<DiagRecord> diagnostics(SQLSMALLINT handleType, SQLHANDLE handle,
                                    DiagDialect dialect = DiagDialect::Plain);

// The category a SQLSTATE belongs to.
data::ErrorCategory categoryOf(const QString& sqlState);

// The error a failed call left on `handle`. The first error record (warnings such as a PRINT
// before the failure are passed over) gives the text, native error and SQLSTATE; the texts of
// the other records follow it, one a line. `what` describes the call when the driver left no
// record at all.
data::DbError errorFrom(SQLSMALLINT handleType, SQLHANDLE handle, SQLRETURN rc,
                        const QString& what);

// Throws errorFrom(...) unless `rc` reports success.
void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const QString& what);

}  // namespace md::odbc
