#pragma once

// The attribute-code search: the codes of one attribute group, narrowed to those whose
// description contains the typed text (or equals it with FullWord). The typed text enters the
// statement as an escaped literal. The attribute frame makes one for each search; after OK it
// reads SelectedCode.

#include "data/Query.h"
#include "forms/DbGrid.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace md::product {

class TFrSearchProdAttrCode : public QDialog {
    Q_OBJECT
  public:
    explicit TFrSearchProdAttrCode(QWidget* parent = nullptr);
    ~TFrSearchProdAttrCode() override;

    QLineEdit* Description;
    QCheckBox* FullWord;
    QPushButton* BtOk;
    QPushButton* BtCancel;
    forms::DbGrid* ListData;
    data::Query QSearch;

    qint64 GroupId = 0;
    QString SelectedCode;

    // The statement for a group and a typed text (already trimmed).
    static QStringList Statement(qint64 groupId, const QString& text, bool fullWord);

    virtual void FormShow();
    virtual void Search();
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace md::product
