// Forms: showing, modal loops and their results, closing, window state,
// placement and the frame hook.
#include <gtest/gtest.h>

#include "platform/core/timer.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/button.h"
#include "platform/ui/edit.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/panel.h"
#include "tests/ui/fixture.h"

namespace {

using namespace ui::headless;

using Forms = UiTest;

TEST_F(Forms, ShowRunsOnShowThenActivatesAndHideDeactivates)
{
    std::string log;
    form->OnShow = [&](TObject*) { log += "show "; };
    form->OnActivate = [&](TObject*) { log += "activate "; };
    form->OnDeactivate = [&](TObject*) { log += "deactivate "; };
    form->OnHide = [&](TObject*) { log += "hide "; };
    form->Show();
    EXPECT_TRUE(ui::Headless().StateOf(*form)->visible);
    EXPECT_EQ(Screen().ActiveForm(), form);
    form->Hide();
    EXPECT_EQ(log, "show activate hide deactivate ");
    EXPECT_FALSE(ui::Headless().StateOf(*form)->visible);
}

TEST_F(Forms, ShowModalReturnsTheResultOfTheButtonPressed)
{
    auto* dialog = new TForm(&App());
    dialog->SetBorderStyle(bsDialog);
    dialog->SetBounds(0, 0, 200, 100);
    auto* ok = new TButton(dialog);
    ok->SetParent(dialog);
    ok->SetBounds(10, 10, 75, 25);
    ok->SetModalResult(mrOk);
    form->Show();

    PostClick(*dialog, 20, 20);  // delivered once the modal loop runs
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(Screen().ActiveForm(), form);  // back to the opener
}

TEST_F(Forms, ModalFormsBlockInputToOtherForms)
{
    auto* behind = new TButton(form);
    behind->SetParent(form);
    behind->SetBounds(0, 0, 50, 50);
    int clicks = 0;
    behind->OnClick = [&](TObject*) { ++clicks; };
    form->Show();

    auto* dialog = new TForm(&App());
    TTimer timer(nullptr);
    timer.SetInterval(10);
    timer.OnTimer = [&](TObject*) {
        timer.SetEnabled(false);
        Click(*form, 10, 10);  // blocked
        dialog->SetModalResult(mrAbort);
    };
    timer.SetEnabled(true);
    EXPECT_EQ(dialog->ShowModal(), mrAbort);
    EXPECT_EQ(clicks, 0);
    Click(*form, 10, 10);
    EXPECT_EQ(clicks, 1);
}

TEST_F(Forms, CloseAsksTheFormAndTakesEffectAfterTheHandler)
{
    form->Show();
    bool allow = false;
    int asked = 0;
    form->OnCloseQuery = [&](TObject*, bool& can) {
        ++asked;
        can = allow;
    };
    form->Close();
    app.App().ProcessMessages();
    EXPECT_TRUE(form->Visible());
    allow = true;
    bool visible_after_close_call = false;
    auto* btn = new TButton(form);
    btn->SetParent(form);
    btn->SetBounds(0, 0, 40, 40);
    btn->OnClick = [&](TObject*) {
        form->Close();
        visible_after_close_call = form->Visible();
    };
    Click(*form, 5, 5);
    EXPECT_TRUE(visible_after_close_call);
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(asked, 2);
}

TEST_F(Forms, ClosingAModalFormEndsItsLoopWithCancelUnlessOnCloseRefuses)
{
    auto* dialog = new TForm(&App());
    int closes = 0;
    dialog->OnClose = [&](TObject*, TCloseAction& action) {
        if (++closes == 1) action = caNone;  // the first close is refused
    };
    TTimer timer(nullptr);
    timer.SetInterval(5);
    timer.OnTimer = [&](TObject*) {
        dialog->Close();
        if (closes == 1) timer.SetEnabled(false);
    };
    timer.SetEnabled(true);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(closes, 2);
    EXPECT_THROW(
        {
            dialog->Show();
            dialog->ShowModal();
        },
        std::logic_error);
}

TEST_F(Forms, ClosingTheMainFormTerminatesTheApplication)
{
    auto* main = CreateForm<TForm>();
    EXPECT_EQ(Screen().MainForm(), main);
    main->Show();
    main->Close();
    app.App().ProcessMessages();
    EXPECT_TRUE(app.App().Terminated());
}

TEST_F(Forms, OnCreateRunsOnceAfterConstruction)
{
    struct Built : TForm {
        explicit Built(TComponent* owner) : TForm(owner)
        {
            OnCreate = [this](TObject*) { ++created; };
        }
        int created = 0;
    };
    auto* f = CreateForm<Built>();
    f->AfterConstruction();
    EXPECT_EQ(f->created, 1);
}

TEST_F(Forms, ClientSizeExcludesTheFrame)
{
    form->SetBorderStyle(bsSingle);
    TRect ins = form->NonClientInsets();
    EXPECT_GT(ins.Top, ins.Left);
    form->SetClientSize(200, 100);
    EXPECT_EQ(form->Width(), 200 + ins.Left + ins.Right);
    EXPECT_EQ(form->Height(), 100 + ins.Top + ins.Bottom);
    EXPECT_EQ(form->ClientWidth(), 200);
}

TEST_F(Forms, PositionCentresOnTheWorkAreaAndMaximiseFillsIt)
{
    ui::Headless().SetScreen({0, 0, 1000, 800}, {0, 0, 1000, 760});
    form->SetBounds(0, 0, 200, 100);
    form->SetPosition(poScreenCenter);
    form->Show();
    EXPECT_EQ(form->BoundsRect(), (TRect{400, 330, 600, 430}));
    form->SetWindowState(wsMaximized);
    EXPECT_EQ(form->BoundsRect(), (TRect{0, 0, 1000, 760}));
    form->SetWindowState(wsNormal);
    EXPECT_EQ(form->BoundsRect(), (TRect{400, 330, 600, 430}));
    EXPECT_EQ(ui::Headless().StateOf(*form)->bounds, form->BoundsRect());

    // A form that sizes itself when shown is centred with the size it takes.
    form->Hide();
    form->OnShow = [&](TObject*) { form->SetBounds(form->Left(), form->Top(), 600, 400); };
    form->Show();
    EXPECT_EQ(form->BoundsRect(), (TRect{200, 180, 800, 580}));
}

TEST_F(Forms, ClassicFrameMovesByItsCaptionAndClosesByItsBox)
{
    form->SetBorderStyle(bsSingle);
    form->SetBounds(100, 100, 300, 200);
    form->Show();
    // Window pixels: post raw events at the caption.
    auto post = [&](ui::InputEvent::Kind k, int x, int y) {
        ui::InputEvent e;
        e.kind = k;
        e.pos = {x, y};
        ui::Headless().Post(*form, e);
        app.App().ProcessMessages();
    };
    post(ui::InputEvent::MouseDown, 50, 10);
    EXPECT_TRUE(form->MoveDragging());
    post(ui::InputEvent::MouseMove, 60, 25);  // +10, +15 on the screen
    EXPECT_EQ(form->Left(), 110);
    EXPECT_EQ(form->Top(), 115);
    post(ui::InputEvent::MouseUp, 50, 10);
    EXPECT_FALSE(form->MoveDragging());
    post(ui::InputEvent::MouseDown, 300 - 10, 10);
    post(ui::InputEvent::MouseUp, 300 - 10, 10);
    EXPECT_FALSE(form->Visible());
}

TEST_F(Forms, ConstraintsHoldWhenCodeSizesTheForm)
{
    form->SetBounds(10, 10, 300, 200);
    form->Show();
    form->Constraints().SetMinWidth(250);
    form->Constraints().SetMinHeight(220);  // taller than the form: it grows
    form->Constraints().SetMaxWidth(500);
    form->Constraints().SetMaxHeight(400);
    EXPECT_EQ(form->BoundsRect(), (TRect{10, 10, 310, 230}));
    const ui::HeadlessBackend::WindowState* window = ui::Headless().StateOf(*form);
    EXPECT_EQ(window->bounds, form->BoundsRect());
    EXPECT_EQ(window->min_width, 250);
    EXPECT_EQ(window->min_height, 220);
    EXPECT_EQ(window->max_width, 500);
    EXPECT_EQ(window->max_height, 400);
    const struct {
        int width, height, expectedWidth, expectedHeight;
    } cases[] = {{100, 100, 250, 220}, {900, 900, 500, 400}, {260, 390, 260, 390}, {0, 0, 250, 220}};
    for (const auto& c : cases) {
        form->SetBounds(10, 10, c.width, c.height);
        EXPECT_EQ(form->Width(), c.expectedWidth) << c.width;
        EXPECT_EQ(form->Height(), c.expectedHeight) << c.height;
    }
    form->SetWidth(20);
    EXPECT_EQ(form->Width(), 250);
    form->SetClientHeight(1000);
    EXPECT_EQ(form->Height(), 400);
    // No maximum any more: the window system hears it too.
    form->Constraints().SetMaxWidth(0);
    form->SetWidth(900);
    EXPECT_EQ(form->Width(), 900);
    EXPECT_EQ(window->max_width, 0);
    // A window made later starts with the limits.
    auto* later = new TForm(&App());
    later->Constraints().SetMinWidth(123);
    later->Show();
    EXPECT_EQ(ui::Headless().StateOf(*later)->min_width, 123);
}

TEST_F(Forms, ASizeableFrameResizesByItsEdgesWithinTheConstraints)
{
    form->SetBorderStyle(bsSizeable);
    form->SetBounds(100, 100, 300, 200);
    form->Constraints().SetMinWidth(200);
    form->Constraints().SetMinHeight(150);
    form->Show();
    // Window pixels of the form where the drag began.
    auto post = [&](ui::InputEvent::Kind k, int x, int y) {
        ui::InputEvent e;
        e.kind = k;
        e.pos = {x, y};
        e.screen_pos = {100 + x, 100 + y};
        ui::Headless().Post(*form, e);
        app.App().ProcessMessages();
    };
    // The bottom right corner: both edges follow the mouse.
    post(ui::InputEvent::MouseDown, 299, 199);
    EXPECT_TRUE(form->SizeDragging());
    post(ui::InputEvent::MouseMove, 339, 219);
    EXPECT_EQ(form->BoundsRect(), (TRect{100, 100, 440, 320}));
    // Past the least size it stops there.
    post(ui::InputEvent::MouseMove, 99, 9);
    EXPECT_EQ(form->BoundsRect(), (TRect{100, 100, 300, 250}));
    post(ui::InputEvent::MouseUp, 99, 9);
    EXPECT_FALSE(form->SizeDragging());
    // The left edge: the right edge stays put when the limit holds.
    form->SetBounds(100, 100, 300, 200);
    post(ui::InputEvent::MouseDown, 1, 100);
    post(ui::InputEvent::MouseMove, 31, 100);
    EXPECT_EQ(form->BoundsRect(), (TRect{130, 100, 400, 300}));
    post(ui::InputEvent::MouseMove, 251, 100);
    EXPECT_EQ(form->BoundsRect(), (TRect{200, 100, 400, 300}));
    post(ui::InputEvent::MouseUp, 251, 100);
    // A frame that is not sizeable, or a maximised form, does not resize.
    for (TFormBorderStyle style : {bsSingle, bsDialog}) {
        form->SetBorderStyle(style);
        post(ui::InputEvent::MouseDown, 1, 100);
        EXPECT_FALSE(form->SizeDragging()) << style;
        post(ui::InputEvent::MouseUp, 1, 100);
    }
    form->SetBorderStyle(bsSizeable);
    form->SetWindowState(wsMaximized);
    post(ui::InputEvent::MouseDown, 1, 100);
    EXPECT_FALSE(form->SizeDragging());
    post(ui::InputEvent::MouseUp, 1, 100);
}

class SkinFrame : public TFormFrameHook {
public:
    TRect FrameInsets(const TForm&) override { return {4, 0, 4, 4}; }
    void PaintFrame(TForm& f, TCanvas& c) override
    {
        c.Brush().SetColor(clRed);
        c.FillRect({0, 0, 4, f.Height()});
    }
    bool FrameMessage(TForm&, unsigned msg, intptr_t, intptr_t, intptr_t& result) override
    {
        if (msg != WM_SKIN_GETBORDERWIDTH) return false;
        result = 4;
        return true;
    }
    void FormActivated(TForm&, bool active) override { activations += active ? "+" : "-"; }
    void FormResized(TForm&) override { ++resizes; }
    std::string activations;
    int resizes = 0;
};

TEST_F(Forms, AFrameHookTakesOverTheFrame)
{
    SkinFrame frame;
    EXPECT_EQ(form->Perform(WM_SKIN_GETBORDERWIDTH), 0);
    form->SetFrameHook(&frame);
    EXPECT_EQ(form->Perform(WM_SKIN_GETBORDERWIDTH), 4);
    EXPECT_EQ(form->ClientWidth(), 400 - 8);
    EXPECT_EQ(form->ClientHeight(), 300 - 4);
    form->SetColor(clWhite);
    form->Show();
    TBitmap pic = Capture(*form);
    EXPECT_EQ(pic.Pixel(1, 50), clRed);
    EXPECT_EQ(pic.Pixel(50, 50), clWhite);
    form->SetWidth(500);
    EXPECT_EQ(frame.resizes, 1);
    form->Hide();
    EXPECT_EQ(frame.activations, "+-");

    gfx::Region shape = gfx::Region::RoundRect({0, 0, 500, 300}, 10, 10);
    form->SetWindowRegion(shape);
    form->Show();
    ASSERT_TRUE(ui::Headless().StateOf(*form)->shape.has_value());
    EXPECT_FALSE(ui::Headless().StateOf(*form)->shape->Contains(0, 0));
    form->SetFrameHook(nullptr);
}

TEST_F(Forms, LoadingMutesEvents)
{
    auto* btn = new TButton(form);
    btn->SetParent(form);
    btn->SetBounds(0, 0, 50, 50);
    int clicks = 0;
    btn->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    form->SetLoading(true);
    Click(*form, 10, 10);
    form->SetLoading(false);
    Click(*form, 10, 10);
    EXPECT_EQ(clicks, 1);
}

TEST_F(Forms, AfterAModalFormOrMessageBoxTheFocusAndTypingComeBack)
{
    struct Case {
        const char* what;
        bool message_box;          // else a modal form with an edit of its own
        bool disable_the_focused;  // while the modal one is up
        const char* typed_into;
    } cases[] = {
        {"message box", true, false, "second"},
        {"modal form", false, false, "second"},
        {"focused edit disabled meanwhile", true, true, "first"},
    };
    for (const Case& c : cases) {
        auto* below = new TForm(&App());
        below->SetBounds(0, 0, 300, 200);
        TEdit* edits[2];
        for (int i = 0; i < 2; ++i) {
            edits[i] = new TEdit(below);
            edits[i]->SetParent(below);
            edits[i]->SetBounds(10, 10 + 30 * i, 200, 21);
            edits[i]->SetName(i == 0 ? "first" : "second");
        }
        below->Show();
        edits[1]->SetFocus();

        auto* modal = new TForm(&App());
        auto* own_edit = new TEdit(modal);
        own_edit->SetParent(modal);
        auto* ok = new TButton(modal);
        ok->SetParent(modal);
        ok->SetTop(40);
        ok->SetModalResult(mrOk);
        ok->SetDefault(true);
        TTimer timer(nullptr);
        timer.SetInterval(1);
        timer.OnTimer = [&](TObject*) {
            timer.SetEnabled(false);
            if (c.disable_the_focused) edits[1]->SetEnabled(false);
            PostKey(*Screen().ModalForm(), VK_RETURN);
        };
        timer.SetEnabled(true);
        if (c.message_box) {
            ui::ShowMessageBox("提示", "找不到文件夹");
        } else {
            modal->ShowModal();
        }

        EXPECT_EQ(Screen().ActiveForm(), below) << c.what;
        ASSERT_NE(below->ActiveControl(), nullptr) << c.what;
        EXPECT_EQ(below->ActiveControl()->Name(), c.typed_into) << c.what;
        EXPECT_TRUE(ui::Headless().TextInputActive()) << c.what;
        Text(*below, "ok");
        TEdit* target = edits[std::string(c.typed_into) == "first" ? 0 : 1];
        EXPECT_EQ(target->Text(), "ok") << c.what;
        delete modal;
        delete below;
    }
}

}  // namespace

