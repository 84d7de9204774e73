// The skinned menus: the style's sizes and colours, measuring, drawing
// each kind of item, the check marks, items added later, and a running
// popup's flat frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/image_io.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "platform/ui/image_list.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_main_menu.h"
#include "skin/kiv_popup_menu.h"
#include "tools/skin-pack/skin_pack.h"

namespace {

class Menus : public ::testing::Test {
protected:
    Menus()
    {
        ui::Headless();
        form_ = CreateForm<TForm>();
        form_->SetBorderStyle(bsNone);
        form_->SetBounds(0, 0, 400, 300);
        form_->Show();
    }
    ~Menus() override { skin::SetSystemMenuFontQuery(nullptr); }

    TMenuItem* Add(TMenu& menu, const std::string& caption)
    {
        auto* item = new TMenuItem(form_);
        item->SetCaption(caption);
        menu.Items()->Add(item);
        return item;
    }
    // One item drawn alone on a bitmap of 120 x height.
    static TBitmap Draw(TMenuItem* item, bool selected, int height = 21)
    {
        TBitmap b(120, height, clFuchsia);
        item->OnDrawItem(item, b.Canvas(), TRect{0, 0, 120, height}, selected);
        return b;
    }

    core::TestApplication app_;
    core::TestSystemDir system_;
    core::TempDir dir_;
    TForm* form_ = nullptr;
};

TEST_F(Menus, StylesSetSizesAndColoursFromTheirTables)
{
    TkivPopupMenu menu(form_);
    EXPECT_TRUE(menu.OwnerDraw());
    menu.SetOwnerDraw(false);
    EXPECT_TRUE(menu.OwnerDraw());
    for (TkivUIStyle style : {TkivUIStyle::DeepBlue, TkivUIStyle::WinXP, TkivUIStyle::MacOS}) {
        menu.SetUIStyle(style);
        const bool mac = style == TkivUIStyle::MacOS;
        EXPECT_EQ(menu.BarWidth(), 26);
        EXPECT_EQ(menu.MenuItemHeight(), mac ? 20 : 21);
        EXPECT_EQ(menu.SeparatorHeight(), mac ? 12 : 5);
        EXPECT_EQ(menu.SeparatorColor(), mac ? clBlack : TColor(0x848284));
        EXPECT_EQ(menu.BarColor(), skin::GetBuiltInColor(style, 23));
        EXPECT_EQ(menu.Color(), skin::GetBuiltInColor(style, 21));
        EXPECT_EQ(menu.FontColor(), skin::GetBuiltInColor(style, 22));
        EXPECT_EQ(menu.SelectedBorderColor(), skin::GetBuiltInColor(style, 18));
        EXPECT_EQ(menu.SelectedColor(), skin::GetBuiltInColor(style, 19));
        EXPECT_EQ(menu.SelectedFontColor(), skin::GetBuiltInColor(style, 20));
    }
    // MacOS keeps its heights; only the main menu takes another item height.
    menu.SetSeparatorHeight(30);
    menu.SetMenuItemHeight(30);
    EXPECT_EQ(menu.SeparatorHeight(), 12);
    EXPECT_EQ(menu.MenuItemHeight(), 20);
    TkivMainMenu main(form_);
    main.SetUIStyle(TkivUIStyle::MacOS);
    main.SetSeparatorHeight(30);
    main.SetMenuItemHeight(30);
    EXPECT_EQ(main.SeparatorHeight(), 12);
    EXPECT_EQ(main.MenuItemHeight(), 30);
    menu.SetUIStyle(TkivUIStyle::DeepBlue);
    menu.SetSeparatorHeight(7);
    EXPECT_EQ(menu.SeparatorHeight(), 7);
}

TEST_F(Menus, ASkinFileGivesTheMenuColoursUntilItGoes)
{
    auto records = skinpack::StyleSkinRecords(TkivUIStyle::DeepBlue);
    for (auto& r : records) {
        if (r.name == "SKIN2_MENUITEMCOLOR") r = skinpack::IntegerRecord(r.name, 0x102030);
        if (r.name == "SKIN2_SELECTEDMENUCOLOR") r = skinpack::IntegerRecord(r.name, 0x405060);
    }
    const auto file = dir_.Path() / "menu.skn";
    gfx::WriteFileBytes(file, skinpack::BuildArchive(skinpack::BuildPayload(records)));
    auto* theme = new TkivFileTheme(form_);
    theme->SetThemeFile(file.string());
    ASSERT_TRUE(theme->Ready());
    TkivPopupMenu menu(form_);
    menu.SetUIStyle(TkivUIStyle::FromThemeFile);
    menu.SetFileTheme(theme);
    EXPECT_EQ(menu.Color(), TColor(0x102030));
    EXPECT_EQ(menu.SelectedColor(), TColor(0x405060));
    delete theme;
    EXPECT_EQ(menu.FileTheme(), nullptr);
    EXPECT_EQ(menu.UIStyle(), TkivUIStyle::DeepBlue);
    EXPECT_EQ(menu.Color(), skin::GetBuiltInColor(TkivUIStyle::DeepBlue, 21));
}

TEST_F(Menus, ASkinWithoutMenuColoursTakesDeepBluesNotWhite)
{
    const char* keys[] = {"SKIN2_LEFTBARSTARTCOLOR", "SKIN2_MENUITEMCOLOR",
                          "SKIN2_MENUITEMFONTCOLOR", "SKIN2_SELECTEDMENUBORDERCOLOR",
                          "SKIN2_SELECTEDMENUCOLOR", "SKIN2_SELECTEDMENUFONTCOLOR"};
    auto records = skinpack::StyleSkinRecords(TkivUIStyle::WinXP);
    std::erase_if(records, [&](const skinpack::Record& r) {
        return std::find(std::begin(keys), std::end(keys), r.name) != std::end(keys);
    });
    const auto file = dir_.Path() / "bare.skn";
    gfx::WriteFileBytes(file, skinpack::BuildArchive(skinpack::BuildPayload(records)));
    auto* theme = new TkivFileTheme(form_);
    theme->SetThemeFile(file.string());
    ASSERT_TRUE(theme->Ready());
    TkivPopupMenu popup(form_);
    TkivMainMenu main(form_);
    popup.SetUIStyle(TkivUIStyle::FromThemeFile);
    popup.SetFileTheme(theme);
    main.SetUIStyle(TkivUIStyle::FromThemeFile);
    main.SetFileTheme(theme);
    const auto D = TkivUIStyle::DeepBlue;
    const struct {
        TColor popup, main, deepBlue;
    } cases[] = {
        {popup.BarColor(), main.BarColor(), skin::GetBuiltInColor(D, 23)},
        {popup.Color(), main.Color(), skin::GetBuiltInColor(D, 21)},
        {popup.FontColor(), main.FontColor(), skin::GetBuiltInColor(D, 22)},
        {popup.SelectedBorderColor(), main.SelectedBorderColor(), skin::GetBuiltInColor(D, 18)},
        {popup.SelectedColor(), main.SelectedColor(), skin::GetBuiltInColor(D, 19)},
        {popup.SelectedFontColor(), main.SelectedFontColor(), skin::GetBuiltInColor(D, 20)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.popup, c.deepBlue);
        EXPECT_EQ(c.main, c.deepBlue);
    }
    // So an item's caption shows on its face.
    TMenuItem* item = Add(popup, "WWWW");
    const TBitmap b = Draw(item, false);
    int caption = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 26; x < b.Width(); ++x)
            caption += gfx::ColorRGB(b.Pixel(x, y)) == gfx::ColorRGB(popup.FontColor());
    EXPECT_GT(caption, 0);
    EXPECT_NE(gfx::ColorRGB(popup.FontColor()), gfx::ColorRGB(popup.Color()));
}

