#pragma once

// The administrators' T-SQL shell over the program's data layer, printing results and errors as
// sqlcmd does so that scripts and habits carry over.

#include "tools/BatchReader.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace md::tools {

struct SqlShellOptions {
    QString server;
    QString database = QStringLiteral("master");
    QString user;
    QString password;
    QString query;                            // -Q, or -q with interactive
    bool interactive = true;                  // read from standard input (not -Q, not -i)
    QString inputFile;                        // -i
    bool headers = true;                      // -h -1 turns them off
    QString separator = QStringLiteral(" ");  // -s
    bool trimTrailing = false;                // -W
    bool stopOnError = false;                 // -b
    bool help = false;                        // -? or --help
    bool version = false;                     // --version
};

// Parses the command line (without the program name). Returns an error text, empty on success.
QString parseSqlShellArguments(const QStringList& args, SqlShellOptions& options);

// Connects and runs the batches of `batches`; returns the process exit code.
int runSqlShell(const SqlShellOptions& options, BatchSource& batches, QTextStream& out,
                QTextStream& err);

}  // namespace md::tools
