// The plain controls: edit, memo, list box, list view, scroll box, image, label.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/gfx/canvas.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/edit.h"
#include "platform/ui/image.h"
#include "platform/ui/label.h"
#include "platform/ui/listbox.h"
#include "platform/ui/listview.h"
#include "platform/ui/memo.h"
#include "platform/ui/panel.h"
#include "platform/ui/scrollbar_part.h"
#include "platform/ui/scrollbox.h"
#include "platform/ui/combobox.h"
#include "platform/ui/menus.h"
#include "tests/skin/scoped_env.h"
#include "tests/ui/fixture.h"

namespace {

using namespace ui::headless;

class EditTest : public UiTest {
protected:
    EditTest()
    {
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->OnChange = [this](TObject*) { ++changes; };
        form->Show();
        edit->SetFocus();
    }
    TEdit* edit;
    int changes = 0;
};

TEST_F(EditTest, OnChangeFiresOnlyOnARealChange)
{
    edit->SetText("5");
    changes = 0;
    edit->SetText("5");
    edit->SetText("6");
    EXPECT_EQ(changes, 1);
}

TEST_F(EditTest, TypingEditsAtTheCaretInCharacters)
{
    edit->SetText("");
    Text(*form, "歌词ab");
    EXPECT_EQ(edit->Text(), "歌词ab");
    Key(*form, VK_LEFT);
    Key(*form, VK_LEFT);
    Key(*form, VK_BACK);  // removes the whole of "词"
    EXPECT_EQ(edit->Text(), "歌ab");
    EXPECT_EQ(edit->SelStart(), 1);
    Key(*form, VK_HOME);
    Key(*form, VK_END, ssShift);
    EXPECT_EQ(edit->SelText(), "歌ab");
    Text(*form, "x");  // replaces the selection
    EXPECT_EQ(edit->Text(), "x");
    Key(*form, VK_DELETE);  // nothing after the caret
    EXPECT_EQ(edit->Text(), "x");
}

TEST_F(EditTest, ClipboardCutCopyPaste)
{
    edit->SetText("hello world");
    edit->SetSelStart(6);
    edit->SetSelLength(5);
    Key(*form, 'C', ssCtrl);
    EXPECT_EQ(Clipboard().AsText(), "world");
    Key(*form, 'X', ssCtrl);
    EXPECT_EQ(edit->Text(), "hello ");
    Clipboard().SetAsText("there\r\nsecond line");
    Key(*form, 'V', ssCtrl);
    EXPECT_EQ(edit->Text(), "hello there");
}

TEST_F(EditTest, MaxLengthAndReadOnlyLimitTheUser)
{
    edit->SetText("");
    edit->SetMaxLength(3);
    Text(*form, "照片文件");
    EXPECT_EQ(edit->Text(), "照片文");
    edit->SetReadOnly(true);
    Key(*form, VK_BACK);
    Text(*form, "z");
    EXPECT_EQ(edit->Text(), "照片文");
    edit->SetText("program may still set it");
    EXPECT_EQ(edit->Text(), "program may still set it");
}

TEST_F(EditTest, TheFocusedEditTurnsTextInputOn)
{
    EXPECT_TRUE(ui::Headless().TextInputActive());
    auto* list = new TListBox(form);
    list->SetParent(form);
    list->SetFocus();
    EXPECT_FALSE(ui::Headless().TextInputActive());
}

using ListViewTest = UiTest;

TEST_F(ListViewTest, FindCaption)
{
    auto* lv = new TListView(form);  // hidden: the model still works
    lv->SetParent(form);
    lv->Hide();
    for (const char* c : {"00:05.00", "00:12.50", "00:20.10", "00:12.90", "Ab"})
        lv->Items().Add()->SetCaption(c);
    struct Case {
        int start;
        const char* text;
        bool partial, inclusive, wrap;
        int expected;
    } cases[] = {
        {0, "00:12", true, true, true, 1},
        {1, "00:12", true, true, true, 1},     // inclusive: the start row counts
        {1, "00:12", true, false, true, 3},    // after the start row
        {3, "00:12", true, false, true, 1},    // wraps to the top
        {3, "00:12", true, false, false, -1},  // no wrap
        {0, "00:12", false, true, true, -1},   // whole captions only
        {0, "aB", false, true, false, 4},      // case-insensitive
        {0, "a", true, true, false, 4},
        {-1, "00:05", true, false, false, 0},  // before the first row
        {0, "", true, true, false, 0},
    };
    for (const Case& c : cases) {
        TListItem* found = lv->FindCaption(c.start, c.text, c.partial, c.inclusive, c.wrap);
        EXPECT_EQ(found ? found->Index() : -1, c.expected)
            << "start " << c.start << " text " << c.text << " partial " << c.partial << " inclusive "
            << c.inclusive << " wrap " << c.wrap;
    }
}

TEST_F(ListViewTest, ItemsColumnsAndSelection)
{
    auto* lv = new TListView(form);
    lv->SetParent(form);
    lv->SetBounds(0, 0, 200, 100);
    TListColumn* col = lv->Columns().Add();
    col->SetCaption("时间");
    col->SetWidth(80);
    lv->Columns().Add()->SetAlignment(taRightJustify);
    EXPECT_EQ(lv->Columns().Count(), 2);

    TListItem* a = lv->Items().Add();
    a->SetCaption("a");
    a->SubItems().Add("1");
    TListItem* c = lv->Items().Add();
    c->SetCaption("c");
    TListItem* b = lv->Items().Insert(1);
    b->SetCaption("b");
    EXPECT_EQ(lv->Items().Count(), 3);
    EXPECT_EQ(lv->Items()[1]->Caption(), "b");
    EXPECT_EQ(c->Index(), 2);
    EXPECT_EQ(a->SubItems()[0], "1");

    int selects = 0;
    lv->OnSelectItem = [&](TObject*) { ++selects; };
    b->SetSelected(true);
    EXPECT_EQ(lv->Selected(), b);
    EXPECT_EQ(lv->ItemIndex(), 1);
    lv->Items().Delete(1);  // the selected item goes
    EXPECT_EQ(lv->Selected(), nullptr);
    EXPECT_EQ(lv->Items()[1], c);
    lv->Items().Clear();
    EXPECT_EQ(lv->Items().Count(), 0);
    EXPECT_EQ(selects, 1);
}

TEST_F(ListViewTest, ClickSelectsTheRowAndRaisesClickAndDoubleClick)
{
    auto* lv = new TListView(form);
    lv->SetParent(form);
    lv->SetBounds(0, 0, 200, 150);
    lv->SetRowSelect(true);
    lv->Columns().Add()->SetWidth(100);
    for (int i = 0; i < 3; ++i) lv->Items().Add()->SetCaption(std::to_string(i));
    int clicks = 0, doubles = 0;
    lv->OnClick = [&](TObject*) { ++clicks; };
    lv->OnDblClick = [&](TObject*) { ++doubles; };
    form->Show();
    TPoint origin = lv->ClientToAncestor({0, 0}, form);
    int y = origin.Y + lv->HeaderHeight() + lv->RowHeight() * 2 + 3;
    DoubleClick(*form, origin.X + 150, y);
    EXPECT_EQ(lv->ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);
    Key(*form, VK_UP);
    EXPECT_EQ(lv->ItemIndex(), 1);
}

TEST_F(ListViewTest, ScrollInfoCountsRowsAndPixels)
{
    auto* lv = new TListView(form);
    lv->SetParent(form);
    lv->SetBorderStyle(bsNone);
    lv->SetBounds(0, 0, 200, lv->HeaderHeight() + lv->RowHeight() * 5 + ui::ScrollBarPart::kSize);
    lv->Columns().Add()->SetWidth(150);
    lv->Columns().Add()->SetWidth(150);
    for (int i = 0; i < 3; ++i) lv->Items().Add()->SetCaption(std::to_string(i));
    EXPECT_FALSE(lv->VertScrollInfo().Usable());  // fits
    for (int i = 3; i < 20; ++i) lv->Items().Add()->SetCaption(std::to_string(i));
    TScrollInfo v = lv->VertScrollInfo();
    EXPECT_TRUE(v.Usable());
    EXPECT_EQ(v.Max, 19);
    EXPECT_EQ(v.Page, 5);
    lv->Perform(WM_VSCROLL, MakeScrollWParam(SB_LINEDOWN, 0));
    lv->Perform(WM_VSCROLL, MakeScrollWParam(SB_LINEDOWN, 0));
    lv->Perform(WM_VSCROLL, MakeScrollWParam(SB_LINEDOWN, 0));
    EXPECT_EQ(lv->TopIndex(), 3);  // exactly three rows
    lv->Perform(WM_VSCROLL, MakeScrollWParam(SB_THUMBPOSITION, 100));
    EXPECT_EQ(lv->TopIndex(), 15);  // clamped to the last page
    TScrollInfo h = lv->HorzScrollInfo();
    EXPECT_EQ(h.Max, 299);
    lv->Scroll(40, 0);
    EXPECT_EQ(lv->ScrollX(), 40);
}

using ListBoxTest = UiTest;

TEST_F(ListBoxTest, ItemIndexFollowsTheItemsAndOwnerDrawIsCalled)
{
    auto* lb = new TListBox(form);
    lb->SetParent(form);
    lb->SetBorderStyle(bsNone);
    lb->SetItemHeight(10);
    lb->SetBounds(0, 0, 100, 50);
    for (int i = 0; i < 20; ++i) lb->Items().Add("line " + std::to_string(i));
    lb->SetItemIndex(12);
    EXPECT_EQ(lb->ItemIndex(), 12);
    EXPECT_EQ(lb->TopIndex(), 8);  // scrolled into view
    TScrollInfo info = lb->VertScrollInfo();
    EXPECT_EQ(info.Max, 19);
    EXPECT_EQ(info.Page, 5);
    EXPECT_EQ(info.Pos, 8);
    lb->SetItemIndex(99);
    EXPECT_EQ(lb->ItemIndex(), -1);
    lb->SetItemIndex(19);
    lb->Items().Delete(19);
    EXPECT_EQ(lb->ItemIndex(), -1);

    std::vector<int> drawn;
    lb->SetStyle(lbOwnerDrawFixed);
    lb->OnDrawItem = [&](TControl*, int index, TRect, TOwnerDrawState) { drawn.push_back(index); };
    lb->SetTopIndex(0);
    form->Show();
    Capture(*form);
    EXPECT_EQ(drawn.front(), 0);
    EXPECT_GE(drawn.size(), 5u);
}

TEST_F(ListBoxTest, KeysAndClicksSelect)
{
    auto* lb = new TListBox(form);
    lb->SetParent(form);
    lb->SetBorderStyle(bsNone);
    lb->SetItemHeight(10);
    lb->SetBounds(0, 0, 100, 50);
    for (int i = 0; i < 4; ++i) lb->Items().Add(std::to_string(i));
    int clicks = 0;
    lb->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    Click(*form, 20, 25);
    EXPECT_EQ(lb->ItemIndex(), 2);
    Key(*form, VK_DOWN);
    EXPECT_EQ(lb->ItemIndex(), 3);
    Key(*form, VK_DOWN);
    EXPECT_EQ(lb->ItemIndex(), 3);
    EXPECT_EQ(clicks, 3);
}

TEST(ScrollBarPartLook, ArrowsPointOutwardsAndGreyWhileNothingScrolls)
{
    const struct {
        TScrollBarKind kind;
        bool scrolls;
    } cases[] = {{sbVertical, true}, {sbVertical, false}, {sbHorizontal, true}, {sbHorizontal, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind * 10 + c.scrolls);
        const bool vertical = c.kind == sbVertical;
        const int w = vertical ? 16 : 120, h = vertical ? 120 : 16;
        ui::ScrollBarPart bar(c.kind);
        bar.SetRect({0, 0, w, h});
        bar.SetRange(0, c.scrolls ? 99 : 9, 10);
        TBitmap b(w, h, clWhite);
        bar.Paint(b.Canvas());
        const TColor glyph = c.scrolls ? clBtnText : clGrayText;
        // Each arrow's tip and the two ends of its base: up or left at the
        // start, down or right at the end; the face beside the first tip.
        const std::vector<TPoint> arrows =
            vertical ? std::vector<TPoint>{{8, 7}, {5, 10}, {11, 10}, {8, h - 6}, {5, h - 9}, {11, h - 9}}
                     : std::vector<TPoint>{{7, 8}, {10, 5}, {10, 11}, {w - 6, 8}, {w - 9, 5}, {w - 9, 11}};
        for (TPoint p : arrows) EXPECT_EQ(b.Pixel(p.X, p.Y), glyph) << p.X << "," << p.Y;
        const TPoint face = vertical ? TPoint{5, 7} : TPoint{7, 5};
        EXPECT_EQ(b.Pixel(face.X, face.Y), clBtnFace);
    }
}

TEST(MemoText, LinesAndTextUseCrLf)
{
    core::TestApplication app;
    TMemo memo(nullptr);
    memo.SetText("one\ntwo\r\nthree");
    EXPECT_EQ(memo.Lines().Count(), 3);
    EXPECT_EQ(memo.Text(), "one\r\ntwo\r\nthree");
    EXPECT_EQ(memo.Lines().Text(), "one\r\ntwo\r\nthree\r\n");
    int changes = 0;
    memo.OnChange = [&](TObject*) { ++changes; };
    memo.Lines().Add("four");
    EXPECT_EQ(changes, 1);
}

TEST_F(UiTest, MemoTypingSplitsAndJoinsLines)
{
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    memo->SetWordWrap(false);
    form->Show();
    memo->SetFocus();
    Text(*form, "ab");
    Key(*form, VK_LEFT);
    Key(*form, VK_RETURN);
    EXPECT_EQ(memo->Text(), "a\r\nb");
    EXPECT_EQ(memo->CaretPos(), (TPoint{0, 1}));
    Key(*form, VK_BACK);
    EXPECT_EQ(memo->Text(), "ab");
    Key(*form, VK_TAB);  // Tab still moves the focus
    EXPECT_EQ(memo->Text(), "ab");
}

TEST_F(UiTest, CtrlASelectsAllInEditsAndMemosSoThatTypingReplacesIt)
{
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 200, 24);
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    memo->SetBounds(10, 50, 200, 80);
    form->Show();
    struct Control {
        TWinControl* control;
        std::function<void(const std::string&)> set;
        std::function<std::string()> text;
    };
    const std::vector<Control> controls = {
        {edit, [&](const std::string& t) { edit->SetText(t); }, [&] { return edit->Text(); }},
        {memo, [&](const std::string& t) { memo->SetText(t); }, [&] { return memo->Text(); }},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.control == edit ? "edit" : "memo");
        const std::string old = c.control == edit ? "谢谢观看 old" : "谢谢观看\r\nold";
        c.set(old);
        c.control->SetFocus();
        Key(*form, 'A', ssCtrl);
        Text(*form, "新");
        EXPECT_EQ(c.text(), "新");
        c.set(old);
        Key(*form, 'A', ssCtrl);
        Key(*form, VK_BACK);
        EXPECT_EQ(c.text(), "");
        c.set(old);
        Key(*form, 'A', ssCtrl);
        Key(*form, VK_DELETE);
        EXPECT_EQ(c.text(), "");
        // A caret move ends the selection: typing then inserts.
        c.set("ab");
        Key(*form, 'A', ssCtrl);
        Key(*form, VK_END);
        Text(*form, "c");
        EXPECT_EQ(c.text(), "abc");
    }
    // The memo shows its selection.
    memo->SetText("WWWW");
    memo->SetFocus();
    Key(*form, 'A', ssCtrl);
    TBitmap shot(memo->Width(), memo->Height(), clWhite);
    memo->PaintTo(shot, 0, 0);
    bool highlighted = false;
    for (int x = 0; x < shot.Width(); ++x) highlighted |= shot.Pixel(x, 8) == clHighlight;
    EXPECT_TRUE(highlighted);
}

