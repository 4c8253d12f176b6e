#pragma once

// The suite's stored procedures for the embedded engine. On SQL Server the same procedures are
// created from the T-SQL files beside this header; here they are C++ functions on the engine's
// procedure registry. Each runs its statements through the caller's session, so its rows commit
// or roll back with the caller's transaction.
//
// Configuration database: MENUCAPTION, AddErrorLog.
// Company database: UserAddLog, CreateSerialNo, NewDocumentNo, ServerTime.

namespace md::schema {

// Registers the procedures (once per process; later calls do nothing). The program, its tools and
// the tests call it before they open an embedded server; the data API knows none of them.
void registerSuiteProcedures();

}  // namespace md::schema
