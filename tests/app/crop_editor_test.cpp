// The crop editor Form3 on the headless back end with a virtual clock and a
// temporary system folder: the shipped crop viewer shows generated JPEGs,
// and the pictures it writes are checked pixel by pixel.
#include <gtest/gtest.h>

#include <fstream>

#include "app/castora_forms.h"
#include "app/main_window.h"
#include "app/crop_render_form.h"
#include "app/crop_editor_form.h"
#include "app/photo_import_form.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "platform/flash/movie_file.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/gfx/image_io.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edit.h"
#include "platform/ui/image.h"
#include "platform/ui/label.h"
#include "platform/ui/listview.h"
#include "platform/ui/panel.h"
#include "platform/ui/scrollbox.h"
#include "skin/kiv_button.h"
#include "skin/kiv_form.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_image_panel.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_page_control.h"
#include "skin/kiv_progress_bar.h"
#include "skin/kiv_track_bar.h"
#include "tests/app/main_window_fixture.h"

namespace {

namespace fs = std::filesystem;

// The colours of the test photo's quarters.
constexpr TColor kTopLeft = clRed, kTopRight = clLime, kBottomLeft = clBlue, kBottomRight = clYellow;

bool Near(TColor a, TColor b)
{
    return std::abs(gfx::GetRValue(a) - gfx::GetRValue(b)) < 48 &&
           std::abs(gfx::GetGValue(a) - gfx::GetGValue(b)) < 48 &&
           std::abs(gfx::GetBValue(a) - gfx::GetBValue(b)) < 48;
}

class CropEditor : public app_test::StartedMainWindow {
protected:
    // A 626 x 708 JPEG in four coloured quarters: the viewer shows it at
    // (313, 354) of a 1252 x 1416 viewer, filling its centre exactly.
    std::string QuarteredPhoto(const std::string& name) const
    {
        TBitmap photo(app::kClipResetPictureWidth, app::kClipResetPictureHeight);
        for (int y = 0; y < photo.Height(); ++y)
            for (int x = 0; x < photo.Width(); ++x)
                photo.SetPixel(
                    x, y,
                    y < 354 ? (x < 313 ? kTopLeft : kTopRight) : (x < 313 ? kBottomLeft : kBottomRight));
        const fs::path path = system_.Path() / "photos" / name;
        fs::create_directories(path.parent_path());
        gfx::SaveJpeg(photo, path);
        return path.string();
    }
    // A photo row as the import leaves it, with a picture of one colour.
    void AddPhoto(const std::string& source,
                  std::vector<std::string> geometry = {"-120", "-120", "708", "771"})
    {
        const std::string caption = fs::path(source).stem().string();
        TListItem* row = Form1->kivListView1->Items().Add();
        row->SetCaption(caption);
        row->SubItems().Add(source);
        TListItem* crop = Form1->kivListView3->Items().Add();
        crop->SetCaption(caption);
        crop->SubItems().Add(source);
        crop->SubItems().Add("");
        for (const std::string& value : geometry) crop->SubItems().Add(value);
        const int k = Form1->kivListView1->Items().Count();
        gfx::SaveJpeg(TBitmap(468, 531, clGray), Picture(k));
    }
    std::vector<std::string> Crop(int k) const
    {
        const TStrings& texts = Form1->kivListView3->Items()[k - 1]->SubItems();
        return {texts.Items().begin() + 2, texts.Items().end()};
    }
    fs::path Picture(int k) const { return work_ / "zpyjj" / ("zpyjj" + std::to_string(k) + ".jpg"); }

