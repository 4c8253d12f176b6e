#pragma once

// A grid over a Query: whole-row selection that moves the query's current row, column titles
// that act as buttons (titleClicked with the clicked column), a per-cell background hook that
// knows whether the cell is highlighted, mouse presses with their shift state, and in-cell
// editors with a search button for the grids that edit.

#include "forms/QueryModel.h"

#include <QColor>
#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

class QToolButton;

namespace md::forms {

// What the background hook of a cell gets and may change.
struct CellParams {
    int row = -1;
    int column = -1;
    data::Field* field = nullptr;  // the column's field
    bool highlight = false;        // the cell is in the selected row
    QColor background;             // invalid: the view's own colours
    QColor font;                   // invalid: the view's own colours
};

class DbGrid : public QTableView {
    Q_OBJECT
  public:
    explicit DbGrid(QWidget* parent = nullptr);
    ~DbGrid() override;

    // Shows `query` (not owned); the grid owns the model it makes for it.
    void setQuery(data::Query* query);
    data::Query* query() const { return model_ ? model_->query() : nullptr; }
    QueryModel* queryModel() const { return model_; }

    void setColumns(std::vector<GridColumn> columns);
    // The query's current row becomes the grid's selected row (after the query moved by itself).
    void syncToQuery();
    // Selects a row and makes it the query's current row.
    void selectRecord(int row);
    // Row of the selection, -1 without one.
    int selectedRow() const;

    // Leaving the grid for another control of its window takes the text of an open cell editor
    // into the row. With cancel-on-leaving, a new row (inserted or appended) in which every
    // column the grid shows is still blank is then thrown away, so moving past the last row
    // and out of the grid leaves no empty row behind; a row with anything entered stays. Focus
    // going to another window (a search dialog opened from a cell) is not leaving.
    void setCancelOnExit(bool on) { cancelOnExit_ = on; }
    bool cancelOnExit() const { return cancelOnExit_; }

    // Per-cell background hook, asked for every cell painted.
    std::function<void(CellParams&)> onGetCellParams;
    // The colours a cell gets when the hook asks for the default: window-text colour when
    // highlighted, window colour otherwise.
    QColor defaultBackground(bool highlight) const;
    QColor defaultFont(bool highlight) const;

    // The colours a cell would be painted with (what the hook decides), for the paint code and
    // for checks.
    CellParams cellParams(int row, int column, bool highlight) const;

  signals:
    // A column title was clicked.
    void titleClicked(int column);
    // A mouse button went down over the grid, with the keys held.
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // A double click anywhere in the grid.
    void gridDoubleClicked();
    // The focus came into the grid (or a cell editor) from another control of its window, or
    // went from there to another one; reported by any route, active window or not. Leaving is
    // reported after the grid has dealt with the row (see setCancelOnExit).
    void focusEntered();
    void focusLeft();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void fitRowsToFont();
    void watchFocus();
    bool holds(const QWidget* w) const { return w && (w == this || isAncestorOf(w)); }
    void left(QWidget* from);
    QueryModel* model_ = nullptr;
    QPointer<QObject> focusWatch_;
    bool syncing_ = false;
    bool cancelOnExit_ = false;
};

// Paints cells with the colours of the grid's hook.
class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit CellDelegate(DbGrid* grid);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    DbGrid* grid_;
};

// The in-cell editor of a column that has a search: a line edit with a small button at its
// right end.
class SearchCellEditor : public QWidget {
    Q_OBJECT
  public:
    explicit SearchCellEditor(QWidget* parent = nullptr);
    QLineEdit* edit() const { return edit_; }
    QToolButton* button() const { return button_; }

  signals:
    void searchRequested();

  private:
    QLineEdit* edit_;
    QToolButton* button_;
};

// Delegate of such a column: the button (or F5 in the editor) runs `onSearch`, which may put a
// chosen value into the editor's text; the text goes to the query when the editor closes.
class SearchButtonDelegate : public CellDelegate {
    Q_OBJECT
  public:
    using SearchHandler = std::function<void(const QModelIndex& index, QLineEdit* edit)>;
    SearchButtonDelegate(DbGrid* grid, SearchHandler onSearch, bool upperCase = false);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

  private:
    SearchHandler onSearch_;
    bool upperCase_;
};

}  // namespace md::forms
