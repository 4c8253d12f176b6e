#pragma once

// The database's own record of its objects, kept in engine tables (md_objects, md_columns,
// md_constraints) so that ids stay stable across schema changes and reopening, and shown to
// the program as the views SysObjects and SysColumns. The engine tables never appear in
// SysObjects.

#include "data/embedded/tsql/DmlTranslator.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct sqlite3;

namespace md::embedded {

struct CatColumn {
    QString name;
    int colid = 0;
    QString typeName;  // as declared (varchar, idno, ...)
    tsql::ColumnType type;
    int xtype = 0;
    int length = 0;
    bool nullable = true;
    bool identity = false;
};

struct CatObject {
    qint64 id = 0;
    QString name;
    QString xtype;  // "U ", "V ", "P ", "PK", "UQ", "F "
    qint64 parent = 0;
    std::vector<CatColumn> columns;

    const CatColumn* column(const QString& name) const;
    const CatColumn* identityColumn() const;
};

struct CatConstraint {
    qint64 objectId = 0;  // 0 for an index (indexes are not objects)
    QString name;
    QString kind;  // "PK", "UQ", "F", "IX" (unique index)
    qint64 tableId = 0;
    QStringList columns;
    qint64 refTableId = 0;
    QStringList refColumns;
    bool cascadeDelete = false;
};

class Catalogue {
  public:
    // Creates the engine tables and the views on a new database (nothing when present).
    static void install(sqlite3* db);
    void load(sqlite3* db);

    // A table or view by name, without regard to case.
    const CatObject* find(const QString& name) const;
    const CatObject* byId(qint64 id) const;
    bool anyObjectNamed(const QString& name) const;
    const std::vector<CatConstraint>& constraints() const { return constraints_; }
    std::vector<const CatConstraint*> constraintsOf(qint64 tableId) const;
    std::vector<const CatConstraint*> referencesTo(qint64 tableId) const;
    const CatConstraint* index(qint64 tableId, const QString& name) const;

    // Writes; the caller reloads afterwards.
    static qint64 addObject(sqlite3* db, const QString& name, const QString& xtype, qint64 parent);
    static void addColumn(sqlite3* db, qint64 objectId, const CatColumn& c);
    static void addConstraint(sqlite3* db, const CatConstraint& c);
    static void dropIndex(sqlite3* db, qint64 tableId, const QString& name);
    // Removes an object with its columns, its constraints and the objects it owns.
    static void dropObject(sqlite3* db, qint64 id);
    // Lists the registered stored procedures as 'P ' objects.
    static void syncProcedures(sqlite3* db, const QStringList& names);

    std::optional<tsql::ColumnType> columnType(const QString& table, const QString& column) const;

  private:
    std::vector<CatObject> objects_;
    std::vector<CatConstraint> constraints_;
};

}  // namespace md::embedded
