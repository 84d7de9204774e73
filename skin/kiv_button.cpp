#include "skin/kiv_button.h"

#include <algorithm>
#include <exception>

#include "platform/gfx/canvas.h"
#include "platform/ui/form.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_public.h"

namespace {

constexpr std::uint8_t kSkinButtonBitmap = 15;     // "SKIN2_BUTTON"
constexpr std::uint8_t kSkinButtonTrans = 5;       // "SKIN2_BUTTONTRANS"
constexpr std::uint8_t kSkinButtonFontColor = 24;  // "SKIN2_BUTTONFONTCOLOR"
constexpr int kBuiltInButton = 1;
constexpr int kBuiltInButtonTrans = 2;
constexpr TColor kDisabledLight = 0xFFFFFF;
constexpr TColor kDisabledGrey = 0x808080;

bool Blank(const std::string& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

// Sets the font colour only when it changes, so that a control keeps
// taking its parent's font while the style asks for what it has.
void SetFontColour(TFont& font, TColor colour)
{
    if (font.Color() != colour) font.SetColor(colour);
}

}  // namespace

// --- TkivCustomButton -------------------------------------------------------------

TkivCustomButton::TkivCustomButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    // A quick second press is a second click; nothing is dropped on a button.
    SetControlStyle(ControlStyle() & ~(csDoubleClicks | csAcceptsControls));
    SetFocusable(true);
    SetTabStop(true);
    ui_style_ = skin::GetOwnerUIStyle(AOwner);
}

TkivCustomButton::~TkivCustomButton() = default;

void TkivCustomButton::SetAutoSize(bool on)
{
    auto_size_ = on;
    UpdateAutoSize();
    Invalidate();
}

void TkivCustomButton::SetDefault(bool on)
{
    default_ = on;
    // Every button of the form works out again which one answers Enter.
    if (TForm* form = ParentForm(); form)
        form->FocusChanged(form->ActiveControl());
    else
        active_ = on;
}

void TkivCustomButton::SetTransparent(bool on)
{
    transparent_ = on;
    TransparentChanged();
    Invalidate();
}

void TkivCustomButton::TransparentChanged()
{
    pic_transparent_ = transparent_;
    Invalidate();
}

void TkivCustomButton::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    UIStyleChanged();
    Invalidate();
}

void TkivCustomButton::SetFocusedRectMargin(int margin)
{
    focus_margin_ = margin;
    Invalidate();
}

void TkivCustomButton::SetEnabled(bool enabled)
{
    TCustomControl::SetEnabled(enabled);
    Invalidate();
}

void TkivCustomButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && file_theme_ && AComponent == file_theme_) {
        file_theme_ = nullptr;
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
}

void TkivCustomButton::UpdateAutoSize()
{
    if (!auto_size_) return;
    TBitmap strip;
    skin::GetBuiltInBitmap(ui_style_, kBuiltInButton, &strip, 0, 0);
    const int h = strip.Height() > 0 ? strip.Height() : 21;
    const int w = strip.Width() > 0 ? strip.Width() : 74;
    SetBounds(Left(), Top(), w / 3, h);
}

void TkivCustomButton::GetStatePicCell(TBitmap& destination, int cell) const
{
    TkivUIStyle effective;
    if (TkivFileTheme::UsingFileTheme(file_theme_, ui_style_, effective))
        file_theme_->GetBitmapCell(kSkinButtonBitmap, destination, cell, 3);
    else
        skin::GetBuiltInBitmap(effective, kBuiltInButton, &destination, cell, 3);
}

void TkivCustomButton::TextChanged()
{
    CaptionChanged();
    Invalidate();
}

void TkivCustomButton::ParentChanged()
{
    TForm* form = ParentForm();
    if (form)
        FocusChanged(form->ActiveControl());
    else
        active_ = default_;
}

// --- painting -------------------------------------------------------------------------

