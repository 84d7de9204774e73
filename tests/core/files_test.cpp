#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/core/files.h"

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Read(const fs::path& path) { return core::ReadFileBytes(path).value_or("<none>"); }

class Files : public ::testing::Test {
protected:
    core::TempDir dir;
    fs::path Path(const std::string& name) const { return dir.Path() / name; }
};

TEST_F(Files, ExistsAndDelete)
{
    Write(Path("a.jpg"), "x");
    fs::create_directory(Path("zpyjj"));
    EXPECT_TRUE(core::FileExists(Path("a.jpg")));
    EXPECT_FALSE(core::FileExists(Path("zpyjj")));
    EXPECT_FALSE(core::FileExists(Path("b.jpg")));
    EXPECT_TRUE(core::DirectoryExists(Path("zpyjj")));
    EXPECT_FALSE(core::DirectoryExists(Path("a.jpg")));

    EXPECT_TRUE(core::DeleteFile(Path("a.jpg")));
    EXPECT_FALSE(core::FileExists(Path("a.jpg")));
    EXPECT_FALSE(core::DeleteFile(Path("a.jpg")));  // nothing there
    EXPECT_FALSE(core::DeleteFile(Path("zpyjj")));  // folders stay
    EXPECT_TRUE(core::DirectoryExists(Path("zpyjj")));
}

TEST_F(Files, CopyWithAndWithoutOverwrite)
{
    Write(Path("src.jpg"), "new");
    Write(Path("dst.jpg"), "old");
    EXPECT_FALSE(core::CopyFile(Path("src.jpg"), Path("dst.jpg"), false));
    EXPECT_EQ(Read(Path("dst.jpg")), "old");
    EXPECT_TRUE(core::CopyFile(Path("src.jpg"), Path("dst.jpg"), true));
    EXPECT_EQ(Read(Path("dst.jpg")), "new");
    EXPECT_TRUE(core::CopyFile(Path("src.jpg"), Path("fresh.jpg"), false));
    EXPECT_EQ(Read(Path("fresh.jpg")), "new");
    EXPECT_TRUE(core::CopyFile(Path("src.jpg"), Path("src.jpg"), true));  // onto itself
    EXPECT_EQ(Read(Path("src.jpg")), "new");

    // A failed copy leaves the target whole and no stray files behind.
    EXPECT_FALSE(core::CopyFile(Path("missing.jpg"), Path("dst.jpg"), true));
    EXPECT_FALSE(core::CopyFile(Path("src.jpg"), Path("no/such/dir/x.jpg"), true));
    EXPECT_EQ(Read(Path("dst.jpg")), "new");
    EXPECT_EQ(core::FindFiles(dir.Path(), "*").size(), 3u);
}

TEST_F(Files, RenameNeverReplaces)
{
    Write(Path("a.txt"), "a");
    Write(Path("b.txt"), "b");
    EXPECT_FALSE(core::RenameFile(Path("a.txt"), Path("b.txt")));
    EXPECT_EQ(Read(Path("a.txt")), "a");
    EXPECT_EQ(Read(Path("b.txt")), "b");
    EXPECT_TRUE(core::RenameFile(Path("a.txt"), Path("c.txt")));
    EXPECT_FALSE(core::FileExists(Path("a.txt")));
    EXPECT_EQ(Read(Path("c.txt")), "a");
    EXPECT_FALSE(core::RenameFile(Path("a.txt"), Path("d.txt")));  // source gone
    ASSERT_TRUE(core::ForceDirectories(Path("x/y/z")));
    EXPECT_TRUE(core::ForceDirectories(Path("x/y/z")));   // already there
    EXPECT_TRUE(core::RenameFile(Path("x"), Path("w")));  // folders too
    EXPECT_TRUE(core::DirectoryExists(Path("w/y/z")));
    EXPECT_TRUE(core::DeleteTree(Path("w")));
    EXPECT_FALSE(core::DirectoryExists(Path("w")));
}

