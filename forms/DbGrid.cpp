#include "forms/DbGrid.h"

#include "forms/Fr_Form.h"
#include "forms/ThaiMetrics.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

namespace md::forms {

DbGrid::DbGrid(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    // No row indicator unless a grid asks for one: the designed column widths fill the grid.
    verticalHeader()->setVisible(false);
    fitRowsToFont();
    setItemDelegate(new CellDelegate(this));
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &DbGrid::titleClicked);
}

DbGrid::~DbGrid() {
    // The focus moves on while the widget goes: no longer a grid by then.
    if (focusWatch_)
        disconnect(focusWatch_, nullptr, this, nullptr);
}

void DbGrid::fitRowsToFont() {
    // Room for Thai marks above and below the line: a cell lays its text out in lines as high
    // as the fonts that draw it, and a pixel each side stays clear of the grid lines.
    verticalHeader()->setDefaultSectionSize(
        std::max(fontMetrics().height() + 6, thaiCellLineHeight(font()) + 2));
}

void DbGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitRowsToFont();
}

void DbGrid::showEvent(QShowEvent* event) {
    QTableView::showEvent(event);
    watchFocus();
}

void DbGrid::watchFocus() {
    // The window the grid is in is known for certain once it is shown.
    FocusWatch* watch = FocusWatch::of(this);
    if (watch == focusWatch_)
        return;
    if (focusWatch_)
        disconnect(focusWatch_, nullptr, this, nullptr);
    focusWatch_ = watch;
    connect(watch, &FocusWatch::moved, this, [this](QWidget* from, QWidget* to) {
        const bool was = holds(from), is = holds(to);
        if (!was && is) {
            emit focusEntered();
        } else if (was && to && !is) {
            TFrForm::guarded([&] { left(from); });
            emit focusLeft();
        }
    });
}

void DbGrid::left(QWidget* from) {
    // An editor whose own focus child had the focus is not told that it lost it: take its text.
    QWidget* editor = from;
    while (editor && editor->parentWidget() != viewport())
        editor = editor->parentWidget();
    if (editor && state() == QAbstractItemView::EditingState) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    if (!cancelOnExit_ || !model_)
        return;
    data::Query* q = model_->query();
    if (!q->isOpen() || q->state() != data::DataSetState::Insert)
        return;
    for (int c = 0; c < model_->columnCount(); ++c) {
        const data::Field* f = model_->fieldOf(c);
        if (f && !f->asString().trimmed().isEmpty())
            return;  // something was entered: the row stays
    }
    q->cancel();
    model_->syncFetched();
    syncToQuery();
}

void DbGrid::setQuery(data::Query* query) {
    QueryModel* old = model_;
    model_ = new QueryModel(query, this);
    setModel(model_);
    delete old;
}

void DbGrid::setColumns(std::vector<GridColumn> columns) {
    if (!model_)
        return;
    model_->setColumns(columns);
    for (int c = 0; c < int(columns.size()); ++c) {
        if (columns[size_t(c)].width > 0)
            setColumnWidth(c, columns[size_t(c)].width);
    }
}

void DbGrid::syncToQuery() {
    if (!model_)
        return;
    model_->syncFetched();
    data::Query* q = model_->query();
    const int row = q->isOpen() ? q->recNo() : -1;
    syncing_ = true;
    if (row >= 0 && row < model_->rowCount()) {
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        setCurrentIndex(model_->index(row, column));
        selectRow(row);
    } else {
        clearSelection();
        setCurrentIndex({});
    }
    syncing_ = false;
}

void DbGrid::selectRecord(int row) {
    if (!model_ || row < 0 || row >= model_->rowCount())
        return;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    setCurrentIndex(model_->index(row, column));
    selectRow(row);
}

int DbGrid::selectedRow() const {
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void DbGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (syncing_ || !model_ || !current.isValid() || current.row() == previous.row())
        return;
    data::Query* q = model_->query();
    if (q->isOpen() && q->recNo() != current.row()) {
        TFrForm::guarded([&] { q->moveTo(current.row()); });
    }
}

