// The tab strip, the tabbed container and the page control: the look in
// the built-in styles and from a skin file, measuring and scrolling the
// tabs, clicks and the events around a change, and the page list.
#include <gtest/gtest.h>

#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/image_io.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_page_control.h"
#include "skin/kiv_public.h"
#include "skin/kiv_tab_sheet.h"
#include "tools/skin-pack/skin_pack.h"

namespace {

using ui::headless::Click;

class Tabs : public ::testing::Test {
protected:
    Tabs()
    {
        ui::Headless();
        form_ = CreateForm<TForm>();
        form_->SetBorderStyle(bsNone);
        form_->SetBounds(0, 0, 600, 400);
        form_->Show();
    }

    // A theme read from a skin file made of these records.
    TkivFileTheme* ThemeOf(const std::vector<skinpack::Record>& records, const std::string& name)
    {
        const auto file = dir_.Path() / name;
        gfx::WriteFileBytes(file, skinpack::BuildArchive(skinpack::BuildPayload(records)));
        auto* theme = new TkivFileTheme(form_);
        theme->SetThemeFile(file.string());
        return theme;
    }

    // A page control at (kLeft, kTop) of the form with a fixed-metric font:
    // a caption of n narrow characters makes a tab 5n + 20 wide.
    TkivPageControl* Pages(int count, int width = 200, const std::string& caption = "abcd")
    {
        auto* pages = new TkivPageControl(form_);
        pages->SetParent(form_);
        pages->SetBounds(kLeft, kTop, width, 150);
        pages->Font().SetName(gfx::kTestFontName);
        pages->Font().SetHeight(-10);
        for (int i = 0; i < count; ++i) {
            auto* sheet = new TkivTabSheet(form_);
            sheet->SetName("sheet" + std::to_string(i));
            sheet->SetCaption(caption);
            sheet->SetPageControl(pages);
        }
        return pages;
    }
    void ClickStrip(TkivPageControl* pages, int x, int y)
    {
        Click(*form_, pages->Left() + x, pages->Top() + y);
    }
    static TBitmap Shot(TControl& control)
    {
        TBitmap b(control.Width(), control.Height());
        control.PaintTo(b, 0, 0);
        return b;
    }

