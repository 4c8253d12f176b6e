#include "data/embedded/SqlTypes.h"

#include "data/backend/DbError.h"

#include <QHash>
#include <QRegularExpression>

namespace md::embedded {
namespace {

using tsql::SqlType;

int decimalLength(int precision) {
    if (precision <= 9)
        return 5;
    if (precision <= 19)
        return 9;
    if (precision <= 28)
        return 13;
    return 17;
}

int readInt(TokenCursor& cur) {
    const SqlToken& t = cur.next();
    bool ok = false;
    const int v = t.text.toInt(&ok);
    if (t.kind != data::TokenKind::Number || !ok) {
        cur.setPos(cur.pos() - 1);
        cur.syntaxError();
    }
    return v;
}

}  // namespace

TypeSpec parseType(TokenCursor& cur) {
    if (!isIdentifierToken(cur.peek()))
        cur.syntaxError();
    const QString written = data::unquoteIdentifier(cur.next().text);
    TypeSpec s;
    s.name = written.toLower();
    const QString& n = s.name;
    auto simple = [&](SqlType t, const char* decl, int xtype, int len) {
        s.type.type = t;
        s.sqliteDecl = QString::fromLatin1(decl);
        s.xtype = xtype;
        s.storageLength = len;
    };
    // An integer type's precision (its decimal digits) tells the range a written value must
    // keep to.
    if (n == u"int" || n == u"integer") {
        simple(SqlType::Integer, "INT", 56, 4);
        s.type.precision = 10;
    } else if (n == u"idno") {
        simple(SqlType::Integer, "INT", 56, 4);
        s.type.precision = 10;
    } else if (n == u"smallint") {
        simple(SqlType::Integer, "SMALLINT", 52, 2);
        s.type.precision = 5;
    } else if (n == u"bigint") {
        simple(SqlType::Integer, "BIGINT", 127, 8);
        s.type.precision = 19;
    } else if (n == u"tinyint") {
        simple(SqlType::Integer, "TINYINT", 48, 1);
        s.type.precision = 3;
    } else if (n == u"bit") {
        simple(SqlType::Integer, "BIT", 104, 1);
        s.type.precision = 1;
    } else if (n == u"money") {
        simple(SqlType::Money, "MONEY TEXT", 60, 8);
        s.type.precision = 19;
        s.type.scale = 4;
    } else if (n == u"smallmoney") {
        simple(SqlType::Money, "SMALLMONEY TEXT", 122, 4);
        s.type.precision = 10;
        s.type.scale = 4;
    } else if (n == u"float" || n == u"real") {
        simple(SqlType::Float, n == u"real" ? "REAL" : "FLOAT", n == u"real" ? 59 : 62,
               n == u"real" ? 4 : 8);
        if (cur.acceptPunct('(')) {
            readInt(cur);
            cur.expectPunct(')');
        }
    } else if (n == u"datetime") {
        simple(SqlType::DateTime, "DATETIME", 61, 8);
    } else if (n == u"smalldatetime") {
        simple(SqlType::DateTime, "SMALLDATETIME", 58, 4);
    } else if (n == u"date") {
        simple(SqlType::DateTime, "DATE", 40, 3);
    } else if (n == u"decimal" || n == u"numeric") {
        int p = 18, sc = 0;
        if (cur.acceptPunct('(')) {
            p = readInt(cur);
            if (cur.acceptPunct(','))
                sc = readInt(cur);
            cur.expectPunct(')');
        }
        // Declared with TEXT in the name: SQLite gives the column text affinity, so the exact
        // text a decimal is kept as is never turned into an approximate double.
        simple(SqlType::Decimal, "", n == u"decimal" ? 106 : 108, decimalLength(p));
        s.sqliteDecl = QStringLiteral("%1 TEXT(%2,%3)").arg(n.toUpper()).arg(p).arg(sc);
        s.type.precision = p;
        s.type.scale = sc;
    } else if (n == u"char" || n == u"varchar" || n == u"nchar" || n == u"nvarchar" ||
               n == u"charflag" || n == u"varbinary" || n == u"binary") {
        int len = n == u"charflag" ? 1 : (n == u"varbinary" || n == u"binary" ? 1 : 1);
        if (n != u"charflag" && cur.acceptPunct('(')) {
            if (cur.isWord("max")) {
                cur.next();
                len = -1;
            } else {
                len = readInt(cur);
            }
            cur.expectPunct(')');
        }
        const bool binary = n.contains(u"binary");
        const bool national = n.startsWith(u'n');
        const QString base = n == u"charflag" ? QStringLiteral("CHAR") : n.toUpper();
        s.type.type = binary ? SqlType::Binary : SqlType::Text;
        s.type.length = len;
        s.text = !binary;
        s.sqliteDecl =
            len < 0 ? base + QStringLiteral("(MAX)") : QStringLiteral("%1(%2)").arg(base).arg(len);
        static const QHash<QString, int> xtypes{
            {QStringLiteral("char"), 175},     {QStringLiteral("charflag"), 175},
            {QStringLiteral("varchar"), 167},  {QStringLiteral("nchar"), 239},
            {QStringLiteral("nvarchar"), 231}, {QStringLiteral("binary"), 173},
            {QStringLiteral("varbinary"), 165}};
        s.xtype = xtypes.value(n);
        s.storageLength = len < 0 ? -1 : (national ? 2 * len : len);
    } else if (n == u"text" || n == u"ntext") {
        simple(SqlType::Text, n == u"text" ? "TEXT" : "NTEXT", n == u"text" ? 35 : 99, 16);
        s.text = true;
    } else if (n == u"image") {
        simple(SqlType::Binary, "IMAGE", 34, 16);
    } else {
        throw data::DbError(
            QStringLiteral("Column, parameter, or variable #1: Cannot find data type %1.")
                .arg(written),
            2715, QStringLiteral("42000"), data::ErrorCategory::Syntax);
    }
    return s;
}

std::optional<tsql::ColumnType> typeFromDecl(const QString& written) {
    if (written.isEmpty())
        return std::nullopt;
    // "DECIMAL TEXT(18,2)" is a decimal kept as text (see parseType).
    QString decl = written;
    static const QRegularExpression storedAsText(QStringLiteral("\\s+TEXT\\b"),
                                                 QRegularExpression::CaseInsensitiveOption);
    if (!decl.startsWith(QLatin1StringView("TEXT"), Qt::CaseInsensitive))
        decl.remove(storedAsText);
    try {
        TokenCursor cur(decl);
        TypeSpec s = parseType(cur);
        return s.type;
    } catch (const data::DbError&) {
        if (decl.startsWith(QLatin1StringView("INTEGER"), Qt::CaseInsensitive)) {
            return tsql::ColumnType{SqlType::Integer};
        }
        return std::nullopt;
    }
}

QMetaType::Type metaTypeOf(tsql::SqlType type) {
    switch (type) {
        case SqlType::Integer:
            return QMetaType::LongLong;
        case SqlType::Float:
        case SqlType::Decimal:
        case SqlType::Money:
            return QMetaType::Double;
        case SqlType::Text:
            return QMetaType::QString;
        case SqlType::DateTime:
            return QMetaType::QDateTime;
        case SqlType::Binary:
            return QMetaType::QByteArray;
        case SqlType::Unknown:
            break;
    }
    return QMetaType::UnknownType;
}

}  // namespace md::embedded
