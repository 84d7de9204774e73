#include "platform/flash/shockwave_flash.h"

#include "platform/gfx/canvas.h"

TShockwaveFlash::TShockwaveFlash(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 352, 288);
    player_.OnChange = [this] { Invalidate(); };
    player_.OnFSCommand = [this](const std::string& command, const std::string& args) {
        if (OnFSCommand) OnFSCommand(this, command, args);
    };
}

TShockwaveFlash::~TShockwaveFlash()
{
    player_.OnChange = nullptr;
    player_.OnFSCommand = nullptr;
}

void TShockwaveFlash::SetMovie(const std::string& path)
{
    movie_ = path;
    player_.Load(std::filesystem::path(path));
    Invalidate();
}

void TShockwaveFlash::Paint(TCanvas& Canvas)
{
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
    player_.Render(Canvas.Target(), dest, clip);
}
