#include "product/QuantityText.h"

#include <cmath>

namespace md::product {

namespace {

const QString kSinglePattern = QStringLiteral("###,###,##0.###### ");
const QString kWholePattern = QStringLiteral("###,###,##0 ");
const QString kRemainderPattern = QStringLiteral(" ######.###### ");

}  // namespace

QString QuantityText(double q, const QuantityUnits& units, const NumberSeparators& separators) {
    QString prefix;
    if (q < 0) {
        prefix = QStringLiteral("- ");
        q = -q;
    }
    // Fractions are whole numbers of smallest units; the stored value is read as one.
    const double f = units.stockFraction ? std::trunc(*units.stockFraction) : 0.0;

    QString text;
    if (f <= 0) {
        // Without a stock unit (or with one whose fraction cannot divide) every unit of the
        // quantity is a smallest unit: it is shown once, in that unit.
        text = FormatNumber(kSinglePattern, q, separators) + units.smallName;
    } else if (f == 1) {
        text = FormatNumber(kSinglePattern, q, separators) + units.stockName;
    } else {
        const double w = std::trunc(q / f);
        if (w != 0)
            text = FormatNumber(kWholePattern, w, separators) + units.stockName;
        const double r = q - w * f;
        if (r != 0)
            text += FormatNumber(kRemainderPattern, std::fabs(r), separators) + units.smallName;
    }
    if (text.isEmpty())
        text = QStringLiteral("0 ") + units.stockName;
    return prefix + text;
}

}  // namespace md::product
