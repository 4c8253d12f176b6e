#pragma once

// A named database connection (DmCfg, DBMaster, DMDATA), opened from a list of NAME=value lines.
// Only DATABASE NAME, SERVER NAME, USER NAME and PASSWORD reach the backend; the server name
// chooses it ("sqlite:<folder>" the embedded engine, anything else SQL Server over ODBC).

#include "data/backend/Backend.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace md::data {

class Query;

class Connection {
  public:
    explicit Connection(QString name);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const QString& name() const { return name_; }

    // The parameter list; edit it in the before-connect hook.
    QStringList& params() { return params_; }
    const QStringList& params() const { return params_; }
    // The value of the line "NAME=value" (name without regard to case); empty when absent.
    QString param(const QString& name) const;

    // Runs each time the connection is about to connect / has just connected. An exception
    // from the after-connect hook closes the connection again and travels on.
    std::function<void(Connection&)> beforeConnect;
    std::function<void(Connection&)> afterConnect;

    void open();
    void close();
    bool isConnected() const { return session_ != nullptr; }
    // The open session; connects first when the connection is closed.
    Session& session();

    void startTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

  private:
    friend class Query;
    void attach(Query* q);
    void detach(Query* q);

    QString name_;
    QStringList params_;
    std::unique_ptr<Session> session_;
    std::vector<Query*> queries_;
    bool connecting_ = false;
};

// Opens a session for the given parameters on the backend the server name selects.
std::unique_ptr<Session> openBackendSession(const ConnectParams& params);

// Rolls back the connection's transaction unless commit() was called, so that no path out of a
// save leaves a transaction open.
class TransactionGuard {
  public:
    explicit TransactionGuard(Connection& connection);
    ~TransactionGuard();
    TransactionGuard(const TransactionGuard&) = delete;
    TransactionGuard& operator=(const TransactionGuard&) = delete;
    void commit();

  private:
    Connection& connection_;
    bool done_ = false;
};

}  // namespace md::data
