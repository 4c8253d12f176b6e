// Product services over a large company: the product check by code and by barcode, the sale
// price with every price source present, and the stock quantity text of one product over all
// warehouses, each as one call of the module on the company connection; and the product search
// by name (its statement, opened and its first page read as the dialog's grid reads it) for a
// common word, a medium one, a rare one, a word no product has and a code prefix, each with the
// share of the catalogue it matches printed first.
//
// MD_BENCH_SERVER names an existing demo server folder (masterdata-demo --products 1000000);
// without it a temporary one is made with MD_BENCH_PRODUCTS generated products (1,000,000 by
// default). The price rows the benchmark adds are rolled back at the end.

#include "data/Connection.h"
#include "data/Dm_Config.h"
#include "data/Query.h"
#include "data/U_DM.h"
#include "product/Dm_Product.h"
#include "product/U_SearchProduct.h"
#include "schema/DemoServer.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <array>
#include <cstdio>
#include <memory>

namespace {

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
    std::unique_ptr<md::data::TransactionGuard> rows;  // the benchmark's own rows
    QString code;     // a generated product in the middle of the table
    QString barcode;  // its unit's barcode
    qint64 productId = 0;
    qint64 unitId = 0;
    qint64 customerId = 0;
    int year = QDate::currentDate().year();

    QVariant scalar(const QString& sql) {
        Query q(&dm->DMdata, {sql});
        q.open();
        return q.isEmpty() ? QVariant() : q.field(0).value();
    }
    void exec(const QString& sql) { Query(&dm->DMdata, {sql}).execSql(); }

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
            const auto summary = md::schema::createDemoServer(folder, options);
            std::fprintf(stderr, "  %lld products in %lld ms\n",
                         static_cast<long long>(summary.products),
                         static_cast<long long>(summary.generateMilliseconds));
        }
        config.server = md::schema::serverNameOf(folder);
        config.UserId = 1;
        config.Pos1PriceType = 19;
        md::data::DMConfig = &config;
        dm = std::make_unique<md::data::TDM>();
        dm->CompanyArgument = QStringLiteral("DEMO01");
        md::data::DM = dm.get();
        dm->DMdata.open();
        product = std::make_unique<md::product::TDmProduct>();
        md::product::DmProduct = product.get();

        const qint64 products = scalar(QStringLiteral("Select Count(*) From Product")).toLongLong();
        std::fprintf(stderr, "company has %lld products\n", static_cast<long long>(products));
        productId =
            scalar(QStringLiteral("Select Max(Id) From Product")).toLongLong() - products / 2;
        code = scalar(QStringLiteral("Select Code From Product Where Id = %1").arg(productId))
                   .toString();
        unitId = scalar(QStringLiteral("Select Min(Id) From ProductUnits Where Product = %1 And "
                                       "SmallUnitFlag = 'Y'")
                            .arg(productId))
                     .toLongLong();
        barcode =
            scalar(QStringLiteral("Select BarCode From ProductUnits Where Id = %1").arg(unitId))
                .toString();
        customerId = scalar(QStringLiteral("Select Min(Id) From Customer")).toLongLong();

        // Every price source for that unit: both price lists, the customer's price, promotions
        // for the customer and for everyone, a project price; stock in every warehouse.
        rows = std::make_unique<md::data::TransactionGuard>(dm->DMdata);
        const QString ids = QStringLiteral("%1, %2").arg(productId).arg(unitId);
        exec(QStringLiteral("Delete From ProductPrice Where ProductUnits = %1").arg(unitId));
        exec(QStringLiteral("Insert Into ProductPrice (Product, ProductUnits, PriceType, Price) "
                            "Values (%1, 1, 101.25), (%1, 19, 99.5)")
                 .arg(ids));
        exec(QStringLiteral("Insert Into customerproductprice (customer, product, productunits, "
                            "price, quantity, discount) Values (%1, %2, 95.75, 6, '5%')")
                 .arg(customerId)
                 .arg(ids));
        for (const int customer : {0, int(customerId)}) {
            exec(QStringLiteral("Insert Into promotion_dt (product, productunits, pricetype, "
                                "customer, startdate, stopdate, price, discpercent) Values (%1, "
                                "1, %2, '%3-01-01', '%3-12-31', 90, '10%')")
                     .arg(ids)
                     .arg(customer)
                     .arg(year));
        }
        exec(QStringLiteral("Insert Into CustomerProductPriceProject (customer, project, product, "
                            "productunits, price, discount) Values (%1, 1, %2, 70.25, '3%')")
                 .arg(customerId)
                 .arg(ids));
        exec(QStringLiteral("Insert Into productonhand (product, productunits, warehouse, "
                            "balanceyear, quantity) Select %1, Id, %2, 25.5 From Warehouse")
                 .arg(ids)
                 .arg(year));
    }

    void close() {
        product.reset();
        md::product::DmProduct = nullptr;
        rows.reset();  // rolls the benchmark's rows back
        dm.reset();
        md::data::DM = nullptr;
        md::data::DMConfig = nullptr;
    }
};

Company* company = nullptr;

