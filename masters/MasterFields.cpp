#include "masters/MasterFields.h"

#include "data/Prompts.h"
#include "forms/Fr_Master.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace md::masters {

forms::TDBEdit* boundEdit(QWidget* parent, forms::TDataSource* source, const QString& field,
                          const QString& name, int width) {
    auto* edit = new forms::TDBEdit(parent);
    edit->setObjectName(name);
    edit->setDataSource(source);
    edit->setDataField(field);
    if (width > 0)
        edit->setFixedWidth(width);
    return edit;
}

GroupBox makeGroupBox(QWidget* parent, forms::TDataSource* source, const QString& table,
                      const QString& field, const QString& name) {
    GroupBox g{};
    g.row = new QWidget(parent);
    auto* layout = new QHBoxLayout(g.row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    g.box = new forms::TKIdLookup(g.row);
    g.box->setObjectName(name);
    g.box->setFixedWidth(120);
    g.box->K_LookupTableName = table;
    g.box->K_DescriptionField = QStringLiteral("Name");
    g.box->setDataSource(source);
    g.box->setDataField(field);
    g.button = new QToolButton(g.row);
    g.button->setText(QStringLiteral("..."));
    g.button->setAutoRaise(true);
    g.button->setFixedSize(22, 22);
    g.button->setCursor(Qt::PointingHandCursor);
    g.button->setFocusPolicy(Qt::NoFocus);
    g.name = new QLabel(forms::TKIdLookup::NotFoundText(), g.row);
    g.name->setObjectName(name + QStringLiteral("Name"));
    g.box->setDescriptionLabel(g.name);
    layout->addWidget(g.box);
    layout->addWidget(g.button);
    layout->addWidget(g.name, 1);
    return g;
}

forms::TFaGetMisc* makeMiscFrame(QWidget* parent, forms::TDataSource* source,
                                 const QString& caption, const QString& field, const QString& group,
                                 const QString& name) {
    auto* frame = new forms::TFaGetMisc(parent);
    frame->setObjectName(name);
    frame->EditLabel->setText(caption);
    frame->EditLabel->setFixedWidth(forms::TFrMaster::captionWidth());
    frame->EditLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QString quoted = group;
    frame->Code->K_Filter =
        QStringLiteral("GroupCode='%1'").arg(quoted.replace(u'\'', QStringLiteral("''")));
    frame->Code->setDataSource(source);
    frame->Code->setDataField(field);
    return frame;
}

bool lacksEntry(const forms::TKIdLookup* box) {
    if (box->text().trimmed().isEmpty())
        return true;
    const forms::TDataSource* source = box->DataSource();
    const data::Field* key = source ? source->field(box->DataField()) : nullptr;
    return key && key->isNull();
}

bool runSaveChecks(std::initializer_list<SaveCheck> checks) {
    for (const SaveCheck& check : checks) {
        if (!check.missing)
            continue;
        data::prompts().message(check.message);
        check.control->setFocus();
        return false;
    }
    return true;
}

void setEnterOrder(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

}  // namespace md::masters
