#include "platform/flash/shockwave_flash.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/canvas.h"

TShockwaveFlash::TShockwaveFlash(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 352, 288);
    player_.OnChange = [this] { Invalidate(); };
    player_.OnFSCommand = [this](const std::string& command, const std::string& args) {
        if (OnFSCommand) OnFSCommand(this, command, args);
    };
}

TShockwaveFlash::~TShockwaveFlash() {
    player_.OnChange = nullptr;
    player_.OnFSCommand = nullptr;
}

void TShockwaveFlash::SetMovie(const std::string& path) {
    movie_ = path;
    player_.Load(std::filesystem::path(path));
    Invalidate();
}

void TShockwaveFlash::SetScaleMode(TFlashScaleMode mode) {
    if (mode == scale_mode_) return;
    scale_mode_ = mode;
    Invalidate();
}

void TShockwaveFlash::Paint(TCanvas& Canvas) {
    // The canvas origin is the control's client top-left, in device pixels
    // of the bitmap being painted; its clip limits what changes.
    const TPoint origin = Canvas.Origin();
    TRect dest = Bounds(origin.X, origin.Y, ClientWidth(), ClientHeight());
    TRect clip = Canvas.ClipRect().Offset(origin.X, origin.Y);
    if (!player_.Loaded()) {
        // Nothing loaded: an empty (black) pane, as a player without a movie shows.
        TBitmap& target = Canvas.Target();
        TRect area = dest.Intersect(clip).Intersect(target.BoundsRect());
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x) target.ScanLine(y)[x] = target.AlphaBits();
        return;
    }
    if (scale_mode_ == fsmShowAll && player_.StageWidth() > 0 && player_.StageHeight() > 0) {
        // The whole stage at the largest size that fits, centred; the bands
        // beside it show the stage's background when that is opaque.
        const double scale = std::min(static_cast<double>(dest.Width()) / player_.StageWidth(),
                                      static_cast<double>(dest.Height()) / player_.StageHeight());
        const int width = static_cast<int>(std::lround(player_.StageWidth() * scale));
        const int height = static_cast<int>(std::lround(player_.StageHeight() * scale));
        const TRect stage = Bounds(dest.Left + (dest.Width() - width) / 2, dest.Top + (dest.Height() - height) / 2,
                                   width, height);
        const std::uint32_t background = player_.GetMovie()->background;
        TBitmap& target = Canvas.Target();
        if ((background >> 24) == 0xFF) {
            const TRect area = dest.Intersect(clip).Intersect(target.BoundsRect());
            const std::uint32_t band = (background & 0x00FFFFFFu) | target.AlphaBits();
            for (int y = area.Top; y < area.Bottom; ++y)
                for (int x = area.Left; x < area.Right; ++x)
                    if (!stage.Contains({x, y})) target.ScanLine(y)[x] = band;
        }
        player_.Render(target, stage, clip);
        return;
    }
    player_.Render(Canvas.Target(), dest, clip);
}
