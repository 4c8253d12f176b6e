#pragma once

// The full product search: products narrowed by code and name, kind, attribute ranges, product
// type and group, and size, listed in the result layout the company option SearchProductNo
// names, with a picture preview (F12) and, in the stock layouts, the manufacturing details of a
// product from the context menu. Closing with OK leaves the chosen product's Code in
// ResultValue. The caller sets ProductTypeFilter, MasterCodeFilter and ShowBlocked before each
// showing; the dialog is made once and kept.
//
// Typed texts only ever act as the pattern or number they stand for: the code and the name are
// escaped LIKE patterns, and a size box that holds no number is refused in the box before
// anything goes to the server.

#include "forms/Fr_Search.h"
#include "product/ProductServiceStatement.h"

class QComboBox;
class QLabel;
class QMenu;
class QAction;
class QStatusBar;
class QToolButton;

namespace md::forms {
class TKIdLookup;
}

namespace md::product {

class TFaSelectProdAttr;
class ProductKindChoice;
class ProductPicturePreview;

class TFrSearchProductService : public forms::TFrSearch {
    Q_OBJECT
  public:
    explicit TFrSearchProductService(QWidget* parent = nullptr);
    ~TFrSearchProductService() override;

    // Inputs, set by the caller before showing.
    QString ProductTypeFilter;  // kind code that presets and locks the kind choice, or blank
    QString MasterCodeFilter;   // the MasterCode a product must have; "N" when blank at show
    bool ShowBlocked = false;

    // Internal state.
    QString PictureFolder;
    struct {
        qint64 PType = 0;  // key of the chosen product type, 0 for none
    } MData;
    struct {
        qint64 PGroup = 0;  // key of the chosen product group, 0 for none
    } MData2;

    // The attribute strip.
    QFrame* PnAttr;
    TFaSelectProdAttr* FaSelectProdAttr1;
    ProductKindChoice* SelectProductType;
    // The criteria panel (PanelHeader of the base): the code box Code and the base's buttons,
    QLabel* Name;
    QComboBox* SearchMethod;  // "ขึ้นต้นด้วย", "ประกอบด้วย"
    QLineEdit* ProductName;
    QLabel* LbPType;
    forms::TKIdLookup* PType;
    QToolButton* BtSearchPType;
    QLabel* PTypeDesc;
    QLabel* LbPGroup;
    forms::TKIdLookup* PGroup;
    QToolButton* BtSearchPGroup;
    QLabel* PGroupDesc;
    QLineEdit* Size_W;
    QLineEdit* Size_L;
    QLineEdit* Size_H;
    // Beside the result grid, and below it.
    ProductPicturePreview* HidePanel;
    QStatusBar* fcStatusBar1;
    QLabel* StatusPreview;
    QLabel* StatusTitle;
    QMenu* PopupMenu1;
    QAction* N1;

    // The criteria as the dialog holds them now (sizes as typed).
    ProductServiceCriteria Criteria();

    // Handlers.
    void FormShow() override;
    void BtSearchClick() override;
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    virtual void SelectProductTypeClick(int item);
    virtual void BtSearchPTypeClick();
    virtual void BtSearchPGroupClick();
    virtual void ProductNameExit();
    virtual void CodeExit();
    virtual void DSearchDataChange();
    virtual void N1Click();

    // The text of the message that refuses a size box holding no number.
    QString SizeRefusalText() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void buildResultColumns(int layout, bool english);
    void applyProductKind();
    void openAttributes(const QString& type);
    void fillLastSearch();
    void putLookupCode(forms::TKIdLookup* box, const QString& code);
    bool attributeGridHasFocus() const;
    // The first size box holding a text that is no number, nullptr when every one is sound.
    QLineEdit* refusedSizeBox() const;
    std::vector<AttributeRange> attributeRanges();
};

}  // namespace md::product
