// masterdata-demo [--products N] [--force] FOLDER
//
// Creates FOLDER as an embedded server with the configuration database KVR_CONFIG and the company
// database DEMO01, fills them with demo data and writes Server.Dat (first line "sqlite:FOLDER")
// into the current directory, so that the program started here uses the new server.

#include "data/backend/DbError.h"
#include "schema/DemoServer.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    // Pictures are painted without a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    QTextStream out(stdout);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Creates an embedded server folder with the configuration database KVR_CONFIG and the "
        u"company database DEMO01 filled with demo data, and writes Server.Dat here."_qs);
    parser.addHelpOption();
    QCommandLineOption products(u"products"_qs, u"Add N generated products."_qs, u"N"_qs);
    QCommandLineOption force(u"force"_qs, u"Replace the demo databases of an existing folder."_qs);
    parser.addOption(products);
    parser.addOption(force);
    parser.addPositionalArgument(u"FOLDER"_qs, u"The server folder to create."_qs);
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 1) {
        err << "usage: masterdata-demo [--products N] [--force] FOLDER\n";
        return 2;
    }
    md::schema::DemoOptions options;
    options.force = parser.isSet(force);
    if (parser.isSet(products)) {
        bool ok = false;
        options.generatedProducts = parser.value(products).toLongLong(&ok);
        if (!ok || options.generatedProducts < 0) {
            err << "--products needs a whole number of 0 or more\n";
            return 2;
        }
    }
    const QString folder = args.first();
    try {
        const md::schema::DemoSummary summary = md::schema::createDemoServer(folder, options);
        QFile dat(u"Server.Dat"_qs);
        if (!dat.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            err << "Cannot write Server.Dat in the current directory\n";
            return 1;
        }
        dat.write((u"sqlite:"_qs + folder + u'\n').toUtf8());
        dat.close();

        qint64 bytes = 0;
        for (const QString& db : {QString::fromUtf16(md::schema::kConfigDatabase),
                                  QString::fromUtf16(md::schema::kDemoDatabase)}) {
            bytes += QFileInfo(folder + u'/' + db + u".mdf.sqlite"_qs).size();
        }
        out << "Server " << summary.serverName << ": " << summary.products << " products, "
            << bytes / 1024 << " KiB\n";
        if (summary.generatedProducts > 0) {
            out << "Generated " << summary.generatedProducts << " products in "
                << summary.generateMilliseconds << " ms\n";
        }
        out << "Server.Dat written: sqlite:" << folder << "\n";
        return 0;
    } catch (const md::schema::DemoError& e) {
        err << e.message() << '\n';
    } catch (const md::data::DbError& e) {
        err << "Msg " << e.nativeError() << ", Level " << e.level() << ": " << e.message() << '\n';
        if (!e.statement().isEmpty())
            err << e.statement().left(400) << '\n';
    }
    return 1;
}
