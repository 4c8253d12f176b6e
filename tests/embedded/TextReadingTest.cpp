// Texts read in place over the text of the row before come out as QString::fromUtf8 makes them,
// and never change a copy the program still holds.

#include "data/embedded/SqliteUtil.h"

#include <gtest/gtest.h>

namespace {

using md::embedded::assignUtf8;

QString readOver(QString previous, const QByteArray& bytes) {
    assignUtf8(previous, QByteArrayView(bytes.constData(), bytes.size()));
    return previous;
}

TEST(TextReading, InPlaceReadingGivesWhatFromUtf8Gives) {
    const QByteArray inputs[] = {
        QByteArray("P00012345"),
        QString::fromUtf8("สินค้าทดสอบ 77").toUtf8(),
        QByteArray("\xEF\xBB\xBFwith a byte order mark"),
        QByteArray("a mark \xEF\xBB\xBF inside"),
        QByteArray("bad \xFF byte, cut \xE0\xB8"),
        QByteArray("overlong \xC0\xAF and a surrogate \xED\xA0\x80"),
        QString::fromUtf8("x \U0001F600 y").toUtf8(),
        QByteArray("nul\0inside", 10),
        QByteArray("noncharacters \xEF\xBF\xBE \xEF\xB7\x90 \xF4\x8F\xBF\xBF"),
        QByteArray("past the last \xF4\x90\x80\x80 and \xF5\x80\x80\x80"),
        QByteArray("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x90\x80\x80"),
        // Runs of ASCII longer than a word, broken at every place by another character.
        QByteArray("P0001234567890123"),
        QByteArray("P000123\xC3\xA9"),
        QByteArray("P0001234\xE0\xB8\x81"),
        QByteArray("P00012345\xFF" "1234567"),
        // The ends of the Thai block and next to it, and a Thai sequence broken off.
        QByteArray("\xE0\xB8\x80\xE0\xB8\xBF\xE0\xB9\x80\xE0\xB9\xBF\xE0\xBA\x80\xE0\xB7\xBF"),
        QByteArray("\xE0\xB8\x41 and \xE0\xB9"),
    };
    const QString previous[] = {QString(), QString::fromUtf8(""),
                                QStringLiteral("a much longer "
                                               "text before"),
                                QStringLiteral("ab")};
    for (const QByteArray& in : inputs) {
        const QString want = QString::fromUtf8(in);
        for (const QString& before : previous) {
            const QString got = readOver(before, in);
            EXPECT_EQ(got, want) << in.toHex().constData();
            EXPECT_EQ(got.size(), want.size());
        }
    }
    // Empty text stays empty, not null; a null view gives a null text.
    const char* empty = "";
    QString t = QStringLiteral("old");
    assignUtf8(t, QByteArrayView(empty, 0));
    EXPECT_TRUE(t.isEmpty());
    EXPECT_FALSE(t.isNull());
    assignUtf8(t, QByteArrayView());
    EXPECT_TRUE(t.isNull());
}

TEST(TextReading, ACopyTheProgramHoldsKeepsItsText) {
    QString cell = QStringLiteral("first row's code");
    const QString kept = cell;
    assignUtf8(cell, QByteArrayView("second"));
    EXPECT_EQ(kept, QStringLiteral("first row's code"));
    EXPECT_EQ(cell, QStringLiteral("second"));
    const QChar* buffer = cell.constData();
    assignUtf8(cell, QByteArrayView("third"));
    EXPECT_EQ(cell, QStringLiteral("third"));
    EXPECT_EQ(cell.constData(), buffer) << "a text held alone is read over in its own buffer";
}

}  // namespace
