#pragma once

// The column and variable types of the engine's T-SQL: how a declared type is read, stored in
// SQLite and shown in SysColumns.

#include "data/embedded/SqlTokens.h"
#include "data/embedded/tsql/DmlTranslator.h"

#include <QMetaType>
#include <QString>

namespace md::embedded {

struct TypeSpec {
    QString name;  // as declared, lower case (varchar, idno, ...)
    tsql::ColumnType type;
    QString sqliteDecl;     // the declared type given to SQLite
    int xtype = 0;          // SQL Server's type number
    int storageLength = 0;  // SysColumns.length
    bool text = false;      // gets the text collation
};

// Reads a type at the cursor (int, varchar(30), decimal(18, 4), IdNo ...). Throws 2715 for an
// unknown type.
TypeSpec parseType(TokenCursor& cur);
// Reads a type from a declared-type text as SQLite reports it; nullopt when not one of ours.
std::optional<tsql::ColumnType> typeFromDecl(const QString& decl);
QMetaType::Type metaTypeOf(tsql::SqlType type);

}  // namespace md::embedded
