#include "forms/testing/WindowHarness.h"

#include "errors/TApplication.h"

#include <QPointer>
#include <QTest>
#include <QTimer>

namespace md::forms::testing {

WindowHarness::WindowHarness() {
    if (auto* app = errors::TApplication::instance()) {
        app->setErrorHandler([this](const QString& message) { errors << message; });
        handlerInstalled_ = true;
    }
}

WindowHarness::~WindowHarness() {
    for (const QPointer<QTimer>& t : waits_)
        delete t.data();
    if (handlerInstalled_) {
        if (auto* app = errors::TApplication::instance())
            app->setErrorHandler(nullptr);
    }
}

bool WindowHarness::show(QWidget* window) {
    window_ = window;
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return false;
    window->activateWindow();
    QApplication::setActiveWindow(window);
    const bool active = QTest::qWaitForWindowActive(window);
    settle();
    return active;
}

QWidget* WindowHarness::focused() const {
    if (QWidget* w = QApplication::focusWidget())
        return w;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal->focusWidget() ? modal->focusWidget() : modal;
    if (window_)
        return window_->focusWidget() ? window_->focusWidget() : window_;
    return nullptr;
}

QString WindowHarness::focusedName() const {
    const QWidget* w = focused();
    return w ? w->objectName() : QString();
}

void WindowHarness::type(const QString& text) {
    for (const QChar ch : text) {
        QWidget* w = focused();
        if (!w)
            break;
        if (ch.unicode() < 0x80) {
            QTest::keyClicks(w, QString(ch));
        } else {
            // Thai and other text beyond ASCII has no key code: the key carries the character.
            QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
    }
    settle();
}

void WindowHarness::press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    if (QWidget* w = focused())
        QTest::keyClick(w, key, modifiers);
    settle();
}

void WindowHarness::focus(QWidget* control) {
    control->setFocus(Qt::MouseFocusReason);
    settle();
}

void WindowHarness::whenModal(std::function<void(QWidget* dialog)> action) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        QApplication::setActiveWindow(modal);
        action(modal);
    });
    waits_ << timer;
    timer->start();
}

void WindowHarness::settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

}  // namespace md::forms::testing
