// The skinned list view, list box and memo: their frame and header in the
// built-in styles and from a skin file, the owner drawing of the list box,
// and the external scroll bars bound in place of their own bars.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/image_io.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "platform/ui/scrollbar_part.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_list_box.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_memo.h"
#include "skin/kiv_scroll_bar.h"
#include "tests/skin/scoped_env.h"
#include "tools/skin-pack/skin_pack.h"

namespace {

using skintest::ScopedEnv;

constexpr TColor kSkinBorder = 0x0000C0;
constexpr TColor kSkinFont = 0x804000;
constexpr TColor kSkinForm = 0x30C060;

TColor Rgb(TColor c) { return gfx::ColorRGB(c); }

TBitmap Picture(TControl& control)
{
    TBitmap out(control.Width(), control.Height());
    control.PaintTo(out, 0, 0);
    return out;
}

// Pixels of text in `colour` drawn on `background`: every pixel that
// differs from the background lies between the two colours (smoothed
// edges); the count of such pixels, or -1 when another colour shows.
int TextInk(const TBitmap& b, const TRect& r, TColor colour, TColor background)
{
    colour = Rgb(colour);
    background = Rgb(background);
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const TColor p = Rgb(b.Pixel(x, y));
            if (p == background) continue;
            // How far from the background towards the colour, per channel.
            const int shifts[3] = {0, 8, 16};
            int best = 0;
            for (int s : shifts)
                if (std::abs(int((colour >> s) & 0xFF) - int((background >> s) & 0xFF)) >
                    std::abs(int((colour >> best) & 0xFF) - int((background >> best) & 0xFF)))
                    best = s;
            const double span = int((colour >> best) & 0xFF) - int((background >> best) & 0xFF);
            const double t = (int((p >> best) & 0xFF) - int((background >> best) & 0xFF)) / span;
            for (int s : shifts) {
                const double expected = int((background >> s) & 0xFF) +
                                        t * (int((colour >> s) & 0xFF) - int((background >> s) & 0xFF));
                if (std::abs(expected - int((p >> s) & 0xFF)) > 24) return -1;
            }
            ++n;
        }
    return n;
}

int CountColour(const TBitmap& b, const TRect& r, TColor colour)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) n += Rgb(b.Pixel(x, y)) == Rgb(colour);
    return n;
}

class SkinLists : public ::testing::Test {
protected:
    SkinLists()
    {
        ui::Headless();
        form_ = new TForm(&App());
        form_->SetBorderStyle(bsNone);
        form_->SetBounds(100, 100, 500, 400);
    }

    template <class T>
    T* Make(int left, int top, int width, int height)
    {
        auto* control = new T(form_);
        control->SetParent(form_);
        control->SetBounds(left, top, width, height);
        return control;
    }

    TkivScrollBar* Bar() { return Make<TkivScrollBar>(0, 0, 121, 17); }

    // A ready theme whose skin has the three colours the lists use, or
    // only the border colour.
    TkivFileTheme* SkinTheme(bool complete = true)
    {
        std::vector<skinpack::Record> records{
            skinpack::IntegerRecord("SKIN2_CONTROLBORDERCOLOR", kSkinBorder)};
        if (complete) {
            records.push_back(skinpack::IntegerRecord("SKIN2_CONTROLFONTCOLOR", kSkinFont));
            records.push_back(skinpack::IntegerRecord("SKIN2_FORMCOLOR", kSkinForm));
        }
        const auto payload = skinpack::BuildPayload(records);
        const auto path = dir_.Path() / (complete ? "lists.skn" : "border-only.skn");
        gfx::WriteFileBytes(path, skinpack::BuildArchive(payload, {}));
        auto* theme = new TkivFileTheme(form_);
        theme->SetThemeFile(path.string());
        EXPECT_TRUE(theme->Ready());
        return theme;
    }

    TkivListView* ListWithRows(int rows, int left = 10, int top = 10, int width = 200, int height = 120)
    {
        auto* view = Make<TkivListView>(left, top, width, height);
        view->Columns().Add()->SetWidth(150);
        view->Columns().Add()->SetWidth(150);
        for (int i = 0; i < rows; ++i) view->Items().Add()->SetCaption("row " + std::to_string(i));
        return view;
    }

    core::TestApplication app_;
    core::TempDir dir_;
    TForm* form_ = nullptr;
};

// --- look ---------------------------------------------------------------------

