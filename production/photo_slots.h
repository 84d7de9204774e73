// The template movie's request for photos, "tupian=" and a slot count.
#pragma once

#include <optional>
#include <string_view>

namespace production {

inline constexpr int kMaxPhotoSlots = 15;

// The slot count of "tupian=1" to "tupian=15", compared whole and
// case-sensitively (no sign, no leading zero); nothing for any other command.
std::optional<int> ParseSlotRequest(std::string_view command);

}  // namespace production
