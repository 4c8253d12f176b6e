#include "tests/tsql/TsqlTestSupport.h"

#include "data/embedded/EngineConventions.h"

#include <sqlite3.h>

namespace md::tsql::test {

using namespace Qt::StringLiterals;

void TestSchema::add(const QString& table, const QString& column, ColumnType type) {
    columns_.insert(table.toLower() + u'.' + column.toLower(), type);
}

std::optional<ColumnType> TestSchema::column(const QString& table, const QString& column) const {
    const auto it = columns_.find(table.toLower() + u'.' + column.toLower());
    if (it == columns_.end())
        return std::nullopt;
    return *it;
}

std::optional<ColumnType> TestSchema::variable(const QString&) const {
    return std::nullopt;
}

TestDb::TestDb() {
    sqlite3_open(":memory:", &db_);
    registerFunctions(db_);
}

TestDb::~TestDb() {
    sqlite3_close(db_);
}

void TestDb::sqlite(const QString& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err);
        sqlite3_free(err);
        throw data::DbError(msg);
    }
}

std::vector<Row> TestDb::runSqlite(const QString& sql, const std::vector<QVariant>& params) {
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK)
        throw data::DbError(QString::fromUtf8(sqlite3_errmsg(db_)) + u" in: "_s + sql);
    for (size_t i = 0; i < params.size(); ++i) {
        const QVariant& v = params[i];
        const int at = int(i) + 1;
        if (v.isNull()) {
            sqlite3_bind_null(stmt, at);
        } else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong) {
            sqlite3_bind_int64(stmt, at, v.toLongLong());
        } else if (v.typeId() == QMetaType::Double) {
            sqlite3_bind_double(stmt, at, v.toDouble());
        } else {
            const QByteArray s = v.toString().toUtf8();
            sqlite3_bind_text(stmt, at, s.constData(), int(s.size()), SQLITE_TRANSIENT);
        }
    }
    std::vector<Row> rows;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        Row row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_NULL:
                    row.emplace_back();
                    break;
                case SQLITE_INTEGER:
                    row.emplace_back(qlonglong(sqlite3_column_int64(stmt, c)));
                    break;
                case SQLITE_FLOAT:
                    row.emplace_back(sqlite3_column_double(stmt, c));
                    break;
                default:
                    row.emplace_back(QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                        sqlite3_column_bytes(stmt, c)));
            }
        }
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_finalize(stmt);
        if (auto info = embedded::takeEngineError(db_, msg))
            throw data::DbError(info->text, info->number, info->sqlState);
        throw data::DbError(msg + u" in: "_s + sql);
    }
    sqlite3_finalize(stmt);
    return rows;
}

std::vector<Row> TestDb::run(const QString& tsql, const std::vector<QVariant>& params) {
    return runSqlite(translate(tsql), params);
}

QVariant TestDb::value(const QString& tsql, const std::vector<QVariant>& params) {
    const auto rows = run(tsql, params);
    if (rows.empty() || rows.front().empty())
        return QVariant(u"<no rows>"_s);
    return rows.front().front();
}

data::DbError errorOf(TestDb& db, const QString& tsql, const std::vector<QVariant>& params) {
    try {
        db.run(tsql, params);
    } catch (const data::DbError& e) {
        return e;
    }
    return data::DbError(u"<no error>"_s);
}

}  // namespace md::tsql::test
