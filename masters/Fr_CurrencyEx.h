#pragma once

// The exchange rates of a day (keyword EXCHANGE): for the date in the box, one purchase and one
// sale rate for every currency the company uses, each typed directly or worked out from a full
// amount and a divisor. The grid lists every currency with its rates of that date (zeros where
// none is stored); its entries stay in the grid's buffer until Save writes every currency's row
// of that date in one transaction, updating a row that exists and adding one that does not.
// Delete removes a whole date; Copy (TFrCopyExchange) fills the date from another one.

#include "data/Query.h"
#include "data/SqlScript.h"
#include "data/UpdateSql.h"
#include "forms/Fr_Form.h"

#include <QDate>

class QLabel;

namespace md::forms {
class CalcGrid;
class TDBDateEdit;
}  // namespace md::forms

namespace md::masters {

class TFrCopyExchange;

class TFrCurrencyEx : public forms::TFrForm {
    Q_OBJECT
  public:
    explicit TFrCurrencyEx(QWidget* parent = nullptr);
    ~TFrCurrencyEx() override;

    // The decimals every amount, divisor and rate is written with (the columns' scale), and the
    // significant digits the rounding reads the value with.
    static constexpr int RateDecimals = 6;
    static constexpr int RatePrecision = 15;
    // Decimals the calculator editors take.
    static constexpr int EditDecimals = 7;

    QLabel* LabelDate;
    forms::TDBDateEdit* DBDATETIME;
    QLabel* InternationalCurrency;
    forms::CalcGrid* wwDBGrid1;

    // The grid's data set (every currency with its rates of one date) and the writing data set
    // (one CurrencyEx row) with its update statements, the delete of a date and the window's
    // schema script.
    data::Query QRate;
    data::Query QSave;
    data::UpdateSql USave;
    data::Query QDelete;
    data::SqlScript SQLUpdate;

    // The grid's data set came back empty: no currency codes exist.
    bool NoCurrencies = true;

    void FormShow() override;
    void AcNewExecute() override;
    void AcSaveExecute() override;
    void AcDelExecute() override;
    void AcCopyExecute() override;

    // Reads the rates of `date` into the grid; entries not saved are dropped.
    void LoadRates(const QDate& date);
    // The date the box stands for: the date typed, today when it is empty, a null date when its
    // text is no date.
    QDate boxDate() const;
    // The date whose rates the grid holds.
    QDate loadedDate() const { return loaded_; }

    // Leaving a calculator editor of the purchase or sale side.
    void ScrapOrPartExit(bool purchase);
    void RateExit(bool purchase);

    TFrCopyExchange* copyDialog() const { return copy_; }

  private:
    void focusMoved(QWidget* from, QWidget* to);
    bool inGrid(const QWidget* w) const;
    void cellCommitted(int row, int column);
    void dateBoxLeft();
    // Before Save, Delete or Copy: a date typed but not yet left is taken as leaving the box
    // would take it, so that the step acts on the date whose rates are on screen. False (the
    // user told) when the box holds no date.
    bool takeBoxDate();
    void saveCurrentRow(const QDate& date);
    void setCopyButtonVisible(bool on);
    bool thai() const;

    QDate loaded_;
    TFrCopyExchange* copy_ = nullptr;
};

}  // namespace md::masters
