// The main window's photo and lyric routines: the thumbnail refresh, the
// album length label and the lyric tables, on the headless back end with a
// virtual clock and a temporary system folder.
#include <gtest/gtest.h>

#include <fstream>

#include "app/castora_forms.h"
#include "app/main_window.h"
#include "app/crop_render_form.h"
#include "app/photo_import_form.h"
#include "app/template_format.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/flash/movie_file.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/gfx/image_io.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edit.h"
#include "platform/ui/headless.h"
#include "platform/ui/label.h"
#include "platform/ui/listbox.h"
#include "platform/core/timer.h"
#include "platform/ui/combobox.h"
#include "skin/kiv_button.h"
#include "skin/kiv_check_box.h"
#include "skin/kiv_form.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_list_box.h"
#include "skin/kiv_progress_bar.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"
#include "platform/shell/picture_icon.h"
#include "platform/ui/scrollbox.h"
#include "platform/media/media_player.h"
#include "tests/app/main_window_fixture.h"
#include "tests/app/temp_folder.h"
#include "tests/gfx/exif_jpeg.h"
#include "tests/gfx/made_jpeg.h"

namespace {

namespace fs = std::filesystem;

using app_test::WriteMovieFile;

class PhotoWindow : public app_test::StartedMainWindow {
protected:
    // A JPEG of one colour in the test's own folder.
    std::string Photo(const std::string& name, int width, int height, TColor colour) const
    {
        const fs::path path = system_.Path() / "photos" / name;
        fs::create_directories(path.parent_path());
        gfx::SaveJpeg(TBitmap(width, height, colour), path);
        return path.string();
    }
    // "导入照片" with the dialog answering `chosen` (nothing: cancelled).
    void Import(std::optional<std::vector<std::string>> chosen)
    {
        ui::SetFileDialogHook([chosen](const TOpenDialog&) { return chosen; });
        Form1->kivButton4->OnClick(Form1->kivButton4);
    }
    std::vector<std::string> Row(TkivListView* view, int index) const
    {
        const TListItem* item = view->Items()[index];
        std::vector<std::string> texts = {item->Caption()};
        for (int i = 0; i < item->SubItems().Count(); ++i) texts.push_back(item->SubItems()[i]);
        return texts;
    }

    void WritePicture(int k, TColor colour)
    {
        gfx::SaveJpeg(TBitmap(468, 531, colour), work_ / "zpyjj" / ("zpyjj" + std::to_string(k) + ".jpg"));
    }
    std::vector<TShockwaveFlash*> Thumbnails() const
    {
        return {Form1->ShockwaveFlash1, Form1->ShockwaveFlash2, Form1->ShockwaveFlash3,
                Form1->ShockwaveFlash4, Form1->ShockwaveFlash5, Form1->ShockwaveFlash6,
                Form1->ShockwaveFlash7};
    }
    std::string EmptySlot() const { return (work_ / "xtsz" / "wzpyl.swf").string(); }
    std::string Picture(int k) const
    {
        return (work_ / "zpyjj" / ("zpyjj" + std::to_string(k) + ".jpg")).string();
    }
};

TEST_F(PhotoWindow, RefreshThumbnailsShowsThePagePicturesAndEmptySlots)
{
    for (int k = 1; k <= 10; ++k) WritePicture(k, gfx::RGB(20 * k, 0, 0));
    Form1->RefreshThumbnails(0);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Thumbnails()[i]->Movie(), Picture(i + 1)) << i;
        EXPECT_GT(Thumbnails()[i]->TotalFrames(), 0) << i;  // the picture loaded
    }
    Form1->RefreshThumbnails(1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Thumbnails()[i]->Movie(), Picture(8 + i)) << i;
    for (int i = 3; i < 7; ++i) EXPECT_EQ(Thumbnails()[i]->Movie(), EmptySlot()) << i;
    EXPECT_FALSE(fs::exists(work_ / "zpyjj" / "lin_shi.jpg"));

    // A rewritten picture shows anew although the slot shows its path already.
    WritePicture(8, clBlue);
    Form1->RefreshThumbnails(1);
    TBitmap shown(Form1->ShockwaveFlash1->Width(), Form1->ShockwaveFlash1->Height());
    Form1->ShockwaveFlash1->PaintTo(shown, 0, 0);
    const TColor centre = shown.Pixel(shown.Width() / 2, shown.Height() / 2);
    EXPECT_GT(gfx::GetBValue(centre), 200);
    EXPECT_LT(gfx::GetRValue(centre), 60);

    // No photos at all: every slot is empty, and no detour file stays.
    for (int k = 1; k <= 10; ++k) fs::remove(Picture(k));
    Form1->RefreshThumbnails(0);
    for (TShockwaveFlash* slot : Thumbnails()) EXPECT_EQ(slot->Movie(), EmptySlot());
    EXPECT_FALSE(fs::exists(work_ / "zpyjj" / "lin_shi.jpg"));
}

