#pragma once

// The picture panel of the full product search: the heading "Image Preview" over the product's
// picture, stretched to the panel; behind it the panel's caption shows while no picture does.
// JPEG pictures are decoded through libjpeg; other kinds through the toolkit's readers.

#include <QFrame>
#include <QString>

class QLabel;

namespace md::product {

class ProductPicturePreview : public QFrame {
    Q_OBJECT
  public:
    explicit ProductPicturePreview(QWidget* parent = nullptr);

    QLabel* Caption;       // "KVR IMAGER"
    QLabel* Heading;       // "Image Preview"
    QLabel* ProductImage;  // the picture, stretched

    // The company's picture folder from the option PicturePath: trimmed, and one trailing
    // backslash removed (a product's picture name then begins with one).
    static QString PictureFolderOf(const QString& picturePath);
    // The file a picture name stands for: the folder immediately followed by the name (no
    // separator added).
    static QString PictureFileOf(const QString& folder, const QString& picture1);

    // Shows the picture of a product whose Picture1 is `picture1`: a name of at least four
    // characters naming a file that exists and reads as a picture; otherwise the picture is
    // hidden. True when a picture is shown.
    bool ShowPicture(const QString& folder, const QString& picture1);

    // The file shown, empty when none.
    QString shownFile() const { return shownFile_; }

  private:
    QString shownFile_;
};

}  // namespace md::product
