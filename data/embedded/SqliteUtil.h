#pragma once

// Small RAII helpers over the sqlite3 C API for the engine's own statements.

#include <sqlite3.h>
#include <QString>
#include <QVariant>

namespace md::embedded {

// Binds a program value: null, integer, float, text, date-time (in the storage form) or blob.
void bindValue(sqlite3_stmt* stmt, int index, const QVariant& value);

// One prepared statement of the engine itself; errors are mapped and thrown.
class SqliteQuery {
  public:
    SqliteQuery(sqlite3* db, const QString& sql);
    ~SqliteQuery();
    SqliteQuery(const SqliteQuery&) = delete;
    SqliteQuery& operator=(const SqliteQuery&) = delete;

    SqliteQuery& bind(int index, const QVariant& value);
    // Steps once: true while a row is there.
    bool step();
    qlonglong integer(int column) const { return sqlite3_column_int64(stmt_, column); }
    QString text(int column) const;
    bool isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
    sqlite3_stmt* handle() const { return stmt_; }

  private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Sets `out` to the text of the UTF-8 `bytes` exactly as QString::fromUtf8 gives it, in place: a
// string that holds its buffer alone keeps it, so that reading row after row into one vector
// allocates only for a longer text.
void assignUtf8(QString& out, QByteArrayView bytes);

// Runs statements that return nothing; throws the mapped error.
void execSql(sqlite3* db, const QString& sql);

}  // namespace md::embedded
