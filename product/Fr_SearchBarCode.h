#pragma once

// The barcode search: the barcodes of every product (blocked products only when asked), with
// the product's code and name, the unit, the stock on hand this year and the outstanding
// quantity, both in smallest units. The barcode is a prefix match, the product name a prefix or
// substring match as the company chooses. The window is never narrower than 700 pixels and keeps
// its placement and column widths in the ini file KVR.INI, section SEARCHBARCODE. After OK the
// opener reads SelectedBarCode; choosing from an empty list reports Cancel.

#include "data/Query.h"
#include "forms/DbGrid.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace md::product {

class TFrSearchBarCode : public QDialog {
    Q_OBJECT
  public:
    explicit TFrSearchBarCode(QWidget* parent = nullptr);
    ~TFrSearchBarCode() override;

    QLineEdit* Code;
    QComboBox* SearchMethod;  // "ขึ้นต้นด้วย" (begins with), "ประกอบด้วย" (contains)
    QLineEdit* Name;
    QPushButton* BtSearch;
    QPushButton* Btok;
    QPushButton* BtCancel;
    forms::DbGrid* DgSearch;
    data::Query QSearch;

    bool ShowBlocked = false;
    QString SelectedBarCode;

    // 0 BarCode, 1 product Code, 2 ThaiName; one value for the whole run.
    static int BarCodeSortOrder;
    // The placement store; a relative name is taken in the working folder.
    static QString IniFile;
    static constexpr int MinimumWidth = 700;

    virtual void FormShow();
    virtual void BtSearchClick();
    virtual void DgSearchTitleBtnClick(data::Field& field);
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void restorePlacement();
    void savePlacement();
    bool placed_ = false;
};

}  // namespace md::product
