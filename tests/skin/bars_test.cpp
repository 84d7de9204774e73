// The track bar, scroll bar and progress bar: their value rules, their
// mouse, key and timer behaviour on the headless back end, and what they
// look like in two built-in styles and from a skin file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/image_io.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_memo.h"
#include "skin/kiv_progress_bar.h"
#include "skin/kiv_public.h"
#include "skin/kiv_scroll_bar.h"
#include "skin/kiv_track_bar.h"
#include "tools/skin-pack/skin_pack.h"

namespace {

using namespace ui::headless;

constexpr TColor kBlue = gfx::RGB(0x20, 0x40, 0xC0);
constexpr TColor kGreen = gfx::RGB(0x10, 0xB0, 0x30);
constexpr TColor kRed = gfx::RGB(0xD0, 0x20, 0x20);
constexpr TColor kYellow = gfx::RGB(0xE0, 0xD0, 0x10);
constexpr TColor kPurple = gfx::RGB(0x70, 0x20, 0x90);
constexpr TColor kTeal = gfx::RGB(0x10, 0x80, 0x80);

TBitmap Solid(int w, int h, TColor c) { return TBitmap(w, h, c); }

// Cells of one colour each, side by side (or stacked when `stacked`).
TBitmap Cells(int w, int h, std::vector<TColor> colours, bool stacked = false)
{
    const int n = static_cast<int>(colours.size());
    TBitmap b(stacked ? w : w * n, stacked ? h * n : h);
    for (int i = 0; i < n; ++i) {
        const TRect r = stacked ? Bounds(0, i * h, w, h) : Bounds(i * w, 0, w, h);
        b.Canvas().Brush().SetColor(colours[i]);
        b.Canvas().FillRect(r);
    }
    return b;
}

TColor Px(const TBitmap& b, int x, int y) { return gfx::ColorRGB(b.Pixel(x, y)); }

class Bars : public ::testing::Test {
protected:
    Bars()
    {
        ui::Headless();
        form_->SetBounds(0, 0, 600, 450);
    }

    template <class T>
    T* Make(int x, int y, int w, int h)
    {
        auto* c = new T(form_);
        c->SetParent(form_);
        c->SetBounds(x, y, w, h);
        return c;
    }

    static TBitmap Render(TControl& c)
    {
        TBitmap b(c.Width(), c.Height(), clBlack);
        c.PaintTo(b, 0, 0);
        return b;
    }

    // A skin in the look of DeepBlue with some records replaced.
    TkivFileTheme* Skin(const std::vector<skinpack::Record>& own)
    {
        auto records = skinpack::StyleSkinRecords(TkivUIStyle::DeepBlue);
        std::erase_if(records, [&](const skinpack::Record& r) {
            return std::any_of(own.begin(), own.end(), [&](const auto& o) { return o.name == r.name; });
        });
        records.insert(records.end(), own.begin(), own.end());
        const auto path = dir_.Path() / "bars.skn";
        gfx::WriteFileBytes(path, skinpack::BuildArchive(skinpack::BuildPayload(records)));
        auto* theme = new TkivFileTheme(form_);
        theme->SetThemeFile(path.string());
        EXPECT_TRUE(theme->Ready());
        return theme;
    }

    template <class T>
    static void UseSkin(T* control, TkivFileTheme* theme)
    {
        control->SetFileTheme(theme);
        control->SetUIStyle(TkivUIStyle::FromThemeFile);
    }

