#include "data/backend/DbError.h"
#include "data/backend/SqlLexer.h"
#include "data/embedded/ErrorMapping.h"
#include "data/embedded/tsql/Ast.h"

#include <QSet>

namespace md::tsql::ast {
namespace {

using namespace Qt::StringLiterals;

using data::DbError;
using data::ErrorCategory;
using data::Token;
using data::TokenKind;

const QSet<QString>& reservedWords() {
    static const QSet<QString> words = {
        u"ADD"_s,       u"ALL"_s,      u"AND"_s,     u"ANY"_s,     u"AS"_s,     u"ASC"_s,
        u"BEGIN"_s,     u"BETWEEN"_s,  u"BY"_s,      u"CASE"_s,    u"CROSS"_s,  u"DELETE"_s,
        u"DESC"_s,      u"DISTINCT"_s, u"ELSE"_s,    u"END"_s,     u"ESCAPE"_s, u"EXCEPT"_s,
        u"EXEC"_s,      u"EXECUTE"_s,  u"EXISTS"_s,  u"FOR"_s,     u"FROM"_s,   u"FULL"_s,
        u"GROUP"_s,     u"HAVING"_s,   u"IF"_s,      u"IN"_s,      u"INNER"_s,  u"INSERT"_s,
        u"INTERSECT"_s, u"INTO"_s,     u"IS"_s,      u"JOIN"_s,    u"LEFT"_s,   u"LIKE"_s,
        u"NOT"_s,       u"NULL"_s,     u"ON"_s,      u"OPTION"_s,  u"OR"_s,     u"ORDER"_s,
        u"OUTER"_s,     u"OVER"_s,     u"RIGHT"_s,   u"SELECT"_s,  u"SET"_s,    u"SOME"_s,
        u"THEN"_s,      u"TOP"_s,      u"UNION"_s,   u"UPDATE"_s,  u"VALUES"_s, u"WHEN"_s,
        u"WHERE"_s,     u"WITH"_s,     u"DECLARE"_s, u"CONVERT"_s, u"CAST"_s,   u"DEFAULT"_s,
    };
    return words;
}

class Parser {
  public:
    explicit Parser(QStringView text) : text_(text) {
        data::SqlLexer lexer(text);
        if (lexer.unterminatedAt() >= 0) {
            fail(lexer.unterminatedAt(),
                 u"Unclosed quotation mark or comment after the character string '%1'"_s.arg(
                     text.mid(lexer.unterminatedAt(), 20).toString()));
        }
        for (const Token& t : lexer.tokens()) {
            if (data::isTrivia(t.kind))
                continue;
            if (t.kind == TokenKind::Unknown)
                unsupported(t.begin, u"the character"_s);
            toks_.push_back(t);
        }
    }

    int placeholders() const { return placeholders_; }
    bool named() const { return named_; }

    Statement statement() {
        Statement st;
        const int pos = here();
        if (isWord(u"SELECT")) {
            st.type = Statement::Select;
            st.query = query();
        } else if (acceptWord(u"INSERT")) {
            st.type = Statement::Insert;
            acceptWord(u"INTO");
            st.table = tableName();
            if (accept(u"(")) {
                if (isWord(u"SELECT"))
                    unsupported(pos, u"this form of INSERT"_s);
                do
                    st.columns.push_back(identifier());
                while (accept(u","));
                expect(u")");
            }
            if (acceptWord(u"VALUES")) {
                do {
                    expect(u"(");
                    std::vector<NodePtr> row;
                    do
                        row.push_back(expr());
                    while (accept(u","));
                    expect(u")");
                    st.rows.push_back(std::move(row));
                } while (accept(u","));
            } else if (acceptWord(u"DEFAULT")) {
                expectWord(u"VALUES");
                st.defaultValues = true;
            } else if (isWord(u"SELECT")) {
                st.query = query();
            } else {
                syntax();
            }
        } else if (acceptWord(u"UPDATE")) {
            st.type = Statement::Update;
            st.table = tableName();
            expectWord(u"SET");
            do {
                Assignment a;
                a.pos = here();
                if (peek().kind == TokenKind::Variable)
                    unsupported(a.pos, u"SET of a variable"_s);
                QString qualifier;
                a.column = identifier();
                if (accept(u".")) {
                    qualifier = a.column;
                    a.column = identifier();
                }
                expect(u"=");
                a.value = expr();
                st.set.push_back(std::move(a));
            } while (accept(u","));
            if (isWord(u"FROM"))
                unsupported(here(), u"UPDATE ... FROM"_s);
            if (acceptWord(u"WHERE"))
                st.where = expr();
        } else if (acceptWord(u"DELETE")) {
            st.type = Statement::Delete;
            acceptWord(u"FROM");
            st.table = tableName();
            if (isWord(u"FROM"))
                unsupported(here(), u"DELETE ... FROM"_s);
            if (acceptWord(u"WHERE"))
                st.where = expr();
        } else if (atEnd()) {
            fail(pos, u"Incorrect syntax: the statement is empty"_s);
        } else {
            unsupported(pos, u"the statement '%1'"_s.arg(tokenText(peek())));
        }
        accept(u";");
        if (!atEnd())
            syntax();
        st.placeholders = placeholders_;
        st.named = named_;
        return st;
    }

