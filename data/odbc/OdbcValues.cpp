#include "data/odbc/OdbcValues.h"

namespace md::odbc {

Kind kindOfMeta(int type) {
    switch (type) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
            return Kind::Integer;
        case QMetaType::Double:
        case QMetaType::Float:
            return Kind::Real;
        case QMetaType::QString:
        case QMetaType::QChar:
            return Kind::Text;
        case QMetaType::QDateTime:
        case QMetaType::QDate:
            return Kind::DateTime;
        case QMetaType::QByteArray:
            return Kind::Binary;
        default:
            return Kind::Unknown;
    }
}

Kind kindOfSql(SQLSMALLINT type) {
    switch (type) {
        case SQL_BIT:
        case SQL_TINYINT:
        case SQL_SMALLINT:
        case SQL_INTEGER:
        case SQL_BIGINT:
            return Kind::Integer;
        case SQL_REAL:
        case SQL_FLOAT:
        case SQL_DOUBLE:
        case SQL_NUMERIC:
        case SQL_DECIMAL:
            return Kind::Real;
        case SQL_TYPE_DATE:
        case SQL_TYPE_TIMESTAMP:
        case SQL_DATE:
        case SQL_TIMESTAMP:
            return Kind::DateTime;
        case SQL_BINARY:
        case SQL_VARBINARY:
        case SQL_LONGVARBINARY:
            return Kind::Binary;
        default:  // character types, GUIDs, times and anything else read as text
            return Kind::Text;
    }
}

QMetaType::Type metaOf(Kind kind) {
    switch (kind) {
        case Kind::Integer:
            return QMetaType::LongLong;
        case Kind::Real:
            return QMetaType::Double;
        case Kind::DateTime:
            return QMetaType::QDateTime;
        case Kind::Binary:
            return QMetaType::QByteArray;
        default:
            return QMetaType::QString;
    }
}

SQL_TIMESTAMP_STRUCT toTimestamp(const QDateTime& value) {
    SQL_TIMESTAMP_STRUCT ts{};
    const QDate d = value.date();
    const QTime t = value.time();
    ts.year = SQLSMALLINT(d.year());
    ts.month = SQLUSMALLINT(d.month());
    ts.day = SQLUSMALLINT(d.day());
    ts.hour = SQLUSMALLINT(t.hour());
    ts.minute = SQLUSMALLINT(t.minute());
    ts.second = SQLUSMALLINT(t.second());
    ts.fraction = SQLUINTEGER(t.msec()) * 1000000u;
    return ts;
}

QVariant fromTimestamp(const SQL_TIMESTAMP_STRUCT& ts) {
    const QDate date(ts.year, ts.month, ts.day);
    if (!date.isValid())
        return QVariant(QMetaType(QMetaType::QDateTime));
    return QDateTime(date, QTime(ts.hour, ts.minute, ts.second, int(ts.fraction / 1000000u)));
}

}  // namespace md::odbc
