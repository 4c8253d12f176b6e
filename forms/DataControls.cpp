#include "forms/DataControls.h"

#include "data/Dm_Config.h"
#include "data/Prompts.h"
#include "errors/TApplication.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QScopeGuard>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace md::forms {

namespace {

// Upper-cases whatever is typed or set, keeping the cursor where it was.
class UpperCaseValidator final : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

bool isTextType(const data::Field& f) {
    const QMetaType::Type t = f.info().type;
    return t == QMetaType::QString || t == QMetaType::UnknownType;
}

bool languageThai() {
    return !data::DMConfig || data::DMConfig->LanguageThai;
}

}  // namespace

// ---- TDataSource ----

TDataSource::TDataSource(data::Query* dataSet, QObject* parent) : QObject(parent) {
    setDataSet(dataSet);
}

void TDataSource::setDataSet(data::Query* dataSet) {
    if (dataSet == dataSet_)
        return;
    dataSet_ = dataSet;
    hook();
    emit dataChanged();
}

void TDataSource::hook() {
    if (!dataSet_)
        return;
    // The handlers outlive neither the query nor this source in any harmful way: a handler
    // whose source has gone, or now follows another query, only passes the event on.
    QPointer<TDataSource> self(this);
    data::Query* q = dataSet_;
    auto followed = [self, q] { return self && self->dataSet_ == q; };

    auto scroll = std::move(q->afterScroll);
    q->afterScroll = [followed, self, scroll](data::Query& query) {
        if (scroll)
            scroll(query);
        if (followed())
            emit self->dataChanged();
    };
    auto newRecord = std::move(q->onNewRecord);
    q->onNewRecord = [followed, self, newRecord](data::Query& query) {
        if (newRecord)
            newRecord(query);
        if (followed())
            emit self->dataChanged();
    };
    auto closing = std::move(q->beforeClose);
    q->beforeClose = [followed, self, closing](data::Query& query) {
        if (closing)
            closing(query);
        if (followed())
            emit self->dataClosing();
    };
}

data::Field* TDataSource::field(const QString& name) const {
    if (!dataSet_ || !dataSet_->isOpen() || name.isEmpty())
        return nullptr;
    return dataSet_->findField(name);
}

bool TDataSource::hasRow() const {
    return dataSet_ && dataSet_->isOpen() && dataSet_->recNo() >= 0;
}

bool TDataSource::edit() {
    if (!dataSet_ || !dataSet_->isOpen())
        return false;
    if (dataSet_->state() == data::DataSetState::Browse)
        dataSet_->edit();
    return true;
}

bool TDataSource::setFieldValue(const QString& name, const QVariant& value, QObject* writer) {
    if (!field(name) || !edit())
        return false;
    // edit() may have started a new row: look the field up on it.
    data::Field* f = field(name);
    if (!f)
        return false;
    if (!value.isValid() || value.isNull())
        f->clear();
    else
        f->setValue(value);
    emit fieldChanged(name, writer);
    return true;
}

// ---- FieldLink ----

void FieldLink::setDataSource(TDataSource* source) {
    if (source == source_)
        return;
    for (const auto& c : connections_)
        QObject::disconnect(c);
    connections_.clear();
    source_ = source;
    if (source_) {
        connections_ << QObject::connect(source_, &TDataSource::dataChanged, owner_,
                                         [this] { refresh(); });
        connections_ << QObject::connect(source_, &TDataSource::dataClosing, owner_, [this] {
            closing_ = true;
            const auto reset = qScopeGuard([this] { closing_ = false; });
            refresh();
        });
        connections_ << QObject::connect(
            source_, &TDataSource::fieldChanged, owner_, [this](const QString& name, QObject* w) {
                if (w != owner_ && name.compare(field_, Qt::CaseInsensitive) == 0)
                    refresh();
            });
    }
    refresh();
}

void FieldLink::setDataField(const QString& name) {
    field_ = name;
    refresh();
}

void FieldLink::refresh() {
    // A control's own write may start a new row; it must not be overwritten by that row's
    // empty values halfway through the keystroke.
    if (!writing_ && bound())
        refresh_();
}

data::Field* FieldLink::field() const {
    if (!source_ || closing_)
        return nullptr;
    return source_->field(field_);
}

