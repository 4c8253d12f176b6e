#include "schema/DemoServer.h"

#include <QColor>
#include <QImage>
#include <QPainter>

namespace md::schema {

void writeDemoPicture(const QString& path, int seed) {
    QImage image(240, 180, QImage::Format_RGB32);
    const QColor base = QColor::fromHsv((seed * 47) % 360, 90, 230);
    image.fill(base);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(base.darker(160));
    painter.drawRoundedRect(40 + seed % 30, 30, 160 - seed % 30, 110, 14, 14);
    painter.setBrush(QColor::fromHsv((seed * 47 + 180) % 360, 160, 250));
    painter.drawEllipse(QPoint(120, 85), 30 + seed % 20, 30 + seed % 20);
    painter.end();
    if (!image.save(path, "JPG", 85)) {
        throw DemoError(u"Cannot write the picture %1"_qs.arg(path));
    }
}

}  // namespace md::schema
