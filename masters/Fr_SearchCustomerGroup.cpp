#include "masters/Fr_SearchCustomerGroup.h"

namespace md::masters {

TFrSearchCustomerGroup::TFrSearchCustomerGroup(QWidget* parent)
    : GroupSearch(QStringLiteral(u"ค้นหากลุ่มลูกหนี้"), QStringLiteral("Fr_SearchCustomerGroup"),
                  parent) {
    setObjectName(QStringLiteral("FrSearchCustomerGroup"));
}

}  // namespace md::masters
