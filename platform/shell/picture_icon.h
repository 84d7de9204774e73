#pragma once
// The generic picture icon: a small landscape photograph (sky, sun, hills)
// in a white mount, shown for files that have no thumbnail.
#include "platform/gfx/bitmap.h"

namespace shell {

inline constexpr int kPictureIconSize = 48;

// The icon at size x size pixels (at least 8), opaque.
TBitmap PictureIcon(int size = kPictureIconSize);

}  // namespace shell
