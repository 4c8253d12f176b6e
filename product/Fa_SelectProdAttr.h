#pragma once

// The product attribute selection frame: the attribute groups of one product kind, each with a
// beginning and an end attribute code that the user types or picks (F5 or the cell's button opens
// the group's code search). Nothing is written to the database: the codes live in the list until
// it is closed, and the search dialogs that place the frame read every row's Code, BeginAttrCode
// and EndAttrCode after the grid has been left.
//
// Rows: Insert within the list adds nothing; moving down past the last row appends a row without
// group, which adds nothing to a search while both its codes are blank, and which leaving the
// grid drops again while nothing was entered in it. Leaving also takes a code still being typed
// into its row, so the owner reads what is on screen.

#include "data/Query.h"
#include "forms/DbGrid.h"
#include "product/AttributeRange.h"

#include <QFrame>
#include <vector>

namespace md::product {

class TFaSelectProdAttr : public QFrame {
    Q_OBJECT
  public:
    explicit TFaSelectProdAttr(QWidget* parent = nullptr);
    ~TFaSelectProdAttr() override;

    forms::DbGrid* DgSelectProdAttr;
    data::Query QProdAttrGroup;  // parameter GetType, "P" until an owner sets another kind
    // Every row's group code and its beginning and end codes, as the searches read them once
    // the grid has been left (the grid is not redrawn while the rows are walked).
    std::vector<AttributeRange> Ranges();

    // The edit mask of a code column of `size` characters: upper case, each position an optional
    // letter or digit, blank as placeholder.
    static QString CodeMask(int size);
    // A combined group-and-code key: the trimmed group code followed by the trimmed attribute
    // code, or by the highest character when the code is blank (so it bounds every code of the
    // group from above).
    static QString GroupCodeBound(const QString& groupCode, const QString& attrCode);
    // The highest character a code can be compared with in memory (not on SQL Server, whose
    // Windows collations ignore it: statements use AttributeRangeCondition).
    static QChar HighestCharacter();

    // Handlers.
    virtual void QProdAttrGroupAfterOpen();
    virtual void QProdAttrGroupBeforeClose();
    virtual void QProdAttrGroupNewRecord();
    virtual void QProdAttrGroupAfterScroll();
    virtual void DgSelectProdAttrEnter();
    virtual void DgSelectProdAttrExit();
    virtual void DgSelectProdAttrColEnter();
    // `key` 0 when consumed.
    virtual void DgSelectProdAttrKeyDown(int& key);
    // Opens the code search for the current row; `editor` is the open cell editor, if any.
    virtual void DgSelectProdAttrEditButtonClick(QLineEdit* editor = nullptr);

    // Closes and reopens the list (the codes entered are gone).
    void reopen();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int columnOf(const char* field) const;
    QString currentFieldName() const;
    void moveTo(int row, int column);
    void recomputeGroupCodes();
    bool attached_ = false;
    int lastColumn_ = -1;
};

}  // namespace md::product