    // Opens the editor (not modally) with a view area of the given size.
    void Open(int view_width, int view_height, TForm3* editor = Form3)
    {
        editor->SetWindowState(wsNormal);
        editor->SetBounds(0, 0, view_width + 3 + editor->kivGroupBox1->Width() + 12, view_height + 35 + 20);
        editor->Show();
        App().ProcessMessages();
    }
    void Close()
    {
        Form3->kivButton3->OnClick(Form3->kivButton3);
        App().ProcessMessages();
    }
    void DoubleClick(int row)
    {
        Form3->kivListView1->SetItemIndex(row);
        Form3->kivListView1->OnDblClick(Form3->kivListView1);
    }
    app::FrameBounds Viewer() const
    {
        return {Form3->ScrollBox1->Left(), Form3->ScrollBox1->Top(), Form3->ShockwaveFlash1->Width(),
                Form3->ShockwaveFlash1->Height()};
    }
};

TEST_F(CropEditor, TheFrameIsLaidOutRedAndCentredForTheView)
{
    AddPhoto(QuarteredPhoto("a.jpg"));
    AddPhoto(QuarteredPhoto("b.jpg"));
    struct Case {
        int width, height;
        app::FrameBounds frame;
    };
    Open(700, 500);
    DoubleClick(1);
    EXPECT_EQ(Form3->ClipRow, 1);
    // The first layout at the opening, the second by resizing the open
    // editor, which shows photo 1 again.
    bool first = true;
    for (const Case& c : {Case{700, 500, {121, 10, 459, 480}}, Case{300, 500, {10, 100, 280, 301}}}) {
        if (!first) {
            Form3->SetBounds(0, 0, c.width + 3 + Form3->kivGroupBox1->Width() + 12, c.height + 35 + 20);
            App().ProcessMessages();
            EXPECT_EQ(Form3->ClipRow, 0);
            EXPECT_TRUE(Form3->ClipShown());
        }
        first = false;
        EXPECT_EQ(Form3->kivImagePanel1->Width(), c.width);
        EXPECT_EQ(Form3->kivImagePanel1->Height(), c.height);
        const app::FrameBounds& f = c.frame;
        EXPECT_EQ(Form3->ClipFrame(), f);
        EXPECT_EQ(Form3->kivImagePanel2->BoundsRect(), Bounds(f.left, f.top, 1, f.height));
        EXPECT_EQ(Form3->kivImagePanel3->BoundsRect(), Bounds(f.left, f.top, f.width, 1));
        EXPECT_EQ(Form3->kivImagePanel4->BoundsRect(), Bounds(f.left + f.width, f.top, 1, f.height));
        EXPECT_EQ(Form3->kivImagePanel5->BoundsRect(), Bounds(f.left, f.top + f.height, f.width, 1));
        for (TkivImagePanel* line :
             {Form3->kivImagePanel2, Form3->kivImagePanel3, Form3->kivImagePanel4, Form3->kivImagePanel5}) {
            EXPECT_TRUE(line->Visible());
            EXPECT_EQ(line->Color(), clRed);
        }
        // The side column sits at the right, the buttons at the bottom.
        EXPECT_EQ(Form3->kivGroupBox5->Left(), Form3->Width() - Form3->kivGroupBox5->Width() - 10);
        EXPECT_EQ(Form3->kivGroupBox5->Top() + Form3->kivGroupBox5->Height(), Form3->Height() - 20);
        EXPECT_EQ(Form3->kivGroupBox2->Top() + Form3->kivGroupBox2->Height(), Form3->kivGroupBox3->Top());
        EXPECT_EQ(Form3->kivGroupBox1->Top() + Form3->kivGroupBox1->Height(), Form3->kivGroupBox2->Top());
    }
    Close();
}

TEST_F(CropEditor, OpeningShowsPhotoOneWithoutRewritingItsPicture)
{
    AddPhoto(QuarteredPhoto("a.jpg"));
    AddPhoto(QuarteredPhoto("b.jpg"));
    const auto before = core::ReadFileBytes(Picture(1));
    Open(700, 500);
    EXPECT_TRUE(Form3->ClipShown());
    EXPECT_EQ(Form3->ClipRow, 0);
    EXPECT_EQ(Form3->ClipLoaded, "wan_cheng");
    EXPECT_EQ(Form3->ClipMovie, "zpjj2");  // "zpjj1" at the opening, toggled by the load
    EXPECT_EQ(Form3->ShockwaveFlash1->Movie(), (work_ / "jjzp" / "zpjj2.swf").string());
    EXPECT_EQ(Form3->kivListView1->Items().Count(), 2);
    EXPECT_EQ(Form3->kivListView1->Items()[1]->Caption(), "b");
    EXPECT_EQ(Form3->kivListView1->ItemIndex(), 0);
    // Placed by the crop data; the zoom slider shows the width.
    EXPECT_EQ(Viewer(), (app::FrameBounds{-120, -120, 708, 771}));
    EXPECT_EQ(Form3->kivTrackBar1->Min(), -708);
    EXPECT_EQ(Form3->kivTrackBar1->Max(), 8);  // 708 overhangs the 700 wide view by 8
    EXPECT_EQ(Form3->kivTrackBar1->Position(), -120);
    EXPECT_EQ(Form3->kivTrackBar2->Max(), 271);
    EXPECT_EQ(Form3->kivTrackBar3->Position(), 708);
    EXPECT_EQ(Form3->kivTrackBar3->Max(), 3000);
    EXPECT_EQ(Form3->kivTrackBar3->Min(), 200);
    EXPECT_TRUE(Form3->kivButton1->Enabled());
    EXPECT_EQ(core::ReadFileBytes(Picture(1)), before);
    EXPECT_EQ(Crop(1), (std::vector<std::string>{"-120", "-120", "708", "771"}));
    EXPECT_TRUE(messages_.empty());
    Close();
    EXPECT_FALSE(Form3->Visible());
    EXPECT_EQ(core::ReadFileBytes(Picture(1)), before);
}

TEST_F(CropEditor, SavingWritesWhatLiesInsideTheFrame)
{
    AddPhoto(QuarteredPhoto("a.jpg"));
    AddPhoto(QuarteredPhoto("b.jpg"), {"-400", "-500", "1252", "1416"});
    Open(700, 500);  // the frame at 121, 10, 459 x 480
    DoubleClick(1);
    ASSERT_TRUE(Form3->ClipShown());
    EXPECT_EQ(Form3->ClipRow, 1);
    EXPECT_EQ(Viewer(), (app::FrameBounds{-400, -500, 1252, 1416}));
    // The frame is seen red over the photo.
    const TBitmap window = Form3->RenderWindow();
    const TPoint view = Form3->kivImagePanel1->ClientToAncestor({0, 0}, nullptr);
    EXPECT_EQ(window.Pixel(view.X + 121, view.Y + 200), clRed);
    EXPECT_EQ(window.Pixel(view.X + 300, view.Y + 10), clRed);
    EXPECT_TRUE(Near(window.Pixel(view.X + 300, view.Y + 100), kTopRight));

    Form3->kivButton1->OnClick(Form3->kivButton1);
    EXPECT_EQ(MessageLines(), (std::vector<std::string>{"保存剪辑|保存剪辑成功.|确定"}));
    EXPECT_EQ(Crop(2), (std::vector<std::string>{"-400", "-500", "1252", "1416"}));
    EXPECT_EQ(Crop(1), (std::vector<std::string>{"-120", "-120", "708", "771"}));
    // The viewer painted at (-521, -510): picture (x, y) is photo
    // (x + 208, y + 156), whose quarters meet at picture (105, 198); the
    // photo ends at picture x 418, where the viewer's black stage shows.
    TBitmap picture = gfx::LoadImage(Picture(2));
    ASSERT_EQ(picture.Width(), 459);
    ASSERT_EQ(picture.Height(), 480);
    struct Sample {
        int x, y;
        TColor colour;
    };
    for (const Sample& s :
         {Sample{50, 100, kTopLeft}, Sample{300, 100, kTopRight}, Sample{50, 300, kBottomLeft},
          Sample{300, 400, kBottomRight}, Sample{440, 100, clBlack}, Sample{440, 470, clBlack}})
        EXPECT_TRUE(Near(picture.Pixel(s.x, s.y), s.colour)) << s.x << "," << s.y;
    EXPECT_FALSE(fs::exists(work_ / "zpyjj" / "zpyjj.bmp"));
    // The thumbnails show the new picture.
    EXPECT_EQ(Form1->ShockwaveFlash2->Movie(), Picture(2).string());

    // Moved by the sliders to 200, 100: painted at 79, 90, white where the
    // viewer does not reach, the photo's top-left corner at picture (392, 444).
    Form3->kivTrackBar1->SetPosition(200);
    Form3->kivTrackBar2->SetPosition(100);
    EXPECT_EQ(Viewer(), (app::FrameBounds{200, 100, 1252, 1416}));
    Form3->kivButton1->OnClick(Form3->kivButton1);
    EXPECT_EQ(Crop(2), (std::vector<std::string>{"200", "100", "1252", "1416"}));
    picture = gfx::LoadImage(Picture(2));
    for (const Sample& s : {Sample{30, 200, clWhite}, Sample{200, 40, clWhite}, Sample{200, 200, clBlack},
                            Sample{420, 465, kTopLeft}})
        EXPECT_TRUE(Near(picture.Pixel(s.x, s.y), s.colour)) << s.x << "," << s.y;
    Close();
}

TEST_F(CropEditor, ZoomMakesTheViewerSquareAndClearingGoesBackToTheWholePhoto)
{
    AddPhoto(QuarteredPhoto("a.jpg"));
    Open(700, 500);
    Form3->kivTrackBar3->SetPosition(900);
    EXPECT_EQ(Viewer().width, 900);
    EXPECT_EQ(Viewer().height, 900);
    EXPECT_EQ(Form3->kivTrackBar1->Min(), -900);
    EXPECT_EQ(Form3->kivTrackBar1->Max(), 200);
    Form3->kivButton1->OnClick(Form3->kivButton1);
    EXPECT_EQ(Crop(1), (std::vector<std::string>{"-120", "-120", "900", "900"}));
    // The square viewer shows the photo whole and unstretched: 398 x 450 in
    // the 450 x 450 centre of the viewer, from viewer (251, 225), that is
    // from picture (10, 95) with the frame at 121, 10.
    TBitmap zoomed = gfx::LoadImage(Picture(1));
    struct Sample {
        int x, y;
        TColor colour;
    };
    for (const Sample& s : {Sample{5, 200, clBlack}, Sample{30, 200, kTopLeft}, Sample{395, 200, kTopRight},
                            Sample{420, 200, clBlack}, Sample{30, 400, kBottomLeft},
                            Sample{395, 400, kBottomRight}, Sample{200, 80, clBlack}})
        EXPECT_TRUE(Near(zoomed.Pixel(s.x, s.y), s.colour)) << s.x << "," << s.y;

    messages_.clear();
    Form3->kivButton2->OnClick(Form3->kivButton2);
    EXPECT_EQ(MessageLines(), (std::vector<std::string>{"清除剪辑|清除剪辑成功.|确定"}));
    EXPECT_EQ(Crop(1), (std::vector<std::string>{"0", "0", "1252", "1416"}));
    // The viewer shows what was stored and written.
    EXPECT_EQ(Viewer(), (app::FrameBounds{0, 0, 1252, 1416}));
    EXPECT_EQ(Form3->kivTrackBar3->Position(), 1252);
    // The centre 626 x 708 of the viewer: the photo itself.
    const TBitmap picture = gfx::LoadImage(Picture(1));
    ASSERT_EQ(picture.Width(), 626);
    ASSERT_EQ(picture.Height(), 708);
    EXPECT_TRUE(Near(picture.Pixel(100, 100), kTopLeft));
    EXPECT_TRUE(Near(picture.Pixel(520, 100), kTopRight));
    EXPECT_TRUE(Near(picture.Pixel(100, 600), kBottomLeft));
    EXPECT_TRUE(Near(picture.Pixel(520, 600), kBottomRight));
    EXPECT_TRUE(Form3->kivButton1->Enabled());
    Close();
}

TEST_F(CropEditor, SavingGoesToTheRowOnShowAndEachOpeningStartsAtPhotoOne)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) AddPhoto(QuarteredPhoto(name));
    const auto picture3 = core::ReadFileBytes(Picture(3));
    Open(700, 500);
    DoubleClick(1);
    Close();

    Open(700, 500);
    EXPECT_EQ(Form3->ClipRow, 0);
    // A row only selected, not loaded, is not the one saved: the viewer
    // still shows photo 1.
    Form3->kivListView1->SetItemIndex(2);
    Form3->kivTrackBar1->SetPosition(-50);
    Form3->kivButton1->OnClick(Form3->kivButton1);
    EXPECT_EQ(Crop(1)[0], "-50");
    EXPECT_EQ(Crop(2)[0], "-120");
    EXPECT_EQ(Crop(3)[0], "-120");
    EXPECT_EQ(core::ReadFileBytes(Picture(3)), picture3);
    EXPECT_EQ(gfx::LoadImage(Picture(1)).Width(), 459);
    Close();
}

