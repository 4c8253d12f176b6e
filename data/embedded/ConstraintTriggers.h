#pragma once

// SQL Server's refusals enforced with generated triggers, so that each carries SQL Server's
// text with the names and values involved: NULL into a NOT NULL column (515), text longer than
// its column (8152), duplicate keys (2627 for PRIMARY KEY / UNIQUE, 2601 for unique indexes)
// and references (547). One BEFORE INSERT, UPDATE and DELETE trigger per table, named
// md_ins_<id>, md_upd_<id>, md_del_<id>, rebuilt from the catalogue after each change.

#include "data/embedded/Catalogue.h"

namespace md::embedded {

void rebuildTriggers(sqlite3* db, const Catalogue& catalogue, qint64 tableId);

}  // namespace md::embedded
