#include "data/embedded/BatchParser.h"

#include "data/backend/DbError.h"
#include "data/embedded/ErrorMapping.h"
#include "data/embedded/tsql/Ast.h"

#include <QStringList>
#include <algorithm>
#include <limits>

namespace md::embedded {
namespace {

using data::TokenKind;

const char* const kStarts[] = {"SELECT",  "INSERT", "UPDATE", "DELETE",   "CREATE", "ALTER",
                               "DROP",    "IF",     "BEGIN",  "DECLARE",  "SET",    "EXEC",
                               "EXECUTE", "PRINT",  "COMMIT", "ROLLBACK", "USE",    "TRUNCATE",
                               "RETURN",  "WHILE",  "SAVE"};

bool isStartWord(const SqlToken& t) {
    for (const char* w : kStarts) {
        if (wordIs(t, w))
            return true;
    }
    return false;
}

class Compiler {
  public:
    explicit Compiler(const QString& sql) : cur_(sql) {
        // placeholdersBefore_[i]: the '?' markers among the first i tokens.
        const auto& toks = cur_.tokens();
        placeholdersBefore_.reserve(toks.size() + 1);
        placeholdersBefore_.push_back(0);
        for (const SqlToken& t : toks)
            placeholdersBefore_.push_back(placeholdersBefore_.back() +
                                          (t.kind == TokenKind::Placeholder ? 1 : 0));
    }

    Program run() {
        while (!cur_.atEnd()) {
            if (cur_.acceptPunct(';'))
                continue;
            statement();
        }
        return std::move(prog_);
    }

  private:
    int placeholdersBefore(int tokenIndex) const {
        const int n = int(placeholdersBefore_.size()) - 1;
        return placeholdersBefore_[size_t(std::clamp(tokenIndex, 0, n))];
    }

    // Index of the token after the simple statement that starts at the cursor.
    int statementEnd() const {
        const auto& toks = cur_.tokens();
        const int start = cur_.pos();
        const SqlToken& first = toks[start];
        const bool insert = wordIs(first, "INSERT");
        const bool update = wordIs(first, "UPDATE");
        const bool alter = wordIs(first, "ALTER");
        const bool create = wordIs(first, "CREATE");
        int depth = 0, caseDepth = 0;
        bool sawValues = false, sawSet = false, sawAs = false, sawQuery = false;
        for (int i = start + 1; i < int(toks.size()); ++i) {
            const SqlToken& t = toks[i];
            if (t.kind == TokenKind::Punct && t.text == u"(")
                ++depth;
            if (t.kind == TokenKind::Punct && t.text == u")")
                --depth;
            if (t.kind != TokenKind::Word) {
                if (depth == 0 && t.kind == TokenKind::Punct && t.text == u";")
                    return i;
                continue;
            }
            if (wordIs(t, "CASE"))
                ++caseDepth;
            if (wordIs(t, "END")) {
                if (caseDepth > 0) {
                    --caseDepth;
                    continue;
                }
                if (depth == 0)
                    return i;
            }
            if (depth != 0 || caseDepth != 0)
                continue;
            if (wordIs(t, "ELSE"))
                return i;
            if (wordIs(t, "VALUES"))
                sawValues = true;
            if (create && wordIs(t, "AS"))
                sawAs = true;
            if (!isStartWord(t))
                continue;
            const SqlToken& prev = toks[i - 1];
            if (wordIs(prev, "UNION") || wordIs(prev, "ALL") || wordIs(prev, "EXCEPT") ||
                wordIs(prev, "INTERSECT") ||
                (wordIs(prev, "ON") && (wordIs(t, "DELETE") || wordIs(t, "UPDATE")))) {
                continue;
            }
            // INSERT ... SELECT (or EXEC) takes one query; a second SELECT starts a statement.
            if (insert && !sawValues && !sawQuery && (wordIs(t, "SELECT") || wordIs(t, "EXEC"))) {
                sawQuery = true;
                continue;
            }
            if (update && !sawSet && wordIs(t, "SET")) {
                sawSet = true;
                continue;
            }
            if (alter && i == start + 3)
                continue;
            if (create && sawAs && wordIs(t, "SELECT")) {
                sawAs = false;
                continue;
            }
            return i;
        }
        return int(toks.size());
    }

    // The batch's tokens of one statement, their offsets made relative to its text: the
    // statement is not read again, so a statement of megabytes costs one pass.
    std::vector<SqlToken> statementTokens(int start, int end) const {
        const auto& toks = cur_.tokens();
        std::vector<SqlToken> out(toks.begin() + start, toks.begin() + end);
        const int base = toks[size_t(start)].begin;
        for (SqlToken& t : out) {
            t.begin -= base;
            t.end -= base;
        }
        return out;
    }

    int push(Op op) {
        prog_.ops.push_back(std::move(op));
        return int(prog_.ops.size()) - 1;
    }

