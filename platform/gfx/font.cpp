#include "platform/gfx/font.h"

#include <cmath>

void TFont::CopyFrom(const TFont& o)
{
    name_ = o.name_;
    height_ = o.height_;
    color_ = o.color_;
    style_ = o.style_;
    charset_ = o.charset_;
    pitch_ = o.pitch_;
}

void TFont::Assign(const TFont& other)
{
    if (this == &other) return;
    CopyFrom(other);
    Changed();
}

bool TFont::SameAs(const TFont& o) const
{
    return name_ == o.name_ && height_ == o.height_ && color_ == o.color_ && style_ == o.style_ &&
           charset_ == o.charset_ && pitch_ == o.pitch_;
}

void TFont::Changed()
{
    if (OnChange) OnChange(this);
}

void TFont::SetName(const std::string& name)
{
    if (name_ != name) {
        name_ = name;
        Changed();
    }
}
void TFont::SetHeight(int height)
{
    if (height_ != height) {
        height_ = height;
        Changed();
    }
}

int TFont::Size() const
{
    // Rounded like the platform's MulDiv.
    const int h = -height_;
    const double pts = h * 72.0 / gfx::kScreenPixelsPerInch;
    return static_cast<int>(std::lround(pts));
}

void TFont::SetSize(int points)
{
    SetHeight(-static_cast<int>(std::lround(points * static_cast<double>(gfx::kScreenPixelsPerInch) / 72.0)));
}

void TFont::SetColor(TColor color)
{
    if (color_ != color) {
        color_ = color;
        Changed();
    }
}
void TFont::SetStyle(TFontStyles style)
{
    if (style_ != style) {
        style_ = style;
        Changed();
    }
}
void TFont::SetCharset(int charset)
{
    if (charset_ != charset) {
        charset_ = charset;
        Changed();
    }
}
void TFont::SetPitch(TFontPitch pitch)
{
    if (pitch_ != pitch) {
        pitch_ = pitch;
        Changed();
    }
}
