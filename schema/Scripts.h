#pragma once

// The suite's schema scripts and the runner that sends them to a server. A script is T-SQL in
// batches separated by lines that hold only GO (any letter case, blanks around allowed).

#include "data/backend/Backend.h"

#include <QString>
#include <QStringList>

namespace md::schema {

// The script of the configuration database and of a company database (built into the program).
QString configScript();
QString companyScript();
// What a company database of the embedded engine adds to the company script (its indexes of
// contained text).
QString companyEmbeddedScript();

// One batch of a script with the line (1-based) on which it starts.
struct Batch {
    QString text;
    int firstLine = 1;
};

// Splits a script at its GO lines; blank batches are left out.
std::vector<Batch> splitBatches(const QString& script);

// Runs every batch in order, each by itself and outside any transaction. The first refused batch
// stops the run: its DbError travels on with the batch as the failed statement, and the batches
// before it stay applied.
void runScript(data::Session& session, const QString& script);

}  // namespace md::schema
