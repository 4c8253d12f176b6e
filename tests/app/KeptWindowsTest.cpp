// The windows the program keeps for the run, and the keys it can play: every kept search is gone
// once the start-up object is, before the application object; a key script names real keys
// and reaches the control that has the focus.

#include "app/KeyScript.h"
#include "app/Startup.h"
#include "errors/TApplication.h"
#include "forms/Fr_SimpleSearch.h"
#include "forms/KeptWindow.h"
#include "masters/Fr_SearchFrVendor.h"
#include "masters/LookupSearches.h"
#include "masters/U_SearchMisc.h"
#include "masters/U_SearchSalesman.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

namespace md::app {
namespace {

TEST(KeptWindows, EverySearchKeptForTheRunGoesWithTheStartup) {
    QList<QPointer<QWidget>> kept;
    {
        Startup startup(*errors::TApplication::instance(), StartupOptions{});
        kept << forms::KeptWindow<forms::TFrSimpleSearch>::get() << masters::F_SearchMisc()
             << masters::F_SearchSalesman() << masters::FrSearchFrVendor();
        for (const QPointer<QWidget>& w : kept)
            ASSERT_FALSE(w.isNull());
        // Made once, then the same window on every use.
        EXPECT_EQ(masters::F_SearchMisc(), kept[1].data());
    }
    for (const QPointer<QWidget>& w : kept)
        EXPECT_TRUE(w.isNull());
    EXPECT_EQ(forms::FrSimpleSearch(), nullptr);
}

TEST(KeptWindows, ReleasedNewestFirstAndMadeAgainOnTheNextUse) {
    QStringList destroyed;
    QPointer<QWidget> first = masters::F_SearchSalesman();
    QPointer<QWidget> second = masters::F_SearchMisc();
    QObject::connect(first.data(), &QObject::destroyed, [&] { destroyed << QStringLiteral("1"); });
    QObject::connect(second.data(), &QObject::destroyed, [&] { destroyed << QStringLiteral("2"); });
    forms::releaseKeptWindows();
    EXPECT_EQ(destroyed, (QStringList{QStringLiteral("2"), QStringLiteral("1")}));
    QPointer<QWidget> again = masters::F_SearchMisc();
    EXPECT_FALSE(again.isNull());
    forms::releaseKeptWindows();
    EXPECT_TRUE(again.isNull());
}

TEST(KeyScript, NamesKeysAsShortcutsAreWrittenAndRefusesUnknownOnes) {
    EXPECT_EQ(ParseKeyScript(QStringLiteral("F5  Esc Return Ctrl+X A")),
              (QStringList{QStringLiteral("F5"), QStringLiteral("Esc"), QStringLiteral("Return"),
                           QStringLiteral("Ctrl+X"), QStringLiteral("A")}));
    QString bad;
    EXPECT_TRUE(ParseKeyScript(QStringLiteral("F5 Bogus Esc"), &bad).isEmpty());
    EXPECT_EQ(bad, QStringLiteral("Bogus"));
    EXPECT_TRUE(ParseKeyScript(QString()).isEmpty());
}

TEST(KeyScript, KeysReachTheFocusedControlAndTypeTheirLetters) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    edit->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return edit->hasFocus(); }));
    // A letter key types its small letter, with Shift the capital.
    PlayKeys(&window, ParseKeyScript(QStringLiteral("A Shift+B Backspace C")), 10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return edit->text() == QStringLiteral("ac"); }, 3000))
        << edit->text().toStdString();
}

}  // namespace
}  // namespace md::app
