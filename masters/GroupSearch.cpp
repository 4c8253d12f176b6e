#include "masters/GroupSearch.h"

#include "data/U_DM.h"
#include "data/statements/Statements.h"
#include "forms/Fr_Form.h"
#include "forms/Fr_Search.h"
#include "forms/SearchDialogKeys.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace md::masters {

GroupSearch::GroupSearch(const QString& caption, const QString& module, QWidget* parent)
    : QDialog(parent),
      QSearch(data::DM ? &data::DM->DMdata : nullptr,
              statements::text(module, QStringLiteral("QSearch"))) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
    QFont f = font();
    f.setPixelSize(13);
    setFont(f);
    auto* layout = new QVBoxLayout(this);
    auto* header = new QHBoxLayout;
    Label1 = new QLabel(QStringLiteral(u"ชื่อ"), this);
    Name = new QLineEdit(this);
    Name->setObjectName(QStringLiteral("Name"));
    Name->setFixedWidth(165);
    Label1->setBuddy(Name);
    BtSearch = new QPushButton(QStringLiteral(u"ค้นหา"), this);
    BtSearch->setObjectName(QStringLiteral("BtSearch"));
    BtSelect = new QPushButton(QStringLiteral(u"เลือก"), this);
    BtSelect->setObjectName(QStringLiteral("BtSelect"));
    BtCancel = new QPushButton(QStringLiteral(u"ไม่เลือก"), this);
    BtCancel->setObjectName(QStringLiteral("BtCancel"));
    header->addWidget(Label1);
    header->addWidget(Name);
    for (QPushButton* b : {BtSearch, BtSelect, BtCancel}) {
        b->setAutoDefault(false);
        header->addWidget(b);
    }
    header->addStretch(1);
    layout->addLayout(header);
    DgSearch = new forms::DbGrid(this);
    DgSearch->setObjectName(QStringLiteral("DgSearch"));
    DgSearch->setQuery(&QSearch);
    DgSearch->setColumns({{QStringLiteral("Code"), QStringLiteral(u"รหัส"), 120},
                          {QStringLiteral("Name"), QStringLiteral(u"ชื่อ"), 300}});
    layout->addWidget(DgSearch, 1);
    resize(470, 300);

    connect(BtSearch, &QPushButton::clicked, this,
            [this] { forms::TFrForm::guarded([this] { BtSearchClick(); }); });
    connect(BtSelect, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(BtCancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    connect(DgSearch, &forms::DbGrid::gridDoubleClicked, this, [this] { done(QDialog::Accepted); });
    for (QWidget* w : std::initializer_list<QWidget*>{Name, BtSearch, BtSelect, BtCancel, DgSearch})
        w->installEventFilter(this);
}

GroupSearch::~GroupSearch() {
    delete DgSearch;  // the grid goes before the query it shows
    DgSearch = nullptr;
}

void GroupSearch::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        forms::TFrForm::guarded([this] { FormShow(); });
}

void GroupSearch::FormShow() {
    QSearch.close();
    Name->clear();
    Name->setFocus();
    BtSearchClick();  // every group
}

void GroupSearch::BtSearchClick() {
    QSearch.close();
    QSearch.paramByName(QStringLiteral("GetName"))
        .setAsString(forms::TFrSearch::LikeLiteral(Name->text().trimmed()) + QStringLiteral("%"));
    QSearch.open();
    if (!QSearch.isEmpty()) {
        DgSearch->setFocus();
        QSearch.first();
        DgSearch->syncToQuery();
    }
}

void GroupSearch::done(int result) {
    if (result == QDialog::Accepted && QSearch.isOpen() && !QSearch.isEmpty())
        ChosenCode = QSearch.fieldByName(QStringLiteral("Code")).asString().trimmed();
    else
        ChosenCode.clear();
    if (result != QDialog::Accepted)
        result = QDialog::Rejected;
    QSearch.close();
    QDialog::done(result);
}

bool GroupSearch::eventFilter(QObject* watched, QEvent* event) {
    return forms::searchDialogKey(*this, event, watched == DgSearch, [this] { BtSearchClick(); });
}

}  // namespace md::masters
