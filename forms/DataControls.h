#pragma once

// Data-aware controls: an edit, a Y/N check box, a date box that can be empty and a number box,
// each bound to a field of a Query through a data source. A control shows the field of the
// query's current row whenever the query opens, scrolls, starts a new row or closes, and writes
// what the user enters back into that row, putting the query into editing first.

#include "data/Query.h"

#include <QCheckBox>
#include <QDate>
#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>

class QCalendarWidget;
class QFrame;

namespace md::forms {

// Lets several controls follow one query. It chains itself onto the query's row events
// (afterScroll, onNewRecord, beforeClose), keeping whatever handler was installed before; a
// component that installs its own handler later must chain the same way.
class TDataSource : public QObject {
    Q_OBJECT
  public:
    explicit TDataSource(data::Query* dataSet = nullptr, QObject* parent = nullptr);

    data::Query* DataSet() const { return dataSet_; }
    void setDataSet(data::Query* dataSet);

    // The named field when the query is open and has one, nullptr otherwise.
    data::Field* field(const QString& name) const;
    // Whether the query has a current row to show or write.
    bool hasRow() const;
    // Puts the query into editing (on an empty result that starts a new row). False when the
    // query is closed, so nothing can be written.
    bool edit();
    // Writes a value into the current row and tells the other controls of that field.
    bool setFieldValue(const QString& name, const QVariant& value, QObject* writer = nullptr);

    // A program step changed the current row's values: every bound control shows them again.
    void notifyDataChanged() { emit dataChanged(); }

  signals:
    // The query opened, moved, started a new row or was told of a change.
    void dataChanged();
    // The query is closing: controls empty themselves.
    void dataClosing();
    // A control wrote a field; `writer` is that control.
    void fieldChanged(const QString& name, QObject* writer);

  private:
    void hook();
    data::Query* dataSet_ = nullptr;
};

// What every bound control shares: the source, the field name and the connections.
class FieldLink {
  public:
    FieldLink(QObject* owner, std::function<void()> refresh)
        : owner_(owner), refresh_(std::move(refresh)) {}
    FieldLink(const FieldLink&) = delete;
    FieldLink& operator=(const FieldLink&) = delete;

    void setDataSource(TDataSource* source);
    TDataSource* source() const { return source_; }
    void setDataField(const QString& name);
    const QString& dataField() const { return field_; }
    // The bound field, nullptr when unbound, the query is closed or closing.
    data::Field* field() const;
    // Whether a source is set: an unbound control keeps whatever text it was given.
    bool bound() const { return source_ && !field_.isEmpty(); }
    QVariant value() const;
    // Writes into the current row (editing first); false when there is nowhere to write.
    bool write(const QVariant& value);

  private:
    QObject* owner_;
    std::function<void()> refresh_;
    void refresh();

    QPointer<TDataSource> source_;
    QString field_;
    bool writing_ = false;
    bool closing_ = false;
    QList<QMetaObject::Connection> connections_;
};

// Edit box. Upper-case entry where the window says so; the maximum length follows the bound
// column's declared size once the query has opened.
class TDBEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit TDBEdit(QWidget* parent = nullptr);

    void setDataSource(TDataSource* source) { link_.setDataSource(source); }
    TDataSource* DataSource() const { return link_.source(); }
    void setDataField(const QString& name) { link_.setDataField(name); }
    const QString& DataField() const { return link_.dataField(); }

    void setUpperCase(bool on);
    bool upperCase() const { return upperCase_; }

    // Shows the bound field of the current row again.
    void refresh();

  private:
    void userEdited(const QString& text);

    FieldLink link_;
    bool upperCase_ = false;
    bool refreshing_ = false;
};

// Check box for a one-character flag: ticked is "Y", not ticked "N"; any other value, an
// empty one included, shows not ticked.
class TDBCheckBox : public QCheckBox {
    Q_OBJECT
  public:
    explicit TDBCheckBox(QWidget* parent = nullptr);
    TDBCheckBox(const QString& text, QWidget* parent = nullptr);

    void setDataSource(TDataSource* source) { link_.setDataSource(source); }
    TDataSource* DataSource() const { return link_.source(); }
    void setDataField(const QString& name) { link_.setDataField(name); }
    const QString& DataField() const { return link_.dataField(); }

    static QString ValueChecked() { return QStringLiteral("Y"); }
    static QString ValueUnchecked() { return QStringLiteral("N"); }

    void refresh();

  private:
    void userClicked(bool checked);
    FieldLink link_;
};

// Date box showing and reading "dd/mm/yyyy". It may be empty (the field then holds NULL). A
// text that is no real date (31/02/2024) is refused when the box is left: the user is told,
// the field keeps its value and the focus comes back. Its calendar opens on the box's date,
// or on today when the box is empty.
class TDBDateEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit TDBDateEdit(QWidget* parent = nullptr);
    ~TDBDateEdit() override;

    void setDataSource(TDataSource* source) { link_.setDataSource(source); }
    TDataSource* DataSource() const { return link_.source(); }
    void setDataField(const QString& name) { link_.setDataField(name); }
    const QString& DataField() const { return link_.dataField(); }

    // The date in the box; a null date when it is empty or holds no real date.
    QDate date() const;
    // Puts a date into the box (a null date empties it) and into the bound field.
    void setDate(const QDate& date);
    bool isEmptyDate() const;
    // Parses "d/m/yyyy" strictly: no date is ever rolled over into another.
    static QDate parseDate(const QString& text);
    static QString formatDate(const QDate& date);

    // Checks and writes the typed text; false (after telling the user) when it is no date.
    bool commitText();

    // The calendar popup; it is built on first use.
    void showCalendar();
    QCalendarWidget* calendar() const { return calendar_; }
    bool calendarVisible() const;

    void refresh();

  signals:
    // The box was left with a text that is no date.
    void dateRefused(const QString& text);

  protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void calendarPicked(const QDate& date);

    FieldLink link_;
    QFrame* popup_ = nullptr;
    QCalendarWidget* calendar_ = nullptr;
    bool refusing_ = false;
};

// Number box in the manner of a calculator edit: right-aligned, it accepts only a number
// (optional minus sign, digits, at most `decimals` digits after the point). An empty box
// writes NULL.
class TDBCalcEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit TDBCalcEdit(QWidget* parent = nullptr);

    void setDataSource(TDataSource* source) { link_.setDataSource(source); }
    TDataSource* DataSource() const { return link_.source(); }
    void setDataField(const QString& name) { link_.setDataField(name); }
    const QString& DataField() const { return link_.dataField(); }

    void setDecimals(int decimals);
    int decimals() const { return decimals_; }

    // The number in the box; null when empty.
    QVariant number() const;

    void refresh();

  private:
    void userEdited(const QString& text);

    FieldLink link_;
    int decimals_ = 2;
    bool refreshing_ = false;
};

}  // namespace md::forms
