// Popup menus and the drop-down list: modal tracking by keys and mouse.
#include <gtest/gtest.h>

#include <functional>

#include "platform/core/timer.h"
#include "platform/ui/button.h"
#include "platform/ui/combobox.h"
#include "platform/ui/menus.h"
#include "tests/ui/fixture.h"

namespace {

using namespace ui::headless;

class MenuTest : public UiTest {
protected:
    MenuTest() : menu(form)
    {
        for (const char* c : {"&Open", "-", "Disabled", "&Close"}) {
            auto* item = new TMenuItem(form);
            item->SetCaption(c);
            item->OnClick = [this, c](TObject*) {
                chosen += c;
                menu_gone_when_run = ui::RunningMenuWindow() == nullptr;
            };
            menu.Items()->Add(item);
        }
        menu.Items()->Items(2)->SetEnabled(false);
        form->Show();
    }
    // Runs `script` once the menu window is up, from inside its loop.
    void PopupWith(std::function<void(TForm&)> script)
    {
        TTimer timer(nullptr);
        timer.SetInterval(1);
        timer.OnTimer = [&](TObject*) {
            timer.SetEnabled(false);
            ASSERT_NE(ui::RunningMenuWindow(), nullptr);
            script(*ui::RunningMenuWindow());
        };
        timer.SetEnabled(true);
        menu.Popup(150, 150);
    }
    TPopupMenu menu;
    std::string chosen;
    bool menu_gone_when_run = false;
};

TEST_F(MenuTest, KeysMoveOverItemsSkippingSeparators)
{
    struct Case {
        std::vector<uint16_t> keys;
        std::string expected;
    } cases[] = {
        {{VK_DOWN, VK_RETURN}, "&Open"},
        {{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, "&Close"},  // over the separator and the disabled item
        {{VK_UP, VK_RETURN}, "&Close"},                      // wraps from the top
        {{VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE}, ""},      // a disabled item is not chosen
        {{VK_ESCAPE}, ""},
    };
    for (const Case& c : cases) {
        chosen.clear();
        PopupWith([&](TForm& window) {
            for (uint16_t k : c.keys) PostKey(window, k);
        });
        EXPECT_EQ(chosen, c.expected);
        EXPECT_EQ(ui::RunningMenuWindow(), nullptr);
    }
}

TEST_F(MenuTest, TheActionRunsAfterTheMenuHasClosed)
{
    PopupWith([&](TForm& window) { PostText(window, "c"); });  // the mnemonic
    EXPECT_EQ(chosen, "&Close");
    EXPECT_TRUE(menu_gone_when_run);
    EXPECT_EQ(menu.LastChosen(), menu.Items()->Items(3));
}

TEST_F(MenuTest, ClickingAnItemChoosesItAndClickingElsewhereCloses)
{
    auto* behind = new TButton(form);
    behind->SetParent(form);
    behind->SetBounds(0, 0, 50, 50);
    int behind_clicks = 0;
    behind->OnClick = [&](TObject*) { ++behind_clicks; };

    PopupWith([&](TForm& window) {
        PostMouseMove(window, 10, 5);
        PostMouseDown(window, 10, 5);
        PostMouseUp(window, 10, 5);
    });
    EXPECT_EQ(chosen, "&Open");

    chosen.clear();
    PopupWith([&](TForm&) { PostClick(*form, 10, 10); });
    EXPECT_EQ(chosen, "");
    EXPECT_EQ(behind_clicks, 0);  // the closing click goes nowhere
}

TEST_F(MenuTest, OwnerDrawnItemsMeasureAndDrawThemselves)
{
    menu.SetOwnerDraw(true);
    int drawn = 0;
    for (int i = 0; i < menu.Items()->Count(); ++i) {
        TMenuItem* item = menu.Items()->Items(i);
        item->OnMeasureItem = [](TObject*, TCanvas&, int& w, int& h) {
            w = 100;
            h = 30;
        };
        item->OnDrawItem = [&](TObject*, TCanvas&, TRect r, bool) {
            ++drawn;
            EXPECT_EQ(r.Height(), 30);
        };
    }
    int height = 0;
    PopupWith([&](TForm& window) {
        height = window.Height();
        Capture(window);
        PostKey(window, VK_ESCAPE);
    });
    EXPECT_EQ(height, 4 * 30 + 4);
    EXPECT_GE(drawn, 4);
}

TEST_F(MenuTest, ShortCutsRunTheirItems)
{
    TMainMenu main(form);
    auto* save = new TMenuItem(form);
    save->SetCaption("Save");
    save->SetShortCut(ShortCut('S', ssCtrl));
    int saves = 0;
    save->OnClick = [&](TObject*) { ++saves; };
    auto* file = new TMenuItem(form);
    file->Add(save);
    main.Items()->Add(file);
    EXPECT_TRUE(main.IsShortCut('S', ssCtrl));
    EXPECT_FALSE(main.IsShortCut('S', 0));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(ShortCutToText(save->ShortCut()), "Ctrl+S");
}

TEST_F(UiTest, ComboBoxDropsDownAndReportsTheUsersChoice)
{
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    for (const char* c : {"PAL", "NTSC"}) combo->Items().Add(c);
    combo->SetItemIndex(0);
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    form->Show();
    combo->SetFocus();

    TTimer timer(nullptr);
    timer.SetInterval(1);
    timer.OnTimer = [&](TObject*) {
        timer.SetEnabled(false);
        TForm* popup = Screen().ModalForm();
        ASSERT_NE(popup, nullptr);
        PostKey(*popup, VK_DOWN);
        PostKey(*popup, VK_RETURN);
    };
    timer.SetEnabled(true);
    Key(*form, VK_F4);
    EXPECT_EQ(combo->Text(), "NTSC");
    EXPECT_EQ(changes, 1);
    Key(*form, VK_DOWN);  // already the last item
    Key(*form, VK_UP);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(changes, 2);
}

}  // namespace
