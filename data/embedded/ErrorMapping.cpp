#include "data/embedded/ErrorMapping.h"

#include "data/embedded/EngineConventions.h"

#include <sqlite3.h>
#include <QFileInfo>
#include <QRegularExpression>

namespace md::embedded {
namespace {

using data::ErrorCategory;

struct Known {
    int number;
    const char* sqlState;
    ErrorCategory category;
    int level;
    int state = 1;  // the message state SQL Server raises the number with where it is one
};

Known known(int number) {
    switch (number) {
        case 2627:
        case 2601:
            return {number, "23000", ErrorCategory::Constraint, 14};
        case 515:
            return {number, "23000", ErrorCategory::Constraint, 16, 2};
        case 547:
            return {number, "23000", ErrorCategory::Constraint, 16, 0};
        case 8152:
            // The state of a value too long for the column an INSERT or UPDATE writes.
            return {number, "22001", ErrorCategory::Conversion, 16, 14};
        case 241:
            return {number, "22007", ErrorCategory::Conversion, 16};
        case 242:
            return {number, "22008", ErrorCategory::Conversion, 16};
        case 245:
            return {number, "22018", ErrorCategory::Conversion, 16};
        case 8115:
            // Its state tells which conversion overflowed: the caller gives it.
            return {number, "22003", ErrorCategory::Conversion, 16};
        case 220:
            return {number, "22003", ErrorCategory::Conversion, 16, 2};
        case 8134:
            return {number, "22012", ErrorCategory::Conversion, 16};
        case 824:
            return {number, "HY000", ErrorCategory::Other, 24};
        case 8989:
            return {number, "42000", ErrorCategory::Other, 16};
        case 3906:
            return {number, "25000", ErrorCategory::Other, 16};
        case 208:
            return {number, "42S02", ErrorCategory::Syntax, 16};
        case 207:
            return {number, "42S22", ErrorCategory::Syntax, 16};
        case 2714:
            return {number, "42S01", ErrorCategory::Syntax, 16};
        case 4060:
            return {number, "42000", ErrorCategory::Connection, 11};
        case 1222:
            return {number, "HYT00", ErrorCategory::Other, 16};
        case 3902:
        case 3903:
            return {number, "25000", ErrorCategory::Other, 16};
        case 137:
            return {number, "42000", ErrorCategory::Syntax, 15, 2};
        case 102:  // syntax errors the parser finds are of level 15
        case 105:
        case 109:
        case 110:
        case 156:
        case 170:
        case 174:
        case 195:
            return {number, "42000", ErrorCategory::Syntax, 15};
        case 2812:
            return {number, "42000", ErrorCategory::Syntax, 16, 62};
        default:
            return {number, "42000", ErrorCategory::Syntax, 16};
    }
}

}  // namespace

data::DbError serverError(int number, const QString& text, std::optional<int> state) {
    const Known k = known(number);
    data::DbError e(text, number, QString::fromLatin1(k.sqlState), k.category);
    e.setLevel(k.level);
    e.setState(state.value_or(k.state));
    return e;
}

data::DbError mapSqliteMessage(sqlite3* db, const QString& message, int rc) {
    if (auto info = takeEngineError(db, message)) {
        data::DbError e = serverError(info->number, info->text, info->state);
        if (!info->sqlState.isEmpty()) {
            data::DbError withSqlState(info->text, info->number, info->sqlState, e.category());
            withSqlState.setLevel(e.level());
            withSqlState.setState(e.state());
            return withSqlState;
        }
        return e;
    }
    static const QRegularExpression noTable(QStringLiteral("^no such table: (?:\\w+\\.)?(.+)$"));
    static const QRegularExpression noColumn(QStringLiteral("^no such column: (?:.*\\.)?(.+)$"));
    static const QRegularExpression exists(
        QStringLiteral("^(?:table|view|index|trigger) \"?([^\" ]+)\"? already exists$"));
    static const QRegularExpression near(QStringLiteral("^near \"(.*)\": syntax error$"));
    if (auto m = noTable.match(message); m.hasMatch()) {
        return serverError(208, QStringLiteral("Invalid object name '%1'.").arg(m.captured(1)));
    }
    if (auto m = noColumn.match(message); m.hasMatch()) {
        return serverError(207, QStringLiteral("Invalid column name '%1'.").arg(m.captured(1)));
    }
    if (auto m = exists.match(message); m.hasMatch()) {
        return serverError(2714,
                           QStringLiteral("There is already an object named '%1' in the database.")
                               .arg(m.captured(1)));
    }
    if (auto m = near.match(message); m.hasMatch()) {
        return serverError(102, QStringLiteral("Incorrect syntax near '%1'.").arg(m.captured(1)));
    }
    // SQLite's parser holds about a hundred open parentheses or function calls and an
    // expression a thousand levels deep; a translation past either is nested too deeply.
    if (message == u"parser stack overflow" ||
        message.startsWith(u"Expression tree is too large")) {
        return serverError(191, QStringLiteral("Some part of your SQL statement is nested too "
                                               "deeply. Rewrite the query or break it up into "
                                               "smaller queries."));
    }
    if ((rc & 0xff) == SQLITE_BUSY) {
        return serverError(1222, QStringLiteral("Lock request time out period exceeded."));
    }
    const bool constraint = (rc & 0xff) == SQLITE_CONSTRAINT;
    return data::DbError(message, 0, constraint ? QStringLiteral("23000") : QString(),
                         constraint ? ErrorCategory::Constraint : ErrorCategory::Other);
}

data::DbError mapSqliteError(sqlite3* db, int rc) {
    const QString message = QString::fromUtf8(sqlite3_errmsg(db));
    const QString file = QString::fromUtf8(sqlite3_db_filename(db, "main"));
    switch (rc & 0xff) {
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
        case SQLITE_IOERR:
            // A damaged or shortened file (a reader never gets a signal for it).
            return serverError(
                824, QStringLiteral("SQL Server detected a logical consistency-based I/O error: "
                                    "%1. It occurred during a read in file '%2'. Complete a "
                                    "full database consistency check (DBCC CHECKDB).")
                         .arg(message, file));
        case SQLITE_READONLY:
            return serverError(3906, QStringLiteral("Failed to update database \"%1\" because "
                                                    "the database is read-only.")
                                         .arg(QFileInfo(file).fileName().section(u'.', 0, 0)));
        default:
            return mapSqliteMessage(db, message, rc);
    }
}

}  // namespace md::embedded
