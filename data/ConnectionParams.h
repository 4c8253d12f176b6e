#pragma once

// The suite's connection parameter list: the same 24 NAME=value lines, in the same order, for the
// configuration and the company databases. Only the database name, server name, user name and
// password mean anything to the backends; the other lines are kept for the suite's own tools,
// which read the same list.

#include <QString>
#include <QStringList>

namespace md::data {

// The suite's fixed database login.
inline const QString kSuiteUserName = QStringLiteral("kvr");
inline const QString kSuitePassword = QStringLiteral("kvrmdata");

// The server used when Server.Dat is missing or its first line is empty.
inline const QString kDefaultServerName = QStringLiteral("KVR");

QStringList suiteConnectionParams(const QString& database, const QString& server);

}  // namespace md::data
