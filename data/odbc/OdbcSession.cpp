#include "data/odbc/OdbcSession.h"

#include "data/backend/SqlLexer.h"
#include "data/odbc/OdbcResultSet.h"
#include "data/odbc/OdbcValues.h"

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
    if (sqlite && e.category() == data::ErrorCategory::Other && e.nativeError() == 19) {
        DbError constraint(e.message(), e.nativeError(), e.sqlState(),
                           data::ErrorCategory::Constraint);
        constraint.setLevel(e.level());
        constraint.setState(e.state());
        return constraint;
    }
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
    // Outputs arrive with the last packet of the call: every result is read to its end first.
    // As in any batch, the call goes on after a statement of the procedure failed; its errors
    // are raised when it is over, the first with the others on it.
    std::vector<DbError> errors;
    auto keep = [&](const QString& what) {
        std::vector<DbError> found =
            errorsOf(diagnostics(SQL_HANDLE_STMT, stmt, link_->dialect), link_->sqlite);
        if (found.empty() && !succeeded(rc) && rc != SQL_NO_DATA)
            found.push_back(link_->error(SQL_HANDLE_STMT, stmt, rc, what));
        bool stop = false;
        for (DbError& e : found) {
            stop = stop || endsTheWalk(e);
            errors.push_back(std::move(e));
        }
        return stop;
    };
    rc = execDirect(stmt, sql);
    bool stop = keep(QStringLiteral("SQLExecDirect"));
    while (!stop) {
        if (succeeded(rc)) {
            SQLSMALLINT count = 0;
            rc = SQLNumResultCols(stmt, &count);
            if (!succeeded(rc)) {
                keep(QStringLiteral("SQLNumResultCols"));
                break;
            }
            while (count > 0 && !stop) {
                rc = SQLFetch(stmt);
                if (rc == SQL_SUCCESS)
                    continue;
                stop = keep(QStringLiteral("SQLFetch"));
                if (rc != SQL_SUCCESS_WITH_INFO)
                    break;
            }
        } else if (rc != SQL_ERROR && rc != SQL_NO_DATA) {
            break;
        }
        if (stop)
            break;
        rc = SQLMoreResults(stmt);
        stop = keep(QStringLiteral("SQLMoreResults"));
        if (rc == SQL_NO_DATA)
            break;
    }
    data::raiseBatchErrors(errors);

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
