#pragma once

// Dates shown and typed anywhere in the program: day, month, four-digit year, whatever the
// workstation's regional short-date setting says.

#include <QDate>
#include <QString>

namespace md::app {

// "dd/MM/yyyy" in Qt's pattern language.
QString ShortDateFormat();

// Makes the process-wide default locale one whose short date format is ShortDateFormat(), so
// that QLocale().toString(date, QLocale::ShortFormat) and QLocale().toDate(text,
// QLocale::ShortFormat) use it too. Done once at start-up, before any window exists.
void SetShortDateFormat();

QString FormatShortDate(const QDate& date);
// Reads a date typed as dd/mm/yyyy (one- or two-digit day and month allowed); an invalid date
// when the text is not one.
QDate ParseShortDate(const QString& text);

}  // namespace md::app
