#pragma once
// The list of what the installer put into an installation folder, kept
// beside its mark. castorun removes what the list names and keeps the rest:
// the user's own files in the installation's folders are never its to take.
//
// Text, UTF-8, one entry a line ended by LF: a first line that names the
// list, then paths relative to the installation folder (a folder ends with
// "/"), then a last line that closes it. A list cut short, or holding a
// line that is no plain relative path, reads as damaged as a whole, so that
// a damaged list can only lead to removing less.
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace uninstall {

namespace fs = std::filesystem;

inline constexpr std::string_view kInstalledFilesList = ".velmora-files";
inline constexpr std::string_view kInstalledFilesHeader = "# Velmora2007: installed files";
inline constexpr std::string_view kInstalledFilesEnd = "# end";

struct InstalledFiles {
    std::set<fs::path> files;    // relative, in the generic form ("MP3歌曲/a.mp3")
    std::set<fs::path> folders;  // relative, without the trailing "/"

    bool operator==(const InstalledFiles&) const = default;
};

// Whether `path` can stand in the list: relative, without "." or "..",
// without empty parts, valid UTF-8 without line breaks or NULs.
bool IsListablePath(const fs::path& path);

// The list's text; paths that cannot stand in it are left out.
std::string InstalledFilesText(const InstalledFiles& list);

// The list read back; nothing when it is damaged.
std::optional<InstalledFiles> ParseInstalledFiles(std::string_view text);

// The list of an installation folder; nothing when it is missing, is no
// plain file, or is damaged.
std::optional<InstalledFiles> ReadInstalledFiles(const fs::path& installation);

}  // namespace uninstall
