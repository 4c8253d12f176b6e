#include "util/Utility.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <cmath>

namespace md::util {
namespace {

TEST(RoundHalfUp, StatedValues) {
    EXPECT_EQ(RoundHalfUp(15, 6, 1.2345675), 1.234568);
    EXPECT_EQ(RoundHalfUp(15, 6, 1.2345674), 1.234567);
    EXPECT_EQ(RoundHalfUp(15, 6, -1.2345675), -1.234568);
    EXPECT_EQ(RoundHalfUp(15, 6, 2), 2.0);
}

TEST(RoundHalfUp, HalvesThatBinaryHoldsJustBelow) {
    // Each of these is stored a hair under the written half: 1.005 is 1.00499999999999989…
    ASSERT_LT(1.005, 1.005L);
    EXPECT_EQ(RoundHalfUp(15, 2, 1.005), 1.01);
    EXPECT_EQ(RoundHalfUp(15, 2, 2.675), 2.68);
    EXPECT_EQ(RoundHalfUp(15, 2, -2.675), -2.68);
    EXPECT_EQ(RoundHalfUp(15, 3, 1.0005), 1.001);
    EXPECT_EQ(RoundHalfUp(15, 6, 0.0000005), 0.000001);
    EXPECT_EQ(RoundHalfUp(15, 6, 35.1234565), 35.123457);
}

TEST(RoundHalfUp, JustUnderTheHalfStaysDown) {
    EXPECT_EQ(RoundHalfUp(15, 6, 1.23456749), 1.234567);
    EXPECT_EQ(RoundHalfUp(15, 2, 1.0049), 1.0);
    // Beyond 15 significant digits a difference no longer counts: the text reads as a half.
    EXPECT_EQ(RoundHalfUp(15, 6, 1.2345674999999999), 1.234568);
}

TEST(RoundHalfUp, CarriesAcrossDigits) {
    EXPECT_EQ(RoundHalfUp(15, 6, 9.9999995), 10.0);
    EXPECT_EQ(RoundHalfUp(15, 2, 99.995), 100.0);
    EXPECT_EQ(RoundHalfUp(15, 2, -0.995), -1.0);
}

TEST(RoundHalfUp, CutsWithoutRoundingBelowTheHalf) {
    EXPECT_EQ(RoundHalfUp(15, 6, 33.3333333333), 33.333333);
    EXPECT_EQ(RoundHalfUp(15, 1, 0.04), 0.0);
    EXPECT_FALSE(std::signbit(RoundHalfUp(15, 6, -0.0000001)));  // no negative zero
}

TEST(RoundHalfUp, PrecisionLimitsTheDigitsRead) {
    // With 4 significant digits 1.23449 reads as 1.234 (cut 1.23, next digit 4);
    // with 6 it reads as 1.23449 and also stays down; 1.2345 with 4 rounds to 1.235 first.
    EXPECT_EQ(RoundHalfUp(4, 2, 1.23449), 1.23);
    EXPECT_EQ(RoundHalfUp(4, 3, 1.23449), 1.234);
    EXPECT_EQ(RoundHalfUp(4, 2, 1.2351), 1.24);
    // Ten integer digits leave five of the fifteen for decimals: the sixth place reads as 0.
    EXPECT_EQ(RoundHalfUp(15, 6, 1234567890.1234569), 1234567890.12346);
}

TEST(Workstation, ValuesAreReported) {
    const QString computer = LocalComputerName();
    EXPECT_FALSE(computer.isEmpty());
    EXPECT_LE(computer.size(), 15);
    EXPECT_EQ(computer, computer.trimmed());

    const QString login = LocalLoginName();
    EXPECT_FALSE(login.isEmpty());
    EXPECT_EQ(login, login.toUpper());

    // Empty where the machine's name does not resolve; otherwise one dotted address.
    const QString ip = LocalIpAddress();
    if (!ip.isEmpty()) {
        EXPECT_TRUE(
            QRegularExpression(QStringLiteral("^\\d{1,3}(\\.\\d{1,3}){3}$")).match(ip).hasMatch())
            << ip.toStdString();
    }
}

TEST(Workstation, AddressIsTheLastTheResolverListsForTheHostName) {
    QString asked;
    const QString ip = LocalIpAddress([&](const QString& host) {
        asked = host;
        return std::vector<quint32>{0x0a000001, 0xc0a80117};  // two adapters
    });
    EXPECT_EQ(ip, QStringLiteral("192.168.1.23"));
    EXPECT_EQ(asked, LocalHostName());
    EXPECT_FALSE(asked.isEmpty());
    EXPECT_EQ(LocalIpAddress([](const QString&) { return std::vector<quint32>{0xff000000}; }),
              QStringLiteral("255.0.0.0"));
}

TEST(Workstation, AnUnresolvedHostNameGivesAnEmptyAddress) {
    EXPECT_EQ(LocalIpAddress([](const QString&) { return std::vector<quint32>{}; }), QString());
}

TEST(Workstation, TheSystemResolverReadsNumericAddressesWithoutTheNameService) {
    EXPECT_EQ(ResolveHost(QStringLiteral("127.0.0.1")), std::vector<quint32>{0x7f000001});
    EXPECT_EQ(ResolveHost(QStringLiteral("10.20.30.40")), std::vector<quint32>{0x0a141e28});
    EXPECT_TRUE(ResolveHost(QString()).empty());
}

}  // namespace
}  // namespace md::util
