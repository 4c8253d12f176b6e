#include "data/embedded/TranslatorBridge.h"

namespace md::embedded {

QString translateData(const QString& statement, const tsql::SchemaLookup& schema,
                      std::vector<tsql::ColumnType>* columns) {
    return tsql::translateStatement(statement, schema, columns);
}

QString translateExpr(const QString& expression, const tsql::SchemaLookup& schema) {
    return tsql::translateExpression(expression, schema);
}

void registerTranslatorFunctions(sqlite3* db) {
    tsql::registerFunctions(db);
}

}  // namespace md::embedded
