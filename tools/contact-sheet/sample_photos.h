#pragma once
// Made-up photographs for previews of the movies: landscapes and portraits
// in changing colours, so that each slot can be told apart.
#include "platform/gfx/bitmap.h"

TBitmap SamplePhoto(int index, int width, int height);
