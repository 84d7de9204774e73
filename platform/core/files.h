#pragma once
// Files and folders. Paths are std::filesystem paths holding UTF-8; none of
// these routines throws: failures come back as false or empty results.
#include <filesystem>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

namespace fs = std::filesystem;

bool FileExists(const fs::path& path);       // anything but a folder
bool DirectoryExists(const fs::path& path);  // a folder (links followed)
// Deletes a file (not a folder); false when there was none or it stays.
bool DeleteFile(const fs::path& path);
// Copies a file. With overwrite false an existing target is left alone and
// the copy fails. The target is replaced in one step, so a failed copy never
// leaves it half written.
bool CopyFile(const fs::path& source, const fs::path& target, bool overwrite);
// Renames or moves a file or folder; never replaces an existing target.
bool RenameFile(const fs::path& source, const fs::path& target);
// Creates the folder and any missing parents; true when it exists after.
bool ForceDirectories(const fs::path& path);
// Deletes a folder with everything in it; true when it is gone after.
bool DeleteTree(const fs::path& path);

// Whether `name` matches `pattern` ('*' any run, '?' one character),
// ignoring ASCII letter case: "*.jpg" matches "A.JPG".
bool MatchesPattern(std::string_view name, std::string_view pattern);
// The files (not folders) directly in `dir` whose names match `pattern`,
// sorted by name ignoring case. A missing folder gives none.
std::vector<fs::path> FindFiles(const fs::path& dir, std::string_view pattern);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const fs::path& path);
// The size of a file; nullopt when it cannot be read.
std::optional<uint64_t> FileSizeOf(const fs::path& path);
// length bytes from offset; nullopt unless all of them could be read.
std::optional<std::string> ReadFileSlice(const fs::path& path, uint64_t offset, uint64_t length);
// Writes the file through a temporary file beside it and renames that into
// place, so that the old contents stay whole until the new ones are written.
bool WriteFileBytes(const fs::path& path, std::string_view bytes);

// The folder that holds the running program.
fs::path ProgramDir();
// $VELMORA_SYSTEM_DIR when set, otherwise ${XDG_DATA_HOME:-$HOME/.local/share}/velmora.
// Not created here.
fs::path SystemDir();

// A new empty file with a unique name in `dir` (default: the system's
// temporary folder), e.g. "prefix-a1B2c3.suffix"; empty path on failure.
fs::path MakeTempFile(std::string_view prefix = "velmora", std::string_view suffix = "",
                      const fs::path& dir = {});

// A temporary file that is deleted when the object goes.
class TempFile {
public:
    explicit TempFile(std::string_view suffix = "", const fs::path& dir = {});
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

// A temporary folder that is deleted with its contents when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

// For tests: points VELMORA_SYSTEM_DIR at a fresh temporary folder for the
// object's lifetime and restores the variable afterwards.
class TestSystemDir {
public:
    TestSystemDir();
    ~TestSystemDir();
    TestSystemDir(const TestSystemDir&) = delete;
    TestSystemDir& operator=(const TestSystemDir&) = delete;
    const fs::path& Path() const { return dir_.Path(); }

private:
    TempDir dir_;
    std::optional<std::string> previous_;
};

}  // namespace core
