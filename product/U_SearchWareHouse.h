#pragma once

// The warehouse search: warehouses (or storage locations) whose code or name contains the typed
// text, optionally only those not blocked (and then, where the company checks warehouse rights,
// only the user's own). The full list shows as the window opens. The typed text enters the
// statement as an escaped literal, so a quote or a LIKE wildcard is only a character to look
// for. After OK the opener reads SelectedCode.

#include "data/Query.h"
#include "forms/DbGrid.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace md::product {

class TF_SearchWareHouse : public QDialog {
    Q_OBJECT
  public:
    explicit TF_SearchWareHouse(QWidget* parent = nullptr);
    ~TF_SearchWareHouse() override;

    QLineEdit* SearchText;
    QPushButton* BSearch;
    QPushButton* Bok;
    QPushButton* BCancel;
    forms::DbGrid* DisplayGrid;
    data::Query QSearch;

    // Inputs, kept from one showing to the next unless the opener sets them.
    bool ActiveOnly = false;
    int LocationMode = 0;  // 0 all, 1 warehouses only, 2 storage locations only
    // Result.
    QString SelectedCode;

    // The statement for the inputs, the typed text (already trimmed), the company's rights check
    // and the user.
    static QString Statement(bool activeOnly, int locationMode, const QString& text,
                             bool checkUserWarehouse, int userId);

    virtual void FormShow();
    virtual void BSearchClick();
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace md::product
