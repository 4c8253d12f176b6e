#include "data/embedded/DdlTranslator.h"

#include "data/embedded/ConstraintTriggers.h"
#include "data/embedded/ErrorMapping.h"
#include "data/embedded/FulltextIndex.h"
#include "data/embedded/ServerFolder.h"
#include "data/embedded/SqlTypes.h"
#include "data/embedded/SqliteUtil.h"
#include "data/embedded/TranslatorBridge.h"

namespace md::embedded {
namespace {

QString q(const QString& ident) {
    QString s = ident;
    return u'"' + s.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString hexOf(qint64 id) {
    const quint32 h = quint32(quint64(id) * 2654435761u);
    return QStringLiteral("%1").arg(h, 8, 16, QLatin1Char('0')).toUpper();
}

QStringList columnList(TokenCursor& cur) {
    QStringList cols;
    cur.expectPunct('(');
    do {
        cols << cur.identifier();
        if (!cur.acceptWord("ASC"))
            cur.acceptWord("DESC");
    } while (cur.acceptPunct(','));
    cur.expectPunct(')');
    return cols;
}

struct PendingConstraint {
    QString name;
    QString kind;  // PK, UQ, F
    QStringList columns;
    QString refTable;
    QStringList refColumns;
    bool cascade = false;
};

struct ColumnDef {
    CatColumn cat;
    QString sqlite;  // column definition for SQLite
    QString defaultSql;
    qint64 seed = 1;
};

void skipClustered(TokenCursor& cur) {
    if (!cur.acceptWord("CLUSTERED"))
        cur.acceptWord("NONCLUSTERED");
}

void referencesClause(TokenCursor& cur, PendingConstraint& k) {
    cur.expectWord("REFERENCES");
    k.refTable = cur.identifier();
    if (cur.isPunct('('))
        k.refColumns = columnList(cur);
    while (cur.acceptWord("ON")) {
        const bool del = cur.acceptWord("DELETE");
        if (!del)
            cur.expectWord("UPDATE");
        if (cur.acceptWord("CASCADE")) {
            k.cascade = k.cascade || del;
        } else if (cur.acceptWord("NO")) {
            cur.expectWord("ACTION");
        } else {
            cur.syntaxError();
        }
    }
}

// A table constraint, or a column constraint when `column` is given.
bool constraintClause(TokenCursor& cur, const QString& column,
                      std::vector<PendingConstraint>& out) {
    PendingConstraint k;
    if (cur.acceptWord("CONSTRAINT"))
        k.name = cur.identifier();
    if (cur.acceptWord("PRIMARY")) {
        cur.expectWord("KEY");
        skipClustered(cur);
        k.kind = QStringLiteral("PK");
        k.columns = column.isEmpty() ? columnList(cur) : QStringList{column};
    } else if (cur.acceptWord("UNIQUE")) {
        skipClustered(cur);
        k.kind = QStringLiteral("UQ");
        k.columns = column.isEmpty() ? columnList(cur) : QStringList{column};
    } else if (cur.isWord("FOREIGN") || cur.isWord("REFERENCES")) {
        k.kind = QStringLiteral("F");
        if (cur.acceptWord("FOREIGN")) {
            cur.expectWord("KEY");
            k.columns =
                column.isEmpty() || cur.isPunct('(') ? columnList(cur) : QStringList{column};
        } else {
            k.columns = QStringList{column};
        }
        referencesClause(cur, k);
    } else {
        if (!k.name.isEmpty())
            cur.syntaxError();
        return false;
    }
    if (k.columns.isEmpty())
        cur.syntaxError();
    out.push_back(k);
    return true;
}

// The tokens of a DEFAULT expression: up to a ',' or ')' at its own level, or the next
// column keyword.
QString defaultExpression(TokenCursor& cur) {
    const int from = cur.pos();
    int depth = 0;
    while (!cur.atEnd()) {
        if (depth == 0 && (cur.isPunct(',') || cur.isPunct(')')))
            break;
        if (depth == 0 && from != cur.pos() &&
            (cur.isWord("NOT") || cur.isWord("NULL") || cur.isWord("PRIMARY") ||
             cur.isWord("UNIQUE") || cur.isWord("CONSTRAINT") || cur.isWord("REFERENCES") ||
             cur.isWord("IDENTITY") || cur.isWord("CHECK") || cur.isWord("COLLATE"))) {
            break;
        }
        if (cur.isPunct('('))
            ++depth;
        if (cur.isPunct(')'))
            --depth;
        cur.next();
    }
    if (cur.pos() == from)
        cur.syntaxError();
    return cur.sourceText(from, cur.pos());
}

ColumnDef columnDef(TokenCursor& cur, const tsql::SchemaLookup& schema,
                    std::vector<PendingConstraint>& constraints) {
    ColumnDef d;
    d.cat.name = cur.identifier();
    const TypeSpec t = parseType(cur);
    d.cat.typeName = t.name;
    d.cat.type = t.type;
    d.cat.xtype = t.xtype;
    d.cat.length = t.storageLength;
    QString check;
    while (!cur.atEnd() && !cur.isPunct(',') && !cur.isPunct(')')) {
        if (cur.acceptWord("IDENTITY")) {
            d.cat.identity = true;
            d.cat.nullable = false;
            if (cur.acceptPunct('(')) {
                d.seed = cur.next().text.toLongLong();
                cur.expectPunct(',');
                if (cur.next().text != u"1") {
                    throw serverError(
                        2749, QStringLiteral("Identity column '%1' must step by 1 on this server.")
                                  .arg(d.cat.name));
                }
                cur.expectPunct(')');
            }
        } else if (cur.acceptWord("NOT")) {
            cur.expectWord("NULL");
            d.cat.nullable = false;
        } else if (cur.acceptWord("NULL")) {
            d.cat.nullable = true;
        } else if (cur.acceptWord("DEFAULT")) {
            d.defaultSql = translateExpr(defaultExpression(cur), schema);
        } else if (cur.acceptWord("COLLATE")) {
            cur.identifier();
        } else if (cur.acceptWord("CHECK")) {
            const int from = cur.pos();
            int depth = 0;
            do {
                if (cur.isPunct('('))
                    ++depth;
                if (cur.isPunct(')'))
                    --depth;
                cur.next();
            } while (!cur.atEnd() && depth > 0);
            check = translateExpr(cur.sourceText(from, cur.pos()), schema);
        } else if (!constraintClause(cur, d.cat.name, constraints)) {
            cur.syntaxError();
        }
    }
    for (const auto& k : constraints) {
        if (k.kind == u"PK" && k.columns.contains(d.cat.name, Qt::CaseInsensitive))
            d.cat.nullable = false;
    }
    if (!d.defaultSql.isEmpty() &&
        (t.type.type == tsql::SqlType::Decimal || t.type.type == tsql::SqlType::Money)) {
        // A default is rounded to the column as any written value is.
        d.defaultSql = QStringLiteral("tsql_store_decimal(%1, %2, %3, 0)")
                           .arg(d.defaultSql)
                           .arg(t.type.precision)
                           .arg(t.type.scale);
    }
    if (d.cat.identity) {
        d.sqlite = q(d.cat.name) + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
    } else {
        d.sqlite = q(d.cat.name) + u' ' + t.sqliteDecl;
        if (t.text)
            d.sqlite += QStringLiteral(" COLLATE TSQL");
        else if (t.type.type == tsql::SqlType::Decimal || t.type.type == tsql::SqlType::Money)
            d.sqlite += QStringLiteral(" COLLATE TSQL_DEC");
        if (!d.defaultSql.isEmpty())
            d.sqlite += QStringLiteral(" DEFAULT (%1)").arg(d.defaultSql);
        if (!check.isEmpty())
            d.sqlite += QStringLiteral(" CHECK %1").arg(check);
    }
    return d;
}

[[noreturn]] void objectExists(const QString& name) {
    throw serverError(
        2714, QStringLiteral("There is already an object named '%1' in the database.").arg(name));
}

void addConstraints(Connection& conn, const CatObject& table, std::vector<PendingConstraint>& ks) {
    sqlite3* db = conn.db();
    for (auto& k : ks) {
        CatConstraint c;
        c.kind = k.kind;
        c.tableId = table.id;
        c.columns = k.columns;
        c.cascadeDelete = k.cascade;
        for (const QString& col : k.columns) {
            if (!table.column(col)) {
                throw serverError(
                    1911,
                    QStringLiteral("Column name '%1' does not exist in the target table or view.")
                        .arg(col));
            }
        }
        if (k.kind == u"F") {
            const CatObject* parent = conn.catalogue().find(k.refTable);
            if (k.refTable.compare(table.name, Qt::CaseInsensitive) == 0)
                parent = &table;
            if (!parent || parent->xtype != u"U ") {
                throw serverError(
                    1767, QStringLiteral("Foreign key '%1' references invalid table '%2'.")
                              .arg(k.name.isEmpty() ? k.columns.value(0) : k.name, k.refTable));
            }
            c.refTableId = parent->id;
            if (k.refColumns.isEmpty()) {
                for (const auto* pk : conn.catalogue().constraintsOf(parent->id)) {
                    if (pk->kind == u"PK")
                        k.refColumns = pk->columns;
                }
            }
            c.refColumns = k.refColumns;
        }
        if (!k.name.isEmpty() && conn.catalogue().anyObjectNamed(k.name))
            objectExists(k.name);
        c.objectId = Catalogue::addObject(db, k.name.isEmpty() ? QStringLiteral("?") : k.name,
                                          k.kind == u"F" ? QStringLiteral("F ") : k.kind, table.id);
        c.name = k.name;
        if (c.name.isEmpty()) {
            const QString hex = hexOf(c.objectId);
            c.name = k.kind == u"F"
                         ? QStringLiteral("FK__%1__%2__%3")
                               .arg(table.name.left(8), k.columns[0].left(8), hex)
                         : QStringLiteral("%1__%2__%3").arg(k.kind, table.name.left(8), hex);
            SqliteQuery u(db, QStringLiteral("UPDATE md_objects SET name = ? WHERE id = ?"));
            u.bind(1, c.name).bind(2, c.objectId);
            u.step();
        }
        Catalogue::addConstraint(db, c);
        {
            QStringList cols;
            for (const auto& col : k.columns)
                cols << q(col);
            execSql(db, QStringLiteral("CREATE INDEX %1 ON %2(%3)")
                            .arg(q(QStringLiteral("md_k_%1").arg(c.objectId)), q(table.name),
                                 cols.join(u',')));
        }
    }
}

void reload(Connection& conn) {
    conn.refreshSchema(true);
}

void rebuildAround(Connection& conn, qint64 tableId) {
    const Catalogue& cat = conn.catalogue();
    rebuildTriggers(conn.db(), cat, tableId);
    if (const CatObject* t = cat.byId(tableId))
        recreateFulltextTriggers(conn, t->name);
    for (const auto* k : cat.constraintsOf(tableId)) {
        if (k->kind == u"F" && k->refTableId != tableId)
            rebuildTriggers(conn.db(), cat, k->refTableId);
    }
}

void createTable(Connection& conn, TokenCursor& cur, const tsql::SchemaLookup& schema) {
    const QString name = cur.identifier();
    if (conn.catalogue().anyObjectNamed(name))
        objectExists(name);
    std::vector<ColumnDef> cols;
    std::vector<PendingConstraint> ks;
    cur.expectPunct('(');
    do {
        if (cur.isPunct(')'))
            break;
        if (!constraintClause(cur, QString(), ks))
            cols.push_back(columnDef(cur, schema, ks));
    } while (cur.acceptPunct(','));
    cur.expectPunct(')');
    if (!cur.atEnd())
        cur.syntaxError();
    if (cols.empty())
        cur.syntaxError();
    QStringList defs;
    for (const auto& c : cols)
        defs << c.sqlite;
    WriteScope scope(conn);
    execSql(conn.db(),
            QStringLiteral("CREATE TABLE %1 (%2)").arg(q(name), defs.join(QStringLiteral(", "))));
    const qint64 id = Catalogue::addObject(conn.db(), name, QStringLiteral("U "), 0);
    for (const auto& c : cols) {
        Catalogue::addColumn(conn.db(), id, c.cat);
        if (c.cat.identity && c.seed != 1) {
            SqliteQuery seq(conn.db(),
                            QStringLiteral("INSERT INTO sqlite_sequence(name, seq) VALUES (?, ?)"));
            seq.bind(1, name).bind(2, c.seed - 1);
            seq.step();
        }
    }
    reload(conn);
    addConstraints(conn, *conn.catalogue().byId(id), ks);
    reload(conn);
    rebuildAround(conn, id);
    scope.commit();
    reload(conn);
}

void alterTable(Connection& conn, TokenCursor& cur, const tsql::SchemaLookup& schema) {
    const QString name = cur.identifier();
    const CatObject* t = conn.catalogue().find(name);
    if (!t || t->xtype != u"U ")
        throw serverError(4902, QStringLiteral("Cannot find the object \"%1\" because it does not "
                                               "exist or you do not have permissions.")
                                    .arg(name));
    const qint64 id = t->id;
    cur.expectWord("ADD");
    std::vector<ColumnDef> cols;
    std::vector<PendingConstraint> ks;
    do {
        if (!constraintClause(cur, QString(), ks))
            cols.push_back(columnDef(cur, schema, ks));
    } while (cur.acceptPunct(','));
    if (!cur.atEnd())
        cur.syntaxError();
    WriteScope scope(conn);
    for (const auto& c : cols) {
        if (t->column(c.cat.name)) {
            throw serverError(2705,
                              QStringLiteral("Column names in each table must be unique. Column "
                                             "name '%1' in table '%2' is specified more than once.")
                                  .arg(c.cat.name, t->name));
        }
        if (c.cat.identity)
            throw serverError(
                4901, QStringLiteral("ALTER TABLE cannot add an identity column to table '%1'.")
                          .arg(t->name));
        SqliteQuery any(conn.db(),
                        QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1)").arg(q(t->name)));
        any.step();
        const bool hasRows = any.integer(0) != 0;
        if (!c.cat.nullable && c.defaultSql.isEmpty() && hasRows) {
            throw serverError(
                4901,
                QStringLiteral("ALTER TABLE only allows columns to be added that can contain "
                               "nulls, or have a DEFAULT definition specified, or the column being "
                               "added is an identity or timestamp column, or alternatively if none "
                               "of the previous conditions are satisfied the table must be empty "
                               "to allow addition of this column. Column '%1' cannot be added to "
                               "non-empty table '%2' because it does not satisfy these conditions.")
                    .arg(c.cat.name, t->name));
        }
        execSql(conn.db(),
                QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(q(t->name), c.sqlite));
        // A column that allows nulls starts NULL in the rows already there, as on SQL Server.
        if (c.cat.nullable && !c.defaultSql.isEmpty() && hasRows) {
            execSql(conn.db(),
                    QStringLiteral("UPDATE %1 SET %2 = NULL").arg(q(t->name), q(c.cat.name)));
        }
        Catalogue::addColumn(conn.db(), id, c.cat);
    }
    reload(conn);
    addConstraints(conn, *conn.catalogue().byId(id), ks);
    reload(conn);
    rebuildAround(conn, id);
    scope.commit();
    reload(conn);
}

void createIndex(Connection& conn, TokenCursor& cur, bool unique) {
    const QString name = cur.identifier();
    cur.expectWord("ON");
    const QString table = cur.identifier();
    const QStringList cols = columnList(cur);
    const CatObject* t = conn.catalogue().find(table);
    if (!t)
        throw serverError(208, QStringLiteral("Invalid object name '%1'.").arg(table));
    if (conn.catalogue().index(t->id, name)) {
        throw serverError(1913,
                          QStringLiteral("The operation failed because an index or statistics with "
                                         "name '%1' already exists on table '%2'.")
                              .arg(name, t->name));
    }
    QStringList quoted;
    for (const auto& c : cols) {
        if (!t->column(c))
            throw serverError(
                1911, QStringLiteral("Column name '%1' does not exist in the target table or view.")
                          .arg(c));
        quoted << q(c);
    }
    const qint64 id = t->id;
    WriteScope scope(conn);
    if (unique) {
        SqliteQuery dup(conn.db(),
                        QStringLiteral("SELECT %1 FROM %2 GROUP BY %1 HAVING count(*) > 1 LIMIT 1")
                            .arg(quoted.join(u','), q(t->name)));
        if (dup.step()) {
            QStringList vals;
            for (int i = 0; i < cols.size(); ++i)
                vals << (dup.isNull(i) ? QStringLiteral("<NULL>") : dup.text(i));
            throw serverError(
                1505, QStringLiteral("The CREATE UNIQUE INDEX statement terminated because a "
                                     "duplicate key was found for the object name 'dbo.%1' and the "
                                     "index name '%2'. The duplicate key value is (%3).")
                          .arg(t->name, name, vals.join(QStringLiteral(", "))));
        }
    }
    execSql(conn.db(), QStringLiteral("CREATE INDEX %1 ON %2(%3)")
                           .arg(q(t->name + u'.' + name), q(t->name), quoted.join(u',')));
    CatConstraint c;
    c.name = name;
    c.kind = unique ? QStringLiteral("IX") : QStringLiteral("I");
    c.tableId = id;
    c.columns = cols;
    Catalogue::addConstraint(conn.db(), c);
    reload(conn);
    rebuildAround(conn, id);
    scope.commit();
    reload(conn);
}

// CREATE FULLTEXT INDEX ON T (C) KEY INDEX K: the contained-text index of one text column,
// keyed by the single column of the unique index or constraint K, which must not be nullable;
// the table needs its rowid as an IDENTITY primary key, which VACUUM leaves as it is.
void createFulltext(Connection& conn, TokenCursor& cur) {
    cur.expectWord("INDEX");
    cur.expectWord("ON");
    const QString table = cur.identifier();
    const QStringList cols = columnList(cur);
    cur.expectWord("KEY");
    cur.expectWord("INDEX");
    const QString keyName = cur.identifier();
    if (!cur.atEnd())
        cur.syntaxError();
    const CatObject* t = conn.catalogue().find(table);
    if (!t || t->xtype != u"U ")
        throw serverError(208, QStringLiteral("Invalid object name '%1'.").arg(table));
    const CatColumn* column = cols.size() == 1 ? t->column(cols[0]) : nullptr;
    if (!column || column->type.type != tsql::SqlType::Text)
        throw serverError(7670, QStringLiteral("Column '%1' cannot be used for full-text search.")
                                    .arg(cols.join(u',')));
    const CatConstraint* key = nullptr;
    for (const CatConstraint* k : conn.catalogue().constraintsOf(t->id)) {
        if (k->name.compare(keyName, Qt::CaseInsensitive) == 0 && k->kind != u"F")
            key = k;
    }
    if (!key)
        key = conn.catalogue().index(t->id, keyName);
    const CatColumn* keyColumn =
        key && key->kind != u"I" && key->columns.size() == 1 ? t->column(key->columns[0]) : nullptr;
    if (!keyColumn || keyColumn->nullable) {
        throw serverError(7653, QStringLiteral("'%1' is not a valid index to enforce a full-text "
                                               "search key. A full-text search key must be a "
                                               "unique, non-nullable, single-column index.")
                                    .arg(keyName));
    }
    QString rowid;
    for (const CatColumn& c : t->columns) {
        if (c.identity)
            rowid = c.name;
    }
    SqliteQuery pk(conn.db(), QStringLiteral("SELECT name FROM pragma_table_info(?) WHERE pk = 1 "
                                             "AND upper(type) = 'INTEGER'"));
    pk.bind(1, t->name);
    if (rowid.isEmpty() || !pk.step() || pk.text(0).compare(rowid, Qt::CaseInsensitive) != 0) {
        throw serverError(7653, QStringLiteral("The table '%1' needs an IDENTITY primary key for "
                                               "a full-text index.")
                                    .arg(t->name));
    }
    if (fulltextIndexOn(conn.db(), t->name, column->name)) {
        throw serverError(7652, QStringLiteral("A full-text index for table or indexed view '%1' "
                                               "has already been created.")
                                    .arg(t->name));
    }
    WriteScope scope(conn);
    createFulltextIndex(conn, {t->name, column->name, rowid, keyColumn->name});
    scope.commit();
    reload(conn);
}

void createView(Connection& conn, TokenCursor& cur, const tsql::SchemaLookup& schema) {
    const QString name = cur.identifier();
    cur.expectWord("AS");
    if (conn.catalogue().anyObjectNamed(name))
        objectExists(name);
    const QString body = translateData(cur.sourceText(cur.pos(), int(cur.tokens().size())), schema);
    WriteScope scope(conn);
    execSql(conn.db(), QStringLiteral("CREATE VIEW %1 AS %2").arg(q(name), body));
    const qint64 id = Catalogue::addObject(conn.db(), name, QStringLiteral("V "), 0);
    {
        sqlite3_stmt* stmt = nullptr;
        const QByteArray sql = QStringLiteral("SELECT * FROM %1").arg(q(name)).toUtf8();
        sqlite3_prepare_v2(conn.db(), sql.constData(), -1, &stmt, nullptr);
        for (int i = 0; stmt && i < sqlite3_column_count(stmt); ++i) {
            CatColumn c;
            c.name = QString::fromUtf8(sqlite3_column_name(stmt, i));
            const char* decl = sqlite3_column_decltype(stmt, i);
            c.typeName = decl ? QString::fromUtf8(decl).toLower() : QStringLiteral("sql_variant");
            c.type = typeFromDecl(c.typeName).value_or(tsql::ColumnType{});
            Catalogue::addColumn(conn.db(), id, c);
        }
        sqlite3_finalize(stmt);
    }
    scope.commit();
    reload(conn);
}

void drop(Connection& conn, TokenCursor& cur) {
    if (cur.acceptWord("FULLTEXT")) {
        cur.expectWord("INDEX");
        cur.expectWord("ON");
        const QString name = cur.identifier();
        const CatObject* t = conn.catalogue().find(name);
        const auto has = [&] {
            for (const FulltextIndex& ix : fulltextIndexes(conn.db())) {
                if (ix.table.compare(t->name, Qt::CaseInsensitive) == 0)
                    return true;
            }
            return false;
        };
        if (!t || !has())
            throw serverError(7642, QStringLiteral("A full-text index for table '%1' does not "
                                                   "exist.")
                                        .arg(name));
        WriteScope scope(conn);
        dropFulltextIndexes(conn, t->name);
        scope.commit();
        reload(conn);
        return;
    }
    const bool table = cur.acceptWord("TABLE");
    const bool view = !table && cur.acceptWord("VIEW");
    if (!table && !view) {
        cur.expectWord("INDEX");
        const QString first = cur.identifier();
        QString tableName, index;
        if (cur.acceptWord("ON")) {
            index = first;
            tableName = cur.identifier();
        } else {
            // SQL Server 2000 form: DROP INDEX Table.Index
            const auto& toks = cur.tokens();
            index = first;
            tableName =
                toks.size() >= 5 ? data::unquoteIdentifier(toks[toks.size() - 3].text) : QString();
        }
        const CatObject* t = conn.catalogue().find(tableName);
        if (!t || !conn.catalogue().index(t->id, index)) {
            throw serverError(3701, QStringLiteral("Cannot drop the index '%1.%2', because it does "
                                                   "not exist or you do not have permission.")
                                        .arg(tableName, index));
        }
        const qint64 id = t->id;
        WriteScope scope(conn);
        execSql(conn.db(), QStringLiteral("DROP INDEX %1")
                               .arg(q(t->name + u'.' + conn.catalogue().index(id, index)->name)));
        Catalogue::dropIndex(conn.db(), id, index);
        reload(conn);
        rebuildAround(conn, id);
        scope.commit();
        reload(conn);
        return;
    }
    do {
        const QString name = cur.identifier();
        const CatObject* o = conn.catalogue().find(name);
        if (!o || (o->xtype == u"U ") != table) {
            throw serverError(
                3701, QStringLiteral("Cannot drop the %1 '%2', because it does not exist or you do "
                                     "not have permission.")
                          .arg(table ? QStringLiteral("table") : QStringLiteral("view"), name));
        }
        for (const auto* k : conn.catalogue().referencesTo(o->id)) {
            if (k->tableId != o->id) {
                throw serverError(3726, QStringLiteral("Could not drop object '%1' because it is "
                                                       "referenced by a FOREIGN KEY constraint.")
                                            .arg(o->name));
            }
        }
        const qint64 id = o->id;
        std::vector<qint64> parents;
        for (const auto* k : conn.catalogue().constraintsOf(id)) {
            if (k->kind == u"F" && k->refTableId != id)
                parents.push_back(k->refTableId);
        }
        WriteScope scope(conn);
        if (table)
            dropFulltextIndexes(conn, o->name);
        execSql(conn.db(),
                QStringLiteral("DROP %1 %2")
                    .arg(table ? QStringLiteral("TABLE") : QStringLiteral("VIEW"), q(o->name)));
        Catalogue::dropObject(conn.db(), id);
        reload(conn);
        for (qint64 p : parents)
            rebuildTriggers(conn.db(), conn.catalogue(), p);
        scope.commit();
        reload(conn);
    } while (cur.acceptPunct(','));
}

}  // namespace

namespace {
void runDdlStatement(Connection& conn, const QString& statement, const tsql::SchemaLookup& schema);
}

namespace {
// What a stored definition (a view, a default, a check) is translated against: the batch's
// schema, but without the narrowing of a LIKE by a contained-text index, which is chosen from
// today's data and would be wrong in a definition that outlives it.
class StoredDefinitionLookup : public tsql::SchemaLookup {
  public:
    explicit StoredDefinitionLookup(const tsql::SchemaLookup& schema) : schema_(schema) {}
    std::optional<tsql::ColumnType> column(const QString& table,
                                           const QString& column) const override {
        return schema_.column(table, column);
    }
    std::optional<tsql::ColumnType> variable(const QString& name) const override {
        return schema_.variable(name);
    }
    std::vector<std::pair<QString, tsql::ColumnType>> columns(const QString& table) const override {
        return schema_.columns(table);
    }
    std::optional<bool> leadsIndex(const QString& table, const QString& column) const override {
        return schema_.leadsIndex(table, column);
    }

