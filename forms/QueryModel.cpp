#include "forms/QueryModel.h"

#include "data/Field.h"
#include "errors/TApplication.h"

#include <QPointer>

namespace md::forms {

QueryModel::QueryModel(data::Query* query, QObject* parent)
    : QAbstractTableModel(parent), query_(query) {
    // The handlers stay chained on the query after this model has gone (whichever of the two
    // goes first); without a model behind them they only pass the event on.
    QPointer<QueryModel> self(this);
    auto opened = std::move(query_->afterOpen);
    query_->afterOpen = [self, opened](data::Query& q) {
        if (opened)
            opened(q);
        if (self && self->query_ == &q)
            self->refresh();
    };
    auto closing = std::move(query_->beforeClose);
    query_->beforeClose = [self, closing](data::Query& q) {
        if (closing)
            closing(q);
        if (self && self->query_ == &q)
            self->forget();
    };
    refresh();
}

QueryModel::~QueryModel() = default;

void QueryModel::forget() {
    // The rows are about to go: the views forget them first.
    beginResetModel();
    rows_ = 0;
    fieldIndex_.assign(fieldIndex_.size(), -1);
    endResetModel();
}

void QueryModel::setColumns(std::vector<GridColumn> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    bindColumns();
    endResetModel();
}

void QueryModel::bindColumns() {
    fieldIndex_.clear();
    if (columns_.empty()) {
        for (int i = 0; query_->isOpen() && i < query_->fieldCount(); ++i)
            fieldIndex_.push_back(i);
        return;
    }
    for (const GridColumn& c : columns_) {
        data::Field* f = query_->isOpen() ? query_->findField(c.fieldName) : nullptr;
        fieldIndex_.push_back(f ? f->index() : -1);
    }
}

void QueryModel::refresh() {
    beginResetModel();
    bindColumns();
    rows_ = query_->isOpen() ? query_->fetchedCount() : 0;
    endResetModel();
}

void QueryModel::syncFetched() {
    const int now = query_->isOpen() ? query_->fetchedCount() : 0;
    if (now > rows_) {
        beginInsertRows({}, rows_, now - 1);
        rows_ = now;
        endInsertRows();
    } else if (now < rows_) {
        refresh();
    }
}

data::Field* QueryModel::fieldOf(int column) const {
    if (column < 0 || column >= int(fieldIndex_.size()) || !query_->isOpen())
        return nullptr;
    const int i = fieldIndex_[size_t(column)];
    return i >= 0 && i < query_->fieldCount() ? &query_->field(i) : nullptr;
}

int QueryModel::columnOf(const QString& fieldName) const {
    for (int c = 0; c < columnCount(); ++c) {
        const data::Field* f = fieldOf(c);
        if (f && f->name().compare(fieldName, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

int QueryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int QueryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(fieldIndex_.size());
}

QVariant QueryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_)
        return {};
    if (role == Qt::TextAlignmentRole)
        return alignmentOf(index.column(), &GridColumn::alignment);
    const data::Field* f = fieldOf(index.column());
    if (!f)
        return {};
    const QVariant v = query_->valueAt(index.row(), f->index());
    switch (role) {
        case Qt::DisplayRole:
            return data::displayText(v);
        case Qt::EditRole:
            return v.isNull() ? QVariant(QString()) : v;
        default:
            return {};
    }
}

QVariant QueryModel::alignmentOf(int column, Qt::Alignment GridColumn::*which) const {
    if (column < 0 || column >= int(columns_.size()))
        return {};
    const Qt::Alignment horizontal = columns_[size_t(column)].*which & Qt::AlignHorizontal_Mask;
    if (!horizontal)
        return {};
    return QVariant(int(horizontal | Qt::AlignVCenter));
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        return alignmentOf(section, &GridColumn::titleAlignment);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section < 0 || section >= columnCount())
        return {};
    if (!columns_.empty()) {
        const GridColumn& c = columns_[size_t(section)];
        return c.title.isEmpty() ? c.fieldName : c.title;
    }
    const data::Field* f = fieldOf(section);
    return f ? f->name() : QString();
}

Qt::ItemFlags QueryModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags base = QAbstractTableModel::flags(index);
    if (!index.isValid() || readOnly_)
        return base;
    const bool columnReadOnly = columns_.empty() || index.column() >= int(columns_.size()) ||
                                columns_[size_t(index.column())].readOnly;
    return columnReadOnly ? base : base | Qt::ItemIsEditable;
}

bool QueryModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    data::Field* f = fieldOf(index.column());
    if (!f)
        return false;
    if (query_->recNo() != index.row())
        query_->moveTo(index.row());
    query_->edit();
    const QString text = value.toString();
    if (text.isEmpty())
        f->clear();
    else
        f->setValue(value);
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

bool QueryModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && query_->isOpen() &&
           (!query_->allFetched() || query_->fetchedCount() > rows_);
}

void QueryModel::fetchMore(const QModelIndex& parent) {
    if (parent.isValid() || !query_->isOpen())
        return;
    // A view asks for rows while it paints; a server error here goes to the error handler
    // instead of through the view.
    std::exception_ptr error;
    try {
        query_->fetchMore(batch_);
    } catch (...) {
        error = std::current_exception();
    }
    syncFetched();
    if (error)
        errors::RouteException(error);
}

}  // namespace md::forms
