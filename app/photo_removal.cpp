#include "app/photo_removal.h"

#include "app/work_folder.h"
#include "platform/core/files.h"

namespace app {

namespace fs = std::filesystem;

fs::path RemovedPicture(const fs::path& work_dir) { return work_dir / "zpyjj" / "removed.jpg"; }

bool MovePictures(const fs::path& work_dir, const std::vector<std::pair<int, int>>& moves,
                  const PictureRename& rename, const std::function<void(int)>& step)
{
    std::vector<std::pair<int, int>> done;
    for (size_t i = 0; i < moves.size(); ++i) {
        const auto [from, to] = moves[i];
        if (core::FileExists(PhotoFile(work_dir, from))) {
            if (!rename(PhotoFile(work_dir, from), PhotoFile(work_dir, to))) {
                for (auto undo = done.rbegin(); undo != done.rend(); ++undo)
                    rename(PhotoFile(work_dir, undo->second), PhotoFile(work_dir, undo->first));
                return false;
            }
            done.push_back(moves[i]);
        }
        if (step) step(static_cast<int>(i));
    }
    return true;
}

PictureRemoval RemovePhotoPicture(const fs::path& work_dir, int number, int count,
                                  const PictureRename& rename, const std::function<void(int)>& step)
{
    if (number < 1 || number > count) return PictureRemoval::kNone;
    const fs::path picture = PhotoFile(work_dir, number);
    const fs::path aside = RemovedPicture(work_dir);
    // The picture is kept aside, not deleted, until the later ones have
    // moved: a failed move can then put everything back.
    const bool had_picture = core::FileExists(picture);
    if (had_picture) {
        core::DeleteFile(aside);
        if (!rename(picture, aside)) return PictureRemoval::kFailed;
    }
    std::vector<std::pair<int, int>> moves;
    for (int j = number + 1; j <= count; ++j) moves.emplace_back(j, j - 1);
    const bool moved = MovePictures(work_dir, moves, rename, [&](int i) {
        if (step) step(moves[static_cast<size_t>(i)].first);
    });
    if (!moved) {
        if (had_picture) rename(aside, picture);
        return PictureRemoval::kFailed;
    }
    if (had_picture) core::DeleteFile(aside);
    return PictureRemoval::kRemoved;
}

std::optional<std::vector<int>> CompactPhotoPictures(const fs::path& work_dir, int count,
                                                     const PictureRename& rename)
{
    std::vector<int> kept;
    std::vector<std::pair<int, int>> moves;
    for (int k = 1; k <= count; ++k) {
        if (!core::FileExists(PhotoFile(work_dir, k))) continue;
        kept.push_back(k);
        const int to = static_cast<int>(kept.size());
        if (to != k) moves.emplace_back(k, to);
    }
    if (!MovePictures(work_dir, moves, rename)) return std::nullopt;
    return kept;
}

}  // namespace app
