// The skinned form: what it does to its host, the frame it paints in the
// built-in styles and from a skin, its window shape, the border-width
// message, Alt+Space, and the menu bar.
#include <gtest/gtest.h>

#include <set>

#include <optional>

#include "platform/core/application.h"
#include "platform/core/timer.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "platform/ui/menus.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/panel.h"
#include "skin/kiv_built_in_file_theme.h"
#include "skin/kiv_form.h"
#include "skin/kiv_menu_bar.h"
#include "skin/kiv_form_border.h"
#include "skin/kiv_public.h"
#include "tools/skin-pack/skin_pack.h"

namespace {

using skinpack::Record;

// A skin in the look of a built-in style, with some records replaced.
std::vector<unsigned char> Skin(TkivUIStyle style, const std::vector<Record>& changes = {})
{
    std::vector<Record> records = skinpack::StyleSkinRecords(style);
    for (const Record& change : changes) {
        auto it = std::find_if(records.begin(), records.end(),
                               [&](const Record& r) { return r.name == change.name; });
        if (it != records.end())
            *it = change;
        else
            records.push_back(change);
    }
    const auto archive = skinpack::BuildArchive(skinpack::BuildPayload(records));
    return {archive.begin(), archive.end()};
}

// A child control that publishes UIStyle and FileTheme.
class StyledChild : public TCustomControl, public IkivStyled {
public:
    using TCustomControl::TCustomControl;
    TkivUIStyle UIStyle() const override { return style_; }
    void SetUIStyle(TkivUIStyle style) override { style_ = style; }
    TkivFileTheme* FileTheme() const override { return theme_; }
    void SetFileTheme(TkivFileTheme* theme) override { theme_ = theme; }

private:
    TkivUIStyle style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* theme_ = nullptr;
};

constexpr TColor kSkinBorder = 0x123456;
constexpr TColor kSkinFormColor = 0x00C0D0E0;

class SkinnedForm : public ::testing::Test {
protected:
    // A host of 300 x 200 with its skinned panel.
    TForm* MakeHost(TFormBorderStyle style = bsSingle)
    {
        TForm* host = CreateForm<TForm>();
        host->SetBorderStyle(style);
        host->SetBounds(100, 100, 300, 200);
        host->SetCaption("Host");
        return host;
    }
    TkivForm* Skin(TForm* host)
    {
        auto* panel = new TkivForm(host);
        panel->SetCaption("Skinned");
        return panel;
    }
    // The skin theme with a given left border width.
    TkivBuiltInFileTheme* Theme(TForm* host, int leftWidth = 3)
    {
        auto* theme = new TkivBuiltInFileTheme(host);
        theme->SetSkinData(
            ::Skin(TkivUIStyle::DeepBlue,
                   {skinpack::BitmapRecord("SKIN2_FORMLEFTBORDER", TBitmap(leftWidth, 9, kSkinBorder)),
                    skinpack::BitmapRecord("SKIN2_FORMRIGHTBORDER", TBitmap(3, 9, kSkinBorder)),
                    skinpack::BitmapRecord("SKIN2_FORMBOTTOMBORDER1", TBitmap(3, 3, kSkinBorder)),
                    skinpack::BitmapRecord("SKIN2_FORMBOTTOMBORDER2", TBitmap(9, 3, kSkinBorder)),
                    skinpack::BitmapRecord("SKIN2_FORMBOTTOMBORDER3", TBitmap(3, 3, kSkinBorder)),
                    skinpack::IntegerRecord("SKIN2_FORMCOLOR", static_cast<std::int32_t>(kSkinFormColor))}));
        EXPECT_TRUE(theme->Ready());
        return theme;
    }

