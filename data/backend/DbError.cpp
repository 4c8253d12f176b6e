#include "data/backend/DbError.h"

namespace md::data {

DbError::DbError(QString message, int nativeError, QString sqlState, ErrorCategory category)
    : std::runtime_error(message.toStdString()),
      message_(std::move(message)),
      nativeError_(nativeError),
      sqlState_(std::move(sqlState)),
      category_(category) {}

void DbError::setStatement(const QString& statement) {
    if (statement_.isEmpty())
        statement_ = statement;
}

void raiseBatchErrors(const std::vector<DbError>& errors, size_t from) {
    if (from >= errors.size())
        return;
    DbError first = errors[from];
    for (size_t i = from + 1; i < errors.size(); ++i)
        first.addLaterError(errors[i]);
    throw first;
}

UsageError::UsageError(const QString& message) : std::logic_error(message.toStdString()) {}

}  // namespace md::data
