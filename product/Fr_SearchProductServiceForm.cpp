// The full product search as designed: the attribute strip, the two-line criteria panel, the
// result grid with the picture panel beside it and the status bar, and the connections of its
// controls to the handlers (Fr_SearchProductService.cpp).

#include "product/Fr_SearchProductService.h"

#include "data/U_DM.h"
#include "errors/TApplication.h"
#include "forms/Fr_Form.h"
#include "forms/KIdLookup.h"
#include "product/Fa_SelectProdAttr.h"
#include "product/ProductKindChoice.h"
#include "product/ProductPicturePreview.h"

#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>

namespace md::product {

namespace {

QLabel* label(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QToolButton* searchButton(const char* name, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(QStringLiteral("..."));
    b->setAutoRaise(true);
    b->setFixedSize(22, 22);
    b->setCursor(Qt::PointingHandCursor);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

// A display-only lookup of one group of Misc: codes come only from its search button.
forms::TKIdLookup* miscLookup(const char* name, const char* group, QLabel* description,
                              QWidget* parent) {
    auto* box = new forms::TKIdLookup(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->K_LookupTableName = QStringLiteral("Misc");
    box->K_DescriptionField = QStringLiteral("Description");
    box->K_Filter = QStringLiteral("GroupCode = '%1'").arg(QString::fromLatin1(group));
    box->K_AllowNull = true;
    box->setDescriptionLabel(description);
    box->setFixedWidth(80);
    box->setEnabled(false);
    return box;
}

QLineEdit* sizeBox(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFixedWidth(50);
    box->setMaxLength(20);
    box->setAlignment(Qt::AlignRight);
    return box;
}

}  // namespace

TFrSearchProductService::TFrSearchProductService(QWidget* parent) : TFrSearch(parent) {
    setObjectName(QStringLiteral("FrSearchProductService"));
    setWindowTitle(QStringLiteral("ค้นหาสินค้า/บริการ"));
    resize(954, 421);
    auto* main = static_cast<QVBoxLayout*>(layout());

    // 1. The attribute strip.
    PnAttr = new QFrame(this);
    PnAttr->setObjectName(QStringLiteral("PnAttr"));
    PnAttr->setFixedHeight(134);
    auto* strip = new QHBoxLayout(PnAttr);
    strip->setContentsMargins(2, 2, 2, 2);
    FaSelectProdAttr1 = new TFaSelectProdAttr(PnAttr);
    FaSelectProdAttr1->setObjectName(QStringLiteral("FaSelectProdAttr1"));
    FaSelectProdAttr1->setFixedWidth(549);
    SelectProductType = new ProductKindChoice(PnAttr);
    strip->addWidget(FaSelectProdAttr1);
    strip->addWidget(SelectProductType, 1);
    main->insertWidget(0, PnAttr);

    // 2. The criteria panel: the base's header, two lines high.
    PanelHeader->setFixedHeight(62);
    delete PanelHeader->layout();
    auto* rows = new QVBoxLayout(PanelHeader);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);
    auto* first = new QHBoxLayout;
    Label3->setText(QStringLiteral("รหัส"));
    Name = label(QStringLiteral("ชื่อ"), PanelHeader);
    Name->setObjectName(QStringLiteral("Name"));
    SearchMethod = new QComboBox(PanelHeader);
    SearchMethod->setObjectName(QStringLiteral("SearchMethod"));
    SearchMethod->addItems({QStringLiteral("ขึ้นต้นด้วย"), QStringLiteral("ประกอบด้วย")});
    ProductName = new QLineEdit(PanelHeader);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    ProductName->setMaxLength(60);
    ProductName->setToolTip(QStringLiteral("กด F1 ไปช่องรหัส"));
    first->addWidget(Label3);
    first->addWidget(Code);
    first->addWidget(Name);
    first->addWidget(SearchMethod);
    first->addWidget(ProductName, 1);
    first->addWidget(BtSearch);
    first->addWidget(BtOk);
    first->addWidget(BtCancel);
    rows->addLayout(first);
    auto* second = new QHBoxLayout;
    LbPType = label(QStringLiteral("ชนิดสินค้า"), PanelHeader);
    PTypeDesc = new QLabel(PanelHeader);
    PTypeDesc->setObjectName(QStringLiteral("PTypeDesc"));
    PTypeDesc->setFixedWidth(130);
    PType = miscLookup("PType", "PTYPE", PTypeDesc, PanelHeader);
    BtSearchPType = searchButton("BtSearchPType", PanelHeader);
    LbPGroup = label(QStringLiteral("กลุ่มสินค้า"), PanelHeader);
    PGroupDesc = new QLabel(PanelHeader);
    PGroupDesc->setObjectName(QStringLiteral("PGroupDesc"));
    PGroupDesc->setFixedWidth(130);
    PGroup = miscLookup("PGroup", "PGROUP", PGroupDesc, PanelHeader);
    BtSearchPGroup = searchButton("BtSearchPGroup", PanelHeader);
    Size_W = sizeBox("Size_W", PanelHeader);
    Size_L = sizeBox("Size_L", PanelHeader);
    Size_H = sizeBox("Size_H", PanelHeader);
    for (QWidget* w : std::initializer_list<QWidget*>{LbPType, PType, BtSearchPType, PTypeDesc,
                                                      LbPGroup, PGroup, BtSearchPGroup, PGroupDesc})
        second->addWidget(w);
    second->addStretch(1);
    for (const auto& [caption, box] :
         {std::pair{QStringLiteral("กว้าง"), Size_W}, std::pair{QStringLiteral("ยาว"), Size_L},
          std::pair{QStringLiteral("สูง"), Size_H}}) {
        second->addWidget(label(caption, PanelHeader));
        second->addWidget(box);
    }
    rows->addLayout(second);

    // 3. The result grid and the picture panel beside it.
    main->removeWidget(DgSearch);
    auto* results = new QHBoxLayout;
    results->setSpacing(0);
    results->addWidget(DgSearch, 1);
    HidePanel = new ProductPicturePreview(this);
    results->addWidget(HidePanel);
    main->addLayout(results, 1);
    DgSearch->setSelectionMode(QAbstractItemView::SingleSelection);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(QStringLiteral("แสดงรายละเอียดการผลิต"));
    N1->setObjectName(QStringLiteral("N1"));
    connect(N1, &QAction::triggered, this, errors::Guarded([this] { N1Click(); }));
    connect(DgSearch, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(DgSearch->viewport()->mapToGlobal(at)); });
    DgSearch->setContextMenuPolicy(Qt::NoContextMenu);

    // 4. The status bar.
    fcStatusBar1 = new QStatusBar(this);
    fcStatusBar1->setObjectName(QStringLiteral("fcStatusBar1"));
    fcStatusBar1->setSizeGripEnabled(false);
    auto* previewPanel = new QFrame(fcStatusBar1);
    previewPanel->setFixedWidth(150);
    previewPanel->setFrameShape(QFrame::Panel);
    previewPanel->setFrameShadow(QFrame::Raised);
    auto* previewLayout = new QHBoxLayout(previewPanel);
    previewLayout->setContentsMargins(2, 0, 2, 0);
    previewLayout->setSpacing(3);
    auto* glyph = new QLabel(previewPanel);
    glyph->setPixmap(style()->standardIcon(QStyle::SP_FileDialogContentsView).pixmap(14, 14));
    StatusPreview = new QLabel(QStringLiteral("Preview Picture (F12)"), previewPanel);
    // The panel's 150 pixels hold the glyph and the text at the status bar's smaller size.
    QFont small = StatusPreview->font();
    small.setPixelSize(11);
    StatusPreview->setFont(small);
    previewLayout->addWidget(glyph);
    previewLayout->addWidget(StatusPreview, 1);
    StatusTitle = new QLabel(QStringLiteral("KVR Product Search Manager"), fcStatusBar1);
    StatusTitle->setAutoFillBackground(true);
    QPalette grey = StatusTitle->palette();
    grey.setColor(QPalette::Window, QColor(Qt::gray));
    grey.setColor(QPalette::WindowText, QColor(Qt::white));
    StatusTitle->setPalette(grey);
    QFont boldItalic = StatusTitle->font();
    boldItalic.setBold(true);
    boldItalic.setItalic(true);
    StatusTitle->setFont(boldItalic);
    fcStatusBar1->addWidget(previewPanel);
    fcStatusBar1->addWidget(StatusTitle, 1);
    main->addWidget(fcStatusBar1);

    setTabOrder(ProductName, Code);
    setTabOrder(Code, SearchMethod);
    setTabOrder(SearchMethod, Size_W);
    setTabOrder(Size_W, Size_L);
    setTabOrder(Size_L, Size_H);
    setTabOrder(Size_H, BtOk);

    connect(SelectProductType, &ProductKindChoice::itemChosen, this,
            errors::Guarded([this](int item) { SelectProductTypeClick(item); }));
    connect(BtSearchPType, &QToolButton::clicked, this,
            errors::Guarded([this] { BtSearchPTypeClick(); }));
    connect(BtSearchPGroup, &QToolButton::clicked, this,
            errors::Guarded([this] { BtSearchPGroupClick(); }));
    connect(forms::FocusWatch::of(this), &forms::FocusWatch::moved, this,
            [this](QWidget* from, QWidget*) {
                forms::TFrForm::guarded([&] {
                    if (from == ProductName)
                        ProductNameExit();
                    else if (from == Code)
                        CodeExit();
                });
            });
    // Every change of the current result row (the query's scroll event, which the grid's row
    // moves and the search's open both raise).
    auto previousScroll = QSearch.afterScroll;
    QSearch.afterScroll = [this, previousScroll](data::Query& q) {
        if (previousScroll)
            previousScroll(q);
        forms::TFrForm::guarded([this] { DSearchDataChange(); });
    };
}

TFrSearchProductService::~TFrSearchProductService() {
    // The focus moves as the children go; this window is no longer there to hear it.
    disconnect(forms::FocusWatch::of(this), nullptr, this, nullptr);
    QSearch.afterScroll = nullptr;
}

}  // namespace md::product
