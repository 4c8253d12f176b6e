#include "data/Connection.h"

#include "data/Query.h"
#include "data/backend/DbError.h"
#include "data/embedded/EmbeddedBackend.h"
#include "data/odbc/OdbcBackend.h"

#include <algorithm>

namespace md::data {

Connection::Connection(QString name) : name_(std::move(name)) {}

Connection::~Connection() {
    // Queries outlive a connection only by mistake; make them forget it rather than dangle.
    for (Query* q : queries_)
        q->connectionGone();
    queries_.clear();
}

QString Connection::param(const QString& name) const {
    for (const QString& line : params_) {
        const int eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        if (line.left(eq).trimmed().compare(name, Qt::CaseInsensitive) == 0) {
            return line.mid(eq + 1);
        }
    }
    return {};
}

std::unique_ptr<Session> openBackendSession(const ConnectParams& params) {
    // An embedded server runs the procedures its program registered with the engine (the
    // suite's, schema::registerSuiteProcedures); the data API knows none of them.
    if (embedded::isEmbeddedServer(params.server))
        return embedded::openSession(params);
    return odbc::openSession(params);
}

void Connection::open() {
    if (session_ || connecting_)
        return;
    connecting_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{connecting_};
    if (beforeConnect)
        beforeConnect(*this);
    ConnectParams cp;
    cp.database = param(QStringLiteral("DATABASE NAME"));
    cp.server = param(QStringLiteral("SERVER NAME"));
    cp.user = param(QStringLiteral("USER NAME"));
    cp.password = param(QStringLiteral("PASSWORD"));
    session_ = openBackendSession(cp);
    if (afterConnect) {
        try {
            afterConnect(*this);
        } catch (...) {
            close();
            throw;
        }
    }
}

void Connection::close() {
    if (!session_)
        return;
    // Copy: closing a query may not detach it, but keep iteration safe anyway.
    const std::vector<Query*> open = queries_;
    for (Query* q : open)
        q->close();
    if (session_->inTransaction()) {
        try {
            session_->rollback();
        } catch (const DbError&) {
            // The session goes away either way; a failed rollback leaves nothing to undo.
        }
    }
    session_.reset();
}

Session& Connection::session() {
    if (!session_)
        open();
    if (!session_) {
        throw UsageError(QStringLiteral("Connection '%1' is being opened").arg(name_));
    }
    return *session_;
}

void Connection::startTransaction() {
    session().beginTransaction();
}

void Connection::commit() {
    if (!session_)
        throw UsageError(QStringLiteral("Connection '%1' is not open").arg(name_));
    session_->commit();
}

void Connection::rollback() {
    if (!session_)
        return;
    session_->rollback();
}

bool Connection::inTransaction() const {
    return session_ && session_->inTransaction();
}

void Connection::attach(Query* q) {
    if (std::find(queries_.begin(), queries_.end(), q) == queries_.end())
        queries_.push_back(q);
}

void Connection::detach(Query* q) {
    std::erase(queries_, q);
}

TransactionGuard::TransactionGuard(Connection& connection) : connection_(connection) {
    connection_.startTransaction();
}

TransactionGuard::~TransactionGuard() {
    if (done_)
        return;
    try {
        if (connection_.inTransaction())
            connection_.rollback();
    } catch (...) {
        // A destructor must not throw; the error that brought us here is the one that matters.
    }
}

void TransactionGuard::commit() {
    connection_.commit();
    done_ = true;
}

}  // namespace md::data
