#pragma once

// The code-lookup box: the user types the code of a row of another table, the bound field of
// the owner's data set keeps that row's key and a label beside the box shows its description.
// Leaving the box resolves the code (a parameter of the lookup statement, never joined into
// it) before any exit handler of the owner runs, so an owner reads the key right after.

#include "data/Query.h"
#include "forms/DataControls.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <memory>

namespace md::data {
class Connection;
}

namespace md::forms {

class TKIdLookup : public QLineEdit {
    Q_OBJECT
  public:
    explicit TKIdLookup(QWidget* parent = nullptr);
    ~TKIdLookup() override;

    // The owner's field that holds the referenced row's key.
    void setDataSource(TDataSource* source) { link_.setDataSource(source); }
    TDataSource* DataSource() const { return link_.source(); }
    void setDataField(const QString& name) { link_.setDataField(name); }
    const QString& DataField() const { return link_.dataField(); }

    // Where to look. The database is the company connection of DM unless one is set.
    data::Connection* K_LookupDataBase = nullptr;
    QString K_LookupTableName;
    QString K_LookupIDField = QStringLiteral("Id");
    QString K_LookupEditField = QStringLiteral("Code");
    QString K_DescriptionField = QStringLiteral("Description");
    // A condition in SQL that the row must also meet (the program's own text); empty for none.
    QString K_Filter;
    // The condition the lookup applies; K_Filter unless a frame knows better.
    virtual QString effectiveFilter() const { return K_Filter; }

    // Whether an empty box is a valid entry. Either way an empty box leaves the field NULL;
    // the owners check for required entries when they save.
    bool K_AllowNull = false;

    void setDescriptionLabel(QLabel* label);
    QLabel* K_DescriptionLabel() const { return label_; }

    // Shown in the label while no row is found.
    static QString NotFoundText() { return QStringLiteral("-"); }

    // Resolves the box's text now: the key of the matching row (NULL when none) into the bound
    // field, its description into the label. True when a row was found.
    bool ResolveCode();
    // The key last resolved or shown (null when none); what an unbound box holds.
    const QVariant& KeyValue() const { return key_; }
    QString DescriptionText() const { return description_; }
    // Whether the last lookup of a non-empty text found a row.
    bool Found() const { return found_; }

    // Shows the row whose key the bound field holds (code in the box, description in the label).
    void refresh();

    // A code typed into the box that has not been left yet is resolved as leaving the box
    // would resolve it (the exit handlers run); the box keeps the focus. Nothing happens when
    // the text is as last resolved or shown.
    void commitEntry();

  signals:
    // The box got the focus, by any route: a key, a click, a program step, the window coming
    // back to the front, whether or not the window is the active one.
    void entered();
    // The box was left for another control of its window; the code is resolved by the time
    // this is emitted. Another window coming to the front is not leaving the box.
    void exited();
    // A key was pressed in the box (before the box handles it). Setting `handled` stops it.
    void keyDown(QKeyEvent* event, bool& handled);

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void noteEntered();
    void noteLeft();
    // Follows the focus of the window the box is in (which changes when the box is placed).
    void watchWindow();

    data::Connection* database() const;
    data::Query& lookup();
    // Runs the lookup by `column` = value; fills code and description. False when no row.
    bool find(const QString& column, const QVariant& value, QString* code);
    void showDescription(const QString& text);

    FieldLink link_;
    QPointer<QLabel> label_;
    std::unique_ptr<data::Query> lookup_;
    QVariant key_;
    QString description_;
    bool found_ = false;
    // What refresh() last showed for the bound key.
    QString refreshedText_;
    bool shownByRefresh_ = false;
    // Between entering and leaving the box.
    bool inside_ = false;
    QPointer<QObject> watch_;
    QMetaObject::Connection watching_;
};

}  // namespace md::forms

class QHBoxLayout;
class QToolButton;

namespace md::forms {

// The one-line strip the lookup frames share: caption, optional red "*" for a required entry,
// the code box (120 pixels), a flat search button usable only while the box has the focus,
// and the description label ("-" until a row is found).
class TFaLookupFrame : public QFrame {
    Q_OBJECT
  public:
    TFaLookupFrame(QWidget* parent, TKIdLookup* box, bool required);

    QLabel* captionLabel() const { return caption_; }
    QLabel* requiredMark() const { return required_; }
    TKIdLookup* box() const { return box_; }
    QToolButton* searchButton() const { return button_; }
    QLabel* descriptionLabel() const { return description_; }

    // Handlers of the code box and the button; a derived frame or an owner replaces them and
    // calls these where it wants their behaviour.
    virtual void BoxEnter();
    virtual void BoxExit();
    virtual void BoxKeyDown(QKeyEvent* event, bool& handled);
    virtual void SearchClick() = 0;

  protected:
    // Puts a code chosen in a search into the box and focuses it, so that leaving the box
    // resolves it.
    void takeChosenCode(const QString& code);

  private:
    QLabel* caption_;
    QLabel* required_ = nullptr;
    TKIdLookup* box_;
    QToolButton* button_;
    QLabel* description_;
};

}  // namespace md::forms
