#pragma once
// Turning and mirroring a picture from the way it is stored to the way it
// is meant to be seen, by the eight EXIF orientations:
// 1 as stored, 2 mirrored left to right, 3 turned half round, 4 mirrored
// top to bottom, 5 mirrored along the main diagonal, 6 turned a quarter
// clockwise, 7 mirrored along the other diagonal, 8 turned a quarter
// anticlockwise. Any other value leaves the picture as stored.
#include "platform/gfx/bitmap.h"

namespace gfx {

// 5 to 8 exchange width and height.
bool OrientationSwapsSides(int orientation);
TSize OrientedSize(TSize stored, int orientation);
TBitmap ApplyOrientation(TBitmap stored, int orientation);

}  // namespace gfx
