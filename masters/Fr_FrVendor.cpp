#include "masters/Fr_FrVendor.h"

#include "errors/TApplication.h"
#include "masters/Fr_SearchFrVendor.h"
#include "masters/Fr_SearchVendorGroup.h"
#include "masters/KeptWindow.h"
#include "masters/LookupSearches.h"
#include "masters/MasterFields.h"

#include <QDate>
#include <QLabel>
#include <QToolButton>

namespace md::masters {

TFrFrVendor::TFrFrVendor(QWidget* parent) : TFrMaster(QStringLiteral("Fr_FrVendor"), parent) {
    setObjectName(QStringLiteral("FrFrVendor"));
    setWindowTitle(QStringLiteral(u"เจ้าหนี้ต่างประเทศ"));
    resize(560, 470);
    BtSearchCode->setToolTip(QStringLiteral(u"ค้นหารหัสเจ้าหนี้ต่างประเทศ"));
    Description->setDataField(QStringLiteral("Name"));

    QWidget* area = clientArea();
    const GroupBox group =
        makeGroupBox(area, DMaster, QStringLiteral("VendorGroup"), QStringLiteral("VendorGroup"),
                     QStringLiteral("VendorGroup"));
    VendorGroup = group.box;
    VendorGroupName = group.name;
    BtSearchVendorGroup = group.button;
    BtSearchVendorGroup->setObjectName(QStringLiteral("BtSearchVendorGroup"));
    BtSearchVendorGroup->setToolTip(QStringLiteral(u"ค้นหากลุ่มเจ้าหนี้ต่างประเทศ"));
    addRow(QStringLiteral(u"กลุ่มเจ้าหนี้"), group.row)->setBuddy(VendorGroup);

    Attention =
        boundEdit(area, DMaster, QStringLiteral("Attention"), QStringLiteral("Attention"), 300);
    addRow(QStringLiteral("Attention"), Attention);
    Address1 =
        boundEdit(area, DMaster, QStringLiteral("Address1"), QStringLiteral("Address1"), 300);
    Address2 =
        boundEdit(area, DMaster, QStringLiteral("Address2"), QStringLiteral("Address2"), 300);
    Address3 =
        boundEdit(area, DMaster, QStringLiteral("Address3"), QStringLiteral("Address3"), 300);
    addRow(QStringLiteral(u"ที่อยู่"), Address1);
    addRow(QString(), Address2);
    addRow(QString(), Address3);

    FaGetMisc1 = makeMiscFrame(area, DMaster, QStringLiteral(u"ประเทศ"), QStringLiteral("Country"),
                               QStringLiteral("COUNTRY"), QStringLiteral("FaGetMisc1"));
    FaGetMisc1->BtSearch->setToolTip(QStringLiteral(u"ค้นหารหัสประเทศ"));
    addWideRow(FaGetMisc1);

    DBEdit1 = boundEdit(area, DMaster, QStringLiteral("ZipCode"), QStringLiteral("DBEdit1"), 120);
    addRow(QStringLiteral("Zip Code"), DBEdit1);
    DBEdit2 = boundEdit(area, DMaster, QStringLiteral("PhoneNO"), QStringLiteral("DBEdit2"), 200);
    addRow(QStringLiteral(u"โทรศัพท์"), DBEdit2);
    DBEdit3 = boundEdit(area, DMaster, QStringLiteral("FaxNO"), QStringLiteral("DBEdit3"), 200);
    addRow(QStringLiteral("Fax"), DBEdit3);

    FaGetMisc2 = makeMiscFrame(area, DMaster, QStringLiteral(u"สกุลเงิน"), QStringLiteral("Currency"),
                               QStringLiteral("CURRENCY"), QStringLiteral("FaGetMisc2"));
    FaGetMisc2->BtSearch->setToolTip(QStringLiteral(u"ค้นหารหัสสกุลเงิน"));
    addWideRow(FaGetMisc2);

    Remark = boundEdit(area, DMaster, QStringLiteral("Remark"), QStringLiteral("Remark"), 300);
    addRow(QStringLiteral(u"หมายเหตุ"), Remark);
    email = boundEdit(area, DMaster, QStringLiteral("EMail"), QStringLiteral("email"), 300);
    addRow(QStringLiteral("E-Mail"), email);
    website = boundEdit(area, DMaster, QStringLiteral("Website"), QStringLiteral("website"), 300);
    addRow(QStringLiteral("Website"), website);

    setEnterOrder({MasterCode, Description, VendorGroup, Attention, Address1, Address2, Address3,
                   FaGetMisc1->Code, DBEdit1, DBEdit2, DBEdit3, FaGetMisc2->Code, Remark, email,
                   website});
    connect(BtSearchVendorGroup, &QToolButton::clicked, this,
            errors::Guarded([this] { BtSearchVendorGroupClick(); }));
}

void TFrFrVendor::FormShow() {
    TFrMaster::FormShow();
    FaGetMisc1->MiscGroup = QStringLiteral("COUNTRY");
    FaGetMisc2->MiscGroup = QStringLiteral("CURRENCY");
}

void TFrFrVendor::FormKeyDown(int& key, Qt::KeyboardModifiers shift) {
    TFrMaster::FormKeyDown(key, shift);
    if (key == Qt::Key_F5 && focusWidget() == VendorGroup) {
        key = 0;
        BtSearchVendorGroupClick();
    }
}

void TFrFrVendor::BtSearchCodeClick() {
    TFrSearchFrVendor* search = FrSearchFrVendor();
    if (search->exec() != QDialog::Accepted)
        return;
    // Leaving the code field then loads the chosen vendor.
    MasterCode->setText(search->ResultValue);
    MasterCode->setFocus();
}

void TFrFrVendor::BtSearchVendorGroupClick() {
    TFrSearchVendorGroup* search = KeptWindow<TFrSearchVendorGroup>::get();
    if (search->exec() != QDialog::Accepted)
        return;
    // An OK on an empty list empties the box.
    VendorGroup->setText(search->ChosenCode);
    VendorGroup->setModified(true);
    VendorGroup->setFocus();
}

bool TFrFrVendor::checksPass() {
    return runSaveChecks({
        {Description->text().trimmed().isEmpty(), QStringLiteral(u"ยังไม่ได้กำหนดชื่อเจ้าหนี้"),
         Description},
        {lacksEntry(VendorGroup), QStringLiteral(u"ยังไม่ได้กำหนดกลุ่มเจ้าหนี้"), VendorGroup},
        {lacksEntry(FaGetMisc1->Code), QStringLiteral(u"ยังไม่ได้ประเทศ"), FaGetMisc1->Code},
        {lacksEntry(FaGetMisc2->Code), QStringLiteral(u"ยังไม่ได้สกุลเงิน"), FaGetMisc2->Code},
    });
}

void TFrFrVendor::AcSaveExecute() {
    commitLookupEntries();
    if (!checksPass())
        return;
    // The account terms start again with every save, of a new vendor and of a changed one; they
    // stay in the record when the question is then answered No.
    QMaster.fieldByName(QStringLiteral("OpenAccount"))
        .setAsDateTime(QDate::currentDate().startOfDay());
    QMaster.fieldByName(QStringLiteral("DueDays")).setAsInteger(0);
    QMaster.fieldByName(QStringLiteral("CreditLimit")).setAsInteger(0);
    TFrMaster::AcSaveExecute();
}

}  // namespace md::masters
