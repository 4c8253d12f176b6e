#pragma once

// The group search dialog that the vendor group and customer group searches share: groups whose
// name begins with the typed text, listed by code. All groups are listed as soon as the dialog
// shows. After OK the caller reads ChosenCode (empty when the list was empty). The typed text is
// a parameter and matches as written: a quote, "%" or "_" is a character to look for.

#include "data/Query.h"
#include "forms/DbGrid.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace md::masters {

class GroupSearch : public QDialog {
    Q_OBJECT
  public:
    // `module` names the statement of the dialog (its component QSearch).
    GroupSearch(const QString& caption, const QString& module, QWidget* parent = nullptr);
    ~GroupSearch() override;

    QLabel* Label1;
    QLineEdit* Name;
    QPushButton* BtSearch;
    QPushButton* BtSelect;
    QPushButton* BtCancel;
    forms::DbGrid* DgSearch;
    data::Query QSearch;

    QString ChosenCode;

    virtual void FormShow();
    virtual void BtSearchClick();
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace md::masters
