#pragma once

#include "data/backend/DbError.h"
#include "data/embedded/EmbeddedBackend.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace md::embedded::test {

// A fresh embedded server folder with one database, DB, per test.
class EngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        server = QStringLiteral("sqlite:") + dir.path();
        open(QStringLiteral("master"))->execute(QStringLiteral("CREATE DATABASE DB"), {});
        db = open(QStringLiteral("DB"));
    }

    std::unique_ptr<data::Session> open(const QString& database) {
        return openSession(data::ConnectParams{database, server, {}, {}});
    }

    // Runs a batch and returns the first column of every row of its first result.
    std::vector<QVariant> column(data::Session& s, const QString& sql,
                                 const std::vector<QVariant>& params = {}) {
        auto rs = s.execute(sql, params);
        std::vector<QVariant> out, row;
        while (rs->fetch(row))
            out.push_back(row.at(0));
        return out;
    }
    QVariant scalar(const QString& sql, const std::vector<QVariant>& params = {}) {
        auto v = column(*db, sql, params);
        return v.empty() ? QVariant() : v.front();
    }
    void run(const QString& sql, const std::vector<QVariant>& params = {}) {
        db->execute(sql, params);
    }
    // The error a batch raises (fails the test when it raises none).
    data::DbError refusal(const QString& sql, const std::vector<QVariant>& params = {}) {
        try {
            db->execute(sql, params);
        } catch (const data::DbError& e) {
            return e;
        }
        ADD_FAILURE() << "no error from: " << sql.toStdString();
        return data::DbError(QString());
    }

    QTemporaryDir dir;
    QString server;
    std::unique_ptr<data::Session> db;
};

}  // namespace md::embedded::test
