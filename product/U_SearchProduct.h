#pragma once

// The compact product search: products (not blocked, not of kind "P") whose code begins with the
// code text and whose name begins with or contains the name text, narrowed by the attribute
// ranges entered in the attribute frame. The typed texts enter the statement as escaped
// literals, so a quote or a LIKE wildcard is only a character to look for. After OK the opener
// reads ChosenCode.

#include "data/Query.h"
#include "forms/DbGrid.h"
#include "product/AttributeRange.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace md::product {

class TFaSelectProdAttr;

class TF_SearchProduct : public QDialog {
    Q_OBJECT
  public:
    explicit TF_SearchProduct(QWidget* parent = nullptr);
    ~TF_SearchProduct() override;

    QPushButton* BtSearch;
    QPushButton* BtOK;
    QPushButton* BtCancel;
    QGroupBox* GroupAttr;
    TFaSelectProdAttr* FaSelectProdAttr1;
    QLineEdit* ProductCode;
    QComboBox* SearchMethod;  // "ขึ้นต้นด้วย", "ประกอบด้วย"
    QLineEdit* ProductName;
    forms::DbGrid* ListData;
    data::Query QSearch;

    QString ChosenCode;
    // 0 by Code, 1 by ThaiName; one value for the whole program.
    static int ProductSortOrder;

    // One attribute range as the frame holds it.
    using AttrRange = AttributeRange;
    // The statement for the typed texts (as typed), the match mode, the ranges and the order.
    static QStringList Statement(const QString& code, const QString& name, bool contains,
                                 const std::vector<AttrRange>& ranges, int sortOrder);

    virtual void FormShow();
    virtual void BtSearchClick();
    virtual void BtOKClick();
    virtual void BtCancelClick();
    virtual void ListDataTitleClick(data::Field& field);
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::vector<AttrRange> attributeRanges();
};

}  // namespace md::product
