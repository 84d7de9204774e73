// The control tree: ownership, bounds, alignment, state inheritance and
// composition into pictures.
#include <gtest/gtest.h>

#include "platform/gfx/canvas.h"
#include "platform/ui/button.h"
#include "platform/ui/panel.h"
#include "tests/ui/fixture.h"

namespace {

class Filled : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void Paint(TCanvas& c) override
    {
        c.Brush().SetColor(Color());
        c.FillRect(ClientRect());
    }
};

// Paints only its left half: the right half shows what lies behind.
class HalfFilled : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    void Paint(TCanvas& c) override
    {
        c.Brush().SetColor(Color());
        c.FillRect({0, 0, Width() / 2, Height()});
    }
};

using ControlTree = UiTest;

TEST_F(ControlTree, OwnerFreesControlsAndParentFreesLeftoverChildren)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* button = new TButton(form);
    button->SetParent(panel);
    auto* orphan_owner_child = new TButton(nullptr);  // owned by nobody, parented to the panel
    orphan_owner_child->SetParent(panel);
    EXPECT_EQ(panel->ControlCount(), 2);
    EXPECT_EQ(button->ParentForm(), form);

    delete panel;  // takes both children with it
    EXPECT_EQ(form->ControlCount(), 0);
    EXPECT_EQ(form->ComponentCount(), 0);
}

TEST_F(ControlTree, DeletingTheFocusedControlClearsTheFocus)
{
    auto* a = new TButton(form);
    a->SetParent(form);
    form->Show();
    a->SetFocus();
    ASSERT_EQ(form->ActiveControl(), a);
    delete a;
    EXPECT_EQ(form->ActiveControl(), nullptr);
    ui::headless::Key(*form, VK_TAB);  // no dangling focus is used
}

TEST_F(ControlTree, ReparentingIntoOwnDescendantIsRefused)
{
    auto* outer = new TPanel(form);
    auto* inner = new TPanel(form);
    inner->SetParent(outer);
    EXPECT_THROW(outer->SetParent(inner), std::invalid_argument);
    EXPECT_THROW(outer->SetParent(outer), std::invalid_argument);
}

TEST_F(ControlTree, SetBoundsIsANoOpWhenNothingChanges)
{
    auto* p = new TPanel(form);
    p->SetParent(form);
    int resizes = 0;
    p->OnResize = [&](TObject*) { ++resizes; };
    p->SetBounds(10, 10, 50, 40);
    p->SetBounds(10, 10, 50, 40);
    EXPECT_EQ(resizes, 1);
    p->SetLeft(20);  // a move is no resize
    EXPECT_EQ(resizes, 1);
    p->SetWidth(60);
    EXPECT_EQ(resizes, 2);
}

TEST_F(ControlTree, AlignFillsTheClientAreaInOrder)
{
    auto* host = new TPanel(form);
    host->SetBevelOuter(bvNone);
    host->SetParent(form);
    host->SetBounds(0, 0, 200, 100);
    auto make = [&](TAlign a, int w, int h) {
        auto* c = new TPanel(form);
        c->SetBounds(0, 0, w, h);
        c->SetParent(host);
        c->SetAlign(a);
        return c;
    };
    TPanel* client = make(alClient, 5, 5);
    TPanel* top = make(alTop, 10, 20);
    TPanel* bottom = make(alBottom, 10, 15);
    TPanel* left = make(alLeft, 30, 10);
    TPanel* right = make(alRight, 25, 10);

    struct Row {
        TPanel* control;
        TRect expected;
    } rows[] = {
        {top, {0, 0, 200, 20}},      {bottom, {0, 85, 200, 100}}, {left, {0, 20, 30, 85}},
        {right, {175, 20, 200, 85}}, {client, {30, 20, 175, 85}},
    };
    for (auto& row : rows) EXPECT_EQ(row.control->BoundsRect(), row.expected);

    // Resizing the host and hiding an aligned child re-lay the rest.
    top->Hide();
    host->SetBounds(0, 0, 300, 100);
    EXPECT_EQ(client->BoundsRect(), (TRect{30, 0, 275, 85}));
    EXPECT_EQ(right->BoundsRect(), (TRect{275, 0, 300, 85}));

    // Bevels shrink the aligned area.
    host->SetBevelOuter(bvRaised);
    host->SetBorderWidth(2);
    EXPECT_EQ(left->BoundsRect(), (TRect{3, 3, 33, 82}));
}

