#pragma once

// Splits T-SQL text into tokens. It knows everything that can hide a ':' or a keyword from a
// naive scan: string literals ('...' with '' inside, N'...'), quoted ("...") and bracketed
// ([...]) identifiers, line comments (--) and block comments (/* */, nested as T-SQL nests
// them). Both the data API (to find :Name parameters) and the embedded engine's translator
// stand on it.

#include <QString>
#include <QStringView>
#include <vector>

namespace md::data {

enum class TokenKind {
    Whitespace,
    LineComment,
    BlockComment,
    String,        // '...'
    NString,       // N'...'
    QuotedIdent,   // "..."
    BracketIdent,  // [...]
    Word,          // identifier or keyword
    Number,        // 12, 1.5, .5, 1e3
    Parameter,     // :Name (the program's named parameter)
    Variable,      // @name or @@name
    Placeholder,   // ?
    Operator,      // + - * / % = < > <= >= <> != !< !> || & | ^ ~
    Punct,         // ( ) , . ;
    Unknown,       // any other character
};

struct Token {
    TokenKind kind;
    int begin;   // offset of the first character in the text
    int length;  // characters, delimiters included
};

struct LexOptions {
    // ':' followed by a letter or '_' starts a parameter; otherwise ':' is Unknown.
    bool parameters = true;
};

// Tokenises the whole text. Never throws: an unterminated literal or comment runs to the end
// of the text as one token and unterminatedAt() reports where it began.
class SqlLexer {
  public:
    explicit SqlLexer(QStringView text, LexOptions options = {});
    const std::vector<Token>& tokens() const { return tokens_; }
    // Offset of an unterminated literal, identifier or comment, or -1.
    int unterminatedAt() const { return unterminatedAt_; }

  private:
    std::vector<Token> tokens_;
    int unterminatedAt_ = -1;
};

// The text of a token.
inline QStringView tokenText(QStringView text, const Token& t) {
    return text.mid(t.begin, t.length);
}

// The value of a string literal token ('it''s' gives it's; N'x' gives x).
QString unquoteString(QStringView literal);
// The name of an identifier token without its quotes or brackets.
QString unquoteIdentifier(QStringView ident);
// A T-SQL string literal for `value` ('' doubled; N'...' when `national`).
QString quoteString(const QString& value, bool national = false);

// True for tokens that carry no meaning (whitespace and comments).
inline bool isTrivia(TokenKind k) {
    return k == TokenKind::Whitespace || k == TokenKind::LineComment ||
           k == TokenKind::BlockComment;
}

// 1-based line and column of an offset, for messages.
struct TextPosition {
    int line;
    int column;
};
TextPosition positionOf(QStringView text, int offset);

}  // namespace md::data
