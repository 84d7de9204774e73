#pragma once
// A user with a home, a desktop, a menu and a system folder, all in a
// temporary folder, and an installation laid out there by the installer.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/files.h"
#include "tests/shell/env_guard.h"

namespace uninstall_test {

namespace fs = std::filesystem;

class Installation : public ::testing::Test {
protected:
    void SetUp() override;

    // Program files as `cmake --install` leaves them, then the installer's
    // folders, list of installed files, work folder, record and shortcuts.
    // Returns the work folder.
    fs::path Install();
    // What `cmake --install` copies, relative to the installation folder.
    static std::vector<fs::path> InstalledFiles();
    // A file with some bytes, and its folders.
    static void Touch(const fs::path& path, const std::string& bytes = "x");
    static bool Exists(const fs::path& path);

    core::TempDir temp_;
    EnvGuard env_;
    fs::path root_;     // the temporary folder
    fs::path home_;     // $HOME
    fs::path system_;   // $VELMORA_SYSTEM_DIR
    fs::path install_;  // the installation folder
    fs::path desktop_, menu_, autostart_;
};

}  // namespace uninstall_test
