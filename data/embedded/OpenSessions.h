#pragma once

// Whether other processes have databases of an embedded server open. Every connection to a
// database keeps a shared lock on the "dead-man switch" byte of the database's shared-memory
// file (<file>-shm, byte 128; SQLite's documented WAL file format) for as long as it is open,
// idle or not, and a transaction also locks bytes of the database file itself. Both are POSIX
// record locks, which another process can test without taking them.
//
// Locks held by the calling process itself are not seen (POSIX locks belong to the process).

#include <QString>
#include <QStringList>

namespace md::embedded {

// The names of the databases in the server folder `folder` that another process has open,
// sorted; empty when none (or when the folder holds no databases).
QStringList databasesOpenElsewhere(const QString& folder);

}  // namespace md::embedded