TEST_F(CropEditor, APhotoThatCannotBeReadIsNeitherShownNorSaved)
{
    AddPhoto(QuarteredPhoto("a.jpg"));
    const fs::path broken = system_.Path() / "photos" / "broken.jpg";
    std::ofstream(broken, std::ios::binary) << "no picture in here";
    AddPhoto(broken.string());
    AddPhoto((system_.Path() / "photos" / "gone.jpg").string());
    const auto picture2 = core::ReadFileBytes(Picture(2));
    Open(700, 500);
    ASSERT_TRUE(Form3->ClipShown());

    for (int row : {1, 2}) {
        messages_.clear();
        DoubleClick(row);
        ASSERT_EQ(messages_.size(), 1u) << row;
        EXPECT_NE(MessageLines()[0].find("无法读取照片"), std::string::npos) << MessageLines()[0];
        EXPECT_EQ(messages_[0].caption, "照片剪辑");
        // Not the photo staged before: nothing is on show, nothing can be saved.
        EXPECT_FALSE(Form3->ClipShown());
        EXPECT_FALSE(Form3->ScrollBox1->Visible());
        EXPECT_FALSE(fs::exists(work_ / "jjzp" / "zpjj.jpg"));
        EXPECT_FALSE(Form3->kivButton1->Enabled());
        EXPECT_TRUE(Form3->kivListView1->Enabled());
        EXPECT_TRUE(Form3->kivButton3->Enabled());
    }
    messages_.clear();
    Form3->kivButton1->OnClick(Form3->kivButton1);
    DoubleClick(1);
    Form3->kivButton2->OnClick(Form3->kivButton2);  // clearing cannot show it either
    EXPECT_EQ(core::ReadFileBytes(Picture(2)), picture2);
    EXPECT_EQ(Crop(2), (std::vector<std::string>{"-120", "-120", "708", "771"}));
    EXPECT_EQ(messages_.size(), 2u);

    // A good photo shows again.
    DoubleClick(0);
    EXPECT_TRUE(Form3->ClipShown());
    EXPECT_TRUE(Form3->ScrollBox1->Visible());
    Close();
}

