#pragma once
// TFont: the description of a typeface as the component library means it.
// Rendering lives in the canvas; this is a plain value with a change event.
#include <string>

#include "platform/core/component.h"
#include "platform/gfx/types.h"

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;  // a set of TFontStyle bits

enum TFontPitch { fpDefault, fpVariable, fpFixed };

// Character sets, stored for callers that set them; the renderer picks
// glyphs per character whatever the set.
constexpr int DEFAULT_CHARSET = 1;
constexpr int ANSI_CHARSET = 0;
constexpr int GB2312_CHARSET = 134;

namespace gfx {
// The name of the built-in box font: fixed metrics, independent of the
// installed fonts. Em height h = |Height|: ascent h - h/5, descent h/5,
// narrow characters h/2 wide, wide (CJK) characters h wide; every visible
// character is a solid box, a space is blank.
inline constexpr const char* kTestFontName = "Velmora Test Box";
// Pixels per inch, for the Size <-> Height conversion.
inline constexpr int kScreenPixelsPerInch = 96;
}  // namespace gfx

class TFont : public TObject {
public:
    TFont() = default;
    TFont(const TFont& other) : TObject() { CopyFrom(other); }
    TFont& operator=(const TFont& other)
    {
        Assign(other);
        return *this;
    }

    // Copies the description and raises OnChange (the event is not copied).
    void Assign(const TFont& other);

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    // Height < 0: the character (em) height in pixels; Height > 0: the cell
    // height (ascent + descent) in pixels. 0 means the default.
    int Height() const { return height_; }
    void SetHeight(int height);
    // Size in points at 96 pixels per inch: Size = -Height * 72 / 96.
    int Size() const;
    void SetSize(int points);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    bool Bold() const { return style_ & fsBold; }
    void SetBold(bool on) { SetStyleBit(fsBold, on); }
    bool Italic() const { return style_ & fsItalic; }
    void SetItalic(bool on) { SetStyleBit(fsItalic, on); }
    bool Underline() const { return style_ & fsUnderline; }
    void SetUnderline(bool on) { SetStyleBit(fsUnderline, on); }
    bool StrikeOut() const { return style_ & fsStrikeOut; }
    void SetStrikeOut(bool on) { SetStyleBit(fsStrikeOut, on); }
    int Charset() const { return charset_; }
    void SetCharset(int charset);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);

    bool SameAs(const TFont& other) const;

    TNotifyEvent OnChange;

private:
    void CopyFrom(const TFont& other);
    void SetStyleBit(TFontStyle bit, bool on) { SetStyle(on ? (style_ | bit) : (style_ & ~bit)); }
    void Changed();

    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
    int charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = fpDefault;
};

namespace gfx {
// The desktop's menu font (what menus and title bars use by default).
TFont SystemMenuFont();
// The installed font file a face name maps to ("Tahoma" -> DejaVu Sans,
// "宋体" -> WenQuanYi Micro Hei, ...); empty for the built-in box font.
std::string ResolveFontFile(const std::string& name, bool bold, bool italic);
}  // namespace gfx
