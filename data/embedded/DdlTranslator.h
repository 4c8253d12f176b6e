#pragma once

// Schema statements: CREATE TABLE / VIEW / [UNIQUE] INDEX / DATABASE, DROP TABLE / VIEW /
// INDEX, ALTER TABLE ... ADD (several columns). Each runs as one unit with its catalogue rows
// and constraint triggers.
//
// Names given to constraints that the statement leaves unnamed, as SQL Server makes them:
//   PK__<table, first 8>__<8 hex>, UQ__<table, first 8>__<8 hex>,
//   FK__<table, first 8>__<column, first 8>__<8 hex>
// where the hex digits come from the constraint's object id (stable and unique per database).

#include "data/embedded/Connection.h"
#include "data/embedded/tsql/DmlTranslator.h"

namespace md::embedded {

void runDdl(Connection& conn, const QString& statement, const tsql::SchemaLookup& schema);

}  // namespace md::embedded
