#pragma once

// The program's start-up, from the command line to the event loop: splash, date format, the
// process-wide modules with the error handler, the session and rights, and the one window the
// keyword names.

#include "errors/ConfigErrorRecorder.h"
#include "errors/ErrorHandler.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>
#include <stdexcept>

class QWidget;

namespace md::data {
class TDM;
class TDMConfig;
}  // namespace md::data

namespace md::errors {
class TApplication;
}

namespace md::product {
class TDmProduct;
}

namespace md::app {

class TFormLogo;

// A start-up error before the event loop (a missing or bad numeric argument): the program
// reports it and ends with a non-zero exit code.
class FatalStartupError : public std::runtime_error {
  public:
    explicit FatalStartupError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

  private:
    QString message_;
};

// Exit code of a fatal start-up error.
inline constexpr int kFatalExitCode = 1;

// Converts command-line argument `position` (1-based; `what` names it in the message) to an
// integer: blanks in front, an optional sign and decimal digits that fit an int, nothing else.
// Throws FatalStartupError naming the value otherwise.
int ArgumentToInt(const QStringList& arguments, int position, const QString& what);

struct StartupOptions {
    // Quit as soon as the event loop has started (env MD_EXIT_AFTER_START=1), so a window that
    // would wait for the user does not: used by tests and scripts that only check the start-up.
    bool exitAfterStart = false;
    // Show start-up messages in message boxes as well as on stderr. Off on the offscreen and
    // minimal platforms and when env MD_NO_FATAL_BOX is set, so nothing waits for a click.
    bool messageBoxes = true;
    // Keys to press once the window is up (env MD_PLAY_KEYS, see app/KeyScript.h): tests and
    // scripts drive the real program through a whole session with it.
    QString keyScript;

    static StartupOptions fromEnvironment();
};

class Startup {
  public:
    explicit Startup(errors::TApplication& app,
                     StartupOptions options = StartupOptions::fromEnvironment());
    ~Startup();
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    // Runs the start-up and the event loop with the five positional arguments (without the
    // program name); returns the exit code.
    int Run(const QStringList& arguments);

    // The window the keyword opened; null when none did.
    QWidget* MainWindow() const { return window_.get(); }
    errors::ErrorHandler& Handler() { return handler_; }

  private:
    void ShowSplash();
    void CreateModules(const QStringList& arguments);
    void OpenWindow(const QString& keyword);
    void Report(const QString& text, bool fatal);

    errors::TApplication& app_;
    StartupOptions options_;
    errors::ConfigErrorRecorder recorder_;
    errors::ErrorHandler handler_;
    QPointer<TFormLogo> logo_;
    std::unique_ptr<data::TDM> dm_;
    std::unique_ptr<data::TDMConfig> config_;
    std::unique_ptr<product::TDmProduct> product_;
    std::unique_ptr<QWidget> window_;
};

}  // namespace md::app
