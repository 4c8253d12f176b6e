// The demo rows of the configuration database and of the company database DEMO01.
//
// Every table starts empty, so identity keys are handed out 1, 2, 3, ... in insertion order; the
// writer counts them instead of asking the server after every row.

#include "schema/DemoServer.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QHash>
#include <array>

namespace md::schema {
namespace {

using data::Session;

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}
QVariant Y() {
    return u"Y"_qs;
}
QVariant N() {
    return u"N"_qs;
}
QVariant flag(bool on) {
    return on ? Y() : N();
}
QVariant nullInt() {
    return QVariant(QMetaType(QMetaType::Int));
}
QVariant nullText() {
    return QVariant(QMetaType(QMetaType::QString));
}
QVariant day(int y, int m, int d) {
    return QDateTime(QDate(y, m, d), QTime(0, 0));
}

class Writer {
  public:
    explicit Writer(Session& session) : session_(session) {}

    // Inserts one row and returns its identity key (tables without one count all the same).
    qint64 insert(const QString& table, const QString& columns, std::vector<QVariant> values) {
        QString& sql = statements_[table + u'|' + columns];
        if (sql.isEmpty()) {
            QStringList marks;
            for (size_t i = 0; i < values.size(); ++i)
                marks << u"?"_qs;
            sql = u"INSERT INTO %1 (%2) VALUES (%3)"_qs.arg(table, columns, marks.join(u", "_qs));
        }
        session_.execute(sql, values);
        return ++ids_[table.toUpper()];
    }

    void exec(const QString& sql, const std::vector<QVariant>& values = {}) {
        session_.execute(sql, values);
    }

  private:
    Session& session_;
    QHash<QString, QString> statements_;
    QHash<QString, qint64> ids_;
};

// ---------------------------------------------------------------- configuration database

struct MenuEntry {
    int id;
    const char* code;
    const char* caption;
    const char* captionEng;
};

const std::array<MenuEntry, 6> kMenus{{
    {101, "IMPEXPENSE", "ค่าใช้จ่ายในการนำเข้า", "Import Expense"},
    {102, "IMPORTLOTNO", "Lot No. การนำเข้า", "Import Lot No."},
    {103, "FRVENDOR", "เจ้าหนี้ต่างประเทศ", "Foreign Vendor"},
    {104, "FRCUSTOMER", "ลูกค้าต่างประเทศ", "Foreign Customer"},
    {105, "EXCHANGE", "กำหนดอัตราแลกเปลี่ยนประจำวัน", "Daily Exchange Rates"},
    {106, "PARTSOURCE", "ราคาซื้อสินค้าจากเจ้าหนี้ต่างประเทศ", "Foreign Vendor Part Source"},
}};

const char* const kUserFlagColumns =
    "EditSalePrice, Approve_Quo, Approve_SO, Approve_IV, Approve_PO, Approved_PORQ, "
    "ApproveTranWH, ApproveTranBranch, ApproveWorkOrder, CanSeeCost, CanSeeSalePrice, "
    "CanModifyCusSale, Approve_PreIs, ApproveCustomerDropUse, ApproveCustomerDropCredit, "
    "CanModifyCredit, CanSetProductBlock, CanSetProductMinus, CanSaleCreditOnReturnCheque";
constexpr int kUserFlagCount = 19;

}  // namespace

void loadConfigDemo(Session& config) {
    Writer w(config);
    const int year = QDate::currentDate().year();
    w.insert(u"Company"_qs,
             u"Code, Password, NameThai, NameEng, ShortName, Address1, Address2, Address3, "
             u"Address4, Province, Zip, Telephone, Fax, EMail, TaxNo, InstallDate, RunYear, "
             u"LocalServer, FUNDNAME, TaxBranchHead, TaxBranchCode, TaxBranchName"_qs,
             {u"DEMO"_qs,
              nullText(),
              S("บริษัท สยามอินเตอร์เทรด จำกัด"),
              u"Siam Intertrade Co., Ltd."_qs,
              S("สยามอินเตอร์เทรด"),
              S("เลขที่ 99/9 อาคารสยามทาวเวอร์ ชั้น 12"),
              S("ถนนพระราม 4"),
              S("แขวงคลองเตย เขตคลองเตย"),
              S("กรุงเทพมหานคร"),
              S("กรุงเทพมหานคร"),
              u"10110"_qs,
              u"02-123-4567"_qs,
              u"02-123-4568"_qs,
              u"info@siam-intertrade.example"_qs,
              u"0105551234567"_qs,
              day(2015, 1, 5),
              year,
              u"KVR"_qs,
              nullText(),
              Y(),
              u"00000"_qs,
              S("สำนักงานใหญ่")});
    w.insert(u"DatabaseList"_qs, u"Company, DatabaseName, Description, YearNo"_qs,
             {1, u"DEMO01"_qs, S("บริษัทตัวอย่าง ปีปัจจุบัน"), year});
    w.insert(u"CompanyConfig"_qs,
             u"Company, PicturePath, Public_Price_IE, DefaultWh, DefaultTax, POS1_Wh, "
             u"POS1_TaxCode, POS1_Price_IE, POS1_PriceType, POS1_SumDetail, DefaultPosComPort, "
             u"DefaultPosMenuId"_qs,
             {1, nullText(), u"I"_qs, 1, 1, 1, 1, u"I"_qs, 2, N(), u"COM1"_qs, 106});

    // A heading of the main menu has no command; the program's own script numbers only the
    // entries that start something.
    w.insert(u"Menu"_qs,
             u"Id, MenuCode, Caption, CaptionEng, Command, MenuOption, ParentId, OrderNo"_qs,
             {100, u"MASTERIMPORT"_qs, S("ข้อมูลหลักงานนำเข้า-ส่งออก"), u"Import/Export Masters"_qs,
              nullText(), nullText(), 0, 1});
    int order = 1;
    for (const MenuEntry& m : kMenus) {
        w.insert(u"Menu"_qs,
                 u"Id, MenuCode, Caption, CaptionEng, Command, MenuOption, ParentId, OrderNo"_qs,
                 {m.id, S(m.code), S(m.caption), S(m.captionEng), u"MASTERDATA"_qs, S(m.code), 100,
                  order++});
    }

    struct User {
        const char* code;
        const char* fullName;
        int language;
        bool rights;
    };
    const std::array<User, 3> users{{{"SOMCHAI", "สมชาย ใจดี", 1, true},
                                     {"JOHN", "John Smith", 2, true},
                                     {"GUEST", "ผู้เยี่ยมชม ระบบ", 1, false}}};
    for (const User& u : users) {
        std::vector<QVariant> values{S(u.code), S(u.fullName), u"1234"_qs, u.language,
                                     u.rights ? QVariant(1) : nullInt()};
        for (int i = 0; i < kUserFlagCount; ++i)
            values.push_back(flag(u.rights && (i % 4 != 3 || u.language == 1)));
        w.insert(u"UserName"_qs,
                 u"Code, FullName, Password, LanguageNo, SalesmanId, "_qs + S(kUserFlagColumns),
                 std::move(values));
    }
    for (int userId = 1; userId <= 3; ++userId) {
        for (const MenuEntry& m : kMenus) {
            const QVariant r = flag(userId != 3);
            w.insert(u"UserRight"_qs, u"UserId, MenuId, Access_R, Add_R, Modify_R, Delete_R"_qs,
                     {userId, m.id, r, r, r, r});
        }
    }
    w.insert(
        u"softwareconfig"_qs, u"SoftwareName, Version, SupportMail, InstallDate"_qs,
        {S("ระบบบริหารงานข้อมูลหลัก"), u"1.05.10.18"_qs, u"support@example.com"_qs, day(2015, 1, 5)});
}

