// The title bar: caption fitting, the collections' rules, the buttons'
// pictures and actions, dragging, double-clicks and the system menu.
#include <gtest/gtest.h>

#include <optional>

#include "platform/core/application.h"
#include "platform/core/timer.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "platform/ui/msgbox.h"
#include "skin/kiv_built_in_file_theme.h"
#include "skin/kiv_form.h"
#include "skin/kiv_public.h"
#include "skin/kiv_title_bar.h"
#include "tests/skin/scoped_env.h"
#include "tools/skin-pack/skin_pack.h"

namespace {

namespace hl = ui::headless;

bool SamePixels(const TBitmap& a, const TBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (gfx::ColorRGB(a.Pixel(x, y)) != gfx::ColorRGB(b.Pixel(x, y))) return false;
    return true;
}

TBitmap Cell(TkivUIStyle style, int cell)
{
    TBitmap b;
    skin::GetBuiltInBitmap(style, 5, &b, cell, 18);
    return b;
}

class TitleBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::SetMessageBoxHook(
            [this](const std::string&, const std::string& text) { messages_.push_back(text); });
        host_ = CreateForm<TForm>();
        host_->SetBounds(100, 100, 300, 200);
        panel_ = new TkivForm(host_);
        bar_ = panel_->TitleBar();
        host_->Show();
        host_->RenderWindow();  // lays out the buttons
    }
    void TearDown() override { ui::SetMessageBoxHook(nullptr); }
    // The index of the first button of a kind.
    int IndexOf(TkivTitleBarBtnType type) const
    {
        for (int i = 0; i < bar_->Buttons().Count(); ++i)
            if (bar_->Buttons().Items(i)->ButtonType() == type) return i;
        return -1;
    }
    // A point inside a button, in the host's client pixels.
    TPoint Inside(int index) const
    {
        const TRect r = bar_->ButtonRect(index);
        return {bar_->Left() + (r.Left + r.Right) / 2, bar_->Top() + std::max(0, (r.Top + r.Bottom) / 2)};
    }

    core::TestApplication app_;
    std::vector<std::string> messages_;
    TForm* host_ = nullptr;
    TkivForm* panel_ = nullptr;
    TkivTitleBar* bar_ = nullptr;
};

TEST_F(TitleBar, StartsWithFourButtonsAndTheStylesSections)
{
    ASSERT_EQ(bar_->Buttons().Count(), 4);
    const TkivTitleBarBtnType order[] = {kivControlBox, kivClose, kivMax, kivMin};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(bar_->Buttons().Items(i)->ButtonType(), order[i]);
    EXPECT_EQ(bar_->Sections().Count(), 3);
    EXPECT_TRUE(bar_->HasStandardSections());
    EXPECT_EQ(bar_->Sections().Items(2)->Align(), kivClient);
    EXPECT_TRUE(bar_->IsInSkinForm());
    EXPECT_EQ(bar_->Height(), TkivForm::kCaptionHeight);
    EXPECT_EQ(bar_->Font().Name(), "Tahoma");
    EXPECT_TRUE(bar_->Font().Bold());
    // Each kind takes its three cells of the style's strip.
    const struct {
        TkivTitleBarBtnType type;
        int cell;
    } cells[] = {{kivControlBox, 1}, {kivClose, 16}, {kivMax, 7}, {kivMin, 13}};
    for (const auto& c : cells) {
        const TkivTitleBarButton* b = bar_->Buttons().Items(IndexOf(c.type));
        EXPECT_TRUE(SamePixels(b->PicNormal(), Cell(TkivUIStyle::DeepBlue, c.cell))) << c.type;
        EXPECT_TRUE(SamePixels(b->PicMouseOn(), Cell(TkivUIStyle::DeepBlue, c.cell + 1))) << c.type;
        EXPECT_TRUE(SamePixels(b->PicMouseDown(), Cell(TkivUIStyle::DeepBlue, c.cell + 2))) << c.type;
    }
}

