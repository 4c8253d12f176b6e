#include "masters/Fr_SearchVendorGroup.h"

namespace md::masters {

TFrSearchVendorGroup::TFrSearchVendorGroup(QWidget* parent)
    : GroupSearch(QStringLiteral(u"ค้นหากลุ่มเจ้าหนี้"), QStringLiteral("Fr_SearchVendorGroup"), parent) {
    setObjectName(QStringLiteral("FrSearchVendorGroup"));
}

}  // namespace md::masters
