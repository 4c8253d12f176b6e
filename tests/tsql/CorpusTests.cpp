// Every statement the program issues translates; every fuzz corpus input is handled (a
// refusal is fine, a crash is not).

#include "fuzz/BatchInput.h"
#include "tests/tsql/TsqlTestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace md::tsql::test {
namespace {

using namespace Qt::StringLiterals;

// A catalogue that knows nothing: the statements must translate on their text alone.
class EmptySchema : public SchemaLookup {
  public:
    std::optional<ColumnType> column(const QString&, const QString&) const override {
        return std::nullopt;
    }
    std::optional<ColumnType> variable(const QString&) const override { return std::nullopt; }
};

QStringList corpusStatements() {
    QFile f(QStringLiteral(MD_TSQL_CORPUS));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString all = QString::fromUtf8(f.readAll());
    QStringList out;
    for (const QString& block :
         all.split(QRegularExpression(u"^----[ \\t]*$"_s, QRegularExpression::MultilineOption))) {
        QString s = block;
        if (s.startsWith(u'\n'))
            s.remove(0, 1);
        if (s.endsWith(u'\n'))
            s.chop(1);
        if (!s.trimmed().isEmpty())
            out << s;
    }
    return out;
}

TEST(Corpus, EveryStatementOfTheProgramTranslates) {
    const QStringList statements = corpusStatements();
    ASSERT_GT(statements.size(), 100);
    EmptySchema schema;
    int failed = 0;
    for (const QString& s : statements) {
        try {
            const QString sql = translateStatement(s, schema);
            EXPECT_FALSE(sql.isEmpty());
        } catch (const data::DbError& e) {
            ++failed;
            ADD_FAILURE() << e.message().toStdString() << "\n" << s.toStdString();
        }
    }
    EXPECT_EQ(failed, 0);
}

TEST(Corpus, EveryStatementOfTheProgramPreparesOnSqlite) {
    // Tables with the columns the statements name are not available here; preparing checks
    // that the emitted text is SQLite syntax, so only "no such table/column" may fail.
    TestDb db;
    EmptySchema schema;
    for (const QString& s : corpusStatements()) {
        const QString sql = translateStatement(s, schema);
        try {
            db.runSqlite(u"EXPLAIN "_s + sql);
        } catch (const data::DbError& e) {
            const QString m = e.message();
            EXPECT_TRUE(m.startsWith(u"no such table") || m.startsWith(u"no such column"))
                << m.toStdString() << "\n"
                << sql.toStdString();
        }
    }
}

// Every input the fuzz target ever found a fault with, and the seeds, through the whole batch
// path as the fuzz target runs them, whatever their size.
TEST(Corpus, FuzzInputsAreHandled) {
    const QDir dir(QStringLiteral(MD_TSQL_FUZZ_CORPUS));
    const auto files = dir.entryInfoList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QFileInfo& fi : files) {
        QFile f(fi.filePath());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        SCOPED_TRACE(fi.fileName().toStdString());
        fuzz::runBatchInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                            size_t(bytes.size()));
    }
}

}  // namespace
}  // namespace md::tsql::test
