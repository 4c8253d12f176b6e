#include "data/backend/DbError.h"
#include "data/backend/SqlLexer.h"
#include "data/embedded/ErrorMapping.h"
#include "data/embedded/tsql/Ast.h"
#include "data/embedded/tsql/DmlTranslator.h"
#include "data/embedded/tsql/LiteralArray.h"
#include "data/embedded/tsql/TextRules.h"
#include "data/embedded/tsql/Values.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace md::tsql {
namespace {

using namespace Qt::StringLiterals;
using namespace ast;
using data::DbError;
using data::ErrorCategory;

bool isNumeric(SqlType t) {
    return t == SqlType::Integer || t == SqlType::Float || t == SqlType::Decimal ||
           t == SqlType::Money;
}

bool isExact(SqlType t) {
    return t == SqlType::Decimal || t == SqlType::Money;
}

// Precision and scale of an exact numeric operand, as SQL Server sees it in arithmetic: an int
// is decimal(10, 0) (an integer literal has as many digits as it is written with), money is
// decimal(19, 4).
struct DecimalShape {
    int precision;
    int scale;
};

DecimalShape shapeOf(const ColumnType& t, const QString& literal = {}) {
    if (t.type == SqlType::Money)
        return {19, 4};
    if (t.type == SqlType::Decimal) {
        const int scale = std::max(t.scale, 0);
        int precision = t.precision > 0 ? t.precision : 18;
        if (!literal.isEmpty())
            precision = std::max<int>(int(literal.count(QRegularExpression(u"[0-9]"_s))), scale);
        return {std::max(precision, 1), scale};
    }
    return {10, 0};
}

// The result type of a decimal operation, with its precision capped at 38 the way the server
// caps it (keeping the integer part and at least six decimals where it can).
ColumnType decimalResult(const QString& op, DecimalShape a, DecimalShape b, bool money) {
    if (money)
        return ColumnType{SqlType::Money, -1, 19, 4};
    int p = 0, sc = 0;
    const bool multiplicative = op == u"*" || op == u"/";
    if (op == u"+" || op == u"-") {
        sc = std::max(a.scale, b.scale);
        p = sc + std::max(a.precision - a.scale, b.precision - b.scale) + 1;
    } else if (op == u"*") {
        p = a.precision + b.precision + 1;
        sc = a.scale + b.scale;
    } else if (op == u"/") {
        sc = std::max(6, a.scale + b.precision + 1);
        p = a.precision - a.scale + b.scale + sc;
    } else {  // %
        sc = std::max(a.scale, b.scale);
        p = std::min(a.precision - a.scale, b.precision - b.scale) + sc;
    }
    if (p > 38) {
        const int integral = p - sc;
        if (!multiplicative)
            sc = std::max(38 - integral, std::min(sc, 6));
        else if (integral < 32)
            sc = std::min(sc, 38 - integral);
        else if (sc > 6)
            sc = 6;
        p = 38;
    }
    return ColumnType{SqlType::Decimal, -1, p, std::max(sc, 0)};
}

QString quoteIdent(const QString& name) {
    QString s = name;
    s.replace(u'"', u"\"\""_s);
    return u'"' + s + u'"';
}

// Digits of a numeric literal without its leading zeros.
int significantDigits(QStringView number) {
    int digits = 0;
    for (const QChar c : number) {
        if (c.isDigit() && (digits > 0 || c != u'0'))
            ++digits;
    }
    return digits;
}

QString quoteLiteral(const QString& value) {
    QString s = value;
    s.replace(u'\'', u"''"_s);
    return u'\'' + s + u'\'';
}

// What the emitter knows about a translated expression.
struct Emitted {
    QString sql;
    ColumnType type;
    bool textColumn = false;  // a column reference of a text column (carries TSQL)
    bool columnRef = false;
    // A column reference of a decimal or money column: the stored text itself, which
    // compares by its number (TSQL_DEC) and can use an index. `sql` is then its value as an
    // expression takes it (tsql_dec), which compares with numbers as a number.
    QString storedDecimal;
    QString baseTable;              // a column reference of a table: the table
    const Node* literal = nullptr;  // the string literal node, when the expression is one
    bool bindable = false;          // a placeholder, parameter or variable
    // An infix operation: its text without the outer parentheses and SQLite's precedence of
    // its operator (0 for anything else).
    QString bare;
    int precedence = 0;
};

// SQLite's precedence of the infix operators the translator writes (higher binds tighter).
int sqlitePrecedence(QStringView op) {
    if (op == u"||")
        return 4;
    if (op == u"*")
        return 3;
    if (op == u"+" || op == u"-")
        return 2;
    return 1;  // & |
}

// The left operand of an infix operation, without its parentheses where SQLite groups it the
// same way anyway: a long left-deep chain then stays flat for SQLite's parser, whose stack
// holds only about a hundred open parentheses.
QString leftOperand(const Emitted& a, int precedence) {
    const bool whole = !a.bare.isEmpty() && a.sql.size() == a.bare.size() + 2;
    return whole && a.precedence >= precedence ? a.bare : a.sql;
}

void setInfix(Emitted& e, const Emitted& a, const QString& left, QStringView op,
              const QString& right) {
    const int precedence = sqlitePrecedence(op);
    e.bare =
        (left == a.sql ? leftOperand(a, precedence) : left) + u' ' + op.toString() + u' ' + right;
    e.sql = u'(' + e.bare + u')';
    e.precedence = precedence;
}

using Columns = std::vector<std::pair<QString, ColumnType>>;

// Where an operand is compared, sorted, grouped or read by a decimal function: a decimal
// column as stored.
const QString& stored(const Emitted& e) {
    return e.storedDecimal.isEmpty() ? e.sql : e.storedDecimal;
}

struct ScopeTable {
    QString alias;  // alias, or the table name when there is none
    QString table;  // empty for a derived table
    Columns derived;
};

struct Scope {
    std::vector<ScopeTable> tables;
    const Scope* outer = nullptr;
    const SelectCore* core = nullptr;
    const Columns* items = nullptr;  // the select list, for ORDER BY aliases
};

struct FunctionArity {
    int min;
    int max;
};

const QHash<QString, FunctionArity>& functionArities() {
    static const QHash<QString, FunctionArity> f = {
        {u"COALESCE"_s, {2, 255}}, {u"ISNULL"_s, {2, 2}},    {u"NULLIF"_s, {2, 2}},
        {u"UPPER"_s, {1, 1}},      {u"LOWER"_s, {1, 1}},     {u"LTRIM"_s, {1, 1}},
        {u"RTRIM"_s, {1, 1}},      {u"LEN"_s, {1, 1}},       {u"SUBSTRING"_s, {3, 3}},
        {u"LEFT"_s, {2, 2}},       {u"RIGHT"_s, {2, 2}},     {u"REPLACE"_s, {3, 3}},
        {u"CHARINDEX"_s, {2, 3}},  {u"ABS"_s, {1, 1}},       {u"ROUND"_s, {2, 3}},
        {u"STR"_s, {1, 3}},        {u"GETDATE"_s, {0, 0}},   {u"YEAR"_s, {1, 1}},
        {u"MONTH"_s, {1, 1}},      {u"DAY"_s, {1, 1}},       {u"COUNT"_s, {1, 1}},
        {u"SUM"_s, {1, 1}},        {u"MIN"_s, {1, 1}},       {u"MAX"_s, {1, 1}},
        {u"AVG"_s, {1, 1}},        {u"FLOOR"_s, {1, 1}},     {u"CEILING"_s, {1, 1}},
        {u"SPACE"_s, {1, 1}},      {u"REPLICATE"_s, {2, 2}}, {u"SIGN"_s, {1, 1}},
    };
    return f;
}

class Emitter {
  public:
    Emitter(QStringView text, const SchemaLookup& schema, bool numbered)
        : text_(text), schema_(schema), numbered_(numbered) {}

