#include "forms/Fr_Search.h"

#include "data/Dm_Config.h"
#include "data/Prompts.h"
#include "data/U_DM.h"
#include "data/statements/Statements.h"
#include "errors/TApplication.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace md::forms {

QString TFrSearch::LastSortField;
bool TFrSearch::SortDescNext = false;

namespace {

bool thai() {
    return data::DMConfig && data::DMConfig->LanguageThai;
}

bool isY(const QVariant& v) {
    return !v.isNull() && v.toString() == QStringLiteral("Y");
}

QString fragment(const char* name) {
    return md::statements::text(QStringLiteral("Fr_Search"), QString::fromLatin1(name)).join(u' ');
}

const QString kGridHint = QStringLiteral(u"สีแดง : เอกสารยกเลิก\nสีน้ำเงิน : เอกสารรับ/จ่ายแล้ว");

}  // namespace

QString TFrSearch::LikeLiteral(const QString& typed) {
    QString out;
    out.reserve(typed.size() + 8);
    for (const QChar c : typed) {
        if (c == u'%' || c == u'_' || c == u'[') {
            out += u'[';
            out += c;
            out += u']';
        } else {
            out += c;
        }
    }
    return out;
}

bool TFrSearch::IsBlobField(const data::Field& field) {
    const data::ColumnInfo& info = field.info();
    if (info.type == QMetaType::QByteArray)
        return true;
    if (info.type != QMetaType::QString)
        return false;
    return info.size > 8000 || (info.size < 0 && !info.baseColumn.isEmpty());
}

