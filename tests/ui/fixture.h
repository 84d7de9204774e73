#pragma once
// A fresh application on a virtual clock with the headless back end, and a
// shown form to put controls on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/application.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"

class UiTest : public ::testing::Test {
protected:
    UiTest()
    {
        ui::Headless();
        form = new TForm(&App());
        form->SetBorderStyle(bsNone);
        form->SetBounds(100, 100, 400, 300);
    }

    core::TestApplication app;
    TForm* form;
};

// Records what happens to controls, one line an event.
struct EventLog {
    std::vector<std::string> lines;
    void Add(const std::string& s) { lines.push_back(s); }
    std::string Joined() const
    {
        std::string out;
        for (const auto& l : lines) out += (out.empty() ? "" : " ") + l;
        return out;
    }
    void Clear() { lines.clear(); }
};

// A control that logs its mouse and focus events under a name.
template <class Base>
class Logged : public Base {
public:
    Logged(TComponent* owner, EventLog& log, std::string tag) : Base(owner), log_(log), tag_(std::move(tag))
    {}
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        log_.Add(tag_ + ".down(" + std::to_string(x) + "," + std::to_string(y) +
                 (s & ssDouble ? ",dbl" : "") + ")");
        Base::MouseDown(b, s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override
    {
        log_.Add(tag_ + ".up(" + std::to_string(x) + "," + std::to_string(y) + ")");
        Base::MouseUp(b, s, x, y);
    }
    void MouseMove(TShiftState s, int x, int y) override
    {
        log_.Add(tag_ + ".move(" + std::to_string(x) + "," + std::to_string(y) + ")");
        Base::MouseMove(s, x, y);
    }
    void MouseEnter() override
    {
        log_.Add(tag_ + ".enter");
        Base::MouseEnter();
    }
    void MouseLeave() override
    {
        log_.Add(tag_ + ".leave");
        Base::MouseLeave();
    }
    void Click() override
    {
        log_.Add(tag_ + ".click");
        Base::Click();
    }
    void DblClick() override
    {
        log_.Add(tag_ + ".dblclick");
        Base::DblClick();
    }
    void CancelMode() override
    {
        log_.Add(tag_ + ".cancel");
        Base::CancelMode();
    }
    void DoEnter() override
    {
        log_.Add(tag_ + ".focus");
        Base::DoEnter();
    }
    void DoExit() override
    {
        log_.Add(tag_ + ".blur");
        Base::DoExit();
    }

private:
    EventLog& log_;
    std::string tag_;
};
