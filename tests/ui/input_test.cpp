// Input routing: capture, enter/leave, click synthesis, double clicks,
// focus order, dialog keys and accelerators, the message hook.
#include <gtest/gtest.h>

#include "platform/ui/button.h"
#include "platform/ui/panel.h"
#include "tests/ui/fixture.h"

namespace {

using namespace ui::headless;

class MouseRouting : public UiTest {
protected:
    MouseRouting()
    {
        a = new Logged<TPanel>(form, log, "A");
        a->SetBounds(10, 10, 50, 50);
        a->SetParent(form);
        b = new Logged<TPanel>(form, log, "B");
        b->SetBounds(100, 10, 50, 50);
        b->SetParent(form);
        form->Show();
    }
    EventLog log;
    Logged<TPanel>* a;
    Logged<TPanel>* b;
};

TEST_F(MouseRouting, EventSequences)
{
    struct Step {
        char kind;  // m move, d down, u up, 2 second press of a double click
        int x, y;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        const char* expected;
    } cases[] = {
        {"click inside",
         {{'m', 20, 20}, {'d', 20, 20}, {'u', 21, 21}},
         "A.enter A.move(10,10) A.down(10,10) A.click A.up(11,11)"},
        {"press inside, release outside: captured, no click",
         {{'m', 20, 20}, {'d', 20, 20}, {'m', 110, 20}, {'u', 110, 20}},
         "A.enter A.move(10,10) A.down(10,10) A.leave B.enter A.move(100,10) A.up(100,10)"},
        {"leaving and coming back while captured still clicks",
         {{'d', 20, 20}, {'m', 110, 20}, {'m', 30, 30}, {'u', 30, 30}},
         "A.enter A.down(10,10) A.leave B.enter A.move(100,10) B.leave A.enter A.move(20,20) A.click "
         "A.up(20,20)"},
        {"press outside, release inside: no click",
         {{'d', 200, 200}, {'m', 20, 20}, {'u', 20, 20}},
         "A.enter"},
        {"double click on a control that takes double clicks",
         {{'d', 20, 20}, {'u', 20, 20}, {'2', 20, 20}, {'u', 20, 20}},
         "A.enter A.down(10,10) A.click A.up(10,10) A.dblclick A.down(10,10,dbl) A.up(10,10)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MouseMove(*form, 300, 250);
        log.Clear();
        for (const Step& s : c.steps) {
            switch (s.kind) {
            case 'm': MouseMove(*form, s.x, s.y); break;
            case 'd': MouseDown(*form, s.x, s.y); break;
            case '2': MouseDown(*form, s.x, s.y, mbLeft, 2); break;
            case 'u': MouseUp(*form, s.x, s.y); break;
            }
        }
        EXPECT_EQ(log.Joined(), c.expected);
        EXPECT_EQ(ui::CaptureControl(), nullptr);
    }
}

TEST_F(MouseRouting, WithoutTheDoubleClickFlagASecondPressIsASecondClick)
{
    a->SetControlStyle(a->ControlStyle() & ~csDoubleClicks);
    int clicks = 0, doubles = 0;
    a->OnClick = [&](TObject*) { ++clicks; };
    a->OnDblClick = [&](TObject*) { ++doubles; };
    DoubleClick(*form, 20, 20);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(doubles, 0);
}

TEST_F(MouseRouting, ExplicitCaptureRedirectsAndTakingItAwayCancels)
{
    b->SetMouseCapture(true);
    log.Clear();
    MouseMove(*form, 20, 20);
    EXPECT_EQ(log.Joined(), "A.enter B.move(-80,10)");
    log.Clear();
    ui::SetCaptureControl(a);  // B loses the capture to another control
    EXPECT_EQ(log.Joined(), "B.cancel");
    a->SetMouseCapture(false);  // released by its holder: no cancel
    EXPECT_EQ(log.Joined(), "B.cancel");
    EXPECT_EQ(ui::CaptureControl(), nullptr);
}

TEST_F(MouseRouting, DisabledControlsTakeNoPresses)
{
    a->SetEnabled(false);
    log.Clear();
    Click(*form, 20, 20);
    EXPECT_EQ(log.Joined(), "A.enter");
}

TEST_F(MouseRouting, PressesOnADisabledChildGoToItsParent)
{
    auto* inner = new Logged<TPanel>(form, log, "I");
    inner->SetParent(a);
    inner->SetBounds(0, 0, 20, 20);
    inner->SetEnabled(false);
    int a_clicks = 0, a_doubles = 0;
    a->OnClick = [&](TObject*) { ++a_clicks; };
    a->OnDblClick = [&](TObject*) { ++a_doubles; };
    DoubleClick(*form, 15, 15);
    EXPECT_EQ(a_clicks, 1);
    EXPECT_EQ(a_doubles, 1);
    EXPECT_EQ(log.Joined().find("I.click"), std::string::npos) << log.Joined();
    // With the parent disabled as well, neither of them hears the press.
    a->SetEnabled(false);
    Click(*form, 15, 15);
    EXPECT_EQ(a_clicks, 1);
}

TEST_F(MouseRouting, WheelBubblesToTheFirstHandler)
{
    auto* inner = new TPanel(form);
    inner->SetParent(a);
    inner->SetBounds(0, 0, 20, 20);
    int seen = 0;
    a->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
        seen = delta;
        handled = true;
    };
    Wheel(*form, 15, 15, -120);
    EXPECT_EQ(seen, -120);
}

TEST_F(MouseRouting, TheMessageHookSeesInputFirstAndCanDropIt)
{
    TApplicationEvents hook(nullptr);
    std::vector<unsigned> seen;
    hook.OnMessage = [&](TMsg& msg, bool& handled) {
        seen.push_back(msg.message);
        handled = msg.message == WM_LBUTTONDOWN;
    };
    int clicks = 0;
    a->OnClick = [&](TObject*) { ++clicks; };
    Click(*form, 20, 20);
    EXPECT_EQ(seen, (std::vector<unsigned>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(clicks, 0);
}

class Keyboard : public UiTest {
protected:
    Keyboard()
    {
        for (int i = 0; i < 4; ++i) {
            auto* btn = new Logged<TButton>(form, log, std::string(1, char('a' + i)));
            btn->SetBounds(10 + i * 80, 10, 75, 25);
            btn->SetParent(form);
            buttons.push_back(btn);
        }
    }
    EventLog log;
    std::vector<TButton*> buttons;
};

TEST_F(Keyboard, FocusFollowsTabOrder)
{
    buttons[1]->SetTabStop(false);
    buttons[3]->SetTabOrder(0);  // d moves first
    form->Show();                // the first tab stop takes the focus
    EXPECT_EQ(form->ActiveControl(), buttons[3]);

    struct Step {
        uint16_t key;
        TShiftState shift;
        TButton* expected;
    } steps[] = {
        {VK_TAB, 0, buttons[0]},                                  // d -> a
        {VK_TAB, 0, buttons[2]},                                  // b is no tab stop
        {VK_TAB, 0, buttons[3]},                                  // wraps to d
        {VK_TAB, ssShift, buttons[2]},                            // backwards
        {VK_RIGHT, 0, buttons[3]},                                // arrows ignore TabStop: c -> d
        {VK_LEFT, 0, buttons[2]},      {VK_LEFT, 0, buttons[1]},  // b via the arrow
    };
    for (const Step& s : steps) {
        Key(*form, s.key, s.shift);
        EXPECT_EQ(form->ActiveControl(), s.expected) << "key " << s.key;
    }
    buttons[2]->SetEnabled(false);
    buttons[3]->Hide();
    form->SetActiveControl(buttons[0]);
    Key(*form, VK_TAB);
    EXPECT_EQ(form->ActiveControl(), buttons[0]);  // nothing else can take it
}

TEST_F(Keyboard, FocusChangesRunExitThenEnterAndBroadcast)
{
    form->Show();
    log.Clear();
    std::vector<TControl*> told;
    struct Listener : TPanel {
        std::vector<TControl*>* out;
        using TPanel::TPanel;
        void FocusChanged(TControl* c) override
        {
            out->push_back(c);
            TPanel::FocusChanged(c);
        }
    };
    auto* l = new Listener(form);
    l->out = &told;
    l->SetParent(form);
    buttons[2]->SetFocus();
    EXPECT_EQ(log.Joined(), "a.blur c.focus");
    EXPECT_EQ(told, (std::vector<TControl*>{buttons[2]}));
}

TEST_F(Keyboard, EnterGoesToTheDefaultButtonUnlessAnotherButtonIsFocused)
{
    auto* panel = new TPanel(form);  // a focusable control that is not a button
    panel->SetParent(form);
    panel->SetBounds(0, 100, 50, 50);
    buttons[0]->SetCaption("OK");
    buttons[0]->SetDefault(true);
    buttons[1]->SetCancel(true);
    form->Show();
    struct Case {
        TControl* focus;
        uint16_t key;
        const char* expected;
    } cases[] = {
        {panel, VK_RETURN, "a.click"},
        {buttons[2], VK_RETURN, "c.click"},  // the focused button answers Enter
        {panel, VK_ESCAPE, "b.click"},
        {buttons[2], VK_ESCAPE, "b.click"},
    };
    for (const Case& c : cases) {
        form->SetActiveControl(c.focus);
        log.Clear();
        Key(*form, c.key);
        std::string clicks;
        for (auto& l : log.lines)
            if (l.find(".click") != std::string::npos) clicks += l;
        EXPECT_EQ(clicks, c.expected) << "key " << c.key;
    }
}

TEST_F(Keyboard, AcceleratorsClickWithAltOrWhenTheFocusTakesNoText)
{
    buttons[2]->SetCaption("&Open");
    buttons[3]->SetCaption("Save && &quit");
    form->Show();
    struct Case {
        uint16_t key;
        TShiftState shift;
        const char* text;
        const char* expected;
    } cases[] = {
        {'O', ssAlt, nullptr, "c.focus c.click"},
        {0, 0, "q", "d.focus d.click"},  // typed: the button takes no text
        {'S', ssAlt, nullptr, ""},       // "&&" is no accelerator
    };
    for (const Case& c : cases) {
        form->SetActiveControl(buttons[0]);
        log.Clear();
        if (c.text)
            Text(*form, c.text);
        else
            Key(*form, c.key, c.shift);
        std::string got;
        for (auto& l : log.lines)
            if (l.find(".click") != std::string::npos || l.find(".focus") != std::string::npos)
                got += (got.empty() ? "" : " ") + l;
        EXPECT_EQ(got, c.expected);
    }
}

TEST_F(Keyboard, KeyPreviewLetsTheFormSeeKeysFirst)
{
    form->Show();
    std::string order;
    form->SetKeyPreview(true);
    form->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) {
        order += "form ";
        if (key == 'X') key = 0;
    };
    buttons[0]->OnKeyDown = [&](TObject*, uint16_t&, TShiftState) { order += "button "; };
    Key(*form, 'A');
    Key(*form, 'X');
    EXPECT_EQ(order, "form button form ");
}

TEST_F(Keyboard, AltSpaceReachesTheMessageHookAsASystemChar)
{
    form->Show();
    TApplicationEvents hook(nullptr);
    bool seen = false;
    hook.OnMessage = [&](TMsg& msg, bool& handled) {
        if (msg.message == WM_SYSCHAR && msg.ch == U' ') seen = handled = true;
    };
    Key(*form, VK_SPACE, ssAlt);
    EXPECT_TRUE(seen);
}

}  // namespace
