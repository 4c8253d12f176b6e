#pragma once

// What the diagnostic records of one step through a batch say: which of them are errors, the
// error each stands for, and whether the batch can go on after it.

#include "data/backend/DbError.h"
#include "data/odbc/OdbcCalls.h"

#include <vector>

namespace md::odbc {

// Whether a record reports an error. Warnings (SQLSTATE class 01) and SQL Server's messages of
// severity 10 or less (PRINT, "The statement has been terminated.") only inform. A record of
// the driver's own about the connection or a call (class 08, HY, IM) is an error whatever
// severity it carries: FreeTDS gives its network failures a low one.
bool reportsError(const DiagRecord& record);

// The error a record reports, as the data layer carries it: the text unchanged, the native
// number, the SQLSTATE and its category, and SQL Server's severity as its level and its
// message state when the driver tells them (the state stays 1 otherwise). The SQLite driver files
// every failure under HY000 with SQLite's result code; 19 is a constraint.
data::DbError errorOf(const DiagRecord& record, bool sqliteDriver);

// The errors among `records`, one for each record that reports one, in the driver's order.
std::vector<data::DbError> errorsOf(const std::vector<DiagRecord>& records, bool sqliteDriver);

// Whether nothing more of the batch can be read after `error`: the connection is lost, the
// server ended the session (severity 20 and above), or the driver refused the call itself (its
// own messages carry no native number), so a further call would only fail again.
bool endsTheWalk(const data::DbError& error);

}  // namespace md::odbc
