#include "forms/Fa_GetSalesman.h"

#include "data/Prompts.h"
#include "data/U_DM.h"
#include "data/backend/DbError.h"
#include "data/statements/Statements.h"

#include <QToolButton>

namespace md::forms {

namespace {

TFaGetSalesman::SearchRunner& runner() {
    static TFaGetSalesman::SearchRunner r;
    return r;
}

}  // namespace

TFaGetSalesman::TFaGetSalesman(QWidget* parent)
    : TFaLookupFrame(parent, new TKIdLookup, true),
      QSalesman(data::DM ? &data::DM->DMdata : nullptr,
                statements::text(QStringLiteral("Fa_GetSalesman"), QStringLiteral("QSalesman"))) {
    setObjectName(QStringLiteral("FaGetSalesman"));
    Label21 = captionLabel();
    Salesman = box();
    BtSearchSalesman = searchButton();
    SalesmanName = descriptionLabel();
    Label21->setObjectName(QStringLiteral("Label21"));
    Label21->setText(QStringLiteral("รหัสพนักงานขาย"));
    Salesman->setObjectName(QStringLiteral("Salesman"));
    Salesman->K_LookupTableName = QStringLiteral("Salesman");
    Salesman->K_DescriptionField = QStringLiteral("Name");
    Salesman->K_Filter = QStringLiteral("Status='Y'");
    Salesman->setDataField(QStringLiteral("Salesman"));
    BtSearchSalesman->setObjectName(QStringLiteral("BtSearchSalesman"));
    BtSearchSalesman->setToolTip(QStringLiteral("ค้นหารหัสพนักงานขาย"));
    SalesmanName->setObjectName(QStringLiteral("SalesmanName"));
}

void TFaGetSalesman::setSearchRunner(SearchRunner r) {
    runner() = std::move(r);
}

void TFaGetSalesman::SalesmanExit() {
    TFaLookupFrame::BoxExit();
    const QString code = Salesman->text().trimmed();
    if (code.isEmpty())
        return;
    if (!QSalesman.connection() && data::DM)
        QSalesman.setConnection(&data::DM->DMdata);
    QSalesman.close();
    QSalesman.paramByName(QStringLiteral("getcode")).setValue(code);
    QSalesman.open();
    if (QSalesman.isEmpty() || !Salesman->K_Filter.trimmed().isEmpty())
        return;
    const QVariant status = QSalesman.fieldByName(QStringLiteral("Status")).value();
    if (status.isNull() || status.toString() != QStringLiteral("N"))
        return;
    data::prompts().information(SuspendedText());
    // The box had already taken the suspended salesman's key into the owner's field: resolving
    // the emptied box takes it out again, so the record cannot be saved with it.
    Salesman->setText(QString());
    Salesman->ResolveCode();
    SalesmanName->setText(QString());
    Salesman->setFocus(Qt::OtherFocusReason);
}

void TFaGetSalesman::BtSearchSalesmanClick() {
    if (!runner())
        throw data::UsageError(QStringLiteral("The salesman search is not installed"));
    if (const std::optional<QString> chosen = runner()(window()))
        takeChosenCode(*chosen);
}

}  // namespace md::forms