    core::TestApplication app_;
    core::TestSystemDir system_;
    core::TempDir dir_;
    TForm* form_ = CreateForm<TForm>();
};

// --- track bar ------------------------------------------------------------------

TEST_F(Bars, TrackBarSettersKeepTheRangeAndReportChanges)
{
    auto* track = Make<TkivTrackBar>(10, 10, 150, 30);
    int changes = 0;
    track->OnChange = [&](TObject*) { ++changes; };

    track->SetPosition(8);
    EXPECT_EQ(changes, 1);
    track->SetMax(5);
    EXPECT_EQ(track->Position(), 5);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(track->LastChange(), -3);
    track->SetMax(-3);
    EXPECT_EQ(track->Max(), 0);
    EXPECT_EQ(track->Position(), 0);

    track->SetMax(10);
    track->SetPosition(99);
    EXPECT_EQ(track->Position(), 10);
    const int before = changes;
    track->SetPosition(10);  // places the slider again, but nothing changed
    EXPECT_EQ(changes, before);

    track->SetMin(20);  // above Max: lowered to it
    EXPECT_EQ(track->Min(), 10);
    EXPECT_EQ(track->Position(), 10);
    track->SetMin(0);

    track->SetPageSize(20);
    EXPECT_EQ(track->PageSize(), 2);
    track->SetPageSize(-1);
    EXPECT_EQ(track->PageSize(), 2);
    track->SetPageSize(10);
    EXPECT_EQ(track->PageSize(), 10);
    track->SetLineSize(11);
    EXPECT_EQ(track->LineSize(), 1);
}

TEST_F(Bars, TrackBarPlacesTheSliderAndMapsPointsHalfToEven)
{
    // The scroll track takes the slider picture it is given: 10 wide.
    auto* track = Make<TkivScrollTrackBar>(10, 10, 210, 10);
    track->SetSliderImage(Solid(10, 10, kBlue));
    track->SetMax(100);
    track->SetPosition(50);
    EXPECT_EQ(track->Slider()->Left(), 100);
    EXPECT_EQ(track->Height(), 10);  // as thick as its slider
    const struct {
        int x, value;
    } cases[] = {{105, 50}, {102, 48}, {104, 50}, {103, 49}, {5, 0}, {205, 100}, {-50, -28}};
    for (const auto& c : cases) EXPECT_EQ(track->ValueAtPoint(c.x, 0), c.value) << c.x;
}

TEST_F(Bars, ASliderPictureGivesTheSliderItsSizeAtOnce)
{
    const struct {
        TkivProgressBarOrientation orientation;
        int w, h;
    } cases[] = {{kivHorizontal, 20, 30}, {kivHorizontal, 6, 4}, {kivVertical, 30, 20}, {kivVertical, 4, 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.w * 100 + c.h);
        for (bool scrollTrack : {false, true}) {
            TkivTrackBar* track = scrollTrack ? Make<TkivScrollTrackBar>(10, 10, 200, 200)
                                              : Make<TkivTrackBar>(10, 10, 200, 200);
            track->SetOrientation(c.orientation);
            track->SetMax(10);
            track->SetPosition(10);
            track->SetSliderImage(Solid(c.w, c.h, kRed));
            const TkivImagePanel* slider = track->Slider();
            EXPECT_EQ(TSize(slider->Width(), slider->Height()), TSize(c.w, c.h));
            // Placed for its new size: at the far end, the bar as thick as needed.
            if (c.orientation == kivHorizontal) {
                EXPECT_EQ(slider->Left(), track->Width() - c.w);
                EXPECT_GE(track->Height(), c.h);
            } else {
                EXPECT_EQ(slider->Top(), track->Height() - c.h);
                EXPECT_GE(track->Width(), c.w);
            }
            delete track;
        }
    }
}

TEST_F(Bars, AHeldPressPagesTowardsTheCursorAndStopsThere)
{
    // 211 wide with the 11-pixel built-in slider: 200 pixels of travel.
    auto* track = Make<TkivTrackBar>(20, 20, 211, 30);
    track->SetMax(100);
    form_->Show();
    const int y = 20 + track->Height() / 2;
    MouseDown(*form_, 20 + 180, y);  // the value under the cursor is 88
    EXPECT_EQ(track->Position(), 2);
    EXPECT_TRUE(track->Focused());
    app_.RunForMs(100);
    EXPECT_EQ(track->Position(), 8);  // three pages a tick
    app_.RunForMs(100);
    EXPECT_EQ(track->Position(), 14);
    app_.RunForMs(3000);
    EXPECT_EQ(track->Position(), 88);
    MouseUp(*form_, 20 + 180, y);
    EXPECT_FALSE(track->Paging());

    // Leftwards, and leaving the control ends the paging.
    MouseDown(*form_, 20 + 30, y);
    EXPECT_EQ(track->Position(), 86);
    MouseMove(*form_, 20 + 30, 300);
    EXPECT_FALSE(track->Paging());
    app_.RunForMs(500);
    EXPECT_EQ(track->Position(), 86);
    MouseUp(*form_, 20 + 30, 300);
}

TEST_F(Bars, AVerticalBarPagesOnePageATick)
{
    auto* track = Make<TkivTrackBar>(300, 20, 30, 30);
    track->SetOrientation(kivVertical);
    track->SetBounds(300, 20, 30, 211);
    track->SetMax(100);
    form_->Show();
    EXPECT_EQ(track->Slider()->Height(), 11);
    const int x = 300 + track->Width() / 2;
    MouseDown(*form_, x, 20 + 180);
    EXPECT_EQ(track->Position(), 2);
    app_.RunForMs(100);
    EXPECT_EQ(track->Position(), 4);
    app_.RunForMs(200);
    EXPECT_EQ(track->Position(), 8);
    MouseUp(*form_, x, 20 + 180);
}

TEST_F(Bars, DraggingTheSliderFollowsTheCursor)
{
    auto* track = Make<TkivTrackBar>(20, 20, 211, 30);
    track->SetMax(100);
    std::vector<int> changes;
    track->OnChange = [&](TObject*) { changes.push_back(track->LastChange()); };
    TPoint pressed{-1, -1};
    track->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int X, int Y) { pressed = {X, Y}; };
    form_->Show();
    const int y = 20 + track->Slider()->Top() + 4;
    MouseDown(*form_, 20 + 5, y);
    EXPECT_TRUE(track->Dragging());
    EXPECT_EQ(pressed.X, 5);  // in the track bar's own pixels
    MouseMove(*form_, 20 + 105, y);
    EXPECT_EQ(track->Position(), 50);
    EXPECT_EQ(track->Slider()->Left(), 100);
    MouseMove(*form_, 20 + 107, y);
    EXPECT_EQ(track->Position(), 51);
    MouseMove(*form_, 20 + 400, y);  // past the end: Max
    EXPECT_EQ(track->Position(), 100);
    MouseUp(*form_, 20 + 400, y);
    EXPECT_FALSE(track->Dragging());
    EXPECT_EQ(changes, (std::vector<int>{50, 1, 49}));
    MouseMove(*form_, 20 + 30, y);
    EXPECT_EQ(track->Position(), 100);
}

