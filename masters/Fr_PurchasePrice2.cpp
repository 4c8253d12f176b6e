#include "masters/Fr_PurchasePrice2.h"

#include "data/Connection.h"
#include "data/Dm_Config.h"
#include "data/Prompts.h"
#include "data/U_DM.h"
#include "data/statements/Statements.h"
#include "forms/Fa_GetFrVendor.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>

namespace md::masters {

namespace {

QStringList sqlOf(const char* component) {
    return statements::text(QStringLiteral("U_PurchasePrice2"), QString::fromLatin1(component));
}

data::Connection* companyConnection() {
    return data::DM ? &data::DM->DMdata : nullptr;
}

bool sameName(const QString& a, const char* b) {
    return a.compare(QLatin1StringView(b), Qt::CaseInsensitive) == 0;
}

// The vendor strip of this window: its own exit and key handling run after the frame's.
class VendorStrip : public forms::TFaGetFrVendor {
  public:
    using TFaGetFrVendor::TFaGetFrVendor;
    std::function<void()> onExit;
    std::function<void(QKeyEvent*, bool&)> onKeyDown;

    void VendorExit() override {
        TFaGetFrVendor::VendorExit();
        if (onExit)
            onExit();
    }
    void BoxKeyDown(QKeyEvent* event, bool& handled) override {
        TFaGetFrVendor::BoxKeyDown(event, handled);
        if (!handled && onKeyDown)
            onKeyDown(event, handled);
    }
};

}  // namespace

TF_PurchasePrice2::TF_PurchasePrice2(QWidget* parent)
    : TFrForm(parent),
      QPrice(companyConnection(), sqlOf("QPrice")),
      QNULL(companyConnection(), sqlOf("QNULL")),
      DNULL(&QNULL),
      QCURRENCY(companyConnection(), sqlOf("QCURRENCY")) {
    setObjectName(QStringLiteral("F_PurchasePrice2"));
    UPrice.modifySql = sqlOf("UPrice.Modify");
    UPrice.insertSql = sqlOf("UPrice.Insert");
    UPrice.deleteSql = sqlOf("UPrice.Delete");
    resize(741, 454);

    auto* layout = new QVBoxLayout(clientArea());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    GroupBox1 = new QGroupBox(clientArea());
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setFixedHeight(53);
    auto* strip = new VendorStrip(GroupBox1);
    FaGetFrVendor1 = strip;
    FaGetFrVendor1->setObjectName(QStringLiteral("FaGetFrVendor1"));
    // The box keeps the vendor's key in the scratch record, not in a FrVendor column.
    FaGetFrVendor1->Vendor->setDataSource(&DNULL);
    FaGetFrVendor1->Vendor->setDataField(QStringLiteral("id"));
    auto* stripRow = new QHBoxLayout(GroupBox1);
    stripRow->setContentsMargins(8, 4, 8, 4);
    stripRow->addWidget(FaGetFrVendor1);
    layout->addWidget(GroupBox1);

    DataGrid = new forms::EditGrid(clientArea());
    DataGrid->setObjectName(QStringLiteral("DataGrid"));
    DataGrid->setQuery(&QPrice);
    DataGrid->queryModel()->setReadOnly(false);
    layout->addWidget(DataGrid, 1);

    GroupBox2 = new QGroupBox(clientArea());
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setFixedHeight(50);
    BtDelete = new QPushButton(QStringLiteral(u"ลบรายการ"), GroupBox2);
    BtDelete->setObjectName(QStringLiteral("BtDelete"));
    BtDelete->setFocusPolicy(Qt::NoFocus);
    BtDelete->setCursor(Qt::PointingHandCursor);
    BtDelete->setStyleSheet(
        QStringLiteral("QPushButton { background-color: navy; color: white; font-weight: bold; "
                       "padding: 4px 16px; }"));
    auto* bottom = new QHBoxLayout(GroupBox2);
    bottom->setContentsMargins(8, 4, 8, 4);
    bottom->addWidget(BtDelete);
    bottom->addStretch(1);
    layout->addWidget(GroupBox2);

    strip->onExit = [this] { FaGetFrVendor1VendorExit(); };
    strip->onKeyDown = [this](QKeyEvent* e, bool& handled) {
        FaGetFrVendor1VendorKeyDown(e, handled);
    };
    QPrice.onNewRecord = [this](data::Query&) { QPriceNewRecord(); };
    connect(DataGrid, &forms::EditGrid::cellCommitted, this,
            [this](int row, int column) { guarded([&] { cellCommitted(row, column); }); });
    connect(DataGrid, &forms::EditGrid::searchRequested, this,
            [this](int column) { guarded([&] { DataGridSearch(column); }); });
    connect(DataGrid, &forms::EditGrid::newRowWanted, this,
            [this](bool insert) { guarded([&] { newRowWanted(insert); }); });
    connect(DataGrid, &forms::EditGrid::deleteRowWanted, this,
            [this] { guarded([&] { deleteCurrentRow(); }); });
    connect(BtDelete, &QPushButton::clicked, this, [this] { guarded([&] { BtDeleteClick(); }); });
    connect(forms::FocusWatch::of(this), &forms::FocusWatch::moved, this,
            &TF_PurchasePrice2::focusMoved);
}

TF_PurchasePrice2::~TF_PurchasePrice2() {
    disconnect(forms::FocusWatch::of(this), nullptr, this, nullptr);
    QPrice.onNewRecord = nullptr;
    delete DataGrid;  // the grid goes before the query it shows
    DataGrid = nullptr;
}

void TF_PurchasePrice2::FormShow() {
    setWindowTitle(data::DMConfig ? data::DMConfig->MenuCaption : QString());
    data::DM->DMdata.open();
    TFrForm::FormShow();
    // Rows go with the window's own button; the Delete action and its button are hidden.
    AcDel->setVisible(false);
    for (QAction* a : ToolBar1->actions()) {
        if (ToolBar1->widgetForAction(a) == BDel)
            a->setVisible(false);
    }
    QNULL.close();
    QNULL.open();
    QNULL.edit();
    AcNewExecute();
}

void TF_PurchasePrice2::AcNewExecute() {
    TFrForm::AcNewExecute();
    QNULL.close();
    QNULL.open();
    QNULL.edit();
    QNULL.fieldByName(QStringLiteral("id")).setAsInteger(-1);
    DNULL.notifyDataChanged();
    FaGetFrVendor1->Vendor->clear();
    RunSQL(-1);
    FaGetFrVendor1->setEnabled(true);
    FaGetFrVendor1->Vendor->setEnabled(true);
    FaGetFrVendor1->BtSearch->setEnabled(true);
    FaGetFrVendor1->Vendor->setFocus(Qt::OtherFocusReason);
}

void TF_PurchasePrice2::SetGrid(const QString& fieldName, int width, const QString& title,
                                bool customEditor, const QString& editorName, bool readOnly) {
    forms::EditColumn column;
    column.fieldName = fieldName;
    column.widthChars = width;
    column.title = title;
    column.editorName = customEditor ? editorName : QString();
    // The product and currency codes are upper case, as the codes are kept.
    column.upperCase = customEditor && editorName != QStringLiteral("DBUnitName");
    column.readOnly = readOnly;
    columns_.push_back(column);
}

void TF_PurchasePrice2::RunSQL(qint64 vendor) {
    DataGrid->commitEditor();
    columns_.clear();
    SetGrid(QStringLiteral("Code"), 15, QStringLiteral(u"รหัส"), true, QStringLiteral("Code"),
            false);
    SetGrid(QStringLiteral("ThaiName"), 40, QStringLiteral(u"ชื่อสินค้า"), false, {}, false);
    SetGrid(QStringLiteral("UnitName"), 10, QStringLiteral(u"หน่วยสินค้า"), true,
            QStringLiteral("DBUnitName"), false);
    SetGrid(QStringLiteral("Price"), 10, QStringLiteral(u"ราคาซื้อ"), false, {}, false);
    SetGrid(QStringLiteral("Code_1"), 10, QStringLiteral(u"สกุลเงิน"), true,
            QStringLiteral("DBCurrenCy"), false);
    SetGrid(QStringLiteral("DisCountStr"), 10, QStringLiteral(u"ส่วนลด%"), false, {}, false);
    SetGrid(QStringLiteral("PurchaseCode"), 15, QStringLiteral(u"รหัสผู้จำหน่าย"), false, {}, false);
    SetGrid(QStringLiteral("PurchaseName"), 30, QStringLiteral(u"ชื่อสินค้าของผู้จำหน่าย"), false, {},
            false);
    QPrice.close();
    DataGrid->setEditColumns(columns_);
    QPrice.paramByName(QStringLiteral("GVENDOR")).setAsInteger(vendor);
    QPrice.open();
    loadedVendor_ = vendor;
}

qint64 TF_PurchasePrice2::vendorId() {
    if (!QNULL.isOpen() || QNULL.isEmpty())
        return 0;
    const data::Field& id = QNULL.fieldByName(QStringLiteral("id"));
    return id.isNull() ? 0 : id.asInteger();
}

void TF_PurchasePrice2::FaGetFrVendor1VendorExit() {
    const qint64 id = vendorId();
    if (id <= 0) {
        // No vendor of that code: the box keeps the focus until one is typed. A list still on
        // screen is not saved under a code that names no vendor (its audit row would name it);
        // the vendor's code typed again takes the list up with its changes.
        AcSave->setEnabled(false);
        FaGetFrVendor1->setEnabled(true);
        FaGetFrVendor1->Vendor->setEnabled(true);
        FaGetFrVendor1->BtSearch->setEnabled(true);
        FaGetFrVendor1->Vendor->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The box left with the vendor whose list is on screen keeps that list and its changes;
    // another vendor's list replaces it without a question.
    if (id != loadedVendor_)
        RunSQL(id);
    AcSave->setEnabled(true);
    DataGrid->setFocus(Qt::OtherFocusReason);
    DataGridEnter();
    DataGrid->goToCell(QPrice.recNo() >= 0 ? QPrice.recNo() : 0, 0);
}

void TF_PurchasePrice2::FaGetFrVendor1VendorKeyDown(QKeyEvent* event, bool& handled) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !FaGetFrVendor1->Vendor->text().trimmed().isEmpty()) {
        handled = true;
        DataGrid->setFocus(Qt::OtherFocusReason);
    }
}

