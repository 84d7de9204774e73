#include "production/photo_slots.h"

namespace production {

std::optional<int> ParseSlotRequest(std::string_view command)
{
    constexpr std::string_view prefix = "tupian=";
    if (command.substr(0, prefix.size()) != prefix) return std::nullopt;
    const std::string_view digits = command.substr(prefix.size());
    if (digits.empty() || digits.size() > 2 || digits[0] == '0') return std::nullopt;
    int count = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        count = count * 10 + (c - '0');
    }
    if (count > kMaxPhotoSlots) return std::nullopt;
    return count;
}

}  // namespace production
