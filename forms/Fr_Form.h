#pragma once

// The entry form base: every maintenance window derives from it. A toolbar of record actions at
// the top, a status bar with two panels at the bottom, and the keys every entry window shares:
// Enter moves to the next field (wrapping at the end of the tab order), Escape and the close box
// ask the green exit question, F3 New, F8 Delete, F10 Save, F6 Copy, Ctrl+X Exit.
//
// The handlers carry the system's names and are virtual: a derived window overrides one and
// calls the base where it wants the base behaviour. The window sees every key before the
// focused control ("key preview") through an application event filter limited to its own
// widgets; FormKeyDown runs first, then FormKeyPress for a key that types a character.

#include <QAction>
#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <exception>

class QFrame;
class QLabel;
class QLineEdit;
class QStatusBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;

namespace md::forms {

// Hands an exception to the application's error handler.
void routeError(std::exception_ptr error);

// What happens to a window that is asked to close: it closes, or it stays (None).
enum class CloseAction { None, Hide, Free };

// Where the focus is inside one top-level window, whether or not that window is the active one.
// The toolkit sends focus events only inside the active window; once a dialog over the window
// has closed and nothing made the window active again (an X server without a window manager),
// keys still reach its focused control and Enter still walks the fields, but no control is told
// that it was left. The watch follows the window's own focus child and reports every move.
class FocusWatch : public QObject {
    Q_OBJECT
  public:
    // The watch of the top-level window `widget` is in; made on first use as a child of it.
    static FocusWatch* of(QWidget* widget);

    // The control of the window that has (or will have, when the window is inactive) the focus.
    QWidget* current() const { return current_; }

  signals:
    // The focus went from one control of the window to another (either may be null).
    void moved(QWidget* from, QWidget* to);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    explicit FocusWatch(QWidget* window);
    void followWindowHandle();
    void check();

    QWidget* window_;
    QPointer<QWidget> current_;
    bool followsHandle_ = false;
};

class TFrForm : public QWidget {
    Q_OBJECT
  public:
    explicit TFrForm(QWidget* parent = nullptr);
    ~TFrForm() override;

    // The image list of the toolbar and the actions, in this order: New, Delete, Save, Exit,
    // History, Copy, Print, Change code.
    static QIcon image(int index);

    // Children, named as the system names them.
    QFrame* Panel2;
    QToolBar* ToolBar1;
    QToolButton* BNew;
    QToolButton* BDel;
    QToolButton* BSave;
    QToolButton* BChgCode;
    QToolButton* BHist;
    QToolButton* BCopy;
    QToolButton* BPrint;
    QToolButton* BExit;
    QLineEdit* ChgCode;
    QStatusBar* StatusBar1;
    QLabel* StatusPanel0;
    QLabel* StatusPanel1;

    // ActionList1.
    QAction* AcNew;
    QAction* AcDel;
    QAction* AcSave;
    QAction* AcHist;
    QAction* AcCopy;
    QAction* AcPrint;
    QAction* AcExit;
    QAction* AcChgCode;

    // The area between the toolbar and the status bar where derived windows put their fields.
    QWidget* clientArea() const { return client_; }

    // Status panel text by index (0 or 1).
    void setStatusText(int panel, const QString& text);
    QString statusText(int panel) const;

    bool keyPreview() const { return keyPreview_; }
    void setKeyPreview(bool on) { keyPreview_ = on; }

    // Handlers.
    virtual void FormShow();
    virtual void FormClose(CloseAction& action);
    // `key` is a Qt::Key; setting it to 0 consumes the key.
    virtual void FormKeyDown(int& key, Qt::KeyboardModifiers shift);
    // `key` is the typed character; setting it to a null character discards it.
    virtual void FormKeyPress(QChar& key);
    virtual void AcNewExecute();
    virtual void AcExitExecute();
    virtual void AcSaveExecute() {}
    virtual void AcDelExecute() {}
    virtual void AcCopyExecute() {}

    // Moves the focus to the next (or previous) control of the tab order that takes the tab
    // key, wrapping at either end.
    void selectNextControl(bool forward = true);

    // Runs a handler the way the toolkit runs one: an exception goes to the error handler here
    // instead of unwinding through the toolkit's frames.
    template <class F>
    static void guarded(F&& handler);

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QAction* makeAction(const QString& name, const QString& caption, const QString& hint, int image,
                        const QKeySequence& shortcut);
    QToolButton* makeButton(const QString& name, QAction* action);
    bool ownsKeyTarget(QObject* watched) const;

    QWidget* client_ = nullptr;
    bool keyPreview_ = true;
};

// Gives a window its single-line, fixed border at the size it has now (no resizing) and centres
// it on the desktop of its screen. Entry windows and search dialogs call it as they are shown.
void fixSizeAndCentre(QWidget* window);

// Makes an edit upper-case its input as it is typed (Thai text is left as typed).
void setUpperCaseInput(QLineEdit* edit);

template <class F>
void TFrForm::guarded(F&& handler) {
    std::exception_ptr error;
    try {
        handler();
    } catch (...) {
        error = std::current_exception();
    }
    if (error)
        routeError(error);
}

}  // namespace md::forms