bool TF_PurchasePrice2::inGrid(const QWidget* w) const {
    return w && DataGrid && (w == DataGrid || DataGrid->isAncestorOf(w));
}

void TF_PurchasePrice2::focusMoved(QWidget*, QWidget* to) {
    const bool now = inGrid(to);
    if (now == inGrid_)
        return;
    inGrid_ = now;
    guarded([&] {
        if (now)
            DataGridEnter();
        else
            DataGridExit();
    });
}

void TF_PurchasePrice2::DataGridEnter() {
    setKeyPreview(false);
    // Without a vendor there is no list to start a row in.
    if (!QPrice.isOpen() || loadedVendor_ <= 0 || vendorId() != loadedVendor_)
        return;
    const int before = DataGrid->queryModel()->rowCount();
    QPrice.edit();  // on an empty list this starts the first row
    if (QPrice.fetchedCount() != before) {
        DataGrid->queryModel()->refresh();
        rowsChanged(QPrice.recNo(), 0);
    }
}

void TF_PurchasePrice2::DataGridExit() {
    setKeyPreview(true);
}

void TF_PurchasePrice2::QPriceNewRecord() {
    QPrice.fieldByName(QStringLiteral("FrVendor")).setAsInteger(vendorId());
    QPrice.fieldByName(QStringLiteral("Product")).setAsInteger(0);
    QPrice.fieldByName(QStringLiteral("ProductUnits")).setAsInteger(0);
}

