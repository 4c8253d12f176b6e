#pragma once

// Token streams a SQL Server sends back, built for the loopback listener (TDS 7.2 and later
// layouts): enough to log a client in and to answer a batch with integer results, row counts,
// errors and messages.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <vector>

namespace md::odbc::test::tds {

// DONE status bits.
constexpr quint16 kDoneFinal = 0x0000;
constexpr quint16 kDoneMore = 0x0001;
constexpr quint16 kDoneError = 0x0002;
constexpr quint16 kDoneCount = 0x0010;

// The tokens that accept a login: LOGINACK for TDS 7.4, then DONE.
QByteArray loginAccepted();

// A result of integer columns: its COLMETADATA and one ROW per row.
QByteArray intResult(const QStringList& columns, const std::vector<std::vector<int>>& rows);

// The end of one statement: DONE, or inside a procedure DONEINPROC, and DONEPROC at its end.
enum class End : char { Batch = char(0xFD), InProc = char(0xFF), Proc = char(0xFE) };
QByteArray done(quint16 status, quint64 rowCount = 0, End end = End::Batch);

// Put after the tokens of an answer, makes the listener send them and close the connection
// before the answer is complete.
QByteArray hangUp();

// An ERROR token (a message of severity above 10) or an INFO token (10 or below).
QByteArray message(int number, int state, int severity, const QString& text, int line = 1);

}  // namespace md::odbc::test::tds
