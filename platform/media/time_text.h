#pragma once
// The player's time text "mm:ss": total minutes with at least two digits
// and truncated seconds. Positions and lengths use this one rule, so the
// position text at the end of the media equals the length text.
#include <string>

namespace media {

std::string TimeText(double seconds);

}  // namespace media
