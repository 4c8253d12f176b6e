#include "errors/ErrorTranslation.h"

#include <gtest/gtest.h>

namespace md::errors {
namespace {

const QString kDate = QStringLiteral(u"ป้อนวันที่ไม่ถูกต้อง");
const QString kNetwork = QStringLiteral(u"ระบบเครือข่าย หรือ คอมพิวเตอร์แม่ข่ายมีปัญหา ติดต่อเครื่องแม่ข่ายไม่ได้");
const QString kReferenced = QStringLiteral(u"ข้อมูลที่ลบถูกอ้างโดยข้อมูลอื่น ไม่สามารถลบข้อมูลนี้ได้");
const QString kTimedOut =
    QStringLiteral(u"เครื่องแม่ข่ายตัดการติดต่อ เพราะเครื่องนี้อาจเรียกข้อมูลปริมาณมากเกินไป");
const QString kDuplicate = QStringLiteral(u"ข้อมูลที่เพิ่มซ้ำกับข้อมูลที่มีอยู่แล้ว");

TEST(TranslationTable, FourteenRowsInTheirOrder) {
    const auto table = TranslationTable();
    ASSERT_EQ(table.size(), 14u);
    const QStringList first = {
        QStringLiteral("is not a valid date"),
        QStringLiteral("Cannot insert the value NULL into column 'Transportation'"),
        QStringLiteral("Cannot insert the value NULL into column 'Price'"),
        QStringLiteral("Cannot insert the value NULL into column 'Warehouse'"),
        QStringLiteral("Cannot insert the value NULL into column 'Customer'"),
        QStringLiteral("Cannot insert the value NULL into column 'Vendor'"),
        QStringLiteral("Cannot insert the value NULL into column 'Fraction'"),
        QStringLiteral("Cannot insert the value NULL into column 'Salesman'"),
        QStringLiteral("Possible network error"),
        QStringLiteral("DELETE statement conflicted with COLUMN REFERENCE"),
        QStringLiteral("Printer selected is not valid"),
        QStringLiteral("Insufficient memory"),
        QStringLiteral("SQL Server connection timed out"),
        QStringLiteral("Cannot insert duplicate"),
    };
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].fragments.value(0), first.at(static_cast<qsizetype>(i)))
            << "row " << i + 1;
    }
    EXPECT_EQ(table[0].explanation, kDate);
    EXPECT_EQ(table[6].explanation, QStringLiteral(u"ไม่ได้ป้อนข้อมูลหน่วย หรือ ข้อมูลหน่วยผิดพลาด"));
    EXPECT_EQ(table[11].explanation, QStringLiteral(u"Memory หน่วยความจำของเครื่องไม่เพียงพอ"));
}

TEST(TranslationTable, EveryFragmentFindsItsOwnRowAnywhereInAnyCase) {
    const auto table = TranslationTable();
    for (size_t i = 0; i < table.size(); ++i) {
        for (const QString& fragment : table[i].fragments) {
            EXPECT_EQ(ExplainError(QStringLiteral("[driver] ") + fragment.toLower() +
                                   QStringLiteral(" (more)")),
                      table[i].explanation)
                << fragment.toStdString();
        }
    }
}

TEST(TranslationTable, FirstMatchingRowWins) {
    const auto table = TranslationTable();
    // Any two fragments in one message: the earlier row's explanation.
    for (size_t i = 0; i < table.size(); ++i) {
        for (size_t j = i + 1; j < table.size(); ++j) {
            const QString message =
                table[j].fragments.first() + QStringLiteral("; ") + table[i].fragments.last();
            EXPECT_EQ(ExplainError(message), table[i].explanation) << message.toStdString();
        }
    }
    EXPECT_EQ(ExplainError(QStringLiteral(
                  "Cannot insert duplicate key row. Possible network error: Write failed")),
              kNetwork);
}

TEST(TranslationTable, KnownMessages) {
    EXPECT_EQ(ExplainError(QStringLiteral("'31/02/2024' is not a valid date")), kDate);
    EXPECT_EQ(ExplainError(QStringLiteral(
                  "DELETE statement conflicted with COLUMN REFERENCE constraint 'FK_Lot'. The "
                  "conflict occurred in database 'KVR_DEMO', table 'ImportLot', column 'Vendor'.")),
              kReferenced);
    EXPECT_EQ(ExplainError(QStringLiteral(
                  "violation of primary key constraint 'pk_misc'. cannot insert duplicate key in "
                  "object 'dbo.misc'. the duplicate key value is (1).")),
              kDuplicate);
    EXPECT_EQ(ExplainError(QStringLiteral("Cannot insert the value NULL into column 'Price', "
                                          "table 'KVR_DEMO.dbo.PartSource'; column does not allow "
                                          "nulls. INSERT fails.")),
              QStringLiteral(u"กำหนดราคาไม่ครบถ้วน"));
    EXPECT_TRUE(ExplainError(QStringLiteral("Invalid column name 'Foo'.")).isEmpty());
    // A NULL into a column the table does not name stays unexplained.
    EXPECT_TRUE(
        ExplainError(QStringLiteral("Cannot insert the value NULL into column 'Code'")).isEmpty());
}

TEST(TranslationTable, TodaysDriverWordings) {
    EXPECT_EQ(
        ExplainError(QStringLiteral(
            "The DELETE statement conflicted with the REFERENCE constraint \"FK_Lot_Vendor\". "
            "The conflict occurred in database \"KVR_DEMO\", table \"dbo.ImportLot\", column "
            "'Vendor'.")),
        kReferenced);
    EXPECT_EQ(ExplainError(QStringLiteral(
                  "[Microsoft][ODBC Driver 18 for SQL Server]Communication link failure")),
              kNetwork);
    EXPECT_EQ(ExplainError(QStringLiteral(
                  "[Microsoft][ODBC Driver 18 for SQL Server]TCP Provider: An existing connection "
                  "was forcibly closed by the remote host.")),
              kNetwork);
    EXPECT_EQ(ExplainError(QStringLiteral(
                  "[Microsoft][ODBC Driver 18 for SQL Server]Login timeout expired")),
              kNetwork);
    EXPECT_EQ(ExplainError(QStringLiteral(
                  "[FreeTDS][SQL Server]Unable to connect: Adaptive Server is unavailable or does "
                  "not exist")),
              kNetwork);
    EXPECT_EQ(ExplainError(QStringLiteral("[FreeTDS][SQL Server]Unable to connect to data source")),
              kNetwork);
    EXPECT_EQ(ExplainError(QStringLiteral(
                  "[Microsoft][ODBC Driver 18 for SQL Server]Query timeout expired")),
              kTimedOut);
    EXPECT_EQ(
        ExplainError(QStringLiteral("[FreeTDS][SQL Server]Adaptive Server connection timed out")),
        kTimedOut);
}

TEST(ErrorDialogText, ExplanationThenMessageInCapitals) {
    EXPECT_EQ(ErrorDialogText(QStringLiteral("'31/02/2024' is not a valid date")),
              kDate + QStringLiteral("\r'31/02/2024' IS NOT A VALID DATE\r"));
    EXPECT_EQ(ErrorDialogText(QStringLiteral("Invalid column name 'Foo'.")),
              QStringLiteral("\rINVALID COLUMN NAME 'FOO'.\r"));
    // Thai in the message passes through the capitals untouched.
    EXPECT_EQ(ErrorDialogText(QStringLiteral(u"รหัส abc")), QStringLiteral(u"\rรหัส ABC\r"));
}

}  // namespace
}  // namespace md::errors
