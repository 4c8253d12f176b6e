#pragma once

// The demo server: an embedded server folder with the configuration database KVR_CONFIG and the
// company database DEMO01, both built from the schema scripts and filled with Thai demo data.
//
// Fixed conventions that the README and the tests rely on:
//   users 1 (Thai, LanguageNo 1, every right on every entry), 2 (English, LanguageNo 2, every
//   right), 3 (no access to any entry);
//   menu entries 101 IMPEXPENSE, 102 IMPORTLOTNO, 103 FRVENDOR, 104 FRCUSTOMER, 105 EXCHANGE,
//   106 PARTSOURCE;
//   main currency THB, international currency USD.

#include "data/backend/Backend.h"
#include "schema/CatalogueGenerator.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>

namespace md::schema {

inline constexpr char16_t kConfigDatabase[] = u"KVR_CONFIG";
inline constexpr char16_t kDemoDatabase[] = u"DEMO01";

// A demo server that cannot be made (the folder exists, cannot be created, ...).
class DemoError : public std::runtime_error {
  public:
    explicit DemoError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

  private:
    QString message_;
};

// Called now and then while products are generated: products done of all.
using DemoProgress = std::function<void(qint64 done, qint64 total)>;

struct DemoOptions {
    qint64 generatedProducts = 0;  // products added beyond the demo data (--products N)
    std::uint64_t seed = kDefaultCatalogueSeed;  // the generated catalogue's seed (--seed S)
    bool force = false;                          // replace the demo databases of an existing folder
    DemoProgress progress;
};

struct DemoSummary {
    QString serverName;  // "sqlite:<absolute folder>"
    qint64 products = 0;
    qint64 generatedProducts = 0;
    qint64 generateMilliseconds = 0;  // time taken by the generated products
    std::uint64_t seed = 0;           // their seed
};

// "sqlite:" and the folder made absolute.
QString serverNameOf(const QString& folder);

// Opens a session on one database of an embedded server.
std::unique_ptr<data::Session> openDatabase(const QString& serverName, const QString& database);

// Creates `folder` as an embedded server with both databases and their schema, without data.
// Refuses a folder that exists unless `force`, which replaces only the two databases (and the
// demo pictures) and leaves anything else in the folder alone. Returns the server name.
QString createSchemaServer(const QString& folder, bool force);

// The schema, the demo data and the generated products, built in a temporary folder beside
// `folder` and moved into place only when complete, so that a build that fails or is killed
// leaves no server behind (an earlier killed build's folder is removed by the next build).
// With `force` an existing folder's demo databases and pictures are replaced in one step and
// its other files kept; refused while another process has one of its databases open.
DemoSummary createDemoServer(const QString& folder, const DemoOptions& options);

// The demo rows of each database (the schema must be in place). The company data writes its
// product pictures into `pictureFolder` and stores `storedPictureFolder` (by default the same)
// as the company's PicturePath.
void loadConfigDemo(data::Session& config);
void loadCompanyDemo(data::Session& company, const QString& pictureFolder,
                     const QString& storedPictureFolder = {});

struct GenerateOptions {
    qint64 count = 0;
    std::uint64_t seed = kDefaultCatalogueSeed;
    QString pictureFolder;  // where the pictures the products name are painted; empty: none
    DemoProgress progress;
};

// Adds the generated catalogue's first `count` products of `seed` (CatalogueGenerator) with
// their units, barcodes, prices, stock and attributes, committing every 50,000 products (a
// failure rolls back only the products since the last commit). Returns the number added.
qint64 addGeneratedProducts(data::Session& company, const GenerateOptions& options);

// Writes a small JPEG picture; different seeds give different pictures.
void writeDemoPicture(const QString& path, int seed);

}  // namespace md::schema