TEST_F(ControlTree, VisibleAndEnabledAreInheritedEffectively)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* button = new TButton(form);
    button->SetParent(panel);
    EXPECT_FALSE(button->Showing());  // the form is hidden
    form->Show();
    EXPECT_TRUE(button->Showing());
    panel->Hide();
    EXPECT_TRUE(button->Visible());
    EXPECT_FALSE(button->Showing());
    EXPECT_FALSE(button->CanFocus());
    panel->Show();
    panel->SetEnabled(false);
    EXPECT_TRUE(button->Enabled());
    EXPECT_FALSE(button->EffectivelyEnabled());
    EXPECT_FALSE(button->CanFocus());
}

TEST_F(ControlTree, ParentColorAndParentFollowTheParentUntilSetOwn)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* child = new TPanel(form);
    child->SetParentColor(true);
    child->SetParent(panel);
    panel->SetColor(clRed);
    EXPECT_EQ(child->Color(), clRed);
    child->SetColor(clBlue);
    EXPECT_FALSE(child->ParentColor());
    panel->SetColor(clGreen);
    EXPECT_EQ(child->Color(), clBlue);

    EXPECT_TRUE(child->ParentFont());
    panel->Font().SetHeight(-20);
    EXPECT_EQ(child->Font().Height(), -20);
    child->Font().SetBold(true);
    EXPECT_FALSE(child->ParentFont());
    panel->Font().SetHeight(-9);
    EXPECT_EQ(child->Font().Height(), -20);
}

TEST_F(ControlTree, CoordinatesMapThroughParentsAndFrames)
{
    form->SetBorderStyle(bsSizeable);
    TRect ins = form->NonClientInsets();
    auto* panel = new TPanel(form);
    panel->SetBorderStyle(bsSingle);  // 2 px non-client edge
    panel->SetParent(form);
    panel->SetBounds(10, 20, 100, 100);
    auto* child = new TPanel(form);
    child->SetParent(panel);
    child->SetBounds(5, 6, 10, 10);
    TPoint origin = child->ClientOrigin();
    EXPECT_EQ(origin, (TPoint{100 + ins.Left + 10 + 2 + 5, 100 + ins.Top + 20 + 2 + 6}));
    EXPECT_EQ(child->ScreenToClient(child->ClientToScreen({3, 4})), (TPoint{3, 4}));
    EXPECT_EQ(form->ControlAtPos({10 + 2 + 5 + 1, 20 + 2 + 6 + 1}, false), child);
    EXPECT_EQ(form->ControlAtPos({10 + 1, 20 + 1}, false), panel);  // on the panel's edge
}

using Painting = UiTest;

TEST_F(Painting, PaintToRendersHiddenControlsWithTheirChildren)
{
    auto* panel = new Filled(form);
    panel->SetColor(clRed);
    panel->SetBounds(0, 0, 40, 30);
    panel->SetParent(form);
    auto* inner = new Filled(form);
    inner->SetColor(clBlue);
    inner->SetBounds(10, 10, 5, 5);
    inner->SetParent(panel);
    panel->Hide();  // and the form was never shown

    TBitmap out(40, 30, clBlack);
    panel->PaintTo(out.Canvas(), 0, 0);
    EXPECT_EQ(out.Pixel(0, 0), clRed);
    EXPECT_EQ(out.Pixel(12, 12), clBlue);
    EXPECT_EQ(out.Pixel(15, 15), clRed);

    // At an offset, into a larger picture.
    TBitmap big(100, 100, clWhite);
    panel->PaintTo(big, 50, 60);
    EXPECT_EQ(big.Pixel(49, 60), clWhite);
    EXPECT_EQ(big.Pixel(50, 60), clRed);
    EXPECT_EQ(big.Pixel(62, 72), clBlue);
}

