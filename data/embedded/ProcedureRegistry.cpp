#include "data/embedded/ProcedureRegistry.h"

#include "data/backend/DbError.h"
#include "data/embedded/ErrorMapping.h"

namespace md::embedded {
namespace {

QString bare(const QString& name) {
    return name.startsWith(u'@') ? name.mid(1) : name;
}

bool sameName(const QString& a, const QString& b) {
    return bare(a).compare(bare(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

ProcedureCall::ProcedureCall(const QString& procedure, const std::vector<ProcedureParamDecl>& decls,
                             std::vector<data::ProcParam>& args)
    : args_(args) {
    for (const auto& a : args_) {
        bool known = false;
        for (const auto& d : decls)
            known = known || sameName(d.name, a.name);
        if (!known) {
            throw data::DbError(QStringLiteral("@%1 is not a parameter for procedure %2.")
                                    .arg(bare(a.name), procedure),
                                8145, QStringLiteral("42000"), data::ErrorCategory::Syntax);
        }
    }
    for (const auto& d : decls) {
        if (d.output || !d.required)
            continue;
        bool given = false;
        for (const auto& a : args_)
            given = given || sameName(d.name, a.name);
        if (!given) {
            throw data::DbError(
                QStringLiteral("Procedure or function '%1' expects parameter '@%2', which was "
                               "not supplied.")
                    .arg(procedure, bare(d.name)),
                201, QStringLiteral("42000"), data::ErrorCategory::Syntax);
        }
    }
}

QVariant ProcedureCall::in(const QString& name) const {
    for (const auto& a : args_) {
        if (sameName(a.name, name))
            return a.value;
    }
    return {};
}

void ProcedureCall::out(const QString& name, const QVariant& value) {
    for (auto& a : args_) {
        if (sameName(a.name, name) && a.output)
            a.value = value;
    }
}

ProcedureRegistry& ProcedureRegistry::instance() {
    static ProcedureRegistry registry;
    return registry;
}

void ProcedureRegistry::add(const QString& name, std::vector<ProcedureParamDecl> params,
                            ProcedureBody body) {
    for (auto& e : entries_) {
        if (e.name.compare(name, Qt::CaseInsensitive) == 0) {
            e = Entry{name, std::move(params), std::move(body)};
            return;
        }
    }
    entries_.push_back(Entry{name, std::move(params), std::move(body)});
}

bool ProcedureRegistry::contains(const QString& name) const {
    for (const auto& e : entries_) {
        if (e.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QStringList ProcedureRegistry::names() const {
    QStringList out;
    for (const auto& e : entries_)
        out << e.name;
    return out;
}

const std::vector<ProcedureParamDecl>* ProcedureRegistry::parameters(const QString& name) const {
    for (const auto& e : entries_) {
        if (e.name.compare(name, Qt::CaseInsensitive) == 0)
            return &e.params;
    }
    return nullptr;
}

int ProcedureRegistry::call(data::Session& session, const QString& name,
                            std::vector<data::ProcParam>& params) const {
    for (const auto& e : entries_) {
        if (e.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        ProcedureCall call(e.name, e.params, params);
        return e.body(session, call);
    }
    throw serverError(2812, QStringLiteral("Could not find stored procedure '%1'.").arg(name));
}

}  // namespace md::embedded
