#include "TdsTokens.h"

#include <QStringList>

namespace md::odbc::test::tds {

namespace {

void le16(QByteArray& out, quint32 v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void le32(QByteArray& out, quint32 v) {
    le16(out, v & 0xFFFF);
    le16(out, v >> 16);
}

void le64(QByteArray& out, quint64 v) {
    le32(out, quint32(v & 0xFFFFFFFFu));
    le32(out, quint32(v >> 32));
}

QByteArray ucs2(const QString& text) {
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// A text with a one-byte length in characters.
void bVarchar(QByteArray& out, const QString& text) {
    out += char(text.size());
    out += ucs2(text);
}

constexpr char kIntN = 0x26;

}  // namespace

QByteArray loginAccepted() {
    const QString name = QStringLiteral("Loopback");
    QByteArray ack;
    ack += char(0x01);                         // interface: T-SQL
    ack += QByteArray("\x74\x00\x00\x04", 4);  // TDS 7.4
    bVarchar(ack, name);
    ack += QByteArray("\x0F\x00\x07\xD0", 4);  // server version 15.0.2000
    QByteArray out;
    out += char(0xAD);
    le16(out, quint32(ack.size()));
    out += ack;
    return out + done(kDoneFinal);
}

QByteArray intResult(const QStringList& columns, const std::vector<std::vector<int>>& rows) {
    QByteArray out;
    out += char(0x81);
    le16(out, quint32(columns.size()));
    for (const QString& name : columns) {
        le32(out, 0);       // user type
        le16(out, 0x0001);  // nullable
        out += kIntN;
        out += char(4);
        bVarchar(out, name);
    }
    for (const std::vector<int>& row : rows) {
        out += char(0xD1);
        for (int value : row) {
            out += char(4);
            le32(out, quint32(value));
        }
    }
    return out;
}

QByteArray hangUp() {
    return QByteArrayLiteral("\0\0listener hangs up\0\0");
}

QByteArray done(quint16 status, quint64 rowCount, End end) {
    QByteArray out;
    out += char(end);
    le16(out, status);
    le16(out, 0xC1);  // the current command: a SELECT or DML statement, as the server says
    le64(out, rowCount);
    return out;
}

QByteArray message(int number, int state, int severity, const QString& text, int line) {
    QByteArray body;
    le32(body, quint32(number));
    body += char(state);
    body += char(severity);
    le16(body, quint32(text.size()));
    body += ucs2(text);
    bVarchar(body, QStringLiteral("LOOPBACK"));
    bVarchar(body, QString());
    le32(body, quint32(line));
    QByteArray out;
    out += char(severity > 10 ? 0xAA : 0xAB);
    le16(out, quint32(body.size()));
    return out + body;
}

}  // namespace md::odbc::test::tds
