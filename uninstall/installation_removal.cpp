#include "uninstall/installation_removal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

#include "uninstall/removal.h"

namespace uninstall {

namespace {

// What a probe answers when the system cannot say: matches no folder.
constexpr FileSystemId kUnknownFileSystem{~uint64_t{0}, ~uint64_t{0}};

// An open file descriptor, closed with its owner.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

Fd OpenFolderAt(int dir, const char* name)
{
    return Fd(::openat(dir, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// The installation folder, open, with its file system: every folder the
// removal enters is reached from here one name at a time.
class Installation {
public:
    Installation(const fs::path& folder, const FileSystemProbe& probe) : folder_(folder), probe_(probe)
    {
        top_ = OpenFolderAt(AT_FDCWD, folder.c_str());
        if (top_.valid()) id_ = probe_(top_.get(), folder_);
    }

    bool Usable() const { return top_.valid() && id_ != kUnknownFileSystem; }
    int Top() const { return top_.get(); }
    const fs::path& Folder() const { return folder_; }

    // Whether the open folder `fd` at `relative` lies on the installation's
    // file system.
    bool OnItsFileSystem(int fd, const fs::path& relative) const
    {
        return probe_(fd, folder_ / relative) == id_;
    }

    // The folder at `relative` (empty: the installation folder), entered
    // one part at a time; invalid when a part is missing, is a link, or lies
    // on another file system.
    Fd Open(const fs::path& relative) const
    {
        Fd current(::dup(top_.get()));
        fs::path reached;
        for (const fs::path& part : relative) {
            if (!current.valid()) break;
            reached /= part;
            Fd next = OpenFolderAt(current.get(), part.c_str());
            if (next.valid() && !OnItsFileSystem(next.get(), reached)) next = Fd();
            current = std::move(next);
        }
        return current;
    }

private:
    fs::path folder_;
    const FileSystemProbe& probe_;
    Fd top_;
    FileSystemId id_ = kUnknownFileSystem;
};

// Deletes the file or link `relative`; a folder stays.
void RemoveFile(const Installation& installation, const fs::path& relative)
{
    const Fd parent = installation.Open(relative.parent_path());
    if (!parent.valid()) return;
    struct stat status {};
    const std::string name = relative.filename().string();
    if (::fstatat(parent.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(status.st_mode))
        return;
    ::unlinkat(parent.get(), name.c_str(), 0);
}

// Deletes the folder `relative` when it is empty and on the installation's
// file system.
void RemoveEmptyFolder(const Installation& installation, const fs::path& relative)
{
    const Fd parent = installation.Open(relative.parent_path());
    if (!parent.valid()) return;
    const std::string name = relative.filename().string();
    const Fd folder = OpenFolderAt(parent.get(), name.c_str());
    if (!folder.valid() || !installation.OnItsFileSystem(folder.get(), relative)) return;
    ::unlinkat(parent.get(), name.c_str(), AT_REMOVEDIR);
}

size_t Depth(const fs::path& path) { return static_cast<size_t>(std::distance(path.begin(), path.end())); }

// The entries of the open folder `dir` at `relative`, and whether it holds any.
bool CollectUnlisted(const Installation& installation, int dir, const fs::path& relative,
                     const InstalledFiles& list, size_t limit, std::vector<fs::path>& out)
{
    DIR* stream = ::fdopendir(::dup(dir));
    if (!stream) return true;
    bool any = false;
    while (const dirent* entry = out.size() < limit ? ::readdir(stream) : nullptr) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        any = true;
        const fs::path child = relative / name;
        if (relative.empty() && (name == kInstallMark || name == kInstalledFilesList)) continue;
        struct stat status {};
        if (::fstatat(dir, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISDIR(status.st_mode)) {
            if (!list.files.contains(child)) out.push_back(child);
            continue;
        }
        const Fd sub = OpenFolderAt(dir, name.c_str());
        if (!sub.valid() || !installation.OnItsFileSystem(sub.get(), child)) {
            out.push_back(child.generic_string() + "/");
            continue;
        }
        if (!CollectUnlisted(installation, sub.get(), child, list, limit, out) &&
            !list.folders.contains(child))
            out.push_back(child.generic_string() + "/");
    }
    ::closedir(stream);
    return any;
}

}  // namespace

FileSystemId ProbeFileSystem(int fd, const fs::path&)
{
    struct statx extended {};
    if (::statx(fd, "", AT_EMPTY_PATH | AT_SYMLINK_NOFOLLOW, STATX_MNT_ID, &extended) == 0) {
        FileSystemId id;
        id.device = makedev(extended.stx_dev_major, extended.stx_dev_minor);
        if (extended.stx_mask & STATX_MNT_ID) id.mount = extended.stx_mnt_id;
        return id;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0) return kUnknownFileSystem;
    return {static_cast<uint64_t>(status.st_dev), 0};
}

void RemoveInstalledFiles(const fs::path& folder, const InstalledFiles& list, const FileSystemProbe& probe)
{
    const Installation installation(folder, probe);
    if (!installation.Usable()) return;
    const fs::path castora{std::string(kMainProgram)};
    for (const fs::path& file : list.files)
        if (file != castora) RemoveFile(installation, file);

    // The deepest first, so that a folder's folders have gone before it.
    std::vector<fs::path> folders(list.folders.begin(), list.folders.end());
    for (const fs::path& file : list.files)
        for (fs::path above = file.parent_path(); !above.empty(); above = above.parent_path())
            folders.push_back(above);
    std::sort(folders.begin(), folders.end(), [](const fs::path& a, const fs::path& b) {
        return Depth(a) != Depth(b) ? Depth(a) > Depth(b) : a < b;
    });
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    for (const fs::path& sub : folders) RemoveEmptyFolder(installation, sub);

    if (list.files.contains(castora)) RemoveFile(installation, castora);
    RemoveFile(installation, fs::path(std::string(kInstallMark)));
    RemoveFile(installation, fs::path(std::string(kInstalledFilesList)));
    ::rmdir(folder.c_str());
}

std::vector<fs::path> UnlistedEntries(const fs::path& folder, const InstalledFiles& list,
                                      const FileSystemProbe& probe, size_t limit)
{
    std::vector<fs::path> out;
    const Installation installation(folder, probe);
    if (!installation.Usable()) return out;
    CollectUnlisted(installation, installation.Top(), {}, list, limit, out);
    std::sort(out.begin(), out.end());
    return out;
}

std::string KeptFilesText(const fs::path& folder, const std::vector<fs::path>& kept)
{
    if (kept.empty()) return {};
    std::string text = "安装目录\"" + folder.string() + "\"中以下文件不是安装的文件, 已保留: ";
    for (size_t i = 0; i < kept.size() && i < kKeptNamed; ++i) {
        if (i > 0) text += ", ";
        text += kept[i].generic_string();
    }
    if (kept.size() > kKeptNamed) text += " 等";
    return text;
}

}  // namespace uninstall
