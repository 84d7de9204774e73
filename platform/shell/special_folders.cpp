#include "platform/shell/special_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/core/files.h"

namespace shell {

namespace {

fs::path AbsoluteFromEnv(const char* variable)
{
    const char* value = std::getenv(variable);
    if (!value || !*value) return {};
    fs::path path(value);
    return path.is_absolute() ? path : fs::path{};
}

std::string_view TrimLeft(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

// One line "XDG_<name>_DIR=\"value\"": the value with "$HOME" expanded, or
// empty when the line is something else or malformed.
fs::path ParseLine(std::string_view line, std::string_view key, const fs::path& home)
{
    line = TrimLeft(line);
    if (!line.starts_with(key)) return {};
    line = TrimLeft(line.substr(key.size()));
    if (!line.starts_with('=')) return {};
    line = TrimLeft(line.substr(1));
    if (!line.starts_with('"')) return {};
    line.remove_prefix(1);

    bool relative = false;
    if (line.starts_with("$HOME")) {
        line.remove_prefix(5);
        if (!line.empty() && line.front() != '/' && line.front() != '"') return {};
        relative = true;
    } else if (!line.starts_with('/')) {
        return {};
    }
    std::string value;
    bool closed = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            closed = true;
            break;
        }
        if (c == '\\' && i + 1 < line.size()) c = line[++i];
        value += c;
    }
    if (!closed) return {};
    if (!relative) return fs::path(value);
    while (!value.empty() && value.front() == '/') value.erase(0, 1);
    return value.empty() ? home : home / value;
}

}  // namespace

fs::path HomeDir()
{
    if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home);
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return fs::path(entry->pw_dir);
    return fs::path("/");
}

fs::path ConfigHome()
{
    fs::path own = AbsoluteFromEnv("XDG_CONFIG_HOME");
    return own.empty() ? HomeDir() / ".config" : own;
}

fs::path DataHome()
{
    fs::path own = AbsoluteFromEnv("XDG_DATA_HOME");
    return own.empty() ? HomeDir() / ".local" / "share" : own;
}

fs::path ParseUserDirsEntry(std::string_view fileText, std::string_view name, const fs::path& home)
{
    const std::string key = "XDG_" + std::string(name) + "_DIR";
    fs::path found;
    while (!fileText.empty()) {
        std::size_t end = fileText.find_first_of("\r\n");
        std::string_view line = fileText.substr(0, end);
        fileText = end == std::string_view::npos ? std::string_view{} : fileText.substr(end + 1);
        if (fs::path value = ParseLine(line, key, home); !value.empty()) found = std::move(value);
    }
    return found;
}

fs::path UserDir(std::string_view name)
{
    const fs::path home = HomeDir();
    if (auto text = core::ReadFileBytes(ConfigHome() / "user-dirs.dirs")) {
        if (fs::path found = ParseUserDirsEntry(*text, name, home); !found.empty()) return found;
    }
    const std::string variable = "XDG_" + std::string(name) + "_DIR";
    if (const char* value = std::getenv(variable.c_str()); value && *value) return fs::path(value);
    return name == "DESKTOP" ? home / "Desktop" : home;
}

fs::path GetSpecialFolderPath(SpecialFolder folder)
{
    switch (folder) {
    case SpecialFolder::Desktop: return UserDir("DESKTOP");
    case SpecialFolder::StartMenu:
    case SpecialFolder::Programs: return DataHome() / "applications";
    case SpecialFolder::Startup: return ConfigHome() / "autostart";
    }
    return {};
}

fs::path ExistingUserDir(std::string_view name)
{
    fs::path dir = UserDir(name);
    std::error_code ec;
    return fs::is_directory(dir, ec) ? dir : HomeDir();
}

}  // namespace shell
