#include "app/staged_files.h"

#include <system_error>
#include <utility>

#include "platform/core/files.h"

namespace app {

namespace fs = std::filesystem;

bool ReplacingRename(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    fs::rename(from, to, error);
    return !error;
}

StagedFiles::~StagedFiles() { Discard(); }

StagedFiles::StagedFiles(StagedFiles&& other) noexcept : entries_(std::exchange(other.entries_, {})) {}

StagedFiles& StagedFiles::operator=(StagedFiles&& other) noexcept
{
    if (this == &other) return *this;
    Discard();
    entries_ = std::exchange(other.entries_, {});
    return *this;
}

bool StagedFiles::Add(const fs::path& target, std::string_view bytes, std::string_view stem)
{
    const fs::path staged = core::MakeTempFile(stem, ".new", target.parent_path());
    if (staged.empty()) return false;
    if (!core::WriteFileBytes(staged, bytes)) {
        core::DeleteFile(staged);
        return false;
    }
    entries_.push_back({target, staged, std::string(stem)});
    return true;
}

bool StagedFiles::PutInPlace(const StagedRename& rename)
{
    // Per target, in order: where its old file went (empty: it had none)
    // and whether the new one took its place.
    struct Done {
        fs::path aside;
        bool placed = false;
    };
    std::vector<Done> done;
    const auto undo = [&] {
        for (std::size_t i = done.size(); i-- > 0;) {
            const Entry& e = entries_[i];
            if (done[i].placed && done[i].aside.empty()) core::DeleteFile(e.target);
            // Should even that fail, the old file stays aside rather than lost.
            if (!done[i].aside.empty()) ReplacingRename(done[i].aside, e.target);
        }
        Discard();
        return false;
    };
    for (const Entry& e : entries_) {
        done.emplace_back();
        std::error_code error;
        if (fs::exists(fs::symlink_status(e.target, error))) {
            const fs::path aside = core::MakeTempFile(e.stem, ".old", e.target.parent_path());
            if (aside.empty()) return undo();
            if (!rename(e.target, aside)) {
                core::DeleteFile(aside);
                return undo();
            }
            done.back().aside = aside;
        }
        if (!rename(e.staged, e.target)) return undo();
        done.back().placed = true;
    }
    for (const Done& d : done)
        if (!d.aside.empty()) core::DeleteFile(d.aside);
    entries_.clear();
    return true;
}

void StagedFiles::Discard()
{
    for (const Entry& e : entries_) core::DeleteFile(e.staged);
    entries_.clear();
}

void StagedFiles::RemoveLeftovers(const fs::path& folder, std::string_view stem)
{
    for (const char* suffix : {".new", ".old"})
        for (const fs::path& stale : core::FindFiles(folder, std::string(stem) + "-*" + suffix))
            core::DeleteFile(stale);
}

}  // namespace app
