// A skinned form showing a TkivMainMenu: the link between them, the bar
// following the menu's items, font and style, and the whole window with
// its system menu open in every style, free of the key colour.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "platform/core/application.h"
#include "platform/core/timer.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "platform/ui/menus.h"
#include "skin/kiv_built_in_file_theme.h"
#include "skin/kiv_form.h"
#include "skin/kiv_main_menu.h"
#include "skin/kiv_menu_bar.h"
#include "skin/kiv_themes.h"
#include "tools/skin-pack/skin_pack.h"

namespace {

std::vector<unsigned char> StyleSkin(TkivUIStyle style)
{
    const auto archive = skinpack::BuildArchive(skinpack::BuildPayload(skinpack::StyleSkinRecords(style)));
    return {archive.begin(), archive.end()};
}

class SkinnedMainMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        host_ = CreateForm<TForm>();
        host_->SetBounds(100, 100, 360, 240);
        panel_ = new TkivForm(host_);
        panel_->SetCaption("Album");
        menu_ = new TkivMainMenu(host_);
        for (const char* caption : {"&File", "&Edit", "&Help"}) Add(menu_->Items(), caption);
        menu_->Loaded();
    }
    TMenuItem* Add(TMenuItem* parent, const std::string& caption)
    {
        auto* item = new TMenuItem(host_);
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    }
    std::vector<std::string> Captions() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < panel_->MenuBar()->ButtonCount(); ++i)
            out.push_back(panel_->MenuBar()->Buttons(i).caption);
        return out;
    }
    // The colour a hot first button is filled with.
    TColor HotFill()
    {
        TkivMenuBar* bar = panel_->MenuBar();
        const TRect r = bar->Buttons(0).rect;
        const TPoint at = bar->ClientToAncestor({r.Left + 2, r.Top + 3}, host_);
        ui::headless::MouseMove(*host_, at.X, at.Y);
        EXPECT_EQ(bar->HotIndex(), 0);
        TBitmap picture(bar->Width(), bar->Height());
        bar->Paint(picture.Canvas());
        return gfx::ColorRGB(picture.Pixel(r.Left + 3, r.Top + 3));
    }

    core::TestApplication app_;
    TForm* host_ = nullptr;
    TkivForm* panel_ = nullptr;
    TkivMainMenu* menu_ = nullptr;
};

TEST_F(SkinnedMainMenu, TheMenuIsLinkedToTheFormThatShowsIt)
{
    EXPECT_EQ(menu_->MenuForm(), nullptr);
    panel_->SetMenu(menu_);
    EXPECT_EQ(menu_->MenuForm(), panel_);
    // Another menu takes its place: the first is let go.
    auto* other = new TkivMainMenu(host_);
    panel_->SetMenu(other);
    EXPECT_EQ(menu_->MenuForm(), nullptr);
    EXPECT_EQ(other->MenuForm(), panel_);
    panel_->SetMenu(nullptr);
    EXPECT_EQ(other->MenuForm(), nullptr);
    EXPECT_EQ(panel_->MenuBar(), nullptr);
    // The form going lets its menu go too.
    panel_->SetMenu(menu_);
    delete panel_;
    EXPECT_EQ(menu_->MenuForm(), nullptr);
    menu_->Items()->Items(0)->SetCaption("Still here");
}

TEST_F(SkinnedMainMenu, ItemsAddedRenamedOrRemovedLaterReachTheBar)
{
    panel_->SetMenu(menu_);
    ASSERT_NE(panel_->MenuBar(), nullptr);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&File", "&Edit", "&Help"}));

    TMenuItem* view = Add(menu_->Items(), "&View");
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&File", "&Edit", "&Help", "&View"}));
    const int before = panel_->MenuBar()->Buttons(3).rect.Width();
    view->SetCaption("&Viewing");
    EXPECT_EQ(panel_->MenuBar()->Buttons(3).caption, "&Viewing");
    EXPECT_GT(panel_->MenuBar()->Buttons(3).rect.Width(), before);
    menu_->Items()->Items(1)->SetEnabled(false);
    EXPECT_FALSE(panel_->MenuBar()->Buttons(1).enabled);
    menu_->Items()->Items(1)->SetVisible(false);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&File", "&Help", "&Viewing"}));
    menu_->Items()->Items(1)->SetVisible(true);
    delete menu_->Items()->Items(0);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&Edit", "&Help", "&Viewing"}));
    // Items added later draw skinned as well.
    TMenuItem* sub = Add(view, "Zoom");
    EXPECT_TRUE(static_cast<bool>(sub->OnDrawItem));
    // A sub-item's change keeps the buttons as they are.
    const TkivMenuBar::Button* first = &panel_->MenuBar()->Buttons(0);
    sub->SetCaption("Zoom in");
    EXPECT_EQ(&panel_->MenuBar()->Buttons(0), first);
}

