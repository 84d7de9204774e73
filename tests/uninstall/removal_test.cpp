// What castorun removes, in which order, and what it refuses to remove.
#include "uninstall/removal.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/core/ini.h"
#include "platform/core/text.h"
#include "tests/uninstall/installation.h"
#include "tests/uninstall/second_file_system.h"

namespace uninstall_test {
namespace {

using uninstall::FolderVerdict;

class Removal : public Installation {
protected:
    uninstall::RemovalPlan Plan() const
    {
        uninstall::RemovalPlan plan =
            uninstall::PlanRemoval(app::FindWorkFolder(system_), system_, uninstall::kProductTitle);
        plan.file_system = second_.Probe();
        return plan;
    }
    static void RunAll(const uninstall::RemovalPlan& plan)
    {
        for (int step = 1; step <= uninstall::kRemovalSteps; ++step) uninstall::RunRemovalStep(plan, step);
    }
    static void Record(const fs::path& work, const std::string& lj)
    {
        Touch(work / "azlj.ini", "[azlj]\r\nlj=" + lj + "\r\n");
    }
    // A folder that looks like an installation in every way but its place:
    // castora, the mark, and a list that names `files` (relative to it).
    static void LooksInstalled(const fs::path& folder, const std::vector<fs::path>& files = {})
    {
        Touch(folder / "castora");
        Touch(folder / std::string(uninstall::kInstallMark), std::string(uninstall::kInstallMarkText));
        uninstall::InstalledFiles list;
        list.files = {"castora"};
        list.files.insert(files.begin(), files.end());
        Touch(folder / std::string(uninstall::kInstalledFilesList), uninstall::InstalledFilesText(list));
    }
    // A recorded path as the refusal shows it.
    static std::string Shown(const std::string& recorded)
    {
        std::string shown;
        for (char c : recorded)
            shown += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
        return shown;
    }

