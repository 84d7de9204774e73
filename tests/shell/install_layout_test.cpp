#include "tools/velmora-install/install_layout.h"

#include <gtest/gtest.h>

#include "platform/core/files.h"
#include "platform/core/ini.h"
#include "env_guard.h"
#include "uninstall/installed_files.h"

namespace {

namespace fs = std::filesystem;

// A home, an installation folder, a system folder and a shipped-movies
// folder, all temporary.
class InstallLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = temp_.Path();
        env_.Set("HOME", (root_ / "home").string());
        env_.Set("XDG_DATA_HOME", (root_ / "home/data").string());
        env_.Set("XDG_CONFIG_HOME", (root_ / "home/config").string());
        env_.Clear("XDG_DESKTOP_DIR");
        options_.installDir = root_ / "安装 目录";
        options_.shippedDir = root_ / "shipped";
        options_.systemDir = root_ / "system";
        ASSERT_TRUE(core::ForceDirectories(options_.installDir));
    }
    void Ship(const fs::path& relative)
    {
        ASSERT_TRUE(core::ForceDirectories((options_.shippedDir / relative).parent_path()));
        ASSERT_TRUE(core::WriteFileBytes(options_.shippedDir / relative, relative.string()));
    }

    core::TempDir temp_;
    fs::path root_;
    EnvGuard env_;
    installer::InstallOptions options_;
};

TEST_F(InstallLayoutTest, FreshInstallationLaysOutEverything)
{
    for (const char* movie : {"xtsz/rjjj.swf", "xtsz/wzpyl.swf", "xtsz/LRC_yulan.swf", "pwwjj/wu_pwwj.swf",
                              "llzp/zpjj1.swf", "llzp/zpjj2.swf", "jjzp/zpjj1.swf", "jjzp/zpjj2.swf"}) {
        Ship(movie);
    }
    Ship("xtsz/notes.txt");   // not a movie
    Ship("pwwjj/pwwj1.swf");  // an ending, made by the ending import only

    const installer::InstallResult result = installer::Install(options_);

    const fs::path work = options_.systemDir / "brenholt_1";
    EXPECT_EQ(result.workDir, work);
    for (std::string_view sub : installer::kWorkSubfolders)
        EXPECT_TRUE(core::DirectoryExists(work / sub)) << sub;
    for (const char* folder : {"试用模板", "MP3歌曲", "LRC歌词", "Photo"}) {
        EXPECT_TRUE(core::DirectoryExists(options_.installDir / folder)) << folder;
    }

    EXPECT_EQ(result.copiedMovies.size(), 8u);
    EXPECT_EQ(core::ReadFileBytes(work / "xtsz/rjjj.swf"), "xtsz/rjjj.swf");
    EXPECT_TRUE(core::FileExists(work / "jjzp/zpjj2.swf"));
    EXPECT_FALSE(core::FileExists(work / "xtsz/notes.txt"));
    EXPECT_FALSE(core::FileExists(work / "pwwjj/pwwj1.swf"));

    EXPECT_EQ(core::IniFile(work / "azlj.ini").ReadString("azlj", "lj"), options_.installDir.string());

    const fs::path menu = root_ / "home/data/applications";
    const fs::path desktop = root_ / "home/Desktop";
    for (const fs::path& file : {desktop / "Velmora.desktop", menu / "Velmora2007.desktop",
                                 menu / "Velmora2007/Velmora2007.desktop"}) {
        auto text = core::ReadFileBytes(file);
        ASSERT_TRUE(text) << file;
        EXPECT_NE(text->find("Exec=\"" + (options_.installDir / "castora").string() + "\"\n"),
                  std::string::npos)
            << *text;
    }
    EXPECT_NE(core::ReadFileBytes(desktop / "Velmora.desktop")->find("Name=Velmora\n"), std::string::npos);
    EXPECT_EQ(result.shortcuts.size(), 3u);
    EXPECT_FALSE(core::DirectoryExists(root_ / "home/config/autostart"));
}

TEST_F(InstallLayoutTest, RerunReusesTheWorkFolderAndKeepsUserFiles)
{
    installer::Install(options_);
    const fs::path work = options_.systemDir / "brenholt_1";
    ASSERT_TRUE(core::WriteFileBytes(work / "zpyjj/zpyjj1.jpg", "photo"));
    ASSERT_TRUE(core::WriteFileBytes(options_.installDir / "Photo/1.jpg", "root photo"));
    Ship("xtsz/rjjj.swf");

    const installer::InstallResult again = installer::Install(options_);
    EXPECT_EQ(again.workDir, work);
    EXPECT_FALSE(core::DirectoryExists(options_.systemDir / "brenholt_2"));
    EXPECT_TRUE(core::FileExists(work / "zpyjj/zpyjj1.jpg"));
    EXPECT_TRUE(core::FileExists(options_.installDir / "Photo/1.jpg"));
    EXPECT_TRUE(core::FileExists(work / "xtsz/rjjj.swf"));
}

