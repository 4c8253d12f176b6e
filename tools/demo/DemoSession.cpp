#include "tools/demo/DemoSession.h"

#include "data/backend/DbError.h"
#include "schema/DemoServer.h"
#include "tools/demo/SchemaSignature.h"

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace md::tools {
namespace {

void writeServerDat(const QString& folder) {
    QFile dat(QStringLiteral("Server.Dat"));
    if (!dat.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        throw schema::DemoError(QStringLiteral("Cannot write Server.Dat in the current directory"));
    dat.write((QStringLiteral("sqlite:") + folder + u'\n').toUtf8());
}

void reportMade(const QString& folder, const schema::DemoSummary& summary, QTextStream& out) {
    qint64 bytes = 0;
    for (const QString& db :
         {QString::fromUtf16(schema::kConfigDatabase), QString::fromUtf16(schema::kDemoDatabase)}) {
        bytes += QFileInfo(folder + u'/' + db + QStringLiteral(".mdf.sqlite")).size();
    }
    out << "Server " << summary.serverName << ": " << summary.products << " products, "
        << bytes / 1024 << " KiB\n";
    if (summary.generatedProducts > 0) {
        out << "Generated " << summary.generatedProducts << " products in "
            << summary.generateMilliseconds << " ms (seed " << summary.seed << ")\n";
    }
}

}  // namespace

QString demoSessionFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("masterdata"));
}

void prepareDemoServer(const QString& folder, ExistingServer existing,
                       const schema::DemoOptions& build, QTextStream& out) {
    schema::DemoOptions options = build;
    options.force = existing == ExistingServer::Replace;
    bool make = true;
    if (existing == ExistingServer::Reuse && QFileInfo(folder).isDir()) {
        if (demoSchemaMatches(folder)) {
            out << "Demo server " << folder << " kept: its schema is this version's\n";
            make = false;
        } else {
            out << "Demo server " << folder
                << " has the schema of another version; making it again\n";
            options.force = true;
        }
    }
    if (make)
        reportMade(folder, schema::createDemoServer(folder, options), out);
    writeServerDat(folder);
    out << "Server.Dat written: sqlite:" << folder << "\n";
    out.flush();
}

int runDemoSession(const QString& program, const QByteArray& platform, bool platformWasSet,
                   QTextStream& out, QTextStream& err) {
    const QString home = demoSessionFolder();
    if (!QDir().mkpath(home) || !QDir::setCurrent(home)) {
        err << "Cannot use the folder " << home << '\n';
        return 1;
    }
    try {
        prepareDemoServer(QDir(home).filePath(QStringLiteral("demo")), ExistingServer::Reuse, {},
                          out);
    } catch (const schema::DemoError& e) {
        err << e.message() << '\n';
        return 1;
    } catch (const data::DbError& e) {
        err << "Msg " << e.nativeError() << ", Level " << e.level() << ": " << e.message() << '\n';
        return 1;
    }
    // The program gets the caller's display, not the offscreen one the pictures were drawn on.
    if (platformWasSet)
        qputenv("QT_QPA_PLATFORM", platform);
    else
        qunsetenv("QT_QPA_PLATFORM");
    out << "Opening the exchange rate window: " << program << '\n';
    out.flush();
    const QByteArray path = QFile::encodeName(program);
    std::vector<const char*> argv{path.constData(), "105", "1", "DEMO01", "-", "EXCHANGE", nullptr};
    ::execv(path.constData(), const_cast<char* const*>(argv.data()));
    err << "Cannot start " << program << ": " << std::strerror(errno) << '\n';
    return 1;
}

}  // namespace md::tools