    QString statement(const Statement& st, std::vector<ColumnType>* types) {
        switch (st.type) {
            case Statement::Select: {
                Columns cols;
                outermost_ = st.query.get();
                QString sql = query(*st.query, nullptr, &cols);
                if (types) {
                    types->clear();
                    for (const auto& c : cols)
                        types->push_back(c.second);
                }
                return sql;
            }
            case Statement::Insert:
                return insert(st);
            case Statement::Update:
                return update(st);
            case Statement::Delete: {
                Scope scope;
                scope.tables.push_back({st.table, st.table, {}});
                QString s = u"DELETE FROM "_s + quoteIdent(st.table);
                if (st.where)
                    s += u" WHERE "_s + expr(*st.where, scope).sql;
                return s;
            }
        }
        return {};
    }

    QString expression(const Node& n) {
        Scope scope;
        return expr(n, scope).sql;
    }

  private:
    [[noreturn]] void fail(int offset, const QString& what, int number = 102) const {
        const auto p = data::positionOf(text_, offset);
        throw embedded::serverError(
            number, u"%1 (line %2, column %3)."_s.arg(what).arg(p.line).arg(p.column));
    }

    // ---- statements --------------------------------------------------------------------
    QString insert(const Statement& st) {
        Scope scope;
        scope.tables.push_back({st.table, st.table, {}});
        QString s = u"INSERT INTO "_s + quoteIdent(st.table);
        std::vector<ColumnType> types;
        if (!st.columns.empty()) {
            QStringList cols;
            for (const QString& c : st.columns) {
                cols << quoteIdent(c);
                types.push_back(schema_.column(st.table, c).value_or(ColumnType{}));
            }
            s += u" ("_s + cols.join(u", "_s) + u')';
        } else {
            for (const auto& [name, type] : schema_.columns(st.table)) {
                (void)name;
                types.push_back(type);
            }
        }
        if (st.defaultValues)
            return s + u" DEFAULT VALUES"_s;
        if (st.query) {
            Columns produced;
            const QString select = query(*st.query, nullptr, &produced);
            bool convert = false;
            for (const ColumnType& t : types)
                convert = convert || isExact(t.type) || t.type == SqlType::Integer;
            if (!convert || produced.size() != types.size())
                return s + u' ' + select;
            // The selected values are converted to their columns as VALUES are: through a
            // named source whose columns the conversions can refer to.
            QStringList names, values;
            for (size_t i = 0; i < types.size(); ++i) {
                const QString name = u"md_c%1"_s.arg(i + 1);
                names << name;
                Emitted v;
                v.sql = name;
                v.type = produced[i].second;
                assignTo(types[i], v);
                values << v.sql;
            }
            return u"WITH md_source("_s + names.join(u", "_s) + u") AS ("_s + select + u") "_s + s +
                   u" SELECT "_s + values.join(u", "_s) + u" FROM md_source"_s;
        }
        QStringList rows;
        for (const auto& row : st.rows) {
            if (!types.empty() && row.size() != types.size()) {
                const bool moreColumns = row.size() < types.size();
                fail(row.empty() ? 0 : row.front()->pos,
                     u"There are %1 columns in the INSERT statement than values specified in the "
                     "VALUES clause. The number of values in the VALUES clause must match the "
                     "number of columns specified in the INSERT statement"_s.arg(
                         moreColumns ? u"more"_s : u"fewer"_s),
                     moreColumns ? 109 : 110);
            }
            QStringList values;
            for (size_t i = 0; i < row.size(); ++i) {
                Emitted v = expr(*row[i], scope);
                if (i < types.size())
                    assignTo(types[i], v);
                values << v.sql;
            }
            rows << u'(' + values.join(u", "_s) + u')';
        }
        return s + u" VALUES "_s + rows.join(u", "_s);
    }

    QString update(const Statement& st) {
        Scope scope;
        scope.tables.push_back({st.table, st.table, {}});
        QStringList sets;
        for (const Assignment& a : st.set) {
            Emitted v = expr(*a.value, scope);
            assignTo(schema_.column(st.table, a.column).value_or(ColumnType{}), v);
            sets << quoteIdent(a.column) + u" = "_s + v.sql;
        }
        QString s = u"UPDATE "_s + quoteIdent(st.table) + u" SET "_s + sets.join(u", "_s);
        if (st.where)
            s += u" WHERE "_s + expr(*st.where, scope).sql;
        return s;
    }

    // A value written into a column: date-time columns read strings as dates; decimal and
    // money columns round it to their scale and refuse what does not fit.
    void assignTo(const ColumnType& column, Emitted& v) {
        if (isExact(column.type)) {
            if (v.sql == u"NULL")
                return;
            const DecimalShape shape = shapeOf(column);
            v.sql = u"tsql_store_decimal("_s + stored(v) + u", "_s +
                    QString::number(shape.precision) + u", "_s + QString::number(shape.scale) +
                    (v.bindable ? u", 1)"_s : u", 0)"_s);
            v.type = column;
            v.storedDecimal.clear();
            return;
        }
        if (column.type == SqlType::Integer &&
            (column.precision == 1 || column.precision == 3 || column.precision == 5 ||
             column.precision == 10 || column.precision == 19) &&
            v.sql != u"NULL") {
            v.sql = u"tsql_store_int("_s + v.sql + u", "_s + QString::number(column.precision) +
                    (v.bindable ? u", 1)"_s : u", 0)"_s);
            v.type = column;
            return;
        }
        if (column.type != SqlType::DateTime)
            return;
        asDateTime(v);
    }

    void asDateTime(Emitted& v) {
        if (v.literal) {
            v.sql = dateLiteral(*v.literal);
        } else if (v.bindable || v.type.type == SqlType::Text) {
            v.sql = u"tsql_to_datetime("_s + v.sql + u')';
        }
        v.type.type = SqlType::DateTime;
    }

