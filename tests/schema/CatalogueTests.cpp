// The generated catalogue: how often its words are found, the same catalogue from the same seed
// on every machine, and rows that fit their columns.

#include "schema/CatalogueGenerator.h"
#include "schema/CatalogueVocabulary.h"
#include "schema/PortableRandom.h"

#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QSet>

namespace {

using md::schema::CatalogueGenerator;
using md::schema::GeneratedProduct;
namespace cat = md::schema::catalogue;

QString S(const char* t) {
    return QString::fromUtf8(t);
}

// Every Thai word of the vocabulary, to tell whether a word is found only as itself.
QStringList allThaiWords() {
    QStringList words;
    for (const auto& k : cat::kinds())
        words << S(k.thai);
    for (const auto& w : cat::materials())
        words << S(w.thai);
    for (const auto& b : cat::brands())
        words << S(b.thai);
    for (const auto& w : cat::models())
        words << S(w.thai);
    for (const auto& w : cat::sizes())
        words << S(w.thai);
    return words;
}

bool standsAlone(const QString& word) {
    int holders = 0;
    for (const QString& w : allThaiWords())
        holders += w.contains(word) ? 1 : 0;
    return holders == 1;
}

// The rank of the brand whose expected share is nearest `share`.
int brandNear(const CatalogueGenerator& g, double share) {
    int best = 0;
    for (int r = 0; r < int(cat::brands().size()); ++r) {
        if (std::abs(g.expectedShare("brand", r) - share) <
            std::abs(g.expectedShare("brand", best) - share))
            best = r;
    }
    return best;
}

QByteArray digestOf(const CatalogueGenerator& g, int count) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int i = 0; i < count; ++i) {
        const GeneratedProduct p = g.product(i);
        QStringList f{p.code,
                      p.thaiName,
                      p.engName,
                      QString(QChar(char16_t(p.productType))),
                      p.ptype,
                      p.pgroup,
                      QString::number(p.productGroup),
                      QString::number(p.taxCode),
                      QString::number(p.defaultWarehouse),
                      QString::number(p.blocked),
                      QString::number(p.masterCode),
                      QString::number(p.sizeW.value_or(-1)),
                      QString::number(p.sizeL.value_or(-1)),
                      QString::number(p.sizeH.value_or(-1)),
                      p.remark,
                      p.picture};
        for (const auto& u : p.units) {
            f << u.name << QString::number(u.fraction) << u.barcode << QString::number(u.small)
              << QString::number(u.purchasePrice);
            for (const auto& [type, price] : u.prices)
                f << QString::number(type) << QString::number(price);
        }
        for (const auto& [wh, q] : p.stock)
            f << QString::number(wh) << QString::number(q);
        for (const auto& [group, code] : p.attributes)
            f << group << code;
        hash.addData(f.join(u'\x1f').toUtf8());
        hash.addData("\x1e");
    }
    return hash.result().toHex();
}

TEST(Catalogue, WordsRangeFromOneProductInTenToOneInAHundredThousand) {
    const CatalogueGenerator g(md::schema::kDefaultCatalogueSeed);
    // The weights themselves: the most used kind and brand in about one product in ten, the
    // least used brand in about one in a hundred thousand.
    EXPECT_NEAR(g.expectedShare("kind", 0), 0.10, 0.02);
    EXPECT_NEAR(g.expectedShare("brand", 0), 0.11, 0.02);
    const double rarest = g.expectedShare("brand", int(cat::brands().size()) - 1);
    EXPECT_GT(rarest, 0.4e-5);
    EXPECT_LT(rarest, 2e-5);
    for (const char* list : {"kind", "material", "brand", "model", "size"})
        EXPECT_LT(g.expectedShare(list, 0), 0.13) << list << ": no word much above one in ten";

    // What the names hold: a common, a medium and a rare word, each found only as itself.
    const QString common = S(cat::kinds()[0].thai);
    const int mediumRank = brandNear(g, 1e-3);
    const int rareRank = brandNear(g, 1e-4);
    const QString medium = S(cat::brands()[size_t(mediumRank)].thai);
    const QString rare = S(cat::brands()[size_t(rareRank)].thai);
    for (const QString& w : {common, medium, rare})
        ASSERT_TRUE(standsAlone(w)) << w.toStdString();
    constexpr int kProducts = 200000;
    int commonCount = 0, mediumCount = 0, rareCount = 0;
    for (int i = 0; i < kProducts; ++i) {
        const QString name = g.product(i).thaiName;
        commonCount += name.contains(common);
        mediumCount += name.contains(medium);
        rareCount += name.contains(rare);
    }
    EXPECT_NEAR(commonCount, g.expectedShare("kind", 0) * kProducts, 0.05 * commonCount);
    const double mediumExpected = g.expectedShare("brand", mediumRank) * kProducts;  // about 200
    EXPECT_GT(mediumCount, 0.75 * mediumExpected);
    EXPECT_LT(mediumCount, 1.3 * mediumExpected);
    const double rareExpected = g.expectedShare("brand", rareRank) * kProducts;  // about 20
    EXPECT_GE(rareCount, 0.4 * rareExpected);
    EXPECT_LE(rareCount, 2.0 * rareExpected);
}