TEST_F(Bars, KeysStepTheFocusedTrackBar)
{
    auto* track = Make<TkivTrackBar>(20, 20, 150, 30);
    track->SetPageSize(2);
    form_->Show();
    track->SetFocus();
    const struct {
        uint16_t key;
        int position;
    } cases[] = {{VK_PRIOR, 3}, {VK_NEXT, 7},  {VK_END, 10}, {VK_HOME, 0}, {VK_LEFT, 4},
                 {VK_UP, 4},    {VK_RIGHT, 6}, {VK_DOWN, 6}, {'A', 5}};
    for (const auto& c : cases) {
        track->SetPosition(5);
        Key(*form_, c.key);
        EXPECT_EQ(track->Position(), c.position) << c.key;
    }
}

TEST_F(Bars, TicksFollowTheFrequency)
{
    auto* track = Make<TkivTrackBar>(10, 10, 211, 30);
    auto ticks = [&] {
        TBitmap b(track->Width(), track->Height(), clWhite);
        track->Paint(b.Canvas());
        std::vector<int> xs;
        for (int x = 0; x < b.Width(); ++x)
            if (Px(b, x, b.Height() - 1) == clBlack) xs.push_back(x);
        return xs;
    };
    const struct {
        int max, frequency;
        std::vector<int> xs;
    } cases[] = {
        {10, 1, {5, 25, 45, 65, 85, 105, 125, 145, 165, 185, 205}},
        {10, 3, {5, 65, 125, 185, 205}},
        {10, 0, {5, 205}},
        {10, -2, {5, 205}},
        {0, 1, {}},
    };
    for (const auto& c : cases) {
        track->SetMax(c.max);
        track->SetFrequency(c.frequency);
        EXPECT_EQ(ticks(), c.xs) << c.max << " / " << c.frequency;
    }
    // A range far wider than the bar ticks every pixel, without visiting
    // every value.
    track->SetMax(2'000'000'000);
    track->SetFrequency(7);
    EXPECT_EQ(ticks().size(), 201u);
    track->SetShowTick(false);
    EXPECT_TRUE(ticks().empty());
}

TEST_F(Bars, TrackBarLooksLikeItsStyle)
{
    for (TkivUIStyle style : {TkivUIStyle::DeepBlue, TkivUIStyle::WinXP}) {
        SCOPED_TRACE(static_cast<int>(style));
        auto* track = Make<TkivTrackBar>(10, 10, 150, 40);
        track->SetUIStyle(style);
        TBitmap bar, slider;
        skin::LoadBuiltInBitmap(style, 28, &bar);
        skin::LoadBuiltInBitmap(style, 29, &slider);
        EXPECT_EQ(track->Height(), slider.Height());
        const TBitmap shot = Render(*track);
        const int barTop = (track->Height() - bar.Height()) / 2;
        // The middle cell of the bar stretched between its ends.
        EXPECT_EQ(Px(shot, 120, barTop + 2), Px(bar, 7, 2));
        EXPECT_EQ(Px(shot, 149, barTop), Px(bar, 14, 0) == clMagenta ? track->Color() : Px(bar, 14, 0));
        // The slider at Position 0.
        EXPECT_EQ(Px(shot, 5, 5), Px(slider, 5, 5));
        delete track;
    }
    TBitmap deep, xp;
    skin::LoadBuiltInBitmap(TkivUIStyle::DeepBlue, 29, &deep);
    skin::LoadBuiltInBitmap(TkivUIStyle::WinXP, 29, &xp);
    EXPECT_NE(Px(deep, 5, 5), Px(xp, 5, 5));
}

TEST_F(Bars, TrackBarFromASkin)
{
    TBitmap slider = Solid(9, 13, kBlue);
    for (int y : {0, 12}) slider.SetPixel(0, y, clMagenta);  // see-through corners
    TkivFileTheme* theme = Skin({skinpack::BitmapRecord("SKIN2_TRACKBAR", Cells(5, 7, {kRed, kGreen, kRed})),
                                 skinpack::BitmapRecord("SKIN2_TRACKBARSLIDER", slider)});
    form_->SetColor(kYellow);
    auto* track = Make<TkivTrackBar>(10, 10, 150, 40);
    track->SetParentColor(true);
    UseSkin(track, theme);
    EXPECT_EQ(track->Height(), 13);
    const TBitmap shot = Render(*track);
    EXPECT_EQ(Px(shot, 100, 6), kGreen);  // the bar's middle
    EXPECT_EQ(Px(shot, 4, 6), kBlue);     // the slider
    EXPECT_EQ(Px(shot, 0, 12), kYellow);  // its corner shows the track's colour behind
    EXPECT_EQ(Px(shot, 100, 1), kYellow);

    // The theme going away leaves DeepBlue.
    delete theme;
    EXPECT_EQ(track->FileTheme(), nullptr);
    EXPECT_EQ(track->UIStyle(), TkivUIStyle::DeepBlue);
    EXPECT_EQ(track->Height(), 19);
}

TEST_F(Bars, MacOSMakesTheTrackBarTransparentForGood)
{
    form_->SetColor(kYellow);
    auto* track = Make<TkivTrackBar>(10, 10, 150, 40);
    track->SetColor(kRed);
    EXPECT_FALSE(track->Transparent());
    EXPECT_EQ(Px(Render(*track), 100, 1), kRed);
    track->SetUIStyle(TkivUIStyle::MacOS);
    EXPECT_TRUE(track->Transparent());
    EXPECT_EQ(Px(Render(*track), 100, 1), kYellow);  // the form shows through
    track->SetUIStyle(TkivUIStyle::DeepBlue);
    EXPECT_TRUE(track->Transparent());
    EXPECT_EQ(Px(Render(*track), 100, 1), kYellow);
}

// --- scroll bar -----------------------------------------------------------------

TEST_F(Bars, ScrollBarLaysOutItsParts)
{
    auto* bar = Make<TkivScrollBar>(10, 10, 185, 40);
    EXPECT_EQ(bar->DecButton()->Width(), 17);
    EXPECT_EQ(bar->Height(), 17);
    EXPECT_EQ(bar->Track()->BoundsRect(), Bounds(17, 0, 151, 17));
    EXPECT_EQ(bar->IncButton()->Left(), 185 - 17);

    bar->SetOrientation(kivVertical);
    bar->SetBounds(10, 10, 40, 185);
    EXPECT_EQ(bar->Width(), 17);
    EXPECT_EQ(bar->Track()->BoundsRect(), Bounds(0, 17, 17, 151));
    EXPECT_EQ(bar->IncButton()->Top(), 185 - 17);

    // With a skin's 16-pixel arrows.
    TkivFileTheme* theme =
        Skin({skinpack::BitmapRecord("SKIN2_SCROLLBARUPBUTTON", Cells(16, 16, {kRed, kGreen, kBlue})),
              skinpack::BitmapRecord("SKIN2_SCROLLBARDOWNBUTTON", Cells(16, 16, {kRed, kGreen, kBlue})),
              skinpack::BitmapRecord("SKIN2_SCROLLBAR", Cells(16, 16, {kRed, kGreen, kBlue}, true))});
    auto* skinned = Make<TkivScrollBar>(10, 100, 185, 40);
    UseSkin(skinned, theme);
    EXPECT_EQ(skinned->Height(), 16);
    EXPECT_EQ(skinned->Track()->BoundsRect(), Bounds(16, 0, 153, 16));

    // No room at all: hidden, until the binder shows it again.
    skinned->SetWidth(0);
    EXPECT_FALSE(skinned->Visible());
}

TEST_F(Bars, TheThumbLengthComesFromLineButtonOrPageSize)
{
    auto* bar = Make<TkivScrollBar>(10, 10, 185, 17);  // a 151-pixel track
    auto thumb = [&] { return bar->Track()->Slider()->Width(); };
    bar->SetLineButton(10);
    EXPECT_EQ(bar->LineButton(), 16);
    EXPECT_EQ(thumb(), 16);
    bar->SetLineButton(152);  // longer than the room between the arrows
    EXPECT_EQ(bar->LineButton(), 16);
    bar->SetLineButton(151);
    EXPECT_EQ(thumb(), 151);

    bar->SetLineButton(0);
    const struct {
        int max, page, length;
    } cases[] = {{100, 2, 15}, {100, 50, 75}, {200, 150, 15}, {100, 100, 151}};
    for (const auto& c : cases) {
        bar->SetMax(c.max);
        bar->SetPageSize(c.page);
        EXPECT_EQ(thumb(), c.length) << c.page;
    }
    EXPECT_EQ(bar->Track()->Slider()->Height(), 17);
}

TEST_F(Bars, HeldArrowsStepEveryTenthOfASecond)
{
    auto* bar = Make<TkivScrollBar>(20, 200, 185, 17);
    form_->Show();
    const TPoint inc = CenterOf(*bar->IncButton());
    MouseDown(*form_, inc.X, inc.Y);
    EXPECT_EQ(bar->Position(), 0);
    app_.RunForMs(350);
    EXPECT_EQ(bar->Position(), 3);
    MouseUp(*form_, inc.X, inc.Y);
    app_.RunForMs(500);
    EXPECT_EQ(bar->Position(), 3);

    // A quick click moves nothing.
    MouseDown(*form_, inc.X, inc.Y);
    app_.RunForMs(50);
    MouseUp(*form_, inc.X, inc.Y);
    app_.RunForMs(500);
    EXPECT_EQ(bar->Position(), 3);

    bar->SetSmallChange(5);
    bar->SetPosition(50);
    const TPoint dec = CenterOf(*bar->DecButton());
    MouseDown(*form_, dec.X, dec.Y);
    app_.RunForMs(250);
    MouseUp(*form_, dec.X, dec.Y);
    EXPECT_EQ(bar->Position(), 40);
    EXPECT_FALSE(bar->Track()->Focused());
}

TEST_F(Bars, ScrollBarReportsChangesFromTheTrack)
{
    auto* bar = Make<TkivScrollBar>(20, 200, 185, 17);
    std::vector<TObject*> senders;
    bar->OnChange = [&](TObject* Sender) { senders.push_back(Sender); };
    bar->SetPosition(0);
    EXPECT_TRUE(senders.empty());
    bar->SetPosition(200);
    EXPECT_EQ(bar->Position(), 100);
    ASSERT_EQ(senders.size(), 1u);
    EXPECT_EQ(senders[0], bar->Track());

    bar->SetPosition(10);
    bar->SetPosition(25);
    EXPECT_EQ(bar->GetLastChange(), 15);
    bar->SetPosition(20);
    EXPECT_EQ(bar->GetLastChange(), -5);

    // While the thumb is dragged: the change of the last move only.
    bar->SetPageSize(10);  // a 15-pixel thumb on 151 pixels: 136 of travel
    bar->SetPosition(0);
    form_->Show();
    const TPoint grip = CenterOf(*bar->Track()->Slider());
    MouseDown(*form_, grip.X, grip.Y);
    MouseMove(*form_, grip.X + 68, grip.Y);
    EXPECT_EQ(bar->Position(), 50);
    MouseMove(*form_, grip.X + 70, grip.Y);
    EXPECT_EQ(bar->Position(), 51);
    EXPECT_EQ(bar->GetLastChange(), 1);
    MouseUp(*form_, grip.X + 70, grip.Y);
}

TEST_F(Bars, ScrollBarLooksLikeItsStyle)
{
    for (TkivUIStyle style : {TkivUIStyle::DeepBlue, TkivUIStyle::WinXP}) {
        SCOPED_TRACE(static_cast<int>(style));
        auto* bar = Make<TkivScrollBar>(10, 10, 185, 17);
        bar->SetUIStyle(style);
        bar->SetPageSize(40);  // a 60-pixel thumb at the start of the track
        EXPECT_EQ(bar->Color(), skin::GetBuiltInColor(style, 31));
        const TBitmap shot = Render(*bar);
        EXPECT_EQ(Px(shot, 120, 8), skin::GetBuiltInColor(style, 31));  // the empty track
        TBitmap left, right, cap;
        skin::GetBuiltInBitmap(style, 32, &left, 1, 6);
        skin::RotateBitmapLeft(left);  // stored pointing up
        skin::GetBuiltInBitmap(style, 32, &right, 4, 6);
        skin::RotateBitmapLeft(right);
        skin::GetBuiltInBitmap(style, 33, &cap, 1, 3);
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x) {
                auto seen = [&](const TBitmap& art) {
                    const TColor c = Px(art, x, y);
                    return c == clMagenta ? bar->Color() : c;
                };
                ASSERT_EQ(Px(shot, x, y), seen(left)) << x << "," << y;
                ASSERT_EQ(Px(shot, 168 + x, y), seen(right)) << x << "," << y;
                const TColor c = Px(cap, x, y);
                ASSERT_EQ(Px(shot, 17 + x, y), c == clMagenta ? bar->Color() : c) << x << "," << y;
            }
        delete bar;
    }
}

