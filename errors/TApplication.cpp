#include "errors/TApplication.h"

#include "data/backend/DbError.h"

#include <cstdio>

namespace md::errors {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

QString TApplication::ExceptionMessage(std::exception_ptr error) {
    if (!error)
        return {};
    try {
        std::rethrow_exception(error);
    } catch (const md::data::DbError& e) {
        return e.message();
    } catch (const md::data::UsageError& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown exception");
    }
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    std::exception_ptr error;
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        error = std::current_exception();
    }
    // Handled outside the catch block: the handler runs a modal loop of its own.
    HandleException(error);
    return false;
}

void TApplication::HandleException(std::exception_ptr error) {
    const QString message = ExceptionMessage(error);
    if (!handler_) {
        std::fprintf(stderr, "error: %s\n", message.toLocal8Bit().constData());
        return;
    }
    try {
        handler_(message);
    } catch (...) {
        // The handler of last resort must not throw back into the event loop.
        std::fprintf(stderr, "error: %s\n(the error handler failed: %s)\n",
                     message.toLocal8Bit().constData(),
                     ExceptionMessage(std::current_exception()).toLocal8Bit().constData());
    }
}

void RouteException(std::exception_ptr error) {
    if (TApplication* app = TApplication::instance()) {
        app->HandleException(error);
        return;
    }
    std::fprintf(stderr, "error: %s\n",
                 TApplication::ExceptionMessage(error).toLocal8Bit().constData());
}

}  // namespace md::errors
