#pragma once
// TCustomImageList: equal-sized pictures kept by index, drawn with their
// mask colour left out (greyed when disabled). Tabs and menu items show
// their images from one.
#include <vector>

#include "platform/core/component.h"
#include "platform/gfx/bitmap.h"

class TCanvas;

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner = nullptr, int width = 16, int height = 16);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return static_cast<int>(images_.size()); }
    // Cuts the bitmap into pictures of the list's width (a narrower bitmap
    // is one picture); `mask` is left out when drawing. Returns the index
    // of the first picture added, -1 for an empty bitmap.
    int AddMasked(const TBitmap& bitmap, TColor mask);
    void Clear() { images_.clear(); }
    // Nothing for an index outside 0 .. Count-1.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

private:
    struct Image {
        TBitmap bitmap;
        TColor mask;
    };
    int width_, height_;
    std::vector<Image> images_;
};
