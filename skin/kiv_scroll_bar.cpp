#include "skin/kiv_scroll_bar.h"

#include <algorithm>

#include "platform/core/timer.h"
#include "platform/gfx/canvas.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_public.h"

namespace {

// Skin thumbs keep three pixels at each end.
constexpr int kSkinCap = 3;
constexpr int kMinThumb = 16;

}  // namespace

// --- arrows ------------------------------------------------------------------------

TkivScrollArrow::TkivScrollArrow(TComponent* AOwner) : TkivImageButton(AOwner)
{
    SetTabStop(false);
    SetFocusable(false);
}

TkivScrollArrow::~TkivScrollArrow() = default;

void TkivScrollArrow::SetStatePicture(int state, const TBitmap& bitmap)
{
    pictures_[std::clamp(state, 0, 2)] = bitmap;
    Invalidate();
}

void TkivScrollArrow::Refit()
{
    const TBitmap& normal = pictures_[0];
    if (!normal.Empty()) SetBounds(Left(), Top(), normal.Width(), normal.Height());
}

void TkivScrollArrow::Stop()
{
    if (timer_) {
        timer_->SetEnabled(false);
        timer_.reset();
    }
    down_ = false;
    Invalidate();
}

void TkivScrollArrow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        down_ = true;
        if (!timer_) {
            timer_ = std::make_unique<TTimer>();
            timer_->SetInterval(std::max(interval_, 0));
            timer_->OnTimer = [this](TObject*) {
                if (OnRepeat) OnRepeat(this);
            };
            timer_->SetEnabled(true);
        }
        Invalidate();
    }
    TControl::MouseDown(Button, Shift, X, Y);
}

void TkivScrollArrow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // Released anywhere: the repeat ends with the press.
    if (Button == mbLeft) Stop();
    TControl::MouseUp(Button, Shift, X, Y);
}

void TkivScrollArrow::MouseMove(TShiftState Shift, int X, int Y)
{
    TControl::MouseMove(Shift, X, Y);
    const bool inside = X >= 0 && Y >= 0 && X <= Width() && Y <= Height();
    if (!inside && (hot_ || down_)) {
        hot_ = false;
        Stop();
    }
}

void TkivScrollArrow::MouseEnter()
{
    hot_ = true;
    Invalidate();
    TControl::MouseEnter();
}

void TkivScrollArrow::MouseLeave()
{
    hot_ = false;
    Stop();
    TControl::MouseLeave();
}

void TkivScrollArrow::CancelMode()
{
    hot_ = false;
    Stop();
}

// The arrows step by repeat alone; a click means nothing to them (and must
// not touch the form's ModalResult as a push button would).
void TkivScrollArrow::Click() {}
void TkivScrollArrow::KeyDown(uint16_t& Key, TShiftState Shift) { TControl::KeyDown(Key, Shift); }
void TkivScrollArrow::KeyUp(uint16_t& Key, TShiftState Shift) { TControl::KeyUp(Key, Shift); }
bool TkivScrollArrow::DialogKey(uint16_t, TShiftState) { return false; }
bool TkivScrollArrow::DialogChar(char32_t, TShiftState) { return false; }

void TkivScrollArrow::Paint(TCanvas& Canvas)
{
    // A disabled arrow (its bar disabled, say) shows its normal picture
    // whatever the mouse does.
    const bool lit = hot_ && EffectivelyEnabled();
    const int state = down_ && lit ? 2 : lit ? 1 : 0;
    const TBitmap& picture = !pictures_[state].Empty() ? pictures_[state] : pictures_[0];
    if (picture.Empty()) {
        Canvas.Brush().SetColor(Color());
        Canvas.FillRect(ClientRect());
        return;
    }
    // Rounded artwork leaves its corners magenta: the bar shows there.
    Canvas.Draw(0, 0, picture, clMagenta);
}

// --- scroll bar ----------------------------------------------------------------------

TkivScrollBar::TkivScrollBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() & ~csAcceptsControls);
    arranging_ = true;  // nothing to arrange until every part exists
    track_ = new TkivScrollTrackBar(this);
    track_->SetParent(this);
    track_->SetShowTick(false);
    track_->SetTransparent(false);
    track_->SetMax(100);
    // The binder's handler sees the track as Sender.
    track_->OnChange = [this](TObject* Sender) {
        if (OnChange && !EventsMuted()) OnChange(Sender);
    };
    inc_button_ = new TkivScrollArrow(this);
    inc_button_->SetParent(this);
    inc_button_->OnRepeat = [this](TObject*) { track_->SetPosition(track_->Position() + small_change_); };
    dec_button_ = new TkivScrollArrow(this);
    dec_button_->SetParent(this);
    dec_button_->OnRepeat = [this](TObject*) { track_->SetPosition(track_->Position() - small_change_); };
    SetBounds(0, 0, 185, 185);
    arranging_ = false;
    SetUIStyle(skin::GetOwnerUIStyle(AOwner));
    ArrangeParts();
}

