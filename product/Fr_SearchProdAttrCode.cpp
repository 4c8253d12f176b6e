#include "product/Fr_SearchProdAttrCode.h"

#include "data/U_DM.h"
#include "forms/Fr_Form.h"
#include "forms/Fr_Search.h"
#include "forms/SearchDialogKeys.h"
#include "forms/ThaiMetrics.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace md::product {

namespace {

QString quoted(QString text) {
    return text.replace(u'\'', QStringLiteral("''"));
}

}  // namespace

QStringList TFrSearchProdAttrCode::Statement(qint64 groupId, const QString& text, bool fullWord) {
    QStringList lines{QStringLiteral("Select Id,Code,Description From ProdAttrCode"),
                      QStringLiteral("Where ProdAttrGroup = ") + QString::number(groupId)};
    if (!text.isEmpty()) {
        if (fullWord)
            lines << QStringLiteral("And Description = '") + quoted(text) + QStringLiteral("'");
        else
            lines << QStringLiteral("And Description Like '%") +
                         quoted(forms::TFrSearch::LikeLiteral(text)) + QStringLiteral("%'");
    }
    return lines;
}

TFrSearchProdAttrCode::TFrSearchProdAttrCode(QWidget* parent)
    : QDialog(parent), QSearch(data::DM ? &data::DM->DMdata : nullptr) {
    setObjectName(QStringLiteral("FrSearchProdAttrCode"));
    setWindowTitle(QStringLiteral("ค้นหาคุณสมบัติสินค้า"));
    resize(410, 306);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("รายละเอียด"), this));
    Description = new QLineEdit(this);
    Description->setObjectName(QStringLiteral("Description"));
    row->addWidget(Description, 1);
    FullWord = new QCheckBox(QStringLiteral("หาเต็มคำ"), this);
    FullWord->setObjectName(QStringLiteral("FullWord"));
    row->addWidget(FullWord);
    layout->addLayout(row);
    ListData = new forms::DbGrid(this);
    ListData->setObjectName(QStringLiteral("ListData"));
    ListData->setQuery(&QSearch);
    ListData->setColumns({{QStringLiteral("DESCRIPTION"), QStringLiteral("รายละเอียด"), 306},
                          {QStringLiteral("CODE"), QStringLiteral("รหัส"), 78}});
    layout->addWidget(ListData, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BtOk = new QPushButton(QStringLiteral("เลือก"), this);
    BtOk->setObjectName(QStringLiteral("BtOk"));
    BtCancel = new QPushButton(QStringLiteral("ไม่เลือก"), this);
    BtCancel->setObjectName(QStringLiteral("BtCancel"));
    for (QPushButton* b : {BtOk, BtCancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    connect(BtOk, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(BtCancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    connect(ListData, &forms::DbGrid::gridDoubleClicked, this, [this] { done(QDialog::Accepted); });
    for (QWidget* w :
         std::initializer_list<QWidget*>{Description, FullWord, BtOk, BtCancel, ListData})
        w->installEventFilter(this);
}

TFrSearchProdAttrCode::~TFrSearchProdAttrCode() {
    delete ListData;  // the grid goes before the query it shows
    ListData = nullptr;
}

void TFrSearchProdAttrCode::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    forms::fitThaiMarks(this);  // room for Thai marks in the boxes
    forms::TFrForm::guarded([this] { FormShow(); });
}

void TFrSearchProdAttrCode::FormShow() {
    FullWord->setChecked(false);
    Description->clear();
    Search();
    Description->setFocus();
}

void TFrSearchProdAttrCode::Search() {
    QSearch.close();
    QSearch.setSql(Statement(GroupId, Description->text().trimmed(), FullWord->isChecked()));
    QSearch.open();
    if (!QSearch.isEmpty()) {
        ListData->setFocus();
        QSearch.first();
        ListData->syncToQuery();
    }
}

void TFrSearchProdAttrCode::done(int result) {
    if (result == QDialog::Accepted && QSearch.isOpen() && !QSearch.isEmpty())
        SelectedCode = QSearch.fieldByName(QStringLiteral("Code")).asString();
    else
        SelectedCode.clear();
    QSearch.close();
    QDialog::done(result);
}

bool TFrSearchProdAttrCode::eventFilter(QObject* watched, QEvent* event) {
    return forms::searchDialogKey(*this, event, watched == ListData, [this] { Search(); });
}

}  // namespace md::product
