#pragma once

// A grid whose number cells are edited in place with calculator editors, over a query whose
// buffer holds the entries until the window writes them itself. Typing in a cell opens its
// editor with the typed key; Enter writes the cell and moves to the next editable cell
// (wrapping to the next row); Escape in an editor takes the entry back. Number cells show their
// value with thousands grouping and as many decimals as it has, up to the editor's decimals
// (",0.#######" for seven), in the workstation's separators.

#include "forms/DbGrid.h"

#include <QLineEdit>
#include <QPointer>
#include <functional>
#include <map>

namespace md::forms {

// `value` with grouped thousands and at most `maxDecimals` decimals, trailing zeros dropped
// (the pattern ",0.###" for three): 1234.5 gives "1,234.5", 0 gives "0". The default locale's
// group separator and decimal point are used.
QString formatGroupedNumber(double value, int maxDecimals);

// The editor of a number cell: right-aligned, it takes only a number with at most `decimals`
// places after the point.
class CalcCellEditor : public QLineEdit {
    Q_OBJECT
  public:
    CalcCellEditor(int decimals, QWidget* parent = nullptr);
    // The number typed; an empty box is 0, as a calculator shows it.
    double value() const;
    void setValue(double value);

  private:
    int decimals_;
};

class CalcGrid;

// Paints number cells with the grouped pattern and makes their calculator editors. Every entry
// written back (Enter, leaving the cell, another row chosen) goes to the model and then to the
// grid's cellCommitted signal, where a window works out what follows from it.
class CalcCellDelegate : public CellDelegate {
    Q_OBJECT
  public:
    explicit CalcCellDelegate(CalcGrid* grid);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    // The editor open now, nullptr without one (a closed editor is hidden until it is deleted).
    CalcCellEditor* openEditor() const {
        return editor_ && !editor_->isHidden() ? editor_ : nullptr;
    }

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    CalcGrid* grid_;
    mutable QPointer<CalcCellEditor> editor_;
};

class CalcGrid : public DbGrid {
    Q_OBJECT
  public:
    explicit CalcGrid(QWidget* parent = nullptr);

    // Makes a column a number column edited with `decimals` places by an editor with the object
    // name `editorName`. Columns not made so are shown as the model gives them and follow the
    // model's editable flags.
    void setCalcColumn(int column, int decimals, const QString& editorName = {});
    bool isCalcColumn(int column) const { return calc_.count(column) > 0; }
    int decimalsOf(int column) const;
    QString editorNameOf(int column) const;

    CalcCellDelegate* calcDelegate() const { return delegate_; }
    // Writes the entry of an open editor into its cell and closes the editor: a step that reads
    // the data set (a save) then sees what the user typed.
    void commitEditor();
    // The editor open now, nullptr without one.
    CalcCellEditor* openEditor() const { return delegate_->openEditor(); }
    // The text a cell shows: the grouped pattern in a number column, the model's text elsewhere.
    QString shownText(int row, int column) const;
    // Makes the next editable cell after the current one current, wrapping to the next row;
    // false at the last one.
    bool moveToNextCell();

  signals:
    // An editor's entry went into the model's row `row`, column `column`.
    void cellCommitted(int row, int column);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    friend class CalcCellDelegate;
    CalcCellDelegate* delegate_;
    struct CalcColumn {
        int decimals = 0;
        QString editorName;
    };
    std::map<int, CalcColumn> calc_;
};

}  // namespace md::forms
