#include "schema/CatalogueGenerator.h"

#include "schema/CatalogueVocabulary.h"
#include "schema/PortableRandom.h"

#include <array>
#include <cstring>
#include <stdexcept>

namespace md::schema {
namespace cat = catalogue;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

ZipfTable tableOf(size_t size, cat::Slot slot) {
    return ZipfTable(static_cast<int>(size), slot.offset, slot.power);
}

// EAN-13 with the company prefix 885 and its check digit (the demo data's own barcodes use
// serials from 1, generated products from 100,000,000).
QString ean13(std::int64_t serial) {
    QString digits = u"885"_qs + QString::number(serial).rightJustified(9, u'0');
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (digits[i].unicode() - u'0') * (i % 2 ? 3 : 1);
    return digits + QString::number((10 - sum % 10) % 10);
}

// `amount` * percent / 100, rounded half away from zero (amounts here are never negative).
Units4 percentOf(Units4 amount, std::int64_t percent) {
    return (amount * percent + 50) / 100;
}

// To the satang (half away from zero): sale prices are quoted in satang, costs to the column.
Units4 satang(Units4 amount) {
    return (amount + 50) / 100 * 100;
}

constexpr Units4 kBaht = 10000;
constexpr int kPictureVariants = 2;

const std::array<const char*, 4> kProductGroupCodes{"A", "B", "C", "D"};
const std::array<int, 3> kDefaultWarehouses{1, 2, 3};
// Warehouses and storage locations that hold stock (WH09 is closed).
const std::array<int, 6> kStockWarehouses{1, 2, 3, 5, 6, 7};
const std::array<int, 5> kStockRowCounts{1, 0, 2, 3, 4};
const std::array<const char*, 5> kRemarks{"สินค้าแนะนำ", "สินค้านำเข้า", "สินค้าขายดี", "สั่งผลิตตามคำสั่งซื้อ",
                                          "ยกเลิกการผลิต"};
const std::array<const char*, 3> kOrigins{"CN", "TH", "JP"};

// A word of a list whose family is one of `families` (a kind's materials or sizes), drawn by
// the list's weights (a few tries, then none), or -1; none either when the slot is not drawn.
template <typename Words>
int fitting(const char* families, cat::Slot slot, const ZipfTable& table, const Words& words,
            PortableRandom& random) {
    if (*families == '\0' || !random.chance(slot.perMille))
        return -1;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int w = table.draw(random);
        if (std::strpbrk(words[static_cast<size_t>(w)].family, families))
            return w;
    }
    return -1;
}

}  // namespace

struct CatalogueGenerator::Tables {
    ZipfTable kinds = tableOf(cat::kinds().size(), cat::kindSlot());
    ZipfTable materials = tableOf(cat::materials().size(), cat::materialSlot());
    ZipfTable brands = tableOf(cat::brands().size(), cat::brandSlot());
    ZipfTable models = tableOf(cat::models().size(), cat::modelSlot());
    ZipfTable sizes = tableOf(cat::sizes().size(), cat::sizeSlot());
    ZipfTable dimensions{static_cast<int>(cat::dimensions().size()), 1, 2};
    ZipfTable productGroups{static_cast<int>(kProductGroupCodes.size()), 1, 1};
    ZipfTable warehouses{static_cast<int>(kDefaultWarehouses.size()), 0, 3};
    ZipfTable stockRows{static_cast<int>(kStockRowCounts.size()), 1, 2};
    ZipfTable remarks{static_cast<int>(kRemarks.size()), 0, 2};
    ZipfTable origins{static_cast<int>(kOrigins.size()), 1, 1};
    // The share of the products whose kind is a service (they get no material and no size).
    double serviceShare = 0;
    // The words as QStrings, converted once rather than for every product.
    std::vector<QString> kindCodes, kindThai, kindEng, kindPtype, kindUnit, kindPack;
    std::vector<QString> materialThai, materialEng, brandCode, brandThai, brandEng;
    std::vector<QString> modelThai, modelEng, sizeThai, sizeEng;
};

