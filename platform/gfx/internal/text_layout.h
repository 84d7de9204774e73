#pragma once
// DrawText's layout, apart from any drawing: prefix characters, line
// breaks, word wrap, tabs, ellipsis and alignment, in whole pixels.
#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/types.h"

namespace gfx::internal {

struct LaidOutLine {
    std::u32string text;
    int x = 0;  // left of the line, relative to the rectangle's left
    int width = 0;
    int underline = -1;  // index in text of the prefix-underlined character, or -1
};

struct TextLayout {
    std::vector<LaidOutLine> lines;
    int top = 0;  // first line's top, relative to the rectangle's top
    int lineHeight = 0;
    int width = 0;   // widest line
    int height = 0;  // lines * lineHeight
};

struct TextMeasure {
    std::function<int(char32_t)> advance;
    int lineHeight = 0;
    int avgCharWidth = 0;
};

// Lays text out in a rectangle of the given size by the DT_ flags.
TextLayout LayOutText(const std::u32string& text, int rectWidth, int rectHeight, unsigned flags,
                      const TextMeasure& measure);

}  // namespace gfx::internal
