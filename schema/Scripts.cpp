#include "schema/Scripts.h"

#include "data/backend/DbError.h"

#include <QFile>

namespace md::schema {
namespace {

QString resource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("schema script missing from the program's resources");
    }
    return QString::fromUtf8(file.readAll());
}

}  // namespace

QString configScript() {
    return resource(u":/schema/config.sql"_qs);
}
QString companyScript() {
    return resource(u":/schema/company.sql"_qs);
}
QString companyEmbeddedScript() {
    return resource(u":/schema/company-embedded.sql"_qs);
}

std::vector<Batch> splitBatches(const QString& script) {
    std::vector<Batch> batches;
    QStringList current;
    int start = 1;
    const QStringList lines = script.split(u'\n');
    auto flush = [&](int nextStart) {
        const QString text = current.join(u'\n');
        if (!text.trimmed().isEmpty())
            batches.push_back(Batch{text, start});
        current.clear();
        start = nextStart;
    };
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().compare(u"GO"_qs, Qt::CaseInsensitive) == 0) {
            flush(i + 2);
        } else {
            current.append(line);
        }
    }
    flush(lines.size() + 1);
    return batches;
}

void runScript(data::Session& session, const QString& script) {
    for (const Batch& batch : splitBatches(script)) {
        try {
            auto result = session.execute(batch.text, {});
            while (result->nextResult()) {
            }
        } catch (data::DbError& e) {
            if (e.statement().isEmpty())
                e.setStatement(batch.text);
            throw;
        }
    }
}

}  // namespace md::schema