TEST_F(UiTest, OfStackedScrollBoxesTheOneBroughtToFrontIsPainted)
{
    form->SetColor(clWhite);
    std::vector<TScrollBox*> boxes;
    for (TColor c : {clRed, clLime, clBlue}) {
        auto* box = new TScrollBox(form);
        box->SetParent(form);
        box->SetBorderStyle(bsNone);
        box->SetBounds(10, 10, 100, 80);
        box->SetColor(c);
        boxes.push_back(box);
    }
    form->Show();
    EXPECT_EQ(Capture(*form).Pixel(50, 50), clBlue);
    boxes[0]->BringToFront();
    EXPECT_EQ(Capture(*form).Pixel(50, 50), clRed);
    boxes[1]->BringToFront();
    boxes[2]->SendToBack();
    EXPECT_EQ(Capture(*form).Pixel(50, 50), clLime);
    app.App().ProcessMessages();
    EXPECT_EQ(ui::Headless().StateOf(*form)->picture.Pixel(50, 50), clLime);
}

TEST_F(UiTest, ScrollBoxScrollsItsChildrenAndAutoSizes)
{
    auto* box = new TScrollBox(form);
    box->SetParent(form);
    box->SetBorderStyle(bsNone);
    box->SetBounds(0, 0, 100, 100);
    auto* child = new TPanel(form);
    child->SetParent(box);
    child->SetBounds(0, 0, 50, 300);
    TScrollInfo v = box->VertScrollInfo();
    EXPECT_TRUE(v.Visible);
    EXPECT_EQ(v.Max, 299);
    EXPECT_EQ(box->ClientWidth(), 100 - ui::ScrollBarPart::kSize);
    box->SetVertPosition(50);
    EXPECT_EQ(child->Top(), -50);
    box->SetVertPosition(1000);  // clamped to the end
    EXPECT_EQ(child->Top(), -200);
    box->SetVertPosition(0);
    box->SetAutoSize(true);
    EXPECT_EQ(box->Width(), 50);
    EXPECT_EQ(box->Height(), 300);
    EXPECT_FALSE(box->VertScrollInfo().Visible);
}

