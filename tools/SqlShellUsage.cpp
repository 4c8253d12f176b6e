#include "tools/SqlShellUsage.h"

namespace md::tools {

QString sqlShellUsage() {
    return QStringLiteral(
        "usage: masterdata-sql     [-U login id]          [-P password]\n"
        "  [-S server]             [-d use database name]\n"
        "  [-Q \"cmdline query\" and exit]                [-q \"cmdline query\"]\n"
        "  [-i inputfile]          [-h headers]           [-s colseparator]\n"
        "  [-W remove trailing spaces]                  [-b On error batch abort]\n"
        "  [-? show syntax summary]                     [--version]\n"
        "\n"
        "Without -Q, -q or -i the batches are read from standard input: at a terminal after\n"
        "numbered prompts (GO [count] runs the batch, RESET clears it, EXIT or QUIT leaves),\n"
        "otherwise as a script. Servers: sqlite:<folder> (embedded), odbc:<connection string>,\n"
        "or a SQL Server instance; without -S the first line of Server.Dat here.\n");
}

QString sqlShellVersion(const QString& version) {
    return QStringLiteral("masterdata-sql %1\n").arg(version);
}

}  // namespace md::tools