namespace {

// ---------------------------------------------------------------- company database

struct Code {
    const char* code;
    const char* description;
};

const std::array<Code, 12> kCurrencies{{
    {"THB", "บาท"},
    {"USD", "ดอลลาร์สหรัฐ"},
    {"EUR", "ยูโร"},
    {"JPY", "เยนญี่ปุ่น"},
    {"CNY", "หยวนจีน"},
    {"GBP", "ปอนด์สเตอร์ลิง"},
    {"SGD", "ดอลลาร์สิงคโปร์"},
    {"HKD", "ดอลลาร์ฮ่องกง"},
    {"MYR", "ริงกิตมาเลเซีย"},
    {"AUD", "ดอลลาร์ออสเตรเลีย"},
    {"KRW", "วอนเกาหลีใต้"},
    {"CHF", "ฟรังก์สวิส"},
}};
// Purchase and sale rates in baht for one unit of each currency (THB first).
const std::array<double, 12> kRates{1,     35.42, 38.65, 0.2385, 4.912,   44.87,
                                    26.31, 4.532, 7.588, 23.15,  0.02645, 39.94};

const std::array<Code, 23> kCountries{{
    {"TH", "ไทย"},      {"US", "สหรัฐอเมริกา"},   {"JP", "ญี่ปุ่น"},         {"CN", "จีน"},
    {"DE", "เยอรมนี"},   {"GB", "สหราชอาณาจักร"}, {"FR", "ฝรั่งเศส"},      {"IT", "อิตาลี"},
    {"KR", "เกาหลีใต้"},  {"SG", "สิงคโปร์"},       {"MY", "มาเลเซีย"},     {"VN", "เวียดนาม"},
    {"ID", "อินโดนีเซีย"}, {"PH", "ฟิลิปปินส์"},       {"IN", "อินเดีย"},       {"AU", "ออสเตรเลีย"},
    {"HK", "ฮ่องกง"},    {"TW", "ไต้หวัน"},        {"CH", "สวิตเซอร์แลนด์"}, {"NL", "เนเธอร์แลนด์"},
    {"LA", "ลาว"},      {"MM", "เมียนมา"},       {"KH", "กัมพูชา"},
}};

const std::array<Code, 5> kDepartments{{{"SALE", "ฝ่ายขายในประเทศ"},
                                        {"EXPORT", "ฝ่ายขายต่างประเทศ"},
                                        {"PROJ", "ฝ่ายขายโครงการ"},
                                        {"MKT", "ฝ่ายการตลาด"},
                                        {"SERV", "ฝ่ายบริการหลังการขาย"}}};
const std::array<Code, 7> kProductTypes{{{"ELEC", "เครื่องใช้ไฟฟ้า"},
                                         {"KITCH", "เครื่องครัว"},
                                         {"TOOL", "เครื่องมือช่าง"},
                                         {"OFFICE", "อุปกรณ์สำนักงาน"},
                                         {"CHEM", "เคมีภัณฑ์"},
                                         {"SERV", "งานบริการ"},
                                         {"RAW", "วัตถุดิบการผลิต"}}};
const std::array<Code, 4> kProductGroups{
    {{"A", "สินค้าขายดี"}, {"B", "สินค้าทั่วไป"}, {"C", "สินค้านำเข้า"}, {"D", "สินค้าโปรโมชั่น"}}};
const std::array<Code, 6> kCities{{{"BKK", "กรุงเทพมหานคร"},
                                   {"CNX", "เชียงใหม่"},
                                   {"KKC", "ขอนแก่น"},
                                   {"HDY", "สงขลา"},
                                   {"CBI", "ชลบุรี"},
                                   {"NMA", "นครราชสีมา"}}};
const std::array<Code, 4> kTransports{{{"TRUCK", "รถบรรทุกของบริษัท"},
                                       {"SEA", "ขนส่งทางเรือ"},
                                       {"AIR", "ขนส่งทางอากาศ"},
                                       {"POST", "ไปรษณีย์ด่วนพิเศษ"}}};
const std::array<Code, 3> kPriceTypes{
    {{"1", "ราคาขายส่ง"}, {"2", "ราคาขายปลีก"}, {"19", "ราคาหน้าร้าน"}}};
constexpr std::array<int, 3> kPriceTypeNumbers{1, 2, 19};

struct Family {
    const char* code;
    const char* name;
    const char* eng;
    int ptype;  // index into kProductTypes
    const char* stockUnit;
    int fraction;
};

// Trade products: each family comes in three sizes and three colours.
const std::array<Family, 20> kFamilies{{
    {"FAN", "พัดลมตั้งพื้น", "Floor fan", 0, "กล่อง", 2},
    {"WFN", "พัดลมติดผนัง", "Wall fan", 0, "กล่อง", 2},
    {"RCK", "หม้อหุงข้าวไฟฟ้า", "Rice cooker", 0, "ลัง", 4},
    {"KTL", "กาต้มน้ำไฟฟ้า", "Electric kettle", 0, "ลัง", 6},
    {"IRN", "เตารีดไอน้ำ", "Steam iron", 0, "ลัง", 6},
    {"BLD", "เครื่องปั่นน้ำผลไม้", "Blender", 0, "ลัง", 4},
    {"PAN", "กระทะเคลือบ", "Coated pan", 1, "โหล", 12},
    {"POT", "หม้อสแตนเลส", "Stainless pot", 1, "โหล", 12},
    {"KNF", "มีดทำครัว", "Kitchen knife", 1, "โหล", 12},
    {"BOX", "กล่องถนอมอาหาร", "Food container", 1, "แพ็ค", 24},
    {"DRL", "สว่านไฟฟ้า", "Power drill", 2, "กล่อง", 5},
    {"HMR", "ค้อนหงอน", "Claw hammer", 2, "โหล", 12},
    {"SCR", "ไขควงชุด", "Screwdriver set", 2, "โหล", 12},
    {"TAP", "ตลับเมตร", "Tape measure", 2, "โหล", 12},
    {"LMP", "โคมไฟตั้งโต๊ะ", "Desk lamp", 0, "กล่อง", 4},
    {"CHR", "เก้าอี้สำนักงาน", "Office chair", 3, "ชุด", 1},
    {"DSK", "โต๊ะทำงาน", "Office desk", 3, "ชุด", 1},
    {"FIL", "แฟ้มเอกสาร", "Document file", 3, "แพ็ค", 12},
    {"CLN", "น้ำยาทำความสะอาด", "Cleaning liquid", 4, "ลัง", 12},
    {"GLU", "กาวอเนกประสงค์", "All-purpose glue", 4, "โหล", 12},
}};
const std::array<const char*, 3> kSizes{"เล็ก", "กลาง", "ใหญ่"};
const std::array<const char*, 3> kSizeCodes{"S", "M", "L"};
const std::array<const char*, 3> kColours{"ขาว", "ดำ", "เทา"};
const std::array<const char*, 3> kColourCodes{"W", "B", "G"};

struct Single {
    const char* code;
    const char* name;
    char type;
    int ptype;
    const char* smallUnit;
    const char* stockUnit;
    int fraction;
};

const std::array<Single, 36> kSingles{{
    // services
    {"SV-INST", "ค่าบริการติดตั้งเครื่องใช้ไฟฟ้า", 'S', 5, "ครั้ง", "ครั้ง", 1},
    {"SV-REPAIR", "ค่าบริการซ่อมแซม", 'S', 5, "ครั้ง", "ครั้ง", 1},
    {"SV-DELIV", "ค่าขนส่งสินค้า", 'S', 5, "เที่ยว", "เที่ยว", 1},
    {"SV-CLEAN", "ค่าบริการล้างทำความสะอาด", 'S', 5, "ครั้ง", "ครั้ง", 1},
    {"SV-TRAIN", "ค่าอบรมการใช้งาน", 'S', 5, "ชั่วโมง", "ชั่วโมง", 1},
    {"SV-WARR", "ค่าขยายระยะเวลารับประกัน", 'S', 5, "ปี", "ปี", 1},
    {"SV-CONS", "ค่าที่ปรึกษาด้านเทคนิค", 'S', 5, "วัน", "วัน", 1},
    {"SV-CAL", "ค่าสอบเทียบเครื่องมือวัด", 'S', 5, "ครั้ง", "ครั้ง", 1},
    {"SV-RENT", "ค่าเช่าเครื่องมือ", 'S', 5, "วัน", "วัน", 1},
    {"SV-PACK", "ค่าบรรจุหีบห่อพิเศษ", 'S', 5, "ครั้ง", "ครั้ง", 1},
    // materials and sundries
    {"M-TAPE", "เทปกาวปิดกล่อง", 'M', 3, "ม้วน", "แพ็ค", 6},
    {"M-BOX", "กล่องกระดาษลูกฟูก", 'M', 3, "ใบ", "มัด", 20},
    {"M-STRAP", "สายรัดพลาสติก", 'M', 3, "ม้วน", "ลัง", 10},
    {"M-FOAM", "แผ่นโฟมกันกระแทก", 'M', 3, "แผ่น", "มัด", 50},
    {"M-GLOVE", "ถุงมือผ้า", 'M', 2, "คู่", "โหล", 12},
    {"M-PAPER", "กระดาษ A4 80 แกรม", 'M', 3, "รีม", "กล่อง", 5},
    {"M-INK", "หมึกพิมพ์สีดำ", 'M', 3, "ตลับ", "กล่อง", 10},
    {"M-LABEL", "สติ๊กเกอร์บาร์โค้ด", 'M', 3, "ม้วน", "กล่อง", 20},
    {"M-BAG", "ถุงพลาสติกใส", 'M', 1, "แพ็ค", "ลัง", 50},
    {"M-OIL", "น้ำมันหล่อลื่น", 'M', 4, "ขวด", "ลัง", 12},
    // raw materials
    {"R-PP", "เม็ดพลาสติก PP", 'R', 6, "กิโลกรัม", "กระสอบ", 25},
    {"R-ABS", "เม็ดพลาสติก ABS", 'R', 6, "กิโลกรัม", "กระสอบ", 25},
    {"R-STEEL", "แผ่นเหล็กรีดเย็น", 'R', 6, "แผ่น", "มัด", 10},
    {"R-CU", "ลวดทองแดง", 'R', 6, "เมตร", "ม้วน", 100},
    {"R-MOTOR", "มอเตอร์พัดลม 220V", 'R', 6, "ชิ้น", "กล่อง", 10},
    {"R-BLADE", "ใบพัดลม 16 นิ้ว", 'R', 6, "ชิ้น", "กล่อง", 20},
    {"R-SCREW", "สกรูเกลียวปล่อย", 'R', 6, "ตัว", "กล่อง", 500},
    {"R-PAINT", "สีพ่นอุตสาหกรรม", 'R', 4, "ลิตร", "ถัง", 18},
    // finished goods, components and bundles
    {"F-FAN16", "พัดลมตั้งพื้น 16 นิ้ว รุ่นโรงงาน", 'F', 0, "เครื่อง", "กล่อง", 2},
    {"F-FAN18", "พัดลมอุตสาหกรรม 18 นิ้ว", 'F', 0, "เครื่อง", "กล่อง", 1},
    {"T-CABNT", "ตู้เหล็กเก็บเอกสาร", 'T', 3, "ตู้", "ตู้", 1},
    {"T-SHELF", "ชั้นวางสินค้าเหล็ก", 'T', 3, "ชุด", "ชุด", 1},
    {"C-GUARD", "ตะแกรงพัดลม", 'C', 0, "ชิ้น", "กล่อง", 10},
    {"C-BASE", "ฐานพัดลม", 'C', 0, "ชิ้น", "กล่อง", 10},
    {"B-KITCH", "ชุดเครื่องครัวพร้อมใช้", 'B', 1, "ชุด", "ลัง", 4},
    {"B-OFFICE", "ชุดอุปกรณ์สำนักงาน", 'B', 3, "ชุด", "ลัง", 6},
}};

// EAN-13 with the company prefix 885 and its check digit.
QString barcode(qint64 serial) {
    QString digits = u"885"_qs + QString::number(serial).rightJustified(9, u'0');
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (digits[i].unicode() - u'0') * (i % 2 ? 3 : 1);
    return digits + QString::number((10 - sum % 10) % 10);
}

struct ProductRow {
    qint64 id;
    QString code;
    char type;
    qint64 small;
    qint64 stock;
    int fraction;
    double price;
};

class CompanyLoader {
  public:
    CompanyLoader(Session& s, QString pictures, QString storedPictures)
        : w_(s), pictures_(std::move(pictures)), storedPictures_(std::move(storedPictures)) {}

