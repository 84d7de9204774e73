#pragma once
// The ending-title template file (a movie from a stored offset to the end
// of the file, and a trailing 1000-byte INI block), and the two ending
// text files "pwwjj/txt_1.txt" and "pwwjj/txt_2.txt".
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace app {

inline constexpr uint64_t kEndingTrailerSize = 1000;
inline constexpr std::string_view kEndingValidation = "pianweiyanzhengxinxi";

// The five settings as read; a missing one reads as empty.
struct EndingTrailerValues {
    std::string validation;   // "pwyzxx" / "xx": EndingValidation
    std::string play_frame;   // "pw_t_p" / "t_p": EndingPlayFrame
    std::string still_frame;  // "pw_t_p" / "z_s": EndingStillFrame
    std::string movie_start;  // "pw_w_z" / "q_s"
    std::string j_s;          // "pw_w_z" / "j_s": read, of no use
    bool operator==(const EndingTrailerValues&) const = default;
};

struct EndingTemplate {
    int64_t play_frame = 0;     // where the dialog's preview starts
    int64_t still_frame = 0;    // z_s; the preview rests on z_s - 1
    uint64_t movie_offset = 0;  // q_s: the movie runs from here to the end
    uint64_t movie_length = 0;  // file size - q_s (the trailer stays behind the movie)
    // The frame the preview rests on: z_s - 1, never below 0.
    int64_t StillFrameIndex() const { return still_frame > 0 ? still_frame - 1 : 0; }
    bool operator==(const EndingTemplate&) const = default;
};

enum class EndingFault {
    kNone,
    kUnreadable,       // the file cannot be read
    kTooShort,         // shorter than the trailer
    kWrongValidation,  // "xx" missing or not "pianweiyanzhengxinxi"
    kBadPlayFrame,     // "t_p" not a decimal frame number
    kBadStillFrame,    // "z_s" not a decimal frame number
    kBadMovieStart,    // "q_s" not a decimal number
    kMovieOutOfRange,  // "q_s" does not lie before the trailer
};

struct EndingCheck {
    EndingTrailerValues values;            // whatever was read, valid or not
    std::optional<EndingTemplate> ending;  // set when valid
    EndingFault fault = EndingFault::kNone;
    std::string detail;
    bool Valid() const { return ending.has_value(); }
};

inline constexpr int64_t kMaxEndingFrame = 2147483647;

// Validates the trailer (the last 1000 bytes) of an ending template of
// file_size bytes.
EndingCheck ReadEndingTrailer(std::string_view trailer, uint64_t file_size);

// The same for a file on disk (reads its size and its last 1000 bytes).
EndingCheck ReadEndingTemplateFile(const std::filesystem::path& path);

// The ending movie: the bytes from q_s to the end of the file; nothing
// when the file cannot be read or no longer matches.
std::optional<std::string> ReadEndingMovie(const std::filesystem::path& path, const EndingTemplate& ending);

// The authoring side: a 1000-byte trailer; nothing when it does not fit.
std::optional<std::string> WriteEndingTrailer(int64_t play_frame, int64_t still_frame, uint64_t movie_start);

// --- The ending texts.

// The text written into both files after an import.
inline constexpr std::string_view kEndingDefaultText = "谢谢观看";

// "pwwjj/txt_1.txt" or "pwwjj/txt_2.txt" under the work folder (number 1 or 2).
std::filesystem::path EndingTextFile(const std::filesystem::path& work_dir, int number);

// The file's bytes: "txt1=" (or "txt2=") and the text, each line ending in
// CR LF, in the ANSI code page (GB18030, a superset of GBK). A text that
// already ends in a line break gets no further empty line.
std::string FormatEndingText(int number, std::string_view utf8_text);

// The editor's text of a file (GB18030 unless a BOM says otherwise):
// every line followed by CR LF, the first without its first five
// characters (the "txt1=" prefix).
std::string ParseEndingText(std::string_view file_bytes);

bool WriteEndingText(const std::filesystem::path& work_dir, int number, std::string_view utf8_text);
// Nothing when the file is missing or unreadable.
std::optional<std::string> ReadEndingText(const std::filesystem::path& work_dir, int number);

}  // namespace app