TEST_F(Menus, ItemsMeasureTheirTextAndSeparatorsTheirHeight)
{
    TkivPopupMenu menu(form_);
    TMenuItem* open = Add(menu, "Open");
    open->SetShortCut(ShortCut('O', ssCtrl));
    TMenuItem* line = Add(menu, "-");
    menu.HookItems();
    TBitmap scratch(1, 1);
    TCanvas& c = scratch.Canvas();
    c.Font().SetName(gfx::kTestFontName);
    c.Font().SetHeight(-40);  // taller than an item
    int w = 0, h = 0;
    line->OnMeasureItem(line, c, w, h);
    EXPECT_EQ(h, 5);
    open->OnMeasureItem(open, c, w, h);
    EXPECT_EQ(h, c.TextHeight("Open"));
    EXPECT_EQ(w, c.TextWidth("Open") + c.TextWidth("Ctrl+O") + 26 + 40);
    c.Font().SetHeight(-8);
    open->OnMeasureItem(open, c, w, h);
    EXPECT_EQ(h, 21);
}

TEST_F(Menus, ItemsDrawTheBarTheFaceAndTheSelection)
{
    TkivPopupMenu menu(form_);
    menu.SetUIStyle(TkivUIStyle::DeepBlue);
    TMenuItem* item = Add(menu, "");
    TMenuItem* line = Add(menu, "-");
    menu.HookItems();

    TBitmap plain = Draw(item, false);
    EXPECT_EQ(plain.Pixel(5, 1), menu.BarColor());
    EXPECT_EQ(plain.Pixel(60, 1), menu.Color());
    TBitmap lit = Draw(item, true);
    EXPECT_EQ(lit.Pixel(0, 0), menu.SelectedBorderColor());
    EXPECT_EQ(lit.Pixel(60, 10), menu.SelectedColor());
    item->SetEnabled(false);  // a selected disabled item looks unselected
    EXPECT_EQ(Draw(item, true).Pixel(60, 10), menu.Color());

    TBitmap sep = Draw(line, false, 5);
    EXPECT_EQ(sep.Pixel(5, 2), menu.BarColor());
    EXPECT_EQ(sep.Pixel(29, 2), menu.Color());
    EXPECT_EQ(sep.Pixel(30, 2), menu.SeparatorColor());
    EXPECT_EQ(sep.Pixel(117, 2), menu.SeparatorColor());
    EXPECT_EQ(sep.Pixel(118, 2), menu.Color());
    EXPECT_EQ(sep.Pixel(60, 3), menu.Color());

    // MacOS: the pictures, the separator from the face's top 12 rows.
    menu.SetUIStyle(TkivUIStyle::MacOS);
    TBitmap face;
    ASSERT_TRUE(skin::LoadBitmapResource("MACOS_MENU_BAR", face));
    TBitmap macSep = Draw(line, false, 12);
    EXPECT_EQ(macSep.Pixel(60, 6), face.Pixel(5, 6));
    EXPECT_EQ(macSep.Pixel(60, 7), face.Pixel(5, 7));
    TBitmap select;
    ASSERT_TRUE(skin::LoadBitmapResource("MACOS_MENU_SELECT", select));
    item->SetEnabled(true);
    EXPECT_EQ(Draw(item, true, 20).Pixel(60, 10), select.Pixel(5, 10));
}

