#pragma once
// An environment variable set for a scope (the locale, say).
#include <cstdlib>
#include <optional>
#include <string>

namespace skintest {

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value, 1);
    }
    ~ScopedEnv()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The two system locales the right-to-left rule tells apart.
struct LocaleCase {
    const char* locale;
    bool rightToLeft;
};
inline constexpr LocaleCase kLocales[] = {{"ar_EG.UTF-8", true}, {"en_GB.UTF-8", false}};

}  // namespace skintest