    QString dateLiteral(const Node& literal) const {
        const DateTimeParse r = parseDateTime(literal.text);
        if (r.status == DateTimeParse::Ok)
            return quoteLiteral(storageText(r.value));
        if (r.status == DateTimeParse::OutOfRange)
            throw DbError(
                u"The conversion of a varchar data type to a datetime data type resulted in an "
                "out-of-range value."_s,
                242, u"22008"_s, ErrorCategory::Conversion);
        throw DbError(
            u"Conversion failed when converting date and/or time from character string."_s, 241,
            u"22007"_s, ErrorCategory::Conversion);
    }

    // ---- queries -----------------------------------------------------------------------
    QString query(const Query& q, const Scope* outer, Columns* columns) {
        QStringList parts;
        for (size_t i = 0; i < q.cores.size(); ++i) {
            const SelectCore& c = q.cores[i];
            Columns cols;
            Scope scope;
            QString core =
                selectCore(c, outer, cols, scope, &q == outermost_ && q.cores.size() == 1);
            if (i == 0 && columns)
                *columns = cols;
            if (q.cores.size() == 1) {
                if (!q.orderBy.empty())
                    core += u" ORDER BY "_s + orderBy(q.orderBy, scope, true);
                if (c.top) {
                    topNode_ = c.top.get();
                    core += u" LIMIT "_s + expr(*c.top, scope).sql;
                }
                return core;
            }
            topNode_ = c.top.get();
            if (c.top)
                core = u"SELECT * FROM ("_s + core + u" LIMIT "_s + expr(*c.top, scope).sql + u')';
            if (i > 0)
                parts << q.ops[i - 1];
            parts << core;
        }
        QString s = parts.join(u' ');
        if (!q.orderBy.empty()) {
            Scope none;
            none.outer = outer;
            s += u" ORDER BY "_s + orderBy(q.orderBy, none, false);
        }
        return s;
    }

    QString orderBy(const std::vector<OrderItem>& items, const Scope& scope, bool collate) {
        QStringList terms;
        for (const OrderItem& o : items) {
            QString term;
            const Node& e = *o.expr;
            if (e.kind == Kind::Number) {
                term = e.text;
            } else if (e.kind == Kind::Column && e.qualifier.isEmpty() && scope.items &&
                       !resolves(e, scope)) {
                // A select-list alias.
                term = quoteIdent(e.name);
                for (const auto& [alias, type] : *scope.items) {
                    if (alias.compare(e.name, Qt::CaseInsensitive) == 0 && collate &&
                        !isNumeric(type.type) && type.type != SqlType::DateTime)
                        term += u" COLLATE TSQL"_s;
                    if (alias.compare(e.name, Qt::CaseInsensitive) == 0)
                        break;
                }
            } else {
                const Emitted v = expr(e, scope);
                term = stored(v);
                // A computed decimal sorts as exact text by the decimal collation: one no
                // double holds is text, which SQLite would put after every number.
                if (isExact(v.type.type) && v.storedDecimal.isEmpty() && !v.bindable)
                    term = u"tsql_dec_text("_s + v.sql + u") COLLATE TSQL_DEC"_s;
                if (collate && !v.textColumn && !isNumeric(v.type.type) &&
                    v.type.type != SqlType::DateTime)
                    term += u" COLLATE TSQL"_s;
            }
            if (o.descending)
                term += u" DESC"_s;
            terms << term;
        }
        return terms.join(u", "_s);
    }

    QString selectCore(const SelectCore& c, const Scope* outer, Columns& cols, Scope& scope,
                       bool outermost) {
        scope.outer = outer;
        scope.core = &c;
        // The FROM tables first: the select list and the conditions refer to them.
        QStringList tables;
        for (const TableRef& ref : c.from) {
            ScopeTable t;
            QString item;
            if (ref.derived) {
                item = u'(' + query(*ref.derived, outer, &t.derived) + u')';
            } else {
                t.table = ref.table;
                item = quoteIdent(ref.table);
            }
            t.alias = ref.alias.isEmpty() ? ref.table : ref.alias;
            if (!ref.alias.isEmpty())
                item += u" AS "_s + quoteIdent(ref.alias);
            scope.tables.push_back(std::move(t));
            tables << item;
        }
        QStringList items;
        for (const SelectItem& it : c.items) {
            if (it.expr->kind == Kind::Star) {
                if (c.from.empty())
                    fail(it.expr->pos, u"Must specify table to select from"_s, 263);
                items << (it.expr->qualifier.isEmpty() ? u"*"_s
                                                       : quoteIdent(it.expr->qualifier) + u".*"_s);
                starColumns(*it.expr, scope, cols);
                continue;
            }
            const Emitted v = expr(*it.expr, scope);
            // The outermost select hands a decimal column to the caller as stored (the exact
            // text); inside a query its value is the number an outer expression compares.
            const bool asStored = outermost && !v.storedDecimal.isEmpty();
            QString item = asStored ? v.storedDecimal : v.sql;
            QString name = it.alias;
            // A computed text value has no collation of its own in SQLite: DISTINCT, UNION,
            // IN and an outer query over a derived table would compare it in binary. It
            // carries TSQL, under the name SQLite would have given it.
            const bool collate = needsTextCollation(v);
            if (collate)
                item += u" COLLATE TSQL"_s;
            if (!name.isEmpty()) {
                item += u" AS "_s + quoteIdent(name);
            } else if (it.expr->kind == Kind::Column) {
                name = it.expr->name;
                if (!asStored && !v.storedDecimal.isEmpty())
                    item += u" AS "_s + quoteIdent(name);
            } else if (collate) {
                item += u" AS "_s + quoteIdent(v.sql);
            }
            cols.emplace_back(name, v.type);
            items << item;
        }
        QString s = u"SELECT "_s;
        if (c.distinct)
            s += u"DISTINCT "_s;
        s += items.join(u", "_s);
        if (!c.from.empty()) {
            QString from;
            for (size_t i = 0; i < c.from.size(); ++i) {
                const TableRef& ref = c.from[i];
                if (i == 0) {
                    from = tables[0];
                } else if (ref.join == u",") {
                    from += u", "_s + tables[qsizetype(i)];
                } else {
                    from += u' ' + ref.join + u' ' + tables[qsizetype(i)];
                }
                if (ref.on)
                    from += u" ON "_s + expr(*ref.on, scope).sql;
            }
            s += u" FROM "_s + from;
        }
        if (c.where) {
            markDeciding(*c.where);
            s += u" WHERE "_s + expr(*c.where, scope).sql;
        }
        if (!c.groupBy.empty()) {
            QStringList g;
            for (const NodePtr& e : c.groupBy) {
                const Emitted v = expr(*e, scope);
                g << (needsTextCollation(v) ? v.sql + u" COLLATE TSQL"_s : stored(v));
            }
            s += u" GROUP BY "_s + g.join(u", "_s);
        }
        if (c.having)
            s += u" HAVING "_s + expr(*c.having, scope).sql;
        scope.items = &cols;
        return s;
    }

