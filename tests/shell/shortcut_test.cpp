#include "platform/shell/shortcut.h"

#include <gtest/gtest.h>

#include "platform/core/files.h"

namespace {

namespace fs = std::filesystem;

TEST(ShortcutExec, QuotesOnlyWhatNeedsIt)
{
    struct Case {
        const char* argument;
        const char* expected;
    } cases[] = {
        {"/opt/velmora/castora", "/opt/velmora/castora"},
        {"/opt/我的 程序/castora", "\"/opt/我的 程序/castora\""},
        {"a\"b", "\"a\\\"b\""},
        {"$HOME", "\"\\$HOME\""},
        {"back\\slash", "\"back\\\\slash\""},
        {"tick`", "\"tick\\`\""},
        {"100%", "100%%"},
        {"", "\"\""},
    };
    for (const Case& c : cases) EXPECT_EQ(shell::QuoteExecArgument(c.argument), c.expected) << c.argument;
}

TEST(ShortcutFormat, EntryWithEscapedValues)
{
    shell::Shortcut s;
    s.name = "Velmora2007";
    s.comment = "line\nbreak";
    s.arguments = {"--x"};
    s.workingDir = "/opt/a b";
    s.icon = "applications-multimedia";
    s.categories = "AudioVideo;Video;";
    // The Exec value is a string too, so the quoting's backslash doubles.
    s.program = "/opt/a b/cast\"ora";
    EXPECT_EQ(shell::FormatShortcut(s),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Version=1.0\n"
              "Name=Velmora2007\n"
              "Comment=line\\nbreak\n"
              "Exec=\"/opt/a b/cast\\\\\"ora\" --x\n"
              "Path=/opt/a b\n"
              "Icon=applications-multimedia\n"
              "Categories=AudioVideo;Video;\n"
              "Terminal=false\n");
}

TEST(ShortcutFile, WriteReplaceAndDelete)
{
    core::TempDir temp;
    const fs::path folder = temp.Path() / "new" / "applications";
    shell::Shortcut s;
    s.name = "Velmora";
    s.program = "/opt/velmora/castora";

    ASSERT_TRUE(shell::WriteShortcut(folder, "Velmora", s));
    const fs::path file = folder / "Velmora.desktop";
    EXPECT_EQ(shell::ShortcutPath(folder, "Velmora"), file);
    ASSERT_TRUE(core::FileExists(file));
    EXPECT_NE(fs::status(file).permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_NE(core::ReadFileBytes(file)->find("Exec=/opt/velmora/castora\n"), std::string::npos);

    s.program = "/usr/local/velmora/castora";
    ASSERT_TRUE(shell::WriteShortcut(folder, "Velmora", s));
    EXPECT_NE(core::ReadFileBytes(file)->find("Exec=/usr/local/velmora/castora\n"), std::string::npos);

    EXPECT_TRUE(shell::DeleteShortcut(folder, "Velmora"));
    EXPECT_FALSE(core::FileExists(file));
    EXPECT_FALSE(shell::DeleteShortcut(folder, "Velmora"));
}

TEST(ShortcutFile, UnwritableFolderFails)
{
    core::TempDir temp;
    ASSERT_TRUE(core::WriteFileBytes(temp.Path() / "plain", "x"));
    shell::Shortcut s;
    s.program = "/bin/true";
    EXPECT_FALSE(shell::WriteShortcut(temp.Path() / "plain", "Velmora", s));
}

}  // namespace
