#pragma once

// Entry point of the embedded engine: a server name "sqlite:<folder>" names a folder that is
// the server; each database is one SQLite file in it and "master" is virtual.

#include "data/backend/Backend.h"

#include <QByteArray>
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

// The bytes of a memory session's database (its tables and rows), and a new memory session on
// its own copy of such bytes: the fuzz target makes its tables once and runs every input on a
// fresh copy. memoryImage throws std::invalid_argument for a session of another backend.
QByteArray memoryImage(const data::Session& session);
std::unique_ptr<data::Session> openMemorySession(const QString& database, const QByteArray& image);

}  // namespace md::embedded
