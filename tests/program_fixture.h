// castora as its program entry starts it, for the tests of its windows and
// of the whole road: headless, on a virtual clock, in a temporary system
// folder, every message box answered with its first button, file dialogs
// answered from answers_ or any_dialog_ on request, and actions run inside the modal
// loop of a form. The fixtures of the window tests and of the road tests
// derive from it; Base is ::testing::Test or a ::testing::TestWithParam.
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
#include "app/main_window.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "platform/ui/dialogs.h"
#include "skin/kiv_message_dialog.h"
#include "tests/castora_work_folder.h"

template <class Base = ::testing::Test>
class ProgramFixture : public Base {
protected:
    using FileAnswer = std::optional<std::vector<std::string>>;

    void SetUp() override
    {
        skin::SetMessageDialogHook([this](const TkivMessageDialog& dialog) {
            OnMessage(dialog);
            return mrOk;
        });
    }

    // From here on the file dialogs answer from answers_ and any_dialog_
    // (until then, and after a test sets its own hook, they open for real).
    void AnswerFileDialogs()
    {
        ui::SetFileDialogHook([this](const TOpenDialog& dialog) { return AnswerFileDialog(dialog); });
    }

    void TearDown() override
    {
        ui::SetFileDialogHook({});
        skin::SetMessageDialogHook({});
    }

    // Each message box, before it is answered; the fixtures record them.
    virtual void OnMessage(const TkivMessageDialog&) {}

    // Creates every form and shows the main window.
    void Start()
    {
        app::CreateCastoraForms();
        ASSERT_NE(Form1, nullptr);
        Form1->Show();
        App().ProcessMessages();
    }
    // The installer's work folder "brenholt_1" in the system folder, and a
    // folder of the user's own files beside it, then Start; the start-up
    // must take the work folder.
    void StartWithWorkFolder()
    {
        work_ = MakeCastoraWorkFolder(system_.Path());
        user_ = system_.Path() / "user";
        std::filesystem::create_directories(user_);
        Start();
        ASSERT_EQ(Form1->StartupExitCode(), 0);
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

    // Runs the loop until done() or a bound of virtual time; false on the bound.
    bool Settle(const std::function<bool()>& done, int64_t ms = 20000) { return App().PumpUntil(done, ms); }

    core::TestApplication app_;
    core::TestSystemDir system_;
    std::filesystem::path work_, user_;
    // What each file dialog answers: the chosen names (none: cancelled).
    std::map<const TOpenDialog*, std::vector<std::string>> answers_;
    // The answer of a dialog that answers_ does not name.
    std::function<FileAnswer(const TOpenDialog&)> any_dialog_;
    // A dialog that neither answers nor any_dialog_ expects fails the test.
    bool unexpected_dialogs_fail_ = false;
    std::vector<std::unique_ptr<TTimer>> watchers_;

private:
    FileAnswer AnswerFileDialog(const TOpenDialog& dialog)
    {
        const auto answer = answers_.find(&dialog);
        if (answer != answers_.end())
            return answer->second.empty() ? std::nullopt : FileAnswer(answer->second);
        if (any_dialog_) return any_dialog_(dialog);
        if (unexpected_dialogs_fail_) ADD_FAILURE() << "unexpected file dialog " << dialog.Name();
        return std::nullopt;
    }
};
