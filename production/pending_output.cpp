#include "production/pending_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <random>

namespace production {
namespace fs = std::filesystem;

namespace {

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

// rename() that never replaces: the kernel's no-replace rename; where the
// file system refuses that, a hard link and unlink; where it has no link
// to spare (no hard links, or no inode for the link's entry on some file
// systems) a rename checked just before.
int RenameNoReplace(const fs::path& from, const fs::path& to)
{
#ifdef SYS_renameat2
    constexpr unsigned kNoReplace = 1;  // RENAME_NOREPLACE
    if (::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), kNoReplace) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
#endif
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return 0;
    }
    if (errno != ENOSPC && errno != EPERM && errno != EMLINK && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0) return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// A hidden name of its own beside `final`: the final name when the folder
// takes it, a short one otherwise, and a random tag either way.
fs::path FreshTemporaryName(const fs::path& final, std::mt19937_64& random)
{
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string tag;
    for (int i = 0; i < 8; ++i) tag += kDigits[random() % 36];
    std::string name(1, '.');
    name.append(final.filename().string()).append(1, '.').append(tag).append(".part");
    if (static_cast<long>(name.size()) > NameMax(FolderOf(final)))
        name = std::string(".castora-").append(tag).append(".part");
    return final.parent_path() / name;
}

}  // namespace

std::optional<Failure> OutputNameFailure(const fs::path& final)
{
    if (final.filename().empty()) return Failure(FailureKind::NoFileName);
    const fs::path folder = FolderOf(final);
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0) return Failure(FailureKind::FolderMissing, folder.string(), errno);
    if (!S_ISDIR(st.st_mode)) return Failure(FailureKind::NotAFolder, folder.string());
    if (static_cast<long>(final.filename().string().size()) > NameMax(folder))
        return Failure(FailureKind::NameTooLong, final.filename().string());
    // Room for the hidden name's tag as well.
    if (final.string().size() + 16 >= PATH_MAX) return Failure(FailureKind::PathTooLong, final.string());
    return std::nullopt;
}

std::string OutputNameProblem(const fs::path& final)
{
    const std::optional<Failure> failure = OutputNameFailure(final);
    return failure ? FailureText(*failure) : std::string();
}

PendingOutput::PendingOutput(fs::path final) : final_(std::move(final)) {}

PendingOutput::~PendingOutput()
{
    Discard();
    Close();
}

std::string PendingOutput::WritePath() const
{
    if (fd_ < 0) return temporary_.string();
    // The open file itself, not its name: what lies at the name now may be
    // anything.
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    struct stat named, opened;
    if (::stat(self.c_str(), &named) == 0 && ::fstat(fd_, &opened) == 0 && named.st_ino == opened.st_ino &&
        named.st_dev == opened.st_dev)
        return self;
    return temporary_.string();
}

void PendingOutput::Close()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::optional<Failure> PendingOutput::Create()
{
    if (std::optional<Failure> failure = OutputNameFailure(final_)) return failure;
    std::random_device seed;
    std::mt19937_64 random((static_cast<std::uint64_t>(seed()) << 32) ^ seed() ^ ::getpid());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path name = FreshTemporaryName(final_, random);
        const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            temporary_ = name;
            created_ = true;
            return std::nullopt;
        }
        if (errno != EEXIST) return Failure(FailureKind::OutputCreate, final_.string(), errno);
    }
    return Failure(FailureKind::OutputCreate, final_.string(), EEXIST);
}

std::optional<Failure> PendingOutput::Keep()
{
    if (!created_) return Failure(FailureKind::OutputGone, final_.string());
    struct stat written, named;
    if (::fstat(fd_, &written) != 0 || written.st_size == 0) {
        Discard();
        return Failure(FailureKind::OutputGone, final_.string());
    }
    // Renamed is only the file written, never what was put under its name.
    if (::lstat(temporary_.c_str(), &named) != 0) {
        const int error = errno;
        struct stat folder;
        Discard();
        if (::stat(FolderOf(final_).c_str(), &folder) != 0)
            return Failure(FailureKind::OutputKeep, final_.string(), ENOENT);
        return Failure(FailureKind::OutputGone, final_.string(), error);
    }
    if (named.st_ino != written.st_ino || named.st_dev != written.st_dev) {
        Discard();
        return Failure(FailureKind::OutputGone, final_.string());
    }
    if (const int rc = RenameNoReplace(temporary_, final_); rc != 0) {
        Discard();
        return Failure(rc == EEXIST ? FailureKind::OutputExists : FailureKind::OutputKeep, final_.string(),
                       rc);
    }
    created_ = false;
    // What lies under the final name now is the file this job wrote.
    struct stat st;
    const bool inPlace = ::lstat(final_.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                         st.st_ino == written.st_ino && st.st_dev == written.st_dev && st.st_size > 0;
    Close();
    if (!inPlace) return Failure(FailureKind::OutputGone, final_.string());
    return std::nullopt;
}

std::optional<Failure> PendingOutput::Discard()
{
    if (!created_) return std::nullopt;
    created_ = false;
    // Only the file this job made goes, never one put under its name since.
    struct stat named, opened;
    const bool ours = ::lstat(temporary_.c_str(), &named) == 0 && fd_ >= 0 && ::fstat(fd_, &opened) == 0 &&
                      named.st_ino == opened.st_ino && named.st_dev == opened.st_dev;
    Close();
    if (!ours) return std::nullopt;
    if (::unlink(temporary_.c_str()) == 0 || errno == ENOENT) return std::nullopt;
    left_behind_ = Failure(FailureKind::TemporaryLeft, temporary_.string(), errno);
    return left_behind_;
}

}  // namespace production
