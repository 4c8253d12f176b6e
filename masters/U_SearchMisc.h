#pragma once

// The miscellaneous-code search with sorting by column title: the codes of one group of table
// Misc whose description or code contains the typed text. The caller sets the caption and
// MiscGroup, shows it and after OK reads ChosenCode and ChosenDescription. One instance serves
// the whole run (F_SearchMisc()), so the sort order it was given persists between uses.

#include "data/Query.h"
#include "forms/DbGrid.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace md::masters {

class TF_SearchMisc : public QDialog {
    Q_OBJECT
  public:
    explicit TF_SearchMisc(QWidget* parent = nullptr);
    ~TF_SearchMisc() override;

    QLabel* Label1;
    QLineEdit* EnterString;
    QPushButton* Bok;
    QPushButton* BCancel;
    forms::DbGrid* ListData;
    data::Query QSearch;

    QString MiscGroup;
    QString ChosenCode;
    QString ChosenDescription;

    // This dialog's own pair for the title sort, for the whole run.
    static QString LastSortField;
    static bool SortDescNext;

    virtual void FormShow();
    virtual void Search();
    virtual void ListDataTitleBtnClick(data::Field& field);
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The one instance, made on first use; release destroys it (end of run, between tests).
TF_SearchMisc* F_SearchMisc();
void releaseF_SearchMisc();

}  // namespace md::masters
