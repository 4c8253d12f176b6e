#include "data/embedded/Connection.h"

#include "data/embedded/BatchParser.h"
#include "data/embedded/EngineConventions.h"
#include "data/embedded/ErrorMapping.h"
#include "data/embedded/FulltextIndex.h"
#include "data/embedded/ProcedureRegistry.h"
#include "data/embedded/ServerFolder.h"
#include "data/embedded/SqliteUtil.h"
#include "data/embedded/TranslatorBridge.h"

#include <sqlite3.h>
#include <QFileInfo>
#include <QUrl>
#include <atomic>
#include <cstring>

namespace md::embedded {
namespace {

constexpr int kBusyTimeoutMs = 10000;
constexpr int kMaxIdleStatements = 200;
constexpr size_t kMaxCachedBatches = 256;

// Catalogue generations are unique in the process, so a translation made for one connection
// is never taken for another's.
std::atomic<quint64> nextGeneration{1};

QString argText(sqlite3_value* v) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                             sqlite3_value_bytes(v));
}

// md_raise(number, sqlstate, text): fails the statement with SQL Server's error, in the state
// SQL Server raises that number with.
void mdRaise(sqlite3_context* ctx, int, sqlite3_value** argv) {
    raiseEngineError(ctx, EngineErrorInfo{sqlite3_value_int(argv[0]), argText(argv[1]),
                                          argText(argv[2]), std::nullopt});
}

// md_keytext(value): a key value as SQL Server shows it in a duplicate-key message.
void mdKeyText(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_text(ctx, "<NULL>", -1, SQLITE_STATIC);
        return;
    }
    sqlite3_result_value(ctx, argv[0]);
}

void mdDbName(sqlite3_context* ctx, int, sqlite3_value**) {
    auto* conn = static_cast<Connection*>(sqlite3_user_data(ctx));
    const QByteArray n = conn->databaseName().toUtf8();
    sqlite3_result_text(ctx, n.constData(), int(n.size()), SQLITE_TRANSIENT);
}

// @@IDENTITY: the last identity value an INSERT of this connection generated (NULL after an
// insert into a table without one), not SQLite's rowid of whatever table came last.
void mdIdentity(sqlite3_context* ctx, int, sqlite3_value**) {
    auto* conn = static_cast<Connection*>(sqlite3_user_data(ctx));
    if (conn->identity.isNull()) {
        sqlite3_result_null(ctx);
    } else {
        sqlite3_result_int64(ctx, conn->identity.toLongLong());
    }
}

// @@ERROR, @@ROWCOUNT and @@TRANCOUNT of this connection.
void mdError(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3_result_int(ctx, static_cast<Connection*>(sqlite3_user_data(ctx))->lastError);
}
void mdRowCount(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3_result_int64(ctx, static_cast<Connection*>(sqlite3_user_data(ctx))->lastRowCount);
}
void mdTranCount(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3_result_int(ctx, static_cast<Connection*>(sqlite3_user_data(ctx))->tranCount);
}

}  // namespace

StmtLease::StmtLease(std::shared_ptr<Connection> conn, QString key, sqlite3_stmt* stmt)
    : conn_(std::move(conn)), key_(std::move(key)), stmt_(stmt) {}

StmtLease::~StmtLease() {
    release();
}

StmtLease::StmtLease(StmtLease&& o) noexcept
    : conn_(std::move(o.conn_)), key_(std::move(o.key_)), stmt_(o.stmt_) {
    o.stmt_ = nullptr;
}

StmtLease& StmtLease::operator=(StmtLease&& o) noexcept {
    if (this != &o) {
        release();
        conn_ = std::move(o.conn_);
        key_ = std::move(o.key_);
        stmt_ = o.stmt_;
        o.stmt_ = nullptr;
    }
    return *this;
}

void StmtLease::release() {
    if (stmt_ && conn_)
        conn_->giveBack(key_, stmt_);
    stmt_ = nullptr;
    conn_.reset();
}

Connection::Connection() : programs_(kMaxCachedBatches) {}

std::shared_ptr<const Program> Connection::program(const QString& sql) {
    if (auto* hit = programs_.find(sql))
        return *hit;
    auto compiled = std::make_shared<const Program>(compileBatch(sql));
    programs_.insert(sql, compiled);
    return compiled;
}