    void run() {
        codes();
        masters();
        products();
        stockAndLots();
        prices();
        documents();
        manufacturing();
    }

  private:
    qint64 misc(const char* group, const Code& c, int order) {
        const qint64 id = w_.insert(u"Misc"_qs, u"GroupCode, Code, Description, Orderno"_qs,
                                    {S(group), S(c.code), S(c.description), order});
        miscIds_[S(group) + u'|' + S(c.code)] = id;
        return id;
    }
    qint64 miscId(const char* group, const char* code) const {
        return miscIds_.value(S(group) + u'|' + S(code));
    }

    void codes() {
        int i = 0;
        for (const Code& c : kCurrencies)
            misc("CURRENCY", c, ++i);
        i = 0;
        for (const Code& c : kCountries)
            misc("COUNTRY", c, ++i);
        i = 0;
        for (const Code& c : kDepartments)
            misc("DEPARTMENT", c, ++i);
        i = 0;
        for (const Code& c : kProductTypes)
            misc("PTYPE", c, ++i);
        i = 0;
        for (const Code& c : kProductGroups)
            misc("PGROUP", c, ++i);
        i = 0;
        for (const Code& c : kCities)
            misc("CITY", c, ++i);
        i = 0;
        for (const Code& c : kTransports)
            misc("TRANSPORT", c, ++i);
        i = 0;
        for (const Code& c : kPriceTypes)
            misc("PRICETYPE", c, ++i);
        const qint64 material = misc("PRODINFO", {"MAT", "วัสดุที่ใช้ผลิต"}, 1);
        const qint64 model = misc("PRODINFO", {"MODEL", "รุ่นสินค้า"}, 2);
        w_.insert(u"WorkId"_qs, u"Material, Model"_qs, {material, model});
        w_.insert(u"productgroup"_qs, u"Code, Description, ProductType"_qs,
                  {u"0"_qs, S("สินค้าทั่วไป"), u"P"_qs});
        w_.insert(u"productgroup"_qs, u"Code, Description, ProductType"_qs,
                  {u"1"_qs, S("สินค้าพิเศษ"), u"P"_qs});

        w_.insert(u"Tax"_qs, u"Code, Description, Rate"_qs, {u"V7"_qs, S("ภาษีมูลค่าเพิ่ม 7%"), 7.0});
        w_.insert(u"Tax"_qs, u"Code, Description, Rate"_qs, {u"V0"_qs, S("ยกเว้นภาษีมูลค่าเพิ่ม"), 0.0});
        w_.insert(u"Tax"_qs, u"Code, Description, Rate"_qs, {u"EX"_qs, S("ส่งออก อัตราศูนย์"), 0.0});

        const QString whCols = u"Code, Name, FlagIn, FlagOut, IsLocation, Blocked, ParentWh"_qs;
        w_.insert(u"Warehouse"_qs, whCols,
                  {u"WH01"_qs, S("คลังสินค้าหลัก บางนา"), Y(), Y(), N(), N(), nullInt()});
        w_.insert(u"Warehouse"_qs, whCols,
                  {u"WH02"_qs, S("คลังสาขาเชียงใหม่"), Y(), Y(), N(), N(), nullInt()});
        w_.insert(u"Warehouse"_qs, whCols,
                  {u"RMA"_qs, S("คลังสินค้ารอซ่อมและรับคืน"), Y(), N(), N(), N(), nullInt()});
        w_.insert(u"Warehouse"_qs, whCols,
                  {u"WH09"_qs, S("คลังเก่า ปิดใช้งาน"), N(), N(), N(), Y(), nullInt()});
        w_.insert(u"Warehouse"_qs, whCols,
                  {u"A01"_qs, S("ชั้นวาง A01 คลังหลัก"), Y(), Y(), Y(), N(), 1});
        w_.insert(u"Warehouse"_qs, whCols,
                  {u"A02"_qs, S("ชั้นวาง A02 คลังหลัก"), Y(), Y(), Y(), N(), 1});
        w_.insert(u"Warehouse"_qs, whCols,
                  {u"B01"_qs, S("ชั้นวาง B01 คลังเชียงใหม่"), Y(), Y(), Y(), N(), 2});
        for (int wh : {1, 2, 3, 5})
            w_.insert(u"UserWarehouse"_qs, u"UserName, Warehouse"_qs, {1, wh});
        w_.insert(u"UserWarehouse"_qs, u"UserName, Warehouse"_qs, {2, 1});

        const int year = QDate::currentDate().year();
        w_.insert(
            u"Config"_qs,
            u"CompanyName, MainCurrencyId, InternationalCurrencyId, IvRefSO, MrRefPO, "
            u"EditPricePO, ShowProductPriceList, SearchProductNo, SearchProductMethod, "
            u"ShowLastSearch, CheckUserWarehouseFlag, PicturePath, DisplayFraction, RunYear"_qs,
            {S("บริษัท สยามอินเตอร์เทรด จำกัด"), miscId("CURRENCY", "THB"), miscId("CURRENCY", "USD"),
             Y(), Y(), N(), Y(), 6, 1, Y(), N(), storedPictures_, N(), year});
        for (int y : {year - 1, year}) {
            w_.insert(u"accountperiod"_qs, u"AccountYear, StartDate, EndDate, Closed"_qs,
                      {y, day(y, 1, 1), day(y, 12, 31), flag(y < year)});
        }
        w_.insert(u"accountinterface"_qs, u"accountchart, Description"_qs,
                  {u"1130-01"_qs, S("ลูกหนี้การค้าในประเทศ")});
        w_.insert(u"accountinterface"_qs, u"accountchart, Description"_qs,
                  {u"1130-02"_qs, S("ลูกหนี้การค้าต่างประเทศ")});
        w_.insert(u"accountinterface"_qs, u"accountchart, Description"_qs,
                  {u"2110-02"_qs, S("เจ้าหนี้การค้าต่างประเทศ")});
        for (const char* doc : {"SO", "IV", "PO", "MR", "WO"}) {
            w_.insert(u"DocumentNo"_qs, u"Code, DocYear, Prefix, LastNo, Description"_qs,
                      {S(doc), year, S(doc), 5, S("เลขที่เอกสาร")});
        }
    }

