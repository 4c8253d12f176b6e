#include "data/embedded/Catalogue.h"

#include "data/embedded/SqlTypes.h"
#include "data/embedded/SqliteUtil.h"

#include <QDateTime>

namespace md::embedded {
namespace {

QString nowText() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

bool same(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

const CatColumn* CatObject::column(const QString& n) const {
    for (const auto& c : columns) {
        if (same(c.name, n))
            return &c;
    }
    return nullptr;
}

const CatColumn* CatObject::identityColumn() const {
    for (const auto& c : columns) {
        if (c.identity)
            return &c;
    }
    return nullptr;
}

void Catalogue::install(sqlite3* db) {
    execSql(db, QStringLiteral(
                    "CREATE TABLE IF NOT EXISTS md_objects(id INTEGER PRIMARY KEY AUTOINCREMENT, "
                    "name TEXT NOT NULL COLLATE TSQL, xtype TEXT NOT NULL, parent_id INTEGER NOT "
                    "NULL DEFAULT 0, crdate TEXT);"
                    "CREATE TABLE IF NOT EXISTS md_columns(object_id INTEGER NOT NULL, colid "
                    "INTEGER NOT NULL, name TEXT NOT NULL COLLATE TSQL, type_name TEXT NOT NULL, "
                    "xtype INTEGER, length INTEGER, prec INTEGER, scale INTEGER, text_length "
                    "INTEGER, nullable INTEGER, is_identity INTEGER, PRIMARY KEY(object_id, "
                    "colid));"
                    "CREATE TABLE IF NOT EXISTS md_constraints(object_id INTEGER NOT NULL, name "
                    "TEXT NOT NULL COLLATE TSQL, kind TEXT NOT NULL, table_id INTEGER NOT NULL, "
                    "columns TEXT NOT NULL, ref_table_id INTEGER, ref_columns TEXT, "
                    "cascade_delete INTEGER NOT NULL DEFAULT 0);"
                    "CREATE VIEW IF NOT EXISTS SysObjects AS SELECT id AS Id, name AS Name, xtype "
                    "AS XType, xtype AS type, 1 AS uid, parent_id AS parent_obj, crdate AS crdate "
                    "FROM md_objects;"
                    "CREATE VIEW IF NOT EXISTS SysColumns AS SELECT object_id AS Id, name AS "
                    "Name, xtype AS xtype, length AS length, colid AS colid, prec AS prec, scale "
                    "AS scale, nullable AS isnullable FROM md_columns;"));
    // Ids start where SQL Server's user objects do, well away from small numbers.
    execSql(db, QStringLiteral("INSERT INTO sqlite_sequence(name, seq) SELECT 'md_objects', "
                               "1000 WHERE NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE name "
                               "= 'md_objects')"));
}

void Catalogue::load(sqlite3* db) {
    objects_.clear();
    constraints_.clear();
    {
        SqliteQuery q(db, QStringLiteral("SELECT id, name, xtype, parent_id FROM md_objects "
                                         "ORDER BY id"));
        while (q.step()) {
            objects_.push_back(CatObject{q.integer(0), q.text(1), q.text(2), q.integer(3), {}});
        }
    }
    {
        SqliteQuery q(db, QStringLiteral("SELECT object_id, colid, name, type_name, xtype, "
                                         "length, prec, scale, text_length, nullable, "
                                         "is_identity, (SELECT 1) FROM md_columns ORDER BY "
                                         "object_id, colid"));
        while (q.step()) {
            const qint64 id = q.integer(0);
            for (auto& o : objects_) {
                if (o.id != id)
                    continue;
                CatColumn c;
                c.colid = int(q.integer(1));
                c.name = q.text(2);
                c.typeName = q.text(3);
                c.xtype = int(q.integer(4));
                c.length = int(q.integer(5));
                c.type = typeFromDecl(c.typeName).value_or(tsql::ColumnType{});
                // A catalogue written before a type had its precision keeps the type's own.
                if (!q.isNull(6))
                    c.type.precision = int(q.integer(6));
                c.type.scale = q.isNull(7) ? -1 : int(q.integer(7));
                c.type.length = q.isNull(8) ? -1 : int(q.integer(8));
                c.nullable = q.integer(9) != 0;
                c.identity = q.integer(10) != 0;
                o.columns.push_back(c);
            }
        }
    }
    SqliteQuery q(db, QStringLiteral("SELECT object_id, name, kind, table_id, columns, "
                                     "ref_table_id, ref_columns, cascade_delete FROM "
                                     "md_constraints ORDER BY rowid"));
    while (q.step()) {
        CatConstraint c;
        c.objectId = q.integer(0);
        c.name = q.text(1);
        c.kind = q.text(2);
        c.tableId = q.integer(3);
        c.columns = q.text(4).split(u',', Qt::SkipEmptyParts);
        c.refTableId = q.integer(5);
        c.refColumns = q.text(6).split(u',', Qt::SkipEmptyParts);
        c.cascadeDelete = q.integer(7) != 0;
        constraints_.push_back(c);
    }
}

const CatObject* Catalogue::find(const QString& name) const {
    for (const auto& o : objects_) {
        if ((o.xtype == u"U " || o.xtype == u"V ") && same(o.name, name))
            return &o;
    }
    return nullptr;
}

const CatObject* Catalogue::byId(qint64 id) const {
    for (const auto& o : objects_) {
        if (o.id == id)
            return &o;
    }
    return nullptr;
}

bool Catalogue::anyObjectNamed(const QString& name) const {
    for (const auto& o : objects_) {
        if (same(o.name, name))
            return true;
    }
    return false;
}

std::vector<const CatConstraint*> Catalogue::constraintsOf(qint64 tableId) const {
    std::vector<const CatConstraint*> out;
    for (const auto& c : constraints_) {
        if (c.tableId == tableId)
            out.push_back(&c);
    }
    return out;
}

std::vector<const CatConstraint*> Catalogue::referencesTo(qint64 tableId) const {
    std::vector<const CatConstraint*> out;
    for (const auto& c : constraints_) {
        if (c.kind == u"F" && c.refTableId == tableId)
            out.push_back(&c);
    }
    return out;
}

const CatConstraint* Catalogue::index(qint64 tableId, const QString& name) const {
    for (const auto& c : constraints_) {
        if (c.kind == u"IX" && c.tableId == tableId && same(c.name, name))
            return &c;
    }
    return nullptr;
}

qint64 Catalogue::addObject(sqlite3* db, const QString& name, const QString& xtype, qint64 parent) {
    SqliteQuery q(db, QStringLiteral("INSERT INTO md_objects(name, xtype, parent_id, crdate) "
                                     "VALUES (?, ?, ?, ?)"));
    q.bind(1, name).bind(2, xtype).bind(3, parent).bind(4, nowText());
    q.step();
    return sqlite3_last_insert_rowid(db);
}

void Catalogue::addColumn(sqlite3* db, qint64 objectId, const CatColumn& c) {
    SqliteQuery q(db, QStringLiteral("INSERT INTO md_columns(object_id, colid, name, type_name, "
                                     "xtype, length, prec, scale, text_length, nullable, "
                                     "is_identity) VALUES (?, (SELECT coalesce(max(colid), 0) + "
                                     "1 FROM md_columns WHERE object_id = ?), ?, ?, ?, ?, ?, ?, "
                                     "?, ?, ?)"));
    auto opt = [](int v) { return v < 0 ? QVariant() : QVariant(v); };
    q.bind(1, objectId).bind(2, objectId).bind(3, c.name).bind(4, c.typeName);
    q.bind(5, c.xtype).bind(6, c.length).bind(7, opt(c.type.precision)).bind(8, opt(c.type.scale));
    q.bind(9, opt(c.type.length)).bind(10, c.nullable ? 1 : 0).bind(11, c.identity ? 1 : 0);
    q.step();
}

void Catalogue::addConstraint(sqlite3* db, const CatConstraint& c) {
    SqliteQuery q(db, QStringLiteral("INSERT INTO md_constraints(object_id, name, kind, "
                                     "table_id, columns, ref_table_id, ref_columns, "
                                     "cascade_delete) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    q.bind(1, c.objectId).bind(2, c.name).bind(3, c.kind).bind(4, c.tableId);
    q.bind(5, c.columns.join(u',')).bind(6, c.refTableId).bind(7, c.refColumns.join(u','));
    q.bind(8, c.cascadeDelete ? 1 : 0);
    q.step();
}

void Catalogue::dropIndex(sqlite3* db, qint64 tableId, const QString& name) {
    SqliteQuery q(db, QStringLiteral("DELETE FROM md_constraints WHERE kind = 'IX' AND "
                                     "table_id = ? AND name = ?"));
    q.bind(1, tableId).bind(2, name);
    q.step();
}

void Catalogue::dropObject(sqlite3* db, qint64 id) {
    const QString sql = QStringLiteral(
        "DELETE FROM md_columns WHERE object_id = ?1;"
        "DELETE FROM md_constraints WHERE table_id = ?1 OR object_id = ?1;"
        "DELETE FROM md_objects WHERE parent_id = ?1 OR id = ?1");
    for (const QString& one : sql.split(u';')) {
        SqliteQuery q(db, one);
        q.bind(1, id);
        q.step();
    }
}

void Catalogue::syncProcedures(sqlite3* db, const QStringList& names) {
    // Only a missing procedure writes, so opening a session never waits for another
    // session's transaction.
    QStringList present;
    {
        SqliteQuery q(db, QStringLiteral("SELECT name FROM md_objects WHERE xtype = 'P '"));
        while (q.step())
            present << q.text(0);
    }
    for (const QString& n : names) {
        if (present.contains(n, Qt::CaseInsensitive))
            continue;
        SqliteQuery q(db, QStringLiteral("INSERT INTO md_objects(name, xtype, parent_id, crdate) "
                                         "SELECT ?1, 'P ', 0, ?2 WHERE NOT EXISTS (SELECT 1 FROM "
                                         "md_objects WHERE name = ?1 AND xtype = 'P ')"));
        q.bind(1, n).bind(2, nowText());
        q.step();
    }
}

std::optional<tsql::ColumnType> Catalogue::columnType(const QString& table,
                                                      const QString& column) const {
    const CatObject* o = find(table);
    if (!o)
        return std::nullopt;
    const CatColumn* c = o->column(column);
    if (!c)
        return std::nullopt;
    return c->type;
}

}  // namespace md::embedded