TEST_F(UiTest, ImagePlacesItsPicture)
{
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(0, 0, 100, 50);
    image->Picture().Assign(TBitmap(20, 10, clRed));
    EXPECT_EQ(image->DestRect(), (TRect{0, 0, 20, 10}));
    image->SetCenter(true);
    EXPECT_EQ(image->DestRect(), (TRect{40, 20, 60, 30}));
    image->SetStretch(true);
    image->SetProportional(true);
    EXPECT_EQ(image->DestRect(), (TRect{0, 0, 100, 50}));
    image->Picture().Assign(TBitmap(10, 10, clRed));
    EXPECT_EQ(image->DestRect(), (TRect{25, 0, 75, 50}));
    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 10);
    EXPECT_THROW(image->LoadFromFile("/nonexistent/picture.jpg"), std::exception);
    EXPECT_EQ(image->Picture().Width(), 10);  // the old picture stays
}

TEST_F(UiTest, LabelAcceleratorFocusesItsControl)
{
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetCaption("&Name");
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    auto* other = new TEdit(form);
    other->SetParent(form);
    label->SetFocusControl(edit);
    form->Show();
    other->SetFocus();
    Key(*form, 'N', ssAlt);
    EXPECT_EQ(form->ActiveControl(), edit);
    delete edit;  // the label forgets it
    EXPECT_EQ(label->FocusControl(), nullptr);
}

}  // namespace

