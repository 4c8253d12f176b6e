// The suite's stored procedures on the demo server: their outputs, the rows they write, and that
// those rows belong to the caller's transaction.

#include "TestServer.h"
#include "data/backend/DbError.h"

#include <gtest/gtest.h>
#include <QDateTime>

using namespace md;
using namespace md::schema::test;
using data::ProcParam;

namespace {

ProcParam in(const char16_t* name, QVariant v) {
    return ProcParam{QString::fromUtf16(name), v};
}
ProcParam out(const char16_t* name, QMetaType::Type type) {
    return ProcParam{QString::fromUtf16(name), QVariant(), true, type};
}
QVariant outValue(const std::vector<ProcParam>& params, const char16_t* name) {
    for (const auto& p : params) {
        if (p.name == QString::fromUtf16(name))
            return p.value;
    }
    return {};
}

std::vector<ProcParam> menuCaptionCall(int menu, int user) {
    return {in(u"@MENUID", menu),
            in(u"@USERID", user),
            out(u"@CAPTION", QMetaType::QString),
            out(u"@ACCESS_R", QMetaType::QString),
            out(u"@ADD_R", QMetaType::QString),
            out(u"@MODIFY_R", QMetaType::QString),
            out(u"@DELETE_R", QMetaType::QString),
            out(u"@USERCODE", QMetaType::QString),
            out(u"@SALESID", QMetaType::Int)};
}

class Procedures : public ::testing::Test {
  protected:
    TestServer server{true};
};

}  // namespace

TEST_F(Procedures, MenuCaptionGivesCaptionUserCodeAndRights) {
    auto p = menuCaptionCall(103, 1);
    server.config->callProcedure(u"MENUCAPTION"_qs, p);
    EXPECT_EQ(outValue(p, u"@CAPTION").toString(), QString::fromUtf8("เจ้าหนี้ต่างประเทศ"));
    EXPECT_EQ(outValue(p, u"@USERCODE").toString(), u"SOMCHAI"_qs);
    for (const char16_t* r : {u"@ACCESS_R", u"@ADD_R", u"@MODIFY_R", u"@DELETE_R"}) {
        EXPECT_EQ(outValue(p, r).toString(), u"Y"_qs);
    }
    EXPECT_EQ(outValue(p, u"@SALESID").toInt(), 1);

    p = menuCaptionCall(105, 2);
    server.config->callProcedure(u"MENUCAPTION"_qs, p);
    EXPECT_EQ(outValue(p, u"@USERCODE").toString(), u"JOHN"_qs);
    EXPECT_EQ(outValue(p, u"@ACCESS_R").toString(), u"Y"_qs);
}

TEST_F(Procedures, MenuCaptionGrantsNothingWithoutARightRow) {
    auto p = menuCaptionCall(101, 3);  // the user without access
    server.config->callProcedure(u"MENUCAPTION"_qs, p);
    EXPECT_EQ(outValue(p, u"@ACCESS_R").toString(), u"N"_qs);
    EXPECT_EQ(outValue(p, u"@USERCODE").toString(), u"GUEST"_qs);

    p = menuCaptionCall(101, 77);  // no such user
    server.config->callProcedure(u"MENUCAPTION"_qs, p);
    EXPECT_EQ(outValue(p, u"@ACCESS_R").toString(), u"N"_qs);
    EXPECT_EQ(outValue(p, u"@USERCODE").toString(), QString());
    EXPECT_EQ(outValue(p, u"@SALESID").toInt(), 0);

    p = menuCaptionCall(999, 1);  // no such entry
    server.config->callProcedure(u"MENUCAPTION"_qs, p);
    EXPECT_EQ(outValue(p, u"@CAPTION").toString(), QString());
    EXPECT_EQ(outValue(p, u"@DELETE_R").toString(), u"N"_qs);
}

TEST_F(Procedures, MissingInputIsRefusedWithTheServersMessage) {
    std::vector<ProcParam> p{in(u"@MENUID", 101), out(u"@CAPTION", QMetaType::QString)};
    try {
        server.config->callProcedure(u"MENUCAPTION"_qs, p);
        FAIL();
    } catch (const data::DbError& e) {
        EXPECT_EQ(e.nativeError(), 201);
        EXPECT_TRUE(e.message().contains(u"expects parameter '@USERID'"_qs))
            << e.message().toStdString();
    }
}

TEST_F(Procedures, AddErrorLogWritesOneRowAndKeepsLongMessages) {
    const QString longMessage = QString(5000, u'x');
    std::vector<ProcParam> p{in(u"@CompName", u"WS-01"_qs), in(u"@LogName", u"SOMCHAI"_qs),
                             in(u"@UserId", 1), in(u"@MenuId", 103), in(u"@ErrorMsg", longMessage)};
    server.config->callProcedure(u"AddErrorLog"_qs, p);
    const auto r =
        rows(*server.config,
             u"SELECT CompName, LogName, UserId, MenuId, ErrorMsg, LogTime FROM ErrorLog"_qs);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0][0].toString(), u"WS-01"_qs);
    EXPECT_EQ(r[0][2].toInt(), 1);
    EXPECT_EQ(r[0][3].toInt(), 103);
    EXPECT_EQ(r[0][4].toString(), longMessage.left(4000));
    EXPECT_LE(qAbs(r[0][5].toDateTime().secsTo(QDateTime::currentDateTime())), 60);
}