    // IF and BEGIN ... END blocks nest by recursion; past the limit the batch is refused
    // before the stack runs out.
    class Nesting {
      public:
        explicit Nesting(int& depth) : depth_(depth) {
            if (++depth_ > tsql::kMaxNestingLevels)
                tsql::throwNestedTooDeeply();
        }
        ~Nesting() { --depth_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

      private:
        int& depth_;
    };

    void statement() {
        // IF or ELSE with nothing after it.
        if (cur_.atEnd())
            cur_.syntaxError();
        const Nesting level(depth_);
        const int start = cur_.pos();
        if (cur_.acceptWord("IF"))
            return ifStatement();
        if (cur_.isWord("BEGIN") && !cur_.isWord("TRAN", 1) && !cur_.isWord("TRANSACTION", 1)) {
            cur_.next();
            while (!cur_.atEnd() && !cur_.isWord("END")) {
                if (cur_.acceptPunct(';'))
                    continue;
                statement();
            }
            cur_.expectWord("END");
            return;
        }
        if (cur_.isWord("END") || cur_.isWord("ELSE"))
            cur_.syntaxError();
        const int end = statementEnd();
        const QString text = cur_.sourceText(start, end);
        Op op;
        op.paramBase = placeholdersBefore(start);
        op.text = text;
        // A data statement is told by its first words alone (SELECT @v = excepted), so its
        // cursor takes only those: a statement of a million tokens is not copied again.
        const auto& all = cur_.tokens();
        const bool select = wordIs(all[size_t(start)], "SELECT");
        const bool assigns = select && end - start > 2 &&
                             all[size_t(start) + 1].kind == TokenKind::Variable &&
                             all[size_t(start) + 2].text == u"=";
        const bool data = (select && !assigns) || wordIs(all[size_t(start)], "INSERT") ||
                          wordIs(all[size_t(start)], "UPDATE") ||
                          wordIs(all[size_t(start)], "DELETE");
        TokenCursor s(text, statementTokens(start, data ? std::min(end, start + 8) : end));
        const SqlToken first = s.peek();
        const SqlToken second = s.peek(1);
        if (wordIs(first, "SELECT") && s.peek(1).kind == TokenKind::Variable && s.isPunct('=', 2)) {
            selectAssign(s, op);
        } else if (wordIs(first, "SELECT")) {
            op.kind = OpKind::Sql;
            op.select = true;
        } else if (wordIs(first, "INSERT") || wordIs(first, "UPDATE") || wordIs(first, "DELETE")) {
            op.kind = OpKind::Sql;
            if (wordIs(first, "INSERT")) {
                s.next();
                s.acceptWord("INTO");
                op.insertTarget = s.identifier();
            }
        } else if (wordIs(first, "TRUNCATE")) {
            s.next();
            s.expectWord("TABLE");
            op.kind = OpKind::Sql;
            op.text =
                QStringLiteral("DELETE FROM ") + s.sourceText(s.pos(), int(s.tokens().size()));
        } else if (wordIs(first, "CREATE") || wordIs(first, "DROP") || wordIs(first, "ALTER")) {
            op.kind = OpKind::Ddl;
        } else if (wordIs(first, "DECLARE")) {
            s.next();
            op.kind = OpKind::Declare;
            do {
                if (s.peek().kind != TokenKind::Variable)
                    s.syntaxError();
                const QString name = s.next().text.toString();
                s.acceptWord("AS");
                op.decls.emplace_back(name, parseType(s));
            } while (s.acceptPunct(','));
            if (!s.atEnd())
                s.syntaxError();
        } else if (wordIs(first, "SET")) {
            s.next();
            if (s.peek().kind == TokenKind::Variable) {
                op.kind = OpKind::SetVar;
                const QString name = s.next().text.toString();
                s.expectPunct('=');
                op.assigns.emplace_back(name, s.sourceText(s.pos(), int(s.tokens().size())));
            } else {
                op.kind = OpKind::Ignore;
            }
        } else if (wordIs(first, "EXEC") || wordIs(first, "EXECUTE")) {
            op.kind = OpKind::Exec;
        } else if (wordIs(first, "PRINT")) {
            op.kind = OpKind::Print;
            op.text = text.mid(first.end);
        } else if (wordIs(first, "BEGIN")) {
            op.kind = OpKind::BeginTran;
        } else if (wordIs(first, "COMMIT")) {
            op.kind = OpKind::Commit;
        } else if (wordIs(first, "ROLLBACK")) {
            op.kind = OpKind::Rollback;
        } else if (wordIs(first, "RETURN")) {
            op.kind = OpKind::Jump;  // ends the batch
            op.target = std::numeric_limits<int>::max();
        } else if (wordIs(first, "USE")) {
            op.kind = OpKind::Use;
            s.next();
            op.text = s.identifier();
        } else {
            (void)second;
            cur_.syntaxError();
        }
        push(std::move(op));
        cur_.setPos(end);
    }