TEST_F(SkinnedMainMenu, TheBarTakesTheMenusFont)
{
    panel_->SetMenu(menu_);
    TkivMenuBar* bar = panel_->MenuBar();
    const int systemWidth = bar->Buttons(0).rect.Width();
    menu_->SetUseSystemFont(false);
    menu_->SetFontName(gfx::kTestFontName);
    menu_->SetFontSize(20);
    EXPECT_EQ(bar->Font().Name(), gfx::kTestFontName);
    EXPECT_EQ(bar->Font().Size(), 20);
    EXPECT_GT(bar->Buttons(0).rect.Width(), systemWidth);
    const int big = bar->Buttons(0).rect.Width();
    menu_->SetFontSize(9);
    EXPECT_EQ(bar->Font().Size(), 9);
    EXPECT_LT(bar->Buttons(0).rect.Width(), big);
    // A rebuild keeps the size the menu asks for.
    panel_->RebuildMenuBar();
    EXPECT_EQ(bar->Font().Size(), 9);
}

TEST_F(SkinnedMainMenu, TheFormsStyleAndThemeArePushedToTheMenuWhichGovernsTheBar)
{
    panel_->SetMenu(menu_);
    host_->Show();
    for (TkivUIStyle style : {TkivUIStyle::WinXP, TkivUIStyle::Protein, TkivUIStyle::BlueGlass}) {
        panel_->SetUIStyle(style);
        EXPECT_EQ(menu_->UIStyle(), style);
        EXPECT_EQ(HotFill(), skin::GetBuiltInColor(style, 19));
    }
    // The menu's own style draws the bar, whatever the form's.
    menu_->SetUIStyle(TkivUIStyle::DeepBlue);
    EXPECT_EQ(panel_->UIStyle(), TkivUIStyle::BlueGlass);
    EXPECT_EQ(HotFill(), skin::GetBuiltInColor(TkivUIStyle::DeepBlue, 19));

    auto* theme = new TkivBuiltInFileTheme(host_);
    theme->SetSkinData(StyleSkin(TkivUIStyle::WinXP));
    ASSERT_TRUE(theme->Ready());
    panel_->SetFileTheme(theme);
    panel_->SetUIStyle(TkivUIStyle::FromThemeFile);
    EXPECT_EQ(menu_->FileTheme(), theme);
    EXPECT_EQ(menu_->UIStyle(), TkivUIStyle::FromThemeFile);
    EXPECT_EQ(HotFill(), gfx::ColorRGB(static_cast<TColor>(theme->GetColor(5))));
}

// --- the whole window -----------------------------------------------------------------------

// Where the picture shows the key colour (inside the window's shape).
std::vector<TPoint> KeyColourPixels(const TBitmap& picture, const std::optional<gfx::Region>& shape,
                                    TColor key)
{
    std::vector<TPoint> out;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if ((!shape || shape->Contains(x, y)) && gfx::ColorRGB(picture.Pixel(x, y)) == gfx::ColorRGB(key))
                out.push_back({x, y});
    return out;
}

std::string Describe(const std::vector<TPoint>& points)
{
    std::string out = std::to_string(points.size()) + " pixels:";
    for (std::size_t i = 0; i < points.size() && i < 8; ++i)
        out += " (" + std::to_string(points[i].X) + "," + std::to_string(points[i].Y) + ")";
    return out;
}

TEST_F(SkinnedMainMenu, NoStyleShowsTheKeyColourWithTheSystemMenuOpen)
{
    auto* theme = new TkivBuiltInFileTheme(host_);
    theme->SetSkinData(StyleSkin(TkivUIStyle::DeepBlue));
    ASSERT_TRUE(theme->Ready());
    for (TMenuItem* item : {menu_->Items()->Items(0), menu_->Items()->Items(2)}) Add(item, "Item");
    panel_->SetMenu(menu_);
    host_->Show();
    const TkivUIStyle styles[] = {TkivUIStyle::MacOS,   TkivUIStyle::WinXP,     TkivUIStyle::DeepBlue,
                                  TkivUIStyle::Protein, TkivUIStyle::BlueGlass, TkivUIStyle::FromThemeFile};
    for (TkivUIStyle style : styles) {
        SCOPED_TRACE(static_cast<int>(style));
        panel_->SetFileTheme(style == TkivUIStyle::FromThemeFile ? theme : nullptr);
        panel_->SetUIStyle(style);
        const TColor key = panel_->TransparentColor();
        const TBitmap window = ui::headless::Capture(*host_);
        for (TColor colour : {key, clMagenta}) {
            const auto shown = KeyColourPixels(window, host_->WindowRegion(), colour);
            EXPECT_TRUE(shown.empty()) << "window: " << Describe(shown);
        }

        std::optional<TBitmap> menuPicture;
        TTimer timer(nullptr);
        timer.SetInterval(1);
        timer.OnTimer = [&](TObject*) {
            timer.SetEnabled(false);
            if (TForm* shown = ui::RunningMenuWindow()) {
                ui::headless::MouseMove(*shown, 10, 8);
                menuPicture = ui::headless::Capture(*shown);
                ui::headless::PostKey(*shown, VK_ESCAPE);
            }
        };
        timer.SetEnabled(true);
        ui::headless::Key(*host_, VK_SPACE, ssAlt);
        ASSERT_TRUE(menuPicture.has_value());
        for (TColor colour : {key, clMagenta}) {
            const auto shown = KeyColourPixels(*menuPicture, std::nullopt, colour);
            EXPECT_TRUE(shown.empty()) << "system menu: " << Describe(shown);
        }
    }
}

}  // namespace
