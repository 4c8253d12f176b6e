#include "data/embedded/BatchRunner.h"

#include "data/backend/Decimal.h"
#include "data/embedded/DdlTranslator.h"
#include "data/embedded/EngineConventions.h"
#include "data/embedded/ErrorMapping.h"
#include "data/embedded/FulltextIndex.h"
#include "data/embedded/ProcedureRegistry.h"
#include "data/embedded/SqliteUtil.h"
#include "data/embedded/Transactions.h"
#include "data/embedded/TranslatorBridge.h"

#include <QDateTime>

namespace md::embedded {
namespace {

using data::TokenKind;
using namespace Qt::StringLiterals;

QDateTime parseStoredDateTime(const QString& s) {
    QDateTime dt = QDateTime::fromString(s, kDateTimeStorageFormat);
    if (!dt.isValid())
        dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid())
        dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd"));
    if (!dt.isValid())
        dt = QDateTime::fromString(s, Qt::ISODateWithMs);
    return dt;
}

bool looksStoredDateTime(const QString& s) {
    return s.size() == kDateTimeStorageFormat.size() && parseStoredDateTime(s).isValid();
}

// Scale of a decimal or money column type, -1 for any other type.
int scaleOf(const tsql::ColumnType& t) {
    if (t.type == tsql::SqlType::Money)
        return 4;
    if (t.type == tsql::SqlType::Decimal)
        return std::max(t.scale, 0);
    return -1;
}

int precisionOf(const tsql::ColumnType& t) {
    if (t.type == tsql::SqlType::Money)
        return t.precision > 0 ? t.precision : 19;
    return t.type == tsql::SqlType::Decimal ? (t.precision > 0 ? t.precision : 18) : -1;
}

// A value of a column with a scale as data::Decimal at that scale; nullopt when the stored
// value is not a number.
std::optional<data::Decimal> decimalValue(sqlite3_stmt* stmt, int i, int storage, int scale) {
    std::optional<data::Decimal> d;
    if (storage == SQLITE_INTEGER) {
        d = data::Decimal::fromInteger(sqlite3_column_int64(stmt, i));
    } else if (storage == SQLITE_FLOAT) {
        d = data::Decimal::fromDouble(sqlite3_column_double(stmt, i));
    } else if (storage == SQLITE_TEXT) {
        // A decimal column keeps its exact text at its scale.
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
        d = data::Decimal::parseLatin1(
            std::string_view(text, size_t(sqlite3_column_bytes(stmt, i))), true);
    }
    if (d && d->scale() == scale)
        return d;
    return d ? d->rescaled(scale) : std::nullopt;
}

QVariant readValue(sqlite3_stmt* stmt, int i, QMetaType::Type type, int scale = -1) {
    const int storage = sqlite3_column_type(stmt, i);
    if (storage == SQLITE_NULL) {
        return type == QMetaType::UnknownType ? QVariant() : QVariant(QMetaType(type));
    }
    if (scale >= 0) {
        if (const auto d = decimalValue(stmt, i, storage, scale))
            return QVariant::fromValue(*d);
    }
    auto text = [&] {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                                 sqlite3_column_bytes(stmt, i));
    };
    switch (type) {
        case QMetaType::QDateTime: {
            if (storage == SQLITE_TEXT) {
                const QDateTime dt = parseStoredDateTime(text());
                if (dt.isValid())
                    return dt;
                return text();
            }
            break;
        }
        case QMetaType::LongLong:
            if (storage == SQLITE_INTEGER)
                return qlonglong(sqlite3_column_int64(stmt, i));
            if (storage == SQLITE_FLOAT)
                return sqlite3_column_double(stmt, i);
            break;
        case QMetaType::Double:
            if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT) {
                return sqlite3_column_double(stmt, i);
            }
            break;
        case QMetaType::QString:
            if (storage != SQLITE_BLOB)
                return text();
            break;
        default:
            break;
    }
    switch (storage) {
        case SQLITE_INTEGER:
            return qlonglong(sqlite3_column_int64(stmt, i));
        case SQLITE_FLOAT:
            return sqlite3_column_double(stmt, i);
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, i)),
                              sqlite3_column_bytes(stmt, i));
        default:
            return text();
    }
}