void BM_ExistsProduct_ByCode(benchmark::State& state) {
    company->product->SearchByBarCode = false;
    for (auto _ : state) {
        if (!company->product->ExistsProduct(company->code))
            state.SkipWithError("product not found");
    }
}
BENCHMARK(BM_ExistsProduct_ByCode)->Unit(benchmark::kMicrosecond);

void BM_ExistsProduct_ByBarcode(benchmark::State& state) {
    company->product->SearchByBarCode = true;
    for (auto _ : state) {
        if (!company->product->ExistsProduct(company->barcode))
            state.SkipWithError("barcode not found");
    }
    company->product->SearchByBarCode = false;
}
BENCHMARK(BM_ExistsProduct_ByBarcode)->Unit(benchmark::kMicrosecond);

void BM_GetPrice_EverySource(benchmark::State& state) {
    const QDateTime day(QDate(company->year, 6, 15), QTime(15, 30));
    for (auto _ : state) {
        const double price = company->product->GetPrice(company->customerId, company->productId,
                                                        company->unitId, 1, day);
        if (price != 90)
            state.SkipWithError("the customer's promotion did not win");
    }
}
BENCHMARK(BM_GetPrice_EverySource)->Unit(benchmark::kMicrosecond);

void BM_GetProjectPrice_EverySource(benchmark::State& state) {
    const QDateTime day(QDate(company->year, 6, 15), QTime(15, 30));
    for (auto _ : state) {
        const double price = company->product->GetProjectPrice(
            company->customerId, company->productId, company->unitId, 1, 1, day);
        if (price != 70.25)
            state.SkipWithError("the project price did not win");
    }
}
BENCHMARK(BM_GetProjectPrice_EverySource)->Unit(benchmark::kMicrosecond);

void BM_ProductQuantity_AllWarehouses(benchmark::State& state) {
    for (auto _ : state) {
        const QString text = company->product->ProductQuantity(company->productId, company->year);
        if (text.isEmpty() || text == QStringLiteral("Error"))
            state.SkipWithError("no quantity text");
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_ProductQuantity_AllWarehouses)->Unit(benchmark::kMicrosecond);

// The words of the generated catalogue (masterdata-demo --products): a brand in about one
// product in ten, one in about a thousand, one in about a hundred thousand, and a word that is
// in no name; and the code prefix of one item kind (installation services: the search by name
// leaves products of kind P out, which most of the catalogue is).
struct SearchCase {
    const char* label;
    const char* code;
    const char* name;
};
constexpr std::array<SearchCase, 5> kSearches{{
    {"CommonWord", "", "สยามแบรนด์"},
    {"MediumWord", "", "สิงห์เหล็ก"},
    {"RareWord", "", "เขมราฐ"},
    {"NoMatch", "", "เครื่องบินเจ็ท"},
    {"CodePrefix", "SVI-", ""},
}};

QStringList searchStatement(const SearchCase& c) {
    return md::product::TF_SearchProduct::Statement(QString::fromUtf8(c.code),
                                                    QString::fromUtf8(c.name), true, {}, 0);
}

// The share of all products the word (or code prefix) is found in, and the rows the search by
// name returns for it (that search leaves out blocked products and those of kind P).
void printShares() {
    const double all = company->scalar(QStringLiteral("Select Count(*) From Product")).toDouble();
    for (const SearchCase& c : kSearches) {
        const QString where =
            *c.code ? QStringLiteral("Code Like '%1%'").arg(QString::fromUtf8(c.code))
                    : QStringLiteral("ThaiName Like N'%%1%'").arg(QString::fromUtf8(c.name));
        const double found =
            company->scalar(QStringLiteral("Select Count(*) From Product Where ") + where)
                .toDouble();
        Query q(&company->dm->DMdata, searchStatement(c));
        q.open();
        const QString share = found > 0 ? QStringLiteral("1 in %1").arg(all / found, 0, 'f', 0)
                                        : QStringLiteral("none");
        std::fprintf(stderr, "%s %s: in %.0f products (%s, %.6f%%); the search returns %d\n",
                     c.label, *c.code ? c.code : c.name, found, share.toUtf8().constData(),
                     100.0 * found / all, q.recordCount());
    }
}

void BM_SearchByName(benchmark::State& state, const SearchCase& c) {
    const QStringList sql = searchStatement(c);
    for (auto _ : state) {
        Query q(&company->dm->DMdata, sql);
        q.open();
        for (int row = 0; row < 30 && !q.eof(); ++row)  // the grid's first page
            q.next();
    }
}
BENCHMARK_CAPTURE(BM_SearchByName, CommonWord, kSearches[0])->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchByName, MediumWord, kSearches[1])->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchByName, RareWord, kSearches[2])->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchByName, NoMatch, kSearches[3])->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchByName, CodePrefix, kSearches[4])->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Company c;
    c.open();
    company = &c;
    std::fprintf(stderr, "product %s, barcode %s\n", c.code.toUtf8().constData(),
                 c.barcode.toUtf8().constData());
    printShares();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    company = nullptr;
    c.close();
    return 0;
}
