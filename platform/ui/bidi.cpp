#include "platform/ui/bidi.h"

#include <cstdlib>
#include <string_view>

#include "platform/ui/control.h"

namespace ui {

bool MiddleEastLocale()
{
    // The first of these that is set names the locale, as for the C library.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (!value || !*value) continue;
        const std::string_view locale(value);
        for (std::string_view language :
             {"ar", "he", "iw", "fa", "ur", "ps", "sd", "ug", "yi", "ku", "dv", "syr"}) {
            if (locale.starts_with(language) &&
                (locale.size() == language.size() || locale[language.size()] == '_' ||
                 locale[language.size()] == '.' || locale[language.size()] == '@'))
                return true;
        }
        return false;
    }
    return false;
}

bool UseRightToLeftLayout(TBiDiMode mode)
{
    return (mode == bdRightToLeft || mode == bdRightToLeftNoAlign) && MiddleEastLocale();
}

bool UseRightToLeftLayout(const TControl& control) { return UseRightToLeftLayout(control.BiDiMode()); }

}  // namespace ui