// readValue into `cell`. The cells of most rows are written over the cell of the row before,
// in place: a text keeps its buffer and an integer its QVariant, so that a row is read without
// an allocation or a QVariant built and thrown away. Their value is asked of the statement once
// (sqlite3_column_value): every sqlite3_column_* call checks the column and the connection's
// error state again. The value is one SQLite calls unprotected, which only matters when two
// threads share a handle; the engine's handles are opened without a mutex and used by one.
void readCell(QVariant& cell, sqlite3_stmt* stmt, int i, QMetaType::Type type, int scale) {
    if (scale < 0 && (type == QMetaType::QString || type == QMetaType::LongLong) &&
        cell.metaType().id() == type && !cell.isNull()) {
        sqlite3_value* value = sqlite3_column_value(stmt, i);
        const int storage = sqlite3_value_type(value);
        if (type == QMetaType::QString && storage == SQLITE_TEXT) {
            // The text first, then its length: the order SQLite answers without converting.
            const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
            assignUtf8(*static_cast<QString*>(cell.data()),
                       QByteArrayView(text, sqlite3_value_bytes(value)));
            return;
        }
        if (type == QMetaType::LongLong && storage == SQLITE_INTEGER) {
            cell.setValue(qlonglong(sqlite3_value_int64(value)));
            return;
        }
    }
    cell = readValue(stmt, i, type, scale);
}

bool endsOnlyTheStatement(const data::DbError& e) {
    switch (e.nativeError()) {
        case 2627:  // duplicate key
        case 2601:  // duplicate key in a unique index
        case 515:   // NULL into NOT NULL
        case 547:   // reference conflict
        case 8152:  // text too long
        // Arithmetic errors end only their statement while ANSI_WARNINGS is ON, as every ODBC
        // connection has it: overflows and division by zero.
        case 8115:
        case 220:
        case 8134:
            return true;
        default:
            return false;
    }
}

bool isStatement(OpKind k) {
    return k == OpKind::Sql || k == OpKind::Exec || k == OpKind::SetVar ||
           k == OpKind::SelectAssign;
}

QString varKey(const QString& name) {
    return (name.startsWith(u'@') ? name : u'@' + name).toLower();
}

}  // namespace

// ---- Cursor

void Cursor::unregister() {
    if (conn)
        conn->removeReader(this);
    conn = nullptr;
}

void Cursor::detach() {
    try {
        bufferAll();
    } catch (const data::DbError& e) {
        failure = e;
    }
    stmt.release();
    unregister();
}

void Cursor::step() {
    const int rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_ROW) {
        pending = true;
        ++rowsStepped;
        return;
    }
    pending = false;
    done = true;
    // The SELECT is over: @@ROWCOUNT is the number of rows it returned.
    if (rc == SQLITE_DONE && conn)
        conn->lastRowCount = rowsStepped;
    if (rc != SQLITE_DONE) {
        data::DbError e = mapSqliteError(db, rc);
        stmt.release();
        unregister();
        throw e;
    }
    stmt.release();
    unregister();
}

void Cursor::readRow(std::vector<QVariant>& row) const {
    const size_t n = columns.size();
    row.resize(n);
    sqlite3_stmt* const s = stmt.get();
    for (size_t i = 0; i < n; ++i)
        readCell(row[i], s, int(i), columns[i].type, columns[i].scale);
}

bool Cursor::fetch(std::vector<QVariant>& row) {
    if (!stmt.get()) {
        if (nextRow >= rows.size()) {
            if (failure) {
                const data::DbError e = *failure;
                failure.reset();
                throw e;
            }
            return false;
        }
        row = rows[nextRow++];
        return true;
    }
    if (!pending && !done)
        step();
    if (!pending)
        return false;
    readRow(row);
    pending = false;
    return true;
}

void Cursor::finish() {
    while (stmt.get() && !done)
        step();
}

void Cursor::bufferAll() {
    std::vector<QVariant> row;
    while (stmt.get()) {
        if (!pending && !done)
            step();
        if (!pending)
            break;
        readRow(row);
        rows.push_back(row);
        pending = false;
    }
}

// ---- BatchRunner

BatchRunner::BatchRunner(std::shared_ptr<Connection> conn, data::Session* session,
                         std::shared_ptr<const Program> program, std::vector<QVariant> params)
    : conn_(std::move(conn)),
      session_(session),
      program_(std::move(program)),
      params_(std::move(params)) {}