struct LookCase {
    const char* name;
    TkivUIStyle style;
    bool skin;
    TColor border, header, caption;
};

TEST_F(SkinLists, FramesAndHeaderTakeTheStyleColours)
{
    const LookCase cases[] = {
        {"DeepBlue", TkivUIStyle::DeepBlue, false, 0x000000, 0xE8E8E8, 0x000000},
        {"WinXP", TkivUIStyle::WinXP, false, 0x686868, 0xDEEBEF, 0xCF4602},
        {"MacOS", TkivUIStyle::MacOS, false, 0x7F7F7F, 0xE7E7E7, 0x000000},
        {"skin", TkivUIStyle::FromThemeFile, true, kSkinBorder, kSkinForm, kSkinFont},
    };
    TkivFileTheme* theme = SkinTheme();
    for (const LookCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto* view = Make<TkivListView>(0, 0, 200, 80);
        auto* column = view->Columns().Add();
        column->SetWidth(80);
        column->SetCaption("MMMM");
        auto* box = Make<TkivListBox>(0, 0, 100, 60);
        auto* memo = Make<TkivMemo>(0, 0, 100, 60);
        for (IkivStyled* styled : {static_cast<IkivStyled*>(view), static_cast<IkivStyled*>(box),
                                   static_cast<IkivStyled*>(memo)}) {
            if (c.skin) styled->SetFileTheme(theme);
            styled->SetUIStyle(c.style);
        }
        EXPECT_EQ(Rgb(view->BorderColor()), c.border);
        for (TControl* control :
             {static_cast<TControl*>(view), static_cast<TControl*>(box), static_cast<TControl*>(memo)}) {
            const TBitmap pic = Picture(*control);
            EXPECT_EQ(Rgb(pic.Pixel(0, 0)), c.border);
            EXPECT_EQ(Rgb(pic.Pixel(control->Width() - 1, 5)), c.border);
            EXPECT_EQ(Rgb(pic.Pixel(1, 1)), Rgb(control->Color()));  // the inner frame
        }
        const TBitmap pic = Picture(*view);
        const int header = view->HeaderHeight();
        EXPECT_EQ(Rgb(pic.Pixel(2 + 60, 2 + 2)), c.header);           // right of the caption
        EXPECT_EQ(Rgb(pic.Pixel(2 + 79, 2 + 5)), c.border);           // column separator
        EXPECT_EQ(Rgb(pic.Pixel(2 + 30, 2 + header - 1)), c.border);  // bottom line
        EXPECT_EQ(Rgb(pic.Pixel(2 + 120, 2 + 5)), c.header);          // past the last column
        EXPECT_GT(TextInk(pic, {2 + 4, 2, 2 + 60, 2 + header - 1}, c.caption, c.header), 10);
        delete view;
        delete box;
        delete memo;
    }
}

TEST_F(SkinLists, ColoursMissingFromTheSkinComeFromDeepBlue)
{
    auto* view = Make<TkivListView>(0, 0, 100, 50);
    view->SetFileTheme(SkinTheme(false));
    view->SetUIStyle(TkivUIStyle::FromThemeFile);
    EXPECT_EQ(view->BorderColor(), kSkinBorder);
    EXPECT_EQ(view->HeaderColor(), 0xE8E8E8u);
    EXPECT_EQ(view->HeaderFontColor(), 0x000000u);
}

TEST_F(SkinLists, RemovingTheThemeFallsBackToDeepBlue)
{
    TkivFileTheme* theme = SkinTheme();
    auto* view = Make<TkivListView>(0, 0, 100, 50);
    view->SetFileTheme(theme);
    view->SetUIStyle(TkivUIStyle::FromThemeFile);
    EXPECT_EQ(view->BorderColor(), kSkinBorder);
    delete theme;
    EXPECT_EQ(view->FileTheme(), nullptr);
    EXPECT_EQ(view->UIStyle(), TkivUIStyle::DeepBlue);
    EXPECT_EQ(view->HeaderColor(), 0xE8E8E8u);
}

