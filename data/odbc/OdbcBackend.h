#pragma once

// Entry point of the SQL Server backend over ODBC. Any server name that is not "sqlite:..." is a
// SQL Server instance; "odbc:<connection string>" uses that connection string as given, with
// {database} replaced by the database name.

#include "data/backend/Backend.h"
#include "data/odbc/OdbcSettings.h"

#include <memory>

namespace md::odbc {

// Opens a session with the site's settings (readSettings()). Throws DbError with the driver's
// message when the server cannot be reached or refuses the login.
std::unique_ptr<data::Session> openSession(const data::ConnectParams& params);

// The same with settings given by the caller.
std::unique_ptr<data::Session> openSession(const data::ConnectParams& params,
                                           const OdbcSettings& settings);

}  // namespace md::odbc
