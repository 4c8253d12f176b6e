// Every statement of the program's corpus runs against a fresh demo server, after the program's
// own upgrade scripts have run as the program runs them on connecting. Each :Name parameter gets
// a plausible value of its type; writing statements run inside a transaction that is rolled back.

#include "TestServer.h"
#include "data/backend/DbError.h"
#include "data/backend/SqlLexer.h"
#include "data/statements/Statements.h"

#include <gtest/gtest.h>
#include <QDateTime>
#include <QRegularExpression>

using namespace md;
using namespace md::schema::test;
using statements::Entry;
using statements::Kind;

namespace {

// The program's start-up scripts: a line holding only "/" ends each statement.
QStringList scriptStatements(const QStringList& lines) {
    QStringList out;
    QStringList current;
    for (const QString& line : lines) {
        if (line.trimmed() == u"/"_qs) {
            if (!current.join(u'\n').trimmed().isEmpty())
                out << current.join(u'\n');
            current.clear();
        } else {
            current << line;
        }
    }
    if (!current.join(u'\n').trimmed().isEmpty())
        out << current.join(u'\n');
    return out;
}

void runScript(data::Session& s, const QStringList& lines) {
    for (const QString& statement : scriptStatements(lines))
        rows(s, statement);
}

QVariant dateValue() {
    return QDateTime(QDate(QDate::currentDate().year(), 1, 3), QTime(0, 0));
}

// A plausible value for a parameter, by its name and where it stands.
QVariant parameterValue(const QString& module, const QString& component, const QString& name,
                        const QString& sql) {
    const QString n = name.toUpper();
    static const QStringList dates{u"GDATE"_qs,        u"PDATE"_qs,        u"EFFECTIVEDATE"_qs,
                                   u"TAXDATE"_qs,      u"TAXPRINTDATE"_qs, u"OPENACCOUNT"_qs,
                                   u"EXCHANGEDATE"_qs, u"EXPIREDDATE"_qs};
    static const QStringList numbers{u"TAXAMOUNT"_qs, u"PRICE"_qs,    u"CREDITLIMIT"_qs,
                                     u"PURCSCRAP"_qs, u"PURCPART"_qs, u"PURCRATE"_qs,
                                     u"SALESCRAP"_qs, u"SALEPART"_qs, u"SALERATE"_qs};
    static const QStringList flags{u"ACTIVE"_qs, u"CANUSETAX"_qs, u"BLOCKED"_qs, u"ONHAND"_qs};
    static const QStringList patterns{u"SALEUNIT"_qs,  u"PURCUNIT"_qs, u"SMALLUNIT"_qs,
                                      u"STOCKUNIT"_qs, u"FORPURC"_qs,  u"FORSALE"_qs,
                                      u"FORSTOCK"_qs,  u"FORSMALL"_qs};
    static const QStringList keys{
        u"OLD_ID"_qs,   u"GETPRODUCT"_qs, u"GETUNITS"_qs,     u"GETTYPE"_qs,       u"GETID"_qs,
        u"GETVID"_qs,   u"GETYEAR"_qs,    u"GETLOTNO"_qs,     u"GETWAREHOUSE"_qs,  u"GETPART"_qs,
        u"PID"_qs,      u"UID"_qs,        u"CID"_qs,          u"TID"_qs,           u"VID"_qs,
        u"YID"_qs,      u"WID"_qs,        u"PROJECTID"_qs,    u"INPUTID"_qs,       u"PRODUCTID"_qs,
        u"GVENDOR"_qs,  u"GCODE"_qs,      u"VENDORGROUP"_qs,  u"CUSTOMERGROUP"_qs, u"SALESMAN"_qs,
        u"FRVENDOR"_qs, u"PRODUCT"_qs,    u"PRODUCTUNITS"_qs, u"DUEDAYS"_qs,       u"GETGROUP"_qs,
        u"GETUNIT"_qs,  u"CURRENCY"_qs,   u"GNO"_qs};
    const int year = QDate::currentDate().year();

    // Where a name means a text in one place and a key in another, the place decides.
    if (n == u"GNO"_qs && module == u"U_PurchasePrice2"_qs)
        return u"USD"_qs;
    // Deletes aim at no row: the demo's first rows are referenced, which the server refuses.
    if (n == u"OLD_ID"_qs && component.endsWith(u".Delete"_qs))
        return 999999;
    if (n == u"GETGROUP"_qs && module == u"Fr_SearchMisc"_qs)
        return u"CURRENCY"_qs;
    if (n == u"GETUNIT"_qs && component == u"QChkUnit"_qs)
        return QString::fromUtf8("ชิ้น");
    if (n == u"GETTYPE"_qs && module == u"Fa_SelectProdAttr"_qs)
        return u"P"_qs;
    if (n == u"GETNAME"_qs && module == u"Dm_Config"_qs)
        return u"DEMO01"_qs;
    if (n == u"GETCODE"_qs && sql.contains(u"Id = :GetCode"_qs))
        return 1;
    if (n == u"GETYEAR"_qs || n == u"YID"_qs)
        return year;
    if (n == u"COUNTRY"_qs)
        return 13;  // after the twelve currencies: TH
    if (n == u"PICTURE"_qs)
        return QVariant(QMetaType(QMetaType::QByteArray));

    if (dates.contains(n))
        return dateValue();
    if (numbers.contains(n))
        return 12.5;
    if (flags.contains(n))
        return u"Y"_qs;
    if (patterns.contains(n))
        return u"Y%"_qs;
    if (keys.contains(n))
        return 1;
    if (n == u"INPUTGROUP"_qs)
        return u"CURRENCY"_qs;
    if (n == u"INPUTNAME"_qs || n == u"GETNAME"_qs || n == u"GETDESC"_qs)
        return u"%"_qs;
    if (n == u"CODE"_qs)
        return u"ZZTEST"_qs;  // a new code: no unique key refuses it
    if (n == u"GETCODE"_qs && sql.contains(u"Like :GetCode"_qs, Qt::CaseInsensitive))
        return u"%"_qs;
    if (n == u"GETCODE"_qs || n == u"GETPRODCODE"_qs)
        return u"FANSW-010"_qs;
    return u"TEST"_qs;
}

struct Prepared {
    QString sql;
    std::vector<QVariant> params;
};

// Replaces every :Name outside literals and comments by '?' with its value.
Prepared prepare(const QString& module, const Entry& e) {
    const QString text = e.lines.join(u'\n');
    Prepared p;
    data::SqlLexer lexer(text);
    for (const auto& t : lexer.tokens()) {
        const QStringView piece = data::tokenText(text, t);
        if (t.kind == data::TokenKind::Parameter) {
            p.sql += u'?';
            p.params.push_back(parameterValue(module, e.component, piece.mid(1).toString(), text));
        } else {
            p.sql += piece;
        }
    }
    return p;
}

bool writes(const QString& sql) {
    static const QRegularExpression re(u"^\\s*(insert|update|delete)\\b"_qs,
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(sql).hasMatch();
}

// A procedure entry: the name, then "@Name in|out type" lines.
void callProcedure(data::Session& s, const QString& module, const Entry& e) {
    ASSERT_FALSE(e.lines.isEmpty());
    std::vector<data::ProcParam> params;
    for (qsizetype i = 1; i < e.lines.size(); ++i) {
        const QStringList parts = e.lines[i].split(u' ', Qt::SkipEmptyParts);
        ASSERT_EQ(parts.size(), 3) << e.lines[i].toStdString();
        data::ProcParam p;
        p.name = parts[0];
        p.output = parts[1] == u"out"_qs;
        const QString type = parts[2];
        p.type = type == u"integer"_qs    ? QMetaType::Int
                 : type == u"datetime"_qs ? QMetaType::QDateTime
                                          : QMetaType::QString;
        if (!p.output) {
            p.value = p.type == QMetaType::Int ? QVariant(1) : QVariant(u"CORPUS"_qs);
        }
        params.push_back(p);
    }
    s.beginTransaction();
    try {
        s.callProcedure(e.lines.first(), params);
    } catch (const data::DbError& err) {
        s.rollback();
        ADD_FAILURE() << module.toStdString() << " " << e.component.toStdString() << ": "
                      << err.message().toStdString();
        return;
    }
    s.rollback();
    for (const auto& p : params) {
        if (p.output) {
            EXPECT_FALSE(p.value.isNull())
                << e.component.toStdString() << " " << p.name.toStdString();
        }
    }
}

class Corpus : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        server_ = new TestServer(true);
        master_ = schema::openDatabase(server_->server, u"master"_qs);
        // As on connecting: the configuration script, then the exchange window's script.
        runScript(*server_->config, statements::text(u"Dm_Config"_qs, u"SQLUpdate"_qs));
        runScript(*server_->company, statements::text(u"Fr_CurrencyEx"_qs, u"SQLUpdate"_qs));
    }
    static void TearDownTestSuite() {
        master_.reset();
        delete server_;
        server_ = nullptr;
    }
    static data::Session& sessionFor(const QString& module, const QString& component = {}) {
        // The probe for the configuration database runs on the server's master database.
        if (component == u"QChkConfig"_qs)
            return *master_;
        return module == u"Dm_Config"_qs ? *server_->config : *server_->company;
    }
    static TestServer* server_;
    static std::unique_ptr<data::Session> master_;
};
TestServer* Corpus::server_ = nullptr;
std::unique_ptr<data::Session> Corpus::master_;

}  // namespace

