#pragma once

#include <QString>
#include <stdexcept>
#include <vector>

namespace md::data {

// Broad kind of a database failure, so callers can react without parsing texts.
enum class ErrorCategory { Connection, Constraint, Conversion, Syntax, Other };

// The one exception type of the data layer. It carries the server's (or driver's) message
// unchanged, because the error dialog recognises fragments of exactly that text.
class DbError : public std::runtime_error {
  public:
    DbError(QString message, int nativeError = 0, QString sqlState = {},
            ErrorCategory category = ErrorCategory::Other);

    const QString& message() const { return message_; }
    int nativeError() const { return nativeError_; }
    const QString& sqlState() const { return sqlState_; }
    ErrorCategory category() const { return category_; }
    // SQL Server's severity level for the message (16 for ordinary user errors).
    int level() const { return level_; }
    void setLevel(int level) { level_ = level; }
    // SQL Server's state number for the message: which of the places that raise the same
    // number raised it. 1 when the server or driver does not tell it.
    int state() const { return state_; }
    void setState(int state) { state_ = state; }
    // The statement that failed, added as the error travels up; empty when not known.
    const QString& statement() const { return statement_; }
    void setStatement(const QString& statement);
    // The errors of later statements of the same batch, in order: a batch goes on after a
    // statement-level error, and the first error is raised with the others kept here.
    const std::vector<DbError>& laterErrors() const { return later_; }
    void addLaterError(const DbError& e) { later_.push_back(e); }

  private:
    QString message_;
    int nativeError_;
    QString sqlState_;
    ErrorCategory category_;
    int level_ = 16;
    int state_ = 1;
    QString statement_;
    std::string what_;
    std::vector<DbError> later_;
};

// Raises errors[from], with the errors after it kept on it as later errors; nothing when there
// is no error from `from` on.
void raiseBatchErrors(const std::vector<DbError>& errors, size_t from = 0);

// Misuse of the data API by the program itself (an unset parameter, an unknown field, a
// value of the wrong type): never a silent NULL.
class UsageError : public std::logic_error {
  public:
    explicit UsageError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

}  // namespace md::data
