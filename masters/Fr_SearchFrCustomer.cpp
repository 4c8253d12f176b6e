#include "masters/Fr_SearchFrCustomer.h"

#include "data/statements/Statements.h"

#include <QLabel>
#include <QLineEdit>

namespace md::masters {

TFrSearchFrCustomer::TFrSearchFrCustomer(QWidget* parent) : TFrSearch(parent) {
    setObjectName(QStringLiteral("FrSearchFrCustomer"));
    setWindowTitle(QStringLiteral("ค้นหาลูกค้าต่างประเทศ"));
    Label3->setText(QStringLiteral("ชื่อ"));
    Code->setFixedWidth(225);
    QSearch.setSql(
        statements::text(QStringLiteral("Fr_SearchFrCustomer"), QStringLiteral("QSearch")));
    DgSearch->setColumns({{QStringLiteral("Name"), QStringLiteral("ชื่อ"), 200},
                          {QStringLiteral("Code"), QStringLiteral("รหัส"), 100},
                          {QStringLiteral("Country"), QStringLiteral("ประเทศ"), 120},
                          {QStringLiteral("Currency"), QStringLiteral("สกุลเงิน"), 120}});
}

void TFrSearchFrCustomer::FormShow() {
    TFrSearch::FormShow();
    KeyField = QStringLiteral("Code");
    Code->clear();
    Code->setFocus();
}

void TFrSearchFrCustomer::BtSearchClick() {
    QSearch.close();
    QSearch.paramByName(QStringLiteral("GetCode"))
        .setAsString(QStringLiteral("%") + LikeLiteral(Code->text()) + QStringLiteral("%"));
    TFrSearch::BtSearchClick();
}

}  // namespace md::masters
