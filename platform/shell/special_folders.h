#pragma once
// The desktop's special folders, found the way the freedesktop.org desktop
// finds them. None is created here, and none of these routines throws.
#include <filesystem>
#include <string_view>

namespace shell {

namespace fs = std::filesystem;

enum class SpecialFolder {
    Desktop,    // the user's desktop: `xdg-user-dir DESKTOP`
    StartMenu,  // the applications menu: ${XDG_DATA_HOME:-~/.local/share}/applications
    Programs,   // where a program's own menu folder lives: the applications menu too
    Startup,    // programs started at log-in: ${XDG_CONFIG_HOME:-~/.config}/autostart
};

fs::path GetSpecialFolderPath(SpecialFolder folder);

// $HOME, or the password database's home when it is unset.
fs::path HomeDir();
// ${XDG_CONFIG_HOME:-~/.config} and ${XDG_DATA_HOME:-~/.local/share}; a
// relative value is ignored, as the base-directory rules require.
fs::path ConfigHome();
fs::path DataHome();

// A user directory by its name in user-dirs.dirs ("DESKTOP", "MUSIC", ...),
// as `xdg-user-dir NAME` answers: the entry of the config file, else the
// variable XDG_<NAME>_DIR, else ~/Desktop for DESKTOP and ~ for the others.
fs::path UserDir(std::string_view name);

// The eight user directories by name, with the folder under home that
// xdg-user-dirs-update makes for each when nothing else is configured.
struct StandardUserDir {
    std::string_view name;    // as in user-dirs.dirs: "DOCUMENTS"
    std::string_view folder;  // below home: "Documents"
};
inline constexpr StandardUserDir kStandardUserDirs[] = {
    {"DESKTOP", "Desktop"},    {"DOWNLOAD", "Downloads"},  {"TEMPLATES", "Templates"},
    {"PUBLICSHARE", "Public"}, {"DOCUMENTS", "Documents"}, {"MUSIC", "Music"},
    {"PICTURES", "Pictures"},  {"VIDEOS", "Videos"},
};

// The value of XDG_<name>_DIR in the text of a user-dirs.dirs file, with
// "$HOME" replaced by `home`; empty when the file does not set it. The last
// assignment wins, as when the shell reads the file.
fs::path ParseUserDirsEntry(std::string_view fileText, std::string_view name, const fs::path& home);

// Where a dialog for the user's own files starts: UserDir(name) when that
// folder exists, else the home folder.
fs::path ExistingUserDir(std::string_view name);

}  // namespace shell