TEST_F(PhotoWindow, ProjectLengthFollowsTheSyncModeOnlyWithAValidTemplate)
{
    WriteMovieFile(work_ / "zhzp" / "zhzp1.swf", 300);  // 12 s
    Form1->xiao_guo_Flash->SetMovie((work_ / "zhzp" / "zhzp1.swf").string());
    for (const char* row : {"0"}) Form1->ListBox1->Items().Add(row);
    for (const char* row : {"300"}) Form1->ListBox2->Items().Add(row);
    for (const char* row : {"2"}) Form1->ListBox3->Items().Add(row);
    for (int i = 0; i < 5; ++i) Form1->kivListView1->Items().Add()->SetCaption("p");
    Form1->MusicSeconds = 3725.5;

    Form1->Label2->SetCaption("untouched");
    Form1->TemplateState = "something else";
    Form1->ProjectLengthText();
    EXPECT_EQ(Form1->Label2->Caption(), "untouched");

    Form1->TemplateState = std::string(app::template_format::kValidityConstant);
    struct Case {
        const char* mode;
        const char* label;
    };
    const Case cases[] = {
        {"yinyuesuimobanchangdu", "00:00:12"},
        {"yinyuesuizhaopian", "00:00:36"},  // 5 photos, 2 a pass: 3 passes of 300 frames
        {"zhaopiansuiyinyue", "01:02:05"},
    };
    for (const Case& c : cases) {
        Form1->Label2->SetCaption("untouched");
        Form1->SyncMode = c.mode;
        Form1->ProjectLengthText();
        EXPECT_EQ(Form1->Label2->Caption(), c.label) << c.mode;
    }
}

TEST_F(PhotoWindow, LoadLrcLyricsFillsTheTablesOfTheGivenSong)
{
    // Song 1 in GBK with CR-only lines; "歌词" is B8 E8 B4 CA.
    app_test::WriteFile(work_ / "a.lrc", "[ti:T]\r[00:01.00][00:03.00]\xB8\xE8\xB4\xCA\r\rplain\r[00:05.00]");
    app_test::WriteFile(work_ / "b.lrc", "\xEF\xBB\xBF[00:02.50]two");
    for (const fs::path& file : {work_ / "a.lrc", work_ / "b.lrc", work_ / "missing.lrc"}) {
        TListItem* row = Form1->kivListView5->Items().Add();
        row->SetCaption(file.stem().string());
        row->SubItems().Add(file.string());
    }

    Form1->LoadLrcLyrics(0);
    const std::vector<app::LrcRow> expected = {
        {"00:03.00", "歌词"}, {"00:01.00", "歌词"}, {"00:05.00", ""}, {"ti", "T"}};
    EXPECT_EQ(Form1->LyricIndexRows(), expected);
    const TListItems& lines = Form1->kivListView6->Items();
    ASSERT_EQ(lines.Count(), 4);
    EXPECT_EQ(lines[2]->Caption(), "3");
    EXPECT_EQ(lines[2]->SubItems()[0], "plain");
    EXPECT_EQ(lines[0]->SubItems()[0], "");  // cut back before its leftmost tag
    EXPECT_EQ(Form1->kivListBox3->Items().Items(), std::vector<std::string>{"[ti:T]"});
    // The scratch lists: the brackets of "[00:05.00]", the last lyric line.
    EXPECT_EQ(Form1->kivListBox1->Items().Items(), std::vector<std::string>{"1"});
    EXPECT_EQ(Form1->kivListBox2->Items().Items(), std::vector<std::string>{"10"});
    EXPECT_EQ(Form1->LyricAt("00:01"), "歌词");
    EXPECT_EQ(Form1->LyricAt("00:05"), "");  // a bare tag clears the line
    EXPECT_EQ(Form1->LyricAt("00:02"), std::nullopt);
    EXPECT_EQ(Form1->LyricAt("TI"), "T");

    // The song is the argument: the preview's song counter is left alone.
    Form1->LrcSongIndex = 2;
    Form1->LoadLrcLyrics(1);
    EXPECT_EQ(Form1->LyricIndexRows(), (std::vector<app::LrcRow>{{"00:02.50", "two"}}));
    EXPECT_EQ(Form1->LrcSongIndex, 2);
    EXPECT_EQ(Form1->kivListBox3->Items().Count(), 0);

    // A missing file, and a row that does not exist, leave the tables empty.
    for (int index : {2, 3, -1}) {
        Form1->LoadLrcLyrics(0);
        Form1->LoadLrcLyrics(index);
        EXPECT_EQ(Form1->kivListView4->Items().Count(), 0) << index;
        EXPECT_EQ(Form1->kivListView6->Items().Count(), 0) << index;
        EXPECT_EQ(Form1->kivListBox3->Items().Count(), 0) << index;
        EXPECT_EQ(Form1->kivListBox1->Items().Count(), 0) << index;
        EXPECT_EQ(Form1->LyricAt("00:01"), std::nullopt) << index;
    }
}

