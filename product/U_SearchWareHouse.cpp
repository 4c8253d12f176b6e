#include "product/U_SearchWareHouse.h"

#include "data/Dm_Config.h"
#include "data/U_DM.h"
#include "data/statements/Statements.h"
#include "forms/Fr_Form.h"
#include "forms/Fr_Search.h"
#include "forms/SearchDialogKeys.h"
#include "forms/ThaiMetrics.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace md::product {

QString TF_SearchWareHouse::Statement(bool activeOnly, int locationMode, const QString& text,
                                      bool checkUserWarehouse, int userId) {
    QString sql =
        activeOnly
            ? QStringLiteral("select code,name from warehouse where Coalesce(blocked,'N') = 'N' ")
            : QStringLiteral("select code,name from warehouse ");
    bool hasCondition = activeOnly;
    const auto opener = [&] {
        const QString word = hasCondition ? QStringLiteral(" and ") : QStringLiteral(" where ");
        hasCondition = true;
        return word;
    };
    if (locationMode == 1 || locationMode == 2) {
        const QString flag = locationMode == 1 ? QStringLiteral("N") : QStringLiteral("Y");
        // After the blocked condition the piece reads " and  (...)", with two blanks.
        sql += (hasCondition ? QStringLiteral(" and  ") : QStringLiteral(" where ")) +
               QStringLiteral("(Coalesce(IsLocation,'N')='") + flag + QStringLiteral("') ");
        hasCondition = true;
    }
    if (!text.isEmpty()) {
        // A literal: wildcards taken as characters, every quote doubled.
        QString pattern = forms::TFrSearch::LikeLiteral(text);
        pattern.replace(u'\'', QStringLiteral("''"));
        sql += opener() + QStringLiteral("((code like '%") + pattern + QStringLiteral("%')") +
               QStringLiteral(" or ") + QStringLiteral("      (name like '%") + pattern +
               QStringLiteral("%')) ");
    }
    if (activeOnly && checkUserWarehouse)
        sql += QStringLiteral(" And Id In (Select Warehouse From UserWarehouse Where UserName = ") +
               QString::number(userId) + QStringLiteral(" )");
    sql += QStringLiteral(" order by code ");
    return sql;
}

TF_SearchWareHouse::TF_SearchWareHouse(QWidget* parent)
    : QDialog(parent),
      QSearch(data::DM ? &data::DM->DMdata : nullptr,
              statements::text(QStringLiteral("U_SearchWareHouse"), QStringLiteral("QSearch"))) {
    setObjectName(QStringLiteral("F_SearchWareHouse"));
    setWindowTitle(QStringLiteral("ค้นหาตำแหน่งเก็บ"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    resize(522, 273);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("ค้นหา รหัสหรือชื่อ"), this));
    SearchText = new QLineEdit(this);
    SearchText->setObjectName(QStringLiteral("SearchText"));
    row->addWidget(SearchText, 1);
    BSearch = new QPushButton(QStringLiteral("ค้นหา"), this);
    BSearch->setObjectName(QStringLiteral("BSearch"));
    Bok = new QPushButton(QStringLiteral("เลือก"), this);
    Bok->setObjectName(QStringLiteral("Bok"));
    BCancel = new QPushButton(QStringLiteral("ไม่เลือก"), this);
    BCancel->setObjectName(QStringLiteral("BCancel"));
    for (QPushButton* b : {BSearch, Bok, BCancel}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    layout->addLayout(row);
    DisplayGrid = new forms::DbGrid(this);
    DisplayGrid->setObjectName(QStringLiteral("DisplayGrid"));
    DisplayGrid->setQuery(&QSearch);
    layout->addWidget(DisplayGrid, 1);

    connect(BSearch, &QPushButton::clicked, this,
            [this] { forms::TFrForm::guarded([this] { BSearchClick(); }); });
    connect(Bok, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(BCancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    connect(DisplayGrid, &forms::DbGrid::gridDoubleClicked, this,
            [this] { done(QDialog::Accepted); });
    SearchText->installEventFilter(this);
    DisplayGrid->installEventFilter(this);
}

TF_SearchWareHouse::~TF_SearchWareHouse() {
    delete DisplayGrid;  // the grid goes before the query it shows
    DisplayGrid = nullptr;
}

void TF_SearchWareHouse::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    forms::fitThaiMarks(this);  // room for Thai marks in the boxes
    forms::TFrForm::guarded([this] { FormShow(); });
}

void TF_SearchWareHouse::FormShow() {
    const bool thai = !data::DMConfig || data::DMConfig->LanguageThai;
    BSearch->setText(thai ? QStringLiteral("ค้นหา") : QStringLiteral("Search"));
    Bok->setText(thai ? QStringLiteral("เลือก") : QStringLiteral("Choose"));
    BCancel->setText(thai ? QStringLiteral("ไม่เลือก") : QStringLiteral("Cancel"));
    DisplayGrid->setColumns(
        {{QStringLiteral("code"), thai ? QStringLiteral("รหัส") : QStringLiteral("WH Code"), 109},
         {QStringLiteral("name"),
          thai ? QStringLiteral("รายละเอียด") : QStringLiteral("WareHouse Description"), 340}});
    // The same caption in either language.
    setWindowTitle(QStringLiteral("ค้นหาตำแหน่งเก็บ"));
    BSearchClick();
}

void TF_SearchWareHouse::BSearchClick() {
    bool checkRights = false;
    if (data::DM && data::DM->QConfig.isOpen())
        if (data::Field* f = data::DM->QConfig.findField(QStringLiteral("CheckUserWarehouseFlag")))
            checkRights = f->asString() == QStringLiteral("Y");
    const int user = data::DMConfig ? data::DMConfig->UserId : 0;
    QSearch.close();
    QSearch.setSql(
        {Statement(ActiveOnly, LocationMode, SearchText->text().trimmed(), checkRights, user)});
    QSearch.open();
    DisplayGrid->setFocus();
    if (!QSearch.isEmpty()) {
        QSearch.first();
        DisplayGrid->syncToQuery();
    }
}

void TF_SearchWareHouse::done(int result) {
    if (result == QDialog::Accepted && QSearch.isOpen() && !QSearch.isEmpty())
        SelectedCode = QSearch.fieldByName(QStringLiteral("code")).asString();
    else
        SelectedCode.clear();
    QSearch.close();
    QDialog::done(result);
}

bool TF_SearchWareHouse::eventFilter(QObject* watched, QEvent* event) {
    return forms::searchDialogKey(
        *this, event, watched == DisplayGrid, [this] { BSearchClick(); }, true);
}

}  // namespace md::product