CatalogueGenerator::CatalogueGenerator(std::uint64_t seed) : seed_(seed) {
    auto tables = std::make_unique<Tables>();
    std::uint64_t services = 0;
    for (int k = 0; k < tables->kinds.size(); ++k) {
        if (cat::kinds()[static_cast<size_t>(k)].productType == 'S')
            services += tables->kinds.weight(k);
    }
    tables->serviceShare = double(services) / double(tables->kinds.total());
    for (const cat::Kind& k : cat::kinds()) {
        tables->kindCodes.push_back(S(k.code));
        tables->kindThai.push_back(S(k.thai));
        tables->kindEng.push_back(S(k.eng));
        tables->kindPtype.push_back(S(k.ptype));
        tables->kindUnit.push_back(S(k.unit));
        tables->kindPack.push_back(S(k.pack));
    }
    for (const cat::Material& w : cat::materials()) {
        tables->materialThai.push_back(S(w.thai));
        tables->materialEng.push_back(S(w.eng));
    }
    for (const cat::Brand& b : cat::brands()) {
        tables->brandCode.push_back(S(b.code));
        tables->brandThai.push_back(S(b.thai));
        tables->brandEng.push_back(S(b.eng));
    }
    for (const cat::Word& w : cat::models()) {
        tables->modelThai.push_back(S(w.thai));
        tables->modelEng.push_back(S(w.eng));
    }
    for (const cat::Size& w : cat::sizes()) {
        tables->sizeThai.push_back(S(w.thai));
        tables->sizeEng.push_back(S(w.eng));
    }
    tables_ = std::move(tables);
}

CatalogueGenerator::~CatalogueGenerator() = default;

double CatalogueGenerator::expectedShare(const char* list, int rank) const {
    auto share = [&](const ZipfTable& t, cat::Slot slot, bool goods) {
        const double present = slot.perMille / 1000.0 * (goods ? 1.0 - tables_->serviceShare : 1.0);
        return present * double(t.weight(rank)) / double(t.total());
    };
    if (std::strcmp(list, "kind") == 0)
        return share(tables_->kinds, cat::kindSlot(), false);
    if (std::strcmp(list, "material") == 0)
        return share(tables_->materials, cat::materialSlot(), true);
    if (std::strcmp(list, "brand") == 0)
        return share(tables_->brands, cat::brandSlot(), false);
    if (std::strcmp(list, "model") == 0)
        return share(tables_->models, cat::modelSlot(), false);
    if (std::strcmp(list, "size") == 0)
        return share(tables_->sizes, cat::sizeSlot(), true);
    throw std::invalid_argument("CatalogueGenerator::expectedShare: no such list");
}

QStringList CatalogueGenerator::pictureFiles() {
    QStringList files;
    for (const cat::Kind& kind : cat::kinds()) {
        for (int v = 1; v <= kPictureVariants; ++v)
            files << u"/G-%1-%2.jpg"_qs.arg(S(kind.code)).arg(v);
    }
    return files;
}

