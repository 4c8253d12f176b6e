#pragma once

// A SQLite handle with the engine's functions, a catalogue the tests declare, and helpers that
// translate T-SQL and run it.

#include "data/backend/DbError.h"
#include "data/embedded/tsql/DmlTranslator.h"

#include <QMap>
#include <QString>
#include <QVariant>
#include <vector>

struct sqlite3;

namespace md::tsql::test {

class TestSchema : public SchemaLookup {
  public:
    void add(const QString& table, const QString& column, ColumnType type);
    std::optional<ColumnType> column(const QString& table, const QString& column) const override;
    std::optional<ColumnType> variable(const QString& name) const override;

  private:
    QMap<QString, ColumnType> columns_;
};

using Row = std::vector<QVariant>;

class TestDb {
  public:
    TestDb();
    ~TestDb();
    TestDb(const TestDb&) = delete;
    TestDb& operator=(const TestDb&) = delete;

    sqlite3* handle() const { return db_; }
    TestSchema& schema() { return schema_; }
    // Plain SQLite SQL (DDL of the test tables).
    void sqlite(const QString& sql);
    // Translates and runs T-SQL; engine errors come back as DbError with the server's number.
    std::vector<Row> run(const QString& tsql, const std::vector<QVariant>& params = {});
    // The first column of the first row.
    QVariant value(const QString& tsql, const std::vector<QVariant>& params = {});
    // Runs already translated SQL.
    std::vector<Row> runSqlite(const QString& sql, const std::vector<QVariant>& params = {});
    QString translate(const QString& tsql) { return translateStatement(tsql, schema_); }

  private:
    sqlite3* db_ = nullptr;
    TestSchema schema_;
};

// The error a statement fails with (number 0 when it does not fail).
data::DbError errorOf(TestDb& db, const QString& tsql, const std::vector<QVariant>& params = {});

}  // namespace md::tsql::test
