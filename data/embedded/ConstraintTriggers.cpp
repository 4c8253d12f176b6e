#include "data/embedded/ConstraintTriggers.h"

#include "data/backend/SqlLexer.h"
#include "data/embedded/SqliteUtil.h"

namespace md::embedded {
namespace {

QString q(const QString& ident) {
    QString s = ident;
    return u'"' + s.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// A SQL string literal holding `text`.
QString lit(const QString& text) {
    return data::quoteString(text);
}

QString raise(int number, const char* state, const QString& textExpr) {
    return QStringLiteral("SELECT md_raise(%1, '%2', %3)")
        .arg(number)
        .arg(QLatin1StringView(state), textExpr);
}

QString keyValues(const QStringList& cols, const char* row) {
    QStringList parts;
    for (const auto& c : cols)
        parts << QStringLiteral("md_keytext(%1.%2)").arg(QLatin1StringView(row), q(c));
    return parts.join(QStringLiteral(" || ', ' || "));
}

QString matchRow(const QStringList& cols, const QStringList& against, const char* row) {
    QStringList parts;
    for (int i = 0; i < cols.size(); ++i) {
        parts
            << QStringLiteral("%1 IS %2.%3").arg(q(cols[i]), QLatin1StringView(row), q(against[i]));
    }
    return parts.join(QStringLiteral(" AND "));
}

QString changed(const QStringList& cols) {
    QStringList parts;
    for (const auto& c : cols)
        parts << QStringLiteral("NEW.%1 IS NOT OLD.%1").arg(q(c));
    return u'(' + parts.join(QStringLiteral(" OR ")) + u')';
}

QString notNull(const QStringList& cols, const char* row) {
    QStringList parts;
    for (const auto& c : cols)
        parts << QStringLiteral("%1.%2 IS NOT NULL").arg(QLatin1StringView(row), q(c));
    return parts.join(QStringLiteral(" AND "));
}

void checks(const Catalogue& cat, const CatObject& t, bool update, QStringList& out) {
    const QString verb = update ? QStringLiteral("UPDATE") : QStringLiteral("INSERT");
    for (const auto& c : t.columns) {
        if (c.nullable || c.identity)
            continue;
        out << raise(515, "23000",
                     lit(QStringLiteral("Cannot insert the value NULL into column '%1', table '")
                             .arg(c.name)) +
                         QStringLiteral(" || md_dbname() || ") +
                         lit(QStringLiteral(".dbo.%1'; column does not allow nulls. %2 fails.")
                                 .arg(t.name, verb))) +
                   QStringLiteral(" WHERE NEW.%1 IS NULL").arg(q(c.name));
    }
    for (const auto& c : t.columns) {
        if (c.type.length <= 0)
            continue;
        const QString len = c.type.type == tsql::SqlType::Binary
                                ? QStringLiteral("length(NEW.%1)").arg(q(c.name))
                                : QStringLiteral("length(rtrim(NEW.%1, ' '))").arg(q(c.name));
        out << raise(8152, "22001",
                     lit(QStringLiteral("String or binary data would be truncated."))) +
                   QStringLiteral(" WHERE %1 > %2").arg(len).arg(c.type.length);
    }
    for (const CatConstraint* k : cat.constraintsOf(t.id)) {
        if (k->kind == u"PK" || k->kind == u"UQ" || k->kind == u"IX") {
            if (k->kind == u"PK" && k->columns.size() == 1 && t.column(k->columns[0]) &&
                t.column(k->columns[0])->identity && !update) {
                continue;
            }
            QString text;
            if (k->kind == u"IX") {
                text = lit(QStringLiteral("Cannot insert duplicate key row in object 'dbo.%1' with "
                                          "unique index '%2'. The duplicate key value is (")
                               .arg(t.name, k->name));
            } else {
                text =
                    lit(QStringLiteral("Violation of %1 constraint '%2'. Cannot insert duplicate "
                                       "key in object 'dbo.%3'. The duplicate key value is (")
                            .arg(k->kind == u"PK" ? QStringLiteral("PRIMARY KEY")
                                                  : QStringLiteral("UNIQUE KEY"),
                                 k->name, t.name));
            }
            text +=
                QStringLiteral(" || ") + keyValues(k->columns, "NEW") + QStringLiteral(" || ').'");
            QString where =
                QStringLiteral("EXISTS (SELECT 1 FROM %1 WHERE %2%3)")
                    .arg(q(t.name), matchRow(k->columns, k->columns, "NEW"),
                         update ? QStringLiteral(" AND rowid <> NEW.rowid") : QString());
            if (update)
                where = changed(k->columns) + QStringLiteral(" AND ") + where;
            out << raise(k->kind == u"IX" ? 2601 : 2627, "23000", text) +
                       QStringLiteral(" WHERE ") + where;
        } else if (k->kind == u"F") {
            const CatObject* parent = cat.byId(k->refTableId);
            if (!parent)
                continue;
            QString where = notNull(k->columns, "NEW") +
                            QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM %1 WHERE %2)")
                                .arg(q(parent->name), [&] {
                                    QStringList p;
                                    for (int i = 0; i < k->columns.size(); ++i)
                                        p << QStringLiteral("%1 = NEW.%2")
                                                 .arg(q(k->refColumns.value(i)), q(k->columns[i]));
                                    return p.join(QStringLiteral(" AND "));
                                }());
            if (update)
                where = changed(k->columns) + QStringLiteral(" AND ") + where;
            out << raise(547, "23000",
                         lit(QStringLiteral("%1 statement conflicted with COLUMN FOREIGN KEY "
                                            "constraint '%2'. The conflict occurred in database '")
                                 .arg(verb, k->name)) +
                             QStringLiteral(" || md_dbname() || ") +
                             lit(QStringLiteral("', table '%1', column '%2'.")
                                     .arg(parent->name, k->refColumns.value(0)))) +
                       QStringLiteral(" WHERE ") + where;
        }
    }
}

// Rows of other tables that refer to OLD: refused on DELETE (or removed for ON DELETE
// CASCADE) and on UPDATE of the referenced key.
void parentChecks(const Catalogue& cat, const CatObject& t, bool update, QStringList& out) {
    for (const CatConstraint* k : cat.referencesTo(t.id)) {
        const CatObject* child = cat.byId(k->tableId);
        if (!child)
            continue;
        QStringList p;
        for (int i = 0; i < k->columns.size(); ++i)
            p << QStringLiteral("%1 = OLD.%2").arg(q(k->columns[i]), q(k->refColumns.value(i)));
        const QString match = p.join(QStringLiteral(" AND "));
        if (!update && k->cascadeDelete) {
            out << QStringLiteral("DELETE FROM %1 WHERE %2").arg(q(child->name), match);
            continue;
        }
        QString where =
            QStringLiteral("EXISTS (SELECT 1 FROM %1 WHERE %2)").arg(q(child->name), match);
        if (update)
            where = changed(k->refColumns) + QStringLiteral(" AND ") + where;
        out << raise(547, "23000",
                     lit(QStringLiteral("%1 statement conflicted with COLUMN REFERENCE constraint "
                                        "'%2'. The conflict occurred in database '")
                             .arg(update ? QStringLiteral("UPDATE") : QStringLiteral("DELETE"),
                                  k->name)) +
                         QStringLiteral(" || md_dbname() || ") +
                         lit(QStringLiteral("', table '%1', column '%2'.")
                                 .arg(child->name, k->columns.value(0)))) +
                   QStringLiteral(" WHERE ") + where;
    }
}

void create(sqlite3* db, const QString& name, const QString& event, const QString& table,
            const QStringList& body) {
    execSql(db, QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(q(name)));
    if (body.isEmpty())
        return;
    execSql(db, QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 BEGIN %4; END")
                    .arg(q(name), event, q(table), body.join(QStringLiteral("; "))));
}

}  // namespace

void rebuildTriggers(sqlite3* db, const Catalogue& cat, qint64 tableId) {
    const CatObject* t = cat.byId(tableId);
    if (!t || t->xtype != u"U ")
        return;
    QStringList ins, upd, del;
    checks(cat, *t, false, ins);
    checks(cat, *t, true, upd);
    parentChecks(cat, *t, true, upd);
    parentChecks(cat, *t, false, del);
    const QString id = QString::number(t->id);
    create(db, QStringLiteral("md_ins_") + id, QStringLiteral("INSERT"), t->name, ins);
    create(db, QStringLiteral("md_upd_") + id, QStringLiteral("UPDATE"), t->name, upd);
    create(db, QStringLiteral("md_del_") + id, QStringLiteral("DELETE"), t->name, del);
}

}  // namespace md::embedded
