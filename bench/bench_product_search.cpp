// The full product search dialog over a large company: the time from the search to its first
// page (the search run and the first 100 rows the grid asks for) in the plain layout 0 and the
// stock layout 6, for a code prefix and for a name contained anywhere, and the heap the dialog
// holds after the grid has scrolled to the end of a 100,000-row result. Goals: 20 ms for a code
// prefix, 50 ms for a contained name.
//
// MD_BENCH_SERVER names an existing demo server folder (masterdata-demo --products 1000000);
// without it a temporary one is made with MD_BENCH_PRODUCTS generated products (1,000,000 by
// default).

#include "data/Connection.h"
#include "data/Dm_Config.h"
#include "data/Query.h"
#include "data/U_DM.h"
#include "forms/DbGrid.h"
#include "product/Dm_Product.h"
#include "product/Fr_SearchProductService.h"
#include "schema/DemoServer.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

// The words searched for. They fit the catalogue the demo generator makes; when the generator's
// vocabulary changes, set them again so that each still plays its part: a word most products
// carry, a word a handful carry, a word none carries, a code prefix of a few products, and a code
// prefix of about 100,000 products (the scrolling result).
// With seed 20 over 1,000,000 products: the item kind "หลอดไฟ LED" about 1 in 10, the brand
// "พลอยไพลิน" about 1 in 200,000, "LED-00012" about ten codes, "LED-" about 100,000.
const QString kCommonWord = QStringLiteral("หลอดไฟ LED");
const QString kRareWord = QStringLiteral("พลอยไพลิน");
const QString kMissingWord = QStringLiteral("เครื่องบินเจ็ท");
const QString kCodePrefix = QStringLiteral("LED-00012");
const QString kScrollPrefix = QStringLiteral("LED-");

constexpr int kPage = 100;

using md::data::Query;

class BenchConfig : public md::data::TDMConfig {
  public:
    QString server;
    QString ReadServerName() override { return server; }
};

struct Company {
    QTemporaryDir dir;
    BenchConfig config;
    std::unique_ptr<md::data::TDM> dm;
    std::unique_ptr<md::product::TDmProduct> product;
    std::unique_ptr<md::product::TFrSearchProductService> dialog;
    qint64 products = 0;

    QVariant scalar(const QString& sql) {
        Query q(&dm->DMdata, {sql});
        q.open();
        return q.isEmpty() ? QVariant() : q.field(0).value();
    }

    void open() {
        QString folder = qEnvironmentVariable("MD_BENCH_SERVER");
        if (folder.isEmpty()) {
            const qint64 count = qEnvironmentVariableIsSet("MD_BENCH_PRODUCTS")
                                     ? qEnvironmentVariable("MD_BENCH_PRODUCTS").toLongLong()
                                     : 1000000;
            folder = dir.filePath(QStringLiteral("server"));
            std::fprintf(stderr, "making a demo server with %lld generated products...\n",
                         static_cast<long long>(count));
            md::schema::DemoOptions options;
            options.generatedProducts = count;
            md::schema::createDemoServer(folder, options);
        }
        config.server = md::schema::serverNameOf(folder);
        config.UserId = 1;
        md::data::DMConfig = &config;
        dm = std::make_unique<md::data::TDM>();
        dm->CompanyArgument = QStringLiteral("DEMO01");
        md::data::DM = dm.get();
        dm->DMdata.open();
        product = std::make_unique<md::product::TDmProduct>();
        md::product::DmProduct = product.get();
        dialog = std::make_unique<md::product::TFrSearchProductService>();
        dialog->ProductTypeFilter = QStringLiteral(" ");
        products = scalar(QStringLiteral("Select Count(*) From Product")).toLongLong();
        std::fprintf(stderr, "company has %lld products\n", static_cast<long long>(products));
    }

    // The share of the catalogue a name word or a code prefix matches.
    void printShare(const char* what, const QString& condition) {
        const qint64 n = scalar(QStringLiteral("Select Count(*) From Product P Where ") + condition)
                             .toLongLong();
        std::fprintf(stderr, "%-32s %8lld products, %7.3f %% of the catalogue\n", what,
                     static_cast<long long>(n),
                     products ? 100.0 * double(n) / double(products) : 0.0);
    }

    // Makes the dialog show the layout as a showing would.
    void useLayout(int layout) {
        Query(&dm->DMdata, {QStringLiteral("Update Config Set SearchProductNo = %1, "
                                           "SearchProductMethod = 1, ShowLastSearch = 'N'")
                                .arg(layout)})
            .execSql();
        dm->ReloadConfig();
        dialog->FormShow();
    }

