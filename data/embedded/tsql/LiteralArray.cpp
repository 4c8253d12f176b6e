#include "data/embedded/tsql/LiteralArray.h"

namespace md::tsql {
namespace {

using namespace Qt::StringLiterals;

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// A number literal as JSON writes the same value: digits with at most one '.' between digits
// (leading zeros of the integer part dropped, which SQLite ignores too). Integers are kept to
// 18 digits so both read them as the same 64-bit integer, never as a float.
std::optional<QString> jsonNumber(QStringView text) {
    bool negative = false;
    if (text.startsWith(u"(-") && text.endsWith(u')')) {
        negative = true;
        text = text.mid(2, text.size() - 3);
    }
    const qsizetype dot = text.indexOf(u'.');
    QStringView whole = dot < 0 ? text : text.left(dot);
    const QStringView fraction = dot < 0 ? QStringView() : text.mid(dot + 1);
    if (whole.isEmpty() || (dot >= 0 && fraction.isEmpty()))
        return std::nullopt;
    for (QStringView part : {whole, fraction}) {
        for (QChar c : part) {
            if (!isDigit(c))
                return std::nullopt;
        }
    }
    while (whole.size() > 1 && whole.front() == u'0')
        whole = whole.mid(1);
    if (dot < 0 && whole.size() > 18)
        return std::nullopt;
    QString out;
    if (negative)
        out += u'-';
    out += whole;
    if (dot >= 0)
        out += u'.' + fraction.toString();
    return out;
}

// Appends a quoted SQLite text as a JSON string, inside the SQLite literal being built (whose
// own quotes are doubled). False when it is not one well-formed literal or holds a NUL, which
// SQLite's JSON reader would end the text at.
bool appendJsonString(QStringView literal, QString& out) {
    if (literal.size() < 2 || literal.front() != u'\'' || literal.back() != u'\'')
        return false;
    out += u'"';
    const QStringView body = literal.mid(1, literal.size() - 2);
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body[i];
        if (c == u'\'') {
            if (i + 1 >= body.size() || body[i + 1] != u'\'')
                return false;
            ++i;
            out += u"''"_s;
        } else if (c == u'"' || c == u'\\') {
            out += u'\\';
            out += c;
        } else if (c == u'\n') {
            out += u"\\n"_s;
        } else if (c == u'\r') {
            out += u"\\r"_s;
        } else if (c == u'\t') {
            out += u"\\t"_s;
        } else if (c.unicode() == 0) {
            return false;
        } else if (c.unicode() < 0x20) {
            out += u"\\u00"_s + QString::number(c.unicode(), 16).rightJustified(2, u'0');
        } else {
            out += c;
        }
    }
    out += u'"';
    return true;
}

}  // namespace

void LiteralArray::add(QStringView literal) {
    if (spoiled_)
        return;
    if (!empty_)
        json_ += u',';
    empty_ = false;
    if (literal == u"NULL") {
        json_ += u"null"_s;
    } else if (literal.startsWith(u'\'')) {
        spoiled_ = !appendJsonString(literal, json_);
    } else if (const auto n = jsonNumber(literal)) {
        json_ += *n;
    } else {
        spoiled_ = true;
    }
    if (spoiled_)
        json_.clear();
}

std::optional<QString> LiteralArray::literal() const {
    if (spoiled_)
        return std::nullopt;
    return json_ + u"]'"_s;
}

}  // namespace md::tsql
