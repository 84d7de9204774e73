#include "app/work_folder_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "temp_folder.h"

namespace app {
namespace {

using app_test::TempFolder;
using Status = WorkFolderLock::Status;

TEST(WorkFolderLock, OneHolderAtATimeUntilReleased)
{
    TempFolder work;
    EXPECT_FALSE(WorkFolderInUse(work.Path()));  // no lock file yet

    WorkFolderLock first(work.Path());
    ASSERT_EQ(first.State(), Status::Held);
    EXPECT_TRUE(std::filesystem::exists(work.Path() / ".lock"));
    EXPECT_EQ(WorkFolderLock(work.Path()).State(), Status::InUse);
    EXPECT_TRUE(WorkFolderInUse(work.Path()));

    WorkFolderLock moved(std::move(first));
    EXPECT_TRUE(moved.Held());
    EXPECT_TRUE(WorkFolderInUse(work.Path()));

    moved.Release();
    EXPECT_FALSE(WorkFolderInUse(work.Path()));
    EXPECT_TRUE(WorkFolderLock(work.Path()).Held());
}

TEST(WorkFolderLock, AnotherProcessIsRefusedAndTheLockDiesWithItsHolder)
{
    TempFolder work;
    {
        WorkFolderLock held(work.Path());
        ASSERT_TRUE(held.Held());
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // A fresh open of the lock file is a second program's attempt.
            _exit(WorkFolderLock(work.Path()).State() == Status::InUse ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    // A holder that ends without releasing (killed, crashed) frees the folder.
    const pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        WorkFolderLock lock(work.Path());
        _exit(lock.Held() ? 0 : 1);  // no destructor runs
    }
    int status = 0;
    ASSERT_EQ(waitpid(holder, &status, 0), holder);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(WorkFolderInUse(work.Path()));
}

TEST(WorkFolderLock, AFolderThatCannotHoldTheLockFileSaysWhy)
{
    TempFolder work;
    const WorkFolderLock missing(work.Path() / "no_such_folder");
    EXPECT_EQ(missing.State(), Status::Unavailable);
    EXPECT_NE(missing.Error().find("no_such_folder"), std::string::npos);
}

}  // namespace
}  // namespace app