TEST(CorpusFiles, HeadersKindsAndBlanksAreKept) {
    const auto entries = statements::parse(
        u"-- notes\n--@ QA\nselect 1 \n\n  from x\n\n\n--@fragment F.1\na\n--@script S\nb\n/\nc\n--@procedure P\nProc\n@A in integer\n"_qs);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].component, u"QA"_qs);
    EXPECT_EQ(entries[0].lines, (QStringList{u"select 1 "_qs, QString(), u"  from x"_qs}));
    EXPECT_EQ(entries[1].kind, Kind::Fragment);
    EXPECT_EQ(entries[1].component, u"F.1"_qs);
    EXPECT_EQ(entries[2].kind, Kind::Script);
    EXPECT_EQ(entries[3].kind, Kind::Procedure);
    EXPECT_THROW(statements::text(u"Fr_ImportExpense"_qs, u"NoSuch"_qs), std::invalid_argument);
    EXPECT_THROW(statements::text(u"NoSuchModule"_qs, u"QMaster"_qs), std::invalid_argument);
}

TEST(CorpusFiles, TextsKeepTheirLinesExactly) {
    // The window replaces line 6 of this query at run time: the numbering must hold.
    const QStringList chk = statements::text(u"Dm_Product"_qs, u"QChkProduct"_qs);
    ASSERT_EQ(chk.size(), 10);
    EXPECT_TRUE(chk[6].startsWith(u"INNER JOIN Warehouse W"_qs));
    const QStringList barcode = statements::text(u"Fr_SearchBarCode"_qs, u"QSearch"_qs);
    ASSERT_EQ(barcode.size(), 35);
    EXPECT_TRUE(barcode[0].startsWith(u"Select\tU.Id"_qs));
    EXPECT_EQ(barcode[31], u"  Not (U.BarCode Is Null) And (U.BarCode <> '')"_qs);
    const QStringList serial = statements::text(u"Dm_Product"_qs, u"QCreateSerialNo"_qs);
    ASSERT_EQ(serial.size(), 5);
    EXPECT_TRUE(serial[1].isEmpty());
    EXPECT_EQ(statements::text(u"U_PurchasePrice2"_qs, u"QNULL"_qs),
              (QStringList{u"Select id "_qs, u"From nulltable"_qs}));
    EXPECT_GE(statements::modules().size(), 25);
}

