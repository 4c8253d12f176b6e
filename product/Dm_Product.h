#pragma once

// The product services module: checks that answer whether a product, unit, barcode, lot,
// serial, warehouse or part-source code exists (the found row stays open in the check's query
// for the caller to read), the unit lookups, the product-side searches, price determination and
// the stock quantity texts. Every query runs on the company connection DMDATA.
//
// "Not found" is a false result, never an error; database errors are not caught here.

#include "data/Query.h"
#include "data/UpdateSql.h"
#include "product/NumberPattern.h"

#include <QDateTime>
#include <QFlags>
#include <QString>
#include <functional>

namespace md::product {

// The roles a unit of a product can play, one flag column of ProductUnits each.
enum UnitKind {
    ukSale = 0x1,   // SaleFlag
    ukPurc = 0x2,   // PurcFlag
    ukStock = 0x4,  // StockUnitFlag
    ukSmall = 0x8,  // SmallUnitFlag
};
Q_DECLARE_FLAGS(UnitKinds, UnitKind)
Q_DECLARE_OPERATORS_FOR_FLAGS(UnitKinds)

// What a search dialog hands back: whether the user chose (OK), and its result field.
struct SearchResult {
    bool chosen = false;
    QString value;
};

// The inputs the unit search gets before it is shown.
struct UnitSearchInputs {
    qint64 productId = 0;
    bool forSale = false;
    bool forPurc = false;
    bool forStock = false;
    bool forSmall = false;
};

// The inputs the full product search gets before it is shown.
struct ProductServiceSearchInputs {
    // A product-kind code that presets and locks the kind choice, or blank for a free choice.
    QString productTypeFilter = QStringLiteral(" ");
    // The MasterCode a listed product must have ("N" when left blank).
    QString masterCodeFilter = QStringLiteral("N");
    bool showBlocked = false;
};

// The product-side search dialogs, installed by the window layer (which makes each dialog on
// first use and keeps it for the run). Each runner shows its dialog modally.
struct ProductSearchRunners {
    std::function<SearchResult()> product;  // product search by name: the product's Code
    std::function<SearchResult(const UnitSearchInputs&)> unit;  // the unit's UnitName
    std::function<SearchResult()> lotNo;                        // the lot's Code
    std::function<SearchResult()> warehouse;                    // the warehouse's code
    std::function<SearchResult()> barCode;                      // the unit's BarCode
    // The full product search: the chosen product's Code.
    std::function<SearchResult(const ProductServiceSearchInputs&)> productService;
};

class TDmProduct {
  public:
    TDmProduct();
    virtual ~TDmProduct() = default;
    TDmProduct(const TDmProduct&) = delete;
    TDmProduct& operator=(const TDmProduct&) = delete;

    // Checks and lookups.
    data::Query QChkProduct;
    data::Query QSpecialName;
    data::Query QChkBarCode;
    data::Query QChkUnit;
    data::Query QDefaultUnit;
    data::Query QStockUnit;
    data::Query QSmallUnit;
    data::Query QChkLotNo;
    data::Query QChkLotOnHand;
    data::Query QCreateSerialNo;
    data::Query QChkSerial;
    data::Query QChkWarehouse;
    data::Query QChkProdAttrCode;
    data::Query QChkProjectItemCode;
    data::Query QPriceStandard;
    data::Query QExistsPartSource;
    data::Query QChkPartSource;
    // Serial numbers with buffered editing, for callers that edit them (no operation here uses
    // them); a window attaches its own data source.
    data::Query QSerialNo;
    data::UpdateSql USerialNo;
    // Prices.
    data::Query QProductPrice;
    data::Query QStockUnitPrice;
    data::Query QCustomerProductPrice;
    data::Query QPromotion;
    data::Query QProjectPrice;
    data::Query QPriceVendor;
    // Stock quantities.
    data::Query QOnHand;
    data::Query QOnhandWH;
    data::Query QOnhandWHunits;
    data::Query QShowQnty;