std::shared_ptr<Connection> Connection::open(const QString& file, const QString& database,
                                             const QString& folder, bool create) {
    std::shared_ptr<Connection> c(new Connection);
    c->database_ = database;
    c->folder_ = folder;
    int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    QByteArray name = file.toUtf8();
    const QFileInfo info(file);
    if (!create && info.exists() && (!info.isWritable() || !QFileInfo(folder).isWritable())) {
        // A read-only server folder can still be read. Reading a WAL file needs its index (the
        // -shm file) beside it: where neither can be made, the file is opened as immutable,
        // which is safe because nobody can write it either.
        c->readOnly_ = true;
        flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
        const bool logPresent = QFileInfo::exists(file + QStringLiteral("-wal")) &&
                                QFileInfo::exists(file + QStringLiteral("-shm"));
        const bool canMakeLog = QFileInfo(folder).isWritable();
        name = QByteArray("file:") + QUrl::toPercentEncoding(info.absoluteFilePath(), "/") +
               (logPresent || canMakeLog ? "?mode=ro" : "?mode=ro&immutable=1");
    }
    const int rc = sqlite3_open_v2(name.constData(), &c->db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = c->db_ ? QString::fromUtf8(sqlite3_errmsg(c->db_))
                                   : QStringLiteral("cannot open database file");
        throw data::DbError(QStringLiteral("Cannot open database \"%1\": %2").arg(database, msg), 0,
                            QStringLiteral("08001"), data::ErrorCategory::Connection);
    }
    c->configure();
    if (create)
        Catalogue::install(c->db_);
    // A procedure registered after this database was last opened is added to its catalogue,
    // but never by waiting for another session's transaction: when the file is locked the
    // row is left for a later session to write.
    sqlite3_busy_timeout(c->db_, 0);
    try {
        Catalogue::syncProcedures(c->db_, ProcedureRegistry::instance().names());
    } catch (const data::DbError&) {
        const int code = sqlite3_errcode(c->db_) & 0xff;
        if (code != SQLITE_BUSY && code != SQLITE_LOCKED && code != SQLITE_READONLY)
            throw;
    }
    sqlite3_busy_timeout(c->db_, kBusyTimeoutMs);
    c->refreshSchema(true);
    return c;
}

std::shared_ptr<Connection> Connection::openMaster(const QString& folder) {
    std::shared_ptr<Connection> c(new Connection);
    c->database_ = QStringLiteral("master");
    c->folder_ = folder;
    c->master_ = true;
    sqlite3_open_v2(":memory:", &c->db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    c->configure();
    Catalogue::install(c->db_);
    execSql(c->db_, QStringLiteral("CREATE TABLE SysDatabases(name TEXT COLLATE TSQL, dbid "
                                   "INTEGER, crdate DATETIME, filename TEXT COLLATE TSQL, "
                                   "cmptlevel INTEGER)"));
    c->refreshSchema(true);
    c->refreshDatabases();
    return c;
}

std::shared_ptr<Connection> Connection::openImage(const QByteArray& image,
                                                  const QString& database) {
    std::shared_ptr<Connection> c(new Connection);
    c->database_ = database;
    sqlite3_open_v2(":memory:", &c->db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    // SQLite frees the copy with the handle and grows it as the database grows.
    const auto size = sqlite3_int64(image.size());
    auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(sqlite3_uint64(size)));
    if (!copy)
        throw data::DbError(
            QStringLiteral("Cannot open database \"%1\": out of memory").arg(database), 0,
            QStringLiteral("08001"), data::ErrorCategory::Connection);
    std::memcpy(copy, image.constData(), size_t(size));
    const int rc =
        sqlite3_deserialize(c->db_, "main", copy, size, size,
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE);
    if (rc != SQLITE_OK)
        throw mapSqliteError(c->db_, rc);
    c->configure();
    c->refreshSchema(true);
    return c;
}

QByteArray Connection::image() const {
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(db_, "main", &size, 0);
    if (!bytes)
        throw mapSqliteError(db_, sqlite3_errcode(db_));
    QByteArray out(reinterpret_cast<const char*>(bytes), qsizetype(size));
    sqlite3_free(bytes);
    return out;
}

void Connection::configure() {
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db_, 1);
    registerTranslatorFunctions(db_);
    registerFulltextFunctions(*this);
    const int det = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db_, "md_raise", 3, SQLITE_UTF8, this, mdRaise, nullptr, nullptr);
    sqlite3_create_function(db_, "md_keytext", 1, det, this, mdKeyText, nullptr, nullptr);
    sqlite3_create_function(db_, "md_dbname", 0, SQLITE_UTF8, this, mdDbName, nullptr, nullptr);
    sqlite3_create_function(db_, "last_insert_rowid", 0, SQLITE_UTF8, this, mdIdentity, nullptr,
                            nullptr);
    sqlite3_create_function(db_, "md_error", 0, SQLITE_UTF8, this, mdError, nullptr, nullptr);
    sqlite3_create_function(db_, "md_rowcount", 0, SQLITE_UTF8, this, mdRowCount, nullptr, nullptr);
    sqlite3_create_function(db_, "md_trancount", 0, SQLITE_UTF8, this, mdTranCount, nullptr,
                            nullptr);
    if (!master_) {
        // A read-only file keeps the journal mode it has; it cannot be changed there.
        if (!readOnly_)
            execSql(db_, QStringLiteral("PRAGMA journal_mode=WAL"));
        execSql(db_, QString::fromLatin1(kDurability));
        execSql(db_, QStringLiteral("PRAGMA foreign_keys=OFF; PRAGMA recursive_triggers=OFF"));
        // A search over a large table keeps more pages: the file stays the only copy of the
        // data.
        execSql(db_, QString::fromLatin1(kReadTuning));
    }
}

