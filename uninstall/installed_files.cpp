#include "uninstall/installed_files.h"

#include <system_error>

#include "platform/core/files.h"
#include "platform/core/text.h"

namespace uninstall {

namespace {

// Larger than any list an installation writes: a bigger file is not ours.
constexpr uintmax_t kMaxListBytes = 4 * 1024 * 1024;

// A relative path as the list spells it: parts between single "/", none
// of them "." or "..", no line breaks or NULs, UTF-8.
bool IsListableText(std::string_view text)
{
    if (text.empty() || !core::IsValidUtf8(text)) return false;
    if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return false;
    if (text == kInstalledFilesHeader || text == kInstalledFilesEnd) return false;
    size_t start = 0;
    for (;;) {
        const size_t slash = text.find('/', start);
        const std::string_view part = text.substr(start, slash - start);
        if (part.empty() || part == "." || part == "..") return false;
        if (slash == std::string_view::npos) return true;
        start = slash + 1;
    }
}

}  // namespace

bool IsListablePath(const fs::path& path)
{
    return !path.has_root_path() && IsListableText(path.generic_string());
}

std::string InstalledFilesText(const InstalledFiles& list)
{
    std::string text = std::string(kInstalledFilesHeader) + "\n";
    for (const fs::path& folder : list.folders)
        if (IsListablePath(folder)) text += folder.generic_string() + "/\n";
    for (const fs::path& file : list.files)
        if (IsListablePath(file)) text += file.generic_string() + "\n";
    return text + std::string(kInstalledFilesEnd) + "\n";
}

std::optional<InstalledFiles> ParseInstalledFiles(std::string_view text)
{
    const std::string header = std::string(kInstalledFilesHeader) + "\n";
    const std::string end = std::string(kInstalledFilesEnd) + "\n";
    if (!text.starts_with(header) || !text.ends_with(end) || text.size() < header.size() + end.size())
        return std::nullopt;
    text = text.substr(header.size(), text.size() - header.size() - end.size());
    InstalledFiles list;
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        const bool folder = line.ends_with('/');
        if (folder) line.remove_suffix(1);
        if (!IsListableText(line)) return std::nullopt;
        (folder ? list.folders : list.files).insert(fs::path(std::string(line)));
    }
    return list;
}

std::optional<InstalledFiles> ReadInstalledFiles(const fs::path& installation)
{
    const fs::path file = installation / std::string(kInstalledFilesList);
    std::error_code error;
    if (!fs::is_regular_file(fs::symlink_status(file, error))) return std::nullopt;
    const auto size = core::FileSizeOf(file);
    if (!size || *size > kMaxListBytes) return std::nullopt;
    const auto bytes = core::ReadFileBytes(file);
    if (!bytes) return std::nullopt;
    return ParseInstalledFiles(*bytes);
}

}  // namespace uninstall
