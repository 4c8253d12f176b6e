#include "product/Fa_SelectProdAttr.h"

#include "data/U_DM.h"
#include "data/statements/Statements.h"
#include "forms/Fr_Form.h"
#include "product/Fr_SearchProdAttrCode.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace md::product {

namespace {

const QString kBegin = QStringLiteral("BeginAttrCode");
const QString kEnd = QStringLiteral("EndAttrCode");
constexpr int kDefaultCodeSize = 10;

// The code columns' editor: the search button, upper case, and the code mask of the field.
class CodeCellDelegate : public forms::SearchButtonDelegate {
  public:
    using SearchButtonDelegate::SearchButtonDelegate;
    QObject* keyWatcher = nullptr;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = SearchButtonDelegate::createEditor(parent, option, index);
        if (keyWatcher)
            static_cast<forms::SearchCellEditor*>(editor)->edit()->installEventFilter(keyWatcher);
        return editor;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* e = static_cast<forms::SearchCellEditor*>(editor);
        int size = kDefaultCodeSize;
        if (const auto* model = qobject_cast<const forms::QueryModel*>(index.model()))
            if (const data::Field* f = model->fieldOf(index.column()); f && f->size() > 0)
                size = f->size();
        e->edit()->setInputMask(TFaSelectProdAttr::CodeMask(size));
        SearchButtonDelegate::setEditorData(editor, index);
        e->edit()->setCursorPosition(0);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        auto* e = static_cast<forms::SearchCellEditor*>(editor);
        forms::TFrForm::guarded(
            [&] { model->setData(index, e->edit()->text().trimmed(), Qt::EditRole); });
    }
};

}  // namespace

QString TFaSelectProdAttr::CodeMask(int size) {
    return QStringLiteral(">") + QString(size, u'n') + QStringLiteral("; ");
}

QChar TFaSelectProdAttr::HighestCharacter() {
    // U+FFFF carries the highest primary weight of the Unicode collation (it exists to bound
    // ranges from above); the single character 255 sorts as "y" and would leave out every code
    // that goes on with "Z". The combined keys stay in memory: SQL Server's Windows collations
    // give U+FFFF no weight, so a statement never bounds a range with it (AttributeRange.h).
    return QChar(0xFFFF);
}

QString TFaSelectProdAttr::GroupCodeBound(const QString& groupCode, const QString& attrCode) {
    const QString code = attrCode.trimmed();
    return groupCode.trimmed() + (code.isEmpty() ? QString(HighestCharacter()) : code);
}

