#include "tools/demo/ProgressLine.h"

#include <unistd.h>

namespace md::tools {
namespace {

constexpr qint64 kShowEveryMs = 250;

// 1234567 as "1,234,567", whatever the locale.
QString grouped(qint64 n) {
    QString digits = QString::number(n);
    for (qsizetype at = digits.size() - 3; at > (n < 0 ? 1 : 0); at -= 3)
        digits.insert(at, u',');
    return digits;
}

QString duration(qint64 seconds) {
    return u"%1:%2"_qs.arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'));
}

}  // namespace

ProgressLine::ProgressLine(std::FILE* stream)
    : stream_(stream), terminal_(::isatty(::fileno(stream)) == 1) {
    timer_.start();
}

ProgressLine::~ProgressLine() {
    finish();
}

QString ProgressLine::text(qint64 done, qint64 total, qint64 elapsedMs) {
    QString line = u"Generating products: %1 of %2"_qs.arg(grouped(done), grouped(total));
    if (elapsedMs > 0 && done > 0) {
        const qint64 rate = done * 1000 / elapsedMs;
        line += u", %1 a second"_qs.arg(grouped(rate));
        if (done < total && rate > 0)
            line += u", %1 left"_qs.arg(duration((total - done + rate - 1) / rate));
    }
    return line;
}

void ProgressLine::update(qint64 done, qint64 total) {
    if (!terminal_)
        return;
    const qint64 now = timer_.elapsed();
    if (done < total && lastShownMs_ >= 0 && now - lastShownMs_ < kShowEveryMs)
        return;
    lastShownMs_ = now;
    // Carriage return and "erase to the end of the line" rewrite the line in place.
    std::fprintf(stream_, "\r%s\033[K", text(done, total, now).toUtf8().constData());
    std::fflush(stream_);
    shown_ = true;
    if (done >= total)
        finish();
}

void ProgressLine::finish() {
    if (shown_) {
        std::fputc('\n', stream_);
        std::fflush(stream_);
        shown_ = false;
    }
}

}  // namespace md::tools