TkivScrollBar::~TkivScrollBar()
{
    if (file_theme_) file_theme_->RemoveFreeNotification(this);
}

int TkivScrollBar::Min() const { return track_->Min(); }
void TkivScrollBar::SetMin(int v) { track_->SetMin(v); }
int TkivScrollBar::Max() const { return track_->Max(); }
void TkivScrollBar::SetMax(int v) { track_->SetMax(v); }
int TkivScrollBar::Position() const { return track_->Position(); }

void TkivScrollBar::SetPosition(int v)
{
    if (v != track_->Position()) track_->SetPosition(v);
}

int TkivScrollBar::PageSize() const { return track_->PageSize(); }

void TkivScrollBar::SetPageSize(int v)
{
    track_->SetPageSize(v);
    BuildThumb();
}

int TkivScrollBar::LargeChange() const { return static_cast<std::int16_t>(track_->PageSize()); }
void TkivScrollBar::SetLargeChange(int v) { track_->SetPageSize(v); }

void TkivScrollBar::SetSmallChange(int v) { small_change_ = std::clamp(v, 1, 32767); }

int TkivScrollBar::LastChange() const { return track_->LastChange(); }
bool TkivScrollBar::SliderVisible() const { return track_->SliderVisible(); }
void TkivScrollBar::SetSliderVisible(bool on) { track_->SetSliderVisible(on); }

int TkivScrollBar::ArrowsLength() const
{
    return orientation_ == kivVertical ? inc_button_->Height() + dec_button_->Height()
                                       : inc_button_->Width() + dec_button_->Width();
}

void TkivScrollBar::SetLineButton(int v)
{
    if (v == line_button_) return;
    if (v > Length() - ArrowsLength()) return;
    line_button_ = v;
    BuildThumb();
}

void TkivScrollBar::SetOrientation(TkivProgressBarOrientation o)
{
    if (o == orientation_) return;
    orientation_ = o;
    BuildPictures();
    ArrangeParts();
}

void TkivScrollBar::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    track_->SetColor(Color());
    BuildPictures();
    ArrangeParts();
}

void TkivScrollBar::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    SetUIStyle(ui_style_);
}

void TkivScrollBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == file_theme_ && file_theme_) {
        file_theme_ = nullptr;
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
}

bool TkivScrollBar::Skinned() const
{
    TkivUIStyle effective;
    return TkivFileTheme::UsingFileTheme(file_theme_, ui_style_, effective);
}

void TkivScrollBar::Resize()
{
    TCustomControl::Resize();
    ArrangeParts();
}

void TkivScrollBar::VisibleChanged()
{
    TCustomControl::VisibleChanged();
    if (!track_) return;
    track_->SetVisible(Visible());
    inc_button_->SetVisible(Visible());
    dec_button_->SetVisible(Visible());
}

void TkivScrollBar::ColorChanged()
{
    if (track_) track_->SetColor(Color());
    Invalidate();
}

void TkivScrollBar::BuildPictures()
{
    track_->SetBarImage(TBitmap());
    TkivUIStyle effective;
    TBitmap dec[3], inc[3];
    if (TkivFileTheme::UsingFileTheme(file_theme_, ui_style_, effective)) {
        const std::int32_t colour = file_theme_->GetColor(25);
        SetColor(colour >= 0 ? colour : skin::GetBuiltInColor(TkivUIStyle::DeepBlue, 31));
        TBitmap strip;
        if (const TBitmap* b = file_theme_->GetBitmap(27)) strip = *b;
        skin::RotateBitmapLeft(strip);
        for (int i = 0; i < 3; ++i) {
            skin::CutBitmapCell(strip, thumb_[i], 3, i + 1);
            file_theme_->GetBitmapCell(26, dec[i], i + 1, 3);
            file_theme_->GetBitmapCell(28, inc[i], i + 1, 3);
        }
    } else {
        SetColor(skin::GetBuiltInColor(effective, 31));
        for (int i = 0; i < 3; ++i) {
            skin::GetBuiltInBitmap(effective, 33, &thumb_[i], i + 1, 3);
            skin::GetBuiltInBitmap(effective, 32, &dec[i], i + 1, 6);
            skin::GetBuiltInBitmap(effective, 32, &inc[i], i + 4, 6);
        }
    }
    for (int i = 0; i < 3; ++i) {
        // The stored arrows point up and down.
        if (orientation_ == kivHorizontal) {
            skin::RotateBitmapLeft(dec[i]);
            skin::RotateBitmapLeft(inc[i]);
        } else {
            skin::RotateBitmapRight(thumb_[i]);
        }
        dec_button_->SetStatePicture(i, dec[i]);
        inc_button_->SetStatePicture(i, inc[i]);
    }
    dec_button_->Refit();
    inc_button_->Refit();
    Invalidate();
}

