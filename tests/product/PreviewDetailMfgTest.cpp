// The manufacturing detail window over work orders written for each case, offscreen.

#include "ProductFixture.h"
#include "product/Fr_PreviewDetailMfg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace md::product::test {
namespace {

class PreviewDetailMfg : public ProductTest {
  protected:
    void SetUp() override {
        ProductTest::SetUp();
        if (HasFatalFailure())
            return;
        product = addProduct(u"TP-MFG"_qs);
        exec(QStringLiteral("Update Product Set PType = (Select Min(Id) From Misc Where "
                            "GroupCode = 'PTYPE') Where Id = %1")
                 .arg(product));
        customer = scalar(u"Select Min(Id) From Customer"_qs).toLongLong();
    }
    // A work order of `quantity` units of fraction `unitFlag` with one finished row.
    void workOrder(const char* number, const char* unitFlag, const char* quantity,
                   const char* finished, const char* clear = "N", const char* deleted = "N") {
        const qint64 unit = unitId(product, QString::fromLatin1(unitFlag));
        const qint64 wo =
            insert(QStringLiteral("Insert Into WorkOrderHd (WorkOrderNo, WorkDate, Customer, "
                                  "FinishedGoods, ProductUnits, Quantity, Clear, Delflag) Values "
                                  "('%1', '2030-02-01', %2, %3, %4, %5, '%6', '%7')")
                       .arg(QString::fromLatin1(number))
                       .arg(customer)
                       .arg(product)
                       .arg(unit)
                       .arg(QString::fromLatin1(quantity), QString::fromLatin1(clear),
                            QString::fromLatin1(deleted)));
        if (finished) {
            exec(QStringLiteral("Insert Into MFGFinishDt (WorkOrderHd, Product, FinishDate, "
                                "Quantity, Fraction) Values (%1, %2, '2030-02-10', %3, 1)")
                     .arg(wo)
                     .arg(product)
                     .arg(QString::fromLatin1(finished)));
        }
    }
    bool open(TFrPreviewDetailMfg& w, const QString& code) {
        w.ProductCode = code;
        w.Separators = {u","_qs, u"."_qs};
        return h.show(&w);
    }

    qint64 product = 0, customer = 0;
};

TEST_F(PreviewDetailMfg, ListsTheOpenWorkOrdersWithTheirTotals) {
    workOrder("WO-T1", "StockUnitFlag", "100", "150.25");  // 1,200 ordered
    workOrder("WO-T2", "SmallUnitFlag", "7.5", nullptr);
    workOrder("WO-T3", "SmallUnitFlag", "40", nullptr, "Y");       // cleared
    workOrder("WO-T4", "SmallUnitFlag", "40", nullptr, "N", "Y");  // cancelled
    TFrPreviewDetailMfg w;
    ASSERT_TRUE(open(w, u"  TP-MFG "_qs));
    EXPECT_EQ(w.windowTitle(), QStringLiteral(u"รายละเอียดการสั่งผลิด"));
    EXPECT_EQ(w.size(), QSize(881, 418));
    EXPECT_EQ(w.LbGetProdDesc->text(),
              QStringLiteral(u"รหัสสินค้า : TP-MFG   ชื่อสินค้า : สินค้าทดสอบ TP-MFG"));
    EXPECT_EQ(w.QSearch.recordCount(), 2);
    EXPECT_EQ(w.LbSum01->text(), QStringLiteral(u"จำนวนสั่งผลิต รวม : 1,207.5 ชิ้น"));
    EXPECT_EQ(w.LbSum02->text(), QStringLiteral(u"จำนวนผลิตเสร็จ รวม : 150.25 ชิ้น"));
    EXPECT_EQ(w.LbSum03->text(), QStringLiteral(u"จำนวนคงค้าง รวม : 1,057.25 ชิ้น"));
    EXPECT_EQ(w.QSearch.recNo(), 0);
    EXPECT_FALSE(w.QGetProdDesc.isOpen());
    EXPECT_EQ(h.focused(), w.DgSearch);
    EXPECT_FALSE(w.Code->isVisible());
    EXPECT_FALSE(w.BtSearch->isVisible());
    EXPECT_FALSE(w.BtOk->isVisible());
    EXPECT_EQ(w.BtCancel->text(), u"Close"_qs);
    EXPECT_TRUE(w.DgSearch->toolTip().isEmpty());

    // Nothing is chosen here: Enter in the list leaves the window open, Escape closes it.
    h.press(Qt::Key_Return);
    EXPECT_TRUE(w.isVisible());
    h.press(Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
}

TEST_F(PreviewDetailMfg, TotalsUseTheSeparatorsGiven) {
    workOrder("WO-T1", "StockUnitFlag", "100", "150.25");
    TFrPreviewDetailMfg w;
    w.ProductCode = u"TP-MFG"_qs;
    w.Separators = {u"."_qs, u","_qs};
    ASSERT_TRUE(h.show(&w));
    EXPECT_EQ(w.LbSum01->text(), QStringLiteral(u"จำนวนสั่งผลิต รวม : 1.200 ชิ้น"));
    EXPECT_EQ(w.LbSum03->text(), QStringLiteral(u"จำนวนคงค้าง รวม : 1.049,75 ชิ้น"));
}

TEST_F(PreviewDetailMfg, WithoutOpenOrdersTheTotalsAreZero) {
    workOrder("WO-T3", "SmallUnitFlag", "40", nullptr, "Y");
    TFrPreviewDetailMfg w;
    ASSERT_TRUE(open(w, u"TP-MFG"_qs));
    EXPECT_EQ(w.QSearch.recordCount(), 0);
    EXPECT_EQ(w.LbSum01->text(), QStringLiteral(u"จำนวนสั่งผลิต รวม : 0 ชิ้น"));
    EXPECT_EQ(w.LbSum02->text(), QStringLiteral(u"จำนวนผลิตเสร็จ รวม : 0 ชิ้น"));
    EXPECT_EQ(w.LbSum03->text(), QStringLiteral(u"จำนวนคงค้าง รวม : 0 ชิ้น"));
}

TEST_F(PreviewDetailMfg, AnUnknownCodeShowsNoProductAndNoUnit) {
    TFrPreviewDetailMfg w;
    ASSERT_TRUE(open(w, u"NO-SUCH"_qs));
    EXPECT_TRUE(w.LbGetProdDesc->text().isEmpty());
    EXPECT_EQ(w.LbSum01->text(), QStringLiteral(u"จำนวนสั่งผลิต รวม : 0 "));
    EXPECT_EQ(w.LbSum03->text(), QStringLiteral(u"จำนวนคงค้าง รวม : 0 "));
}

TEST_F(PreviewDetailMfg, TheOpenerShowsItModallyForTheTrimmedUpperCasedCode) {
    workOrder("WO-T2", "SmallUnitFlag", "7.5", nullptr);
    QString label;
    QString total;
    h.whenModal([&](QWidget* dialog) {
        auto* w = qobject_cast<TFrPreviewDetailMfg*>(dialog);
        ASSERT_NE(w, nullptr);
        label = w->LbGetProdDesc->text();
        total = w->LbSum03->text();
        h.press(Qt::Key_Escape);
    });
    TFrPreviewDetailMfg::ShowFor(u" tp-mfg "_qs);
    EXPECT_TRUE(label.startsWith(QStringLiteral(u"รหัสสินค้า : TP-MFG")));
    EXPECT_TRUE(total.endsWith(QStringLiteral(u"7.5 ชิ้น")) ||
                total.endsWith(QStringLiteral(u"7,5 ชิ้น")))
        << total.toStdString();
}

}  // namespace
}  // namespace md::product::test