TFrSearch::TFrSearch(QWidget* parent)
    : QDialog(parent),
      QSearch(data::DM ? &data::DM->DMdata : nullptr),
      DelSQL(data::DM ? &data::DM->DMdata : nullptr) {
    setWindowTitle(QStringLiteral(u"ค้นหา"));
    // A fixed dialog border without border icons, centred as it is shown.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    QFont f = font();
    f.setPixelSize(13);
    setFont(f);
    resize(528, 279);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    PanelHeader = new QFrame(this);
    PanelHeader->setObjectName(QStringLiteral("PanelHeader"));
    PanelHeader->setFrameShape(QFrame::StyledPanel);
    PanelHeader->setFixedHeight(32);
    auto* header = new QHBoxLayout(PanelHeader);
    header->setContentsMargins(4, 2, 4, 2);
    Label3 = new QLabel(QStringLiteral(u"รหัส"), PanelHeader);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Code = new QLineEdit(PanelHeader);
    Code->setObjectName(QStringLiteral("Code"));
    Code->setFixedWidth(120);
    setUpperCaseInput(Code);
    Label3->setBuddy(Code);
    BtSearch = new QPushButton(QStringLiteral(u"ค้นหา"), PanelHeader);
    BtSearch->setObjectName(QStringLiteral("BtSearch"));
    BtSearch->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
    BtOk = new QPushButton(QStringLiteral(u"เลือก"), PanelHeader);
    BtOk->setObjectName(QStringLiteral("BtOk"));
    BtCancel = new QPushButton(QStringLiteral(u"ไม่เลือก"), PanelHeader);
    BtCancel->setObjectName(QStringLiteral("BtCancel"));
    for (QPushButton* b : {BtSearch, BtOk, BtCancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    header->addWidget(Label3);
    header->addWidget(Code);
    header->addWidget(BtSearch);
    header->addWidget(BtOk);
    header->addWidget(BtCancel);
    header->addStretch(1);
    layout->addWidget(PanelHeader);

    DgSearch = new DbGrid(this);
    DgSearch->setObjectName(QStringLiteral("DgSearch"));
    DgSearch->setToolTip(kGridHint);
    DgSearch->setQuery(&QSearch);
    layout->addWidget(DgSearch, 1);
    setTabOrder(Code, BtOk);
    setTabOrder(BtOk, BtCancel);
    setTabOrder(BtCancel, DgSearch);

    connect(BtSearch, &QPushButton::clicked, this, errors::Guarded([this] { BtSearchClick(); }));
    connect(BtOk, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(BtCancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    connect(DgSearch, &DbGrid::gridDoubleClicked, this,
            errors::Guarded([this] { DgSearchDblClick(); }));
    connect(DgSearch, &DbGrid::mousePressed, this,
            errors::Guarded([this](Qt::MouseButton button, Qt::KeyboardModifiers shift) {
                DgSearchMouseDown(button, shift);
            }));
    connect(DgSearch, &DbGrid::titleClicked, this, errors::Guarded([this](int column) {
                if (data::Field* f = DgSearch->queryModel()->fieldOf(column))
                    DgSearchTitleBtnClick(*f);
            }));
    DgSearch->onGetCellParams = [this](CellParams& p) { DgSearchGetCellParams(p); };

    qApp->installEventFilter(this);
}

TFrSearch::~TFrSearch() {
    qApp->removeEventFilter(this);
    // The grid goes before the queries it shows.
    delete DgSearch;
    DgSearch = nullptr;
}

QVariant TFrSearch::rowValue(int row, const QString& column) {
    const data::Field* f = QSearch.isOpen() ? QSearch.findField(column) : nullptr;
    return f ? QSearch.valueAt(row, f->index()) : QVariant();
}

void TFrSearch::FormShow() {
    if (!thai()) {
        const std::pair<QPushButton*, QString> english[] = {{BtSearch, QStringLiteral("Search")},
                                                            {BtOk, QStringLiteral("Choose")},
                                                            {BtCancel, QStringLiteral("Cancel")}};
        for (const auto& [button, caption] : english) {
            button->setText(caption);
            QFont small = button->font();
            small.setPointSize(8);
            button->setFont(small);
        }
        DgSearch->setToolTip(QString());
    } else {
        DgSearch->setToolTip(kGridHint);
    }
    QSearch.close();
    Code->clear();
    Code->setFocus();
}

void TFrSearch::BtSearchClick() {
    QSearch.close();
    QSearch.open();
    if (!QSearch.isEmpty()) {
        DgSearch->setFocus();
        QSearch.first();
        DgSearch->syncToQuery();
    }
}

void TFrSearch::FormKeyDown(int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        key = 0;
        if (focusWidget() == DgSearch)
            done(QDialog::Accepted);
        else
            BtSearchClick();
    } else if (key == Qt::Key_Escape) {
        key = 0;
        done(QDialog::Rejected);
    } else if (key == Qt::Key_Down && focusWidget() == Code) {
        key = 0;
        DgSearch->setFocus();
    }
}

void TFrSearch::FormKeyPress(QChar& key) {
    if (key == u'\r' || key == u'\n')
        key = QChar();
}

void TFrSearch::DgSearchDblClick() {
    done(QDialog::Accepted);
}

void TFrSearch::FormClose(int& result, CloseAction& action) {
    if (result != QDialog::Accepted || QSearch.isEmpty()) {
        ResultValue.clear();
        result = QDialog::Rejected;
        return;
    }
    ResultValue = QSearch.fieldByName(KeyField).asString();
    const data::Field* delFlag = QSearch.findField(QStringLiteral("DelFlag"));
    if (delFlag && isY(delFlag->value())) {
        data::prompts().information(thai() ? QStringLiteral(u"เอกสารถูกยกเลิกแล้ว")
                                           : QStringLiteral("Document Was Deleted"));
        if (const data::Field* remark = QSearch.findField(QStringLiteral("DelRemark"))) {
            data::prompts().information(QStringLiteral(u"สาเหตุยกเลิก : ") + remark->asString());
        }
        ResultValue.clear();
        action = CloseAction::None;
    }
}

void TFrSearch::done(int result) {
    CloseAction action = CloseAction::Hide;
    bool failed = true;
    TFrForm::guarded([&] {
        FormClose(result, action);
        failed = false;
    });
    // A failing result rule keeps the window open, with nothing chosen.
    if (failed) {
        ResultValue.clear();
        return;
    }
    if (action == CloseAction::None)
        return;
    QDialog::done(result);
}

void TFrSearch::DgSearchGetCellParams(CellParams& p) {
    const auto decide = [&](const QString& column, auto&& colourOf) {
        if (!QSearch.isOpen() || !QSearch.findField(column))
            return false;
        const QColor c = colourOf(rowValue(p.row, column));
        if (c.isValid()) {
            p.background = c;
        } else {
            p.background = DgSearch->defaultBackground(p.highlight);
            p.font = DgSearch->defaultFont(p.highlight);
        }
        return true;
    };
    if (decide(QStringLiteral("DelFlag"),
               [](const QVariant& v) { return isY(v) ? QColor(Qt::red) : QColor(); }))
        return;
    if (decide(QStringLiteral("Clear"),
               [](const QVariant& v) { return isY(v) ? QColor(Qt::blue) : QColor(); }))
        return;
    decide(QStringLiteral("Active"), [](const QVariant& v) {
        return !v.isNull() && v.toString() == QStringLiteral("N") ? QColor(Qt::red) : QColor();
    });
}

void TFrSearch::DgSearchTitleBtnClick(data::Field& field) {
    const QString upper = field.name().toUpper();
    if (IsBlobField(field) || upper == QStringLiteral("REMARK") || upper == QStringLiteral("MEMO"))
        return;
    const int position = field.index() + 1;
    QStringList lines = QSearch.sql();
    bool changed = false;
    for (QString& line : lines) {
        const int at = line.toUpper().indexOf(QStringLiteral("ORDER BY "));
        if (at < 0)
            continue;
        line = line.left(at) + QStringLiteral("Order By ") + QString::number(position);
        if (upper != LastSortField) {
            SortDescNext = true;
        } else {
            if (SortDescNext)
                line += QStringLiteral(" Desc");
            SortDescNext = !SortDescNext;
        }
        LastSortField = upper;
        changed = true;
    }
    if (changed)
        QSearch.setSql(lines);  // parameter values stay
    TFrSearch::BtSearchClick();
}

void TFrSearch::DgSearchMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift) {
    const Qt::KeyboardModifiers held =
        shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (button != Qt::RightButton || held != (Qt::ShiftModifier | Qt::ControlModifier))
        return;
    // Without a document table there is nothing the delete could name: it is not offered.
    const QString table = DocTable.trimmed();
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!identifier.match(table).hasMatch())
        return;
    if (!QSearch.isOpen() || QSearch.isEmpty())
        return;
    const data::Field* id = QSearch.findField(QStringLiteral("Id"));
    const data::Field* delFlag = QSearch.findField(QStringLiteral("Delflag"));
    if (!id || !delFlag)
        return;
    const qint64 documentId = id->asInteger();
    if (documentId <= 0 || !isY(delFlag->value()))
        return;
    if (!data::prompts().askYesNo(QStringLiteral("Confirm Delete #1/2 ?")))
        return;
    if (!data::prompts().askYesNo(QStringLiteral("Confirm Delete #2/2 ?")))
        return;
    const QString number = QString::number(documentId);
    QStringList lines;
    const QString kind = table.toUpper();
    if (kind == QStringLiteral("IVHD"))
        lines << fragment("DelSQL.IvShip") + number;
    else if (kind == QStringLiteral("SOHD"))
        lines << fragment("DelSQL.SoShip") + number;
    lines << fragment("DelSQL.Document") + table + fragment("DelSQL.DocumentId") + number;
    DelSQL.setSql(lines);
    DelSQL.execute();
    TFrSearch::BtSearchClick();
}

void TFrSearch::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        fixSizeAndCentre(this);
        TFrForm::guarded([this] { FormShow(); });
    }
}

bool TFrSearch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* w = static_cast<QWidget*>(watched);
    if (w->window() != this)
        return false;
    QWidget* focused = focusWidget();
    if (focused ? w != focused : w != this)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    bool consumed = false;
    TFrForm::guarded([&] {
        int code = key->key();
        FormKeyDown(code, key->modifiers());
        if (code == 0)
            consumed = true;
        const QString text = key->text();
        if (text.size() == 1) {
            QChar ch = text.at(0);
            FormKeyPress(ch);
            if (ch.isNull())
                consumed = true;
        }
    });
    if (consumed) {
        key->accept();
        return true;
    }
    return false;
}

}  // namespace md::forms