TEST_F(Bars, ScrollBarFromASkin)
{
    TkivFileTheme* theme =
        Skin({skinpack::IntegerRecord("SKIN2_SCROLLBARCOLOR", kTeal),
              skinpack::BitmapRecord("SKIN2_SCROLLBARUPBUTTON", Cells(16, 16, {kRed, kGreen, kBlue})),
              skinpack::BitmapRecord("SKIN2_SCROLLBARDOWNBUTTON", Cells(16, 16, {kYellow, kGreen, kBlue})),
              skinpack::BitmapRecord("SKIN2_SCROLLBAR", Cells(16, 16, {kRed, kPurple, kBlue}, true))});
    auto* bar = Make<TkivScrollBar>(10, 10, 16, 16);
    bar->SetOrientation(kivVertical);
    UseSkin(bar, theme);
    bar->SetBounds(10, 10, 16, 185);
    bar->SetLineButton(40);
    TBitmap shot = Render(*bar);
    EXPECT_EQ(Px(shot, 8, 8), kRed);       // the up arrow
    EXPECT_EQ(Px(shot, 8, 176), kYellow);  // the down arrow
    EXPECT_EQ(Px(shot, 8, 120), kTeal);    // the track
    // A 40-pixel thumb: 3-pixel caps, the grip centred at 12, the cap
    // cells stretched between.
    const int top = 16;
    const struct {
        int row;
        TColor colour;
    } rows[] = {{0, kRed}, {2, kRed}, {11, kRed}, {12, kPurple}, {27, kPurple}, {28, kBlue}, {39, kBlue}};
    for (const auto& r : rows) EXPECT_EQ(Px(shot, 8, top + r.row), r.colour) << r.row;

    // Under the mouse and pressed.
    form_->Show();
    const TPoint up = CenterOf(*bar->DecButton());
    MouseMove(*form_, up.X, up.Y);
    EXPECT_EQ(Px(Render(*bar), 8, 8), kGreen);
    MouseDown(*form_, up.X, up.Y);
    EXPECT_EQ(Px(Render(*bar), 8, 8), kBlue);
    MouseUp(*form_, up.X, up.Y);

    delete theme;
    EXPECT_EQ(bar->UIStyle(), TkivUIStyle::DeepBlue);
    EXPECT_EQ(bar->Width(), 17);
}

