#include "data/embedded/FulltextIndex.h"
#include "data/embedded/FulltextTables.h"

#include "data/backend/DbError.h"
#include "data/embedded/Connection.h"
#include "data/embedded/EngineConventions.h"
#include "data/embedded/ErrorMapping.h"
#include "data/embedded/SqliteUtil.h"
#include "data/embedded/tsql/TextRules.h"

#include <algorithm>
#include <set>
#include <string>
#include <unordered_map>

namespace md::embedded {

namespace fulltext {

using namespace Qt::StringLiterals;

QString q(const QString& identifier) {
    return u'"' + QString(identifier).replace(u'"', u"\"\""_s) + u'"';
}
QString lit(const QString& text) {
    return u'\'' + QString(text).replace(u'\'', u"''"_s) + u'\'';
}

QString suffix(const FulltextIndex& ix) {
    return ix.table + u'_' + ix.column;
}
QString gramTable(const FulltextIndex& ix) {
    return q(u"md_ft_gram_"_s + suffix(ix));
}
QString postTable(const FulltextIndex& ix) {
    return q(u"md_ft_post_"_s + suffix(ix));
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

// The distinct pieces of three characters of a folded text, as UTF-8.
void addGrams(std::u32string_view folded, std::set<std::string>& out) {
    for (size_t i = 0; i + 3 <= folded.size(); ++i) {
        std::string g;
        for (size_t k = 0; k < 3; ++k)
            appendUtf8(g, folded[i + k]);
        out.insert(std::move(g));
    }
}

void bindGram(sqlite3_stmt* stmt, int index, const std::string& gram) {
    sqlite3_bind_text(stmt, index, gram.data(), int(gram.size()), SQLITE_TRANSIENT);
}

}  // namespace fulltext

namespace {

using namespace Qt::StringLiterals;
using namespace fulltext;

std::set<std::string> gramsOf(sqlite3_value* text) {
    std::set<std::string> grams;
    if (sqlite3_value_type(text) == SQLITE_NULL)
        return grams;
    const auto* s = reinterpret_cast<const char*>(sqlite3_value_text(text));
    thread_local std::u32string folded;
    tsql::likeFoldedUtf8(s ? s : "", sqlite3_value_bytes(text), folded);
    addGrams(folded, grams);
    return grams;
}

void stepDone(Connection& conn, sqlite3_stmt* stmt) {
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw data::DbError(QString::fromUtf8(sqlite3_errmsg(conn.db())));
    sqlite3_reset(stmt);
}

FulltextIndex indexOfArgs(sqlite3_value** argv) {
    FulltextIndex ix;
    ix.table = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])));
    ix.column = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[1])));
    return ix;
}

// Counts the row in for each of its pieces, lowers their lowest key, and lists the row under
// the pieces that still keep lists; a piece that passes the cap gives its list up.
void addRow(Connection& conn, const FulltextIndex& ix, sqlite3_int64 cap, sqlite3_int64 rid,
            sqlite3_value* key, sqlite3_value* text) {
    const std::set<std::string> grams = gramsOf(text);
    if (grams.empty())
        return;
    StmtLease count = conn.prepare(
        u"INSERT INTO "_s + gramTable(ix) +
        u" (gram, docs, first, last, full) VALUES (?1, 1, ?2, ?2, 0) ON CONFLICT (gram) DO "
        "UPDATE SET docs = docs + 1, first = CASE WHEN excluded.first < first THEN "
        "excluded.first ELSE first END, last = CASE WHEN excluded.last > last THEN "
        "excluded.last ELSE last END RETURNING docs, full"_s);
    StmtLease post = conn.prepare(u"INSERT OR IGNORE INTO "_s + postTable(ix) +
                                  u" (gram, rid) VALUES (?1, ?2)"_s);
    for (const std::string& g : grams) {
        sqlite3_stmt* c = count.get();
        bindGram(c, 1, g);
        sqlite3_bind_value(c, 2, key);
        if (sqlite3_step(c) != SQLITE_ROW)
            throw data::DbError(QString::fromUtf8(sqlite3_errmsg(conn.db())));
        const sqlite3_int64 docs = sqlite3_column_int64(c, 0);
        const bool full = sqlite3_column_int(c, 1) != 0;
        sqlite3_reset(c);
        if (full)
            continue;
        if (docs > cap) {
            StmtLease mark =
                conn.prepare(u"UPDATE "_s + gramTable(ix) + u" SET full = 1 WHERE gram = ?1"_s);
            bindGram(mark.get(), 1, g);
            stepDone(conn, mark.get());
            StmtLease drop =
                conn.prepare(u"DELETE FROM "_s + postTable(ix) + u" WHERE gram = ?1"_s);
            bindGram(drop.get(), 1, g);
            stepDone(conn, drop.get());
            continue;
        }
        bindGram(post.get(), 1, g);
        sqlite3_bind_int64(post.get(), 2, rid);
        stepDone(conn, post.get());
    }
}