Connection::~Connection() {
    for (auto& list : idle_) {
        for (sqlite3_stmt* s : list)
            sqlite3_finalize(s);
    }
    sqlite3_close_v2(db_);
}

quint64 Connection::dataStamp() {
    // PRAGMA data_version looks at the file (the pager's own counter is brought up to date
    // only when a read begins) and counts other connections' commits; this connection's own
    // writes, committed or not, are in its change count.
    StmtLease version = prepare(QStringLiteral("PRAGMA data_version"));
    const quint64 other = sqlite3_step(version.get()) == SQLITE_ROW
                              ? quint64(sqlite3_column_int64(version.get(), 0))
                              : 0;
    return (other << 32) | (quint64(sqlite3_total_changes64(db_)) & 0xFFFFFFFFu);
}

StmtLease Connection::prepare(const QString& sql) {
    auto it = idle_.find(sql);
    if (it != idle_.end() && !it->empty()) {
        sqlite3_stmt* s = it->back();
        it->pop_back();
        --idleCount_;
        return StmtLease(shared_from_this(), sql, s);
    }
    sqlite3_stmt* s = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &s, nullptr);
    if (rc != SQLITE_OK)
        throw mapSqliteError(db_, rc);
    return StmtLease(shared_from_this(), sql, s);
}

void Connection::giveBack(const QString& key, sqlite3_stmt* stmt) {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (idleCount_ >= kMaxIdleStatements) {
        for (auto& list : idle_) {
            for (sqlite3_stmt* s : list)
                sqlite3_finalize(s);
        }
        idle_.clear();
        idleCount_ = 0;
    }
    idle_[key].push_back(stmt);
    ++idleCount_;
}

void Connection::beginWrite() {
    int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_BUSY_SNAPSHOT && !readers_.empty()) {
        if (!sqlite3_get_autocommit(db_))
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        const auto readers = readers_;
        for (LiveReader* r : readers)
            r->detach();
        rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK)
        throw mapSqliteError(db_, rc);
}

void Connection::refreshSchema(bool force) {
    qint64 version = 0;
    {
        StmtLease probe = prepare(QStringLiteral("PRAGMA schema_version"));
        if (sqlite3_step(probe.get()) == SQLITE_ROW)
            version = sqlite3_column_int64(probe.get(), 0);
    }
    if (!force && version == schemaVersion_)
        return;
    schemaVersion_ = version;
    catalogue_.load(db_);
    generation_ = nextGeneration.fetch_add(1);
    programs_.clear();
}

void Connection::refreshDatabases() {
    if (!master_)
        return;
    const ServerFolder server(QStringLiteral("sqlite:") + folder_);
    execSql(db_, QStringLiteral("DELETE FROM SysDatabases"));
    auto add = [&](const QString& name, const QString& file, int dbid) {
        const QFileInfo info(file);
        SqliteQuery ins(db_, QStringLiteral("INSERT INTO SysDatabases VALUES (?, ?, ?, ?, 80)"));
        ins.bind(1, name).bind(2, dbid);
        ins.bind(3, file.isEmpty() ? QVariant()
                                   : QVariant(info.birthTime().isValid() ? info.birthTime()
                                                                         : info.lastModified()));
        ins.bind(4, file);
        ins.step();
    };
    // master is 1 and the server's own databases take 2 to 4, as on SQL Server.
    add(QStringLiteral("master"), QString(), 1);
    int dbid = 5;
    for (const QString& name : server.databases())
        add(name, *server.fileOf(name), dbid++);
}

}  // namespace md::embedded

namespace md::embedded {

WriteScope::WriteScope(Connection& conn) : conn_(conn) {
    own_ = sqlite3_get_autocommit(conn.db()) != 0;
    if (own_) {
        conn.beginWrite();
    } else {
        execSql(conn.db(), QStringLiteral("SAVEPOINT md_w"));
    }
}

WriteScope::~WriteScope() {
    if (done_)
        return;
    try {
        if (own_) {
            execSql(conn_.db(), QStringLiteral("ROLLBACK"));
        } else {
            execSql(conn_.db(), QStringLiteral("ROLLBACK TO md_w; RELEASE md_w"));
        }
    } catch (...) {
    }
}

void WriteScope::commit() {
    execSql(conn_.db(), own_ ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE md_w"));
    done_ = true;
}

}  // namespace md::embedded
