// The list of installed files: what reads back, and what reads as damaged
// (a damaged list keeps the whole installation folder).
#include "uninstall/installed_files.h"

#include <gtest/gtest.h>

namespace uninstall_test {
namespace {

namespace fs = std::filesystem;

using uninstall::InstalledFiles;

TEST(InstalledFiles, TheTextReadsBackTheSame)
{
    const InstalledFiles list{{"castora", fs::path("MP3歌曲") / "相册小调.mp3", "#notes", "a b"},
                              {"MP3歌曲", "Photo", fs::path("试用模板") / "示例照片"}};
    const std::string text = uninstall::InstalledFilesText(list);
    EXPECT_TRUE(text.starts_with("# Velmora2007: installed files\n")) << text;
    EXPECT_NE(text.find("\nMP3歌曲/相册小调.mp3\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n试用模板/示例照片/\n"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("\n# end\n")) << text;
    EXPECT_EQ(uninstall::ParseInstalledFiles(text), list);
    EXPECT_EQ(uninstall::ParseInstalledFiles("# Velmora2007: installed files\n# end\n"), InstalledFiles{});
}

TEST(InstalledFiles, ADamagedListReadsAsNothing)
{
    const std::string head = "# Velmora2007: installed files\n";
    const std::string end = "# end\n";
    const std::string whole = head + "castora\nPhoto/\n" + end;
    for (const std::string& text : {
             std::string(),
             head,                                           // no end: cut short
             whole.substr(0, whole.size() - 1),              // cut in its last line
             whole.substr(0, head.size() + 4),               // cut in a path
             "castora\n" + end,                              // no header
             head + "castora\r\n" + end,                     // CR LF: not the installer's
             head + "castora\rPhoto\n" + end,                // a CR inside
             head + std::string("cast\0ora\n", 9) + end,     // a NUL inside
             head + "\n" + end,                              // an empty line
             head + "/etc/passwd\n" + end,                   // absolute
             head + "../home/user/photo.jpg\n" + end,        // above the installation
             head + "Photo/../../photo.jpg\n" + end,         // the same, further in
             head + "./castora\n" + end,                     // "."
             head + "Photo//photo.jpg\n" + end,              // an empty part
             head + "/\n" + end,                             // the root as a folder
             head + "\xC3\x28\n" + end,                      // no UTF-8
             head + "castora\n" + end + "castorun\n" + end,  // something after the end
         }) {
        EXPECT_FALSE(uninstall::ParseInstalledFiles(text)) << text;
    }
    EXPECT_TRUE(uninstall::ParseInstalledFiles(whole));
}

TEST(InstalledFiles, PathsThatCannotStandInTheListAreLeftOut)
{
    const InstalledFiles list{{"castora", "/etc/passwd", "..", fs::path("a") / ".." / "b", "x\ny"}, {}};
    EXPECT_EQ(uninstall::ParseInstalledFiles(uninstall::InstalledFilesText(list)),
              (InstalledFiles{{"castora"}, {}}));
}

}  // namespace
}  // namespace uninstall_test
