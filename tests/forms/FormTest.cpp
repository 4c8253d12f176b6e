// The entry form base: the keys every entry window shares, the exit question, the actions.

#include "data/Dm_Config.h"
#include "forms/DbGrid.h"
#include "forms/Fr_Form.h"
#include "forms/ThaiMetrics.h"
#include "forms/testing/WindowHarness.h"

#include <gtest/gtest.h>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>
#include <vector>

using md::forms::TFrForm;
using md::forms::testing::WindowHarness;

namespace {

// A window with three fields and a save that counts, as a derived window would have.
class ThreeFields : public TFrForm {
  public:
    ThreeFields() {
        auto* layout = new QVBoxLayout(clientArea());
        for (const char* name : {"First", "Second", "Third"}) {
            auto* e = new QLineEdit(clientArea());
            e->setObjectName(QString::fromLatin1(name));
            layout->addWidget(e);
        }
    }
    void AcSaveExecute() override { ++saves; }
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override {
        keysSeen << key;
        TFrForm::FormKeyDown(key, shift);
    }
    int saves = 0;
    QList<int> keysSeen;
};

class Form : public ::testing::Test {
  protected:
    void SetUp() override {
        md::data::DMConfig = &config_;
        config_.LanguageThai = true;
        window_ = std::make_unique<ThreeFields>();
        ASSERT_TRUE(h_.show(window_.get()));
        first_ = h_.find<QLineEdit>(QStringLiteral("First"));
        h_.focus(first_);
    }
    void TearDown() override {
        window_.reset();
        md::data::DMConfig = nullptr;
    }

    md::data::TDMConfig config_;
    WindowHarness h_;
    std::unique_ptr<ThreeFields> window_;
    QLineEdit* first_ = nullptr;
};

TEST_F(Form, OpensCentredAtItsDesignedSizeWithAFixedBorderAndNoMaximise) {
    EXPECT_EQ(window_->size(), QSize(632, 421));
    EXPECT_EQ(window_->minimumSize(), QSize(632, 421));
    EXPECT_EQ(window_->maximumSize(), QSize(632, 421));
    const Qt::WindowFlags flags = window_->windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    const QPoint off =
        window_->frameGeometry().center() - window_->screen()->availableGeometry().center();
    EXPECT_LE(std::abs(off.x()), 1);
    EXPECT_LE(std::abs(off.y()), 1);

    // A derived window's own client size is the one fixed.
    ThreeFields smaller;
    smaller.resize(512, 235);
    WindowHarness h;
    ASSERT_TRUE(h.show(&smaller));
    EXPECT_EQ(smaller.maximumSize(), QSize(512, 235));
    EXPECT_EQ(smaller.minimumSize(), QSize(512, 235));
}

// Rows of `area` that hold ink: pixels much darker than the box's background.
std::vector<int> inkRows(const QImage& image, const QRect& area) {
    const int background = qGray(image.pixel(area.right() - 1, area.center().y()));
    std::vector<int> rows;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) + 80 < background) {
                rows.push_back(y);
                break;
            }
    return rows;
}

// Depends on a font that draws Thai being installed (any will do); skips without one.
TEST_F(Form, ThaiMarksAboveAndBelowTheLineFitInsideTheBoxes) {
    const QFont font = first_->font();
    const md::forms::ThaiInk ink = md::forms::thaiInk(font);
    if (!ink.drawn())
        GTEST_SKIP() << "no font here draws Thai";
    EXPECT_GE(first_->height(),
              md::forms::thaiLineHeight(font) + md::forms::lineEditChrome(first_));
    EXPECT_GE(md::forms::thaiLineHeight(font), ink.above + ink.below);

    // As drawn: the stacks stay clear of the edges of the text area, where the box cuts off.
    first_->setText(md::forms::thaiStackSample());
    first_->setCursorPosition(0);
    first_->deselect();
    QStyleOptionFrame option;
    option.initFrom(first_);
    option.lineWidth = first_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, first_);
    option.state |= QStyle::State_Sunken;
    const QRect area =
        first_->style()->subElementRect(QStyle::SE_LineEditContents, &option, first_);
    const QRect inside(area.left() + 4, area.top(), area.width() / 2, area.height());
    const std::vector<int> rows = inkRows(first_->grab().toImage(), inside);
    ASSERT_FALSE(rows.empty());
    EXPECT_GT(rows.front(), area.top()) << "a tone mark cut off at the top";
    EXPECT_LT(rows.back(), area.bottom()) << "a lower vowel cut off at the bottom";

    // Grid rows hold a line of the stacks as a cell lays it out, inside the grid lines.
    md::forms::DbGrid grid;
    grid.setFont(font);
    EXPECT_GE(md::forms::thaiCellLineHeight(font), ink.above + ink.below);
    EXPECT_GE(grid.verticalHeader()->defaultSectionSize(), md::forms::thaiCellLineHeight(font) + 2);
}

TEST_F(Form, EnterWalksTheFieldsAndWrapsWithoutTypingIntoThem) {
    h_.type(QStringLiteral("ab"));
    h_.press(Qt::Key_Return);
    EXPECT_EQ(h_.focusedName(), QStringLiteral("Second"));
    h_.press(Qt::Key_Enter);
    EXPECT_EQ(h_.focusedName(), QStringLiteral("Third"));
    h_.press(Qt::Key_Return);
    EXPECT_EQ(h_.focusedName(), QStringLiteral("First"));
    EXPECT_EQ(first_->text(), QStringLiteral("ab"));
    EXPECT_TRUE(h_.prompts.shown.isEmpty());
}