// Counts the row out; the lowest keys stay, still a bound below every row that holds a piece.
void removeRow(Connection& conn, const FulltextIndex& ix, sqlite3_int64 rid, sqlite3_value* text) {
    const std::set<std::string> grams = gramsOf(text);
    if (grams.empty())
        return;
    StmtLease count =
        conn.prepare(u"UPDATE "_s + gramTable(ix) + u" SET docs = docs - 1 WHERE gram = ?1"_s);
    StmtLease post =
        conn.prepare(u"DELETE FROM "_s + postTable(ix) + u" WHERE gram = ?1 AND rid = ?2"_s);
    for (const std::string& g : grams) {
        bindGram(count.get(), 1, g);
        stepDone(conn, count.get());
        bindGram(post.get(), 1, g);
        sqlite3_bind_int64(post.get(), 2, rid);
        stepDone(conn, post.get());
    }
}

// md_ft_add(table, column, cap, rowid, key, text)
void mdFtAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* conn = static_cast<Connection*>(sqlite3_user_data(ctx));
    try {
        addRow(*conn, indexOfArgs(argv), sqlite3_value_int64(argv[2]), sqlite3_value_int64(argv[3]),
               argv[4], argv[5]);
        sqlite3_result_null(ctx);
    } catch (const data::DbError& e) {
        const QByteArray m = e.message().toUtf8();
        sqlite3_result_error(ctx, m.constData(), int(m.size()));
    }
}

// md_ft_remove(table, column, rowid, text)
void mdFtRemove(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* conn = static_cast<Connection*>(sqlite3_user_data(ctx));
    try {
        removeRow(*conn, indexOfArgs(argv), sqlite3_value_int64(argv[2]), argv[3]);
        sqlite3_result_null(ctx);
    } catch (const data::DbError& e) {
        const QByteArray m = e.message().toUtf8();
        sqlite3_result_error(ctx, m.constData(), int(m.size()));
    }
}

bool hasRegistry(sqlite3* db) {
    SqliteQuery probe(db, u"SELECT 1 FROM sqlite_master WHERE name = 'md_fulltext'"_s);
    return probe.step();
}

