#pragma once

// Room for Thai above and below the line in single-line boxes and grid rows.
//
// A box centres its text by the text's bounding box, whose height comes from the font that draws
// the Thai letters (a fallback font when the box's own font has none), but it puts the baseline
// at the box font's own ascent. A Latin font with a shorter ascent than the Thai font therefore
// lifts a consonant with an upper vowel and a tone mark above the box, where it is cut off, and
// a box sized by the Latin font alone has no room for the marks at all. These rules measure the
// ink of the tallest stacks in the font as the toolkit draws them and give the box what it needs.

#include <QFont>
#include <QString>

class QLineEdit;
class QWidget;

namespace md::forms {

// Consonants with the highest and the lowest stacks Thai writes: an ascending consonant with an
// upper vowel and a tone mark, and consonants with a tail below carrying a lower vowel.
QString thaiStackSample();

// The ink of the sample above and below the baseline, in whole pixels, as drawn with `font`
// (fallback fonts included); {0, 0} when no font here draws Thai.
struct ThaiInk {
    int above = 0;
    int below = 0;
    bool drawn() const { return above > 0; }
};
ThaiInk thaiInk(const QFont& font);

// The height the text area of a single-line box needs so that the sample, placed as the box
// places its text, stays inside it.
int thaiLineHeight(const QFont& font);

// The height of a line of the sample as a grid cell lays it out (the ascent and descent of the
// fonts that draw it), which holds its stacks.
int thaiCellLineHeight(const QFont& font);

// The pixels of a box's height that are not its text area (frame, margins).
int lineEditChrome(const QLineEdit* edit);

// Gives every single-line box under `root` (not those inside combo or spin boxes, which size
// their own) at least the height the Thai stacks of its font need. Run before a window's size is
// fixed, so the layout makes the room.
void fitThaiMarks(QWidget* root);

}  // namespace md::forms
