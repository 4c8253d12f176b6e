#include "product/U_SearchProduct.h"

#include "data/Prompts.h"
#include "data/U_DM.h"
#include "forms/Fr_Form.h"
#include "forms/Fr_Search.h"
#include "product/AttributeRange.h"
#include "product/Fa_SelectProdAttr.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <vector>

namespace md::product {

int TF_SearchProduct::ProductSortOrder = 0;

namespace {

const QString kContains = QStringLiteral("ประกอบด้วย");

QString literal(QString text) {
    return text.replace(u'\'', QStringLiteral("''"));
}

// A LIKE pattern's text inside a literal: wildcards taken as characters, quotes doubled.
QString likeLiteral(const QString& typed) {
    return literal(forms::TFrSearch::LikeLiteral(typed));
}

}  // namespace

QStringList TF_SearchProduct::Statement(const QString& code, const QString& name, bool contains,
                                        const std::vector<AttrRange>& ranges, int sortOrder) {
    QStringList lines{QStringLiteral("Select Id, Code, ThaiName"), QStringLiteral("From Product"),
                      QStringLiteral("Where (Code Like '") + likeLiteral(code) +
                          QStringLiteral("%') And (ThaiName Like '") +
                          (contains ? QStringLiteral("%") : QString()) + likeLiteral(name) +
                          QStringLiteral("%')"),
                      QStringLiteral("And (Blocked <> 'Y')"),
                      QStringLiteral("And (ProductType <> 'P')")};
    for (const AttrRange& r : ranges) {
        const QString condition = AttributeRangeCondition(r.groupCode, r.beginCode, r.endCode);
        if (!condition.isEmpty())
            lines << QStringLiteral("And (Id In (Select Product From ProductAttribute Where ") +
                         condition + QStringLiteral("))");
    }
    lines << (sortOrder == 1 ? QStringLiteral("Order By ThaiName")
                             : QStringLiteral("Order By Code"));
    return lines;
}

TF_SearchProduct::TF_SearchProduct(QWidget* parent)
    : QDialog(parent), QSearch(data::DM ? &data::DM->DMdata : nullptr) {
    setObjectName(QStringLiteral("F_SearchProduct"));
    setWindowTitle(QStringLiteral("ค้นหา สินค้า"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QSearch.setSql({QStringLiteral("/* Assign on Runtime */")});
    resize(601, 415);
    // The designed 601 by 415 leaves the attribute strip what the 263-pixel list below does not
    // take: narrow margins give it to the attribute grid.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 0);
    layout->setSpacing(2);
    auto* top = new QHBoxLayout;
    top->setSpacing(4);
    GroupAttr = new QGroupBox(QStringLiteral("คุณสมบัติสินค้า"), this);
    GroupAttr->setObjectName(QStringLiteral("GroupAttr"));
    auto* attrLayout = new QVBoxLayout(GroupAttr);
    attrLayout->setContentsMargins(4, 0, 4, 4);
    attrLayout->setSpacing(2);
    FaSelectProdAttr1 = new TFaSelectProdAttr(GroupAttr);
    FaSelectProdAttr1->setObjectName(QStringLiteral("FaSelectProdAttr1"));
    attrLayout->addWidget(FaSelectProdAttr1, 1);
    auto* line = new QHBoxLayout;
    ProductCode = new QLineEdit(GroupAttr);
    ProductCode->setObjectName(QStringLiteral("ProductCode"));
    ProductCode->setMaxLength(60);
    forms::setUpperCaseInput(ProductCode);
    SearchMethod = new QComboBox(GroupAttr);
    SearchMethod->setObjectName(QStringLiteral("SearchMethod"));
    SearchMethod->addItems({QStringLiteral("ขึ้นต้นด้วย"), kContains});
    ProductName = new QLineEdit(GroupAttr);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    ProductName->setMaxLength(60);
    line->addWidget(new QLabel(QStringLiteral("รหัสสินค้า"), GroupAttr));
    line->addWidget(ProductCode);
    auto* nameLabel = new QLabel(QStringLiteral("ชื่อสินค้า"), GroupAttr);
    nameLabel->setObjectName(QStringLiteral("Name"));
    line->addWidget(nameLabel);
    line->addWidget(SearchMethod);
    line->addWidget(ProductName, 1);
    attrLayout->addLayout(line);
    top->addWidget(GroupAttr, 1);
    auto* panel = new QVBoxLayout;
    panel->setContentsMargins(0, 6, 0, 0);
    BtSearch = new QPushButton(QStringLiteral("ค้นหา"), this);
    BtSearch->setObjectName(QStringLiteral("BtSearch"));
    BtSearch->setFocusPolicy(Qt::ClickFocus);  // skipped by Tab
    BtOK = new QPushButton(QStringLiteral("เลือก"), this);
    BtOK->setObjectName(QStringLiteral("BtOK"));
    BtCancel = new QPushButton(QStringLiteral("ไม่เลือก"), this);
    BtCancel->setObjectName(QStringLiteral("BtCancel"));
    for (QPushButton* b : {BtSearch, BtOK, BtCancel}) {
        b->setAutoDefault(false);
        b->setFixedWidth(80);
        panel->addWidget(b);
    }
    panel->addStretch(1);
    top->addLayout(panel);
    layout->addLayout(top, 1);
    ListData = new forms::DbGrid(this);
    ListData->setObjectName(QStringLiteral("ListData"));
    ListData->setFixedHeight(263);
    ListData->setQuery(&QSearch);
    ListData->setColumns({{QStringLiteral("Code"), QStringLiteral("รหัส"), 151},
                          {QStringLiteral("ThaiName"), QStringLiteral("ชื่อสินค้า"), 423}});
    layout->addWidget(ListData);

    connect(BtSearch, &QPushButton::clicked, this,
            [this] { forms::TFrForm::guarded([this] { BtSearchClick(); }); });
    connect(BtOK, &QPushButton::clicked, this, [this] { BtOKClick(); });
    connect(BtCancel, &QPushButton::clicked, this, [this] { BtCancelClick(); });
    connect(ListData, &forms::DbGrid::gridDoubleClicked, this, [this] { BtOKClick(); });
    connect(ListData, &forms::DbGrid::titleClicked, this, [this](int column) {
        forms::TFrForm::guarded([&] {
            if (data::Field* f = ListData->queryModel()->fieldOf(column))
                ListDataTitleClick(*f);
            else if (column >= 0 && column < int(ListData->queryModel()->columns().size())) {
                // Before any search the list has no fields: the title still chooses the order.
                ProductSortOrder =
                    ListData->queryModel()->columns()[size_t(column)].fieldName.toUpper() ==
                            QStringLiteral("CODE")
                        ? 0
                        : 1;
                BtSearchClick();
            }
        });
    });
    for (QWidget* w : std::initializer_list<QWidget*>{ProductCode, SearchMethod, ProductName,
                                                      BtSearch, BtOK, BtCancel, ListData})
        w->installEventFilter(this);
}

TF_SearchProduct::~TF_SearchProduct() {
    delete ListData;  // the grid goes before the query it shows
    ListData = nullptr;
}

void TF_SearchProduct::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // The designed size, a single border and the middle of the desktop.
    forms::fixSizeAndCentre(this);
    forms::TFrForm::guarded([this] { FormShow(); });
}

void TF_SearchProduct::FormShow() {
    FaSelectProdAttr1->reopen();
    ProductSortOrder = 0;
    SearchMethod->setCurrentText(kContains);
    ChosenCode.clear();
    ProductCode->clear();
    QSearch.close();
    bool showLast = false;
    if (data::DM && data::DM->QConfig.isOpen())
        if (data::Field* f = data::DM->QConfig.findField(QStringLiteral("ShowLastSearch")))
            showLast = f->asString() == QStringLiteral("Y");
    ProductName->setText(showLast && data::DM ? data::DM->LastProductName : QString());
    ProductName->setFocus();
}

std::vector<TF_SearchProduct::AttrRange> TF_SearchProduct::attributeRanges() {
    return FaSelectProdAttr1->Ranges();
}

void TF_SearchProduct::BtSearchClick() {
    if (ProductName->text().trimmed().isEmpty() && ProductCode->text().trimmed().isEmpty()) {
        data::prompts().message(QStringLiteral("กรุณาป้อนรหัส หรือ ชื่อบางส่วน เพื่อค้นหา"));
        return;
    }
    if (data::DM)
        data::DM->LastProductName = ProductName->text();
    QSearch.close();
    QSearch.setSql(Statement(ProductCode->text(), ProductName->text(),
                             SearchMethod->currentText() == kContains, attributeRanges(),
                             ProductSortOrder));
    QSearch.open();
    if (!QSearch.isEmpty()) {
        ListData->setFocus();
        QSearch.first();
        ListData->syncToQuery();
    }
}

void TF_SearchProduct::BtOKClick() {
    forms::TFrForm::guarded([this] {
        if (QSearch.isOpen() && !QSearch.isEmpty() && QSearch.recNo() >= 0) {
            ChosenCode = QSearch.fieldByName(QStringLiteral("Code")).asString();
            done(QDialog::Accepted);
        }
        // With an empty or closed result the dialog stays open.
    });
}

void TF_SearchProduct::BtCancelClick() {
    done(QDialog::Rejected);
}

void TF_SearchProduct::ListDataTitleClick(data::Field& field) {
    ProductSortOrder = field.name().toUpper() == QStringLiteral("CODE") ? 0 : 1;
    BtSearchClick();
}

void TF_SearchProduct::done(int result) {
    // Closing by the window itself (Escape, the close box) is a Cancel.
    if (result != QDialog::Accepted)
        ChosenCode.clear();
    QSearch.close();
    QDialog::done(result);
}

bool TF_SearchProduct::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    bool consumed = false;
    forms::TFrForm::guarded([&] {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            consumed = true;  // the Enter character itself goes nowhere
            if (watched == ListData)
                BtOKClick();
            else
                BtSearchClick();
        } else if (key == Qt::Key_Escape) {
            consumed = true;
            BtCancelClick();
        }
    });
    return consumed;
}

}  // namespace md::product
