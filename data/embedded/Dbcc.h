#pragma once

// DBCC CHECKDB on an embedded database: SQLite's integrity check, run on the engine's own
// handle, where the TSQL collation the text indexes are ordered by is registered (a plain
// sqlite3 tool cannot check them). Each problem is a row; a database with problems ends the
// batch's results with Msg 8989.

#include "data/backend/Backend.h"
#include "data/embedded/Connection.h"

#include <memory>

namespace md::embedded {

// A result for `sql` when it is a DBCC CHECKDB batch (DBCC CHECKDB, optionally with the
// current database's name or 0 in parentheses and WITH options), nullptr for any other batch.
std::unique_ptr<data::ResultSet> runDbccIfAsked(Connection& conn, const QString& sql);

}  // namespace md::embedded
