#pragma once

// Conventions that the embedded engine's storage, its T-SQL translator and its SQL functions
// share. Everything that writes or reads SQLite files of an embedded server keeps to these.

#include <QString>
#include <optional>

struct sqlite3;
struct sqlite3_context;

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

// Collation of every decimal, numeric and money column: their values are kept as exact text
// ("10.00") and compare by the number they stand for.
inline constexpr const char* kDecimalCollation = "TSQL_DEC";

// Date-time values are stored as text in this form (Qt format), which compares and sorts in
// time order.
inline const QString kDateTimeStorageFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");

// SQL Server's error that one of the engine's SQL functions fails a statement with.
struct EngineErrorInfo {
    int number = 0;
    QString sqlState;
    QString text;
    // SQL Server's message state, where it is not the number's usual one.
    std::optional<int> state;
};

// The message states of SQL Server's 8115 and 8114, which tell which conversion failed:
// "Arithmetic overflow error converting expression to data type int.", "... converting numeric
// to data type numeric." and "Error converting data type varchar to numeric.".
inline constexpr int kExpressionOverflowState = 2;
inline constexpr int kNumericOverflowState = 8;
inline constexpr int kVarcharToNumericState = 5;

// Fails the statement that called the SQL function with SQL Server's error. The error is kept
// out of band, beside the database handle, and SQLite is given only its plain text: nothing a
// user writes (an identifier, a string value) can pass for an engine error.
void raiseEngineError(sqlite3_context* ctx, const EngineErrorInfo& info);

// The error a SQL function of this handle raised, taken (it is gone afterwards), when SQLite's
// message for the failed statement is that error's text; nullopt otherwise.
std::optional<EngineErrorInfo> takeEngineError(sqlite3* db, const QString& message);

}  // namespace md::embedded