    NodePtr expression() {
        NodePtr e = expr();
        if (!atEnd())
            syntax();
        return e;
    }

  private:
    // ---- tokens ------------------------------------------------------------------------
    const Token& peek(int ahead = 0) const {
        static const Token end{TokenKind::Whitespace, 0, 0};
        const size_t i = at_ + size_t(ahead);
        return i < toks_.size() ? toks_[i] : end;
    }
    bool atEnd() const { return at_ >= toks_.size(); }
    int here() const { return atEnd() ? int(text_.size()) : peek().begin; }
    QString tokenText(const Token& t) const { return data::tokenText(text_, t).toString(); }
    QString upper(const Token& t) const { return data::tokenText(text_, t).toString().toUpper(); }
    bool isWord(QStringView w, int ahead = 0) const {
        const Token& t = peek(ahead);
        if (at_ + size_t(ahead) >= toks_.size() || t.kind != TokenKind::Word)
            return false;
        return data::tokenText(text_, t).compare(w, Qt::CaseInsensitive) == 0;
    }
    bool is(QStringView p, int ahead = 0) const {
        const Token& t = peek(ahead);
        if (at_ + size_t(ahead) >= toks_.size())
            return false;
        if (t.kind != TokenKind::Punct && t.kind != TokenKind::Operator)
            return false;
        return data::tokenText(text_, t) == p;
    }
    bool accept(QStringView p) {
        if (!is(p))
            return false;
        ++at_;
        return true;
    }
    bool acceptWord(QStringView w) {
        if (!isWord(w))
            return false;
        ++at_;
        return true;
    }
    void expect(QStringView p) {
        if (!accept(p))
            syntax();
    }
    void expectWord(QStringView w) {
        if (!acceptWord(w))
            syntax();
    }

    [[noreturn]] void fail(int offset, const QString& what) const {
        const auto p = data::positionOf(text_, offset);
        throw embedded::serverError(
            102, u"%1 (line %2, column %3)."_s.arg(what).arg(p.line).arg(p.column));
    }
    [[noreturn]] void syntax() const {
        if (atEnd())
            fail(here(), u"Incorrect syntax near the end of the statement"_s);
        fail(here(), u"Incorrect syntax near '%1'"_s.arg(tokenText(peek())));
    }
    [[noreturn]] void unsupported(int offset, const QString& what) const {
        fail(offset, u"The embedded engine does not support %1"_s.arg(what));
    }

    bool isIdentifierToken(int ahead = 0) const {
        if (at_ + size_t(ahead) >= toks_.size())
            return false;
        const Token& t = peek(ahead);
        if (t.kind == TokenKind::QuotedIdent || t.kind == TokenKind::BracketIdent)
            return true;
        return t.kind == TokenKind::Word && !reservedWords().contains(upper(t));
    }
    QString identifier() {
        if (!isIdentifierToken())
            syntax();
        return data::unquoteIdentifier(data::tokenText(text_, toks_[at_++]));
    }
    // dbo.Name or Name; other owners and other databases are refused, not ignored.
    QString tableName() {
        const int pos = here();
        QString name = identifier();
        if (accept(u".")) {
            if (is(u"."))
                unsupported(pos, u"a name in another database"_s);
            if (name.compare(u"dbo", Qt::CaseInsensitive) != 0)
                unsupported(pos, u"the owner '%1'"_s.arg(name));
            name = identifier();
            if (is(u"."))
                unsupported(pos, u"a name in another database"_s);
        }
        return name;
    }

