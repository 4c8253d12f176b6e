// The start-up's pieces one by one: numeric arguments, the short date format, the logo through
// libjpeg, the splash window and the keyword registry.

#include "app/Fr_FormLogo.h"
#include "app/ShortDate.h"
#include "app/Startup.h"
#include "app/WindowRegistry.h"
#include "forms/JpegImage.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QWidget>

namespace md::app {
namespace {

using forms::DecodeJpeg;
using forms::LoadJpeg;

QString conversionFailure(const QStringList& args, int position) {
    try {
        ArgumentToInt(args, position, QStringLiteral("menu id"));
    } catch (const FatalStartupError& e) {
        return e.message();
    }
    return {};
}

TEST(ArgumentToInt, DecimalIntegersWithLeadingBlanksAndSign) {
    const QStringList args = {QStringLiteral("101"), QStringLiteral("  7"), QStringLiteral("-3"),
                              QStringLiteral("+5"), QStringLiteral("2147483647")};
    EXPECT_EQ(ArgumentToInt(args, 1, QStringLiteral("menu id")), 101);
    EXPECT_EQ(ArgumentToInt(args, 2, QStringLiteral("user id")), 7);
    EXPECT_EQ(ArgumentToInt(args, 3, QStringLiteral("x")), -3);
    EXPECT_EQ(ArgumentToInt(args, 4, QStringLiteral("x")), 5);
    EXPECT_EQ(ArgumentToInt(args, 5, QStringLiteral("x")), 2147483647);
}

TEST(ArgumentToInt, AnythingElseIsFatalAndNamesTheValue) {
    for (const QString& bad :
         {QString(), QStringLiteral("abc"), QStringLiteral("12x"), QStringLiteral("7 "),
          QStringLiteral("-"), QStringLiteral("0x10"), QStringLiteral("1.5"),
          QStringLiteral("2147483648"), QStringLiteral(u"๑๐๑")}) {
        const QString message = conversionFailure({bad}, 1);
        EXPECT_EQ(message,
                  QStringLiteral("Argument 1 (menu id) is not a valid integer: '") + bad + u'\'')
            << bad.toStdString();
    }
    EXPECT_EQ(conversionFailure({}, 1), QStringLiteral("Argument 1 (menu id) is missing"));
    EXPECT_EQ(conversionFailure({QStringLiteral("1")}, 2),
              QStringLiteral("Argument 2 (menu id) is missing"));
}

TEST(ShortDate, DayMonthFourDigitYearEverywhere) {
    SetShortDateFormat();
    const QDate date(2024, 2, 9);
    EXPECT_EQ(QLocale().dateFormat(QLocale::ShortFormat), QStringLiteral("dd/MM/yyyy"));
    EXPECT_EQ(QLocale().toString(date, QLocale::ShortFormat), QStringLiteral("09/02/2024"));
    EXPECT_EQ(QLocale().toDate(QStringLiteral("09/02/2024"), QLocale::ShortFormat), date);
    EXPECT_EQ(FormatShortDate(date), QStringLiteral("09/02/2024"));
    EXPECT_EQ(FormatShortDate(QDate()), QString());
    EXPECT_EQ(ParseShortDate(QStringLiteral("09/02/2024")), date);
    EXPECT_EQ(ParseShortDate(QStringLiteral(" 9/2/2024 ")), date);
    EXPECT_FALSE(ParseShortDate(QStringLiteral("31/02/2024")).isValid());
    EXPECT_FALSE(ParseShortDate(QStringLiteral("02/09/24")).isValid());
    EXPECT_FALSE(ParseShortDate(QStringLiteral("2024-02-09")).isValid());
}

TEST(Jpeg, TheLogoDecodesToTheSplashSize) {
    const QImage logo = TFormLogo::LogoImage();
    ASSERT_FALSE(logo.isNull());
    EXPECT_EQ(logo.size(), QSize(301, 166));
    const QColor corner = logo.pixelColor(2, 2);
    EXPECT_GT(corner.blue(), corner.red() + 80);  // our blue artwork
}

TEST(Jpeg, DataThatIsNoJpegGivesANullImageAndLibjpegsText) {
    QString error;
    EXPECT_TRUE(DecodeJpeg(QByteArray(), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_TRUE(DecodeJpeg(QByteArray("\x89PNG\r\n\x1a\n not a jpeg", 20), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_TRUE(LoadJpeg(QStringLiteral(":/app/no-such.jpg"), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}

TEST(Jpeg, ATruncatedPictureStillDecodesAtItsFullSize) {
    QFile file(QStringLiteral(":/app/logo.jpg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    QString error;
    const QImage half = DecodeJpeg(whole.left(whole.size() / 2), &error);
    ASSERT_FALSE(half.isNull()) << error.toStdString();
    EXPECT_EQ(half.size(), QSize(301, 166));
    // A header cut short is an error, not a crash.
    EXPECT_TRUE(DecodeJpeg(whole.left(40), &error).isNull());
}

TEST(Splash, BorderlessBlueCentredWithTheStretchedLogo) {
    TFormLogo logo;
    logo.show();
    EXPECT_EQ(logo.size(), QSize(301, 166));
    EXPECT_TRUE(logo.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(logo.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(logo.palette().color(QPalette::Window), QColor(Qt::blue));
    EXPECT_FALSE(logo.testAttribute(Qt::WA_QuitOnClose));  // never keeps the program alive
    ASSERT_NE(logo.Image1, nullptr);
    EXPECT_TRUE(logo.Image1->hasScaledContents());
    EXPECT_FALSE(logo.Image1->pixmap().isNull());
    EXPECT_EQ(logo.Image1->geometry(), logo.rect());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        EXPECT_LE((logo.geometry().center() - screen->geometry().center()).manhattanLength(), 2);
    }
}

TEST(Splash, TheGlobalFollowsTheWindowsLife) {
    auto* logo = new TFormLogo;
    FormLogo = logo;
    delete logo;
    EXPECT_EQ(FormLogo, nullptr);
}

class Registry : public ::testing::Test {
  protected:
    void TearDown() override { clearWindows(); }
};

TEST_F(Registry, SixKeywordsInTheirTableOrder) {
    EXPECT_EQ(WindowKeywords(),
              (QStringList{QStringLiteral("IMPEXPENSE"), QStringLiteral("IMPORTLOTNO"),
                           QStringLiteral("FRVENDOR"), QStringLiteral("PARTSOURCE"),
                           QStringLiteral("FRCUSTOMER"), QStringLiteral("EXCHANGE")}));
}

TEST_F(Registry, OnlyAnExactKeywordWithAFactoryFindsAWindow) {
    EXPECT_FALSE(registerWindow(QStringLiteral("NOSUCH"), [] { return new QWidget; }));
    EXPECT_FALSE(registerWindow(QStringLiteral("EXCHANGE"), WindowFactory()));
    EXPECT_FALSE(findWindow(QStringLiteral("EXCHANGE")));  // a keyword without a window yet
    ASSERT_TRUE(registerWindow(QStringLiteral("EXCHANGE"), [] { return new QWidget; }));
    EXPECT_TRUE(findWindow(QStringLiteral("EXCHANGE")));
    EXPECT_FALSE(findWindow(QStringLiteral(" EXCHANGE")));
    EXPECT_FALSE(findWindow(QStringLiteral("EXCHANGE ")));
    EXPECT_FALSE(findWindow(QStringLiteral("exchange")));  // the start-up upper-cases first
    EXPECT_FALSE(findWindow(QStringLiteral("NOSUCH")));
    EXPECT_FALSE(findWindow(QString()));
    clearWindows();
    EXPECT_FALSE(findWindow(QStringLiteral("EXCHANGE")));
}

}  // namespace
}  // namespace md::app