bool IsRed(TColor c) { return gfx::GetRValue(c) > 200 && gfx::GetGValue(c) < 60 && gfx::GetBValue(c) < 60; }
bool IsWhite(TColor c)
{
    return gfx::GetRValue(c) > 235 && gfx::GetGValue(c) > 235 && gfx::GetBValue(c) > 235;
}

TEST_F(PhotoWindow, ThreePhotosIntoAProjectOfFiveBecomePhotosSixToEight)
{
    std::vector<std::string> first, second;
    for (int i = 1; i <= 5; ++i)
        first.push_back(Photo("first" + std::to_string(i) + ".jpg", 64, 48, gfx::RGB(40 * i, 0, 0)));
    Import(first);
    ASSERT_EQ(Form1->kivListView1->Items().Count(), 5);
    Form1->PhotoPageIndex = 1;
    for (const char* name : {"花.jpg", "second.JPG", "third.jpg"})
        second.push_back(Photo(name, 64, 48, clGreen));
    Import(second);

    ASSERT_EQ(Form1->kivListView1->Items().Count(), 8);
    ASSERT_EQ(Form1->kivListView3->Items().Count(), 8);
    const char* captions[] = {"花", "second", "third"};
    for (int k = 6; k <= 8; ++k) {
        const std::string& source = second[static_cast<size_t>(k - 6)];
        EXPECT_EQ(Row(Form1->kivListView1, k - 1), (std::vector<std::string>{captions[k - 6], source})) << k;
        EXPECT_EQ(Row(Form1->kivListView3, k - 1),
                  (std::vector<std::string>{captions[k - 6], source, "", "-120", "-120", "708", "771"}))
            << k;
        const TBitmap picture = gfx::LoadImage(Picture(k));
        EXPECT_EQ(picture.Width(), 468);
        EXPECT_EQ(picture.Height(), 531);
    }
    EXPECT_EQ(Row(Form1->kivListView3, 0)[3], "-120");
    EXPECT_FALSE(fs::exists(Picture(9)));
    EXPECT_FALSE(fs::exists(work_ / "zpyjj" / "zpyjj.bmp"));
    EXPECT_EQ(Form1->kivListView1->ItemIndex(), 0);
    EXPECT_EQ(MainForm->kivProgressBar1->Max(), 3);
    EXPECT_EQ(MainForm->kivProgressBar1->Position(), 3);
    EXPECT_FALSE(MainForm->Visible());
    // The strip shows page 0 again.
    EXPECT_EQ(Form1->PhotoPageIndex, 0);
    EXPECT_EQ(Form1->ShockwaveFlash1->Movie(), Picture(1));
    EXPECT_EQ(Form1->ShockwaveFlash7->Movie(), Picture(7));

    // Activating the form again does not import the photos a second time.
    MainForm->FormActivate(MainForm);
    App().ProcessMessages();
    EXPECT_EQ(Form1->kivListView1->Items().Count(), 8);
}

