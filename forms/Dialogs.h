#pragma once

// The widget side of the prompts service: the blue save/delete confirmation, the green exit
// question, the plain Yes/No box, the information box and the message box. The program calls
// installDialogs() once at start-up; from then on every question of every module is asked here.

#include "data/Prompts.h"

#include <QColor>
#include <QString>

class QMessageBox;
class QWidget;

namespace md::forms {

class Dialogs final : public data::Prompts {
  public:
    bool askYesNo(const QString& question) override;
    bool askExit(const QString& question) override;
    bool askPlainYesNo(const QString& question) override;
    void information(const QString& text) override;
    void message(const QString& text) override;

    // Background of the save/delete confirmation and of the exit question.
    static QColor confirmColor() { return QColor(0, 0, 255); }
    static QColor exitColor() { return QColor(0, 128, 0); }

    // Builds the Yes/No question box (question icon, Yes and No, Escape and the close box
    // answer No), coloured with `background` and white text when it is valid. Exposed so the
    // look can be checked without showing it.
    static QMessageBox* buildQuestion(const QString& question, const QColor& background,
                                      QWidget* parent = nullptr);
};

// Installs the one Dialogs instance as the prompts service.
void installDialogs();

}  // namespace md::forms
