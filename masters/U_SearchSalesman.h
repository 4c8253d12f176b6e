#pragma once

// The salesman search: salesmen whose code begins with the code text and whose name and
// surname contain the name and surname texts, with their department. The texts travel as
// parameters, so a quote, "%" or "_" typed into a box is only a character to look for. After
// OK the caller reads ChosenCode. One instance serves the whole run (F_SearchSalesman()).

#include "data/Query.h"
#include "forms/DbGrid.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace md::masters {

class TF_SearchSalesman : public QDialog {
    Q_OBJECT
  public:
    explicit TF_SearchSalesman(QWidget* parent = nullptr);
    ~TF_SearchSalesman() override;

    QLineEdit* SCode;
    QLineEdit* SName;
    QLineEdit* SSurname;
    QPushButton* BSearch;
    QPushButton* Bok;
    QPushButton* BCancel;
    forms::DbGrid* ListData;
    data::Query QSearch;

    QString ChosenCode;

    // 0 code, 1 name, 2 surname, 3 department; one value for the whole run, reset on show.
    static int SalesmanSortKey;

    // Line 2 of the statement (0-based): the three texts as parameters.
    static QString WhereLine();
    static QString OrderLine(int sortKey);

    virtual void FormShow();
    virtual void BSearchClick();
    virtual void ListDataTitleBtnClick(data::Field& field);
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

TF_SearchSalesman* F_SearchSalesman();
void releaseF_SearchSalesman();

}  // namespace md::masters