    void starColumns(const Node& star, const Scope& scope, Columns& cols) {
        for (const ScopeTable& t : scope.tables) {
            if (!star.qualifier.isEmpty() && t.alias.compare(star.qualifier, Qt::CaseInsensitive))
                continue;
            if (!t.table.isEmpty()) {
                for (const auto& c : schema_.columns(t.table))
                    cols.push_back(c);
            }
            for (const auto& c : t.derived)
                cols.push_back(c);
        }
    }

    // ---- names -------------------------------------------------------------------------
    bool resolves(const Node& col, const Scope& scope) const {
        return lookup(col, scope).has_value();
    }

    std::optional<ColumnType> lookup(const Node& col, const Scope& scope,
                                     QString* table = nullptr) const {
        for (const Scope* s = &scope; s; s = s->outer) {
            for (const ScopeTable& t : s->tables) {
                if (!col.qualifier.isEmpty() &&
                    t.alias.compare(col.qualifier, Qt::CaseInsensitive) != 0 &&
                    t.table.compare(col.qualifier, Qt::CaseInsensitive) != 0)
                    continue;
                if (t.table.isEmpty()) {
                    for (const auto& [name, type] : t.derived) {
                        if (name.compare(col.name, Qt::CaseInsensitive) == 0)
                            return type;
                    }
                } else if (auto type = schema_.column(t.table, col.name)) {
                    if (table)
                        *table = t.table;
                    return type;
                }
                if (!col.qualifier.isEmpty())
                    return std::nullopt;
            }
        }
        return std::nullopt;
    }

    // ---- expressions -------------------------------------------------------------------
    // A text value that is not a column reference (those carry the column's collation).
    static bool needsTextCollation(const Emitted& v) {
        return v.type.type == SqlType::Text && !v.columnRef;
    }

    static bool collationMatters(const Emitted& a, const Emitted& b) {
        if (a.textColumn || b.textColumn)
            return false;
        const auto plain = [](const Emitted& e) {
            return isNumeric(e.type.type) || e.type.type == SqlType::DateTime;
        };
        return !plain(a) && !plain(b);
    }

    // Two numbers of which one is a computed decimal (not a column, which compares by its
    // collation and index): compared exactly, since a decimal no double holds is text.
    static bool exactComparison(const Emitted& a, const Emitted& b) {
        if (a.columnRef || b.columnRef)  // a column keeps its index
            return false;
        const auto number = [](const Emitted& x) {
            return isNumeric(x.type.type) || (x.type.type == SqlType::Unknown && x.bindable);
        };
        return (isExact(a.type.type) || isExact(b.type.type)) && number(a) && number(b);
    }

    // Reads a string side as a date-time when the other side is one.
    void dateSides(Emitted& a, Emitted& b) {
        if (a.type.type == SqlType::DateTime && b.type.type != SqlType::DateTime)
            asDateTime(b);
        if (b.type.type == SqlType::DateTime && a.type.type != SqlType::DateTime)
            asDateTime(a);
    }

