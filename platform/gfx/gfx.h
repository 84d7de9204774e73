#pragma once
// Everything of the graphics layer.
#include "platform/gfx/bitmap.h"
#include "platform/gfx/blend.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/font.h"
#include "platform/gfx/image_io.h"
#include "platform/gfx/region.h"
#include "platform/gfx/types.h"
