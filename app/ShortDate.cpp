#include "app/ShortDate.h"

#include <QLocale>

namespace md::app {

QString ShortDateFormat() {
    return QStringLiteral("dd/MM/yyyy");
}

void SetShortDateFormat() {
    // British English writes short dates day first with a four-digit year and uses the same
    // decimal point and grouping as Thai.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
}

QString FormatShortDate(const QDate& date) {
    return date.isValid() ? date.toString(ShortDateFormat()) : QString();
}

QDate ParseShortDate(const QString& text) {
    const QString t = text.trimmed();
    QDate date = QDate::fromString(t, ShortDateFormat());
    if (!date.isValid())
        date = QDate::fromString(t, QStringLiteral("d/M/yyyy"));
    return date;
}

}  // namespace md::app
