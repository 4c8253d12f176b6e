#include "forms/EditGrid.h"

#include "data/Prompts.h"
#include "forms/Fr_Form.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>

namespace md::forms {

namespace {

// A decimal column (its values arrive as exact decimals with the column's scale).
bool isDecimal(const data::Field* f) {
    return f && f->info().scale >= 0;
}

QLineEdit* lineOf(QWidget* editor) {
    if (auto* search = qobject_cast<SearchCellEditor*>(editor))
        return search->edit();
    return qobject_cast<QLineEdit*>(editor);
}

}  // namespace

// Makes each column's editor and writes its entry back; watches the editor's keys and focus so
// that the cell is written whenever it is left, and only then.
class EditCellDelegate : public CellDelegate {
  public:
    explicit EditCellDelegate(EditGrid* grid) : CellDelegate(grid), grid_(grid) {}

    // The grid is going: its editors' last events find no grid.
    void detach() { grid_ = nullptr; }

    QWidget* open() const {
        return grid_ && editor_ && grid_->state() == QAbstractItemView::EditingState
                   ? editor_.data()
                   : nullptr;
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        const int column = index.column();
        const EditColumn* c =
            column < int(grid_->columns_.size()) ? &grid_->columns_[size_t(column)] : nullptr;
        QWidget* editor = nullptr;
        QLineEdit* line = nullptr;
        if (c && !c->editorName.isEmpty()) {
            auto* search = new SearchCellEditor(parent);
            search->setObjectName(c->editorName);
            connect(search, &SearchCellEditor::searchRequested, grid_,
                    [grid = grid_, column] { emit grid->searchRequested(column); });
            line = search->edit();
            editor = search;
        } else {
            line = new QLineEdit(parent);
            line->setObjectName(QStringLiteral("CellEdit"));
            line->setFrame(false);
            editor = line;
        }
        if (c && c->upperCase)
            setUpperCaseInput(line);
        const data::Field* f = grid_->queryModel()->fieldOf(column);
        if (isDecimal(f)) {
            const int precision = f->info().precision > 0 ? f->info().precision : 38;
            const int whole = qMax(1, precision - f->info().scale);
            // More decimals than the column keeps may be typed: they are rounded as it rounds.
            line->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("-?[0-9]{0,%1}([.][0-9]*)?").arg(whole)), line));
            line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        } else if (f && f->size() > 0) {
            line->setMaxLength(f->size());
        }
        line->installEventFilter(const_cast<EditCellDelegate*>(this));
        editor_ = editor;
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        QLineEdit* line = lineOf(editor);
        if (!line)
            return;
        line->setText(index.data(Qt::EditRole).toString());
        line->selectAll();
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        QLineEdit* line = lineOf(editor);
        // A cell only passed through is not written: its value stays as read, and nothing that
        // follows from an entry (a code resolved again) happens to it.
        if (!line || !grid_ || !line->isModified())
            return;
        QVariant value = line->text();
        const data::Field* f = grid_->queryModel()->fieldOf(index.column());
        if (isDecimal(f)) {
            const QString text = line->text().trimmed();
            if (text.isEmpty()) {
                value = QVariant();
            } else {
                const std::optional<data::Decimal> typed = data::Decimal::parse(text);
                const std::optional<data::Decimal> kept =
                    typed ? typed->rescaled(f->info().scale) : std::nullopt;
                if (!kept)
                    return;  // the validator lets no such text through
                value = QVariant::fromValue(*kept);
            }
        }
        bool written = false;
        TFrForm::guarded([&] { written = model->setData(index, value, Qt::EditRole); });
        if (written)
            emit grid_->cellCommitted(index.row(), index.column());
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex&) const override {
        editor->setGeometry(option.rect);
    }

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        CellDelegate::initStyleOption(option, index);
        if (grid_ && isDecimal(grid_->queryModel()->fieldOf(index.column())))
            option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        QWidget* editor = open();
        if (!editor || !watched->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(watched);
        if (w != editor && !editor->isAncestorOf(w))
            return false;
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                // The entry is taken back: the editor closes without writing.
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                return true;
            }
            bool used = false;
            TFrForm::guarded([&] { used = grid_->navigate(key->key(), key->modifiers()); });
            return used;
        }
        if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            // A dialog over the window or a popup is no leaving of the cell: a search opened
            // from the editor puts its choice back into it.
            if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
                return false;
            QWidget* now = QApplication::focusWidget();
            if (now && (now == editor || editor->isAncestorOf(now)))
                return false;
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            return false;
        }
        return false;
    }

  private:
    EditGrid* grid_;
    mutable QPointer<QWidget> editor_;
};

EditGrid::EditGrid(QWidget* parent) : DbGrid(parent) {
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::AnyKeyPressed |
                    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(false);
    delegate_ = new EditCellDelegate(this);
    setItemDelegate(delegate_);
}

EditGrid::~EditGrid() {
    delegate_->detach();
}

void EditGrid::setEditColumns(std::vector<EditColumn> columns) {
    columns_ = std::move(columns);
    const int charWidth = fontMetrics().averageCharWidth();
    std::vector<GridColumn> shown;
    for (const EditColumn& c : columns_) {
        const int width =
            qMax(c.widthChars * charWidth + 8, fontMetrics().horizontalAdvance(c.title) + 12);
        shown.push_back({c.fieldName, c.title, width, c.readOnly});
    }
    setColumns(std::move(shown));
}

