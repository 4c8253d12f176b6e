#pragma once

// A stored procedure on a named connection: named '@' parameters in and out, and the integer
// result value.

#include "data/backend/Backend.h"

#include <QDateTime>
#include <QString>
#include <vector>

namespace md::data {

class Connection;

class StoredProc {
  public:
    StoredProc(Connection* connection, QString procedureName);

    const QString& procedureName() const { return name_; }

    // Inputs, by name with its '@'.
    void setInput(const QString& name, const QVariant& value);
    void setInteger(const QString& name, qint64 v) { setInput(name, QVariant(qlonglong(v))); }
    void setString(const QString& name, const QString& v) { setInput(name, QVariant(v)); }
    void setDateTime(const QString& name, const QDateTime& v) { setInput(name, QVariant(v)); }
    // Declares an output parameter and the type it comes back as.
    void declareOutput(const QString& name, QMetaType::Type type, int size = -1);

    // Calls the procedure; outputs are readable afterwards.
    void execProc();
    // Clears the outputs read by the last call (inputs stay).
    void close();

    // An output (or input) value after the call; UsageError for a name never declared or set.
    QVariant value(const QString& name) const;
    QString asString(const QString& name) const;
    qint64 asInteger(const QString& name) const;
    int result() const { return result_; }

  private:
    ProcParam& find(const QString& name);
    const ProcParam* findConst(const QString& name) const;

    Connection* connection_;
    QString name_;
    std::vector<ProcParam> params_;
    int result_ = 0;
    bool executed_ = false;
};

}  // namespace md::data