TEST_F(TitleBar, ALongCaptionEndsInDotsAndOneThatCannotFitShowsDotsAlone)
{
    TBitmap scratch(1, 1);
    scratch.Canvas().Font().Assign(bar_->Font());
    const TCanvas& c = scratch.Canvas();
    const std::string text = "一二三四五六七八九十";
    EXPECT_EQ(TkivTitleBar::FitCaption(c, text, 1000), text);
    const std::string cut = TkivTitleBar::FitCaption(c, text, c.TextWidth("一二三..."));
    EXPECT_EQ(cut, "一二三...");

    // In the bar: the caption before the buttons.
    panel_->SetCaption(std::string(200, 'W'));
    host_->RenderWindow();
    const std::string drawn = bar_->DrawnCaption();
    ASSERT_GT(drawn.size(), 3u);
    EXPECT_EQ(drawn.substr(drawn.size() - 3), "...");
    EXPECT_LT(drawn.size(), 200u);

    // Narrower than the style's least width (which the host keeps to).
    host_->SetBounds(100, 100, 80, 200);
    EXPECT_EQ(host_->Width(), skin::GetBuiltInInt(TkivUIStyle::DeepBlue, 13));
    host_->Constraints().SetMinWidth(0);
    host_->SetBounds(100, 100, 80, 200);
    host_->RenderWindow();
    EXPECT_EQ(bar_->DrawnCaption(), "...");
}

TEST_F(TitleBar, ASecondControlBoxOrClientSectionIsRefused)
{
    TkivTitleBarButton* extra = bar_->Buttons().Add();
    extra->SetButtonType(kivControlBox);
    EXPECT_EQ(extra->ButtonType(), kivCustom);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "Sorry, only one button's ButtonType property can be \"kivControlBox\"");

    TkivTitleBarSection* section = bar_->Sections().Add();
    section->SetAlign(kivClient);
    EXPECT_EQ(section->Align(), kivLeft);
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[1], "Sorry, only one section's Align property can be \"kivClient\"");
    // The client section cannot lose its stretch.
    TkivTitleBarSection* client = bar_->Sections().Items(2);
    client->SetStretch(false);
    EXPECT_TRUE(client->Stretch());
}

TEST_F(TitleBar, DoubleClicksToggleMaximiseOrCloseOnTheControlBox)
{
    const TRect normal = host_->BoundsRect();
    hl::DoubleClick(*host_, 150, 10);
    EXPECT_EQ(host_->WindowState(), wsMaximized);
    // The maximise button shows the restore cells.
    const TkivTitleBarButton* max = bar_->Buttons().Items(IndexOf(kivMax));
    EXPECT_TRUE(SamePixels(max->PicNormal(), Cell(TkivUIStyle::DeepBlue, 10)));
    hl::DoubleClick(*host_, 150, 10);
    EXPECT_EQ(host_->WindowState(), wsNormal);
    EXPECT_EQ(host_->BoundsRect(), normal);
    EXPECT_TRUE(SamePixels(max->PicNormal(), Cell(TkivUIStyle::DeepBlue, 7)));

    host_->RenderWindow();
    // The second press of a double-click (a single press on the control
    // box opens the system menu, which the guard closes).
    const TPoint box = Inside(IndexOf(kivControlBox));
    bool menuShown = false;
    TTimer guard(nullptr);
    guard.SetInterval(1);
    guard.OnTimer = [&](TObject*) {
        if (TForm* window = ui::RunningMenuWindow()) {
            menuShown = true;
            hl::PostKey(*window, VK_ESCAPE);
        }
    };
    guard.SetEnabled(true);
    hl::PostMouseMove(*host_, box.X, box.Y);
    hl::PostMouseDown(*host_, box.X, box.Y, mbLeft, 2);
    hl::MouseUp(*host_, box.X, box.Y);
    guard.SetEnabled(false);
    EXPECT_FALSE(host_->Visible());
    // The form is gone before the release could open its menu.
    EXPECT_FALSE(menuShown);
}

TEST_F(TitleBar, PressingTheEmptyBarDragsOnlyANormalForm)
{
    hl::MouseDown(*host_, 150, 10);
    EXPECT_TRUE(host_->MoveDragging());
    hl::MouseUp(*host_, 150, 10);
    EXPECT_FALSE(host_->MoveDragging());

    host_->SetWindowState(wsMaximized);
    host_->RenderWindow();
    hl::MouseDown(*host_, 150, 10);
    EXPECT_FALSE(host_->MoveDragging());
    hl::MouseUp(*host_, 150, 10);
    EXPECT_EQ(host_->WindowState(), wsMaximized);
}

