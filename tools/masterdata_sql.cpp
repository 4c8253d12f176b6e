// masterdata-sql: run T-SQL against any server the program can reach, from the command line, a
// script file, a pipe or a terminal.

#include "schema/procedures/SuiteProcedures.h"
#include "tools/BatchReader.h"
#include "tools/SqlShell.h"
#include "tools/SqlShellUsage.h"
#include "util/LocalTimeZone.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <iostream>
#include <memory>

#ifndef MD_VERSION
#error "MD_VERSION names the version every program reports"
#endif

int main(int argc, char** argv) {
    md::util::PinLocalTimeZone();
    QCoreApplication app(argc, argv);
    md::schema::registerSuiteProcedures();
    QStringList args = app.arguments();
    args.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    md::tools::SqlShellOptions options;
    const QString problem = md::tools::parseSqlShellArguments(args, options);
    if (!problem.isEmpty()) {
        err << "masterdata-sql: " << problem << "\n\n" << md::tools::sqlShellUsage();
        return 1;
    }
    if (options.help) {
        out << md::tools::sqlShellVersion(QStringLiteral(MD_VERSION)) << '\n'
            << md::tools::sqlShellUsage();
        return 0;
    }
    if (options.version) {
        out << md::tools::sqlShellVersion(QStringLiteral(MD_VERSION));
        return 0;
    }

    std::unique_ptr<md::tools::BatchSource> batches;
    if (!options.inputFile.isEmpty()) {
        QFile f(options.inputFile);
        if (!f.open(QIODevice::ReadOnly)) {
            err << QStringLiteral("Cannot open input file '%1'").arg(options.inputFile) << '\n';
            return 1;
        }
        batches = std::make_unique<md::tools::ScriptBatches>(QString::fromUtf8(f.readAll()));
    } else if (!options.interactive) {
        batches = std::make_unique<md::tools::ScriptBatches>(options.query);
    } else if (isatty(STDIN_FILENO)) {
        batches = std::make_unique<md::tools::TerminalBatches>(std::cin, out, options.query);
    } else {
        // A pipe or a redirected file is a script: no prompts in the output.
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) {
            err << "Cannot read standard input\n";
            return 1;
        }
        // A -q query is a batch of its own before the script.
        batches = std::make_unique<md::tools::ScriptBatches>(
            options.query + QStringLiteral("\nGO\n") + QString::fromUtf8(in.readAll()));
    }
    return md::tools::runSqlShell(options, *batches, out, err);
}
