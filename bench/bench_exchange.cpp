// The exchange rates window with 1,000 currencies on the demo server: saving one date's rates
// through the window's own save (F10's handler: every currency's row looked up and written in
// one transaction, then the window back on today), first as new rows and then as changes, and
// reading a date's rates into the grid's data set (every row, not only those on screen).

#include "data/Dm_Config.h"
#include "data/Prompts.h"
#include "data/Query.h"
#include "data/U_DM.h"
#include "forms/DataControls.h"
#include "masters/Fr_CurrencyEx.h"
#include "schema/DemoServer.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

namespace {

using md::masters::TFrCurrencyEx;

constexpr int kCurrencies = 1000;

class BenchConfig : public md::data::TDMConfig {
  public:
    QString server;
    QString ReadServerName() override { return server; }
};

// Every question is answered Yes; notices are counted, since none is expected.
class YesPrompts : public md::data::Prompts {
  public:
    bool askYesNo(const QString&) override { return true; }
    bool askExit(const QString&) override { return true; }
    bool askPlainYesNo(const QString&) override { return true; }
    void information(const QString&) override { ++notices; }
    void message(const QString&) override { ++notices; }
    int notices = 0;
};

struct Setup {
    QTemporaryDir dir;
    BenchConfig config;
    std::unique_ptr<md::data::TDM> dm;
    YesPrompts prompts;
    std::unique_ptr<TFrCurrencyEx> window;
    const QDate date{2001, 2, 3};

    Setup() {
        const QString folder = dir.filePath(QStringLiteral("server"));
        md::schema::createDemoServer(folder, {});
        config.server = md::schema::serverNameOf(folder);
        config.LanguageThai = true;
        config.UserId = 1;
        config.MenuId = 105;
        config.MenuCaption = QStringLiteral(u"กำหนดอัตราแลกเปลี่ยนประจำวัน");
        config.SaveConfirmText = QStringLiteral(u"จัดเก็บข้อมูล ?");
        config.DeleteConfirmText = QStringLiteral(u"ลบข้อมูล ?");
        md::data::DMConfig = &config;
        dm = std::make_unique<md::data::TDM>();
        dm->CompanyArgument = QStringLiteral("DEMO01");
        md::data::DM = dm.get();
        md::data::setPrompts(&prompts);

        dm->DMdata.open();
        md::data::Query count(&dm->DMdata,
                              {QStringLiteral("Select Count(*) From Misc Where GroupCode = "
                                              "'CURRENCY'")});
        count.open();
        const qint64 have = count.field(0).asInteger();
        count.close();
        md::data::Query add(&dm->DMdata,
                            {QStringLiteral("Insert Into Misc (GroupCode, Code, Description, "
                                            "Orderno) Values ('CURRENCY', :Code, :Name, :No)")});
        md::data::TransactionGuard tx(dm->DMdata);
        for (qint64 i = have + 1; i <= kCurrencies; ++i) {
            add.paramByName(QStringLiteral("Code")).setAsString(QStringLiteral("X%1").arg(i));
            add.paramByName(QStringLiteral("Name"))
                .setAsString(QStringLiteral(u"สกุลเงิน %1").arg(i));
            add.paramByName(QStringLiteral("No")).setAsInteger(i);
            add.execSql();
        }
        tx.commit();

        window = std::make_unique<TFrCurrencyEx>();
        window->show();
        QApplication::processEvents();
    }
    ~Setup() {
        window.reset();
        md::data::setPrompts(nullptr);
        md::data::DM = nullptr;
        dm.reset();
        md::data::DMConfig = nullptr;
    }

    // The date in the box with every currency's six values typed, as a user would leave them.
    void typeRates(double base) {
        window->DBDATETIME->setDate(date);
        window->LoadRates(date);
        md::data::Query& q = window->QRate;
        int row = 0;
        for (q.first(); !q.eof(); q.next(), ++row) {
            q.edit();
            const double scrap = base + row;
            q.fieldByName(QStringLiteral("PurcScrap")).setAsFloat(scrap);
            q.fieldByName(QStringLiteral("PurcPart")).setAsFloat(100);
            q.fieldByName(QStringLiteral("PurcRate")).setAsFloat(scrap / 100);
            q.fieldByName(QStringLiteral("SaleScrap")).setAsFloat(scrap * 1.01);
            q.fieldByName(QStringLiteral("SalePart")).setAsFloat(100);
            q.fieldByName(QStringLiteral("SaleRate")).setAsFloat(scrap * 1.01 / 100);
        }
    }
    void clearDate() {
        md::data::Query del(&dm->DMdata,
                            {QStringLiteral("Delete From CurrencyEx Where ExchangeDate = :D")});
        del.paramByName(QStringLiteral("D")).setAsDateTime(QDateTime(date, QTime(0, 0)));
        del.execSql();
    }
    qint64 rowsOfDate() {
        md::data::Query q(&dm->DMdata,
                          {QStringLiteral("Select Count(*) From CurrencyEx Where ExchangeDate = "
                                          ":D")});
        q.paramByName(QStringLiteral("D")).setAsDateTime(QDateTime(date, QTime(0, 0)));
        q.open();
        return q.field(0).asInteger();
    }
};

Setup* setup = nullptr;

void BM_SaveNewDate(benchmark::State& state) {
    double base = 10;
    for (auto _ : state) {
        state.PauseTiming();
        setup->clearDate();
        setup->typeRates(base += 1);
        state.ResumeTiming();
        setup->window->AcSaveExecute();
    }
    if (setup->rowsOfDate() != kCurrencies || setup->prompts.notices != 0)
        state.SkipWithError("the save did not write one row per currency");
    state.counters["currencies"] = kCurrencies;
}
BENCHMARK(BM_SaveNewDate)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_SaveChangedDate(benchmark::State& state) {
    double base = 1000;
    setup->typeRates(base);
    setup->window->AcSaveExecute();
    for (auto _ : state) {
        state.PauseTiming();
        setup->typeRates(base += 1);
        state.ResumeTiming();
        setup->window->AcSaveExecute();
    }
    if (setup->rowsOfDate() != kCurrencies || setup->prompts.notices != 0)
        state.SkipWithError("the save did not update one row per currency");
    state.counters["currencies"] = kCurrencies;
}
BENCHMARK(BM_SaveChangedDate)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_LoadRates(benchmark::State& state) {
    int rows = 0;
    for (auto _ : state) {
        setup->window->LoadRates(setup->date);
        rows = setup->window->QRate.recordCount();
    }
    if (rows != kCurrencies)
        state.SkipWithError("not every currency was read");
    state.counters["currencies"] = rows;
}
BENCHMARK(BM_LoadRates)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Setup s;
    setup = &s;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    setup = nullptr;
    return 0;
}
