// Draws the splash logo (301 by 166 pixels) and writes it as a JPEG:
//     masterdata-logo app/resources/logo.jpg
// The committed logo.jpg was made with it; build it with `--target masterdata-logo`.

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: masterdata-logo OUTPUT.jpg\n";
        return 2;
    }

    QImage image(301, 166, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, 166);
    sky.setColorAt(0, QColor(0x1f, 0x4e, 0xc8));
    sky.setColorAt(1, QColor(0x0b, 0x1f, 0x66));
    p.fillRect(image.rect(), sky);

    // Three stacked cards: the code lists the program keeps.
    for (int i = 0; i < 3; ++i) {
        const QRectF card(26 + i * 9, 30 + i * 11, 74, 92);
        p.setPen(QPen(QColor(0x0b, 0x1f, 0x66), 2));
        p.setBrush(i == 2 ? QColor(0xff, 0xff, 0xff) : QColor(0xc9, 0xd8, 0xff));
        p.drawRoundedRect(card, 8, 8);
    }
    p.setPen(QPen(QColor(0x1f, 0x4e, 0xc8), 4, Qt::SolidLine, Qt::RoundCap));
    for (int line = 0; line < 4; ++line) {
        const qreal y = 70 + line * 14;
        p.drawLine(QPointF(56, y), QPointF(line % 2 ? 98 : 110, y));
    }
    // A gold tick over the front card.
    QPainterPath tick;
    tick.moveTo(92, 118);
    tick.lineTo(104, 132);
    tick.lineTo(130, 100);
    p.setPen(QPen(QColor(0xff, 0xc4, 0x2e), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);

    p.setPen(Qt::white);
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(26);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(140, 38, 156, 34), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Master"));
    p.drawText(QRectF(140, 70, 156, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Data"));
    QFont thai(QStringLiteral("Garuda"));
    thai.setPixelSize(17);
    p.setFont(thai);
    p.setPen(QColor(0xff, 0xc4, 0x2e));
    p.drawText(QRectF(140, 106, 156, 28), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral(u"ข้อมูลหลัก"));
    p.end();

    if (!image.save(args.at(1), "JPG", 90)) {
        QTextStream(stderr) << "cannot write " << args.at(1) << '\n';
        return 1;
    }
    return 0;
}
