// Shows the full product search over a fresh demo company on the real display, for looking at it
// and driving it by hand or with xdotool: `show_product_search [--english] [LAYOUT [KIND]]`.
// Prints "chosen: CODE" or "cancelled" and exits 0 when the dialog closes.

#include "data/Dm_Config.h"
#include "data/U_DM.h"
#include "errors/TApplication.h"
#include "forms/Dialogs.h"
#include "forms/Fr_SimpleSearch.h"
#include "masters/LookupSearches.h"
#include "product/Dm_Product.h"
#include "product/ProductSearches.h"
#include "schema/DemoServer.h"

#include <QTemporaryDir>
#include <cstdio>

namespace {

class Session : public md::data::TDMConfig {
  public:
    QString server;
    QString ReadServerName() override { return server; }
};

}  // namespace

int main(int argc, char** argv) {
    md::errors::TApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool english = args.removeAll(QStringLiteral("--english")) > 0;
    const int layout = args.isEmpty() ? 6 : args.takeFirst().toInt();
    const QString kind = args.isEmpty() ? QStringLiteral(" ") : args.takeFirst();

    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("server"));
    md::schema::createDemoServer(folder, {});
    Session session;
    session.server = md::schema::serverNameOf(folder);
    session.LanguageThai = !english;
    session.UserId = 1;
    md::data::DMConfig = &session;
    auto dm = std::make_unique<md::data::TDM>();
    dm->CompanyArgument = QStringLiteral("DEMO01");
    md::data::DM = dm.get();
    dm->DMdata.open();
    md::data::Query(&dm->DMdata,
                    {QStringLiteral("Update Config Set SearchProductNo = %1").arg(layout)})
        .execSql();
    dm->ReloadConfig();
    auto product = std::make_unique<md::product::TDmProduct>();
    md::product::DmProduct = product.get();
    md::forms::installDialogs();
    md::forms::installSimpleSearch();
    md::masters::installLookupSearches();
    md::product::installProductSearches(*product);

    md::product::ProductServiceSearchInputs inputs;
    inputs.productTypeFilter = kind;
    bool chosen = false;
    md::errors::Guarded([&] { chosen = product->SearchProductService(inputs); })();
    std::printf("%s\n", chosen ? qPrintable(QStringLiteral("chosen: ") + product->SelectedCode)
                               : "cancelled");
    md::product::releaseProductSearches();
    md::masters::releaseLookupSearches();
    md::forms::releaseSimpleSearch();
    md::product::DmProduct = nullptr;
    product.reset();
    md::data::DM = nullptr;
    dm.reset();
    md::data::DMConfig = nullptr;
    return 0;
}
