#pragma once

// Entry point of the SQL Server backend over ODBC. Any server name that is not "sqlite:..." is a
// SQL Server instance; "odbc:<connection string>" uses that connection string as given, with
// {database} replaced by the database name.

#include "data/backend/Backend.h"

#include <memory>

namespace md::odbc {

std::unique_ptr<data::Session> openSession(const data::ConnectParams& params);

}  // namespace md::odbc