TEST_F(PhotoWindow, ARedPhotoFillsTheFrameWidthCentred)
{
    Import(std::vector<std::string>{Photo("red.jpg", 200, 100, clRed)});
    const TBitmap picture = gfx::LoadImage(Picture(1));
    ASSERT_EQ(picture.Width(), 468);
    ASSERT_EQ(picture.Height(), 531);
    // 200 x 100 fits the 708 x 771 frame as 708 x 354, centred: rows 88 to
    // 441 of the picture are red from edge to edge, the rest is white.
    for (int x : {0, 1, 120, 234, 400, 466, 467}) {
        for (int y : {100, 264, 430}) EXPECT_TRUE(IsRed(picture.Pixel(x, y))) << x << "," << y;
        for (int y : {0, 40, 72, 460, 500, 530}) EXPECT_TRUE(IsWhite(picture.Pixel(x, y))) << x << "," << y;
    }
    int first = -1, last = -1;
    for (int y = 0; y < picture.Height(); ++y) {
        if (gfx::GetGValue(picture.Pixel(234, y)) < 128) {
            if (first < 0) first = y;
            last = y;
        }
    }
    EXPECT_NEAR(first, 88, 2);
    EXPECT_NEAR(last, 441, 2);
}

// Photos stored lying on their side, as cameras write them, with each of
// the eight EXIF orientations: every picture stands the way the camera
// meant it, its known corner colours in the right corners.
TEST_F(PhotoWindow, ImportedPicturesStandAsTheirExifOrientationSays)
{
    const struct {
        int orientation;
        const char* corners;  // top left, top right, bottom left, bottom right
    } cases[] = {{1, "RGBY"}, {2, "GRYB"}, {3, "YBGR"}, {4, "BYRG"},
                 {5, "RBGY"}, {6, "BRYG"}, {7, "YGBR"}, {8, "GYRB"}};
    const gfx_test::Bytes stored = gfx::EncodeJpeg(gfx_test::Quadrants(200, 100));
    std::vector<std::string> photos;
    for (const auto& c : cases) {
        const fs::path path = system_.Path() / "photos" / ("turned" + std::to_string(c.orientation) + ".jpg");
        fs::create_directories(path.parent_path());
        const auto tiff =
            gfx_test::OrientationTiff(c.orientation > 4, static_cast<std::uint16_t>(c.orientation));
        gfx::WriteFileBytes(path, gfx_test::WithSegments(stored, gfx_test::ExifSegment(tiff)));
        photos.push_back(path.string());
    }
    Import(photos);
    ASSERT_EQ(Form1->kivListView1->Items().Count(), 8);
    for (int k = 1; k <= 8; ++k) {
        const auto& c = cases[k - 1];
        const TBitmap picture = gfx::LoadImage(Picture(k));
        // The photo is what is not the white of the picture area.
        int left = picture.Width(), right = -1, top = picture.Height(), bottom = -1;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x)
                if (!IsWhite(picture.Pixel(x, y))) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        ASSERT_GT(right, left) << c.orientation;
        TBitmap photo(right - left + 1, bottom - top + 1);
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) photo.SetPixel(x - left, y - top, picture.Pixel(x, y));
        // In the 708 x 771 frame a 200 x 100 photo stands 386 x 771 when
        // turned a quarter, and lies 708 x 354 otherwise.
        if (c.orientation > 4)
            EXPECT_NEAR(photo.Width(), 386, 6) << c.orientation;
        else
            EXPECT_NEAR(photo.Height(), 354, 6) << c.orientation;
        EXPECT_EQ(gfx_test::Corners(photo, 8), c.corners) << c.orientation;
    }
}