void createTriggers(sqlite3* db, const FulltextIndex& ix) {
    const QString args = lit(ix.table) + u", "_s + lit(ix.column);
    const QString cap = u"(SELECT cap FROM md_fulltext WHERE tbl = "_s + lit(ix.table) +
                        u" AND col = "_s + lit(ix.column) + u')';
    const QString add = u"SELECT md_ft_add("_s + args + u", "_s + cap + u", new.rowid, new."_s +
                        q(ix.keyColumn) + u", new."_s + q(ix.column) + u");"_s;
    const QString remove =
        u"SELECT md_ft_remove("_s + args + u", old.rowid, old."_s + q(ix.column) + u");"_s;
    const QString name = u"md_ft_"_s + suffix(ix);
    execSql(db, u"DROP TRIGGER IF EXISTS "_s + q(name + u"_ins"_s));
    execSql(db, u"DROP TRIGGER IF EXISTS "_s + q(name + u"_del"_s));
    execSql(db, u"DROP TRIGGER IF EXISTS "_s + q(name + u"_upd"_s));
    execSql(db, u"CREATE TRIGGER "_s + q(name + u"_ins"_s) + u" AFTER INSERT ON "_s + q(ix.table) +
                    u" BEGIN "_s + add + u" END"_s);
    execSql(db, u"CREATE TRIGGER "_s + q(name + u"_del"_s) + u" AFTER DELETE ON "_s + q(ix.table) +
                    u" BEGIN "_s + remove + u" END"_s);
    execSql(db, u"CREATE TRIGGER "_s + q(name + u"_upd"_s) + u" AFTER UPDATE OF "_s + q(ix.column) +
                    u", "_s + q(ix.keyColumn) + u", "_s + q(ix.rowidColumn) + u" ON "_s +
                    q(ix.table) + u" BEGIN "_s + remove + u' ' + add + u" END"_s);
}

// The rows already there, counted in memory: read in key order, the first row to hold a
// piece has its lowest key and the last its highest.
void fill(Connection& conn, const FulltextIndex& ix) {
    struct Piece {
        sqlite3_int64 docs = 0;
        QByteArray first, last;  // the key's text, or its integer as decimal digits
        bool integer = false;
        bool full = false;
        std::vector<sqlite3_int64> rows;
    };
    std::unordered_map<std::string, Piece> pieces;
    {
        SqliteQuery rows(conn.db(), u"SELECT rowid, "_s + q(ix.keyColumn) + u", "_s + q(ix.column) +
                                        u" FROM "_s + q(ix.table) + u" ORDER BY "_s +
                                        q(ix.keyColumn));
        sqlite3_stmt* stmt = rows.handle();
        while (rows.step()) {
            const sqlite3_int64 rid = sqlite3_column_int64(stmt, 0);
            const std::set<std::string> grams = gramsOf(sqlite3_column_value(stmt, 2));
            for (const std::string& g : grams) {
                Piece& p = pieces[g];
                p.last = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)),
                                    sqlite3_column_bytes(stmt, 1));
                if (p.docs++ == 0) {
                    p.integer = sqlite3_column_type(stmt, 1) == SQLITE_INTEGER;
                    p.first = p.last;
                }
                if (p.full)
                    continue;
                if (p.docs > ix.cap) {
                    p.full = true;
                    p.rows = {};
                } else {
                    p.rows.push_back(rid);
                }
            }
        }
    }
    StmtLease gram =
        conn.prepare(u"INSERT INTO "_s + gramTable(ix) +
                     u" (gram, docs, first, last, full) VALUES (?1, ?2, ?3, ?4, ?5)"_s);
    StmtLease post =
        conn.prepare(u"INSERT INTO "_s + postTable(ix) + u" (gram, rid) VALUES (?1, ?2)"_s);
    for (const auto& [g, p] : pieces) {
        bindGram(gram.get(), 1, g);
        sqlite3_bind_int64(gram.get(), 2, p.docs);
        for (const auto& [index, key] : {std::pair{3, &p.first}, std::pair{4, &p.last}}) {
            if (p.integer)
                sqlite3_bind_int64(gram.get(), index, key->toLongLong());
            else
                sqlite3_bind_text(gram.get(), index, key->constData(), int(key->size()),
                                  SQLITE_TRANSIENT);
        }
        sqlite3_bind_int(gram.get(), 5, p.full ? 1 : 0);
        stepDone(conn, gram.get());
        for (sqlite3_int64 rid : p.rows) {
            bindGram(post.get(), 1, g);
            sqlite3_bind_int64(post.get(), 2, rid);
            stepDone(conn, post.get());
        }
    }
}

}  // namespace

