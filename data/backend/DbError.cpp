#include "data/backend/DbError.h"

namespace md::data {

DbError::DbError(QString message, int nativeError, QString sqlState, ErrorCategory category)
    : std::runtime_error(message.toStdString()),
      message_(std::move(message)),
      nativeError_(nativeError),
      sqlState_(std::move(sqlState)),
      category_(category) {}

void DbError::setStatement(const QString& statement) {
    if (statement_.isEmpty()) statement_ = statement;
}

UsageError::UsageError(const QString& message) : std::logic_error(message.toStdString()) {}

}  // namespace md::data
