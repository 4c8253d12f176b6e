#pragma once

// The application object: every exception that escapes an event handler, in the main loop or
// in a modal dialog's loop, is caught in notify() and handed to the error handler, and the
// program goes on.

#include <QApplication>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace md::errors {

class TApplication : public QApplication {
    Q_OBJECT
  public:
    using Handler = std::function<void(const QString& message)>;

    TApplication(int& argc, char** argv);

    // Receives the message of every caught exception. Without one the message goes to stderr.
    void setErrorHandler(Handler handler) { handler_ = std::move(handler); }

    bool notify(QObject* receiver, QEvent* event) override;

    // Hands an exception caught elsewhere (start-up code, say) to the same handler.
    void HandleException(std::exception_ptr error);

    // The text the handler receives: the server's text of a database error, what() of any other
    // exception, a fixed text for anything else.
    static QString ExceptionMessage(std::exception_ptr error);

    static TApplication* instance() {
        return qobject_cast<TApplication*>(QCoreApplication::instance());
    }

  private:
    Handler handler_;
};

// Hands an exception to the application's handler (stderr when there is no TApplication).
void RouteException(std::exception_ptr error);

// Wraps a slot so that an exception it throws goes to the error handler right there, without
// unwinding through the toolkit's frames. Qt Widgets is built without exception support: an
// exception that crosses a mouse or key event's delivery still reaches notify(), but skips the
// destructors of the event copies on the way and leaks them. Connect window handlers with
//     connect(BtSave, &QPushButton::clicked, this, Guarded([this] { AcSaveExecute(); }));
template <class F>
auto Guarded(F slot) {
    return [slot = std::move(slot)](auto&&... args) mutable {
        std::exception_ptr error;
        try {
            if constexpr (std::is_invocable_v<F&, decltype(args)...>) {
                std::invoke(slot, std::forward<decltype(args)>(args)...);
            } else {
                std::invoke(slot);
            }
        } catch (...) {
            error = std::current_exception();
        }
        if (error)
            RouteException(error);
    };
}

}  // namespace md::errors