    core::TestApplication app_;
};

TEST_F(SkinnedForm, TakesOverTheHostsFrame)
{
    const struct {
        TFormBorderStyle before, after;
    } cases[] = {{bsSingle, bsDialog},     {bsNone, bsDialog},   {bsToolWindow, bsDialog},
                 {bsSizeable, bsSizeable}, {bsDialog, bsDialog}, {bsSizeToolWin, bsSizeToolWin}};
    for (const auto& c : cases) {
        TForm* host = MakeHost(c.before);
        TkivForm* panel = Skin(host);
        EXPECT_EQ(host->BorderStyle(), c.after) << c.before;
        EXPECT_EQ(panel->HostBorderStyleAtCreation(), c.before);
        EXPECT_EQ(host->FrameHook(), panel);
        EXPECT_EQ(panel->Align(), alClient);
        // The title bar and the host's window text show the panel's caption.
        EXPECT_EQ(host->Caption(), "Skinned");
        EXPECT_EQ(panel->TitleBar()->Caption(), "Skinned");
        delete host;
    }
}

TEST_F(SkinnedForm, TheCaptionIsTheHostWindowsTitle)
{
    TForm* host = MakeHost();
    auto* panel = new TkivForm(host);
    // Created with the host's text.
    EXPECT_EQ(panel->Caption(), "Host");
    host->Show();
    const ui::HeadlessBackend::WindowState* window = ui::Headless().StateOf(*host);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->title, "Host");
    panel->SetCaption("导入照片");
    EXPECT_EQ(host->Caption(), "导入照片");
    EXPECT_EQ(window->title, "导入照片");
    EXPECT_EQ(panel->TitleBar()->Caption(), "导入照片");
}

TEST_F(SkinnedForm, TheHostKeepsRoomForTheTitleBarMenuBarAndBottomEdge)
{
    TForm* host = MakeHost(bsSizeable);
    TkivForm* panel = Skin(host);
    for (TkivUIStyle style : {TkivUIStyle::MacOS, TkivUIStyle::WinXP, TkivUIStyle::DeepBlue,
                              TkivUIStyle::Protein, TkivUIStyle::BlueGlass}) {
        panel->SetUIStyle(style);
        EXPECT_EQ(host->Constraints().MinWidth(), skin::GetBuiltInInt(style, 13)) << static_cast<int>(style);
        EXPECT_EQ(host->Constraints().MinHeight(), panel->TitleBar()->Height() + panel->MenuBarHeight() + 3);
    }
    // A skin: its title pieces and buttons, and its bottom edge.
    auto* theme = Theme(host);
    panel->SetFileTheme(theme);
    panel->SetUIStyle(TkivUIStyle::FromThemeFile);
    const int buttonCell = theme->GetBitmap(11)->Width() / 18;
    const int buttons = panel->TitleBar()->Buttons().Count();
    EXPECT_EQ(host->Constraints().MinWidth(),
              theme->GetBitmap(0)->Width() +
                  std::max(theme->GetBitmap(2)->Width(), buttonCell * buttons + theme->GetInt(3)));
    EXPECT_EQ(host->Constraints().MinHeight(), panel->TitleBar()->Height() + panel->MenuBarHeight() + 3 + 3);

    // Code cannot make the host smaller, nor can its frame.
    host->SetBounds(100, 100, 10, 10);
    EXPECT_EQ(host->Width(), host->Constraints().MinWidth());
    EXPECT_EQ(host->Height(), host->Constraints().MinHeight());
    host->SetBounds(100, 100, 400, 300);
    host->Show();
    ui::InputEvent e;
    auto post = [&](ui::InputEvent::Kind kind, int x, int y) {
        e.kind = kind;
        e.pos = {x, y};
        e.screen_pos = {100 + x, 100 + y};
        ui::Headless().Post(*host, e);
        app_.App().ProcessMessages();
    };
    post(ui::InputEvent::MouseDown, 399, 299);
    EXPECT_TRUE(host->SizeDragging());
    post(ui::InputEvent::MouseMove, 419, 309);
    EXPECT_EQ(host->BoundsRect(), (TRect{100, 100, 520, 410}));
    post(ui::InputEvent::MouseMove, 0, 0);
    EXPECT_EQ(host->Width(), host->Constraints().MinWidth());
    EXPECT_EQ(host->Height(), host->Constraints().MinHeight());
    post(ui::InputEvent::MouseUp, 0, 0);
    EXPECT_EQ(ui::Headless().StateOf(*host)->min_height, host->Constraints().MinHeight());
}

TEST_F(SkinnedForm, ASecondPanelOnTheSameHostStaysInert)
{
    TForm* host = MakeHost();
    TkivForm* first = Skin(host);
    auto* second = new TkivForm(host);
    EXPECT_FALSE(first->Inert());
    EXPECT_TRUE(second->Inert());
    EXPECT_EQ(second->TitleBar(), nullptr);
    EXPECT_EQ(host->FrameHook(), first);
    // Its operations fall back to neutral values.
    EXPECT_EQ(second->RoundCorner(), 0);
    EXPECT_TRUE(second->TitleBarDrawAppIcon());
    EXPECT_EQ(second->GetFont(), nullptr);
    EXPECT_EQ(second->InactiveCaptionColor(), clInactiveCaption);
}

