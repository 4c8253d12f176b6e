#include "data/embedded/Dbcc.h"

#include "data/embedded/ErrorMapping.h"

#include <sqlite3.h>
#include <QRegularExpression>

namespace md::embedded {
namespace {

// One result held in memory, then the error that follows it, if any.
class CheckResult : public data::ResultSet {
  public:
    CheckResult(std::vector<QString> rows, std::optional<data::DbError> error)
        : rows_(std::move(rows)), error_(std::move(error)) {
        data::ColumnInfo column;
        column.name = QStringLiteral("MessageText");
        column.type = QMetaType::QString;
        columns_.push_back(column);
    }
    const std::vector<data::ColumnInfo>& columns() const override { return columns_; }
    bool fetch(std::vector<QVariant>& row) override {
        if (next_ >= rows_.size())
            return false;
        row.assign(1, rows_[next_++]);
        return true;
    }
    bool nextResult() override {
        columns_.clear();
        next_ = rows_.size();
        if (error_) {
            const data::DbError e = *error_;
            error_.reset();
            throw e;
        }
        return false;
    }
    qint64 rowsAffected() const override { return -1; }
    std::vector<data::DbError> takeErrors(ErrorScope scope) override {
        std::vector<data::DbError> out;
        if (scope == ErrorScope::SoFar && error_) {
            out.push_back(*error_);
            error_.reset();
        }
        return out;
    }

  private:
    std::vector<data::ColumnInfo> columns_;
    std::vector<QString> rows_;
    size_t next_ = 0;
    std::optional<data::DbError> error_;
};

}  // namespace

std::unique_ptr<data::ResultSet> runDbccIfAsked(Connection& conn, const QString& sql) {
    static const QRegularExpression checkdb(
        QStringLiteral(
            R"(^\s*DBCC\s+CHECKDB\s*(?:\(\s*(?:N?'([^']*)'|\[([^\]]*)\]|(\w+))\s*\)\s*)?)"
            R"((?:WITH\s+\w+(?:\s*,\s*\w+)*\s*)?;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = checkdb.match(sql);
    if (!m.hasMatch())
        return nullptr;
    QString name;
    for (int i = 1; i <= 3 && name.isEmpty(); ++i)
        name = m.captured(i);
    const QString database = conn.databaseName();
    if (!name.isEmpty() && name != u"0" && name.compare(database, Qt::CaseInsensitive) != 0) {
        throw serverError(2520,
                          QStringLiteral("Could not find database '%1'. The database either does "
                                         "not exist, or was dropped before a statement tried to "
                                         "use it. Verify if the database exists by querying the "
                                         "sys.databases catalog view.")
                              .arg(name));
    }
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(conn.db(), "PRAGMA integrity_check", -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        throw mapSqliteError(conn.db(), rc);
    std::vector<QString> problems;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const QString line =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                              sqlite3_column_bytes(stmt, 0));
        if (line != u"ok")
            problems.push_back(line);
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        // A file too damaged to walk is itself a consistency error.
        const data::DbError e = mapSqliteError(conn.db(), rc);
        problems.push_back(e.message());
    }
    const QString summary = QStringLiteral(
                                "CHECKDB found 0 allocation errors and %1 consistency "
                                "errors in database '%2'.")
                                .arg(problems.size())
                                .arg(database);
    std::optional<data::DbError> error;
    if (!problems.empty())
        error = serverError(8989, summary);
    problems.push_back(summary);
    return std::make_unique<CheckResult>(std::move(problems), std::move(error));
}

}  // namespace md::embedded