std::optional<tsql::ColumnType> BatchRunner::column(const QString& table,
                                                    const QString& column) const {
    return conn_->catalogue().columnType(table, column);
}

std::optional<tsql::ColumnType> BatchRunner::variable(const QString& name) const {
    auto it = vars_.find(varKey(name));
    if (it == vars_.end())
        return std::nullopt;
    return it->type;
}

std::vector<std::pair<QString, tsql::ColumnType>> BatchRunner::columns(const QString& table) const {
    std::vector<std::pair<QString, tsql::ColumnType>> out;
    if (const CatObject* t = conn_->catalogue().find(table)) {
        for (const CatColumn& c : t->columns)
            out.emplace_back(c.name, c.type);
    }
    return out;
}

std::optional<tsql::ContainsFilter> BatchRunner::containsFilter(const QString& source,
                                                                const QString& column,
                                                                const QString& pattern,
                                                                QChar escape) const {
    auto f = fulltextFilterFor(*conn_, source, column, pattern, escape);
    if (!f)
        return std::nullopt;
    readData_ = true;
    return tsql::ContainsFilter{f->column, f->condition};
}

std::optional<bool> BatchRunner::leadsIndex(const QString& table, const QString& column) const {
    const CatObject* t = conn_->catalogue().find(table);
    if (!t || t->xtype != u"U ")
        return std::nullopt;
    StmtLease probe = conn_->prepare(
        u"SELECT 1 FROM pragma_index_list(?1) AS l, pragma_index_info(l.name) AS i "
        "WHERE i.seqno = 0 AND i.name = ?2 COLLATE NOCASE"_s);
    bindValue(probe.get(), 1, t->name);
    bindValue(probe.get(), 2, column);
    const int rc = sqlite3_step(probe.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        return std::nullopt;
    return rc == SQLITE_ROW;
}

Variable& BatchRunner::var(const QString& name) {
    auto it = vars_.find(varKey(name));
    if (it == vars_.end()) {
        throw serverError(137,
                          QStringLiteral("Must declare the scalar variable \"%1\".").arg(name));
    }
    return *it;
}

void BatchRunner::assign(Variable& v, const QVariant& value) {
    QVariant x = value;
    if (!x.isNull() && scaleOf(v.type) >= 0) {
        // A decimal variable keeps its value exactly, rounded to its scale.
        std::optional<data::Decimal> d;
        if (x.metaType() == QMetaType::fromType<data::Decimal>())
            d = x.value<data::Decimal>();
        else if (x.typeId() == QMetaType::Double)
            d = data::Decimal::fromDouble(x.toDouble());
        else if (x.typeId() == QMetaType::LongLong || x.typeId() == QMetaType::Int)
            d = data::Decimal::fromInteger(x.toLongLong());
        else
            d = data::Decimal::parse(x.toString());
        if (!d) {
            throw serverError(8114,
                              QStringLiteral("Error converting data type varchar to numeric."),
                              kVarcharToNumericState);
        }
        const auto r = d->rescaled(scaleOf(v.type));
        if (!r || r->integerDigits() > precisionOf(v.type) - scaleOf(v.type)) {
            throw serverError(
                8115,
                QStringLiteral(
                    "Arithmetic overflow error converting numeric to data type numeric."),
                kNumericOverflowState);
        }
        v.value = QVariant::fromValue(*r);
        return;
    }
    if (!x.isNull() && v.type.type == tsql::SqlType::Text && v.type.length > 0) {
        x = x.toString().left(v.type.length);
    }
    if (x.isNull())
        x = QVariant(QMetaType(metaTypeOf(v.type.type)));
    v.value = x;
}

void BatchRunner::assign(Variable& v, sqlite3_stmt* stmt, int column) {
    assign(v, readValue(stmt, column, metaTypeOf(v.type.type), scaleOf(v.type)));
}

QString BatchRunner::variableSignature() const {
    QString key;
    for (auto it = vars_.cbegin(); it != vars_.cend(); ++it) {
        key += it.key() + u':' + QString::number(int(it->type.type)) + u':' +
               QString::number(it->type.length) + u',';
    }
    return key;
}

QString BatchRunner::prepared(const Op& op, const QString& text, bool expression,
                              const QString& wrapBefore, const QString& wrapAfter) {
    PreparedOp& p = op.prepared;
    const QString signature = vars_.isEmpty() ? QString() : variableSignature();
    if (p.valid && p.generation == conn_->generation() && p.variables == signature &&
        (!p.readsData || (!p.inTransaction && p.dataStamp == conn_->dataStamp())))
        return p.sql;
    std::vector<tsql::ColumnType> columns;
    readData_ = false;
    const QString sql =
        expression ? translateExpr(text, *this) : translateData(text, *this, &columns);
    p = PreparedOp{};
    p.readsData = readData_;
    p.dataStamp = readData_ ? conn_->dataStamp() : 0;
    p.inTransaction = readData_ && !sqlite3_get_autocommit(conn_->db());
    p.sql = wrapBefore + sql + wrapAfter;
    p.columns = std::move(columns);
    p.generation = conn_->generation();
    p.variables = signature;
    p.valid = true;
    return p.sql;
}

// Binds by index from a plan made once per translation: the k-th '?' of the operation takes
// the k-th value of its part of the batch, a variable its current value.
void BatchRunner::bindAll(sqlite3_stmt* stmt, const Op& op) {
    PreparedOp& p = op.prepared;
    const int count = sqlite3_bind_parameter_count(stmt);
    if (!p.planned || int(p.bindings.size()) != count) {
        p.bindings.assign(size_t(count), 0);
        p.names.clear();
        int positional = 0;
        for (int i = 1; i <= count; ++i) {
            const char* raw = sqlite3_bind_parameter_name(stmt, i);
            if (!raw || raw[0] == '?' || raw[0] == '\0') {
                p.bindings[size_t(i - 1)] = positional++;
            } else {
                p.names.push_back(QString::fromUtf8(raw));
                p.bindings[size_t(i - 1)] = -int(p.names.size());
            }
        }
        if (positional != op.placeholders) {
            throw data::DbError(QStringLiteral("The translated statement has %1 parameter "
                                               "markers where the statement has %2.")
                                    .arg(positional)
                                    .arg(op.placeholders),
                                0, QStringLiteral("07002"), data::ErrorCategory::Other);
        }
        p.planned = true;
    }
    if (op.paramBase + op.placeholders > int(params_.size())) {
        throw data::DbError(QStringLiteral("The statement has more parameter markers than "
                                           "values were given."),
                            0, QStringLiteral("07002"), data::ErrorCategory::Other);
    }
    for (int i = 0; i < count; ++i) {
        const int slot = p.bindings[size_t(i)];
        if (slot >= 0) {
            bindValue(stmt, i + 1, params_[size_t(op.paramBase + slot)]);
        } else {
            const QString& name = p.names[size_t(-1 - slot)];
            if (name.startsWith(u'@'))
                bindValue(stmt, i + 1, var(name).value);
        }
    }
}

QVariant BatchRunner::scalar(const QString& sql, const Op& op) {
    StmtLease lease = conn_->prepare(sql);
    bindAll(lease.get(), op);
    const int rc = sqlite3_step(lease.get());
    if (rc == SQLITE_ROW)
        return readValue(lease.get(), 0, QMetaType::UnknownType);
    if (rc != SQLITE_DONE)
        throw mapSqliteError(conn_->db(), rc);
    return {};
}

bool BatchRunner::condition(const Op& op) {
    const QString sql =
        op.exists ? prepared(op, op.text, false, QStringLiteral("SELECT EXISTS ("), u")"_s)
                  : prepared(op, op.text, true, QStringLiteral("SELECT CASE WHEN "),
                             QStringLiteral(" THEN 1 ELSE 0 END"));
    const bool value = scalar(sql, op).toLongLong() != 0;
    return op.negate ? !value : value;
}

void BatchRunner::selectAssign(const Op& op) {
    StmtLease lease = conn_->prepare(prepared(op, op.text, false));
    bindAll(lease.get(), op);
    std::vector<Variable*> targets;
    for (const auto& a : op.assigns)
        targets.push_back(&var(a.first));
    qint64 rows = 0;
    for (;;) {
        const int rc = sqlite3_step(lease.get());
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            throw mapSqliteError(conn_->db(), rc);
        ++rows;
        for (size_t i = 0; i < targets.size(); ++i)
            assign(*targets[i], lease.get(), int(i));
    }
    conn_->lastRowCount = rows;
}

void BatchRunner::exec(const Op& op) {
    TokenCursor c(op.text);
    c.next();  // EXEC / EXECUTE
    QString rcVar;
    if (c.peek().kind == TokenKind::Variable && c.isPunct('=', 1)) {
        rcVar = c.next().text.toString();
        c.next();
        var(rcVar);
    }
    const QString proc = c.identifier();
    const auto* decls = ProcedureRegistry::instance().parameters(proc);
    std::vector<data::ProcParam> args;
    std::vector<QString> outVars;
    int positional = 0;
    int placeholder = 0;  // the '?' markers of the call read so far
    while (!c.atEnd()) {
        data::ProcParam p;
        if (c.peek().kind == TokenKind::Variable && c.isPunct('=', 1)) {
            p.name = c.next().text.toString();
            c.next();
        } else if (decls && positional < int(decls->size())) {
            p.name = (*decls)[positional].name;
        } else {
            p.name = QStringLiteral("@%1").arg(positional + 1);
        }
        ++positional;
        QString outVar;
        const SqlToken& t = c.next();
        if (t.kind == TokenKind::Variable) {
            Variable& v = var(t.text.toString());
            p.value = v.value;
            p.type = metaTypeOf(v.type.type);
            p.size = v.type.length;
            outVar = t.text.toString();
        } else if (t.kind == TokenKind::String || t.kind == TokenKind::NString) {
            p.value = data::unquoteString(t.text);
        } else if (t.kind == TokenKind::Number ||
                   (t.text == u"-" && c.peek().kind == TokenKind::Number)) {
            const QString n =
                t.kind == TokenKind::Number ? t.text.toString() : u'-' + c.next().text.toString();
            bool ok = false;
            const qlonglong i = n.toLongLong(&ok);
            // A decimal argument keeps every digit; only a float literal is a double.
            const auto d = ok ? std::nullopt : data::Decimal::parse(n);
            p.value = ok ? QVariant(i) : d ? QVariant::fromValue(*d) : QVariant(n.toDouble());
        } else if (t.kind == TokenKind::Placeholder) {
            const int at = op.paramBase + placeholder++;
            p.value = at < int(params_.size()) ? params_[at] : QVariant();
        } else if (wordIs(t, "NULL")) {
            p.value = QVariant();
        } else if (wordIs(t, "DEFAULT")) {
            if (!c.acceptPunct(','))
                break;
            continue;
        } else {
            c.setPos(c.pos() - 1);
            c.syntaxError();
        }
        if (c.acceptWord("OUTPUT") || c.acceptWord("OUT")) {
            if (outVar.isEmpty())
                c.syntaxError();
            p.output = true;
        } else {
            outVar.clear();
        }
        args.push_back(p);
        outVars.push_back(outVar);
        if (!c.acceptPunct(','))
            break;
    }
    if (!c.atEnd())
        c.syntaxError();
    const int rc = ProcedureRegistry::instance().call(*session_, proc, args);
    for (size_t i = 0; i < args.size(); ++i) {
        if (!outVars[i].isEmpty())
            assign(var(outVars[i]), args[i].value);
    }
    if (!rcVar.isEmpty())
        assign(var(rcVar), QVariant(qlonglong(rc)));
}

std::unique_ptr<Cursor> BatchRunner::runSql(const Op& op) {
    StmtLease lease = conn_->prepare(prepared(op, op.text, false));
    sqlite3_stmt* stmt = lease.get();
    bindAll(stmt, op);
    if (sqlite3_column_count(stmt) > 0) {
        auto cur = std::make_unique<Cursor>();
        cur->db = conn_->db();
        cur->stmt = std::move(lease);
        cur->conn = conn_.get();
        conn_->addReader(cur.get());
        cur->step();  // the first row tells the types of computed columns
        const int n = sqlite3_column_count(stmt);
        for (int i = 0; i < n; ++i) {
            data::ColumnInfo ci;
            ci.name = QString::fromUtf8(sqlite3_column_name(stmt, i));
            const char* decl = sqlite3_column_decltype(stmt, i);
            const char* table = sqlite3_column_table_name(stmt, i);
            const char* origin = sqlite3_column_origin_name(stmt, i);
            std::optional<tsql::ColumnType> type;
            if (table && origin) {
                ci.baseTable = QString::fromUtf8(table);
                ci.baseColumn = QString::fromUtf8(origin);
                if (const CatObject* o = conn_->catalogue().find(ci.baseTable))
                    ci.baseTable = o->name;
                type = conn_->catalogue().columnType(ci.baseTable, ci.baseColumn);
            }
            if (!type && size_t(i) < op.prepared.columns.size() &&
                op.prepared.columns[size_t(i)].type != tsql::SqlType::Unknown)
                type = op.prepared.columns[size_t(i)];
            if (!type && decl)
                type = typeFromDecl(QString::fromUtf8(decl));
            if (!type && ci.name.startsWith(u'@'))
                type = variable(ci.name);
            if (type && type->type != tsql::SqlType::Unknown) {
                ci.type = metaTypeOf(type->type);
                if (type->type == tsql::SqlType::Text)
                    ci.size = type->length;
                ci.scale = scaleOf(*type);
                ci.precision = precisionOf(*type);
            } else if (cur->pending) {
                switch (sqlite3_column_type(stmt, i)) {
                    case SQLITE_INTEGER:
                        ci.type = QMetaType::LongLong;
                        break;
                    case SQLITE_FLOAT:
                        ci.type = QMetaType::Double;
                        break;
                    case SQLITE_BLOB:
                        ci.type = QMetaType::QByteArray;
                        break;
                    case SQLITE_TEXT: {
                        const QString s = QString::fromUtf8(
                            reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)));
                        ci.type =
                            looksStoredDateTime(s) ? QMetaType::QDateTime : QMetaType::QString;
                        break;
                    }
                    default:
                        ci.type = QMetaType::QString;
                        break;
                }
            } else {
                ci.type = QMetaType::QString;
            }
            cur->columns.push_back(ci);
        }
        return cur;
    }
    const bool own = sqlite3_get_autocommit(conn_->db()) != 0;
    std::optional<WriteScope> scope;
    if (own)
        scope.emplace(*conn_);
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw mapSqliteError(conn_->db(), rc);
    rowsAffected_ = sqlite3_changes(conn_->db());
    conn_->lastRowCount = rowsAffected_;
    if (!op.insertTarget.isEmpty()) {
        const CatObject* t = conn_->catalogue().find(op.insertTarget);
        if (t && t->identityColumn()) {
            if (rowsAffected_ > 0)
                conn_->identity = qlonglong(sqlite3_last_insert_rowid(conn_->db()));
        } else {
            conn_->identity = QVariant();
        }
    }
    lease.release();
    if (scope)
        scope->commit();
    return nullptr;
}