TEST_F(SkinnedForm, RemovingThePanelGivesTheHostItsFrameBack)
{
    TForm* host = MakeHost(bsSingle);
    TkivForm* panel = Skin(host);
    delete panel;
    EXPECT_EQ(host->FrameHook(), nullptr);
    EXPECT_EQ(host->BorderStyle(), bsSingle);
    EXPECT_FALSE(host->WindowRegion().has_value());
}

TEST_F(SkinnedForm, BuiltInStylesPaintTheirBorderAndCaptionStrip)
{
    for (TkivUIStyle style : {TkivUIStyle::DeepBlue, TkivUIStyle::WinXP, TkivUIStyle::BlueGlass}) {
        TForm* host = MakeHost();
        TkivForm* panel = Skin(host);
        panel->SetUIStyle(style);
        const TColor border = skin::GetBuiltInColor(style, 16);
        const int bw = skin::GetBuiltInInt(style, 17);
        EXPECT_EQ(panel->BorderColor(), border);
        EXPECT_EQ(panel->BorderWidth(), bw);
        EXPECT_EQ(panel->Color(), skin::GetBuiltInColor(style, 15));
        EXPECT_EQ(host->Perform(WM_SKIN_GETBORDERWIDTH), 0);
        const TBitmap w = host->RenderWindow();
        // Left, right and bottom lines in the border colour.
        EXPECT_EQ(gfx::ColorRGB(w.Pixel(0, 120)), border);
        EXPECT_EQ(gfx::ColorRGB(w.Pixel(299, 120)), border);
        EXPECT_EQ(gfx::ColorRGB(w.Pixel(150, 199)), border);
        // The title bar sits inside the frame, 3 px down, as high as its
        // section less 3; its client section shows through the middle.
        TBitmap client;
        skin::LoadBuiltInBitmap(style, 11, &client);
        EXPECT_EQ(panel->TitleBar()->Height(), client.Height() - 3);
        EXPECT_EQ(panel->GetTitleBarSpace(), client.Height());
        EXPECT_EQ(gfx::ColorRGB(w.Pixel(150, 1)), gfx::ColorRGB(client.Pixel(4, 1)))
            << static_cast<int>(style);
        EXPECT_EQ(gfx::ColorRGB(w.Pixel(150, 12)), gfx::ColorRGB(client.Pixel(4, 12)));
        // Below the caption: the form colour.
        EXPECT_EQ(gfx::ColorRGB(w.Pixel(150, 100)), panel->Color());
        delete host;
    }
}

TEST_F(SkinnedForm, AThinBorderWithCornerElevenDrawsTheTopArcs)
{
    // BlueGlass: border 1, corner 11 - arcs and a rounded window.
    TForm* host = MakeHost();
    TkivForm* panel = Skin(host);
    panel->SetUIStyle(TkivUIStyle::BlueGlass);
    ASSERT_EQ(panel->BorderWidth(), 1);
    ASSERT_EQ(panel->RoundCorner(), 11);
    TBitmap w = host->RenderWindow();
    // The arc passes through the corner's diagonal.
    bool arc = false;
    for (int k = 0; k < 6; ++k) arc |= gfx::ColorRGB(w.Pixel(2 + k, 2 + k)) == panel->BorderColor();
    EXPECT_TRUE(arc);
    ASSERT_TRUE(host->WindowRegion().has_value());
    EXPECT_FALSE(host->WindowRegion()->Contains(0, 0));
    EXPECT_TRUE(host->WindowRegion()->Contains(150, 0));

    // Another corner: no arcs, but the window is still rounded.
    panel->SetRoundCorner(8);
    w = host->RenderWindow();
    for (int k = 0; k < 6; ++k) EXPECT_NE(gfx::ColorRGB(w.Pixel(2 + k, 2 + k)), panel->BorderColor()) << k;
    ASSERT_TRUE(host->WindowRegion().has_value());
    EXPECT_FALSE(host->WindowRegion()->Contains(0, 0));

    // DeepBlue has no corners: no shape at all.
    panel->SetUIStyle(TkivUIStyle::DeepBlue);
    EXPECT_FALSE(host->WindowRegion().has_value());
}

