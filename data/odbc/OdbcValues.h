#pragma once

// How values travel between the program's QVariants and ODBC: the kind of a value or of a SQL
// type, the QVariant type a column's values get, and timestamps.

#include "data/odbc/OdbcCalls.h"

#include <QDateTime>
#include <QMetaType>
#include <QVariant>

namespace md::odbc {

enum class Kind { Integer, Real, Text, DateTime, Binary, Unknown };

Kind kindOfMeta(int type);
// Character types, GUIDs, times and anything else unknown read as text.
Kind kindOfSql(SQLSMALLINT type);
QMetaType::Type metaOf(Kind kind);

SQL_TIMESTAMP_STRUCT toTimestamp(const QDateTime& value);
// A null QDateTime for a date no calendar has.
QVariant fromTimestamp(const SQL_TIMESTAMP_STRUCT& ts);

}  // namespace md::odbc