TEST_F(Painting, TheFrontmostSiblingIsPaintedAndUnpaintedPixelsShowThroughs)
{
    form->SetColor(clWhite);
    auto* a = new Filled(form);
    a->SetColor(clRed);
    a->SetBounds(10, 10, 50, 50);
    a->SetParent(form);
    auto* b = new Filled(form);
    b->SetColor(clBlue);
    b->SetBounds(10, 10, 50, 50);
    b->SetParent(form);
    auto* half = new HalfFilled(form);
    half->SetColor(clGreen);
    half->SetBounds(100, 10, 20, 20);
    half->SetParent(form);
    form->Show();

    TBitmap pic = ui::headless::Capture(*form);
    EXPECT_EQ(pic.Pixel(20, 20), clBlue);
    a->BringToFront();
    pic = ui::headless::Capture(*form);
    EXPECT_EQ(pic.Pixel(20, 20), clRed);
    a->SendToBack();
    pic = ui::headless::Capture(*form);
    EXPECT_EQ(pic.Pixel(20, 20), clBlue);
    EXPECT_EQ(pic.Pixel(102, 15), clGreen);
    EXPECT_EQ(pic.Pixel(115, 15), clWhite);  // the form behind the unpainted half
}

TEST_F(Painting, ChildrenAreClippedToTheParentsClientArea)
{
    form->SetColor(clWhite);
    auto* parent = new Filled(form);
    parent->SetColor(clRed);
    parent->SetBounds(0, 0, 20, 20);
    parent->SetParent(form);
    auto* child = new Filled(form);
    child->SetColor(clBlue);
    child->SetBounds(15, 15, 20, 20);
    child->SetParent(parent);
    TBitmap pic = ui::headless::Capture(*form);
    EXPECT_EQ(pic.Pixel(17, 17), clBlue);
    EXPECT_EQ(pic.Pixel(25, 25), clWhite);
}

TEST_F(Painting, DrawParentBackgroundPaintsWhatLiesBehind)
{
    class Striped : public TCustomControl {
    public:
        using TCustomControl::TCustomControl;
        void Paint(TCanvas& c) override
        {
            for (int x = 0; x < Width(); ++x) {
                c.Brush().SetColor(x % 2 ? clBlack : clWhite);
                c.FillRect({x, 0, x + 1, Height()});
            }
        }
    };
    class Transparentish : public TCustomControl {
    public:
        using TCustomControl::TCustomControl;
        void Paint(TCanvas& c) override
        {
            c.Brush().SetColor(clRed);
            c.FillRect(ClientRect());  // overwritten by the parent's background
            DrawParentBackground(c);
        }
    };
    auto* stripes = new Striped(form);
    stripes->SetBounds(0, 0, 50, 50);
    stripes->SetParent(form);
    auto* t = new Transparentish(form);
    t->SetBounds(3, 3, 10, 10);
    t->SetParent(stripes);
    TBitmap pic(10, 10, clGreen);
    t->PaintTo(pic, 0, 0);
    EXPECT_EQ(pic.Pixel(0, 0), clBlack);  // parent column 3
    EXPECT_EQ(pic.Pixel(1, 0), clWhite);  // parent column 4
}

TEST_F(Painting, InvalidatePresentsOnceABatch)
{
    auto* p = new Filled(form);
    p->SetParent(form);
    p->SetBounds(0, 0, 10, 10);
    form->Show();
    app.App().ProcessMessages();
    int before = ui::Headless().StateOf(*form)->presents;
    p->SetColor(clRed);
    p->SetBounds(1, 1, 12, 12);
    p->Invalidate();
    app.App().ProcessMessages();
    EXPECT_EQ(ui::Headless().StateOf(*form)->presents, before + 1);
    EXPECT_EQ(ui::Headless().StateOf(*form)->picture.Pixel(5, 5), clRed);
}

// A filled control that counts its paints.
class Counted : public Filled {
public:
    using Filled::Filled;
    int paints = 0;
    void Paint(TCanvas& c) override
    {
        ++paints;
        Filled::Paint(c);
    }
};

