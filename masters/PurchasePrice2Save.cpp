// The part-source window's save: rows without a product dropped, rows that could never be
// listed again refused, then the audit row and every buffered change in one transaction.

#include "masters/Fr_PurchasePrice2.h"

#include "data/Connection.h"
#include "data/Dm_Config.h"
#include "data/Prompts.h"
#include "data/U_DM.h"
#include "forms/Fa_GetFrVendor.h"
#include "forms/KIdLookup.h"

#include <exception>

namespace md::masters {

namespace {

bool missing(const data::Field& key) {
    return key.isNull() || key.asInteger() <= 0;
}

}  // namespace

bool TF_PurchasePrice2::rowsComplete() {
    if (!QPrice.isOpen() || QPrice.isEmpty())
        return true;
    for (QPrice.first(); !QPrice.eof(); QPrice.next()) {
        // The list is read through inner joins on the unit and the currency: a row stored
        // without either would be kept and never shown again, so it could not be corrected.
        const bool noUnit = missing(QPrice.fieldByName(QStringLiteral("ProductUnits")));
        const bool noCurrency = missing(QPrice.fieldByName(QStringLiteral("Currency")));
        if (!noUnit && !noCurrency)
            continue;
        const int row = QPrice.recNo();
        const QString product = QPrice.fieldByName(QStringLiteral("Code")).asString();
        data::prompts().information(
            noUnit ? QStringLiteral(u"สินค้า %1 ยังไม่มีหน่วยสินค้าที่ถูกต้อง กรุณาระบุหน่วยสินค้า").arg(product)
                   : QStringLiteral(u"สินค้า %1 ยังไม่มีสกุลเงินที่ถูกต้อง กรุณาระบุสกุลเงิน").arg(product));
        DataGrid->setFocus(Qt::OtherFocusReason);
        DataGrid->goToCell(row, DataGrid->columnOfField(noUnit ? QStringLiteral("UnitName")
                                                               : QStringLiteral("Code_1")));
        QPrice.edit();
        return false;
    }
    return true;
}

void TF_PurchasePrice2::AcSaveExecute() {
    // An entry still in its editor is part of what is saved (and its code is resolved first).
    DataGrid->commitEditor();
    if (!QPrice.isOpen())
        return;
    const int keepRow = QPrice.recNo();
    const int keepColumn =
        DataGrid->currentIndex().isValid() ? DataGrid->currentIndex().column() : 0;
    // The grid back where the user was (rows dropped meanwhile), the list in editing.
    const auto backToWhereTheUserWas = [&] {
        if (QPrice.isEmpty())
            return;
        DataGrid->goToCell(qBound(0, keepRow, QPrice.fetchedCount() - 1), keepColumn);
        QPrice.edit();
    };
    DataGrid->setUpdatesEnabled(false);
    std::exception_ptr walking;
    try {
        // Rows without a product go, whether typed or read from the table; walked from the
        // end so that a row removed leaves the rows still to look at where they were.
        for (int row = QPrice.recordCount() - 1; row >= 0; --row) {
            QPrice.moveTo(row);
            if (missing(QPrice.fieldByName(QStringLiteral("Product"))))
                QPrice.deleteRecord();
        }
    } catch (...) {
        walking = std::current_exception();
    }
    DataGrid->queryModel()->refresh();
    DataGrid->setUpdatesEnabled(true);
    if (walking)
        std::rethrow_exception(walking);

    if (!rowsComplete())
        return;
    if (!data::DM->AskYesNo(data::DMConfig ? data::DMConfig->SaveConfirmText : QString())) {
        // Everything not dropped stays pending, and the list stays in editing.
        backToWhereTheUserWas();
        return;
    }
    std::exception_ptr error;
    {
        data::TransactionGuard transaction(data::DM->DMdata);
        try {
            data::DM->AddUserLog(data::TDM::LogEditId, 0, FaGetFrVendor1->Vendor->text());
            QPrice.applyUpdates(UPrice);
            transaction.commit();
        } catch (...) {
            error = std::current_exception();
        }
    }  // not committed: the audit row and every change roll back together
    if (error) {
        // The changes stay in the list, for the user to correct and save again.
        backToWhereTheUserWas();
        std::rethrow_exception(error);
    }
    QPrice.commitUpdates();
    AcNewExecute();
}

}  // namespace md::masters