    // ---- queries -----------------------------------------------------------------------
    std::unique_ptr<Query> query() {
        const Nesting level(*this);
        auto q = std::make_unique<Query>();
        q->cores.push_back(core());
        for (;;) {
            QString op;
            if (acceptWord(u"UNION")) {
                op = acceptWord(u"ALL") ? u"UNION ALL"_s : u"UNION"_s;
            } else if (acceptWord(u"EXCEPT")) {
                op = u"EXCEPT"_s;
            } else if (acceptWord(u"INTERSECT")) {
                op = u"INTERSECT"_s;
            } else {
                break;
            }
            q->ops.push_back(op);
            q->cores.push_back(core());
        }
        if (acceptWord(u"ORDER")) {
            expectWord(u"BY");
            q->orderBy = orderList();
        }
        if (isWord(u"FOR") || isWord(u"OPTION") || isWord(u"COMPUTE"))
            unsupported(here(), tokenText(peek()).toUpper() + u" clauses"_s);
        return q;
    }

    std::vector<OrderItem> orderList() {
        std::vector<OrderItem> items;
        do {
            OrderItem o;
            o.expr = expr();
            if (acceptWord(u"DESC")) {
                o.descending = true;
            } else {
                acceptWord(u"ASC");
            }
            items.push_back(std::move(o));
        } while (accept(u","));
        return items;
    }

    SelectCore core() {
        SelectCore c;
        c.pos = here();
        expectWord(u"SELECT");
        if (acceptWord(u"DISTINCT")) {
            c.distinct = true;
        } else {
            acceptWord(u"ALL");
        }
        if (isWord(u"TOP")) {
            const int pos = here();
            ++at_;
            if (accept(u"(")) {
                c.top = expr();
                expect(u")");
            } else if (peek().kind == TokenKind::Number || peek().kind == TokenKind::Placeholder ||
                       peek().kind == TokenKind::Parameter || peek().kind == TokenKind::Variable) {
                c.top = primary();
            } else {
                syntax();
            }
            if (isWord(u"PERCENT"))
                unsupported(pos, u"TOP ... PERCENT"_s);
            if (isWord(u"WITH"))
                unsupported(pos, u"TOP ... WITH TIES"_s);
        }
        do
            c.items.push_back(selectItem());
        while (accept(u","));
        if (isWord(u"INTO"))
            unsupported(here(), u"SELECT ... INTO"_s);
        if (acceptWord(u"FROM"))
            c.from = fromList();
        if (acceptWord(u"WHERE"))
            c.where = expr();
        if (acceptWord(u"GROUP")) {
            expectWord(u"BY");
            do
                c.groupBy.push_back(expr());
            while (accept(u","));
        }
        if (acceptWord(u"HAVING"))
            c.having = expr();
        return c;
    }

    SelectItem selectItem() {
        SelectItem item;
        const int pos = here();
        if (accept(u"*")) {
            item.expr = node(Kind::Star, pos);
            return item;
        }
        if (isIdentifierToken() && is(u".", 1) && is(u"*", 2)) {
            item.expr = node(Kind::Star, pos);
            item.expr->qualifier = identifier();
            at_ += 2;
            return item;
        }
        if (peek().kind == TokenKind::Variable && is(u"=", 1) && !atEnd())
            unsupported(pos, u"assigning a variable in a SELECT list"_s);
        if ((isIdentifierToken() || peek().kind == TokenKind::String) && is(u"=", 1)) {
            item.alias = peek().kind == TokenKind::String
                             ? data::unquoteString(data::tokenText(text_, peek()))
                             : data::unquoteIdentifier(data::tokenText(text_, peek()));
            at_ += 2;
            item.expr = expr();
            return item;
        }
        item.expr = expr();
        if (acceptWord(u"AS")) {
            if (peek().kind == TokenKind::String || peek().kind == TokenKind::NString) {
                item.alias = data::unquoteString(data::tokenText(text_, toks_[at_++]));
            } else {
                item.alias = identifier();
            }
        } else if (isIdentifierToken()) {
            item.alias = identifier();
        } else if (!atEnd() && peek().kind == TokenKind::String) {
            item.alias = data::unquoteString(data::tokenText(text_, toks_[at_++]));
        }
        return item;
    }

