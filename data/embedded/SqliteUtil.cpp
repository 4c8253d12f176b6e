#include "data/embedded/SqliteUtil.h"

#include "data/backend/Decimal.h"

#include "data/embedded/EngineConventions.h"
#include "data/embedded/ErrorMapping.h"

#include <QDateTime>

#include <cstdint>
#include <cstring>

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

namespace {

// Decodes well-formed UTF-8 into `out` (room for bytes.size() units); the units written, or -1
// at the first sequence that is not plainly a character (malformed, overlong, a surrogate, a
// noncharacter) and for a leading byte order mark, which the caller leaves to
// QString::fromUtf8 and its rules.
qsizetype decodePlainUtf8(QByteArrayView bytes, char16_t* out) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = p + bytes.size();
    char16_t* const start = out;
    // fromUtf8 drops a byte order mark at the start.
    if (end - p >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        return -1;
    const auto continuation = [](unsigned char b) { return (b & 0xC0) == 0x80; };
    while (p < end) {
        // Codes and numbers are ASCII: eight bytes at a time while none has its high bit.
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            if (word & 0x8080808080808080ULL)
                break;
            for (int i = 0; i < 8; ++i)
                out[i] = p[i];
            out += 8;
            p += 8;
        }
        if (p == end)
            break;
        const unsigned char b = *p;
        if (b < 0x80) {
            *out++ = b;
            ++p;
        } else if (b == 0xE0 && end - p >= 3 && (p[1] == 0xB8 || p[1] == 0xB9) &&
                   continuation(p[2])) {
            // The Thai block, U+0E00 to U+0E7F: plain characters all.
            *out++ = char16_t(0x0E00 | (p[1] & 0x01) << 6 | (p[2] & 0x3F));
            p += 3;
        } else if (b >= 0xE0 && b < 0xF0) {
            if (end - p < 3 || !continuation(p[1]) || !continuation(p[2]))
                return -1;
            const char32_t c =
                char32_t(b & 0x0F) << 12 | char32_t(p[1] & 0x3F) << 6 | (p[2] & 0x3F);
            if (c < 0x800 || (c >= 0xD800 && c < 0xE000) || (c >= 0xFDD0 && c < 0xFDF0) ||
                (c & 0xFFFE) == 0xFFFE)
                return -1;
            *out++ = char16_t(c);
            p += 3;
        } else if (b >= 0xC2 && b < 0xE0) {
            if (end - p < 2 || !continuation(p[1]))
                return -1;
            *out++ = char16_t((b & 0x1F) << 6 | (p[1] & 0x3F));
            p += 2;
        } else if (b >= 0xF0 && b < 0xF5) {
            if (end - p < 4 || !continuation(p[1]) || !continuation(p[2]) || !continuation(p[3]))
                return -1;
            const char32_t c = char32_t(b & 0x07) << 18 | char32_t(p[1] & 0x3F) << 12 |
                               char32_t(p[2] & 0x3F) << 6 | (p[3] & 0x3F);
            if (c < 0x10000 || c > 0x10FFFF || (c & 0xFFFE) == 0xFFFE)
                return -1;
            *out++ = QChar::highSurrogate(c);
            *out++ = QChar::lowSurrogate(c);
            p += 4;
        } else {
            return -1;
        }
    }
    return out - start;
}

}  // namespace

void assignUtf8(QString& out, QByteArrayView bytes) {
    if (!bytes.isEmpty()) {
        // A UTF-8 text never takes more UTF-16 units than it has bytes. The decoding is the
        // engine's own because Qt's decoder into a given buffer is its slower, stateful one.
        out.resize(bytes.size());
        const qsizetype n = decodePlainUtf8(bytes, reinterpret_cast<char16_t*>(out.data()));
        if (n >= 0) {
            out.truncate(n);
            return;
        }
    }
    out = QString::fromUtf8(bytes);  // null and empty as fromUtf8 tells them apart
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
