#pragma once

// The lot search: lots whose code and description begin with the typed texts, optionally
// narrowed by their expiry date (on or before, on, on or after a date; lots that never expire
// always pass). The date travels as a parameter. A click on a column title chooses the order of
// the next search. After OK the opener reads SelectedCode and SelectedId.

#include "data/Query.h"
#include "forms/DbGrid.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace md::product {

class TFrSearchLotNo : public QDialog {
    Q_OBJECT
  public:
    explicit TFrSearchLotNo(QWidget* parent = nullptr);
    ~TFrSearchLotNo() override;

    QLineEdit* Code;
    QLineEdit* Description;
    QComboBox* DateCondition;  // "<=", "=", ">=", "-"
    QDateEdit* ExpiredDate;
    QPushButton* BSearch;
    QPushButton* BtSelect;
    QPushButton* BtCancel;
    forms::DbGrid* DgSearch;
    data::Query QSearch;

    QString SelectedCode;
    qint64 SelectedId = 0;

    // 1 Code, 2 Description, 3 ExpiredDate; one value for the whole run.
    static int LotSortOrder;

    // Line 3 of the statement for a condition ("-" none) and line 5 for an order.
    static QString ExpiryLine(const QString& condition);
    static QString OrderLine(int sortOrder);

    virtual void FormShow();
    virtual void BSearchClick();
    virtual void DateConditionChange();
    virtual void DgSearchTitleBtnClick(data::Field& field);
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace md::product