    std::vector<TableRef> fromList() {
        std::vector<TableRef> refs;
        refs.push_back(tableRef(QString()));
        for (;;) {
            QString join;
            const int pos = here();
            if (accept(u",")) {
                join = u","_s;
            } else if (acceptWord(u"JOIN")) {
                join = u"JOIN"_s;
            } else if (acceptWord(u"INNER")) {
                expectWord(u"JOIN");
                join = u"JOIN"_s;
            } else if (isWord(u"LEFT") || isWord(u"RIGHT") || isWord(u"FULL")) {
                join = upper(toks_[at_++]) + u" JOIN"_s;
                acceptWord(u"OUTER");
                expectWord(u"JOIN");
            } else if (acceptWord(u"CROSS")) {
                if (isWord(u"APPLY"))
                    unsupported(pos, u"CROSS APPLY"_s);
                expectWord(u"JOIN");
                join = u"CROSS JOIN"_s;
            } else if (isWord(u"OUTER") && isWord(u"APPLY", 1)) {
                unsupported(pos, u"OUTER APPLY"_s);
            } else {
                break;
            }
            TableRef ref = tableRef(join);
            if (join != u","_s && join != u"CROSS JOIN"_s) {
                expectWord(u"ON");
                ref.on = expr();
            }
            refs.push_back(std::move(ref));
        }
        return refs;
    }

    TableRef tableRef(const QString& join) {
        TableRef ref;
        ref.join = join;
        ref.pos = here();
        if (accept(u"(")) {
            if (!isWord(u"SELECT"))
                unsupported(ref.pos, u"a parenthesised join"_s);
            ref.derived = query();
            expect(u")");
        } else {
            ref.table = tableName();
        }
        if (acceptWord(u"AS")) {
            ref.alias = identifier();
        } else if (isIdentifierToken() && !isWord(u"WITH")) {
            ref.alias = identifier();
        }
        if (ref.derived && ref.alias.isEmpty())
            syntax();
        // Table hints (WITH (NOLOCK)) change locking only; the engine serialises writers.
        if (isWord(u"WITH") && is(u"(", 1)) {
            at_ += 2;
            do {
                const QString hint = identifier().toUpper();
                if (hint != u"NOLOCK" && hint != u"READUNCOMMITTED" && hint != u"ROWLOCK" &&
                    hint != u"UPDLOCK" && hint != u"HOLDLOCK")
                    unsupported(ref.pos, u"the table hint %1"_s.arg(hint));
            } while (accept(u","));
            expect(u")");
        }
        return ref;
    }

    // ---- expressions -------------------------------------------------------------------
    NodePtr node(Kind k, int pos) {
        auto n = std::make_unique<Node>();
        n->kind = k;
        n->pos = pos;
        return n;
    }
    NodePtr binary(Kind k, int pos, NodePtr a, NodePtr b, const QString& op = {}) {
        NodePtr n = node(k, pos);
        n->op = op;
        n->args.push_back(std::move(a));
        n->args.push_back(std::move(b));
        return n;
    }

    // Every level of nesting the parser descends through (parentheses, NOT, signs, function
    // arguments, CASE, subqueries) is counted; past the limit the statement is refused before
    // the recursion can exhaust the stack.
    class Nesting {
      public:
        Nesting(Parser& p) : p_(p) {
            if (++p_.depth_ > kMaxNestingLevels)
                throwNestedTooDeeply();
        }
        ~Nesting() { --p_.depth_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

      private:
        Parser& p_;
    };

    // A chain of arithmetic operators is a left-deep tree that the translator walks without
    // recursion; its length is bounded by what SQLite accepts as one expression.
    static void countOperator(int& operators) {
        if (++operators > kMaxOperatorChain)
            throwNestedTooDeeply();
    }

