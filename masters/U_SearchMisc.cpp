#include "masters/U_SearchMisc.h"

#include "data/U_DM.h"
#include "data/statements/Statements.h"
#include "forms/Fr_Form.h"
#include "forms/Fr_Search.h"
#include "masters/KeptWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

namespace md::masters {

QString TF_SearchMisc::LastSortField;
bool TF_SearchMisc::SortDescNext = false;

TF_SearchMisc::TF_SearchMisc(QWidget* parent)
    : QDialog(parent),
      QSearch(data::DM ? &data::DM->DMdata : nullptr,
              statements::text(QStringLiteral("U_SearchMisc"), QStringLiteral("QSearch"))) {
    setObjectName(QStringLiteral("F_SearchMisc"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    Label1 = new QLabel(QStringLiteral("รายละเอียด"), this);
    EnterString = new QLineEdit(this);
    EnterString->setObjectName(QStringLiteral("EnterString"));
    EnterString->setFixedWidth(371);
    top->addWidget(Label1);
    top->addWidget(EnterString);
    top->addStretch(1);
    layout->addLayout(top);
    auto* buttons = new QHBoxLayout;
    Bok = new QPushButton(QStringLiteral("เลือก"), this);
    Bok->setObjectName(QStringLiteral("Bok"));
    BCancel = new QPushButton(QStringLiteral("ไม่เลือก"), this);
    BCancel->setObjectName(QStringLiteral("BCancel"));
    for (QPushButton* b : {Bok, BCancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
    ListData = new forms::DbGrid(this);
    ListData->setObjectName(QStringLiteral("ListData"));
    ListData->setQuery(&QSearch);
    ListData->setColumns({{QStringLiteral("description"), QStringLiteral("รายละเอียด"), 300},
                          {QStringLiteral("code"), QStringLiteral("รหัส")}});
    ListData->verticalHeader()->setVisible(true);  // the row indicator
    ListData->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { color: blue; font-weight: bold; }"));
    layout->addWidget(ListData, 1);

    connect(Bok, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(BCancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    connect(ListData, &forms::DbGrid::gridDoubleClicked, this, [this] { done(QDialog::Accepted); });
    connect(ListData, &forms::DbGrid::titleClicked, this, [this](int column) {
        forms::TFrForm::guarded([&] {
            if (data::Field* f = ListData->queryModel()->fieldOf(column))
                ListDataTitleBtnClick(*f);
        });
    });
    for (QWidget* w : {static_cast<QWidget*>(EnterString), static_cast<QWidget*>(ListData),
                       static_cast<QWidget*>(Bok), static_cast<QWidget*>(BCancel)})
        w->installEventFilter(this);
}

TF_SearchMisc::~TF_SearchMisc() {
    delete ListData;  // the grid goes before the query it shows
    ListData = nullptr;
}

void TF_SearchMisc::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        forms::fixSizeAndCentre(this);
        forms::TFrForm::guarded([this] { FormShow(); });
    }
}

void TF_SearchMisc::FormShow() {
    EnterString->clear();
    QSearch.close();
    Search();
    EnterString->setFocus();
}

void TF_SearchMisc::Search() {
    QSearch.close();
    QSearch.paramByName(QStringLiteral("inputgroup")).setAsString(MiscGroup);
    QSearch.paramByName(QStringLiteral("inputname"))
        .setAsString(QStringLiteral("%") + forms::TFrSearch::LikeLiteral(EnterString->text()) +
                     QStringLiteral("%"));
    QSearch.open();
    if (!QSearch.isEmpty()) {
        ListData->setFocus();
        QSearch.first();
        ListData->syncToQuery();
    }
}

void TF_SearchMisc::ListDataTitleBtnClick(data::Field& field) {
    const QString upper = field.name().toUpper();
    if (forms::TFrSearch::IsBlobField(field) || upper == QStringLiteral("REMARK") ||
        upper == QStringLiteral("REFERENCE") || upper == QStringLiteral("MEMO"))
        return;
    QStringList lines = QSearch.sql();
    bool changed = false;
    for (QString& line : lines) {
        const int at = line.toUpper().indexOf(QStringLiteral("ORDER BY "));
        if (at < 0)
            continue;
        line = line.left(at) + QStringLiteral("Order By ") + QString::number(field.index() + 1);
        if (upper != LastSortField) {
            SortDescNext = true;
        } else {
            if (SortDescNext)
                line += QStringLiteral(" Desc");
            SortDescNext = !SortDescNext;
        }
        LastSortField = upper;
        changed = true;
    }
    if (changed)
        QSearch.setSql(lines);
    Search();
}

void TF_SearchMisc::done(int result) {
    if (result == QDialog::Accepted && QSearch.isOpen() && !QSearch.isEmpty()) {
        ChosenCode = QSearch.fieldByName(QStringLiteral("Code")).asString();
        ChosenDescription = QSearch.fieldByName(QStringLiteral("Description")).asString();
    } else {
        ChosenCode.clear();
        ChosenDescription.clear();
    }
    QSearch.close();
    QDialog::done(result);
}

bool TF_SearchMisc::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    bool consumed = false;
    forms::TFrForm::guarded([&] {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            consumed = true;
            if (watched == ListData) {
                done(QDialog::Accepted);
                return;
            }
            ListData->setFocus();
            if (watched == EnterString)
                Search();
        } else if (key == Qt::Key_Escape) {
            consumed = true;
            done(QDialog::Rejected);
        } else if (key == Qt::Key_Down && watched == EnterString) {
            consumed = true;
            ListData->setFocus();
        }
    });
    return consumed;
}

TF_SearchMisc* F_SearchMisc() {
    return KeptWindow<TF_SearchMisc>::get();
}

void releaseF_SearchMisc() {
    KeptWindow<TF_SearchMisc>::release();
}

}  // namespace md::masters
