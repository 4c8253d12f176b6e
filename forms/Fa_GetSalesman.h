#pragma once

// The salesman frame. The box accepts only active salesmen through its own filter
// "Status='Y'"; where an owner clears that filter, leaving the box refuses a suspended
// salesman with a message. F5 or the search button opens the salesman search, made on first
// use and kept for the rest of the run.

#include "data/Query.h"
#include "forms/KIdLookup.h"

#include <QString>
#include <functional>
#include <optional>

namespace md::forms {

class TFaGetSalesman : public TFaLookupFrame {
    Q_OBJECT
  public:
    explicit TFaGetSalesman(QWidget* parent = nullptr);

    QLabel* Label21;
    TKIdLookup* Salesman;
    QToolButton* BtSearchSalesman;
    QLabel* SalesmanName;

    // Reads the salesman whose code was typed, on the company connection.
    data::Query QSalesman;

    static QString SuspendedText() { return QStringLiteral("พนักงานขาย ถูกระงับไปแล้ว  !"); }

    void BoxExit() override { SalesmanExit(); }
    virtual void SalesmanExit();
    void SearchClick() override { BtSearchSalesmanClick(); }
    virtual void BtSearchSalesmanClick();

    // The salesman search (its ChosenCode, or nothing when cancelled); installed by the
    // searches module.
    using SearchRunner = std::function<std::optional<QString>(QWidget* owner)>;
    static void setSearchRunner(SearchRunner runner);
};

}  // namespace md::forms
