#pragma once

// Helpers of the schema tests: a fresh server folder in a temporary directory, and small ways to
// read one value or all rows of a statement.

#include "data/backend/Backend.h"
#include "schema/DemoServer.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <memory>

namespace md::schema::test {

struct TestServer {
    QTemporaryDir dir;
    QString folder;
    QString server;
    std::unique_ptr<data::Session> config;
    std::unique_ptr<data::Session> company;

    // A server with both databases; with `demo` also the demo data, otherwise the bare schema.
    explicit TestServer(bool demo) {
        folder = dir.filePath(u"server"_qs);
        server = demo ? createDemoServer(folder, {}).serverName : createSchemaServer(folder, false);
        config = openDatabase(server, QString::fromUtf16(kConfigDatabase));
        company = openDatabase(server, QString::fromUtf16(kDemoDatabase));
    }
};

inline std::vector<std::vector<QVariant>> rows(data::Session& s, const QString& sql,
                                               const std::vector<QVariant>& params = {}) {
    auto result = s.execute(sql, params);
    std::vector<std::vector<QVariant>> out;
    std::vector<QVariant> row;
    while (result->fetch(row))
        out.push_back(row);
    return out;
}

inline QVariant value(data::Session& s, const QString& sql,
                      const std::vector<QVariant>& params = {}) {
    const auto r = rows(s, sql, params);
    return r.empty() ? QVariant() : r.front().front();
}

inline bool hasColumn(data::Session& s, const QString& table, const QString& column) {
    return value(s,
                 u"SELECT Count(*) FROM SysColumns WHERE Id = (SELECT Id FROM SysObjects WHERE "
                 u"Name = ?) AND Name = ?"_qs,
                 {table, column})
               .toInt() > 0;
}

}  // namespace md::schema::test