    Emitted expr(const Node& n, const Scope& scope) {
        Emitted e;
        switch (n.kind) {
            case Kind::Number:
                e.sql = n.text;
                e.type.type = n.text.contains(u'e', Qt::CaseInsensitive) ? SqlType::Float
                              : n.text.contains(u'.')                    ? SqlType::Decimal
                                                                         : SqlType::Integer;
                if (e.type.type == SqlType::Integer && n.text.size() > 18 && !n.text.toLongLong()) {
                    e.type.type = SqlType::Decimal;  // past bigint: numeric(p, 0)
                    e.type.scale = 0;
                }
                if (e.type.type == SqlType::Decimal) {
                    if (n.text.contains(u'.'))
                        e.type.scale = int(n.text.size() - n.text.indexOf(u'.') - 1);
                    // SQLite would read a longer literal as an approximate double: it goes
                    // as its exact text, which decimal columns and functions read exactly.
                    if (significantDigits(n.text) > 15)
                        e.sql = quoteLiteral(n.text);
                }
                return e;
            case Kind::String:
                e.sql = quoteLiteral(n.text);
                e.type.type = SqlType::Text;
                e.literal = &n;
                return e;
            case Kind::Null:
                e.sql = u"NULL"_s;
                return e;
            case Kind::Column: {
                e.sql = n.qualifier.isEmpty() ? quoteIdent(n.name)
                                              : quoteIdent(n.qualifier) + u'.' + quoteIdent(n.name);
                e.columnRef = true;
                if (auto t = lookup(n, scope, &e.baseTable))
                    e.type = *t;
                e.textColumn = e.type.type == SqlType::Text;
                if (n.qualifier.isEmpty() && e.type.type == SqlType::Unknown && scope.items) {
                    for (const auto& [alias, type] : *scope.items) {
                        if (alias.compare(n.name, Qt::CaseInsensitive) == 0)
                            e.type = type;
                    }
                }
                if (isExact(e.type.type)) {
                    e.storedDecimal = e.sql;
                    e.sql = u"tsql_dec("_s + e.sql + u')';
                }
                return e;
            }
            case Kind::Star:
                fail(n.pos, u"Incorrect syntax near '*'"_s);
            case Kind::Placeholder:
                if (!numbered_ && &n == topNode_)
                    fail(n.pos,
                         u"The embedded engine does not support TOP ? beside named parameters"_s);
                e.sql = numbered_ ? u"?"_s + QString::number(n.index) : u"?"_s;
                e.bindable = true;
                return e;
            case Kind::Parameter:
                e.sql = n.text;
                e.bindable = true;
                return e;
            case Kind::Variable:
                e.sql = n.text;
                e.bindable = true;
                if (auto t = schema_.variable(n.text))
                    e.type = *t;
                return e;
            case Kind::Identity:
                e.sql = n.text == u"@@ERROR"       ? u"md_error()"_s
                        : n.text == u"@@ROWCOUNT"  ? u"md_rowcount()"_s
                        : n.text == u"@@TRANCOUNT" ? u"md_trancount()"_s
                                                   : u"last_insert_rowid()"_s;
                e.type.type = SqlType::Integer;
                return e;
            case Kind::Unary: {
                Emitted a = expr(*n.args[0], scope);
                if (n.op == u"~") {
                    e.sql = u"(~"_s + a.sql + u')';
                    e.type.type = SqlType::Integer;
                } else if (n.op == u"-" && n.args[0]->kind == Kind::Number &&
                           a.sql.startsWith(u'\'')) {
                    e.sql = quoteLiteral(u'-' + n.args[0]->text);  // a long literal, exactly
                    e.type = a.type;
                } else if (n.op == u"-" && !a.storedDecimal.isEmpty()) {
                    e.sql = u"tsql_dec_op('-', 0, "_s + a.storedDecimal + u", "_s +
                            QString::number(shapeOf(a.type).scale) + u')';
                    e.type = a.type;
                } else {
                    const QString v =
                        isNumeric(a.type.type) ? a.sql : u"tsql_num("_s + a.sql + u')';
                    e.sql = u'(' + n.op + v + u')';
                    e.type = a.type;
                }
                return e;
            }
            case Kind::Binary:
                return binary(n, scope);
            case Kind::Compare: {
                Emitted a = expr(*n.args[0], scope);
                Emitted b = expr(*n.args[1], scope);
                dateSides(a, b);
                e.type.type = SqlType::Integer;
                if (exactComparison(a, b)) {
                    e.sql =
                        u"(tsql_dec_cmp("_s + a.sql + u", "_s + b.sql + u") "_s + n.op + u" 0)"_s;
                    return e;
                }
                QString right = stored(b);
                if (collationMatters(a, b))
                    right += u" COLLATE TSQL"_s;
                e.sql = u'(' + stored(a) + u' ' + n.op + u' ' + right + u')';
                e.type.type = SqlType::Integer;
                return e;
            }
            case Kind::And:
            case Kind::Or:
                e.sql = u'(' + expr(*n.args[0], scope).sql +
                        (n.kind == Kind::And ? u" AND "_s : u" OR "_s) +
                        expr(*n.args[1], scope).sql + u')';
                e.type.type = SqlType::Integer;
                return e;
            case Kind::Not:
                e.sql = u"(NOT "_s + expr(*n.args[0], scope).sql + u')';
                e.type.type = SqlType::Integer;
                return e;
            case Kind::IsNull:
                e.sql = u'(' + stored(expr(*n.args[0], scope)) +
                        (n.negated ? u" IS NOT NULL)"_s : u" IS NULL)"_s);
                e.type.type = SqlType::Integer;
                return e;
            case Kind::Between: {
                Emitted a = expr(*n.args[0], scope);
                Emitted lo = expr(*n.args[1], scope);
                Emitted hi = expr(*n.args[2], scope);
                dateSides(a, lo);
                dateSides(a, hi);
                dateSides(lo, a);
                QString left = stored(a);
                if (collationMatters(a, lo) && collationMatters(a, hi))
                    left += u" COLLATE TSQL"_s;
                e.sql = u'(' + left + (n.negated ? u" NOT BETWEEN "_s : u" BETWEEN "_s) +
                        stored(lo) + u" AND "_s + stored(hi) + u')';
                e.type.type = SqlType::Integer;
                return e;
            }
            case Kind::Like:
                return like(n, scope);
            case Kind::InList:
                return inList(n, scope);
            case Kind::InQuery: {
                const Emitted a = expr(*n.args[0], scope);
                e.sql = u'(' + stored(a) + (n.negated ? u" NOT IN ("_s : u" IN ("_s) +
                        query(*n.query, &scope, nullptr) + u"))"_s;
                e.type.type = SqlType::Integer;
                return e;
            }
            case Kind::Exists:
                e.sql = u"EXISTS ("_s + query(*n.query, &scope, nullptr) + u')';
                e.type.type = SqlType::Integer;
                return e;
            case Kind::Subquery: {
                Columns cols;
                e.sql = u'(' + query(*n.query, &scope, &cols) + u')';
                if (!cols.empty())
                    e.type = cols.front().second;
                return e;
            }
            case Kind::Function:
                return function(n, scope);
            case Kind::Cast:
                return cast(n, scope);
            case Kind::DatePart: {
                QStringList args;
                for (const NodePtr& a : n.args)
                    args << expr(*a, scope).sql;
                const QString part = quoteLiteral(n.text);
                if (n.name == u"DATEADD") {
                    e.sql = u"tsql_dateadd("_s + part + u", "_s + args.join(u", "_s) + u')';
                    e.type.type = SqlType::DateTime;
                } else if (n.name == u"DATEDIFF") {
                    e.sql = u"tsql_datediff("_s + part + u", "_s + args.join(u", "_s) + u')';
                    e.type.type = SqlType::Integer;
                } else if (n.name == u"DATEPART") {
                    e.sql = u"tsql_datepart("_s + part + u", "_s + args.join(u", "_s) + u')';
                    e.type.type = SqlType::Integer;
                } else {
                    fail(n.pos, u"The embedded engine does not support %1"_s.arg(n.name));
                }
                return e;
            }
            case Kind::Case: {
                QString s = u"CASE"_s;
                size_t i = 0;
                bool collate = false;
                if (n.hasOperand) {
                    const Emitted op = expr(*n.args[0], scope);
                    collate = !op.textColumn && !isNumeric(op.type.type) &&
                              op.type.type != SqlType::DateTime;
                    s += u' ' + op.sql + (collate ? u" COLLATE TSQL"_s : QString());
                    i = 1;
                }
                const size_t whenEnd = n.args.size() - (n.hasElse ? 1 : 0);
                for (; i + 1 < whenEnd + 1 && i < whenEnd; i += 2) {
                    s += u" WHEN "_s + expr(*n.args[i], scope).sql;
                    const Emitted then = expr(*n.args[i + 1], scope);
                    if (e.type.type == SqlType::Unknown)
                        e.type = then.type;
                    s += u" THEN "_s + then.sql;
                }
                if (n.hasElse) {
                    const Emitted other = expr(*n.args.back(), scope);
                    if (e.type.type == SqlType::Unknown)
                        e.type = other.type;
                    s += u" ELSE "_s + other.sql;
                }
                e.sql = s + u" END"_s;
                return e;
            }
            case Kind::Window: {
                QString s = n.name + u"() OVER ("_s;
                if (!n.args.empty()) {
                    QStringList parts;
                    for (const NodePtr& a : n.args)
                        parts << expr(*a, scope).sql;
                    s += u"PARTITION BY "_s + parts.join(u", "_s);
                }
                if (!n.orderBy.empty()) {
                    if (!n.args.empty())
                        s += u' ';
                    Scope inner = scope;
                    inner.items = nullptr;
                    s += u"ORDER BY "_s + orderBy(n.orderBy, inner, true);
                }
                e.sql = s + u')';
                e.type.type = SqlType::Integer;
                return e;
            }
        }
        fail(n.pos, u"Incorrect syntax"_s);
    }

