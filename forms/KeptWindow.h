#pragma once

// Windows that are made on first use and kept for the rest of the run: the search dialogs. Each
// registers here as it is made, and releaseKeptWindows() destroys them all, newest first. The
// program's start-up releases them as it ends, before its modules; should anything forget, the
// application object does it first thing as it goes down (a widget destroyed after the
// application object would work on a toolkit that is gone, and the program would crash at exit).

#include <functional>
#include <memory>

namespace md::forms {

// Registers how to destroy a kept window. `slot` identifies it: registering the same slot again
// (after it was released and made anew) keeps one entry.
void keepForTheRun(const void* slot, std::function<void()> release);
// Destroys every kept window, newest first. They are made again on their next use.
void releaseKeptWindows();

// One kept window per window class, made on first use.
template <class Window>
class KeptWindow {
  public:
    static Window* get() {
        if (!slot()) {
            slot() = std::make_unique<Window>();
            keepForTheRun(&slot(), [] { slot().reset(); });
        }
        return slot().get();
    }
    // The window when it has been made, nullptr otherwise.
    static Window* current() { return slot().get(); }
    static void release() { slot().reset(); }

  private:
    static std::unique_ptr<Window>& slot() {
        static std::unique_ptr<Window> window;
        return window;
    }
};

}  // namespace md::forms