    // One search as the user runs it, up to the first page the grid shows. The rows fetched.
    int search(const QString& code, const QString& name) {
        dialog->Code->setText(code);
        dialog->ProductName->setText(name);
        dialog->BtSearchClick();
        md::forms::QueryModel* model = dialog->DgSearch->queryModel();
        if (model->rowCount() < kPage && model->canFetchMore({}))
            model->fetchMore({});
        return model->rowCount();
    }

    void close() {
        dialog.reset();
        product.reset();
        md::product::DmProduct = nullptr;
        dm.reset();
        md::data::DM = nullptr;
        md::data::DMConfig = nullptr;
    }
};

Company* company = nullptr;

void firstPage(benchmark::State& state, int layout, const QString& code, const QString& name,
               bool expectRows) {
    company->useLayout(layout);
    int rows = 0;
    for (auto _ : state) {
        rows = company->search(code, name);
        if (expectRows != (rows > 0))
            state.SkipWithError(expectRows ? "nothing found" : "found rows");
    }
    state.counters["rows"] = rows;
}

void BM_Layout0_CodePrefix(benchmark::State& s) {
    firstPage(s, 0, kCodePrefix, {}, true);
}
void BM_Layout0_ContainedName_Common(benchmark::State& s) {
    firstPage(s, 0, {}, kCommonWord, true);
}
void BM_Layout0_ContainedName_Rare(benchmark::State& s) {
    firstPage(s, 0, {}, kRareWord, true);
}
void BM_Layout0_ContainedName_Missing(benchmark::State& s) {
    firstPage(s, 0, {}, kMissingWord, false);
}
void BM_Layout6_CodePrefix(benchmark::State& s) {
    firstPage(s, 6, kCodePrefix, {}, true);
}
void BM_Layout6_ContainedName_Common(benchmark::State& s) {
    firstPage(s, 6, {}, kCommonWord, true);
}
void BM_Layout6_ContainedName_Rare(benchmark::State& s) {
    firstPage(s, 6, {}, kRareWord, true);
}
void BM_Layout6_ContainedName_Missing(benchmark::State& s) {
    firstPage(s, 6, {}, kMissingWord, false);
}
BENCHMARK(BM_Layout0_CodePrefix)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Layout0_ContainedName_Common)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Layout0_ContainedName_Rare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Layout0_ContainedName_Missing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Layout6_CodePrefix)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Layout6_ContainedName_Common)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Layout6_ContainedName_Rare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Layout6_ContainedName_Missing)->Unit(benchmark::kMillisecond);

// The heap the dialog holds once the grid has fetched every row of a 100,000-row result, less
// what it held with the result closed.
void scrollToEnd(benchmark::State& state, int layout) {
    company->useLayout(layout);
    double held = 0;
    int rows = 0;
    for (auto _ : state) {
        company->dialog->QSearch.close();
        malloc_trim(0);
        const size_t before = mallinfo2().uordblks;
        company->search(kScrollPrefix, {});
        md::forms::QueryModel* model = company->dialog->DgSearch->queryModel();
        while (model->canFetchMore({}))
            model->fetchMore({});
        company->dialog->DgSearch->selectRecord(model->rowCount() - 1);
        rows = model->rowCount();
        held = double(mallinfo2().uordblks) - double(before);
    }
    state.counters["rows"] = rows;
    state.counters["held_MiB"] = held / (1024.0 * 1024.0);
    state.counters["bytes_per_row"] = rows ? held / rows : 0;
}
void BM_Layout0_ScrollToEnd(benchmark::State& s) {
    scrollToEnd(s, 0);
}
void BM_Layout6_ScrollToEnd(benchmark::State& s) {
    scrollToEnd(s, 6);
}
BENCHMARK(BM_Layout0_ScrollToEnd)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Layout6_ScrollToEnd)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Company c;
    c.open();
    company = &c;
    const auto like = [](const QString& word) {
        return QStringLiteral("P.ThaiName Like '%") + word + QStringLiteral("%'");
    };
    c.printShare("common word", like(kCommonWord));
    c.printShare("rare word", like(kRareWord));
    c.printShare("missing word", like(kMissingWord));
    c.printShare("code prefix",
                 QStringLiteral("P.Code Like '") + kCodePrefix + QStringLiteral("%'"));
    c.printShare("scrolling code prefix",
                 QStringLiteral("P.Code Like '") + kScrollPrefix + QStringLiteral("%'"));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    c.close();
    return 0;
}
