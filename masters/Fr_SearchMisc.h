#pragma once

// The miscellaneous-code search: the codes of one group of table Misc whose description
// contains the typed text. The caller sets the caption, MiscGroup and ResultField (the column
// whose value comes back in ResultValue) before showing it.

#include "forms/Fr_Search.h"

namespace md::masters {

class TFrSearchMisc : public forms::TFrSearch {
    Q_OBJECT
  public:
    explicit TFrSearchMisc(QWidget* parent = nullptr);

    QString MiscGroup;
    QString ResultField = QStringLiteral("Code");

    void FormShow() override;
    void BtSearchClick() override;
};

}  // namespace md::masters