QColor DbGrid::defaultBackground(bool highlight) const {
    return palette().color(highlight ? QPalette::WindowText : QPalette::Window);
}

QColor DbGrid::defaultFont(bool highlight) const {
    return palette().color(highlight ? QPalette::Window : QPalette::WindowText);
}

CellParams DbGrid::cellParams(int row, int column, bool highlight) const {
    CellParams params;
    params.row = row;
    params.column = column;
    params.highlight = highlight;
    params.field = model_ ? model_->fieldOf(column) : nullptr;
    if (onGetCellParams)
        onGetCellParams(params);
    return params;
}

void DbGrid::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    emit mousePressed(event->button(), event->modifiers());
}

void DbGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit gridDoubleClicked();
}

CellDelegate::CellDelegate(DbGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    const bool highlight = option.state & QStyle::State_Selected;
    const CellParams params = grid_->cellParams(index.row(), index.column(), highlight);
    if (!params.background.isValid() && !params.font.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem o(option);
    initStyleOption(&o, index);
    const QColor background =
        params.background.isValid() ? params.background : grid_->defaultBackground(highlight);
    const QColor font = params.font.isValid() ? params.font : grid_->defaultFont(highlight);
    painter->fillRect(o.rect, background);
    o.state &= ~QStyle::State_Selected;
    o.backgroundBrush = QBrush(background);
    o.palette.setColor(QPalette::Text, font);
    o.palette.setColor(QPalette::Base, background);
    QStyledItemDelegate::paint(painter, o, index);
}

SearchCellEditor::SearchCellEditor(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("CellEdit"));
    edit_->setFrame(false);
    button_ = new QToolButton(this);
    button_->setObjectName(QStringLiteral("CellSearchButton"));
    button_->setText(QStringLiteral("..."));
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setCursor(Qt::PointingHandCursor);
    layout->addWidget(edit_, 1);
    layout->addWidget(button_);
    setFocusProxy(edit_);
    connect(button_, &QToolButton::clicked, this, &SearchCellEditor::searchRequested);
    // F5 in the cell opens the search as the button does.
    auto* f5 = new QAction(this);
    f5->setShortcut(QKeySequence(Qt::Key_F5));
    f5->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(f5);
    connect(f5, &QAction::triggered, this, &SearchCellEditor::searchRequested);
}

SearchButtonDelegate::SearchButtonDelegate(DbGrid* grid, SearchHandler onSearch, bool upperCase)
    : CellDelegate(grid), onSearch_(std::move(onSearch)), upperCase_(upperCase) {}

QWidget* SearchButtonDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                            const QModelIndex& index) const {
    auto* editor = new SearchCellEditor(parent);
    if (upperCase_)
        setUpperCaseInput(editor->edit());
    const QPersistentModelIndex at(index);
    connect(editor, &SearchCellEditor::searchRequested, editor, [this, editor, at] {
        if (onSearch_ && at.isValid())
            TFrForm::guarded([&] { onSearch_(at, editor->edit()); });
    });
    return editor;
}

void SearchButtonDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* e = static_cast<SearchCellEditor*>(editor);
    e->edit()->setText(index.data(Qt::EditRole).toString());
    if (const auto* model = qobject_cast<const QueryModel*>(index.model())) {
        const data::Field* f = model->fieldOf(index.column());
        if (f && f->size() > 0)
            e->edit()->setMaxLength(f->size());
    }
}

void SearchButtonDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                        const QModelIndex& index) const {
    auto* e = static_cast<SearchCellEditor*>(editor);
    TFrForm::guarded([&] { model->setData(index, e->edit()->text(), Qt::EditRole); });
}

void SearchButtonDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                                const QModelIndex&) const {
    editor->setGeometry(option.rect);
}

}  // namespace md::forms
