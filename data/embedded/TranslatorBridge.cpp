#include "data/embedded/TranslatorBridge.h"

namespace md::embedded {

QString translateData(const QString& statement, const tsql::SchemaLookup& schema) {
    return tsql::translateStatementUncached(statement, schema);
}

QString translateExpr(const QString& expression, const tsql::SchemaLookup& schema) {
    return tsql::translateExpressionUncached(expression, schema);
}

void registerTranslatorFunctions(sqlite3* db) {
    tsql::registerFunctions(db);
}

}  // namespace md::embedded