TEST_F(Bars, ASkinBuiltByTheToolShowsTheScrollBarOfItsStyle)
{
    // The tool's DeepBlue skin, unchanged, shows every pixel of the built-in
    // look. A thumb of its three cells' length lays them side by side as
    // they are, both in the skin's layout and in the built-in one.
    TBitmap strip;
    skin::LoadBuiltInBitmap(TkivUIStyle::DeepBlue, 33, &strip);
    ASSERT_FALSE(strip.Empty());
    TkivFileTheme* theme = Skin({});
    for (TkivProgressBarOrientation orientation : {kivHorizontal, kivVertical}) {
        SCOPED_TRACE(orientation);
        const bool across = orientation == kivHorizontal;
        auto* built_in = Make<TkivScrollBar>(10, 10, 17, 17);
        auto* skinned = Make<TkivScrollBar>(10, 40, 17, 17);
        for (TkivScrollBar* bar : {built_in, skinned}) {
            bar->SetOrientation(orientation);
            bar->SetBounds(bar->Left(), bar->Top(), across ? 185 : 17, across ? 17 : 185);
            bar->SetLineButton(strip.Width() / 3 * 3);
            bar->SetPosition(30);
        }
        built_in->SetUIStyle(TkivUIStyle::DeepBlue);
        UseSkin(skinned, theme);
        const TBitmap expected = Render(*built_in), shot = Render(*skinned);
        ASSERT_EQ(shot.Width(), expected.Width());
        ASSERT_EQ(shot.Height(), expected.Height());
        int differ = 0;
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x) differ += Px(shot, x, y) != Px(expected, x, y);
        EXPECT_EQ(differ, 0);
        delete built_in;
        delete skinned;
    }
}

