#include "app/ending_template.h"
#include "platform/core/files.h"

#include <fstream>
#include <iterator>
#include <limits>
#include <system_error>

#include "platform/core/ini.h"
#include "platform/core/text.h"

namespace app {

namespace fs = std::filesystem;

namespace {

EndingCheck Fault(EndingCheck check, EndingFault fault, std::string detail)
{
    check.fault = fault;
    check.detail = std::move(detail);
    return check;
}

// Plain decimal digits, at most max.
std::optional<uint64_t> ParseDecimal(std::string_view text, uint64_t max)
{
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (value > (max - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

// The program's own ANSI files are GB18030 unless a BOM says otherwise;
// they are never guessed as UTF-8.
std::string DecodeAnsiText(std::string_view bytes)
{
    const bool has_bom =
        bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
    return has_bom ? core::DecodeText(bytes) : core::GbkToUtf8(bytes);
}

}  // namespace

EndingCheck ReadEndingTrailer(std::string_view trailer, uint64_t file_size)
{
    EndingCheck check;
    if (file_size < kEndingTrailerSize || trailer.size() != kEndingTrailerSize)
        return Fault(std::move(check), EndingFault::kTooShort,
                     "the file is shorter than its 1000-byte settings block");

    const core::IniFile ini = core::IniFile::FromBytes(trailer);
    EndingTrailerValues& values = check.values;
    values.validation = ini.ReadString("pwyzxx", "xx");
    values.play_frame = ini.ReadString("pw_t_p", "t_p");
    values.still_frame = ini.ReadString("pw_t_p", "z_s");
    values.movie_start = ini.ReadString("pw_w_z", "q_s");
    values.j_s = ini.ReadString("pw_w_z", "j_s");

    if (values.validation != kEndingValidation)
        return Fault(std::move(check), EndingFault::kWrongValidation,
                     "the validation value is missing or wrong");
    const std::optional<uint64_t> play = ParseDecimal(values.play_frame, kMaxEndingFrame);
    if (!play) return Fault(std::move(check), EndingFault::kBadPlayFrame, "t_p is not a frame number");
    const std::optional<uint64_t> still = ParseDecimal(values.still_frame, kMaxEndingFrame);
    if (!still) return Fault(std::move(check), EndingFault::kBadStillFrame, "z_s is not a frame number");
    const std::optional<uint64_t> start =
        ParseDecimal(values.movie_start, std::numeric_limits<uint64_t>::max());
    if (!start) return Fault(std::move(check), EndingFault::kBadMovieStart, "q_s is not a number");
    if (*start >= file_size - kEndingTrailerSize)
        return Fault(std::move(check), EndingFault::kMovieOutOfRange,
                     "the movie does not start before the settings block");

    check.ending =
        EndingTemplate{static_cast<int64_t>(*play), static_cast<int64_t>(*still), *start, file_size - *start};
    return check;
}

EndingCheck ReadEndingTemplateFile(const fs::path& path)
{
    const std::optional<uint64_t> size = core::FileSizeOf(path);
    if (!size) return Fault({}, EndingFault::kUnreadable, "the file cannot be read");
    if (*size < kEndingTrailerSize)
        return Fault({}, EndingFault::kTooShort, "the file is shorter than its 1000-byte settings block");
    const std::optional<std::string> trailer =
        core::ReadFileSlice(path, *size - kEndingTrailerSize, kEndingTrailerSize);
    if (!trailer) return Fault({}, EndingFault::kUnreadable, "the file cannot be read");
    return ReadEndingTrailer(*trailer, *size);
}

std::optional<std::string> ReadEndingMovie(const fs::path& path, const EndingTemplate& ending)
{
    const std::optional<uint64_t> size = core::FileSizeOf(path);
    if (!size || ending.movie_offset > *size || *size - ending.movie_offset != ending.movie_length)
        return std::nullopt;
    return core::ReadFileSlice(path, ending.movie_offset, ending.movie_length);
}

std::optional<std::string> WriteEndingTrailer(int64_t play_frame, int64_t still_frame, uint64_t movie_start)
{
    if (play_frame < 0 || still_frame < 0) return std::nullopt;
    std::string text;
    text.append("[pwyzxx]\r\nxx=").append(kEndingValidation).append("\r\n");
    text.append("[pw_t_p]\r\nt_p=").append(std::to_string(play_frame)).append("\r\n");
    text.append("z_s=").append(std::to_string(still_frame)).append("\r\n");
    text.append("[pw_w_z]\r\nq_s=").append(std::to_string(movie_start)).append("\r\n");
    text.append("j_s=0\r\n");
    if (text.size() > kEndingTrailerSize) return std::nullopt;
    text.append(kEndingTrailerSize - text.size(), ' ');
    return text;
}

fs::path EndingTextFile(const fs::path& work_dir, int number)
{
    return work_dir / "pwwjj" / ("txt_" + std::to_string(number) + ".txt");
}

std::string FormatEndingText(int number, std::string_view utf8_text)
{
    std::string text = "txt" + std::to_string(number) + "=";
    const std::vector<std::string> lines = core::SplitLines(utf8_text);
    if (lines.empty()) text += "\r\n";
    for (const std::string& line : lines) text.append(line).append("\r\n");
    return core::Utf8ToGbk(text);
}

std::string ParseEndingText(std::string_view file_bytes)
{
    std::string text;
    bool first = true;
    for (const std::string& line : core::SplitLines(DecodeAnsiText(file_bytes))) {
        if (first) {
            const std::u32string chars = core::Utf8ToCodePoints(line);
            text += core::CodePointsToUtf8(chars.size() > 5 ? std::u32string_view(chars).substr(5)
                                                            : std::u32string_view{});
            first = false;
        } else {
            text += line;
        }
        text += "\r\n";
    }
    return text;
}

bool WriteEndingText(const fs::path& work_dir, int number, std::string_view utf8_text)
{
    // Through a file beside it: a failed write leaves the old text whole.
    return core::WriteFileBytes(EndingTextFile(work_dir, number), FormatEndingText(number, utf8_text));
}

std::optional<std::string> ReadEndingText(const fs::path& work_dir, int number)
{
    std::ifstream in(EndingTextFile(work_dir, number), std::ios::binary);
    if (!in) return std::nullopt;
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (in.bad()) return std::nullopt;
    return ParseEndingText(bytes);
}

}  // namespace app
