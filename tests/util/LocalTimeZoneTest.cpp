#include "util/LocalTimeZone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace {

// Restores the process's TZ as it found it, whatever a case does to it.
class KeepTz {
  public:
    KeepTz() {
        if (const char* tz = std::getenv("TZ"))
            saved_ = tz;
    }
    ~KeepTz() {
        if (saved_)
            ::setenv("TZ", saved_->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

  private:
    std::optional<std::string> saved_;
};

// Local offsets from UTC of instants across several years and both halves of each, as the C
// library gives them under the current TZ.
std::vector<long> localOffsets() {
    std::vector<long> out;
    ::tzset();
    for (std::time_t t = 946684800; t < 1893456000; t += 86400 * 97) {
        std::tm local{};
        ::localtime_r(&t, &local);
        out.push_back(local.tm_gmtoff);
    }
    return out;
}

TEST(LocalTimeZone, PinningTheZoneFileChangesNoLocalTimeAndKeepsAGivenZone) {
    KeepTz keep;

    ::unsetenv("TZ");
    const std::vector<long> unpinned = localOffsets();
    md::util::PinLocalTimeZone();
    ASSERT_NE(std::getenv("TZ"), nullptr);
    EXPECT_STREQ(std::getenv("TZ"), ":/etc/localtime");
    EXPECT_EQ(localOffsets(), unpinned);

    // A zone the user chose stays, and so does an empty TZ, which means UTC.
    ::setenv("TZ", "Asia/Bangkok", 1);
    md::util::PinLocalTimeZone();
    EXPECT_STREQ(std::getenv("TZ"), "Asia/Bangkok");
    ::setenv("TZ", "", 1);
    md::util::PinLocalTimeZone();
    EXPECT_STREQ(std::getenv("TZ"), "");
}

}  // namespace
