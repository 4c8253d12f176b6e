#include "forms/KeptWindow.h"

#include <QCoreApplication>
#include <QPointer>
#include <utility>
#include <vector>

namespace md::forms {
namespace {

struct Entry {
    const void* slot;
    std::function<void()> release;
};

std::vector<Entry>& entries() {
    static std::vector<Entry> list;
    return list;
}

// The application object the release is tied to: a test program may make a second one.
QPointer<QCoreApplication>& tiedTo() {
    static QPointer<QCoreApplication> app;
    return app;
}

void releaseOnApplicationExit() {
    releaseKeptWindows();
}

}  // namespace

void keepForTheRun(const void* slot, std::function<void()> release) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app && tiedTo() != app) {
        tiedTo() = app;
        qAddPostRoutine(releaseOnApplicationExit);
    }
    for (Entry& e : entries()) {
        if (e.slot == slot) {
            e.release = std::move(release);
            return;
        }
    }
    entries().push_back({slot, std::move(release)});
}

void releaseKeptWindows() {
    // Taken out first: destroying a window may make or release another.
    std::vector<Entry> list;
    list.swap(entries());
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (it->release)
            it->release();
    }
}

}  // namespace md::forms
