#pragma once

// Every question and notice the program puts to the user passes through one service, so that
// modules without widgets can ask (the company module's save question) and tests can answer and
// read the texts. The program installs the dialogs of the window layer at start-up.

#include <QString>

namespace md::data {

class Prompts {
  public:
    virtual ~Prompts() = default;

    // The blue save/delete confirmation with white text; Yes gives true, No, Escape or the
    // close box false.
    virtual bool askYesNo(const QString& question) = 0;
    // The green exit question with white text, same answers.
    virtual bool askExit(const QString& question) = 0;
    // The platform's plain Yes/No confirmation.
    virtual bool askPlainYesNo(const QString& question) = 0;
    // An information box with OK.
    virtual void information(const QString& text) = 0;
    // A plain message box with OK.
    virtual void message(const QString& text) = 0;
};

// The installed service. Before one is installed every question is answered No and every notice
// goes to the standard error stream, so a program without a display never blocks on a question.
Prompts& prompts();
// Installs `service` (not owned; nullptr restores the default) and returns the previous one.
Prompts* setPrompts(Prompts* service);

}  // namespace md::data
