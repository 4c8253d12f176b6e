#pragma once

// A prompts service for tests (header only, never part of the program): answers questions from a
// queue (No when it is empty) and keeps every text it was shown, in order, with the kind of box.

#include "data/Prompts.h"

#include <QString>
#include <QStringList>
#include <deque>

namespace md::test {

class RecordingPrompts final : public data::Prompts {
  public:
    RecordingPrompts() { previous_ = data::setPrompts(this); }
    ~RecordingPrompts() override { data::setPrompts(previous_); }
    RecordingPrompts(const RecordingPrompts&) = delete;
    RecordingPrompts& operator=(const RecordingPrompts&) = delete;

    // Queues the answers to the next questions.
    void answer(std::initializer_list<bool> answers) {
        answers_.insert(answers_.end(), answers.begin(), answers.end());
    }

    bool askYesNo(const QString& question) override { return ask(u"yesno: ", question); }
    bool askExit(const QString& question) override { return ask(u"exit: ", question); }
    bool askPlainYesNo(const QString& question) override { return ask(u"plain: ", question); }
    void information(const QString& text) override { shown << QStringLiteral("info: ") + text; }
    void message(const QString& text) override { shown << QStringLiteral("message: ") + text; }

    // Every box shown, as "<kind>: <text>" with kind yesno, exit, plain, info or message.
    QStringList shown;

  private:
    bool ask(QStringView kind, const QString& question) {
        shown << kind.toString() + question;
        if (answers_.empty())
            return false;
        const bool a = answers_.front();
        answers_.pop_front();
        return a;
    }

    std::deque<bool> answers_;
    data::Prompts* previous_ = nullptr;
};

}  // namespace md::test
