// The uninstaller's removal of its own file through a script.
#include "uninstall/self_removal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "tests/uninstall/installation.h"

namespace uninstall_test {
namespace {

TEST(SelfRemoval, ShellQuotingKeepsEveryCharacter)
{
    struct Case {
        std::string text, quoted;
    };
    for (const Case& c : std::vector<Case>{{"", "''"},
                                           {"/opt/velmora/castorun", "'/opt/velmora/castorun'"},
                                           {"it's", "'it'\\''s'"},
                                           {"$HOME `x` \"y\" \\ 卸载\n", "'$HOME `x` \"y\" \\ 卸载\n'"}})
        EXPECT_EQ(uninstall::ShellQuote(c.text), c.quoted) << c.text;
}

class SelfRemovalFiles : public Installation {};

TEST_F(SelfRemovalFiles, OnlyAnInstalledCopyBesideCastoraRemovesItself)
{
    const fs::path folder = root_ / "opt" / "velmora";
    Touch(folder / "castorun");
    EXPECT_FALSE(uninstall::ShouldRemoveItself(folder / "castorun"));  // a build folder, say
    Touch(folder / "castora");
    EXPECT_TRUE(uninstall::ShouldRemoveItself(folder / "castorun"));
    EXPECT_FALSE(uninstall::ShouldRemoveItself(folder / "gone"));  // went with the installation
    EXPECT_FALSE(uninstall::ShouldRemoveItself(fs::path("castorun")));
    EXPECT_FALSE(uninstall::ShouldRemoveItself({}));
}

// A folder name that a careless script would split or expand.
TEST_F(SelfRemovalFiles, TheScriptDeletesTheUninstallerAndItselfAndNothingElse)
{
    const fs::path folder = root_ / "it's $HOME `卸载` dir";
    Touch(folder / "castora");
    Touch(folder / "castorun");
    Touch(root_ / "castorun");  // a namesake elsewhere
    const fs::path script = uninstall::WriteSelfRemovalScript(folder / "castorun");
    ASSERT_EQ(script, folder / "delme.sh");
    const std::string command = "/bin/sh " + uninstall::ShellQuote(script.string());
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_FALSE(Exists(folder / "castorun"));
    EXPECT_FALSE(Exists(script));
    EXPECT_TRUE(Exists(folder / "castora"));
    EXPECT_TRUE(Exists(root_ / "castorun"));
}

TEST_F(SelfRemovalFiles, StartedDetachedTheScriptRunsOnItsOwn)
{
    const fs::path folder = root_ / "opt" / "velmora";
    Touch(folder / "castora");
    Touch(folder / "castorun");
    ASSERT_TRUE(uninstall::StartDetached(uninstall::WriteSelfRemovalScript(folder / "castorun")));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((Exists(folder / "castorun") || Exists(folder / "delme.sh")) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(Exists(folder / "castorun"));
    EXPECT_FALSE(Exists(folder / "delme.sh"));
}

}  // namespace
}  // namespace uninstall_test
