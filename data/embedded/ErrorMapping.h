#pragma once

// Turns SQLite's failures into SQL Server's errors: errors raised by the engine's SQL
// functions (kept out of band, EngineConventions.h) come back with their number, SQLSTATE and
// text; SQLite's own texts for
// unknown tables and columns, duplicate objects and syntax get SQL Server's numbers; anything
// else passes up with SQLite's text.

#include "data/backend/DbError.h"

#include <optional>

struct sqlite3;

namespace md::embedded {

data::DbError mapSqliteError(sqlite3* db, int rc);
// `message` is SQLite's message for the failure of a statement on `db`.
data::DbError mapSqliteMessage(sqlite3* db, const QString& message, int rc);

// SQL Server's error with its usual SQLSTATE, category, level and message state for the
// number; `state` is given where the number's state depends on what raised it.
data::DbError serverError(int number, const QString& text, std::optional<int> state = {});

}  // namespace md::embedded