    void masters() {
        struct Expense {
            const char* code;
            const char* name;
        };
        const std::array<Expense, 10> expenses{{{"FREIGHT", "ค่าระวางเรือ"},
                                                {"AIRFRT", "ค่าขนส่งทางอากาศ"},
                                                {"INS", "ค่าประกันภัยสินค้า"},
                                                {"DUTY", "อากรขาเข้า"},
                                                {"CLEAR", "ค่าพิธีการศุลกากร"},
                                                {"STORE", "ค่าฝากสินค้าท่าเรือ"},
                                                {"TRUCK", "ค่าขนส่งในประเทศ"},
                                                {"DO", "ค่าออกใบปล่อยสินค้า D/O"},
                                                {"LC", "ค่าธรรมเนียมเปิด L/C"},
                                                {"OTHER", "ค่าใช้จ่ายนำเข้าอื่น ๆ"}}};
        for (const Expense& e : expenses) {
            w_.insert(u"ImpExpense"_qs, u"Code, Description"_qs, {S(e.code), S(e.name)});
        }
        const int year = QDate::currentDate().year();
        const QString lotCols =
            u"Code, Description, Description2, EffectiveDate, Active, TaxAmount, TaxNo, TaxDate, "
            u"TaxPrintDate, CanUseTax"_qs;
        struct Lot {
            const char* code;
            const char* d1;
            const char* d2;
            int month;
            bool active;
            double tax;
        };
        const std::array<Lot, 6> lots{
            {{"IMP-0001", "พัดลมจากจีน ล็อตแรก", "เรือ MV SEA STAR", 1, true, 12450.50},
             {"IMP-0002", "เครื่องครัวจากญี่ปุ่น", "ตู้คอนเทนเนอร์ 40 ฟุต", 2, true, 8120.00},
             {"IMP-0003", "เครื่องมือช่างจากเยอรมนี", "ขนส่งทางอากาศ", 3, true, 3560.75},
             {"IMP-0004", "วัตถุดิบพลาสติก", "เรือ MV ORIENT", 4, false, 21000.00},
             {"IMP-0005", "อุปกรณ์สำนักงานจากไต้หวัน", "", 5, true, 0.0},
             {"IMP-0006", "ล็อตปิดแล้ว ปีก่อน", "", 6, false, 1500.00}}};
        for (const Lot& l : lots) {
            const int y = l.month == 6 ? year - 1 : year;
            w_.insert(u"ImportLotNo"_qs, lotCols,
                      {S(l.code), S(l.d1), S(l.d2), day(y, l.month, 1), flag(l.active), l.tax,
                       u"TX%1"_qs.arg(l.month, 5, 10, QChar(u'0')), day(y, l.month, 3),
                       day(y, l.month, 15), flag(l.tax > 0)});
        }
        // Costs booked on lots 1 to 4: those lots and the expense codes 1 to 5 cannot be deleted.
        for (int lot = 1; lot <= 4; ++lot) {
            for (int e = 1; e <= 5; ++e) {
                if ((lot + e) % 3 == 0)
                    continue;
                w_.insert(
                    u"ImportCost"_qs, u"ImportLotNo, ImpExpense, DocDate, Amount, Remark"_qs,
                    {lot, e, day(year, lot, 10), 1000.0 * e + 250.0 * lot, S("ค่าใช้จ่ายตามใบแจ้งหนี้")});
            }
        }

        const QString groupCols = u"Code, Name, TaxCode"_qs;
        w_.insert(u"VendorGroup"_qs, groupCols, {u"FV-ASIA"_qs, S("เจ้าหนี้ต่างประเทศ เอเชีย"), 3});
        w_.insert(u"VendorGroup"_qs, groupCols, {u"FV-EURO"_qs, S("เจ้าหนี้ต่างประเทศ ยุโรป"), 3});
        w_.insert(u"VendorGroup"_qs, groupCols, {u"FV-AMER"_qs, S("เจ้าหนี้ต่างประเทศ อเมริกา"), 3});
        w_.insert(u"VendorGroup"_qs, groupCols,
                  {u"FV-OTHER"_qs, S("เจ้าหนี้ต่างประเทศ อื่น ๆ"), nullInt()});
        w_.insert(u"CustomerGroup"_qs, u"Code, Name"_qs, {u"FC-ASIA"_qs, S("ลูกค้าต่างประเทศ เอเชีย")});
        w_.insert(u"CustomerGroup"_qs, u"Code, Name"_qs, {u"FC-EURO"_qs, S("ลูกค้าต่างประเทศ ยุโรป")});
        w_.insert(u"CustomerGroup"_qs, u"Code, Name"_qs,
                  {u"FC-AMER"_qs, S("ลูกค้าต่างประเทศ อเมริกา")});
        w_.insert(u"CustomerGroup"_qs, u"Code, Name"_qs,
                  {u"FC-AGENT"_qs, S("ตัวแทนจำหน่ายต่างประเทศ")});

        struct Person {
            const char* code;
            const char* name;
            const char* surname;
            const char* dept;
            bool active;
        };
        const std::array<Person, 7> salesmen{{{"S001", "สมศักดิ์", "รักงาน", "SALE", true},
                                              {"S002", "วิภาวดี", "ศรีสุข", "EXPORT", true},
                                              {"S003", "ประเสริฐ", "มั่นคง", "EXPORT", true},
                                              {"S004", "กนกวรรณ", "แสงทอง", "PROJ", true},
                                              {"S005", "ธนพล", "เจริญยิ่ง", "SALE", false},
                                              {"S006", "อรุณี", "พูลสวัสดิ์", "MKT", true},
                                              {"S007", "Michael", "Brown", "EXPORT", true}}};
        for (const Person& p : salesmen) {
            w_.insert(u"Salesman"_qs,
                      u"Code, Name, Surname, Department, Status, StartDate, StopDate, Address1, "
                      u"Province, ZipCode, PhoneNo, EMail"_qs,
                      {S(p.code), S(p.name), S(p.surname), miscId("DEPARTMENT", p.dept),
                       flag(p.active), day(2018, 6, 1),
                       p.active ? QVariant(QMetaType(QMetaType::QDateTime)) : day(2023, 12, 31),
                       S("สำนักงานใหญ่"), S("กรุงเทพมหานคร"), u"10110"_qs,
                       u"081-555-01"_qs + S(p.code).mid(2),
                       u"%1@siam-intertrade.example"_qs.arg(S(p.code).toLower())});
        }

        struct Partner {
            const char* name;
            const char* country;
            const char* currency;
            const char* city;
        };
        const std::array<Partner, 22> vendors{{
            {"Guangzhou Breeze Electric Co., Ltd.", "CN", "CNY", "Guangzhou"},
            {"Osaka Kitchenware Corporation", "JP", "JPY", "Osaka"},
            {"Stuttgart Werkzeug GmbH", "DE", "EUR", "Stuttgart"},
            {"Pacific Office Supply Inc.", "US", "USD", "Seattle"},
            {"Taipei Lighting Industrial Co.", "TW", "USD", "Taipei"},
            {"Shenzhen Motor Parts Ltd.", "CN", "CNY", "Shenzhen"},
            {"Lyon Chimie SA", "FR", "EUR", "Lyon"},
            {"Milano Design Srl", "IT", "EUR", "Milano"},
            {"Busan Steel Trading", "KR", "KRW", "Busan"},
            {"Singapore Polymer Pte. Ltd.", "SG", "SGD", "Singapore"},
            {"Penang Packaging Sdn. Bhd.", "MY", "MYR", "Penang"},
            {"Hanoi Handicraft JSC", "VN", "USD", "Hanoi"},
            {"Jakarta Rubber Industries", "ID", "USD", "Jakarta"},
            {"Manila Paper Mills", "PH", "USD", "Manila"},
            {"Chennai Copper Works", "IN", "USD", "Chennai"},
            {"Sydney Tools Pty Ltd", "AU", "AUD", "Sydney"},
            {"Kowloon Electronics Trading", "HK", "HKD", "Hong Kong"},
            {"Zurich Precision AG", "CH", "CHF", "Zurich"},
            {"Rotterdam Logistics BV", "NL", "EUR", "Rotterdam"},
            {"Birmingham Hardware plc", "GB", "GBP", "Birmingham"},
            {"Yokohama Fan Components", "JP", "JPY", "Yokohama"},
            {"Ningbo Plastic Mould Co.", "CN", "USD", "Ningbo"},
        }};
        int i = 0;
        for (const Partner& v : vendors) {
            ++i;
            const int group =
                (v.currency == std::string_view("EUR") || v.country == std::string_view("GB") ||
                 v.country == std::string_view("CH"))
                    ? 2
                : (v.country == std::string_view("US") || v.country == std::string_view("AU")) ? 3
                                                                                               : 1;
            w_.insert(u"FrVendor"_qs,
                      u"Code, VendorGroup, Name, Attention, Address1, Address2, Address3, Country, "
                      u"ZipCode, PhoneNO, FaxNO, OpenAccount, DueDays, Currency, CreditLimit, "
                      u"EMail, Remark, Website"_qs,
                      vendorRow(i, group, v.name, v.city, v.country, v.currency, year));
        }
        const std::array<Partner, 22> customers{{
            {"Tokyo Home Retail K.K.", "JP", "JPY", "Tokyo"},
            {"Vientiane Trading Sole Co.", "LA", "USD", "Vientiane"},
            {"Yangon General Merchandise", "MM", "USD", "Yangon"},
            {"Phnom Penh Hardware Co.", "KH", "USD", "Phnom Penh"},
            {"Ho Chi Minh Appliance JSC", "VN", "USD", "Ho Chi Minh City"},
            {"Kuala Lumpur Kitchen Sdn. Bhd.", "MY", "MYR", "Kuala Lumpur"},
            {"Singapore Homemart Pte. Ltd.", "SG", "SGD", "Singapore"},
            {"Hamburg Import GmbH", "DE", "EUR", "Hamburg"},
            {"London Houseware Ltd.", "GB", "GBP", "London"},
            {"Paris Maison SARL", "FR", "EUR", "Paris"},
            {"Los Angeles Distributors Inc.", "US", "USD", "Los Angeles"},
            {"Melbourne Trade Pty Ltd", "AU", "AUD", "Melbourne"},
            {"Seoul Living Co., Ltd.", "KR", "KRW", "Seoul"},
            {"Hong Kong Value Store", "HK", "HKD", "Hong Kong"},
            {"Taichung Office Mart", "TW", "USD", "Taichung"},
            {"Delhi Electricals Pvt. Ltd.", "IN", "USD", "New Delhi"},
            {"Cebu Builders Supply", "PH", "USD", "Cebu"},
            {"Surabaya Mitra Niaga", "ID", "USD", "Surabaya"},
            {"Amsterdam Tools BV", "NL", "EUR", "Amsterdam"},
            {"Geneva Select SA", "CH", "CHF", "Geneva"},
            {"Rome Casa Srl", "IT", "EUR", "Rome"},
            {"Shanghai Import Agency", "CN", "CNY", "Shanghai"},
        }};
        i = 0;
        for (const Partner& c : customers) {
            ++i;
            const int group = i % 7 == 0 ? 4
                                         : (c.currency == std::string_view("EUR")
                                                ? 2
                                                : (c.country == std::string_view("US") ? 3 : 1));
            w_.insert(u"FrCustomer"_qs,
                      u"Code, CustomerGroup, Name, Attention, Address1, Address2, Address3, "
                      u"Country, ZipCode, PhoneNo, FaxNo, Currency, DueDays, CreditLimit, "
                      u"Salesman, Blocked, EMail, Remark"_qs,
                      {u"FC%1"_qs.arg(i, 3, 10, QChar(u'0')), group, S(c.name),
                       u"Purchasing Dept."_qs, u"%1 Market Street"_qs.arg(10 + i), S(c.city),
                       nullText(), miscId("COUNTRY", c.country), u"%1"_qs.arg(20000 + i * 41),
                       u"+00 %1 777 0200"_qs.arg(i), nullText(), miscId("CURRENCY", c.currency),
                       i % 3 == 0 ? 60 : 30, 1000000.0, 2 + i % 2, flag(i == 9),
                       u"buyer%1@customer.example"_qs.arg(i), S(i == 9 ? "ระงับการขายชั่วคราว" : "")});
        }
        const std::array<std::pair<const char*, const char*>, 8> domestic{
            {{"C001", "ห้างหุ้นส่วนจำกัด รุ่งเรืองการไฟฟ้า"},
             {"C002", "บริษัท บ้านสวยโฮมมาร์ท จำกัด"},
             {"C003", "ร้านเจริญภัณฑ์"},
             {"C004", "บริษัท ไทยก่อสร้างวัสดุ จำกัด"},
             {"C005", "โรงแรมริมน้ำ"},
             {"C006", "บริษัท สำนักงานดี จำกัด"},
             {"C007", "ร้านค้าปลีก หน้าร้านบริษัท"},
             {"C008", "บริษัท โครงการหมู่บ้านสุขใจ จำกัด"}}};
        i = 0;
        for (const auto& [code, name] : domestic) {
            ++i;
            w_.insert(u"Customer"_qs, u"Code, Name, Salesman, Blocked"_qs,
                      {S(code), S(name), 1 + i % 4, N()});
        }
        const std::array<std::pair<const char*, const char*>, 5> local{
            {{"V001", "บริษัท ไทยอิเล็คทริค ซัพพลาย จำกัด"},
             {"V002", "บริษัท กรุงเทพบรรจุภัณฑ์ จำกัด"},
             {"V003", "ห้างหุ้นส่วนจำกัด ช่างไทยเครื่องมือ"},
             {"V004", "บริษัท พลาสติกไทย อุตสาหกรรม จำกัด"},
             {"V005", "บริษัท เคมีภัณฑ์สยาม จำกัด"}}};
        for (const auto& [code, name] : local) {
            w_.insert(u"Vendor"_qs, u"Code, Name"_qs, {S(code), S(name)});
        }

        // Rates of three past dates; the full amounts and divisors come with the exchange
        // window's own script.
        const std::array<QDate, 3> dates{QDate(year, 1, 2), QDate(year, 1, 3), QDate(year, 1, 6)};
        for (size_t d = 0; d < dates.size(); ++d) {
            for (size_t c = 1; c < kCurrencies.size(); ++c) {
                const double purc = kRates[c] * (1.0 + 0.002 * double(d));
                w_.insert(u"CurrencyEx"_qs, u"ExchangeDate, Currency, PurcRate, SaleRate"_qs,
                          {QDateTime(dates[d], QTime(0, 0)),
                           miscId("CURRENCY", kCurrencies[c].code), purc, purc * 1.01});
            }
        }
    }