TEST_F(CropEditor, AViewerThatNeverAnswersHoldsTheEditorOnlyBoundedly)
{
    AddPhoto(QuarteredPhoto("a.jpg"));
    const auto before = core::ReadFileBytes(Picture(1));
    for (const char* viewer : {"zpjj1.swf", "zpjj2.swf"}) {
        flash::Movie movie;
        movie.frame_count = 10;
        const std::vector<std::uint8_t> bytes = flash::WriteMovie(movie);
        std::ofstream(work_ / "jjzp" / viewer, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    const int64_t start = App().Clock().NowUs();
    Open(700, 500);
    EXPECT_LT(App().Clock().NowUs() - start, (app::kViewerLoadTimeoutMs + 2000) * 1000);
    EXPECT_GE(App().Clock().NowUs() - start, app::kViewerLoadTimeoutMs * 1000);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(MessageLines()[0].find("没有响应"), std::string::npos) << MessageLines()[0];
    EXPECT_FALSE(Form3->ClipShown());
    EXPECT_FALSE(Form3->kivButton1->Enabled());
    Form3->kivButton1->OnClick(Form3->kivButton1);
    EXPECT_EQ(core::ReadFileBytes(Picture(1)), before);
    EXPECT_EQ(Crop(1), (std::vector<std::string>{"-120", "-120", "708", "771"}));
    Close();
}

TEST_F(CropEditor, WithoutPhotosOnlyReturnWorks)
{
    Open(700, 500);
    EXPECT_EQ(Form3->kivListView1->Items().Count(), 0);
    EXPECT_FALSE(Form3->ClipShown());
    EXPECT_FALSE(Form3->ScrollBox1->Visible());
    EXPECT_FALSE(Form3->kivButton1->Enabled());
    EXPECT_FALSE(Form3->kivButton2->Enabled());
    EXPECT_TRUE(Form3->kivButton3->Enabled());
    Form3->kivButton1->OnClick(Form3->kivButton1);
    Form3->kivButton2->OnClick(Form3->kivButton2);
    Form3->kivListView1->OnDblClick(Form3->kivListView1);
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(fs::is_empty(work_ / "zpyjj"));
    Close();
    EXPECT_FALSE(Form3->Visible());
}

TEST_F(CropEditor, AnEditorNeverHandedItsViewHasNothingToCrop)
{
    AddPhoto(QuarteredPhoto("a.jpg"));
    const auto before = core::ReadFileBytes(Picture(1));
    TForm3 editor;
    Open(700, 500, &editor);
    EXPECT_EQ(editor.kivListView1->Items().Count(), 0);
    EXPECT_FALSE(editor.ClipShown());
    EXPECT_FALSE(editor.kivButton1->Enabled());
    editor.kivButton2->OnClick(editor.kivButton2);
    editor.kivButton1->OnClick(editor.kivButton1);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(core::ReadFileBytes(Picture(1)), before);
    EXPECT_EQ(Crop(1), (std::vector<std::string>{"-120", "-120", "708", "771"}));
    editor.kivButton3->OnClick(editor.kivButton3);
    App().ProcessMessages();
    EXPECT_FALSE(editor.Visible());
}

TEST_F(CropEditor, TheMainWindowButtonOpensTheEditorMaximised)
{
    AddPhoto(QuarteredPhoto("a.jpg"));
    bool seen = false;
    TWindowState state = wsNormal;
    std::string caption;
    TTimer timer(nullptr);
    timer.SetInterval(1);
    timer.OnTimer = [&](TObject*) {
        if (!Form3->Visible() || !Form3->ClipShown()) return;
        timer.SetEnabled(false);
        seen = true;
        state = Form3->WindowState();
        caption = Form3->Caption();
        Form3->kivButton3->OnClick(Form3->kivButton3);
    };
    timer.SetEnabled(true);
    EXPECT_EQ(Form1->kivButton18->Caption(), "照片剪辑");
    Form1->kivButton18->OnClick(Form1->kivButton18);
    EXPECT_TRUE(seen);
    EXPECT_EQ(state, wsMaximized);
    EXPECT_EQ(caption, "照片剪辑");
    EXPECT_FALSE(Form3->Visible());
}

}  // namespace

namespace {

TEST_F(CropEditor, TheImportFormsCropModeMovesZoomsAndSavesTheThumbnail)
{
    const fs::path red = system_.Path() / "photos" / "red.jpg";
    fs::create_directories(red.parent_path());
    gfx::SaveJpeg(TBitmap(200, 100, clRed), red);
    AddPhoto(red.string());
    AddPhoto(red.string(), {"1", "2", "300", "400"});
    Form1->PhotoPageIndex = 1;
    Form1->Z_P_J_J_Edit->SetText("zhao_pian_jian_ji");
    MainForm->Show();
    App().ProcessMessages();

    EXPECT_EQ(MainForm->kivForm1->Caption(), "照片剪辑");
    EXPECT_FALSE(MainForm->Label1->Visible());
    EXPECT_FALSE(MainForm->kivProgressBar1->Visible());
    EXPECT_EQ(MainForm->ClientWidth(), 791);
    EXPECT_EQ(MainForm->ClientHeight(), 617);
    EXPECT_EQ(MainForm->kivPageControl1->Top(), 28);
    for (TkivPageControl* pages : {MainForm->kivPageControl2, MainForm->kivPageControl3,
                                   MainForm->kivPageControl4, MainForm->kivPageControl5})
        EXPECT_TRUE(pages->Visible());
    ASSERT_EQ(MainForm->kivListView1->Items().Count(), 2);
    EXPECT_EQ(MainForm->kivListView1->Items()[0]->Caption(), "red");
    EXPECT_EQ(MainForm->kivListView1->ItemIndex(), 0);
    EXPECT_FALSE(MainForm->kivTrackBar1->Enabled());
    EXPECT_FALSE(MainForm->kivButton1->Enabled());
    EXPECT_EQ(MainForm->kivTrackBar3->Min(), 531);
    EXPECT_EQ(MainForm->kivTrackBar3->Max(), 1593);
    EXPECT_EQ(MainForm->kivTrackBar3->Position(), 531);
    // Nothing loaded yet: saving writes nothing.
    const auto before = core::ReadFileBytes(Picture(1));
    MainForm->kivButton1->OnClick(MainForm->kivButton1);
    EXPECT_EQ(core::ReadFileBytes(Picture(1)), before);

    // The second row's crop data places the frame; the sliders stand there.
    MainForm->kivListView1->SetItemIndex(1);
    MainForm->kivListView1->OnDblClick(MainForm->kivListView1);
    App().ProcessMessages();
    EXPECT_EQ(MainForm->CropRow(), 1);
    EXPECT_EQ(MainForm->Image1->BoundsRect(), Bounds(1, 2, 300, 400));
    EXPECT_EQ(MainForm->kivTrackBar1->Min(), -300);
    EXPECT_EQ(MainForm->kivTrackBar1->Max(), 300);
    EXPECT_EQ(MainForm->kivTrackBar1->Position(), 1);
    EXPECT_EQ(MainForm->kivTrackBar2->Position(), 2);
    EXPECT_TRUE(MainForm->kivButton1->Enabled());

    MainForm->kivListView1->SetItemIndex(0);
    MainForm->kivListView1->OnDblClick(MainForm->kivListView1);
    App().ProcessMessages();
    EXPECT_EQ(MainForm->Image1->BoundsRect(), Bounds(-120, -120, 708, 771));
    MainForm->kivTrackBar3->SetPosition(1000);  // zoom: 957 x 1000
    App().ProcessMessages();
    EXPECT_EQ(MainForm->Image1->Width(), 957);
    EXPECT_EQ(MainForm->Image1->Height(), 1000);
    EXPECT_EQ(MainForm->Image1->Picture().Bitmap().Width(), 957);  // the thumbnail again, at the new size
    MainForm->kivTrackBar1->SetPosition(0);
    EXPECT_EQ(MainForm->Image1->Left(), 0);
    // Selecting another row without loading it does not change what is saved.
    MainForm->kivListView1->SetItemIndex(1);
    MainForm->kivButton1->OnClick(MainForm->kivButton1);

    EXPECT_EQ(Crop(1), (std::vector<std::string>{"0", "-120", "957", "1000"}));
    EXPECT_EQ(Crop(2), (std::vector<std::string>{"1", "2", "300", "400"}));
    // The 200 x 100 photo fills the 957 wide frame, 478 high, centred in
    // its 1000: from y = 141 of the picture area down.
    const TBitmap picture = gfx::LoadImage(Picture(1));
    ASSERT_EQ(picture.Width(), 468);
    ASSERT_EQ(picture.Height(), 531);
    EXPECT_TRUE(Near(picture.Pixel(234, 100), clWhite));
    EXPECT_TRUE(Near(picture.Pixel(234, 300), clRed));
    EXPECT_TRUE(Near(picture.Pixel(5, 520), clRed));
    EXPECT_EQ(Form1->PhotoPageIndex, 0);
    EXPECT_EQ(Form1->ShockwaveFlash1->Movie(), Picture(1).string());
    EXPECT_FALSE(fs::exists(work_ / "zpyjj" / "zpyjj.bmp"));
    EXPECT_TRUE(messages_.empty());

    MainForm->kivButton2->OnClick(MainForm->kivButton2);
    App().ProcessMessages();
    EXPECT_FALSE(MainForm->Visible());

    // The import afterwards lays the form out for itself again.
    const fs::path green = system_.Path() / "photos" / "green.jpg";
    gfx::SaveJpeg(TBitmap(64, 48, clGreen), green);
    ui::SetFileDialogHook(
        [&](const TOpenDialog&) { return std::optional<std::vector<std::string>>{{green.string()}}; });
    Form1->kivButton4->OnClick(Form1->kivButton4);
    ASSERT_EQ(Form1->kivListView1->Items().Count(), 3);
    EXPECT_FALSE(MainForm->kivPageControl2->Visible());
    EXPECT_EQ(MainForm->kivForm1->Caption(), "正在导入照片,请稍后...");
    EXPECT_EQ(gfx::LoadImage(Picture(3)).Width(), 468);
    EXPECT_EQ(Crop(3), (std::vector<std::string>{"-120", "-120", "708", "771"}));
}

TEST_F(CropEditor, TheViewerRendererSkipsAPhotoThatCannotBeRead)
{
    // The staging is shared with the crop editor: a photo that cannot be
    // read is not rendered from the photo staged before it.
    AddPhoto(QuarteredPhoto("a.jpg"));
    const fs::path broken = system_.Path() / "photos" / "broken.jpg";
    std::ofstream(broken, std::ios::binary) << "no picture in here";
    AddPhoto(broken.string());
    AddPhoto((system_.Path() / "photos" / "gone.jpg").string());
    const auto picture2 = core::ReadFileBytes(Picture(2)), picture3 = core::ReadFileBytes(Picture(3));
    Form2->ShowModal();
    EXPECT_EQ(Form1->kivListView3->Items()[0]->SubItems()[1], "yijianji");
    EXPECT_EQ(gfx::LoadImage(Picture(1)).Width(), 626);
    for (int k : {2, 3}) EXPECT_EQ(Form1->kivListView3->Items()[k - 1]->SubItems()[1], "") << k;
    EXPECT_EQ(core::ReadFileBytes(Picture(2)), picture2);
    EXPECT_EQ(core::ReadFileBytes(Picture(3)), picture3);
}

}  // namespace