TEST_F(SkinnedForm, HidingTheTitleBarSquaresTheWindowAndShowingItRestoresIt)
{
    TForm* host = MakeHost();
    TkivForm* panel = Skin(host);
    panel->SetUIStyle(TkivUIStyle::BlueGlass);
    TkivTitleBar* bar = panel->TitleBar();
    panel->SetTitleBarVisible(false);
    EXPECT_FALSE(panel->TitleBarVisible());
    EXPECT_EQ(panel->RoundCorner(), 0);
    EXPECT_EQ(panel->GetTitleBarSpace(), 0);
    EXPECT_FALSE(host->WindowRegion().has_value());
    // A top edge in the border colour.
    EXPECT_EQ(gfx::ColorRGB(host->RenderWindow().Pixel(150, 0)), panel->BorderColor());
    panel->SetTitleBarVisible(true);
    EXPECT_EQ(panel->TitleBar(), bar);
    EXPECT_TRUE(bar->Visible());
    EXPECT_EQ(bar->Top(), 0);
    EXPECT_EQ(panel->RoundCorner(), 11);
    EXPECT_TRUE(host->WindowRegion().has_value());
}

TEST_F(SkinnedForm, ASkinFilePaintsItsBordersAndAnswersTheBorderWidth)
{
    const struct {
        int left, answer;
        TRect insets;
    } cases[] = {{3, 4, {4, 3, 4, 4}}, {2, 4, {4, 3, 4, 4}}, {6, 6, {6, 3, 4, 4}}};
    for (const auto& c : cases) {
        TForm* host = MakeHost();
        TkivForm* panel = Skin(host);
        panel->SetFileTheme(Theme(host, c.left));
        panel->SetUIStyle(TkivUIStyle::FromThemeFile);
        EXPECT_EQ(panel->LeftBorderWidth(), c.left);
        EXPECT_EQ(host->Perform(WM_SKIN_GETBORDERWIDTH), c.answer);
        EXPECT_EQ(host->NonClientInsets(), c.insets) << c.left;
        EXPECT_EQ(panel->Color(), kSkinFormColor);
        const TBitmap w = host->RenderWindow();
        const int row = 120;
        for (int x = 0; x < c.left; ++x) EXPECT_EQ(gfx::ColorRGB(w.Pixel(x, row)), kSkinBorder) << x;
        // A border narrower than 4 gets a strip of the form colour beside it.
        for (int x = c.left; x < 4; ++x) EXPECT_EQ(gfx::ColorRGB(w.Pixel(x, row)), kSkinFormColor) << x;
        EXPECT_EQ(gfx::ColorRGB(w.Pixel(299, row)), kSkinBorder);
        EXPECT_EQ(gfx::ColorRGB(w.Pixel(150, 199)), kSkinBorder);
        delete host;
    }
}

