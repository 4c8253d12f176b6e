#include "data/odbc/OdbcResultSet.h"

#include "data/backend/Decimal.h"
#include "data/odbc/OdbcValues.h"

#include <QRegularExpression>
#include <algorithm>

namespace md::odbc {

using data::DbError;

// How far the batch is read: the current result, when live, has rows still on the statement;
// the results queued after it were reached by walking on (a live one last, with the statement
// on it). The walk reaches a result when the reader moves on to it, when the reader has read
// the one before it to its end (so the errors of the statements between are known as soon as
// can be), or when the connection is needed for something else (then all of the batch is read
// into memory).

OdbcResultSet::OdbcResultSet(std::shared_ptr<Link> link, std::deque<StatementPiece> pieces)
    : link_(std::move(link)), rest_(std::move(pieces)) {
    SQLRETURN rc = SQL_SUCCESS;
    std::vector<DiagRecord> records;
    if (sendNext(rc, records))
        walk(rc, std::move(records), true);
    if (!queue_.empty()) {
        current_ = std::move(queue_.front());
        queue_.pop_front();
        rowsAffected_ = current_->rowsAffected;
        return;
    }
    rowsAffected_ = lastCount_;
    // No result before the batch ended: its errors are all there is to report.
    if (taken_ < errors_.size())
        raiseUpTo(errors_.size());
}

OdbcResultSet::~OdbcResultSet() {
    closeStatement();
}

void OdbcResultSet::closeStatement() {
    if (stmt_) {
        SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
        stmt_ = nullptr;
    }
    if (link_->active == this)
        link_->active = nullptr;
}

void OdbcResultSet::endBatch() {
    rest_.clear();
    closeStatement();
}

bool OdbcResultSet::keep(const std::vector<DiagRecord>& records, SQLRETURN rc,
                         const QString& what) {
    std::vector<DbError> found = errorsOf(records, link_->sqlite);
    if (found.empty() && !succeeded(rc) && rc != SQL_NO_DATA) {
        // A failure reported only by its return code, or with nothing but warnings.
        found.push_back(records.empty() ? errorFrom(SQL_HANDLE_STMT, nullptr, rc, what)
                                        : errorOf(records.front(), link_->sqlite));
    }
    bool stop = false;
    for (DbError& e : found) {
        stop = stop || endsTheWalk(e);
        // The SQLite driver runs one statement a piece; as on SQL Server, the batch goes on
        // only after a statement-level error, here a constraint's.
        if (link_->sqlite && e.category() != data::ErrorCategory::Constraint)
            rest_.clear();
        errors_.push_back(std::move(e));
    }
    return stop;
}

bool OdbcResultSet::keepFailure(SQLRETURN rc, const QString& what) {
    return keep(diagnostics(SQL_HANDLE_STMT, stmt_, link_->dialect), rc, what);
}

bool OdbcResultSet::sendNext(SQLRETURN& rc, std::vector<DiagRecord>& records) {
    closeStatement();
    if (rest_.empty())
        return false;
    const StatementPiece piece = std::move(rest_.front());
    rest_.pop_front();
    Sent sent;
    try {
        sent = link_->send(piece);
    } catch (const DbError& e) {
        errors_.push_back(e);
        rest_.clear();
        return false;
    }
    stmt_ = sent.stmt;
    link_->active = this;
    rc = sent.rc;
    records = std::move(sent.records);
    return true;
}

bool OdbcResultSet::walk(SQLRETURN rc, std::vector<DiagRecord> records, bool sent) {
    for (;;) {
        const QString what =
            sent ? QStringLiteral("SQLExecDirect") : QStringLiteral("SQLMoreResults");
        if (keep(records, rc, what)) {
            endBatch();
            return false;
        }
        bool pieceOver = false;
        if (rc == SQL_NO_DATA) {
            // From SQLExecDirect: a statement that changed no rows. From SQLMoreResults: this
            // piece has no more results.
            if (sent)
                lastCount_ = 0;
            else
                pieceOver = true;
        } else if (succeeded(rc)) {
            SQLSMALLINT count = 0;
            const SQLRETURN described = SQLNumResultCols(stmt_, &count);
            if (!succeeded(described)) {
                keepFailure(described, QStringLiteral("SQLNumResultCols"));
                endBatch();
                return false;
            }
            SQLLEN rows = -1;
            if (!succeeded(SQLRowCount(stmt_, &rows)))
                rows = -1;
            if (count > 0) {
                Result result;
                result.columns.assign(size_t(count), {});
                result.sqlTypes.assign(size_t(count), SQL_UNKNOWN_TYPE);
                result.rowsAffected = rows;
                result.errorsBefore = errors_.size();
                result.live = true;
                if (!describe(result)) {
                    endBatch();
                    return false;
                }
                queue_.push_back(std::move(result));
                return true;
            }
            if (rows >= 0)
                lastCount_ = rows;
        } else if (rc == SQL_ERROR) {
            // The statement failed and the batch goes on, unless the server ended it: then
            // SQLMoreResults says there is nothing more. The SQLite driver's piece is over.
            pieceOver = link_->sqlite;
        } else {
            // SQL_INVALID_HANDLE, SQL_NEED_DATA, SQL_STILL_EXECUTING: nothing to go on from.
            endBatch();
            return false;
        }
        if (pieceOver) {
            if (!sendNext(rc, records)) {
                endBatch();
                return false;
            }
            sent = true;
            continue;
        }
        rc = SQLMoreResults(stmt_);
        // FreeTDS may report an error beside SQL_SUCCESS_WITH_INFO or even SQL_NO_DATA, so the
        // records are read whatever came back.
        records = diagnostics(SQL_HANDLE_STMT, stmt_, link_->dialect);
        sent = false;
    }
}

bool OdbcResultSet::advance() {
    if (!stmt_)
        return false;
    const SQLRETURN rc = SQLMoreResults(stmt_);
    return walk(rc, diagnostics(SQL_HANDLE_STMT, stmt_, link_->dialect), false);
}

bool OdbcResultSet::describe(Result& result) {
    for (size_t i = 0; i < result.columns.size(); ++i) {
        const SQLUSMALLINT number = SQLUSMALLINT(i + 1);
        data::ColumnInfo& column = result.columns[i];
        SQLSMALLINT type = SQL_UNKNOWN_TYPE, digits = 0;
        SQLULEN size = 0;
        const SQLRETURN rc = describeColumn(stmt_, number, column.name, type, size, digits);
        if (!succeeded(rc)) {
            keepFailure(rc, QStringLiteral("SQLDescribeCol"));
            return false;
        }
        const bool textual =
            type == SQL_CHAR || type == SQL_VARCHAR || type == SQL_WCHAR || type == SQL_WVARCHAR;
        if (type == SQL_DECIMAL || type == SQL_NUMERIC) {
            column.precision = int(size);
            column.scale = digits;
        }
        if (link_->sqlite && (textual || type == SQL_DOUBLE || type == SQL_DECIMAL)) {
            // The SQLite driver calls decimal and money columns text or double; they hold
            // numbers of the declared scale.
            const QString declared = columnText(stmt_, number, SQL_DESC_TYPE_NAME).toLower();
            static const QRegularExpression shape(
                QStringLiteral(R"(^(?:decimal|numeric)\s*\(\s*(\d+)\s*(?:,\s*(\d+)\s*)?\))"));
            if (const auto m = shape.match(declared); m.hasMatch()) {
                type = SQL_DECIMAL;
                column.precision = m.captured(1).toInt();
                column.scale = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
            } else if (declared.contains(QStringLiteral("money"))) {
                type = SQL_DECIMAL;
                column.precision = declared.contains(QStringLiteral("small")) ? 10 : 19;
                column.scale = 4;
            } else if (textual && (declared.startsWith(QStringLiteral("decimal")) ||
                                   declared.startsWith(QStringLiteral("numeric")))) {
                type = SQL_DOUBLE;
            }
        }
        result.sqlTypes[i] = type;
        const Kind kind = kindOfSql(type);
        column.type = metaOf(kind);
        column.size =
            kind == Kind::Text && textual && size > 0 && size < (1u << 30) ? int(size) : -1;
        column.baseTable = columnText(stmt_, number, SQL_DESC_BASE_TABLE_NAME);
        column.baseColumn = columnText(stmt_, number, SQL_DESC_BASE_COLUMN_NAME);
    }
    return true;
}

bool OdbcResultSet::readRow(const Result& result, Row& row) {
    row.assign(result.columns.size(), QVariant());
    for (size_t i = 0; i < result.columns.size(); ++i) {
        const SQLUSMALLINT number = SQLUSMALLINT(i + 1);
        const Kind kind = kindOfSql(result.sqlTypes[i]);
        const QMetaType nullType(metaOf(kind));
        SQLLEN indicator = 0;
        SQLRETURN rc = SQL_SUCCESS;
        auto failed = [&] {
            keepFailure(rc, QStringLiteral("SQLGetData"));
            return false;
        };
        switch (kind) {
            case Kind::Integer: {
                SQLBIGINT v = 0;
                rc = SQLGetData(stmt_, number, SQL_C_SBIGINT, &v, sizeof v, &indicator);
                if (!succeeded(rc))
                    return failed();
                row[i] = indicator == SQL_NULL_DATA ? QVariant(nullType) : QVariant(qlonglong(v));
                break;
            }
            case Kind::Real: {
                if (result.columns[i].scale >= 0) {
                    // Decimals come as their text, so no digit passes through a double.
                    char buffer[96];
                    rc = SQLGetData(stmt_, number, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
                    if (!succeeded(rc))
                        return failed();
                    if (indicator == SQL_NULL_DATA) {
                        row[i] = QVariant(nullType);
                        break;
                    }
                    const QString text = QString::fromLatin1(
                        buffer, qsizetype(std::clamp<SQLLEN>(indicator, 0, sizeof buffer - 1)));
                    auto d = data::Decimal::parse(text, true);
                    if (d)
                        d = d->rescaled(result.columns[i].scale);
                    row[i] = d ? QVariant::fromValue(*d) : QVariant(text.toDouble());
                    break;
                }
                double v = 0;
                rc = SQLGetData(stmt_, number, SQL_C_DOUBLE, &v, sizeof v, &indicator);
                if (!succeeded(rc))
                    return failed();
                row[i] = indicator == SQL_NULL_DATA ? QVariant(nullType) : QVariant(v);
                break;
            }
            case Kind::DateTime: {
                SQL_TIMESTAMP_STRUCT ts{};
                rc = SQLGetData(stmt_, number, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &indicator);
                if (!succeeded(rc))
                    return failed();
                row[i] = indicator == SQL_NULL_DATA ? QVariant(nullType) : fromTimestamp(ts);
                break;
            }
            case Kind::Binary: {
                QByteArray bytes;
                char buffer[8192];
                for (;;) {
                    rc = SQLGetData(stmt_, number, SQL_C_BINARY, buffer, sizeof buffer, &indicator);
                    if (rc == SQL_NO_DATA)
                        break;
                    if (!succeeded(rc))
                        return failed();
                    if (indicator == SQL_NULL_DATA)
                        break;
                    const bool more =
                        rc == SQL_SUCCESS_WITH_INFO &&
                        (indicator == SQL_NO_TOTAL || indicator > SQLLEN(sizeof buffer));
                    bytes.append(buffer, more ? qsizetype(sizeof buffer) : qsizetype(indicator));
                    if (!more)
                        break;
                }
                row[i] = indicator == SQL_NULL_DATA ? QVariant(nullType) : QVariant(bytes);
                break;
            }
            default: {
                QString text;
                SQLWCHAR buffer[4096];
                constexpr SQLLEN room = SQLLEN(sizeof buffer - sizeof(SQLWCHAR));
                for (;;) {
                    rc = SQLGetData(stmt_, number, SQL_C_WCHAR, buffer, sizeof buffer, &indicator);
                    if (rc == SQL_NO_DATA)
                        break;
                    if (!succeeded(rc))
                        return failed();
                    if (indicator == SQL_NULL_DATA)
                        break;
                    const bool more = rc == SQL_SUCCESS_WITH_INFO &&
                                      (indicator == SQL_NO_TOTAL || indicator > room);
                    const SQLLEN bytes = more ? room : indicator;
                    text.append(QStringView(reinterpret_cast<const char16_t*>(buffer),
                                            qsizetype(bytes / SQLLEN(sizeof(SQLWCHAR)))));
                    if (!more)
                        break;
                }
                row[i] = indicator == SQL_NULL_DATA ? QVariant(nullType) : QVariant(text);
                break;
            }
        }
    }
    return true;
}

OdbcResultSet::Fetched OdbcResultSet::fetchLive(Result& result, Row& row) {
    const SQLRETURN rc = SQLFetch(stmt_);
    if (rc == SQL_NO_DATA) {
        result.live = false;
        // The end of the rows may come with the errors of the statements after them.
        if (keepFailure(rc, QStringLiteral("SQLFetch")))
            endBatch();
        return Fetched::End;
    }
    const size_t before = errors_.size();
    bool stop = false;
    if (rc != SQL_SUCCESS)
        stop = keepFailure(rc, QStringLiteral("SQLFetch"));
    if (succeeded(rc) && !stop && readRow(result, row))
        return Fetched::Row;
    // The rows broke off: the result ends here, with the error that ended it.
    result.live = false;
    if (errors_.size() == before)
        keep({}, SQL_ERROR, QStringLiteral("SQLFetch"));
    result.cutBy = errors_.size() - 1;
    if (stop)
        endBatch();
    return Fetched::Cut;
}

void OdbcResultSet::raiseUpTo(size_t end) {
    const std::vector<DbError> raised(errors_.begin() + qsizetype(taken_),
                                      errors_.begin() + qsizetype(end));
    taken_ = end;
    data::raiseBatchErrors(raised);
    throw DbError(QStringLiteral("The batch failed."));  // not reached: `raised` is not empty
}

const std::vector<data::ColumnInfo>& OdbcResultSet::columns() const {
    static const std::vector<data::ColumnInfo> none;
    return current_ ? current_->columns : none;
}

bool OdbcResultSet::fetch(std::vector<QVariant>& row) {
    if (!current_)
        return false;
    Result& result = *current_;
    if (result.live) {
        switch (fetchLive(result, row)) {
            case Fetched::Row:
                return true;
            case Fetched::End:
                // Walk on to the next result now, so that a failed statement after this one
                // is known to whoever read these rows to their end.
                if (queue_.empty())
                    advance();
                return false;
            case Fetched::Cut:
                raiseUpTo(*result.cutBy + 1);
        }
    }
    if (!result.rows.empty()) {
        row = std::move(result.rows.front());
        result.rows.pop_front();
        return true;
    }
    // A result cut short by an error is never reported as complete.
    if (result.cutBy && taken_ <= *result.cutBy)
        raiseUpTo(*result.cutBy + 1);
    return false;
}

bool OdbcResultSet::nextResult() {
    // Unread rows of a live result are passed over by SQLMoreResults.
    current_.reset();
    if (queue_.empty())
        advance();
    if (queue_.empty()) {
        if (taken_ < errors_.size())
            raiseUpTo(errors_.size());
        return false;
    }
    current_ = std::move(queue_.front());
    queue_.pop_front();
    rowsAffected_ = current_->rowsAffected;
    return true;
}

std::vector<DbError> OdbcResultSet::takeErrors(ErrorScope scope) {
    const size_t upTo = current_ && scope == ErrorScope::BeforeCurrentResult
                            ? current_->errorsBefore
                            : errors_.size();
    std::vector<DbError> out;
    for (; taken_ < upTo; ++taken_)
        out.push_back(errors_[taken_]);
    return out;
}

void OdbcResultSet::bufferRest() {
    auto drain = [this](Result& result) {
        Row row;
        while (result.live && fetchLive(result, row) == Fetched::Row)
            result.rows.push_back(std::move(row));
    };
    if (current_)
        drain(*current_);
    for (Result& result : queue_)
        drain(result);
    while (advance())
        drain(queue_.back());
    closeStatement();
}

}  // namespace md::odbc
