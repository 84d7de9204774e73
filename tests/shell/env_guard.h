#pragma once
// Test helper: sets or clears environment variables for a scope and puts
// the old values back afterwards.
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

class EnvGuard {
public:
    EnvGuard() = default;
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;
    ~EnvGuard()
    {
        for (const auto& [name, value] : saved_) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }
    void Set(const std::string& name, const std::string& value)
    {
        Remember(name);
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    void Clear(const std::string& name)
    {
        Remember(name);
        ::unsetenv(name.c_str());
    }

private:
    void Remember(const std::string& name)
    {
        if (saved_.count(name)) return;
        const char* old = std::getenv(name.c_str());
        saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    std::map<std::string, std::optional<std::string>> saved_;
};
