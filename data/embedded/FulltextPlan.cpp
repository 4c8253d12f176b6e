// How a LIKE is narrowed by a contained-text index, chosen from the index's counts when the
// statement is translated.

#include "data/embedded/FulltextIndex.h"

#include "data/embedded/Connection.h"
#include "data/embedded/ErrorMapping.h"
#include "data/embedded/FulltextTables.h"
#include "data/embedded/SqliteUtil.h"
#include "data/embedded/tsql/TextRules.h"

#include <QRegularExpression>
#include <algorithm>
#include <set>
#include <string>

namespace md::embedded {

using namespace Qt::StringLiterals;
using namespace fulltext;

std::optional<FulltextFilter> fulltextFilter(Connection& conn, const FulltextIndex& ix,
                                             const QString& pattern, QChar escape) {
    std::set<std::string> grams;
    for (const std::u32string& run : tsql::LikePattern(pattern, escape).literalRuns())
        addGrams(run, grams);
    if (grams.empty())
        return std::nullopt;
    StmtLease look =
        conn.prepare(u"SELECT docs, full FROM "_s + gramTable(ix) + u" WHERE gram = ?1"_s);
    std::string rarest;
    sqlite3_int64 fewest = -1;
    bool rarestFull = false;
    for (const std::string& g : grams) {
        bindGram(look.get(), 1, g);
        const int rc = sqlite3_step(look.get());
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            throw mapSqliteError(conn.db(), rc);
        const sqlite3_int64 docs = rc == SQLITE_ROW ? sqlite3_column_int64(look.get(), 0) : 0;
        const bool full = rc == SQLITE_ROW && sqlite3_column_int(look.get(), 1) != 0;
        sqlite3_reset(look.get());
        if (docs <= 0)
            return FulltextFilter{{}, u"0"_s};  // no row holds this piece
        if (fewest < 0 || docs < fewest || (docs == fewest && rarestFull && !full)) {
            fewest = docs;
            rarest = g;
            rarestFull = full;
        }
    }
    const QString rarestText = QString::fromUtf8(rarest.data(), qsizetype(rarest.size()));
    if (!rarestFull && fewest <= ix.cap) {
        return FulltextFilter{ix.rowidColumn, u"IN (SELECT rid FROM "_s + postTable(ix) +
                                                  u" WHERE gram = "_s + lit(rarestText) + u')'};
    }
    // Common pieces: every match has a key between the highest of their lowest keys and the
    // lowest of their highest.
    QStringList list;
    for (const std::string& g : grams)
        list << lit(QString::fromUtf8(g.data(), qsizetype(g.size())));
    StmtLease bound = conn.prepare(u"SELECT max(first), min(last) FROM "_s + gramTable(ix) +
                                   u" WHERE gram IN ("_s + list.join(u", "_s) + u')');
    if (sqlite3_step(bound.get()) != SQLITE_ROW)
        return std::nullopt;
    const auto literal = [&](int column) -> QString {
        sqlite3_stmt* b = bound.get();
        switch (sqlite3_column_type(b, column)) {
            case SQLITE_INTEGER:
                return QString::number(sqlite3_column_int64(b, column));
            case SQLITE_TEXT:
                return lit(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(b, column)),
                                      sqlite3_column_bytes(b, column)));
            default:
                return {};
        }
    };
    const QString low = literal(0), high = literal(1);
    if (low.isEmpty() || high.isEmpty())
        return std::nullopt;
    return FulltextFilter{ix.keyColumn, u"BETWEEN "_s + low + u" AND "_s + high};
}

namespace {

// A view's columns by where they come from: (origin table, origin column) -> the view's name.
struct ViewColumn {
    QString name, table, column;
};

std::vector<ViewColumn> viewColumns(sqlite3* db, const QString& view) {
    std::vector<ViewColumn> out;
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = (u"SELECT * FROM "_s + q(view)).toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return out;
    }
    const auto str = [](const char* s) { return s ? QString::fromUtf8(s) : QString(); };
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
        out.push_back({str(sqlite3_column_name(stmt, i)), str(sqlite3_column_table_name(stmt, i)),
                       str(sqlite3_column_origin_name(stmt, i))});
    }
    sqlite3_finalize(stmt);
    return out;
}

// Whether the view's text names the table once: its columns then all come from one row of it.
bool namesTableOnce(sqlite3* db, const QString& view, const QString& table) {
    SqliteQuery def(db, u"SELECT sql FROM sqlite_master WHERE type = 'view' AND name = ?"_s);
    def.bind(1, view);
    if (!def.step())
        return false;
    const QRegularExpression word(
        u"(?<![\\w$])\"?"_s + QRegularExpression::escape(table) + u"\"?(?![\\w$])"_s,
        QRegularExpression::CaseInsensitiveOption);
    qsizetype count = 0;
    for (auto it = word.globalMatch(def.text(0)); it.hasNext(); it.next())
        ++count;
    return count == 1;
}

}  // namespace

std::optional<FulltextFilter> fulltextFilterFor(Connection& conn, const QString& source,
                                                const QString& column, const QString& pattern,
                                                QChar escape) {
    const CatObject* o = conn.catalogue().find(source);
    if (!o)
        return std::nullopt;
    if (o->xtype == u"U ") {
        const auto ix = fulltextIndexOn(conn.db(), o->name, column);
        return ix ? fulltextFilter(conn, *ix, pattern, escape) : std::nullopt;
    }
    if (o->xtype != u"V ")
        return std::nullopt;
    const std::vector<ViewColumn> cols = viewColumns(conn.db(), o->name);
    const auto shown = std::find_if(cols.begin(), cols.end(), [&](const ViewColumn& c) {
        return c.name.compare(column, Qt::CaseInsensitive) == 0;
    });
    if (shown == cols.end() || shown->table.isEmpty())
        return std::nullopt;
    const auto ix = fulltextIndexOn(conn.db(), shown->table, shown->column);
    if (!ix || !namesTableOnce(conn.db(), o->name, ix->table))
        return std::nullopt;
    auto f = fulltextFilter(conn, *ix, pattern, escape);
    if (!f || f->column.isEmpty())
        return f;
    for (const ViewColumn& c : cols) {
        if (c.table.compare(ix->table, Qt::CaseInsensitive) == 0 &&
            c.column.compare(f->column, Qt::CaseInsensitive) == 0) {
            f->column = c.name;
            return f;
        }
    }
    return std::nullopt;
}

}  // namespace md::embedded
