#include "data/odbc/OdbcDiagnostics.h"

namespace md::odbc {

namespace {

bool driverTrouble(const QString& sqlState) {
    return sqlState.startsWith(QStringLiteral("08")) || sqlState.startsWith(QStringLiteral("HY")) ||
           sqlState.startsWith(QStringLiteral("IM"));
}

bool informs(const QString& sqlState) {
    return sqlState.startsWith(QStringLiteral("00")) || sqlState.startsWith(QStringLiteral("01")) ||
           sqlState.startsWith(QStringLiteral("02"));
}

constexpr int kSqliteConstraint = 19;
constexpr int kInformationalLevel = 10;
constexpr int kFatalLevel = 20;

}  // namespace

bool reportsError(const DiagRecord& record) {
    if (record.severity < 0)
        return !informs(record.sqlState);
    return record.severity > kInformationalLevel || driverTrouble(record.sqlState);
}

data::DbError errorOf(const DiagRecord& record, bool sqliteDriver) {
    data::ErrorCategory category = categoryOf(record.sqlState);
    if (sqliteDriver && category == data::ErrorCategory::Other &&
        record.nativeError == kSqliteConstraint)
        category = data::ErrorCategory::Constraint;
    data::DbError e(record.message, record.nativeError, record.sqlState, category);
    if (record.severity > kInformationalLevel)
        e.setLevel(record.severity);
    if (record.state >= 0)
        e.setState(record.state);
    return e;
}

std::vector<data::DbError> errorsOf(const std::vector<DiagRecord>& records, bool sqliteDriver) {
    std::vector<data::DbError> errors;
    for (const DiagRecord& r : records) {
        if (reportsError(r))
            errors.push_back(errorOf(r, sqliteDriver));
    }
    return errors;
}

bool endsTheWalk(const data::DbError& error) {
    return error.category() == data::ErrorCategory::Connection || error.level() >= kFatalLevel ||
           (error.nativeError() == 0 && driverTrouble(error.sqlState()));
}

}  // namespace md::odbc
