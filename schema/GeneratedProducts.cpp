// Writes the generated catalogue (CatalogueGenerator) into a company database that holds the
// demo data: products, units, prices, stock, attributes, and the pictures they name.

#include "schema/CatalogueGenerator.h"
#include "schema/CatalogueVocabulary.h"
#include "schema/DemoServer.h"

#include <QDate>
#include <QDir>
#include <QHash>
#include <QSet>
#include <array>

namespace md::schema {
namespace {

using data::Session;

// A decimal(18,4) value as the double that stands for it exactly (every value here has at most
// 15 significant digits), which the engine stores without a text round trip.
QVariant money(Units4 units) {
    return double(units) / 10000.0;
}
QVariant flag(bool on) {
    return on ? u"Y"_qs : u"N"_qs;
}
QVariant orNull(const QString& text) {
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}
QVariant orNull(const std::optional<int>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::Int));
}

// An INSERT of `rows` rows at once: "INSERT INTO t (cols) VALUES (?, ?), (?, ?), ...".
QString multiRowInsert(const QString& head, int columns, int rows) {
    QStringList marks;
    for (int c = 0; c < columns; ++c)
        marks << u"?"_qs;
    const QString one = u'(' + marks.join(u", "_qs) + u')';
    QStringList all;
    for (int r = 0; r < rows; ++r)
        all << one;
    return head + u" VALUES "_qs + all.join(u", "_qs);
}

// The rows of one table waiting to go in. They are sent in statements of a fixed number of
// rows (each statement text compiled once), and only once the rows they refer to are in; what
// is left waits for the next round or the end.
class TableBuffer {
  public:
    TableBuffer(QString head, int columns) : head_(std::move(head)), columns_(columns) {}

    // A row referring to the row `parent` of another table, itself the row `id` (0 when no
    // row refers to it).
    void add(qint64 parent, qint64 id, std::initializer_list<QVariant> row) {
        values_.insert(values_.end(), row);
        keys_.push_back({parent, id});
    }

    // Sends the rows whose parent is at most `parentsIn` (all rows with `all`).
    void send(Session& session, qint64 parentsIn, bool all) {
        size_t ready = 0;
        while (ready < keys_.size() && (all || keys_[ready].parent <= parentsIn))
            ++ready;
        size_t sent = 0;
        while (ready - sent >= kRows) {
            sendRows(session, sent, kRows);
            sent += kRows;
        }
        if (all && ready > sent) {
            sendRows(session, sent, ready - sent);
            sent = ready;
        }
        if (sent > 0)
            in_ = keys_[sent - 1].id;
        values_.erase(values_.begin(), values_.begin() + std::ptrdiff_t(sent * size_t(columns_)));
        keys_.erase(keys_.begin(), keys_.begin() + std::ptrdiff_t(sent));
    }

    // The id of the last row sent.
    qint64 in() const { return in_; }

  private:
    static constexpr size_t kRows = 100;
    struct Key {
        qint64 parent, id;
    };

    void sendRows(Session& session, size_t first, size_t rows) {
        QString& sql = rows == kRows ? full_ : tail_;
        if (rows != kRows)
            sql = multiRowInsert(head_, columns_, int(rows));
        else if (sql.isEmpty())
            sql = multiRowInsert(head_, columns_, int(kRows));
        const auto begin = values_.begin() + std::ptrdiff_t(first * size_t(columns_));
        session.execute(
            sql, std::vector<QVariant>(
                     std::make_move_iterator(begin),
                     std::make_move_iterator(begin + std::ptrdiff_t(rows * size_t(columns_)))));
    }

    QString head_;
    int columns_;
    QString full_, tail_;
    std::vector<QVariant> values_;
    std::vector<Key> keys_;
    qint64 in_ = 0;
};

class CatalogueWriter {
  public:
    CatalogueWriter(Session& company, const GenerateOptions& options)
        : s_(company), options_(options), generator_(options.seed) {}

