#pragma once
// Removing an installation folder by its list of installed files: what the
// list names goes, then the folders left empty, and everything else stays.
// The removal never follows a link and never leaves the installation
// folder's file system: a folder on another device or mount (a bind mount
// of the user's pictures, say) is neither entered nor removed.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "uninstall/installed_files.h"

namespace uninstall {

namespace fs = std::filesystem;

// Which file system a folder lies on: its device and, where the system
// tells it, its mount (a bind mount shares the device of its source).
struct FileSystemId {
    uint64_t device = 0;
    uint64_t mount = 0;

    bool operator==(const FileSystemId&) const = default;
};

// Answers the file system of the open folder `fd` at `path`; tests put a
// second file system in place with one of their own.
using FileSystemProbe = std::function<FileSystemId(int fd, const fs::path& path)>;
FileSystemId ProbeFileSystem(int fd, const fs::path& path);

// Removes from `folder` the files that `list` names, then the folders it
// names or that held its files once they are empty, then castora, the
// installer's mark and the list, and last `folder` itself when it is
// empty. castora goes late so that an interrupted removal can run again.
void RemoveInstalledFiles(const fs::path& folder, const InstalledFiles& list,
                          const FileSystemProbe& probe = ProbeFileSystem);

// How many kept entries the message names.
inline constexpr size_t kKeptNamed = 10;

// What is left in `folder` that the list does not name, relative to it and
// sorted: files, links, empty folders, and folders on another file system
// (not looked into); a folder ends with "/". The walk ends once `limit`
// entries are found, so that a large photo collection is not read through.
std::vector<fs::path> UnlistedEntries(const fs::path& folder, const InstalledFiles& list,
                                      const FileSystemProbe& probe = ProbeFileSystem,
                                      size_t limit = SIZE_MAX);

// The message for what was kept, naming the folder and the first
// kKeptNamed entries; empty when nothing was.
std::string KeptFilesText(const fs::path& folder, const std::vector<fs::path>& kept);

}  // namespace uninstall
