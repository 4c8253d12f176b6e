#include "data/embedded/TranslatorBridge.h"

#include "data/embedded/EngineConventions.h"

#include <sqlite3.h>

#ifdef MD_TSQL_PENDING
#include "data/backend/SqlLexer.h"
#endif

namespace md::embedded {

#ifdef MD_TSQL_PENDING
namespace {

// Stand-in until the translator library provides the real symbols: @@IDENTITY and GETDATE()
// are the only rewrites; everything else reaches SQLite as written.
QString pendingTranslatorPassThrough(const QString& sql) {
    data::SqlLexer lexer(sql, data::LexOptions{false});
    QString out;
    const auto& toks = lexer.tokens();
    for (size_t i = 0; i < toks.size(); ++i) {
        const QString t = sql.mid(toks[i].begin, toks[i].length);
        if (toks[i].kind == data::TokenKind::Variable &&
            t.compare(QLatin1StringView("@@IDENTITY"), Qt::CaseInsensitive) == 0) {
            out += QStringLiteral("last_insert_rowid()");
        } else if (toks[i].kind == data::TokenKind::NString) {
            out += t.mid(1);
        } else if (toks[i].kind == data::TokenKind::Word &&
                   t.compare(QLatin1StringView("GETDATE"), Qt::CaseInsensitive) == 0) {
            out += QStringLiteral("strftime('%Y-%m-%d %H:%M:%f','now','localtime')");
            // drop the empty argument list
            size_t j = i + 1;
            while (j < toks.size() && data::isTrivia(toks[j].kind))
                ++j;
            if (j + 1 < toks.size() && sql.mid(toks[j].begin, 1) == u"(" &&
                sql.mid(toks[j + 1].begin, 1) == u")") {
                i = j + 1;
            }
        } else {
            out += t;
        }
    }
    return out;
}

QString trimRight(const QString& s) {
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    return s.left(n);
}

int pendingCollation(void*, int n1, const void* a, int n2, const void* b) {
    const QString x = trimRight(QString::fromUtf8(static_cast<const char*>(a), n1));
    const QString y = trimRight(QString::fromUtf8(static_cast<const char*>(b), n2));
    const int c = x.compare(y, Qt::CaseInsensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

QString translateData(const QString& statement, const tsql::SchemaLookup&) {
    return pendingTranslatorPassThrough(statement);
}
QString translateExpr(const QString& expression, const tsql::SchemaLookup&) {
    return pendingTranslatorPassThrough(expression);
}
void registerTranslatorFunctions(sqlite3* db) {
    sqlite3_create_collation(db, kTextCollation, SQLITE_UTF8, nullptr, pendingCollation);
}

#else

QString translateData(const QString& statement, const tsql::SchemaLookup& schema) {
    return tsql::translateStatement(statement, schema);
}
QString translateExpr(const QString& expression, const tsql::SchemaLookup& schema) {
    return tsql::translateExpression(expression, schema);
}
void registerTranslatorFunctions(sqlite3* db) {
    tsql::registerFunctions(db);
}

#endif

}  // namespace md::embedded
