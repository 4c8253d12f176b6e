#include "product/Fr_PreviewDetailMfg.h"

#include "data/U_DM.h"
#include "data/statements/Statements.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace md::product {

namespace {

const QString kTotalPattern = QStringLiteral("#,##0.##;-#,##0.##");

QStringList sqlOf(const char* component) {
    return statements::text(QStringLiteral("Fr_PreviewDetailMfg"), QString::fromLatin1(component));
}

QLabel* totalLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFixedWidth(200);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

}  // namespace

TFrPreviewDetailMfg::TFrPreviewDetailMfg(QWidget* parent)
    : TFrSearch(parent), QGetProdDesc(data::DM ? &data::DM->DMdata : nullptr) {
    setObjectName(QStringLiteral("FrPreviewDetailMfg"));
    setWindowTitle(QStringLiteral(u"รายละเอียดการสั่งผลิด"));
    resize(881, 418);

    LbGetProdDesc = new QLabel(PanelHeader);
    LbGetProdDesc->setObjectName(QStringLiteral("LbGetProdDesc"));
    LbGetProdDesc->setFixedWidth(789);
    QFont big = LbGetProdDesc->font();
    big.setPixelSize(19);
    LbGetProdDesc->setFont(big);
    QPalette blue = LbGetProdDesc->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    LbGetProdDesc->setPalette(blue);
    auto* header = static_cast<QBoxLayout*>(PanelHeader->layout());
    header->insertWidget(0, LbGetProdDesc);
    header->setContentsMargins(2, 2, 2, 2);
    // The window has no search: the label and the Close button share the header. Hidden from
    // the start, so they never widen the window (the show step hides them as well).
    for (QWidget* w : {static_cast<QWidget*>(Label3), static_cast<QWidget*>(Code),
                       static_cast<QWidget*>(BtSearch), static_cast<QWidget*>(BtOk)})
        w->hide();

    PanelBottom = new QFrame(this);
    PanelBottom->setObjectName(QStringLiteral("PanelBottom"));
    PanelBottom->setFrameShape(QFrame::StyledPanel);
    PanelBottom->setFixedHeight(41);
    auto* bottom = new QHBoxLayout(PanelBottom);
    bottom->setContentsMargins(4, 2, 4, 2);
    bottom->addStretch(1);
    LbSum01 = totalLabel("LbSum01", PanelBottom);
    LbSum02 = totalLabel("LbSum02", PanelBottom);
    LbSum03 = totalLabel("LbSum03", PanelBottom);
    bottom->addWidget(LbSum01);
    bottom->addWidget(LbSum02);
    bottom->addWidget(LbSum03);
    layout()->addWidget(PanelBottom);

    QGetProdDesc.setSql(sqlOf("QGetProdDesc"));
    QSearch.setSql(sqlOf("QSearch"));
    DgSearch->setColumns({{QStringLiteral("WorkDate"), QStringLiteral(u"วันที่สั่งผลิต"), 85},
                          {QStringLiteral("WorkOrderNo"), QStringLiteral(u"เลขที่สั่งผลิต"), 110},
                          {QStringLiteral("sono"), QStringLiteral(u"เลขที่สั่งขาย"), 110},
                          {QStringLiteral("CusCode"), QStringLiteral(u"รหัสลูกค้า"), 75},
                          {QStringLiteral("CusName"), QStringLiteral(u"ชื่อลูกค้า"), 205},
                          {QStringLiteral("WorkQnty"), QStringLiteral(u"จำนวนสั่งผลิต"), 95},
                          {QStringLiteral("FinishedQnty"), QStringLiteral(u"จำนวนผลิตเสร็จ"), 95},
                          {QStringLiteral("WorkQntyOnHand"), QStringLiteral(u"จำนวนคงค้าง"), 95}});
}

void TFrPreviewDetailMfg::FormShow() {
    TFrSearch::FormShow();
    LbSum01->clear();
    LbSum02->clear();
    LbSum03->clear();
    DgSearch->setToolTip(QString());
    Label3->hide();
    Code->hide();
    BtSearch->hide();
    BtOk->hide();
    BtCancel->setText(QStringLiteral("Close"));

    const QString code = ProductCode.trimmed();
    QGetProdDesc.close();
    QGetProdDesc.paramByName(QStringLiteral("GetProdCode")).setAsString(code);
    QGetProdDesc.open();
    QString unit;
    if (QGetProdDesc.isEmpty()) {
        LbGetProdDesc->clear();
    } else {
        LbGetProdDesc->setText(
            QStringLiteral(u"รหัสสินค้า : ") +
            QGetProdDesc.fieldByName(QStringLiteral("Code")).asString().trimmed() +
            QStringLiteral(u"   ชื่อสินค้า : ") +
            QGetProdDesc.fieldByName(QStringLiteral("ThaiName")).asString().trimmed());
        unit = QGetProdDesc.fieldByName(QStringLiteral("UnitName")).asString().trimmed();
    }

    QSearch.close();
    QSearch.paramByName(QStringLiteral("GetProdCode")).setAsString(code);
    QSearch.open();
    const QString prefixes[] = {QStringLiteral(u"จำนวนสั่งผลิต รวม : "),
                                QStringLiteral(u"จำนวนผลิตเสร็จ รวม : "),
                                QStringLiteral(u"จำนวนคงค้าง รวม : ")};
    QLabel* const labels[] = {LbSum01, LbSum02, LbSum03};
    if (QSearch.isEmpty()) {
        for (int i = 0; i < 3; ++i)
            labels[i]->setText(prefixes[i] + QStringLiteral("0 ") + unit);
    } else {
        DgSearch->setUpdatesEnabled(false);
        double sums[3] = {0, 0, 0};
        const QString columns[] = {QStringLiteral("WorkQnty"), QStringLiteral("FinishedQnty"),
                                   QStringLiteral("WorkQntyOnHand")};
        for (QSearch.first(); !QSearch.eof(); QSearch.next()) {
            for (int i = 0; i < 3; ++i)
                sums[i] += QSearch.fieldByName(columns[i]).asFloat();
        }
        for (int i = 0; i < 3; ++i) {
            labels[i]->setText(prefixes[i] + FormatNumber(kTotalPattern, sums[i], Separators) +
                               u' ' + unit);
        }
        DgSearch->setUpdatesEnabled(true);
    }
    QSearch.first();
    DgSearch->syncToQuery();
    QGetProdDesc.close();
    DgSearch->setFocus();
}

void TFrPreviewDetailMfg::FormKeyDown(int& key, Qt::KeyboardModifiers shift) {
    // The list names no row to return: Enter only closes from the Close button.
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        key = 0;
        if (focusWidget() == BtCancel)
            done(QDialog::Rejected);
        return;
    }
    TFrSearch::FormKeyDown(key, shift);
}

void TFrPreviewDetailMfg::ShowFor(const QString& code, QWidget* parent) {
    TFrPreviewDetailMfg window(parent);
    window.ProductCode = code.trimmed().toUpper();
    window.exec();
}

}  // namespace md::product