TEST_F(Bars, DisabledArrowsNeverLightUp)
{
    TkivFileTheme* theme =
        Skin({skinpack::BitmapRecord("SKIN2_SCROLLBARUPBUTTON", Cells(16, 16, {kRed, kGreen, kBlue})),
              skinpack::BitmapRecord("SKIN2_SCROLLBARDOWNBUTTON", Cells(16, 16, {kYellow, kGreen, kBlue}))});
    // A bar disabled by code, and a memo's bar while its text fits.
    auto* disabled = Make<TkivScrollBar>(10, 10, 16, 185);
    disabled->SetOrientation(kivVertical);
    auto* memo = Make<TkivMemo>(100, 10, 200, 185);
    memo->SetText("fits");
    auto* memoBar = Make<TkivScrollBar>(100, 10, 16, 185);
    memoBar->SetOrientation(kivVertical);
    memo->SetVScrollBar(memoBar);
    for (TkivScrollBar* bar : {disabled, memoBar}) UseSkin(bar, theme);
    disabled->SetBounds(10, 10, 16, 185);
    disabled->SetEnabled(false);
    form_->Show();
    ASSERT_FALSE(memoBar->Enabled());
    ASSERT_TRUE(memoBar->Visible());
    for (TkivScrollBar* bar : {disabled, memoBar}) {
        SCOPED_TRACE(bar == disabled ? "disabled" : "memo");
        for (TkivScrollArrow* arrow : {bar->DecButton(), bar->IncButton()}) {
            const TColor normal = arrow == bar->DecButton() ? kRed : kYellow;
            const TPoint p = CenterOf(*arrow);
            MouseMove(*form_, p.X, p.Y);
            EXPECT_EQ(Px(Render(*arrow), 8, 8), normal);
            MouseDown(*form_, p.X, p.Y);
            EXPECT_EQ(Px(Render(*arrow), 8, 8), normal);
            MouseUp(*form_, p.X, p.Y);
            MouseMove(*form_, 590, 440);
        }
    }
    // Enabled again, the hover shows.
    disabled->SetEnabled(true);
    const TPoint p = CenterOf(*disabled->DecButton());
    MouseMove(*form_, p.X, p.Y);
    EXPECT_EQ(Px(Render(*disabled->DecButton()), 8, 8), kGreen);
}