TEST_F(InstallLayoutTest, ForeignFolderWithoutPhotosFolderIsSkipped)
{
    ASSERT_TRUE(core::ForceDirectories(options_.systemDir / "brenholt_1"));
    EXPECT_EQ(installer::Install(options_).workDir, options_.systemDir / "brenholt_2");
    EXPECT_TRUE(core::DirectoryExists(options_.systemDir / "brenholt_2/zpyjj"));
}

TEST(FindWorkFolder, ProgramsRule)
{
    core::TempDir temp;
    const fs::path system = temp.Path();
    EXPECT_EQ(installer::FindWorkFolder(system), system / "brenholt_1");
    ASSERT_TRUE(core::ForceDirectories(system / "brenholt_1"));
    ASSERT_TRUE(core::ForceDirectories(system / "brenholt_2/zpyjj"));
    EXPECT_EQ(installer::FindWorkFolder(system), system / "brenholt_2");
}

// castorun removes what the list beside the mark names, and only that.
TEST_F(InstallLayoutTest, TheListOfInstalledFilesNamesWhatWasCopiedAndTheFoldersMade)
{
    const fs::path manifest = root_ / "install_manifest.txt";
    // As cmake writes it: absolute paths, "./" for the top, no final newline.
    const std::string prefix = options_.installDir.string();
    ASSERT_TRUE(core::WriteFileBytes(
        manifest, prefix + "/./castora\n" + prefix + "/MP3歌曲/相册小调.mp3\n" + prefix + "/./libmcl.so"));
    ASSERT_TRUE(core::ForceDirectories(options_.installDir / "MP3歌曲"));
    for (const char* file : {"castora", "MP3歌曲/相册小调.mp3"})
        ASSERT_TRUE(core::WriteFileBytes(options_.installDir / file, file));
    fs::create_symlink("castora", options_.installDir / "libmcl.so");  // a link is listed as itself
    options_.installedFiles = installer::ReadInstallManifest(manifest);
    installer::Install(options_);

    const auto list = uninstall::ReadInstalledFiles(options_.installDir);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->files,
              (std::set<fs::path>{"castora", "libmcl.so", fs::path("MP3歌曲") / "相册小调.mp3"}));
    EXPECT_EQ(list->folders, (std::set<fs::path>{"LRC歌词", "MP3歌曲", "Photo", "试用模板"}));

    // A second run keeps what the first one listed.
    options_.installedFiles = {options_.installDir / "castorun"};
    ASSERT_TRUE(core::WriteFileBytes(options_.installDir / "castorun", "castorun"));
    installer::Install(options_);
    EXPECT_EQ(uninstall::ReadInstalledFiles(options_.installDir)->files,
              (std::set<fs::path>{"castora", "castorun", "libmcl.so", fs::path("MP3歌曲") / "相册小调.mp3"}));
}

TEST_F(InstallLayoutTest, WhatCannotBeRecordedIsRefused)
{
    // A file outside the installation folder cannot be listed relative to it.
    options_.installedFiles = {root_ / "elsewhere" / "castora"};
    EXPECT_THROW(installer::Install(options_), installer::InstallError);
    options_.installedFiles = {options_.installDir / ".." / "castora"};
    EXPECT_THROW(installer::Install(options_), installer::InstallError);
    // "azlj.ini" cannot hold a path with a line break: it would name another folder.
    options_.installedFiles.clear();
    for (const char* name : {"velmora\nother", "velmora\rother"}) {
        options_.installDir = root_ / name;
        ASSERT_TRUE(core::ForceDirectories(options_.installDir));
        EXPECT_THROW(installer::Install(options_), installer::InstallError) << name;
        EXPECT_FALSE(core::FileExists(options_.installDir / ".velmora-installation"));
    }
    EXPECT_THROW(installer::ReadInstallManifest(root_ / "no manifest"), installer::InstallError);
}

TEST_F(InstallLayoutTest, MissingInstallationFolderIsRefused)
{
    options_.installDir = root_ / "absent";
    EXPECT_THROW(installer::Install(options_), installer::InstallError);
    EXPECT_FALSE(core::DirectoryExists(options_.systemDir));
}

}  // namespace
