#include "masters/Fr_FrCustomer.h"

#include "errors/TApplication.h"
#include "masters/Fr_SearchCustomerGroup.h"
#include "masters/Fr_SearchFrCustomer.h"
#include "masters/KeptWindow.h"
#include "masters/MasterFields.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace md::masters {

namespace {

// A caption with the red mark of a required entry after it.
QWidget* requiredCaption(QLabel* caption) {
    auto* mark = new QLabel(QStringLiteral("*"));
    mark->setStyleSheet(QStringLiteral("color: red"));
    auto* holder = new QWidget;
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addStretch(1);
    layout->addWidget(caption);
    layout->addWidget(mark);
    return holder;
}

}  // namespace

TFrFrCustomer::TFrFrCustomer(QWidget* parent) : TFrMaster(QStringLiteral("Fr_FrCustomer"), parent) {
    setObjectName(QStringLiteral("FrFrCustomer"));
    setWindowTitle(QStringLiteral(u"ลูกค้าต่างประเทศ"));
    resize(560, 450);
    Description->setDataField(QStringLiteral("Name"));

    QWidget* area = clientArea();
    const GroupBox group =
        makeGroupBox(area, DMaster, QStringLiteral("CustomerGroup"),
                     QStringLiteral("CustomerGroup"), QStringLiteral("CustomerGroup"));
    CustomerGroup = group.box;
    CustomerGroupName = group.name;
    BtSearchGroup = group.button;
    BtSearchGroup->setObjectName(QStringLiteral("BtSearchGroup"));
    QLabel* groupCaption = addRow(QStringLiteral(u"กลุ่มลูกค้า"), group.row);
    groupCaption->setBuddy(CustomerGroup);
    // Name and group are required: their captions carry the red mark.
    for (QLabel* caption : {Label2, groupCaption}) {
        const int index = fieldsLayout()->indexOf(caption);
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        fieldsLayout()->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        fieldsLayout()->removeWidget(caption);
        fieldsLayout()->addWidget(requiredCaption(caption), row, column, Qt::AlignRight);
    }

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
    addWideRow(FaGetMisc1);
    DBEdit1 = boundEdit(area, DMaster, QStringLiteral("ZipCode"), QStringLiteral("DBEdit1"), 120);
    addRow(QStringLiteral("Zip Code"), DBEdit1);
    DBEdit2 = boundEdit(area, DMaster, QStringLiteral("PhoneNo"), QStringLiteral("DBEdit2"), 200);
    addRow(QStringLiteral(u"โทรศัพท์"), DBEdit2);
    DBEdit3 = boundEdit(area, DMaster, QStringLiteral("FaxNo"), QStringLiteral("DBEdit3"), 200);
    addRow(QStringLiteral("Fax"), DBEdit3);
    FaGetMisc2 = makeMiscFrame(area, DMaster, QStringLiteral(u"สกุลเงิน"), QStringLiteral("Currency"),
                               QStringLiteral("CURRENCY"), QStringLiteral("FaGetMisc2"));
    addWideRow(FaGetMisc2);

    FaGetSalesman1 = new forms::TFaGetSalesman(area);
    FaGetSalesman1->setObjectName(QStringLiteral("FaGetSalesman1"));
    FaGetSalesman1->Label21->setFixedWidth(captionWidth());
    FaGetSalesman1->Label21->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    FaGetSalesman1->Salesman->setDataSource(DMaster);
    FaGetSalesman1->Salesman->setDataField(QStringLiteral("Salesman"));
    addWideRow(FaGetSalesman1);

    Remark = boundEdit(area, DMaster, QStringLiteral("Remark"), QStringLiteral("Remark"), 300);
    addRow(QStringLiteral(u"หมายเหตุ"), Remark);

    setEnterOrder({MasterCode, Description, CustomerGroup, Attention, Address1, Address2, Address3,
                   FaGetMisc1->Code, DBEdit1, DBEdit2, DBEdit3, FaGetMisc2->Code,
                   FaGetSalesman1->Salesman, Remark});
    connect(BtSearchGroup, &QToolButton::clicked, this,
            errors::Guarded([this] { BtSearchGroupClick(); }));
}

void TFrFrCustomer::FormShow() {
    TFrMaster::FormShow();
    FaGetMisc1->MiscGroup = QStringLiteral("COUNTRY");
    FaGetMisc2->MiscGroup = QStringLiteral("CURRENCY");
}

void TFrFrCustomer::FormKeyDown(int& key, Qt::KeyboardModifiers shift) {
    TFrMaster::FormKeyDown(key, shift);
    if (key == Qt::Key_F5 && focusWidget() == CustomerGroup) {
        key = 0;
        BtSearchGroupClick();
    }
}

void TFrFrCustomer::BtSearchCodeClick() {
    TFrSearchFrCustomer* search = KeptWindow<TFrSearchFrCustomer>::get();
    if (search->exec() != QDialog::Accepted)
        return;
    // Leaving the code field then loads the chosen customer.
    MasterCode->setText(search->ResultValue);
    MasterCode->setFocus();
}

void TFrFrCustomer::BtSearchGroupClick() {
    TFrSearchCustomerGroup* search = KeptWindow<TFrSearchCustomerGroup>::get();
    if (search->exec() != QDialog::Accepted)
        return;
    CustomerGroup->setText(search->ChosenCode);
    CustomerGroup->setModified(true);
    CustomerGroup->setFocus();
}

bool TFrFrCustomer::checksPass() {
    const data::Field& name = QMaster.fieldByName(QStringLiteral("Name"));
    return runSaveChecks({
        {name.isNull() || name.asString().trimmed().isEmpty(),
         QStringLiteral(u"ยังไม่ได้กำหนด ชื่อลูกค้า"), Description},
        {lacksEntry(CustomerGroup), QStringLiteral(u"ยังไม่ได้กำหนด รหัสกลุ่มลูกค้า"), CustomerGroup},
        {lacksEntry(FaGetMisc1->Code), QStringLiteral(u"ยังไม่ได้กำหนด ประเทศ"), FaGetMisc1->Code},
        {lacksEntry(FaGetMisc2->Code), QStringLiteral(u"ยังไม่ได้กำหนด สกุลเงิน"), FaGetMisc2->Code},
        {lacksEntry(FaGetSalesman1->Salesman), QStringLiteral(u"ยังไม่ได้ป้อนรหัสพนักงานขาย"),
         FaGetSalesman1->Salesman},
    });
}

void TFrFrCustomer::AcSaveExecute() {
    commitLookupEntries();
    if (!checksPass())
        return;
    // The account terms start again with every save, of a new customer and of a changed one.
    QMaster.fieldByName(QStringLiteral("DueDays")).setAsInteger(0);
    QMaster.fieldByName(QStringLiteral("CreditLimit")).setAsInteger(0);
    QMaster.fieldByName(QStringLiteral("Blocked")).setAsString(QStringLiteral("N"));
    TFrMaster::AcSaveExecute();
}

}  // namespace md::masters
