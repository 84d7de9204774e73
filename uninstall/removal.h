#pragma once
// What castorun removes, step by step, and the checks that keep it from
// removing anything else. The installation folder comes from the
// installer's record, which is outside text: it is accepted only when it is
// a real folder that holds castora, the installer's mark and its list of
// installed files, and is none of the user's or the system's own folders;
// then what the list names goes, and the rest stays.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/work_folder.h"
#include "uninstall/installation_removal.h"
#include "uninstall/installed_files.h"

namespace uninstall {

namespace fs = std::filesystem;

// The product title; the installed name is the title followed by "2007".
inline constexpr std::string_view kProductTitle = "Velmora";
inline constexpr std::string_view kInstalledSuffix = "2007";
// The installer's record in the work folder: section "azlj", key "lj".
inline constexpr std::string_view kRecordFile = "azlj.ini";
// The program whose presence marks an installation folder.
inline constexpr std::string_view kMainProgram = "castora";
// The file that velmora-install leaves in the folder it installed into, and
// the text it holds: a folder without it was not made by the installer.
inline constexpr std::string_view kInstallMark = ".velmora-installation";
inline constexpr std::string_view kInstallMarkText = "Velmora2007\n";
// The removal's steps, each moving the progress bar by one.
inline constexpr int kRemovalSteps = 6;

// The installation folder that the record names (UTF-8; a GBK record is
// decoded). Empty when the file or the key is missing. A path that held a
// CR, LF or NUL, which the INI reader would cut at the break, comes back
// whole with its break, for the check to refuse.
std::string ReadInstallationRecord(const fs::path& work_dir);
// The same from the record's bytes.
std::string ParseInstallationRecord(std::string_view bytes);

enum class FolderVerdict {
    Empty,              // the record names nothing: nothing to delete
    Accepted,           // an installation folder: deleted
    Missing,            // nothing there (already removed): nothing to delete
    NotAbsolute,        // refused: a relative path would depend on where castorun runs
    Protected,          // refused: the root, a system folder, or the user's home or one of its folders
    NotAFolder,         // refused: a file, not a folder
    NotAnInstallation,  // refused: no castora in it
    Unmarked,           // refused: castora, but not the installer's mark
    LineBreak,          // refused: the recorded path holds a CR, LF or NUL
    Unlisted,           // refused: marked, but without the list of installed files
    ListDamaged,        // refused: the list of installed files is damaged
};

struct InstallationFolder {
    std::string recorded;  // as the record holds it
    fs::path folder;       // the folder it resolves to (links and ".." followed); set when Accepted
    FolderVerdict verdict = FolderVerdict::Empty;
    InstalledFiles installed;  // what the installer put there; set when Accepted

    bool Refused() const;
};

// The folders that must survive: the installation folder may be none of
// them and may hold none of them. The user's home, the user directories as
// configured and at their standard places under home (whether or not
// user-dirs.dirs exists), the menu, autostart and data folders, and the
// system folder that holds the work folders.
std::vector<fs::path> FoldersToKeep(const fs::path& system_dir);

// Whether removing `folder` (absolute) would remove the root, a standard
// system folder, or one of `keep` (or a folder holding one).
bool IsProtectedFolder(const fs::path& folder, const std::vector<fs::path>& keep);

// Whether the existing `folder` is, by device and inode, one of `keep`, a
// folder above one of them, or a standard system folder: a bind mount shows
// such a folder under a path of its own.
bool IsProtectedByIdentity(const fs::path& folder, const std::vector<fs::path>& keep);

// The verdict on the recorded installation folder.
InstallationFolder CheckInstallationFolder(std::string_view recorded, const std::vector<fs::path>& keep);

// The message for a refused installation folder; empty when none is due.
std::string RefusalText(const InstallationFolder& installation, std::string_view title);

struct RemovalPlan {
    app::WorkFolderSearch work;       // the work folder, by castora's rule
    InstallationFolder installation;  // from the record in it
    fs::path desktop_shortcut;        // desktop: title
    fs::path start_menu_shortcut;     // menu: title + "2007"
    fs::path programs_folder;         // menu folder title + "2007", a whole tree
    fs::path startup_shortcut;        // autostart: title + "2007"
    // Where a folder of the installation lies; tests fake a second file system.
    FileSystemProbe file_system = ProbeFileSystem;
};

// Reads the record of the work folder found and names what goes, for the
// product `title`. Deletes nothing.
RemovalPlan PlanRemoval(const app::WorkFolderSearch& work, const fs::path& system_dir,
                        std::string_view title);

// Runs one of the kRemovalSteps steps, from 1: the installed files of the
// installation folder (and the folder when nothing else is left in it),
// the work folder, the desktop shortcut, the menu shortcut, the menu
// folder, the autostart shortcut. What is missing is skipped; a failure is
// not reported and stops nothing. A work folder that is a link goes as a
// link, and what it points to stays.
void RunRemovalStep(const RemovalPlan& plan, int step);

// What the removal kept of an accepted installation folder, because the
// installer did not put it there (see UnlistedEntries), up to `limit`
// entries; empty otherwise.
std::vector<fs::path> KeptEntries(const RemovalPlan& plan, size_t limit = SIZE_MAX);

}  // namespace uninstall