TEST_F(Procedures, UserAddLogRowsCommitOrRollBackWithTheCaller) {
    auto& s = *server.company;
    auto call = [&](int function, int document, QVariant remark) {
        std::vector<ProcParam> p{in(u"@UserId", 1), in(u"@MenuId", 101),
                                 in(u"@FunctionListId", function), in(u"@DocumentId", document),
                                 in(u"@Remark", remark)};
        s.callProcedure(u"UserAddLog"_qs, p);
    };
    s.beginTransaction();
    call(1, 0, u"FREIGHT"_qs);
    s.rollback();
    EXPECT_EQ(value(s, u"SELECT Count(*) FROM UserLog"_qs).toInt(), 0);

    s.beginTransaction();
    call(2, 7, QString());
    s.commit();
    const auto r =
        rows(s, u"SELECT UserId, MenuId, FunctionListId, DocumentId, Remark FROM UserLog"_qs);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0][2].toInt(), 2);
    EXPECT_EQ(r[0][3].toInt(), 7);
    EXPECT_EQ(r[0][4].toString(), QString());
    EXPECT_FALSE(r[0][4].isNull());
}

TEST_F(Procedures, CreateSerialNoRegistersOnceAndGivesTheId) {
    auto& s = *server.company;
    auto create = [&](const QString& serial) {
        std::vector<ProcParam> p{in(u"@ProductId", 1), in(u"@SerialCode", serial),
                                 out(u"@SerialId", QMetaType::Int)};
        s.callProcedure(u"CreateSerialNo"_qs, p);
        return outValue(p, u"@SerialId");
    };
    const QVariant first = create(u"NEW-0001"_qs);
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(create(u"NEW-0001"_qs).toInt(), first.toInt());
    EXPECT_EQ(value(s, u"SELECT Count(*) FROM SerialNo WHERE Serial = 'NEW-0001'"_qs).toInt(), 1);
    EXPECT_EQ(value(s, u"SELECT OnHand FROM SerialNo WHERE Id = ?"_qs, {first}).toString(),
              u"Y"_qs);
    EXPECT_TRUE(create(u"   "_qs).isNull());
}

TEST_F(Procedures, CreateSerialNoRunsFromTheProductModulesBatch) {
    // The product module registers a serial through a batch with a declared variable.
    auto& s = *server.company;
    const auto product = value(
        s, u"SELECT Min(Id) FROM Product WHERE UseSerial = 'Y' AND CheckSerialOnhand = 'N'"_qs);
    ASSERT_FALSE(product.isNull());
    auto result = s.execute(
        u"Declare @SerialId IdNo\n\nIf Exists (Select Id From product Where Id = ? And UseSerial = 'Y' And CheckSerialOnhand = 'N')\n   Exec CreateSerialNo ?, ?, @SerialId Output\nselect  @SerialId"_qs,
        {product, product, u"BATCH-1"_qs});
    std::vector<QVariant> row;
    ASSERT_TRUE(result->fetch(row));
    EXPECT_FALSE(row[0].isNull());
    EXPECT_EQ(value(s, u"SELECT Count(*) FROM SerialNo WHERE Serial = 'BATCH-1'"_qs).toInt(), 1);
}

TEST_F(Procedures, NewDocumentNoCountsPerCodeAndYear) {
    auto& s = *server.company;
    auto next = [&](const QString& code, int year) {
        std::vector<ProcParam> p{in(u"@DocCode", code), in(u"@DocYear", year),
                                 out(u"@NewNo", QMetaType::Int)};
        s.callProcedure(u"NewDocumentNo"_qs, p);
        return outValue(p, u"@NewNo").toInt();
    };
    const int year = QDate::currentDate().year();
    EXPECT_EQ(next(u"SO"_qs, year), 6);  // the demo has used five
    EXPECT_EQ(next(u"SO"_qs, year), 7);
    EXPECT_EQ(next(u"SO"_qs, year + 1), 1);
    EXPECT_EQ(next(u"XX"_qs, year), 1);
    EXPECT_EQ(next(u"SO"_qs, year + 1), 2);
}

TEST_F(Procedures, ServerTimeIsNow) {
    std::vector<ProcParam> p{out(u"@ServerTime", QMetaType::QDateTime)};
    server.company->callProcedure(u"ServerTime"_qs, p);
    EXPECT_LE(qAbs(outValue(p, u"@ServerTime").toDateTime().secsTo(QDateTime::currentDateTime())),
              5);
}