GeneratedProduct CatalogueGenerator::product(std::int64_t index) const {
    const Tables& t = *tables_;
    PortableRandom random = PortableRandom::forItem(seed_, static_cast<std::uint64_t>(index));
    GeneratedProduct p;

    // The name: kind, then material, brand, model and size where the product has them.
    const int k = t.kinds.draw(random);
    const cat::Kind& kind = cat::kinds()[static_cast<size_t>(k)];
    const bool service = kind.productType == 'S';
    auto drawIf = [&](cat::Slot slot, const ZipfTable& table) {
        return random.chance(slot.perMille) ? table.draw(random) : -1;
    };
    const int material =
        fitting(kind.materials, cat::materialSlot(), t.materials, cat::materials(), random);
    const int brand = drawIf(cat::brandSlot(), t.brands);
    const int model = drawIf(cat::modelSlot(), t.models);
    const int size = fitting(kind.sizes, cat::sizeSlot(), t.sizes, cat::sizes(), random);
    auto word = [](const std::vector<QString>& words, int rank) -> const QString& {
        return words[static_cast<size_t>(rank)];
    };
    p.thaiName = word(t.kindThai, k);
    if (material >= 0)
        p.thaiName += u' ' + word(t.materialThai, material);
    if (brand >= 0)
        p.thaiName += u' ' + word(t.brandThai, brand);
    if (model >= 0)
        p.thaiName += u' ' + word(t.modelThai, model);
    if (size >= 0)
        p.thaiName += u' ' + word(t.sizeThai, size);
    if (brand >= 0)
        p.engName = word(t.brandEng, brand) + u' ';
    if (material >= 0)
        p.engName += word(t.materialEng, material) + u' ';
    p.engName += word(t.kindEng, k);
    if (model >= 0)
        p.engName += u' ' + word(t.modelEng, model);
    if (size >= 0)
        p.engName += u' ' + word(t.sizeEng, size);
    p.code = word(t.kindCodes, k) + u'-' + QString::number(index + 1).rightJustified(7, u'0');
    p.productType = kind.productType;
    p.ptype = word(t.kindPtype, k);

    // Classification and flags.
    p.pgroup = S(kProductGroupCodes[static_cast<size_t>(t.productGroups.draw(random))]);
    p.productGroup = random.chance(900) ? 1 : 2;
    p.taxCode = service || random.chance(30) ? 2 : 1;
    p.defaultWarehouse = kDefaultWarehouses[static_cast<size_t>(t.warehouses.draw(random))];
    p.blocked = random.chance(10);
    p.masterCode = random.chance(5);
    if (!service && random.chance(600)) {
        const cat::Dimensions& d =
            cat::dimensions()[static_cast<size_t>(t.dimensions.draw(random))];
        p.sizeW = d.width;
        p.sizeL = d.length;
        p.sizeH = d.height;
    }
    if (random.chance(80))
        p.remark = S(kRemarks[static_cast<size_t>(t.remarks.draw(random))]);
    if (random.chance(250)) {
        const int variant = random.chance(700) ? 1 : 2;
        p.picture = u"/G-"_qs + word(t.kindCodes, k) + u'-' + QChar(u'0' + variant) + u".jpg"_qs;
    }

    // Units with barcodes and prices: the price of the smallest unit from the kind's usual
    // price, rounded to 25 satang (one in ten to the satang); a pack costs 5% less per piece.
    Units4 price = percentOf(Units4(kind.price) * kBaht, random.between(60, 180));
    price = random.chance(100) ? satang(price) : (price + 1250) / 2500 * 2500;
    price = std::max<Units4>(price, 2500);
    GeneratedUnit small;
    small.name = word(t.kindUnit, k);
    small.small = true;
    if (!service && random.chance(900))
        small.barcode = ean13(100000000 + 2 * index);
    small.purchasePrice = percentOf(price, random.between(55, 80));
    small.prices.emplace_back(19, price);
    if (random.chance(250))
        small.prices.emplace_back(1, satang(percentOf(price, 95)));
    if (random.chance(100))
        small.prices.emplace_back(2, satang(percentOf(price, 105)));
    p.units.push_back(small);
    if (kind.fraction > 1 && random.chance(500)) {
        GeneratedUnit pack;
        pack.name = word(t.kindPack, k);
        pack.fraction = kind.fraction;
        if (random.chance(850))
            pack.barcode = ean13(100000000 + 2 * index + 1);
        pack.purchasePrice = small.purchasePrice * kind.fraction;
        pack.prices.emplace_back(19, satang(percentOf(price * kind.fraction, 95)));
        p.units.push_back(pack);
    }

    // Stock of the smallest unit: in the default warehouse first, then others.
    if (!service) {
        const int rows = kStockRowCounts[static_cast<size_t>(t.stockRows.draw(random))];
        const auto start = static_cast<size_t>(random.below(kStockWarehouses.size()));
        std::vector<int> warehouses{p.defaultWarehouse};
        for (size_t k = 0;
             static_cast<int>(warehouses.size()) < rows && k < kStockWarehouses.size(); ++k) {
            const int wh = kStockWarehouses[(start + k) % kStockWarehouses.size()];
            if (wh != p.defaultWarehouse)
                warehouses.push_back(wh);
        }
        for (int r = 0; r < rows; ++r) {
            Units4 quantity = random.between(1, 400) * kBaht * (kind.fraction > 1 ? 2 : 1);
            if (random.chance(25))
                quantity = -quantity / 4;
            p.stock.emplace_back(warehouses[static_cast<size_t>(r)], quantity);
        }
    }

    // Attributes: brand, country of origin and category for goods; the service kind; the
    // material kind of sundries.
    if (service) {
        p.attributes.emplace_back(u"SV"_qs, random.chance(500) ? u"ONSITE"_qs : u"SHOP"_qs);
    } else if (kind.productType == 'M') {
        p.attributes.emplace_back(u"MT"_qs, random.chance(600) ? u"PLASTIC"_qs : u"PAPER"_qs);
    } else {
        if (brand >= 0)
            p.attributes.emplace_back(u"BR"_qs, word(t.brandCode, brand));
        if (random.chance(150))
            p.attributes.emplace_back(u"OR"_qs,
                                      S(kOrigins[static_cast<size_t>(t.origins.draw(random))]));
        const bool home = std::strcmp(kind.ptype, "ELEC") == 0 ||
                          std::strcmp(kind.ptype, "KITCH") == 0 ||
                          std::strcmp(kind.ptype, "CHEM") == 0;
        if (random.chance(200))
            p.attributes.emplace_back(u"CT"_qs, home ? u"HOME"_qs : u"WORK"_qs);
    }
    return p;
}

}  // namespace md::schema
