#include "product/ProductKindChoice.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace md::product {

namespace {

struct Kind {
    const char16_t* thai;
    const char* english;
    const char* code;
};

constexpr Kind kKinds[5] = {
    {u"สินค้าสำเร็จรูป", "Trade Product", "P"},
    {u"บริการ", "Service", "S"},
    {u"วัสดุ/เบ็ดเตล็ด", "Misc", "M"},
    {u"วัตถุดิบ", "Raw Material", "R"},
    {u"สินค้าสำเร็จรูป / วัตถุดิบ", "Finish Good/Raw Material", "A"},
};

}  // namespace

ProductKindChoice::ProductKindChoice(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PnProductType"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    Heading = new QLabel(QStringLiteral("ประเภทสินค้า"), this);
    Heading->setObjectName(QStringLiteral("LbProductType"));
    Heading->setAlignment(Qt::AlignCenter);
    Heading->setFrameShape(QFrame::Box);
    Heading->setAutoFillBackground(true);
    QPalette headingColours = Heading->palette();
    headingColours.setColor(QPalette::Window, QColor(Qt::gray));
    headingColours.setColor(QPalette::WindowText, QColor(Qt::white));
    Heading->setPalette(headingColours);
    QFont bold = font();
    bold.setBold(true);
    Heading->setFont(bold);
    layout->addWidget(Heading);

    auto* items = new QFrame(this);
    items->setObjectName(QStringLiteral("SelectProductType"));
    items->setFrameShape(QFrame::StyledPanel);
    auto* itemLayout = new QVBoxLayout(items);
    itemLayout->setContentsMargins(8, 2, 4, 2);
    itemLayout->setSpacing(0);
    group_ = new QButtonGroup(this);
    QPalette navy = palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    navy.setColor(QPalette::ButtonText, QColor(0, 0, 128));
    for (int i = 0; i < 5; ++i) {
        Items[i] = new QRadioButton(QString::fromUtf16(kKinds[i].thai), items);
        Items[i]->setObjectName(QStringLiteral("SelectProductType%1").arg(i));
        Items[i]->setFont(bold);
        Items[i]->setPalette(navy);
        Items[i]->setCursor(Qt::PointingHandCursor);
        group_->addButton(Items[i], i);
        itemLayout->addWidget(Items[i]);
    }
    itemLayout->addStretch(1);
    layout->addWidget(items, 1);
    connect(group_, &QButtonGroup::idClicked, this, &ProductKindChoice::itemChosen);
}

QString ProductKindChoice::CodeOfItem(int item) {
    return item >= 0 && item < 5 ? QString::fromLatin1(kKinds[item].code) : QString();
}

int ProductKindChoice::ItemOfCode(const QString& code) {
    for (int i = 0; i < 5; ++i)
        if (code == QLatin1String(kKinds[i].code))
            return i;
    return -1;
}

int ProductKindChoice::shownItem() const {
    return group_->checkedId();
}

void ProductKindChoice::showItem(int item) {
    if (item >= 0 && item < 5) {
        Items[item]->setChecked(true);
        return;
    }
    // An exclusive group keeps one item checked; none is shown by lifting that for a moment.
    group_->setExclusive(false);
    for (QRadioButton* b : Items)
        b->setChecked(false);
    group_->setExclusive(true);
}

void ProductKindChoice::setEnglish(bool english) {
    for (int i = 0; i < 5; ++i)
        Items[i]->setText(english ? QString::fromLatin1(kKinds[i].english)
                                  : QString::fromUtf16(kKinds[i].thai));
}

}  // namespace md::product