std::unique_ptr<Cursor> BatchRunner::next() {
    while (pc_ < program_->ops.size()) {
        const Op& op = program_->ops[pc_++];
        try {
            switch (op.kind) {
                case OpKind::Sql:
                    if (auto c = runSql(op)) {
                        conn_->lastError = 0;
                        return c;
                    }
                    break;
                case OpKind::Ddl: {
                    runDdl(*conn_, op.text, *this);
                    break;
                }
                case OpKind::Declare:
                    for (const auto& d : op.decls) {
                        Variable v{d.first, d.second.type,
                                   QVariant(QMetaType(metaTypeOf(d.second.type.type)))};
                        vars_.insert(varKey(d.first), v);
                    }
                    break;
                case OpKind::SetVar: {
                    Variable& v = var(op.assigns[0].first);
                    const QString sql =
                        prepared(op, op.assigns[0].second, true, QStringLiteral("SELECT "));
                    StmtLease lease = conn_->prepare(sql);
                    bindAll(lease.get(), op);
                    const int rc = sqlite3_step(lease.get());
                    if (rc != SQLITE_ROW)
                        throw mapSqliteError(conn_->db(), rc);
                    assign(v, lease.get(), 0);
                    conn_->lastRowCount = 1;
                    break;
                }
                case OpKind::SelectAssign:
                    selectAssign(op);
                    break;
                case OpKind::Exec:
                    exec(op);
                    break;
                case OpKind::Print:
                    break;
                case OpKind::BeginTran:
                    beginTran(*conn_);
                    break;
                case OpKind::Commit:
                    commitTran(*conn_);
                    break;
                case OpKind::Rollback:
                    rollbackTran(*conn_);
                    break;
                case OpKind::Use:
                    if (op.text.compare(conn_->databaseName(), Qt::CaseInsensitive) != 0) {
                        throw serverError(
                            40508,
                            QStringLiteral(
                                "USE statement is not supported to switch between databases. Use a "
                                "new connection to connect to a different database."));
                    }
                    break;
                case OpKind::JumpIfFalse:
                    if (!condition(op))
                        pc_ = size_t(op.target);
                    break;
                case OpKind::Jump:
                    pc_ = size_t(op.target);
                    break;
                case OpKind::Ignore:
                    break;
            }
        } catch (data::DbError& e) {
            e.setStatement(op.text);
            conn_->lastError = e.nativeError();
            errors_.push_back(e);
            // The batch ends here unless only this statement failed; either way the results
            // before it stay readable and the error is raised after them.
            if (!isStatement(op.kind) || !endsOnlyTheStatement(e))
                pc_ = program_->ops.size();
            continue;  // @@ERROR keeps the number for the next statement
        }
        if (isStatement(op.kind))
            conn_->lastError = 0;
    }
    return nullptr;
}

