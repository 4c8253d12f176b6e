#include "data/embedded/tsql/TextRules.h"

#include "data/backend/DbError.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>
#include <QList>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace md::tsql {

using namespace Qt::StringLiterals;

TextCollator::TextCollator() {
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open("th", &status);
    if (U_FAILURE(status) || !collator_) {
        throw data::DbError(u"The Thai collation is not available: %1"_s.arg(
            QString::fromLatin1(u_errorName(status))));
    }
    // Thai's tailoring puts Thai script first; Windows keeps the default order of scripts:
    // digits, then Latin letters, then Thai.
    const int32_t defaultOrder[] = {UCOL_REORDER_CODE_NONE};  // DEFAULT is the tailoring's own
    ucol_setReorderCodes(collator_, defaultOrder, 1, &status);
    ucol_setStrength(collator_, UCOL_SECONDARY);
    ucol_setAttribute(collator_, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    ucol_setAttribute(collator_, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
}

TextCollator::~TextCollator() {
    if (collator_)
        ucol_close(collator_);
}

namespace {

bool isWordSortMark(char c) {
    return c == '-' || c == '\'';
}

bool hasWordSortMark(const char* s, int n) {
    return std::memchr(s, '-', size_t(n)) || std::memchr(s, '\'', size_t(n));
}

// The text without hyphens and apostrophes, and those marks in their order.
void splitMarks(const char* s, int n, std::string& text, std::string& marks) {
    text.clear();
    marks.clear();
    for (int i = 0; i < n; ++i)
        (isWordSortMark(s[i]) ? marks : text).push_back(s[i]);
}

}  // namespace

int TextCollator::compareUtf8(const char* a, int aLength, const char* b, int bLength) const {
    while (aLength > 0 && a[aLength - 1] == ' ')
        --aLength;
    while (bLength > 0 && b[bLength - 1] == ' ')
        --bLength;
    if (aLength == bLength && (aLength == 0 || std::equal(a, a + aLength, b)))
        return 0;
    if (hasWordSortMark(a, aLength) || hasWordSortMark(b, bLength)) {
        // Word sort: hyphens and apostrophes count only between texts that are otherwise
        // equal, and then a text without them comes first, an apostrophe before a hyphen.
        std::string ta, ma, tb, mb;
        splitMarks(a, aLength, ta, ma);
        splitMarks(b, bLength, tb, mb);
        const int c = compareText(ta.data(), int(ta.size()), tb.data(), int(tb.size()));
        if (c != 0)
            return c;
        const auto weight = [](char m) { return m == '\'' ? 1 : 2; };
        for (size_t i = 0; i < std::min(ma.size(), mb.size()); ++i) {
            if (ma[i] != mb[i])
                return weight(ma[i]) < weight(mb[i]) ? -1 : 1;
        }
        return ma.size() < mb.size() ? -1 : ma.size() > mb.size() ? 1 : 0;
    }
    return compareText(a, aLength, b, bLength);
}

int TextCollator::compareText(const char* a, int aLength, const char* b, int bLength) const {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(collator_, a, aLength, b, bLength, &status);
    if (U_FAILURE(status)) {
        // Invalid UTF-8: fall back to byte order, which is still a total order.
        const int n = std::min(aLength, bLength);
        const int c = n > 0 ? std::memcmp(a, b, size_t(n)) : 0;
        if (c != 0)
            return c < 0 ? -1 : 1;
        return aLength < bLength ? -1 : aLength > bLength ? 1 : 0;
    }
    return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

int TextCollator::compare(const QString& a, const QString& b) const {
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    return compareUtf8(ua.constData(), int(ua.size()), ub.constData(), int(ub.size()));
}

namespace {

struct LikeToken {
    enum Kind { Literal, One, Any, Set } kind = Literal;
    char32_t ch = 0;
    bool negated = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;
};

char32_t fold(char32_t c) {
    return QChar::toCaseFolded(c);
}

std::vector<char32_t> codePoints(QStringView s) {
    std::vector<char32_t> out;
    out.reserve(size_t(s.size()));
    for (char32_t c : s.toUcs4())
        out.push_back(fold(c));
    return out;
}

std::vector<LikeToken> tokens(QStringView pattern, QChar escape) {
    const std::vector<char32_t> p = codePoints(pattern);
    const char32_t esc = escape.isNull() ? 0 : fold(escape.unicode());
    std::vector<LikeToken> out;
    for (size_t i = 0; i < p.size(); ++i) {
        LikeToken t;
        const char32_t c = p[i];
        if (esc && c == esc && i + 1 < p.size()) {
            t.ch = p[++i];
        } else if (c == U'%') {
            t.kind = LikeToken::Any;
            if (!out.empty() && out.back().kind == LikeToken::Any)
                continue;
        } else if (c == U'_') {
            t.kind = LikeToken::One;
        } else if (c == U'[') {
            size_t j = i + 1;
            if (j < p.size() && p[j] == U'^') {
                t.negated = true;
                ++j;
            }
            size_t end = j;
            while (end < p.size() && p[end] != U']')
                ++end;
            if (end >= p.size()) {
                t.ch = c;  // no closing bracket: a plain '['
            } else {
                t.kind = LikeToken::Set;
                for (size_t k = j; k < end; ++k) {
                    if (k + 2 < end && p[k + 1] == U'-') {
                        t.ranges.emplace_back(std::min(p[k], p[k + 2]), std::max(p[k], p[k + 2]));
                        k += 2;
                    } else {
                        t.ranges.emplace_back(p[k], p[k]);
                    }
                }
                i = end;
            }
        } else {
            t.ch = c;
        }
        out.push_back(std::move(t));
    }
    return out;
}

bool matchesOne(const LikeToken& t, char32_t c) {
    switch (t.kind) {
        case LikeToken::Literal:
            return t.ch == c;
        case LikeToken::One:
            return true;
        case LikeToken::Set: {
            bool in = false;
            for (const auto& [lo, hi] : t.ranges) {
                if (c >= lo && c <= hi)
                    in = true;
            }
            return in != t.negated;
        }
        case LikeToken::Any:
            return false;
    }
    return false;
}

}  // namespace

bool likeMatches(QStringView value, QStringView pattern, QChar escape) {
    while (!value.isEmpty() && value.back() == u' ')
        value.chop(1);
    const std::vector<char32_t> v = codePoints(value);
    const std::vector<LikeToken> p = tokens(pattern, escape);
    // Greedy matching with one backtrack point: linear in practice, never exponential.
    size_t vi = 0, pi = 0;
    size_t starP = size_t(-1), starV = 0;
    while (vi < v.size()) {
        if (pi < p.size() && p[pi].kind == LikeToken::Any) {
            starP = pi++;
            starV = vi;
        } else if (pi < p.size() && matchesOne(p[pi], v[vi])) {
            ++pi;
            ++vi;
        } else if (starP != size_t(-1)) {
            pi = starP + 1;
            vi = ++starV;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi].kind == LikeToken::Any)
        ++pi;
    return pi == p.size();
}

QString likeRangePrefix(QStringView pattern) {
    QString prefix;
    bool wildcard = false;
    for (QChar c : pattern) {
        if (c == u'%' || c == u'_' || c == u'[') {
            wildcard = true;
            break;
        }
        const char16_t u = c.unicode();
        const bool safe = (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') ||
                          (u >= u'a' && u <= u'z') || u == u' ' || u == u'-' || u == u'.' ||
                          u == u'/';
        if (!safe)
            return {};
        prefix += c;
    }
    if (!wildcard || prefix.trimmed().isEmpty())
        return {};
    return prefix;
}

}  // namespace md::tsql
