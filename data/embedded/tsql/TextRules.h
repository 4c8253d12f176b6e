#pragma once

// SQL Server's text comparison for the embedded engine: the "TSQL" collation (case and
// trailing blanks ignored, Thai in Thai order) and LIKE.

#include <QString>
#include <QStringView>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct UCollator;

namespace md::tsql {

// The order of the suite's Thai Windows collation: ICU's Thai collator at secondary strength
// (case ignored; Thai leading vowels sort by the consonant that follows) with the default
// script order (digits, Latin, Thai), blanks and punctuation counting as characters, except
// that hyphens and apostrophes decide only between texts otherwise equal (word sort).
class TextCollator {
  public:
    TextCollator();
    ~TextCollator();
    TextCollator(const TextCollator&) = delete;
    TextCollator& operator=(const TextCollator&) = delete;
    // Compares two UTF-8 texts; trailing blanks do not count.
    int compareUtf8(const char* a, int aLength, const char* b, int bLength) const;
    int compare(const QString& a, const QString& b) const;

  private:
    int compareText(const char* a, int aLength, const char* b, int bLength) const;
    UCollator* collator_ = nullptr;
};

// SQL Server's LIKE: '%' any run, '_' one character, [abc], [a-z] and [^...] sets, an
// optional escape character; letters without regard to case; trailing blanks of the value
// do not count, those of the pattern do.
bool likeMatches(QStringView value, QStringView pattern, QChar escape = QChar());

// The code points of a text as LIKE compares them: case-folded, trailing blanks dropped.
// `out` is overwritten; the UTF-8 form reads valid UTF-8 without any allocation beyond `out`.
void likeFolded(QStringView text, std::u32string& out);
void likeFoldedUtf8(const char* utf8, int bytes, std::u32string& out);

// One LIKE pattern made ready for many values (the LIKE function keeps one per statement).
// A pattern that is one literal between two '%' is a plain substring search.
class LikePattern {
  public:
    struct Token {
        enum Kind { Literal, One, Any, Set } kind = Literal;
        char32_t ch = 0;
        bool negated = false;
        std::vector<std::pair<char32_t, char32_t>> ranges;
    };

    explicit LikePattern(QStringView pattern, QChar escape = QChar());
    // `folded` as likeFolded gives it.
    bool matches(std::u32string_view folded) const;
    bool matchesUtf8(const char* utf8, int bytes) const;
    // The runs of consecutive literal characters, folded: every matching value holds each of
    // them. A contained-text index narrows a search by their pieces.
    std::vector<std::u32string> literalRuns() const;

  private:
    std::vector<Token> tokens_;
    bool contains_ = false;  // '%' literal '%'
    std::u32string needle_;
};

// The fixed beginning of a pattern that an index range can narrow to (see the translator);
// empty when the pattern starts with a wildcard or holds characters that a collation range
// would not bound.
QString likeRangePrefix(QStringView pattern);

}  // namespace md::tsql