// The dark pixels of an arrow's glyph: darker than half grey.
int DarkPixels(const TBitmap& b, const TRect& r)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const TColor c = Px(b, x, y);
            n += gfx::GetRValue(c) + gfx::GetGValue(c) + gfx::GetBValue(c) < 3 * 0x60;
        }
    return n;
}

TEST_F(Bars, EveryBarShowsItsArrowsInEveryStyleAndFromASkin)
{
    // The style skin of castora's kind: the artwork of a style in a skin file.
    auto records = skinpack::StyleSkinRecords(TkivUIStyle::DeepBlue);
    const auto path = dir_.Path() / "style.skn";
    gfx::WriteFileBytes(path, skinpack::BuildArchive(skinpack::BuildPayload(records)));
    auto* theme = new TkivFileTheme(form_);
    theme->SetThemeFile(path.string());
    ASSERT_TRUE(theme->Ready());
    const TkivUIStyle styles[] = {TkivUIStyle::MacOS,   TkivUIStyle::WinXP,     TkivUIStyle::DeepBlue,
                                  TkivUIStyle::Protein, TkivUIStyle::BlueGlass, TkivUIStyle::FromThemeFile};
    for (TkivUIStyle style : styles) {
        SCOPED_TRACE(static_cast<int>(style));
        for (TkivProgressBarOrientation orientation : {kivHorizontal, kivVertical}) {
            auto* bar = Make<TkivScrollBar>(10, 10, 185, 185);
            bar->SetOrientation(orientation);
            bar->SetFileTheme(theme);
            bar->SetUIStyle(style);
            for (TkivScrollArrow* arrow : {bar->DecButton(), bar->IncButton()})
                EXPECT_GT(DarkPixels(Render(*arrow), arrow->ClientRect()), 3) << orientation;
            delete bar;
        }
    }
}

// --- progress bar ---------------------------------------------------------------

TEST_F(Bars, ProgressCaptionIsTheUnclampedPercent)
{
    auto* bar = Make<TkivProgressBar>(10, 10, 150, 12);
    EXPECT_EQ(bar->Caption(), "50%");
    const struct {
        int min, max, position;
        const char* caption;
        int filled;  // of 100 pixels
    } cases[] = {
        {0, 200, 50, "25%", 25},
        {0, 200, 250, "125%", 100},
        {5, 5, 5, "0%", 0},
        {10, 100, 0, "-11%", 0},
        {0, 2'000'000'000, 1'500'000'000, "75%", 75},
        {-2'000'000'000, 2'000'000'000, 0, "50%", 50},
    };
    for (const auto& c : cases) {
        bar->SetMin(c.min);
        bar->SetPosition(c.position);
        bar->SetMax(c.max);
        EXPECT_EQ(bar->Caption(), c.caption);
        EXPECT_EQ(bar->Position(), c.position);
        EXPECT_EQ(bar->FilledLength(100), c.filled) << c.caption;
    }
}

