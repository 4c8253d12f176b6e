#include "schema/procedures/SuiteProcedures.h"

#include "data/backend/Backend.h"
#include "data/embedded/ProcedureRegistry.h"

#include <QDateTime>
#include <mutex>
#include <optional>

namespace md::schema {
namespace {

using data::Session;
using embedded::ProcedureCall;
using embedded::ProcedureParamDecl;
using embedded::ProcedureRegistry;

ProcedureParamDecl in(const char16_t* name, QMetaType::Type type) {
    return ProcedureParamDecl{QString::fromUtf16(name), type, false, true};
}

ProcedureParamDecl out(const char16_t* name, QMetaType::Type type) {
    return ProcedureParamDecl{QString::fromUtf16(name), type, true, false};
}

// The first row of a statement's result, or nothing when it returns no row.
std::optional<std::vector<QVariant>> firstRow(Session& session, const QString& sql,
                                              const std::vector<QVariant>& params) {
    auto result = session.execute(sql, params);
    std::vector<QVariant> row;
    if (!result->fetch(row))
        return std::nullopt;
    return row;
}

void run(Session& session, const QString& sql, const std::vector<QVariant>& params) {
    session.execute(sql, params);
}

QString text(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}

// A right is granted only by exactly "Y"; the caller compares the output with "Y" itself, so an
// absent right row is reported as "N".
QString flag(const QVariant& v) {
    return v.isNull() ? QStringLiteral("N") : v.toString();
}

// A text that does not fit its column is cut rather than refused: the log must never fail
// because the thing it records is long.
QVariant fit(const QVariant& v, int length) {
    if (v.isNull())
        return v;
    return v.toString().left(length);
}

int menuCaption(Session& session, ProcedureCall& call) {
    const QVariant menuId = call.in(u"@MENUID"_qs);
    const QVariant userId = call.in(u"@USERID"_qs);

    const auto menu = firstRow(session, u"SELECT Caption FROM Menu WHERE Id = ?"_qs, {menuId});
    const auto user =
        firstRow(session, u"SELECT Code, SalesmanId FROM UserName WHERE Id = ?"_qs, {userId});
    const auto right = firstRow(session,
                                u"SELECT Access_R, Add_R, Modify_R, Delete_R FROM UserRight "
                                u"WHERE UserId = ? AND MenuId = ?"_qs,
                                {userId, menuId});

    call.out(u"@CAPTION"_qs, menu ? text((*menu)[0]) : QString());
    call.out(u"@USERCODE"_qs, user ? text((*user)[0]) : QString());
    call.out(u"@SALESID"_qs, user && !(*user)[1].isNull() ? (*user)[1].toInt() : 0);
    // Rights need both the user and the entry: a right row left behind by a removed user grants
    // nothing.
    const bool granted = menu && user && right;
    call.out(u"@ACCESS_R"_qs, granted ? flag((*right)[0]) : u"N"_qs);
    call.out(u"@ADD_R"_qs, granted ? flag((*right)[1]) : u"N"_qs);
    call.out(u"@MODIFY_R"_qs, granted ? flag((*right)[2]) : u"N"_qs);
    call.out(u"@DELETE_R"_qs, granted ? flag((*right)[3]) : u"N"_qs);
    return 0;
}

int addErrorLog(Session& session, ProcedureCall& call) {
    run(session,
        u"INSERT INTO ErrorLog (CompName, LogName, UserId, MenuId, ErrorMsg, LogTime) "
        u"VALUES (?, ?, ?, ?, ?, GETDATE())"_qs,
        {fit(call.in(u"@CompName"_qs), 60), fit(call.in(u"@LogName"_qs), 60),
         call.in(u"@UserId"_qs), call.in(u"@MenuId"_qs), fit(call.in(u"@ErrorMsg"_qs), 4000)});
    return 0;
}

int userAddLog(Session& session, ProcedureCall& call) {
    QVariant remark = call.in(u"@Remark"_qs);
    if (remark.isNull())
        remark = QString();
    run(session,
        u"INSERT INTO UserLog (UserId, MenuId, FunctionListId, DocumentId, Remark, LogTime) "
        u"VALUES (?, ?, ?, ?, ?, GETDATE())"_qs,
        {call.in(u"@UserId"_qs), call.in(u"@MenuId"_qs), call.in(u"@FunctionListId"_qs),
         call.in(u"@DocumentId"_qs), fit(remark, 200)});
    return 0;
}

// Registers a serial of a product and gives its id; an existing serial is not registered twice.
// A blank serial is not registered (the output stays NULL and the result is 1).
int createSerialNo(Session& session, ProcedureCall& call) {
    const QVariant productId = call.in(u"@ProductId"_qs);
    const QString serial = text(call.in(u"@SerialCode"_qs)).trimmed();
    if (productId.isNull() || serial.isEmpty()) {
        call.out(u"@SerialId"_qs, QVariant(QMetaType(QMetaType::Int)));
        return 1;
    }
    const QString find = u"SELECT Id FROM SerialNo WHERE Product = ? AND Serial = ?"_qs;
    auto found = firstRow(session, find, {productId, serial});
    if (!found) {
        run(session, u"INSERT INTO SerialNo (Product, Serial, OnHand) VALUES (?, ?, 'Y')"_qs,
            {productId, serial});
        found = firstRow(session, find, {productId, serial});
    }
    call.out(u"@SerialId"_qs, found ? (*found)[0].toInt() : QVariant(QMetaType(QMetaType::Int)));
    return 0;
}

// The next number of a document code in a year. The update comes first so that the row is locked
// before it is read; a code and year without a row starts at 1.
int newDocumentNo(Session& session, ProcedureCall& call) {
    const QVariant code = call.in(u"@DocCode"_qs);
    const QVariant year = call.in(u"@DocYear"_qs);
    run(session, u"UPDATE DocumentNo SET LastNo = LastNo + 1 WHERE Code = ? AND DocYear = ?"_qs,
        {code, year});
    const QString read = u"SELECT LastNo FROM DocumentNo WHERE Code = ? AND DocYear = ?"_qs;
    auto row = firstRow(session, read, {code, year});
    if (!row) {
        run(session, u"INSERT INTO DocumentNo (Code, DocYear, LastNo) VALUES (?, ?, 1)"_qs,
            {code, year});
        row = firstRow(session, read, {code, year});
    }
    call.out(u"@NewNo"_qs, row ? (*row)[0].toInt() : 0);
    return 0;
}

int serverTime(Session&, ProcedureCall& call) {
    call.out(u"@ServerTime"_qs, QDateTime::currentDateTime());
    return 0;
}

}  // namespace

void registerSuiteProcedures() {
    static std::once_flag once;
    std::call_once(once, [] {
        auto& registry = ProcedureRegistry::instance();
        registry.add(u"MENUCAPTION"_qs,
                     {in(u"@MENUID", QMetaType::Int), in(u"@USERID", QMetaType::Int),
                      out(u"@CAPTION", QMetaType::QString), out(u"@ACCESS_R", QMetaType::QString),
                      out(u"@ADD_R", QMetaType::QString), out(u"@MODIFY_R", QMetaType::QString),
                      out(u"@DELETE_R", QMetaType::QString), out(u"@USERCODE", QMetaType::QString),
                      out(u"@SALESID", QMetaType::Int)},
                     menuCaption);
        registry.add(u"AddErrorLog"_qs,
                     {in(u"@CompName", QMetaType::QString), in(u"@LogName", QMetaType::QString),
                      in(u"@UserId", QMetaType::Int), in(u"@MenuId", QMetaType::Int),
                      in(u"@ErrorMsg", QMetaType::QString)},
                     addErrorLog);
        registry.add(u"UserAddLog"_qs,
                     {in(u"@UserId", QMetaType::Int), in(u"@MenuId", QMetaType::Int),
                      in(u"@FunctionListId", QMetaType::Int), in(u"@DocumentId", QMetaType::Int),
                      in(u"@Remark", QMetaType::QString)},
                     userAddLog);
        registry.add(u"CreateSerialNo"_qs,
                     {in(u"@ProductId", QMetaType::Int), in(u"@SerialCode", QMetaType::QString),
                      out(u"@SerialId", QMetaType::Int)},
                     createSerialNo);
        registry.add(u"NewDocumentNo"_qs,
                     {in(u"@DocCode", QMetaType::QString), in(u"@DocYear", QMetaType::Int),
                      out(u"@NewNo", QMetaType::Int)},
                     newDocumentNo);
        registry.add(u"ServerTime"_qs, {out(u"@ServerTime", QMetaType::QDateTime)}, serverTime);
    });
}

}  // namespace md::schema
