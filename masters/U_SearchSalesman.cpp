#include "masters/U_SearchSalesman.h"

#include "data/U_DM.h"
#include "data/statements/Statements.h"
#include "forms/Fr_Form.h"
#include "forms/Fr_Search.h"
#include "masters/KeptWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

namespace md::masters {

int TF_SearchSalesman::SalesmanSortKey = 0;

namespace {

QString fragment(const char* name) {
    return statements::text(QStringLiteral("U_SearchSalesman"), QString::fromLatin1(name))
        .join(u' ');
}

}  // namespace

QString TF_SearchSalesman::WhereLine() {
    // The code begins with its text, name and surname contain theirs; empty boxes match all.
    return QStringLiteral(
        "Where (S.Code Like :SCode) And (S.Name Like :SName) And (S.SurName Like :SSurname)");
}

QString TF_SearchSalesman::OrderLine(int sortKey) {
    switch (sortKey) {
        case 1:
            return fragment("QSearch.Order1");
        case 2:
            return fragment("QSearch.Order2");
        case 3:
            return fragment("QSearch.Order3");
        default:
            return fragment("QSearch.Order0");
    }
}

TF_SearchSalesman::TF_SearchSalesman(QWidget* parent)
    : QDialog(parent), QSearch(data::DM ? &data::DM->DMdata : nullptr) {
    setObjectName(QStringLiteral("F_SearchSalesman"));
    setWindowTitle(QStringLiteral("ค้นหาพนักงานขาย"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    auto* layout = new QVBoxLayout(this);
    auto* row1 = new QHBoxLayout;
    SCode = new QLineEdit(this);
    SCode->setObjectName(QStringLiteral("SCode"));
    SCode->setMaxLength(10);
    forms::setUpperCaseInput(SCode);
    SName = new QLineEdit(this);
    SName->setObjectName(QStringLiteral("SName"));
    SName->setMaxLength(30);
    SSurname = new QLineEdit(this);
    SSurname->setObjectName(QStringLiteral("SSurname"));
    SSurname->setMaxLength(30);
    const std::pair<const char16_t*, QLineEdit*> boxes[] = {
        {u"รหัส", SCode}, {u"ชื่อ", SName}, {u"นามสกุล", SSurname}};
    for (const auto& [caption, box] : boxes) {
        row1->addWidget(new QLabel(QString::fromUtf16(caption), this));
        row1->addWidget(box);
    }
    layout->addLayout(row1);
    auto* row2 = new QHBoxLayout;
    BSearch = new QPushButton(QStringLiteral("ค้นหา"), this);
    BSearch->setObjectName(QStringLiteral("BSearch"));
    BSearch->setFocusPolicy(Qt::ClickFocus);  // skipped by Tab
    Bok = new QPushButton(QStringLiteral("เลือก"), this);
    Bok->setObjectName(QStringLiteral("Bok"));
    BCancel = new QPushButton(QStringLiteral("ไม่เลือก"), this);
    BCancel->setObjectName(QStringLiteral("BCancel"));
    for (QPushButton* b : {BSearch, Bok, BCancel}) {
        b->setAutoDefault(false);
        row2->addWidget(b);
    }
    row2->addStretch(1);
    layout->addLayout(row2);
    ListData = new forms::DbGrid(this);
    ListData->setObjectName(QStringLiteral("ListData"));
    ListData->setQuery(&QSearch);
    ListData->setColumns({{QStringLiteral("NAME"), QStringLiteral("ชื่อ"), 153},
                          {QStringLiteral("SURNAME"), QStringLiteral("นามสกุล"), 153},
                          {QStringLiteral("CODE"), QStringLiteral("รหัส"), 85},
                          {QStringLiteral("description"), QStringLiteral("ชื่อแผนก"), 139}});
    layout->addWidget(ListData, 1);

    connect(BSearch, &QPushButton::clicked, this,
            [this] { forms::TFrForm::guarded([this] { BSearchClick(); }); });
    connect(Bok, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(BCancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    connect(ListData, &forms::DbGrid::gridDoubleClicked, this, [this] { done(QDialog::Accepted); });
    connect(ListData, &forms::DbGrid::titleClicked, this, [this](int column) {
        forms::TFrForm::guarded([&] {
            if (data::Field* f = ListData->queryModel()->fieldOf(column))
                ListDataTitleBtnClick(*f);
        });
    });
    for (QWidget* w :
         std::initializer_list<QWidget*>{SCode, SName, SSurname, BSearch, Bok, BCancel, ListData})
        w->installEventFilter(this);
}

TF_SearchSalesman::~TF_SearchSalesman() {
    delete ListData;  // the grid goes before the query it shows
    ListData = nullptr;
}

void TF_SearchSalesman::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        forms::fixSizeAndCentre(this);
        forms::TFrForm::guarded([this] { FormShow(); });
    }
}

void TF_SearchSalesman::FormShow() {
    SalesmanSortKey = 0;
    SCode->clear();
    SName->clear();
    SSurname->clear();
    QSearch.close();
    SName->setFocus();
}

void TF_SearchSalesman::BSearchClick() {
    QSearch.close();
    QSearch.setSql({fragment("QSearch.Select"), fragment("QSearch.Join"), WhereLine(),
                    OrderLine(SalesmanSortKey)});
    using forms::TFrSearch;
    QSearch.paramByName(QStringLiteral("SCode"))
        .setAsString(TFrSearch::LikeLiteral(SCode->text()) + QStringLiteral("%"));
    QSearch.paramByName(QStringLiteral("SName"))
        .setAsString(QStringLiteral("%") + TFrSearch::LikeLiteral(SName->text()) +
                     QStringLiteral("%"));
    QSearch.paramByName(QStringLiteral("SSurname"))
        .setAsString(QStringLiteral("%") + TFrSearch::LikeLiteral(SSurname->text()) +
                     QStringLiteral("%"));
    QSearch.open();
    if (!QSearch.isEmpty()) {
        ListData->setFocus();
        QSearch.first();
        ListData->syncToQuery();
    }
}

void TF_SearchSalesman::ListDataTitleBtnClick(data::Field& field) {
    const QString upper = field.name().toUpper();
    if (upper == QStringLiteral("CODE"))
        SalesmanSortKey = 0;
    else if (upper == QStringLiteral("NAME"))
        SalesmanSortKey = 1;
    else if (upper == QStringLiteral("SURNAME"))
        SalesmanSortKey = 2;
    else if (upper == QStringLiteral("DESCRIPTION"))
        SalesmanSortKey = 3;
    // No new search: the next one uses the order.
}

void TF_SearchSalesman::done(int result) {
    if (result == QDialog::Accepted && QSearch.isOpen() && !QSearch.isEmpty())
        ChosenCode = QSearch.fieldByName(QStringLiteral("Code")).asString().trimmed();
    else
        ChosenCode.clear();
    QSearch.close();
    QDialog::done(result);
}

bool TF_SearchSalesman::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    bool consumed = false;
    forms::TFrForm::guarded([&] {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            consumed = true;  // the Enter character itself goes nowhere
            if (watched == ListData)
                done(QDialog::Accepted);
            else
                BSearchClick();
        } else if (key == Qt::Key_Escape) {
            consumed = true;
            done(QDialog::Rejected);
        }
    });
    return consumed;
}

void TF_SearchSalesman::mouseDoubleClickEvent(QMouseEvent* event) {
    QDialog::mouseDoubleClickEvent(event);
    done(QDialog::Accepted);
}

TF_SearchSalesman* F_SearchSalesman() {
    return KeptWindow<TF_SearchSalesman>::get();
}

void releaseF_SearchSalesman() {
    KeptWindow<TF_SearchSalesman>::release();
}

}  // namespace md::masters
