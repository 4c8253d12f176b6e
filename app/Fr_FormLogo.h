#pragma once

// The splash window: shown first, while the configuration database is read and the window is
// built; the company connection's first connect destroys it.

#include <QWidget>

class QLabel;

namespace md::app {

class TFormLogo : public QWidget {
    Q_OBJECT
  public:
    explicit TFormLogo(QWidget* parent = nullptr);
    ~TFormLogo() override;

    // The logo, stretched over the whole client area.
    QLabel* Image1 = nullptr;

    // The logo as decoded from the program's resources (null if it could not be decoded).
    static QImage LogoImage();
};

// The process-wide splash window while it exists; null before start-up and once destroyed.
extern TFormLogo* FormLogo;

}  // namespace md::app
