#include "forms/Fr_SimpleSearch.h"

#include "data/Dm_Config.h"
#include "data/U_DM.h"
#include "data/backend/DbError.h"
#include "data/statements/Statements.h"
#include "forms/KeptWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace md::forms {
namespace {

QString fragment(const char* name) {
    return md::statements::text(QStringLiteral("Fr_SimpleSearch"), QString::fromLatin1(name))
        .join(u' ');
}

// Column and table names come from the program, never from the user; a name that is not a
// plain (optionally qualified) identifier is refused instead of being joined into the text.
QString checkedName(const QString& name) {
    static const QRegularExpression identifier(
        QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*(\\.[A-Za-z_][A-Za-z0-9_]*)?$"));
    if (!identifier.match(name).hasMatch())
        throw data::UsageError(QStringLiteral("Not a column or table name: '%1'").arg(name));
    return name;
}

}  // namespace

TFrSimpleSearch::TFrSimpleSearch(QWidget* parent) : TFrSearch(parent) {
    Label3->setText(QStringLiteral(u"รายละเอียด"));
    Code->setFixedWidth(187);
    if (data::DM)
        QSearch.setConnection(&data::DM->DMdata);
}

void TFrSimpleSearch::FormShow() {
    const bool thai = data::DMConfig && data::DMConfig->LanguageThai;
    QString descriptionTitle = QStringLiteral(u"รายละเอียด");
    QString codeTitle = QStringLiteral(u"รหัส");
    if (!thai) {
        Label3->setText(QStringLiteral("Description"));
        QFont small = Label3->font();
        small.setPointSize(8);
        Label3->setFont(small);
        descriptionTitle = QStringLiteral("Description");
        codeTitle = QStringLiteral("Code");
    } else {
        Label3->setText(descriptionTitle);
    }
    setWindowTitle(Caption.trimmed().isEmpty() ? QStringLiteral("Search") : Caption);

    QSearch.close();
    const QString code =
        checkedName(CodeField.trimmed().isEmpty() ? QStringLiteral("Code") : CodeField.trimmed());
    const QString description =
        checkedName(DescriptionField.trimmed().isEmpty() ? QStringLiteral("Description")
                                                         : DescriptionField.trimmed());
    const QString table = checkedName(TableName.trimmed());
    QStringList lines;
    lines << fragment("QSearch.Select") + description + QStringLiteral(", ") + code +
                 QStringLiteral(" From ") + table + QStringLiteral(" Where (") + description +
                 QStringLiteral(" Like :GetCode) ");
    // The extra condition is the calling window's own SQL, never typed text.
    if (!ExtraCondition.trimmed().isEmpty())
        lines << QStringLiteral("And (") + ExtraCondition + QStringLiteral(")");
    lines << fragment("QSearch.Order") + description;
    QSearch.setSql(lines);
    DgSearch->setColumns(
        {GridColumn{description, descriptionTitle, 380}, GridColumn{code, codeTitle, 120}});

    TFrSearch::FormShow();
    KeyField = code;
    Code->clear();
    Code->setFocus();
}

void TFrSimpleSearch::BtSearchClick() {
    QSearch.close();
    // Contains the typed text, taken literally.
    QSearch.paramByName(QStringLiteral("GetCode"))
        .setAsString(QStringLiteral("%") + LikeLiteral(Code->text()) + QStringLiteral("%"));
    TFrSearch::BtSearchClick();
}

TFrSimpleSearch* FrSimpleSearch() {
    return KeptWindow<TFrSimpleSearch>::current();
}

void installSimpleSearch() {
    data::DM->simpleSearchRunner = [](const QString& caption, const QString& codeField,
                                      const QString& descriptionField,
                                      const QString& extraCondition, const QString& tableName) {
        TFrSimpleSearch& w = *KeptWindow<TFrSimpleSearch>::get();
        w.Caption = caption;
        w.CodeField = codeField;
        w.DescriptionField = descriptionField;
        w.ExtraCondition = extraCondition;
        w.TableName = tableName;
        w.ResultValue.clear();
        return w.exec() == QDialog::Accepted;
    };
}

void releaseSimpleSearch() {
    KeptWindow<TFrSimpleSearch>::release();
}

}  // namespace md::forms