    qint64 run() {
        lookups();
        TableBuffer products(
            u"INSERT INTO Product (Code, ThaiName, EngName, PosName, ProductType, UseSerial, "
            u"LotControl, TaxCode, DefaultWh, Blocked, Negative, MasterCode, Size_W, Size_L, "
            u"Size_H, Remark, Picture1, PType, PGroup, ProductGroup)"_qs,
            20);
        TableBuffer units(
            u"INSERT INTO ProductUnits (Product, UnitName, UnitDesc, Fraction, BarCode, SaleFlag, "
            u"PurcFlag, StockUnitFlag, SmallUnitFlag, PurcPrice)"_qs,
            10);
        TableBuffer prices(u"INSERT INTO ProductPrice (Product, ProductUnits, PriceType, Price)"_qs,
                           4);
        TableBuffer stock(
            u"INSERT INTO productonhand (product, productunits, warehouse, balanceyear, "
            u"quantity)"_qs,
            5);
        TableBuffer attributes(u"INSERT INTO productattr (Product, ProdAttrGroup, ProdAttrCode)"_qs,
                               3);

        const int year = QDate::currentDate().year();
        qint64 nextUnit = firstUnit_;
        for (qint64 i = 0; i < options_.count; ++i) {
            const GeneratedProduct p = generator_.product(i);
            const qint64 id = firstProduct_ + i;
            products.add(0, id,
                         {p.code,
                          p.thaiName,
                          p.engName,
                          p.thaiName.left(30),
                          QString(QChar(char16_t(p.productType))),
                          u"N"_qs,
                          flag(p.productType == 'R'),
                          p.taxCode,
                          p.defaultWarehouse,
                          flag(p.blocked),
                          flag(p.productType == 'M'),
                          flag(p.masterCode),
                          orNull(p.sizeW),
                          orNull(p.sizeL),
                          orNull(p.sizeH),
                          orNull(p.remark),
                          orNull(p.picture),
                          misc(u"PTYPE"_qs, p.ptype),
                          misc(u"PGROUP"_qs, p.pgroup),
                          p.productGroup});
            qint64 smallUnit = 0;
            for (const GeneratedUnit& u : p.units) {
                const qint64 unitId = nextUnit++;
                if (u.small)
                    smallUnit = unitId;
                units.add(
                    id, unitId,
                    {id, u.name, u.name + u" ("_qs + QString::number(u.fraction) + u')', u.fraction,
                     orNull(u.barcode), u"Y"_qs, flag(!u.small || p.units.size() == 1),
                     flag(!u.small || p.units.size() == 1), flag(u.small), money(u.purchasePrice)});
                for (const auto& [type, price] : u.prices)
                    prices.add(unitId, 0, {id, unitId, type, money(price)});
            }
            for (const auto& [warehouse, quantity] : p.stock)
                stock.add(smallUnit, 0, {id, smallUnit, warehouse, year, money(quantity)});
            for (const auto& [group, code] : p.attributes) {
                const qint64 groupId = attributeGroups_.value(group);
                attributes.add(id, 0, {id, groupId, attributeCodes_.value(group + u'|' + code)});
            }
            if (!p.picture.isEmpty())
                picture(p.picture);

            const bool last = i + 1 == options_.count;
            if ((i + 1) % kRound == 0 || last) {
                products.send(s_, 0, last);
                units.send(s_, products.in(), last);
                attributes.send(s_, products.in(), last);
                prices.send(s_, units.in(), last);
                stock.send(s_, units.in(), last);
                if ((i + 1) % kCommitEvery == 0 && !last) {
                    s_.commit();
                    s_.beginTransaction();
                }
                if (options_.progress)
                    options_.progress(i + 1, options_.count);
            }
        }
        return options_.count;
    }

  private:
    static constexpr qint64 kRound = 100;          // products generated between sends
    static constexpr qint64 kCommitEvery = 50000;  // keeps the write-ahead log small

    qint64 one(const QString& sql) {
        auto r = s_.execute(sql, {});
        std::vector<QVariant> row;
        return r->fetch(row) && !row[0].isNull() ? row[0].toLongLong() : 0;
    }

    QHash<QString, qint64> pairs(const QString& sql) {
        QHash<QString, qint64> result;
        auto r = s_.execute(sql, {});
        std::vector<QVariant> row;
        while (r->fetch(row))
            result.insert(row[1].toString().trimmed(), row[0].toLongLong());
        return result;
    }

    // Ids of the codes the generated rows refer to; the brands that the demo data has no
    // attribute code for yet get one.
    void lookups() {
        firstProduct_ = one(u"SELECT Max(Id) FROM Product"_qs) + 1;
        firstUnit_ = one(u"SELECT Max(Id) FROM ProductUnits"_qs) + 1;
        misc_ = pairs(u"SELECT Id, GroupCode + '|' + Code FROM Misc"_qs);
        attributeGroups_ = pairs(u"SELECT Id, Code FROM ProdAttrGroup"_qs);
        const qint64 brandGroup = attributeGroups_.value(u"BR"_qs);
        if (brandGroup == 0)
            throw DemoError(u"The company has no brand attribute group BR"_qs);
        auto known = pairs(
            u"SELECT C.Id, G.Code + '|' + C.Code FROM ProdAttrCode C Inner Join ProdAttrGroup G "
            u"On (G.Id = C.ProdAttrGroup)"_qs);
        for (const catalogue::Brand& b : catalogue::brands()) {
            const QString code = QString::fromUtf8(b.code);
            if (!known.contains(u"BR|"_qs + code)) {
                s_.execute(
                    u"INSERT INTO ProdAttrCode (ProdAttrGroup, Code, Description) VALUES "
                    u"(?, ?, ?)"_qs,
                    {brandGroup, code, QString::fromUtf8(b.thai)});
            }
        }
        attributeCodes_ = pairs(
            u"SELECT C.Id, G.Code + '|' + C.Code FROM ProdAttrCode C Inner Join ProdAttrGroup G "
            u"On (G.Id = C.ProdAttrGroup)"_qs);
    }

    qint64 misc(const QString& group, const QString& code) {
        const qint64 id = misc_.value(group + u'|' + code);
        if (id == 0)
            throw DemoError(u"The company has no %1 code %2"_qs.arg(group, code));
        return id;
    }

    // Each picture a product names is painted once, the first time.
    void picture(const QString& file) {
        if (options_.pictureFolder.isEmpty() || written_.contains(file))
            return;
        written_.insert(file);
        writeDemoPicture(options_.pictureFolder + file, int(written_.size()) * 7 + 3);
    }

    Session& s_;
    const GenerateOptions& options_;
    CatalogueGenerator generator_;
    qint64 firstProduct_ = 0;
    qint64 firstUnit_ = 0;
    QHash<QString, qint64> misc_, attributeGroups_, attributeCodes_;
    QSet<QString> written_;
};

}  // namespace

qint64 addGeneratedProducts(Session& company, const GenerateOptions& options) {
    if (options.count <= 0)
        return 0;
    company.beginTransaction();
    try {
        const qint64 added = CatalogueWriter(company, options).run();
        company.commit();
        return added;
    } catch (...) {
        company.rollback();
        throw;
    }
}

}  // namespace md::schema
