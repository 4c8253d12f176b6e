#pragma once

// A script of several statements: a line whose only non-blank content is "/" ends a statement.
// Each statement goes to the server by itself, in order, as one batch and outside any
// transaction of the script's own; a failure stops the rest and leaves the earlier statements
// applied. Empty statements are skipped; a script without "/" lines is one batch.

#include "data/Param.h"

#include <QStringList>

namespace md::data {

class Connection;

class SqlScript {
  public:
    explicit SqlScript(Connection* connection = nullptr, QStringList sql = {});

    void setConnection(Connection* c) { connection_ = c; }
    const QStringList& sql() const { return sql_; }
    void setSql(const QStringList& lines);

    // Parameters of every statement of the script, set once before the run.
    ParamList& params() { return params_; }
    Param& paramByName(const QString& name) { return params_.byName(name); }

    // The statements the script holds, each as one text.
    QStringList statements() const;
    void execute();

  private:
    Connection* connection_;
    QStringList sql_;
    ParamList params_;
};

// Splits script lines into statements at lines holding only "/"; empty statements dropped.
QStringList splitScript(const QStringList& lines);

}  // namespace md::data
