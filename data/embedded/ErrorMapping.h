#pragma once

// Turns SQLite's failures into SQL Server's errors: messages raised by the engine's SQL
// functions (encoded) come back with their number, SQLSTATE and text; SQLite's own texts for
// unknown tables and columns, duplicate objects and syntax get SQL Server's numbers; anything
// else passes up with SQLite's text.

#include "data/backend/DbError.h"

struct sqlite3;

namespace md::embedded {

data::DbError mapSqliteError(sqlite3* db, int rc);
data::DbError mapSqliteMessage(const QString& message, int rc);

// SQL Server's error with its usual SQLSTATE, category and level for the number.
data::DbError serverError(int number, const QString& text);

}  // namespace md::embedded