void BatchRunner::failedWhileReading(const data::DbError& e) {
    conn_->lastError = e.nativeError();
    errors_.push_back(e);
    if (!endsOnlyTheStatement(e))
        pc_ = program_->ops.size();
}

// ---- EmbeddedResultSet

EmbeddedResultSet::EmbeddedResultSet(std::unique_ptr<BatchRunner> runner)
    : runner_(std::move(runner)) {
    advance();
    if (!queue_.empty()) {
        current_ = std::move(queue_.front().cursor);
        currentErrorsBefore_ = queue_.front().errorsBefore;
        queue_.pop_front();
    } else if (taken_ < runner_->errors().size()) {
        // No result before the batch failed: the errors are all there is to report.
        const size_t from = taken_;
        taken_ = runner_->errors().size();
        data::raiseBatchErrors(runner_->errors(), from);
    }
    rowsAffected_ = current_ ? -1 : runner_->lastRowsAffected();
}

void EmbeddedResultSet::advance() {
    while (!runner_->finished()) {
        auto c = runner_->next();
        if (!c)
            break;
        queue_.push_back({std::move(c), runner_->errors().size()});
        // Changes after this result must happen now: read it ahead and go on.
        if (!runner_->sideEffectsAhead())
            break;
        Cursor& ahead = *queue_.back().cursor;
        try {
            ahead.bufferAll();
        } catch (const data::DbError& e) {
            // The rows read so far stay; the error is the statement's, in its place.
            runner_->failedWhileReading(e);
        }
    }
}