TFaSelectProdAttr::TFaSelectProdAttr(QWidget* parent)
    : QFrame(parent),
      QProdAttrGroup(
          data::DM ? &data::DM->DMdata : nullptr,
          statements::text(QStringLiteral("Fa_SelectProdAttr"), QStringLiteral("QProdAttrGroup"))) {
    setObjectName(QStringLiteral("FaSelectProdAttr"));
    QProdAttrGroup.paramByName(QStringLiteral("GetType")).setAsString(QStringLiteral("P"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    DgSelectProdAttr = new forms::DbGrid(this);
    DgSelectProdAttr->setObjectName(QStringLiteral("DgSelectProdAttr"));
    DgSelectProdAttr->setSelectionBehavior(QAbstractItemView::SelectItems);
    DgSelectProdAttr->setEditTriggers(QAbstractItemView::AnyKeyPressed |
                                      QAbstractItemView::DoubleClicked |
                                      QAbstractItemView::EditKeyPressed);
    DgSelectProdAttr->setQuery(&QProdAttrGroup);
    // Leaving the grid drops a new row nothing was entered in (the one appended by moving past
    // the last row, or the row entering an empty list starts).
    DgSelectProdAttr->setCancelOnExit(true);
    DgSelectProdAttr->queryModel()->setReadOnly(false);
    DgSelectProdAttr->setColumns(
        // The group's name reads as a label: read-only, right-aligned cells and title.
        {{QStringLiteral("Description"), QStringLiteral("คุณสมบัติสินค้า"), 160, true, Qt::AlignRight,
          Qt::AlignRight},
         {kBegin, QStringLiteral("เริ่มต้น"), 120, false},
         {kEnd, QStringLiteral("สิ้นสุด"), 120, false}});
    auto* delegate = new CodeCellDelegate(
        DgSelectProdAttr,
        [this](const QModelIndex&, QLineEdit* edit) { DgSelectProdAttrEditButtonClick(edit); },
        true);
    delegate->keyWatcher = this;
    DgSelectProdAttr->setItemDelegateForColumn(1, delegate);
    DgSelectProdAttr->setItemDelegateForColumn(2, delegate);
    // The description reads as a label: button-face colour.
    DgSelectProdAttr->onGetCellParams = [this](forms::CellParams& p) {
        if (p.column == 0 && !p.highlight)
            p.background = palette().color(QPalette::Button);
    };
    layout->addWidget(DgSelectProdAttr);

    // The list's own events; the model chained itself onto them when the grid was given it.
    auto modelAfterOpen = QProdAttrGroup.afterOpen;
    QProdAttrGroup.afterOpen = [this, modelAfterOpen](data::Query& q) {
        if (modelAfterOpen)
            modelAfterOpen(q);
        QProdAttrGroupAfterOpen();
    };
    auto modelBeforeClose = QProdAttrGroup.beforeClose;
    QProdAttrGroup.beforeClose = [this, modelBeforeClose](data::Query& q) {
        QProdAttrGroupBeforeClose();
        if (modelBeforeClose)
            modelBeforeClose(q);
    };
    QProdAttrGroup.onNewRecord = [this](data::Query&) {
        if (attached_)
            QProdAttrGroupNewRecord();
    };
    QProdAttrGroup.afterScroll = [this](data::Query&) {
        if (attached_)
            QProdAttrGroupAfterScroll();
    };

    connect(DgSelectProdAttr->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                if (!current.isValid() || current.column() == lastColumn_)
                    return;
                lastColumn_ = current.column();
                forms::TFrForm::guarded([this] { DgSelectProdAttrColEnter(); });
            });
    // A code written into a row (as its cell is left) renews that row's combined keys; the
    // list stands on the row being written.
    connect(DgSelectProdAttr->queryModel(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft) {
                if (QProdAttrGroup.isOpen() && QProdAttrGroup.recNo() == topLeft.row())
                    forms::TFrForm::guarded([this] { recomputeGroupCodes(); });
            });
    // Entering and leaving by any route, the window active or not; a search dialog opened from
    // a cell is neither.
    connect(DgSelectProdAttr, &forms::DbGrid::focusEntered, this,
            [this] { forms::TFrForm::guarded([this] { DgSelectProdAttrEnter(); }); });
    connect(DgSelectProdAttr, &forms::DbGrid::focusLeft, this,
            [this] { forms::TFrForm::guarded([this] { DgSelectProdAttrExit(); }); });
    DgSelectProdAttr->installEventFilter(this);
}

TFaSelectProdAttr::~TFaSelectProdAttr() {
    disconnect(DgSelectProdAttr, nullptr, this, nullptr);
    attached_ = false;
    QProdAttrGroup.afterOpen = nullptr;
    QProdAttrGroup.beforeClose = nullptr;
    delete DgSelectProdAttr;  // the grid goes before the query it shows
    DgSelectProdAttr = nullptr;
}

void TFaSelectProdAttr::reopen() {
    QProdAttrGroup.close();
    QProdAttrGroup.open();
}

int TFaSelectProdAttr::columnOf(const char* field) const {
    return DgSelectProdAttr->queryModel()->columnOf(QString::fromLatin1(field));
}

QString TFaSelectProdAttr::currentFieldName() const {
    const QModelIndex at = DgSelectProdAttr->currentIndex();
    const auto& columns = DgSelectProdAttr->queryModel()->columns();
    if (!at.isValid() || at.column() >= int(columns.size()))
        return QString();
    return columns[size_t(at.column())].fieldName;
}

void TFaSelectProdAttr::moveTo(int row, int column) {
    forms::QueryModel* model = DgSelectProdAttr->queryModel();
    if (row < 0 || row >= model->rowCount())
        return;
    DgSelectProdAttr->setCurrentIndex(model->index(row, column));
}

void TFaSelectProdAttr::recomputeGroupCodes() {
    data::Query& q = QProdAttrGroup;
    if (!q.isOpen() || q.isEmpty() || q.recNo() < 0)
        return;
    const QString group = q.fieldByName(QStringLiteral("Code")).asString();
    const QString begin = GroupCodeBound(group, q.fieldByName(kBegin).asString());
    const QString end = GroupCodeBound(group, q.fieldByName(kEnd).asString());
    q.edit();
    q.fieldByName(QStringLiteral("BeginGroupCode")).setAsString(begin);
    q.fieldByName(QStringLiteral("EndGroupCode")).setAsString(end);
}

void TFaSelectProdAttr::QProdAttrGroupAfterOpen() {
    attached_ = true;
    lastColumn_ = -1;
}

void TFaSelectProdAttr::QProdAttrGroupBeforeClose() {
    attached_ = false;
}

void TFaSelectProdAttr::QProdAttrGroupNewRecord() {
    data::Query& q = QProdAttrGroup;
    // A row that other rows follow was inserted within the list: refused. A row appended
    // after the last one stays.
    if (q.isOpen() && q.recNo() < q.recordCount() - 1)
        q.cancel();
}

void TFaSelectProdAttr::QProdAttrGroupAfterScroll() {
    data::Query& q = QProdAttrGroup;
    if (q.isOpen() && !q.isEmpty())
        q.edit();  // typing goes straight into the row
}

void TFaSelectProdAttr::DgSelectProdAttrEnter() {
    data::Query& q = QProdAttrGroup;
    if (!q.isOpen())
        return;
    q.edit();  // on an empty list this starts one row without group
    DgSelectProdAttr->queryModel()->syncFetched();
    if (DgSelectProdAttr->queryModel()->rowCount() < q.recordCount())
        DgSelectProdAttr->queryModel()->refresh();
    const int row = q.recNo() >= 0 ? q.recNo() : 0;
    moveTo(row, columnOf("BeginAttrCode"));
}

void TFaSelectProdAttr::DgSelectProdAttrExit() {
    data::Query& q = QProdAttrGroup;
    if (!q.isOpen())
        return;
    recomputeGroupCodes();
}

void TFaSelectProdAttr::DgSelectProdAttrColEnter() {
    if (QProdAttrGroup.isOpen())
        QProdAttrGroup.edit();
}

void TFaSelectProdAttr::DgSelectProdAttrKeyDown(int& key) {
    data::Query& q = QProdAttrGroup;
    forms::QueryModel* model = DgSelectProdAttr->queryModel();
    const QModelIndex at = DgSelectProdAttr->currentIndex();
    const int row = at.isValid() ? at.row() : 0;
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            key = 0;
            if (currentFieldName() == kBegin)
                moveTo(row, columnOf("EndAttrCode"));
            else
                moveTo(row + 1 < model->rowCount() ? row + 1 : row, columnOf("BeginAttrCode"));
            break;
        case Qt::Key_F5:
            key = 0;
            DgSelectProdAttrEditButtonClick();
            break;
        case Qt::Key_Insert:
            key = 0;
            if (q.isOpen()) {
                q.insert();
                model->refresh();
                moveTo(q.recNo(), at.isValid() ? at.column() : columnOf("BeginAttrCode"));
            }
            break;
        case Qt::Key_Down:
            if (q.isOpen() && row == model->rowCount() - 1 && !q.isEmpty()) {
                key = 0;
                q.append();  // a row without group
                model->refresh();
                moveTo(q.recNo(), at.isValid() ? at.column() : columnOf("BeginAttrCode"));
            }
            break;
        default:
            break;
    }
}

