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

using LikeToken = LikePattern::Token;

char32_t fold(char32_t c) {
    if (c < 0x80)
        return c >= U'A' && c <= U'Z' ? c + 32 : c;
    return QChar::toCaseFolded(c);
}

void foldInto(const QList<uint>& ucs4, std::u32string& out) {
    out.clear();
    out.reserve(size_t(ucs4.size()));
    for (char32_t c : ucs4)
        out.push_back(fold(c));
    while (!out.empty() && out.back() == U' ')
        out.pop_back();
}

// Decodes strict UTF-8 (no overlong forms, surrogates or values past U+10FFFF); false for
// anything else, which the caller reads as Qt does instead.
bool decodeStrict(const unsigned char* s, size_t n, std::u32string& out) {
    out.clear();
    for (size_t i = 0; i < n;) {
        const unsigned char b = s[i];
        if (b < 0x80) {
            out.push_back(fold(b));
            ++i;
            continue;
        }
        int extra = 0;
        char32_t c = 0, min = 0;
        if ((b & 0xE0) == 0xC0) {
            extra = 1, c = b & 0x1F, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, c = b & 0x0F, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, c = b & 0x07, min = 0x10000;
        } else {
            return false;
        }
        if (i + size_t(extra) >= n)
            return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char t = s[i + size_t(k)];
            if ((t & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (t & 0x3F);
        }
        if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        out.push_back(fold(c));
        i += size_t(extra) + 1;
    }
    return true;
}

std::vector<LikeToken> tokens(QStringView pattern, QChar escape) {
    std::u32string p;
    p.reserve(size_t(pattern.size()));
    for (char32_t c : pattern.toUcs4())
        p.push_back(fold(c));
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

void likeFolded(QStringView text, std::u32string& out) {
    foldInto(text.toUcs4(), out);
}

void likeFoldedUtf8(const char* utf8, int bytes, std::u32string& out) {
    const auto* s = reinterpret_cast<const unsigned char*>(utf8);
    size_t n = bytes > 0 ? size_t(bytes) : 0;
    const bool bom = n >= 3 && s[0] == 0xEF && s[1] == 0xBB && s[2] == 0xBF;
    if (!bom && decodeStrict(s, n, out)) {
        while (!out.empty() && out.back() == U' ')
            out.pop_back();
        return;
    }
    foldInto(QString::fromUtf8(utf8, qsizetype(n)).toUcs4(), out);
}

LikePattern::LikePattern(QStringView pattern, QChar escape) : tokens_(tokens(pattern, escape)) {
    if (tokens_.size() >= 2 && tokens_.front().kind == Token::Any &&
        tokens_.back().kind == Token::Any) {
        contains_ = true;
        for (size_t i = 1; i + 1 < tokens_.size(); ++i) {
            if (tokens_[i].kind != Token::Literal) {
                contains_ = false;
                break;
            }
            needle_.push_back(tokens_[i].ch);
        }
    }
}

bool LikePattern::matches(std::u32string_view v) const {
    if (contains_)
        return v.find(needle_) != std::u32string_view::npos;
    const std::vector<Token>& p = tokens_;
    // Greedy matching with one backtrack point: linear in practice, never exponential.
    size_t vi = 0, pi = 0;
    size_t starP = size_t(-1), starV = 0;
    while (vi < v.size()) {
        if (pi < p.size() && p[pi].kind == Token::Any) {
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
    while (pi < p.size() && p[pi].kind == Token::Any)
        ++pi;
    return pi == p.size();
}

bool LikePattern::matchesUtf8(const char* utf8, int bytes) const {
    thread_local std::u32string folded;
    likeFoldedUtf8(utf8, bytes, folded);
    return matches(folded);
}

std::vector<std::u32string> LikePattern::literalRuns() const {
    std::vector<std::u32string> runs(1);
    for (const Token& t : tokens_) {
        // A set of one character ([_], [%], [[], as typed text is escaped) is that character.
        const bool one = t.kind == Token::Set && !t.negated && t.ranges.size() == 1 &&
                         t.ranges[0].first == t.ranges[0].second;
        if (t.kind == Token::Literal || one) {
            runs.back().push_back(one ? t.ranges[0].first : t.ch);
        } else if (!runs.back().empty()) {
            runs.emplace_back();
        }
    }
    if (runs.back().empty())
        runs.pop_back();
    return runs;
}

bool likeMatches(QStringView value, QStringView pattern, QChar escape) {
    std::u32string v;
    likeFolded(value, v);
    return LikePattern(pattern, escape).matches(v);
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