    std::vector<QVariant> vendorRow(int i, int group, const char* name, const char* city,
                                    const char* country, const char* currency, int year) {
        return {u"FV%1"_qs.arg(i, 3, 10, QChar(u'0')),
                group,
                S(name),
                i % 4 == 0 ? QVariant(S("คุณวิไล ผู้ประสานงาน")) : QVariant(u"Mr. Sales Manager"_qs),
                u"%1 Industrial Road"_qs.arg(100 + i),
                S(city),
                nullText(),
                miscId("COUNTRY", country),
                u"%1"_qs.arg(10000 + i * 37),
                u"+00 %1 555 0100"_qs.arg(i),
                nullText(),
                day(year - 2, 1 + i % 12, 1),
                30,
                miscId("CURRENCY", currency),
                500000.0,
                u"sales%1@vendor.example"_qs.arg(i),
                S(i % 5 == 0 ? "สั่งซื้อขั้นต่ำ 1 ตู้คอนเทนเนอร์" : ""),
                u"www.vendor%1.example"_qs.arg(i)};
    }

    qint64 unit(qint64 product, const QString& name, int fraction, bool sale, bool purc, bool stock,
                bool small, const QVariant& code, double purcPrice) {
        return w_.insert(
            u"ProductUnits"_qs,
            u"Product, UnitName, UnitDesc, Fraction, VolumnFraction, BarCode, SaleFlag, "
            u"PurcFlag, StockUnitFlag, SmallUnitFlag, PurcPrice, LabourCost"_qs,
            {product, name, name + u" ("_qs + QString::number(fraction) + u')', fraction, 1.0, code,
             flag(sale), flag(purc), flag(stock), flag(small), purcPrice * fraction, 0.0});
    }

