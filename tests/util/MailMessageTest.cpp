#include "util/Mailer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QList>
#include <QTemporaryDir>

namespace md::util {
namespace {

struct Parsed {
    QList<QByteArray> headerLines;
    QByteArray body;
};

Parsed split(const QByteArray& message) {
    Parsed p;
    const qsizetype blank = message.indexOf("\r\n\r\n");
    p.headerLines = message.left(blank).split('\n');
    for (auto& line : p.headerLines)
        line.chop(line.endsWith('\r') ? 1 : 0);
    p.body = message.mid(blank + 4);
    return p;
}

// Unfolds the Subject header and decodes its encoded words.
QString subjectOf(const Parsed& p) {
    QByteArray raw;
    bool inSubject = false;
    for (const auto& line : p.headerLines) {
        if (line.startsWith("Subject: ")) {
            raw = line.mid(9);
            inSubject = true;
        } else if (inSubject && line.startsWith(' ')) {
            raw += line;
        } else {
            inSubject = false;
        }
    }
    if (!raw.startsWith("=?"))
        return QString::fromUtf8(raw);
    QByteArray utf8;
    for (const auto& word : raw.split(' ')) {
        EXPECT_TRUE(word.startsWith("=?UTF-8?B?") && word.endsWith("?=")) << word.constData();
        EXPECT_LE(word.size(), 75);
        utf8 += QByteArray::fromBase64(word.mid(10, word.size() - 12));
    }
    return QString::fromUtf8(utf8);
}

const QString kThaiSubject =
    QStringLiteral(u"Error KVR_DEMO ข้อมูลต่างประเทศ ผู้ขายต่างประเทศ ราคาสินค้าจากผู้ขาย อัตราแลกเปลี่ยน");

TEST(MailMessage, HeadersDeclareUtf8PlainText) {
    const Parsed p =
        split(BuildMailMessage(MailSettings{}, QStringLiteral("x"), QStringLiteral("y")));
    EXPECT_TRUE(p.headerLines.contains("MIME-Version: 1.0"));
    EXPECT_TRUE(p.headerLines.contains("Content-Type: text/plain; charset=UTF-8"));
    EXPECT_TRUE(p.headerLines.contains("Content-Transfer-Encoding: base64"));
    EXPECT_TRUE(p.headerLines.contains("From: <masterdata-errors@localhost>"));
    EXPECT_TRUE(p.headerLines.contains("To: <support@localhost>"));
}

TEST(MailMessage, ThaiSubjectSurvivesAsEncodedWords) {
    const Parsed p = split(BuildMailMessage(MailSettings{}, kThaiSubject, QString()));
    EXPECT_EQ(subjectOf(p), kThaiSubject);
    for (const auto& line : p.headerLines) {
        for (char c : line)
            EXPECT_LT(static_cast<unsigned char>(c), 0x80) << line.constData();
    }
}

TEST(MailMessage, AsciiSubjectStaysReadable) {
    const Parsed p = split(BuildMailMessage(MailSettings{}, QStringLiteral("Error DB menu"), {}));
    EXPECT_TRUE(p.headerLines.contains("Subject: Error DB menu"));
}

TEST(MailMessage, SubjectCannotAddHeaderLines) {
    const Parsed p =
        split(BuildMailMessage(MailSettings{}, QStringLiteral("Error\r\nBcc: someone@else"), {}));
    for (const auto& line : p.headerLines)
        EXPECT_FALSE(line.startsWith("Bcc:"));
}

TEST(MailMessage, BodyIsUtf8WithCrlfLines) {
    const QString body = QStringLiteral(
        u"[User = ADMIN] \rLocal IP = 10.0.0.1\rป้อนวันที่ไม่ถูกต้อง\n'31/02/2024' IS NOT A VALID "
        u"DATE\r\n");
    const Parsed p = split(BuildMailMessage(MailSettings{}, QStringLiteral("s"), body));
    for (const auto& line : p.body.split('\n'))
        EXPECT_LE(line.size(), 77);
    const QByteArray decoded = QByteArray::fromBase64(p.body);
    EXPECT_EQ(QString::fromUtf8(decoded),
              QStringLiteral(u"[User = ADMIN] \r\nLocal IP = "
                             u"10.0.0.1\r\nป้อนวันที่ไม่ถูกต้อง\r\n'31/02/2024' IS NOT A VALID DATE\r\n"));
}

TEST(MailSettingsTest, DefaultsIniThenEnvironment) {
    qunsetenv("MD_SMTP_HOST");
    qunsetenv("MD_SMTP_PORT");
    qunsetenv("MD_SMTP_FROM");
    qunsetenv("MD_SMTP_TO");
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("masterdata.ini"));

    const MailSettings defaults = MailSettings::load(ini);
    EXPECT_EQ(defaults.port, 25);
    EXPECT_FALSE(defaults.host.isEmpty());

    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Mail]\nHost=mail.internal\nPort=2525\nFrom=errors@internal\nTo=help@internal\n");
    file.close();
    MailSettings fromIni = MailSettings::load(ini);
    EXPECT_EQ(fromIni.host, QStringLiteral("mail.internal"));
    EXPECT_EQ(fromIni.port, 2525);
    EXPECT_EQ(fromIni.from, QStringLiteral("errors@internal"));
    EXPECT_EQ(fromIni.to, QStringLiteral("help@internal"));

    qputenv("MD_SMTP_HOST", "127.0.0.1");
    qputenv("MD_SMTP_PORT", "2626");
    qputenv("MD_SMTP_TO", "desk@internal");
    MailSettings fromEnv = MailSettings::load(ini);
    qunsetenv("MD_SMTP_HOST");
    qunsetenv("MD_SMTP_PORT");
    qunsetenv("MD_SMTP_TO");
    EXPECT_EQ(fromEnv.host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(fromEnv.port, 2626);
    EXPECT_EQ(fromEnv.from, QStringLiteral("errors@internal"));
    EXPECT_EQ(fromEnv.to, QStringLiteral("desk@internal"));
}

}  // namespace
}  // namespace md::util