TEST_F(SkinLists, LongHeaderCaptionsAreShortenedAndClipped)
{
    TBitmap scratch(1, 1);
    TCanvas& canvas = scratch.Canvas();
    const int dots = canvas.TextWidth("...");
    EXPECT_EQ(skin::FitTextWithEllipsis(canvas, "Title", canvas.TextWidth("Title")), "Title");
    EXPECT_EQ(skin::FitTextWithEllipsis(canvas, "", -5), "");
    // The first prefix whose "..." form reaches the width, never narrower.
    const std::string fitted = skin::FitTextWithEllipsis(canvas, "Abcdefghij", dots + 1);
    EXPECT_EQ(fitted, "A...");
    EXPECT_EQ(skin::FitTextWithEllipsis(canvas, "Abcdefghij", canvas.TextWidth("Abcde...")), "Abcde...");
    EXPECT_EQ(skin::FitTextWithEllipsis(canvas, "你好世界", canvas.TextWidth("你...")), "你...");

    auto* view = Make<TkivListView>(0, 0, 200, 60);
    view->SetUIStyle(TkivUIStyle::WinXP);
    view->Columns().Add()->SetCaption("A caption far too wide for its column");
    view->Columns()[0]->SetWidth(60);
    TBitmap pic = Picture(*view);
    const int header = view->HeaderHeight();
    // The shortened caption runs up to the clip edge at right - 2 and no further.
    EXPECT_GT(TextInk(pic, {2 + 4, 2, 2 + 58, 2 + header - 1}, 0xCF4602, 0xDEEBEF), 10);
    EXPECT_GT(TextInk(pic, {2 + 50, 2, 2 + 58, 2 + header - 1}, 0xCF4602, 0xDEEBEF), 0);
    EXPECT_EQ(CountColour(pic, {2 + 58, 2, 2 + 59, 2 + header - 1}, 0xDEEBEF), header - 1);
    EXPECT_EQ(Rgb(pic.Pixel(2 + 59, 2 + 3)), 0x686868u);

    view->Columns().Add()->SetWidth(0);  // a zero-width column shows a double separator
    pic = Picture(*view);
    EXPECT_EQ(Rgb(pic.Pixel(2 + 59, 2 + 3)), 0x686868u);
    EXPECT_EQ(Rgb(pic.Pixel(2 + 58, 2 + 3)), 0x686868u);
}

// --- list view and its bound bars ---------------------------------------------

TEST_F(SkinLists, ListViewBarsFollowTheListAndScrollIt)
{
    TkivListView* view = ListWithRows(3);
    TkivScrollBar* vbar = Bar();
    TkivScrollBar* hbar = Bar();
    view->Columns()[1]->SetWidth(10);  // everything fits
    view->SetVScrollBar(vbar);
    view->SetHScrollBar(hbar);
    EXPECT_EQ(vbar->Kind(), sbVertical);
    EXPECT_EQ(vbar->SmallChange(), 5);
    EXPECT_FALSE(vbar->Visible());
    EXPECT_FALSE(vbar->Enabled());
    EXPECT_FALSE(hbar->Visible());

    for (int i = 3; i < 40; ++i) view->Items().Add()->SetCaption("row " + std::to_string(i));
    view->Columns()[1]->SetWidth(150);
    ASSERT_TRUE(vbar->Visible());
    ASSERT_TRUE(hbar->Visible());
    EXPECT_TRUE(vbar->Enabled());
    const TScrollInfo rows = view->VertScrollInfo();
    EXPECT_EQ(vbar->Max(), rows.Max - rows.Page + 1);
    EXPECT_EQ(vbar->Position(), 0);
    // Over the right and bottom edge, inside the border, meeting in the corner.
    EXPECT_EQ(vbar->BoundsRect(), (TRect{10 + 200 - 17 - 2, 11, 10 + 200 - 2, 11 + 120 - 17 - 2}));
    EXPECT_EQ(hbar->BoundsRect(), (TRect{11, 10 + 120 - 17 - 2, 11 + 200 - 17 - 2, 10 + 120 - 2}));

    vbar->SetPosition(vbar->Position() + 3);  // dragging by three units
    EXPECT_EQ(view->TopIndex(), 3);
    EXPECT_EQ(vbar->Position(), 3);
    hbar->SetPosition(40);
    EXPECT_EQ(view->ScrollX(), 40);
    EXPECT_EQ(hbar->Position(), 40);

    uint16_t key = VK_END;  // the list scrolls: the bar follows
    view->KeyDown(key, 0);
    EXPECT_EQ(vbar->Position(), view->TopIndex());
    EXPECT_GT(view->TopIndex(), 3);
    view->Items()[0]->MakeVisible();
    EXPECT_EQ(vbar->Position(), 0);

    view->SetEnabled(false);
    EXPECT_FALSE(vbar->Enabled());
    EXPECT_TRUE(vbar->Visible());
    view->SetEnabled(true);
    view->SetVisible(false);
    EXPECT_FALSE(vbar->Visible());
    view->Items().Add();
    EXPECT_FALSE(vbar->Visible());  // a hidden list shows no bar
    view->SetVisible(true);
    EXPECT_TRUE(vbar->Visible());
}

