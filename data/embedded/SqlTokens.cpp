#include "data/embedded/SqlTokens.h"

#include "data/backend/DbError.h"
#include "data/embedded/ErrorMapping.h"

namespace md::embedded {

using data::TokenKind;

bool isIdentifierToken(const SqlToken& t) {
    return t.kind == TokenKind::Word || t.kind == TokenKind::BracketIdent ||
           t.kind == TokenKind::QuotedIdent;
}

bool wordIs(const SqlToken& t, const char* word) {
    return t.kind == TokenKind::Word &&
           t.text.compare(QLatin1StringView(word), Qt::CaseInsensitive) == 0;
}

TokenCursor::TokenCursor(const QString& text) : text_(text) {
    data::SqlLexer lexer(text_, data::LexOptions{false});
    tokens_.reserve(lexer.tokens().size());
    for (const auto& t : lexer.tokens()) {
        if (data::isTrivia(t.kind))
            continue;
        tokens_.push_back(SqlToken{t.kind, QStringView(text_).mid(t.begin, t.length), t.begin,
                                   t.begin + t.length});
    }
}

TokenCursor::TokenCursor(const QString& text, std::vector<SqlToken> tokens)
    : text_(text), tokens_(std::move(tokens)) {
    for (SqlToken& t : tokens_)
        t.text = QStringView(text_).mid(t.begin, t.end - t.begin);
}

const SqlToken& TokenCursor::peek(int k) const {
    static const SqlToken end{TokenKind::Punct, QStringView(), 0, 0};
    const int i = pos_ + k;
    if (i < 0 || i >= int(tokens_.size()))
        return end;
    return tokens_[i];
}

const SqlToken& TokenCursor::next() {
    const SqlToken& t = peek();
    if (!atEnd())
        ++pos_;
    return t;
}

bool TokenCursor::isWord(const char* word, int k) const {
    return wordIs(peek(k), word);
}

bool TokenCursor::isPunct(char c, int k) const {
    const SqlToken& t = peek(k);
    return (t.kind == TokenKind::Punct || t.kind == TokenKind::Operator) && t.text.size() == 1 &&
           t.text[0] == QLatin1Char(c);
}

bool TokenCursor::acceptWord(const char* word) {
    if (!isWord(word))
        return false;
    ++pos_;
    return true;
}

bool TokenCursor::acceptPunct(char c) {
    if (!isPunct(c))
        return false;
    ++pos_;
    return true;
}

void TokenCursor::expectWord(const char* word) {
    if (!acceptWord(word))
        syntaxError();
}

void TokenCursor::expectPunct(char c) {
    if (!acceptPunct(c))
        syntaxError();
}

QString TokenCursor::identifier() {
    if (!isIdentifierToken(peek()))
        syntaxError();
    QString name = data::unquoteIdentifier(next().text);
    while (isPunct('.') && isIdentifierToken(peek(1))) {
        ++pos_;
        name = data::unquoteIdentifier(next().text);
    }
    return name;
}

QString TokenCursor::sourceText(int from, int to) const {
    if (from >= to || from >= int(tokens_.size()))
        return {};
    const int b = tokens_[from].begin;
    const int e = tokens_[std::min<int>(to, int(tokens_.size())) - 1].end;
    return text_.mid(b, e - b);
}

void TokenCursor::syntaxError() const {
    const QString near = atEnd() ? QString() : peek().text.toString();
    if (near.isEmpty()) {
        throw serverError(102, QStringLiteral("Incorrect syntax near the end of the statement."));
    }
    throw serverError(102, QStringLiteral("Incorrect syntax near '%1'.").arg(near));
}

}  // namespace md::embedded