    // The value chosen in the last search dialog.
    QString SelectedCode;
    // Set by callers: ExistsProduct first reads its text as a barcode.
    bool SearchByBarCode = false;
    // Left by GetPrice and GetProjectPrice for the caller.
    qint32 PriceQuantity = 0;
    QString PriceDiscount;
    // Display name of the product found by the last ExistsProduct (company option
    // SearchProductNo 2 only).
    QString SpecialName;
    // The raw summed quantity of the last warehouse quantity text.
    double LastWHQuantity = 0;
    // Set by callers: GetPrice takes the stock unit's price list where the company works in
    // stock units.
    bool UseStockUnitPrice = false;
    // The separators of the quantity texts: the workstation's, unless a caller sets others.
    NumberSeparators Separators = NumberSeparators::workstation();

    // The search dialogs (the window layer installs them).
    ProductSearchRunners searchRunners;

    // ---- checks: true when a row is found; the query stays open on it
    bool ExistsProduct(QString code);
    bool ExistsBarCode(const QString& barcode);
    bool ExistsProductUnit(qint64 productId, const QString& unitName, UnitKinds kinds);
    bool ExistsLotNo(const QString& lotCode, const QDateTime& onDate);
    // Registers an unknown serial first for a product that uses serials without on-hand
    // checking; true when the serial is on hand.
    bool ExistsSerialNo(const QString& serial, qint64 productId);
    bool ExistsWarehouse(const QString& code);
    bool ExistsProdAttrCode(qint64 groupId, const QString& code);
    bool ExistsProjectItemCode(const QString& code, qint64 projectId);
    // Also leaves the unit's standard purchase price and labour cost open in QPriceStandard.
    bool ExistsPartSource(qint64 productUnitsId, qint64 vendorId);
    bool ExistsVendorPartCode(const QString& purchaseCode, qint64 vendorId);

    // ---- unit lookups: the unit's name, empty without one
    // The unit of smallest fraction that has every role asked for (any unit for none).
    QString GetFirstUnit(qint64 productId, UnitKinds kinds);
    QString GetStockUnit(qint64 productId);
    QString GetSmallUnit(qint64 productId);
    // Quantity of a lot on hand over every balance year up to `year`; 0 without stock rows.
    double LotNoOnHand(qint64 lotId, qint64 productId, qint64 warehouseId, int year);

    // ---- searches: true when the user chose; SelectedCode holds the choice
    bool SearchProduct();
    bool SearchUnitName(qint64 productId);
    bool SearchLotNo();
    bool SearchWarehouse();
    bool SearchProductBarCode();
    // The full product search (kind, attribute, type, group and size criteria).
    bool SearchProductService(const ProductServiceSearchInputs& inputs);

    // ---- prices (ProductPrices.cpp)
    double GetPrice(qint64 customerId, qint64 productId, qint64 productUnitsId, int priceType,
                    const QDateTime& docDate);
    double GetProjectPrice(qint64 customerId, qint64 productId, qint64 productUnitsId,
                           int priceType, qint64 projectId, const QDateTime& docDate);
    double SetPurchasePrice(qint64 productId, qint64 vendorId, qint64 productUnitsId,
                            double defaultPrice);

    // ---- stock quantity texts (ProductQuantities.cpp)
    // Every warehouse, one balance year.
    QString ProductQuantity(qint64 productId, int year);
    // One warehouse; sets LastWHQuantity.
    QString ProductWHQuantity(qint64 productId, qint64 warehouseId, int year);
    // One unit's rows in one warehouse, never the RMA warehouse; sets LastWHQuantity.
    QString ProductUnitsWHQuantity(qint64 productId, qint64 productUnitsId, qint64 warehouseId,
                                   int year);
    // A quantity the caller supplies; "Error" for an unknown product.
    QString ShowQuantity(qint64 productId, double quantity);

  private:
    // The company options this module reads (from DM's open QConfig row).
    bool checkUserWarehouse();
    int searchProductNo();
    bool displayFraction();
    // Applies one promotion lookup (the customer's own, else customer 0); true when one matched.
    bool applyPromotion(qint64 customerId, qint64 productId, qint64 productUnitsId, int priceType,
                        const QDateTime& docDate, double& price);
    // The quantity text of an open quantity query's row for quantity `q`.
    QString quantityTextOf(data::Query& query, double q);
};

// The process-wide product services module (created by the program's start-up).
extern TDmProduct* DmProduct;

}  // namespace md::product
