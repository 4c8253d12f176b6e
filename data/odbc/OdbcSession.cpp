#include "data/odbc/OdbcSession.h"

#include "data/backend/Decimal.h"
#include "data/backend/SqlLexer.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cstring>
#include <limits>

namespace md::odbc {

using data::DbError;
using data::UsageError;

namespace {

enum class Kind { Integer, Real, Text, DateTime, Binary, Unknown };

Kind kindOfMeta(int type) {
    switch (type) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
            return Kind::Integer;
        case QMetaType::Double:
        case QMetaType::Float:
            return Kind::Real;
        case QMetaType::QString:
        case QMetaType::QChar:
            return Kind::Text;
        case QMetaType::QDateTime:
        case QMetaType::QDate:
            return Kind::DateTime;
        case QMetaType::QByteArray:
            return Kind::Binary;
        default:
            return Kind::Unknown;
    }
}

Kind kindOfSql(SQLSMALLINT type) {
    switch (type) {
        case SQL_BIT:
        case SQL_TINYINT:
        case SQL_SMALLINT:
        case SQL_INTEGER:
        case SQL_BIGINT:
            return Kind::Integer;
        case SQL_REAL:
        case SQL_FLOAT:
        case SQL_DOUBLE:
        case SQL_NUMERIC:
        case SQL_DECIMAL:
            return Kind::Real;
        case SQL_TYPE_DATE:
        case SQL_TYPE_TIMESTAMP:
        case SQL_DATE:
        case SQL_TIMESTAMP:
            return Kind::DateTime;
        case SQL_BINARY:
        case SQL_VARBINARY:
        case SQL_LONGVARBINARY:
            return Kind::Binary;
        default:  // character types, GUIDs, times and anything else read as text
            return Kind::Text;
    }
}

QMetaType::Type metaOf(Kind kind) {
    switch (kind) {
        case Kind::Integer:
            return QMetaType::LongLong;
        case Kind::Real:
            return QMetaType::Double;
        case Kind::DateTime:
            return QMetaType::QDateTime;
        case Kind::Binary:
            return QMetaType::QByteArray;
        default:
            return QMetaType::QString;
    }
}

constexpr int kDefaultTextOutput = 4000;    // characters
constexpr int kDefaultBinaryOutput = 8000;  // bytes

// One bound parameter. The buffer stays where it is until the statement no longer needs it.
struct ParamBuffer {
    SQLSMALLINT io = SQL_PARAM_INPUT;
    SQLSMALLINT cType = SQL_C_CHAR;
    SQLSMALLINT sqlType = SQL_VARCHAR;
    SQLULEN columnSize = 1;
    SQLSMALLINT digits = 0;
    std::vector<char> data = std::vector<char>(1, '\0');
    SQLLEN indicator = SQL_NULL_DATA;
    Kind kind = Kind::Unknown;
    QString name;  // of a procedure parameter, for messages
};

SQL_TIMESTAMP_STRUCT toTimestamp(const QDateTime& value) {
    SQL_TIMESTAMP_STRUCT ts{};
    const QDate d = value.date();
    const QTime t = value.time();
    ts.year = SQLSMALLINT(d.year());
    ts.month = SQLUSMALLINT(d.month());
    ts.day = SQLUSMALLINT(d.day());
    ts.hour = SQLUSMALLINT(t.hour());
    ts.minute = SQLUSMALLINT(t.minute());
    ts.second = SQLUSMALLINT(t.second());
    ts.fraction = SQLUINTEGER(t.msec()) * 1000000u;
    return ts;
}

QVariant fromTimestamp(const SQL_TIMESTAMP_STRUCT& ts) {
    const QDate date(ts.year, ts.month, ts.day);
    if (!date.isValid())
        return QVariant(QMetaType(QMetaType::QDateTime));
    return QDateTime(date, QTime(ts.hour, ts.minute, ts.second, int(ts.fraction / 1000000u)));
}

// Describes `value` as a parameter. For an output, `outType` and `outSize` shape the buffer
// the server writes into.
void prepareParam(ParamBuffer& p, const QVariant& value, bool output, int outType, int outSize) {
    const bool null = !value.isValid() || value.isNull();
    int type = value.isValid() ? value.metaType().id() : QMetaType::UnknownType;
    if (output && outType != QMetaType::UnknownType)
        type = outType;
    Kind kind = kindOfMeta(type);
    if (kind == Kind::Unknown) {
        if (null && output) {
            kind = Kind::Text;
        } else if (!null) {
            if (!value.canConvert<QString>()) {
                throw UsageError(QStringLiteral("A value of type %1 cannot be sent to the server.")
                                     .arg(QString::fromLatin1(value.metaType().name())));
            }
            kind = Kind::Text;
        }
    }
    p.kind = kind;
    p.io = output ? SQL_PARAM_INPUT_OUTPUT : SQL_PARAM_INPUT;

    switch (kind) {
        case Kind::Integer: {
            const qint64 v = null ? 0 : value.toLongLong();
            p.cType = SQL_C_SBIGINT;
            const bool small =
                v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max();
            p.sqlType = small ? SQL_INTEGER : SQL_BIGINT;
            p.columnSize = small ? 10 : 19;
            p.data.assign(sizeof(qint64), '\0');
            std::memcpy(p.data.data(), &v, sizeof v);
            p.indicator = null ? SQL_NULL_DATA : SQLLEN(sizeof v);
            break;
        }
        case Kind::Real: {
            const double v = null ? 0.0 : value.toDouble();
            p.cType = SQL_C_DOUBLE;
            p.sqlType = SQL_DOUBLE;
            p.columnSize = 15;
            p.data.assign(sizeof(double), '\0');
            std::memcpy(p.data.data(), &v, sizeof v);
            p.indicator = null ? SQL_NULL_DATA : SQLLEN(sizeof v);
            break;
        }
        case Kind::Text: {
            const QString text = null ? QString() : value.toString();
            qsizetype capacity = text.size();
            if (output)
                capacity = qMax<qsizetype>(capacity, outSize > 0 ? outSize : kDefaultTextOutput);
            p.cType = SQL_C_WCHAR;
            p.columnSize = SQLULEN(qMax<qsizetype>(capacity, 1));
            p.sqlType = p.columnSize > 4000 ? SQL_WLONGVARCHAR : SQL_WVARCHAR;
            p.data.assign(size_t(capacity + 1) * sizeof(char16_t), '\0');
            std::memcpy(p.data.data(), text.utf16(), size_t(text.size()) * sizeof(char16_t));
            p.indicator = null ? SQL_NULL_DATA : SQLLEN(text.size() * sizeof(char16_t));
            break;
        }
        case Kind::DateTime: {
            const QDateTime v = null ? QDateTime()
                                     : (type == QMetaType::QDate ? value.toDate().startOfDay()
                                                                 : value.toDateTime());
            const SQL_TIMESTAMP_STRUCT ts = v.isValid() ? toTimestamp(v) : SQL_TIMESTAMP_STRUCT{};
            p.cType = SQL_C_TYPE_TIMESTAMP;
            p.sqlType = SQL_TYPE_TIMESTAMP;
            p.columnSize = 23;
            p.digits = 3;
            p.data.assign(sizeof ts, '\0');
            std::memcpy(p.data.data(), &ts, sizeof ts);
            p.indicator = v.isValid() ? SQLLEN(sizeof ts) : SQL_NULL_DATA;
            break;
        }
        case Kind::Binary: {
            const QByteArray bytes = null ? QByteArray() : value.toByteArray();
            qsizetype capacity = bytes.size();
            if (output)
                capacity = qMax<qsizetype>(capacity, outSize > 0 ? outSize : kDefaultBinaryOutput);
            p.cType = SQL_C_BINARY;
            p.columnSize = SQLULEN(qMax<qsizetype>(capacity, 1));
            p.sqlType = p.columnSize > 8000 ? SQL_LONGVARBINARY : SQL_VARBINARY;
            p.data.assign(size_t(qMax<qsizetype>(capacity, 1)), '\0');
            if (!bytes.isEmpty())
                std::memcpy(p.data.data(), bytes.constData(), size_t(bytes.size()));
            p.indicator = null ? SQL_NULL_DATA : SQLLEN(bytes.size());
            break;
        }
        case Kind::Unknown:  // an untyped NULL
            break;
    }
}

SQLRETURN bindParam(SQLHSTMT stmt, SQLUSMALLINT number, ParamBuffer& p) {
    return SQLBindParameter(stmt, number, p.io, p.cType, p.sqlType, p.columnSize, p.digits,
                            p.data.data(), SQLLEN(p.data.size()), &p.indicator);
}

DbError truncatedOutput(const ParamBuffer& p) {
    return DbError(QStringLiteral("String data, right truncated: the output parameter %1 holds "
                                  "more than its buffer of %2.")
                       .arg(p.name)
                       .arg(p.columnSize),
                   0, QStringLiteral("22001"), data::ErrorCategory::Conversion);
}

QVariant readOutput(const ParamBuffer& p, int outType) {
    if (p.indicator == SQL_NULL_DATA) {
        return QVariant(QMetaType(outType != QMetaType::UnknownType ? outType : metaOf(p.kind)));
    }
    switch (p.kind) {
        case Kind::Integer: {
            qint64 v = 0;
            std::memcpy(&v, p.data.data(), sizeof v);
            return qlonglong(v);
        }
        case Kind::Real: {
            double v = 0;
            std::memcpy(&v, p.data.data(), sizeof v);
            return v;
        }
        case Kind::DateTime: {
            SQL_TIMESTAMP_STRUCT ts{};
            std::memcpy(&ts, p.data.data(), sizeof ts);
            return fromTimestamp(ts);
        }
        case Kind::Binary:
            if (p.indicator == SQL_NO_TOTAL || size_t(p.indicator) > p.data.size())
                throw truncatedOutput(p);
            return QByteArray(p.data.data(), qsizetype(p.indicator));
        default: {
            const size_t room = p.data.size() - sizeof(char16_t);
            if (p.indicator == SQL_NO_TOTAL || size_t(p.indicator) > room)
                throw truncatedOutput(p);
            return QString::fromUtf16(reinterpret_cast<const char16_t*>(p.data.data()),
                                      qsizetype(p.indicator) / 2);
        }
    }
}

// Names the program may pass as a procedure or parameter name: identifiers, optionally
// bracketed and dotted. Anything else would be text joined into the statement.
bool isProcedureName(const QString& name) {
    static const QRegularExpression re(QStringLiteral(
        R"(^(?:\[[^\]]+\]|[\p{L}_#][\p{L}\p{N}_#$@]*)(?:\.(?:\[[^\]]+\]|[\p{L}_#][\p{L}\p{N}_#$@]*)){0,3}$)"));
    return re.match(name).hasMatch();
}

bool isParameterName(const QString& name) {
    static const QRegularExpression re(QStringLiteral(R"(^@[\p{L}_#][\p{L}\p{N}_#$@]*$)"));
    return re.match(name).hasMatch();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Link

Link::~Link() {
    if (dbc) {
        if (connected)
            SQLDisconnect(dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    }
    if (env)
        SQLFreeHandle(SQL_HANDLE_ENV, env);
}

void Link::releaseActive() {
    if (active)
        active->bufferRest();
    active = nullptr;
}

DbError Link::error(SQLSMALLINT type, SQLHANDLE handle, SQLRETURN rc, const QString& what) {
    DbError e = errorFrom(type, handle, rc, what);
    // The SQLite driver reports every failure as HY000 with SQLite's own result code.
    if (sqlite && e.category() == data::ErrorCategory::Other && e.nativeError() == 19)
        return DbError(e.message(), e.nativeError(), e.sqlState(), data::ErrorCategory::Constraint);
    return e;
}

Sent Link::send(const StatementPiece& piece) {
    SQLHSTMT stmt = nullptr;
    SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    if (!succeeded(rc))
        throw error(SQL_HANDLE_DBC, dbc, rc, QStringLiteral("SQLAllocHandle"));

    std::vector<ParamBuffer> buffers(piece.params.size());
    try {
        for (size_t i = 0; i < piece.params.size(); ++i) {
            prepareParam(buffers[i], piece.params[i], false, QMetaType::UnknownType, -1);
            rc = bindParam(stmt, SQLUSMALLINT(i + 1), buffers[i]);
            if (!succeeded(rc))
                throw error(SQL_HANDLE_STMT, stmt, rc, QStringLiteral("SQLBindParameter"));
        }
    } catch (...) {
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        throw;
    }
    Sent sent{stmt, execDirect(stmt, piece.sql), {}};
    // The answer is read before the parameters are let go: every later call clears it.
    sent.records = diagnostics(SQL_HANDLE_STMT, stmt, dialect);
    // The values have been sent; the buffers go with this scope.
    SQLFreeStmt(stmt, SQL_RESET_PARAMS);
    return sent;
}

// ---------------------------------------------------------------------------------------------
// OdbcResultSet
//
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

// ---------------------------------------------------------------------------------------------
// OdbcSession

OdbcSession::OdbcSession(std::shared_ptr<Link> link, QString database)
    : link_(std::move(link)), database_(std::move(database)) {}

OdbcSession::~OdbcSession() {
    if (!inTransaction_)
        return;
    // Work never committed is rolled back, never left to the driver's mercy.
    link_->releaseActive();
    SQLEndTran(SQL_HANDLE_DBC, link_->dbc, SQL_ROLLBACK);
    SQLSetConnectAttr(link_->dbc, SQL_ATTR_AUTOCOMMIT, SQLPOINTER(SQL_AUTOCOMMIT_ON), 0);
}

data::BackendQuirks OdbcSession::quirks() const {
    data::BackendQuirks quirks;
    quirks.outputParameters = !link_->sqlite;
    return quirks;
}

std::unique_ptr<data::ResultSet> OdbcSession::execute(const QString& sql,
                                                      const std::vector<QVariant>& params) {
    link_->releaseActive();
    return std::make_unique<OdbcResultSet>(link_, splitBatch(sql, params, link_->sqlite));
}

int OdbcSession::callProcedure(const QString& name, std::vector<data::ProcParam>& params) {
    if (!isProcedureName(name))
        throw UsageError(QStringLiteral("\"%1\" is not a stored procedure name.").arg(name));
    link_->releaseActive();

    // FreeTDS binds by position, so the parameter names go into the text.
    QStringList arguments;
    std::vector<ParamBuffer> buffers(params.size() + 1);
    prepareParam(buffers[0], QVariant(), true, QMetaType::LongLong, -1);
    buffers[0].io = SQL_PARAM_OUTPUT;
    buffers[0].name = QStringLiteral("RETURN_VALUE");
    for (size_t i = 0; i < params.size(); ++i) {
        const data::ProcParam& param = params[i];
        const QString paramName = param.name.startsWith(u'@') ? param.name : u'@' + param.name;
        if (!isParameterName(paramName))
            throw UsageError(QStringLiteral("\"%1\" is not a parameter name.").arg(param.name));
        arguments << paramName + QStringLiteral(" = ?") +
                         (param.output ? QStringLiteral(" OUTPUT") : QString());
        ParamBuffer& buffer = buffers[i + 1];
        prepareParam(buffer, param.value, param.output, param.type, param.size);
        buffer.name = paramName;
    }
    QString sql = QStringLiteral("EXEC ? = ") + name;
    if (!arguments.isEmpty())
        sql += u' ' + arguments.join(QStringLiteral(", "));

    SQLHSTMT stmt = nullptr;
    SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_STMT, link_->dbc, &stmt);
    if (!succeeded(rc))
        throw link_->error(SQL_HANDLE_DBC, link_->dbc, rc, QStringLiteral("SQLAllocHandle"));
    struct Guard {
        SQLHSTMT h;
        ~Guard() { SQLFreeHandle(SQL_HANDLE_STMT, h); }
    } guard{stmt};
    auto failed = [&](const QString& what) { throw link_->error(SQL_HANDLE_STMT, stmt, rc, what); };

    for (size_t i = 0; i < buffers.size(); ++i) {
        rc = bindParam(stmt, SQLUSMALLINT(i + 1), buffers[i]);
        if (!succeeded(rc))
            failed(QStringLiteral("SQLBindParameter"));
    }
    rc = execDirect(stmt, sql);
    if (!succeeded(rc) && rc != SQL_NO_DATA)
        failed(QStringLiteral("SQLExecDirect"));

    // Outputs arrive with the last packet of the call: every result is read to its end first.
    if (rc != SQL_NO_DATA) {
        for (;;) {
            SQLSMALLINT count = 0;
            rc = SQLNumResultCols(stmt, &count);
            if (!succeeded(rc))
                failed(QStringLiteral("SQLNumResultCols"));
            if (count > 0) {
                while ((rc = SQLFetch(stmt)) != SQL_NO_DATA) {
                    if (!succeeded(rc))
                        failed(QStringLiteral("SQLFetch"));
                }
            }
            rc = SQLMoreResults(stmt);
            if (rc == SQL_NO_DATA)
                break;
            if (!succeeded(rc))
                failed(QStringLiteral("SQLMoreResults"));
        }
    }

    for (size_t i = 0; i < params.size(); ++i) {
        if (params[i].output)
            params[i].value = readOutput(buffers[i + 1], params[i].type);
    }
    const QVariant result = readOutput(buffers[0], QMetaType::LongLong);
    return result.isNull() ? 0 : int(result.toLongLong());
}

void OdbcSession::beginTransaction() {
    if (inTransaction_)
        throw UsageError(QStringLiteral("A transaction is already open."));
    link_->releaseActive();
    const SQLRETURN rc =
        SQLSetConnectAttr(link_->dbc, SQL_ATTR_AUTOCOMMIT, SQLPOINTER(SQL_AUTOCOMMIT_OFF), 0);
    if (!succeeded(rc))
        throw link_->error(SQL_HANDLE_DBC, link_->dbc, rc, QStringLiteral("SQLSetConnectAttr"));
    inTransaction_ = true;
}

void OdbcSession::endTransaction(SQLSMALLINT completion) {
    if (!inTransaction_)
        throw UsageError(QStringLiteral("No transaction is open."));
    link_->releaseActive();
    SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, link_->dbc, completion);
    std::optional<DbError> error;
    if (!succeeded(rc)) {
        error = link_->error(SQL_HANDLE_DBC, link_->dbc, rc, QStringLiteral("SQLEndTran"));
        // A commit that failed leaves nothing half done behind it.
        if (completion == SQL_COMMIT)
            SQLEndTran(SQL_HANDLE_DBC, link_->dbc, SQL_ROLLBACK);
    }
    inTransaction_ = false;
    rc = SQLSetConnectAttr(link_->dbc, SQL_ATTR_AUTOCOMMIT, SQLPOINTER(SQL_AUTOCOMMIT_ON), 0);
    if (!error && !succeeded(rc))
        error = link_->error(SQL_HANDLE_DBC, link_->dbc, rc, QStringLiteral("SQLSetConnectAttr"));
    if (error)
        throw *error;
}

void OdbcSession::commit() {
    endTransaction(SQL_COMMIT);
}
void OdbcSession::rollback() {
    endTransaction(SQL_ROLLBACK);
}

// ---------------------------------------------------------------------------------------------

std::deque<StatementPiece> splitBatch(const QString& sql, const std::vector<QVariant>& params,
                                      bool split) {
    std::deque<StatementPiece> pieces;
    if (!split) {
        pieces.push_back({sql, params});
        return pieces;
    }
    const data::SqlLexer lexer(sql, data::LexOptions{.parameters = false});
    size_t used = 0;
    int begin = -1;  // first and end of the last meaningful token of the current statement
    int end = -1;
    size_t placeholders = 0;
    // The SQLite driver refuses a statement followed by anything, a comment included, so a
    // piece runs from its first meaningful token to its last.
    auto close = [&] {
        if (begin >= 0) {
            if (used + placeholders > params.size())
                placeholders = params.size() - used;
            std::vector<QVariant> values(params.begin() + qsizetype(used),
                                         params.begin() + qsizetype(used + placeholders));
            pieces.push_back({sql.mid(begin, end - begin), std::move(values)});
            used += placeholders;
        }
        begin = end = -1;
        placeholders = 0;
    };
    for (const data::Token& token : lexer.tokens()) {
        if (token.kind == data::TokenKind::Punct && sql.at(token.begin) == u';') {
            close();
            continue;
        }
        if (data::isTrivia(token.kind))
            continue;
        if (begin < 0)
            begin = token.begin;
        end = token.begin + token.length;
        if (token.kind == data::TokenKind::Placeholder)
            ++placeholders;
    }
    close();
    if (pieces.empty()) {
        pieces.push_back({sql, params});
    } else if (used < params.size()) {
        // More values than placeholders: the driver reports the mismatch on the last statement.
        for (size_t i = used; i < params.size(); ++i)
            pieces.back().params.push_back(params[i]);
    }
    return pieces;
}

}  // namespace md::odbc
