#pragma once
// The main window as the program entry starts it (tests/program_fixture.h),
// for the tests of its windows, with every message box recorded.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/program_fixture.h"

namespace app_test {

struct Message {
    std::string caption, text, button;
};

// A movie file of `frames` empty frames (its folder made if need be).
void WriteMovieFile(const std::filesystem::path& path, std::uint32_t frames);

class MainWindowTest : public ProgramFixture<> {
protected:
    // Every message box is recorded in messages_.
    void OnMessage(const TkivMessageDialog& dialog) override
    {
        messages_.push_back({dialog.Caption(), dialog.Text(), dialog.Button1Caption()});
    }

    // The messages as "caption|text|button".
    std::vector<std::string> MessageLines() const;
    // The next file dialogs answer `files` (none: cancelled), keeping the
    // file name each was opened with in dialog_file_name_.
    void ChooseFiles(const std::vector<std::filesystem::path>& files);

    std::vector<Message> messages_;
    std::string dialog_file_name_;
};

// Started with its work folder before each test.
class StartedMainWindow : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        StartWithWorkFolder();
    }
};

}  // namespace app_test