    static constexpr int kLeft = 10, kTop = 20;
    core::TestApplication app_;
    core::TestSystemDir system_;
    core::TempDir dir_;
    TForm* form_ = nullptr;
};

TBitmap Cell(TkivUIStyle style, int position, int index, int count)
{
    TBitmap cell;
    skin::GetBuiltInBitmap(style, position, &cell, index, count);
    return cell;
}

// --- the look -------------------------------------------------------------------------------------

TEST_F(Tabs, BuiltInStylesDrawTheirTabPicturesLineAndPageColours)
{
    for (TkivUIStyle style : {TkivUIStyle::DeepBlue, TkivUIStyle::WinXP}) {
        TkivPageControl* pages = Pages(2);
        pages->SetUIStyle(style);
        pages->SetActivePageIndex(0);
        const TBitmap active = Cell(style, 39, 1, 2), inactive = Cell(style, 39, 2, 2);
        TBitmap line;
        skin::LoadBuiltInBitmap(style, 40, &line);
        const int strip = active.Height() + line.Height();
        EXPECT_EQ(pages->TopPanel()->Height(), strip);
        EXPECT_EQ(strip, TkivPageControl::kTabHeight);
        const TBitmap shot = Shot(*pages);
        // Tab 0 (active) one pixel lower than tab 1, both from their pictures' left ends.
        EXPECT_EQ(shot.Pixel(10 + 3, 1 + 4), active.Pixel(3, 4));
        EXPECT_EQ(shot.Pixel(50 + 3, 4), inactive.Pixel(3, 4));
        EXPECT_NE(active.Pixel(3, 4), inactive.Pixel(3, 4));
        // The picture's magenta corner lets the strip's colour through.
        EXPECT_EQ(shot.Pixel(50, 0), skin::GetBuiltInColor(style, 26));
        EXPECT_EQ(shot.Pixel(150, active.Height() + 1), line.Pixel(4, 1));
        // The page area: white for WinXP, the tab colour otherwise, framed by the border colour.
        const TColor page = style == TkivUIStyle::WinXP ? clWhite : skin::GetBuiltInColor(style, 26);
        EXPECT_EQ(pages->Color(), page);
        EXPECT_EQ(pages->Pages(0)->Color(), page);
        EXPECT_EQ(shot.Pixel(0, 100), skin::GetBuiltInColor(style, 25));
        EXPECT_EQ(shot.Pixel(100, 149), skin::GetBuiltInColor(style, 25));
        EXPECT_EQ(shot.Pixel(1, 100), page);
        delete pages;
    }
}

TEST_F(Tabs, ASkinFileGivesItsTabPicturesColoursAndStripHeight)
{
    auto records = skinpack::StyleSkinRecords(TkivUIStyle::DeepBlue);
    auto replace = [&](skinpack::Record record) {
        for (auto& r : records)
            if (r.name == record.name) r = record;
    };
    TBitmap tabs(60, 18, clRed);
    tabs.Canvas().Brush().SetColor(clLime);
    tabs.Canvas().FillRect({30, 0, 60, 18});
    replace(skinpack::BitmapRecord("SKIN2_TABCONTROL", tabs));
    replace(skinpack::BitmapRecord("SKIN2_TABCONTROLLINE", TBitmap(6, 4, clBlue)));
    replace(skinpack::IntegerRecord("SKIN2_FORMCOLOR", 0x123456));
    replace(skinpack::IntegerRecord("SKIN2_CONTROLBORDERCOLOR", 0x0000AA));
    auto* theme = ThemeOf(records, "tabs.skn");
    ASSERT_TRUE(theme->Ready());

    TkivPageControl* pages = Pages(2);
    pages->SetUIStyle(TkivUIStyle::FromThemeFile);
    pages->SetFileTheme(theme);
    pages->SetActivePageIndex(1);
    EXPECT_EQ(pages->TopPanel()->Height(), 22);
    EXPECT_EQ(pages->Pages(0)->Top(), 22 + 3);
    const TBitmap shot = Shot(*pages);
    EXPECT_EQ(shot.Pixel(10 + 3, 5), clLime);        // inactive tab 0
    EXPECT_EQ(shot.Pixel(50 + 3, 5), clRed);         // active tab 1
    EXPECT_EQ(shot.Pixel(150, 19), clBlue);          // the line under the tabs
    EXPECT_EQ(shot.Pixel(0, 19), TColor(0x0000AA));  // its ends in the border colour
    EXPECT_EQ(shot.Pixel(100, 100), TColor(0x123456));

    // The theme going away leaves DeepBlue.
    delete theme;
    EXPECT_EQ(pages->UIStyle(), TkivUIStyle::DeepBlue);
    EXPECT_EQ(pages->TopPanel()->Height(), TkivPageControl::kTabHeight);
}

TEST_F(Tabs, ASkinWithoutTabColoursTakesDeepBluesNotWhite)
{
    auto records = skinpack::StyleSkinRecords(TkivUIStyle::WinXP);
    std::erase_if(records, [](const skinpack::Record& r) {
        return r.name == "SKIN2_FORMCOLOR" || r.name == "SKIN2_CONTROLBORDERCOLOR" ||
               r.name == "SKIN2_TABCONTROLACTIVEFONTCOLOR" || r.name == "SKIN2_TABCONTROLINACTIVEFONTCOLOR";
    });
    auto* theme = ThemeOf(records, "bare.skn");
    ASSERT_TRUE(theme->Ready());
    TkivPageControl* pages = Pages(2);
    pages->SetUIStyle(TkivUIStyle::FromThemeFile);
    pages->SetFileTheme(theme);
    const auto D = TkivUIStyle::DeepBlue;
    EXPECT_EQ(pages->TopPanel()->Color(), skin::GetBuiltInColor(D, 26));
    EXPECT_EQ(pages->Color(), skin::GetBuiltInColor(D, 26));
    EXPECT_EQ(pages->BorderColor(), skin::GetBuiltInColor(D, 25));
    EXPECT_EQ(pages->TopPanel()->ActiveFontColor(), clBlack);
    EXPECT_EQ(pages->TopPanel()->InactiveFontColor(), clBlack);
    EXPECT_EQ(Shot(*pages).Pixel(100, 100), skin::GetBuiltInColor(D, 26));
}

TEST_F(Tabs, TheControlsCursorShowsOverItsStrip)
{
    TkivPageControl* pages = Pages(2);
    pages->SetCursor(crHandPoint);
    EXPECT_EQ(pages->TopPanel()->Cursor(), crHandPoint);
    ui::headless::MouseMove(*form_, kLeft + 100, kTop + 5);
    EXPECT_EQ(ui::Headless().CursorShape(), crHandPoint);
    pages->SetCursor(crDefault);
    EXPECT_EQ(pages->TopPanel()->Cursor(), crDefault);
}

TEST_F(Tabs, BottomTabsSitUnderThePageArea)
{
    TkivPageControl* pages = Pages(2);
    pages->SetTabPosition(kivBottom);
    EXPECT_EQ(pages->TopPanel()->Top(), 150 - TkivPageControl::kTabHeight);
    EXPECT_EQ(pages->Pages(1)->BoundsRect(), (TRect{3, 3, 197, 150 - TkivPageControl::kTabHeight - 3}));
    // Clicking a tab at the bottom selects it.
    ClickStrip(pages, 30, 150 - 8);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(0));
}

