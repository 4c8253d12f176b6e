#include "schema/DemoServer.h"

#include "data/embedded/EmbeddedBackend.h"
#include "data/embedded/OpenSessions.h"
#include "schema/Scripts.h"
#include "schema/StagedFolder.h"
#include "schema/procedures/SuiteProcedures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

namespace md::schema {
namespace {

const QString configDb() {
    return QString::fromUtf16(kConfigDatabase);
}
const QString demoDb() {
    return QString::fromUtf16(kDemoDatabase);
}

QString pictureFolderOf(const QString& folder) {
    return QDir(folder).filePath(u"Pictures"_qs);
}

// Removes the files of one database (with SQLite's journal files) from a server folder.
void removeDatabaseFiles(const QDir& dir, const QString& database) {
    const QString prefix = database + u".mdf.sqlite"_qs;
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files)) {
        if (file.fileName().startsWith(prefix, Qt::CaseInsensitive)) {
            if (!QFile::remove(file.absoluteFilePath())) {
                throw DemoError(u"Cannot remove %1"_qs.arg(file.absoluteFilePath()));
            }
        }
    }
}

}  // namespace

QString serverNameOf(const QString& folder) {
    return u"sqlite:"_qs + QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

std::unique_ptr<data::Session> openDatabase(const QString& serverName, const QString& database) {
    registerSuiteProcedures();
    data::ConnectParams params;
    params.database = database;
    params.server = serverName;
    params.user = u"kvr"_qs;
    return embedded::openSession(params);
}

namespace {

// The two databases and their schema in an existing, empty or prepared folder.
QString makeSchema(const QString& folder) {
    const QString server = serverNameOf(folder);
    {
        auto master = openDatabase(server, u"master"_qs);
        master->execute(u"CREATE DATABASE "_qs + configDb(), {});
        master->execute(u"CREATE DATABASE "_qs + demoDb(), {});
    }
    runScript(*openDatabase(server, configDb()), configScript());
    {
        auto company = openDatabase(server, demoDb());
        runScript(*company, companyScript());
        runScript(*company, companyEmbeddedScript());
    }
    return server;
}

void refuseOpenServer(const QString& folder) {
    const QStringList open = embedded::databasesOpenElsewhere(folder);
    if (!open.isEmpty()) {
        throw DemoError(
            u"The server %1 is in use: another session has %2 open. Close it before replacing "
            u"the demo databases."_qs.arg(folder, open.join(u", "_qs)));
    }
}

}  // namespace

QString createSchemaServer(const QString& folder, bool force) {
    QFileInfo info(folder);
    QDir dir(info.absoluteFilePath());
    if (info.exists()) {
        if (!info.isDir())
            throw DemoError(u"%1 exists and is not a folder."_qs.arg(folder));
        if (!force) {
            throw DemoError(
                u"The folder %1 exists already; use --force to replace its demo databases."_qs.arg(
                    folder));
        }
        refuseOpenServer(dir.path());
        removeDatabaseFiles(dir, configDb());
        removeDatabaseFiles(dir, demoDb());
        QDir pictures(pictureFolderOf(dir.path()));
        if (pictures.exists() && !pictures.removeRecursively()) {
            throw DemoError(u"Cannot remove %1"_qs.arg(pictures.path()));
        }
    } else if (!QDir().mkpath(dir.path())) {
        throw DemoError(u"Cannot create the folder %1"_qs.arg(folder));
    }
    return makeSchema(dir.path());
}

DemoSummary createDemoServer(const QString& folder, const DemoOptions& options) {
    const QFileInfo info(folder);
    const QString target = QDir::cleanPath(info.absoluteFilePath());
    if (info.exists()) {
        if (!info.isDir())
            throw DemoError(u"%1 exists and is not a folder."_qs.arg(folder));
        if (!options.force) {
            throw DemoError(
                u"The folder %1 exists already; use --force to replace its demo databases."_qs.arg(
                    folder));
        }
        refuseOpenServer(target);
    }
    StagedFolder staged(target);
    if (info.exists()) {
        staged.keepFrom(
            target, {configDb() + u".mdf.sqlite"_qs, demoDb() + u".mdf.sqlite"_qs, u"Pictures"_qs});
    }

    DemoSummary summary;
    const QString building = makeSchema(staged.path());
    const QString pictures = pictureFolderOf(staged.path());
    if (!QDir().mkpath(pictures))
        throw DemoError(u"Cannot create the folder %1"_qs.arg(pictures));
    {
        auto config = openDatabase(building, configDb());
        config->beginTransaction();
        loadConfigDemo(*config);
        config->commit();

        auto company = openDatabase(building, demoDb());
        company->beginTransaction();
        loadCompanyDemo(*company, pictures, pictureFolderOf(target));
        company->commit();

        if (options.generatedProducts > 0) {
            QElapsedTimer timer;
            timer.start();
            GenerateOptions generate;
            generate.count = options.generatedProducts;
            generate.seed = options.seed;
            generate.pictureFolder = pictures;
            generate.progress = options.progress;
            // The contained-text index is made again from the whole catalogue at once, which
            // is far quicker than keeping it row by row.
            company->execute(u"DROP FULLTEXT INDEX ON Product"_qs, {});
            summary.generatedProducts = addGeneratedProducts(*company, generate);
            runScript(*company, companyEmbeddedScript());
            summary.generateMilliseconds = timer.elapsed();
            summary.seed = options.seed;
        }
        auto count = company->execute(u"SELECT Count(*) FROM Product"_qs, {});
        std::vector<QVariant> row;
        if (count->fetch(row))
            summary.products = row[0].toLongLong();
    }  // every session closed: the databases are whole files again
    if (info.exists())
        refuseOpenServer(target);  // a session opened while this one was building
    staged.commit(options.force);
    summary.serverName = serverNameOf(target);
    return summary;
}

}  // namespace md::schema
