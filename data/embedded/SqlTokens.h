#pragma once

// A cursor over the meaningful tokens of a T-SQL text (comments and blanks dropped), shared by
// the batch splitter and the DDL translator.

#include "data/backend/SqlLexer.h"

#include <QString>
#include <QStringView>
#include <vector>

namespace md::embedded {

// A token of a cursor's text. Its text is a view into that text, so a token is only read while
// its cursor lives (a batch of a million items would otherwise hold a million small strings).
struct SqlToken {
    data::TokenKind kind;
    QStringView text;
    int begin;  // offset in the source text
    int end;    // offset after the token
};

class TokenCursor {
  public:
    explicit TokenCursor(const QString& text);
    // Tokens taken from another cursor, their offsets already made relative to `text`.
    TokenCursor(const QString& text, std::vector<SqlToken> tokens);

    const QString& source() const { return text_; }
    const std::vector<SqlToken>& tokens() const { return tokens_; }
    int pos() const { return pos_; }
    void setPos(int p) { pos_ = p; }
    bool atEnd() const { return pos_ >= int(tokens_.size()); }
    // The token `k` places ahead; a Punct token with empty text past the end.
    const SqlToken& peek(int k = 0) const;
    const SqlToken& next();

    bool isWord(const char* word, int k = 0) const;
    bool isPunct(char c, int k = 0) const;
    bool acceptWord(const char* word);
    bool acceptPunct(char c);
    // Throws a syntax error (102) when the expectation fails.
    void expectWord(const char* word);
    void expectPunct(char c);
    // An identifier (word, [..] or "..") with an optional owner prefix (dbo.T gives T).
    QString identifier();
    // Source text from the start of token `from` to the end of token `to - 1`.
    QString sourceText(int from, int to) const;
    [[noreturn]] void syntaxError() const;

  private:
    QString text_;
    std::vector<SqlToken> tokens_;
    int pos_ = 0;
};

bool isIdentifierToken(const SqlToken& t);
// True when the word token equals `word` without regard to case.
bool wordIs(const SqlToken& t, const char* word);

}  // namespace md::embedded
