#include "app/thumbnail_strip.h"

#include <algorithm>

#include "app/photo_pages.h"
#include "platform/gfx/canvas.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_skin_keys.h"
#include "skin/kiv_style_colour.h"

namespace app {

namespace {
constexpr int kBuiltInHighlight = 18;
constexpr std::string_view kSkinHighlight = "SKIN2_SELECTEDMENUBORDERCOLOR";
}  // namespace

TColor TThumbnailStrip::MarkColor() const
{
    TkivUIStyle effective;
    const bool skinned = TkivFileTheme::UsingFileTheme(FileTheme(), UIStyle(), effective);
    const auto key = std::find(skin::kSkinKeys.begin(), skin::kSkinKeys.end(), kSkinHighlight);
    return skin::StyleColour(skinned, FileTheme(), static_cast<int>(key - skin::kSkinKeys.begin()), effective,
                             kBuiltInHighlight);
}

void TThumbnailStrip::Paint(TCanvas& Canvas)
{
    TkivGroupBox::Paint(Canvas);
    const TControl* frame = SelectedFrame ? SelectedFrame() : nullptr;
    if (!frame || frame->Parent() != this) return;
    Canvas.Brush().SetColor(MarkColor());
    Canvas.Brush().SetStyle(bsSolid);
    for (const TRect& band : SelectedSlotMarks(frame->BoundsRect())) Canvas.FillRect(band);
}

}  // namespace app