void registerFulltextFunctions(Connection& conn) {
    sqlite3_create_function(conn.db(), "md_ft_add", 6, SQLITE_UTF8, &conn, mdFtAdd, nullptr,
                            nullptr);
    sqlite3_create_function(conn.db(), "md_ft_remove", 4, SQLITE_UTF8, &conn, mdFtRemove, nullptr,
                            nullptr);
}

std::vector<FulltextIndex> fulltextIndexes(sqlite3* db) {
    std::vector<FulltextIndex> out;
    if (!hasRegistry(db))
        return out;
    SqliteQuery rows(db, u"SELECT tbl, col, rowidcol, keycol, cap FROM md_fulltext"_s);
    while (rows.step())
        out.push_back(
            {rows.text(0), rows.text(1), rows.text(2), rows.text(3), int(rows.integer(4))});
    return out;
}

std::optional<FulltextIndex> fulltextIndexOn(sqlite3* db, const QString& table,
                                             const QString& column) {
    for (FulltextIndex& ix : fulltextIndexes(db)) {
        if (ix.table.compare(table, Qt::CaseInsensitive) == 0 &&
            ix.column.compare(column, Qt::CaseInsensitive) == 0)
            return std::move(ix);
    }
    return std::nullopt;
}

void createFulltextIndex(Connection& conn, const FulltextIndex& ix) {
    sqlite3* db = conn.db();
    const QString collation = QString::fromLatin1(kTextCollation);
    execSql(db,
            u"CREATE TABLE IF NOT EXISTS md_fulltext (tbl TEXT NOT NULL COLLATE NOCASE, "
            "col TEXT NOT NULL COLLATE NOCASE, rowidcol TEXT NOT NULL, keycol TEXT NOT NULL, "
            "cap INTEGER NOT NULL, PRIMARY KEY (tbl, col))"_s);
    SqliteQuery reg(db,
                    u"INSERT INTO md_fulltext (tbl, col, rowidcol, keycol, cap) "
                    "VALUES (?, ?, ?, ?, ?)"_s);
    reg.bind(1, ix.table).bind(2, ix.column).bind(3, ix.rowidColumn).bind(4, ix.keyColumn);
    reg.bind(5, ix.cap);
    reg.step();
    execSql(db, u"CREATE TABLE "_s + gramTable(ix) +
                    u" (gram TEXT PRIMARY KEY, docs INTEGER NOT NULL, first COLLATE "_s +
                    collation + u", last COLLATE "_s + collation +
                    u", full INTEGER NOT NULL) WITHOUT ROWID"_s);
    execSql(db, u"CREATE TABLE "_s + postTable(ix) +
                    u" (gram TEXT NOT NULL, rid INTEGER NOT NULL, PRIMARY KEY (gram, rid)) "
                    "WITHOUT ROWID"_s);
    createTriggers(db, ix);
    fill(conn, ix);
}

void dropFulltextIndexes(Connection& conn, const QString& table) {
    for (const FulltextIndex& ix : fulltextIndexes(conn.db())) {
        if (ix.table.compare(table, Qt::CaseInsensitive) != 0)
            continue;
        const QString name = u"md_ft_"_s + suffix(ix);
        for (const char* kind : {"_ins", "_del", "_upd"})
            execSql(conn.db(), u"DROP TRIGGER IF EXISTS "_s + q(name + QString::fromLatin1(kind)));
        execSql(conn.db(), u"DROP TABLE IF EXISTS "_s + gramTable(ix));
        execSql(conn.db(), u"DROP TABLE IF EXISTS "_s + postTable(ix));
        SqliteQuery del(conn.db(), u"DELETE FROM md_fulltext WHERE tbl = ? AND col = ?"_s);
        del.bind(1, ix.table).bind(2, ix.column);
        del.step();
    }
}

void recreateFulltextTriggers(Connection& conn, const QString& table) {
    for (const FulltextIndex& ix : fulltextIndexes(conn.db())) {
        if (ix.table.compare(table, Qt::CaseInsensitive) == 0)
            createTriggers(conn.db(), ix);
    }
}

}  // namespace md::embedded
