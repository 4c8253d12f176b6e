#include "data/embedded/EngineConventions.h"

namespace md::embedded {
namespace {
const QString kMarker = QStringLiteral("\x1fMDERR\x1f");
}

QString encodeEngineError(const EngineErrorInfo& info) {
    return kMarker + QString::number(info.number) + QChar(0x1f) + info.sqlState + QChar(0x1f) +
           info.text;
}

std::optional<EngineErrorInfo> decodeEngineError(const QString& message) {
    const int at = message.indexOf(kMarker);
    if (at < 0)
        return std::nullopt;
    const QString rest = message.mid(at + kMarker.size());
    const int a = rest.indexOf(QChar(0x1f));
    if (a < 0)
        return std::nullopt;
    const int b = rest.indexOf(QChar(0x1f), a + 1);
    if (b < 0)
        return std::nullopt;
    bool ok = false;
    EngineErrorInfo info;
    info.number = rest.left(a).toInt(&ok);
    if (!ok)
        return std::nullopt;
    info.sqlState = rest.mid(a + 1, b - a - 1);
    info.text = rest.mid(b + 1);
    return info;
}

}  // namespace md::embedded