TEST_F(TitleBar, ButtonsLightUpUnderTheMouseAndActOnRelease)
{
    const int min = IndexOf(kivMin);
    const TPoint p = Inside(min);
    hl::MouseMove(*host_, p.X, p.Y);
    host_->RenderWindow();
    EXPECT_EQ(bar_->HotIndex(), min);
    const TRect r = bar_->ButtonRect(min);
    const TBitmap on = bar_->Buttons().Items(min)->PicMouseOn();
    const TBitmap window = host_->RenderWindow();
    const TPoint origin = bar_->ClientToScreen({r.Left, r.Top}) - host_->ClientToScreen({0, 0});
    const TRect ins = host_->NonClientInsets();
    const int sx = origin.X + ins.Left + on.Width() / 2, sy = origin.Y + ins.Top + on.Height() / 2;
    EXPECT_EQ(gfx::ColorRGB(window.Pixel(sx, sy)), gfx::ColorRGB(on.Pixel(on.Width() / 2, on.Height() / 2)));

    hl::Click(*host_, p.X, p.Y);
    EXPECT_EQ(host_->WindowState(), wsMinimized);
    host_->SetWindowState(wsNormal);
    host_->RenderWindow();

    // A custom button reports its index.
    TkivTitleBarButton* custom = bar_->Buttons().Add();
    custom->SetPicNormal(Cell(TkivUIStyle::DeepBlue, 4));
    custom->SetPicMouseOn(Cell(TkivUIStyle::DeepBlue, 5));
    custom->SetPicMouseDown(Cell(TkivUIStyle::DeepBlue, 6));
    int clicked = -1;
    panel_->OnTitleBarCustomBtnsClick = [&](TObject*, int index) { clicked = index; };
    host_->RenderWindow();
    const TPoint q = Inside(4);
    hl::Click(*host_, q.X, q.Y);
    EXPECT_EQ(clicked, 4);

    const TPoint close = Inside(IndexOf(kivClose));
    hl::Click(*host_, close.X, close.Y);
    EXPECT_FALSE(host_->Visible());
}

TEST_F(TitleBar, TheSystemMenuEnablesWhatTheButtonsOffer)
{
    bar_->Buttons().Items(IndexOf(kivMin))->SetVisible(false);
    TkivTitleBarPopupMenu* menu = bar_->SystemMenu();
    ASSERT_EQ(menu->Items()->Count(), 4);
    EXPECT_EQ(menu->Items()->Items(0)->Caption(), "最小化(&N)");
    EXPECT_EQ(menu->Items()->Items(1)->Caption(), "最大化/还原(&X)");
    EXPECT_TRUE(menu->Items()->Items(2)->IsLine());
    EXPECT_EQ(menu->Items()->Items(3)->Caption(), "关闭(&C)");
    TTimer timer(nullptr);
    timer.SetInterval(1);
    timer.OnTimer = [&](TObject*) {
        timer.SetEnabled(false);
        if (TForm* window = ui::RunningMenuWindow()) hl::PostKey(*window, VK_ESCAPE);
    };
    timer.SetEnabled(true);
    menu->Popup(120, 130);
    EXPECT_FALSE(menu->MinimizeItem()->Enabled());
    EXPECT_TRUE(menu->MaximizeItem()->Enabled());
    EXPECT_TRUE(menu->CloseItem()->Enabled());
    // Its maximise item acts as the maximise button.
    menu->MaximizeItem()->Click();
    EXPECT_EQ(host_->WindowState(), wsMaximized);
}

TEST_F(TitleBar, TheSystemMenuIsDrawnAsTheSkinnedMenusAreInEveryStyle)
{
    TkivTitleBarPopupMenu* menu = bar_->SystemMenu();
    auto* theme = new TkivBuiltInFileTheme(host_);
    const auto archive =
        skinpack::BuildArchive(skinpack::BuildPayload(skinpack::StyleSkinRecords(TkivUIStyle::Protein)));
    theme->SetSkinData({archive.begin(), archive.end()});
    ASSERT_TRUE(theme->Ready());
    for (TkivUIStyle style : {TkivUIStyle::MacOS, TkivUIStyle::WinXP, TkivUIStyle::DeepBlue,
                              TkivUIStyle::Protein, TkivUIStyle::BlueGlass, TkivUIStyle::FromThemeFile}) {
        SCOPED_TRACE(static_cast<int>(style));
        panel_->SetFileTheme(style == TkivUIStyle::FromThemeFile ? theme : nullptr);
        panel_->SetUIStyle(style);
        EXPECT_TRUE(menu->OwnerDraw());
        EXPECT_EQ(menu->UIStyle(), style);
        EXPECT_EQ(menu->FileTheme(), style == TkivUIStyle::FromThemeFile ? theme : nullptr);
        for (int i = 0; i < menu->Items()->Count(); ++i)
            EXPECT_TRUE(static_cast<bool>(menu->Items()->Items(i)->OnDrawItem));
        // The open menu shows its first item as the item draws itself.
        std::optional<TBitmap> shown;
        TTimer timer(nullptr);
        timer.SetInterval(1);
        timer.OnTimer = [&](TObject*) {
            timer.SetEnabled(false);
            if (TForm* window = ui::RunningMenuWindow()) {
                shown = hl::Capture(*window);
                hl::PostKey(*window, VK_ESCAPE);
            }
        };
        timer.SetEnabled(true);
        menu->Popup(120, 130);
        ASSERT_TRUE(shown.has_value());
        TMenuItem* first = menu->MinimizeItem();
        TBitmap alone(shown->Width() - 4, menu->MenuItemHeight(), clFuchsia);
        first->OnDrawItem(first, alone.Canvas(), alone.BoundsRect(), false);
        for (int x : {3, menu->BarWidth() + 2})
            EXPECT_EQ(gfx::ColorRGB(shown->Pixel(2 + x, 2 + 5)), gfx::ColorRGB(alone.Pixel(x, 5))) << x;
    }
}

