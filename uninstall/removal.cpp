#include "uninstall/removal.h"

#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/core/files.h"
#include "platform/core/ini.h"
#include "platform/core/text.h"
#include "platform/shell/shortcut.h"
#include "platform/shell/special_folders.h"

namespace uninstall {

namespace {

// Standard folders below the top level that no installation may take with it.
constexpr std::string_view kSystemFolders[] = {
    "/usr/bin",           "/usr/sbin",      "/usr/lib",         "/usr/lib32",     "/usr/lib64",
    "/usr/libexec",       "/usr/include",   "/usr/share",       "/usr/src",       "/usr/games",
    "/usr/local",         "/usr/local/bin", "/usr/local/sbin",  "/usr/local/lib", "/usr/local/share",
    "/usr/local/include", "/usr/local/src", "/usr/local/games", "/var/lib",       "/var/cache",
    "/var/tmp",           "/var/opt",       "/var/log",         "/var/mail",
};

// A path without "." and "..", and without a trailing separator (which would
// make a link at the end count as its target).
fs::path Normal(const fs::path& path)
{
    fs::path normal = path.lexically_normal();
    if (normal.has_relative_path() && normal.filename().empty()) normal = normal.parent_path();
    return normal;
}

// Whether `ancestor` is `path` or one of the folders above it.
bool Holds(const fs::path& ancestor, const fs::path& path)
{
    auto a = ancestor.begin(), p = path.begin();
    for (; a != ancestor.end(); ++a, ++p) {
        if (p == path.end() || *a != *p) return false;
    }
    return true;
}

// The installer's mark: a plain file (no link, no pipe) with its text.
bool HoldsInstallMark(const fs::path& folder)
{
    const fs::path mark = folder / std::string(kInstallMark);
    std::error_code error;
    if (!fs::is_regular_file(fs::symlink_status(mark, error))) return false;
    const auto size = core::FileSizeOf(mark);
    if (!size || *size != kInstallMarkText.size()) return false;
    return core::ReadFileBytes(mark) == std::string(kInstallMarkText);
}

bool ExistsNoFollow(const fs::path& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// Deletes a file or a link, never what a link points to.
void DeleteEntry(const fs::path& path)
{
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (error || !fs::exists(status) || fs::is_directory(status)) return;
    fs::remove(path, error);
}

// A folder tree; a link in its place is removed as a link.
void DeleteFolder(const fs::path& path)
{
    if (path.empty() || !ExistsNoFollow(path)) return;
    core::DeleteTree(Normal(path));
}

// A recorded path as a message shows it: line breaks as "\r", "\n", "\0".
std::string Shown(std::string_view recorded)
{
    std::string shown;
    for (char c : recorded) {
        if (c == '\r')
            shown += "\\r";
        else if (c == '\n')
            shown += "\\n";
        else if (c == '\0')
            shown += "\\0";
        else
            shown += c;
    }
    return shown;
}

std::string InstalledName(std::string_view title)
{
    return std::string(title) + std::string(kInstalledSuffix);
}

}  // namespace

bool InstallationFolder::Refused() const
{
    switch (verdict) {
    case FolderVerdict::Empty:
    case FolderVerdict::Accepted:
    case FolderVerdict::Missing: return false;
    default: return true;
    }
}

namespace {

// velmora-install writes UTF-8, other installers GBK. A UTF-8 path of
// two-byte characters only ("/opt/Café") also reads as GBK, so a value that
// names something as it stands is taken as it stands.
std::string DecodeRecordedPath(const std::string& value)
{
    if (core::IsValidUtf8(value) && ExistsNoFollow(fs::path(value))) return value;
    return core::DecodeText(value);
}

bool IsLineEnd(char c) { return c == '\r' || c == '\n' || c == '\0'; }

// The INI reader ends a line at CR, LF or NUL, so a path that held one
// reads as its first part, and the rest as a junk line. In the record's
// own bytes: the break after the first "lj" of the first section "azlj"
// and the text that follows it, when the line was broken (a lone CR, a
// NUL, or a next line that is no entry); nothing when it was not.
std::optional<std::string> BrokenRest(std::string_view bytes)
{
    std::string decoded;
    if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
        decoded = core::DecodeText(bytes);
        bytes = decoded;
    } else if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    const auto line_at = [&](size_t start) {
        size_t end = start;
        while (end < bytes.size() && !IsLineEnd(bytes[end])) ++end;
        return std::pair{core::Trim(bytes.substr(start, end - start)), end};
    };
    bool in_record = false, seen_record = false;
    for (size_t start = 0; start < bytes.size();) {
        const auto [line, end] = line_at(start);
        start = end + 1;
        if (line.starts_with('[') && line.find(']') != std::string::npos) {
            const bool record = core::SameText(core::Trim(line.substr(1, line.rfind(']') - 1)), "azlj");
            in_record = record && !seen_record;
            seen_record = seen_record || record;
            continue;
        }
        const size_t equals = line.find('=');
        if (!in_record || line.starts_with(';') || equals == std::string::npos ||
            !core::SameText(core::Trim(line.substr(0, equals)), "lj"))
            continue;
        if (end >= bytes.size()) return std::nullopt;
        std::string brk(1, bytes[end]);
        size_t next = end + 1;
        if (bytes[end] == '\r' && next < bytes.size() && bytes[next] == '\n') brk += bytes[next++];
        const std::string rest = line_at(next).first;
        const bool lone = brk == "\r" || brk[0] == '\0';
        const bool junk =
            !rest.empty() && rest[0] != ';' && rest[0] != '[' && rest.find('=') == std::string::npos;
        if (!lone && !junk) return std::nullopt;
        return brk + rest;
    }
    return std::nullopt;
}

}  // namespace

std::string ParseInstallationRecord(std::string_view bytes)
{
    std::string recorded = DecodeRecordedPath(core::IniFile::FromBytes(bytes).ReadString("azlj", "lj"));
    if (const std::optional<std::string> rest = BrokenRest(bytes)) recorded += DecodeRecordedPath(*rest);
    return recorded;
}

std::string ReadInstallationRecord(const fs::path& work_dir)
{
    return ParseInstallationRecord(core::ReadFileBytes(work_dir / std::string(kRecordFile)).value_or(""));
}

std::vector<fs::path> FoldersToKeep(const fs::path& system_dir)
{
    std::vector<fs::path> keep = {shell::HomeDir(), shell::ConfigHome(), shell::DataHome(), system_dir};
    for (shell::SpecialFolder folder : {shell::SpecialFolder::Desktop, shell::SpecialFolder::StartMenu,
                                        shell::SpecialFolder::Programs, shell::SpecialFolder::Startup})
        keep.push_back(shell::GetSpecialFolderPath(folder));
    // Without user-dirs.dirs the lookup answers home for most of them, yet
    // the folders at their standard places are the user's all the same.
    const fs::path home = shell::HomeDir();
    for (const shell::StandardUserDir& dir : shell::kStandardUserDirs) {
        keep.push_back(shell::UserDir(dir.name));
        keep.push_back(home / std::string(dir.folder));
    }
    return keep;
}

bool IsProtectedFolder(const fs::path& folder, const std::vector<fs::path>& keep)
{
    const fs::path normal = Normal(folder);
    // The root and the top-level folders ("/usr", "/home", "/opt", ...).
    const fs::path below_root = normal.relative_path();
    if (!normal.is_absolute() || std::distance(below_root.begin(), below_root.end()) < 2) return true;
    for (std::string_view system : kSystemFolders)
        if (normal == fs::path(system)) return true;
    for (const fs::path& kept : keep) {
        if (kept.empty()) continue;
        if (Holds(normal, Normal(kept))) return true;
        std::error_code error;
        const fs::path resolved = fs::weakly_canonical(kept, error);
        if (!error && Holds(normal, Normal(resolved))) return true;
    }
    return false;
}

bool IsProtectedByIdentity(const fs::path& folder, const std::vector<fs::path>& keep)
{
    const auto identity = [](const fs::path& path) -> std::optional<std::pair<dev_t, ino_t>> {
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0) return std::nullopt;
        return std::pair{status.st_dev, status.st_ino};
    };
    const auto id = identity(folder);
    if (!id) return false;
    std::vector<fs::path> guarded = keep;
    for (std::string_view system : kSystemFolders) guarded.emplace_back(system);
    for (const fs::path& kept : guarded) {
        if (kept.empty()) continue;
        std::error_code error;
        const fs::path resolved = Normal(fs::weakly_canonical(kept, error));
        if (error || !resolved.is_absolute()) continue;
        // The kept folder and every folder above it, up to the root.
        for (fs::path above = resolved;; above = above.parent_path()) {
            if (identity(above) == id) return true;
            if (above == above.parent_path()) break;
        }
    }
    return false;
}

