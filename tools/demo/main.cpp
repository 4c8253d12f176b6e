// masterdata-demo [--products N [--seed S]] [--force | --reuse] FOLDER
// masterdata-demo --session
//
// Creates FOLDER as an embedded server with the configuration database KVR_CONFIG and the company
// database DEMO01, fills them with demo data and writes Server.Dat (first line "sqlite:FOLDER")
// into the current directory, so that the program started here uses the new server. --session
// is the desktop menu's demo: a server in the user's data folder and the exchange rate window.

#include "data/backend/DbError.h"
#include "schema/DemoServer.h"
#include "tools/demo/DemoSession.h"
#include "tools/demo/ProgressLine.h"
#include "util/LocalTimeZone.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTextStream>

#ifndef MD_VERSION
#error "MD_VERSION names the version every program reports"
#endif

namespace {

// masterdata beside this program (as installed), else on the PATH.
QString programBesideUs() {
    const QString beside =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("masterdata"));
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QStandardPaths::findExecutable(QStringLiteral("masterdata"));
}

}  // namespace

int main(int argc, char* argv[]) {
    md::util::PinLocalTimeZone();
    // Pictures are painted without a screen; the session hands the caller's platform on.
    const bool platformWasSet = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("masterdata-demo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MD_VERSION));
    QTextStream err(stderr);
    QTextStream out(stdout);

    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{u"h"_qs, u"help"_qs});
    const QCommandLineOption version(u"version"_qs);
    const QCommandLineOption products(u"products"_qs, QString(), u"N"_qs);
    const QCommandLineOption seed(u"seed"_qs, QString(), u"S"_qs);
    const QCommandLineOption force(u"force"_qs);
    const QCommandLineOption reuse(u"reuse"_qs);
    const QCommandLineOption session(u"session"_qs);
    parser.addOptions({help, version, products, seed, force, reuse, session});
    const QString usage = QStringLiteral(
        "usage: masterdata-demo [--products N [--seed S]] [--force | --reuse] FOLDER\n"
        "       masterdata-demo --session\n"
        "       masterdata-demo --help | --version\n"
        "\n"
        "Makes FOLDER an embedded server with the configuration database KVR_CONFIG and the\n"
        "company database DEMO01 filled with demo data, and writes Server.Dat here.\n"
        "The server is built beside FOLDER and appears only when complete.\n"
        "\n"
        "  --products N  add N generated products (a catalogue of Thai and English names)\n"
        "  --seed S      the generated catalogue's seed (default 20): the same seed gives\n"
        "                the same catalogue on every machine\n"
        "  --force       replace the demo databases of an existing FOLDER (refused while\n"
        "                another session has it open)\n"
        "  --reuse       keep an existing demo server whose schema is this version's,\n"
        "                make it again otherwise\n"
        "  --session     keep a demo server in the user's data folder and open the\n"
        "                exchange rate window on it\n");

    auto usageError = [&](const QString& problem) {
        err << "masterdata-demo: " << problem << "\n\n" << usage;
        return 1;
    };
    if (!parser.parse(app.arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        out << usage;
        return 0;
    }
    if (parser.isSet(version)) {
        out << "masterdata-demo " << MD_VERSION << '\n';
        return 0;
    }
    const QStringList args = parser.positionalArguments();
    if (parser.isSet(session)) {
        if (!args.isEmpty() || parser.isSet(force) || parser.isSet(reuse) ||
            parser.isSet(products) || parser.isSet(seed))
            return usageError(u"--session takes no folder and no other option"_qs);
        const QString program = programBesideUs();
        if (program.isEmpty()) {
            err << "masterdata-demo: masterdata is neither beside this program nor on the PATH\n";
            return 1;
        }
        return md::tools::runDemoSession(program, platform, platformWasSet, out, err);
    }
    if (args.size() != 1)
        return usageError(u"give one FOLDER"_qs);
    if (parser.isSet(force) && parser.isSet(reuse))
        return usageError(u"give --force or --reuse, not both"_qs);
    qint64 generated = 0;
    if (parser.isSet(products)) {
        bool ok = false;
        generated = parser.value(products).toLongLong(&ok);
        if (!ok || generated < 0)
            return usageError(u"--products needs a whole number of 0 or more"_qs);
    }
    md::schema::DemoOptions build;
    build.generatedProducts = generated;
    if (parser.isSet(seed)) {
        bool ok = false;
        build.seed = parser.value(seed).toULongLong(&ok);
        if (!ok)
            return usageError(u"--seed needs a whole number of 0 or more"_qs);
    }
    // Progress goes to the error stream, and only at a terminal.
    md::tools::ProgressLine progress(stderr);
    if (progress.active()) {
        build.progress = [&progress](qint64 done, qint64 total) { progress.update(done, total); };
    }
    const auto existing = parser.isSet(force)   ? md::tools::ExistingServer::Replace
                          : parser.isSet(reuse) ? md::tools::ExistingServer::Reuse
                                                : md::tools::ExistingServer::Refuse;
    try {
        md::tools::prepareDemoServer(args.first(), existing, build, out);
        return 0;
    } catch (const md::schema::DemoError& e) {
        progress.finish();
        err << e.message() << '\n';
    } catch (const md::data::DbError& e) {
        progress.finish();
        err << "Msg " << e.nativeError() << ", Level " << e.level() << ": " << e.message() << '\n';
        if (!e.statement().isEmpty())
            err << e.statement().left(400) << '\n';
    }
    return 1;
}
