#pragma once

// Transactions of a connection, counted as SQL Server counts @@TRANCOUNT: BEGIN TRAN nests,
// COMMIT ends the outermost level, ROLLBACK undoes everything. The real transaction begins
// IMMEDIATE so that a second writer waits (busy timeout) rather than failing later.

#include "data/embedded/Connection.h"

namespace md::embedded {

void beginTran(Connection& conn);
void commitTran(Connection& conn);
void rollbackTran(Connection& conn);

}  // namespace md::embedded
