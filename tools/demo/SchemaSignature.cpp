#include "tools/demo/SchemaSignature.h"

#include "data/SqlScript.h"
#include "data/backend/DbError.h"
#include "data/embedded/ServerFolder.h"
#include "data/statements/Statements.h"
#include "schema/DemoServer.h"

#include <sqlite3.h>
#include <QDir>
#include <QTemporaryDir>

namespace md::tools {
namespace {

QString column(sqlite3_stmt* s, int i) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
    return text ? QString::fromUtf8(text) : QStringLiteral("NULL");
}

// Appends one line per row of `sql`, its columns joined by '|'. The statements never compare
// the catalogue's TSQL-collated names, so the file opens without the engine's collation.
void collect(sqlite3* db, const char* prefix, const char* sql, QStringList& lines) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) {
        lines.push_back(QString::fromUtf8(prefix) + QStringLiteral(" unreadable: ") +
                        QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_finalize(s);
        return;
    }
    while (sqlite3_step(s) == SQLITE_ROW) {
        QStringList cells{QString::fromUtf8(prefix)};
        for (int i = 0; i < sqlite3_column_count(s); ++i)
            cells.push_back(column(s, i));
        lines.push_back(cells.join(u'|'));
    }
    sqlite3_finalize(s);
}

void signatureOf(const QString& file, const QString& database, QStringList& lines) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        lines.push_back(QStringLiteral("unreadable ") + database);
        sqlite3_close(db);
        return;
    }
    QStringList own;
    collect(db, "object",
            "SELECT type, name, tbl_name, sql FROM sqlite_master "
            "WHERE name NOT LIKE 'sqlite\\_%' ESCAPE '\\'",
            own);
    collect(db, "catalogue",
            "SELECT o.name, o.xtype, p.name FROM md_objects o "
            "LEFT JOIN md_objects p ON p.id = o.parent_id",
            own);
    collect(db, "column",
            "SELECT o.name, c.colid, c.name, c.type_name, c.xtype, c.length, c.prec, c.scale, "
            "c.text_length, c.nullable, c.is_identity FROM md_columns c "
            "JOIN md_objects o ON o.id = c.object_id",
            own);
    collect(db, "constraint",
            "SELECT c.name, c.kind, t.name, c.columns, r.name, c.ref_columns, c.cascade_delete "
            "FROM md_constraints c JOIN md_objects t ON t.id = c.table_id "
            "LEFT JOIN md_objects r ON r.id = c.ref_table_id",
            own);
    sqlite3_close(db);
    for (QString& line : own)
        line = database + u' ' + line;
    lines += own;
}

void runScript(const QString& server, const QString& database, const QString& module) {
    auto session = schema::openDatabase(server, database);
    for (const QString& statement :
         data::splitScript(statements::text(module, QStringLiteral("SQLUpdate"))))
        session->execute(statement, {});
}

}  // namespace

void applyConnectScripts(const QString& folder) {
    const QString server = schema::serverNameOf(folder);
    runScript(server, QString::fromUtf16(schema::kConfigDatabase), QStringLiteral("Dm_Config"));
    runScript(server, QString::fromUtf16(schema::kDemoDatabase), QStringLiteral("Fr_CurrencyEx"));
}

QStringList demoSchemaSignature(const QString& folder) {
    QStringList lines;
    for (const QString& database :
         {QString::fromUtf16(schema::kConfigDatabase), QString::fromUtf16(schema::kDemoDatabase)}) {
        std::optional<QString> file;
        if (QDir(folder).exists())
            file = embedded::ServerFolder(schema::serverNameOf(folder)).fileOf(database);
        if (file)
            signatureOf(*file, database, lines);
        else
            lines.push_back(QStringLiteral("missing ") + database);
    }
    lines.sort();
    return lines;
}

bool demoSchemaMatches(const QString& folder) {
    for (const QString& line : demoSchemaSignature(folder)) {
        if (line.startsWith(QStringLiteral("missing ")))
            return false;
    }
    try {
        applyConnectScripts(folder);
    } catch (const data::DbError&) {
        return false;  // a schema the scripts cannot even run on is another version's
    }
    QTemporaryDir scratch;
    const QString fresh = scratch.filePath(QStringLiteral("server"));
    schema::createSchemaServer(fresh, false);
    applyConnectScripts(fresh);
    return demoSchemaSignature(folder) == demoSchemaSignature(fresh);
}

}  // namespace md::tools