    SecondFileSystems second_;
};

TEST_F(Removal, StepByStepTheInstallationTheWorkFolderAndTheShortcutsGoAndNothingElse)
{
    const fs::path work = Install();
    Touch(work / "zpyjj" / "zpyjj1.jpg");
    Touch(autostart_ / "Velmora2007.desktop");
    const std::vector<fs::path> kept = {
        menu_ / "other.desktop",
        desktop_ / "notes.txt",
        autostart_ / "other.desktop",
        root_ / "opt" / "other" / "castora",
        system_ / "brenholt_2" / "zpyjj" / "theirs.jpg",
    };
    for (const fs::path& file : kept) Touch(file);

    const uninstall::RemovalPlan plan = Plan();
    EXPECT_EQ(plan.work.work_dir, work / "");
    EXPECT_EQ(plan.installation.verdict, FolderVerdict::Accepted);
    EXPECT_EQ(plan.installation.folder, fs::canonical(install_));

    // What each step has removed, in the order of the steps.
    const std::vector<fs::path> gone_after = {
        install_,
        work,
        desktop_ / "Velmora.desktop",
        menu_ / "Velmora2007.desktop",
        menu_ / "Velmora2007",
        autostart_ / "Velmora2007.desktop",
    };
    for (const fs::path& path : gone_after) ASSERT_TRUE(Exists(path)) << path;
    for (int step = 1; step <= uninstall::kRemovalSteps; ++step) {
        uninstall::RunRemovalStep(plan, step);
        for (int i = 0; i < uninstall::kRemovalSteps; ++i)
            EXPECT_EQ(Exists(gone_after[i]), i >= step) << "after step " << step << ": " << gone_after[i];
    }
    for (const fs::path& file : kept) EXPECT_TRUE(Exists(file)) << file;
    for (const fs::path& folder : {system_, menu_, desktop_, autostart_, root_ / "opt"})
        EXPECT_TRUE(Exists(folder)) << folder;
}

TEST_F(Removal, TheWorkFolderIsFoundByCastorasRule)
{
    // A foreign brenholt_1 without "zpyjj" is passed over for brenholt_2.
    Touch(system_ / "brenholt_1" / "notes.txt");
    Touch(system_ / "brenholt_2" / "zpyjj" / "zpyjj1.jpg");
    RunAll(Plan());
    EXPECT_TRUE(Exists(system_ / "brenholt_1" / "notes.txt"));
    EXPECT_FALSE(Exists(system_ / "brenholt_2"));

    // With only the foreign folder, the rule takes brenholt_2, which is missing.
    const uninstall::RemovalPlan plan = Plan();
    EXPECT_EQ(plan.work.number, 2);
    EXPECT_FALSE(plan.work.present);
    RunAll(plan);
    EXPECT_TRUE(Exists(system_ / "brenholt_1" / "notes.txt"));
}

TEST_F(Removal, WithoutTheRecordEverythingButTheInstallationFolderGoes)
{
    const fs::path work = Install();
    fs::remove(work / "azlj.ini");
    const uninstall::RemovalPlan plan = Plan();
    EXPECT_EQ(plan.installation.verdict, FolderVerdict::Empty);
    EXPECT_EQ(uninstall::RefusalText(plan.installation, "Velmora"), "");
    RunAll(plan);
    EXPECT_TRUE(Exists(install_ / "castora"));
    EXPECT_FALSE(Exists(work));
    EXPECT_FALSE(Exists(desktop_ / "Velmora.desktop"));
    EXPECT_FALSE(Exists(menu_ / "Velmora2007"));
}

TEST_F(Removal, ARecordInGbkNamesTheSameFolder)
{
    const fs::path work = Install();
    Record(work, core::Utf8ToGbk(install_.string()));
    EXPECT_EQ(uninstall::ReadInstallationRecord(work), install_.string());
    EXPECT_EQ(Plan().installation.verdict, FolderVerdict::Accepted);
}

TEST_F(Removal, AUtf8RecordOfTwoByteCharactersNamesTheSameFolder)
{
    // Such a path is also valid GBK; read as GBK it would name nothing.
    install_ = root_ / "opt" / "Café Ελλάδα";
    const fs::path work = Install();
    EXPECT_EQ(uninstall::ReadInstallationRecord(work), install_.string());
    const uninstall::RemovalPlan plan = Plan();
    EXPECT_EQ(plan.installation.verdict, FolderVerdict::Accepted);
    RunAll(plan);
    EXPECT_FALSE(Exists(install_));
}

// Whatever the record says, only a folder that holds castora and none of the
// user's or the system's folders is removed.
TEST_F(Removal, RecordsNamingOtherFoldersAreRefusedAndTheirFilesStay)
{
    const fs::path work = Install();
    // castora planted everywhere: the marker alone is not enough.
    for (const fs::path& folder : {home_, system_, desktop_, root_}) Touch(folder / "castora");
    Touch(home_ / "Documents" / "letter.txt");
    Touch(root_ / "opt" / "other" / "readme.txt");
    Touch(root_ / "opt" / "a file");
    fs::create_directory_symlink(home_, root_ / "opt" / "home-link");

    struct Case {
        std::string recorded;
        FolderVerdict verdict;
    };
    const std::vector<Case> cases = {
        {"opt/velmora", FolderVerdict::NotAbsolute},
        {"~/velmora", FolderVerdict::NotAbsolute},
        {"C:\\Program Files\\Velmora", FolderVerdict::NotAbsolute},
        {"/", FolderVerdict::Protected},
        {"/usr", FolderVerdict::Protected},
        {"/usr/local/bin", FolderVerdict::Protected},
        {home_.string(), FolderVerdict::Protected},
        {home_.string() + "/", FolderVerdict::Protected},
        {(home_ / "Documents" / "..").string(), FolderVerdict::Protected},
        {home_.parent_path().string(), FolderVerdict::Protected},
        {root_.string(), FolderVerdict::Protected},
        {system_.string(), FolderVerdict::Protected},
        {desktop_.string(), FolderVerdict::Protected},
        {(root_ / "opt" / "home-link").string(), FolderVerdict::Protected},
        {(root_ / "opt" / "a file").string(), FolderVerdict::NotAFolder},
        {(root_ / "opt" / "other").string(), FolderVerdict::NotAnInstallation},
        {(root_ / "opt" / "gone").string(), FolderVerdict::Missing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.recorded);
        Record(work, c.recorded);
        const uninstall::RemovalPlan plan = Plan();
        EXPECT_EQ(plan.installation.verdict, c.verdict);
        const std::string message = uninstall::RefusalText(plan.installation, "Velmora");
        if (c.verdict == FolderVerdict::Missing) {
            EXPECT_EQ(message, "");
        } else {
            EXPECT_NE(message.find("\"" + c.recorded + "\"没有删除"), std::string::npos) << message;
        }
        uninstall::RunRemovalStep(plan, 1);
    }
    for (const fs::path& file :
         {home_ / "castora", home_ / "Documents" / "letter.txt", system_ / "castora", desktop_ / "castora",
          root_ / "castora", root_ / "opt" / "other" / "readme.txt", root_ / "opt" / "a file",
          root_ / "opt" / "home-link", install_ / "castora"})
        EXPECT_TRUE(Exists(file)) << file;
    Record(work, (root_ / "opt" / "other").string());
    EXPECT_EQ(uninstall::RefusalText(Plan().installation, "Velmora"),
              "安装目录\"" + (root_ / "opt" / "other").string() +
                  "\"没有删除:其中没有castora,不是<Velmora>的安装目录。");
}

// What the whole removal takes and leaves for each kind of record. Whatever
// the record names, the work folder and the shortcuts go; the named folder
// goes only when it is an installation that the installer marked.
TEST_F(Removal, EachRecordTakesOnlyAMarkedInstallationAndTheRestAlwaysGoes)
{
    const fs::path opt = root_ / "opt";
    const fs::path documents = home_ / "Documents";
    const fs::path user_dirs = home_ / ".config" / "user-dirs.dirs";
    struct Case {
        std::string what;
        std::function<std::string()> record;  // sets up the case, answers the record's text
        FolderVerdict verdict;
        std::vector<fs::path> gone;
        std::vector<fs::path> kept;
        std::vector<fs::path> told = {};  // what the removal reports as kept, relative to the installation
    };
    const auto looks_installed = [](const fs::path& folder) { LooksInstalled(folder); };
    const auto install = [&](const fs::path& file) { return install_ / file; };
    const std::vector<fs::path> user_files = {"my_song.mp3", fs::path("MP3歌曲") / "my_song.mp3",
                                              fs::path("Photo") / "my_wedding.jpg", "my_album.mp4"};
    const fs::path song = fs::path("MP3歌曲") / "相册小调.mp3";  // installed
    const std::vector<Case> cases = {
        {"the root", [] { return std::string("/"); }, FolderVerdict::Protected, {}, {install_ / "castora"}},
        {"a system folder",
         [] { return std::string("/usr/lib"); },
         FolderVerdict::Protected,
         {},
         {install_ / "castora", "/usr/lib"}},
        {"the installation", [&] { return install_.string(); }, FolderVerdict::Accepted, {install_}, {opt}},
        {"the installation with a trailing slash",
         [&] { return install_.string() + "/"; },
         FolderVerdict::Accepted,
         {install_},
         {opt}},
        {"a link to the installation",
         [&] {
             fs::create_directory_symlink(install_, opt / "velmora-link");
             return (opt / "velmora-link").string();
         },
         FolderVerdict::Accepted,
         {install_, opt / "velmora-link"},
         {opt}},
        {"a link to home",
         [&] {
             looks_installed(home_);
             fs::create_directory_symlink(home_, opt / "home-link");
             return (opt / "home-link").string();
         },
         FolderVerdict::Protected,
         {},
         {opt / "home-link", home_ / "castora", install_ / "castora"}},
        {"a relative path",
         [] { return std::string("opt/安装 目录"); },
         FolderVerdict::NotAbsolute,
         {},
         {install_ / "castora"}},
        {"..", [] { return std::string(".."); }, FolderVerdict::NotAbsolute, {}, {install_ / "castora"}},
        {"the folder above the installation",
         [&] { return (install_ / "..").string(); },
         FolderVerdict::NotAnInstallation,
         {},
         {install_ / "castora"}},
        {"a folder without castora",
         [&] {
             Touch(opt / "other" / "readme.txt");
             return (opt / "other").string();
         },
         FolderVerdict::NotAnInstallation,
         {},
         {opt / "other" / "readme.txt", install_ / "castora"}},
        {"castora without the installer's mark",
         [&] {
             Touch(opt / "by-hand" / "castora");
             Touch(opt / "by-hand" / "photo.jpg");
             return (opt / "by-hand").string();
         },
         FolderVerdict::Unmarked,
         {},
         {opt / "by-hand" / "castora", opt / "by-hand" / "photo.jpg"}},
        {"an empty record", [] { return std::string(); }, FolderVerdict::Empty, {}, {install_ / "castora"}},
        {"a file",
         [&] {
             Touch(opt / "a file");
             return (opt / "a file").string();
         },
         FolderVerdict::NotAFolder,
         {},
         {opt / "a file", install_ / "castora"}},
        {"Documents holding castora, no user-dirs.dirs",
         [&] {
             looks_installed(documents);
             Touch(documents / "letter.txt");
             return documents.string();
         },
         FolderVerdict::Protected,
         {},
         {documents / "castora", documents / "letter.txt", install_ / "castora"}},
        {"Documents holding castora, user-dirs.dirs naming other folders",
         [&] {
             Touch(user_dirs, "XDG_DOCUMENTS_DIR=\"$HOME/文档\"\nXDG_MUSIC_DIR=\"$HOME/音乐\"\n");
             looks_installed(documents);
             looks_installed(home_ / "音乐");
             return documents.string();
         },
         FolderVerdict::Protected,
         {},
         {documents / "castora", home_ / "音乐" / "castora"}},
        {"the configured music folder holding castora",
         [&] {
             Touch(user_dirs, "XDG_MUSIC_DIR=\"$HOME/音乐\"\n");
             looks_installed(home_ / "音乐");
             return (home_ / "音乐").string();
         },
         FolderVerdict::Protected,
         {},
         {home_ / "音乐" / "castora"}},
        {"user files at the top of the installation and in its folders",
         [&] {
             for (const fs::path& file : user_files) Touch(install_ / file, "the user's");
             return install_.string();
         },
         FolderVerdict::Accepted,
         {install("castora"), install("castorun"), install("libmcl.so.4"), install(song), install("试用模板"),
          install("LRC歌词"), install(uninstall::kInstallMark), install(uninstall::kInstalledFilesList)},
         {install(user_files[0]), install(user_files[1]), install(user_files[2]), install(user_files[3])},
         {fs::path("MP3歌曲") / "my_song.mp3", fs::path("Photo") / "my_wedding.jpg", "my_album.mp4",
          "my_song.mp3"}},
        {"the user's music and pictures bound into the installation",
         [&] {
             Touch(home_ / "Music" / "相册小调.mp3", "the user's own copy");
             Touch(home_ / "Music" / "mine.mp3");
             Touch(home_ / "Pictures" / "holiday.jpg");
             second_.Add(home_ / "Music", install_ / "MP3歌曲");
             second_.Add(home_ / "Pictures", install_ / "Photo");
             return install_.string();
         },
         FolderVerdict::Accepted,
         {install("castora"), install("LRC歌词"), install("试用模板")},
         {install(song), install("MP3歌曲") / "mine.mp3", install("Photo") / "holiday.jpg",
          home_ / "Music" / "相册小调.mp3", home_ / "Music" / "mine.mp3", home_ / "Pictures" / "holiday.jpg"},
         {"MP3歌曲/", "Photo/"}},
        {"a folder of the installation made a link to the user's music",
         [&] {
             Touch(home_ / "Music" / "相册小调.mp3", "the user's own copy");
             fs::remove_all(install_ / "MP3歌曲");
             fs::create_directory_symlink(home_ / "Music", install_ / "MP3歌曲");
             return install_.string();
         },
         FolderVerdict::Accepted,
         {install("castora")},
         {install("MP3歌曲"), home_ / "Music" / "相册小调.mp3"},
         {"MP3歌曲"}},
        {"a record with a CR in the middle",
         [&] { return install_.string() + "\r" + home_.string(); },
         FolderVerdict::LineBreak,
         {},
         {install("castora"), install(song)}},
        {"a record with an LF in the middle",
         [&] { return install_.string() + "\n" + home_.string(); },
         FolderVerdict::LineBreak,
         {},
         {install("castora"), install(song)}},
        {"an installation without its list of installed files",
         [&] {
             fs::remove(install(uninstall::kInstalledFilesList));
             return install_.string();
         },
         FolderVerdict::Unlisted,
         {},
         {install("castora"), install(song)}},
        {"a list of installed files cut short",
         [&] {
             const fs::path list = install(uninstall::kInstalledFilesList);
             fs::resize_file(list, fs::file_size(list) - 3);
             return install_.string();
         },
         FolderVerdict::ListDamaged,
         {},
         {install("castora"), install(song)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        second_.Clear();
        fs::remove_all(install_);
        fs::remove_all(home_ / "Music");
        fs::remove_all(home_ / "Pictures");
        fs::remove(user_dirs);
        const fs::path work = Install();
        const std::string recorded = c.record();
        Record(work, recorded);
        const uninstall::RemovalPlan plan = Plan();
        EXPECT_EQ(plan.installation.verdict, c.verdict);
        const std::string refusal = uninstall::RefusalText(plan.installation, "Velmora");
        if (plan.installation.Refused())
            EXPECT_TRUE(refusal.starts_with("安装目录\"" + Shown(recorded) + "\"没有删除:")) << refusal;
        else
            EXPECT_EQ(refusal, "");
        RunAll(plan);
        for (const fs::path& path : c.gone) EXPECT_FALSE(Exists(path)) << path;
        for (const fs::path& path : c.kept) EXPECT_TRUE(Exists(path)) << path;
        EXPECT_EQ(uninstall::KeptEntries(plan), c.told);
        // The rest of the removal runs whatever the record said.
        for (const fs::path& path :
             {work, desktop_ / "Velmora.desktop", menu_ / "Velmora2007.desktop", menu_ / "Velmora2007"})
            EXPECT_FALSE(Exists(path)) << path;
        for (const fs::path& path : {home_, desktop_, menu_, system_}) EXPECT_TRUE(Exists(path)) << path;
    }
}

TEST_F(Removal, AWorkFolderThatIsALinkGoesAsALinkAndWhatItPointsToStays)
{
    const fs::path work = Install();
    const fs::path moved = root_ / "elsewhere" / "work";
    fs::create_directories(moved.parent_path());
    fs::rename(work, moved);
    fs::create_directory_symlink(moved, work);
    Touch(moved / "zpyjj" / "zpyjj1.jpg");

    const uninstall::RemovalPlan plan = Plan();
    EXPECT_TRUE(plan.work.present);
    EXPECT_EQ(plan.installation.verdict, FolderVerdict::Accepted);
    RunAll(plan);
    EXPECT_FALSE(Exists(work));
    EXPECT_FALSE(Exists(install_));
    EXPECT_TRUE(Exists(moved / "zpyjj" / "zpyjj1.jpg"));
    EXPECT_TRUE(Exists(moved / "azlj.ini"));
}

TEST_F(Removal, LinksAreRemovedAsLinksNeverFollowed)
{
    const fs::path work = Install();
    const fs::path data = root_ / "data";
    Touch(data / "photo.jpg");
    Touch(root_ / "menu-data" / "entry.desktop");
    fs::create_directory_symlink(data, install_ / "Photo" / "mine");
    fs::create_symlink(data / "photo.jpg", install_ / "试用模板" / "photo.jpg");
    fs::create_directory_symlink(data, work / "zpyjj" / "outside");
    fs::remove_all(menu_ / "Velmora2007");
    fs::create_directory_symlink(root_ / "menu-data", menu_ / "Velmora2007");
    fs::remove(desktop_ / "Velmora.desktop");
    fs::create_symlink(data / "photo.jpg", desktop_ / "Velmora.desktop");
    // The record names a link to the installation: the folder and the link go.
    fs::create_directory_symlink(install_, root_ / "velmora-link");
    Record(work, (root_ / "velmora-link").string());

    const uninstall::RemovalPlan plan = Plan();
    EXPECT_EQ(plan.installation.folder, fs::canonical(install_));
    RunAll(plan);
    // The links are the user's: they stay, as links, and so does the
    // folder that holds them, and the link to it.
    EXPECT_FALSE(Exists(install_ / "castora"));
    EXPECT_TRUE(fs::is_symlink(install_ / "Photo" / "mine"));
    EXPECT_TRUE(fs::is_symlink(install_ / "试用模板" / "photo.jpg"));
    EXPECT_EQ(uninstall::KeptEntries(plan),
              (std::vector<fs::path>{fs::path("Photo") / "mine", fs::path("试用模板") / "photo.jpg"}));
    EXPECT_TRUE(Exists(root_ / "velmora-link"));
    EXPECT_FALSE(Exists(work));
    EXPECT_FALSE(Exists(menu_ / "Velmora2007"));
    EXPECT_FALSE(Exists(desktop_ / "Velmora.desktop"));
    EXPECT_TRUE(Exists(data / "photo.jpg"));
    EXPECT_TRUE(Exists(root_ / "menu-data" / "entry.desktop"));
}

// A large collection of the user's is not read through, and the message
// names a few of its files.
TEST_F(Removal, TheKeptFilesAreNamedTenAtMost)
{
    Install();
    for (int i = 0; i < 25; ++i) Touch(install_ / "Photo" / ("照片" + std::to_string(i) + ".jpg"));
    const uninstall::RemovalPlan plan = Plan();
    RunAll(plan);
    EXPECT_EQ(uninstall::KeptEntries(plan).size(), 25u);
    const std::vector<fs::path> kept = uninstall::KeptEntries(plan, uninstall::kKeptNamed + 1);
    ASSERT_EQ(kept.size(), 11u);
    const std::string text = uninstall::KeptFilesText(plan.installation.folder, kept);
    EXPECT_TRUE(text.starts_with("安装目录\"" + plan.installation.folder.string() +
                                 "\"中以下文件不是安装的文件, 已保留: Photo/照片"))
        << text;
    EXPECT_TRUE(text.ends_with(".jpg 等")) << text;
    size_t named = 0;
    for (size_t at = text.find("Photo/"); at != std::string::npos; at = text.find("Photo/", at + 1)) ++named;
    EXPECT_EQ(named, 10u) << text;
    EXPECT_EQ(uninstall::KeptFilesText(plan.installation.folder, {}), "");
}

// A record may name another path of a folder to keep: a bind mount shows
// it under a path of its own, with its device and inode. Where the machine
// refuses mounts there is nothing to try.
TEST_F(Removal, ARecordNamingABindMountOfAFolderToKeepIsRefused)
{
    const fs::path work = Install();
    Touch(home_ / "Pictures" / "holiday.jpg");
    Touch(home_ / "Documents" / "letter.txt");
    LooksInstalled(home_, {fs::path("Documents") / "letter.txt"});
    LooksInstalled(home_ / "Pictures", {"holiday.jpg"});
    const fs::path alias = root_ / "opt" / "alias";
    fs::create_directories(alias);
    for (const fs::path& kept : {home_, home_ / "Pictures", root_ / "home"}) {
        SCOPED_TRACE(kept);
        if (!second_.Bind(kept, alias)) GTEST_SKIP() << "mounts are refused on this machine";
        Record(work, alias.string());
        const uninstall::RemovalPlan plan = Plan();
        EXPECT_EQ(plan.installation.verdict, FolderVerdict::Protected);
        uninstall::RunRemovalStep(plan, 1);
        second_.Clear();
        for (const fs::path& file : {home_ / "castora", home_ / "Documents" / "letter.txt",
                                     home_ / "Pictures" / "castora", home_ / "Pictures" / "holiday.jpg"})
            EXPECT_TRUE(Exists(file)) << file;
    }
}

}  // namespace
}  // namespace uninstall_test
