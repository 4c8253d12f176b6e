#pragma once

// The error path's recorder in the running program: errors go to the configuration database's
// error log through the session module, reports go out through its mail, and the report carries
// the session's user code, company database and menu caption.

#include "errors/ErrorRecorder.h"

namespace md::data {
class TDMConfig;
}

namespace md::errors {

class ConfigErrorRecorder : public ErrorRecorder {
  public:
    // Works on `config`; without one, on the process-wide session module as it is at the time
    // of each call (the company module, which installs the handler, is created before it).
    explicit ConfigErrorRecorder(data::TDMConfig* config = nullptr) : config_(config) {}

    // Throws when there is no session module yet or its error log cannot be written.
    void logError(const QString& message) override;
    // Hands the report to the session module's mail, which waits for it and swallows every
    // failure; false only when there is no session module.
    bool mailError(const QString& subject, const QString& body) override;

    QString userCode() const override;
    QString companyDbName() const override;
    QString menuCaption() const override;

  private:
    data::TDMConfig* config() const;
    data::TDMConfig* config_;
};

}  // namespace md::errors
