#include "platform/core/files.h"

#include <limits>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>

#include "platform/core/text.h"

namespace core {

namespace {

// mkstemps on a pattern "<dir>/<prefix>XXXXXX<suffix>"; returns the open
// descriptor (or -1) and the name.
int CreateUnique(const fs::path& dir, std::string_view prefix, std::string_view suffix, fs::path& created)
{
    std::string pattern = (dir / (std::string(prefix) + "XXXXXX" + std::string(suffix))).string();
    int fd = mkstemps(pattern.data(), static_cast<int>(suffix.size()));
    if (fd >= 0) created = pattern;
    return fd;
}

fs::path TempRoot(const fs::path& dir)
{
    if (!dir.empty()) return dir;
    std::error_code ec;
    fs::path root = fs::temp_directory_path(ec);
    return ec ? fs::path("/tmp") : root;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// The hidden name prefix of a temporary file beside `path`.
std::string SiblingPrefix(const fs::path& path)
{
    std::string prefix(1, '.');
    prefix.append(path.filename().string());
    prefix.push_back('.');
    return prefix;
}

// A folder for a sibling temporary file of `path`.
fs::path ParentOf(const fs::path& path)
{
    fs::path parent = path.parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

bool RenameNoReplace(const fs::path& source, const fs::path& target)
{
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno == EINVAL || errno == ENOSYS) {
        // The file system cannot do it in one step; check, then rename.
        std::error_code ec;
        if (fs::exists(fs::symlink_status(target, ec))) return false;
        return ::rename(source.c_str(), target.c_str()) == 0;
    }
    if (errno == EXDEV) {
        // Another file system: copy, then delete the source.
        std::error_code ec;
        if (fs::exists(fs::symlink_status(target, ec))) return false;
        if (fs::is_directory(source, ec)) {
            fs::copy(source, target, fs::copy_options::recursive, ec);
            if (ec) {
                fs::remove_all(target, ec);
                return false;
            }
            fs::remove_all(source, ec);
            return true;
        }
        if (!CopyFile(source, target, false)) return false;
        fs::remove(source, ec);
        return true;
    }
    return false;
}

}  // namespace

bool FileExists(const fs::path& path)
{
    std::error_code ec;
    auto status = fs::status(path, ec);
    return !ec && fs::exists(status) && !fs::is_directory(status);
}

bool DirectoryExists(const fs::path& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool DeleteFile(const fs::path& path)
{
    std::error_code ec;
    auto status = fs::symlink_status(path, ec);
    if (ec || !fs::exists(status) || fs::is_directory(status)) return false;
    return fs::remove(path, ec) && !ec;
}

bool CopyFile(const fs::path& source, const fs::path& target, bool overwrite)
{
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) return false;
    if (!overwrite && fs::exists(fs::symlink_status(target, ec))) return false;
    if (fs::is_directory(target, ec)) return false;

    fs::path temp;
    int fd = CreateUnique(ParentOf(target), SiblingPrefix(target), ".part", temp);
    if (fd < 0) return false;
    ::close(fd);
    bool ok = fs::copy_file(source, temp, fs::copy_options::overwrite_existing, ec) && !ec;
    if (ok) {
        if (overwrite)
            ok = ::rename(temp.c_str(), target.c_str()) == 0;
        else
            ok = RenameNoReplace(temp, target);
    }
    if (!ok) fs::remove(temp, ec);
    return ok;
}

bool RenameFile(const fs::path& source, const fs::path& target)
{
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(source, ec))) return false;
    return RenameNoReplace(source, target);
}

bool ForceDirectories(const fs::path& path)
{
    if (path.empty()) return false;
    std::error_code ec;
    fs::create_directories(path, ec);
    return fs::is_directory(path, ec);
}

bool DeleteTree(const fs::path& path)
{
    std::error_code ec;
    fs::remove_all(path, ec);
    return !fs::exists(fs::symlink_status(path, ec));
}

