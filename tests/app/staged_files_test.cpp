// Files staged beside their places and put in place all together: every
// failing step, a write or any one rename, leaves every target as it was
// and nothing staged behind.
#include "app/staged_files.h"

#include <gtest/gtest.h>

#include <set>

#include "file_writes_fail.h"
#include "platform/core/files.h"
#include "temp_folder.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using app_test::ReadFile;
using app_test::TempFolder;
using app_test::WriteFile;

class Staging : public ::testing::Test {
protected:
    // Two targets that hold old files, and one that does not exist yet.
    void SetUp() override
    {
        WriteFile(Target("a"), "old a");
        WriteFile(Target("b"), "old b");
    }
    fs::path Target(const std::string& name) const { return folder_.Path() / name; }
    void StageAll(StagedFiles& files)
    {
        for (const char* name : {"a", "b", "c"})
            ASSERT_TRUE(files.Add(Target(name), std::string("new ") + name, "s"));
    }
    // What each target holds ("-": nothing), and the other files present.
    std::string Contents() const
    {
        std::string text;
        for (const char* name : {"a", "b", "c"})
            text += (fs::exists(Target(name)) ? ReadFile(Target(name)) : "-") + ";";
        return text;
    }
    std::set<std::string> Names() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_.Path()))
            names.insert(entry.path().filename().string());
        return names;
    }
    // A replacing rename that fails at the call numbered fail_at (from 1).
    StagedRename FailingAt(int fail_at)
    {
        return [this, fail_at](const fs::path& from, const fs::path& to) {
            return ++renames_ != fail_at && ReplacingRename(from, to);
        };
    }

    TempFolder folder_;
    int renames_ = 0;
};

TEST_F(Staging, AllGoInPlaceOrNone)
{
    {
        StagedFiles files;
        StageAll(files);
        EXPECT_EQ(Contents(), "old a;old b;-;");
        EXPECT_EQ(Names().size(), 5u);  // a, b and three new files
        ASSERT_TRUE(files.PutInPlace(FailingAt(0)));
        EXPECT_EQ(renames_, 5);  // a and b aside, then three into place
        EXPECT_EQ(files.Count(), 0u);
    }
    EXPECT_EQ(Contents(), "new a;new b;new c;");
    EXPECT_EQ(Names(), (std::set<std::string>{"a", "b", "c"}));

    // Each of the five renames failing in turn.
    for (int fail_at = 1; fail_at <= 5; ++fail_at) {
        SCOPED_TRACE(fail_at);
        fs::remove(Target("c"));
        WriteFile(Target("a"), "old a");
        WriteFile(Target("b"), "old b");
        renames_ = 0;
        StagedFiles files;
        StageAll(files);
        EXPECT_FALSE(files.PutInPlace(FailingAt(fail_at)));
        EXPECT_EQ(Contents(), "old a;old b;-;");
        EXPECT_EQ(Names(), (std::set<std::string>{"a", "b"}));
    }
}

TEST_F(Staging, AFileThatCannotBeWrittenLeavesNothing)
{
    StagedFiles files;
    ASSERT_TRUE(files.Add(Target("a"), "new a", "s"));
    {
        app_test::FileWritesFail full;
        EXPECT_FALSE(files.Add(Target("b"), "new b", "s"));
    }
    EXPECT_EQ(files.Count(), 1u);
    files.Discard();
    EXPECT_EQ(Contents(), "old a;old b;-;");
    EXPECT_EQ(Names(), (std::set<std::string>{"a", "b"}));
}

TEST_F(Staging, StagedFilesGoWithTheirOwnerAndLeftoversAreFound)
{
    {
        StagedFiles files;
        StageAll(files);
        StagedFiles moved = std::move(files);
        EXPECT_EQ(moved.Count(), 3u);
    }
    EXPECT_EQ(Names(), (std::set<std::string>{"a", "b"}));
    // What an interrupted import left: new and set-aside files of its stem.
    for (const char* name : {"s-1x.new", "s-2y.old", "t-3z.new", "s-keep"}) WriteFile(Target(name), "x");
    StagedFiles::RemoveLeftovers(folder_.Path(), "s");
    EXPECT_EQ(Names(), (std::set<std::string>{"a", "b", "s-keep", "t-3z.new"}));
}

}  // namespace
}  // namespace app
