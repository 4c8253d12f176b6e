#pragma once

// The administrators' T-SQL shell over the program's data layer, printing results and errors as
// sqlcmd does so that scripts and habits carry over.

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace md::tools {

struct SqlShellOptions {
    QString server;
    QString database = QStringLiteral("master");
    QString user;
    QString password;
    QString query;                            // -Q
    QString inputFile;                        // -i
    bool headers = true;                      // -h -1 turns them off
    QString separator = QStringLiteral(" ");  // -s
    bool trimTrailing = false;                // -W
    bool stopOnError = false;                 // -b
};

// Parses the command line (without the program name). Returns an error text, empty on success.
QString parseSqlShellArguments(const QStringList& args, SqlShellOptions& options);

// Splits script text into batches at lines holding only GO (any letter case).
QStringList splitBatches(const QString& script);

// Runs the batches; returns the process exit code.
int runSqlShell(const SqlShellOptions& options, QTextStream& out, QTextStream& err);

}  // namespace md::tools
