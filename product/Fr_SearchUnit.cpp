#include "product/Fr_SearchUnit.h"

#include "data/Dm_Config.h"
#include "data/U_DM.h"
#include "data/statements/Statements.h"
#include "forms/Fr_Form.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace md::product {

TFrSearchUnit::TFrSearchUnit(QWidget* parent)
    : QDialog(parent),
      QSearchUnit(
          data::DM ? &data::DM->DMdata : nullptr,
          statements::text(QStringLiteral("Fr_SearchUnit"), QStringLiteral("QSearchUnit"))) {
    setObjectName(QStringLiteral("FrSearchUnit"));
    setWindowTitle(QStringLiteral("ค้นหาหน่วยนับ"));
    resize(335, 155);
    auto* layout = new QVBoxLayout(this);
    DgSearch = new forms::DbGrid(this);
    DgSearch->setObjectName(QStringLiteral("DgSearch"));
    DgSearch->setQuery(&QSearchUnit);
    layout->addWidget(DgSearch, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BtSelected = new QPushButton(QStringLiteral("เลือก"), this);
    BtSelected->setObjectName(QStringLiteral("BtSelected"));
    BtCancel = new QPushButton(QStringLiteral("ไม่เลือก"), this);
    BtCancel->setObjectName(QStringLiteral("BtCancel"));
    for (QPushButton* b : {BtSelected, BtCancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    connect(BtSelected, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(BtCancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    connect(DgSearch, &forms::DbGrid::gridDoubleClicked, this, [this] { done(QDialog::Accepted); });
    for (QWidget* w : std::initializer_list<QWidget*>{DgSearch, BtSelected, BtCancel})
        w->installEventFilter(this);
}

TFrSearchUnit::~TFrSearchUnit() {
    delete DgSearch;  // the grid goes before the query it shows
    DgSearch = nullptr;
}

void TFrSearchUnit::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        if (parentWidget())  // centred on the owner form
            move(parentWidget()->window()->geometry().center() - rect().center());
        forms::TFrForm::guarded([this] { FormShow(); });
    }
}

void TFrSearchUnit::FormShow() {
    const bool thai = !data::DMConfig || data::DMConfig->LanguageThai;
    setWindowTitle(thai ? QStringLiteral("ค้นหาหน่วยนับ") : QStringLiteral("Search Product Unit"));
    BtSelected->setText(thai ? QStringLiteral("เลือก") : QStringLiteral("Choose"));
    BtCancel->setText(thai ? QStringLiteral("ไม่เลือก") : QStringLiteral("Cancel"));
    DgSearch->setColumns({{QStringLiteral("UnitName"),
                           thai ? QStringLiteral("หน่วยนับ") : QStringLiteral("Unit Name"), 107},
                          // The pack quantity reads as a number: right-aligned, title and cells.
                          {QStringLiteral("Fraction"),
                           thai ? QStringLiteral("อัตราส่วนหน่วยย่อย") : QStringLiteral("Pack Qnty"),
                           103, true, Qt::AlignRight, Qt::AlignRight},
                          {QStringLiteral("Barcode"),
                           thai ? QStringLiteral("Barcode") : QStringLiteral("BarCode"), 99}});
    SelectedUnit.clear();
    QSearchUnit.close();
    // "X%" matches no flag, so a role not asked for lets no unit in.
    const auto role = [](bool on) { return on ? QStringLiteral("Y%") : QStringLiteral("X%"); };
    QSearchUnit.paramByName(QStringLiteral("ForPurc")).setAsString(role(ForPurc));
    QSearchUnit.paramByName(QStringLiteral("ForSale")).setAsString(role(ForSale));
    QSearchUnit.paramByName(QStringLiteral("ForStock")).setAsString(role(ForStock));
    QSearchUnit.paramByName(QStringLiteral("ForSmall")).setAsString(role(ForSmall));
    QSearchUnit.paramByName(QStringLiteral("GetPart")).setAsInteger(ProductId);
    QSearchUnit.open();
    DgSearch->setFocus();
    if (!QSearchUnit.isEmpty()) {
        QSearchUnit.first();
        DgSearch->syncToQuery();
    }
}

void TFrSearchUnit::done(int result) {
    if (result == QDialog::Accepted && QSearchUnit.isOpen() && !QSearchUnit.isEmpty()) {
        SelectedUnit = QSearchUnit.fieldByName(QStringLiteral("UnitName")).asString();
    } else {
        SelectedUnit.clear();
        result = QDialog::Rejected;  // the opener sees Cancel
    }
    QSearchUnit.close();
    QDialog::done(result);
}

bool TFrSearchUnit::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        done(QDialog::Accepted);
        return true;
    }
    if (key == Qt::Key_Escape) {
        done(QDialog::Rejected);
        return true;
    }
    return false;
}

}  // namespace md::product
