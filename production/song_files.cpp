#include "production/song_files.h"

#include <filesystem>
#include <system_error>

#include "mcl/mcl.h"
#include "production/failure_messages.h"

namespace production {

bool IsSongFile(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::path(path), ec);
}

std::string NotASongFileText(const std::string& path) { return "音乐文件不是普通文件: " + path; }

std::string SongFilesProblem(const std::vector<std::string>& songs)
{
    for (const std::string& song : songs) {
        // A missing file is the encoder's to tell, as one it cannot read.
        std::error_code ec;
        const std::filesystem::file_type type =
            std::filesystem::status(std::filesystem::path(song), ec).type();
        if (type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::regular)
            return NotASongFileText(song);
    }
    return {};
}

std::string SongErrorText(int32_t code, const std::string& path)
{
    return FailureText(
        Failure(code == MCL_ERROR_INPUT_OPEN ? FailureKind::SongUnreadable : FailureKind::SongDamaged, path));
}

}  // namespace production