    void selectAssign(TokenCursor& s, Op& op) {
        op.kind = OpKind::SelectAssign;
        s.next();
        QStringList exprs;
        int depth = 0;
        while (!s.atEnd()) {
            if (s.peek().kind != TokenKind::Variable || !s.isPunct('=', 1))
                s.syntaxError();
            const QString var = s.next().text.toString();
            s.next();
            const int from = s.pos();
            while (!s.atEnd()) {
                if (s.isPunct('('))
                    ++depth;
                if (s.isPunct(')'))
                    --depth;
                if (depth == 0 && (s.isPunct(',') || s.isWord("FROM") || s.isWord("WHERE") ||
                                   s.isWord("ORDER") || s.isWord("GROUP"))) {
                    break;
                }
                s.next();
            }
            op.assigns.emplace_back(var, s.sourceText(from, s.pos()));
            exprs << s.sourceText(from, s.pos());
            if (!s.acceptPunct(','))
                break;
        }
        op.text = QStringLiteral("SELECT ") + exprs.join(QStringLiteral(", "));
        if (!s.atEnd())
            op.text += u' ' + s.sourceText(s.pos(), int(s.tokens().size()));
    }

    void ifStatement() {
        Op cond;
        cond.kind = OpKind::JumpIfFalse;
        const int from = cur_.pos();
        cond.paramBase = placeholdersBefore(from);
        int depth = 0, i = from;
        const auto& toks = cur_.tokens();
        for (; i < int(toks.size()); ++i) {
            if (toks[i].kind == TokenKind::Punct && toks[i].text == u"(")
                ++depth;
            if (toks[i].kind == TokenKind::Punct && toks[i].text == u")")
                --depth;
            if (depth == 0 && i > from && isStartWord(toks[i]) && !wordIs(toks[i - 1], "NOT"))
                break;
        }
        if (i == from)
            cur_.syntaxError();  // IF without a condition
        TokenCursor c(cur_.sourceText(from, i));
        if (c.acceptWord("NOT") && c.isWord("EXISTS")) {
            cond.negate = true;
        } else {
            c.setPos(0);
        }
        if (c.acceptWord("EXISTS")) {
            cond.exists = true;
            c.expectPunct('(');
            const int b = c.pos();
            int d = 1;
            while (!c.atEnd() && d > 0) {
                if (c.isPunct('('))
                    ++d;
                if (c.isPunct(')'))
                    --d;
                if (d > 0)
                    c.next();
            }
            cond.text = c.sourceText(b, c.pos());
            c.expectPunct(')');
            if (!c.atEnd()) {
                cond.exists = false;
                cond.negate = false;
                cond.text = c.source();
            }
        } else {
            cond.text = c.source();
        }
        cur_.setPos(i);
        const int jc = push(std::move(cond));
        statement();
        if (cur_.acceptWord("ELSE")) {
            Op jump;
            jump.kind = OpKind::Jump;
            const int jend = push(std::move(jump));
            prog_.ops[jc].target = int(prog_.ops.size());
            statement();
            prog_.ops[jend].target = int(prog_.ops.size());
        } else {
            prog_.ops[jc].target = int(prog_.ops.size());
        }
    }

    TokenCursor cur_;
    Program prog_;
    std::vector<int> placeholdersBefore_;
    int depth_ = 0;
};

}  // namespace

static bool hasSideEffect(const Op& op) {
    const OpKind k = op.kind;
    if (k == OpKind::Sql && op.select)
        return false;
    return k != OpKind::JumpIfFalse && k != OpKind::Jump && k != OpKind::Ignore &&
           k != OpKind::Print;
}

Program compileBatch(const QString& sql) {
    data::SqlLexer lexer(sql, data::LexOptions{false});
    if (lexer.unterminatedAt() >= 0) {
        const auto pos = data::positionOf(sql, lexer.unterminatedAt());
        throw serverError(
            105,
            QStringLiteral("Unclosed quotation mark after the character string '%1' (line %2).")
                .arg(sql.mid(lexer.unterminatedAt() + 1))
                .arg(pos.line));
    }
    Program program = Compiler(sql).run();
    for (size_t i = 0; i < program.ops.size(); ++i) {
        Op& op = program.ops[i];
        if (hasSideEffect(op))
            program.lastSideEffect = std::ptrdiff_t(i);
        op.placeholders = countPlaceholders(op.text);
        // A syntax error rejects the whole batch before any of it runs.
        if (op.kind == OpKind::Sql || (op.kind == OpKind::JumpIfFalse && op.exists))
            (void)tsql::ast::parseStatement(op.text);
        int placeholders = 0;
        bool named = false;
        if (op.kind == OpKind::JumpIfFalse && !op.exists)
            (void)tsql::ast::parseExpression(op.text, placeholders, named);
        if (op.kind == OpKind::SetVar)
            (void)tsql::ast::parseExpression(op.assigns[0].second, placeholders, named);
    }
    return program;
}

int countPlaceholders(const QString& text) {
    data::SqlLexer lexer(text, data::LexOptions{false});
    int n = 0;
    for (const auto& t : lexer.tokens()) {
        if (t.kind == data::TokenKind::Placeholder)
            ++n;
    }
    return n;
}

}  // namespace md::embedded
