#include "data/Prompts.h"

#include <cstdio>

namespace md::data {
namespace {

// Without a display nobody can answer: a question is refused and a notice is written down.
class UnattendedPrompts final : public Prompts {
  public:
    bool askYesNo(const QString& question) override { return refuse(question); }
    bool askExit(const QString& question) override { return refuse(question); }
    bool askPlainYesNo(const QString& question) override { return refuse(question); }
    void information(const QString& text) override { write(text); }
    void message(const QString& text) override { write(text); }

  private:
    static bool refuse(const QString& question) {
        write(question);
        return false;
    }
    static void write(const QString& text) {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
};

UnattendedPrompts unattended;
Prompts* installed = nullptr;

}  // namespace

Prompts& prompts() {
    return installed ? *installed : unattended;
}

Prompts* setPrompts(Prompts* service) {
    Prompts* previous = installed;
    installed = service;
    return previous;
}

}  // namespace md::data
