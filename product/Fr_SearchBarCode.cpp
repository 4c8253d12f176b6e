#include "product/Fr_SearchBarCode.h"

#include "data/U_DM.h"
#include "data/statements/Statements.h"
#include "forms/Fr_Form.h"
#include "forms/Fr_Search.h"
#include "forms/SearchDialogKeys.h"
#include "forms/ThaiMetrics.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QSettings>
#include <QShowEvent>
#include <QVBoxLayout>

namespace md::product {

int TFrSearchBarCode::BarCodeSortOrder = 0;
QString TFrSearchBarCode::IniFile = QStringLiteral("KVR.INI");

namespace {

const QString kSection = QStringLiteral("SEARCHBARCODE");
const QString kContains = QStringLiteral("ประกอบด้วย");

}  // namespace

TFrSearchBarCode::TFrSearchBarCode(QWidget* parent)
    : QDialog(parent),
      QSearch(data::DM ? &data::DM->DMdata : nullptr,
              statements::text(QStringLiteral("Fr_SearchBarCode"), QStringLiteral("QSearch"))) {
    setObjectName(QStringLiteral("FrSearchBarCode"));
    setWindowTitle(QStringLiteral("ค้นหา Barcode สินค้า"));
    // No border icons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setMinimumWidth(MinimumWidth);
    resize(700, 287);
    auto* layout = new QVBoxLayout(this);
    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("PanelHeader"));
    header->setFixedHeight(57);
    auto* row = new QHBoxLayout(header);
    Code = new QLineEdit(header);
    Code->setObjectName(QStringLiteral("Code"));
    Code->setMaxLength(60);
    SearchMethod = new QComboBox(header);
    SearchMethod->setObjectName(QStringLiteral("SearchMethod"));
    SearchMethod->addItems({QStringLiteral("ขึ้นต้นด้วย"), kContains});
    Name = new QLineEdit(header);
    Name->setObjectName(QStringLiteral("Name"));
    Name->setMaxLength(60);
    row->addWidget(new QLabel(QStringLiteral("Barcode"), header));
    row->addWidget(Code);
    row->addWidget(new QLabel(QStringLiteral("ชื่อสินค้า"), header));
    row->addWidget(SearchMethod);
    row->addWidget(Name, 1);
    BtSearch = new QPushButton(QStringLiteral("ค้นหา"), header);
    BtSearch->setObjectName(QStringLiteral("BtSearch"));
    BtSearch->setFocusPolicy(Qt::ClickFocus);  // skipped by Tab
    Btok = new QPushButton(QStringLiteral("เลือก"), header);
    Btok->setObjectName(QStringLiteral("Btok"));
    BtCancel = new QPushButton(QStringLiteral("ไม่เลือก"), header);
    BtCancel->setObjectName(QStringLiteral("BtCancel"));
    for (QPushButton* b : {BtSearch, Btok, BtCancel}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    layout->addWidget(header);
    DgSearch = new forms::DbGrid(this);
    DgSearch->setObjectName(QStringLiteral("DgSearch"));
    DgSearch->setQuery(&QSearch);
    DgSearch->setColumns({{QStringLiteral("BarCode"), QStringLiteral("รหัส"), 130},
                          {QStringLiteral("Code"), QStringLiteral("รหัสสินค้า"), 100},
                          {QStringLiteral("ThaiName"), QStringLiteral("ชื่อสินค้า"), 200},
                          {QStringLiteral("UnitName"), QStringLiteral("หน่วยนับ"), 80},
                          {QStringLiteral("OnHand"), QStringLiteral("คงเหลือ"), 80},
                          {QStringLiteral("Backorder"), QStringLiteral("ค้างส่ง"), 80}});
    layout->addWidget(DgSearch, 1);

    connect(BtSearch, &QPushButton::clicked, this,
            [this] { forms::TFrForm::guarded([this] { BtSearchClick(); }); });
    connect(Btok, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(BtCancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    connect(DgSearch, &forms::DbGrid::gridDoubleClicked, this, [this] { done(QDialog::Accepted); });
    connect(DgSearch, &forms::DbGrid::titleClicked, this, [this](int column) {
        forms::TFrForm::guarded([&] {
            if (data::Field* f = DgSearch->queryModel()->fieldOf(column))
                DgSearchTitleBtnClick(*f);
        });
    });
    for (QWidget* w : std::initializer_list<QWidget*>{Code, SearchMethod, Name, BtSearch, Btok,
                                                      BtCancel, DgSearch})
        w->installEventFilter(this);
}

TFrSearchBarCode::~TFrSearchBarCode() {
    delete DgSearch;  // the grid goes before the query it shows
    DgSearch = nullptr;
}

void TFrSearchBarCode::restorePlacement() {
    QSettings ini(IniFile, QSettings::IniFormat);
    ini.beginGroup(kSection);
    const int w = ini.value(QStringLiteral("Width"), -1).toInt();
    const int h = ini.value(QStringLiteral("Height"), -1).toInt();
    if (w > 0 && h > 0)
        resize(w, h);
    if (ini.contains(QStringLiteral("Left")) && ini.contains(QStringLiteral("Top")))
        move(ini.value(QStringLiteral("Left")).toInt(), ini.value(QStringLiteral("Top")).toInt());
    for (int c = 0; c < DgSearch->horizontalHeader()->count(); ++c) {
        const int width = ini.value(QStringLiteral("Column%1Width").arg(c), -1).toInt();
        if (width > 0)
            DgSearch->setColumnWidth(c, width);
    }
}

void TFrSearchBarCode::savePlacement() {
    QSettings ini(IniFile, QSettings::IniFormat);
    ini.beginGroup(kSection);
    ini.setValue(QStringLiteral("Left"), x());
    ini.setValue(QStringLiteral("Top"), y());
    ini.setValue(QStringLiteral("Width"), width());
    ini.setValue(QStringLiteral("Height"), height());
    for (int c = 0; c < DgSearch->horizontalHeader()->count(); ++c)
        ini.setValue(QStringLiteral("Column%1Width").arg(c), DgSearch->columnWidth(c));
}

void TFrSearchBarCode::showEvent(QShowEvent* event) {
    if (!event->spontaneous() && !placed_) {
        placed_ = true;
        restorePlacement();
    }
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    forms::fitThaiMarks(this);  // room for Thai marks in the boxes
    forms::TFrForm::guarded([this] { FormShow(); });
}

void TFrSearchBarCode::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (width() < MinimumWidth)
        resize(MinimumWidth, height());
}

void TFrSearchBarCode::FormShow() {
    Code->clear();
    Name->clear();
    data::TDM* dm = data::DM;
    if (dm && !dm->QConfig.isOpen())
        dm->QConfig.open();
    const auto option = [dm](const char* name) -> data::Field* {
        return dm && dm->QConfig.isOpen() ? dm->QConfig.findField(QString::fromLatin1(name))
                                          : nullptr;
    };
    data::Field* method = option("SearchProductMethod");
    SearchMethod->setCurrentIndex(method && method->asInteger() == 1 ? 1 : 0);
    QSearch.close();
    data::Field* showLast = option("ShowLastSearch");
    if (showLast && showLast->asString() == QStringLiteral("Y"))
        Name->setText(dm->LastProductName);
    Name->setFocus();
}

void TFrSearchBarCode::BtSearchClick() {
    if (data::DM)
        data::DM->LastProductName = Name->text();
    QSearch.close();
    QSearch.setSqlLine(31, ShowBlocked
                               ? QStringLiteral("Not (U.BarCode Is Null) And (U.BarCode <> '') ")
                               : QStringLiteral("Not (U.BarCode Is Null) And (U.BarCode <> '') And "
                                                "(P.Blocked <> 'Y') "));
    QSearch.setSqlLine(32, BarCodeSortOrder == 0   ? QStringLiteral("Order By U.BarCode")
                           : BarCodeSortOrder == 1 ? QStringLiteral("Order By P.Code")
                                                   : QStringLiteral("Order By P.ThaiName"));
    using forms::TFrSearch;
    QSearch.paramByName(QStringLiteral("GetCode"))
        .setAsString(TFrSearch::LikeLiteral(Code->text().trimmed()) + QStringLiteral("%"));
    const QString name = TFrSearch::LikeLiteral(Name->text().trimmed()) + QStringLiteral("%");
    QSearch.paramByName(QStringLiteral("GetName"))
        .setAsString(SearchMethod->currentText() == kContains ? QStringLiteral("%") + name : name);
    QSearch.open();
    if (!QSearch.isEmpty()) {
        DgSearch->setFocus();
        QSearch.first();
        DgSearch->syncToQuery();
    }
}

void TFrSearchBarCode::DgSearchTitleBtnClick(data::Field& field) {
    const QString upper = field.name().toUpper();
    if (upper == QStringLiteral("BARCODE"))
        BarCodeSortOrder = 0;
    else if (upper == QStringLiteral("CODE"))
        BarCodeSortOrder = 1;
    else if (upper == QStringLiteral("THAINAME"))
        BarCodeSortOrder = 2;
    BtSearchClick();
}

void TFrSearchBarCode::done(int result) {
    if (result == QDialog::Accepted && QSearch.isOpen() && !QSearch.isEmpty()) {
        SelectedBarCode = QSearch.fieldByName(QStringLiteral("BarCode")).asString();
    } else {
        SelectedBarCode.clear();
        result = QDialog::Rejected;  // the opener sees Cancel
    }
    QSearch.close();
    savePlacement();
    QDialog::done(result);
}

bool TFrSearchBarCode::eventFilter(QObject* watched, QEvent* event) {
    return forms::searchDialogKey(*this, event, watched == DgSearch, [this] { BtSearchClick(); });
}

}  // namespace md::product