    NodePtr expr() {
        const Nesting level(*this);
        return orExpr();
    }
    // AND and OR chains are built as balanced trees: both are associative, so the meaning is
    // the same, and a condition of thousands of terms stays a few levels deep for the
    // translator and for SQLite's parser.
    NodePtr balanced(Kind k, std::vector<NodePtr>& terms, std::vector<int>& positions, size_t from,
                     size_t to) {
        if (to - from == 1)
            return std::move(terms[from]);
        const size_t mid = from + (to - from) / 2;
        NodePtr left = balanced(k, terms, positions, from, mid);
        NodePtr right = balanced(k, terms, positions, mid, to);
        return binary(k, positions[mid], std::move(left), std::move(right));
    }
    NodePtr chain(Kind k, QStringView word, NodePtr (Parser::*operand)()) {
        std::vector<NodePtr> terms;
        std::vector<int> positions;
        terms.push_back((this->*operand)());
        positions.push_back(0);
        while (isWord(word)) {
            positions.push_back(here());
            ++at_;
            terms.push_back((this->*operand)());
        }
        return balanced(k, terms, positions, 0, terms.size());
    }
    NodePtr orExpr() { return chain(Kind::Or, u"OR", &Parser::andExpr); }
    NodePtr andExpr() { return chain(Kind::And, u"AND", &Parser::notExpr); }
    NodePtr notExpr() {
        if (isWord(u"NOT")) {
            const int pos = here();
            ++at_;
            const Nesting level(*this);
            NodePtr n = node(Kind::Not, pos);
            n->args.push_back(notExpr());
            return n;
        }
        return predicate();
    }
    NodePtr predicate() {
        NodePtr left = additive();
        const int pos = here();
        static const QStringList ops = {u"="_s,  u"<>"_s, u"!="_s, u"<"_s, u">"_s,
                                        u"<="_s, u">="_s, u"!<"_s, u"!>"_s};
        for (const QString& op : ops) {
            if (!is(op))
                continue;
            ++at_;
            if (isWord(u"ALL") || isWord(u"ANY") || isWord(u"SOME"))
                unsupported(pos, u"ALL/ANY/SOME comparisons"_s);
            QString o = op;
            if (o == u"!=")
                o = u"<>"_s;
            if (o == u"!<")
                o = u">="_s;
            if (o == u"!>")
                o = u"<="_s;
            return binary(Kind::Compare, pos, std::move(left), additive(), o);
        }
        if (acceptWord(u"IS")) {
            NodePtr n = node(Kind::IsNull, pos);
            n->negated = acceptWord(u"NOT");
            expectWord(u"NULL");
            n->args.push_back(std::move(left));
            return n;
        }
        const bool negated =
            isWord(u"NOT") && (isWord(u"BETWEEN", 1) || isWord(u"LIKE", 1) || isWord(u"IN", 1));
        if (negated)
            ++at_;
        if (acceptWord(u"BETWEEN")) {
            NodePtr n = node(Kind::Between, pos);
            n->negated = negated;
            n->args.push_back(std::move(left));
            n->args.push_back(additive());
            expectWord(u"AND");
            n->args.push_back(additive());
            return n;
        }
        if (acceptWord(u"LIKE")) {
            NodePtr n = node(Kind::Like, pos);
            n->negated = negated;
            n->args.push_back(std::move(left));
            n->args.push_back(additive());
            if (acceptWord(u"ESCAPE"))
                n->args.push_back(additive());
            return n;
        }
        if (acceptWord(u"IN")) {
            expect(u"(");
            NodePtr n;
            if (isWord(u"SELECT")) {
                n = node(Kind::InQuery, pos);
                n->query = query();
                n->args.push_back(std::move(left));
            } else {
                n = node(Kind::InList, pos);
                n->args.push_back(std::move(left));
                if (!constantList(n->constants)) {
                    do
                        n->args.push_back(expr());
                    while (accept(u","));
                }
            }
            expect(u")");
            n->negated = negated;
            return n;
        }
        if (negated)
            syntax();
        return left;
    }
    // An IN list whose every item is a literal number, string or NULL (a number may follow a
    // minus sign), up to its ')': taken as constants. Otherwise nothing is taken and the items
    // are parsed as expressions.
    bool constantList(std::vector<Constant>& out) {
        size_t i = at_;
        std::vector<Constant> items;
        for (;;) {
            Constant c;
            if (i < toks_.size() && toks_[i].kind == TokenKind::Operator &&
                data::tokenText(text_, toks_[i]) == u"-") {
                c.negative = true;
                ++i;
            }
            if (i >= toks_.size())
                return false;
            const Token& t = toks_[i];
            if (t.kind == TokenKind::Number) {
                c.kind = Kind::Number;
            } else if (!c.negative &&
                       (t.kind == TokenKind::String || t.kind == TokenKind::NString)) {
                c.kind = Kind::String;
            } else if (!c.negative && t.kind == TokenKind::Word &&
                       data::tokenText(text_, t).compare(u"NULL", Qt::CaseInsensitive) == 0) {
                c.kind = Kind::Null;
            } else {
                return false;
            }
            c.begin = t.begin;
            c.length = t.length;
            items.push_back(c);
            ++i;
            if (i >= toks_.size() || toks_[i].kind != TokenKind::Punct)
                return false;
            const QStringView after = data::tokenText(text_, toks_[i]);
            if (after == u")")
                break;
            if (after != u",")
                return false;
            ++i;
        }
        at_ = i;
        out = std::move(items);
        return true;
    }
    NodePtr additive() {
        int operators = 0;
        NodePtr left = multiplicative();
        for (;;) {
            const int pos = here();
            QString op;
            for (QStringView o : {u"+", u"-", u"&", u"|", u"^"}) {
                if (is(o))
                    op = o.toString();
            }
            if (op.isEmpty())
                break;
            if (is(u"||"))
                syntax();
            ++at_;
            countOperator(operators);
            left = binary(Kind::Binary, pos, std::move(left), multiplicative(), op);
        }
        return left;
    }
    NodePtr multiplicative() {
        int operators = 0;
        NodePtr left = unary();
        for (;;) {
            const int pos = here();
            QString op;
            for (QStringView o : {u"*", u"/", u"%"}) {
                if (is(o))
                    op = o.toString();
            }
            if (op.isEmpty())
                break;
            ++at_;
            countOperator(operators);
            left = binary(Kind::Binary, pos, std::move(left), unary(), op);
        }
        return left;
    }
    NodePtr unary() {
        const int pos = here();
        for (QStringView o : {u"-", u"+", u"~"}) {
            if (!is(o))
                continue;
            ++at_;
            const Nesting level(*this);
            NodePtr n = node(Kind::Unary, pos);
            n->op = o.toString();
            n->args.push_back(unary());
            return n;
        }
        return primary();
    }

