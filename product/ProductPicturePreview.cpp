#include "product/ProductPicturePreview.h"

#include "forms/JpegImage.h"

#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace md::product {

namespace {

// The path the file system knows: picture names written on Windows workstations separate
// folders with backslashes.
QString localPath(QString file) {
#ifndef Q_OS_WIN
    file.replace(u'\\', u'/');
#endif
    return file;
}

QImage readPicture(const QString& path) {
    QImage image = forms::LoadJpeg(path);
    if (image.isNull())
        image.load(path);  // a picture of another kind (bitmap, PNG)
    return image;
}

}  // namespace

ProductPicturePreview::ProductPicturePreview(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("HidePanel"));
    setFrameShape(QFrame::StyledPanel);
    setFixedWidth(242);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    Heading = new QLabel(QStringLiteral("Image Preview"), this);
    Heading->setObjectName(QStringLiteral("LbImagePreview"));
    Heading->setAlignment(Qt::AlignCenter);
    Heading->setAutoFillBackground(true);
    QPalette headingColours = Heading->palette();
    headingColours.setColor(QPalette::Window, QColor(Qt::gray));
    headingColours.setColor(QPalette::WindowText, QColor(Qt::white));
    Heading->setPalette(headingColours);
    QFont bold = Heading->font();
    bold.setBold(true);
    Heading->setFont(bold);
    Heading->setFixedHeight(Heading->fontMetrics().height() + 6);
    layout->addWidget(Heading);

    auto* picture = new QWidget(this);
    auto* stack = new QStackedLayout(picture);
    stack->setStackingMode(QStackedLayout::StackAll);
    Caption = new QLabel(QStringLiteral("KVR IMAGER"), picture);
    Caption->setAlignment(Qt::AlignCenter);
    QPalette captionColours = Caption->palette();
    captionColours.setColor(QPalette::WindowText, QColor(Qt::darkBlue));
    Caption->setPalette(captionColours);
    Caption->setFont(bold);
    ProductImage = new QLabel(picture);
    ProductImage->setObjectName(QStringLiteral("ProductImage"));
    ProductImage->setScaledContents(true);
    ProductImage->setAutoFillBackground(true);
    stack->addWidget(Caption);
    stack->addWidget(ProductImage);
    stack->setCurrentWidget(ProductImage);
    ProductImage->hide();
    layout->addWidget(picture, 1);
}

QString ProductPicturePreview::PictureFolderOf(const QString& picturePath) {
    QString folder = picturePath.trimmed();
    if (folder.endsWith(u'\\'))
        folder.chop(1);
    return folder;
}

QString ProductPicturePreview::PictureFileOf(const QString& folder, const QString& picture1) {
    return folder + picture1.trimmed();
}

bool ProductPicturePreview::ShowPicture(const QString& folder, const QString& picture1) {
    const QString name = picture1.trimmed();
    const QString file = PictureFileOf(folder, name);
    QImage image;
    if (name.size() >= 4 && QFileInfo(localPath(file)).isFile())
        image = readPicture(localPath(file));
    if (image.isNull()) {
        ProductImage->hide();
        ProductImage->clear();
        ProductImage->setToolTip(QString());
        shownFile_.clear();
        return false;
    }
    ProductImage->setPixmap(QPixmap::fromImage(image));
    ProductImage->setToolTip(QStringLiteral("Files : ") + file);
    ProductImage->show();
    ProductImage->raise();
    shownFile_ = file;
    return true;
}

}  // namespace md::product
