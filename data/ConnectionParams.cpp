#include "data/ConnectionParams.h"

namespace md::data {

QStringList suiteConnectionParams(const QString& database, const QString& server) {
    return {
        QStringLiteral("DATABASE NAME=") + database,
        QStringLiteral("SERVER NAME=") + server,
        QStringLiteral("USER NAME=") + kSuiteUserName,
        QStringLiteral("OPEN MODE=READ/WRITE"),
        QStringLiteral("SCHEMA CACHE SIZE=8"),
        QStringLiteral("BLOB EDIT LOGGING="),
        QStringLiteral("LANGDRIVER="),
        QStringLiteral("SQLQRYMODE="),
        QStringLiteral("SQLPASSTHRU MODE=SHARED AUTOCOMMIT"),
        QStringLiteral("DATE MODE=1"),
        QStringLiteral("SCHEMA CACHE TIME=-1"),
        QStringLiteral("MAX QUERY TIME=600"),
        QStringLiteral("MAX ROWS=-1"),
        QStringLiteral("BATCH COUNT=200"),
        QStringLiteral("ENABLE SCHEMA CACHE=FALSE"),
        QStringLiteral("SCHEMA CACHE DIR="),
        QStringLiteral("HOST NAME="),
        QStringLiteral("APPLICATION NAME="),
        QStringLiteral("NATIONAL LANG NAME="),
        QStringLiteral("ENABLE BCD=True"),
        QStringLiteral("TDS PACKET SIZE=4096"),
        QStringLiteral("BLOBS TO CACHE=-1"),
        QStringLiteral("BLOB SIZE=64"),
        QStringLiteral("PASSWORD=") + kSuitePassword,
    };
}

}  // namespace md::data
