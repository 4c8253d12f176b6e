#include "ProductFixture.h"

namespace md::product::test {

void ProductTest::SetUp() {
    DemoWindowTest::SetUp();
    if (HasFatalFailure())
        return;
    dm->DMdata.open();
    dmProduct = std::make_unique<TDmProduct>();
    pm = dmProduct.get();
    DmProduct = pm;
    // Quantity texts are checked with these separators whatever the machine's settings.
    pm->Separators = {QStringLiteral(","), QStringLiteral(".")};
}

void ProductTest::TearDown() {
    DmProduct = nullptr;
    dmProduct.reset();
    DemoWindowTest::TearDown();
}

qint64 ProductTest::productId(const QString& code) {
    const QVariant id = scalar(QStringLiteral("Select Id From Product Where Code = '") + code +
                               QStringLiteral("'"));
    EXPECT_FALSE(id.isNull()) << code.toStdString();
    return id.toLongLong();
}

qint64 ProductTest::unitId(qint64 product, const QString& flagColumn) {
    return scalar(QStringLiteral("Select Min(Id) From ProductUnits Where Product = %1 And %2 = 'Y'")
                      .arg(product)
                      .arg(flagColumn))
        .toLongLong();
}

void ProductTest::setConfig(const QString& assignments) {
    exec(QStringLiteral("Update Config Set ") + assignments);
    dm->ReloadConfig();
}

qint64 ProductTest::insert(const QString& sql) {
    exec(sql);
    return scalar(QStringLiteral("Select @@IDENTITY")).toLongLong();
}

qint64 ProductTest::addProduct(const QString& code, int fraction) {
    const qint64 id = insert(
        QStringLiteral("Insert Into Product (Code, ThaiName, ProductType, TaxCode, DefaultWh, "
                       "Blocked, MasterCode) Values ('%1', N'สินค้าทดสอบ %1', 'P', 1, 1, 'N', 'N')")
            .arg(code));
    exec(QStringLiteral(
             "Insert Into ProductUnits (Product, UnitName, Fraction, SaleFlag, PurcFlag, "
             "StockUnitFlag, SmallUnitFlag, PurcPrice) Values (%1, N'ชิ้น', 1, 'Y', 'Y', 'N', 'Y', "
             "10.5)")
             .arg(id));
    exec(QStringLiteral(
             "Insert Into ProductUnits (Product, UnitName, Fraction, SaleFlag, PurcFlag, "
             "StockUnitFlag, SmallUnitFlag, PurcPrice) Values (%1, N'โหล', %2, 'Y', 'N', 'Y', 'N', "
             "120.25)")
             .arg(id)
             .arg(fraction));
    return id;
}

}  // namespace md::product::test