InstallationFolder CheckInstallationFolder(std::string_view recorded, const std::vector<fs::path>& keep)
{
    InstallationFolder result;
    result.recorded = std::string(recorded);
    if (recorded.empty()) return result;

    const fs::path path(result.recorded);
    auto verdict = [&](FolderVerdict v) {
        result.verdict = v;
        return result;
    };
    if (recorded.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return verdict(FolderVerdict::LineBreak);
    if (!path.is_absolute()) return verdict(FolderVerdict::NotAbsolute);
    const fs::path normal = Normal(path);
    if (IsProtectedFolder(normal, keep)) return verdict(FolderVerdict::Protected);
    if (!ExistsNoFollow(normal)) return verdict(FolderVerdict::Missing);

    // Where links lead: a link to the home folder is the home folder.
    std::error_code error;
    const fs::path resolved = Normal(fs::weakly_canonical(normal, error));
    if (error || !fs::exists(resolved, error)) return verdict(FolderVerdict::Missing);
    if (IsProtectedFolder(resolved, keep) || IsProtectedByIdentity(resolved, keep))
        return verdict(FolderVerdict::Protected);
    if (!fs::is_directory(resolved, error)) return verdict(FolderVerdict::NotAFolder);
    if (!fs::is_regular_file(resolved / std::string(kMainProgram), error))
        return verdict(FolderVerdict::NotAnInstallation);
    if (!HoldsInstallMark(resolved)) return verdict(FolderVerdict::Unmarked);
    if (!ExistsNoFollow(resolved / std::string(kInstalledFilesList))) return verdict(FolderVerdict::Unlisted);
    std::optional<InstalledFiles> installed = ReadInstalledFiles(resolved);
    if (!installed) return verdict(FolderVerdict::ListDamaged);
    result.installed = std::move(*installed);
    result.folder = resolved;
    return verdict(FolderVerdict::Accepted);
}

std::string RefusalText(const InstallationFolder& installation, std::string_view title)
{
    std::string why;
    switch (installation.verdict) {
    case FolderVerdict::NotAbsolute: why = "它不是完整的路径"; break;
    case FolderVerdict::Protected: why = "它是系统或用户自己的文件夹"; break;
    case FolderVerdict::NotAFolder: why = "它不是文件夹"; break;
    case FolderVerdict::NotAnInstallation:
        why = "其中没有" + std::string(kMainProgram) + ",不是<" + std::string(title) + ">的安装目录";
        break;
    case FolderVerdict::Unmarked:
        why = "其中没有安装程序留下的标记,不是<" + std::string(title) + ">的安装目录";
        break;
    case FolderVerdict::LineBreak: why = "记录中的路径含有回车或换行符"; break;
    case FolderVerdict::Unlisted: why = "其中没有安装程序留下的文件清单,无法分辨哪些是安装的文件"; break;
    case FolderVerdict::ListDamaged: why = "安装程序留下的文件清单已损坏,无法分辨哪些是安装的文件"; break;
    default: return {};
    }
    return "安装目录\"" + Shown(installation.recorded) + "\"没有删除:" + why + "。";
}

RemovalPlan PlanRemoval(const app::WorkFolderSearch& work, const fs::path& system_dir, std::string_view title)
{
    RemovalPlan plan;
    plan.work = work;
    // A folder that the rule did not find present holds no record of ours.
    const std::string recorded = work.present ? ReadInstallationRecord(work.work_dir) : std::string();
    plan.installation = CheckInstallationFolder(recorded, FoldersToKeep(system_dir));

    const std::string installed = InstalledName(title);
    const fs::path menu = shell::GetSpecialFolderPath(shell::SpecialFolder::StartMenu);
    const fs::path programs = shell::GetSpecialFolderPath(shell::SpecialFolder::Programs);
    plan.desktop_shortcut =
        shell::ShortcutPath(shell::GetSpecialFolderPath(shell::SpecialFolder::Desktop), title);
    plan.start_menu_shortcut = shell::ShortcutPath(menu, installed);
    plan.programs_folder = programs / installed;
    plan.startup_shortcut =
        shell::ShortcutPath(shell::GetSpecialFolderPath(shell::SpecialFolder::Startup), installed);
    return plan;
}

void RunRemovalStep(const RemovalPlan& plan, int step)
{
    switch (step) {
    case 1:
        if (plan.installation.verdict != FolderVerdict::Accepted) return;
        RemoveInstalledFiles(plan.installation.folder, plan.installation.installed, plan.file_system);
        // A recorded link to the folder goes with it, once the folder has gone.
        if (const fs::path link = Normal(fs::path(plan.installation.recorded));
            link != plan.installation.folder && !ExistsNoFollow(plan.installation.folder))
            DeleteEntry(link);
        return;
    case 2:
        // The rule only takes a folder that holds "zpyjj", or one that is missing.
        if (plan.work.present) DeleteFolder(plan.work.work_dir);
        return;
    case 3: DeleteEntry(plan.desktop_shortcut); return;
    case 4: DeleteEntry(plan.start_menu_shortcut); return;
    case 5: DeleteFolder(plan.programs_folder); return;
    case 6: DeleteEntry(plan.startup_shortcut); return;
    default: return;
    }
}

std::vector<fs::path> KeptEntries(const RemovalPlan& plan, size_t limit)
{
    if (plan.installation.verdict != FolderVerdict::Accepted) return {};
    return UnlistedEntries(plan.installation.folder, plan.installation.installed, plan.file_system, limit);
}

}  // namespace uninstall
