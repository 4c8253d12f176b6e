#include "data/StoredProc.h"

#include "data/Connection.h"
#include "data/Param.h"
#include "data/backend/DbError.h"

namespace md::data {
namespace {

QString withAt(const QString& name) {
    return name.startsWith(u'@') ? name : u'@' + name;
}

}  // namespace

StoredProc::StoredProc(Connection* connection, QString procedureName)
    : connection_(connection), name_(std::move(procedureName)) {}

const ProcParam* StoredProc::findConst(const QString& name) const {
    const QString n = withAt(name);
    for (const auto& p : params_) {
        if (p.name.compare(n, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

ProcParam& StoredProc::find(const QString& name) {
    if (const ProcParam* p = findConst(name))
        return const_cast<ProcParam&>(*p);
    ProcParam p;
    p.name = withAt(name);
    params_.push_back(p);
    return params_.back();
}

void StoredProc::setInput(const QString& name, const QVariant& value) {
    if (!isBindableValue(value)) {
        throw UsageError(QStringLiteral("Parameter '%1' of procedure %2 cannot take a value of "
                                        "type %3")
                             .arg(withAt(name), name_, QString::fromLatin1(value.typeName())));
    }
    ProcParam& p = find(name);
    p.value = value;
    p.output = false;
}

void StoredProc::declareOutput(const QString& name, QMetaType::Type type, int size) {
    ProcParam& p = find(name);
    p.output = true;
    p.type = type;
    p.size = size;
    p.value = QVariant(QMetaType(type));
}

void StoredProc::execProc() {
    if (!connection_)
        throw UsageError(QStringLiteral("Procedure %1 has no connection").arg(name_));
    for (auto& p : params_) {
        if (p.output)
            p.value = QVariant(QMetaType(p.type));
    }
    try {
        result_ = connection_->session().callProcedure(name_, params_);
    } catch (DbError& e) {
        e.setStatement(QStringLiteral("EXEC ") + name_);
        throw;
    }
    executed_ = true;
}

void StoredProc::close() {
    for (auto& p : params_) {
        if (p.output)
            p.value = QVariant(QMetaType(p.type));
    }
    result_ = 0;
    executed_ = false;
}

QVariant StoredProc::value(const QString& name) const {
    const ProcParam* p = findConst(name);
    if (!p) {
        throw UsageError(
            QStringLiteral("Procedure %1 has no parameter '%2'").arg(name_, withAt(name)));
    }
    return p->value;
}

QString StoredProc::asString(const QString& name) const {
    return value(name).toString();
}

qint64 StoredProc::asInteger(const QString& name) const {
    return value(name).toLongLong();
}

}  // namespace md::data
