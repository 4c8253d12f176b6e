#pragma once

// Named parameters of a statement. The program writes them as :Name in its SQL; they are found
// outside string literals, quoted and bracketed identifiers and comments, and replaced by '?'
// placeholders bound by position when the statement goes to the backend.

#include "data/backend/Decimal.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <vector>

namespace md::data {

class Param {
  public:
    explicit Param(QString name) : name_(std::move(name)) {}

    const QString& name() const { return name_; }
    bool isSet() const { return set_; }
    const QVariant& value() const { return value_; }

    void setAsString(const QString& v) { assign(QVariant(v)); }
    void setAsInteger(qint64 v) { assign(QVariant(qlonglong(v))); }
    void setAsFloat(double v) { assign(QVariant(v)); }
    // An exact decimal: the server converts it to the column without passing through a double.
    void setAsDecimal(const Decimal& v) { assign(QVariant::fromValue(v)); }
    void setAsDateTime(const QDateTime& v);
    void setAsBlob(const QByteArray& v) { assign(QVariant(v)); }
    // A typed NULL; the type tells a backend how to bind it.
    void setNull(QMetaType::Type type = QMetaType::QString);
    // Any value of a supported type (null, integer, float, string, date-time, binary);
    // other types throw UsageError naming the parameter.
    void setValue(const QVariant& v);
    void clear();

    QString asString() const { return value_.toString(); }
    qint64 asInteger() const { return value_.toLongLong(); }

  private:
    void assign(QVariant v);
    QString name_;
    QVariant value_;
    bool set_ = false;
};

// The parameters of one statement, looked up by name without regard to case.
class ParamList {
  public:
    // Rebuilds the list for the names found in a statement, keeping values already set for
    // names that are still there.
    void resetNames(const std::vector<QString>& names);
    Param& byName(const QString& name);  // throws UsageError when the statement has no such name
    const Param* find(const QString& name) const;
    Param* find(const QString& name);
    int count() const { return int(params_.size()); }
    Param& at(int i) { return params_[size_t(i)]; }
    const Param& at(int i) const { return params_[size_t(i)]; }

  private:
    std::vector<Param> params_;
};

// A statement with its :Name references replaced by '?'. `references` lists, for each '?' in
// order, the parameter name it stands for (a name may appear several times).
struct ParsedSql {
    QString text;
    std::vector<QString> references;
    std::vector<QString> distinctNames() const;
};
ParsedSql parseParameters(const QString& sql);

// True for values a backend can bind: null, integer, float, decimal, string, date-time,
// binary.
bool isBindableValue(const QVariant& v);

}  // namespace md::data