// --- measuring, scrolling and clicking --------------------------------------------------------------

TEST_F(Tabs, OnlyTheLastTabMayReachTheEndMarginAndACutTabShowsTheArrows)
{
    // Width 200: arrows 16 wide, so tabs other than the last stop at 166, the last at 190.
    TkivPageControl* four = Pages(4);  // tabs end at 50, 90, 130, 170
    EXPECT_FALSE(four->TopPanel()->ArrowsShown());
    EXPECT_EQ(four->TopPanel()->TabWidth(3), 40);
    delete four;

    TkivPageControl* five = Pages(5);
    five->SetActivePageIndex(0);
    EXPECT_TRUE(five->TopPanel()->ArrowsShown());
    EXPECT_EQ(five->TopPanel()->TabWidth(3), 36);  // what shows of it
    EXPECT_EQ(five->TopPanel()->RightArrowRect(), (TRect{182, 2, 198, 18}));
    EXPECT_EQ(five->TopPanel()->LeftArrowRect(), (TRect{166, 2, 182, 18}));
    // Clicking the cut tab where it shows selects it.
    ClickStrip(five, 150, 10);
    EXPECT_EQ(five->ActivePage(), five->Pages(3));
}

TEST_F(Tabs, ArrowsScrollTheTabsOnlyWhereTheyCan)
{
    TkivPageControl* pages = Pages(6);
    pages->SetActivePageIndex(0);
    ASSERT_TRUE(pages->TopPanel()->ArrowsShown());
    // The arrow under the mouse shows its lit cell.
    const TBitmap right = Cell(TkivUIStyle::DeepBlue, 38, 1, 4),
                  rightLit = Cell(TkivUIStyle::DeepBlue, 38, 2, 4);
    ASSERT_NE(right.Pixel(3, 13), rightLit.Pixel(3, 13));
    EXPECT_EQ(Shot(*pages).Pixel(182 + 3, 2 + 13), right.Pixel(3, 13));
    ui::headless::MouseMove(*form_, kLeft + 190, kTop + 10);
    EXPECT_EQ(Shot(*pages).Pixel(182 + 3, 2 + 13), rightLit.Pixel(3, 13));
    ClickStrip(pages, 170, 10);  // left arrow at the start
    EXPECT_EQ(pages->TopPanel()->FirstTab(), 0);
    ClickStrip(pages, 190, 10);
    EXPECT_EQ(pages->TopPanel()->FirstTab(), 1);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(0)) << "an arrow selects nothing";
    // Tab 2 is now the second one drawn.
    ClickStrip(pages, 70, 10);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(2));
    ClickStrip(pages, 170, 10);
    EXPECT_EQ(pages->TopPanel()->FirstTab(), 0);

    // Without arrows their place is dead.
    TkivPageControl* few = Pages(2);
    few->SetTop(200);
    few->SetActivePageIndex(1);
    ClickStrip(few, 190, 10);
    EXPECT_EQ(few->TopPanel()->FirstTab(), 0);
    EXPECT_EQ(few->ActivePage(), few->Pages(1));
}

TEST_F(Tabs, SelectingAHiddenTabByCodeScrollsItIntoView)
{
    TkivPageControl* pages = Pages(8);
    pages->SetActivePageIndex(0);  // the last page added scrolled the strip: back to the start
    EXPECT_EQ(pages->TopPanel()->FirstTab(), 0);
    pages->SetActivePageIndex(6);
    // Tabs 4, 5 and 6 fit before the arrows.
    EXPECT_EQ(pages->TopPanel()->FirstTab(), 4);
    EXPECT_EQ(pages->TopPanel()->TabWidth(6), 40);
    ClickStrip(pages, 10 + 40 + 20, 10);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(5));
}