QString EditGrid::fieldNameOf(int column) const {
    return column >= 0 && column < int(columns_.size()) ? columns_[size_t(column)].fieldName
                                                        : QString();
}

int EditGrid::columnOfField(const QString& fieldName) const {
    for (int c = 0; c < int(columns_.size()); ++c) {
        if (columns_[size_t(c)].fieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

QWidget* EditGrid::openEditor() const {
    return delegate_->open();
}

QLineEdit* EditGrid::openEdit() const {
    return lineOf(openEditor());
}

void EditGrid::commitEditor() {
    QWidget* editor = openEditor();
    if (!editor)
        return;
    emit delegate_->commitData(editor);
    emit delegate_->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void EditGrid::goToCell(int row, int column) {
    QAbstractItemModel* m = model();
    if (!m || row < 0 || row >= m->rowCount() || column < 0 || column >= m->columnCount())
        return;
    const QModelIndex at = m->index(row, column);
    if (currentIndex() != at)
        setCurrentIndex(at);
    if (ownsFocus() && state() != EditingState)
        QTableView::edit(at);
    if (QWidget* editor = openEditor())
        editor->setFocus(Qt::OtherFocusReason);
}

bool EditGrid::ownsFocus() const {
    const QWidget* f = window()->focusWidget();
    return f && (f == this || isAncestorOf(f));
}

bool EditGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // A cell made current while the focus is elsewhere (the list reloaded, a program step) must
    // not take the focus with its editor.
    if (trigger == CurrentChanged && !ownsFocus())
        return false;
    return DbGrid::edit(index, trigger, event);
}

bool EditGrid::moveToNextCell() {
    QAbstractItemModel* m = model();
    const QModelIndex current = currentIndex();
    if (!m || !current.isValid())
        return false;
    int row = current.row();
    int column = current.column() + 1;
    while (row < m->rowCount()) {
        for (; column < m->columnCount(); ++column) {
            const QModelIndex next = m->index(row, column);
            if (!isColumnHidden(column) && (next.flags() & Qt::ItemIsEditable)) {
                goToCell(row, column);
                return true;
            }
        }
        ++row;
        column = 0;
        if (row >= m->rowCount() && m->canFetchMore({}))
            m->fetchMore({});
    }
    return false;
}

void EditGrid::moveRow(int step) {
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !model())
        return;
    const int row = current.row() + step;
    if (row < 0 || row >= model()->rowCount())
        return;
    goToCell(row, current.column());
}

bool EditGrid::navigate(int key, Qt::KeyboardModifiers modifiers) {
    const bool plain = modifiers == Qt::NoModifier || modifiers == Qt::KeypadModifier;
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
            if (!plain)
                return false;
            commitEditor();
            if (!moveToNextCell())
                emit newRowWanted(false);
            return true;
        case Qt::Key_Backtab: {
            commitEditor();
            const QModelIndex current = currentIndex();
            if (current.isValid() && current.column() > 0)
                goToCell(current.row(), current.column() - 1);
            else if (current.isValid() && current.row() > 0)
                goToCell(current.row() - 1, model()->columnCount() - 1);
            return true;
        }
        case Qt::Key_Up:
            if (!plain)
                return false;
            commitEditor();
            moveRow(-1);
            return true;
        case Qt::Key_Down:
            if (!plain)
                return false;
            commitEditor();
            if (currentIndex().isValid() && currentIndex().row() + 1 >= model()->rowCount() &&
                !model()->canFetchMore({}))
                emit newRowWanted(false);
            else
                moveRow(1);
            return true;
        case Qt::Key_Insert:
            if (!plain)
                return false;
            commitEditor();
            emit newRowWanted(true);
            return true;
        case Qt::Key_Delete:
            if (modifiers != Qt::ControlModifier)
                return false;
            commitEditor();
            if (currentIndex().isValid() &&
                data::prompts().askPlainYesNo(QStringLiteral(u"ลบรายการ ?")))
                emit deleteRowWanted();
            return true;
        case Qt::Key_F5:
            if (!plain || !currentIndex().isValid())
                return false;
            emit searchRequested(currentIndex().column());
            return true;
        default:
            return false;
    }
}

void EditGrid::keyPressEvent(QKeyEvent* event) {
    bool used = false;
    TFrForm::guarded([&] { used = navigate(event->key(), event->modifiers()); });
    if (used) {
        event->accept();
        return;
    }
    DbGrid::keyPressEvent(event);
}

void EditGrid::focusInEvent(QFocusEvent* event) {
    DbGrid::focusInEvent(event);
    // Coming into the grid by a key or a click shows the current cell's editor; the focus the
    // grid takes back from an editor it closed leaves it closed.
    const auto reason = event->reason();
    if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason &&
        reason != Qt::MouseFocusReason && reason != Qt::ShortcutFocusReason)
        return;
    if (currentIndex().isValid() && state() != EditingState)
        QTableView::edit(currentIndex());
}

}  // namespace md::forms
