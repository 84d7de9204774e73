#pragma once
// The main window as the program entry starts it, for the tests of its
// windows: headless, on a virtual clock, in a temporary system folder,
// with every message box recorded and answered.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/application.h"
#include "platform/core/files.h"

namespace app_test {

struct Message {
    std::string caption, text, button;
};

// A movie file of `frames` empty frames (its folder made if need be).
void WriteMovieFile(const std::filesystem::path& path, std::uint32_t frames);

class MainWindowTest : public ::testing::Test {
protected:
    // Every message box from here on is recorded in messages_ and answered
    // with its first button.
    void SetUp() override;
    // The message box and file dialog hooks back to none.
    void TearDown() override;

    // Creates every form and shows the main window.
    void Start();
    // The installer's work folder "brenholt_1" in the system folder, then
    // Start; the start-up must take it.
    void StartWithWorkFolder();

    // The messages as "caption|text|button".
    std::vector<std::string> MessageLines() const;
    // The next file dialogs answer `files` (none: cancelled), keeping the
    // file name each was opened with in dialog_file_name_.
    void ChooseFiles(const std::vector<std::filesystem::path>& files);

    core::TestApplication app_;
    core::TestSystemDir system_;
    std::filesystem::path work_;
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
