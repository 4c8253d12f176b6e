#pragma once

// Entry point of the embedded engine: a server name "sqlite:<folder>" names a folder that is
// the server; each database is one SQLite file in it and "master" is virtual.

#include "data/backend/Backend.h"

#include <memory>

namespace md::embedded {

// True when the server name selects the embedded engine.
bool isEmbeddedServer(const QString& serverName);

// Opens a session on one database of an embedded server. Throws DbError 4060 when the
// database does not exist (and creates no file).
std::unique_ptr<data::Session> openSession(const data::ConnectParams& params);

// A session on a new database that lives in memory only, with the engine's catalogue tables
// and no server folder (the fuzz target and tests that need no files).
std::unique_ptr<data::Session> openMemorySession(const QString& database);

}  // namespace md::embedded
