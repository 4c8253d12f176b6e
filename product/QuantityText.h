#pragma once

// The quantity text: a stock quantity, counted in the product's smallest unit, written as whole
// stock units with the stock unit's name and then the remainder with the smallest unit's name,
// behind "- " for negative stock ("2 โหล 1 ชิ้น").

#include "product/NumberPattern.h"

#include <QString>
#include <optional>

namespace md::product {

// The units of one product as the quantity queries read them.
struct QuantityUnits {
    // Fraction of the stock unit (smallest units in one stock unit); empty when the product has
    // no stock unit.
    std::optional<double> stockFraction;
    QString stockName;
    QString smallName;
};

// The text of quantity `q`. A product without a stock unit shows the quantity once, in the
// smallest unit, as a product whose stock unit is its smallest unit would.
QString QuantityText(double q, const QuantityUnits& units, const NumberSeparators& separators);

// The text shown when the quantity query found no row (an unknown product).
inline QString QuantityErrorText() {
    return QStringLiteral("Error");
}

}  // namespace md::product
