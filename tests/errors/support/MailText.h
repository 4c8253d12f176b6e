#pragma once

// Reads back a message as the SMTP sink received it: headers unfolded, the subject's encoded
// words and the base64 body decoded.

#include <QByteArray>
#include <QList>
#include <QString>

namespace md::testing {

inline QByteArray mailHeader(const QByteArray& data, const QByteArray& name) {
    const qsizetype blank = data.indexOf("\r\n\r\n");
    const QList<QByteArray> lines = data.left(blank).split('\n');
    QByteArray value;
    bool inHeader = false;
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith(name + ": ")) {
            value = line.mid(name.size() + 2);
            inHeader = true;
        } else if (inHeader && line.startsWith(' ')) {
            value += line;
        } else {
            inHeader = false;
        }
    }
    return value;
}

inline QString mailSubject(const QByteArray& data) {
    const QByteArray raw = mailHeader(data, "Subject");
    if (!raw.startsWith("=?"))
        return QString::fromUtf8(raw);
    QByteArray utf8;
    for (const QByteArray& word : raw.split(' ')) {
        if (word.startsWith("=?UTF-8?B?") && word.endsWith("?=")) {
            utf8 += QByteArray::fromBase64(word.mid(10, word.size() - 12));
        }
    }
    return QString::fromUtf8(utf8);
}

inline QString mailBody(const QByteArray& data) {
    const qsizetype blank = data.indexOf("\r\n\r\n");
    return QString::fromUtf8(QByteArray::fromBase64(data.mid(blank + 4)));
}

}  // namespace md::testing
