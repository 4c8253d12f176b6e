#pragma once

// Stored procedures of the embedded engine are C++ functions registered by name. A call runs
// on the caller's session, inside whatever transaction the caller has open, so a procedure's
// rows commit or roll back with the caller's work.

#include "data/backend/Backend.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

namespace md::embedded {

// A declared parameter of a registered procedure.
struct ProcedureParamDecl {
    QString name;  // with '@'
    QMetaType::Type type = QMetaType::QString;
    bool output = false;
    bool required = true;  // an input without a default: missing gives error 201
};

// The arguments of one call, matched to the declaration (names without regard to case).
class ProcedureCall {
  public:
    ProcedureCall(const QString& procedure, const std::vector<ProcedureParamDecl>& decls,
                  std::vector<data::ProcParam>& args);
    // The value passed for an input (a null QVariant when it was passed as NULL or is optional
    // and missing).
    QVariant in(const QString& name) const;
    // Sets an output; ignored when the caller did not pass that output.
    void out(const QString& name, const QVariant& value);

  private:
    std::vector<data::ProcParam>& args_;
};

// The body of a procedure: runs statements through `session` and returns the result value.
using ProcedureBody = std::function<int(data::Session& session, ProcedureCall& call)>;

class ProcedureRegistry {
  public:
    static ProcedureRegistry& instance();
    void add(const QString& name, std::vector<ProcedureParamDecl> params, ProcedureBody body);
    bool contains(const QString& name) const;
    // Names of the registered procedures, as registered.
    QStringList names() const;
    // The declared parameters of a procedure (for arguments passed by position); nullptr for
    // an unknown name.
    const std::vector<ProcedureParamDecl>* parameters(const QString& name) const;
    // Runs a registered procedure. Throws DbError 2812 ("Could not find stored procedure 'X'.")
    // for an unknown name, 201 for a missing required input, 8145 for an unknown parameter.
    int call(data::Session& session, const QString& name,
             std::vector<data::ProcParam>& params) const;

  private:
    struct Entry {
        QString name;
        std::vector<ProcedureParamDecl> params;
        ProcedureBody body;
    };
    std::vector<Entry> entries_;
};

}  // namespace md::embedded