void TkivCustomButton::Paint(TCanvas& Canvas)
{
    // Everything goes into an off-screen picture first, copied in one step.
    TBitmap picture;
    try {
        if (!EffectivelyEnabled())
            GetDisabledPic(picture);
        else if (down_)
            GetMouseDownPic(picture);
        else if (mouse_on_)
            GetMouseOnPic(picture);
        else
            GetNormalPic(picture);
    } catch (const std::exception&) {
        picture = TBitmap(74, 21, clWhite);
    }
    picture.SetTransparent(pic_transparent_);

    const int w = ClientWidth(), h = ClientHeight();
    if (w <= 0 || h <= 0) return;
    TBitmap off(w, h, Color());
    TCanvas& canvas = off.Canvas();
    canvas.Font().Assign(Font());
    if (transparent_) {
        skin::DrawParentBackground(canvas, *this);
    } else {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(ClientRect());
    }
    PaintPic(canvas, picture);
    if (Focused() && TabStop()) PaintFocus(canvas);
    canvas.Font().Assign(Font());
    if (!Blank(Caption())) PaintText(canvas, Caption());
    bold_caption_ = false;
    Canvas.CopyRect(ClientRect(), off, off.BoundsRect());
}

void TkivCustomButton::PaintPic(TCanvas& canvas, TBitmap& picture)
{
    if (picture.Empty()) return;
    const TColor mask = pic_transparent_ ? picture.Pixel(0, 0) : clNone;
    if (!EffectivelyEnabled())
        gfx::DrawGreyed(canvas, 0, 0, picture, mask);
    else if (pic_transparent_)
        gfx::DrawMasked(canvas, 0, 0, picture, mask);
    else
        canvas.Draw(0, 0, picture, clNone);
}

void TkivCustomButton::DrawCaptionCentred(TCanvas& canvas, const std::string& caption, const TRect& r,
                                          TColor colour)
{
    // Measured with word breaks, centred in r, drawn without them.
    TRect measured = r;
    canvas.DrawText(caption, measured, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
    const int dx = (r.Width() - measured.Width()) / 2;
    const int dy = (r.Height() - measured.Height()) / 2;
    TRect at = measured.Offset(dx, dy);
    canvas.Font().SetColor(colour);
    canvas.DrawText(caption, at, DT_CENTER);
}

void TkivCustomButton::PaintText(TCanvas& canvas, const std::string& caption)
{
    canvas.Brush().SetStyle(bsClear);
    const TRect r = ClientRect();
    canvas.Font().Assign(Font());
    if (bold_caption_) canvas.Font().SetBold(true);
    if (!EffectivelyEnabled()) {
        DrawCaptionCentred(canvas, caption, r.Offset(1, 1), kDisabledLight);
        DrawCaptionCentred(canvas, caption, r, kDisabledGrey);
    } else if (down_) {
        DrawCaptionCentred(canvas, caption, r.Offset(1, 1), Font().Color());
    } else {
        DrawCaptionCentred(canvas, caption, r, Font().Color());
    }
    bold_caption_ = false;
}

void TkivCustomButton::PaintFocus(TCanvas& canvas)
{
    canvas.Brush().SetColor(Color());
    const int m = focus_margin_;
    canvas.DrawFocusRect({m, m, ClientWidth() - m, ClientHeight() - m});
}

// --- mouse ----------------------------------------------------------------------------

void TkivCustomButton::StopRepeat()
{
    if (!repeat_timer_) return;
    // The timer may be the one whose tick runs now: let it go after the tick.
    repeat_timer_->SetEnabled(false);
    repeat_timer_->OnTimer = nullptr;
    repeat_timer_.reset();
}

void TkivCustomButton::FireContinuouslyDown()
{
    if (OnMouseContinuouslyDown && !EventsMuted()) OnMouseContinuouslyDown(this);
}

void TkivCustomButton::MouseEnter()
{
    mouse_on_ = true;
    Invalidate();
    TCustomControl::MouseEnter();
}

void TkivCustomButton::MouseLeave()
{
    mouse_on_ = false;
    down_ = false;
    StopRepeat();
    Invalidate();
    TCustomControl::MouseLeave();
    if (OnMouseExit && !EventsMuted()) OnMouseExit(this);
}

void TkivCustomButton::CancelMode()
{
    TCustomControl::CancelMode();
    mouse_on_ = false;
    down_ = false;
    StopRepeat();
    Invalidate();
}

void TkivCustomButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (X < 0 || Y < 0 || X > Width() || Y > Height()) {
        mouse_on_ = false;
        down_ = false;
        Invalidate();
    }
}

void TkivCustomButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        down_ = true;
        if (!repeat_timer_) {
            repeat_timer_ = std::make_unique<TTimer>();
            repeat_timer_->SetEnabled(false);
            repeat_timer_->SetInterval(std::max(repeat_interval_, 0));
            repeat_timer_->OnTimer = [this](TObject*) { FireContinuouslyDown(); };
            repeat_timer_->SetEnabled(true);
        }
        if (TabStop() && CanFocus()) SetFocus();
        Invalidate();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TkivCustomButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // A release away from the button clicks nothing, and the repeats end
    // with the press in any case.
    if (Button == mbLeft && (down_ || repeat_timer_)) {
        down_ = false;
        StopRepeat();
        Invalidate();
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TkivCustomButton::Click()
{
    if (down_ || repeat_timer_) {
        StopRepeat();
        down_ = false;
        Invalidate();
    }
    if (TForm* form = ParentForm(); form) form->SetModalResult(modal_result_);
    TCustomControl::Click();
}

// --- keyboard and focus ----------------------------------------------------------------

void TkivCustomButton::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if ((Key == VK_SPACE || Key == VK_RETURN) && Focused() && EffectivelyEnabled()) {
        down_ = true;
        Invalidate();
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TkivCustomButton::KeyUp(uint16_t& Key, TShiftState Shift)
{
    if ((Key == VK_SPACE || Key == VK_RETURN) && Focused() && down_ && EffectivelyEnabled()) {
        down_ = false;
        Invalidate();
        Click();
        return;
    }
    TCustomControl::KeyUp(Key, Shift);
}

bool TkivCustomButton::DialogKey(uint16_t Key, TShiftState Shift)
{
    const bool mine = (Key == VK_RETURN && active_) || (Key == VK_ESCAPE && cancel_);
    if (mine && !(Shift & (ssShift | ssCtrl | ssAlt)) && CanFocus()) {
        Click();
        return true;
    }
    return TCustomControl::DialogKey(Key, Shift);
}

bool TkivCustomButton::DialogChar(char32_t Key, TShiftState Shift)
{
    if (TCustomControl::DialogChar(Key, Shift)) return true;
    if (IsAccel(Key, Caption()) && Parent() && Parent()->EffectivelyEnabled() && Enabled() && Visible()) {
        Click();
        return true;
    }
    return false;
}

void TkivCustomButton::FocusChanged(TControl* NewFocus)
{
    TCustomControl::FocusChanged(NewFocus);
    // A focused TkivButton answers Enter itself; otherwise the default ones do.
    if (dynamic_cast<TkivButton*>(NewFocus))
        active_ = NewFocus == this;
    else
        active_ = default_;
    Invalidate();
}

void TkivCustomButton::DoEnter()
{
    TCustomControl::DoEnter();
    Invalidate();
}

void TkivCustomButton::DoExit()
{
    TCustomControl::DoExit();
    Invalidate();
}

// --- TkivButton ---------------------------------------------------------------------------

TkivButton::TkivButton(TComponent* AOwner) : TkivCustomButton(AOwner)
{
    SetBounds(0, 0, 80, 27);
    UIStyleChanged();
}

void TkivButton::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    SetUIStyle(UIStyle());
}

void TkivButton::SetGlyph(const TBitmap& glyph)
{
    glyph_.Assign(glyph);
    Invalidate();
}

void TkivButton::SetLayout(TButtonLayout layout)
{
    layout_ = layout;
    Invalidate();
}

void TkivButton::SetSpacing(int spacing)
{
    spacing_ = spacing;
    Invalidate();
}

void TkivButton::UIStyleChanged()
{
    TkivUIStyle effective;
    if (TkivFileTheme::UsingFileTheme(file_theme_, UIStyle(), effective)) {
        SetTransparent(file_theme_->GetBool(kSkinButtonTrans));
        // A skin without the colour keeps black captions.
        const std::int32_t colour = file_theme_->GetColor(kSkinButtonFontColor);
        SetFontColour(Font(), colour < 0 ? clBlack : static_cast<TColor>(colour));
    } else {
        SetTransparent(skin::GetBuiltInBool(effective, kBuiltInButtonTrans));
        SetFontColour(Font(), clBlack);
    }
}

void TkivButton::PaintPic(TCanvas& canvas, TBitmap& picture)
{
    canvas.Font().Assign(Font());
    skin::DrawNineSliceBitmap(picture, canvas, ClientRect(), PicTransparent());
    if (glyph_.Empty()) return;

    const TSize text = canvas.TextExtent(Caption());
    const int TW = text.cx, TH = text.cy;
    int GW = glyph_.Width();
    const int GH = glyph_.Height();
    const bool twoCells = GW == 2 * GH;
    if (twoCells) GW = GH;
    const int W = Width(), H = Height();
    int gx = 0, gy = 0;
    switch (layout_) {
    case blGlyphLeft:
        gx = (W - GW - TW - spacing_) / 2;
        gy = (H - GH) / 2;
        text_origin_ = {gx + GW + spacing_, (H - TH) / 2};
        break;
    case blGlyphRight:
        gx = (W + TW + spacing_ - GW) / 2;
        gy = (H - GH) / 2;
        text_origin_ = {gx - TW - spacing_, (H - TH) / 2};
        break;
    case blGlyphTop:
        gx = (W - GW) / 2;
        gy = (H - TH - GH - spacing_) / 2;
        text_origin_ = {(W - TW) / 2, gy + GH + spacing_};
        break;
    case blGlyphBottom:
        gx = (W - GW) / 2;
        gy = (H + TH + spacing_ - GH) / 2;
        text_origin_ = {(W - TW) / 2, gy - TH - spacing_};
        break;
    }
    if (IsDown()) ++gx, ++gy;

    // The glyph is masked by its top-left pixel.
    const TColor mask = gfx::ColorRGB(glyph_.Pixel(0, 0));
    TBitmap cell;
    if (twoCells)
        skin::CutBitmapCell(glyph_, cell, 2, EffectivelyEnabled() ? 1 : 2);
    else
        cell = glyph_;
    if (!twoCells && !EffectivelyEnabled())
        gfx::DrawGreyed(canvas, gx, gy, cell, mask);
    else
        gfx::DrawMasked(canvas, gx, gy, cell, mask);
}

void TkivButton::PaintText(TCanvas& canvas, const std::string& caption)
{
    if (glyph_.Empty()) {
        TkivCustomButton::PaintText(canvas, caption);
        return;
    }
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().Assign(Font());
    TPoint at = text_origin_;
    auto line = [&](TPoint p, TColor colour) {
        canvas.Font().SetColor(colour);
        TRect r{p.X, p.Y, Width(), Height()};
        canvas.DrawText(caption, r, DT_LEFT | DT_TOP | DT_SINGLELINE);
    };
    if (!EffectivelyEnabled()) {
        line(at + TPoint{1, 1}, kDisabledLight);
        line(at, kDisabledGrey);
        return;
    }
    if (IsDown()) at = at + TPoint{1, 1};
    line(at, Font().Color());
}

void TkivButton::PaintFocus(TCanvas& canvas)
{
    // These two styles mark the focused button by a bold caption.
    if (UIStyle() == TkivUIStyle::MacOS || UIStyle() == TkivUIStyle::BlueGlass) {
        bold_caption_ = true;
        return;
    }
    TkivCustomButton::PaintFocus(canvas);
}
