#pragma once

// The syntax tree of the T-SQL data statements the program issues, built by the parser and
// turned into SQLite SQL by the emitter. Every node keeps the offset of its first token so
// that a refusal can name the line and column.

#include "data/embedded/tsql/DmlTranslator.h"

#include <QString>
#include <memory>
#include <vector>

namespace md::tsql::ast {

struct Query;

enum class Kind {
    Number,  // text: the literal as written
    String,  // text: the value (quotes removed)
    Null,
    Column,       // qualifier (may be empty), name
    Star,         // qualifier (may be empty): * or T.*
    Placeholder,  // '?'; index: its ordinal (1-based)
    Parameter,    // :Name; text: the name with ':'
    Variable,     // @name; text: the name with '@'
    Identity,     // text: @@IDENTITY, @@ERROR, @@ROWCOUNT or @@TRANCOUNT
    Unary,        // op: "-", "+", "~"; args[0]
    Binary,       // op: + - * / % & | ^; args[0], args[1]
    Compare,      // op: = <> < > <= >=; args[0], args[1]
    And,
    Or,
    Not,       // args[0]
    IsNull,    // negated; args[0]
    Between,   // negated; args[0] BETWEEN args[1] AND args[2]
    Like,      // negated; args[0] LIKE args[1] [ESCAPE args[2]]
    InList,    // negated; args[0] IN (args[1..]), or IN (constants) when every item is one
    InQuery,   // negated; args[0] IN (query)
    Exists,    // query
    Subquery,  // (query) as a value
    Function,  // name (upper case), args, distinct, star (COUNT(*))
    Cast,      // args[0] AS target (CAST and CONVERT; style in args[1] for CONVERT)
    DatePart,  // DATEADD / DATEDIFF: name, text = the date part; args
    Case,      // args: [operand], when, then, ..., [else]; hasOperand, hasElse
    Window,    // name (RANK, ROW_NUMBER, ...); partition in args, orderBy
};

struct OrderItem;

// An item of an IN list of constants, kept as where it is written: a number, a string or NULL
// (negative: a number after a minus sign). A long list of them then costs a few bytes an item
// instead of a node each.
struct Constant {
    Kind kind = Kind::Null;  // Number, String or Null
    bool negative = false;
    int begin = 0;  // the literal's place in the statement text
    int length = 0;
};

struct Node {
    Node() = default;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    ~Node();

    Kind kind = Kind::Null;
    int pos = 0;
    QString text;
    QString qualifier;
    QString name;
    QString op;
    int index = 0;
    bool negated = false;
    bool distinct = false;
    bool star = false;
    bool hasOperand = false;
    bool hasElse = false;
    ColumnType target;   // Cast
    QString targetName;  // Cast: the type as written (upper case)
    std::vector<std::unique_ptr<Node>> args;
    std::vector<Constant> constants;  // InList
    std::vector<OrderItem> orderBy;   // Window
    std::unique_ptr<Query> query;
};
using NodePtr = std::unique_ptr<Node>;

struct OrderItem {
    NodePtr expr;
    bool descending = false;
};

struct SelectItem {
    NodePtr expr;
    QString alias;  // empty when none
};

struct TableRef {
    QString join;   // empty for the first table; "JOIN", "LEFT JOIN", "CROSS JOIN", ","
    QString table;  // a table name (schema prefixes dropped) ...
    std::unique_ptr<Query> derived;  // ... or a derived table
    QString alias;
    NodePtr on;
    int pos = 0;
};

struct SelectCore {
    int pos = 0;
    bool distinct = false;
    NodePtr top;
    std::vector<SelectItem> items;
    std::vector<TableRef> from;
    NodePtr where;
    std::vector<NodePtr> groupBy;
    NodePtr having;
};

struct Query {
    std::vector<SelectCore> cores;
    std::vector<QString> ops;  // between cores: "UNION", "UNION ALL", "EXCEPT", "INTERSECT"
    std::vector<OrderItem> orderBy;
};

struct Assignment {
    QString column;
    NodePtr value;
    int pos = 0;
};

struct Statement {
    enum Type { Select, Insert, Update, Delete } type = Select;
    std::unique_ptr<Query> query;            // Select; Insert ... SELECT
    QString table;                           // Insert, Update, Delete target
    QString alias;                           // Update/Delete target alias
    std::vector<QString> columns;            // Insert column list
    std::vector<std::vector<NodePtr>> rows;  // Insert VALUES
    bool defaultValues = false;
    std::vector<Assignment> set;  // Update
    NodePtr where;                // Update, Delete
    int placeholders = 0;         // '?' count
    bool named = false;           // holds :Name parameters or @variables
};

// Parses one statement; throws md::data::DbError (Syntax) on anything it does not know.
Statement parseStatement(QStringView text);
// Parses one expression.
NodePtr parseExpression(QStringView text, int& placeholders, bool& named);

}  // namespace md::tsql::ast