std::vector<data::DbError> EmbeddedResultSet::takeErrors(ErrorScope scope) {
    const std::vector<data::DbError>& all = runner_->errors();
    const size_t upTo =
        current_ && scope == ErrorScope::BeforeCurrentResult ? currentErrorsBefore_ : all.size();
    std::vector<data::DbError> out;
    for (; taken_ < upTo && taken_ < all.size(); ++taken_)
        out.push_back(all[taken_]);
    return out;
}

const std::vector<data::ColumnInfo>& EmbeddedResultSet::columns() const {
    static const std::vector<data::ColumnInfo> none;
    return current_ ? current_->columns : none;
}

bool EmbeddedResultSet::fetch(std::vector<QVariant>& row) {
    return current_ && current_->fetch(row);
}

bool EmbeddedResultSet::nextResult() {
    // A later statement of the batch may read @@ROWCOUNT: the SELECT before it is counted to
    // its end, whatever the caller read of it.
    if (current_ && !runner_->finished()) {
        try {
            current_->finish();
        } catch (const data::DbError& e) {
            runner_->failedWhileReading(e);
        }
    }
    current_.reset();
    if (queue_.empty())
        advance();
    if (queue_.empty()) {
        if (taken_ < runner_->errors().size()) {
            const size_t from = taken_;
            taken_ = runner_->errors().size();
            data::raiseBatchErrors(runner_->errors(), from);
        }
        return false;
    }
    current_ = std::move(queue_.front().cursor);
    currentErrorsBefore_ = queue_.front().errorsBefore;
    queue_.pop_front();
    rowsAffected_ = -1;
    return true;
}

qint64 EmbeddedResultSet::rowsAffected() const {
    return rowsAffected_;
}

}  // namespace md::embedded
