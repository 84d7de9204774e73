#include "skin/kiv_combo_box.h"

#include <algorithm>
#include <array>

#include "platform/core/timer.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/scrollbar_part.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_locale.h"
#include "skin/kiv_public.h"

namespace {

constexpr std::uint8_t kSkinControlColour = 21;  // SKIN2_CONTROLCOLOR
constexpr std::uint8_t kSkinBorderColour = 22;   // SKIN2_CONTROLBORDERCOLOR
constexpr int kStyleButtonFace = 15;
constexpr int kStyleBorderColour = 25;
constexpr TColor kDisabledArrow = 0x808080;

void Triangle(TCanvas& canvas, int x, int y, TColor colour)
{
    canvas.Pen().SetColor(colour);
    canvas.Brush().SetColor(colour);
    canvas.Brush().SetStyle(bsSolid);
    const std::array<TPoint, 3> corners{TPoint{x, y}, TPoint{x + 6, y}, TPoint{x + 3, y + 3}};
    canvas.Polygon(corners);
}

}  // namespace

TkivCustomComboBox::TkivCustomComboBox(TComponent* AOwner) : TComboBox(AOwner)
{
    SetControlStyle(ControlStyle() | csOpaque);
    SetUIStyle(skin::GetOwnerUIStyle(AOwner));
}

TkivCustomComboBox::~TkivCustomComboBox() = default;

void TkivCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) WatchForList();
    TComboBox::MouseDown(Button, Shift, X, Y);
    ListClosed();
}

void TkivCustomComboBox::KeyDown(uint16_t& Key, TShiftState Shift)
{
    WatchForList();
    TComboBox::KeyDown(Key, Shift);
    ListClosed();
}

void TkivCustomComboBox::ListClosed()
{
    if (list_watch_) list_watch_->SetEnabled(false);
    // Whatever the list covered is painted again.
    if (list_framed_ && Parent()) Parent()->Invalidate();
    list_framed_ = false;
}

void TkivCustomComboBox::WatchForList()
{
    if (!Skinned() || Items().Count() == 0) return;
    if (!list_watch_) {
        list_watch_ = std::make_unique<TTimer>(nullptr);
        list_watch_->SetInterval(1);
        list_watch_->OnTimer = [this](TObject*) { FrameList(); };
    }
    list_watch_->SetEnabled(true);
}

void TkivCustomComboBox::FrameList()
{
    list_watch_->SetEnabled(false);
    if (!DroppedDown()) return;
    TForm* list = Screen().ModalForm();
    if (!list || !list->CloseOnOutsideClick() || list->FrameHook()) return;
    list->SetFrameHook(&list_frame_);
    list->FrameChanged();
    list_framed_ = true;
}

void TkivCustomComboBox::ListFrame::PaintFrame(TForm& form, TCanvas& canvas)
{
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(combo_.BorderColor());
    canvas.FrameRect({0, 0, form.Width(), form.Height()});
}

void TkivCustomComboBox::SetBorderColor(TColor colour)
{
    border_color_ = colour;
    Invalidate();
}

void TkivCustomComboBox::SetArrowColor(TColor colour)
{
    arrow_color_ = colour;
    Invalidate();
}

void TkivCustomComboBox::SetButtonColor(TColor colour)
{
    button_color_ = colour;
    Invalidate();
}

void TkivCustomComboBox::SetEnabled(bool enabled)
{
    TComboBox::SetEnabled(enabled);
    Invalidate();
}

void TkivCustomComboBox::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    arrow_color_ = clBlack;
    TkivUIStyle effective;
    if (TkivFileTheme::UsingFileTheme(file_theme_, style, effective)) {
        // A skin that lacks a colour gets the fallback style's.
        const std::int32_t border = file_theme_->GetColor(kSkinBorderColour);
        const std::int32_t face = file_theme_->GetColor(kSkinControlColour);
        border_color_ = border >= 0 ? static_cast<TColor>(border)
                                    : skin::GetBuiltInColor(TkivUIStyle::DeepBlue, kStyleBorderColour);
        button_color_ = face >= 0 ? static_cast<TColor>(face)
                                  : skin::GetBuiltInColor(TkivUIStyle::DeepBlue, kStyleButtonFace);
    } else {
        border_color_ = skin::GetBuiltInColor(effective, kStyleBorderColour);
        button_color_ = skin::GetBuiltInColor(effective, kStyleButtonFace);
    }
    button_art_.SetSize(0, 0);
    if (style == TkivUIStyle::MacOS) skin::LoadBitmapResource("MACOS_COMBOBOX_BUTTON", button_art_);
    if (style == TkivUIStyle::WinXP) skin::LoadBitmapResource("WINXP_COMBOBOX_BUTTON", button_art_);
    Invalidate();
}

void TkivCustomComboBox::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    SetUIStyle(ui_style_);
}

void TkivCustomComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TComboBox::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == file_theme_ && file_theme_) {
        file_theme_ = nullptr;
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
}

TRect TkivCustomComboBox::ButtonRect() const
{
    // Where the platform's combo puts its button.
    return TComboBox::ButtonRect();
}

int TkivCustomComboBox::DividerX() const
{
    // The button's left edge; its right edge when laid out right to left.
    const TRect button = ButtonRect();
    return skin::UseRightToLeftLayout(*this) ? button.Right - 1 : button.Left;
}

void TkivCustomComboBox::PaintNonClient(TCanvas& Canvas)
{
    if (!Skinned()) {
        TComboBox::PaintNonClient(Canvas);
        return;
    }
    skin::DrawControlBorder(Canvas, *this, border_color_, Color(), true);
    if (!button_art_.Empty()) return;
    // The button's dividing line reaches one pixel into the frame above and
    // below the button.
    const TRect inset = NonClientInsets();
    const TRect button = ButtonRect();
    const int x = inset.Left + DividerX();
    Canvas.SetPixel(x, inset.Top + button.Top - 1, border_color_);
    Canvas.SetPixel(x, inset.Top + button.Bottom, border_color_);
}

void TkivCustomComboBox::Paint(TCanvas& Canvas)
{
    TComboBox::Paint(Canvas);
    if (!Skinned()) return;
    const TRect button = ButtonRect();
    if (button.IsEmpty()) return;
    TCanvasStateSaver saver(Canvas);
    if (!button_art_.Empty()) {
        skin::StretchBitmap(button_art_, Canvas, button);
    } else {
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(button_color_);
        Canvas.FillRect(button);
        Canvas.Pen().SetColor(border_color_);
        const int x = DividerX();
        Canvas.MoveTo(x, button.Top - 1);
        Canvas.LineTo(x, button.Bottom + 1);
    }
    if (ui_style_ == TkivUIStyle::WinXP) return;
    const int x = button.Left + button.Width() / 2 - 3;
    const int y = button.Height() / 2;
    if (!EffectivelyEnabled()) {
        Triangle(Canvas, x + 1, y + 1, clWhite);
        Triangle(Canvas, x, y, kDisabledArrow);
    } else {
        Triangle(Canvas, x, y, arrow_color_);
    }
}

TkivComboBox::TkivComboBox(TComponent* AOwner) : TkivCustomComboBox(AOwner) {}
