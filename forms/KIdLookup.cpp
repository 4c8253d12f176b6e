#include "forms/KIdLookup.h"

#include "data/Connection.h"
#include "data/U_DM.h"
#include "data/backend/DbError.h"
#include "errors/TApplication.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QValidator>

namespace md::forms {

namespace {

class UpperCase final : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

bool sameKey(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.toString() == b.toString();
}

}  // namespace

TKIdLookup::TKIdLookup(QWidget* parent) : QLineEdit(parent), link_(this, [this] { refresh(); }) {
    setValidator(new UpperCase(this));
}

TKIdLookup::~TKIdLookup() = default;

void TKIdLookup::setDescriptionLabel(QLabel* label) {
    label_ = label;
    showDescription(description_);
}

void TKIdLookup::showDescription(const QString& text) {
    description_ = text;
    if (label_)
        label_->setText(found_ ? text : NotFoundText());
}

data::Connection* TKIdLookup::database() const {
    if (K_LookupDataBase)
        return K_LookupDataBase;
    if (data::DM)
        return &data::DM->DMdata;
    throw data::UsageError(QStringLiteral("Code lookup '%1' has no database").arg(objectName()));
}

data::Query& TKIdLookup::lookup() {
    if (!lookup_)
        lookup_ = std::make_unique<data::Query>();
    lookup_->setConnection(database());
    return *lookup_;
}

bool TKIdLookup::find(const QString& column, const QVariant& value, QString* code) {
    // Table and column names are the program's own; the value is always a parameter.
    QStringList sql{
        QStringLiteral("Select %1, %2, %3 From %4")
            .arg(K_LookupIDField, K_LookupEditField, K_DescriptionField, K_LookupTableName),
        QStringLiteral("Where (%1 = :LookupValue)").arg(column)};
    if (!K_Filter.trimmed().isEmpty())
        sql << QStringLiteral("And (%1)").arg(K_Filter);
    data::Query& q = lookup();
    q.close();
    q.setSql(sql);
    q.paramByName(QStringLiteral("LookupValue")).setValue(value);
    q.open();
    const bool found = !q.isEmpty();
    if (found) {
        key_ = q.field(0).value();
        if (code)
            *code = q.field(1).asString().trimmed();
        found_ = true;
        showDescription(q.field(2).asString());
    } else {
        key_ = QVariant();
        found_ = false;
        showDescription(QString());
    }
    q.close();
    return found;
}

bool TKIdLookup::ResolveCode() {
    const QString typed = text().trimmed();
    if (typed.isEmpty()) {
        key_ = QVariant();
        found_ = false;
        showDescription(QString());
    } else {
        QString code;
        if (find(K_LookupEditField, typed, &code))
            setText(code);
    }
    // Only a changed key puts the owner's data set into editing.
    if (link_.bound() && link_.field() && !sameKey(link_.value(), key_))
        link_.write(key_);
    setModified(false);
    return found_;
}

void TKIdLookup::refresh() {
    const data::Field* f = link_.field();
    if (!f || f->isNull()) {
        setText(QString());
        key_ = QVariant();
        found_ = false;
        showDescription(QString());
        return;
    }
    const QVariant key = f->value();
    QString code;
    if (find(K_LookupIDField, key, &code)) {
        setText(code);
    } else {
        // A key that no longer names a row (or fails the filter) shows as not found.
        setText(QString());
    }
    key_ = key;
    setModified(false);
}

// Switching windows (a search dialog opening over the box, say) is neither entering nor
// leaving the box.
static bool windowSwitch(const QFocusEvent* event) {
    return event->reason() == Qt::ActiveWindowFocusReason ||
           event->reason() == Qt::PopupFocusReason;
}

void TKIdLookup::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (!windowSwitch(event))
        emit entered();
}

void TKIdLookup::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (windowSwitch(event))
        return;
    try {
        ResolveCode();
    } catch (...) {
        errors::RouteException(std::current_exception());
    }
    emit exited();
}

void TKIdLookup::keyPressEvent(QKeyEvent* event) {
    bool handled = false;
    emit keyDown(event, handled);
    if (handled)
        return;
    QLineEdit::keyPressEvent(event);
}

}  // namespace md::forms