TEST_F(Tabs, EveryDrawnTabCanBeClickedHoweverManyThereAre)
{
    TkivPageControl* pages = Pages(70);
    pages->SetActivePageIndex(68);
    pages->SetActivePageIndex(66);
    ASSERT_EQ(pages->TopPanel()->FirstTab(), 66);
    ClickStrip(pages, 10 + 40 + 20, 10);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(67));
    ClickStrip(pages, 10 + 80 + 20, 10);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(68));
}

TEST_F(Tabs, ChangesByCodeAreNeverAskedAndAClickMayBeRefused)
{
    TkivPageControl* pages = Pages(3);
    std::vector<std::string> log;
    pages->OnChanging = [&](TObject* sender, bool& allow) {
        EXPECT_EQ(sender, pages);
        log.push_back("changing");
        allow = log.size() > 1;
    };
    pages->OnTabActive = [&](TObject*, int index) { log.push_back("active" + std::to_string(index)); };
    pages->OnChange = [&](TObject*) { log.push_back("change"); };
    int clicks = 0;
    pages->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, pages);
        ++clicks;
    };
    pages->SetActivePageIndex(0);
    EXPECT_EQ(log, (std::vector<std::string>{"active0", "change"}));
    log.clear();
    ClickStrip(pages, 70, 10);  // refused
    EXPECT_EQ(log, (std::vector<std::string>{"changing"}));
    EXPECT_EQ(pages->ActivePage(), pages->Pages(0));
    EXPECT_EQ(pages->TopPanel()->TabIndex(), 0);
    ClickStrip(pages, 70, 10);
    EXPECT_EQ(log, (std::vector<std::string>{"changing", "changing", "active1", "change"}));
    EXPECT_EQ(pages->ActivePage(), pages->Pages(1));
    EXPECT_EQ(clicks, 2);
}

TEST_F(Tabs, AnEmptyStripPaintsAndSelectsNothing)
{
    TkivPageControl* pages = Pages(0);
    EXPECT_EQ(pages->PageCount(), 0);
    EXPECT_EQ(pages->GetActivePageIndex(), 0);
    EXPECT_EQ(pages->ActivePage(), nullptr);
    pages->TopPanel()->SetTabIndex(2);
    EXPECT_EQ(pages->TopPanel()->TabIndex(), -1);
    pages->SetActivePageIndex(0);
    EXPECT_EQ(pages->TopPanel()->TabIndex(), -1);
    const TBitmap shot = Shot(*pages);
    EXPECT_FALSE(pages->TopPanel()->ArrowsShown());
    EXPECT_EQ(shot.Pixel(100, 5), skin::GetBuiltInColor(TkivUIStyle::DeepBlue, 26));
    ClickStrip(pages, 30, 10);
    EXPECT_EQ(pages->ActivePage(), nullptr);
}

// --- the page list ----------------------------------------------------------------------------------

struct ShowLog {
    std::string text;
    void Watch(TkivTabSheet* sheet, const std::string& name)
    {
        sheet->OnShow = [this, name](TObject*) { text += "+" + name; };
        sheet->OnHide = [this, name](TObject*) { text += "-" + name; };
    }
};

TEST_F(Tabs, ActivatingByCodeShowsTwiceAndByClickOnce)
{
    TkivPageControl* pages = Pages(3);
    pages->SetActivePageIndex(0);
    ShowLog log;
    log.Watch(pages->Pages(0), "a");
    log.Watch(pages->Pages(1), "b");
    pages->SetActivePage(pages->Pages(1));
    EXPECT_EQ(log.text, "-a+b+b");
    EXPECT_FALSE(pages->Pages(0)->Enabled());
    EXPECT_TRUE(pages->Pages(0)->Visible()) << "behind the active page";
    log.text.clear();
    ClickStrip(pages, 30, 10);
    EXPECT_EQ(log.text, "-b+a");
    EXPECT_EQ(pages->GetActivePageIndex(), 0);
    // No tab chosen, no page active.
    log.text.clear();
    pages->TopPanel()->SetTabIndex(-1);
    EXPECT_EQ(log.text, "-a");
    EXPECT_EQ(pages->ActivePage(), nullptr);
}

