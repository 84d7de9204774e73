#include "app/photo_slots.h"

#include <system_error>

#include "app/work_folder.h"

namespace app {

namespace fs = std::filesystem;

namespace {

bool PhotoExistsIn(const fs::path& work_dir, int k)
{
    std::error_code error;
    return fs::exists(PhotoFile(work_dir, k), error);
}

void CopyPhotoToSlot(const fs::path& work_dir, int photo, int slot)
{
    std::error_code error;
    fs::copy_file(PhotoFile(work_dir, photo), SlotFile(work_dir, slot), fs::copy_options::overwrite_existing,
                  error);
}

}  // namespace

int AdvancePhotoCursor(int photo_cursor, const std::function<bool(int)>& photo_exists)
{
    const int next = photo_cursor < 0 ? 1 : photo_cursor + 1;
    return photo_exists(next) ? next : 1;
}

int AdvancePhotoCursor(int photo_cursor, int photo_count)
{
    return AdvancePhotoCursor(photo_cursor, [photo_count](int k) { return k >= 1 && k <= photo_count; });
}

SlotFill PlanNextPhotos(int photo_cursor, int slot_count, const std::function<bool(int)>& photo_exists)
{
    SlotFill fill;
    fill.photo_cursor = photo_cursor;
    for (int slot = 1; slot <= slot_count; ++slot) {
        fill.photo_cursor = AdvancePhotoCursor(fill.photo_cursor, photo_exists);
        fill.photos.push_back(fill.photo_cursor);
    }
    return fill;
}

SlotFill PlanNextPhotos(int photo_cursor, int slot_count, int photo_count)
{
    return PlanNextPhotos(photo_cursor, slot_count,
                          [photo_count](int k) { return k >= 1 && k <= photo_count; });
}

void CopyNextPhotos(const fs::path& work_dir, int& photo_cursor, int slot_count)
{
    const auto exists = [&work_dir](int k) { return PhotoExistsIn(work_dir, k); };
    for (int slot = 1; slot <= slot_count; ++slot) {
        photo_cursor = AdvancePhotoCursor(photo_cursor, exists);
        CopyPhotoToSlot(work_dir, photo_cursor, slot);
    }
}

void FillPhotoSlots(const fs::path& work_dir, int& photo_cursor, int64_t slots_at_a_time)
{
    photo_cursor = 0;
    const int64_t slots = slots_at_a_time < 0                ? 0
                          : slots_at_a_time > kMaxPhotoSlots ? kMaxPhotoSlots
                                                             : slots_at_a_time;
    CopyNextPhotos(work_dir, photo_cursor, static_cast<int>(slots));
}

void ClearPhotoSlots(const fs::path& work_dir, const std::function<void()>& pump)
{
    for (const fs::path& file : JpegFilesIn(work_dir / "zhzp")) {
        std::error_code error;
        fs::remove(file, error);
        if (pump) pump();
    }
}

bool ServeSlotRequest(const fs::path& work_dir, std::string_view command,
                      const std::function<int64_t()>& frame_num, int& photo_cursor, std::string& slot_count,
                      const std::function<void()>& pump)
{
    const std::optional<int> n = ParseSlotRequest(command);
    if (!n) return false;
    if (frame_num() == 0) return false;
    ClearPhotoSlots(work_dir, pump);
    slot_count = std::to_string(*n);  // the request's own digits: no sign or leading zero
    const auto exists = [&work_dir](int k) { return PhotoExistsIn(work_dir, k); };
    for (int slot = 1; slot <= *n; ++slot) {
        // The cursor advances even for a copy that is skipped.
        photo_cursor = AdvancePhotoCursor(photo_cursor, exists);
        if (frame_num() != 0) {
            CopyPhotoToSlot(work_dir, photo_cursor, slot);
            if (pump) pump();
        }
    }
    return true;
}

}  // namespace app
