#include "app/thumbnail_strip.h"

#include <algorithm>

#include "app/photo_pages.h"
#include "platform/gfx/canvas.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_skin_keys.h"
#include "skin/kiv_themes.h"

namespace app {

namespace {
constexpr int kBuiltInHighlight = 18;
constexpr std::string_view kSkinHighlight = "SKIN2_SELECTEDMENUBORDERCOLOR";
}  // namespace

TColor TThumbnailStrip::MarkColor() const
{
    TkivUIStyle effective;
    if (TkivFileTheme::UsingFileTheme(FileTheme(), UIStyle(), effective)) {
        const auto key = std::find(skin::kSkinKeys.begin(), skin::kSkinKeys.end(), kSkinHighlight);
        const std::int32_t colour =
            FileTheme()->GetColor(static_cast<std::uint8_t>(key - skin::kSkinKeys.begin()));
        return colour < 0 ? BorderColor() : static_cast<TColor>(colour);
    }
    return skin::GetBuiltInColor(effective, kBuiltInHighlight);
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
