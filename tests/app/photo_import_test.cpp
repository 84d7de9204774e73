#include "app/photo_import.h"

#include <gtest/gtest.h>

#include "platform/gfx/image_io.h"
#include "temp_folder.h"

namespace app {
namespace {

namespace fs = std::filesystem;

TEST(PhotoImport, RenderFrameAndCropTexts)
{
    EXPECT_EQ(ImportRenderFrame(), (FrameBounds{-120, -120, 708, 771}));
    EXPECT_EQ(ImportCropTexts(), (std::vector<std::string>{"", "-120", "-120", "708", "771"}));
}

TEST(PhotoImport, CaptionCutsCharactersNotBytes)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/home/u/photos/holiday.jpg", "holiday"},
        {"/home/u/春天的花.jpg", "春天的花"},
        {"/home/u/春天.JPG", "春天"},
        {"/home/u/a.jpg", "a"},
        {"/home/u/.jpg", ""},  // four characters or fewer: empty
        {"/home/u/ab.c", ""},
        {"/home/u/照片照片", ""},  // four Chinese characters, twelve bytes
        {"/home/u/照片照片1", "照"},
        {"relative.jpg", "relative"},
    };
    for (const auto& [path, caption] : cases) EXPECT_EQ(PhotoCaption(path), caption) << path;
}

TEST(PhotoImport, OnlyAFileDirectlyUnderTheRootIsCopied)
{
    const std::pair<const char*, bool> cases[] = {
        {"/photo.jpg", true}, {"/home/photo.jpg", false}, {"/home/u/photo.jpg", false},
        {"photo.jpg", false}, {"dir/photo.jpg", false},   {"/照片.jpg", true},
    };
    for (const auto& [path, root] : cases) EXPECT_EQ(IsDirectlyUnderRoot(path), root) << path;
    EXPECT_EQ(CountPathSeparators("/a/b/c.jpg"), 3);

    // A root path whose copy cannot be made (no "Photo" folder) is used as chosen.
    app_test::TempFolder temp;
    EXPECT_EQ(PhotoSourcePath("/velmora-no-such-photo.jpg", temp.Path() / "Photo"),
              "/velmora-no-such-photo.jpg");
    // A deeper path is used in place, even when the folder exists.
    fs::create_directories(temp.Path() / "Photo");
    const std::string deeper = (temp.Path() / "a.jpg").string();
    app_test::WriteFile(deeper, "jpeg");
    EXPECT_EQ(PhotoSourcePath(deeper, temp.Path() / "Photo"), deeper);
    EXPECT_TRUE(fs::is_empty(temp.Path() / "Photo"));
}

TEST(PhotoImport, CopiesTakeTheFirstFreeNumbers)
{
    app_test::TempFolder temp;
    const fs::path folder = temp.Path() / "Photo";
    const std::string photo = (temp.Path() / "p.jpg").string();
    app_test::WriteFile(photo, "jpeg bytes");

    // No folder: the copy fails and the photo's own path stays.
    EXPECT_EQ(CopyIntoPhotoFolder(photo, folder), photo);
    EXPECT_FALSE(fs::exists(folder));

    fs::create_directories(folder);
    EXPECT_EQ(CopyIntoPhotoFolder(photo, folder), (folder / "1.jpg").string());
    app_test::WriteFile(folder / "3.jpg", "taken");
    EXPECT_EQ(CopyIntoPhotoFolder(photo, folder), (folder / "2.jpg").string());
    EXPECT_EQ(CopyIntoPhotoFolder(photo, folder), (folder / "4.jpg").string());
    EXPECT_EQ(app_test::ReadFile(folder / "4.jpg"), "jpeg bytes");
    EXPECT_EQ(app_test::ReadFile(folder / "3.jpg"), "taken");
    // A missing source: nothing is copied, the path stays.
    EXPECT_EQ(CopyIntoPhotoFolder("/velmora-missing.jpg", folder), "/velmora-missing.jpg");
    EXPECT_FALSE(fs::exists(folder / "5.jpg"));
}

TEST(PhotoImport, StageClipPhotoConvertsBmpAndCopiesTheRest)
{
    app_test::TempFolder temp;
    const fs::path work = temp.Path();
    fs::create_directories(work / "jjzp");
    const fs::path staged = work / "jjzp" / "zpjj.jpg";

    gfx::SaveBmp(TBitmap(20, 10, clRed), work / "a.BMP");
    ASSERT_TRUE(StageClipPhoto(work, work / "a.BMP"));
    EXPECT_EQ(app_test::ReadFile(staged).substr(0, 2), "\xFF\xD8");  // a JPEG
    EXPECT_EQ(gfx::LoadImage(staged).Width(), 20);

    app_test::WriteFile(work / "b.Bmp", "copied as it is");
    ASSERT_TRUE(StageClipPhoto(work, work / "b.Bmp"));
    EXPECT_EQ(app_test::ReadFile(staged), "copied as it is");

    // A source that is not there, or a BMP that is no picture: the staged
    // photo stays.
    app_test::WriteFile(work / "c.bmp", "not a bitmap");
    EXPECT_FALSE(StageClipPhoto(work, work / "missing.jpg"));
    EXPECT_FALSE(StageClipPhoto(work, work / "c.bmp"));
    EXPECT_EQ(app_test::ReadFile(staged), "copied as it is");
}

TEST(UnreadPhotos, TheMessageNamesTheFilesAndALongListStopsEarly)
{
    EXPECT_EQ(UnreadPhotosText({}), "");
    UnreadPhotos photos;
    for (int i = 1; i <= 10; ++i) photos.unreadable.push_back("/pictures/" + std::to_string(i) + ".jpg");
    EXPECT_EQ(UnreadPhotosText(photos),
              "有 10 张照片无法读取(文件不完整、已损坏或不是图片), 以图标代替:\n"
              "1.jpg、2.jpg、3.jpg、4.jpg、5.jpg、6.jpg、7.jpg、8.jpg 等");
    EXPECT_EQ(UnreadPhotosText({{}, {"/p/全景.jpg"}}),
              "有 1 张照片太大(每边最多 32768 像素, 共最多 26843 万像素), 以图标代替:\n全景.jpg");
}

}  // namespace
}  // namespace app
