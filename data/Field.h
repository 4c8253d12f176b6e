#pragma once

// A column of an open Query, read and written on the query's current row.

#include "data/backend/Backend.h"
#include "data/backend/Decimal.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace md::data {

class Query;

class Field {
  public:
    Field(Query* query, int index, QString name, ColumnInfo info)
        : query_(query), index_(index), name_(std::move(name)), info_(std::move(info)) {}

    // The name the program uses: the column name, or Name_1 for the second column of that name.
    const QString& name() const { return name_; }
    const ColumnInfo& info() const { return info_; }
    // Declared text length of the column, -1 when unknown.
    int size() const { return info_.size; }
    int index() const { return index_; }

    QVariant value() const;
    // The value as read from the database (before any edit of this row).
    QVariant oldValue() const;
    bool isNull() const;

    // Conversions follow the rules users of such a layer expect: NULL gives "", 0, 0.0 or an
    // invalid date-time; text that is not a number (or a date) throws UsageError naming the field.
    QString asString() const;
    qint64 asInteger() const;
    double asFloat() const;
    // The exact value of a decimal, numeric or money column (integers and texts that are
    // numbers convert exactly, doubles as the decimal they stand for); NULL gives 0.
    Decimal asDecimal() const;
    QDateTime asDateTime() const;

    // Writing needs the query in the edit or insert state (UsageError otherwise).
    void setValue(const QVariant& v);
    void setAsString(const QString& v) { setValue(QVariant(v)); }
    void setAsInteger(qint64 v) { setValue(QVariant(qlonglong(v))); }
    void setAsFloat(double v) { setValue(QVariant(v)); }
    void setAsDecimal(const Decimal& v) { setValue(QVariant::fromValue(v)); }
    void setAsDateTime(const QDateTime& v);
    void clear();

  private:
    Query* query_;
    int index_;
    QString name_;
    ColumnInfo info_;
};

// Text of a value as the program shows it: dates as dd/mm/yyyy (with the time only when it is
// not midnight), decimals with their scale ("10.00"), other numbers without exponent where
// possible.
QString displayText(const QVariant& v);

}  // namespace md::data