TEST_F(Bars, SmartCaptionHidesWhileAtMin)
{
    auto* bar = Make<TkivProgressBar>(10, 10, 150, 16);
    bar->SetCaptionColor(kRed);
    bar->SetSmartShowCaption(true);
    auto captionPixels = [&] {
        const TBitmap shot = Render(*bar);
        int n = 0;
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x) n += Px(shot, x, y) == kRed;
        return n;
    };
    bar->SetPosition(0);
    EXPECT_EQ(captionPixels(), 0);
    bar->SetPosition(1);
    EXPECT_GT(captionPixels(), 0);
    bar->SetShowCaption(false);
    EXPECT_EQ(captionPixels(), 0);
}

TEST_F(Bars, BuiltInProgressIsAFramedStretchedPicture)
{
    for (TkivUIStyle style : {TkivUIStyle::DeepBlue, TkivUIStyle::WinXP}) {
        SCOPED_TRACE(static_cast<int>(style));
        auto* bar = Make<TkivProgressBar>(10, 10, 150, 12);
        bar->SetUIStyle(style);
        bar->SetShowCaption(false);
        const TColor empty = skin::GetBuiltInColor(style, 26);
        const TColor frame = skin::GetBuiltInColor(style, 25);
        EXPECT_EQ(bar->Color(), empty);
        bar->SetPosition(0);
        TBitmap shot = Render(*bar);
        EXPECT_EQ(Px(shot, 0, 5), frame);
        EXPECT_EQ(Px(shot, 75, 0), frame);
        for (int x = 1; x < 149; ++x) ASSERT_EQ(Px(shot, x, 5), empty) << x;
        EXPECT_EQ(Px(shot, 149, 5), frame);

        bar->SetPosition(100);
        shot = Render(*bar);
        for (int x = 1; x < 149; ++x) {
            ASSERT_NE(Px(shot, x, 5), empty) << x;
            ASSERT_EQ(Px(shot, x, 5), Px(shot, 1, 5)) << x;
        }
        EXPECT_EQ(Px(shot, 149, 5), frame);
        delete bar;
    }
}

TEST_F(Bars, VerticalBuiltInProgressFillsFromTheBottomWithoutCaption)
{
    auto* bar = Make<TkivProgressBar>(10, 10, 14, 101);
    bar->SetOrientation(kivVertical);
    bar->SetPosition(50);
    const TBitmap shot = Render(*bar);
    EXPECT_FALSE(bar->ShowCaption());
    EXPECT_EQ(Px(shot, 7, 20), bar->Color());
    EXPECT_NE(Px(shot, 7, 80), bar->Color());
    bar->SetOrientation(kivHorizontal);
    EXPECT_FALSE(bar->ShowCaption());
}

TEST_F(Bars, SkinnedProgressIsFourPieces)
{
    TkivFileTheme* theme = Skin({skinpack::BitmapRecord("SKIN2_PROGRESSBAR1", Solid(3, 12, kRed)),
                                 skinpack::BitmapRecord("SKIN2_PROGRESSBAR2", Solid(9, 12, kGreen)),
                                 skinpack::BitmapRecord("SKIN2_PROGRESSBAR3", Solid(9, 12, kBlue)),
                                 skinpack::BitmapRecord("SKIN2_PROGRESSBAR4", Solid(3, 12, kYellow)),
                                 skinpack::IntegerRecord("SKIN2_CONTROLCOLOR", kTeal)});
    auto* bar = Make<TkivProgressBar>(10, 10, 150, 12);
    UseSkin(bar, theme);
    bar->SetShowCaption(false);
    EXPECT_EQ(bar->Color(), kTeal);
    TBitmap shot = Render(*bar);
    auto colourAt = [&](int x) {
        const TColor c = Px(shot, x, 6);
        return c == kRed ? 'S' : c == kGreen ? 'F' : c == kBlue ? 'E' : c == kYellow ? 'N' : '?';
    };
    std::string row;
    for (int x = 0; x < 150; ++x) row += colourAt(x);
    EXPECT_EQ(row, std::string(3, 'S') + std::string(72, 'F') + std::string(72, 'E') + std::string(3, 'N'));
    EXPECT_EQ(Px(shot, 75, 0), kBlue);  // no frame

    // Vertical: the pieces turned, filled from the bottom.
    bar->SetBounds(10, 10, 12, 100);
    bar->SetOrientation(kivVertical);
    shot = Render(*bar);
    std::string column;
    for (int y = 0; y < 100; ++y) {
        const TColor c = Px(shot, 6, y);
        column += c == kRed ? 'S' : c == kGreen ? 'F' : c == kBlue ? 'E' : c == kYellow ? 'N' : '?';
    }
    EXPECT_EQ(column,
              std::string(3, 'N') + std::string(47, 'E') + std::string(47, 'F') + std::string(3, 'S'));

    delete theme;
    EXPECT_EQ(bar->UIStyle(), TkivUIStyle::DeepBlue);
    EXPECT_EQ(bar->Color(), skin::GetBuiltInColor(TkivUIStyle::DeepBlue, 26));
}

}  // namespace
