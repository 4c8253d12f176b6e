#include "data/Param.h"

#include "data/backend/DbError.h"
#include "data/backend/SqlLexer.h"

namespace md::data {

void Param::setAsDateTime(const QDateTime& v) {
    if (!v.isValid()) {
        setNull(QMetaType::QDateTime);
        return;
    }
    assign(QVariant(v));
}

void Param::setNull(QMetaType::Type type) {
    assign(QVariant(QMetaType(type)));
}

void Param::setValue(const QVariant& v) {
    if (!isBindableValue(v)) {
        throw UsageError(QStringLiteral("Parameter '%1' cannot take a value of type %2")
                             .arg(name_, QString::fromLatin1(v.typeName())));
    }
    assign(v);
}

void Param::clear() {
    value_ = QVariant();
    set_ = false;
}

void Param::assign(QVariant v) {
    value_ = std::move(v);
    set_ = true;
}

void ParamList::resetNames(const std::vector<QString>& names) {
    std::vector<Param> next;
    next.reserve(names.size());
    for (const auto& n : names) {
        if (const Param* old = find(n)) {
            next.push_back(*old);
        } else {
            next.emplace_back(n);
        }
    }
    params_ = std::move(next);
}

Param& ParamList::byName(const QString& name) {
    if (Param* p = find(name))
        return *p;
    throw UsageError(QStringLiteral("Parameter '%1' not found").arg(name));
}

const Param* ParamList::find(const QString& name) const {
    for (const auto& p : params_) {
        if (p.name().compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

Param* ParamList::find(const QString& name) {
    return const_cast<Param*>(static_cast<const ParamList*>(this)->find(name));
}

std::vector<QString> ParsedSql::distinctNames() const {
    std::vector<QString> out;
    for (const auto& r : references) {
        bool seen = false;
        for (const auto& o : out)
            seen = seen || o.compare(r, Qt::CaseInsensitive) == 0;
        if (!seen)
            out.push_back(r);
    }
    return out;
}

ParsedSql parseParameters(const QString& sql) {
    ParsedSql out;
    SqlLexer lexer(sql);
    out.text.reserve(sql.size());
    for (const Token& t : lexer.tokens()) {
        if (t.kind == TokenKind::Parameter) {
            out.text += u'?';
            out.references.push_back(sql.mid(t.begin + 1, t.length - 1));
        } else {
            out.text += QStringView(sql).mid(t.begin, t.length);
        }
    }
    return out;
}

bool isBindableValue(const QVariant& v) {
    if (!v.isValid())
        return true;
    if (v.metaType() == QMetaType::fromType<Decimal>())
        return true;
    switch (v.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::QString:
        case QMetaType::QDateTime:
        case QMetaType::QDate:
        case QMetaType::QByteArray:
            return true;
        default:
            return false;
    }
}

}  // namespace md::data
