#pragma once
// The exclusive hold of one program on its work folder. castora takes it at
// start-up, before it clears the leftover work files, so that a second
// castora cannot wipe the first one's photos; castorun asks whether it is
// held before it removes anything. The hold is an advisory lock (flock) on
// the file ".lock" inside the work folder: the system drops it when the
// holding process ends, however it ends.
#include <filesystem>
#include <string>
#include <string_view>

namespace app {

inline constexpr std::string_view kWorkFolderLockFile = ".lock";

class WorkFolderLock {
public:
    enum class Status {
        Held,         // this object holds the work folder
        InUse,        // another program (or another hold) has it
        Unavailable,  // the lock file cannot be opened (see Error())
    };

    // Tries to take the work folder; never waits. Creates the lock file
    // when it is missing, and nothing else.
    explicit WorkFolderLock(const std::filesystem::path& work_dir);
    ~WorkFolderLock();
    WorkFolderLock(WorkFolderLock&& other) noexcept;
    WorkFolderLock& operator=(WorkFolderLock&& other) noexcept;
    WorkFolderLock(const WorkFolderLock&) = delete;
    WorkFolderLock& operator=(const WorkFolderLock&) = delete;

    Status State() const { return status_; }
    bool Held() const { return status_ == Status::Held; }
    // Why the lock file could not be used (Unavailable only).
    const std::string& Error() const { return error_; }
    // Gives the work folder up (also done by the destructor).
    void Release();

private:
    int fd_ = -1;
    Status status_ = Status::Unavailable;
    std::string error_;
};

// True while some program holds the work folder. Takes and drops the lock
// itself when nobody does; a folder without a lock file is not in use.
bool WorkFolderInUse(const std::filesystem::path& work_dir);

}  // namespace app