// Right to left on a Middle-East locale the lists keep their vertical bar
// on the left and take clicks on their rows beside it, the combo's button
// goes left, and children and menus take the mode of their parent or owner.
TEST_F(UiTest, RightToLeftLayoutOnAMiddleEastLocale)
{
    skintest::ScopedEnv locale("LC_ALL", "he_IL.UTF-8");
    auto* list = new TListBox(form);
    list->SetParent(form);
    list->SetBounds(10, 10, 120, 80);
    for (int i = 0; i < 30; ++i) list->Items().Add("item " + std::to_string(i));
    auto* view = new TListView(form);
    view->SetParent(form);
    view->SetBounds(150, 10, 120, 80);
    view->SetRowSelect(true);
    view->Columns().Add()->SetWidth(60);
    for (int i = 0; i < 30; ++i) view->Items().Add()->SetCaption("row " + std::to_string(i));
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    combo->SetBounds(10, 120, 120, 22);
    auto* menu = new TPopupMenu(view);

    const int k = ui::ScrollBarPart::kSize;
    for (TBiDiMode mode : {bdLeftToRight, bdRightToLeft}) {
        form->SetBiDiMode(mode);
        const bool rtl = mode == bdRightToLeft;
        SCOPED_TRACE(rtl);
        EXPECT_EQ(view->BiDiMode(), mode);  // ParentBiDiMode
        EXPECT_EQ(menu->BiDiMode(), mode);  // the menu's owner
        EXPECT_EQ(list->ItemRect(0).Left, rtl ? k : 0);
        EXPECT_EQ(combo->ButtonRect().Left, rtl ? 0 : combo->ClientWidth() - k);
        // A click beside the bar lands on a row.
        const TPoint row{rtl ? k + 2 : view->ClientWidth() - k - 2, view->HeaderHeight() + 20};
        EXPECT_NE(view->GetItemAt(row.X, row.Y), nullptr);
        const TPoint bar{rtl ? 2 : view->ClientWidth() - 2, view->HeaderHeight() + 20};
        EXPECT_EQ(view->GetItemAt(bar.X, bar.Y), nullptr);
    }
    // A mode of its own ends following the parent.
    list->SetBiDiMode(bdLeftToRight);
    form->SetBiDiMode(bdRightToLeftNoAlign);
    EXPECT_EQ(list->BiDiMode(), bdLeftToRight);
    EXPECT_EQ(view->BiDiMode(), bdRightToLeftNoAlign);
}
