// The fixture of the whole-road tests: castora started on a work folder as
// the installer lays it out, with a folder of the user's own files, file
// dialogs answered from `answers_`, message boxes answered with OK and
// recorded, and a guard that fails the test when a modal form stays open.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/castora_forms.h"
#include "app/form1.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "platform/ui/dialogs.h"
#include "skin/kiv_message_dialog.h"
#include "tests/castora_work_folder.h"

template <class Base>
class RoadFixture : public Base {
protected:
    void SetUp() override
    {
        work_ = MakeCastoraWorkFolder(system_.Path());
        user_ = system_.Path() / "user";
        std::filesystem::create_directories(user_);

        skin::SetMessageDialogHook([this](const TkivMessageDialog& dialog) {
            messages_.push_back(dialog.Caption() + ": " + dialog.Text());
            return mrOk;
        });
        ui::SetFileDialogHook([this](const TOpenDialog& dialog) -> std::optional<std::vector<std::string>> {
            const auto answer = answers_.find(&dialog);
            if (answer == answers_.end()) {
                ADD_FAILURE() << "unexpected file dialog " << dialog.Name();
                return std::nullopt;
            }
            return answer->second;
        });

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

        app::CreateCastoraForms();
        Form1->Show();
        App().ProcessMessages();
        ASSERT_EQ(Form1->StartupExitCode(), 0);
    }

    void TearDown() override
    {
        ui::SetFileDialogHook({});
        skin::SetMessageDialogHook({});
    }

    // Runs `act` once `form` is the modal form on top, inside its modal loop.
    void WhenModal(TForm* form, std::function<void()> act)
    {
        auto timer = std::make_unique<TTimer>();
        timer->SetInterval(1);
        TTimer* raw = timer.get();
        timer->OnTimer = [form, raw, act](TObject*) {
            if (Screen().ModalForm() != form) return;
            raw->SetEnabled(false);
            act();
        };
        timer->SetEnabled(true);
        watchers_.push_back(std::move(timer));
    }

    // Runs the loop until done() or a bound of virtual time.
    bool Settle(const std::function<bool()>& done, int64_t ms = 20000) { return App().PumpUntil(done, ms); }

    core::TestApplication app_;
    core::TestSystemDir system_;
    std::filesystem::path work_, user_;
    std::map<const TOpenDialog*, std::vector<std::string>> answers_;
    std::vector<std::string> messages_;
    std::vector<std::unique_ptr<TTimer>> watchers_;
    TTimer guard_;
    TForm* guarded_ = nullptr;
    int guarded_seconds_ = 0;
};
