#include "app/work_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace app {

namespace {

std::filesystem::path LockPath(const std::filesystem::path& work_dir)
{
    return work_dir / std::string(kWorkFolderLockFile);
}

}  // namespace

WorkFolderLock::WorkFolderLock(const std::filesystem::path& work_dir)
{
    const std::filesystem::path path = LockPath(work_dir);
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        error_ = path.string() + ": " + std::strerror(errno);
        return;
    }
    // The lock belongs to this open file description, so a second hold in
    // the same process is refused just as one in another process.
    int result;
    do {
        result = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        status_ = Status::Held;
        return;
    }
    const int lock_error = errno;
    ::close(fd_);
    fd_ = -1;
    if (lock_error == EWOULDBLOCK) {
        status_ = Status::InUse;
    } else {
        error_ = path.string() + ": " + std::strerror(lock_error);
    }
}

WorkFolderLock::~WorkFolderLock() { Release(); }

WorkFolderLock::WorkFolderLock(WorkFolderLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      status_(std::exchange(other.status_, Status::Unavailable)),
      error_(std::move(other.error_))
{}

WorkFolderLock& WorkFolderLock::operator=(WorkFolderLock&& other) noexcept
{
    if (this != &other) {
        Release();
        fd_ = std::exchange(other.fd_, -1);
        status_ = std::exchange(other.status_, Status::Unavailable);
        error_ = std::move(other.error_);
    }
    return *this;
}

void WorkFolderLock::Release()
{
    if (fd_ >= 0) {
        ::close(fd_);  // closing drops the lock
        fd_ = -1;
    }
    if (status_ == Status::Held) status_ = Status::Unavailable;
}

bool WorkFolderInUse(const std::filesystem::path& work_dir)
{
    std::error_code error;
    if (!std::filesystem::exists(LockPath(work_dir), error)) return false;
    return WorkFolderLock(work_dir).State() == WorkFolderLock::Status::InUse;
}

}  // namespace app
