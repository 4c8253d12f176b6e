#include "errors/ErrorTranslation.h"

#include <array>

namespace md::errors {

namespace {

const std::array<TranslationRow, 14>& table() {
    static const std::array<TranslationRow, 14> rows{{
        {{QStringLiteral("is not a valid date")}, QStringLiteral(u"ป้อนวันที่ไม่ถูกต้อง")},
        {{QStringLiteral("Cannot insert the value NULL into column 'Transportation'")},
         QStringLiteral(u"ไม่ได้ป้อนข้อมูลการขนส่ง")},
        {{QStringLiteral("Cannot insert the value NULL into column 'Price'")},
         QStringLiteral(u"กำหนดราคาไม่ครบถ้วน")},
        {{QStringLiteral("Cannot insert the value NULL into column 'Warehouse'")},
         QStringLiteral(u"ไม่ได้ป้อนข้อมูลคลัง")},
        {{QStringLiteral("Cannot insert the value NULL into column 'Customer'")},
         QStringLiteral(u"ไม่ได้ป้อนข้อมูลลูกค้า")},
        {{QStringLiteral("Cannot insert the value NULL into column 'Vendor'")},
         QStringLiteral(u"ไม่ได้ป้อนข้อมูลเจ้าหนี้")},
        {{QStringLiteral("Cannot insert the value NULL into column 'Fraction'")},
         QStringLiteral(u"ไม่ได้ป้อนข้อมูลหน่วย หรือ ข้อมูลหน่วยผิดพลาด")},
        {{QStringLiteral("Cannot insert the value NULL into column 'Salesman'")},
         QStringLiteral(u"ไม่ได้ป้อนข้อมูลพนักงานขาย")},
        // The server cannot be reached or the link to it broke: the old library's wording, then
        // the ODBC drivers' (FreeTDS and the system driver).
        {{QStringLiteral("Possible network error"), QStringLiteral("Communication link failure"),
          QStringLiteral("TCP Provider"), QStringLiteral("Login timeout expired"),
          QStringLiteral("Unable to connect"), QStringLiteral("Adaptive Server is unavailable"),
          QStringLiteral("TDS server is unavailable"),
          QStringLiteral("Read from the server failed"),
          QStringLiteral("Write to the server failed"),
          QStringLiteral("A network-related or instance-specific error")},
         QStringLiteral(u"ระบบเครือข่าย หรือ คอมพิวเตอร์แม่ข่ายมีปัญหา ติดต่อเครื่องแม่ข่ายไม่ได้")},
        // A delete refused by a foreign key: SQL Server 2000's wording, then today's.
        {{QStringLiteral("DELETE statement conflicted with COLUMN REFERENCE"),
          QStringLiteral("DELETE statement conflicted with the REFERENCE constraint"),
          QStringLiteral("DELETE statement conflicted with the SAME TABLE REFERENCE constraint")},
         QStringLiteral(u"ข้อมูลที่ลบถูกอ้างโดยข้อมูลอื่น ไม่สามารถลบข้อมูลนี้ได้")},
        {{QStringLiteral("Printer selected is not valid")},
         QStringLiteral(u"ยังไม่ได้กำหนดเครื่องพิมพ์ หรือ เครื่องพิมพ์มีปัญหา")},
        {{QStringLiteral("Insufficient memory")},
         QStringLiteral(u"Memory หน่วยความจำของเครื่องไม่เพียงพอ")},
        // A statement that ran out of time: the old library's wording, FreeTDS's, the ODBC one.
        {{QStringLiteral("SQL Server connection timed out"),
          QStringLiteral("Adaptive Server connection timed out"),
          QStringLiteral("Query timeout expired")},
         QStringLiteral(u"เครื่องแม่ข่ายตัดการติดต่อ เพราะเครื่องนี้อาจเรียกข้อมูลปริมาณมากเกินไป")},
        {{QStringLiteral("Cannot insert duplicate")}, QStringLiteral(u"ข้อมูลที่เพิ่มซ้ำกับข้อมูลที่มีอยู่แล้ว")},
    }};
    return rows;
}

}  // namespace

std::span<const TranslationRow> TranslationTable() {
    return table();
}

QString ExplainError(const QString& message) {
    const QString upper = message.toUpper();
    for (const TranslationRow& row : table()) {
        for (const QString& fragment : row.fragments) {
            if (upper.contains(fragment.toUpper()))
                return row.explanation;
        }
    }
    return {};
}

QString ErrorDialogText(const QString& message) {
    return ExplainError(message) + u'\r' + message.toUpper() + u'\r';
}

}  // namespace md::errors
