#include "app/work_folder.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using app_test::TempFolder;
using app_test::WriteFile;

TEST(FindWorkFolder, TakesTheFirstMissingOrHoldingPhotos)
{
    TempFolder system;
    fs::create_directories(system.Path() / "brenholt_1" / "xtsz");
    fs::create_directories(system.Path() / "brenholt_2" / "zpyjj");
    int pumps = 0;
    const WorkFolderSearch found = FindWorkFolder(system.Path(), [&pumps] { ++pumps; });
    EXPECT_EQ(pumps, 2);
    EXPECT_EQ(found.number, 2);
    EXPECT_TRUE(found.present);
    EXPECT_EQ(found.work_dir, system.Path() / "brenholt_2" / "");
    EXPECT_TRUE(found.work_dir.string().ends_with("brenholt_2/"));
    EXPECT_FALSE(fs::exists(system.Path() / "brenholt_3"));
}

TEST(FindWorkFolder, MissingFolderIsTakenButNotPresent)
{
    TempFolder system;
    const WorkFolderSearch found = FindWorkFolder(system.Path());
    EXPECT_EQ(found.number, 1);
    EXPECT_FALSE(found.present);
    EXPECT_FALSE(fs::exists(found.work_dir));

    // A plain file named like the folder is no folder: N = 1, missing.
    WriteFile(system.Path() / "brenholt_1", "x");
    const WorkFolderSearch after_file = FindWorkFolder(system.Path());
    EXPECT_EQ(after_file.number, 1);
    EXPECT_FALSE(after_file.present);
}

TEST(RemoveLeftoverFiles, ClearsWorkFilesAndKeepsShippedOnes)
{
    TempFolder temp;
    const fs::path work = temp.Path() / "brenholt_1" / "";
    const char* leftovers[] = {
        "llzp/zpjj.jpg",    "jjzp/zpjj.jpg",    "zpyjj/lin_shi.jpg", "zhzp/zhzp1.swf",   "zhzp/lswj.bmp",
        "zhzp/zhzp2.swf",   "pwwjj/pwwj1.swf",  "pwwjj/pwwj2.swf",   "pwwjj/txt_1.txt",  "pwwjj/txt_2.txt",
        "zpyjj/zpyjj.bmp",  "pwwjj/pwtp.bmp",   "pwwjj/pwtp.jpg",    "zpyjj/zpyjj1.jpg", "zpyjj/zpyjj12.jpg",
        "zpyjj/CAMERA.JPG", "zhzp/tupian3.jpg",
    };
    const char* kept[] = {
        "xtsz/rjjj.swf",  "xtsz/wzpyl.swf",   "pwwjj/wu_pwwj.swf", "llzp/zpjj1.swf",
        "jjzp/zpjj2.swf", "zhzp/lin_shi.ini", "zpyjj/notes.txt",   "llzp/other.jpg",
    };
    for (const char* name : leftovers) WriteFile(work / name, "x");
    for (const char* name : kept) WriteFile(work / name, "x");
    fs::create_directories(work / "zhzp" / "folder.jpg");

    EXPECT_EQ(LeftoverFiles(work).size(), std::size(leftovers));
    EXPECT_EQ(RemoveLeftoverFiles(work), 0);
    for (const char* name : leftovers) EXPECT_FALSE(fs::exists(work / name)) << name;
    for (const char* name : kept) EXPECT_TRUE(fs::exists(work / name)) << name;
    EXPECT_TRUE(fs::is_directory(work / "zhzp" / "folder.jpg"));
    EXPECT_TRUE(LeftoverFiles(work).empty());
}

TEST(RemoveLeftoverFiles, MissingWorkFolderFindsNothing)
{
    TempFolder temp;
    EXPECT_TRUE(LeftoverFiles(temp.Path() / "absent").empty());
    EXPECT_EQ(RemoveLeftoverFiles(temp.Path() / "absent"), 0);
}

}  // namespace
}  // namespace app
