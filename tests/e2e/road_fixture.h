// The fixture of the whole-road tests: castora started on a work folder as
// the installer lays it out (tests/program_fixture.h), with a folder of the
// user's own files, file dialogs answered from `answers_` (any other fails
// the test), message boxes recorded, and a guard that fails the test when a
// modal form stays open.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/program_fixture.h"

template <class Base>
class RoadFixture : public ProgramFixture<Base> {
protected:
    void SetUp() override
    {
        ProgramFixture<Base>::SetUp();
        this->AnswerFileDialogs();
        this->unexpected_dialogs_fail_ = true;

        // A modal form that nobody answers fails the test instead of
        // holding it: two minutes of virtual time is far beyond any step.
        guard_.SetInterval(1000);
        guard_.OnTimer = [this](TObject*) {
            TForm* modal = Screen().ModalForm();
            guarded_seconds_ = modal == guarded_ ? guarded_seconds_ + 1 : 0;
            guarded_ = modal;
            if (modal && guarded_seconds_ >= 120) {
                ADD_FAILURE() << modal->Name() << " stayed open";
                modal->SetModalResult(mrCancel);
            }
        };
        guard_.SetEnabled(true);

        this->StartWithWorkFolder();
    }

    // Every message box, as caption ": " text.
    void OnMessage(const TkivMessageDialog& dialog) override
    {
        messages_.push_back(dialog.Caption() + ": " + dialog.Text());
    }

    std::vector<std::string> messages_;
    TTimer guard_;
    TForm* guarded_ = nullptr;
    int guarded_seconds_ = 0;
};