TEST_F(SkinnedForm, AMenuBarColourTheSkinLacksIsDeepBlues)
{
    std::vector<Record> without = skinpack::StyleSkinRecords(TkivUIStyle::WinXP);
    std::erase_if(without, [](const Record& r) { return r.name == "SKIN2_MENUBARSTARTCOLOR"; });
    const auto archive = skinpack::BuildArchive(skinpack::BuildPayload(without));
    const struct {
        const char* what;
        std::vector<unsigned char> skin;
        TColor menu_bar;
    } cases[] = {
        {"the skin's own",
         ::Skin(TkivUIStyle::WinXP, {skinpack::IntegerRecord("SKIN2_MENUBARSTARTCOLOR", 0x102030)}),
         0x102030},
        {"none in the skin",
         {archive.begin(), archive.end()},
         skin::GetBuiltInColor(TkivUIStyle::DeepBlue, 15)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TForm* host = MakeHost();
        TkivForm* panel = Skin(host);
        auto* theme = new TkivBuiltInFileTheme(host);
        theme->SetSkinData(c.skin);
        ASSERT_TRUE(theme->Ready());
        panel->SetFileTheme(theme);
        panel->SetUIStyle(TkivUIStyle::FromThemeFile);
        EXPECT_EQ(panel->MenuBarColor(), c.menu_bar);
        delete host;
    }
}

TEST_F(SkinnedForm, AFiveSectionSkinGivesTheCaptionASectionOfItsOwn)
{
    TForm* host = MakeHost();
    TkivForm* panel = Skin(host);
    auto* theme = new TkivBuiltInFileTheme(host);
    const TColor capColour = 0x00204060, fontColour = 0x0000FFFF;
    theme->SetSkinData(
        ::Skin(TkivUIStyle::DeepBlue,
               {skinpack::BoolRecord("SKIN2_TITLEFIVESECT", true),
                skinpack::BitmapRecord("SKIN2_TITLEBAR2", TBitmap(4, 27, capColour)),
                skinpack::BitmapRecord("SKIN2_TITLEBAR4", TBitmap(4, 27, 0x00101010)),
                skinpack::BitmapRecord("SKIN2_TITLEBAR5", TBitmap(5, 27, 0x00303030)),
                skinpack::IntegerRecord("SKIN2_TITLEFONTCOLOR", static_cast<std::int32_t>(fontColour))}));
    panel->SetFileTheme(theme);
    panel->SetUIStyle(TkivUIStyle::FromThemeFile);
    TkivTitleBar* bar = panel->TitleBar();
    ASSERT_EQ(bar->Sections().Count(), 5);
    EXPECT_TRUE(bar->HasStandardSections());
    EXPECT_TRUE(bar->Sections().Items(1)->CapSec());
    EXPECT_EQ(bar->Sections().Items(3)->Align(), kivClient);
    EXPECT_EQ(bar->Sections().Items(4)->Align(), kivRight);
    EXPECT_EQ(bar->Font().Color(), fontColour);
    panel->SetCaption("Caption");
    const TBitmap w = host->RenderWindow();
    EXPECT_EQ(bar->DrawnCaption(), "Caption");
    // The caption section is stretched behind the caption text.
    const int left = host->NonClientInsets().Left + bar->Sections().Items(0)->Picture().Width() - 4;
    int found = 0;
    for (int x = left; x < left + 40; ++x) found += gfx::ColorRGB(w.Pixel(x, 20)) == capColour;
    EXPECT_GT(found, 0);
}

TEST_F(SkinnedForm, FormsTakeTheSkinTheProgramStores)
{
    // Without a stored skin nothing changes.
    TForm* lone = MakeHost();
    TkivForm* lonePanel = Skin(lone);
    lonePanel->UseProgramSkin();
    EXPECT_EQ(lonePanel->FileTheme(), nullptr);
    EXPECT_EQ(lonePanel->UIStyle(), TkivUIStyle::DeepBlue);

    TForm* main = MakeHost();
    Screen().SetMainForm(main);
    auto* stored = Theme(main);
    TkivForm* mainPanel = Skin(main);
    mainPanel->UseProgramSkin();
    EXPECT_EQ(mainPanel->FileTheme(), stored);
    TForm* dialog = MakeHost();
    TkivForm* dialogPanel = Skin(dialog);
    dialogPanel->UseProgramSkin();
    EXPECT_EQ(dialogPanel->FileTheme(), stored);
    EXPECT_EQ(dialogPanel->UIStyle(), TkivUIStyle::FromThemeFile);
    EXPECT_EQ(dialog->Perform(WM_SKIN_GETBORDERWIDTH), 4);
    Screen().SetMainForm(nullptr);
}

TEST_F(SkinnedForm, ASkinWithoutRegionSwitchesGivesAPlainWindow)
{
    TForm* host = MakeHost();
    TkivForm* panel = Skin(host);
    auto* theme = new TkivBuiltInFileTheme(host);
    theme->SetSkinData(
        ::Skin(TkivUIStyle::BlueGlass, {skinpack::BoolRecord("SKIN2_TITLEBARNEEDREGION", false)}));
    panel->SetFileTheme(theme);
    panel->SetUIStyle(TkivUIStyle::FromThemeFile);
    EXPECT_FALSE(host->WindowRegion().has_value());

    // With the switch on, the title strip's see-through corners are cut.
    theme->SetSkinData(::Skin(TkivUIStyle::BlueGlass));
    ASSERT_TRUE(panel->TitleNeedsRegion());
    ASSERT_TRUE(host->WindowRegion().has_value());
    EXPECT_TRUE(host->WindowRegion()->Contains(150, 0));
    EXPECT_TRUE(host->WindowRegion()->Contains(0, 100));
    EXPECT_FALSE(host->WindowRegion()->Contains(0, 0));
}

TEST_F(SkinnedForm, AMinimisedHostGetsNoBorderPainting)
{
    TForm* host = MakeHost();
    TkivForm* panel = Skin(host);
    host->Show();
    host->SetWindowState(wsMinimized);
    TBitmap picture(300, 200, clLime);
    panel->PaintFormBorderTo(picture.Canvas());
    EXPECT_EQ(picture.Pixel(0, 100), clLime);
    EXPECT_EQ(picture.Pixel(150, 199), clLime);
    host->SetWindowState(wsNormal);
    panel->PaintFormBorderTo(picture.Canvas());
    EXPECT_EQ(gfx::ColorRGB(picture.Pixel(0, 100)), panel->BorderColor());
}

TEST_F(SkinnedForm, RemovingTheThemeTurnsTheFormAndItsChildrenToDeepBlue)
{
    TForm* host = MakeHost();
    TkivForm* panel = Skin(host);
    auto* theme = Theme(host);
    auto* button = new StyledChild(host);
    button->SetParent(panel);
    panel->SetFileTheme(theme);
    panel->SetUIStyle(TkivUIStyle::FromThemeFile);
    button->SetFileTheme(theme);
    button->SetUIStyle(TkivUIStyle::FromThemeFile);
    ASSERT_EQ(panel->LeftBorderWidth(), 3);
    delete theme;
    EXPECT_EQ(panel->FileTheme(), nullptr);
    EXPECT_EQ(panel->UIStyle(), TkivUIStyle::DeepBlue);
    EXPECT_EQ(button->FileTheme(), nullptr);
    EXPECT_EQ(button->UIStyle(), TkivUIStyle::DeepBlue);
    EXPECT_EQ(panel->LeftBorderWidth(), 0);
    EXPECT_EQ(host->Perform(WM_SKIN_GETBORDERWIDTH), 0);
    EXPECT_EQ(panel->Color(), skin::GetBuiltInColor(TkivUIStyle::DeepBlue, 15));
}

TEST_F(SkinnedForm, MacOSAndProteinTileTheirBackgroundOthersFillWithTheFormColour)
{
    TForm* host = MakeHost();
    TkivForm* panel = Skin(host);
    for (TkivUIStyle style : {TkivUIStyle::MacOS, TkivUIStyle::Protein, TkivUIStyle::WinXP}) {
        panel->SetUIStyle(style);
        const TBitmap w = host->RenderWindow();
        const TColor a = gfx::ColorRGB(w.Pixel(150, 100)), b = gfx::ColorRGB(w.Pixel(150, 101));
        if (style == TkivUIStyle::WinXP) {
            EXPECT_EQ(a, panel->Color());
            EXPECT_EQ(b, panel->Color());
        } else {
            EXPECT_NE(a, b) << static_cast<int>(style);
        }
    }
}

TEST_F(SkinnedForm, StyleChangesReachTheChildrenOnlyWhenAsked)
{
    TForm* host = MakeHost();
    TkivForm* panel = Skin(host);
    auto* child = new StyledChild(host);
    child->SetParent(panel);
    panel->SetUIStyle(TkivUIStyle::WinXP);
    EXPECT_EQ(child->UIStyle(), TkivUIStyle::DeepBlue);
    panel->SetUIStyleAutoUpdateSub(true);
    panel->SetUIStyle(TkivUIStyle::Protein);
    EXPECT_EQ(child->UIStyle(), TkivUIStyle::Protein);
    EXPECT_EQ(panel->TitleBar()->UIStyle(), TkivUIStyle::Protein);
}

TEST_F(SkinnedForm, FormPanelFillsTheFormAndTheFormItselfIsRefused)
{
    std::vector<std::string> messages;
    ui::SetMessageBoxHook([&](const std::string&, const std::string& text) { messages.push_back(text); });
    TForm* host = MakeHost();
    TkivForm* panel = Skin(host);
    panel->SetFormPanel(panel);
    EXPECT_EQ(panel->FormPanel(), nullptr);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Sorry, you can't select the Form assign to FormPanel property");
    auto* inner = new TPanel(host);
    inner->SetParent(panel);
    inner->SetCaption("x");
    panel->SetFormPanel(inner);
    EXPECT_EQ(inner->Align(), alClient);
    EXPECT_EQ(inner->BevelOuter(), bvNone);
    EXPECT_EQ(inner->Caption(), "");
    delete inner;
    EXPECT_EQ(panel->FormPanel(), nullptr);
    ui::SetMessageBoxHook(nullptr);
}

TEST_F(SkinnedForm, AFormCreatedMaximisedReturnsToItsDesignBoundsWhenRestored)
{
    TForm* host = CreateForm<TForm>();
    host->SetBounds(40, 50, 320, 240);
    host->SetWindowState(wsMaximized);
    TkivForm* panel = Skin(host);
    (void)panel;
    host->Show();
    const TRect area = Screen().WorkAreaRect();
    // Maximised: the work area, the frame's outer pixels past its sides.
    EXPECT_EQ(host->BoundsRect(), (TRect{area.Left - 2, area.Top - 2, area.Right + 2, area.Bottom - 1}));
    host->SetWindowState(wsNormal);
    EXPECT_EQ(host->BoundsRect(), (TRect{40, 50, 360, 290}));
}

TEST_F(SkinnedForm, AltSpacePopsTheSkinnedSystemMenuOfTheFormItIsFor)
{
    TForm* first = MakeHost();
    first->SetBounds(400, 300, 300, 200);
    Skin(first);
    TForm* host = MakeHost();
    TkivForm* panel = Skin(host);
    first->Show();
    host->Show();
    std::optional<TPoint> shownAt;
    TTimer timer(nullptr);
    timer.SetInterval(1);
    timer.OnTimer = [&](TObject*) {
        timer.SetEnabled(false);
        if (TForm* shown = ui::RunningMenuWindow()) {
            shownAt = TPoint{shown->Left(), shown->Top()};
            ui::headless::PostKey(*shown, VK_ESCAPE);
        }
    };
    timer.SetEnabled(true);
    ui::headless::Key(*host, VK_SPACE, ssAlt);
    ASSERT_TRUE(shownAt.has_value());
    // Below the title bar of this form, not of the first one.
    EXPECT_EQ(shownAt->X, host->Left());
    EXPECT_EQ(shownAt->Y, host->Top() + panel->TitleBar()->Height());
}

// --- menu bar -------------------------------------------------------------------------------

class SkinnedMenuBar : public SkinnedForm {
protected:
    void SetUp() override
    {
        host_ = MakeHost();
        panel_ = Skin(host_);
        menu_ = new TMainMenu(host_);
        for (const char* caption : {"&File", "&Edit", "&Help"}) {
            auto* item = new TMenuItem(menu_);
            item->SetCaption(caption);
            auto* sub = new TMenuItem(menu_);
            sub->SetCaption(std::string(caption + 1) + " item");
            sub->OnClick = [this, caption](TObject*) { chosen_ = caption; };
            item->Add(sub);
            menu_->Items()->Add(item);
        }
    }
    TForm* host_ = nullptr;
    TkivForm* panel_ = nullptr;
    TMainMenu* menu_ = nullptr;
    std::string chosen_;
};

TEST_F(SkinnedMenuBar, OneButtonATopLevelItemInMenuOrder)
{
    panel_->SetMenu(menu_);
    TkivMenuBar* bar = panel_->MenuBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->ButtonCount(), 3);
    EXPECT_EQ(bar->Buttons(0).caption, "&File");
    EXPECT_EQ(bar->Buttons(1).caption, "&Edit");
    EXPECT_EQ(bar->Buttons(2).caption, "&Help");
    EXPECT_LT(bar->Buttons(0).rect.Left, bar->Buttons(1).rect.Left);
    // Under the title bar, which stays on top.
    EXPECT_EQ(panel_->TitleBar()->Top(), 0);
    EXPECT_EQ(bar->Top(), panel_->TitleBar()->Height());

    panel_->SetMenu(nullptr);
    EXPECT_EQ(panel_->MenuBar(), nullptr);
    panel_->SetMenu(menu_);
    delete menu_;
    EXPECT_EQ(panel_->Menu(), nullptr);
    EXPECT_EQ(panel_->MenuBar(), nullptr);
}

