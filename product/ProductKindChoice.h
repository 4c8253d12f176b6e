#pragma once

// The product kind choice of the full product search: five radio items under the heading
// "ประเภทสินค้า", each standing for a product-kind code. It can show no item at all (a free
// choice before the user picks one).

#include <QFrame>
#include <QString>

class QButtonGroup;
class QLabel;
class QRadioButton;

namespace md::product {

class ProductKindChoice : public QFrame {
    Q_OBJECT
  public:
    explicit ProductKindChoice(QWidget* parent = nullptr);

    QLabel* Heading;
    QRadioButton* Items[5];

    // The code an item stands for ("P", "S", "M", "R", "A"), and the item of a kind code
    // (-1 for a code no item stands for).
    static QString CodeOfItem(int item);
    static int ItemOfCode(const QString& code);

    // The item shown, -1 for none.
    int shownItem() const;
    // Shows an item (-1 shows none) without it counting as the user's choice.
    void showItem(int item);

    void setEnglish(bool english);

  signals:
    // The user chose an item (a click, or moving to it with the arrow keys).
    void itemChosen(int item);

  private:
    QButtonGroup* group_;
};

}  // namespace md::product