  private:
    const tsql::SchemaLookup& schema_;
};
}  // namespace

void runDdl(Connection& conn, const QString& statement, const tsql::SchemaLookup& batchSchema) {
    const StoredDefinitionLookup schema(batchSchema);
    try {
        runDdlStatement(conn, statement, schema);
    } catch (...) {
        // The statement's changes are undone: so are the catalogue's rows read meanwhile.
        conn.refreshSchema(true);
        throw;
    }
}

namespace {
void runDdlStatement(Connection& conn, const QString& statement, const tsql::SchemaLookup& schema) {
    TokenCursor cur(statement);
    if (cur.acceptWord("DROP")) {
        drop(conn, cur);
    } else if (cur.acceptWord("ALTER")) {
        cur.expectWord("TABLE");
        alterTable(conn, cur, schema);
    } else {
        cur.expectWord("CREATE");
        if (cur.acceptWord("TABLE")) {
            createTable(conn, cur, schema);
        } else if (cur.acceptWord("VIEW")) {
            createView(conn, cur, schema);
        } else if (cur.acceptWord("FULLTEXT")) {
            createFulltext(conn, cur);
        } else if (cur.acceptWord("DATABASE")) {
            const QString name = cur.identifier();
            const ServerFolder server(QStringLiteral("sqlite:") + conn.folder());
            const QString file = server.create(name);
            Connection::open(file, name, conn.folder(), true);
            conn.refreshDatabases();
        } else {
            const bool unique = cur.acceptWord("UNIQUE");
            skipClustered(cur);
            cur.expectWord("INDEX");
            createIndex(conn, cur, unique);
        }
    }
}

}  // namespace

}  // namespace md::embedded
