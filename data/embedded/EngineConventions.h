#pragma once

// Conventions that the embedded engine's storage, its T-SQL translator and its SQL functions
// share. Everything that writes or reads SQLite files of an embedded server keeps to these.

#include <QString>
#include <optional>

namespace md::embedded {

// How the engine's database handles read their files: read calls into a page cache of up to
// 16 MiB per handle, and no memory map: a file truncated under a mapped reader ends the process
// with SIGBUS, where a read call gives the reader an error it can report.
inline constexpr char kReadTuning[] = "PRAGMA mmap_size=0; PRAGMA cache_size=-16384";

// Commits are durable when they return: in WAL mode FULL syncs the log at every commit (NORMAL
// would let a power failure take back the last commits).
inline constexpr char kDurability[] = "PRAGMA synchronous=FULL";

// Collation given to every text column: SQL Server's default comparison (case ignored,
// trailing blanks ignored, Thai text in Thai order).
inline constexpr const char* kTextCollation = "TSQL";

// Date-time values are stored as text in this form (Qt format), which compares and sorts in
// time order.
inline const QString kDateTimeStorageFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");

// SQL functions of the engine fail with a message in this encoded form so that the engine can
// turn it back into SQL Server's error number, SQLSTATE and text when the statement fails.
struct EngineErrorInfo {
    int number = 0;
    QString sqlState;
    QString text;
};
QString encodeEngineError(const EngineErrorInfo& info);
// Decodes a message produced by encodeEngineError; nullopt for any other message.
std::optional<EngineErrorInfo> decodeEngineError(const QString& message);

}  // namespace md::embedded