QVariant FieldLink::value() const {
    const data::Field* f = field();
    return f ? f->value() : QVariant();
}

bool FieldLink::write(const QVariant& value) {
    if (!bound())
        return false;
    writing_ = true;
    const auto reset = qScopeGuard([this] { writing_ = false; });
    return source_->setFieldValue(field_, value, owner_);
}

// ---- TDBEdit ----

TDBEdit::TDBEdit(QWidget* parent) : QLineEdit(parent), link_(this, [this] { refresh(); }) {
    connect(this, &QLineEdit::textEdited, this,
            errors::Guarded([this](const QString& text) { userEdited(text); }));
}

void TDBEdit::setUpperCase(bool on) {
    upperCase_ = on;
    setValidator(on ? new UpperCaseValidator(this) : nullptr);
    if (on)
        setText(text().toUpper());
}

void TDBEdit::refresh() {
    refreshing_ = true;
    const auto reset = qScopeGuard([this] { refreshing_ = false; });
    const data::Field* f = link_.field();
    if (f && f->size() > 0)
        setMaxLength(f->size());
    setText(f ? f->asString() : QString());
}

void TDBEdit::userEdited(const QString& text) {
    if (refreshing_)
        return;
    const data::Field* f = link_.field();
    if (!f)
        return;
    if (text.isEmpty() && !isTextType(*f))
        link_.write(QVariant());
    else
        link_.write(text);
}

// ---- TDBCheckBox ----

TDBCheckBox::TDBCheckBox(QWidget* parent) : TDBCheckBox(QString(), parent) {}

TDBCheckBox::TDBCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent), link_(this, [this] { refresh(); }) {
    connect(this, &QCheckBox::clicked, this,
            errors::Guarded([this](bool checked) { userClicked(checked); }));
}

void TDBCheckBox::refresh() {
    const QVariant v = link_.value();
    setChecked(!v.isNull() && v.toString() == ValueChecked());
}

void TDBCheckBox::userClicked(bool checked) {
    if (!link_.write(checked ? ValueChecked() : ValueUnchecked()))
        refresh();
}

// ---- TDBDateEdit ----

TDBDateEdit::TDBDateEdit(QWidget* parent) : QLineEdit(parent), link_(this, [this] { refresh(); }) {
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,2}(/[0-9]{0,2}(/[0-9]{0,4})?)?")), this));
    setPlaceholderText(QStringLiteral("dd/mm/yyyy"));
    QAction* open =
        addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    open->setObjectName(QStringLiteral("CalendarButton"));
    connect(open, &QAction::triggered, this, errors::Guarded([this] { showCalendar(); }));
}

TDBDateEdit::~TDBDateEdit() = default;

QDate TDBDateEdit::parseDate(const QString& text) {
    const QStringList parts = text.trimmed().split(u'/');
    if (parts.size() != 3 || parts[2].size() != 4)
        return {};
    bool okD = false, okM = false, okY = false;
    const int d = parts[0].toInt(&okD);
    const int m = parts[1].toInt(&okM);
    const int y = parts[2].toInt(&okY);
    if (!okD || !okM || !okY || parts[0].isEmpty() || parts[1].isEmpty())
        return {};
    // QDate refuses 31/02 instead of moving it to March, which is what the box must do.
    return QDate::isValid(y, m, d) ? QDate(y, m, d) : QDate();
}