    void product(const QString& code, const QString& name, const QString& eng, char type, int ptype,
                 const QString& smallUnit, const QString& stockUnit, int fraction, double price,
                 int index) {
        const bool service = type == 'S';
        const bool blocked = index % 37 == 5;
        const bool master = index % 53 == 7;
        const bool serial = type == 'P' && index % 11 == 3;
        const bool picture = index % 9 == 1;
        const QString pictureFile = picture ? u"/"_qs + code + u".jpg"_qs : QString();
        if (picture)
            writeDemoPicture(pictures_ + pictureFile, index);
        const qint64 id = w_.insert(
            u"Product"_qs,
            u"Code, ThaiName, EngName, PosName, ProductType, PriceIE, PrintFrac, UseSerial, "
            u"LotControl, TaxCode, DefaultWh, PriceByVolumn, Discount, VolumnUnit, Blocked, "
            u"Negative, ProductFree, Size_W, Size_L, Size_H, CartonsUnits, Cartons, NetWeight, "
            u"GrossWeight, ProductDesc, CheckSerialPurc, CheckSerialSale, CheckSerialStock, "
            u"CheckSerialOnhand, PerDiscountOver, MasterCode, Remark, Picture1, PType, PGroup, "
            u"ProductGroup, TechNicName1, TechNicName2"_qs,
            {code,
             name,
             eng,
             name.left(30),
             QString(QChar(u8(type))),
             u"I"_qs,
             N(),
             flag(serial),
             flag(type == 'R'),
             service ? 2 : 1,
             index % 5 == 4 ? 2 : 1,
             N(),
             nullText(),
             nullText(),
             flag(blocked),
             flag(type == 'M'),
             N(),
             service ? QVariant(QMetaType(QMetaType::Double))
                     : QVariant(double(10 + index % 4 * 10)),
             service ? QVariant(QMetaType(QMetaType::Double))
                     : QVariant(double(20 + index % 3 * 10)),
             service ? QVariant(QMetaType(QMetaType::Double))
                     : QVariant(double(30 + index % 2 * 15)),
             stockUnit,
             double(fraction),
             1.5 + index % 7,
             1.8 + index % 7,
             name + u" คุณภาพดี รับประกัน 1 ปี"_qs,
             N(),
             flag(serial),
             N(),
             flag(serial && index % 2 == 0),
             index % 6 == 0 ? 5.0 : 0.0,
             flag(master),
             index % 4 == 0 ? QVariant(S("สินค้าแนะนำ")) : QVariant(nullText()),
             picture ? QVariant(pictureFile) : QVariant(nullText()),
             miscId("PTYPE", kProductTypes[size_t(ptype)].code),
             miscId("PGROUP", kProductGroups[size_t(index % 4)].code),
             1 + index % 2,
             u"TN1-"_qs + code,
             index % 3 == 0 ? QVariant(u"TECH-"_qs + code) : QVariant(nullText())});
        const bool single = fraction == 1 || smallUnit == stockUnit;
        const double cost = price * 0.7;
        qint64 small = 0;
        qint64 stock = 0;
        if (single) {
            small = stock =
                unit(id, stockUnit, 1, true, true, true, true,
                     service ? QVariant(nullText()) : QVariant(barcode(++barcodes_)), cost);
        } else {
            small =
                unit(id, smallUnit, 1, true, false, false, true,
                     index % 8 == 2 ? QVariant(nullText()) : QVariant(barcode(++barcodes_)), cost);
            stock = unit(id, stockUnit, fraction, true, true, true, false,
                         QVariant(barcode(++barcodes_)), cost);
        }
        products_.push_back(ProductRow{id, code, type, small, stock, fraction, price});
    }
    static char16_t u8(char c) { return char16_t(static_cast<unsigned char>(c)); }

    void products() {
        int index = 0;
        int f = 0;
        for (const Family& fam : kFamilies) {
            ++f;
            for (size_t s = 0; s < kSizes.size(); ++s) {
                for (size_t c = 0; c < kColours.size(); ++c) {
                    ++index;
                    const QString code =
                        S(fam.code) + S(kSizeCodes[s]) + S(kColourCodes[c]) + u"-"_qs +
                        QString::number(f * 10 + int(s * 3 + c)).rightJustified(3, u'0');
                    const QString name =
                        S(fam.name) + u" ขนาด"_qs + S(kSizes[s]) + u" สี"_qs + S(kColours[c]);
                    const QString eng =
                        S(fam.eng) + u' ' + S(kSizeCodes[s]) + u' ' + S(kColourCodes[c]);
                    product(code, name, eng, 'P', fam.ptype, S("ชิ้น"), S(fam.stockUnit),
                            fam.fraction, 150.0 + 45.0 * f + 60.0 * double(s) + 5.0 * double(c),
                            index);
                }
            }
        }
        for (const Single& p : kSingles) {
            ++index;
            product(S(p.code), S(p.name), S(p.code), p.type, p.ptype, S(p.smallUnit),
                    S(p.stockUnit), p.fraction, 80.0 + 13.0 * index, index);
        }

        // Attributes: brand, colour and size of the trade products; a category for services.
        struct Group {
            const char* code;
            const char* name;
            const char* type;
        };
        const std::array<Group, 7> groups{{{"BR", "ยี่ห้อ", "P"},
                                           {"CL", "สี", "P"},
                                           {"SZ", "ขนาด", "P"},
                                           {"OR", "ประเทศผู้ผลิต", "P"},
                                           {"CT", "หมวดหมู่", "P"},
                                           {"SV", "ประเภทบริการ", "S"},
                                           {"MT", "ชนิดวัสดุ", "M"}}};
        for (const Group& g : groups) {
            w_.insert(u"ProdAttrGroup"_qs, u"Code, Description, ProductType"_qs,
                      {S(g.code), S(g.name), S(g.type)});
        }
        const QString codeCols = u"ProdAttrGroup, Code, Description"_qs;
        const std::array<Code, 4> brands{{{"SIAM", "สยามแบรนด์"},
                                          {"BREEZE", "บรีซ"},
                                          {"KITCHENPRO", "คิทเช่นโปร"},
                                          {"TOOLMAN", "ทูลแมน"}}};
        for (const Code& b : brands)
            w_.insert(u"ProdAttrCode"_qs, codeCols, {1, S(b.code), S(b.description)});  // 1-4
        for (size_t c = 0; c < kColours.size(); ++c)
            w_.insert(u"ProdAttrCode"_qs, codeCols,
                      {2, S(kColourCodes[c]), S(kColours[c])});  // 5-7
        for (size_t s = 0; s < kSizes.size(); ++s)
            w_.insert(u"ProdAttrCode"_qs, codeCols, {3, S(kSizeCodes[s]), S(kSizes[s])});  // 8-10
        w_.insert(u"ProdAttrCode"_qs, codeCols, {4, u"CN"_qs, S("จีน")});                   // 11
        w_.insert(u"ProdAttrCode"_qs, codeCols, {4, u"JP"_qs, S("ญี่ปุ่น")});                  // 12
        w_.insert(u"ProdAttrCode"_qs, codeCols, {4, u"TH"_qs, S("ไทย")});                  // 13
        w_.insert(u"ProdAttrCode"_qs, codeCols, {5, u"HOME"_qs, S("ของใช้ในบ้าน")});         // 14
        w_.insert(u"ProdAttrCode"_qs, codeCols, {5, u"WORK"_qs, S("งานช่างและสำนักงาน")});   // 15
        w_.insert(u"ProdAttrCode"_qs, codeCols, {6, u"ONSITE"_qs, S("บริการนอกสถานที่")});    // 16
        w_.insert(u"ProdAttrCode"_qs, codeCols, {6, u"SHOP"_qs, S("บริการที่ศูนย์")});          // 17
        w_.insert(u"ProdAttrCode"_qs, codeCols, {7, u"PAPER"_qs, S("กระดาษ")});            // 18
        w_.insert(u"ProdAttrCode"_qs, codeCols, {7, u"PLASTIC"_qs, S("พลาสติก")});          // 19
        const QString attrCols = u"Product, ProdAttrGroup, ProdAttrCode"_qs;
        for (size_t i = 0; i < products_.size(); ++i) {
            const ProductRow& p = products_[i];
            if (p.type == 'P') {
                const int family = int(i / 9);
                const int size = int(i % 9 / 3);
                const int colour = int(i % 3);
                w_.insert(u"productattr"_qs, attrCols, {p.id, 1, 1 + family % 4});
                w_.insert(u"productattr"_qs, attrCols, {p.id, 2, 5 + colour});
                w_.insert(u"productattr"_qs, attrCols, {p.id, 3, 8 + size});
                w_.insert(u"productattr"_qs, attrCols, {p.id, 4, 11 + family % 3});
                w_.insert(u"productattr"_qs, attrCols, {p.id, 5, family < 10 ? 14 : 15});
            } else if (p.type == 'S') {
                w_.insert(u"productattr"_qs, attrCols, {p.id, 6, i % 2 ? 16 : 17});
            } else if (p.type == 'M') {
                w_.insert(u"productattr"_qs, attrCols, {p.id, 7, i % 2 ? 18 : 19});
            }
            if (i % 5 == 0) {
                w_.insert(u"ProductInFo"_qs, u"Product, Misc, MemoDesc"_qs,
                          {p.id, miscId("PRODINFO", "MAT"), S(i % 2 ? "พลาสติก ABS" : "สแตนเลส")});
                w_.insert(
                    u"ProductInFo"_qs, u"Product, Misc, MemoDesc"_qs,
                    {p.id, miscId("PRODINFO", "MODEL"), u"MODEL-%1"_qs.arg(2020 + int(i % 5))});
            }
        }
    }

