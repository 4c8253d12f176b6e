#pragma once

// Generated demo products that read like a trading company's catalogue (the words come from
// CatalogueVocabulary). Product `index` of seed `seed` is a pure function of the two, the same
// on every machine: a catalogue of N products is the first N of any longer one.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace md::schema {

// Money and quantities in ten-thousandths (the scale of the decimal(18,4) columns).
using Units4 = std::int64_t;

struct GeneratedUnit {
    QString name;
    int fraction = 1;
    QString barcode;  // empty: none
    bool small = false;
    Units4 purchasePrice = 0;
    std::vector<std::pair<int, Units4>> prices;  // price type, price
};

struct GeneratedProduct {
    QString code, thaiName, engName;
    char productType = 'P';
    QString ptype;         // Misc PTYPE code
    QString pgroup;        // Misc PGROUP code
    int productGroup = 1;  // productgroup Id
    int taxCode = 1;
    int defaultWarehouse = 1;
    bool blocked = false;
    bool masterCode = false;
    std::optional<int> sizeW, sizeL, sizeH;     // centimetres
    QString remark;                             // empty: none
    QString picture;                            // Picture1 ("/G-FAN-1.jpg"), empty: none
    std::vector<GeneratedUnit> units;           // the smallest first
    std::vector<std::pair<int, Units4>> stock;  // warehouse Id, quantity in the smallest unit
    std::vector<std::pair<QString, QString>> attributes;  // attribute group code, attribute code
};

class CatalogueGenerator {
  public:
    explicit CatalogueGenerator(std::uint64_t seed);
    ~CatalogueGenerator();
    CatalogueGenerator(const CatalogueGenerator&) = delete;
    CatalogueGenerator& operator=(const CatalogueGenerator&) = delete;

    // Product `index` (from 0) of this seed.
    GeneratedProduct product(std::int64_t index) const;

    // The share of all products whose name has the word of `rank` in a list ("kind",
    // "material", "brand", "model", "size"), as the weights give it (not counting the word
    // appearing inside another; for a material or a size an upper bound, since a kind takes
    // only the materials and sizes that fit its goods). Used by tests and benchmarks to choose
    // words.
    double expectedShare(const char* list, int rank) const;

    // The picture files products may name (without the folder), one per kind and variant.
    static QStringList pictureFiles();

  private:
    struct Tables;
    std::uint64_t seed_;
    std::unique_ptr<const Tables> tables_;
};

// The seed of masterdata-demo when none is given.
inline constexpr std::uint64_t kDefaultCatalogueSeed = 20;

}  // namespace md::schema