void TFaSelectProdAttr::DgSelectProdAttrEditButtonClick(QLineEdit* editor) {
    data::Query& q = QProdAttrGroup;
    if (!q.isOpen())
        return;
    const QString column = currentFieldName();
    // A new dialog for each search, gone again whatever the answer.
    TFrSearchProdAttrCode search(this);
    search.GroupId = q.isEmpty() ? 0 : q.fieldByName(QStringLiteral("Id")).asInteger();
    if (search.exec() != QDialog::Accepted)
        return;
    q.edit();
    if (column == kBegin || column == kEnd) {
        q.fieldByName(column).setAsString(search.SelectedCode);
        if (editor)
            editor->setText(search.SelectedCode);
        recomputeGroupCodes();
        DgSelectProdAttr->queryModel()->syncFetched();
        DgSelectProdAttr->viewport()->update();
    }
}

bool TFaSelectProdAttr::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    auto* ke = static_cast<QKeyEvent*>(event);
    int key = ke->key();
    const bool fromEditor = watched != DgSelectProdAttr;
    // In an open cell editor only Enter moves on (F5 is the editor's own search).
    if (fromEditor && key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    if (!fromEditor && ke->modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier))
        return false;
    forms::TFrForm::guarded([&] { DgSelectProdAttrKeyDown(key); });
    return key == 0;
}

std::vector<AttributeRange> TFaSelectProdAttr::Ranges() {
    std::vector<AttributeRange> ranges;
    data::Query& q = QProdAttrGroup;
    if (!q.isOpen())
        return ranges;
    QWidget* grid = DgSelectProdAttr;
    grid->setUpdatesEnabled(false);
    for (q.first(); !q.eof(); q.next()) {
        ranges.push_back({q.fieldByName(QStringLiteral("Code")).asString(),
                          q.fieldByName(QStringLiteral("BeginAttrCode")).asString(),
                          q.fieldByName(QStringLiteral("EndAttrCode")).asString()});
    }
    grid->setUpdatesEnabled(true);
    return ranges;
}

}  // namespace md::product
