// masterdata-sql: run T-SQL against any server the program can reach.

#include "schema/procedures/SuiteProcedures.h"
#include "tools/SqlShell.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    md::schema::registerSuiteProcedures();
    QStringList args = app.arguments();
    args.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    md::tools::SqlShellOptions options;
    const QString problem = md::tools::parseSqlShellArguments(args, options);
    if (!problem.isEmpty()) {
        err << problem << '\n'
            << QStringLiteral(
                   "usage: masterdata-sql [-S server] [-d database] (-Q \"text\" | -i file) "
                   "[-h -1] [-s sep] [-W] [-b]")
            << '\n';
        return 2;
    }
    return md::tools::runSqlShell(options, out, err);
}
