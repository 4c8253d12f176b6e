#include "data/SqlScript.h"

#include "data/Connection.h"
#include "data/backend/DbError.h"

namespace md::data {

QStringList splitScript(const QStringList& lines) {
    QStringList out;
    QStringList current;
    auto flush = [&] {
        const QString text = current.join(u'\n');
        if (!text.trimmed().isEmpty())
            out.push_back(text);
        current.clear();
    };
    for (const QString& line : lines) {
        if (line.trimmed() == QStringLiteral("/")) {
            flush();
        } else {
            current.push_back(line);
        }
    }
    flush();
    return out;
}

SqlScript::SqlScript(Connection* connection, QStringList sql) : connection_(connection) {
    setSql(sql);
}

void SqlScript::setSql(const QStringList& lines) {
    sql_ = lines;
    std::vector<QString> names;
    for (const QString& s : splitScript(sql_)) {
        for (const QString& n : parseParameters(s).distinctNames())
            names.push_back(n);
    }
    ParsedSql all;
    all.references = names;
    params_.resetNames(all.distinctNames());
}

QStringList SqlScript::statements() const {
    return splitScript(sql_);
}

void SqlScript::execute() {
    if (!connection_)
        throw UsageError(QStringLiteral("Script has no connection"));
    for (const QString& statement : statements()) {
        const ParsedSql parsed = parseParameters(statement);
        std::vector<QVariant> values;
        for (const QString& ref : parsed.references) {
            const Param* p = params_.find(ref);
            if (!p || !p->isSet()) {
                throw UsageError(QStringLiteral("Parameter '%1' has no value").arg(ref));
            }
            values.push_back(p->value());
        }
        try {
            auto result = connection_->session().execute(parsed.text, values);
            while (result->nextResult()) {
            }
        } catch (DbError& e) {
            e.setStatement(statement);
            throw;
        }
    }
}

}  // namespace md::data
