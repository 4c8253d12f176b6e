#pragma once

// The simple search over one table by description, run through DM.ShowSimpleSearch: the caller
// names the caption, the code and description columns, an extra condition and the table; the
// chosen code is then in ResultValue. One window is made on first use and kept for the run.

#include "forms/Fr_Search.h"

namespace md::forms {

class TFrSimpleSearch : public TFrSearch {
    Q_OBJECT
  public:
    explicit TFrSimpleSearch(QWidget* parent = nullptr);

    // The five values ShowSimpleSearch hands over.
    QString Caption;
    QString CodeField;
    QString DescriptionField;
    QString ExtraCondition;
    QString TableName;

    void FormShow() override;
    void BtSearchClick() override;
};

// The window ShowSimpleSearch uses (made on first use), nullptr before.
TFrSimpleSearch* FrSimpleSearch();
// Installs DM's simple search runner: the window above, shown modally; true when it closed
// with OK. Call after DM exists.
void installSimpleSearch();
// Destroys the kept window (at the end of the run, and between tests).
void releaseSimpleSearch();

}  // namespace md::forms
