#pragma once

// The engine's one door to the T-SQL translator of data statements and expressions. While the
// translator library is still a placeholder (MD_TSQL_PENDING), a stand-in passes statements
// through almost unchanged and registers a simple text collation; it goes once the translator
// is in.

#include "data/embedded/tsql/DmlTranslator.h"

namespace md::embedded {

QString translateData(const QString& statement, const tsql::SchemaLookup& schema);
QString translateExpr(const QString& expression, const tsql::SchemaLookup& schema);
void registerTranslatorFunctions(sqlite3* db);

}  // namespace md::embedded
