#include "tools/velmora-install/install_layout.h"

#include <system_error>

#include "platform/core/files.h"
#include "platform/core/ini.h"
#include "platform/shell/shortcut.h"
#include "platform/shell/special_folders.h"

namespace installer {

namespace {

void MakeFolder(const fs::path& path)
{
    if (!core::ForceDirectories(path)) throw InstallError("cannot create the folder " + path.string());
}

// The shipped movies that the program reads from its work folder. Whatever
// of them the build has made is copied; the others are left out.
struct MovieSet {
    std::string_view folder;
    std::string_view pattern;
};
constexpr MovieSet kShippedMovies[] = {
    {"xtsz", "*.swf"},
    {"pwwjj", "wu_pwwj.swf"},
    {"llzp", "*"},
    {"jjzp", "*"},
};

std::vector<fs::path> CopyMovies(const fs::path& shippedDir, const fs::path& workDir)
{
    std::vector<fs::path> copied;
    for (const MovieSet& set : kShippedMovies) {
        for (const fs::path& source : core::FindFiles(shippedDir / set.folder, set.pattern)) {
            const fs::path relative = fs::path(set.folder) / source.filename();
            if (!core::CopyFile(source, workDir / relative, true)) {
                throw InstallError("cannot copy " + source.string() + " into " + workDir.string());
            }
            copied.push_back(relative);
        }
    }
    return copied;
}

void WriteRecord(const fs::path& workDir, const fs::path& installDir)
{
    core::IniFile record;
    record.WriteString("azlj", "lj", installDir.string());
    const fs::path path = workDir / "azlj.ini";
    if (!record.SaveToFile(path)) throw InstallError("cannot write " + path.string());
}

std::vector<fs::path> WriteShortcuts(const fs::path& installDir)
{
    shell::Shortcut shortcut;
    shortcut.program = installDir / "castora";
    shortcut.workingDir = installDir;
    shortcut.icon = "applications-multimedia";
    shortcut.comment = "电子相册与卡拉OK视频制作";
    shortcut.categories = "AudioVideo;Video;Graphics;";

    struct Place {
        fs::path folder;
        std::string_view name;
    };
    const fs::path menu = shell::GetSpecialFolderPath(shell::SpecialFolder::StartMenu);
    const fs::path programs = shell::GetSpecialFolderPath(shell::SpecialFolder::Programs);
    const Place places[] = {
        {shell::GetSpecialFolderPath(shell::SpecialFolder::Desktop), kProductTitle},
        {menu, kInstalledName},
        {programs / kInstalledName, kInstalledName},
    };
    std::vector<fs::path> written;
    for (const Place& place : places) {
        shortcut.name = std::string(place.name);
        if (!shell::WriteShortcut(place.folder, place.name, shortcut)) {
            throw InstallError("cannot write the shortcut " +
                               shell::ShortcutPath(place.folder, place.name).string());
        }
        written.push_back(shell::ShortcutPath(place.folder, place.name));
    }
    return written;
}

}  // namespace

fs::path FindWorkFolder(const fs::path& systemDir)
{
    for (int n = 1;; ++n) {
        fs::path candidate = systemDir / ("brenholt_" + std::to_string(n));
        if (!core::DirectoryExists(candidate) || core::DirectoryExists(candidate / "zpyjj")) return candidate;
    }
}

InstallResult Install(const InstallOptions& options)
{
    if (options.installDir.empty()) throw InstallError("no installation folder given");
    std::error_code ec;
    const fs::path installDir = fs::weakly_canonical(fs::absolute(options.installDir, ec), ec);
    if (ec || !core::DirectoryExists(installDir)) {
        throw InstallError("the installation folder " + options.installDir.string() + " does not exist");
    }
    const fs::path shippedDir = options.shippedDir.empty() ? installDir / "shipped" : options.shippedDir;
    const fs::path systemDir = options.systemDir.empty() ? core::SystemDir() : options.systemDir;

    for (std::string_view folder : {kTemplateFolder, kMusicFolder, kLyricsFolder, kPhotoFolder}) {
        MakeFolder(installDir / folder);
    }
    const fs::path mark = installDir / kInstallMark;
    if (!core::WriteFileBytes(mark, kInstallMarkText)) throw InstallError("cannot write " + mark.string());

    MakeFolder(systemDir);
    InstallResult result;
    result.workDir = FindWorkFolder(systemDir);
    for (std::string_view sub : kWorkSubfolders) MakeFolder(result.workDir / sub);
    result.copiedMovies = CopyMovies(shippedDir, result.workDir);
    WriteRecord(result.workDir, installDir);
    result.shortcuts = WriteShortcuts(installDir);
    return result;
}

}  // namespace installer