QString TDBDateEdit::formatDate(const QDate& date) {
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QDate TDBDateEdit::date() const {
    return parseDate(text());
}

bool TDBDateEdit::isEmptyDate() const {
    return text().trimmed().isEmpty();
}

void TDBDateEdit::setDate(const QDate& date) {
    setText(formatDate(date));
    setModified(false);
    link_.write(date.isValid() ? QVariant(date.startOfDay()) : QVariant());
}

bool TDBDateEdit::commitText() {
    if (!isModified())
        return true;
    const QString typed = text().trimmed();
    if (typed.isEmpty()) {
        link_.write(QVariant());
        setModified(false);
        return true;
    }
    const QDate d = parseDate(typed);
    if (!d.isValid()) {
        emit dateRefused(typed);
        data::prompts().information(
            (languageThai() ? QStringLiteral("วันที่ไม่ถูกต้อง : ") : QStringLiteral("Invalid Date : ")) +
            typed);
        return false;
    }
    setText(formatDate(d));
    setModified(false);
    link_.write(QVariant(d.startOfDay()));
    return true;
}

void TDBDateEdit::refresh() {
    const data::Field* f = link_.field();
    QDate d;
    if (f && !f->isNull())
        d = f->asDateTime().date();
    setText(formatDate(d));
    setModified(false);
}

void TDBDateEdit::showCalendar() {
    if (!popup_) {
        popup_ = new QFrame(this, Qt::Popup);
        popup_->setFrameShape(QFrame::Box);
        auto* layout = new QVBoxLayout(popup_);
        layout->setContentsMargins(0, 0, 0, 0);
        calendar_ = new QCalendarWidget(popup_);
        calendar_->setObjectName(QStringLiteral("Calendar"));
        layout->addWidget(calendar_);
        connect(calendar_, &QCalendarWidget::clicked, this,
                errors::Guarded([this](QDate d) { calendarPicked(d); }));
        connect(calendar_, &QCalendarWidget::activated, this,
                errors::Guarded([this](QDate d) { calendarPicked(d); }));
    }
    const QDate shown = date();
    const QDate start = shown.isValid() ? shown : QDate::currentDate();
    calendar_->setSelectedDate(start);
    calendar_->setCurrentPage(start.year(), start.month());
    popup_->move(mapToGlobal(rect().bottomLeft()));
    popup_->show();
    calendar_->setFocus(Qt::PopupFocusReason);
}

bool TDBDateEdit::calendarVisible() const {
    return popup_ && popup_->isVisible();
}

void TDBDateEdit::calendarPicked(const QDate& date) {
    if (popup_)
        popup_->hide();
    setDate(date);
    setFocus(Qt::OtherFocusReason);
}

void TDBDateEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Opening the calendar takes the focus for a moment; that is not leaving the box.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason ||
        calendarVisible() || refusing_)
        return;
    bool accepted = true;
    try {
        accepted = commitText();
    } catch (...) {
        errors::RouteException(std::current_exception());
    }
    if (!accepted) {
        refusing_ = true;
        QTimer::singleShot(0, this, [this] {
            refusing_ = false;
            setFocus(Qt::OtherFocusReason);
            selectAll();
        });
    }
}

void TDBDateEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier)) {
        showCalendar();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// ---- TDBCalcEdit ----

TDBCalcEdit::TDBCalcEdit(QWidget* parent) : QLineEdit(parent), link_(this, [this] { refresh(); }) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setDecimals(2);
    connect(this, &QLineEdit::textEdited, this,
            errors::Guarded([this](const QString& text) { userEdited(text); }));
}

void TDBCalcEdit::setDecimals(int decimals) {
    decimals_ = qMax(0, decimals);
    const QString pattern = decimals_ > 0
                                ? QStringLiteral("-?[0-9]*([.][0-9]{0,%1})?").arg(decimals_)
                                : QStringLiteral("-?[0-9]*");
    setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), this));
}

QVariant TDBCalcEdit::number() const {
    const QString t = text().trimmed();
    bool ok = false;
    const double d = t.toDouble(&ok);
    return ok ? QVariant(d) : QVariant();
}

void TDBCalcEdit::refresh() {
    refreshing_ = true;
    const auto reset = qScopeGuard([this] { refreshing_ = false; });
    const data::Field* f = link_.field();
    if (!f || f->isNull()) {
        setText(QString());
        return;
    }
    const QVariant v = f->value();
    if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int)
        setText(QString::number(v.toLongLong()));
    else
        setText(QString::number(f->asFloat(), 'f', decimals_));
}

void TDBCalcEdit::userEdited(const QString&) {
    if (refreshing_)
        return;
    const data::Field* f = link_.field();
    if (!f)
        return;
    const QVariant n = number();
    const QMetaType::Type t = f->info().type;
    if (n.isValid() && (t == QMetaType::LongLong || t == QMetaType::Int))
        link_.write(QVariant(qlonglong(n.toDouble())));
    else
        link_.write(n);
}

}  // namespace md::forms