    // A chain of operators is a left-deep tree: its spine is walked in a loop, so the
    // recursion goes only as deep as the operands nest.
    Emitted binary(const Node& n, const Scope& scope) {
        std::vector<const Node*> spine;
        const Node* leftmost = &n;
        while (leftmost->kind == Kind::Binary) {
            spine.push_back(leftmost);
            leftmost = leftmost->args[0].get();
        }
        Emitted acc = expr(*leftmost, scope);
        for (auto it = spine.rbegin(); it != spine.rend(); ++it)
            acc = combine(**it, acc, expr(*(*it)->args[1], scope));
        return acc;
    }

    Emitted combine(const Node& n, const Emitted& a, const Emitted& b) {
        Emitted e;
        const SqlType ta = a.type.type;
        const SqlType tb = b.type.type;
        const auto wider = [&] {
            ColumnType t;
            const auto rank = [](SqlType s) {
                return s == SqlType::Float     ? 4
                       : s == SqlType::Money   ? 3
                       : s == SqlType::Decimal ? 2
                                               : 1;
            };
            t = rank(ta) >= rank(tb) ? a.type : b.type;
            if (ta == SqlType::Decimal && tb == SqlType::Decimal)
                t.scale = std::max(a.type.scale, b.type.scale);
            return t;
        };
        const auto num = [](const Emitted& x) {
            return isNumeric(x.type.type) ? x.sql : u"tsql_num("_s + x.sql + u')';
        };
        // Decimal arithmetic is exact and takes the server's result scale.
        const auto exactOperand = [](SqlType t) { return isExact(t) || t == SqlType::Integer; };
        const bool arithmetic =
            n.op == u"+" || n.op == u"-" || n.op == u"*" || n.op == u"/" || n.op == u"%";
        if (arithmetic && (isExact(ta) || isExact(tb)) && exactOperand(ta) && exactOperand(tb)) {
            const auto literalOf = [](const Node& x) {
                return x.kind == Kind::Number ? x.text : QString();
            };
            e.type = decimalResult(n.op, shapeOf(a.type, literalOf(*n.args[0])),
                                   shapeOf(b.type, literalOf(*n.args[1])),
                                   ta == SqlType::Money || tb == SqlType::Money);
            e.sql = u"tsql_dec_op('"_s + n.op + u"', "_s + stored(a) + u", "_s + stored(b) +
                    u", "_s + QString::number(e.type.scale) + u')';
            return e;
        }
        if (n.op == u"+") {
            if (isNumeric(ta) && isNumeric(tb)) {
                setInfix(e, a, a.sql, u"+", b.sql);
                e.type = wider();
            } else if (ta == SqlType::Text && tb == SqlType::Text) {
                setInfix(e, a, a.sql, u"||", b.sql);
                e.type.type = SqlType::Text;
            } else if (ta == SqlType::DateTime && tb != SqlType::Text) {
                e.sql = u"tsql_adddays("_s + a.sql + u", "_s + b.sql + u')';
                e.type.type = SqlType::DateTime;
            } else if (tb == SqlType::DateTime && ta != SqlType::Text) {
                e.sql = u"tsql_adddays("_s + b.sql + u", "_s + a.sql + u')';
                e.type.type = SqlType::DateTime;
            } else {
                e.sql = u"tsql_add("_s + a.sql + u", "_s + b.sql + u')';
                if (isNumeric(ta))
                    e.type = a.type;
                if (isNumeric(tb))
                    e.type = b.type;
            }
            return e;
        }
        if (n.op == u"-" && ta == SqlType::DateTime && tb != SqlType::DateTime) {
            e.sql = u"tsql_adddays("_s + a.sql + u", -("_s + num(b) + u"))"_s;
            e.type.type = SqlType::DateTime;
            return e;
        }
        if (ta == SqlType::DateTime || tb == SqlType::DateTime)
            fail(n.pos,
                 u"The embedded engine does not support the operator %1 on date-time values"_s.arg(
                     n.op));
        if (n.op == u"/") {
            e.sql = u"tsql_div("_s + a.sql + u", "_s + b.sql + u')';
        } else if (n.op == u"%") {
            e.sql = u"tsql_mod("_s + a.sql + u", "_s + b.sql + u')';
        } else if (n.op == u"^") {
            e.sql = u"tsql_bitxor("_s + a.sql + u", "_s + b.sql + u')';
        } else {
            setInfix(e, a, num(a), n.op, num(b));
        }
        e.type = (isNumeric(ta) || isNumeric(tb)) ? wider() : ColumnType{};
        if (n.op == u"&" || n.op == u"|" || n.op == u"^")
            e.type = ColumnType{SqlType::Integer};
        return e;
    }

    void markDeciding(const Node& n) {
        if (n.kind == Kind::And) {
            for (const NodePtr& a : n.args)
                markDeciding(*a);
        } else if (n.kind == Kind::Like) {
            deciding_.insert(&n);
        }
    }

    // The table of the FROM that a column reference reads.
    const ScopeTable* sourceOf(const Node& col, const Scope& scope) const {
        for (const Scope* s = &scope; s; s = s->outer) {
            for (const ScopeTable& t : s->tables) {
                if (!col.qualifier.isEmpty() &&
                    t.alias.compare(col.qualifier, Qt::CaseInsensitive) != 0 &&
                    t.table.compare(col.qualifier, Qt::CaseInsensitive) != 0)
                    continue;
                if (!t.table.isEmpty() && schema_.column(t.table, col.name))
                    return &t;
                if (!col.qualifier.isEmpty())
                    return nullptr;
            }
        }
        return nullptr;
    }

    // The narrowing by a contained-text index of a LIKE with a literal pattern (and escape).
    QString containsNarrowing(const Node& n, const Emitted& a, const Scope& scope) {
        if (n.negated || !deciding_.contains(&n) || !a.textColumn || a.baseTable.isEmpty())
            return {};
        const Node& col = *n.args[0];
        const Node& pn = *n.args[1];
        if (col.kind != Kind::Column || pn.kind != Kind::String)
            return {};
        QChar escape;
        if (n.args.size() > 2) {
            const Node& en = *n.args[2];
            if (en.kind != Kind::String || en.text.size() != 1)
                return {};
            escape = en.text.front();
        }
        const ScopeTable* source = sourceOf(col, scope);
        if (!source)
            return {};
        const auto f = schema_.containsFilter(source->table, col.name, pn.text, escape);
        if (!f)
            return {};
        if (f->column.isEmpty())
            return f->condition;
        return quoteIdent(source->alias) + u'.' + quoteIdent(f->column) + u' ' + f->condition;
    }