TEST_F(Menus, CheckedItemsShowTheMarkOrTheirImageOnASquare)
{
    auto* images = new TCustomImageList(form_, 16, 16);
    images->AddMasked(TBitmap(16, 16, clBlue), clFuchsia);
    for (int kind = 0; kind < 2; ++kind) {
        TMenuItem* item = nullptr;
        TBitmap noImage, withImage;
        auto draw = [&](auto& menu) {
            item = Add(menu, "");
            item->SetChecked(true);
            menu.HookItems();
            noImage = Draw(item, false);
            item->SetImageIndex(0);
            EXPECT_EQ(Draw(item, false).Pixel(8, 10), clBlack) << "no list: the mark";
            menu.SetImages(images);
            withImage = Draw(item, false);
            EXPECT_EQ(withImage.Pixel(3, 1), clBlack);  // the frame
            EXPECT_EQ(withImage.Pixel(2, 10), clBlack);
            EXPECT_EQ(withImage.Pixel(20, 18), clBlack);
            EXPECT_EQ(withImage.Pixel(3, 10), menu.SelectedColor());  // the square round the image
            EXPECT_EQ(withImage.Pixel(10, 2), menu.SelectedColor());
            EXPECT_EQ(withImage.Pixel(8, 10), clBlue);  // the image
        };
        if (kind == 0) {
            draw(*new TkivPopupMenu(form_));
        } else {
            auto* menu = new TkivMainMenu(form_);
            EXPECT_EQ(menu->Images(), nullptr) << "its own check list does not show";
            draw(*menu);
            menu->SetImages(nullptr);
            EXPECT_EQ(menu->Images(), nullptr);
        }
        // The mark: black strokes on the item's face.
        EXPECT_EQ(noImage.Pixel(4 + 4, 3 + 7), clBlack);
        EXPECT_EQ(noImage.Pixel(4 + 1, 3 + 1), noImage.Pixel(20, 1));
    }
}