TEST(Catalogue, TheSameSeedGivesTheSameCatalogueOnEveryMachine) {
    const CatalogueGenerator g(md::schema::kDefaultCatalogueSeed);
    // Made with integer arithmetic only, the catalogue of seed 20 is this one wherever it is
    // built; a change of the vocabulary or of the draws changes this digest.
    EXPECT_EQ(digestOf(g, 2000).toStdString(),
              "6821a45aaa9270c6e4149fd91796a1ab10631d00676d00aa8e6f5964e8dddf54");
    EXPECT_EQ(digestOf(CatalogueGenerator(md::schema::kDefaultCatalogueSeed), 2000),
              digestOf(g, 2000));
    EXPECT_NE(digestOf(CatalogueGenerator(21), 2000), digestOf(g, 2000));
    // A product does not depend on the ones before it: a short catalogue is the start of a
    // longer one.
    EXPECT_EQ(g.product(1234).thaiName, CatalogueGenerator(20).product(1234).thaiName);
    EXPECT_EQ(g.product(1234).code, S("%1-0001235").arg(g.product(1234).code.section(u'-', 0, 0)));
}

TEST(Catalogue, DrawsAreUniformAndWeightedWithoutFloatingPoint) {
    md::schema::PortableRandom r(7);
    std::array<int, 6> seen{};
    for (int i = 0; i < 60000; ++i)
        ++seen[size_t(r.below(6))];
    for (int n : seen)
        EXPECT_NEAR(n, 10000, 500);
    EXPECT_THROW(r.below(0), std::invalid_argument);
    for (int i = 0; i < 1000; ++i) {
        const auto v = r.between(-3, 3);
        EXPECT_GE(v, -3);
        EXPECT_LE(v, 3);
    }

    const md::schema::ZipfTable t(4, 0, 1);  // weights 1, 1/2, 1/3, 1/4 of 25/12
    std::array<int, 4> drawn{};
    for (int i = 0; i < 250000; ++i)
        ++drawn[size_t(t.draw(r))];
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(drawn[size_t(k)], 250000 * (12.0 / 25.0) / (k + 1), 1500) << k;
}

TEST(Catalogue, ProductsFitTheirColumnsWithUniqueCodesAndValidBarcodes) {
    const CatalogueGenerator g(md::schema::kDefaultCatalogueSeed);
    QSet<QString> codes, barcodes;
    for (int i = 0; i < 20000; ++i) {
        const GeneratedProduct p = g.product(i);
        ASSERT_LE(p.thaiName.size(), 100) << p.thaiName.toStdString();
        ASSERT_LE(p.engName.size(), 100);
        ASSERT_LE(p.code.size(), 30);
        ASSERT_FALSE(codes.contains(p.code));
        codes.insert(p.code);
        ASSERT_FALSE(p.units.empty());
        EXPECT_TRUE(p.units[0].small && p.units[0].fraction == 1);
        for (size_t u = 0; u < p.units.size(); ++u) {
            const auto& unit = p.units[u];
            EXPECT_LE(unit.name.size(), 20);
            EXPECT_EQ(unit.small, u == 0);
            if (!unit.barcode.isEmpty()) {
                ASSERT_EQ(unit.barcode.size(), 13);
                int sum = 0;
                for (int d = 0; d < 12; ++d)
                    sum += (unit.barcode[d].unicode() - u'0') * (d % 2 ? 3 : 1);
                EXPECT_EQ(unit.barcode[12].unicode() - u'0', (10 - sum % 10) % 10);
                ASSERT_FALSE(barcodes.contains(unit.barcode));
                barcodes.insert(unit.barcode);
            }
            ASSERT_FALSE(unit.prices.empty());
            for (const auto& [type, price] : unit.prices) {
                EXPECT_GT(price, 0);
                EXPECT_EQ(price % 100, 0) << "sale prices are whole satang";
            }
        }
        if (p.productType == 'S') {
            EXPECT_TRUE(p.stock.empty());
            EXPECT_TRUE(p.units[0].barcode.isEmpty());
        }
    }
}

}  // namespace