    ColumnType typeName(QString& written) {
        const int pos = here();
        const QString name = identifier().toUpper();
        written = name;
        ColumnType t;
        auto lengthArg = [&](int fallback) {
            if (accept(u"(")) {
                if (isWord(u"MAX")) {
                    ++at_;
                    t.length = -1;
                } else {
                    t.length = intLiteral();
                }
                expect(u")");
            } else {
                t.length = fallback;
            }
        };
        if (name == u"FLOAT" || name == u"REAL") {
            t.type = SqlType::Float;
            if (accept(u"(")) {
                intLiteral();
                expect(u")");
            }
        } else if (name == u"MONEY" || name == u"SMALLMONEY") {
            t.type = SqlType::Money;
            t.scale = 4;
        } else if (name == u"DECIMAL" || name == u"NUMERIC" || name == u"DEC") {
            t.type = SqlType::Decimal;
            t.precision = 18;
            t.scale = 0;
            if (accept(u"(")) {
                t.precision = intLiteral();
                if (accept(u","))
                    t.scale = intLiteral();
                expect(u")");
            }
            if (t.precision < 1 || t.precision > 38 || t.scale < 0 || t.scale > t.precision)
                fail(pos, u"The size given to the type '%1' is not valid"_s.arg(name.toLower()));
        } else if (name == u"INT" || name == u"INTEGER" || name == u"SMALLINT" ||
                   name == u"TINYINT" || name == u"BIGINT" || name == u"BIT") {
            t.type = SqlType::Integer;
        } else if (name == u"CHAR" || name == u"NCHAR" || name == u"VARCHAR" ||
                   name == u"NVARCHAR" || name == u"TEXT" || name == u"NTEXT") {
            t.type = SqlType::Text;
            lengthArg(name.endsWith(u"TEXT") ? -1 : 30);
            if (t.length == 0 || t.length > 8000)
                fail(pos, u"The size given to the type is not valid"_s);
        } else if (name == u"DATETIME" || name == u"SMALLDATETIME" || name == u"DATE") {
            t.type = SqlType::DateTime;
        } else {
            unsupported(pos, u"conversion to the type '%1'"_s.arg(name));
        }
        return t;
    }
    int intLiteral() {
        if (peek().kind != TokenKind::Number || atEnd())
            syntax();
        bool ok = false;
        const int v = tokenText(toks_[at_]).toInt(&ok);
        if (!ok)
            syntax();
        ++at_;
        return v;
    }

