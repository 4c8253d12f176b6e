#include "forms/Fr_Form.h"

#include "data/Dm_Config.h"
#include "data/Prompts.h"
#include "errors/TApplication.h"
#include "forms/ThaiMetrics.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

// Resources of a static library have to be registered by name, from the global namespace.
static void initFormIcons() {
    Q_INIT_RESOURCE(icons);
}

namespace md::forms {

void routeError(std::exception_ptr error) {
    errors::RouteException(error);
}

void fixSizeAndCentre(QWidget* window) {
    // Boxes get their room for Thai marks first; should the designed size then be too small,
    // the window grows rather than squeezing them.
    fitThaiMarks(window);
    if (window->layout())
        window->layout()->activate();
    window->setFixedSize(window->size().expandedTo(window->minimumSizeHint()));
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The frame is centred; before the window manager has framed the window its size is unknown
    // and the client area is centred instead.
    QRect frame = window->frameGeometry();
    if (frame.size() == QSize(0, 0) || frame.width() < window->width())
        frame = QRect(QPoint(0, 0), window->size());
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void setUpperCaseInput(QLineEdit* edit) {
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int position = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(position);
        // Still the user's entry: a step that acts only on changed text must see it changed.
        edit->setModified(true);
    });
}

FocusWatch* FocusWatch::of(QWidget* widget) {
    QWidget* window = widget->window();
    if (auto* watch = window->findChild<FocusWatch*>(QString(), Qt::FindDirectChildrenOnly))
        return watch;
    return new FocusWatch(window);
}

FocusWatch::FocusWatch(QWidget* window) : QObject(window), window_(window) {
    current_ = window->focusWidget();
    // Inside the active window the application tells every move; the window's own handle also
    // tells the moves made while it is inactive. It exists once the window has been shown.
    connect(qApp, &QApplication::focusChanged, this, &FocusWatch::check);
    window->installEventFilter(this);
    followWindowHandle();
}

void FocusWatch::followWindowHandle() {
    if (followsHandle_ || !window_->windowHandle())
        return;
    followsHandle_ = true;
    // The handle tells a move as it begins, while the toolkit is still inside setFocus; in the
    // active window a handler that moved the focus again from there would be overruled, so the
    // application's report, which comes once the move is complete, is the one used there.
    connect(window_->windowHandle(), &QWindow::focusObjectChanged, this, [this] {
        if (!window_->isActiveWindow())
            check();
    });
}

bool FocusWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ &&
        (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange))
        followWindowHandle();
    return false;
}

void FocusWatch::check() {
    QWidget* now = window_->focusWidget();
    if (now == current_)
        return;
    QWidget* from = current_;
    // Set first: a handler of the move may move the focus again, which is reported as a move of
    // its own.
    current_ = now;
    emit moved(from, now);
}

QIcon TFrForm::image(int index) {
    static const char* const files[] = {"0-new",     "1-delete", "2-save",  "3-exit",
                                        "4-history", "5-copy",   "6-print", "7-chgcode"};
    if (index < 0 || index >= int(std::size(files)))
        return {};
    initFormIcons();
    return QIcon(QStringLiteral(":/forms/icons/%1.png").arg(QLatin1StringView(files[index])));
}

