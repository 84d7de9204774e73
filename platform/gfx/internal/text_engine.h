#pragma once
// Fonts behind TFont: FreeType faces found through fontconfig, per-glyph
// fallback, a glyph cache, and the built-in box font for tests.
#include <memory>
#include <string>
#include <string_view>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/font.h"
#include "platform/gfx/types.h"

namespace gfx::internal {

struct FontMetrics {
    int ascent = 0;   // pixels above the baseline
    int descent = 0;  // pixels below it
    int height = 0;   // ascent + descent, the cell height
    int avgCharWidth = 0;
    int underlineOffset = 1;  // rows below the baseline
    int lineThickness = 1;
};

// A font at one size and style. Thread-safe.
class FontInstance {
public:
    virtual ~FontInstance() = default;
    virtual const FontMetrics& Metrics() const = 0;
    virtual int Advance(char32_t ch) = 0;
    // Blends the glyphs of text onto dst, the pen starting at (x, baseline),
    // inside clip (device coordinates).
    virtual void Draw(TBitmap& dst, const TRect& clip, int x, int baseline, std::u32string_view text,
                      TColor color) = 0;
    int Measure(std::u32string_view text)
    {
        int w = 0;
        for (char32_t ch : text) w += Advance(ch);
        return w;
    }
};

std::shared_ptr<FontInstance> GetFontInstance(const TFont& font);

// UTF-8 to code points; malformed bytes become U+FFFD.
std::u32string DecodeUtf8(std::string_view text);
std::string EncodeUtf8(std::u32string_view text);
// East Asian wide characters (CJK ideographs, kana, Hangul, full-width forms).
bool IsWideChar(char32_t ch);

}  // namespace gfx::internal
