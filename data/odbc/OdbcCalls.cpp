#include "data/odbc/OdbcCalls.h"

#include <QByteArray>
#include <QStringList>
#include <optional>

namespace md::odbc {

namespace {

// A length the driver reported, limited to what the buffer holds.
qsizetype clampLength(SQLSMALLINT length, size_t capacity) {
    if (length < 0)
        return 0;
    return qsizetype(qMin(size_t(length), capacity));
}

#ifdef _WIN32
const SQLWCHAR* wide(const QString& text) {
    return reinterpret_cast<const SQLWCHAR*>(text.utf16());
}
QString fromWide(const SQLWCHAR* text, qsizetype length) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text), length);
}
#endif

}  // namespace

#ifdef _WIN32

SQLRETURN driverConnect(SQLHDBC dbc, const QString& connectionString) {
    SQLWCHAR out[1024];
    SQLSMALLINT outLength = 0;
    return SQLDriverConnectW(dbc, nullptr, const_cast<SQLWCHAR*>(wide(connectionString)), SQL_NTS,
                             out, 1024, &outLength, SQL_DRIVER_NOPROMPT);
}

SQLRETURN execDirect(SQLHSTMT stmt, const QString& sql) {
    return SQLExecDirectW(stmt, const_cast<SQLWCHAR*>(wide(sql)), SQLINTEGER(sql.size()));
}

SQLRETURN describeColumn(SQLHSTMT stmt, SQLUSMALLINT column, QString& name, SQLSMALLINT& type,
                         SQLULEN& size, SQLSMALLINT& digits) {
    std::vector<SQLWCHAR> buffer(256);
    SQLSMALLINT length = 0, nullable = 0;
    SQLRETURN rc = SQLDescribeColW(stmt, column, buffer.data(), SQLSMALLINT(buffer.size()), &length,
                                   &type, &size, &digits, &nullable);
    if (succeeded(rc) && length >= SQLSMALLINT(buffer.size())) {
        buffer.resize(size_t(length) + 1);
        rc = SQLDescribeColW(stmt, column, buffer.data(), SQLSMALLINT(buffer.size()), &length,
                             &type, &size, &digits, &nullable);
    }
    if (succeeded(rc))
        name = fromWide(buffer.data(), length);
    return rc;
}

QString columnText(SQLHSTMT stmt, SQLUSMALLINT column, SQLUSMALLINT field) {
    SQLWCHAR buffer[512];
    SQLSMALLINT length = 0;
    if (!succeeded(SQLColAttributeW(stmt, column, field, buffer, sizeof buffer, &length, nullptr)))
        return {};
    return fromWide(buffer, clampLength(SQLSMALLINT(length / 2), 511));
}

QString infoText(SQLHDBC dbc, SQLUSMALLINT item) {
    SQLWCHAR buffer[256];
    SQLSMALLINT length = 0;
    if (!succeeded(SQLGetInfoW(dbc, item, buffer, sizeof buffer, &length)))
        return {};
    return fromWide(buffer, clampLength(SQLSMALLINT(length / 2), 255));
}

std::vector<DiagRecord> readRecords(SQLSMALLINT handleType, SQLHANDLE handle) {
    std::vector<DiagRecord> records;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        std::vector<SQLWCHAR> text(1024);
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRecW(handleType, handle, i, state, &native, text.data(),
                                      SQLSMALLINT(text.size()), &length);
        if (succeeded(rc) && length >= SQLSMALLINT(text.size())) {
            text.resize(size_t(length) + 1);
            rc = SQLGetDiagRecW(handleType, handle, i, state, &native, text.data(),
                                SQLSMALLINT(text.size()), &length);
        }
        if (!succeeded(rc))
            break;
        records.push_back({fromWide(state, 5), int(native), fromWide(text.data(), length)});
    }
    return records;
}

#else

SQLRETURN driverConnect(SQLHDBC dbc, const QString& connectionString) {
    // The connection string goes through the wide call: before a connection exists, FreeTDS
    // reads a narrow string as ISO 8859-1 whatever ClientCharset says, and a Thai password or
    // database name would reach the server as other characters.
    static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC's SQLWCHAR is UTF-16");
    SQLWCHAR out[1024];
    SQLSMALLINT outLength = 0;
    return SQLDriverConnectW(
        dbc, nullptr,
        const_cast<SQLWCHAR*>(reinterpret_cast<const SQLWCHAR*>(connectionString.utf16())),
        SQLSMALLINT(connectionString.size()), out, 1024, &outLength, SQL_DRIVER_NOPROMPT);
}

SQLRETURN execDirect(SQLHSTMT stmt, const QString& sql) {
    QByteArray text = sql.toUtf8();
    return SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(text.data()), SQLINTEGER(text.size()));
}

SQLRETURN describeColumn(SQLHSTMT stmt, SQLUSMALLINT column, QString& name, SQLSMALLINT& type,
                         SQLULEN& size, SQLSMALLINT& digits) {
    std::vector<SQLCHAR> buffer(512);
    SQLSMALLINT length = 0, nullable = 0;
    SQLRETURN rc = SQLDescribeCol(stmt, column, buffer.data(), SQLSMALLINT(buffer.size()), &length,
                                  &type, &size, &digits, &nullable);
    if (succeeded(rc) && length >= SQLSMALLINT(buffer.size())) {
        buffer.resize(size_t(length) + 1);
        rc = SQLDescribeCol(stmt, column, buffer.data(), SQLSMALLINT(buffer.size()), &length, &type,
                            &size, &digits, &nullable);
    }
    if (succeeded(rc)) {
        name = QString::fromUtf8(reinterpret_cast<const char*>(buffer.data()), length);
    }
    return rc;
}

