#include "platform/shell/special_folders.h"

#include <gtest/gtest.h>

#include "platform/core/files.h"
#include "env_guard.h"

namespace {

namespace fs = std::filesystem;
using shell::SpecialFolder;

// A home of its own, with no XDG variables set.
class SpecialFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home_ = temp_.Path() / "home";
        fs::create_directories(home_);
        env_.Set("HOME", home_.string());
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DESKTOP_DIR"}) env_.Clear(name);
    }
    void WriteUserDirs(const fs::path& configHome, const std::string& text)
    {
        ASSERT_TRUE(core::ForceDirectories(configHome));
        ASSERT_TRUE(core::WriteFileBytes(configHome / "user-dirs.dirs", text));
    }

    core::TempDir temp_;
    fs::path home_;
    EnvGuard env_;
};

TEST_F(SpecialFoldersTest, DefaultsUnderHome)
{
    EXPECT_EQ(shell::GetSpecialFolderPath(SpecialFolder::Desktop), home_ / "Desktop");
    EXPECT_EQ(shell::GetSpecialFolderPath(SpecialFolder::StartMenu), home_ / ".local/share/applications");
    EXPECT_EQ(shell::GetSpecialFolderPath(SpecialFolder::Programs), home_ / ".local/share/applications");
    EXPECT_EQ(shell::GetSpecialFolderPath(SpecialFolder::Startup), home_ / ".config/autostart");
    EXPECT_EQ(shell::UserDir("MUSIC"), home_);
}

TEST_F(SpecialFoldersTest, XdgHomesMoveMenuAndAutostart)
{
    env_.Set("XDG_DATA_HOME", (temp_.Path() / "data").string());
    env_.Set("XDG_CONFIG_HOME", (temp_.Path() / "config").string());
    EXPECT_EQ(shell::GetSpecialFolderPath(SpecialFolder::StartMenu), temp_.Path() / "data/applications");
    EXPECT_EQ(shell::GetSpecialFolderPath(SpecialFolder::Startup), temp_.Path() / "config/autostart");

    // Relative values are not base directories and are ignored.
    env_.Set("XDG_DATA_HOME", "relative/data");
    env_.Set("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(shell::GetSpecialFolderPath(SpecialFolder::StartMenu), home_ / ".local/share/applications");
    EXPECT_EQ(shell::GetSpecialFolderPath(SpecialFolder::Startup), home_ / ".config/autostart");
}

TEST_F(SpecialFoldersTest, DesktopFromUserDirsFileInConfigHome)
{
    const fs::path config = temp_.Path() / "config";
    env_.Set("XDG_CONFIG_HOME", config.string());
    WriteUserDirs(config,
                  "# This file is written by xdg-user-dirs-update\n"
                  "XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n"
                  "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n");
    EXPECT_EQ(shell::GetSpecialFolderPath(SpecialFolder::Desktop), home_ / "桌面");
    EXPECT_EQ(shell::UserDir("DOCUMENTS"), home_ / "Documents");

    // The file wins over the environment; the environment over the default.
    env_.Set("XDG_DESKTOP_DIR", "/elsewhere");
    EXPECT_EQ(shell::UserDir("DESKTOP"), home_ / "桌面");
    WriteUserDirs(config, "XDG_MUSIC_DIR=\"$HOME/Music\"\n");
    EXPECT_EQ(shell::UserDir("DESKTOP"), fs::path("/elsewhere"));
}

TEST_F(SpecialFoldersTest, DialogsStartInAUserFolderThatExistsElseAtHome)
{
    const fs::path config = temp_.Path() / "config";
    env_.Set("XDG_CONFIG_HOME", config.string());
    WriteUserDirs(config, "XDG_PICTURES_DIR=\"$HOME/图片\"\nXDG_VIDEOS_DIR=\"$HOME/Videos\"\n");
    fs::create_directories(home_ / "图片");
    struct Case {
        const char* name;
        fs::path expected;
    } cases[] = {
        {"PICTURES", home_ / "图片"},
        {"VIDEOS", home_},    // configured but not there
        {"DOWNLOAD", home_},  // not configured
    };
    for (const Case& c : cases) EXPECT_EQ(shell::ExistingUserDir(c.name), c.expected) << c.name;
}

TEST(UserDirsParse, Lines)
{
    const fs::path home = "/home/ann";
    struct Case {
        const char* text;
        fs::path expected;
    } cases[] = {
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"", home / "Desktop"},
        {"  XDG_DESKTOP_DIR = \"$HOME/My Desk\"\r\n", home / "My Desk"},
        {"XDG_DESKTOP_DIR=\"/srv/desk\"", "/srv/desk"},
        {"XDG_DESKTOP_DIR=\"$HOME/\"", home},
        {"XDG_DESKTOP_DIR=\"$HOME\"", home},
        {"XDG_DESKTOP_DIR=\"$HOME/a \\\"b\\\"\"", home / "a \"b\""},
        {"XDG_DESKTOP_DIR=\"$HOME/one\"\nXDG_DESKTOP_DIR=\"$HOME/two\"", home / "two"},
        {"XDG_DESKTOP_DIR=\"relative\"", {}},
        {"XDG_DESKTOP_DIR=\"$HOMEWORK/x\"", {}},
        {"XDG_DESKTOP_DIR=\"$HOME/unclosed", {}},
        {"XDG_DESKTOP_DIR=$HOME/bare", {}},
        {"# XDG_DESKTOP_DIR=\"$HOME/comment\"", {}},
        {"XDG_DESKTOP_DIRX=\"$HOME/other\"", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shell::ParseUserDirsEntry(c.text, "DESKTOP", home), c.expected) << c.text;
    }
}

}  // namespace
