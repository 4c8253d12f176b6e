#include "product/Fr_SearchLotNo.h"

#include "data/U_DM.h"
#include "data/statements/Statements.h"
#include "forms/Fr_Form.h"
#include "forms/Fr_Search.h"
#include "forms/SearchDialogKeys.h"
#include "forms/ThaiMetrics.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace md::product {

int TFrSearchLotNo::LotSortOrder = 1;

QString TFrSearchLotNo::ExpiryLine(const QString& condition) {
    if (condition == QStringLiteral("-"))
        return QString();
    // The date is bound as a parameter; lots that never expire always pass.
    return QStringLiteral("((ExpiredDate ") + condition +
           QStringLiteral(":ExpiredDate) Or (HasExpired = 'N')) And ");
}

QString TFrSearchLotNo::OrderLine(int sortOrder) {
    switch (sortOrder) {
        case 2:
            return QStringLiteral("ORDER BY Description");
        case 3:
            return QStringLiteral("ORDER BY ExpiredDate");
        default:
            return QStringLiteral("ORDER BY Code");
    }
}

TFrSearchLotNo::TFrSearchLotNo(QWidget* parent)
    : QDialog(parent),
      QSearch(data::DM ? &data::DM->DMdata : nullptr,
              statements::text(QStringLiteral("Fr_SearchLotNo"), QStringLiteral("QSearch"))) {
    setObjectName(QStringLiteral("FrSearchLotNo"));
    setWindowTitle(QStringLiteral("ค้นหา Lot No."));
    resize(495, 307);
    auto* layout = new QVBoxLayout(this);
    auto* row1 = new QHBoxLayout;
    Code = new QLineEdit(this);
    Code->setObjectName(QStringLiteral("Code"));
    Description = new QLineEdit(this);
    Description->setObjectName(QStringLiteral("Description"));
    row1->addWidget(new QLabel(QStringLiteral("หมายเลข Lot"), this));
    row1->addWidget(Code);
    row1->addWidget(new QLabel(QStringLiteral("รายละเอียด"), this));
    row1->addWidget(Description, 1);
    layout->addLayout(row1);
    auto* row2 = new QHBoxLayout;
    DateCondition = new QComboBox(this);
    DateCondition->setObjectName(QStringLiteral("DateCondition"));
    DateCondition->addItems(
        {QStringLiteral("<="), QStringLiteral("="), QStringLiteral(">="), QStringLiteral("-")});
    ExpiredDate = new QDateEdit(QDate::currentDate(), this);
    ExpiredDate->setObjectName(QStringLiteral("ExpiredDate"));
    ExpiredDate->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    row2->addWidget(new QLabel(QStringLiteral("วันที่หมดอายุ"), this));
    row2->addWidget(DateCondition);
    row2->addWidget(ExpiredDate);
    row2->addStretch(1);
    BSearch = new QPushButton(QStringLiteral("ค้นหา"), this);
    BSearch->setObjectName(QStringLiteral("BSearch"));
    BtSelect = new QPushButton(QStringLiteral("เลือก"), this);
    BtSelect->setObjectName(QStringLiteral("BtSelect"));
    BtCancel = new QPushButton(QStringLiteral("ไม่เลือก"), this);
    BtCancel->setObjectName(QStringLiteral("BtCancel"));
    for (QPushButton* b : {BSearch, BtSelect, BtCancel}) {
        b->setAutoDefault(false);
        row2->addWidget(b);
    }
    layout->addLayout(row2);
    DgSearch = new forms::DbGrid(this);
    DgSearch->setObjectName(QStringLiteral("DgSearch"));
    DgSearch->setQuery(&QSearch);
    DgSearch->setColumns({{QStringLiteral("Code"), QStringLiteral("หมายเลข Lot"), 90},
                          {QStringLiteral("Description"), QStringLiteral("รายละเอียด"), 301},
                          {QStringLiteral("ExpiredDate"), QStringLiteral("วันที่หมดอายุ"), 76}});
    layout->addWidget(DgSearch, 1);

    connect(BSearch, &QPushButton::clicked, this,
            [this] { forms::TFrForm::guarded([this] { BSearchClick(); }); });
    connect(BtSelect, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(BtCancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    connect(DgSearch, &forms::DbGrid::gridDoubleClicked, this, [this] { done(QDialog::Accepted); });
    connect(DateCondition, &QComboBox::currentIndexChanged, this,
            [this] { DateConditionChange(); });
    connect(DgSearch, &forms::DbGrid::titleClicked, this, [this](int column) {
        forms::TFrForm::guarded([&] {
            if (data::Field* f = DgSearch->queryModel()->fieldOf(column))
                DgSearchTitleBtnClick(*f);
        });
    });
    for (QWidget* w : std::initializer_list<QWidget*>{Code, Description, DateCondition, ExpiredDate,
                                                      BSearch, BtSelect, BtCancel, DgSearch})
        w->installEventFilter(this);
}

TFrSearchLotNo::~TFrSearchLotNo() {
    delete DgSearch;  // the grid goes before the query it shows
    DgSearch = nullptr;
}

void TFrSearchLotNo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    forms::fitThaiMarks(this);  // room for Thai marks in the boxes
    forms::TFrForm::guarded([this] { FormShow(); });
}

void TFrSearchLotNo::FormShow() {
    DateCondition->setCurrentIndex(3);  // "-"
    DateConditionChange();
    Code->clear();
    Description->clear();
    LotSortOrder = 1;
    Code->setFocus();
}

void TFrSearchLotNo::DateConditionChange() {
    ExpiredDate->setEnabled(DateCondition->currentText() != QStringLiteral("-"));
}

void TFrSearchLotNo::BSearchClick() {
    QSearch.close();
    const QString condition = DateCondition->currentText();
    QSearch.setSqlLine(3, ExpiryLine(condition));
    QSearch.setSqlLine(5, OrderLine(LotSortOrder));
    if (condition != QStringLiteral("-"))
        QSearch.paramByName(QStringLiteral("ExpiredDate"))
            .setAsDateTime(QDateTime(ExpiredDate->date(), QTime(0, 0)));
    // Both texts are prefix matches, untrimmed.
    QSearch.paramByName(QStringLiteral("GetCode"))
        .setAsString(forms::TFrSearch::LikeLiteral(Code->text()) + QStringLiteral("%"));
    QSearch.paramByName(QStringLiteral("GetDesc"))
        .setAsString(forms::TFrSearch::LikeLiteral(Description->text()) + QStringLiteral("%"));
    QSearch.open();
    DgSearch->setFocus();
    if (!QSearch.isEmpty()) {
        QSearch.first();
        DgSearch->syncToQuery();
    }
}

void TFrSearchLotNo::DgSearchTitleBtnClick(data::Field& field) {
    const QString upper = field.name().toUpper();
    if (upper == QStringLiteral("CODE"))
        LotSortOrder = 1;
    else if (upper == QStringLiteral("DESCRIPTION"))
        LotSortOrder = 2;
    else if (upper == QStringLiteral("EXPIREDDATE"))
        LotSortOrder = 3;
    // No new search: the order applies at the next one.
}

void TFrSearchLotNo::done(int result) {
    if (result == QDialog::Accepted && QSearch.isOpen() && !QSearch.isEmpty()) {
        SelectedId = QSearch.fieldByName(QStringLiteral("Id")).asInteger();
        SelectedCode = QSearch.fieldByName(QStringLiteral("Code")).asString();
    } else {
        SelectedCode.clear();  // SelectedId keeps the previous choice
    }
    QSearch.close();
    QDialog::done(result);
}

bool TFrSearchLotNo::eventFilter(QObject* watched, QEvent* event) {
    return forms::searchDialogKey(*this, event, watched == DgSearch, [this] { BSearchClick(); });
}

}  // namespace md::product
