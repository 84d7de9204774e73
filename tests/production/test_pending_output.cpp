// The job's video file under its temporary name, and the messages of the
// failures a user can meet.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "mcl/mcl.h"
#include "production/failure_messages.h"
#include "production/pending_output.h"
#include "tests/production/hostile_files.h"

namespace {

namespace fs = std::filesystem;
using namespace production;

class Folder {
public:
    Folder()
    {
        std::random_device random;
        path_ = fs::temp_directory_path() /
                ("velmora_output_" + std::to_string(random()) + std::to_string(random()));
        fs::create_directories(path_);
    }
    ~Folder()
    {
        std::error_code error;
        fs::permissions(path_, fs::perms::owner_all, error);
        fs::remove_all(path_, error);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::string Read(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// What the encoder does: opens the name it is given anew and writes.
void WriteThrough(const std::string& name, const std::string& text)
{
    std::ofstream(name, std::ios::binary | std::ios::trunc) << text;
}

int PartFiles(const fs::path& folder)
{
    int n = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        n += entry.path().extension() == ".part";
    return n;
}

TEST(PendingOutput, APlantedLinkIsNeitherFollowedNorRenamedIntoPlace)
{
    Folder dir;
    const fs::path victim = dir.path() / "victim.txt";
    std::ofstream(victim) << "keep me";
    const fs::path final = dir.path() / "album.mpg";
    // At the name the temporary file had, and put in place of the file
    // created once it is there.
    fs::create_symlink(victim, dir.path() / ".album.mpg.part");
    PendingOutput output(final);
    ASSERT_FALSE(output.Create());
    EXPECT_EQ(output.Temporary().parent_path(), final.parent_path());
    EXPECT_EQ(output.Temporary().filename().string().front(), '.') << "hidden";
    EXPECT_FALSE(fs::is_symlink(output.Temporary()));
    const fs::path created = output.Temporary();
    fs::rename(created, dir.path() / "moved-away");
    fs::create_symlink(victim, created);
    WriteThrough(output.WritePath(), "the album");
    EXPECT_EQ(Read(victim), "keep me");
    EXPECT_EQ(Read(dir.path() / "moved-away"), "the album") << "written into the file created";
    // What lies at the name now isn't the file written: nothing is kept.
    ASSERT_TRUE(output.Keep());
    EXPECT_FALSE(fs::exists(fs::symlink_status(final)));
    EXPECT_EQ(Read(victim), "keep me");
    EXPECT_TRUE(fs::is_symlink(created)) << "a file that isn't the job's own stays";
}

TEST(PendingOutput, TwoJobsOnOneNameNeverShareAFileAndTheSecondReplacesNothing)
{
    Folder dir;
    const fs::path final = dir.path() / "album.mpg";
    PendingOutput first(final), second(final);
    ASSERT_FALSE(first.Create());
    ASSERT_FALSE(second.Create());
    EXPECT_NE(first.Temporary(), second.Temporary());
    WriteThrough(first.WritePath(), "first");
    WriteThrough(second.WritePath(), "second");
    EXPECT_FALSE(first.Keep());
    const std::optional<Failure> refused = second.Keep();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->kind, FailureKind::OutputExists);
    EXPECT_NE(FailureText(*refused).find(final.string()), std::string::npos) << FailureText(*refused);
    EXPECT_EQ(Read(final), "first");
    EXPECT_EQ(PartFiles(dir.path()), 0);
}

TEST(PendingOutput, AnInodeFullFileSystemStillTakesTheFinishedFile)
{
    Folder dir;
    const fs::path small = dir.path() / "small";
    production_test::SmallFileSystem tmpfs(small, "size=4m,nr_inodes=16");
    if (!tmpfs.Mounted()) GTEST_SKIP() << "this process may not mount a file system";
    PendingOutput output(small / "album.mpg");
    // The temporary file takes the last inode: a hard link finds none.
    production_test::FillInodes(small, 1);
    ASSERT_FALSE(output.Create());
    WriteThrough(output.WritePath(), "the album");
    ASSERT_NE(::link(output.Temporary().c_str(), (small / "probe").c_str()), 0);
    EXPECT_EQ(errno, ENOSPC);
    const std::optional<Failure> kept = output.Keep();
    EXPECT_FALSE(kept) << FailureText(*kept);
    EXPECT_EQ(Read(small / "album.mpg"), "the album");
    EXPECT_EQ(PartFiles(small), 0);
}

TEST(PendingOutput, FailuresNameTheUsersFileAndAHiddenFileLeftBehind)
{
    Folder dir;
    // No such folder.
    std::optional<Failure> failure = PendingOutput(dir.path() / "gone" / "album.mpg").Create();
    ASSERT_TRUE(failure);
    EXPECT_EQ(FailureText(*failure),
              "文件夹无法打开: " + (dir.path() / "gone").string() + " (文件或文件夹不存在).");

    // A folder that refuses new files.
    const fs::path locked = dir.path() / "locked";
    fs::create_directories(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    {
        production_test::PermissionsBind bind;
        failure = PendingOutput(locked / "album.mpg").Create();
    }
    ASSERT_TRUE(failure);
    EXPECT_EQ(FailureText(*failure), "视频文件无法创建: " + (locked / "album.mpg").string() + " (没有权限).");

    // A folder made read-only while the job ran: the file can neither be
    // renamed nor removed, and the user is told where it lies.
    const fs::path folder = dir.path() / "made-read-only";
    fs::create_directories(folder);
    PendingOutput output(folder / "album.mpg");
    ASSERT_FALSE(output.Create());
    WriteThrough(output.WritePath(), "the album");
    const fs::path hidden = output.Temporary();
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    {
        production_test::PermissionsBind bind;
        failure = output.Keep();
    }
    ASSERT_TRUE(failure);
    EXPECT_EQ(FailureText(*failure),
              "视频文件无法保存为 " + (folder / "album.mpg").string() + " (没有权限).");
    ASSERT_TRUE(output.LeftBehind());
    EXPECT_EQ(FailureText(*output.LeftBehind()),
              "留下了一个隐藏的临时文件, 无法删除: " + hidden.string() + " (没有权限).");
    EXPECT_TRUE(fs::exists(hidden));
    EXPECT_FALSE(fs::exists(folder / "album.mpg"));
}

TEST(FailureMessages, EveryFailureIsToldInChineseWithTheUsersFile)
{
    struct Case {
        Failure failure;
        const char* text;
    };
    const Case cases[] = {
        {Failure(FailureKind::OutputCreate, "/x/相册.mpg", ENOSPC),
         "视频文件无法创建: /x/相册.mpg (磁盘空间不足)."},
        {Failure(FailureKind::OutputCreate, "/x/相册.mpg", ENOENT), "文件夹不存在: /x."},
        {Failure(FailureKind::OutputWrite, "/x/相册.mpg", ENOSPC),
         "视频文件无法写入: /x/相册.mpg (磁盘空间不足)."},
        {Failure(FailureKind::OutputWrite, "/x/相册.mpg", EFBIG),
         "视频文件无法写入: /x/相册.mpg (文件太大, 文件系统不接受)."},
        {Failure(FailureKind::OutputWrite, "/x/相册.mpg", EIO),
         "视频文件无法写入: /x/相册.mpg (磁盘读写出错)."},
        {Failure(FailureKind::OutputKeep, "/x/相册.mpg", ENOENT), "视频文件无法保存, 文件夹已不存在: /x."},
        {Failure(FailureKind::OutputKeep, "/x/相册.mpg", EACCES),
         "视频文件无法保存为 /x/相册.mpg (没有权限)."},
        {Failure(FailureKind::OutputKeep, "/x/相册.mpg", EROFS),
         "视频文件无法保存为 /x/相册.mpg (磁盘只读)."},
        {Failure(FailureKind::OutputExists, "/x/相册.mpg"), "文件已存在! 不能完成操作: /x/相册.mpg."},
        {Failure(FailureKind::OutputGone, "/x/相册.mpg"), "视频文件不在了: /x/相册.mpg."},
        {Failure(FailureKind::NameTooLong, "相册.mpg"), "文件名太长, 文件系统不接受: 相册.mpg."},
        {Failure(FailureKind::PhotoUnreadable, "/p/海边.jpg"), "照片无法读取: /p/海边.jpg."},
        {Failure(FailureKind::SongUnreadable, "/m/歌.mp3"), "音乐文件无法读取: /m/歌.mp3."},
        {Failure(FailureKind::SongDamaged, "/m/歌.mp3"), "音乐文件已损坏或不完整: /m/歌.mp3."},
        {Failure(FailureKind::OpeningUnreadable, "/v/片头.mpg"), "片头视频无法读取: /v/片头.mpg."},
        {Failure(FailureKind::Encoder, "/x/相册.mpg", 0, "Cannot open the video encoder"),
         "视频编码出错: /x/相册.mpg."},
        {Failure(FailureKind::OutputWrite, "/x/相册.mpg", 1234),
         "视频文件无法写入: /x/相册.mpg (系统错误 1234)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FailureText(c.failure), c.text);
    }
}

TEST(FailureMessages, EncoderErrorsAreToldByWhatTheyConcern)
{
    const std::string album = "/x/相册.mpg";
    struct Case {
        int code, systemCode;
        const char* file;
        InputRole role;
        const char* text;
    };
    // The encoder writes under a name of its own; the user is told the album's.
    const Case cases[] = {
        {MCL_ERROR_OUTPUT, ENOSPC, "/proc/self/fd/9", InputRole::Other,
         "视频文件无法写入: /x/相册.mpg (磁盘空间不足)."},
        {MCL_ERROR_INPUT_OPEN, 0, "/m/歌.mp3", InputRole::Song, "音乐文件无法读取: /m/歌.mp3."},
        {MCL_ERROR_INPUT_DECODE, 0, "/m/歌.mp3", InputRole::Song, "音乐文件已损坏或不完整: /m/歌.mp3."},
        {MCL_ERROR_INPUT_OPEN, 0, "/v/片头.mpg", InputRole::Opening, "片头视频无法读取: /v/片头.mpg."},
        {MCL_ERROR_ENCODER, 0, "", InputRole::Other, "视频编码出错: /x/相册.mpg."},
        // No message words it: the library's text is the last resort.
        {MCL_ERROR_INPUT_DECODE, 0, "/w/zhzp/lswj.bmp", InputRole::Other, "视频编码出错: it said so"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<Failure> failure =
            EncoderFailure(c.code, c.systemCode, c.file, c.role, "it said so", album);
        ASSERT_TRUE(failure);
        EXPECT_EQ(FailureText(*failure), c.text);
    }
    EXPECT_FALSE(EncoderFailure(MCL_OK, 0, "", InputRole::Other, "", album));
}

}  // namespace