TFrForm::TFrForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    // A single-line border with the system menu and the minimise box: no maximise, no resizing
    // (the size is fixed as the window is shown, once a derived window has set its own).
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    QFont f = font();
    f.setPixelSize(13);
    setFont(f);
    resize(632, 421);

    AcNew = makeAction(QStringLiteral("AcNew"), QStringLiteral("New"), QStringLiteral("New Record"),
                       0, QKeySequence(Qt::Key_F3));
    AcDel = makeAction(QStringLiteral("AcDel"), QStringLiteral("Delete"),
                       QStringLiteral("Delete Record"), 1, QKeySequence(Qt::Key_F8));
    AcSave = makeAction(QStringLiteral("AcSave"), QStringLiteral("Save"),
                        QStringLiteral("Save Record"), 2, QKeySequence(Qt::Key_F10));
    AcHist = makeAction(QStringLiteral("AcHist"), QStringLiteral("Hist."),
                        QStringLiteral("Show History"), 4, QKeySequence(Qt::CTRL | Qt::Key_H));
    AcCopy = makeAction(QStringLiteral("AcCopy"), QStringLiteral("Copy"),
                        QStringLiteral("Copy Record"), 5, QKeySequence(Qt::Key_F6));
    AcPrint = makeAction(QStringLiteral("AcPrint"), QStringLiteral("Print"),
                         QStringLiteral("Print Record"), 6, QKeySequence(Qt::CTRL | Qt::Key_P));
    AcExit = makeAction(QStringLiteral("AcExit"), QStringLiteral("Exit"),
                        QStringLiteral("Exit Program"), 3, QKeySequence(Qt::CTRL | Qt::Key_X));
    AcChgCode = makeAction(QStringLiteral("AcChgCode"), QStringLiteral("Chg Code"), QString(), 7,
                           QKeySequence(Qt::Key_F12));

    // Actions without a behaviour in the base are bound all the same: a derived window's
    // override is what runs.
    connect(AcNew, &QAction::triggered, this, errors::Guarded([this] { AcNewExecute(); }));
    connect(AcExit, &QAction::triggered, this, errors::Guarded([this] { AcExitExecute(); }));
    connect(AcSave, &QAction::triggered, this, errors::Guarded([this] { AcSaveExecute(); }));
    connect(AcDel, &QAction::triggered, this, errors::Guarded([this] { AcDelExecute(); }));
    connect(AcCopy, &QAction::triggered, this, errors::Guarded([this] { AcCopyExecute(); }));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::StyledPanel);
    Panel2->setFixedHeight(42);
    auto* panelLayout = new QHBoxLayout(Panel2);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    ToolBar1 = new QToolBar(Panel2);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setFloatable(false);
    ToolBar1->setMovable(false);
    panelLayout->addWidget(ToolBar1);
    BNew = makeButton(QStringLiteral("BNew"), AcNew);
    BDel = makeButton(QStringLiteral("BDel"), AcDel);
    BSave = makeButton(QStringLiteral("BSave"), AcSave);
    BChgCode = makeButton(QStringLiteral("BChgCode"), AcChgCode);
    BHist = makeButton(QStringLiteral("BHist"), AcHist);
    BCopy = makeButton(QStringLiteral("BCopy"), AcCopy);
    BPrint = makeButton(QStringLiteral("BPrint"), AcPrint);
    BExit = makeButton(QStringLiteral("BExit"), AcExit);

    ChgCode = new QLineEdit(Panel2);
    ChgCode->setObjectName(QStringLiteral("ChgCode"));
    ChgCode->setText(QStringLiteral("CHGCODE"));
    ChgCode->setFixedWidth(120);
    setUpperCaseInput(ChgCode);
    panelLayout->addWidget(ChgCode);
    panelLayout->addStretch(1);
    layout->addWidget(Panel2);

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    layout->addWidget(client_, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel0 = new QLabel(StatusBar1);
    StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
    StatusPanel0->setFixedWidth(200);
    StatusPanel1 = new QLabel(StatusBar1);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    StatusPanel1->setFixedWidth(50);
    StatusBar1->addWidget(StatusPanel0);
    StatusBar1->addWidget(StatusPanel1);
    layout->addWidget(StatusBar1);

    qApp->installEventFilter(this);
    FocusWatch::of(this);
}

TFrForm::~TFrForm() {
    qApp->removeEventFilter(this);
    // Controls going away move the focus; nothing may hear of it once the window is half gone.
    delete findChild<FocusWatch*>(QString(), Qt::FindDirectChildrenOnly);
}

QAction* TFrForm::makeAction(const QString& name, const QString& caption, const QString& hint,
                             int image, const QKeySequence& shortcut) {
    auto* action = new QAction(this);
    action->setObjectName(name);
    action->setText(caption);
    action->setToolTip(hint.isEmpty() ? caption : hint);
    action->setStatusTip(hint);
    action->setIcon(TFrForm::image(image));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    return action;
}

QToolButton* TFrForm::makeButton(const QString& name, QAction* action) {
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(name);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFixedSize(54, 36);
    button->setCursor(Qt::PointingHandCursor);
    // Toolbar buttons never take the focus: Enter walks the fields only.
    button->setFocusPolicy(Qt::NoFocus);
    ToolBar1->addWidget(button);
    return button;
}