void TF_PurchasePrice2::rowsChanged(int row, int column) {
    DataGrid->queryModel()->syncFetched();
    if (DataGrid->queryModel()->rowCount() != QPrice.fetchedCount())
        DataGrid->queryModel()->refresh();
    if (row >= 0)
        DataGrid->goToCell(row, column);
}

QString TF_PurchasePrice2::currentFieldName() const {
    return DataGrid->fieldNameOf(DataGrid->currentIndex().column());
}

void TF_PurchasePrice2::cellCommitted(int row, int column) {
    if (!QPrice.isOpen())
        return;
    if (QPrice.recNo() != row)
        QPrice.moveTo(row);
    const QString field = DataGrid->fieldNameOf(column);
    if (sameName(field, "Code"))
        CodeExit();
    else if (sameName(field, "UnitName"))
        DBUnitNameExit();
    else if (sameName(field, "Code_1"))
        DBCurrenCyExit();
    QAbstractItemModel* model = DataGrid->model();
    emit model->dataChanged(model->index(row, 0), model->index(row, model->columnCount() - 1));
}

void TF_PurchasePrice2::followGrid() {
    const QModelIndex at = DataGrid->currentIndex();
    if (QPrice.isOpen() && at.isValid() && at.row() < QPrice.fetchedCount() &&
        QPrice.recNo() != at.row())
        QPrice.moveTo(at.row());
}

