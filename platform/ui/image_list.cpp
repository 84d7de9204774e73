#include "platform/ui/image_list.h"

#include <algorithm>

#include "platform/gfx/canvas.h"

TCustomImageList::TCustomImageList(TComponent* AOwner, int width, int height)
    : TComponent(AOwner), width_(std::max(1, width)), height_(std::max(1, height))
{}

int TCustomImageList::AddMasked(const TBitmap& bitmap, TColor mask)
{
    if (bitmap.Empty()) return -1;
    const int first = Count();
    const int pieces = std::max(1, bitmap.Width() / width_);
    for (int i = 0; i < pieces; ++i) {
        TBitmap piece(width_, height_, mask);
        piece.Canvas().CopyRect(Bounds(0, 0, width_, height_), bitmap,
                                Bounds(i * width_, 0, width_, height_));
        images_.push_back({std::move(piece), mask});
    }
    return first;
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const
{
    if (index < 0 || index >= Count()) return;
    const Image& image = images_[index];
    if (enabled)
        gfx::DrawMasked(canvas, x, y, image.bitmap, image.mask);
    else
        gfx::DrawGreyed(canvas, x, y, image.bitmap, image.mask);
}
