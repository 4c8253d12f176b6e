#pragma once

// Thai explanations for known fragments of database and platform messages.

#include <QString>
#include <QStringList>
#include <span>

namespace md::errors {

struct TranslationRow {
    // The first fragment is the message as the older driver wrote it; any further ones are
    // today's wordings of the same failure.
    QStringList fragments;
    QString explanation;
};

// The table, in the order it is searched.
std::span<const TranslationRow> TranslationTable();

// The Thai explanation of the first row one of whose fragments occurs in the message, letter
// case ignored; empty when no row matches.
QString ExplainError(const QString& message);

// The text of the error dialog: the explanation, a carriage return, the message in capitals,
// a carriage return.
QString ErrorDialogText(const QString& message);

}  // namespace md::errors
