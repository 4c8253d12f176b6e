#include "forms/CalcGrid.h"

#include "forms/Fr_Form.h"

#include <QKeyEvent>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <cmath>

namespace md::forms {

QString formatGroupedNumber(double value, int maxDecimals) {
    const QString fixed = QString::number(std::abs(value), 'f', qMax(0, maxDecimals));
    const qsizetype point = fixed.indexOf(u'.');
    const QString whole = point < 0 ? fixed : fixed.left(point);
    QString fraction = point < 0 ? QString() : fixed.mid(point + 1);
    while (fraction.endsWith(u'0'))
        fraction.chop(1);

    const QLocale locale;
    QString grouped;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            grouped += locale.groupSeparator();
        grouped += whole.at(i);
    }
    // A value that shows as zero shows without a sign.
    const bool shownZero = fraction.isEmpty() && whole.count(u'0') == whole.size();
    QString text = value < 0 && !shownZero ? locale.negativeSign() + grouped : grouped;
    if (!fraction.isEmpty())
        text += locale.decimalPoint() + fraction;
    return text;
}

// ---- CalcCellEditor ----

CalcCellEditor::CalcCellEditor(int decimals, QWidget* parent)
    : QLineEdit(parent), decimals_(qMax(0, decimals)) {
    setObjectName(QStringLiteral("CalcCellEditor"));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFrame(false);
    const QString pattern = decimals_ > 0
                                ? QStringLiteral("-?[0-9]*([.][0-9]{0,%1})?").arg(decimals_)
                                : QStringLiteral("-?[0-9]*");
    setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), this));
}

double CalcCellEditor::value() const {
    bool ok = false;
    const double v = text().trimmed().toDouble(&ok);
    return ok ? v : 0.0;
}

void CalcCellEditor::setValue(double value) {
    QString t = QString::number(value, 'f', decimals_);
    if (t.contains(u'.')) {
        while (t.endsWith(u'0'))
            t.chop(1);
        if (t.endsWith(u'.'))
            t.chop(1);
    }
    if (t == QStringLiteral("-0"))
        t = QStringLiteral("0");
    setText(t);
}

// ---- CalcCellDelegate ----

CalcCellDelegate::CalcCellDelegate(CalcGrid* grid) : CellDelegate(grid), grid_(grid) {}

void CalcCellDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
    CellDelegate::initStyleOption(option, index);
    if (!grid_->isCalcColumn(index.column()))
        return;
    option->text = grid_->shownText(index.row(), index.column());
    option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
}

QWidget* CalcCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    if (!grid_->isCalcColumn(index.column()))
        return CellDelegate::createEditor(parent, option, index);
    auto* editor = new CalcCellEditor(grid_->decimalsOf(index.column()), parent);
    const QString name = grid_->editorNameOf(index.column());
    if (!name.isEmpty())
        editor->setObjectName(name);
    editor_ = editor;
    return editor;
}

void CalcCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* calc = qobject_cast<CalcCellEditor*>(editor)) {
        calc->setValue(index.data(Qt::EditRole).toDouble());
        return;
    }
    CellDelegate::setEditorData(editor, index);
}

void CalcCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    auto* calc = qobject_cast<CalcCellEditor*>(editor);
    if (!calc) {
        CellDelegate::setModelData(editor, model, index);
        return;
    }
    bool written = false;
    TFrForm::guarded([&] { written = model->setData(index, calc->value(), Qt::EditRole); });
    if (written)
        emit grid_->cellCommitted(index.row(), index.column());
}

void CalcCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex&) const {
    editor->setGeometry(option.rect);
}

bool CalcCellDelegate::eventFilter(QObject* watched, QEvent* event) {
    auto* editor = qobject_cast<CalcCellEditor*>(watched);
    if (editor && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // The entry goes in and the cursor moves on, ready for the next entry.
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            grid_->moveToNextCell();
            return true;
        }
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            // Tab leaves the grid, as it does when no cell is being edited.
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            grid_->focusNextPrevChild(key == Qt::Key_Tab);
            return true;
        }
    }
    return CellDelegate::eventFilter(watched, event);
}

// ---- CalcGrid ----

CalcGrid::CalcGrid(QWidget* parent) : DbGrid(parent) {
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setAlternatingRowColors(true);
    // Tab walks the window's fields; Enter walks the cells.
    setTabKeyNavigation(false);
    delegate_ = new CalcCellDelegate(this);
    setItemDelegate(delegate_);
}

void CalcGrid::setCalcColumn(int column, int decimals, const QString& editorName) {
    calc_[column] = CalcColumn{qMax(0, decimals), editorName};
}

int CalcGrid::decimalsOf(int column) const {
    const auto it = calc_.find(column);
    return it == calc_.end() ? 0 : it->second.decimals;
}

QString CalcGrid::editorNameOf(int column) const {
    const auto it = calc_.find(column);
    return it == calc_.end() ? QString() : it->second.editorName;
}

void CalcGrid::commitEditor() {
    CalcCellEditor* editor = delegate_->openEditor();
    if (!editor)
        return;
    emit delegate_->commitData(editor);
    emit delegate_->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

QString CalcGrid::shownText(int row, int column) const {
    QAbstractItemModel* m = model();
    if (!m)
        return {};
    const QModelIndex index = m->index(row, column);
    if (!isCalcColumn(column))
        return index.data(Qt::DisplayRole).toString();
    return formatGroupedNumber(index.data(Qt::EditRole).toDouble(), decimalsOf(column));
}

bool CalcGrid::moveToNextCell() {
    QAbstractItemModel* m = model();
    const QModelIndex current = currentIndex();
    if (!m || !current.isValid())
        return false;
    const int columns = m->columnCount();
    int row = current.row();
    int column = current.column() + 1;
    while (row < m->rowCount()) {
        for (; column < columns; ++column) {
            const QModelIndex next = m->index(row, column);
            if (!isColumnHidden(column) && (next.flags() & Qt::ItemIsEditable)) {
                setCurrentIndex(next);
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

void CalcGrid::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        state() != QAbstractItemView::EditingState) {
        moveToNextCell();
        event->accept();
        return;
    }
    DbGrid::keyPressEvent(event);
}

}  // namespace md::forms
