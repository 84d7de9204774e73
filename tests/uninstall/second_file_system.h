#pragma once
// A folder on a second file system for a test: a bind mount where the
// machine allows mounts (root), otherwise a plain folder that a probe of
// the test's own reports on another device.
#include <sys/mount.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "uninstall/installation_removal.h"

namespace uninstall_test {

class SecondFileSystems {
public:
    SecondFileSystems() = default;
    SecondFileSystems(const SecondFileSystems&) = delete;
    SecondFileSystems& operator=(const SecondFileSystems&) = delete;
    ~SecondFileSystems() { Clear(); }

    // Shows `source` at `target` (an existing folder) as a second file
    // system: bound there, or its files copied there when mounts are refused.
    void Add(const std::filesystem::path& source, const std::filesystem::path& target)
    {
        namespace fs = std::filesystem;
        if (::mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) == 0) {
            mounted_.push_back(target);
            return;
        }
        fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        faked_.push_back(target);
    }
    // Binds `source` at `target` and answers whether the machine allowed it.
    bool Bind(const std::filesystem::path& source, const std::filesystem::path& target)
    {
        if (::mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) != 0) return false;
        mounted_.push_back(target);
        return true;
    }
    void Clear()
    {
        for (auto it = mounted_.rbegin(); it != mounted_.rend(); ++it) ::umount2(it->c_str(), MNT_DETACH);
        mounted_.clear();
        faked_.clear();
    }
    // The system's probe, with the faked folders (and what lies below them)
    // on a device of their own.
    uninstall::FileSystemProbe Probe() const
    {
        return [faked = faked_](int fd, const std::filesystem::path& path) {
            for (const std::filesystem::path& folder : faked) {
                const auto [end, _] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
                if (end == folder.end()) return uninstall::FileSystemId{4242, 4242};
            }
            return uninstall::ProbeFileSystem(fd, path);
        };
    }

private:
    std::vector<std::filesystem::path> mounted_, faked_;
};

}  // namespace uninstall_test