    void stockAndLots() {
        const int year = QDate::currentDate().year();
        const QString cols = u"product, productunits, warehouse, balanceyear, quantity"_qs;
        for (size_t i = 0; i < products_.size(); ++i) {
            const ProductRow& p = products_[i];
            if (p.type == 'S')
                continue;
            const double base = double(p.fraction * (int(i % 13) + 2) + int(i % 5));
            w_.insert(u"productonhand"_qs, cols, {p.id, p.small, 1, year - 1, base * 1.5});
            // One product in seventeen is sold short in the main warehouse.
            w_.insert(u"productonhand"_qs, cols,
                      {p.id, p.small, 1, year, i % 17 == 4 ? -base / 2 : base});
            if (i % 3 == 0)
                w_.insert(u"productonhand"_qs, cols,
                          {p.id, p.small, 2, year, double(p.fraction + 1)});
            if (i % 10 == 0)
                w_.insert(u"productonhand"_qs, cols, {p.id, p.small, 3, year, 2.0});
            if (i % 4 == 0)
                w_.insert(u"productonhand"_qs, cols, {p.id, p.small, 5, year, double(p.fraction)});
        }

        struct Lot {
            const char* code;
            const char* description;
            bool expires;
            int monthsFromNow;
        };
        const std::array<Lot, 8> lots{{{"L2401-PP", "เม็ดพลาสติก PP ล็อตมกราคม", true, -6},
                                       {"L2402-PP", "เม็ดพลาสติก PP ล็อตกุมภาพันธ์", true, 6},
                                       {"L2403-ABS", "เม็ดพลาสติก ABS ล็อตมีนาคม", true, -1},
                                       {"L2404-ABS", "เม็ดพลาสติก ABS ล็อตเมษายน", true, 12},
                                       {"L2405-PNT", "สีพ่นอุตสาหกรรม ล็อตพฤษภาคม", true, 3},
                                       {"L2406-STL", "แผ่นเหล็ก ล็อตมิถุนายน", false, 0},
                                       {"L2407-CU", "ลวดทองแดง ล็อตกรกฎาคม", false, 0},
                                       {"L2408-MTR", "มอเตอร์พัดลม ล็อตสิงหาคม", true, 24}}};
        std::vector<const ProductRow*> raw;
        for (const ProductRow& p : products_) {
            if (p.type == 'R')
                raw.push_back(&p);
        }
        const QDate today = QDate::currentDate();
        for (size_t l = 0; l < lots.size(); ++l) {
            const ProductRow& p = *raw[l % raw.size()];
            const qint64 lot = w_.insert(
                u"LotNo"_qs, u"Code, Description, Product, HasExpired, ExpiredDate"_qs,
                {S(lots[l].code), S(lots[l].description), p.id, flag(lots[l].expires),
                 lots[l].expires
                     ? QVariant(QDateTime(today.addMonths(lots[l].monthsFromNow), QTime(0, 0)))
                     : QVariant(QMetaType(QMetaType::QDateTime))});
            for (int y : {year - 1, year}) {
                w_.insert(u"LotOnHand"_qs, u"Product, LotNo, Warehouse, BalanceYear, Quantity"_qs,
                          {p.id, lot, 1, y, double(p.fraction * (int(l) + 3))});
            }
        }
        int serial = 0;
        for (const ProductRow& p : products_) {
            if (p.type != 'P' || serial > 60)
                continue;
            if (p.id % 11 != 4)
                continue;  // the products made serial-tracked above
            for (int k = 0; k < 4; ++k) {
                ++serial;
                w_.insert(
                    u"SerialNo"_qs, u"Product, Serial, OnHand"_qs,
                    {p.id, u"SN%1-%2"_qs.arg(p.code).arg(k + 1, 3, 10, QChar(u'0')), flag(k != 3)});
            }
        }
    }

    void prices() {
        const QString cols = u"Product, ProductUnits, PriceType, Price"_qs;
        for (const ProductRow& p : products_) {
            for (size_t t = 0; t < kPriceTypeNumbers.size(); ++t) {
                const double factor = 1.0 + 0.1 * double(t);
                w_.insert(u"ProductPrice"_qs, cols,
                          {p.id, p.small, kPriceTypeNumbers[t], p.price * factor});
                if (p.stock != p.small) {
                    w_.insert(u"ProductPrice"_qs, cols,
                              {p.id, p.stock, kPriceTypeNumbers[t],
                               p.price * factor * p.fraction * 0.95});
                }
            }
        }
        const int year = QDate::currentDate().year();
        const QString custCols = u"customer, product, productunits, price, quantity, discount"_qs;
        for (int i = 0; i < 12; ++i) {
            const ProductRow& p = products_[size_t(i * 7)];
            w_.insert(u"customerproductprice"_qs, custCols,
                      {1 + i % 3, p.id, p.small, i == 3 ? 0.0 : p.price * 0.9, 1 + i % 4,
                       i % 2 ? QVariant(u"5%"_qs) : QVariant(nullText())});
        }
        const QString promoCols =
            u"product, productunits, pricetype, customer, startdate, stopdate, price, discpercent"_qs;
        for (int i = 0; i < 6; ++i) {
            const ProductRow& p = products_[size_t(i * 7)];
            w_.insert(u"promotion_dt"_qs, promoCols,
                      {p.id, p.small, 2, 0, day(year, 1, 1), day(year, 12, 31), p.price * 0.85,
                       u"15%"_qs});
            if (i % 2 == 0) {
                w_.insert(u"promotion_dt"_qs, promoCols,
                          {p.id, p.small, 2, 1, day(year, 1, 1), day(year, 12, 31), p.price * 0.8,
                           u"20%"_qs});
            }
        }
        // Two promotions on the same days: the later one wins.
        w_.insert(u"promotion_dt"_qs, promoCols,
                  {products_[1].id, products_[1].small, 2, 0, day(year, 1, 1), day(year, 12, 31),
                   99.0, nullText()});
        w_.insert(u"promotion_dt"_qs, promoCols,
                  {products_[1].id, products_[1].small, 2, 0, day(year, 1, 1), day(year, 12, 31),
                   89.0, u"10%"_qs});
        for (int project : {1, 2}) {
            w_.insert(u"projectitemhd"_qs, u"project, code, Description"_qs,
                      {project, u"ITEM-%1"_qs.arg(project), S("งานติดตั้งโครงการ")});
            w_.insert(u"CustomerProductPriceProject"_qs,
                      u"customer, project, product, productunits, price, discount"_qs,
                      {8, project, products_[0].id, products_[0].small, products_[0].price * 0.75,
                       u"3%"_qs});
        }
        const QString partCols =
            u"Vendor, Product, ProductUnits, Price, PurchaseCode, PurchaseName, DiscountStr, "
            u"lastprice, lastdoccode, lastdocno, lastdate"_qs;
        for (int i = 0; i < 15; ++i) {
            const ProductRow& p = products_[size_t(i * 5)];
            w_.insert(u"PartSource"_qs, partCols,
                      {1 + i % 5, p.id, p.stock, p.price * 0.6 * p.fraction,
                       u"VP-%1"_qs.arg(i + 1, 4, 10, QChar(u'0')), S("สินค้าตามรหัสผู้ขาย ") + p.code,
                       u"2%"_qs, p.price * 0.62 * p.fraction, u"PO"_qs,
                       u"PO%1-%2"_qs.arg(year).arg(i + 1), day(year, 1 + i % 6, 10)});
        }
        const QString frCols =
            u"FrVendor, Product, Productunits, Purchasecode, Purchasename, Discountstr, Price, Currency"_qs;
        const std::array<const char*, 5> currencies{"CNY", "JPY", "EUR", "USD", "USD"};
        for (int v = 1; v <= 5; ++v) {
            for (int k = 0; k < 6 - v; ++k) {
                const ProductRow& p = products_[size_t((v - 1) * 9 + k * 2)];
                w_.insert(u"FrPartSource"_qs, frCols,
                          {v, p.id, p.stock, u"X%1-%2"_qs.arg(v).arg(k + 1, 3, 10, QChar(u'0')),
                           u"Item %1 %2"_qs.arg(v).arg(k + 1), k % 2 ? u"5+2"_qs : u""_qs,
                           p.price / kRates[v] * p.fraction * 0.5,
                           miscId("CURRENCY", currencies[size_t(v - 1)])});
            }
        }
    }

