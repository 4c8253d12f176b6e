#pragma once

// One SQLite handle of a session with what lives beside it: the catalogue of the database, the
// prepared-statement and translation caches, the transaction depth and @@IDENTITY. Result
// sets share ownership so that a handle outlives every statement still reading from it.

#include "data/embedded/Catalogue.h"
#include "data/embedded/LruCache.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace md::embedded {

class Connection;
struct Program;

// A prepared statement taken from the cache; it goes back (reset) when the lease ends.
class StmtLease {
  public:
    StmtLease() = default;
    StmtLease(std::shared_ptr<Connection> conn, QString key, sqlite3_stmt* stmt);
    ~StmtLease();
    StmtLease(StmtLease&& other) noexcept;
    StmtLease& operator=(StmtLease&& other) noexcept;
    StmtLease(const StmtLease&) = delete;
    StmtLease& operator=(const StmtLease&) = delete;
    sqlite3_stmt* get() const { return stmt_; }
    void release();

  private:
    std::shared_ptr<Connection> conn_;
    QString key_;
    sqlite3_stmt* stmt_ = nullptr;
};

// A result still reading from the handle. When another process has written since it began,
// its snapshot keeps this connection from writing: it then reads its remaining rows into
// memory and lets go of the handle.
class LiveReader {
  public:
    virtual ~LiveReader() = default;
    virtual void detach() = 0;
};

class Connection : public std::enable_shared_from_this<Connection> {
  public:
    // Opens an existing database file, or (create) a new one with the engine's tables.
    static std::shared_ptr<Connection> open(const QString& file, const QString& database,
                                            const QString& folder, bool create);
    // The virtual master database: in memory, with SysDatabases filled from the folder.
    static std::shared_ptr<Connection> openMaster(const QString& folder);
    // A database in memory only, on its own copy of `image` (a database's bytes, as image()
    // gives them).
    static std::shared_ptr<Connection> openImage(const QByteArray& image, const QString& database);
    // The bytes of the main database, as a file of it would hold them.
    QByteArray image() const;
    ~Connection();

    sqlite3* db() const { return db_; }
    const QString& databaseName() const { return database_; }
    const QString& folder() const { return folder_; }
    bool isMaster() const { return master_; }

    StmtLease prepare(const QString& sql);
    void giveBack(const QString& key, sqlite3_stmt* stmt);

    const Catalogue& catalogue() const { return catalogue_; }
    // Reloads the catalogue when the schema changed (here or in another process) and drops
    // the batches and translations made against the old one.
    void refreshSchema(bool force = false);
    // Changes (to a value no other catalogue of the process had) whenever the catalogue is
    // reloaded.
    quint64 generation() const { return generation_; }
    // Changes whenever the database's data may have: a commit here or in another process, or
    // a row written by this connection.
    quint64 dataStamp();
    // The batch compiled, from the cache of recently run batches when it is there.
    std::shared_ptr<const Program> program(const QString& sql);

    // Starts a write transaction (BEGIN IMMEDIATE), waiting for other writers; when open
    // results hold an old snapshot, they are read ahead first.
    void beginWrite();
    void addReader(LiveReader* r) { readers_.push_back(r); }
    void removeReader(LiveReader* r) { std::erase(readers_, r); }

    int tranCount = 0;
    QVariant identity;        // @@IDENTITY of this connection
    int lastError = 0;        // @@ERROR: the number of the last statement's error, 0 after success
    qint64 lastRowCount = 0;  // @@ROWCOUNT

    // Rebuilds master's SysDatabases from the folder.
    void refreshDatabases();

  private:
    Connection();
    void configure();

    sqlite3* db_ = nullptr;
    QString database_;
    QString folder_;
    bool master_ = false;
    bool readOnly_ = false;  // the file or its folder cannot be written
    Catalogue catalogue_;
    qint64 schemaVersion_ = -1;
    QHash<QString, std::vector<sqlite3_stmt*>> idle_;
    int idleCount_ = 0;
    quint64 generation_ = 0;
    LruCache<std::shared_ptr<const Program>> programs_;
    std::vector<LiveReader*> readers_;
};

}  // namespace md::embedded

namespace md::embedded {

// Makes several steps one unit: outside a transaction BEGIN IMMEDIATE ... COMMIT (so a writer
// waits for another instead of failing), inside one a savepoint. Undone unless committed.
class WriteScope {
  public:
    explicit WriteScope(Connection& conn);
    ~WriteScope();
    WriteScope(const WriteScope&) = delete;
    WriteScope& operator=(const WriteScope&) = delete;
    void commit();

  private:
    Connection& conn_;
    bool own_ = false;
    bool done_ = false;
};

}  // namespace md::embedded
