#pragma once
// What a hostile machine does to a job's files, for the production tests:
// a folder that refuses this thread even when it runs as root, and a small
// file system of its own (when the process may mount one).
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace production_test {

// While one lives, this thread's file permissions bind it as they bind any
// user: root's overrides are out of its effective set, and come back after.
class PermissionsBind {
public:
    PermissionsBind()
    {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0;
        if (::syscall(SYS_capget, &header_, saved_) != 0) return;
        __user_cap_data_struct less[2] = {saved_[0], saved_[1]};
        less[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        dropped_ = ::syscall(SYS_capset, &header_, less) == 0;
    }
    ~PermissionsBind()
    {
        if (dropped_) ::syscall(SYS_capset, &header_, saved_);
    }
    PermissionsBind(const PermissionsBind&) = delete;
    PermissionsBind& operator=(const PermissionsBind&) = delete;

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool dropped_ = false;
};

// A tmpfs mounted at `folder` with these options ("size=2m",
// "nr_inodes=8"); Mounted() is false where the process may not mount.
class SmallFileSystem {
public:
    SmallFileSystem(const std::filesystem::path& folder, const std::string& options) : folder_(folder)
    {
        std::filesystem::create_directories(folder_);
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallFileSystem()
    {
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;
    bool Mounted() const { return mounted_; }

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
};

// Takes every inode left in `folder`'s file system but `spare`.
inline void FillInodes(const std::filesystem::path& folder, int spare)
{
    int n = 0;
    std::vector<std::filesystem::path> made;
    for (;; ++n) {
        const std::filesystem::path file = folder / ("inode" + std::to_string(n));
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0) break;
        ::close(fd);
        made.push_back(file);
    }
    for (int k = 0; k < spare && !made.empty(); ++k) {
        ::unlink(made.back().c_str());
        made.pop_back();
    }
}

}  // namespace production_test
