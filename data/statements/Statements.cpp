#include "data/statements/Statements.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <stdexcept>

namespace md::statements {
namespace {

const QString kHeader = u"--@"_qs;

std::invalid_argument missing(const QString& what) {
    return std::invalid_argument(what.toStdString());
}

// Parsed files, read once per run.
const std::vector<Entry>& cached(const QString& module) {
    static QMutex mutex;
    static QHash<QString, std::vector<Entry>> files;
    QMutexLocker lock(&mutex);
    auto it = files.find(module);
    if (it == files.end()) {
        QFile file(u":/statements/"_qs + module + u".sql"_qs);
        if (!file.open(QIODevice::ReadOnly)) {
            throw missing(u"No statement file for module "_qs + module);
        }
        it = files.insert(module, parse(QString::fromUtf8(file.readAll())));
    }
    return it.value();
}

}  // namespace

std::vector<Entry> parse(const QString& fileText) {
    std::vector<Entry> result;
    QStringList lines = fileText.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    auto finish = [&] {
        if (result.empty())
            return;
        QStringList& body = result.back().lines;
        while (!body.isEmpty() && body.last().isEmpty())
            body.removeLast();
    };
    for (const QString& line : lines) {
        if (!line.startsWith(kHeader)) {
            if (!result.empty())
                result.back().lines.append(line);
            continue;
        }
        finish();
        QString header = line.mid(kHeader.size());
        Entry entry;
        const struct {
            const char16_t* word;
            Kind kind;
        } kinds[] = {{u"fragment", Kind::Fragment},
                     {u"script", Kind::Script},
                     {u"procedure", Kind::Procedure}};
        for (const auto& k : kinds) {
            const QString word = QString::fromUtf16(k.word);
            if (header.startsWith(word + u' ')) {
                entry.kind = k.kind;
                header = header.mid(word.size());
            }
        }
        entry.component = header.trimmed();
        result.push_back(std::move(entry));
    }
    finish();
    return result;
}

QStringList modules() {
    QStringList names;
    const QStringList files = QDir(u":/statements"_qs).entryList({u"*.sql"_qs}, QDir::Files);
    for (const QString& f : files)
        names << f.chopped(4);
    names.sort();
    return names;
}

std::vector<Entry> entries(const QString& module) {
    return cached(module);
}

QStringList text(const QString& module, const QString& component) {
    for (const Entry& e : cached(module)) {
        if (e.component == component)
            return e.lines;
    }
    throw missing(u"No statement %1 in module %2"_qs.arg(component, module));
}

}  // namespace md::statements