bool MatchesPattern(std::string_view name, std::string_view pattern)
{
    if (pattern == "*" || pattern == "*.*") return true;
    std::u32string n = Utf8ToCodePoints(name), p = Utf8ToCodePoints(pattern);
    const auto fold = [](char32_t c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; };
    size_t ni = 0, pi = 0, star = std::u32string::npos, resume = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == '?' || fold(p[pi]) == fold(n[ni]))) {
            ++ni, ++pi;
        } else if (pi < p.size() && p[pi] == '*') {
            star = pi++;
            resume = ni;
        } else if (star != std::u32string::npos) {
            pi = star + 1;
            ni = ++resume;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

std::vector<fs::path> FindFiles(const fs::path& dir, std::string_view pattern)
{
    std::vector<fs::path> found;
    std::error_code ec;
    fs::directory_iterator it(dir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code type_ec;
        if (it->is_directory(type_ec)) continue;
        if (!it->exists(type_ec)) continue;
        if (MatchesPattern(it->path().filename().string(), pattern)) found.push_back(it->path());
    }
    std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
        std::string x = a.filename().string(), y = b.filename().string();
        int c = CompareText(x, y);
        return c != 0 ? c < 0 : x < y;
    });
    return found;
}

std::optional<std::string> ReadFileBytes(const fs::path& path)
{
    std::error_code ec;
    if (fs::is_directory(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool WriteFileBytes(const fs::path& path, std::string_view bytes)
{
    std::error_code ec;
    if (fs::is_directory(path, ec)) return false;
    fs::path temp;
    int fd = CreateUnique(ParentOf(path), SiblingPrefix(path), ".part", temp);
    if (fd < 0) return false;
    struct stat existing;
    ::fchmod(fd, ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644);
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) fs::remove(temp, ec);
    return ok;
}

fs::path ProgramDir()
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path(ec);
    return exe.parent_path();
}

fs::path SystemDir()
{
    const char* own = std::getenv("VELMORA_SYSTEM_DIR");
    if (own && *own) return fs::path(own);
    const char* data_home = std::getenv("XDG_DATA_HOME");
    if (data_home && *data_home) return fs::path(data_home) / "velmora";
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/tmp") / ".local" / "share" / "velmora";
}

fs::path MakeTempFile(std::string_view prefix, std::string_view suffix, const fs::path& dir)
{
    fs::path created;
    int fd = CreateUnique(TempRoot(dir), std::string(prefix) + "-", suffix, created);
    if (fd < 0) return {};
    ::close(fd);
    return created;
}

TempFile::TempFile(std::string_view suffix, const fs::path& dir) : path_(MakeTempFile("velmora", suffix, dir))
{}

TempFile::~TempFile()
{
    if (!path_.empty()) DeleteFile(path_);
}

TempDir::TempDir()
{
    std::string pattern = (TempRoot({}) / "velmora-XXXXXX").string();
    if (::mkdtemp(pattern.data())) path_ = pattern;
}

TempDir::~TempDir()
{
    if (!path_.empty()) DeleteTree(path_);
}

TestSystemDir::TestSystemDir()
{
    if (const char* old = std::getenv("VELMORA_SYSTEM_DIR")) previous_ = old;
    ::setenv("VELMORA_SYSTEM_DIR", dir_.Path().c_str(), 1);
}

TestSystemDir::~TestSystemDir()
{
    if (previous_)
        ::setenv("VELMORA_SYSTEM_DIR", previous_->c_str(), 1);
    else
        ::unsetenv("VELMORA_SYSTEM_DIR");
}

std::optional<uint64_t> FileSizeOf(const fs::path& path)
{
    std::error_code error;
    const uint64_t size = fs::file_size(path, error);
    if (error) return std::nullopt;
    return size;
}

std::optional<std::string> ReadFileSlice(const fs::path& path, uint64_t offset, uint64_t length)
{
    if (offset > static_cast<uint64_t>(std::numeric_limits<std::streamoff>::max()) ||
        length > std::numeric_limits<size_t>::max() / 2)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(static_cast<std::streamoff>(offset));
    std::string bytes(static_cast<size_t>(length), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(length));
    if (static_cast<uint64_t>(in.gcount()) != length) return std::nullopt;
    return bytes;
}

}  // namespace core
