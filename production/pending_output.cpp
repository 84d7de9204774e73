#include "production/pending_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <system_error>

namespace production {
namespace fs = std::filesystem;

namespace {

std::string ErrnoText(int error) { return std::generic_category().message(error); }

fs::path FolderOf(const fs::path& file)
{
    const fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

long NameMax(const fs::path& folder)
{
    errno = 0;
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? limit : 255;
}

// rename() without replacing: link and unlink where the file system has
// hard links, else the kernel's no-replace rename, else a checked rename.
int RenameNoReplace(const fs::path& from, const fs::path& to)
{
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return 0;
    }
    if (errno == EEXIST || errno == ENOENT || errno == ENAMETOOLONG || errno == ENOSPC) return errno;
#ifdef SYS_renameat2
    constexpr unsigned kNoReplace = 1;  // RENAME_NOREPLACE
    if (::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), kNoReplace) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
#endif
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0) return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

fs::path TemporaryOutputPath(const fs::path& final)
{
    const fs::path folder = FolderOf(final);
    std::string readable(1, '.');
    readable.append(final.filename().string()).append(".part");
    if (static_cast<long>(readable.size()) <= NameMax(folder)) return final.parent_path() / readable;
    return final.parent_path() / (".castora-" + std::to_string(::getpid()) + ".part");
}

std::string OutputNameProblem(const fs::path& final)
{
    if (final.filename().empty()) return "没有文件名.";
    const fs::path folder = FolderOf(final);
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0)
        return "文件夹无法打开: " + folder.string() + " (" + ErrnoText(errno) + ")";
    if (!S_ISDIR(st.st_mode)) return "不是文件夹: " + folder.string();
    if (static_cast<long>(final.filename().string().size()) > NameMax(folder))
        return "文件名太长, 文件系统不接受: " + final.filename().string();
    if (final.string().size() >= PATH_MAX) return "路径太长, 文件系统不接受: " + final.string();
    return {};
}

PendingOutput::PendingOutput(fs::path final)
    : final_(std::move(final)), temporary_(TemporaryOutputPath(final_))
{}

PendingOutput::~PendingOutput() { Discard(); }

bool PendingOutput::Create(std::string& error)
{
    error = OutputNameProblem(final_);
    if (!error.empty()) return false;
    const int fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = "视频文件无法创建: " + temporary_.string() + " (" + ErrnoText(errno) + ")";
        return false;
    }
    ::close(fd);
    created_ = true;
    return true;
}

bool PendingOutput::Keep(std::string& error)
{
    if (!created_) {
        error = "没有视频文件.";
        return false;
    }
    if (const int rc = RenameNoReplace(temporary_, final_); rc != 0) {
        error = "视频文件无法保存为 " + final_.string() + " (" + ErrnoText(rc) + ")";
        Discard();
        return false;
    }
    created_ = false;
    struct stat st;
    if (::stat(final_.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0) {
        error = "视频文件不在了: " + final_.string();
        return false;
    }
    return true;
}

void PendingOutput::Discard()
{
    if (!created_) return;
    created_ = false;
    ::unlink(temporary_.c_str());
}

}  // namespace production
