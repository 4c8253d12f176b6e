#pragma once

// The engine's one door to the T-SQL translator of data statements and expressions and to the
// SQL functions and text collation that its translations call.

#include "data/embedded/tsql/DmlTranslator.h"

namespace md::embedded {

QString translateData(const QString& statement, const tsql::SchemaLookup& schema,
                      std::vector<tsql::ColumnType>* columns = nullptr);
QString translateExpr(const QString& expression, const tsql::SchemaLookup& schema);
void registerTranslatorFunctions(sqlite3* db);

}  // namespace md::embedded