TEST_F(SkinLists, ListViewLowerThanItsBarOnlyMovesTheBar)
{
    TkivListView* view = ListWithRows(0, 30, 40, 200, 10);
    TkivScrollBar* hbar = Bar();
    hbar->SetBounds(5, 5, 121, 17);
    view->SetHScrollBar(hbar);
    EXPECT_EQ(hbar->Top(), 40);
    EXPECT_EQ(hbar->Left(), 5);
    EXPECT_EQ(hbar->Width(), 121);
}

TEST_F(SkinLists, BindingsEndCleanly)
{
    TkivListView* view = ListWithRows(40);
    TkivScrollBar* first = Bar();
    TkivScrollBar* second = Bar();
    view->SetVScrollBar(first);
    view->SetVScrollBar(second);  // the first bar is let go
    EXPECT_FALSE(first->OnChange);
    EXPECT_EQ(first->Max(), 100);
    EXPECT_TRUE(first->Enabled());
    first->SetPosition(7);
    EXPECT_EQ(view->TopIndex(), 0);

    delete second;  // a freed bar leaves the list working unbound
    EXPECT_EQ(view->VScrollBar(), nullptr);
    view->Items().Add();
    uint16_t key = VK_END;
    view->KeyDown(key, 0);

    TkivScrollBar* survivor = Bar();
    view->SetVScrollBar(survivor);
    delete view;  // the bar outlives the list
    survivor->SetPosition(3);
    EXPECT_FALSE(survivor->OnChange);
}

TEST_F(SkinLists, RightToLeftLayoutPutsTheBarsOnTheLeft)
{
    ScopedEnv all("LC_ALL", "ar_EG.UTF-8");
    TkivListView* view = ListWithRows(40);
    view->SetBiDiMode(bdRightToLeft);
    TkivScrollBar* vbar = Bar();
    TkivScrollBar* hbar = Bar();
    view->SetVScrollBar(vbar);
    view->SetHScrollBar(hbar);
    EXPECT_EQ(vbar->Left(), 12);
    EXPECT_EQ(hbar->Left(), 10 + 17 + 1);
    EXPECT_EQ(hbar->Width(), 200 - 17 - 2);

    auto* box = Make<TkivListBox>(100, 200, 120, 80);
    box->SetBiDiMode(bdRightToLeftNoAlign);
    TkivScrollBar* boxbar = Bar();
    box->SetVScrollBar(boxbar);
    EXPECT_EQ(boxbar->Left(), 102);

    ScopedEnv english("LC_ALL", "en_GB.UTF-8");
    view->SetBounds(10, 10, 200, 121);
    EXPECT_EQ(vbar->Left(), 10 + 200 - 17 - 2);
}

TEST_F(SkinLists, TheListsOwnBarsShowTheirArrowsInEveryStyle)
{
    TkivFileTheme* theme = SkinTheme();
    const TkivUIStyle styles[] = {TkivUIStyle::MacOS,   TkivUIStyle::WinXP,     TkivUIStyle::DeepBlue,
                                  TkivUIStyle::Protein, TkivUIStyle::BlueGlass, TkivUIStyle::FromThemeFile};
    for (TkivUIStyle style : styles) {
        SCOPED_TRACE(static_cast<int>(style));
        TkivListView* view = ListWithRows(40);  // taller and wider than the list: both bars
        view->SetFileTheme(theme);
        view->SetUIStyle(style);
        TBitmap shot(view->Width(), view->Height());
        view->PaintTo(shot, 0, 0);
        const TRect in = view->NonClientInsets();
        const int cw = view->ClientWidth(), bottom = view->ClientHeight() - ui::ScrollBarPart::kSize;
        const int top = view->HeaderHeight(), k = ui::ScrollBarPart::kSize;
        // The arrow squares: up, down, left, right.
        const TPoint squares[] = {{cw - k, top}, {cw - k, bottom - k}, {0, bottom}, {cw - 2 * k, bottom}};
        for (TPoint at : squares) {
            // The glyph inside the square, away from the button's edges.
            const TRect inner = Bounds(in.Left + at.X + 3, in.Top + at.Y + 3, k - 6, k - 6);
            EXPECT_GE(CountColour(shot, inner, clBtnText), 7) << at.X << "," << at.Y;
        }
        delete view;
    }
}

