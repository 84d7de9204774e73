#include "platform/core/local_time.h"

#include <langinfo.h>
#include <locale.h>

namespace core {

std::string LocalDateTimeText(std::time_t when, const std::string& locale)
{
    std::tm local{};
    localtime_r(&when, &local);
    char text[256];
    locale_t loc = newlocale(LC_TIME_MASK, locale.c_str(), static_cast<locale_t>(nullptr));
    if (!loc) {
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
        return text;
    }
    const std::string format = std::string(nl_langinfo_l(D_FMT, loc)) + " " + nl_langinfo_l(T_FMT, loc);
    size_t n = strftime_l(text, sizeof text, format.c_str(), &local, loc);
    freelocale(loc);
    return std::string(text, n);
}

}  // namespace core
