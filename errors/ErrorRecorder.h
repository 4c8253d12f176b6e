#pragma once

// What the error path needs from the session: a place to record each error, a way to mail a
// report to support, and the session values the report carries. The configuration module
// implements it; tests use their own.

#include <QString>

namespace md::errors {

class ErrorRecorder {
  public:
    virtual ~ErrorRecorder() = default;

    // Records the message as raised. May throw when the record cannot be written (the
    // configuration database unreachable, for one); the handler copes with that.
    virtual void logError(const QString& message) = 0;

    // Mails a report to support and waits for it to go out. Never throws; false when the mail
    // did not go out.
    virtual bool mailError(const QString& subject, const QString& body) = 0;

    virtual QString userCode() const = 0;
    virtual QString companyDbName() const = 0;
    virtual QString menuCaption() const = 0;
};

}  // namespace md::errors
