#pragma once

// The program's SQL texts. Each window or module keeps its statements in one resource file named
// after it (Fr_ImportExpense.sql, U_DM.sql, ...); each statement stands under a header line naming
// the component that runs it:
//
//   --@ QMaster                a statement (query, or an insert/modify/delete of an update set)
//   --@fragment Select.1       a piece that the window joins with others at run time
//   --@script SQLUpdate        a script: a line holding only "/" ends each of its statements
//   --@procedure SpAddLog      a stored-procedure call: the procedure's name on the first line,
//                              then one line per parameter: "@Name in|out type"
//
// A component name may carry a variant after a colon (QChkProduct:UserWarehouse) for a text that
// the window changes at run time. The lines of a statement are kept exactly, blanks included;
// empty lines at the end of an entry are not part of it. Lines before the first header are the
// file's own notes.

#include <QString>
#include <QStringList>
#include <vector>

namespace md::statements {

enum class Kind { Statement, Fragment, Script, Procedure };

struct Entry {
    QString component;
    Kind kind = Kind::Statement;
    QStringList lines;
};

// The lines of one component of a module. Throws std::invalid_argument for an unknown module or
// component: a missing statement is a fault of the program, never an empty query.
QStringList text(const QString& module, const QString& component);

// Every module (file name without ".sql"), sorted, and the entries of one module in file order.
QStringList modules();
std::vector<Entry> entries(const QString& module);

// Reads the entries of one file's text.
std::vector<Entry> parse(const QString& fileText);

}  // namespace md::statements
