#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/core/component.h"

namespace {

// Records its own destruction and the notifications it hears.
class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::string name, std::vector<std::string>& log) : TComponent(owner), log_(log)
    {
        SetName(std::move(name));
    }
    ~Probe() override { log_.push_back("free " + Name()); }
    void Notification(TComponent* c, TOperation op) override
    {
        if (op == TOperation::opRemove) {
            log_.push_back(Name() + " hears " + c->Name() + " go");
            if (c == partner) partner = nullptr;
        }
        TComponent::Notification(c, op);
    }
    TComponent* partner = nullptr;

private:
    std::vector<std::string>& log_;
};

TEST(Component, OwnerFreesOwnedComponentsLastCreatedFirst)
{
    std::vector<std::string> log;
    auto* form = new Probe(nullptr, "Form1", log);
    auto* panel = new Probe(form, "Panel1", log);
    new Probe(panel, "Button1", log);
    new Probe(form, "Timer1", log);
    EXPECT_EQ(form->ComponentCount(), 2);
    EXPECT_EQ(panel->Owner(), form);
    delete form;
    // No removal broadcast while the owner tears down.
    EXPECT_EQ(log, (std::vector<std::string>{"free Form1", "free Timer1", "free Panel1", "free Button1"}));
}

TEST(Component, FindComponentIgnoresLetterCase)
{
    std::vector<std::string> log;
    Probe form(nullptr, "Form1", log);
    auto* edit = new Probe(&form, "Edit1", log);
    new Probe(&form, "kivButton12", log);
    struct Case {
        const char* name;
        TComponent* expected;
    };
    for (Case c : {Case{"Edit1", edit}, Case{"EDIT1", edit}, Case{"edit1", edit},
                   Case{"KIVBUTTON12", form.Components(1)}, Case{"Edit", nullptr}, Case{"", nullptr}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(form.FindComponent(c.name), c.expected);
    }
    delete edit;
    EXPECT_EQ(form.FindComponent("edit1"), nullptr);
    EXPECT_EQ(form.ComponentCount(), 1);
}

TEST(Component, SiblingsHearARemovalAndPartnersHearADestruction)
{
    std::vector<std::string> log;
    Probe form(nullptr, "Form1", log);
    auto* theme = new Probe(&form, "Theme", log);
    auto* button = new Probe(&form, "Button", log);
    button->partner = theme;
    delete theme;
    EXPECT_EQ(button->partner, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"free Theme", "Form1 hears Theme go", "Button hears Theme go"}));

    // A component of another form, linked by free notification, both ways.
    log.clear();
    Probe other_form(nullptr, "Form2", log);
    auto* skin = new Probe(&other_form, "Skin", log);
    button->partner = skin;
    button->FreeNotification(skin);
    delete skin;
    EXPECT_EQ(button->partner, nullptr);
    auto* label = new Probe(&other_form, "Label", log);
    label->FreeNotification(button);
    log.clear();
    delete button;
    EXPECT_EQ(log,
              (std::vector<std::string>{"free Button", "Label hears Button go", "Form1 hears Button go"}));
    delete label;

    // A removed notification is not sent.
    auto* a = new Probe(nullptr, "A", log);
    Probe b(nullptr, "B", log);
    a->FreeNotification(&b);
    a->RemoveFreeNotification(&b);
    log.clear();
    delete a;
    EXPECT_EQ(log, (std::vector<std::string>{"free A"}));
}

}  // namespace