TEST_F(SkinnedMenuBar, ADisabledItemIsDrawnGreyAndCannotDropDown)
{
    menu_->Items()->Items(1)->SetEnabled(false);
    panel_->SetMenu(menu_);
    TkivMenuBar* bar = panel_->MenuBar();
    const TRect r = bar->Buttons(1).rect;
    TBitmap picture(bar->Width(), bar->Height());
    bar->Paint(picture.Canvas());
    int grey = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) grey += gfx::ColorRGB(picture.Pixel(x, y)) == 0x808080;
    EXPECT_GT(grey, 0);
    bar->DropDown(1);
    EXPECT_TRUE(chosen_.empty());
}

TEST_F(SkinnedMenuBar, ADropDownShowsTheItemsSubmenuAndGivesItBack)
{
    panel_->SetMenu(menu_);
    host_->Show();
    TTimer timer(nullptr);
    timer.SetInterval(1);
    timer.OnTimer = [&](TObject*) {
        timer.SetEnabled(false);
        if (TForm* menu = ui::RunningMenuWindow()) {
            ui::headless::PostKey(*menu, VK_DOWN);
            ui::headless::PostKey(*menu, VK_RETURN);
        }
    };
    timer.SetEnabled(true);
    panel_->MenuBar()->DropDown(2);
    EXPECT_EQ(chosen_, "&Help");
    ASSERT_EQ(menu_->Items()->Items(2)->Count(), 1);
    EXPECT_EQ(menu_->Items()->Items(2)->Items(0)->Caption(), "Help item");
}

