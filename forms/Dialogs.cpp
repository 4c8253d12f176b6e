#include "forms/Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPalette>
#include <memory>

namespace md::forms {
namespace {

QWidget* dialogParent() {
    return QApplication::activeWindow();
}

bool ask(const QString& question, const QColor& background) {
    std::unique_ptr<QMessageBox> box(Dialogs::buildQuestion(question, background, dialogParent()));
    return box->exec() == QMessageBox::Yes;
}

void notice(const QString& text, QMessageBox::Icon icon) {
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    dialogParent());
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

}  // namespace

QMessageBox* Dialogs::buildQuestion(const QString& question, const QColor& background,
                                    QWidget* parent) {
    auto* box = new QMessageBox(QMessageBox::Question, QApplication::applicationDisplayName(),
                                question, QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::Yes);
    // Escape and the close box both give the escape button's answer: No.
    box->setEscapeButton(QMessageBox::No);
    if (background.isValid()) {
        // A style sheet rather than only the palette: several platform styles ignore the
        // window colour of a message box. The buttons keep their ordinary look.
        box->setStyleSheet(QStringLiteral("QMessageBox { background-color: %1; }"
                                          " QMessageBox QLabel { color: white; }")
                               .arg(background.name()));
        QPalette palette = box->palette();
        palette.setColor(QPalette::Window, background);
        palette.setColor(QPalette::WindowText, Qt::white);
        box->setPalette(palette);
        box->setAutoFillBackground(true);
    }
    return box;
}

bool Dialogs::askYesNo(const QString& question) {
    return ask(question, confirmColor());
}

bool Dialogs::askExit(const QString& question) {
    return ask(question, exitColor());
}

bool Dialogs::askPlainYesNo(const QString& question) {
    return ask(question, QColor());
}

void Dialogs::information(const QString& text) {
    notice(text, QMessageBox::Information);
}

void Dialogs::message(const QString& text) {
    notice(text, QMessageBox::NoIcon);
}

void installDialogs() {
    static Dialogs dialogs;
    data::setPrompts(&dialogs);
}

}  // namespace md::forms
