#include "masters/Fr_CopyExchange.h"

#include "data/Connection.h"
#include "data/Dm_Config.h"
#include "data/Prompts.h"
#include "data/U_DM.h"
#include "data/statements/Statements.h"
#include "errors/TApplication.h"
#include "forms/DbGrid.h"
#include "forms/Fr_Form.h"
#include "masters/Fr_CurrencyEx.h"
#include "util/Utility.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <vector>

namespace md::masters {

namespace {

QStringList sqlOf(const char* component) {
    return statements::text(QStringLiteral("Fr_CopyExchange"), QString::fromLatin1(component));
}

data::Connection* companyConnection() {
    return data::DM ? &data::DM->DMdata : nullptr;
}

QDateTime wholeDay(const QDate& date) {
    return QDateTime(date, QTime(0, 0));
}

// A rate read from the source date, rounded to the column as it is written; NULL stays NULL.
QVariant rateToWrite(const QVariant& read) {
    if (read.isNull())
        return read;
    return util::RoundHalfUp(TFrCurrencyEx::RatePrecision, TFrCurrencyEx::RateDecimals,
                             read.toDouble());
}

}  // namespace

TFrCopyExchange::TFrCopyExchange(QWidget* parent)
    : QDialog(parent),
      QDate_(companyConnection(), sqlOf("QDate")),
      QDelete(companyConnection(), sqlOf("QDelete")),
      QSource(companyConnection(), sqlOf("QSource")),
      QTarget(companyConnection(), sqlOf("QTarget")) {
    setObjectName(QStringLiteral("FrCopyExchange"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral(u"คัดลอกการทำงาน"));
    UTarget.insertSql = sqlOf("UTarget.Insert");

    DgDate = new forms::DbGrid(this);
    DgDate->setObjectName(QStringLiteral("DgDate"));
    DgDate->setQuery(&QDate_);
    DgDate->setColumns({{QStringLiteral("ExchangeDate"), QStringLiteral(u"วันที่"), 290, true}});
    DgDate->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    DgDate->horizontalHeader()->setStretchLastSection(true);
    DgDate->verticalHeader()->hide();
    DgDate->setFixedWidth(310);

    QFont bold = font();
    bold.setBold(true);
    BtCopy = new QPushButton(QStringLiteral("Copy"), this);
    BtCopy->setObjectName(QStringLiteral("BtCopy"));
    BtCopy->setFont(bold);
    BtCopy->setDefault(true);
    BtCancel = new QPushButton(QStringLiteral(u"ยกเลิก"), this);
    BtCancel->setObjectName(QStringLiteral("BtCancel"));
    BtCancel->setFont(bold);
    BtCancel->setAutoDefault(false);
    LbTargetDate = new QLabel(this);
    LbTargetDate->setObjectName(QStringLiteral("LbTargetDate"));
    LbTargetDate->setAlignment(Qt::AlignCenter);

    auto* side = new QVBoxLayout;
    side->addWidget(BtCopy);
    side->addWidget(BtCancel);
    side->addSpacing(12);
    side->addWidget(LbTargetDate);
    side->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(DgDate);
    layout->addLayout(side);
    resize(460, 260);

    connect(BtCopy, &QPushButton::clicked, this, errors::Guarded([this] { BtCopyClick(); }));
    connect(BtCancel, &QPushButton::clicked, this, [this] { reject(); });

    // The dates are read once, all of them, for every later copy this dialog serves.
    QDate_.open();
    QDate_.recordCount();
    DgDate->queryModel()->syncFetched();
    DgDate->selectRecord(0);
}

bool TFrCopyExchange::thai() const {
    return data::DMConfig && data::DMConfig->LanguageThai;
}

void TFrCopyExchange::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        forms::TFrForm::guarded([this] { FormShow(); });
}

void TFrCopyExchange::FormShow() {
    copied_ = false;
    data::DM->DMdata.open();
    LbTargetDate->setText(TargetDate.toString(QStringLiteral("dd/MM/yyyy")));
    if (DgDate->selectedRow() < 0)
        DgDate->selectRecord(0);
    DgDate->setFocus();
}

QDate TFrCopyExchange::chosenDate() const {
    const int row = DgDate->selectedRow();
    if (row < 0 || !QDate_.isOpen() || row >= QDate_.fetchedCount())
        return {};
    return QDate_.valueAt(row, 0).toDateTime().date();
}

void TFrCopyExchange::BtCopyClick() {
    const QDate source = chosenDate();
    if (!source.isValid() || !TargetDate.isValid()) {
        data::prompts().information(thai() ? QStringLiteral(u"กรุณาเลือกวันที่ที่จะคัดลอก")
                                           : QStringLiteral("Choose the date to copy from."));
        return;
    }
    // Copying a date onto itself would first delete the very rates it is to copy.
    if (source == TargetDate) {
        data::prompts().information(
            thai() ? QStringLiteral(u"ไม่สามารถคัดลอกอัตราแลกเปลี่ยนไปยังวันที่เดียวกันได้")
                   : QStringLiteral("The rates of a date cannot be copied onto the same date."));
        return;
    }

    struct Rate {
        qint64 currency;
        QVariant purchase;
        QVariant sale;
    };
    data::TransactionGuard transaction(data::DM->DMdata);
    std::vector<Rate> rates;
    QSource.close();
    QSource.paramByName(QStringLiteral("GDATE")).setAsDateTime(wholeDay(source));
    QSource.open();
    for (QSource.first(); !QSource.eof(); QSource.next()) {
        rates.push_back({QSource.fieldByName(QStringLiteral("Currency")).asInteger(),
                         QSource.value(QStringLiteral("PurcRate")),
                         QSource.value(QStringLiteral("SaleRate"))});
    }
    QSource.close();
    // The target keeps its rates when there is nothing to put in their place.
    if (rates.empty()) {
        data::prompts().information(thai() ? QStringLiteral(u"วันที่ที่เลือกไม่มีอัตราแลกเปลี่ยน")
                                           : QStringLiteral("The chosen date has no rates."));
        return;
    }

    QDelete.paramByName(QStringLiteral("GDATE")).setAsDateTime(wholeDay(TargetDate));
    QDelete.execSql();
    for (const Rate& rate : rates) {
        QTarget.close();
        QTarget.paramByName(QStringLiteral("GDATE")).setAsDateTime(wholeDay(TargetDate));
        QTarget.paramByName(QStringLiteral("GCODE")).setAsInteger(rate.currency);
        QTarget.open();
        QTarget.edit();  // a new row: the target date's rows are gone
        QTarget.fieldByName(QStringLiteral("ExchangeDate")).setAsDateTime(wholeDay(TargetDate));
        QTarget.fieldByName(QStringLiteral("Currency")).setAsInteger(rate.currency);
        QTarget.fieldByName(QStringLiteral("PurcRate")).setValue(rateToWrite(rate.purchase));
        QTarget.fieldByName(QStringLiteral("SaleRate")).setValue(rateToWrite(rate.sale));
        QTarget.applyUpdates(UTarget);
    }
    transaction.commit();
    QTarget.commitUpdates();
    QTarget.close();
    copied_ = true;
}

void TFrCopyExchange::reject() {
    if (copied_)
        QDialog::accept();
    else
        QDialog::reject();
}

}  // namespace md::masters
