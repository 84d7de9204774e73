#pragma once
// The main window with a work folder, photos and the 20-frame fixture
// template, for the preview and template import tests: headless, on a
// virtual clock, in a temporary system folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "tests/app/main_window_fixture.h"
#include "tests/program_fixture.h"

class TControl;

namespace preview_test {

namespace fs = std::filesystem;

// The shipped 20-frame fixture template: segments of ten frames asking for
// two photos each.
fs::path FixtureTemplate();

// A WAV file of silence lasting `seconds`.
void WriteSilence(const fs::path& path, double seconds);

using app_test::WriteMovieFile;

std::string ReadBytes(const fs::path& path);

class PreviewWindow : public ProgramFixture<> {
protected:
    void SetUp() override;
    // Every message box after the start, as caption "|" text.
    void OnMessage(const TkivMessageDialog& dialog) override;

    // Photos 1..count in the work folder and the photo list.
    void AddPhotos(int count);
    // Chooses `file` in the template dialog of "导入模板" and lets the
    // please-wait form close.
    void ImportTemplate(const fs::path& file);
    // The visible pane of the preview frame that is in front.
    TControl* FrontPane() const;
    // Runs until `done` or `ms` of virtual time; false on the timeout.
    bool RunUntil(const std::function<bool()>& done, int64_t ms = 5000);
    int Ticks() const;  // Edit2
    std::string Slot(int i) const
    {
        return ReadBytes(work_ / "zhzp" / ("tupian" + std::to_string(i) + ".jpg"));
    }
    std::string Photo(int k) const
    {
        return ReadBytes(work_ / "zpyjj" / ("zpyjj" + std::to_string(k) + ".jpg"));
    }
    // The editing controls are all unlocked (or all locked).
    bool Unlocked() const;
    bool Locked() const;

    bool started_ = false;
    std::vector<std::string> messages_;
};

}  // namespace preview_test