TEST_F(SkinnedMenuBar, HotButtonsTakeTheStylesSelectionColours)
{
    panel_->SetMenu(menu_);
    host_->Show();
    TkivMenuBar* bar = panel_->MenuBar();
    const TRect r = bar->Buttons(0).rect;
    const TPoint at = bar->ClientToAncestor({r.Left + 2, r.Top + 3}, host_);
    ui::headless::MouseMove(*host_, at.X, at.Y);
    ASSERT_EQ(bar->HotIndex(), 0);
    auto probe = [&] {
        TBitmap picture(bar->Width(), bar->Height());
        bar->Paint(picture.Canvas());
        return std::pair{gfx::ColorRGB(picture.Pixel(r.Left + 3, r.Top + 3)),
                         gfx::ColorRGB(picture.Pixel(r.Right + 3, r.Top + 3))};
    };
    // DeepBlue: the selected fill; the bar's own colour beside it.
    auto [hot, beside] = probe();
    EXPECT_EQ(hot, skin::GetBuiltInColor(TkivUIStyle::DeepBlue, 19));
    EXPECT_EQ(beside, gfx::ColorRGB(bar->Color()));
    // MacOS: its pictures for the bar and the selection.
    panel_->SetUIStyle(TkivUIStyle::MacOS);
    TBitmap select, background;
    ASSERT_TRUE(skin::LoadBitmapResource("MACOS_MENU_SELECT", select));
    ASSERT_TRUE(skin::LoadBitmapResource("MACOS_MENU_BAR", background));
    std::tie(hot, beside) = probe();
    // The picture is stretched to the button's height: row 3 comes from
    // about row 3 * H / h of the picture.
    std::set<TColor> rows;
    for (int y = 3 * select.Height() / r.Height() - 1; y <= 3 * select.Height() / r.Height() + 1; ++y)
        if (y >= 0 && y < select.Height()) rows.insert(gfx::ColorRGB(select.Pixel(4, y)));
    EXPECT_TRUE(rows.count(hot)) << hot;
    EXPECT_NE(beside, gfx::ColorRGB(bar->Color()));
    // A skin file: its own selection colour.
    auto* theme = Theme(host_);
    panel_->SetFileTheme(theme);
    panel_->SetUIStyle(TkivUIStyle::FromThemeFile);
    std::tie(hot, beside) = probe();
    EXPECT_EQ(hot, static_cast<TColor>(theme->GetColor(5)));
}

TEST_F(SkinnedMenuBar, ShortcutsOfTheMenuRunWhileTheFormIsActive)
{
    TMenuItem* open = menu_->Items()->Items(0)->Items(0);
    open->SetShortCut(ShortCut('O', ssCtrl));
    panel_->SetMenu(menu_);
    host_->Show();
    ui::headless::Key(*host_, 'O', ssCtrl);
    EXPECT_EQ(chosen_, "&File");
}

TEST_F(SkinnedMenuBar, HeightAndColourReachTheBar)
{
    panel_->SetMenu(menu_);
    panel_->SetMenuBarHeight(30);
    TkivMenuBar* bar = panel_->MenuBar();
    EXPECT_EQ(bar->Height(), 30);
    for (int i = 0; i < bar->ButtonCount(); ++i) EXPECT_EQ(bar->Buttons(i).rect.Height(), 30);
    panel_->SetMenuBarColor(clTeal);
    EXPECT_EQ(bar->Color(), clTeal);
    // A renamed item shows after a refresh.
    menu_->Items()->Items(0)->SetCaption("Files");
    panel_->RefreshMenuBar();
    EXPECT_EQ(bar->Buttons(0).caption, "Files");
}

}  // namespace
