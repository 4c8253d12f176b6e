#pragma once

// The progress of a long build on a terminal: one line, rewritten in place at most a few
// times a second, with the rows done, the rate and the time left. Where the output is no
// terminal (a log, a pipe) it writes nothing, so logs hold only the summary.

#include <QElapsedTimer>
#include <QString>
#include <cstdio>

namespace md::tools {

class ProgressLine {
  public:
    // `stream` is written only when it is a terminal (isatty).
    explicit ProgressLine(std::FILE* stream);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    bool active() const { return terminal_; }
    // `done` of `total` products; shown when enough time passed since the last showing, and
    // always at the end.
    void update(qint64 done, qint64 total);
    // Ends the line so that what follows starts on a line of its own.
    void finish();

    // The text shown for `done` of `total` after `elapsedMs`.
    static QString text(qint64 done, qint64 total, qint64 elapsedMs);

  private:
    std::FILE* stream_;
    bool terminal_;
    bool shown_ = false;
    QElapsedTimer timer_;
    qint64 lastShownMs_ = -1;
};

}  // namespace md::tools
