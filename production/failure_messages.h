// Why a production job failed, as the user is told it: one kind, the file
// the user knows it by and the system's error number, and the one table
// that words them. The encoder library's English text is shown only for an
// error none of these kinds covers.
#pragma once

#include <optional>
#include <string>

namespace production {

enum class FailureKind {
    OutputCreate,        // the video file can't be created
    OutputWrite,         // writing the video file failed
    OutputKeep,          // the finished file can't be renamed into place
    OutputExists,        // a file took the final name meanwhile
    OutputGone,          // the file isn't under its final name after the rename
    NoFileName,          // the output path names no file
    FolderMissing,       // the output folder isn't there (file: the folder)
    NotAFolder,          // the output folder is a file (file: the folder)
    NameTooLong,         // the file system refuses the name (file: the name)
    PathTooLong,         // the whole path is too long for it
    PhotoUnreadable,     // an imported photo can't be read at production
    SongUnreadable,      // a song can't be opened
    SongDamaged,         // a song fails while it is decoded, or ends before its measured length
    OpeningUnreadable,   // the opening title can't be read
    TemplateUnreadable,  // the template movie can't be loaded (detail: why)
    Encoder,             // the encoder failed (detail: its own text)
    TemporaryLeft,       // the hidden file couldn't be removed (file: its path)
};

struct Failure {
    Failure() = default;
    explicit Failure(FailureKind kind_, std::string file_ = {}, int systemCode_ = 0, std::string detail_ = {})
        : kind(kind_), file(std::move(file_)), systemCode(systemCode_), detail(std::move(detail_))
    {}
    FailureKind kind = FailureKind::Encoder;
    std::string file;    // as the user knows it: never the hidden name but for TemporaryLeft
    int systemCode = 0;  // errno, 0 = none known
    std::string detail;  // a reason no kind words, shown as the last resort
};

// The message, in the system's own style: "视频文件无法创建: /x/相册.mpg (磁盘空间不足)."
std::string FailureText(const Failure& failure);

// The reason an errno gives, in words ("磁盘空间不足"); empty for 0.
std::string SystemReason(int systemCode);

// What an input of the encoder is to the user.
enum class InputRole { Song, Opening, Other };

// The failure of an encoder error: its code, errno, file and text as the
// encoder library reports them (the input's role when it names one), the
// job's final video name for the output's errors. Nothing for code 0.
std::optional<Failure> EncoderFailure(int code, int systemCode, const std::string& file, InputRole role,
                                      const std::string& text, const std::string& finalName);

}  // namespace production
