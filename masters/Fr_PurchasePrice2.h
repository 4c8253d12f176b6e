#pragma once

// A foreign vendor's part sources (keyword PARTSOURCE): the products the vendor supplies, each
// with its purchase unit, price and currency, a discount text and the vendor's own code and
// name for the item. The user chooses the vendor in the strip at the top, edits the vendor's
// whole list in the grid (every insert, change and delete stays in the list's buffer) and
// saves it in one transaction with the audit row; the window then starts over.
//
// Product, unit and currency codes are resolved as their cells are left: an unknown code
// empties the row's key and shown columns without a message. A row left without a product is
// dropped at save. A row with a product but without a unit or currency is refused at save
// (the list is read through inner joins, so such a row would be stored and never listed again).

#include "data/Query.h"
#include "data/UpdateSql.h"
#include "forms/DataControls.h"
#include "forms/EditGrid.h"
#include "forms/Fr_Form.h"

class QGroupBox;
class QPushButton;

namespace md::forms {
class TFaGetFrVendor;
}  // namespace md::forms

namespace md::masters {

class TF_PurchasePrice2 : public forms::TFrForm {
    Q_OBJECT
  public:
    explicit TF_PurchasePrice2(QWidget* parent = nullptr);
    ~TF_PurchasePrice2() override;

    QGroupBox* GroupBox1;
    forms::TFaGetFrVendor* FaGetFrVendor1;
    forms::EditGrid* DataGrid;
    QGroupBox* GroupBox2;
    QPushButton* BtDelete;

    // The vendor's list with its buffered changes and their statements; the one-row scratch
    // record whose `id` holds the chosen vendor's key (the vendor box is bound to it); the
    // currency check.
    data::Query QPrice;
    data::UpdateSql UPrice;
    data::Query QNULL;
    forms::TDataSource DNULL;
    data::Query QCURRENCY;

    // Handlers.
    void FormShow() override;
    void AcNewExecute() override;
    void AcSaveExecute() override;
    virtual void FaGetFrVendor1VendorExit();
    virtual void FaGetFrVendor1VendorKeyDown(QKeyEvent* event, bool& handled);
    virtual void DataGridEnter();
    virtual void DataGridExit();
    // F5 in the grid (or an editor's search button) in column `column`.
    virtual void DataGridSearch(int column);
    virtual void QPriceNewRecord();
    virtual void CodeExit();
    virtual void DBUnitNameExit();
    virtual void DBCurrenCyExit();
    virtual void SearchProduct();
    virtual void SearchUnit();
    virtual void SearchCurrency();
    virtual void BtDeleteClick();

    // The grid's shown columns: one entry of the list that RunSQL applies.
    void SetGrid(const QString& fieldName, int width, const QString& title, bool customEditor,
                 const QString& editorName, bool readOnly);
    // Shows the list of the vendor with key `vendor` (-1 for none); pending changes are dropped.
    void RunSQL(qint64 vendor);

    // The key of the vendor whose list is shown, -1 without one.
    qint64 loadedVendor() const { return loadedVendor_; }

  private:
    void focusMoved(QWidget* from, QWidget* to);
    bool inGrid(const QWidget* w) const;
    void cellCommitted(int row, int column);
    void newRowWanted(bool insert);
    void deleteCurrentRow();
    // The list's current row becomes the grid's (a step that walked the list may have left it
    // elsewhere).
    void followGrid();
    // The list changed its rows (a row added or removed): the grid follows, on row `row`.
    void rowsChanged(int row, int column);
    QString currentFieldName() const;
    // Puts `text` into the open editor of the current row's `field` cell (opening it), so that
    // leaving it resolves the text as typing it would.
    void putIntoEditor(const QString& field, const QString& text);
    // The first kept row with a product but without a unit or currency: tells the user, puts the
    // grid on its cell and answers false.
    bool rowsComplete();
    qint64 vendorId();

    std::vector<forms::EditColumn> columns_;
    qint64 loadedVendor_ = -1;
    bool inGrid_ = false;
};

}  // namespace md::masters