// --- list box -------------------------------------------------------------------

TEST_F(SkinLists, ListBoxDrawsItsItemsInItsOwnColours)
{
    auto* box = Make<TkivListBox>(10, 10, 150, 100);
    EXPECT_EQ(box->Style(), lbOwnerDrawFixed);
    for (const char* text : {"first", "second", "third"}) box->Items().Add(text);
    const TColor selected = 0x008000, selected_text = 0xC00000, disabled_text = 0x0000C0;
    box->SetSelectedColor(selected);
    box->SetSelectedTextColor(selected_text);
    box->SetDisabledTextColor(disabled_text);
    box->SetItemIndex(1);
    const TRect row = box->ItemRect(1).Offset(2, 2);

    TBitmap pic = Picture(*box);
    EXPECT_EQ(Rgb(pic.Pixel(row.Right - 3, row.Top + 1)), selected);
    EXPECT_GT(CountColour(pic, row, selected_text), 3);

    // Disabled: still on the selection colour, in the disabled text colour.
    box->SetEnabled(false);
    pic = Picture(*box);
    EXPECT_EQ(Rgb(pic.Pixel(row.Right - 3, row.Top + 1)), selected);
    EXPECT_GT(CountColour(pic, row, disabled_text), 3);
    EXPECT_EQ(CountColour(pic, row, selected_text), 0);
    const TRect other = box->ItemRect(0).Offset(2, 2);
    EXPECT_GT(CountColour(pic, other, disabled_text), 3);

    // An OnDrawItem handler draws the item itself.
    box->SetEnabled(true);
    box->OnDrawItem = [](TControl*, int, TRect, TOwnerDrawState) {};
    pic = Picture(*box);
    EXPECT_EQ(CountColour(pic, row, selected_text), 0);
}

