#include "app/Startup.h"

#include "app/Fr_FormLogo.h"
#include "app/KeyScript.h"
#include "app/ModuleHooks.h"
#include "app/ShortDate.h"
#include "app/WindowRegistry.h"
#include "data/Dm_Config.h"
#include "data/U_DM.h"
#include "errors/TApplication.h"
#include "forms/KeptWindow.h"
#include "product/Dm_Product.h"
#include "schema/procedures/SuiteProcedures.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace md::app {

int ArgumentToInt(const QStringList& arguments, int position, const QString& what) {
    const QString name = QStringLiteral("Argument %1 (%2)").arg(position).arg(what);
    if (position < 1 || position > arguments.size())
        throw FatalStartupError(name + QStringLiteral(" is missing"));
    const QString text = arguments.at(position - 1);
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u' ')
        ++i;
    const QString number = text.mid(i);
    bool digits = !number.isEmpty();
    for (qsizetype k = 0; k < number.size() && digits; ++k) {
        const QChar c = number.at(k);
        const bool sign = k == 0 && (c == u'-' || c == u'+') && number.size() > 1;
        digits = sign || (c >= u'0' && c <= u'9');
    }
    bool ok = false;
    const int value = digits ? number.toInt(&ok, 10) : 0;
    if (!ok) {
        throw FatalStartupError(name + QStringLiteral(" is not a valid integer: '") + text + u'\'');
    }
    return value;
}

StartupOptions StartupOptions::fromEnvironment() {
    StartupOptions options;
    options.exitAfterStart = qEnvironmentVariable("MD_EXIT_AFTER_START") == QStringLiteral("1");
    const QString platform = QGuiApplication::platformName();
    options.messageBoxes = !qEnvironmentVariableIsSet("MD_NO_FATAL_BOX") &&
                           platform != QStringLiteral("offscreen") &&
                           platform != QStringLiteral("minimal");
    options.keyScript = qEnvironmentVariable("MD_PLAY_KEYS");
    return options;
}

Startup::Startup(errors::TApplication& app, StartupOptions options)
    : app_(app), options_(options), handler_(&recorder_) {}

Startup::~Startup() {
    // The window goes first, then the searches kept for the run: they work on the modules, and
    // every widget has to be gone before the application object is.
    window_.reset();
    forms::releaseKeptWindows();
    delete logo_.data();
    if (product::DmProduct == product_.get())
        product::DmProduct = nullptr;
    product_.reset();
    if (data::DMConfig == config_.get())
        data::DMConfig = nullptr;
    config_.reset();
    if (data::DM == dm_.get())
        data::DM = nullptr;
    dm_.reset();
    app_.setErrorHandler({});
}

void Startup::ShowSplash() {
    auto* logo = new TFormLogo;
    logo_ = logo;
    FormLogo = logo;
    logo->show();
    logo->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Startup::CreateModules(const QStringList& arguments) {
    // The company module carries the application-wide error hook: every error that escapes an
    // event handler from now on is recorded, explained and shown.
    dm_ = std::make_unique<data::TDM>();
    data::DM = dm_.get();
    dm_->CompanyArgument = arguments.value(2);
    dm_->destroySplash = [this] { delete logo_.data(); };
    app_.setErrorHandler([this](const QString& message) { handler_.HandleError(message); });

    config_ = std::make_unique<data::TDMConfig>();
    data::DMConfig = config_.get();

    // The product services run their queries on the company connection of DM.
    product_ = std::make_unique<product::TDmProduct>();
    product::DmProduct = product_.get();
}

void Startup::OpenWindow(const QString& keyword) {
    const WindowFactory factory = findWindow(keyword);
    if (!factory)
        return;
    window_.reset(factory());
}

void Startup::Report(const QString& text, bool fatal) {
    std::fprintf(stderr, "masterdata: %s\n", text.toLocal8Bit().constData());
    if (!options_.messageBoxes)
        return;
    // The splash would stand in front of the box; the program ends after it anyway.
    delete logo_.data();
    if (fatal) {
        QMessageBox::critical(nullptr, QCoreApplication::applicationName(), text);
    } else {
        QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text,
                        QMessageBox::Ok);
        box.exec();
    }
}

int Startup::Run(const QStringList& arguments) {
    // The suite's procedures, for a configuration or company database on an embedded server.
    schema::registerSuiteProcedures();
    InstallWindowDialogs();
    ShowSplash();
    SetShortDateFormat();
    try {
        CreateModules(arguments);
        data::TDMConfig& config = *config_;
        config.MenuId = ArgumentToInt(arguments, 1, QStringLiteral("menu id"));
        config.UserId = ArgumentToInt(arguments, 2, QStringLiteral("user id"));
        config.GetCompanyConfig(arguments.value(2));
        config.CheckRight(config.MenuId, config.UserId);
        if (config.AccessRight)
            OpenWindow(arguments.value(4).toUpper());
    } catch (const data::CompanyNotFound& e) {
        Report(e.message(), false);
        return 0;
    } catch (const FatalStartupError& e) {
        Report(e.message(), true);
        return kFatalExitCode;
    } catch (...) {
        // The configuration database unreachable, or refusing the session's statements.
        Report(errors::TApplication::ExceptionMessage(std::current_exception()), true);
        return kFatalExitCode;
    }

    // No window: there is no main window and the program ends at once, silently.
    if (!window_)
        return 0;
    window_->show();
    if (!options_.keyScript.isEmpty()) {
        QString bad;
        const QStringList keys = ParseKeyScript(options_.keyScript, &bad);
        if (keys.isEmpty())
            std::fprintf(stderr, "masterdata: MD_PLAY_KEYS names no key '%s'\n",
                         bad.toLocal8Bit().constData());
        PlayKeys(window_.get(), keys);
    }
    if (options_.exitAfterStart)
        // exit() leaves the loop without closing the window, which would ask the exit question.
        QTimer::singleShot(0, &app_, [this] { app_.exit(0); });
    app_.exec();
    // For tests and scripts that start the program only to see what it opens.
    if (options_.exitAfterStart)
        std::printf("opened: %s\n", window_->windowTitle().toUtf8().constData());
    return 0;
}

}  // namespace md::app
