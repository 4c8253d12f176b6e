#include "tools/BatchReader.h"

#include <string>

namespace md::tools {

ShellLine classifyShellLine(const QString& line) {
    QString t = line.trimmed();
    if (t.startsWith(u':'))
        t = t.mid(1).trimmed();
    const QStringList words = t.split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty() || words.size() > 2)
        return {};
    const QString command = words[0].toUpper();
    if (words.size() == 1) {
        if (command == u"GO")
            return {ShellLine::Kind::Go, 1};
        if (command == u"RESET")
            return {ShellLine::Kind::Reset, 1};
        if (command == u"EXIT" || command == u"QUIT")
            return {ShellLine::Kind::Exit, 1};
        return {};
    }
    if (command == u"GO") {
        bool ok = false;
        const int count = words[1].toInt(&ok);
        if (ok && count > 0)
            return {ShellLine::Kind::Go, count};
    }
    return {};
}

ScriptBatches::ScriptBatches(const QString& script) {
    if (!script.isEmpty())
        lines_ = script.split(u'\n');
}

std::optional<QString> ScriptBatches::next() {
    if (repeatsLeft_ > 0) {
        --repeatsLeft_;
        return repeated_;
    }
    QStringList batch;
    auto finish = [&](int count) -> std::optional<QString> {
        const QString text = batch.join(u'\n');
        batch.clear();
        if (text.trimmed().isEmpty())
            return std::nullopt;
        repeated_ = text;
        repeatsLeft_ = count - 1;
        return text;
    };
    while (position_ < lines_.size()) {
        QString line = lines_[position_++];
        if (line.endsWith(u'\r'))
            line.chop(1);
        const ShellLine kind = classifyShellLine(line);
        switch (kind.kind) {
            case ShellLine::Kind::Text:
                batch.push_back(line);
                break;
            case ShellLine::Kind::Go:
                if (auto text = finish(kind.count))
                    return text;
                break;
            case ShellLine::Kind::Reset:
                batch.clear();
                break;
            case ShellLine::Kind::Exit:
                position_ = lines_.size();
                return std::nullopt;
        }
    }
    return finish(1);
}

TerminalBatches::TerminalBatches(std::istream& in, QTextStream& prompts, const QString& initial)
    : in_(in), prompts_(prompts), initial_(initial) {}

std::optional<QString> TerminalBatches::next() {
    if (auto first = initial_.next())
        return first;
    if (repeatsLeft_ > 0) {
        --repeatsLeft_;
        return repeated_;
    }
    QStringList batch;
    std::string bytes;
    for (;;) {
        prompts_ << batch.size() + 1 << "> ";
        prompts_.flush();
        if (!std::getline(in_, bytes)) {
            // The end of the input: the next prompt of the shell that started us starts on a
            // line of its own.
            prompts_ << '\n';
            prompts_.flush();
            return std::nullopt;
        }
        QString line = QString::fromUtf8(bytes);
        if (line.endsWith(u'\r'))
            line.chop(1);
        const ShellLine kind = classifyShellLine(line);
        switch (kind.kind) {
            case ShellLine::Kind::Text:
                batch.push_back(line);
                break;
            case ShellLine::Kind::Go: {
                const QString text = batch.join(u'\n');
                batch.clear();
                if (!text.trimmed().isEmpty()) {
                    repeated_ = text;
                    repeatsLeft_ = kind.count - 1;
                    return text;
                }
                break;
            }
            case ShellLine::Kind::Reset:
                batch.clear();
                break;
            case ShellLine::Kind::Exit:
                return std::nullopt;
        }
    }
}

QStringList splitBatches(const QString& script) {
    QStringList batches;
    ScriptBatches source(script);
    while (auto batch = source.next())
        batches.push_back(*batch);
    return batches;
}

}  // namespace md::tools