void TkivScrollBar::ArrangeParts()
{
    if (arranging_) return;
    arranging_ = true;
    track_->SetOrientation(orientation_);
    if (Width() == 0 || Height() == 0) {
        // The binder shows it again.
        SetVisible(false);
        arranging_ = false;
        return;
    }
    if (orientation_ == kivVertical) {
        dec_button_->SetBounds(0, 0, dec_button_->Width(), dec_button_->Height());
        track_->SetBounds(0, dec_button_->Height(), track_->Width(),
                          std::max(0, Height() - inc_button_->Height() - dec_button_->Height()));
        inc_button_->SetBounds(0, Height() - inc_button_->Height(), inc_button_->Width(),
                               inc_button_->Height());
        SetWidth(dec_button_->Width());
    } else {
        dec_button_->SetBounds(0, 0, dec_button_->Width(), dec_button_->Height());
        track_->SetBounds(dec_button_->Width(), 0,
                          std::max(0, Width() - inc_button_->Width() - dec_button_->Width()),
                          track_->Height());
        inc_button_->SetBounds(Width() - inc_button_->Width(), 0, inc_button_->Width(),
                               inc_button_->Height());
        SetHeight(dec_button_->Height());
    }
    arranging_ = false;
    BuildThumb();
}

void TkivScrollBar::BuildThumb()
{
    const bool vertical = orientation_ == kivVertical;
    const TBitmap &c1 = thumb_[0], &c2 = thumb_[1], &c3 = thumb_[2];
    const int thickness = vertical ? c1.Width() : c1.Height();
    const int trackLength = vertical ? track_->Height() : track_->Width();
    int length = 0;
    if (line_button_ > 0) {
        if (line_button_ < kMinThumb) line_button_ = kMinThumb;
        length = line_button_;
    } else {
        int percent = track_->PageSize();
        if (percent < 10 || percent > 100) percent = 10;
        if (trackLength > 0) length = percent * trackLength / 100;
    }
    TBitmap a;
    if (thickness > 0 && length > 0) {
        a = vertical ? TBitmap(thickness, length, Color()) : TBitmap(length, thickness, Color());
        TCanvas& c = a.Canvas();
        c.Draw(0, 0, c1);
        // Rows (vertical) or columns (horizontal) [s0, s1) of a cell
        // stretched over [d0, d1) of the thumb.
        auto part = [&](const TBitmap& cell, int s0, int s1, int d0, int d1) {
            if (s1 <= s0 || d1 <= d0) return;
            if (vertical)
                c.DrawBitmap({0, d0, thickness, d1}, cell, {0, s0, cell.Width(), s1});
            else
                c.DrawBitmap({d0, 0, d1, thickness}, cell, {s0, 0, s1, cell.Height()});
        };
        const int c1len = vertical ? c1.Height() : c1.Width();
        const int c2len = vertical ? c2.Height() : c2.Width();
        const int c3len = vertical ? c3.Height() : c3.Width();
        if (Skinned()) {
            const int cap = kSkinCap;
            part(c3, c3len - cap, c3len, length - cap, length);
            if (length - 2 * cap < c2len) {
                part(c2, 0, c2len, cap, length - cap);
            } else {
                const int y0 = (length - c2len - 2 * cap) / 2 + cap;
                part(c2, 0, c2len, y0, y0 + c2len);
                part(c1, cap, c1len, cap, y0);
                part(c3, 0, c3len - cap, y0 + c2len, length - cap);
            }
        } else {
            part(c3, 0, c3len, length - c3len, length);
            part(c2, 0, c2len, c1len, length - c3len);
        }
    }
    track_->SetSliderImage(a);
    track_->RefitSlider();
}

void TkivScrollBar::Paint(TCanvas& Canvas)
{
    // Only a sliver between the parts can show.
    Canvas.Brush().SetColor(Color());
    Canvas.FillRect(ClientRect());
}