TEST_F(PhotoWindow, AnUndecodablePhotoGetsThePictureIconNotThePreviousPhoto)
{
    const std::string red = Photo("red.jpg", 200, 100, clRed);
    const fs::path broken = system_.Path() / "photos" / "broken.jpg";
    app_test::WriteFile(broken, "no picture in here");
    Import(std::vector<std::string>{red, broken.string()});
    ASSERT_EQ(Form1->kivListView1->Items().Count(), 2);
    EXPECT_EQ(Row(Form1->kivListView1, 1), (std::vector<std::string>{"broken", broken.string()}));

    const TBitmap picture = gfx::LoadImage(Picture(2));
    const TBitmap icon = shell::PictureIcon();
    // The icon at its own size in the middle of the frame, which is the
    // middle of the picture; white around it.
    const int left = (468 - icon.Width()) / 2, top = (531 - icon.Height()) / 2;
    long difference = 0;
    for (int y = 0; y < icon.Height(); ++y)
        for (int x = 0; x < icon.Width(); ++x) {
            const TColor a = icon.Pixel(x, y), b = picture.Pixel(left + x, top + y);
            difference += std::abs(gfx::GetRValue(a) - gfx::GetRValue(b)) +
                          std::abs(gfx::GetGValue(a) - gfx::GetGValue(b)) +
                          std::abs(gfx::GetBValue(a) - gfx::GetBValue(b));
        }
    EXPECT_LT(difference / (icon.Width() * icon.Height() * 3), 12);
    for (int y = 0; y < picture.Height(); y += 10)
        for (int x = 0; x < picture.Width(); x += 10)
            EXPECT_FALSE(IsRed(picture.Pixel(x, y))) << x << "," << y;
    EXPECT_TRUE(IsWhite(picture.Pixel(20, 20)));
    EXPECT_TRUE(IsWhite(picture.Pixel(234, 100)));
}

TEST_F(PhotoWindow, CutLyingAndHugeJpegsAreUnreadableAndSaidSoInOneMessage)
{
    const std::string red = Photo("red.jpg", 320, 240, clRed);
    const gfx_test::JpegBytes good = gfx::ReadFileBytes(red);
    auto write = [&](const std::string& name, const gfx_test::JpegBytes& bytes) {
        const fs::path path = system_.Path() / "photos" / name;
        gfx::WriteFileBytes(path, bytes);
        return path.string();
    };
    const std::vector<std::string> chosen = {
        write("cut10.jpg", gfx_test::CutAt(good, 10)),
        write("cut50.jpg", gfx_test::CutAt(good, 50)),
        write("cut90.jpg", gfx_test::CutAt(good, 90)),
        write("lying.jpg", gfx_test::ClaimSize(good, 8192, 8192)),
        write("huge.jpg", gfx_test::ClaimSize(good, 30000, 30000)),
        write("panorama.jpg", gfx_test::GreyJpeg(20000, 3000)),
        red,
    };
    Import(chosen);
    // Every photo keeps its number; the unreadable ones show the icon.
    ASSERT_EQ(Form1->kivListView1->Items().Count(), 7);
    const TBitmap icon = shell::PictureIcon();
    const int left = (468 - icon.Width()) / 2, top = (531 - icon.Height()) / 2;
    for (int k = 1; k <= 5; ++k) {
        const TBitmap picture = gfx::LoadImage(Picture(k));
        EXPECT_FALSE(IsRed(picture.Pixel(234, 265))) << k;
        EXPECT_TRUE(IsWhite(picture.Pixel(left - 10, top + icon.Height() / 2))) << k;
    }
    // The panorama is a grey band across the picture.
    const TBitmap panorama = gfx::LoadImage(Picture(6));
    EXPECT_FALSE(IsWhite(panorama.Pixel(5, 265)));
    EXPECT_TRUE(IsWhite(panorama.Pixel(234, 100)));
    EXPECT_TRUE(IsRed(gfx::LoadImage(Picture(7)).Pixel(234, 265)));

    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].caption, "导入照片");
    EXPECT_EQ(messages_[0].text,
              "有 4 张照片无法读取(文件不完整、已损坏或不是图片), 以图标代替:\n"
              "cut10.jpg、cut50.jpg、cut90.jpg、lying.jpg\n"
              "有 1 张照片太大(每边最多 32768 像素, 共最多 26843 万像素), 以图标代替:\nhuge.jpg");

    // An import of readable photos says nothing.
    Import(std::vector<std::string>{red});
    EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(PhotoWindow, ACancelledDialogChangesNothing)
{
    Form1->PhotoPageIndex = 2;
    Form1->Z_P_J_J_Edit->SetText("zhao_pian_jian_ji");
    int activations = 0;
    MainForm->OnActivate = [&](TObject*) { ++activations; };
    Import(std::nullopt);
    EXPECT_EQ(Form1->PhotoPageIndex, 2);
    EXPECT_EQ(Form1->Z_P_J_J_Edit->Text(), "zhao_pian_jian_ji");
    EXPECT_EQ(Form1->kivListView1->Items().Count(), 0);
    EXPECT_EQ(Form1->kivListView3->Items().Count(), 0);
    EXPECT_EQ(activations, 0);
    EXPECT_TRUE(fs::is_empty(work_ / "zpyjj"));
}