TEST_F(TitleBar, TheCaptionTakesTheInactiveColourWhileTheFormIsInactive)
{
    panel_->SetInactiveCaptionColor(clRed);
    bar_->SetFormActive(false);
    panel_->SetCaption("MMMMMMMM");
    const TBitmap inactive = host_->RenderWindow();
    int red = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 150; ++x) red += gfx::ColorRGB(inactive.Pixel(x, y)) == clRed;
    EXPECT_GT(red, 0);
    bar_->SetFormActive(true);
    const TBitmap active = host_->RenderWindow();
    red = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 150; ++x) red += gfx::ColorRGB(active.Pixel(x, y)) == clRed;
    EXPECT_EQ(red, 0);
}

TEST_F(TitleBar, ARightToLeftBarOnAMiddleEastLocaleEndsItsCaptionAtTheButtonsAndShiftsItsMenu)
{
    panel_->SetInactiveCaptionColor(clRed);
    panel_->SetCaption("MMMM");
    bar_->SetBiDiMode(bdRightToLeft);
    int buttons = bar_->Width();
    for (int i = 0; i < bar_->Buttons().Count(); ++i)
        if (bar_->Buttons().Items(i)->ButtonType() != kivControlBox && !bar_->ButtonRect(i).IsEmpty())
            buttons = std::min(buttons, bar_->Left() + bar_->ButtonRect(i).Left);
    for (const auto& c : skintest::kLocales) {
        skintest::ScopedEnv locale("LC_ALL", c.locale);
        SCOPED_TRACE(c.locale);
        bar_->SetFormActive(false);  // the caption in red
        const TBitmap shot = host_->RenderWindow();
        int first = shot.Width(), last = -1;
        for (int y = 0; y < bar_->Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x)
                if (gfx::ColorRGB(shot.Pixel(x, y)) == clRed) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        ASSERT_GE(last, 0);
        if (c.rightToLeft) {
            EXPECT_GT(first, shot.Width() / 2);
            EXPECT_LT(last, buttons);
            EXPECT_GE(last, buttons - 12);
        } else {
            EXPECT_LT(first, 40);
        }

        // The system menu opens 176 pixels further right, and reads as the
        // bar does: its captions end at the right.
        int menuLeft = -1, inkFirst = -1, inkLast = -1, menuWidth = 0;
        TTimer timer(nullptr);
        timer.SetInterval(1);
        timer.OnTimer = [&](TObject*) {
            timer.SetEnabled(false);
            if (TForm* window = ui::RunningMenuWindow()) {
                menuLeft = window->Left();
                const TBitmap menu = window->RenderWindow();
                menuWidth = menu.Width();
                // The first item's row, its background taken in its middle above the text.
                const TColor background = gfx::ColorRGB(menu.Pixel(menu.Width() / 2, 4));
                inkFirst = menu.Width();
                for (int y = 6; y < 18; ++y)
                    for (int x = 4; x < menu.Width() - 4; ++x)
                        if (gfx::ColorRGB(menu.Pixel(x, y)) != background) {
                            inkFirst = std::min(inkFirst, x);
                            inkLast = std::max(inkLast, x);
                        }
                hl::PostKey(*window, VK_ESCAPE);
            }
        };
        timer.SetEnabled(true);
        bar_->SystemMenu()->Popup(120, 130);
        EXPECT_EQ(menuLeft, c.rightToLeft ? 120 + 176 : 120);
        EXPECT_EQ(bar_->SystemMenu()->BiDiMode(), bdRightToLeft);
        ASSERT_GE(inkLast, 0);
        if (c.rightToLeft)
            EXPECT_GT(inkFirst, menuWidth / 3) << inkFirst << " of " << menuWidth;
        else
            EXPECT_LT(inkFirst, menuWidth / 3) << inkFirst << " of " << menuWidth;
    }
}

}  // namespace
