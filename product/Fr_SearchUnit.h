#pragma once

// The unit search: the units of one product that have any of the requested roles (sale,
// purchase, stock, smallest), listed as the window opens, smallest fraction first. There is no
// search field; Enter chooses and Escape cancels wherever the focus is. After OK the opener reads
// SelectedUnit (the unit's UnitName); choosing from an empty list reports Cancel.

#include "data/Query.h"
#include "forms/DbGrid.h"

#include <QDialog>

class QPushButton;

namespace md::product {

class TFrSearchUnit : public QDialog {
    Q_OBJECT
  public:
    explicit TFrSearchUnit(QWidget* parent = nullptr);
    ~TFrSearchUnit() override;

    QPushButton* BtSelected;
    QPushButton* BtCancel;
    forms::DbGrid* DgSearch;
    data::Query QSearchUnit;

    // Inputs, kept from one showing to the next unless the opener sets them.
    qint64 ProductId = 0;
    bool ForSale = false;
    bool ForPurc = false;
    bool ForStock = false;
    bool ForSmall = false;
    // Result.
    QString SelectedUnit;

    virtual void FormShow();
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace md::product