// The columns the item's text covers, in the picture's coordinates.
std::pair<int, int> InkColumns(const TBitmap& pic, const TRect& r, TColor background)
{
    int first = -1, last = -1;
    for (int x = r.Left; x < r.Right; ++x)
        for (int y = r.Top; y < r.Bottom; ++y)
            if (Rgb(pic.Pixel(x, y)) != Rgb(background)) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

TEST_F(SkinLists, ListBoxTextKeepsTwoPixelsFromTheSideItIsAlignedTo)
{
    auto* box = Make<TkivListBox>(10, 10, 150, 100);
    box->Items().Add("WWW");
    const TRect row = box->ItemRect(0).Offset(2, 2);
    auto [left_first, left_last] = InkColumns(Picture(*box), row, box->Color());
    EXPECT_GE(left_first, row.Left + 2);
    EXPECT_LE(left_first, row.Left + 4);
    box->SetAlignment(taRightJustify);
    auto [right_first, right_last] = InkColumns(Picture(*box), row, box->Color());
    EXPECT_LE(right_last, row.Right - 3);
    EXPECT_GE(right_last, row.Right - 5);
    EXPECT_EQ(right_last - right_first, left_last - left_first);
}

TEST_F(SkinLists, ListBoxFocusFrameOnlyWhenAsked)
{
    auto* box = Make<TkivListBox>(10, 10, 150, 100);
    form_->Show();
    box->SetFocus();
    ASSERT_TRUE(box->Focused());
    box->SetShowFocusRect(false);
    const TRect first = box->ItemRect(0).Offset(2, 2);
    const TRect top_edge{first.Left, first.Top, first.Right, first.Top + 1};
    // Empty and focused: the frame shows all the same.
    EXPECT_LT(CountColour(Picture(*box), top_edge, box->Color()), top_edge.Width());

    box->Items().Add("item");
    box->SetItemIndex(0);
    TBitmap pic = Picture(*box);
    EXPECT_EQ(CountColour(pic, top_edge, box->SelectedColor()), top_edge.Width());
    box->SetShowFocusRect(true);
    pic = Picture(*box);
    EXPECT_LT(CountColour(pic, top_edge, box->SelectedColor()), top_edge.Width());
}

TEST_F(SkinLists, ListBoxItemHeightsAreMeasuredUpTo255)
{
    auto* box = Make<TkivListBox>(10, 10, 150, 100);
    box->Items().Add("tall");
    const int normal = box->CalcItemHeight("tall", 100);
    EXPECT_GT(normal, 5);
    EXPECT_LT(normal, 40);
    int height = 0;
    box->MeasureItem(0, height);
    EXPECT_EQ(height, normal);
    height = 17;
    box->MeasureItem(5, height);  // past the last item: unchanged
    EXPECT_EQ(height, 17);
    EXPECT_EQ(box->CalcItemHeight("tall", 0), normal);
    box->Font().SetSize(400);
    EXPECT_EQ(box->CalcItemHeight("tall", 100), 255);
    EXPECT_EQ(box->CalcItemHeight("tall", -3), 255);
}

TEST_F(SkinLists, ListBoxBarFollowsEveryChangeOfTheItems)
{
    auto* box = Make<TkivListBox>(10, 10, 120, 100);
    TkivScrollBar* bar = Bar();
    box->SetVScrollBar(bar);
    EXPECT_EQ(bar->Kind(), sbVertical);
    EXPECT_EQ(bar->BoundsRect(), (TRect{10 + 120 - 17 - 2, 11, 10 + 120 - 2, 11 + 100 - 2}));
    EXPECT_FALSE(bar->Visible());
    const int page = box->VisibleItems();
    for (int i = 0; i < page + 10; ++i) box->Items().Add("item " + std::to_string(i));
    EXPECT_TRUE(bar->Visible());
    EXPECT_EQ(bar->Max(), 10);
    box->Items().Insert(0, "new");
    EXPECT_EQ(bar->Max(), 11);
    box->Items().Delete(0);
    box->Items().Delete(0);
    EXPECT_EQ(bar->Max(), 9);

    bar->SetPosition(4);
    EXPECT_EQ(box->TopIndex(), 4);
    box->SetItemIndex(0);  // scrolls back to the top
    EXPECT_EQ(bar->Position(), 0);

    box->Items().Clear();
    EXPECT_FALSE(bar->Visible());
    EXPECT_FALSE(bar->Enabled());
    delete bar;
    EXPECT_EQ(box->VScrollBar(), nullptr);
    box->Items().Add("still works");
}

// --- memo -----------------------------------------------------------------------

TEST_F(SkinLists, MemoOwnBarsFollowTheBindings)
{
    auto* memo = Make<TkivMemo>(10, 10, 200, 100);
    TkivScrollBar* vbar = Bar();
    TkivScrollBar* hbar = Bar();
    memo->SetVScrollBar(vbar);
    EXPECT_EQ(memo->ScrollBars(), ssVertical);
    memo->SetHScrollBar(hbar);
    EXPECT_EQ(memo->ScrollBars(), ssBoth);
    memo->SetVScrollBar(nullptr);
    EXPECT_EQ(memo->ScrollBars(), ssHorizontal);
    memo->SetVScrollBar(vbar);
    delete hbar;  // a freed bar counts as unbound
    EXPECT_EQ(memo->ScrollBars(), ssVertical);
    memo->SetVScrollBar(nullptr);
    EXPECT_EQ(memo->ScrollBars(), ssNone);
}

TEST_F(SkinLists, MemoBarsFollowTheTextAtOnce)
{
    auto* memo = Make<TkivMemo>(10, 10, 200, 100);
    memo->SetWordWrap(false);
    TkivScrollBar* vbar = Bar();
    TkivScrollBar* hbar = Bar();
    memo->SetVScrollBar(vbar);
    memo->SetHScrollBar(hbar);
    // The horizontal bar reaches one pixel further than the list view's.
    EXPECT_EQ(hbar->BoundsRect(), (TRect{11, 10 + 100 - 17 - 2, 11 + 200 - 17 - 1, 10 + 100 - 2}));
    EXPECT_EQ(vbar->BoundsRect(), (TRect{10 + 200 - 17 - 2, 11, 10 + 200 - 2, 11 + 100 - 17 - 2}));

    // Text that fits: the bars stay, disabled.
    memo->SetText("short");
    EXPECT_TRUE(vbar->Visible());
    EXPECT_FALSE(vbar->Enabled());
    EXPECT_TRUE(hbar->Visible());
    EXPECT_FALSE(hbar->Enabled());

    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "line " + std::to_string(i) + (i == 5 ? std::string(80, 'x') : "") + "\r\n";
    memo->SetText(text);
    EXPECT_TRUE(vbar->Enabled());
    EXPECT_TRUE(hbar->Enabled());
    const TScrollInfo rows = memo->VertScrollInfo();
    EXPECT_EQ(vbar->Max(), rows.Max - rows.Page + 1);
    EXPECT_GE(hbar->SmallChange(), 1);

    vbar->SetPosition(5);  // dragging the bar scrolls the memo
    EXPECT_EQ(memo->TopRow(), 5);
    EXPECT_EQ(vbar->Position(), 5);
    hbar->SetPosition(30);
    EXPECT_EQ(memo->HorzScrollInfo().Pos, 30);
    EXPECT_EQ(hbar->Position(), 30);

    memo->SetCaretPos({0, 59});  // the memo scrolls: the bar follows
    EXPECT_EQ(vbar->Position(), memo->TopRow());
    memo->SetEnabled(false);
    EXPECT_FALSE(vbar->Enabled());
    EXPECT_TRUE(vbar->Visible());
    memo->SetEnabled(true);
    memo->Lines().Clear();
    EXPECT_FALSE(vbar->Enabled());
    EXPECT_EQ(vbar->Position(), 0);

    // Typing new lines: the bar comes alive as soon as they overflow.
    for (int i = 0; i < memo->VisibleRows() + 3; ++i) {
        char32_t key = VK_RETURN;
        memo->KeyPress(key);
    }
    EXPECT_TRUE(vbar->Enabled());
    EXPECT_EQ(vbar->Position(), memo->TopRow());
    EXPECT_GT(vbar->Position(), 0);
}

}  // namespace