TEST_F(Corpus, UpgradeScriptsAddTheirColumnsOnceAndRunAgainHarmlessly) {
    EXPECT_TRUE(hasColumn(*server_->config, u"Menu"_qs, u"Version"_qs));
    EXPECT_TRUE(hasColumn(*server_->config, u"UserName"_qs, u"UserSeeImport"_qs));
    EXPECT_TRUE(hasColumn(*server_->config, u"UserName"_qs, u"UserSeeCost"_qs));
    EXPECT_TRUE(hasColumn(*server_->company, u"CurrencyEx"_qs, u"SalePart"_qs));
    // Entries that start something are numbered; the heading of the menu is not.
    EXPECT_EQ(value(*server_->config, u"SELECT Version FROM Menu WHERE Id = 101"_qs).toInt(), 3);
    EXPECT_TRUE(value(*server_->config, u"SELECT Version FROM Menu WHERE Id = 100"_qs).isNull());
    EXPECT_NO_THROW(
        runScript(*server_->config, statements::text(u"Dm_Config"_qs, u"SQLUpdate"_qs)));
    EXPECT_NO_THROW(
        runScript(*server_->company, statements::text(u"Fr_CurrencyEx"_qs, u"SQLUpdate"_qs)));
}

TEST_F(Corpus, EveryStatementRuns) {
    int ran = 0;
    for (const QString& module : statements::modules()) {
        for (const Entry& e : statements::entries(module)) {
            auto& s = sessionFor(module, e.component);
            if (e.kind == Kind::Fragment)
                continue;
            if (e.kind == Kind::Procedure) {
                callProcedure(s, module, e);
                ++ran;
                continue;
            }
            if (e.kind == Kind::Script)
                continue;  // the upgrade scripts, run above
            const Prepared p = prepare(module, e);
            const bool write = writes(p.sql);
            if (write)
                s.beginTransaction();
            try {
                auto result = s.execute(p.sql, p.params);
                std::vector<QVariant> row;
                while (result->fetch(row)) {
                }
            } catch (const data::DbError& err) {
                ADD_FAILURE() << module.toStdString() << " " << e.component.toStdString() << ": "
                              << err.message().toStdString() << "\n"
                              << p.sql.toStdString();
            }
            if (write)
                s.rollback();
            ++ran;
        }
    }
    EXPECT_GT(ran, 150);
}

TEST_F(Corpus, StatementsFindTheDemoRows) {
    auto run = [](const QString& module, const QString& component) {
        Entry e{component, Kind::Statement, statements::text(module, component)};
        const Prepared p = prepare(module, e);
        return rows(sessionFor(module), p.sql, p.params);
    };
    EXPECT_EQ(run(u"U_DM"_qs, u"QConfig"_qs).size(), 1u);
    EXPECT_EQ(run(u"Fr_CurrencyEx"_qs, u"QRate"_qs).size(), 12u);  // every currency
    EXPECT_FALSE(run(u"Dm_Product"_qs, u"QChkProduct"_qs).empty());
    EXPECT_FALSE(run(u"Fr_SearchProductService"_qs, u"QSearch:Layout6"_qs).empty());
    EXPECT_FALSE(run(u"Dm_Config"_qs, u"QCompanyConfig"_qs).empty());
    // Only the rates of the newest date join the currency list.
    const auto currencies = run(u"U_DM"_qs, u"QMiscCurrency"_qs);
    EXPECT_EQ(currencies.size(), 12u);
}
