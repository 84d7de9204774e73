#pragma once
// New files for the work folder, written beside their places under
// temporary names and then put in place together: all of them, or, when
// any step fails, none (the old files are put back). Files not put in
// place are deleted.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// Renames a file, replacing a file at the target.
using StagedRename = std::function<bool(const std::filesystem::path&, const std::filesystem::path&)>;
bool ReplacingRename(const std::filesystem::path& from, const std::filesystem::path& to);

class StagedFiles {
public:
    StagedFiles() = default;
    ~StagedFiles();
    StagedFiles(StagedFiles&& other) noexcept;
    StagedFiles& operator=(StagedFiles&& other) noexcept;
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // Writes `bytes` beside `target` as "<stem>-….new". False when that
    // cannot be written; nothing of it is left then.
    bool Add(const std::filesystem::path& target, std::string_view bytes, std::string_view stem);
    std::size_t Count() const { return entries_.size(); }
    // The new file for the target added as number i (from 0).
    const std::filesystem::path& Staged(std::size_t i) const { return entries_.at(i).staged; }

    // In the order of Add, a file at the target goes aside as "<stem>-….old"
    // and the new file takes its place (each step one `rename`). When a step
    // fails, what was done is undone in reverse order and the result is
    // false: every target holds what it held before. After success the
    // files set aside are deleted. Either way nothing is staged any more.
    bool PutInPlace(const StagedRename& rename = ReplacingRename);
    void Discard();

    // Deletes the new and set-aside files that an interrupted import left
    // in `folder` under `stem`.
    static void RemoveLeftovers(const std::filesystem::path& folder, std::string_view stem);

private:
    struct Entry {
        std::filesystem::path target, staged;
        std::string stem;
    };
    std::vector<Entry> entries_;
};

}  // namespace app
