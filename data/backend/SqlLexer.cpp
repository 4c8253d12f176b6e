#include "data/backend/SqlLexer.h"

namespace md::data {
namespace {

bool isWordStart(QChar c) { return c.isLetter() || c == u'_' || c == u'#'; }
bool isWordPart(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'#' || c == u'$'; }

class Scanner {
public:
    Scanner(QStringView text, LexOptions options) : s_(text), options_(options) {}

    void run(std::vector<Token>& out, int& unterminatedAt) {
        const int n = int(s_.size());
        while (pos_ < n) {
            const int start = pos_;
            const TokenKind kind = scanOne();
            if (unterminated_ && unterminatedAt < 0) unterminatedAt = start;
            unterminated_ = false;
            out.push_back(Token{kind, start, pos_ - start});
        }
    }

private:
    QChar at(int i) const { return i < int(s_.size()) ? s_[i] : QChar(); }

    TokenKind scanOne() {
        const QChar c = at(pos_);
        if (c.isSpace()) {
            while (pos_ < int(s_.size()) && at(pos_).isSpace()) ++pos_;
            return TokenKind::Whitespace;
        }
        if (c == u'-' && at(pos_ + 1) == u'-') {
            while (pos_ < int(s_.size()) && at(pos_) != u'\n') ++pos_;
            return TokenKind::LineComment;
        }
        if (c == u'/' && at(pos_ + 1) == u'*') return blockComment();
        if (c == u'\'') return delimited(u'\'', TokenKind::String);
        if ((c == u'N' || c == u'n') && at(pos_ + 1) == u'\'') {
            ++pos_;
            delimited(u'\'', TokenKind::String);
            return TokenKind::NString;
        }
        if (c == u'"') return delimited(u'"', TokenKind::QuotedIdent);
        if (c == u'[') return delimited(u']', TokenKind::BracketIdent);
        if (c.isDigit() || (c == u'.' && at(pos_ + 1).isDigit())) return number();
        if (isWordStart(c)) {
            while (pos_ < int(s_.size()) && isWordPart(at(pos_))) ++pos_;
            return TokenKind::Word;
        }
        if (c == u'@') {
            ++pos_;
            if (at(pos_) == u'@') ++pos_;
            while (pos_ < int(s_.size()) && isWordPart(at(pos_))) ++pos_;
            return TokenKind::Variable;
        }
        if (c == u':' && options_.parameters && (at(pos_ + 1).isLetter() || at(pos_ + 1) == u'_')) {
            ++pos_;
            while (pos_ < int(s_.size()) && isWordPart(at(pos_))) ++pos_;
            return TokenKind::Parameter;
        }
        if (c == u'?') {
            ++pos_;
            return TokenKind::Placeholder;
        }
        if (c == u'(' || c == u')' || c == u',' || c == u'.' || c == u';') {
            ++pos_;
            return TokenKind::Punct;
        }
        return op();
    }

    TokenKind blockComment() {
        // T-SQL block comments nest.
        int depth = 0;
        while (pos_ < int(s_.size())) {
            if (at(pos_) == u'/' && at(pos_ + 1) == u'*') {
                ++depth;
                pos_ += 2;
            } else if (at(pos_) == u'*' && at(pos_ + 1) == u'/') {
                pos_ += 2;
                if (--depth == 0) return TokenKind::BlockComment;
            } else {
                ++pos_;
            }
        }
        unterminated_ = true;
        return TokenKind::BlockComment;
    }

    // A token between `open` (at pos_) and `close`, where a doubled close stands for itself.
    TokenKind delimited(char16_t close, TokenKind kind) {
        ++pos_;
        while (pos_ < int(s_.size())) {
            if (at(pos_) == close) {
                if (at(pos_ + 1) == close) {
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                return kind;
            }
            ++pos_;
        }
        unterminated_ = true;
        return kind;
    }

    TokenKind number() {
        while (at(pos_).isDigit()) ++pos_;
        if (at(pos_) == u'.') {
            ++pos_;
            while (at(pos_).isDigit()) ++pos_;
        }
        if ((at(pos_) == u'e' || at(pos_) == u'E') &&
            (at(pos_ + 1).isDigit() ||
             ((at(pos_ + 1) == u'+' || at(pos_ + 1) == u'-') && at(pos_ + 2).isDigit()))) {
            pos_ += 2;
            while (at(pos_).isDigit()) ++pos_;
        }
        return TokenKind::Number;
    }

    TokenKind op() {
        const QChar c = at(pos_);
        const QChar d = at(pos_ + 1);
        static constexpr char16_t two[][2] = {{u'<', u'='}, {u'>', u'='}, {u'<', u'>'},
                                              {u'!', u'='}, {u'!', u'<'}, {u'!', u'>'},
                                              {u'|', u'|'}};
        for (const auto& t : two) {
            if (c == t[0] && d == t[1]) {
                pos_ += 2;
                return TokenKind::Operator;
            }
        }
        ++pos_;
        static const QString single = QStringLiteral("+-*/%=<>&|^~");
        return single.contains(c) ? TokenKind::Operator : TokenKind::Unknown;
    }

    QStringView s_;
    LexOptions options_;
    int pos_ = 0;
    bool unterminated_ = false;
};

}  // namespace

SqlLexer::SqlLexer(QStringView text, LexOptions options) {
    Scanner(text, options).run(tokens_, unterminatedAt_);
}

QString unquoteString(QStringView literal) {
    QStringView body = literal;
    if (body.startsWith(u'N') || body.startsWith(u'n')) body = body.mid(1);
    if (body.startsWith(u'\'')) body = body.mid(1);
    if (body.endsWith(u'\'')) body.chop(1);
    QString out = body.toString();
    out.replace(QStringLiteral("''"), QStringLiteral("'"));
    return out;
}

QString unquoteIdentifier(QStringView ident) {
    if (ident.size() >= 2 && ident.front() == u'[' && ident.back() == u']') {
        QString out = ident.mid(1, ident.size() - 2).toString();
        out.replace(QStringLiteral("]]"), QStringLiteral("]"));
        return out;
    }
    if (ident.size() >= 2 && ident.front() == u'"' && ident.back() == u'"') {
        QString out = ident.mid(1, ident.size() - 2).toString();
        out.replace(QStringLiteral("\"\""), QStringLiteral("\""));
        return out;
    }
    return ident.toString();
}

QString quoteString(const QString& value, bool national) {
    QString out = value;
    out.replace(QStringLiteral("'"), QStringLiteral("''"));
    return (national ? QStringLiteral("N'") : QStringLiteral("'")) + out + QStringLiteral("'");
}

TextPosition positionOf(QStringView text, int offset) {
    TextPosition p{1, 1};
    for (int i = 0; i < offset && i < int(text.size()); ++i) {
        if (text[i] == u'\n') {
            ++p.line;
            p.column = 1;
        } else {
            ++p.column;
        }
    }
    return p;
}

}  // namespace md::data