    Emitted like(const Node& n, const Scope& scope) {
        Emitted a = expr(*n.args[0], scope);
        Emitted p = expr(*n.args[1], scope);
        Emitted e;
        e.type.type = SqlType::Integer;
        QString s = a.sql + (n.negated ? u" NOT LIKE "_s : u" LIKE "_s) + p.sql;
        if (n.args.size() > 2)
            s += u" ESCAPE "_s + expr(*n.args[2], scope).sql;
        // SQLite does not use an index for an overridden LIKE; an extra range condition in
        // the column's collation keeps a prefix search on an indexed code fast.
        const bool indexed =
            a.baseTable.isEmpty() || schema_.leadsIndex(a.baseTable, n.args[0]->name) != false;
        if (!n.negated && n.args.size() == 2 && a.textColumn && indexed) {
            const Node& pn = *n.args[1];
            if (pn.kind == Kind::String) {
                const QString prefix = likeRangePrefix(pn.text);
                if (!prefix.isEmpty())
                    s += u" AND "_s + a.sql + u" >= "_s + quoteLiteral(prefix) + u" AND "_s +
                         a.sql + u" < "_s + quoteLiteral(prefix + QChar(0xFFFF));
            } else if ((pn.kind == Kind::Placeholder && numbered_) || pn.kind == Kind::Parameter ||
                       pn.kind == Kind::Variable) {
                s += u" AND "_s + a.sql + u" >= tsql_like_low("_s + p.sql + u") AND "_s + a.sql +
                     u" < tsql_like_high("_s + p.sql + u')';
            }
        }
        const QString narrowing = containsNarrowing(n, a, scope);
        if (!narrowing.isEmpty())
            s += u" AND "_s + narrowing;
        e.sql = u'(' + s + u')';
        return e;
    }

    Emitted inList(const Node& n, const Scope& scope) {
        Emitted a = expr(*n.args[0], scope);
        bool collate = !a.textColumn;
        QString written;
        LiteralArray array;
        qsizetype count = 0;
        const auto add = [&](Emitted v) {
            dateSides(a, v);
            if (!collationMatters(a, v))
                collate = false;
            if (count++ > 0)
                written += u", "_s;
            written += stored(v);
            array.add(stored(v));
        };
        for (size_t i = 1; i < n.args.size(); ++i)
            add(expr(*n.args[i], scope));
        for (const Constant& c : n.constants)
            add(expr(*constantNode(c), scope));
        // A long list of constants is read from one JSON array: the same values compared the
        // same way (the left side's collation and affinity, NULL items making NOT IN unknown),
        // without SQLite compiling every item. `+value` has no affinity, as a written constant
        // has none, so a text column still compares a number item as text.
        std::optional<QString> json;
        if (count >= kArrayInListItems)
            json = array.literal();
        const QString list = json ? u"SELECT +value FROM json_each("_s + *json + u')' : written;
        Emitted e;
        e.sql = u'(' + stored(a) + (collate ? u" COLLATE TSQL"_s : QString()) +
                (n.negated ? u" NOT IN ("_s : u" IN ("_s) + list + u"))"_s;
        e.type.type = SqlType::Integer;
        return e;
    }
    // The node a constant of an IN list stands for, as the parser would have made it.
    NodePtr constantNode(const Constant& c) const {
        auto literal = std::make_unique<Node>();
        literal->kind = c.kind;
        literal->pos = c.begin;
        const QStringView token = text_.mid(c.begin, c.length);
        if (c.kind == Kind::Number)
            literal->text = token.toString();
        else if (c.kind == Kind::String)
            literal->text = data::unquoteString(token);
        if (!c.negative)
            return literal;
        auto minus = std::make_unique<Node>();
        minus->kind = Kind::Unary;
        minus->pos = c.begin;
        minus->op = u"-"_s;
        minus->args.push_back(std::move(literal));
        return minus;
    }

    Emitted function(const Node& n, const Scope& scope) {
        if (n.name.startsWith(u"MD_") && !n.star && !n.distinct) {
            // The engine's own helpers (md_raise, md_dbname, ...) are called as they are.
            QStringList sql;
            for (const NodePtr& a : n.args)
                sql << expr(*a, scope).sql;
            Emitted e;
            e.sql = n.name.toLower() + u'(' + sql.join(u", "_s) + u')';
            return e;
        }
        const auto arity = functionArities().find(n.name);
        if (arity == functionArities().end())
            fail(n.pos, u"'%1' is not a recognized built-in function name"_s.arg(n.name.toLower()),
                 195);
        const int count = n.star ? 1 : int(n.args.size());
        if (count < arity->min || count > arity->max) {
            fail(n.pos,
                 u"The %1 function requires %2 argument(s)"_s.arg(n.name.toLower())
                     .arg(arity->min == arity->max ? QString::number(arity->min)
                                                   : u"%1 to %2"_s.arg(arity->min).arg(arity->max)),
                 174);
        }
        if (n.star && n.name != u"COUNT")
            fail(n.pos, u"Incorrect syntax near '*'"_s);
        std::vector<Emitted> args;
        for (const NodePtr& a : n.args)
            args.push_back(expr(*a, scope));
        QStringList sql;
        for (const Emitted& a : args)
            sql << a.sql;
        const QString list = sql.join(u", "_s);
        Emitted e;
        const auto call = [&](const QString& f) { e.sql = f + u'(' + list + u')'; };
        const auto firstType = [&] {
            for (const Emitted& a : args) {
                if (a.type.type != SqlType::Unknown)
                    return a.type;
            }
            return ColumnType{};
        };
        const QString& f = n.name;
        if (f == u"COALESCE") {
            call(u"coalesce"_s);
            e.type = firstType();
        } else if (f == u"ISNULL") {
            // The replacement takes the type of the checked value: a text literal is cut to
            // the checked column's length.
            if (args[0].type.type == SqlType::Text && args[0].type.length > 0 && args[1].literal &&
                args[1].literal->text.size() > args[0].type.length)
                sql[1] = quoteLiteral(args[1].literal->text.left(args[0].type.length));
            e.sql = u"ifnull("_s + sql.join(u", "_s) + u')';
            e.type = args[0].type.type != SqlType::Unknown ? args[0].type : args[1].type;
        } else if (f == u"NULLIF") {
            call(u"nullif"_s);
            e.type = args[0].type;
        } else if (f == u"UPPER" || f == u"LOWER" || f == u"LEN" || f == u"SUBSTRING" ||
                   f == u"LEFT" || f == u"RIGHT" || f == u"REPLACE" || f == u"CHARINDEX" ||
                   f == u"ROUND" || f == u"STR" || f == u"FLOOR" || f == u"CEILING" ||
                   f == u"SPACE" || f == u"REPLICATE" || f == u"SIGN") {
            call(u"tsql_"_s + f.toLower());
            if (f == u"LEN" || f == u"CHARINDEX") {
                e.type.type = SqlType::Integer;
            } else if (f == u"ROUND" || f == u"FLOOR" || f == u"CEILING" || f == u"SIGN") {
                e.type = args[0].type;
            } else {
                e.type.type = SqlType::Text;
            }
        } else if (f == u"LTRIM" || f == u"RTRIM") {
            e.sql = f.toLower() + u'(' + list + u", ' ')"_s;
            e.type.type = SqlType::Text;
        } else if (f == u"ABS") {
            e.sql = u"abs("_s +
                    (isNumeric(args[0].type.type) ? list : u"tsql_num("_s + list + u')') + u')';
            e.type = args[0].type;
        } else if (f == u"GETDATE") {
            e.sql = u"tsql_getdate()"_s;
            e.type.type = SqlType::DateTime;
        } else if (f == u"YEAR" || f == u"MONTH" || f == u"DAY") {
            e.sql = u"tsql_datepart('"_s + f.toLower() + u"', "_s + list + u')';
            e.type.type = SqlType::Integer;
        } else if (f == u"COUNT") {
            e.sql = n.star ? u"count(*)"_s
                           : u"count("_s + (n.distinct ? u"DISTINCT "_s : QString()) + list + u')';
            e.type.type = SqlType::Integer;
        } else if ((f == u"MIN" || f == u"MAX") && !args[0].storedDecimal.isEmpty()) {
            // The stored texts order by their number; the result is read as a value again.
            e.sql = u"tsql_dec("_s + f.toLower() + u'(' +
                    (n.distinct ? u"DISTINCT "_s : QString()) + args[0].storedDecimal + u"))"_s;
            e.type = args[0].type;
        } else if ((f == u"SUM" || f == u"AVG") && isExact(args[0].type.type)) {
            const QString& summed = stored(args[0]);
            // Exact sums; a sum has the scale of its values, an average at least six decimals.
            const bool money = args[0].type.type == SqlType::Money;
            const int scale = shapeOf(args[0].type).scale;
            const int resultScale = f == u"SUM" || money ? scale : std::max(scale, 6);
            e.type = money ? args[0].type : ColumnType{SqlType::Decimal, -1, 38, resultScale};
            if (n.distinct) {
                e.sql = u"tsql_to_decimal("_s + f.toLower() + u"(DISTINCT "_s + summed +
                        u"), 38, "_s + QString::number(resultScale) + u')';
            } else if (f == u"SUM") {
                e.sql = u"tsql_dec_sum("_s + summed + u", "_s + QString::number(scale) + u')';
            } else {
                e.sql = u"tsql_dec_avg("_s + summed + u", "_s + QString::number(scale) + u", "_s +
                        QString::number(resultScale) + u')';
            }
        } else {  // SUM MIN MAX AVG
            e.sql = f.toLower() + u'(' + (n.distinct ? u"DISTINCT "_s : QString()) + list + u')';
            e.type = args[0].type;
            if (f == u"AVG" && args[0].type.type == SqlType::Integer)
                e.sql = u"CAST("_s + e.sql + u" AS INTEGER)"_s;  // an int average is an int
            if ((f == u"SUM" || f == u"AVG") && args[0].type.type == SqlType::Text)
                e.sql = f.toLower() + u"(tsql_num("_s + list + u"))"_s;
        }
        return e;
    }

