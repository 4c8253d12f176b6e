#pragma once

// The demo server for tests: built once and copied for every test that uses it, so no test sees
// another's rows and none pays for building it again.
//
// The built server is the template; nothing ever opens it. Since ctest runs each case of a
// program in a process of its own, the template outlives the process: it is kept in the
// temporary folder under a name made from the test program's path, size and time (a rebuilt
// program, whose demo data may differ, makes a new one), built under another name and renamed
// into place when complete, so programs running side by side never see half a server.
//
// Header-only, for every test program that links md_schema.

#include "schema/DemoServer.h"
#include "schema/procedures/SuiteProcedures.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

namespace md::testing {

// The folder of the template (built when there is none yet).
inline QString demoTemplateFolder() {
    // Building a server registers the suite's procedures; a template built by another process
    // leaves that to this one.
    md::schema::registerSuiteProcedures();
    static const QString folder = [] {
        const QFileInfo program(QStringLiteral("/proc/self/exe"));
        const QString path = program.canonicalFilePath();
        if (path.isEmpty()) {
            // No way to tell one build from another: a template for this process only.
            static QTemporaryDir own;
            const QString f = own.filePath(QStringLiteral("demo"));
            md::schema::createDemoServer(f, {});
            return f;
        }
        const QFileInfo built(path);
        const QByteArray key = path.toUtf8() + '|' + QByteArray::number(built.size()) + '|' +
                               QByteArray::number(built.lastModified().toMSecsSinceEpoch());
        const QString name =
            QStringLiteral("md-demo-template-") +
            QString::fromLatin1(
                QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
        const QString target = QDir(QDir::tempPath()).filePath(name);
        if (QFileInfo::exists(target))
            return target;
        const QString building =
            target + QStringLiteral(".%1").arg(QCoreApplication::applicationPid());
        QDir(building).removeRecursively();
        md::schema::createDemoServer(building, {});
        // Another program may have finished first: its template is as good as ours.
        if (!QDir().rename(building, target))
            QDir(building).removeRecursively();
        return target;
    }();
    return folder;
}

// Copies every file under `from` to `to`.
inline void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + path.mid(from.size());
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else
            ASSERT_TRUE(QFile::copy(path, target)) << path.toStdString();
    }
}

// A fresh copy of the demo server in a temporary folder of its own, gone with the object.
class DemoServerCopy {
  public:
    DemoServerCopy() : folder_(dir_.filePath(QStringLiteral("server"))) {
        copyFolder(demoTemplateFolder(), folder_);
    }
    DemoServerCopy(const DemoServerCopy&) = delete;
    DemoServerCopy& operator=(const DemoServerCopy&) = delete;

    QString folder() const { return folder_; }
    // "sqlite:<folder>", what Server.Dat names.
    QString serverName() const { return md::schema::serverNameOf(folder_); }
    // Writes Server.Dat (the server name and a line break) into `directory`.
    void writeServerDat(const QString& directory) const {
        QFile f(QDir(directory).filePath(QStringLiteral("Server.Dat")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(serverName().toUtf8() + '\n');
    }

  private:
    QTemporaryDir dir_;
    QString folder_;
};

}  // namespace md::testing
