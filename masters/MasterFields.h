#pragma once

// The pieces the foreign vendor and foreign customer windows are built from: edits bound to a
// column, a group code box with its search button and name label, a miscellaneous-code frame
// lined up with the captions, and the save checks that stop at the first missing entry.

#include "forms/DataControls.h"
#include "forms/Fa_GetMisc.h"
#include "forms/KIdLookup.h"

#include <QString>
#include <initializer_list>

class QLabel;
class QToolButton;

namespace md::masters {

// An edit named `name`, bound to `field` of `source`; `width` pixels wide when given.
forms::TDBEdit* boundEdit(QWidget* parent, forms::TDataSource* source, const QString& field,
                          const QString& name, int width = 0);

// A code box on `table` (key Id, code Code, name Name) bound to `field`, with its search button
// and the label that shows the group's name, side by side in `row`.
struct GroupBox {
    QWidget* row;
    forms::TKIdLookup* box;
    QToolButton* button;
    QLabel* name;
};
GroupBox makeGroupBox(QWidget* parent, forms::TDataSource* source, const QString& table,
                      const QString& field, const QString& name);

// A miscellaneous-code frame bound to `field`, looking in `group` ("COUNTRY", "CURRENCY"),
// captioned `caption`; its own caption is as wide as the window's caption column.
forms::TFaGetMisc* makeMiscFrame(QWidget* parent, forms::TDataSource* source,
                                 const QString& caption, const QString& field, const QString& group,
                                 const QString& name);

// Whether a code box lacks its entry: nothing typed, or a code that names no row, so that no
// key reached the bound field.
bool lacksEntry(const forms::TKIdLookup* box);

// One check of a save: when `missing`, the plain message box shows `message` and the focus goes
// to `control`.
struct SaveCheck {
    bool missing;
    QString message;
    QWidget* control;
};
// Runs the checks in order and stops at the first that fails; true when all pass.
bool runSaveChecks(std::initializer_list<SaveCheck> checks);

// Chains the Enter walk through `controls` in the order given.
void setEnterOrder(std::initializer_list<QWidget*> controls);

}  // namespace md::masters