TEST_F(Files, FindFilesIgnoresLetterCase)
{
    for (const char* name :
         {"A.JPG", "b.jpg", "zpyjj1.jpg", "ZPYJJ12.Jpg", "zpyjj2.jpeg", "c.png", "照片.JPG", "noext"})
        Write(Path(name), "x");
    fs::create_directory(Path("folder.jpg"));  // folders are not files

    struct Case {
        const char* pattern;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {"*.jpg", {"A.JPG", "b.jpg", "zpyjj1.jpg", "ZPYJJ12.Jpg", "照片.JPG"}},
        {"zpyjj*.jpg", {"zpyjj1.jpg", "ZPYJJ12.Jpg"}},
        {"zpyjj?.jpg", {"zpyjj1.jpg"}},
        {"??.jpg", {"照片.JPG"}},
        {"*.*", {"A.JPG", "b.jpg", "c.png", "noext", "zpyjj1.jpg", "ZPYJJ12.Jpg", "zpyjj2.jpeg", "照片.JPG"}},
        {"C.PNG", {"c.png"}},
        {"*.bmp", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        std::vector<std::string> names;
        for (const fs::path& p : core::FindFiles(dir.Path(), c.pattern)) {
            EXPECT_EQ(p.parent_path(), dir.Path());
            names.push_back(p.filename().string());
        }
        EXPECT_EQ(names, c.names);
    }
    EXPECT_TRUE(core::FindFiles(Path("missing"), "*").empty());
}

TEST_F(Files, WriteFileBytesReplacesWhole)
{
    EXPECT_TRUE(core::WriteFileBytes(Path("w.bin"), std::string("a\0b", 3)));
    EXPECT_EQ(Read(Path("w.bin")), std::string("a\0b", 3));
    EXPECT_TRUE(core::WriteFileBytes(Path("w.bin"), "second"));
    EXPECT_EQ(Read(Path("w.bin")), "second");
    EXPECT_FALSE(core::WriteFileBytes(Path("none/w.bin"), "x"));
    EXPECT_FALSE(core::ReadFileBytes(Path("none.bin")).has_value());
    EXPECT_FALSE(core::ReadFileBytes(dir.Path()).has_value());
    EXPECT_EQ(core::FindFiles(dir.Path(), "*").size(), 1u);
}

TEST_F(Files, TemporaryFilesGoAway)
{
    fs::path kept;
    {
        core::TempFile temp(".bmp", dir.Path());
        kept = temp.Path();
        EXPECT_TRUE(core::FileExists(kept));
        EXPECT_EQ(kept.extension(), ".bmp");
        EXPECT_EQ(kept.parent_path(), dir.Path());
        core::TempFile other(".bmp", dir.Path());
        EXPECT_NE(other.Path(), kept);
    }
    EXPECT_FALSE(core::FileExists(kept));
    fs::path made = core::MakeTempFile("lswj", ".bmp");
    EXPECT_TRUE(core::FileExists(made));
    core::DeleteFile(made);
}

TEST(SystemDir, FromTheEnvironment)
{
    core::TestSystemDir test_dir;
    EXPECT_EQ(core::SystemDir(), test_dir.Path());
    EXPECT_TRUE(core::DirectoryExists(test_dir.Path()));

    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* data_home = std::getenv("XDG_DATA_HOME");
    std::string saved_data_home = data_home ? data_home : "";
    unsetenv("VELMORA_SYSTEM_DIR");
    setenv("XDG_DATA_HOME", "/data/home", 1);
    EXPECT_EQ(core::SystemDir(), fs::path("/data/home/velmora"));
    setenv("XDG_DATA_HOME", "", 1);
    setenv("HOME", "/home/u", 1);
    EXPECT_EQ(core::SystemDir(), fs::path("/home/u/.local/share/velmora"));
    setenv("HOME", home.c_str(), 1);
    if (data_home)
        setenv("XDG_DATA_HOME", saved_data_home.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

TEST(ProgramDir, HoldsTheRunningProgram)
{
    fs::path dir = core::ProgramDir();
    EXPECT_TRUE(core::DirectoryExists(dir));
    EXPECT_TRUE(core::FileExists(dir / "test_core"));
}

}  // namespace
