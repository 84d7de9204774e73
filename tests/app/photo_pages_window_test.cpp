// The thumbnail pages, the photo browser and the photo deletion on the main
// window, with a temporary work folder holding generated JPEG pictures, on
// the headless back end with a virtual clock.
#include <gtest/gtest.h>

#include <fstream>

#include "app/castora_forms.h"
#include "app/main_window.h"
#include "app/photo_delete_form.h"
#include "app/delete_all_photos_form.h"
#include "app/strip_delete_form.h"
#include "app/photo_pages.h"
#include "app/template_format.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/flash/movie_file.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/gfx/image_io.h"
#include "platform/media/media_player.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/headless.h"
#include "platform/ui/label.h"
#include "platform/ui/listbox.h"
#include "platform/ui/scrollbox.h"
#include "skin/kiv_button.h"
#include "skin/kiv_form.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_progress_bar.h"
#include "tests/app/main_window_fixture.h"

namespace {

namespace fs = std::filesystem;

class PhotoPages : public app_test::StartedMainWindow {
protected:
    // n photos as an import leaves them: picture k of its own colour, and
    // rows "photo" + k in both lists.
    void AddPhotos(int n)
    {
        for (int k = 1; k <= n; ++k) {
            gfx::SaveJpeg(TBitmap(46, 53, gfx::RGB(10 * k, 255 - 10 * k, 3 * k)), Picture(k));
            pictures_.push_back(*core::ReadFileBytes(Picture(k)));
            for (TkivListView* list : {Form1->kivListView1, Form1->kivListView3}) {
                TListItem* row = list->Items().Add();
                row->SetCaption("photo" + std::to_string(k));
                row->SubItems().Add("/photos/photo" + std::to_string(k) + ".jpg");
            }
        }
        Form1->RefreshThumbnails(0);
    }
    fs::path Picture(int k) const { return work_ / "zpyjj" / ("zpyjj" + std::to_string(k) + ".jpg"); }
    std::string EmptySlot() const { return (work_ / "xtsz" / "wzpyl.swf").string(); }
    std::vector<TShockwaveFlash*> Thumbnails() const
    {
        return {Form1->ShockwaveFlash1, Form1->ShockwaveFlash2, Form1->ShockwaveFlash3,
                Form1->ShockwaveFlash4, Form1->ShockwaveFlash5, Form1->ShockwaveFlash6,
                Form1->ShockwaveFlash7};
    }
    std::vector<TkivGroupBox*> Frames() const
    {
        return {Form1->kivGroupBox8,  Form1->kivGroupBox9,  Form1->kivGroupBox10, Form1->kivGroupBox11,
                Form1->kivGroupBox12, Form1->kivGroupBox13, Form1->kivGroupBox14};
    }
    // The photos the strip shows, 0 for an empty slot.
    std::vector<int> Strip() const
    {
        std::vector<int> shown;
        for (TShockwaveFlash* slot : Thumbnails()) {
            int photo = -1;
            for (int k = 1; k <= 40 && photo < 0; ++k)
                if (slot->Movie() == Picture(k).string()) photo = k;
            if (slot->Movie() == EmptySlot()) photo = 0;
            shown.push_back(photo);
        }
        return shown;
    }
    // The photos behind the rows of a list, by the original number in the caption.
    std::vector<std::string> Captions(TkivListView* list) const
    {
        std::vector<std::string> captions;
        for (int i = 0; i < list->Items().Count(); ++i) captions.push_back(list->Items()[i]->Caption());
        return captions;
    }
    // Row k - 1 and picture k belong to the same photo: the picture holds
    // the bytes generated for the photo the row names.
    void ExpectRowsMatchPictures() const
    {
        const int rows = Form1->kivListView1->Items().Count();
        EXPECT_EQ(Form1->kivListView3->Items().Count(), rows);
        for (int k = 1; k <= rows; ++k) {
            const std::string caption = Form1->kivListView1->Items()[k - 1]->Caption();
            EXPECT_EQ(Form1->kivListView3->Items()[k - 1]->Caption(), caption) << k;
            const int original = std::stoi(caption.substr(5));
            EXPECT_EQ(core::ReadFileBytes(Picture(k)), pictures_[static_cast<size_t>(original - 1)]) << k;
        }
        EXPECT_FALSE(fs::exists(Picture(rows + 1))) << rows + 1;
    }
    TControl* FrontPane() const
    {
        TControl* front = nullptr;
        for (TControl* pane : Form1->kivGroupBox2->Children())
            if (pane->Visible()) front = pane;
        return front;
    }
    void Press(TkivButton* button) { button->OnClick(button); }
    void LoadValidTemplate()
    {
        flash::Movie movie;
        movie.frame_count = 300;
        const std::vector<std::uint8_t> bytes = flash::WriteMovie(movie);
        for (const char* copy : {"zhzp1.swf", "zhzp2.swf"})
            std::ofstream(work_ / "zhzp" / copy, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        Form1->TemplateState = std::string(app::template_format::kValidityConstant);
        Form1->TemplateMovie = "1";
        Form1->xiao_guo_Flash->SetMovie((work_ / "zhzp" / "zhzp1.swf").string());
        Form1->ListBox1->Items().Add("0");
        Form1->ListBox2->Items().Add("300");
        Form1->ListBox3->Items().Add("2");
    }

    // The strip as the window shows it, in the strip's own coordinates.
    TBitmap StripPicture() const
    {
        const TBitmap window = ui::headless::Capture(*Form1);
        const TPoint at = Form1->kivGroupBox7->ClientToAncestor({0, 0}, nullptr);
        TBitmap strip(Form1->kivGroupBox7->Width(), Form1->kivGroupBox7->Height());
        for (int y = 0; y < strip.Height(); ++y)
            for (int x = 0; x < strip.Width(); ++x) strip.SetPixel(x, y, window.Pixel(at.X + x, at.Y + y));
        return strip;
    }
    // The slots (1 to 7) whose frames the strip shows marked all round.
    std::vector<int> MarkedSlots(const TBitmap& strip) const
    {
        std::vector<int> marked;
        for (int slot = 1; slot <= 7; ++slot) {
            bool all = true;
            for (const TRect& band : app::SelectedSlotMarks(Frames()[slot - 1]->BoundsRect()))
                for (int y = band.Top; y < band.Bottom; ++y)
                    for (int x = band.Left; x < band.Right; ++x)
                        all = all && strip.Pixel(x, y) == Form1->kivGroupBox7->MarkColor();
            if (all) marked.push_back(slot);
        }
        return marked;
    }

    std::vector<std::string> pictures_;
};

TEST_F(PhotoPages, TenPhotosPageForwardPastTheEndAndBack)
{
    AddPhotos(10);
    EXPECT_EQ(Strip(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    Press(Form1->kivButton22);
    EXPECT_EQ(Strip(), (std::vector<int>{8, 9, 10, 0, 0, 0, 0}));
    EXPECT_EQ(Form1->PhotoPageIndex, 1);
    EXPECT_EQ(Form1->PageCount, 1);
    EXPECT_GT(Form1->ShockwaveFlash3->TotalFrames(), 0);  // the picture loaded
    EXPECT_TRUE(messages_.empty());

    Press(Form1->kivButton22);
    EXPECT_EQ(MessageLines(), std::vector<std::string>{"浏览照片|最后一页.|确定"});
    EXPECT_EQ(Form1->PhotoPageIndex, 2);
    EXPECT_EQ(Strip(), (std::vector<int>{8, 9, 10, 0, 0, 0, 0}));  // still the last page
    for (TControl* control :
         {static_cast<TControl*>(Form1->kivGroupBox7), static_cast<TControl*>(Form1->kivButton21),
          static_cast<TControl*>(Form1->kivButton22)})
        EXPECT_TRUE(control->Enabled()) << control->Name();

    Press(Form1->kivButton21);
    EXPECT_EQ(Strip(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Form1->PhotoPageIndex, 0);
    Press(Form1->kivButton21);
    EXPECT_EQ(MessageLines().back(), "浏览照片|第一页.|确定");
    EXPECT_EQ(Form1->PhotoPageIndex, 0);
}

TEST_F(PhotoPages, ClicksOnTheThumbnailsReachTheirFrames)
{
    AddPhotos(14);
    Press(Form1->kivButton22);
    Press(Form1->kivButton22);  // "最后一页.": the index overshoots to 3
    ASSERT_EQ(Form1->PhotoPageIndex, 3);

    // The real mouse, on the movie inside the disabled scroll box.
    for (TkivGroupBox* frame : Frames()) EXPECT_EQ(frame->Cursor(), crHandPoint);
    const TPoint second = ui::headless::CenterOf(*Form1->ShockwaveFlash2);
    ui::headless::Click(*Form1, second.X, second.Y);
    EXPECT_EQ(Form1->SelectedSlot, 2);
    ui::headless::DoubleClick(*Form1, second.X, second.Y);
    // The strip shows page 1, so slot 2 is photo 9.
    EXPECT_EQ(core::ReadFileBytes(work_ / "llzp" / "zpjj.jpg"), pictures_[8]);
    EXPECT_EQ(FrontPane(), Form1->ScrollBox1);

    // "删除" removes that same photo.
    Press(Form1->kivButton24);
    EXPECT_EQ(Form1->DeleteIndex, 8);
    EXPECT_EQ(Form1->kivListView1->Items().Count(), 13);
    EXPECT_EQ(Captions(Form1->kivListView1)[8], "photo10");
    ExpectRowsMatchPictures();
    EXPECT_EQ(Form1->PhotoPageIndex, 0);
    EXPECT_EQ(Strip(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(PhotoPages, TheStripMarksTheSelectedSlotOnEveryPageAndDeleteRemovesThatPhoto)
{
    AddPhotos(10);
    const TBitmap first = StripPicture();
    EXPECT_EQ(MarkedSlots(first), std::vector<int>{1});
    EXPECT_NE(Form1->kivGroupBox7->MarkColor(), Form1->kivGroupBox7->Color());

    const TPoint third = ui::headless::CenterOf(*Form1->ShockwaveFlash3);
    ui::headless::Click(*Form1, third.X, third.Y);
    ASSERT_EQ(Form1->SelectedSlot, 3);
    const TBitmap clicked = StripPicture();
    EXPECT_EQ(MarkedSlots(clicked), std::vector<int>{3});
    // Only the marks around slots 1 and 3 changed; every thumbnail and
    // every other slot looks as before.
    auto in_marks_of = [&](int slot, int x, int y) {
        for (const TRect& band : app::SelectedSlotMarks(Frames()[slot - 1]->BoundsRect()))
            if (x >= band.Left && x < band.Right && y >= band.Top && y < band.Bottom) return true;
        return false;
    };
    int changed = 0, elsewhere = 0;
    for (int y = 0; y < first.Height(); ++y)
        for (int x = 0; x < first.Width(); ++x)
            if (first.Pixel(x, y) != clicked.Pixel(x, y)) {
                ++changed;
                if (!in_marks_of(1, x, y) && !in_marks_of(3, x, y)) ++elsewhere;
            }
    EXPECT_GT(changed, 2 * (94 * 3 + 94 * 2 + 67 * 2) - 10);
    EXPECT_EQ(elsewhere, 0);

    // The next page keeps the slot marked: it now shows photo 10.
    Press(Form1->kivButton22);
    ASSERT_EQ(Strip(), (std::vector<int>{8, 9, 10, 0, 0, 0, 0}));
    EXPECT_EQ(MarkedSlots(StripPicture()), std::vector<int>{3});

    // "删除" removes the photo shown as selected, and the mark stays.
    Press(Form1->kivButton24);
    EXPECT_EQ(Captions(Form1->kivListView1),
              (std::vector<std::string>{"photo1", "photo2", "photo3", "photo4", "photo5", "photo6", "photo7",
                                        "photo8", "photo9"}));
    ExpectRowsMatchPictures();
    EXPECT_EQ(Form1->SelectedSlot, 3);
    EXPECT_EQ(MarkedSlots(StripPicture()), std::vector<int>{3});
}

TEST_F(PhotoPages, TheBrowserAlternatesItsMovieCopiesAndKeepsTheLastPhotoForAnEmptySlot)
{
    AddPhotos(3);
    Form1->xiao_guo_Flash->SetMovie((work_ / "llzp" / "zpjj1.swf").string());
    Form1->xiao_guo_Flash->Play();
    Form1->kivGroupBox9DblClick(Form1->kivGroupBox9);
    EXPECT_EQ(core::ReadFileBytes(work_ / "llzp" / "zpjj.jpg"), pictures_[1]);
    EXPECT_EQ(Form1->BrowserMovie, "zpjj2");
    EXPECT_EQ(Form1->liu_lan_zhao_pian->Movie(), (work_ / "llzp" / "zpjj2.swf").string());
    EXPECT_GT(Form1->liu_lan_zhao_pian->TotalFrames(), 0);
    EXPECT_EQ(FrontPane(), Form1->ScrollBox1);
    EXPECT_FALSE(Form1->ScrollBox1->Enabled());
    for (TScrollBox* pane : {Form1->ScrollBox13, Form1->ScrollBox9, Form1->ScrollBox10, Form1->ScrollBox11})
        EXPECT_FALSE(pane->Visible()) << pane->Name();
    EXPECT_FALSE(Form1->xiao_guo_Flash->Playing());  // the previews stopped

    // Slot 5 holds no photo: the photo browsed before stays, in the other copy.
    Form1->kivGroupBox12DblClick(Form1->kivGroupBox12);
    EXPECT_EQ(core::ReadFileBytes(work_ / "llzp" / "zpjj.jpg"), pictures_[1]);
    EXPECT_EQ(Form1->liu_lan_zhao_pian->Movie(), (work_ / "llzp" / "zpjj1.swf").string());

    // The strip's "浏览照片" takes the selected slot and lets the previews run.
    Form1->kivGroupBox10Click(Form1->kivGroupBox10);
    Form1->xiao_guo_Flash->Play();
    Press(Form1->kivButton83);
    EXPECT_EQ(core::ReadFileBytes(work_ / "llzp" / "zpjj.jpg"), pictures_[2]);
    EXPECT_TRUE(Form1->xiao_guo_Flash->Playing());

    // The list: the selected row, by double-click or by its button.
    Form1->kivListView1->SetItemIndex(0);
    Form1->kivListView1->OnDblClick(Form1->kivListView1);
    EXPECT_EQ(core::ReadFileBytes(work_ / "llzp" / "zpjj.jpg"), pictures_[0]);
    EXPECT_FALSE(Form1->xiao_guo_Flash->Playing());
    Form1->kivListView1->SetItemIndex(1);
    Press(Form1->kivButton8);
    EXPECT_EQ(core::ReadFileBytes(work_ / "llzp" / "zpjj.jpg"), pictures_[1]);
    const std::string movie = Form1->liu_lan_zhao_pian->Movie();
    Form1->kivListView1->SetItemIndex(-1);
    Press(Form1->kivButton8);
    Form1->kivListView1->OnDblClick(Form1->kivListView1);
    EXPECT_EQ(Form1->liu_lan_zhao_pian->Movie(), movie);  // no row: nothing happens
}

TEST_F(PhotoPages, WithoutPhotosOnlyTheSlotClicksDoAnything)
{
    Form1->PhotoPageIndex = 2;
    Form1->kivGroupBox14Click(Form1->kivGroupBox14);
    EXPECT_EQ(Form1->SelectedSlot, 7);
    Press(Form1->kivButton22);
    Press(Form1->kivButton21);
    Press(Form1->kivButton83);
    Press(Form1->kivButton8);
    for (TkivGroupBox* frame : Frames()) frame->OnDblClick(frame);
    Form1->liu_lan_zhao_pian->OnFSCommand(Form1->liu_lan_zhao_pian, "tupian=2", "");
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Form1->PhotoPageIndex, 2);
    EXPECT_EQ(Form1->BrowserMovie, "zpjj1");
    EXPECT_FALSE(Form1->ScrollBox1->Visible());
    EXPECT_EQ(FrontPane(), Form1->ScrollBox13);
    EXPECT_TRUE(fs::is_empty(work_ / "zhzp"));
}

TEST_F(PhotoPages, TheBrowserMovieSlotRequestCopiesTheNextPhotosInPlace)
{
    AddPhotos(3);
    core::WriteFileBytes(work_ / "zhzp" / "tupian5.jpg", "earlier");
    Form1->PhotoCursor = 2;
    Form1->SlotCount = "1";
    Form1->liu_lan_zhao_pian->OnFSCommand(Form1->liu_lan_zhao_pian, "tupian=4", "");
    // Photos 3, 1, 2, 3; the slot past the request is left alone.
    const int expected[] = {3, 1, 2, 3};
    for (int slot = 1; slot <= 4; ++slot)
        EXPECT_EQ(core::ReadFileBytes(work_ / "zhzp" / ("tupian" + std::to_string(slot) + ".jpg")),
                  pictures_[static_cast<size_t>(expected[slot - 1] - 1)])
            << slot;
    EXPECT_EQ(core::ReadFileBytes(work_ / "zhzp" / "tupian5.jpg"), "earlier");
    EXPECT_EQ(Form1->PhotoCursor, 3);
    EXPECT_EQ(Form1->SlotCount, "1");

    for (const char* ignored : {"tupian=16", "tupian=0", "Tupian=2", "wan_cheng"})
        Form1->liu_lan_zhao_pian->OnFSCommand(Form1->liu_lan_zhao_pian, ignored, "");
    EXPECT_EQ(Form1->PhotoCursor, 3);
}

TEST_F(PhotoPages, DeletingTheSelectedPhotoRenumbersPicturesAndRows)
{
    struct Case {
        int photos, selected;  // 0-based row
        std::vector<std::string> captions;
        int progress;
    };
    const Case cases[] = {
        {5, 2, {"photo1", "photo2", "photo4", "photo5"}, 4},
        {5, 4, {"photo1", "photo2", "photo3", "photo4"}, 1},
        {5, 0, {"photo2", "photo3", "photo4", "photo5"}, 4},
        {1, 0, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.photos) + " photos, row " + std::to_string(c.selected));
        Press(Form1->kivButton30);
        pictures_.clear();
        AddPhotos(c.photos);
        Form1->PhotoPageIndex = 1;
        Form1->Label2->SetCaption("untouched");
        Form1->kivListView1->SetItemIndex(c.selected);
        Press(Form1->kivButton29);

        EXPECT_EQ(Captions(Form1->kivListView1), c.captions);
        EXPECT_EQ(Captions(Form1->kivListView3), c.captions);
        ExpectRowsMatchPictures();
        EXPECT_EQ(Form5->kivProgressBar1->Max(), c.photos);
        EXPECT_EQ(Form5->kivProgressBar1->Position(), c.progress);
        EXPECT_FALSE(Form5->Visible());
        EXPECT_EQ(Form5->kivForm1->Caption(), "正在删除照片,请稍后...");
        EXPECT_EQ(Form1->PhotoPageIndex, 0);
        std::vector<int> strip(7, 0);
        for (int k = 1; k <= std::min(7, c.photos - 1); ++k) strip[static_cast<size_t>(k - 1)] = k;
        EXPECT_EQ(Strip(), strip);
        EXPECT_EQ(Form1->Label2->Caption(), c.photos == 1 ? "00:00:00" : "untouched");
        EXPECT_FALSE(fs::exists(work_ / "zpyjj" / "removed.jpg"));
        EXPECT_EQ(FrontPane(), Form1->ScrollBox13);  // no template: the intro
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(PhotoPages, NoSelectedRowMeansNoDeletionAtAll)
{
    AddPhotos(3);
    Form1->kivGroupBox9DblClick(Form1->kivGroupBox9);  // the browser in front
    Form1->PhotoPageIndex = 1;
    bool shown = false;
    Form5->OnShow = [&](TObject*) { shown = true; };
    Form1->kivListView1->SetItemIndex(-1);
    Press(Form1->kivButton29);
    EXPECT_FALSE(shown);
    EXPECT_EQ(Form1->kivListView1->Items().Count(), 3);
    EXPECT_EQ(FrontPane(), Form1->ScrollBox1);
    EXPECT_EQ(Form1->PhotoPageIndex, 1);
}

TEST_F(PhotoPages, DeletingAnEmptySlotRemovesNothingAndShowsPageZero)
{
    AddPhotos(10);
    Press(Form1->kivButton22);
    Form1->kivGroupBox12Click(Form1->kivGroupBox12);
    Press(Form1->kivButton24);
    EXPECT_EQ(Form1->DeleteIndex, 11);
    EXPECT_EQ(Form1->kivListView1->Items().Count(), 10);
    ExpectRowsMatchPictures();
    EXPECT_EQ(Form1->PhotoPageIndex, 0);
    EXPECT_EQ(Strip(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Form7->kivForm1->Caption(), "正在删除,请稍后...");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(PhotoPages, AMissingPictureLetsItsRowGoAndKeepsTheOthersMatched)
{
    AddPhotos(5);
    fs::remove(Picture(3));
    Form1->kivListView1->SetItemIndex(2);
    Press(Form1->kivButton29);
    EXPECT_EQ(Captions(Form1->kivListView1),
              (std::vector<std::string>{"photo1", "photo2", "photo4", "photo5"}));
    ExpectRowsMatchPictures();
}

TEST_F(PhotoPages, ARenumberingThatFailsHalfwayLeavesEveryPhotoInPlace)
{
    AddPhotos(5);
    // Photo 4's number is held by something that is not a picture: photo 5
    // cannot move down once photos 2 and 3 have.
    fs::remove(Picture(4));
    fs::create_directories(Picture(4) / "in the way");
    Form1->kivListView1->SetItemIndex(0);
    Press(Form1->kivButton29);
    EXPECT_EQ(MessageLines(), std::vector<std::string>{"删除照片|照片未能删除:工作文件夹无法写入.|确定"});
    EXPECT_EQ(Form1->kivListView1->Items().Count(), 5);
    EXPECT_EQ(Form1->kivListView3->Items().Count(), 5);
    for (int k : {1, 2, 3, 5})
        EXPECT_EQ(core::ReadFileBytes(Picture(k)), pictures_[static_cast<size_t>(k - 1)]) << k;
    EXPECT_FALSE(fs::exists(work_ / "zpyjj" / "removed.jpg"));
}

TEST_F(PhotoPages, DeletingAllPhotosEmptiesTheListsTheFolderAndTheStrip)
{
    for (TkivButton* button : {Form1->kivButton30, Form1->kivButton23}) {
        SCOPED_TRACE(button->Name());
        AddPhotos(9);
        Form1->PhotoPageIndex = 1;
        Form1->Label2->SetCaption("untouched");
        Press(button);
        EXPECT_EQ(Form1->kivListView1->Items().Count(), 0);
        EXPECT_EQ(Form1->kivListView3->Items().Count(), 0);
        EXPECT_TRUE(core::FindFiles(work_ / "zpyjj", "*.jpg").empty());
        EXPECT_EQ(Strip(), std::vector<int>(7, 0));
        EXPECT_EQ(Form1->PhotoPageIndex, 1);  // kept until the next page change
        EXPECT_EQ(Form1->Label2->Caption(), "00:00:00");
        EXPECT_EQ(Form6->kivProgressBar1->Max(), 9);
        EXPECT_EQ(Form6->kivProgressBar1->Position(), 9);
        EXPECT_FALSE(Form6->Visible());
        EXPECT_EQ(FrontPane(), Form1->ScrollBox13);
    }

    // Nothing to delete: no form, but the panes, strip and length reset all the same.
    bool shown = false;
    Form6->OnShow = [&](TObject*) { shown = true; };
    Form1->kivGroupBox8DblClick(Form1->kivGroupBox8);
    Form1->ScrollBox1->SetVisible(true);
    Form1->ScrollBox1->BringToFront();
    Form1->ShockwaveFlash1->SetMovie((work_ / "llzp" / "zpjj1.swf").string());
    Form1->Label2->SetCaption("untouched");
    Press(Form1->kivButton30);
    EXPECT_FALSE(shown);
    EXPECT_EQ(FrontPane(), Form1->ScrollBox13);
    EXPECT_EQ(Strip(), std::vector<int>(7, 0));
    EXPECT_EQ(Form1->Label2->Caption(), "00:00:00");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(PhotoPages, ThePleaseWaitFormsTouchOnlyTheRowsTheirViewNames)
{
    AddPhotos(3);
    Form1->kivListView1->SetItemIndex(1);
    Form1->DeleteIndex = 1;
    // Forms that were never handed a view leave the album alone.
    {
        TForm5 selected_row;
        TForm7 strip_row;
        TForm6 every_picture;
        selected_row.ShowModal();
        strip_row.ShowModal();
        every_picture.ShowModal();
        EXPECT_EQ(selected_row.Outcome(), app::PictureRemoval::kNone);
        EXPECT_EQ(strip_row.Outcome(), app::PictureRemoval::kNone);
    }
    EXPECT_EQ(Captions(Form1->kivListView1), (std::vector<std::string>{"photo1", "photo2", "photo3"}));
    ExpectRowsMatchPictures();

    // The row comes from the view, not from the list's selection.
    TForm7 strip_row;
    strip_row.Connect({[this] { return work_; }, [] { return 2; }, Form1->kivListView1->Items(),
                       Form1->kivListView3->Items()});
    strip_row.ShowModal();
    EXPECT_EQ(strip_row.Outcome(), app::PictureRemoval::kRemoved);
    EXPECT_EQ(Captions(Form1->kivListView1), (std::vector<std::string>{"photo1", "photo2"}));
    ExpectRowsMatchPictures();
}

TEST_F(PhotoPages, PicturesThatCannotBeDeletedKeepTheirRows)
{
    AddPhotos(5);
    // Photos 2 and 4 stay on disk.
    Form6->DeletePicture = [this](const fs::path& path) {
        if (path == Picture(2) || path == Picture(4)) return false;
        return core::DeleteFile(path);
    };
    Press(Form1->kivButton23);
    EXPECT_EQ(Captions(Form1->kivListView1), (std::vector<std::string>{"photo2", "photo4"}));
    ExpectRowsMatchPictures();
    EXPECT_EQ(MessageLines(),
              std::vector<std::string>{"删除照片|有 2 张照片未能删除:工作文件夹无法写入.|确定"});
    EXPECT_EQ(Strip(), (std::vector<int>{1, 2, 0, 0, 0, 0, 0}));
}

TEST_F(PhotoPages, WithATemplateTheEffectPaneShowsWhilePhotosRemain)
{
    LoadValidTemplate();
    AddPhotos(3);
    Form1->SyncMode = "yinyuesuimobanchangdu";
    Form1->kivListView1->SetItemIndex(0);
    Press(Form1->kivButton29);
    EXPECT_EQ(FrontPane(), Form1->ScrollBox10);
    for (TScrollBox* pane : {Form1->ScrollBox13, Form1->ScrollBox1, Form1->ScrollBox9, Form1->ScrollBox11})
        EXPECT_FALSE(pane->Visible()) << pane->Name();
    EXPECT_EQ(Form1->Label2->Caption(), "00:00:12");
    // The slots hold the photos that remain, not the deleted one.
    EXPECT_EQ(core::ReadFileBytes(work_ / "zhzp" / "tupian1.jpg"), pictures_[1]);
    EXPECT_EQ(core::ReadFileBytes(work_ / "zhzp" / "tupian2.jpg"), pictures_[2]);

    Form1->kivGroupBox8Click(Form1->kivGroupBox8);
    Press(Form1->kivButton24);
    Press(Form1->kivButton24);
    EXPECT_EQ(Form1->kivListView1->Items().Count(), 0);
    EXPECT_EQ(FrontPane(), Form1->ScrollBox9);  // the template's video
    EXPECT_FALSE(Form1->ScrollBox10->Visible());
    EXPECT_EQ(Form1->Label2->Caption(), "00:00:00");
}

}  // namespace