TEST_F(Menus, ItemsAddedLaterDrawSkinnedToo)
{
    TkivMainMenu menu(form_);
    TMenuItem* file = Add(menu, "File");
    EXPECT_TRUE(file->OnDrawItem);
    auto* later = new TMenuItem(form_);
    later->SetCaption("Later");
    file->Add(later);
    ASSERT_TRUE(later->OnDrawItem);
    EXPECT_EQ(Draw(later, false).Pixel(60, 1), menu.Color());
    // An item of another menu is not touched.
    TPopupMenu plain(form_);
    TMenuItem* other = Add(plain, "x");
    EXPECT_FALSE(other->OnDrawItem);
}

TEST_F(Menus, AFontTheSystemCannotTellLeavesTheCanvasFont)
{
    TkivPopupMenu menu(form_);
    TMenuItem* item = Add(menu, "Item");
    menu.HookItems();
    TBitmap b(120, 21);
    b.Canvas().Font().SetName("Kept");
    skin::SetSystemMenuFontQuery([](TFont&) { return false; });
    item->OnDrawItem(item, b.Canvas(), {0, 0, 120, 21}, false);
    EXPECT_EQ(b.Canvas().Font().Name(), "Kept");
    skin::SetSystemMenuFontQuery(nullptr);
    item->OnDrawItem(item, b.Canvas(), {0, 0, 120, 21}, false);
    EXPECT_EQ(b.Canvas().Font().Name(), gfx::SystemMenuFont().Name());
    menu.SetUseSystemFont(false);
    menu.SetFontName("Chosen");
    item->OnDrawItem(item, b.Canvas(), {0, 0, 120, 21}, false);
    EXPECT_EQ(b.Canvas().Font().Name(), "Chosen");
}

TEST_F(Menus, AFlatPopupFramesItsWindow)
{
    TkivPopupMenu menu(form_);
    menu.SetUIStyle(TkivUIStyle::DeepBlue);
    menu.SetFlatMenu(true);
    Add(menu, "One");
    Add(menu, "-");
    Add(menu, "Two");
    menu.HookItems();
    TBitmap shot;
    TTimer timer(nullptr);
    timer.SetInterval(1);
    timer.OnTimer = [&](TObject*) {
        timer.SetEnabled(false);
        TForm* window = ui::RunningMenuWindow();
        ASSERT_NE(window, nullptr);
        shot = ui::headless::Capture(*window);
        ui::headless::PostKey(*window, VK_ESCAPE);
    };
    timer.SetEnabled(true);
    menu.Popup(50, 50);
    ASSERT_FALSE(shot.Empty());
    const int w = shot.Width(), h = shot.Height();
    EXPECT_EQ(h, 2 + 21 + 5 + 21 + 2);
    const TColor shadow = skin::GetBuiltInColor(TkivUIStyle::DeepBlue, 15);
    EXPECT_EQ(shot.Pixel(10, 0), shadow);
    EXPECT_EQ(shot.Pixel(10, h - 1), shadow);
    EXPECT_EQ(shot.Pixel(0, 10), clBlack);
    EXPECT_EQ(shot.Pixel(1, 10), clWhite);
    EXPECT_EQ(shot.Pixel(w - 2, 10), clBlack);
    EXPECT_EQ(shot.Pixel(5, 5), menu.BarColor());
    EXPECT_EQ(shot.Pixel(60, 5), menu.Color());
}

}  // namespace
