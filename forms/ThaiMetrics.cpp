#include "forms/ThaiMetrics.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>
#include <cmath>

namespace md::forms {

QString thaiStackSample() {
    // ปิ๊ ฟื้ ฝั่ : high; ฎู ฏุ ฐู ฤ ญู : low.
    return QStringLiteral(u"ปิ๊ ฟื้ ฝั่ ฎู ฏุ ฐู ฤ ญู");
}

ThaiInk thaiInk(const QFont& font) {
    QPainterPath path;
    path.addText(0, 0, font, thaiStackSample());
    if (path.isEmpty())
        return {};
    const QRectF ink = path.boundingRect();
    return {int(std::ceil(-ink.top())), int(std::ceil(ink.bottom()))};
}

int thaiLineHeight(const QFont& font) {
    const QFontMetrics fm(font);
    const ThaiInk ink = thaiInk(font);
    if (!ink.drawn())
        return fm.height();
    // As a box places its text: the bounding box of the text centred in the area (the same
    // integer arithmetic), the baseline at the font's own ascent from the bounding box's top.
    // A pixel is kept clear at either edge, where the ink would otherwise touch the cut.
    const int box = std::max(fm.height(), fm.boundingRect(thaiStackSample()).height());
    for (int area = fm.height();; ++area) {
        const int top = (area - box + 1) / 2;
        if (top + fm.ascent() - ink.above >= 1 && top + fm.ascent() + ink.below <= area - 1)
            return area;
    }
}

int thaiCellLineHeight(const QFont& font) {
    QTextLayout layout(thaiStackSample(), font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    return int(std::ceil(line.height()));
}

int lineEditChrome(const QLineEdit* edit) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = QRect(0, 0, 100, 100);
    option.lineWidth = edit->hasFrame()
                           ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                           : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents =
        edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QMargins text = edit->textMargins();
    return 100 - contents.height() + text.top() + text.bottom();
}

void fitThaiMarks(QWidget* root) {
    for (QLineEdit* edit : root->findChildren<QLineEdit*>()) {
        QWidget* parent = edit->parentWidget();
        if (qobject_cast<QComboBox*>(parent) || qobject_cast<QAbstractSpinBox*>(parent))
            continue;
        const int needed = thaiLineHeight(edit->font()) + lineEditChrome(edit);
        if (edit->minimumHeight() < needed && edit->maximumHeight() >= needed)
            edit->setMinimumHeight(needed);
    }
}

}  // namespace md::forms
