#include "masters/Fr_CurrencyEx.h"

#include "data/Connection.h"
#include "data/Dm_Config.h"
#include "data/Prompts.h"
#include "data/U_DM.h"
#include "data/statements/Statements.h"
#include "forms/CalcGrid.h"
#include "forms/DataControls.h"
#include "masters/Fr_CopyExchange.h"
#include "util/Utility.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>

namespace md::masters {

namespace {

QStringList sqlOf(const char* component) {
    return statements::text(QStringLiteral("Fr_CurrencyEx"), QString::fromLatin1(component));
}

data::Connection* companyConnection() {
    return data::DM ? &data::DM->DMdata : nullptr;
}

QDateTime wholeDay(const QDate& date) {
    return QDateTime(date, QTime(0, 0));
}

double rounded(double value) {
    return util::RoundHalfUp(TFrCurrencyEx::RatePrecision, TFrCurrencyEx::RateDecimals, value);
}

// The shortest decimal text of a number, which two roundings are compared by.
QString shortest(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

// The six number columns of the grid: field, title, editor.
struct RateColumn {
    const char* field;
    const char16_t* title;
    const char* editor;
};
constexpr RateColumn kRateColumns[] = {
    {"PurcScrap", u"ยอดเต็มซื้อ", "RxPurcScrap"}, {"PurcPart", u"ยอดหารซื้อ", "RxPurcPart"},
    {"PurcRate", u"ราคาชื้อ", "RxPurcRate"},     {"SaleScrap", u"ยอดเต็มขาย", "RxSaleScrap"},
    {"SalePart", u"ยอดหารขาย", "RxSalePart"},  {"SaleRate", u"ราคาขาย", "RxSaleRate"},
};

}  // namespace

TFrCurrencyEx::TFrCurrencyEx(QWidget* parent)
    : TFrForm(parent),
      QRate(companyConnection(), sqlOf("QRate")),
      QSave(companyConnection(), sqlOf("QSave")),
      QDelete(companyConnection(), sqlOf("QDelete")),
      SQLUpdate(companyConnection(), sqlOf("SQLUpdate")) {
    setObjectName(QStringLiteral("FrCurrencyEx"));
    USave.insertSql = sqlOf("USave.Insert");
    USave.modifySql = sqlOf("USave.Modify");

    auto* layout = new QVBoxLayout(clientArea());
    layout->setContentsMargins(4, 4, 4, 4);
    auto* top = new QHBoxLayout;
    LabelDate = new QLabel(QStringLiteral(u"วันที่"), clientArea());
    LabelDate->setObjectName(QStringLiteral("LabelDate"));
    DBDATETIME = new forms::TDBDateEdit(clientArea());
    DBDATETIME->setObjectName(QStringLiteral("DBDATETIME"));
    DBDATETIME->setFixedWidth(120);
    LabelDate->setBuddy(DBDATETIME);
    InternationalCurrency = new QLabel(clientArea());
    InternationalCurrency->setObjectName(QStringLiteral("InternationalCurrency"));
    top->addWidget(LabelDate);
    top->addWidget(DBDATETIME);
    top->addSpacing(24);
    top->addWidget(InternationalCurrency);
    top->addStretch(1);
    layout->addLayout(top);

    wwDBGrid1 = new forms::CalcGrid(clientArea());
    wwDBGrid1->setObjectName(QStringLiteral("wwDBGrid1"));
    wwDBGrid1->setQuery(&QRate);
    wwDBGrid1->queryModel()->setReadOnly(false);
    // Widths are counted in characters (40 for the name, 10 per number); where the seven do not
    // fit the window beside a vertical scroll bar, a number column keeps room for its title and
    // the name column takes what is left.
    const QFontMetrics metrics = wwDBGrid1->fontMetrics();
    const int charWidth = metrics.averageCharWidth();
    const int room = 632 - 2 * 4 - 2 * wwDBGrid1->frameWidth() -
                     wwDBGrid1->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    int numberWidth = 10 * charWidth;
    int nameWidth = 40 * charWidth;
    if (nameWidth + 6 * numberWidth > room) {
        int titles = 0;
        for (const RateColumn& c : kRateColumns)
            titles = qMax(titles, metrics.horizontalAdvance(QString::fromUtf16(c.title)) + 10);
        numberWidth = qMin(numberWidth, qMax(titles, room / 10));
        nameWidth = qMax(room - 6 * numberWidth, 15 * charWidth);
    }
    std::vector<forms::GridColumn> columns{
        {QStringLiteral("Description"), QStringLiteral(u"สกุลเงิน"), nameWidth, true}};
    for (const RateColumn& c : kRateColumns) {
        columns.push_back(
            {QString::fromLatin1(c.field), QString::fromUtf16(c.title), numberWidth, false});
    }
    wwDBGrid1->setColumns(columns);
    for (int i = 0; i < int(std::size(kRateColumns)); ++i)
        wwDBGrid1->setCalcColumn(i + 1, EditDecimals, QString::fromLatin1(kRateColumns[i].editor));
    wwDBGrid1->verticalHeader()->hide();
    layout->addWidget(wwDBGrid1, 1);

    connect(wwDBGrid1, &forms::CalcGrid::cellCommitted, this,
            [this](int row, int column) { guarded([&] { cellCommitted(row, column); }); });
    connect(wwDBGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                // A row or cell chosen in the grid is edited in place.
                if (current.isValid() && QRate.isOpen() && !NoCurrencies)
                    guarded([this] { QRate.edit(); });
            });
    connect(qApp, &QApplication::focusChanged, this, &TFrCurrencyEx::focusMoved);
}

TFrCurrencyEx::~TFrCurrencyEx() {
    disconnect(qApp, &QApplication::focusChanged, this, &TFrCurrencyEx::focusMoved);
}

bool TFrCurrencyEx::thai() const {
    return data::DMConfig && data::DMConfig->LanguageThai;
}

void TFrCurrencyEx::FormShow() {
    data::DM->DMdata.open();
    setWindowTitle((data::DMConfig ? data::DMConfig->MenuCaption.trimmed() : QString()) +
                   QStringLiteral(" (21.12.08)"));
    setStatusText(0, data::DMConfig ? data::DMConfig->CompanyNameThai : QString());
    // Older company databases get the full-amount and divisor columns here.
    SQLUpdate.execute();
    TFrForm::FormShow();
    AcNewExecute();
}

void TFrCurrencyEx::setCopyButtonVisible(bool on) {
    for (QAction* a : ToolBar1->actions()) {
        if (ToolBar1->widgetForAction(a) == BCopy)
            a->setVisible(on);
    }
}

void TFrCurrencyEx::AcNewExecute() {
    TFrForm::AcNewExecute();
    setKeyPreview(true);
    const QDate today = QDate::currentDate();
    LoadRates(today);
    DBDATETIME->setDate(today);
    DBDATETIME->setFocus();
    setCopyButtonVisible(true);
    AcSave->setEnabled(true);
    AcDel->setEnabled(!NoCurrencies);
    InternationalCurrency->setText(QStringLiteral(u"สกุลสากล : ") +
                                   (data::DM ? data::DM->InternationalCurrencyName : QString()));
}

void TFrCurrencyEx::LoadRates(const QDate& date) {
    wwDBGrid1->commitEditor();
    QRate.close();
    QRate.paramByName(QStringLiteral("GDATE")).setAsDateTime(wholeDay(date));
    QRate.open();
    loaded_ = date;
    NoCurrencies = QRate.isEmpty();
    // Editing an empty result would start a row without a currency.
    if (!NoCurrencies) {
        QRate.edit();
        wwDBGrid1->setCurrentIndex(wwDBGrid1->model()->index(0, 1));
    }
}

QDate TFrCurrencyEx::boxDate() const {
    if (DBDATETIME->isEmptyDate())
        return QDate::currentDate();
    return DBDATETIME->date();
}

bool TFrCurrencyEx::inGrid(const QWidget* w) const {
    return w && (w == wwDBGrid1 || wwDBGrid1->isAncestorOf(w));
}

void TFrCurrencyEx::focusMoved(QWidget* from, QWidget* to) {
    if (!to || to->window() != this)
        return;
    // A focus coming back from a dialog is no move within the window; one coming back from
    // the date box's calendar is, so that a date picked there is read.
    const bool fromHere =
        from && (from->window() == this ||
                 (from->window()->windowType() == Qt::Popup && from->window()->parentWidget() &&
                  from->window()->parentWidget()->window() == this));
    guarded([&] {
        const bool intoGrid = inGrid(to);
        setKeyPreview(!intoGrid);
        if (intoGrid && QRate.isOpen() && !NoCurrencies)
            QRate.edit();
        if (!fromHere)
            return;
        if (to == DBDATETIME && from != DBDATETIME) {
            const QDate d = boxDate();
            if (d.isValid())
                LoadRates(d);
        } else if (from == DBDATETIME && to != DBDATETIME) {
            dateBoxLeft();
        }
    });
}

void TFrCurrencyEx::dateBoxLeft() {
    if (DBDATETIME->isEmptyDate())
        DBDATETIME->setDate(QDate::currentDate());
    const QDate d = boxDate();
    // A text that is no date has been refused by the box, which takes the focus back.
    if (d.isValid())
        LoadRates(d);
}

bool TFrCurrencyEx::takeBoxDate() {
    if (!DBDATETIME->commitText())
        return false;
    if (DBDATETIME->isEmptyDate())
        DBDATETIME->setDate(QDate::currentDate());
    const QDate d = boxDate();
    if (!d.isValid())
        return false;
    if (d != loaded_)
        LoadRates(d);
    return true;
}

void TFrCurrencyEx::cellCommitted(int row, int column) {
    const data::Field* f = wwDBGrid1->queryModel()->fieldOf(column);
    if (!f || !QRate.isOpen())
        return;
    if (QRate.recNo() != row)
        QRate.moveTo(row);
    const QString name = f->name();
    if (name.compare(QStringLiteral("PurcScrap"), Qt::CaseInsensitive) == 0 ||
        name.compare(QStringLiteral("PurcPart"), Qt::CaseInsensitive) == 0)
        ScrapOrPartExit(true);
    else if (name.compare(QStringLiteral("SaleScrap"), Qt::CaseInsensitive) == 0 ||
             name.compare(QStringLiteral("SalePart"), Qt::CaseInsensitive) == 0)
        ScrapOrPartExit(false);
    else if (name.compare(QStringLiteral("PurcRate"), Qt::CaseInsensitive) == 0)
        RateExit(true);
    else if (name.compare(QStringLiteral("SaleRate"), Qt::CaseInsensitive) == 0)
        RateExit(false);
    QAbstractItemModel* model = wwDBGrid1->model();
    emit model->dataChanged(model->index(row, 0), model->index(row, model->columnCount() - 1));
}

void TFrCurrencyEx::ScrapOrPartExit(bool purchase) {
    if (!QRate.isOpen())
        return;
    QRate.edit();
    const QString side = purchase ? QStringLiteral("Purc") : QStringLiteral("Sale");
    const double scrap = QRate.fieldByName(side + QStringLiteral("Scrap")).asFloat();
    const double part = QRate.fieldByName(side + QStringLiteral("Part")).asFloat();
    if (scrap > 0 && part > 0)
        QRate.fieldByName(side + QStringLiteral("Rate")).setAsFloat(rounded(scrap / part));
}

void TFrCurrencyEx::RateExit(bool purchase) {
    if (!QRate.isOpen())
        return;
    QRate.edit();
    const QString side = purchase ? QStringLiteral("Purc") : QStringLiteral("Sale");
    const double scrap = QRate.fieldByName(side + QStringLiteral("Scrap")).asFloat();
    const double part = QRate.fieldByName(side + QStringLiteral("Part")).asFloat();
    const double rate = QRate.fieldByName(side + QStringLiteral("Rate")).asFloat();
    if (part > 0 && shortest(rounded(rate)) == shortest(rounded(scrap / part)))
        return;
    // A rate typed by hand cancels the amount and divisor it no longer agrees with.
    QRate.fieldByName(side + QStringLiteral("Scrap")).setAsFloat(0);
    QRate.fieldByName(side + QStringLiteral("Part")).setAsFloat(0);
}

void TFrCurrencyEx::saveCurrentRow(const QDate& date) {
    const qint64 currency = QRate.fieldByName(QStringLiteral("MCurrency")).asInteger();
    QSave.close();
    QSave.paramByName(QStringLiteral("GDATE")).setAsDateTime(wholeDay(date));
    QSave.paramByName(QStringLiteral("GNO")).setAsInteger(currency);
    QSave.open();
    QSave.edit();  // a new row when the currency has no rate for the date
    QSave.fieldByName(QStringLiteral("ExchangeDate")).setAsDateTime(wholeDay(date));
    QSave.fieldByName(QStringLiteral("Currency")).setAsInteger(currency);
    for (const RateColumn& c : kRateColumns) {
        const QString name = QString::fromLatin1(c.field);
        QSave.fieldByName(name).setAsFloat(rounded(QRate.fieldByName(name).asFloat()));
    }
    QSave.applyUpdates(USave);
}

void TFrCurrencyEx::AcSaveExecute() {
    // An entry still in its cell editor is part of what is saved.
    wwDBGrid1->commitEditor();
    if (!takeBoxDate())
        return;
    if (NoCurrencies) {
        data::prompts().information(
            thai() ? QStringLiteral(u"ไม่มีรหัสสกุลเงิน จึงไม่มีอัตราแลกเปลี่ยนให้จัดเก็บ")
                   : QStringLiteral("There are no currency codes, so there are no rates to save."));
        return;
    }
    if (!data::DM->AskYesNo(data::DMConfig ? data::DMConfig->SaveConfirmText : QString()))
        return;
    const QDate date = boxDate();
    const int row = QRate.recNo();
    std::exception_ptr error;
    {
        data::TransactionGuard transaction(data::DM->DMdata);
        wwDBGrid1->setUpdatesEnabled(false);
        try {
            for (QRate.first(); !QRate.eof(); QRate.next())
                saveCurrentRow(date);
            QSave.commitUpdates();
            QSave.close();
            transaction.commit();
        } catch (...) {
            error = std::current_exception();
        }
        wwDBGrid1->setUpdatesEnabled(true);
    }  // not committed: none of the date's rates changed
    if (error) {
        // The entries stay in the grid for another try.
        QSave.close();
        wwDBGrid1->queryModel()->syncFetched();
        if (row >= 0)
            QRate.moveTo(row);
        QRate.edit();
        std::rethrow_exception(error);
    }
    AcNewExecute();
}

void TFrCurrencyEx::AcDelExecute() {
    wwDBGrid1->commitEditor();
    if (!takeBoxDate())
        return;
    if (!data::DM->AskYesNo(data::DMConfig ? data::DMConfig->DeleteConfirmText : QString()))
        return;
    {
        data::TransactionGuard transaction(data::DM->DMdata);
        QDelete.paramByName(QStringLiteral("GDATE")).setAsDateTime(wholeDay(boxDate()));
        QDelete.execSql();
        transaction.commit();
    }  // a failure rolls back here and goes on to the error handler
    AcNewExecute();
}

void TFrCurrencyEx::AcCopyExecute() {
    wwDBGrid1->commitEditor();
    if (!takeBoxDate())
        return;
    if (!copy_)
        copy_ = new TFrCopyExchange(this);
    copy_->TargetDate = boxDate();
    if (copy_->exec() == QDialog::Accepted)
        AcNewExecute();
}

}  // namespace md::masters
