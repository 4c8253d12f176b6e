#pragma once

// Copies the rates of a date chosen from the list of every date that has rates onto the target
// date of the rates window: the target's rates are replaced, in one transaction, by the purchase
// and sale rates of the chosen date (without full amounts and divisors). The list is read once,
// when the dialog is made; the dialog stays open after a copy.
//
// It ends with OK when a copy was made while it was open, however it is closed: the rates
// window then reads the target date again, so a later save cannot write the rates it showed
// before the copy over the copied ones.

#include "data/Query.h"
#include "data/UpdateSql.h"

#include <QDate>
#include <QDialog>

class QLabel;
class QPushButton;

namespace md::forms {
class DbGrid;
}

namespace md::masters {

class TFrCopyExchange : public QDialog {
    Q_OBJECT
  public:
    explicit TFrCopyExchange(QWidget* parent = nullptr);

    // The date the rates are copied to.
    QDate TargetDate;

    forms::DbGrid* DgDate;
    QPushButton* BtCopy;
    QPushButton* BtCancel;
    QLabel* LbTargetDate;

    data::Query QDate_;
    data::Query QDelete;
    data::Query QSource;
    data::Query QTarget;
    data::UpdateSql UTarget;

    // Whether a copy was made since the dialog was last shown.
    bool copied() const { return copied_; }

    void FormShow();
    void BtCopyClick();
    // The date chosen in the list; null without one.
    QDate chosenDate() const;

    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    bool thai() const;
    bool copied_ = false;
};

}  // namespace md::masters