// The window system minimises and restores the window by itself (its
// minimise, the taskbar, an activation): the form's state follows, a
// restored form paints again, and minimise without a window manager that
// could give the window back leaves it as it is.
TEST_F(Forms, WindowStateFollowsTheWindowSystem)
{
    form->SetBounds(10, 10, 300, 200);
    form->Show();
    const ui::HeadlessBackend::WindowState* window = ui::Headless().StateOf(*form);
    auto post = [&](ui::InputEvent::Kind kind) {
        ui::InputEvent e;
        e.kind = kind;
        ui::Headless().Post(*form, e);
        app.App().ProcessMessages();
    };
    form->SetColor(clRed);
    app.App().ProcessMessages();
    post(ui::InputEvent::Minimized);
    EXPECT_EQ(form->WindowState(), wsMinimized);
    const int presents = window->presents;
    form->SetColor(clLime);
    app.App().ProcessMessages();
    EXPECT_EQ(window->presents, presents);  // nothing is shown while minimised
    post(ui::InputEvent::Restored);
    EXPECT_EQ(form->WindowState(), wsNormal);
    EXPECT_GT(window->presents, presents);
    EXPECT_EQ(window->picture.Pixel(150, 100), clLime);

    // A maximised form comes back maximised.
    form->SetWindowState(wsMaximized);
    post(ui::InputEvent::Minimized);
    post(ui::InputEvent::Restored);
    EXPECT_EQ(form->WindowState(), wsMaximized);
    form->SetWindowState(wsNormal);

    ui::Headless().SetCanMinimize(false);
    form->SetWindowState(wsMinimized);
    EXPECT_EQ(form->WindowState(), wsNormal);
    EXPECT_FALSE(window->minimized);
    ui::Headless().SetCanMinimize(true);
}

