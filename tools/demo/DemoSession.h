#pragma once

// The desktop menu's demo session: a demo server kept in the user's data folder, made on first
// use (and again when a newer version changed its schema), and the exchange rate window opened
// on it.

#include "schema/DemoServer.h"

#include <QString>
#include <QTextStream>

namespace md::tools {

// Where the session keeps Server.Dat and its server folder "demo":
// $XDG_DATA_HOME/masterdata, by default ~/.local/share/masterdata.
QString demoSessionFolder();

// How an existing demo server folder is treated.
enum class ExistingServer {
    Refuse,   // an error (the default of masterdata-demo FOLDER)
    Replace,  // --force
    Reuse,    // --reuse: kept when its schema matches, made again otherwise
};

// Makes or keeps the demo server in `folder` (with `build`'s generated products, seed and
// progress) and writes Server.Dat into the current directory, reporting on `out`. Throws
// schema::DemoError or data::DbError when the server cannot be made.
void prepareDemoServer(const QString& folder, ExistingServer existing,
                       const schema::DemoOptions& build, QTextStream& out);

// Prepares the session's server, then replaces this process with `program` (masterdata)
// opening the exchange window as demo user 1 in the session folder. `platform` is the
// QT_QPA_PLATFORM value (or nothing) to hand the program. Returns only on failure, with the
// exit code to use.
int runDemoSession(const QString& program, const QByteArray& platform, bool platformWasSet,
                   QTextStream& out, QTextStream& err);

}  // namespace md::tools