QString columnText(SQLHSTMT stmt, SQLUSMALLINT column, SQLUSMALLINT field) {
    SQLCHAR buffer[1024] = {};
    SQLSMALLINT length = 0;
    if (!succeeded(SQLColAttribute(stmt, column, field, buffer, sizeof buffer, &length, nullptr)))
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(buffer),
                             clampLength(length, sizeof buffer - 1));
}

QString infoText(SQLHDBC dbc, SQLUSMALLINT item) {
    SQLCHAR buffer[512] = {};
    SQLSMALLINT length = 0;
    if (!succeeded(SQLGetInfo(dbc, item, buffer, sizeof buffer, &length)))
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(buffer),
                             clampLength(length, sizeof buffer - 1));
}

std::vector<DiagRecord> readRecords(SQLSMALLINT handleType, SQLHANDLE handle) {
    std::vector<DiagRecord> records;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        std::vector<SQLCHAR> text(2048);
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRec(handleType, handle, i, state, &native, text.data(),
                                     SQLSMALLINT(text.size()), &length);
        if (succeeded(rc) && length >= SQLSMALLINT(text.size())) {
            text.resize(size_t(length) + 1);
            rc = SQLGetDiagRec(handleType, handle, i, state, &native, text.data(),
                               SQLSMALLINT(text.size()), &length);
        }
        if (!succeeded(rc))
            break;
        records.push_back(DiagRecord{QString::fromLatin1(reinterpret_cast<const char*>(state), 5),
                                     int(native),
                                     QString::fromUtf8(reinterpret_cast<const char*>(text.data()),
                                                       clampLength(length, text.size() - 1))});
    }
    return records;
}

#endif

namespace {

// The driver-specific diagnostic fields of the SQL Server drivers (msodbcsql.h).
constexpr SQLSMALLINT kDiagSsMsgState = -1150;
constexpr SQLSMALLINT kDiagSsSeverity = -1151;

// An integer diagnostic field of record `number`; nullopt when the driver has none.
std::optional<int> diagInteger(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT number,
                               SQLSMALLINT field) {
    SQLINTEGER value = 0;
    SQLSMALLINT length = 0;
    if (!succeeded(
            SQLGetDiagField(handleType, handle, number, field, &value, sizeof value, &length)))
        return std::nullopt;
    return int(value);
}

}  // namespace

std::vector<DiagRecord> diagnostics(SQLSMALLINT handleType, SQLHANDLE handle, DiagDialect dialect) {
    std::vector<DiagRecord> records = readRecords(handleType, handle);
    if (dialect == DiagDialect::Plain)
        return records;
    for (size_t i = 0; i < records.size(); ++i) {
        const SQLSMALLINT number = SQLSMALLINT(i + 1);
        DiagRecord& r = records[i];
        if (dialect == DiagDialect::Microsoft) {
            r.severity = diagInteger(handleType, handle, number, kDiagSsSeverity).value_or(-1);
            r.state = diagInteger(handleType, handle, number, kDiagSsMsgState).value_or(-1);
        } else {
            // FreeTDS files the severity as the message state; it answers nothing for a
            // severity of 0 and for its own messages, which are then known by their SQLSTATE.
            // The server's real message state it hands out in no field at all (not in the
            // severity field, the row or column number either), so it stays unknown.
            r.severity = diagInteger(handleType, handle, number, kDiagSsMsgState).value_or(-1);
        }
    }
    return records;
}

data::ErrorCategory categoryOf(const QString& sqlState) {
    using data::ErrorCategory;
    if (sqlState.startsWith(QStringLiteral("08")) || sqlState == QStringLiteral("HYT00") ||
        sqlState == QStringLiteral("HYT01") || sqlState == QStringLiteral("28000"))
        return ErrorCategory::Connection;
    if (sqlState.startsWith(QStringLiteral("23")))
        return ErrorCategory::Constraint;
    if (sqlState.startsWith(QStringLiteral("22")))
        return ErrorCategory::Conversion;
    if (sqlState.startsWith(QStringLiteral("42")) || sqlState == QStringLiteral("37000"))
        return ErrorCategory::Syntax;
    return ErrorCategory::Other;
}

data::DbError errorFrom(SQLSMALLINT handleType, SQLHANDLE handle, SQLRETURN rc,
                        const QString& what) {
    const std::vector<DiagRecord> records =
        handle ? diagnostics(handleType, handle) : std::vector<DiagRecord>{};
    if (records.empty()) {
        return data::DbError(
            QStringLiteral("%1 failed (ODBC return code %2) without a message from the driver.")
                .arg(what)
                .arg(rc),
            0, QStringLiteral("HY000"));
    }
    size_t main = 0;
    while (main < records.size() && records[main].sqlState.startsWith(QStringLiteral("01")))
        ++main;
    if (main == records.size())
        main = 0;

    QStringList texts{records[main].message};
    for (size_t i = 0; i < records.size(); ++i) {
        if (i != main && !texts.contains(records[i].message))
            texts << records[i].message;
    }
    return data::DbError(texts.join(u'\n'), records[main].nativeError, records[main].sqlState,
                         categoryOf(records[main].sqlState));
}

void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const QString& what) {
    if (!succeeded(rc))
        throw errorFrom(handleType, handle, rc, what);
}

}  // namespace md::odbc