    void documents() {
        const int year = QDate::currentDate().year();
        // Sales orders: lines of orders 1 to 4 are open, order 5 went to the point of sale.
        std::vector<qint64> soLines;
        for (int so = 1; so <= 5; ++so) {
            w_.insert(u"SoHd"_qs, u"SoNo, SoDate, Customer, Clear, DelFlag, DelRemark"_qs,
                      {u"SO%1-%2"_qs.arg(year).arg(so, 4, 10, QChar(u'0')), day(year, 1, 10 + so),
                       1 + so % 8, N(), flag(so == 4),
                       so == 4 ? QVariant(S("ลูกค้ายกเลิกคำสั่งซื้อ")) : QVariant(nullText())});
            for (int k = 0; k < 4; ++k) {
                const ProductRow& p = products_[size_t(so * 3 + k * 11)];
                soLines.push_back(w_.insert(
                    u"SoDt"_qs, u"SoHd, Product, ProductUnits, Quantity, Fraction, Clear"_qs,
                    {so, p.id, p.stock, double(2 + k), double(p.fraction), flag(k == 3)}));
            }
        }
        w_.insert(u"PosHeader"_qs, u"PosNo, PosDate, SoHd"_qs,
                  {u"POS0001"_qs, day(year, 1, 20), 5});
        w_.insert(u"PosHeader"_qs, u"PosNo, PosDate, SoHd"_qs,
                  {u"POS0002"_qs, day(year, 1, 21), nullInt()});
        w_.insert(u"SoShip"_qs, u"SoHd, ShipDate, Remark"_qs, {1, day(year, 1, 15), S("ส่งบางส่วน")});

        const QString ivCols = u"IvNo, IvDate, Customer, IvType, NotCutStock, DelFlag"_qs;
        const QString dtCols = u"Ivhd, Product, ProductUnits, Quantity, Fraction, SoDt, IvDtB"_qs;
        // Invoice 1 delivers part of order 1; invoice 2 is invoiced without delivery; invoice 3
        // delivers against invoice 2.
        w_.insert(u"Ivhd"_qs, ivCols,
                  {u"IV%1-0001"_qs.arg(year), day(year, 1, 16), 2, u"A"_qs, N(), N()});
        w_.insert(u"Ivhd"_qs, ivCols,
                  {u"IV%1-0002"_qs.arg(year), day(year, 1, 17), 3, u"A"_qs, Y(), N()});
        w_.insert(u"Ivhd"_qs, ivCols,
                  {u"IV%1-0003"_qs.arg(year), day(year, 1, 18), 3, u"B"_qs, N(), N()});
        const ProductRow& a = products_[3];
        const ProductRow& b = products_[14];
        w_.insert(u"IvDt"_qs, dtCols,
                  {1, a.id, a.stock, 1.0, double(a.fraction), soLines[0], nullInt()});
        w_.insert(u"IvDt"_qs, dtCols,
                  {1, b.id, b.stock, 1.0, double(b.fraction), soLines[1], nullInt()});
        const qint64 undelivered =
            w_.insert(u"IvDt"_qs, dtCols, {2, b.id, b.small, 5.0, 1.0, nullInt(), nullInt()});
        w_.insert(u"IvDt"_qs, dtCols, {2, a.id, a.small, 3.0, 1.0, nullInt(), nullInt()});
        w_.insert(u"IvDt"_qs, dtCols, {3, b.id, b.small, 2.0, 1.0, nullInt(), undelivered});
        w_.insert(u"IvShip"_qs, u"IvHd, ShipDate, Remark"_qs, {3, day(year, 1, 19), S("ส่งครบ")});

        std::vector<qint64> poLines;
        for (int po = 1; po <= 3; ++po) {
            w_.insert(u"PoHd"_qs, u"PoNo, PoDate, Vendor, Clear"_qs,
                      {u"PO%1-%2"_qs.arg(year).arg(po, 4, 10, QChar(u'0')), day(year, 1, 5 + po),
                       po, N()});
            for (int k = 0; k < 3; ++k) {
                const ProductRow& p = products_[size_t(po * 4 + k * 13)];
                poLines.push_back(w_.insert(
                    u"PoDt"_qs, u"PoHd, Product, ProductUnits, Quantity, Fraction, Clear"_qs,
                    {po, p.id, p.stock, double(10 + k), double(p.fraction), flag(k == 2)}));
            }
        }
        w_.insert(u"Mrhd"_qs, u"MrNo, MrDate"_qs, {u"MR%1-0001"_qs.arg(year), day(year, 1, 12)});
        w_.insert(u"MrDt"_qs, u"Mrhd, Product, ProductUnits, Quantity, Fraction, PoDt"_qs,
                  {1, products_[4].id, products_[4].stock, 4.0, double(products_[4].fraction),
                   poLines[0]});
    }

    void manufacturing() {
        const int year = QDate::currentDate().year();
        std::vector<const ProductRow*> finished;
        std::vector<const ProductRow*> raw;
        for (const ProductRow& p : products_) {
            if (p.type == 'F')
                finished.push_back(&p);
            if (p.type == 'R')
                raw.push_back(&p);
        }
        for (size_t i = 0; i < finished.size(); ++i) {
            w_.insert(u"BomHd"_qs, u"Code, Product"_qs,
                      {u"BOM-"_qs + finished[i]->code, finished[i]->id});
        }
        struct Order {
            size_t product;
            int customer;
            double quantity;
            const char* clear;
            const char* deleted;
            double finished;
        };
        const std::array<Order, 5> orders{{{0, 1, 50, "N", "N", 30},
                                           {0, 2, 20, "N", "N", 0},
                                           {1, 3, 10, "N", "N", 4},
                                           {1, 4, 5, "Y", "N", 5},
                                           {0, 5, 8, "N", "Y", 0}}};
        for (size_t i = 0; i < orders.size(); ++i) {
            const Order& o = orders[i];
            const ProductRow& p = *finished[o.product];
            const qint64 wo = w_.insert(
                u"WorkOrderHd"_qs,
                u"WorkOrderNo, WorkDate, Customer, FinishedGoods, ProductUnits, Quantity, SoHd, "
                u"BomHd, Clear, Delflag"_qs,
                {u"WO%1-%2"_qs.arg(year).arg(i + 1, 4, 10, QChar(u'0')), day(year, 2, 1 + int(i)),
                 o.customer, p.id, p.small, o.quantity, i == 0 ? QVariant(1) : QVariant(nullInt()),
                 int(o.product) + 1, S(o.clear), S(o.deleted)});
            for (size_t r = 0; r < 3 && r < raw.size(); ++r) {
                w_.insert(
                    u"WorkOrderDt"_qs,
                    u"WorkOrderHd, Product, Quantity, Fraction, IssueQuantity, PreIsQuantity"_qs,
                    {wo, raw[(i + r) % raw.size()]->id, o.quantity * double(r + 1), 1.0,
                     o.finished * double(r + 1), 2.0});
            }
            if (o.finished > 0) {
                w_.insert(u"MFGFinishDt"_qs,
                          u"WorkOrderHd, Product, FinishDate, Quantity, Fraction"_qs,
                          {wo, p.id, day(year, 2, 10 + int(i)), o.finished, 1.0});
            }
        }
    }

    Writer w_;
    QString pictures_;        // where the picture files are written
    QString storedPictures_;  // the PicturePath the company keeps
    QHash<QString, qint64> miscIds_;
    std::vector<ProductRow> products_;
    qint64 barcodes_ = 0;
};

}  // namespace

void loadCompanyDemo(Session& company, const QString& pictureFolder,
                     const QString& storedPictureFolder) {
    CompanyLoader(
        company, QDir::cleanPath(pictureFolder),
        QDir::cleanPath(storedPictureFolder.isEmpty() ? pictureFolder : storedPictureFolder))
        .run();
}

}  // namespace md::schema
