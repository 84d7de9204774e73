#pragma once
// Removing photos from the work folder's picture store: photo k is always
// "zpyjj/zpyjj" + k + ".jpg", numbered from 1 without gaps, so removing one
// renumbers the pictures after it. The renumbering either completes or is
// undone: a photo's picture never ends up under another photo's number.
#include <filesystem>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace app {

// Renames a file without replacing an existing target (core::RenameFile).
using PictureRename = std::function<bool(const std::filesystem::path&, const std::filesystem::path&)>;

// Where the picture being removed waits until the renumbering is through.
std::filesystem::path RemovedPicture(const std::filesystem::path& work_dir);

// Moves pictures by number, in order: each move renames picture `from` to
// picture `to`. A move whose source picture does not exist is skipped. When
// a move fails, the moves done so far are undone in reverse order and the
// result is false. step(i) runs after move i (0-based), done or skipped.
bool MovePictures(const std::filesystem::path& work_dir, const std::vector<std::pair<int, int>>& moves,
                  const PictureRename& rename, const std::function<void(int)>& step = {});

enum class PictureRemoval {
    kNone,     // no such photo: nothing changed
    kRemoved,  // the picture is gone (or was missing) and the later ones moved down by one
    kFailed,   // something could not be moved: every picture is where it was
};

// Removes photo `number` of `count` from the store: its picture (when it
// exists) goes aside first, then pictures number + 1 to count move down by
// one, then the set-aside picture is deleted. step(j) runs after the move
// of picture j (j from number + 1 to count).
PictureRemoval RemovePhotoPicture(const std::filesystem::path& work_dir, int number, int count,
                                  const PictureRename& rename, const std::function<void(int)>& step = {});

// After deleting pictures: the photos 1 to count whose pictures are left,
// moved down to 1, 2, ... in their order. Returns the old numbers of the
// photos kept (in their new order), or nothing when the moves failed (then
// every picture stays where it was).
std::optional<std::vector<int>> CompactPhotoPictures(const std::filesystem::path& work_dir, int count,
                                                     const PictureRename& rename);

}  // namespace app