TEST_F(Form, EscapeAnsweredNoKeepsTheWindowFocusAndEntries) {
    h_.press(Qt::Key_Return);
    h_.type(QStringLiteral("kept"));
    h_.prompts.answer({false});
    h_.press(Qt::Key_Escape);
    ASSERT_EQ(h_.prompts.shown, QStringList{QStringLiteral(u"exit: ออกจากโปรแกรม ?")});
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(h_.focusedName(), QStringLiteral("Second"));
    EXPECT_EQ(h_.find<QLineEdit>(QStringLiteral("Second"))->text(), QStringLiteral("kept"));
}

TEST_F(Form, EscapeAnsweredYesClosesAndEnglishAsksInEnglish) {
    config_.LanguageThai = false;
    h_.prompts.answer({true});
    h_.press(Qt::Key_Escape);
    EXPECT_EQ(h_.prompts.shown, QStringList{QStringLiteral("exit: Exit Program ?")});
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(Form, TheCloseBoxAsksTheSameQuestion) {
    h_.prompts.answer({false});
    EXPECT_FALSE(window_->close());
    EXPECT_TRUE(window_->isVisible());
    h_.prompts.answer({true});
    EXPECT_TRUE(window_->close());
    EXPECT_EQ(h_.prompts.shown.size(), 2);
}

TEST_F(Form, CtrlXExitsEvenFromAnEditThatWouldCut) {
    h_.type(QStringLiteral("text"));
    first_->selectAll();
    h_.prompts.answer({false});
    h_.press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(h_.prompts.shown.size(), 1);
    EXPECT_EQ(first_->text(), QStringLiteral("text"));
}

TEST_F(Form, SaveIsInertUntilTheDerivedWindowEnablesIt) {
    EXPECT_FALSE(window_->AcSave->isEnabled());
    EXPECT_FALSE(window_->AcDel->isEnabled());
    EXPECT_FALSE(window_->AcChgCode->isEnabled());
    h_.press(Qt::Key_F10);
    EXPECT_EQ(window_->saves, 0);
    window_->AcSave->setEnabled(true);
    h_.press(Qt::Key_F10);
    EXPECT_EQ(window_->saves, 1);
    // New disables it again.
    h_.press(Qt::Key_F3);
    h_.press(Qt::Key_F10);
    EXPECT_EQ(window_->saves, 1);
}

TEST_F(Form, HiddenButtonsKeepShortcutsThatDoNothing) {
    for (const char* name : {"BHist", "BCopy", "BPrint", "BChgCode"})
        EXPECT_FALSE(h_.find<QToolButton>(QString::fromLatin1(name))->isVisible()) << name;
    for (const char* name : {"BNew", "BDel", "BSave", "BExit"})
        EXPECT_TRUE(h_.find<QToolButton>(QString::fromLatin1(name))->isVisible()) << name;
    EXPECT_FALSE(window_->ChgCode->isVisible());
    h_.press(Qt::Key_H, Qt::ControlModifier);
    h_.press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_TRUE(h_.prompts.shown.isEmpty());
}

TEST_F(Form, TheWindowSeesKeysFirstOnlyWhileKeyPreviewIsOn) {
    h_.press(Qt::Key_A);
    EXPECT_EQ(window_->keysSeen, QList<int>{Qt::Key_A});
    window_->setKeyPreview(false);
    h_.press(Qt::Key_Return);
    EXPECT_EQ(window_->keysSeen.size(), 1);
    EXPECT_EQ(h_.focusedName(), QStringLiteral("First"));
    // New switches it on again.
    window_->AcNew->trigger();
    h_.press(Qt::Key_Return);
    EXPECT_EQ(h_.focusedName(), QStringLiteral("Second"));
}

TEST_F(Form, ActionsCarryTheirCaptionsHintsImagesAndShortcuts) {
    struct Expected {
        QAction* action;
        const char* caption;
        const char* hint;
        QKeySequence keys;
    };
    const Expected all[] = {
        {window_->AcNew, "New", "New Record", QKeySequence(Qt::Key_F3)},
        {window_->AcDel, "Delete", "Delete Record", QKeySequence(Qt::Key_F8)},
        {window_->AcSave, "Save", "Save Record", QKeySequence(Qt::Key_F10)},
        {window_->AcHist, "Hist.", "Show History", QKeySequence(Qt::CTRL | Qt::Key_H)},
        {window_->AcCopy, "Copy", "Copy Record", QKeySequence(Qt::Key_F6)},
        {window_->AcPrint, "Print", "Print Record", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {window_->AcExit, "Exit", "Exit Program", QKeySequence(Qt::CTRL | Qt::Key_X)},
        {window_->AcChgCode, "Chg Code", "", QKeySequence(Qt::Key_F12)},
    };
    for (const Expected& e : all) {
        EXPECT_EQ(e.action->text(), QString::fromLatin1(e.caption));
        EXPECT_EQ(e.action->statusTip(), QString::fromLatin1(e.hint));
        EXPECT_EQ(e.action->shortcut(), e.keys) << e.caption;
        EXPECT_FALSE(e.action->icon().isNull()) << e.caption;
    }
    EXPECT_EQ(window_->statusText(0), QString());
    EXPECT_EQ(window_->StatusPanel0->width(), 200);
}

}  // namespace
