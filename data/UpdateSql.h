#pragma once

// The statements that write a query's buffered changes back (one set per table): in each,
// :Col stands for the row's new value of column Col and :OLD_Col for the value it had when read.

#include <QStringList>

namespace md::data {

struct UpdateSql {
    QStringList insertSql;
    QStringList modifySql;
    QStringList deleteSql;
};

}  // namespace md::data
