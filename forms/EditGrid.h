#pragma once

// A grid that edits every row of its query in place, for the windows whose whole list is typed
// in a grid and written by the window's save. An editor is always open in the current cell
// while the grid has the focus; a column may name a custom editor, a line edit with a search
// button at its right end (the button and F5 in it ask the window to search). Enter and Tab
// write the cell and move to the next one (wrapping to the next row); Up and Down move between
// rows; Escape takes the entry back. The window decides what a new row, a removed row or a
// search means: the grid only asks (newRowWanted, deleteRowWanted, searchRequested) and tells
// each entry written (cellCommitted).
//
// A cell of a decimal column takes only a number and keeps its exact value rounded half away
// from zero to the column's scale, so the grid shows what the server will store.

#include "forms/DbGrid.h"

#include <QPointer>
#include <QString>
#include <vector>

class QLineEdit;

namespace md::forms {

struct EditColumn {
    QString fieldName;
    int widthChars = 10;  // in average characters of the grid's font
    QString title;
    // Empty for a plain cell; otherwise the object name of the custom editor (with the search
    // button).
    QString editorName;
    bool upperCase = false;
    bool readOnly = false;
};

class EditGrid : public DbGrid {
    Q_OBJECT
  public:
    explicit EditGrid(QWidget* parent = nullptr);
    ~EditGrid() override;

    // The shown columns, in order; the grid's model follows the query as it opens.
    void setEditColumns(std::vector<EditColumn> columns);
    const std::vector<EditColumn>& editColumns() const { return columns_; }
    // The field name a column shows ("" for none).
    QString fieldNameOf(int column) const;
    int columnOfField(const QString& fieldName) const;

    // The open editor (nullptr without one) and its line edit.
    QWidget* openEditor() const;
    QLineEdit* openEdit() const;
    // Writes an open editor's entry into its cell and closes it (before a save).
    void commitEditor();
    // Makes a cell current; with the grid focused its editor opens.
    void goToCell(int row, int column);
    // Makes the next editable cell current, wrapping to the next row; false after the last.
    bool moveToNextCell();

  signals:
    // An editor's entry went into the model's row `row`, column `column` (the cell was left).
    void cellCommitted(int row, int column);
    // F5 in the grid or in an editor, or an editor's search button.
    void searchRequested(int column);
    // Insert (`insert` true: before the current row), or moving down from the last row.
    void newRowWanted(bool insert);
    // Ctrl+Delete.
    void deleteRowWanted();

  protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    friend class EditCellDelegate;
    // A navigation key of an open editor or of the grid: true when it was used.
    bool navigate(int key, Qt::KeyboardModifiers modifiers);
    void moveRow(int step);
    bool ownsFocus() const;

    std::vector<EditColumn> columns_;
    class EditCellDelegate* delegate_;
};

}  // namespace md::forms