namespace {

// Right to left the lists' own vertical bars lie on the left, under the
// bound ones, and their captions start at the right: one vertical bar
// shows, and no caption runs under it.
class RightToLeftLists : public SkinLists {};

TEST_F(RightToLeftLists, ShowOneVerticalBarThatCoversNoCaption)
{
    ScopedEnv all("LC_ALL", "ar_EG.UTF-8");
    TkivListView* view = ListWithRows(40, 10, 10, 200, 120);
    view->Columns()[0]->SetWidth(100);
    view->Columns()[1]->SetWidth(60);  // no horizontal bar
    auto* box = Make<TkivListBox>(250, 10, 120, 80);
    for (int i = 0; i < 30; ++i) box->Items().Add("item " + std::to_string(i));
    const int k = ui::ScrollBarPart::kSize;
    const struct {
        TControl* list;
        int top;        // the first row, in client pixels
        TRect caption;  // where the first caption lies, in client pixels
    } cases[] = {{view, view->HeaderHeight(), {k, view->HeaderHeight(), k + 100, view->HeaderHeight() + 17}},
                 {box, 0, {k, 0, box->ClientWidth(), 13}}};
    for (const auto& c : cases) {
        // Bound first: the bound bar changes sides with the list's own.
        TkivScrollBar* bar = Bar();
        if (c.list == view)
            view->SetVScrollBar(bar);
        else
            box->SetVScrollBar(bar);
        c.list->SetBiDiMode(bdRightToLeft);
        const TBitmap shot = form_->RenderWindow();
        const TRect ins = c.list->NonClientInsets();
        const TPoint o{c.list->Left() + ins.Left, c.list->Top() + ins.Top};
        const int cw = c.list->ClientWidth(), ch = c.list->ClientHeight();
        // The bound bar lies over the left edge; nothing of a bar on the
        // right, where the rows end in their background.
        EXPECT_EQ(bar->Left(), c.list->Left() + 2);
        const TRect right{o.X + cw - 2, o.Y + c.top, o.X + cw, o.Y + ch - 2};
        EXPECT_EQ(CountColour(shot, right, c.list->Color()), right.Width() * right.Height())
            << (c.list == view ? "view" : "box");
        // The caption ends at the right of its cell, clear of the bar.
        const TRect cap = c.caption.Offset(o.X, o.Y);
        EXPECT_EQ(TextInk(shot, {cap.Left + 2, cap.Top, cap.Left + 12, cap.Bottom}, c.list->Font().Color(),
                          c.list->Color()),
                  0)
            << (c.list == view ? "view" : "box");
        EXPECT_GT(TextInk(shot, {cap.Right - 40, cap.Top, cap.Right, cap.Bottom}, c.list->Font().Color(),
                          c.list->Color()),
                  0)
            << (c.list == view ? "view" : "box");
    }
}

}  // namespace
