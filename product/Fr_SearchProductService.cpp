#include "product/Fr_SearchProductService.h"

#include "data/Dm_Config.h"
#include "data/Prompts.h"
#include "data/U_DM.h"
#include "errors/TApplication.h"
#include "forms/Fr_Form.h"
#include "forms/KIdLookup.h"
#include "forms/MiscCodeSearch.h"
#include "product/Fa_SelectProdAttr.h"
#include "product/Fr_PreviewDetailMfg.h"
#include "product/ProductKindChoice.h"
#include "product/ProductPicturePreview.h"
#include "product/ProductServiceLayouts.h"

#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>

namespace md::product {

namespace {

const QString kContains = QStringLiteral("ประกอบด้วย");

bool thai() {
    return !data::DMConfig || data::DMConfig->LanguageThai;
}

// The company options row, opened first when it is not open; nullptr without a company module.
data::Query* config() {
    if (!data::DM)
        return nullptr;
    if (!data::DM->QConfig.isOpen())
        data::DM->QConfig.open();
    return &data::DM->QConfig;
}

QString configText(const char* column) {
    data::Query* q = config();
    const data::Field* f = q ? q->findField(QString::fromLatin1(column)) : nullptr;
    return f ? f->asString() : QString();
}

int configInt(const char* column) {
    data::Query* q = config();
    data::Field* f = q ? q->findField(QString::fromLatin1(column)) : nullptr;
    return f && !f->isNull() ? int(f->asInteger()) : 0;
}

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

const QString kGridHint = QStringLiteral("กด Double - Click เพื่อเลือก\n") + QString(17, u' ') +
                          QStringLiteral("หรือ\n") + QString(35, u'*') + u'\n' + QString(6, u' ') +
                          QStringLiteral("F12 : Preview Picture\n") + QString(35, u'*');

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
    SearchMethod->addItems({QStringLiteral("ขึ้นต้นด้วย"), kContains});
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

QString TFrSearchProductService::SizeRefusalText() const {
    return thai() ? QStringLiteral("กรุณาป้อนขนาดเป็นตัวเลข") : QStringLiteral("Size must be a number");
}

bool TFrSearchProductService::attributeGridHasFocus() const {
    QWidget* focused = focusWidget();
    QWidget* grid = FaSelectProdAttr1->DgSelectProdAttr;
    return focused && (focused == grid || grid->isAncestorOf(focused));
}

bool TFrSearchProductService::eventFilter(QObject* watched, QEvent* event) {
    // While the attribute grid has the focus the dialog's key preview is off: Enter and F5 are
    // the grid's own.
    if (event->type() == QEvent::KeyPress && attributeGridHasFocus())
        return false;
    return TFrSearch::eventFilter(watched, event);
}

void TFrSearchProductService::FormKeyDown(int& key, Qt::KeyboardModifiers shift) {
    if (key == Qt::Key_F1 && focusWidget() == ProductName) {
        key = 0;
        Code->setFocus();
        return;
    }
    TFrSearch::FormKeyDown(key, shift);
    if (key == Qt::Key_F12) {
        key = 0;
        HidePanel->setVisible(HidePanel->isHidden());
    }
}

void TFrSearchProductService::buildResultColumns(int layout, bool english) {
    ProductServiceLayout result = ProductServiceLayoutOf(layout);
    if (english) {
        const QString titles[] = {QStringLiteral("Code"), QStringLiteral("Name"),
                                  QStringLiteral("Remark")};
        for (size_t i = 0; i < result.columns.size() && i < 3; ++i)
            result.columns[i].title = titles[i];
    }
    // Every column width is set again: a column of the view's default width must not keep the
    // width an earlier layout gave its place.
    for (forms::GridColumn& c : result.columns)
        if (c.width <= 0)
            c.width = 64;
    DgSearch->setColumns(result.columns);
    if (result.menu == ProductServiceLayout::Menu::None)
        DgSearch->setContextMenuPolicy(Qt::NoContextMenu);
    else if (result.menu == ProductServiceLayout::Menu::Details)
        DgSearch->setContextMenuPolicy(Qt::CustomContextMenu);
}

void TFrSearchProductService::FormShow() {
    TFrSearch::FormShow();
    const bool english = !thai();
    if (!english)
        DgSearch->setToolTip(kGridHint);
    config();
    MData.PType = 0;
    MData2.PGroup = 0;
    putLookupCode(PType, QString());
    putLookupCode(PGroup, QString());
    buildResultColumns(configInt("SearchProductNo"), english);

    setWindowTitle(english ? QStringLiteral("Search Product Code")
                           : QStringLiteral("ค้นหาสินค้า/บริการ"));
    Label3->setText(english ? QStringLiteral("Code") : QStringLiteral("รหัส"));
    Name->setText(english ? QStringLiteral("Name") : QStringLiteral("ชื่อ"));
    SearchMethod->setItemText(0,
                              english ? QStringLiteral("Start With") : QStringLiteral("ขึ้นต้นด้วย"));
    SearchMethod->setItemText(1, english ? QStringLiteral("Consist Of") : kContains);
    {
        forms::DbGrid* grid = FaSelectProdAttr1->DgSelectProdAttr;
        std::vector<forms::GridColumn> columns = grid->queryModel()->columns();
        const QString titles[2][3] = {
            {QStringLiteral("คุณสมบัติสินค้า"), QStringLiteral("เริ่มต้น"), QStringLiteral("สิ้นสุด")},
            {QStringLiteral("Product Attribute"), QStringLiteral("From Code"),
             QStringLiteral("To Code")}};
        for (size_t i = 0; i < columns.size() && i < 3; ++i)
            columns[i].title = titles[english ? 1 : 0][i];
        grid->setColumns(columns);
    }
    SelectProductType->setEnglish(english);

    PictureFolder = ProductPicturePreview::PictureFolderOf(configText("PicturePath"));
    HidePanel->hide();

    if (MasterCodeFilter.trimmed().isEmpty())
        MasterCodeFilter = QStringLiteral("N");
    KeyField = QStringLiteral("Code");
    FaSelectProdAttr1->QProdAttrGroup.close();
    const int method = configInt("SearchProductMethod");
    SearchMethod->setCurrentIndex(method >= 0 && method < SearchMethod->count() ? method : -1);
    ResultValue.clear();
    Code->clear();
    fillLastSearch();
    applyProductKind();
    QSearch.close();
    ProductName->setFocus();
}

void TFrSearchProductService::fillLastSearch() {
    if (configText("ShowLastSearch") == QStringLiteral("Y") && data::DM) {
        ProductName->setText(data::DM->LastProductName);
        Code->setText(data::DM->LastProductCode);
    } else {
        ProductName->clear();
        Code->clear();
    }
}

void TFrSearchProductService::openAttributes(const QString& type) {
    data::Query& q = FaSelectProdAttr1->QProdAttrGroup;
    q.close();
    q.paramByName(QStringLiteral("GetType")).setAsString(type);
    q.open();
    if (!q.isEmpty())
        q.edit();
}

void TFrSearchProductService::applyProductKind() {
    SelectProductType->setEnabled(true);
    const QString filter = ProductTypeFilter;
    QString type = filter;
    int item = SelectProductType->shownItem();
    bool locked = true;
    bool gridEnabled = true;
    if (filter == QStringLiteral("P") || filter == QStringLiteral("B")) {
        type = QStringLiteral("P");
        item = 0;
    } else if (filter == QStringLiteral("S")) {
        item = 1;
    } else if (filter == QStringLiteral("M")) {
        item = 2;
        gridEnabled = false;
    } else if (filter == QStringLiteral("R")) {
        type = QStringLiteral("P");
        item = 3;
    } else if (filter == QStringLiteral("A")) {
        type = QStringLiteral("P");
        item = 4;
    } else {
        locked = false;
        if (filter.trimmed().isEmpty())
            item = -1;  // a free choice, nothing chosen yet
    }
    SelectProductType->showItem(item);
    SelectProductType->setEnabled(!locked);
    FaSelectProdAttr1->DgSelectProdAttr->setEnabled(gridEnabled);
    openAttributes(type);
}

void TFrSearchProductService::SelectProductTypeClick(int item) {
    const QString code = ProductKindChoice::CodeOfItem(item);
    ProductTypeFilter = code;
    FaSelectProdAttr1->QProdAttrGroup.close();
    ResultValue.clear();
    Code->clear();
    fillLastSearch();
    SelectProductType->setEnabled(true);
    const bool tradeGroups =
        code == QStringLiteral("A") || code == QStringLiteral("P") || code == QStringLiteral("R");
    openAttributes(tradeGroups ? QStringLiteral("P") : code);
    FaSelectProdAttr1->DgSelectProdAttr->setEnabled(true);
    SelectProductType->showItem(ProductKindChoice::ItemOfCode(code));
    if (code == QStringLiteral("M"))
        FaSelectProdAttr1->DgSelectProdAttr->setEnabled(false);
    QSearch.close();
    ProductName->setFocus();
}

void TFrSearchProductService::putLookupCode(forms::TKIdLookup* box, const QString& code) {
    box->setText(code);
    box->ResolveCode();
    const QVariant key = box->KeyValue();
    const qint64 id = key.isNull() ? 0 : key.toLongLong();
    if (box == PType)
        MData.PType = id;
    else
        MData2.PGroup = id;
}

void TFrSearchProductService::BtSearchPTypeClick() {
    const auto choice = forms::RunMiscCodeSearch(
        this, thai() ? QStringLiteral("ค้นหา ชนิดสินค้า") : QStringLiteral("Search Product Type"),
        QStringLiteral("PTYPE"));
    if (choice)
        putLookupCode(PType, choice->code);
}

void TFrSearchProductService::BtSearchPGroupClick() {
    const auto choice = forms::RunMiscCodeSearch(
        this, thai() ? QStringLiteral("ค้นหา กลุ่มสินค้า") : QStringLiteral("Search Product Group"),
        QStringLiteral("PGROUP"));
    if (choice)
        putLookupCode(PGroup, choice->code);
}

void TFrSearchProductService::ProductNameExit() {
    if (data::DM)
        data::DM->LastProductName = ProductName->text();
}

void TFrSearchProductService::CodeExit() {
    if (data::DM)
        data::DM->LastProductCode = Code->text();
}

QLineEdit* TFrSearchProductService::refusedSizeBox() const {
    for (QLineEdit* box : {Size_W, Size_L, Size_H}) {
        if (!box->text().isEmpty() && !SizeNumberLiteral(box->text()))
            return box;
    }
    return nullptr;
}

std::vector<AttributeRange> TFrSearchProductService::attributeRanges() {
    std::vector<AttributeRange> ranges;
    data::Query& q = FaSelectProdAttr1->QProdAttrGroup;
    if (!q.isOpen())
        return ranges;
    QWidget* grid = FaSelectProdAttr1->DgSelectProdAttr;
    grid->setUpdatesEnabled(false);
    for (q.first(); !q.eof(); q.next()) {
        ranges.push_back({q.fieldByName(QStringLiteral("Code")).asString(),
                          q.fieldByName(QStringLiteral("BeginAttrCode")).asString(),
                          q.fieldByName(QStringLiteral("EndAttrCode")).asString()});
    }
    grid->setUpdatesEnabled(true);
    return ranges;
}

ProductServiceCriteria TFrSearchProductService::Criteria() {
    ProductServiceCriteria c;
    c.layout = configInt("SearchProductNo");
    c.runYear = configText("RunYear");
    c.code = Code->text();
    c.name = ProductName->text();
    c.nameContains = SearchMethod->currentIndex() == 1;
    c.showBlocked = ShowBlocked;
    c.masterCode = MasterCodeFilter;
    c.kindItem = SelectProductType->shownItem();
    c.sizeW = Size_W->text();
    c.sizeL = Size_L->text();
    c.sizeH = Size_H->text();
    c.productType = MData.PType;
    c.productGroup = MData2.PGroup;
    c.ranges = attributeRanges();
    c.customerProductsOnly =
        CustomerProductsOnly(data::DM ? data::DM->DataDbName : QString(),
                             data::DMConfig ? data::DMConfig->UserCode : QString());
    return c;
}

void TFrSearchProductService::BtSearchClick() {
    // The box that had the focus is left (its exit handling keeps the last search texts).
    if (Code->isEnabled())
        Code->setFocus();
    if (ProductName->hasFocus())
        ProductNameExit();
    QSearch.close();
    // A size that is no number never reaches the server: the box refuses it, and the result
    // stays closed as it would after a refused statement.
    if (QLineEdit* refused = refusedSizeBox()) {
        data::prompts().message(SizeRefusalText());
        refused->setFocus();
        refused->selectAll();
        return;
    }
    QSearch.setSql(ProductServiceStatement(Criteria()));
    TFrSearch::BtSearchClick();
}

void TFrSearchProductService::DSearchDataChange() {
    if (HidePanel->isHidden())
        return;
    const data::Field* picture = QSearch.isOpen() && QSearch.recNo() >= 0
                                     ? QSearch.findField(QStringLiteral("Picture1"))
                                     : nullptr;
    HidePanel->ShowPicture(PictureFolder, picture ? picture->asString() : QString());
}

void TFrSearchProductService::N1Click() {
    if (!QSearch.isOpen())
        return;
    if (QSearch.isEmpty()) {
        data::prompts().message(QStringLiteral("ไม่พบข้อมูลสินค้าที่ต้องการ !!"));
        return;
    }
    const QString code = QSearch.fieldByName(QStringLiteral("Code")).asString().trimmed();
    if (code.isEmpty()) {
        data::prompts().message(QStringLiteral("ไม่มีข้อมูลรหัสสินค้า !!"));
        return;
    }
    TFrPreviewDetailMfg::ShowFor(code.toUpper(), this);
}

}  // namespace md::product
