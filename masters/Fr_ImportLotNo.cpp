#include "masters/Fr_ImportLotNo.h"

#include "data/Dm_Config.h"

#include <QLabel>
#include <QToolButton>

namespace md::masters {

namespace {

template <class T>
T* bound(QWidget* parent, forms::TDataSource* source, const char* name) {
    auto* control = new T(parent);
    const QString field = QString::fromLatin1(name);
    control->setObjectName(field);
    control->setDataSource(source);
    control->setDataField(field);
    return control;
}

}  // namespace

TFrImportLotNo::TFrImportLotNo(QWidget* parent)
    : CodeEntryForm(QStringLiteral("Fr_ImportLotNo"), QStringLiteral("ImportLotNo"), parent) {
    setObjectName(QStringLiteral("FrImportLotNo"));
    setWindowTitle(QStringLiteral(u"Lot No. การนำเข้า"));
    BtSearchCode->setToolTip(QStringLiteral(u"ค้นหารหัส Lot นำเข้า"));

    QWidget* area = clientArea();
    Description2 = bound<forms::TDBEdit>(area, DMaster, "Description2");
    Description2->setFixedWidth(300);
    EffectiveDate = bound<forms::TDBDateEdit>(area, DMaster, "EffectiveDate");
    TaxNo = bound<forms::TDBEdit>(area, DMaster, "TaxNo");
    TaxDate = bound<forms::TDBDateEdit>(area, DMaster, "TaxDate");
    TaxPrintDate = bound<forms::TDBDateEdit>(area, DMaster, "TaxPrintDate");
    TaxAmount = bound<forms::TDBCalcEdit>(area, DMaster, "TaxAmount");
    CanUseTax = bound<forms::TDBCheckBox>(area, DMaster, "CanUseTax");
    CanUseTax->setText(QStringLiteral(u"ภาษีขอคืนได้"));
    LotActive = new forms::TDBCheckBox(QStringLiteral(u"บันทึกข้อมูลได้"), area);
    LotActive->setObjectName(QStringLiteral("LotActive"));
    LotActive->setDataSource(DMaster);
    LotActive->setDataField(QStringLiteral("Active"));

    // The order of the Enter walk.
    Label2->setText(QStringLiteral(u"รายละเอียด1"));
    addRow(QStringLiteral(u"รายละเอียด2"), Description2);
    LabelEffectiveDate_ = addRow(QStringLiteral(u"วันที่เริ่มใช้งาน"), EffectiveDate);
    LabelTaxNo_ = addRow(QStringLiteral(u"เลขที่ใบกำกับ"), TaxNo);
    LabelTaxDate_ = addRow(QStringLiteral(u"วันที่ใบกำกับ"), TaxDate);
    LabelTaxPrintDate_ = addRow(QStringLiteral(u"วันที่รายงานภาษีซื้อ"), TaxPrintDate);
    LabelTaxAmount_ = addRow(QStringLiteral(u"ภาษี"), TaxAmount);
    addRow(QString(), CanUseTax);
    addRow(QString(), LotActive);
    QWidget* const order[] = {Code,    Description,  Description2, EffectiveDate, TaxNo,
                              TaxDate, TaxPrintDate, TaxAmount,    CanUseTax,     LotActive};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

QString TFrImportLotNo::caption() const {
    const QString menu = data::DMConfig ? data::DMConfig->MenuCaption : QString();
    return menu.trimmed() + QStringLiteral(" (Version 1.05.10.18)");
}

void TFrImportLotNo::FormShow() {
    CodeEntryForm::FormShow();
    if (data::DMConfig && data::DMConfig->LanguageThai)
        return;
    // Every label of the window gets the larger size before the captions switch.
    for (QLabel* label : findChildren<QLabel*>()) {
        QFont f = label->font();
        f.setPointSize(10);
        label->setFont(f);
    }
    Label1->setText(QStringLiteral("Code"));
    Label2->setText(QStringLiteral("Description"));
    LabelEffectiveDate_->setText(QStringLiteral("Start Use"));
    LabelTaxNo_->setText(QStringLiteral("Tax No"));
    LabelTaxDate_->setText(QStringLiteral("Tax Date"));
    LabelTaxPrintDate_->setText(QStringLiteral("Tax Print Date"));
    LabelTaxAmount_->setText(QStringLiteral("VAT"));
    LotActive->setText(QStringLiteral("Can Enter Data"));
}

void TFrImportLotNo::codeRead(bool found) {
    data::Field& active = QMaster.fieldByName(QStringLiteral("Active"));
    if (!found) {
        // A new lot is always created active.
        active.setAsString(QStringLiteral("Y"));
        LotActive->setEnabled(false);
    } else {
        // The flag moves one way: a lot saved inactive stays inactive.
        LotActive->setEnabled(active.asString() == QStringLiteral("Y"));
    }
}

void TFrImportLotNo::beforeSave() {
    // The effective date is kept as a whole day. An empty date stays empty (NULL) rather than
    // becoming the date system's day zero.
    data::Field& effective = QMaster.fieldByName(QStringLiteral("EffectiveDate"));
    if (effective.isNull())
        return;
    const QDateTime when = effective.asDateTime();
    if (when.isValid())
        effective.setAsDateTime(when.date().startOfDay());
}

}  // namespace md::masters
