#include "masters/Fr_SearchMisc.h"

#include "data/statements/Statements.h"

#include <QLabel>
#include <QLineEdit>

namespace md::masters {

TFrSearchMisc::TFrSearchMisc(QWidget* parent) : TFrSearch(parent) {
    setObjectName(QStringLiteral("FrSearchMisc"));
    Label3->setText(QStringLiteral("รายละเอียด"));
    Code->setFixedWidth(205);
    QSearch.setSql(statements::text(QStringLiteral("Fr_SearchMisc"), QStringLiteral("QSearch")));
    DgSearch->setColumns({{QStringLiteral("Description"), QStringLiteral("รายละเอียด"), 400},
                          {QStringLiteral("Code"), QStringLiteral("รหัส"), 100}});
}

void TFrSearchMisc::FormShow() {
    TFrSearch::FormShow();
    KeyField = ResultField;
    BtSearchClick();  // the whole group
    Code->setFocus();
}

void TFrSearchMisc::BtSearchClick() {
    QSearch.close();
    QSearch.paramByName(QStringLiteral("GetGroup")).setAsString(MiscGroup);
    QSearch.paramByName(QStringLiteral("GetCode"))
        .setAsString(QStringLiteral("%") + LikeLiteral(Code->text().trimmed()) +
                     QStringLiteral("%"));
    TFrSearch::BtSearchClick();
}

}  // namespace md::masters
