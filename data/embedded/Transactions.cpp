#include "data/embedded/Transactions.h"

#include "data/embedded/ErrorMapping.h"
#include "data/embedded/SqliteUtil.h"

namespace md::embedded {

void beginTran(Connection& conn) {
    if (conn.tranCount == 0)
        conn.beginWrite();
    ++conn.tranCount;
}

void commitTran(Connection& conn) {
    if (conn.tranCount == 0) {
        throw serverError(3902, QStringLiteral("The COMMIT TRANSACTION request has no "
                                               "corresponding BEGIN TRANSACTION."));
    }
    if (conn.tranCount == 1)
        execSql(conn.db(), QStringLiteral("COMMIT"));
    --conn.tranCount;
}

void rollbackTran(Connection& conn) {
    if (conn.tranCount == 0) {
        throw serverError(3903, QStringLiteral("The ROLLBACK TRANSACTION request has no "
                                               "corresponding BEGIN TRANSACTION."));
    }
    conn.tranCount = 0;
    if (!sqlite3_get_autocommit(conn.db()))
        execSql(conn.db(), QStringLiteral("ROLLBACK"));
}

}  // namespace md::embedded
