#pragma once

// Whether a demo server made by some earlier run still has the schema this version makes: the
// tables, views, indexes and triggers the engine stored for both demo databases, with the
// column types, lengths, precisions and constraints of its catalogue. Row data and object ids
// are not part of it, so a server whose demo rows were edited still matches.

#include <QString>
#include <QStringList>

namespace md::tools {

// One sorted line per stored object, column and constraint of the two demo databases of the
// embedded server in `folder`; a database that is missing gives the line "missing <name>".
QStringList demoSchemaSignature(const QString& folder);

// Runs on the server in `folder` the guarded, repeatable schema scripts that the program itself
// runs as it connects (the configuration module's and the exchange window's), so that a server
// the program has opened and one it has not compare alike.
void applyConnectScripts(const QString& folder);

// True when the server in `folder`, after applyConnectScripts, has the signature of a freshly
// made demo schema after the same scripts (built in a temporary folder to compare with).
bool demoSchemaMatches(const QString& folder);

}  // namespace md::tools
