#include "product/ProductServiceLayouts.h"

namespace md::product {

namespace {

using forms::GridColumn;

// The further columns of the stock layouts: centred titles, right-aligned figures.
GridColumn figure(const char* field, const QString& title, int width) {
    GridColumn c{QString::fromLatin1(field), title, width};
    c.alignment = Qt::AlignRight | Qt::AlignVCenter;
    c.titleAlignment = Qt::AlignCenter;
    return c;
}

GridColumn rightAligned(const char* field, const QString& title, int width) {
    GridColumn c{QString::fromLatin1(field), title, width};
    c.alignment = Qt::AlignRight | Qt::AlignVCenter;
    return c;
}

}  // namespace

ProductServiceLayout ProductServiceLayoutOf(int no) {
    ProductServiceLayout layout;
    const int nameWidth = (no == 6 || no == 7 || no == 9) ? 350 : no == 8 ? 150 : 250;
    layout.columns = {{QStringLiteral("Code"), QStringLiteral("รหัส"), 123},
                      {QStringLiteral("ThaiName"), QStringLiteral("ชื่อสินค้า"), nameWidth}};
    auto& c = layout.columns;
    const QString onhand = QStringLiteral("คงเหลือ");
    const QString inWork = QStringLiteral("จำนวนระหว่างผลิต");
    const QString backorder = QStringLiteral("จำนวนค้างส่ง");
    const QString technical = QStringLiteral("ชื่อเทคนิค2");
    switch (no) {
        case 0:
        case 1:
        case 2:
        case 3:
            c.push_back({QStringLiteral("Remark"), QStringLiteral("หมายเหตุ")});
            layout.menu = ProductServiceLayout::Menu::None;
            break;
        case 4:
            c.push_back({QStringLiteral("Field01"), QStringLiteral("สำนักพิมพ์")});
            c.push_back({QStringLiteral("Field02"), QStringLiteral("หมวดหมู่")});
            c.push_back(rightAligned("Price", QStringLiteral("ราคา"), 50));
            c.push_back({QStringLiteral("UnitName"), QStringLiteral("หน่วย"), 50});
            c.push_back(rightAligned("Qnty", onhand, 50));
            layout.menu = ProductServiceLayout::Menu::None;
            break;
        case 6:
            c.push_back(figure("TechNicName2", technical, 150));
            c.push_back(figure("Onhand", onhand, 100));
            c.push_back(figure("WorkOrderOH", inWork, 100));
            c.push_back(figure("Backorder", backorder, 100));
            layout.menu = ProductServiceLayout::Menu::Details;
            break;
        case 7:
            c.push_back(figure("TechNicName2", technical, 100));
            c.push_back(figure("Onhand", onhand, 100));
            c.push_back(figure("WorkOrderOH", inWork, 100));
            c.push_back(figure("PreIsQty", QStringLiteral("จองเบิกใช้"), 100));
            c.push_back(figure("Backorder", backorder, 100));
            layout.menu = ProductServiceLayout::Menu::Details;
            break;
        case 8:
            c.push_back(figure("Onhand", onhand, 100));
            c.push_back(figure("WorkOrderOH", inWork, 100));
            c.push_back(figure("Backorder", backorder, 100));
            c.push_back(figure("WKIsQty", QStringLiteral("จำนวนจองวัตถุดิบ"), 100));
            c.push_back(figure("OH_WKIsQty", QStringLiteral("คงเหลือลบยอดจองวัตถุดิบ"), 150));
            c.push_back(figure("TechNicName2", technical, 100));
            layout.menu = ProductServiceLayout::Menu::Details;
            break;
        case 9:
            c.push_back(figure("Onhand", onhand, 100));
            c.push_back(figure("BackSendOrder", QStringLiteral("จำนวนค้างรับ"), 100));
            c.push_back(figure("Backorder", backorder, 100));
            c.push_back(figure("ProdRemark", QStringLiteral("หมายเหตุ"), 100));
            layout.menu = ProductServiceLayout::Menu::Details;
            break;
        default:
            break;  // code and name only; the context menu stays as it was
    }
    return layout;
}

}  // namespace md::product
