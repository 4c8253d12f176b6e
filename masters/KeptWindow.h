#pragma once

// A search dialog that is made on first use and kept for the whole run (released at the end, and
// between tests): one per window class.

#include <memory>

namespace md::masters {

template <class Window>
class KeptWindow {
  public:
    static Window* get() {
        if (!slot())
            slot() = std::make_unique<Window>();
        return slot().get();
    }
    static void release() { slot().reset(); }

  private:
    static std::unique_ptr<Window>& slot() {
        static std::unique_ptr<Window> window;
        return window;
    }
};

}  // namespace md::masters