    NodePtr primary() {
        if (atEnd())
            syntax();
        const Token t = peek();
        const int pos = t.begin;
        switch (t.kind) {
            case TokenKind::Number: {
                ++at_;
                NodePtr n = node(Kind::Number, pos);
                n->text = tokenText(t);
                return n;
            }
            case TokenKind::String:
            case TokenKind::NString: {
                ++at_;
                NodePtr n = node(Kind::String, pos);
                n->text = data::unquoteString(data::tokenText(text_, t));
                return n;
            }
            case TokenKind::Placeholder: {
                ++at_;
                NodePtr n = node(Kind::Placeholder, pos);
                n->index = ++placeholders_;
                return n;
            }
            case TokenKind::Parameter: {
                ++at_;
                NodePtr n = node(Kind::Parameter, pos);
                n->text = tokenText(t);
                named_ = true;
                return n;
            }
            case TokenKind::Variable: {
                ++at_;
                const QString name = tokenText(t);
                if (name.startsWith(u"@@")) {
                    const QString upper = name.toUpper();
                    if (upper != u"@@IDENTITY" && upper != u"@@ERROR" && upper != u"@@ROWCOUNT" &&
                        upper != u"@@TRANCOUNT")
                        unsupported(pos, upper);
                    NodePtr n = node(Kind::Identity, pos);
                    n->text = upper;
                    return n;
                }
                NodePtr n = node(Kind::Variable, pos);
                n->text = name;
                named_ = true;
                return n;
            }
            case TokenKind::Punct:
                if (accept(u"(")) {
                    if (isWord(u"SELECT")) {
                        NodePtr n = node(Kind::Subquery, pos);
                        n->query = query();
                        expect(u")");
                        return n;
                    }
                    NodePtr e = expr();
                    expect(u")");
                    return e;
                }
                syntax();
            case TokenKind::Word:
                return wordPrimary(t);
            case TokenKind::QuotedIdent:
            case TokenKind::BracketIdent:
                return columnRef();
            default:
                syntax();
        }
    }

    NodePtr columnRef() {
        const int pos = here();
        NodePtr n = node(Kind::Column, pos);
        n->name = identifier();
        while (accept(u".")) {
            if (!n->qualifier.isEmpty() && n->qualifier.compare(u"dbo", Qt::CaseInsensitive) != 0)
                unsupported(pos, u"a name with more than two parts"_s);
            n->qualifier = n->name;
            n->name = identifier();
        }
        return n;
    }

    NodePtr wordPrimary(const Token& t) {
        const int pos = t.begin;
        const QString word = upper(t);
        if (word == u"NULL") {
            ++at_;
            return node(Kind::Null, pos);
        }
        if (word == u"CASE") {
            ++at_;
            NodePtr n = node(Kind::Case, pos);
            if (!isWord(u"WHEN")) {
                n->hasOperand = true;
                n->args.push_back(expr());
            }
            if (!isWord(u"WHEN"))
                syntax();
            while (acceptWord(u"WHEN")) {
                n->args.push_back(expr());
                expectWord(u"THEN");
                n->args.push_back(expr());
            }
            if (acceptWord(u"ELSE")) {
                n->hasElse = true;
                n->args.push_back(expr());
            }
            expectWord(u"END");
            return n;
        }
        if (word == u"CAST") {
            ++at_;
            expect(u"(");
            NodePtr n = node(Kind::Cast, pos);
            n->args.push_back(expr());
            expectWord(u"AS");
            n->target = typeName(n->targetName);
            expect(u")");
            return n;
        }
        if (word == u"CONVERT") {
            ++at_;
            expect(u"(");
            NodePtr n = node(Kind::Cast, pos);
            n->target = typeName(n->targetName);
            expect(u",");
            n->args.push_back(expr());
            if (accept(u",")) {
                if (peek().kind != TokenKind::Number)
                    unsupported(here(), u"a CONVERT style that is not a number"_s);
                n->args.push_back(primary());
            }
            expect(u")");
            return n;
        }
        if (word == u"EXISTS") {
            ++at_;
            expect(u"(");
            NodePtr n = node(Kind::Exists, pos);
            if (!isWord(u"SELECT"))
                syntax();
            n->query = query();
            expect(u")");
            return n;
        }
        if (is(u"(", 1) && (!reservedWords().contains(word) || word == u"LEFT" || word == u"RIGHT"))
            return functionCall(word, pos);
        if (reservedWords().contains(word))
            syntax();
        return columnRef();
    }

