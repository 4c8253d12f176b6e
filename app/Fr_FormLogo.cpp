#include "app/Fr_FormLogo.h"

#include "forms/JpegImage.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>
#include <cstdio>

namespace md::app {

TFormLogo* FormLogo = nullptr;

QImage TFormLogo::LogoImage() {
    QString error;
    QImage image = forms::LoadJpeg(QStringLiteral(":/app/logo.jpg"), &error);
    if (image.isNull())
        std::fprintf(stderr, "splash logo: %s\n", error.toLocal8Bit().constData());
    return image;
}

TFormLogo::TFormLogo(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FormLogo"));
    // Only the chosen window's closing ends the program; the splash never holds it open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(301, 166);
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(true);
    QPalette blue = palette();
    blue.setColor(QPalette::Window, Qt::blue);
    setPalette(blue);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap::fromImage(LogoImage()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Image1);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
}

TFormLogo::~TFormLogo() {
    if (FormLogo == this)
        FormLogo = nullptr;
}

}  // namespace md::app