TEST_F(Painting, AChangePaintsAndPresentsOnlyTheControlsOwnRectangle)
{
    auto* box = new Counted(form);
    box->SetParent(form);
    box->SetBounds(20, 30, 200, 150);
    auto* changed = new Counted(box);
    changed->SetParent(box);
    changed->SetBounds(10, 10, 40, 20);
    auto* elsewhere = new Counted(form);
    elsewhere->SetParent(form);
    elsewhere->SetBounds(300, 10, 50, 50);
    form->Show();
    app.App().ProcessMessages();
    const auto* window = ui::Headless().StateOf(*form);
    const int before = window->presents;
    changed->paints = elsewhere->paints = 0;

    changed->SetColor(clRed);
    changed->Invalidate();
    app.App().ProcessMessages();
    EXPECT_EQ(window->presents, before + 1);
    EXPECT_EQ(window->changed, std::vector<TRect>{Bounds(30, 40, 40, 20)});
    EXPECT_EQ(changed->paints, 1);
    EXPECT_EQ(elsewhere->paints, 0);
    // What was presented is the whole window as a full paint gives it.
    const TBitmap whole = form->RenderWindow();
    ASSERT_EQ(window->picture.Width(), whole.Width());
    EXPECT_TRUE(std::equal(whole.Pixels(), whole.Pixels() + whole.Width() * whole.Height(),
                           window->picture.Pixels()));
    EXPECT_EQ(window->picture.Pixel(35, 45), clRed);
}

TEST_F(Painting, WhatAnInvalidationPresents)
{
    struct Case {
        const char* what;
        bool parent_visible, child_visible;
        TRect child;               // in the parent's client
        std::vector<TRect> shown;  // what the present changes; none: no present
    } const cases[] = {
        {"inside its parent", true, true, Bounds(5, 5, 10, 10), {Bounds(25, 35, 10, 10)}},
        {"cut by its parent", true, true, Bounds(190, 140, 30, 30), {Bounds(210, 170, 10, 10)}},
        {"outside its parent", true, true, Bounds(250, 5, 10, 10), {}},
        {"hidden", true, false, Bounds(5, 5, 10, 10), {}},
        {"on a hidden parent", false, true, Bounds(5, 5, 10, 10), {}},
    };
    auto* parent = new Filled(form);
    parent->SetParent(form);
    parent->SetBounds(20, 30, 200, 150);
    auto* child = new Filled(parent);
    child->SetParent(parent);
    form->Show();
    const auto* window = ui::Headless().StateOf(*form);
    for (const Case& c : cases) {
        parent->SetVisible(c.parent_visible);
        child->SetVisible(c.child_visible);
        child->SetBoundsRect(c.child);
        app.App().ProcessMessages();
        const int before = window->presents;
        child->Invalidate();
        app.App().ProcessMessages();
        EXPECT_EQ(window->presents, before + (c.shown.empty() ? 0 : 1)) << c.what;
        if (!c.shown.empty()) {
            EXPECT_EQ(window->changed, c.shown) << c.what;
        }
    }
    // The form itself: the whole window.
    form->Invalidate();
    app.App().ProcessMessages();
    EXPECT_EQ(window->changed, std::vector<TRect>{Bounds(0, 0, form->Width(), form->Height())});
}

TEST_F(Painting, AMinimumPaintIntervalDefersPaintsAndLosesNone)
{
    auto* p = new Filled(form);
    p->SetParent(form);
    p->SetBounds(0, 0, 10, 10);
    form->SetMinPaintInterval(40);
    form->Show();
    app.App().ProcessMessages();
    auto presents = [&] { return ui::Headless().StateOf(*form)->presents; };
    const int first = presents();
    // Changes within the interval pump their messages but wait for one paint
    // at its end, which shows the last of them.
    for (TColor colour : {clRed, clBlue, clLime}) {
        p->SetColor(colour);
        p->Invalidate();
        app.App().ProcessMessages();
        app.RunForMs(5);
    }
    EXPECT_EQ(presents(), first);
    app.RunForMs(30);
    EXPECT_EQ(presents(), first + 1);
    EXPECT_EQ(ui::Headless().StateOf(*form)->picture.Pixel(5, 5), clLime);
    // Past the interval a change paints at once.
    app.RunForMs(100);
    p->SetColor(clRed);
    p->Invalidate();
    app.App().ProcessMessages();
    EXPECT_EQ(presents(), first + 2);
}

}  // namespace
