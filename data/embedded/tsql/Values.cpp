#include "data/embedded/tsql/Values.h"

#include "data/embedded/EngineConventions.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace md::tsql {
namespace {

bool validYear(int y) {
    return y >= 1753 && y <= 9999;
}

int expandYear(int y, int digits) {
    if (digits > 2)
        return y;
    return y < 50 ? 2000 + y : 1900 + y;  // SQL Server's two-digit year cutoff 2049
}

// Parses "hh:mm[:ss[.fff]][ AM|PM]" or "hh AM"; sets `ms` since midnight. Returns false when
// the text is not a time; `range` tells a well-formed time with an impossible value.
bool parseTime(QStringView text, qint64& ms, bool& range) {
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*(\d{1,2})(?::(\d{1,2})(?::(\d{1,2})(?:[.:](\d{1,9}))?)?)?\s*)"
                       R"((?:([AaPp])[Mm])?\s*$)"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return false;
    if (m.capturedView(2).isEmpty() && m.capturedView(5).isEmpty())
        return false;
    int h = m.capturedView(1).toInt();
    const int mi = m.capturedView(2).isEmpty() ? 0 : m.capturedView(2).toInt();
    const int s = m.capturedView(3).isEmpty() ? 0 : m.capturedView(3).toInt();
    int frac = 0;
    if (!m.capturedView(4).isEmpty()) {
        QString f = m.captured(4).left(3);
        while (f.size() < 3)
            f += u'0';
        frac = f.toInt();
    }
    const QStringView ampm = m.capturedView(5);
    if (!ampm.isEmpty()) {
        if (h > 12) {
            range = true;
            return true;
        }
        const bool pm = ampm.compare(u"p", Qt::CaseInsensitive) == 0;
        if (h == 12)
            h = 0;
        if (pm)
            h += 12;
    }
    if (h > 23 || mi > 59 || s > 59) {
        range = true;
        return true;
    }
    ms = ((h * 60LL + mi) * 60 + s) * 1000 + frac;
    return true;
}

DateTimeParse make(int y, int mo, int d, qint64 ms, bool rangeFault) {
    DateTimeParse r;
    const QDate date(y, mo, d);
    if (rangeFault || !validYear(y) || !date.isValid()) {
        r.status = DateTimeParse::OutOfRange;
        return r;
    }
    r.status = DateTimeParse::Ok;
    r.value = QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
    return r;
}

}  // namespace

DateTimeParse parseDateTime(QStringView input) {
    const QStringView text = input.trimmed();
    DateTimeParse invalid;
    if (text.isEmpty())
        return make(1900, 1, 1, 0, false);

    // yyyy-mm-ddThh:mm:ss[.fff]
    static const QRegularExpression iso(
        QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2})T(\d{1,2}:\d{1,2}:\d{1,2}(?:\.\d{1,9})?)$)"));
    // yyyy-mm-dd, yyyy/mm/dd, yyyy.mm.dd [time]
    static const QRegularExpression ymd(
        QStringLiteral(R"(^(\d{4})([-/.])(\d{1,2})\2(\d{1,2})(?:\s+(.*))?$)"));
    // yyyymmdd [time]
    static const QRegularExpression compact(
        QStringLiteral(R"(^(\d{4})(\d{2})(\d{2})(?:\s+(.*))?$)"));
    // mm/dd/yyyy, mm-dd-yy, mm.dd.yyyy [time]
    static const QRegularExpression mdy(
        QStringLiteral(R"(^(\d{1,2})([-/.])(\d{1,2})\2(\d{2}|\d{4})(?:\s+(.*))?$)"));

    qint64 ms = 0;
    bool range = false;
    auto timePart = [&](QStringView t) {
        if (t.isEmpty())
            return true;
        return parseTime(t, ms, range);
    };
    if (const auto m = iso.match(text); m.hasMatch()) {
        if (!parseTime(m.capturedView(4), ms, range))
            return invalid;
        return make(m.capturedView(1).toInt(), m.capturedView(2).toInt(), m.capturedView(3).toInt(),
                    ms, range);
    }
    if (const auto m = ymd.match(text); m.hasMatch()) {
        if (!timePart(m.capturedView(5)))
            return invalid;
        return make(m.capturedView(1).toInt(), m.capturedView(3).toInt(), m.capturedView(4).toInt(),
                    ms, range);
    }
    if (const auto m = compact.match(text); m.hasMatch()) {
        if (!timePart(m.capturedView(4)))
            return invalid;
        return make(m.capturedView(1).toInt(), m.capturedView(2).toInt(), m.capturedView(3).toInt(),
                    ms, range);
    }
    if (const auto m = mdy.match(text); m.hasMatch()) {
        if (!timePart(m.capturedView(5)))
            return invalid;
        const int y = expandYear(m.capturedView(4).toInt(), int(m.capturedView(4).size()));
        return make(y, m.capturedView(1).toInt(), m.capturedView(3).toInt(), ms, range);
    }
    if (parseTime(text, ms, range))
        return make(1900, 1, 1, ms, range);
    return invalid;
}

QString storageText(const QDateTime& value) {
    return value.toString(embedded::kDateTimeStorageFormat);
}

double roundHalfAway(double value, int digits) {
    // On the decimal the double stands for (2.675 is 2.675, not 2.67499999...), as SQL
    // Server's decimal arithmetic rounds it.
    const auto d = data::Decimal::fromDouble(value);
    if (!d)
        return value;
    const auto r = d->roundedAt(std::clamp(digits, -38, 38));
    return r ? r->toDouble() : value;
}

QString decimalText(double value, int scale) {
    const auto d = data::Decimal::fromDouble(value);
    if (!d)
        return QString::number(value, 'f', std::max(scale, 0));
    return decimalText(*d, scale);
}

QString decimalText(const data::Decimal& value, int scale) {
    const auto r = value.rescaled(std::max(scale, 0));
    return r ? r->toString() : value.toString();
}

QString moneyText(double value, int style) {
    if (style == 2 || style == 126)
        return decimalText(value, 4);
    QString plain = decimalText(value, 2);
    if (style != 1)
        return plain;
    const bool negative = plain.startsWith(u'-');
    if (negative)
        plain.remove(0, 1);
    const int dot = int(plain.indexOf(u'.'));
    QString whole = plain.left(dot);
    for (int i = int(whole.size()) - 3; i > 0; i -= 3)
        whole.insert(i, u',');
    return (negative ? QStringLiteral("-") : QString()) + whole + plain.mid(dot);
}

QString strText(double value, int length, int decimals) {
    if (length <= 0 || length > 8000)
        return {};
    if (decimals < 0)
        decimals = 0;
    if (decimals > 16)
        decimals = 16;
    for (int d = decimals; d >= 0; --d) {
        const QString s = decimalText(value, d);
        if (s.size() <= length)
            return s.rightJustified(length, u' ');
        // Drop decimals only while the integer part still fits.
        const QString whole = decimalText(value, 0);
        if (whole.size() > length)
            break;
    }
    return QString(length, u'*');
}

std::optional<double> parseNumber(QStringView input, bool integerOnly, bool allowExponent) {
    const QStringView text = input.trimmed();
    static const QRegularExpression intRe(QStringLiteral(R"(^[-+]?\d+$)"));
    static const QRegularExpression decRe(QStringLiteral(R"(^[-+]?(\d+\.?\d*|\.\d+)$)"));
    static const QRegularExpression floatRe(
        QStringLiteral(R"(^[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?$)"));
    const QRegularExpression& re = integerOnly ? intRe : allowExponent ? floatRe : decRe;
    if (!re.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

}  // namespace md::tsql
