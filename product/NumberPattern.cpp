#include "product/NumberPattern.h"

#include <QLocale>
#include <QStringList>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace md::product {

namespace {

// The digits of a non-negative value written from 15 significant digits (what a double holds
// reliably), so that 1.005 is seen as the 1.005 the user typed and not as 1.00499999....
struct Digits {
    std::string integer;   // without leading zeros; empty for a value below one
    std::string fraction;  // as many as the value has, trailing zeros removed
};

Digits digitsOf(double magnitude) {
    Digits d;
    if (!(magnitude > 0) || !std::isfinite(magnitude))
        return d;
    char buffer[64];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
    if (ec != std::errc())
        return d;
    const std::string sci(buffer, end);
    const size_t ePos = sci.find('e');
    const int exponent = std::atoi(sci.c_str() + ePos + 1);
    std::string mantissa;
    for (size_t i = 0; i < ePos; ++i) {
        if (sci[i] != '.')
            mantissa += sci[i];
    }
    if (exponent >= 0) {
        const size_t intDigits = size_t(exponent) + 1;
        if (mantissa.size() < intDigits)
            mantissa.resize(intDigits, '0');
        d.integer = mantissa.substr(0, intDigits);
        d.fraction = mantissa.substr(intDigits);
    } else {
        d.fraction = std::string(size_t(-exponent - 1), '0') + mantissa;
    }
    while (!d.fraction.empty() && d.fraction.back() == '0')
        d.fraction.pop_back();
    const size_t first = d.integer.find_first_not_of('0');
    d.integer = first == std::string::npos ? std::string() : d.integer.substr(first);
    return d;
}

// Keeps `places` decimals, adding one unit of the last kept digit when the first dropped digit
// is 5 or more.
void roundTo(Digits& d, int places) {
    if (int(d.fraction.size()) <= places)
        return;
    const bool up = d.fraction[size_t(places)] >= '5';
    d.fraction.resize(size_t(places));
    if (up) {
        std::string all = d.integer + d.fraction;
        int i = int(all.size()) - 1;
        while (i >= 0 && all[size_t(i)] == '9') {
            all[size_t(i)] = '0';
            --i;
        }
        if (i >= 0)
            ++all[size_t(i)];
        else
            all.insert(all.begin(), '1');
        const size_t intDigits = all.size() - d.fraction.size();
        d.integer = all.substr(0, intDigits);
        d.fraction = all.substr(intDigits);
    }
    while (!d.fraction.empty() && d.fraction.back() == '0')
        d.fraction.pop_back();
    const size_t first = d.integer.find_first_not_of('0');
    d.integer = first == std::string::npos ? std::string() : d.integer.substr(first);
}

bool isDigitMark(QChar c) {
    return c == u'#' || c == u'0';
}

// One section of a pattern, read once.
struct Section {
    QString prefix;
    QString suffix;
    int intRequired = 0;    // digits the integer part always shows
    int fracRequired = 0;   // decimals always shown
    int fracMax = 0;        // decimals at most
    bool grouping = false;  // thousands separators

    explicit Section(const QString& text) {
        qsizetype first = -1;
        qsizetype last = -1;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (first < 0 && (isDigitMark(c) || c == u'.' || c == u','))
                first = i;
            if (isDigitMark(c))
                last = i;
        }
        if (first < 0 || last < first) {
            prefix = text;
            return;
        }
        prefix = text.left(first);
        suffix = text.mid(last + 1);
        const QString body = text.mid(first, last - first + 1);
        const qsizetype point = body.indexOf(u'.');
        const QString integerPart = point < 0 ? body : body.left(point);
        const QString fractionPart = point < 0 ? QString() : body.mid(point + 1);
        grouping = integerPart.contains(u',');
        bool required = false;
        for (const QChar c : integerPart) {
            if (c == u'0')
                required = true;
            if (required && isDigitMark(c))
                ++intRequired;
        }
        for (const QChar c : fractionPart) {
            if (!isDigitMark(c))
                continue;
            ++fracMax;
            if (c == u'0')
                fracRequired = fracMax;
        }
    }

    // The digits of a magnitude already rounded to fracMax decimals.
    QString write(Digits d, bool minus, const NumberSeparators& separators) const {
        std::string integer = d.integer;
        if (int(integer.size()) < intRequired)
            integer.insert(0, size_t(intRequired) - integer.size(), '0');
        std::string fraction = d.fraction;
        if (int(fraction.size()) < fracRequired)
            fraction.resize(size_t(fracRequired), '0');

        QString out = prefix;
        if (minus)
            out += u'-';
        const QString digits = QString::fromLatin1(integer.data(), qsizetype(integer.size()));
        if (grouping && !separators.group.isEmpty()) {
            for (qsizetype i = 0; i < digits.size(); ++i) {
                if (i > 0 && (digits.size() - i) % 3 == 0)
                    out += separators.group;
                out += digits.at(i);
            }
        } else {
            out += digits;
        }
        if (!fraction.empty()) {
            out += separators.decimal;
            out += QString::fromLatin1(fraction.data(), qsizetype(fraction.size()));
        }
        return out + suffix;
    }
};

}  // namespace

NumberSeparators NumberSeparators::workstation() {
    const QLocale system = QLocale::system();
    NumberSeparators s;
    s.group = system.groupSeparator();
    s.decimal = system.decimalPoint();
    return s;
}

QString FormatNumber(const QString& pattern, double value, const NumberSeparators& separators) {
    const QStringList sections = pattern.split(u';');
    const Section positive(sections.at(0));
    const bool negative = value < 0;

    Digits magnitude = digitsOf(std::fabs(value));
    if (negative && sections.size() > 1) {
        const Section minus(sections.at(1));
        Digits rounded = magnitude;
        roundTo(rounded, minus.fracMax);
        if (!rounded.integer.empty() || !rounded.fraction.empty())
            return minus.write(rounded, false, separators);
    }
    roundTo(magnitude, positive.fracMax);
    const bool zero = magnitude.integer.empty() && magnitude.fraction.empty();
    return positive.write(magnitude, negative && !zero, separators);
}

}  // namespace md::product
