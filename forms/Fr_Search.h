#pragma once

// The search form base: a code field and three buttons above a read-only result grid, shown
// modally. Choosing a row closes the window with OK and leaves the value of the column
// `KeyField` of that row in `ResultValue`; cancelled documents (DelFlag "Y") cannot be chosen.
// Rows are coloured by DelFlag, Clear and Active; a click on a column title sorts by it.
//
// Text typed into a search field goes to the server only as a parameter value. Where a search
// looks for rows that contain or begin with the typed text, LikeLiteral() makes the typed text
// match as written: "%", "_" and "[" are matched as those characters, not as LIKE wildcards.

#include "data/Query.h"
#include "data/SqlScript.h"
#include "forms/DbGrid.h"
#include "forms/Fr_Form.h"

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace md::forms {

class TFrSearch : public QDialog {
    Q_OBJECT
  public:
    explicit TFrSearch(QWidget* parent = nullptr);
    ~TFrSearch() override;

    // Children, named as the system names them.
    QFrame* PanelHeader;
    QLabel* Label3;
    QLineEdit* Code;
    QPushButton* BtSearch;
    QPushButton* BtOk;
    QPushButton* BtCancel;
    DbGrid* DgSearch;
    data::Query QSearch;
    data::SqlScript DelSQL;

    // The result contract.
    QString KeyField;
    QString ResultValue;
    // Document-header table of the hard delete; without one the hard delete is not offered.
    QString DocTable;

    // Shared by every search window for the whole run.
    static QString LastSortField;
    static bool SortDescNext;

    // Typed text as a LIKE pattern that matches exactly that text ("%", "_" and "[" taken
    // literally). Searches pass "%" + LikeLiteral(text) + "%" for "contains" and
    // LikeLiteral(text) + "%" for "begins with".
    static QString LikeLiteral(const QString& typed);

    // A binary or memo field, which a title click never sorts by (the server cannot order by
    // one): binary data, or a table's text column whose length has no bound (text, ntext,
    // varchar(max)), which both backends report with an unknown size. Text computed in the
    // statement has no table column behind it and stays sortable.
    static bool IsBlobField(const data::Field& field);

    // Handlers (overridable by name).
    virtual void FormShow();
    // `result` is the modal result the window is closing with (QDialog::Accepted or Rejected);
    // the handler may change it, or set `action` to None to keep the window open.
    virtual void FormClose(int& result, CloseAction& action);
    virtual void FormKeyDown(int& key, Qt::KeyboardModifiers shift);
    virtual void FormKeyPress(QChar& key);
    virtual void BtSearchClick();
    virtual void DgSearchDblClick();
    virtual void DgSearchGetCellParams(CellParams& params);
    virtual void DgSearchMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift);
    virtual void DgSearchTitleBtnClick(data::Field& field);

    // Closes the window with OK or Cancel through the result rules.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The value of a column in a row of the result, by name; null when the result lacks it.
    QVariant rowValue(int row, const QString& column);
};

}  // namespace md::forms
