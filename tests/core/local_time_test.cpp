#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/core/local_time.h"

namespace {

TEST(LocalTime, DateAndTimeFollowTheLocale)
{
    // 2026-12-10 16:31:41 in UTC.
    const std::time_t when = 1796920301;
    const char* old_tz = std::getenv("TZ");
    std::string saved = old_tz ? old_tz : "";
    setenv("TZ", "UTC", 1);
    tzset();
    struct Case {
        const char* locale;
        const char* text;
    } cases[] = {
        {"C", "12/10/26 16:31:41"},
        {"POSIX", "12/10/26 16:31:41"},
        {"xx_NOWHERE.UTF-8", "2026-12-10 16:31:41"},  // not installed
    };
    for (const Case& c : cases) EXPECT_EQ(core::LocalDateTimeText(when, c.locale), c.text) << c.locale;

    setenv("LC_ALL", "C", 1);  // the user's own locale comes from the environment
    EXPECT_EQ(core::LocalDateTimeText(when), "12/10/26 16:31:41");
    unsetenv("LC_ALL");
    if (old_tz)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

}  // namespace
