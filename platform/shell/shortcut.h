#pragma once
// Shortcuts: freedesktop.org desktop entries ("<name>.desktop") that start a
// program from the desktop, the applications menu or the autostart folder.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

namespace fs = std::filesystem;

struct Shortcut {
    std::string name;     // the caption shown under the icon
    std::string comment;  // tool tip; may be empty
    fs::path program;     // the program to start
    std::vector<std::string> arguments;
    fs::path workingDir;     // may be empty
    std::string icon;        // an icon name or file; may be empty
    std::string categories;  // menu categories such as "AudioVideo;Video;"
};

// The file of the shortcut called `name` in `folder`: folder/name.desktop.
fs::path ShortcutPath(const fs::path& folder, std::string_view name);

// The desktop entry's text, every value escaped as the format requires.
std::string FormatShortcut(const Shortcut& shortcut);

// One argument of an Exec line: quoted when it holds a reserved character,
// with '%' doubled so that it is no field code.
std::string QuoteExecArgument(std::string_view argument);

// Writes (or replaces) folder/name.desktop, creating the folder; the file is
// made executable, which desktops ask of launchers on the desktop. False
// when the file cannot be written.
bool WriteShortcut(const fs::path& folder, std::string_view name, const Shortcut& shortcut);

// Removes folder/name.desktop when it exists; false when there was none or
// it stays.
bool DeleteShortcut(const fs::path& folder, std::string_view name);

}  // namespace shell
