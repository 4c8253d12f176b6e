#include "data/embedded/SqliteUtil.h"

#include "data/backend/Decimal.h"

#include "data/embedded/EngineConventions.h"
#include "data/embedded/ErrorMapping.h"

#include <QDateTime>

namespace md::embedded {

void bindValue(sqlite3_stmt* stmt, int index, const QVariant& value) {
    if (value.isNull() || !value.isValid()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    if (value.metaType() == QMetaType::fromType<data::Decimal>()) {
        // The double when it stands for exactly this decimal, otherwise the exact text.
        const auto d = value.value<data::Decimal>();
        if (d.fitsDouble()) {
            sqlite3_bind_double(stmt, index, d.toDouble());
        } else {
            const QByteArray s = d.toString().toUtf8();
            sqlite3_bind_text(stmt, index, s.constData(), int(s.size()), SQLITE_TRANSIENT);
        }
        return;
    }
    switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::ULong:
        case QMetaType::ULongLong:
            sqlite3_bind_int64(stmt, index, value.toLongLong());
            return;
        case QMetaType::Double:
        case QMetaType::Float:
            sqlite3_bind_double(stmt, index, value.toDouble());
            return;
        case QMetaType::QDateTime: {
            const QByteArray s = value.toDateTime().toString(kDateTimeStorageFormat).toUtf8();
            sqlite3_bind_text(stmt, index, s.constData(), int(s.size()), SQLITE_TRANSIENT);
            return;
        }
        case QMetaType::QDate: {
            const QByteArray s =
                value.toDate().startOfDay().toString(kDateTimeStorageFormat).toUtf8();
            sqlite3_bind_text(stmt, index, s.constData(), int(s.size()), SQLITE_TRANSIENT);
            return;
        }
        case QMetaType::QByteArray: {
            const QByteArray b = value.toByteArray();
            sqlite3_bind_blob(stmt, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
            return;
        }
        default: {
            const QByteArray s = value.toString().toUtf8();
            sqlite3_bind_text(stmt, index, s.constData(), int(s.size()), SQLITE_TRANSIENT);
            return;
        }
    }
}

SqliteQuery::SqliteQuery(sqlite3* db, const QString& sql) : db_(db) {
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK)
        throw mapSqliteError(db, rc);
}

SqliteQuery::~SqliteQuery() {
    sqlite3_finalize(stmt_);
}

SqliteQuery& SqliteQuery::bind(int index, const QVariant& value) {
    bindValue(stmt_, index, value);
    return *this;
}

bool SqliteQuery::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw mapSqliteError(db_, rc);
}

QString SqliteQuery::text(int column) const {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column)),
                             sqlite3_column_bytes(stmt_, column));
}

void execSql(sqlite3* db, const QString& sql) {
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString msg = err ? QString::fromUtf8(err) : QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_free(err);
        throw mapSqliteMessage(db, msg, rc);
    }
}

}  // namespace md::embedded
