#include "util/LocalTimeZone.h"

#include <cstdlib>

namespace md::util {

void PinLocalTimeZone() {
    // An empty TZ means UTC to the C library, so only a missing one is filled in.
    if (std::getenv("TZ") == nullptr)
        ::setenv("TZ", ":/etc/localtime", 0);
}

}  // namespace md::util
