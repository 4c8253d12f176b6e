#pragma once

// Product services over a copy of the demo company: the company module connected to DEMO01 as
// user 1, and the product module on it. Rows a case needs beyond the demo are written by the
// case itself, through SQL.

#include "DemoFixture.h"
#include "product/Dm_Product.h"

#include <memory>

namespace md::product::test {

class ProductTest : public forms::test::DemoWindowTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The demo product of that code: its id, and the ids of its smallest and stock units.
    qint64 productId(const QString& code);
    qint64 unitId(qint64 product, const QString& flagColumn);
    // Changes company options and reloads the row the module reads them from.
    void setConfig(const QString& assignments);
    // Inserts a product with a smallest unit "ชิ้น" (fraction 1, every role but stock) and a
    // stock unit "โหล" of `fraction`; returns the product id.
    qint64 addProduct(const QString& code, int fraction = 12);
    // Inserts a row and returns its identity key.
    qint64 insert(const QString& sql);

    std::unique_ptr<TDmProduct> dmProduct;
    TDmProduct* pm = nullptr;
};

}  // namespace md::product::test