TEST_F(PhotoWindow, TheDialogListsJpgFilesInAnyLetterCase)
{
    for (const char* name : {"A.JPG", "b.jpg", "c.Jpg"}) Photo(name, 16, 16, clBlue);
    app_test::WriteFile(system_.Path() / "photos" / "d.png", "png");
    app_test::WriteFile(system_.Path() / "photos" / "e.jpeg", "jpeg");
    Form1->OpenDialog1->SetInitialDir((system_.Path() / "photos").string());
    std::vector<std::string> listed;
    TTimer timer(nullptr);
    timer.SetInterval(1);
    timer.OnTimer = [&](TObject*) {
        TForm* dialog = Screen().ModalForm();
        auto* list = dialog ? dynamic_cast<TListView*>(dialog->FindComponent("FileList")) : nullptr;
        auto* name = dialog ? dynamic_cast<TEdit*>(dialog->FindComponent("FileName")) : nullptr;
        if (!list || !name) return;
        timer.SetEnabled(false);
        for (int i = 0; i < list->Items().Count(); ++i) listed.push_back(list->Items()[i]->Caption());
        name->SetText("\"A.JPG\" \"c.Jpg\"");
        name->SetFocus();
        ui::headless::Key(*dialog, VK_RETURN);
    };
    timer.SetEnabled(true);
    Form1->kivButton4->OnClick(Form1->kivButton4);
    timer.SetEnabled(false);

    EXPECT_EQ(listed, (std::vector<std::string>{"A.JPG", "b.jpg", "c.Jpg"}));
    ASSERT_EQ(Form1->kivListView1->Items().Count(), 2);
    EXPECT_EQ(Form1->kivListView1->Items()[0]->Caption(), "A");
    EXPECT_EQ(Form1->kivListView1->Items()[1]->Caption(), "c");
    EXPECT_TRUE(fs::exists(Picture(2)));
}

