#pragma once

// Where the shell's batches come from: a script (-Q text, -i file, or standard input that is not
// a terminal) or a person at a terminal typing lines after numbered prompts. Both understand the
// same line commands, each alone on its line and in any letter case, with or without a leading
// colon: GO [count] ends the batch (and runs it count times), RESET forgets the batch typed so
// far, EXIT and QUIT leave without running it.

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <istream>
#include <optional>

namespace md::tools {

// One line as the shell reads it.
struct ShellLine {
    enum class Kind { Text, Go, Reset, Exit };
    Kind kind = Kind::Text;
    int count = 1;  // GO's repeat count
};

// Classifies a line. A line that only resembles a command ("GO 0", "GO x", "EXIT 1") is text.
ShellLine classifyShellLine(const QString& line);

// Hands the shell one batch at a time.
class BatchSource {
  public:
    virtual ~BatchSource() = default;
    // The next batch to run, or nothing when the input is over (or EXIT/QUIT was read).
    virtual std::optional<QString> next() = 0;
};

// The batches of a whole script: a batch ends at GO or at the end of the text; blank batches are
// skipped.
class ScriptBatches : public BatchSource {
  public:
    explicit ScriptBatches(const QString& script);
    std::optional<QString> next() override;

  private:
    QStringList lines_;
    qsizetype position_ = 0;
    QString repeated_;
    int repeatsLeft_ = 0;
};

// Lines typed at a terminal after the prompts "1> ", "2> ", ... (one number per line of the
// batch; back to 1 after GO and RESET). `initial` (-q) runs first, as if typed. The end of the
// input leaves like EXIT; the unfinished batch is not run.
class TerminalBatches : public BatchSource {
  public:
    TerminalBatches(std::istream& in, QTextStream& prompts, const QString& initial = {});
    std::optional<QString> next() override;

  private:
    std::istream& in_;
    QTextStream& prompts_;
    ScriptBatches initial_;
    QString repeated_;
    int repeatsLeft_ = 0;
};

// Splits script text into the batches ScriptBatches gives (a GO count repeats its batch).
QStringList splitBatches(const QString& script);

}  // namespace md::tools
