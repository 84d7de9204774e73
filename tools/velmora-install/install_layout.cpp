#include "tools/velmora-install/install_layout.h"

#include <system_error>

#include "platform/core/files.h"
#include "platform/core/ini.h"
#include "platform/shell/shortcut.h"
#include "platform/shell/special_folders.h"
#include "uninstall/installed_files.h"

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

// The list of installed files beside the mark: the earlier list's entries,
// the installation's folders and the files `cmake --install` copied.
void WriteInstalledFiles(const fs::path& installDir, const std::vector<fs::path>& copied)
{
    uninstall::InstalledFiles list =
        uninstall::ReadInstalledFiles(installDir).value_or(uninstall::InstalledFiles{});
    for (std::string_view folder : {kTemplateFolder, kMusicFolder, kLyricsFolder, kPhotoFolder})
        list.folders.insert(fs::path(std::string(folder)));
    for (const fs::path& file : copied) {
        // The folder resolved, the name not: a link is listed as itself.
        std::error_code ec;
        const fs::path named = (installDir / file).lexically_normal();
        const fs::path absolute = fs::weakly_canonical(named.parent_path(), ec) / named.filename();
        const fs::path relative = absolute.lexically_relative(installDir);
        if (ec || !uninstall::IsListablePath(relative))
            throw InstallError("the installed file " + file.string() + " is not inside " +
                               installDir.string());
        list.files.insert(fs::path(relative.generic_string()));
    }
    const fs::path path = installDir / std::string(uninstall::kInstalledFilesList);
    if (!core::WriteFileBytes(path, uninstall::InstalledFilesText(list)))
        throw InstallError("cannot write " + path.string());
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
    if (installDir.string().find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
        throw InstallError("the installation folder's path holds a line break; choose another folder");
    const fs::path shippedDir = options.shippedDir.empty() ? installDir / "shipped" : options.shippedDir;
    const fs::path systemDir = options.systemDir.empty() ? core::SystemDir() : options.systemDir;

    for (std::string_view folder : {kTemplateFolder, kMusicFolder, kLyricsFolder, kPhotoFolder}) {
        MakeFolder(installDir / folder);
    }
    const fs::path mark = installDir / kInstallMark;
    if (!core::WriteFileBytes(mark, kInstallMarkText)) throw InstallError("cannot write " + mark.string());
    WriteInstalledFiles(installDir, options.installedFiles);

    MakeFolder(systemDir);
    InstallResult result;
    result.workDir = FindWorkFolder(systemDir);
    for (std::string_view sub : kWorkSubfolders) MakeFolder(result.workDir / sub);
    result.copiedMovies = CopyMovies(shippedDir, result.workDir);
    WriteRecord(result.workDir, installDir);
    result.shortcuts = WriteShortcuts(installDir);
    return result;
}

std::vector<fs::path> ReadInstallManifest(const fs::path& manifest)
{
    const auto bytes = core::ReadFileBytes(manifest);
    if (!bytes) throw InstallError("cannot read the install manifest " + manifest.string());
    std::vector<fs::path> files;
    std::string_view text = *bytes;
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (!line.empty()) files.emplace_back(std::string(line));
    }
    return files;
}

}  // namespace installer