TEST_F(PhotoWindow, APictureThatCannotBeWrittenAddsNoRowsAndLeavesNoGap)
{
    const std::string a = Photo("a1.jpg", 32, 32, clRed), b = Photo("b1.jpg", 32, 32, clGreen);
    std::vector<std::string> shown;
    skin::SetMessageDialogHook([&](const TkivMessageDialog& dialog) {
        shown.push_back(dialog.Caption() + "|" + dialog.Text() + "|" + dialog.Button1Caption());
        return mrOk;
    });
    fs::remove_all(work_ / "zpyjj");  // the pictures' folder is gone
    Import(std::vector<std::string>{a, b});
    EXPECT_EQ(Form1->kivListView1->Items().Count(), 0);
    EXPECT_EQ(Form1->kivListView3->Items().Count(), 0);
    EXPECT_EQ(shown, (std::vector<std::string>{"导入照片|有 2 张照片未能导入:工作文件夹无法写入.|确定"}));

    fs::create_directories(work_ / "zpyjj");
    Import(std::vector<std::string>{b});
    ASSERT_EQ(Form1->kivListView1->Items().Count(), 1);
    EXPECT_EQ(Form1->kivListView1->Items()[0]->SubItems()[0], b);
    EXPECT_TRUE(fs::exists(Picture(1)));
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(PhotoWindow, PhotosImportedAfterTheTemplateGoIntoItsSlots)
{
    WriteMovieFile(work_ / "zhzp" / "zhzp1.swf", 300);
    fs::copy_file(work_ / "zhzp" / "zhzp1.swf", work_ / "zhzp" / "zhzp2.swf");
    Form1->TemplateState = std::string(app::template_format::kValidityConstant);
    Form1->TemplateFile = (system_.Path() / "template.avi").string();
    Form1->TemplateMovie = "1";
    Form1->xiao_guo_Flash->SetMovie((work_ / "zhzp" / "zhzp1.swf").string());
    Form1->ListBox1->Items().Add("0");
    Form1->ListBox2->Items().Add("300");
    Form1->ListBox3->Items().Add("2");
    Form1->ScrollBox9->SetVisible(true);  // the template's video, as without photos
    Form1->ScrollBox9->BringToFront();
    Form1->ScrollBox13->SetVisible(false);

    Import(std::vector<std::string>{Photo("a2.jpg", 32, 32, clRed), Photo("b2.jpg", 32, 32, clGreen),
                                    Photo("c2.jpg", 32, 32, clBlue)});
    ASSERT_EQ(Form1->kivListView1->Items().Count(), 3);
    for (int slot = 1; slot <= 2; ++slot)
        EXPECT_EQ(core::ReadFileBytes(work_ / "zhzp" / ("tupian" + std::to_string(slot) + ".jpg")),
                  core::ReadFileBytes(Picture(slot)))
            << slot;
    EXPECT_FALSE(fs::exists(work_ / "zhzp" / "tupian3.jpg"));
    EXPECT_EQ(Form1->PhotoCursor, 2);
    TControl* front = nullptr;
    for (TControl* pane : Form1->kivGroupBox2->Children())
        if (pane->Visible()) front = pane;
    EXPECT_EQ(front, Form1->ScrollBox10);
    EXPECT_FALSE(Form1->ScrollBox9->Visible());
    EXPECT_EQ(Form1->xiao_guo_Flash->Movie(), (work_ / "zhzp" / "zhzp2.swf").string());
    EXPECT_EQ(Form1->WindowsMediaPlayer1->URL(), Form1->TemplateFile);
    EXPECT_EQ(Form1->Label2->Caption(), "00:00:12");

    // Without a valid template the panes and the length stay as they are.
    Form1->TemplateState.clear();
    Form1->Label2->SetCaption("untouched");
    Import(std::vector<std::string>{Photo("d2.jpg", 32, 32, clRed)});
    EXPECT_EQ(Form1->kivListView1->Items().Count(), 4);
    EXPECT_EQ(Form1->Label2->Caption(), "untouched");
    EXPECT_EQ(Form1->PhotoCursor, 2);
}

TEST_F(PhotoWindow, TheViewerRendererRendersOnlyUnmarkedPhotosAndWaitsBoundedly)
{
    Import(std::vector<std::string>{Photo("a3.jpg", 626, 708, clRed), Photo("b3.jpg", 626, 708, clGreen),
                                    Photo("c3.jpg", 626, 708, clBlue)});
    ASSERT_EQ(Form1->kivListView3->Items().Count(), 3);
    Form1->kivListView3->Items()[1]->SubItems().SetStrings(1, "yijianji");
    const auto imported2 = core::ReadFileBytes(Picture(2));

    Form2->ShowModal();
    EXPECT_FALSE(Form2->Visible());
    for (int k : {1, 3}) {
        EXPECT_EQ(Form1->kivListView3->Items()[k - 1]->SubItems()[1], "yijianji") << k;
        const TBitmap picture = gfx::LoadImage(Picture(k));
        EXPECT_EQ(picture.Width(), 626);
        EXPECT_EQ(picture.Height(), 708);
    }
    const TColor centre = gfx::LoadImage(Picture(1)).Pixel(313, 354);
    EXPECT_TRUE(IsRed(centre));
    EXPECT_EQ(core::ReadFileBytes(Picture(2)), imported2);  // marked: left alone
    EXPECT_EQ(Form2->kivProgressBar1->Position(), 3);
    EXPECT_FALSE(fs::exists(work_ / "jjzp" / "zpjj.jpg"));
    EXPECT_FALSE(fs::exists(work_ / "zpyjj" / "zpyjj.bmp"));

    // A viewer that never reports back: the wait ends, nothing is marked.
    for (const char* viewer : {"zpjj1.swf", "zpjj2.swf"}) WriteMovieFile(work_ / "jjzp" / viewer, 10);
    Form1->kivListView3->Items()[0]->SubItems().SetStrings(1, "");
    const auto before = core::ReadFileBytes(Picture(1));
    const int64_t start = App().Clock().NowUs();
    Form2->ShowModal();
    EXPECT_LT(App().Clock().NowUs() - start, (app::kViewerLoadTimeoutMs + 2000) * 1000);
    EXPECT_EQ(Form1->kivListView3->Items()[0]->SubItems()[1], "");
    EXPECT_EQ(core::ReadFileBytes(Picture(1)), before);
}

TEST_F(PhotoWindow, TheImportAndTheViewerRendererWorkOnlyOnTheViewsTheyAreGiven)
{
    // Lists, files and a picture folder of the test's own: the main
    // window's stay as they are.
    TkivListView photos, crops;
    TStrings chosen;
    chosen.Add(Photo("own.jpg", 626, 708, clRed));
    const fs::path pictures = system_.Path() / "own pictures";
    fs::create_directories(pictures);
    auto picture = [&](int k) { return pictures / ("p" + std::to_string(k) + ".jpg"); };
    int page_index = 3;
    std::vector<int> refreshed;
    std::string mode = app::kImportMode;

    TMainForm import;
    import.Connect({[&] { return mode;
}
, chosen, [&] { return system_.Path() / "copies"; }, [&] { return work_; }, picture, photos,
    crops.Items(), page_index, [&](int page) { refreshed.push_back(page); }
}  // namespace
);
import.ShowModal();
ASSERT_EQ(photos.Items().Count(), 1);
EXPECT_EQ(Row(&photos, 0), (std::vector<std::string>{"own", chosen[0]}));
ASSERT_EQ(crops.Items().Count(), 1);
EXPECT_EQ(Row(&crops, 0)[1], chosen[0]);
EXPECT_EQ(photos.ItemIndex(), 0);
EXPECT_EQ(gfx::LoadImage(picture(1).string()).Width(), 468);
EXPECT_EQ(Form1->kivListView1->Items().Count(), 0);
EXPECT_EQ(Form1->kivListView3->Items().Count(), 0);
EXPECT_FALSE(fs::exists(Picture(1)));
EXPECT_TRUE(refreshed.empty());  // the import leaves the strip to its caller

// The crop mode saves into the view's crop row and page.
mode = app::kCropMode;
import.Show();
App().ProcessMessages();
ASSERT_EQ(import.kivListView1->Items().Count(), 1);
import.kivListView1->SetItemIndex(0);
import.kivListView1->OnDblClick(import.kivListView1);
App().ProcessMessages();
import.kivButton1->OnClick(import.kivButton1);
EXPECT_EQ(page_index, 0);
EXPECT_EQ(refreshed, std::vector<int>{0});
import.Close();

TForm2 viewer;
viewer.Connect({photos.Items(), [&] { return work_; }, picture, page_index, crops.Items(),
                [&](int page) { refreshed.push_back(page); }});
page_index = 2;
viewer.ShowModal();
EXPECT_EQ(Row(&crops, 0)[2], "yijianji");
EXPECT_EQ(gfx::LoadImage(picture(1).string()).Width(), 626);
EXPECT_EQ(refreshed, (std::vector<int>{0, 2}));
EXPECT_FALSE(fs::exists(Picture(1)));
}

TEST_F(PhotoWindow, ImportFormRequestOptionsAndCaption)
{
    EXPECT_EQ(MainForm->kivForm1->Caption(), "正在导入照片,请稍后...");
    EXPECT_EQ(MainForm->GetExtractFlags(), 32);
    EXPECT_EQ(MainForm->ColourDepth(), 32);
    // The aspect and the screen options exclude each other.
    MainForm->CheckBox1->SetChecked(true);
    EXPECT_FALSE(MainForm->CheckBox3->Checked());
    EXPECT_EQ(MainForm->GetExtractFlags(), 4);
    MainForm->CheckBox4->SetChecked(true);
    MainForm->CheckBox3->SetChecked(true);
    EXPECT_FALSE(MainForm->CheckBox1->Checked());
    EXPECT_EQ(MainForm->GetExtractFlags(), 32 | 512);
    const std::pair<int, int> depths[] = {{0, 4}, {1, 8}, {2, 16}, {3, 24}, {4, 32}, {-1, 32}};
    for (const auto& [index, bits] : depths) {
        MainForm->ComboBox1->SetItemIndex(index);
        EXPECT_EQ(MainForm->ColourDepth(), bits) << index;
    }
}

}  // namespace
