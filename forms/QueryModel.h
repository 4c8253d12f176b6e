#pragma once

// A table model over a Query: one row per row of the result, fetched from the server only as
// the view scrolls (canFetchMore/fetchMore on the query's lazy fetch). The columns are every
// field of the result, or the ones named with setColumns, each with its title.
//
// The model follows the query's opening and closing through the query's afterOpen and
// beforeClose events, chaining itself after any handler set before it. A window that sets those
// events after making the model chains the same way, or calls refresh() after each open.

#include "data/Query.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace md::forms {

struct GridColumn {
    QString fieldName;
    QString title;   // empty: the field's name
    int width = -1;  // pixels; -1 leaves the view's default
    bool readOnly = true;
    // Horizontal alignment of the cells and of the title; empty leaves the view's own (left).
    // Both are centred vertically.
    Qt::Alignment alignment = {};
    Qt::Alignment titleAlignment = {};
};

class QueryModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit QueryModel(data::Query* query, QObject* parent = nullptr);
    ~QueryModel() override;

    data::Query* query() const { return query_; }

    // The columns shown; empty shows every field under its own name.
    void setColumns(std::vector<GridColumn> columns);
    const std::vector<GridColumn>& columns() const { return columns_; }

    // Rows asked of the server in one go when the view wants more.
    void setFetchBatch(int rows) { batch_ = rows > 0 ? rows : 1; }

    // Reads the query's state again (open or closed, fields, rows fetched so far).
    void refresh();
    // Tells the views about rows the query fetched by itself (navigation past the last row
    // fetched), without a reset.
    void syncFetched();

    // The field a column shows, nullptr when the query is closed or lacks it.
    data::Field* fieldOf(int column) const;
    // Column of a field by name, -1 when not shown.
    int columnOf(const QString& fieldName) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Writes into the query's buffer: the row becomes current and goes into editing.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // A read-only model refuses every edit, whatever the columns say.
    void setReadOnly(bool on) { readOnly_ = on; }
    bool readOnly() const { return readOnly_; }

  private:
    void bindColumns();
    void forget();
    // The set alignment of a column's cells or title, an empty variant when none is set.
    QVariant alignmentOf(int column, Qt::Alignment GridColumn::*which) const;

    data::Query* query_;
    std::vector<GridColumn> columns_;
    std::vector<int> fieldIndex_;  // per shown column, the query's field index or -1
    int rows_ = 0;
    int batch_ = 100;
    bool readOnly_ = true;
};

}  // namespace md::forms
