// The main window's photo and lyric routines: the thumbnail refresh, the
// album length label and the lyric tables, on the headless back end with a
// virtual clock and a temporary system folder.
#include <gtest/gtest.h>

#include <fstream>

#include "app/castora_forms.h"
#include "app/form1.h"
#include "app/template_format.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/flash/movie_file.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/gfx/image_io.h"
#include "platform/ui/label.h"
#include "platform/ui/listbox.h"
#include "skin/kiv_list_box.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"

namespace {

namespace fs = std::filesystem;

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

void WriteMovieFile(const fs::path& path, std::uint32_t frames)
{
    flash::Movie movie;
    movie.frame_count = frames;
    const std::vector<std::uint8_t> bytes = flash::WriteMovie(movie);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

class PhotoWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        work_ = system_.Path() / "brenholt_1";
        for (const char* sub : {"zpyjj", "jjzp", "llzp", "zhzp", "pwwjj", "xtsz"}) fs::create_directories(work_ / sub);
        for (const char* movie : {"rjjj.swf", "wzpyl.swf"})
            fs::copy_file(fs::path(VELMORA_DATA_OUT) / "xtsz" / movie, work_ / "xtsz" / movie);
        app::CreateCastoraForms();
        Form1->Show();
        App().ProcessMessages();
        ASSERT_EQ(Form1->StartupExitCode(), 0);
    }
    void TearDown() override { skin::SetMessageDialogHook({}); }

    void WritePicture(int k, TColor colour)
    {
        gfx::SaveJpeg(TBitmap(468, 531, colour), work_ / "zpyjj" / ("zpyjj" + std::to_string(k) + ".jpg"));
    }
    std::vector<TShockwaveFlash*> Thumbnails() const
    {
        return {Form1->ShockwaveFlash1, Form1->ShockwaveFlash2, Form1->ShockwaveFlash3, Form1->ShockwaveFlash4,
                Form1->ShockwaveFlash5, Form1->ShockwaveFlash6, Form1->ShockwaveFlash7};
    }
    std::string EmptySlot() const { return (work_ / "xtsz" / "wzpyl.swf").string(); }
    std::string Picture(int k) const { return (work_ / "zpyjj" / ("zpyjj" + std::to_string(k) + ".jpg")).string(); }

    core::TestApplication app_;
    core::TestSystemDir system_;
    fs::path work_;
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

TEST_F(PhotoWindow, LoadLrcLyricsFillsTheTablesOfTheCurrentSong)
{
    // Song 1 in GBK with CR-only lines; "歌词" is B8 E8 B4 CA.
    WriteBytes(work_ / "a.lrc", "[ti:T]\r[00:01.00][00:03.00]\xB8\xE8\xB4\xCA\r\rplain\r[00:05.00]");
    WriteBytes(work_ / "b.lrc", "\xEF\xBB\xBF[00:02.50]two");
    for (const fs::path& file : {work_ / "a.lrc", work_ / "b.lrc", work_ / "missing.lrc"}) {
        TListItem* row = Form1->kivListView5->Items().Add();
        row->SetCaption(file.stem().string());
        row->SubItems().Add(file.string());
    }

    Form1->LrcSongIndex = 0;
    Form1->LoadLrcLyrics();
    const std::vector<app::LrcRow> expected = {
        {"00:03.00", "歌词"}, {"00:01.00", "歌词"}, {"00:05.00", ""}, {"ti", "T"}};
    EXPECT_EQ(Form1->LyricIndexRows(), expected);
    const TListItems& lines = Form1->kivListView6->Items();
    ASSERT_EQ(lines.Count(), 4);
    EXPECT_EQ(lines[2]->Caption(), "3");
    EXPECT_EQ(lines[2]->SubItems()[0], "plain");
    EXPECT_EQ(lines[0]->SubItems()[0], "");  // cut back before its leftmost tag
    EXPECT_EQ(Form1->kivListBox3->Items().Items(), std::vector<std::string>{"[ti:T]"});
    EXPECT_EQ(Form1->LyricAt("00:01"), "歌词");
    EXPECT_EQ(Form1->LyricAt("00:05"), "");  // a bare tag clears the line
    EXPECT_EQ(Form1->LyricAt("00:02"), std::nullopt);
    EXPECT_EQ(Form1->LyricAt("TI"), "T");

    Form1->LrcSongIndex = 1;
    Form1->LoadLrcLyrics();
    EXPECT_EQ(Form1->LyricIndexRows(), (std::vector<app::LrcRow>{{"00:02.50", "two"}}));
    EXPECT_EQ(Form1->kivListBox3->Items().Count(), 0);

    // A missing file, and a row that does not exist, leave the tables empty.
    for (int index : {2, 3, -1}) {
        Form1->LrcSongIndex = 0;
        Form1->LoadLrcLyrics();
        Form1->LrcSongIndex = index;
        Form1->LoadLrcLyrics();
        EXPECT_EQ(Form1->kivListView4->Items().Count(), 0) << index;
        EXPECT_EQ(Form1->kivListView6->Items().Count(), 0) << index;
        EXPECT_EQ(Form1->kivListBox3->Items().Count(), 0) << index;
        EXPECT_EQ(Form1->LyricAt("00:01"), std::nullopt) << index;
    }
}

}  // namespace