void TF_PurchasePrice2::newRowWanted(bool insert) {
    if (!QPrice.isOpen() || loadedVendor_ <= 0)
        return;
    followGrid();
    const int column = DataGrid->currentIndex().isValid() ? DataGrid->currentIndex().column() : 0;
    if (!insert && QPrice.recNo() >= 0 && QPrice.updateStatus() == data::UpdateStatus::Inserted &&
        QPrice.fieldByName(QStringLiteral("Product")).asInteger() <= 0)
        return;  // the last row is a new one still without a product: no second one after it
    if (insert)
        QPrice.insert();
    else
        QPrice.append();
    DataGrid->queryModel()->refresh();
    rowsChanged(QPrice.recNo(), insert ? column : 0);
}

void TF_PurchasePrice2::deleteCurrentRow() {
    if (!QPrice.isOpen() || QPrice.isEmpty() || QPrice.recNo() < 0)
        return;
    followGrid();
    const int column = DataGrid->currentIndex().isValid() ? DataGrid->currentIndex().column() : 0;
    QPrice.deleteRecord();
    DataGrid->queryModel()->refresh();
    if (QPrice.recNo() >= 0)
        DataGrid->goToCell(QPrice.recNo(), column);
}

void TF_PurchasePrice2::BtDeleteClick() {
    // A row of the table goes from it at save; one only typed goes at once.
    DataGrid->commitEditor();
    if (!QPrice.isOpen() || QPrice.isEmpty() || QPrice.recNo() < 0)
        return;
    followGrid();
    deleteCurrentRow();
}

void TF_PurchasePrice2::DataGridSearch(int column) {
    followGrid();
    const QString field = DataGrid->fieldNameOf(column).toUpper();
    if (field == QStringLiteral("CODE"))
        SearchProduct();
    else if (field == QStringLiteral("UNITNAME"))
        SearchUnit();
    else if (field == QStringLiteral("CODE_1"))
        SearchCurrency();
    // Any other column has no search.
}

void TF_PurchasePrice2::putIntoEditor(const QString& field, const QString& text) {
    const int column = DataGrid->columnOfField(field);
    const int row = QPrice.recNo();
    if (column < 0 || row < 0)
        return;
    DataGrid->queryModel()->syncFetched();
    QAbstractItemModel* model = DataGrid->model();
    emit model->dataChanged(model->index(row, 0), model->index(row, model->columnCount() - 1));
    DataGrid->setFocus(Qt::OtherFocusReason);
    DataGrid->goToCell(row, column);
    if (QLineEdit* edit = DataGrid->openEdit()) {
        edit->setText(text);
        edit->setModified(true);  // resolved as a typed code is, when the cell is left
        edit->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace md::masters
