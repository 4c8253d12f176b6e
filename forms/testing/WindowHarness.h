#pragma once

// Drives a window the way a user does, for tests: shows it offscreen and active, types into the
// focused control, presses keys there, answers every question from a queue and keeps the texts
// shown, and keeps the messages of errors that reached the application's error handler.

#include "data/testing/RecordingPrompts.h"

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class QTimer;

namespace md::forms::testing {

class WindowHarness {
  public:
    // Installs the recording prompts and, when the application is the program's own, an error
    // handler that records.
    WindowHarness();
    ~WindowHarness();
    WindowHarness(const WindowHarness&) = delete;
    WindowHarness& operator=(const WindowHarness&) = delete;

    // Shows `window` and waits until it is exposed and active. Returns false when it never was.
    bool show(QWidget* window);

    // The control that has the focus (in the active window, else in the shown one).
    QWidget* focused() const;
    // Object name of the focused control ("" without one).
    QString focusedName() const;

    // Types text into the focused control, key by key.
    void type(const QString& text);
    // Presses and releases a key in the focused control.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Puts the focus on a control, as a click would.
    void focus(QWidget* control);

    // A child of the shown window (or of `root`) by object name; nullptr when absent.
    template <class T = QWidget>
    T* find(const QString& name, QWidget* root = nullptr) const {
        QWidget* r = root ? root : window_;
        return r ? r->findChild<T*>(name) : nullptr;
    }

    // Runs `action` with the next modal window as soon as it is up, inside its own loop (so a
    // test can drive a dialog that a handler shows with exec()).
    void whenModal(std::function<void(QWidget* dialog)> action);

    // Lets queued events run.
    static void settle();

    // Answers and texts of every question and notice.
    test::RecordingPrompts prompts;
    // Messages that reached the error handler, in order.
    QStringList errors;

  private:
    QWidget* window_ = nullptr;
    bool handlerInstalled_ = false;
    // Waits for modal windows that have not come yet; stopped with the harness, so one test's
    // wait never acts on a later test's dialog.
    QList<QPointer<QTimer>> waits_;
};

}  // namespace md::forms::testing