TEST_F(Tabs, RemovingAPageActivatesTheOneBeforeIt)
{
    TkivPageControl* pages = Pages(3);
    TkivTabSheet* a = pages->Pages(0);
    TkivTabSheet* b = pages->Pages(1);
    ShowLog log;
    log.Watch(b, "b");
    pages->SetActivePage(b);
    log.text.clear();
    delete b;
    EXPECT_EQ(log.text, "-b");
    EXPECT_EQ(pages->ActivePage(), a);
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->Pages(1)->PageIndex(), 1);
    EXPECT_EQ(pages->TopPanel()->Tabs().Count(), 2);

    a->SetPageControl(nullptr);
    EXPECT_EQ(pages->ActivePage(), nullptr);
    EXPECT_EQ(pages->GetActivePageIndex(), 0);
    // The remaining tab can be chosen again.
    ClickStrip(pages, 30, 10);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(0));
}

TEST_F(Tabs, HidingTheActiveTabMovesToTheNearestShownTab)
{
    TkivPageControl* pages = Pages(4);
    pages->Pages(1)->SetTabVisible(false);
    pages->SetActivePageIndex(2);
    pages->Pages(2)->SetTabVisible(false);  // tab 1 hidden too: tab 0
    EXPECT_EQ(pages->GetActivePageIndex(), 0);
    pages->Pages(0)->SetTabVisible(false);  // nothing shown on the left: tab 3
    EXPECT_EQ(pages->GetActivePageIndex(), 3);
    pages->Pages(3)->SetTabVisible(false);  // the only shown tab
    EXPECT_EQ(pages->GetActivePageIndex(), 3);
    EXPECT_EQ(pages->TopPanel()->TabWidth(1), 0);

    // A hidden tab takes no room: tab 2 follows tab 0 directly.
    pages->Pages(0)->SetTabVisible(true);
    pages->Pages(2)->SetTabVisible(true);
    ClickStrip(pages, 70, 10);
    EXPECT_EQ(pages->GetActivePageIndex(), 2);
    // The flags stay with their pages when the pages move.
    int to = 0;
    pages->MovePage(pages->Pages(1), to);
    EXPECT_FALSE(pages->Pages(0)->TabVisible());
    EXPECT_FALSE(pages->TopPanel()->TabShown(0));
    EXPECT_TRUE(pages->TopPanel()->TabShown(1));
}

TEST_F(Tabs, PageIndexMovesWithinThePagesOnly)
{
    TkivPageControl* pages = Pages(3);
    pages->Pages(0)->SetCaption("x");
    TkivTabSheet* first = pages->Pages(0);
    first->SetPageIndex(5);
    EXPECT_EQ(first->PageIndex(), 0);
    first->SetPageIndex(2);
    EXPECT_EQ(first->PageIndex(), 2);
    EXPECT_EQ(pages->Pages(2), first);
    EXPECT_EQ(pages->TopPanel()->Tabs()[2], "x");
    EXPECT_EQ(pages->ActivePage(), first);

    TkivTabSheet loose(form_);
    loose.SetImageIndex(3);
    loose.SetPageIndex(1);
    EXPECT_EQ(loose.ImageIndex(), -1);
    EXPECT_EQ(loose.PageIndex(), -1);
}

TEST_F(Tabs, LoadingRestoresThePageOrderAndTabVisibility)
{
    auto* pages = new TkivPageControl(form_);
    pages->SetName("kivPageControl1");
    pages->SetParent(form_);
    pages->SetLoading(true);
    pages->ReadPagesProperty({"second", "first", "third"});
    for (const char* name : {"first", "third", "second"}) {
        auto* sheet = new TkivTabSheet(form_);
        sheet->SetName(name);
        sheet->SetCaption(name);
        sheet->SetTabVisible(std::string(name) != "third");
        sheet->ReadPageControlProperty("kivPageControl1");
    }
    pages->SetLoading(false);
    ASSERT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(pages->PagesProperty(), (std::vector<std::string>{"second", "first", "third"}));
    EXPECT_EQ(pages->TopPanel()->Tabs().Text(), "second\r\nfirst\r\nthird\r\n");
    EXPECT_FALSE(pages->TopPanel()->TabShown(2));
    EXPECT_TRUE(pages->TopPanel()->TabShown(0));
    EXPECT_EQ(pages->Pages(0)->PageControlProperty(), "kivPageControl1");
}

TEST_F(Tabs, ActivatingAPageFocusesItsFirstControl)
{
    TkivPageControl* pages = Pages(2);
    auto* button = new TButton(form_);
    button->SetParent(pages->Pages(1));
    button->SetBounds(5, 5, 60, 20);
    pages->SetActivePageIndex(0);
    pages->SetActivePageIndex(1);
    EXPECT_EQ(form_->ActiveControl(), button);
}

}  // namespace
