#pragma once

// The application object: every exception that escapes an event handler, in the main loop or
// in a modal dialog's loop, is caught in notify() and handed to the error handler, and the
// program goes on.

#include <QApplication>
#include <exception>
#include <functional>

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

}  // namespace md::errors
