#pragma once
// What an installation of Velmora lays out besides the program files that
// `cmake --install` copies: the installation's own folders, the work folder
// under the system folder with the shipped movies and the installation
// record "azlj.ini", the mark that lets castorun recognise the installation
// folder with the list of what was installed beside it, and the shortcuts on
// the desktop and in the menu.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace installer {

namespace fs = std::filesystem;

inline constexpr std::string_view kProductTitle = "Velmora";
// The name the program is installed under: the menu entries and folder.
inline constexpr std::string_view kInstalledName = "Velmora2007";

// Folders of the installation folder.
inline constexpr std::string_view kTemplateFolder = "试用模板";
inline constexpr std::string_view kMusicFolder = "MP3歌曲";
inline constexpr std::string_view kLyricsFolder = "LRC歌词";
inline constexpr std::string_view kPhotoFolder = "Photo";

// The mark left in the installation folder, with its text: castorun
// removes only a folder that holds it (and castora).
inline constexpr std::string_view kInstallMark = ".velmora-installation";
inline constexpr std::string_view kInstallMarkText = "Velmora2007\n";

// The six subfolders of a work folder.
inline constexpr std::string_view kWorkSubfolders[] = {"zpyjj", "jjzp", "llzp", "zhzp", "pwwjj", "xtsz"};

struct InstallOptions {
    fs::path installDir;  // holds castora, castorun and libmcl
    fs::path shippedDir;  // the shipped movies in the work folder's layout; empty: installDir/"shipped"
    fs::path systemDir;   // empty: core::SystemDir()
    // The files that `cmake --install` copied into installDir (absolute, or
    // relative to it): they go into the list of installed files, with the
    // installation's folders. castorun removes only what the list names.
    std::vector<fs::path> installedFiles;
};

struct InstallResult {
    fs::path workDir;                    // without a trailing separator
    std::vector<fs::path> copiedMovies;  // relative to the work folder
    std::vector<fs::path> shortcuts;     // the files written
};

class InstallError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The program's rule for its work folder: the first systemDir/"brenholt_N"
// (N = 1, 2, ...) that does not exist, or exists and holds "zpyjj". A
// folder of an earlier installation is therefore found again.
fs::path FindWorkFolder(const fs::path& systemDir);

// Lays out everything; safe to run again over an earlier installation (the
// same work folder is used, movies, record and shortcuts are replaced, the
// list of installed files keeps what the earlier one named, the user's
// photos, songs and templates stay). Throws InstallError with a message
// naming what could not be made, and refuses a folder whose path holds a
// line break (the record could not hold it) or installed files outside it.
InstallResult Install(const InstallOptions& options);

// The files that cmake's install manifest names (one absolute path a line).
// Throws InstallError when it cannot be read.
std::vector<fs::path> ReadInstallManifest(const fs::path& manifest);

}  // namespace installer
