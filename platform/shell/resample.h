#pragma once
// Scaling a picture to a new size: an area average where it shrinks, linear
// interpolation where it grows, each axis on its own.
#include "platform/gfx/bitmap.h"

namespace shell {

// `source` scaled to width x height (both at least 1). The result is opaque:
// the top byte of every pixel is 0.
TBitmap ResamplePicture(const TBitmap& source, int width, int height);

}  // namespace shell
