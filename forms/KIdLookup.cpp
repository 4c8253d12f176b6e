#include "forms/KIdLookup.h"

#include "data/Connection.h"
#include "data/U_DM.h"
#include "data/backend/DbError.h"
#include "errors/TApplication.h"
#include "forms/Fr_Form.h"

#include <QCursor>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolButton>
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

TKIdLookup::~TKIdLookup() {
    // Going away may move the window's focus; the box must not hear of it half destroyed.
    disconnect(watching_);
}

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
    const QString filter = effectiveFilter();
    if (!filter.trimmed().isEmpty())
        sql << QStringLiteral("And (%1)").arg(filter);
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
    // Leaving the box as the bound row showed it keeps that row's key, even one the filter
    // no longer admits: passing through a box must not drop what the record holds.
    if (shownByRefresh_ && text() == refreshedText_)
        return found_;
    shownByRefresh_ = false;
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
        // Nothing to keep: a code typed next is looked up, even the one a former row showed.
        shownByRefresh_ = false;
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
    refreshedText_ = text();
    shownByRefresh_ = true;
}

// Switching windows (a search dialog opening over the box, say) is not leaving the box.
static bool windowSwitch(const QFocusEvent* event) {
    return event->reason() == Qt::ActiveWindowFocusReason ||
           event->reason() == Qt::PopupFocusReason;
}

void TKIdLookup::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Also when the window comes back to the front with the focus here: the focus may have
    // been put here while the window was inactive (a refused entry sent back to the box).
    noteEntered();
}

void TKIdLookup::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (!windowSwitch(event))
        noteLeft();
}

void TKIdLookup::showEvent(QShowEvent* event) {
    QLineEdit::showEvent(event);
    watchWindow();
}

void TKIdLookup::watchWindow() {
    FocusWatch* watch = FocusWatch::of(this);
    if (watch_ == watch)
        return;
    disconnect(watching_);
    watch_ = watch;
    // The window's own record of its focus: the only news of a move while it is inactive.
    watching_ = connect(watch, &FocusWatch::moved, this, [this](QWidget* from, QWidget* to) {
        if (to == this)
            noteEntered();
        else if (from == this && to)
            noteLeft();
    });
}

void TKIdLookup::noteEntered() {
    if (inside_)
        return;
    inside_ = true;
    emit entered();
}

void TKIdLookup::noteLeft() {
    if (!inside_)
        return;
    inside_ = false;
    try {
        ResolveCode();
    } catch (...) {
        errors::RouteException(std::current_exception());
    }
    emit exited();
}

void TKIdLookup::commitEntry() {
    if (!isModified())
        return;
    const bool wasInside = inside_;
    inside_ = true;
    noteLeft();
    // Still in the box (unless an exit handler sent the focus elsewhere): entered again.
    if (wasInside && window()->focusWidget() == this)
        noteEntered();
}

void TKIdLookup::keyPressEvent(QKeyEvent* event) {
    bool handled = false;
    emit keyDown(event, handled);
    if (handled)
        return;
    QLineEdit::keyPressEvent(event);
}

}  // namespace md::forms

namespace md::forms {

TFaLookupFrame::TFaLookupFrame(QWidget* parent, TKIdLookup* box, bool required)
    : QFrame(parent), box_(box) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    caption_ = new QLabel(this);
    row->addWidget(caption_);
    if (required) {
        required_ = new QLabel(QStringLiteral("*"), this);
        required_->setStyleSheet(QStringLiteral("color: red"));
        row->addWidget(required_);
    }
    box_->setParent(this);
    box_->setFixedWidth(120);
    row->addWidget(box_);
    button_ = new QToolButton(this);
    button_->setAutoRaise(true);
    button_->setFixedSize(22, 22);
    button_->setCursor(Qt::PointingHandCursor);
    button_->setText(QStringLiteral("..."));
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setEnabled(false);
    row->addWidget(button_);
    description_ = new QLabel(TKIdLookup::NotFoundText(), this);
    row->addWidget(description_, 1);
    box_->setDescriptionLabel(description_);

    connect(box_, &TKIdLookup::entered, this, errors::Guarded([this] { BoxEnter(); }));
    connect(box_, &TKIdLookup::exited, this, errors::Guarded([this] { BoxExit(); }));
    connect(box_, &TKIdLookup::keyDown, this, [this](QKeyEvent* event, bool& handled) {
        try {
            BoxKeyDown(event, handled);
        } catch (...) {
            handled = true;
            errors::RouteException(std::current_exception());
        }
    });
    connect(button_, &QToolButton::clicked, this, errors::Guarded([this] { SearchClick(); }));
}

void TFaLookupFrame::BoxEnter() {
    button_->setEnabled(true);
}

void TFaLookupFrame::BoxExit() {
    button_->setEnabled(false);
}

void TFaLookupFrame::BoxKeyDown(QKeyEvent* event, bool& handled) {
    if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier) {
        handled = true;
        SearchClick();
    }
}

void TFaLookupFrame::takeChosenCode(const QString& code) {
    box_->setText(code);
    box_->setModified(true);
    box_->setFocus(Qt::OtherFocusReason);
}

}  // namespace md::forms