// Sizeable forms may be sized by the window system, within their limits;
// what it does to the window reaches the form's bounds.
TEST_F(Forms, TheWindowSystemSizesAndMovesASizeableFormWithinItsLimits)
{
    form->SetBorderStyle(bsSizeable);
    form->SetBounds(10, 10, 300, 200);
    form->Constraints().SetMinWidth(250);
    form->Constraints().SetMaxWidth(500);
    form->Constraints().SetMaxHeight(400);
    form->Show();
    const ui::HeadlessBackend::WindowState* window = ui::Headless().StateOf(*form);
    EXPECT_TRUE(window->resizable);
    form->SetBorderStyle(bsDialog);
    EXPECT_FALSE(window->resizable);
    form->SetBorderStyle(bsSizeToolWin);
    EXPECT_TRUE(window->resizable);

    const struct {
        TRect given, expected;
    } cases[] = {
        {{40, 30, 440, 330}, {40, 30, 440, 330}},   // moved and sized
        {{40, 30, 1040, 930}, {40, 30, 540, 430}},  // past the greatest size
        {{5, 6, 105, 106}, {5, 6, 255, 106}},       // below the least width
    };
    for (const auto& c : cases) {
        ui::InputEvent e;
        e.kind = ui::InputEvent::BoundsChanged;
        e.screen_pos = {c.given.Left, c.given.Top};
        e.width = c.given.Width();
        e.height = c.given.Height();
        ui::Headless().Post(*form, e);
        app.App().ProcessMessages();
        EXPECT_EQ(form->BoundsRect(), c.expected);
        EXPECT_EQ(window->bounds, c.expected);  // the window gets the limits back
        EXPECT_EQ(window->picture.Width(), c.expected.Width());
        EXPECT_EQ(window->picture.Height(), c.expected.Height());
    }
}