void TFrForm::setStatusText(int panel, const QString& text) {
    (panel == 0 ? StatusPanel0 : StatusPanel1)->setText(text);
}

QString TFrForm::statusText(int panel) const {
    return (panel == 0 ? StatusPanel0 : StatusPanel1)->text();
}

void TFrForm::FormShow() {
    QGuiApplication::setApplicationDisplayName(windowTitle());
    // The buttons go; their actions and shortcuts stay.
    for (QToolButton* b : {BHist, BCopy, BPrint, BChgCode}) {
        for (QAction* a : ToolBar1->actions()) {
            if (ToolBar1->widgetForAction(a) == b)
                a->setVisible(false);
        }
    }
    TFrForm::AcNewExecute();
}

void TFrForm::AcNewExecute() {
    ChgCode->hide();
    AcSave->setEnabled(false);
    AcDel->setEnabled(false);
    AcChgCode->setEnabled(false);
    setKeyPreview(true);
}

void TFrForm::AcExitExecute() {
    close();
}

void TFrForm::FormClose(CloseAction& action) {
    const bool thai = data::DMConfig && data::DMConfig->LanguageThai;
    const QString question =
        thai ? QStringLiteral(u"ออกจากโปรแกรม ?") : QStringLiteral("Exit Program ?");
    if (!data::prompts().askExit(question))
        action = CloseAction::None;
}

void TFrForm::FormKeyDown(int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        selectNextControl(true);
        key = 0;
    } else if (key == Qt::Key_Escape) {
        key = 0;
        AcExitExecute();
    }
}

void TFrForm::FormKeyPress(QChar& key) {
    if (key == u'\r' || key == u'\n')
        key = QChar();
}

void TFrForm::selectNextControl(bool forward) {
    // The toolkit's own walk: widgets that take the tab key, visible and enabled, wrapping at
    // either end of the window's chain.
    focusNextPrevChild(forward);
}

bool TFrForm::event(QEvent* event) {
    // A modal dialog over the window closed. With no window manager nothing gives the window the
    // keyboard back, and the action shortcuts work only in the active window: take it back
    // unless another window of the program already has it.
    if (event->type() == QEvent::WindowUnblocked && isVisible() && !isMinimized() &&
        !QApplication::activeWindow())
        activateWindow();
    return QWidget::event(event);
}

void TFrForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    fixSizeAndCentre(this);
    guarded([this] { FormShow(); });
    // The program's window takes the keyboard: without a window manager nothing else gives it.
    if (!QApplication::activeWindow())
        activateWindow();
}

void TFrForm::closeEvent(QCloseEvent* event) {
    CloseAction action = CloseAction::Hide;
    bool failed = true;
    guarded([&] {
        FormClose(action);
        failed = false;
    });
    if (failed || action == CloseAction::None)
        event->ignore();
    else
        event->accept();
}

bool TFrForm::ownsKeyTarget(QObject* watched) const {
    if (!watched->isWidgetType())
        return false;
    auto* w = static_cast<QWidget*>(watched);
    if (w->window() != this)
        return false;
    // A key travels from the focused control up to its parents when the control ignores it;
    // the window looks at it once, where it starts.
    QWidget* focused = focusWidget();
    return focused ? w == focused : w == this;
}

bool TFrForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    if (!ownsKeyTarget(watched))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::ShortcutOverride) {
        // The action list comes before the focused control: an edit must not keep Ctrl+X (cut)
        // or another key that an enabled action of this window has as its shortcut.
        const QKeySequence pressed(key->keyCombination());
        for (QAction* a : actions()) {
            if (a->isEnabled() && a->shortcut() == pressed) {
                key->ignore();
                return true;
            }
        }
        return false;
    }
    if (!isActiveWindow()) {
        // Keys reach the focused control of an inactive window (no window manager made it active
        // again), but the toolkit matches action shortcuts only in the active one.
        const QKeySequence pressed(key->keyCombination());
        for (QAction* a : actions()) {
            if (a->isEnabled() && a->shortcut() == pressed) {
                key->accept();
                guarded([a] { a->trigger(); });
                return true;
            }
        }
    }
    if (!keyPreview_)
        return false;
    bool consumed = false;
    guarded([&] {
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
