#pragma once

// A window test against its own copy of the demo server: the company module DM connected to
// DEMO01 (server name handed to it directly, no Server.Dat), a Thai session for user 1 on the
// foreign-vendor entry, the simple search installed, and a harness that answers the questions.
// Each test gets its own copy of the shared demo server (tests/support/DemoServer.h).

#include "data/Dm_Config.h"
#include "data/Query.h"
#include "data/U_DM.h"
#include "forms/testing/WindowHarness.h"
#include "tests/support/DemoServer.h"

#include <gtest/gtest.h>
#include <memory>

namespace md::forms::test {

class SessionConfig : public data::TDMConfig {
  public:
    QString server;
    QString ReadServerName() override { return server; }
};

class DemoWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // One value of the first row of a statement on the company database.
    QVariant scalar(const QString& sql);
    // Runs a statement that returns no rows on the company database.
    void exec(const QString& sql);
    qint64 auditRows() {
        return scalar(QStringLiteral("Select Count(*) From UserLog")).toLongLong();
    }

    SessionConfig config;
    std::unique_ptr<data::TDM> dm;
    testing::WindowHarness h;

  private:
    std::unique_ptr<md::testing::DemoServerCopy> server_;
};

}  // namespace md::forms::test
