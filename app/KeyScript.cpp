#include "app/KeyScript.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace md::app {
namespace {

QKeyCombination combinationOf(const QString& name) {
    const QKeySequence sequence = QKeySequence::fromString(name, QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown)
        return QKeyCombination(Qt::Key_unknown);
    return sequence[0];
}

// Where a key the user presses goes: the modal dialog that is up, else the focused control.
QWidget* keyTarget(QWidget* window) {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal->focusWidget() ? modal->focusWidget() : modal;
    if (QWidget* focused = QApplication::focusWidget())
        return focused;
    if (!window)
        return nullptr;
    return window->focusWidget() ? window->focusWidget() : window;
}

QString textOf(QKeyCombination key) {
    const int code = key.key();
    const Qt::KeyboardModifiers modifiers = key.keyboardModifiers();
    if (modifiers & ~Qt::ShiftModifier)
        return {};
    if (code >= Qt::Key_A && code <= Qt::Key_Z) {
        const QChar letter(u'a' + (code - Qt::Key_A));
        return modifiers & Qt::ShiftModifier ? QString(letter.toUpper()) : QString(letter);
    }
    if (code >= Qt::Key_Space && code < Qt::Key_A)
        return QString(QChar(code));
    if (code == Qt::Key_Return || code == Qt::Key_Enter)
        return QStringLiteral("\r");
    if (code == Qt::Key_Escape)
        return QStringLiteral("\x1b");
    return {};
}

void playFrom(QPointer<QWidget> window, QStringList keys, int at, int intervalMs) {
    if (at >= keys.size())
        return;
    // The next key is due while this one may be running a modal dialog's loop.
    QTimer::singleShot(intervalMs, qApp, [window, keys, at, intervalMs] {
        playFrom(window, keys, at + 1, intervalMs);
    });
    QWidget* target = keyTarget(window);
    const QString name = keys.at(at);
    std::printf("key %s: %s\n", name.toUtf8().constData(),
                target ? target->window()->windowTitle().toUtf8().constData() : "");
    std::fflush(stdout);
    if (!target)
        return;
    const QKeyCombination key = combinationOf(name);
    const QString text = textOf(key);
    QPointer<QWidget> alive(target);
    QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers(), text);
    QCoreApplication::sendEvent(target, &press);
    if (!alive)
        return;
    QKeyEvent release(QEvent::KeyRelease, key.key(), key.keyboardModifiers(), text);
    QCoreApplication::sendEvent(target, &release);
}

}  // namespace

QStringList ParseKeyScript(const QString& script, QString* bad) {
    const QStringList keys = script.split(u' ', Qt::SkipEmptyParts);
    for (const QString& key : keys) {
        if (combinationOf(key).key() == Qt::Key_unknown) {
            if (bad)
                *bad = key;
            return {};
        }
    }
    return keys;
}

void PlayKeys(QWidget* window, const QStringList& keys, int intervalMs) {
    if (keys.isEmpty())
        return;
    QPointer<QWidget> main(window);
    QTimer::singleShot(intervalMs, qApp,
                       [main, keys, intervalMs] { playFrom(main, keys, 0, intervalMs); });
}

}  // namespace md::app
