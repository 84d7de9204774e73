#pragma once
// The template movie's photo slots: which imported photo goes into which
// slot, and the slot request "tupian=" + N that the movie raises.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "production/photo_slots.h"

namespace app {

// The slot request is one protocol for the preview, the browser and
// production: "tupian=1" ... "tupian=15" exactly.
using production::kMaxPhotoSlots;
using production::ParseSlotRequest;

// The cursor rule: the next photo after photo_cursor, or photo 1 when the
// next one does not exist. photo_cursor 0 means "none copied yet".
int AdvancePhotoCursor(int photo_cursor, const std::function<bool(int)>& photo_exists);
int AdvancePhotoCursor(int photo_cursor, int photo_count);

struct SlotFill {
    std::vector<int> photos;  // photos[i - 1]: the photo that goes into slot i
    int photo_cursor = 0;     // the cursor after the fill
    bool operator==(const SlotFill&) const = default;
};

// The next slot_count photos from photo_cursor on, for slots 1 to
// slot_count, with photos 1 to photo_count present.
SlotFill PlanNextPhotos(int photo_cursor, int slot_count, int photo_count);
SlotFill PlanNextPhotos(int photo_cursor, int slot_count, const std::function<bool(int)>& photo_exists);

// CopyNextPhotos: fills slots 1 to slot_count of the work folder with the
// next photos and advances photo_cursor. A copy that fails leaves its slot
// as it was; the cursor advances all the same.
void CopyNextPhotos(const std::filesystem::path& work_dir, int& photo_cursor, int slot_count);

// FillPhotoSlots: the cursor back to 0, then CopyNextPhotos with the
// template's slots-at-a-time (ListBox3 row 0).
void FillPhotoSlots(const std::filesystem::path& work_dir, int& photo_cursor, int64_t slots_at_a_time);

// Deletes every "zhzp/*.jpg"; pump (if set) runs after each deletion.
void ClearPhotoSlots(const std::filesystem::path& work_dir, const std::function<void()>& pump = {});

// Answers a slot request of a template movie. frame_num reads the movie's
// current frame; it is read again before each copy, because pump lets
// other handlers run in between. Returns false when the command is not a
// request or the movie stands at frame 0 (nothing is touched then).
// slot_count receives the text after "tupian=".
bool ServeSlotRequest(const std::filesystem::path& work_dir, std::string_view command,
                      const std::function<int64_t()>& frame_num, int& photo_cursor, std::string& slot_count,
                      const std::function<void()>& pump = {});

}  // namespace app