    // Source kinds the conversion functions distinguish.
    static int sourceKind(const ColumnType& t) {
        switch (t.type) {
            case SqlType::Integer:
                return 1;
            case SqlType::Float:
                return 2;
            case SqlType::Decimal:
                return 3;
            case SqlType::Money:
                return 4;
            case SqlType::Text:
                return 5;
            case SqlType::DateTime:
                return 6;
            default:
                return 0;
        }
    }

    Emitted cast(const Node& n, const Scope& scope) {
        Emitted v = expr(*n.args[0], scope);
        Emitted e;
        e.type = n.target;
        int style = 0;
        if (n.args.size() > 1)
            style = n.args[1]->text.toInt();
        const QString kind = QString::number(sourceKind(v.type));
        switch (n.target.type) {
            case SqlType::Integer:
                // To bit any nonzero number is 1; the other integer types keep to their range.
                if (n.targetName == u"BIT") {
                    e.sql = u"tsql_store_int("_s + v.sql + u", 1, 0)"_s;
                } else {
                    const int digits = n.targetName == u"TINYINT"    ? 3
                                       : n.targetName == u"SMALLINT" ? 5
                                       : n.targetName == u"BIGINT"   ? 19
                                                                     : 10;
                    e.sql = u"tsql_store_int(tsql_to_int("_s + v.sql + u", "_s + kind + u"), "_s +
                            QString::number(digits) + u", 0)"_s;
                }
                break;
            case SqlType::Float:
                e.sql = u"tsql_to_float("_s + v.sql + u')';
                break;
            case SqlType::Money:
                e.sql = u"tsql_to_decimal("_s + stored(v) + u", 19, 4)"_s;
                break;
            case SqlType::Decimal:
                e.sql = u"tsql_to_decimal("_s + stored(v) + u", "_s +
                        QString::number(n.target.precision) + u", "_s +
                        QString::number(n.target.scale) + u')';
                break;
            case SqlType::DateTime:
                if (v.literal) {
                    e.sql = dateLiteral(*v.literal);
                } else {
                    e.sql = u"tsql_to_datetime("_s + v.sql + u')';
                }
                break;
            case SqlType::Text: {
                const bool fixed = n.targetName == u"CHAR" || n.targetName == u"NCHAR";
                const int scale = v.type.type == SqlType::Money ? 4 : v.type.scale;
                e.sql = u"tsql_to_text("_s + (v.type.type == SqlType::Decimal ? stored(v) : v.sql) +
                        u", "_s + QString::number(n.target.length) + u", "_s +
                        (fixed ? u"1"_s : u"0"_s) + u", "_s + QString::number(style) + u", "_s +
                        kind + u", "_s + QString::number(scale) + u')';
                break;
            }
            default:
                fail(n.pos, u"The embedded engine does not support this conversion"_s);
        }
        return e;
    }

    QStringView text_;
    const SchemaLookup& schema_;
    bool numbered_;
    const Node* topNode_ = nullptr;
    // The query of a SELECT statement, whose columns reach the caller.
    const Query* outermost_ = nullptr;
    // The LIKEs that are terms of a WHERE's AND chain: only there may an index's narrowing
    // join them, since elsewhere (under NOT, as a value) a NULL and a false differ.
    QSet<const Node*> deciding_;
};

}  // namespace

QString translateStatement(QStringView statement, const SchemaLookup& schema,
                           std::vector<ColumnType>* columns) {
    const Statement st = parseStatement(statement);
    Emitter emitter(statement, schema, st.placeholders > 0 && !st.named);
    return emitter.statement(st, columns);
}

QString translateExpression(QStringView expression, const SchemaLookup& schema) {
    int placeholders = 0;
    bool named = false;
    const NodePtr e = parseExpression(expression, placeholders, named);
    Emitter emitter(expression, schema, placeholders > 0 && !named);
    return emitter.expression(*e);
}

}  // namespace md::tsql
