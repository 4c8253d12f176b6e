#pragma once

// The manufacturing detail window: the open work orders of one finished product with their
// ordered, finished and outstanding quantities (in smallest units) and the three totals. It is
// read-only and returns nothing; its opener makes one for each showing.

#include "forms/Fr_Search.h"
#include "product/NumberPattern.h"

class QLabel;

namespace md::product {

class TFrPreviewDetailMfg : public forms::TFrSearch {
    Q_OBJECT
  public:
    explicit TFrPreviewDetailMfg(QWidget* parent = nullptr);

    // Set by the opener before showing.
    QString ProductCode;
    // The separators of the totals: the workstation's, unless the opener sets others.
    NumberSeparators Separators = NumberSeparators::workstation();

    QLabel* LbGetProdDesc;
    QFrame* PanelBottom;
    QLabel* LbSum01;
    QLabel* LbSum02;
    QLabel* LbSum03;
    data::Query QGetProdDesc;

    void FormShow() override;
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    // Nothing is chosen, coloured or sorted in this list.
    void DgSearchDblClick() override {}
    void DgSearchGetCellParams(forms::CellParams&) override {}
    void DgSearchMouseDown(Qt::MouseButton, Qt::KeyboardModifiers) override {}
    void DgSearchTitleBtnClick(data::Field&) override {}

    // Shows the window modally for the product `code` (trimmed and upper-cased) and frees it.
    static void ShowFor(const QString& code, QWidget* parent = nullptr);
};

}  // namespace md::product
