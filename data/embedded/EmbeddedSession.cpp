#include "data/embedded/EmbeddedBackend.h"

#include "data/embedded/BatchRunner.h"
#include "data/embedded/Dbcc.h"
#include "data/embedded/ErrorMapping.h"
#include "data/embedded/ProcedureRegistry.h"
#include "data/embedded/ServerFolder.h"
#include "data/embedded/Transactions.h"

#include <QFileInfo>
#include <stdexcept>

namespace md::embedded {
namespace {

class EmbeddedSession : public data::Session {
  public:
    explicit EmbeddedSession(std::shared_ptr<Connection> conn) : conn_(std::move(conn)) {}
    ~EmbeddedSession() override {
        if (conn_->tranCount > 0) {
            try {
                rollbackTran(*conn_);
            } catch (...) {
            }
        }
    }

    QString databaseName() const override { return conn_->databaseName(); }
    data::BackendQuirks quirks() const override { return {}; }

    std::unique_ptr<data::ResultSet> execute(const QString& sql,
                                             const std::vector<QVariant>& params) override {
        conn_->refreshSchema();
        conn_->refreshDatabases();
        if (auto check = runDbccIfAsked(*conn_, sql))
            return check;
        auto runner = std::make_unique<BatchRunner>(conn_, this, conn_->program(sql), params);
        return std::make_unique<EmbeddedResultSet>(std::move(runner));
    }

    int callProcedure(const QString& name, std::vector<data::ProcParam>& params) override {
        return ProcedureRegistry::instance().call(*this, name, params);
    }

    void beginTransaction() override { beginTran(*conn_); }
    void commit() override { commitTran(*conn_); }
    void rollback() override { rollbackTran(*conn_); }
    bool inTransaction() const override { return conn_->tranCount > 0; }

    const Connection& connection() const { return *conn_; }

  private:
    std::shared_ptr<Connection> conn_;
};

}  // namespace

bool isEmbeddedServer(const QString& serverName) {
    return serverName.trimmed().startsWith(QLatin1StringView("sqlite:"), Qt::CaseInsensitive);
}

std::unique_ptr<data::Session> openSession(const data::ConnectParams& params) {
    const ServerFolder server(params.server.trimmed());
    if (isMaster(params.database)) {
        return std::make_unique<EmbeddedSession>(Connection::openMaster(server.path()));
    }
    const auto file = server.fileOf(params.database);
    if (!file) {
        throw serverError(4060, QStringLiteral("Cannot open database \"%1\" requested by the "
                                               "login. The login failed.")
                                    .arg(params.database));
    }
    return std::make_unique<EmbeddedSession>(Connection::open(
        *file, QFileInfo(*file).fileName().section(u'.', 0, 0), server.path(), false));
}

std::unique_ptr<data::Session> openMemorySession(const QString& database) {
    return std::make_unique<EmbeddedSession>(
        Connection::open(QStringLiteral(":memory:"), database, QString(), true));
}

}  // namespace md::embedded

namespace md::embedded {

QByteArray memoryImage(const data::Session& session) {
    const auto* embedded = dynamic_cast<const EmbeddedSession*>(&session);
    if (!embedded)
        throw std::invalid_argument("memoryImage: not a session of the embedded engine");
    return embedded->connection().image();
}

std::unique_ptr<data::Session> openMemorySession(const QString& database, const QByteArray& image) {
    return std::make_unique<EmbeddedSession>(Connection::openImage(image, database));
}

}  // namespace md::embedded