    NodePtr functionCall(const QString& name, int pos) {
        at_ += 2;  // name and '('
        if (name == u"DATEADD" || name == u"DATEDIFF" || name == u"DATEPART" ||
            name == u"DATENAME") {
            NodePtr n = node(Kind::DatePart, pos);
            n->name = name;
            const int partPos = here();
            if (peek().kind == TokenKind::String) {
                n->text = data::unquoteString(data::tokenText(text_, toks_[at_++])).toLower();
            } else {
                n->text = identifier().toLower();
            }
            static const QStringList parts = {u"day"_s, u"dd"_s,   u"d"_s,  u"month"_s, u"mm"_s,
                                              u"m"_s,   u"year"_s, u"yy"_s, u"yyyy"_s};
            if (!parts.contains(n->text))
                unsupported(partPos, u"the date part '%1'"_s.arg(n->text));
            if (n->text.startsWith(u'd'))
                n->text = u"day"_s;
            if (n->text.startsWith(u'm'))
                n->text = u"month"_s;
            if (n->text.startsWith(u'y'))
                n->text = u"year"_s;
            while (accept(u","))
                n->args.push_back(expr());
            expect(u")");
            const size_t want = name == u"DATEPART" || name == u"DATENAME" ? 1 : 2;
            if (n->args.size() != want)
                syntax();
            return n;
        }
        NodePtr n = node(Kind::Function, pos);
        n->name = name;
        if (accept(u"*")) {
            n->star = true;
        } else if (!is(u")")) {
            if (acceptWord(u"DISTINCT")) {
                n->distinct = true;
            } else {
                acceptWord(u"ALL");
            }
            do
                n->args.push_back(expr());
            while (accept(u","));
        }
        expect(u")");
        if (isWord(u"OVER")) {
            ++at_;
            static const QStringList ranking = {u"RANK"_s, u"DENSE_RANK"_s, u"ROW_NUMBER"_s};
            if (!ranking.contains(name))
                unsupported(pos, u"%1 with OVER"_s.arg(name));
            if (!n->args.empty() || n->star)
                syntax();
            n->kind = Kind::Window;
            expect(u"(");
            if (acceptWord(u"PARTITION")) {
                expectWord(u"BY");
                do
                    n->args.push_back(expr());
                while (accept(u","));
            }
            if (acceptWord(u"ORDER")) {
                expectWord(u"BY");
                n->orderBy = orderList();
            }
            expect(u")");
        }
        return n;
    }

    QStringView text_;
    std::vector<Token> toks_;
    size_t at_ = 0;
    int placeholders_ = 0;
    bool named_ = false;
    int depth_ = 0;
};

}  // namespace

Node::~Node() {
    // A long chain of operators is a deep tree: it is taken apart here without recursion.
    std::vector<NodePtr> pending = std::move(args);
    while (!pending.empty()) {
        NodePtr n = std::move(pending.back());
        pending.pop_back();
        for (NodePtr& child : n->args)
            pending.push_back(std::move(child));
        n->args.clear();
    }
}

Statement parseStatement(QStringView text) {
    Parser p(text);
    return p.statement();
}

NodePtr parseExpression(QStringView text, int& placeholders, bool& named) {
    Parser p(text);
    NodePtr e = p.expression();
    placeholders = p.placeholders();
    named = p.named();
    return e;
}

}  // namespace md::tsql::ast

namespace md::tsql {

void throwNestedTooDeeply() {
    throw data::DbError(QStringLiteral("Some part of your SQL statement is nested too deeply. "
                                       "Rewrite the query or break it up into smaller queries."),
                        191, QStringLiteral("42000"), data::ErrorCategory::Syntax);
}

}  // namespace md::tsql
