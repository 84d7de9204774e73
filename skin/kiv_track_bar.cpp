#include "skin/kiv_track_bar.h"

#include <algorithm>
#include <cstdint>

#include "platform/gfx/canvas.h"
#include "platform/ui/backend.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_public.h"

namespace {

constexpr int kRepeatMs = 100;

// num / den rounded to the nearest integer, ties to even.
std::int64_t DivideHalfEven(std::int64_t num, std::int64_t den)
{
    if (den < 0) num = -num, den = -den;
    std::int64_t q = num / den, r = num % den;
    if (r < 0) --q, r += den;  // floor
    const std::int64_t twice = 2 * r;
    if (twice > den || (twice == den && (q & 1))) ++q;
    return q;
}

}  // namespace

// --- slider ----------------------------------------------------------------------

TkivTrackSlider::TkivTrackSlider(TkivTrackBar* track) : TkivImagePanel(track), track_(track)
{
    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    SetCaption("");
}

void TkivTrackSlider::SetSliderTransparent(bool on)
{
    transparent_ = on;
    Invalidate();
}

void TkivTrackSlider::Refit()
{
    const TBitmap& b = Picture().Bitmap();
    SetBounds(Left(), Top(), b.Width(), b.Height());
}

void TkivTrackSlider::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    track_->SliderMouseDown(Button, Shift, X, Y);
}

void TkivTrackSlider::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    track_->SliderMouseUp(Button, Shift, X, Y);
}

void TkivTrackSlider::Paint(TCanvas& Canvas)
{
    const TBitmap& b = Picture().Bitmap();
    if (b.Empty()) return;
    if (transparent_) {
        // The see-through colour of the picture's corner, as the platform
        // picks it for a transparent bitmap.
        Canvas.Draw(0, 0, b, gfx::ColorRGB(b.Pixel(0, b.Height() - 1)));
        return;
    }
    // Opaque: what the artwork leaves see-through takes the track's colour.
    TBitmap solid = b;
    skin::ReplaceBitmapColor(solid, clMagenta, track_->Color());
    Canvas.Draw(0, 0, solid);
}

// --- track bar -------------------------------------------------------------------

TkivTrackBar::TkivTrackBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() & ~csAcceptsControls);
    SetBounds(0, 0, 150, 45);
    SetParentColor(true);
    SetTabStop(true);
    SetFocusable(true);
    slider_ = new TkivTrackSlider(this);
    slider_->SetParent(this);
    SetUIStyle(skin::GetOwnerUIStyle(AOwner));
}

TkivTrackBar::~TkivTrackBar()
{
    StopPaging();
    if (file_theme_) file_theme_->RemoveFreeNotification(this);
}

void TkivTrackBar::SetMax(int v)
{
    if (v == max_) return;
    max_ = std::max(v, min_);
    if (position_ > max_) position_ = max_;
    UpdateSlider();
}

void TkivTrackBar::SetMin(int v)
{
    if (v == min_) return;
    min_ = std::min(v, max_);
    if (position_ < min_) position_ = min_;
    UpdateSlider();
}

void TkivTrackBar::SetPosition(int v)
{
    position_ = std::clamp(v, min_, max_);
    UpdateSlider();
}

void TkivTrackBar::SetPageSize(int v)
{
    if (v >= 0 && v <= max_) page_size_ = v;
}

void TkivTrackBar::SetLineSize(int v)
{
    if (v >= 0 && v <= max_) line_size_ = v;
}

void TkivTrackBar::SetFrequency(int v)
{
    frequency_ = v;
    Invalidate();
}

void TkivTrackBar::SetShowTick(bool on)
{
    show_tick_ = on;
    Invalidate();
}

void TkivTrackBar::SetTransparent(bool on)
{
    transparent_ = on;
    Invalidate();
}

void TkivTrackBar::SetOrientation(TkivProgressBarOrientation o)
{
    if (o == orientation_) return;
    orientation_ = o;
    Rebuild();
}

void TkivTrackBar::SetBarImage(const TBitmap& bitmap)
{
    bar_image_ = bitmap;
    Rebuild();
}

const TBitmap& TkivTrackBar::SliderImage() const { return slider_->Picture().Bitmap(); }

void TkivTrackBar::SetSliderImage(const TBitmap& bitmap)
{
    slider_->Picture().Assign(bitmap);
    // The slider takes its picture's size at once; within a rebuild the
    // rebuild fits and places it.
    slider_->Refit();
    if (!rebuilding_) {
        // Only the thickness changes, so the bar as built stays.
        rebuilding_ = true;
        FitThickness();
        rebuilding_ = false;
        UpdateSlider();
    }
    slider_->Invalidate();
}

void TkivTrackBar::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    Rebuild();
    if (style == TkivUIStyle::MacOS) SetTransparent(true);
}

void TkivTrackBar::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    SetUIStyle(ui_style_);
}

void TkivTrackBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == file_theme_ && file_theme_) {
        file_theme_ = nullptr;
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
}

void TkivTrackBar::Resize()
{
    TCustomControl::Resize();
    Rebuild();
}

void TkivTrackBar::ColorChanged()
{
    // The bar buffer is laid on Color.
    if (!slider_) return;
    BuildBarBuffer();
    slider_->Invalidate();
    Invalidate();
}

void TkivTrackBar::Rebuild()
{
    // Fitting the thickness resizes the control, which rebuilds again.
    if (rebuilding_ || !slider_) return;
    rebuilding_ = true;
    UpdatePictures();
    FitThickness();
    BuildBarBuffer();
    UpdateSlider();
    rebuilding_ = false;
    Invalidate();
}

void TkivTrackBar::FitThickness()
{
    const int bar = bar_image_.Height();
    if (Horizontal())
        SetHeight(std::max(bar, slider_->Height()));
    else
        SetWidth(std::max(bar, slider_->Width()));
    Invalidate();
}

void TkivTrackBar::UpdatePictures()
{
    if (UsesExternalPictures()) return;
    TkivUIStyle effective;
    TBitmap slider;
    if (TkivFileTheme::UsingFileTheme(file_theme_, ui_style_, effective)) {
        bar_image_ = TBitmap();
        if (const TBitmap* b = file_theme_->GetBitmap(23)) bar_image_ = *b;
        if (const TBitmap* b = file_theme_->GetBitmap(Horizontal() ? 24 : 25)) slider = *b;
        skin::ReplaceBitmapColor(slider, file_theme_->GetColor(0), file_theme_->GetColor(2));
    } else {
        bar_image_ = TBitmap();
        skin::LoadBuiltInBitmap(effective, 28, &bar_image_);
        skin::LoadBuiltInBitmap(effective, Horizontal() ? 29 : 30, &slider);
    }
    SetSliderImage(slider);
    slider_->SetSliderTransparent(IsSliderTransparent());
    slider_->Refit();
}

void TkivTrackBar::BuildBarBuffer()
{
    const int length = Horizontal() ? Width() : Height();
    const int thickness = bar_image_.Height();
    if (length <= 0 || thickness <= 0) {
        bar_buffer_ = TBitmap();
        return;
    }
    bar_buffer_ = TBitmap(length, thickness, Color());
    skin::DrawThreeSliceBitmap(bar_image_, bar_buffer_.Canvas(), bar_buffer_.BoundsRect(), true, Color(),
                               false);
    if (!Horizontal()) skin::RotateBitmapLeft(bar_buffer_);
}

TPoint TkivTrackBar::SliderPos() const
{
    const std::int64_t span = std::int64_t{max_} - min_;
    const std::int64_t along = std::int64_t{position_} - min_;
    if (Horizontal()) {
        const int y = std::max(Height() - slider_->Height(), 0) / 2;
        const int x = span == 0 ? 0 : static_cast<int>(along * (Width() - slider_->Width()) / span);
        return {x, y};
    }
    const int x = std::max(Width() - slider_->Width(), 0) / 2;
    const int y = span == 0 ? 0 : static_cast<int>(along * (Height() - slider_->Height()) / span);
    return {x, y};
}

int TkivTrackBar::ValueAtPoint(int X, int Y) const
{
    const int size = Horizontal() ? slider_->Width() : slider_->Height();
    const int length = Horizontal() ? Width() : Height();
    const int at = Horizontal() ? X : Y;
    if (size == length) return min_;
    const std::int64_t q =
        DivideHalfEven((std::int64_t{at} - size / 2) * (std::int64_t{max_} - min_), length - size);
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{min_} + q, INT32_MIN, INT32_MAX));
}

void TkivTrackBar::UpdateSlider()
{
    const TPoint p = SliderPos();
    slider_->SetBounds(p.X, p.Y, slider_->Width(), slider_->Height());
    Invalidate();
    if (position_ == last_position_) return;
    last_change_ = position_ - last_position_;
    last_position_ = position_;
    if (OnChange && !EventsMuted()) OnChange(this);
}

// --- mouse -------------------------------------------------------------------------

void TkivTrackBar::PageTowards(int X, int Y, int pages)
{
    const int at = Horizontal() ? X : Y;
    const int slider = Horizontal() ? slider_->Left() : slider_->Top();
    const int step = pages * page_size_;
    if (at > slider)
        SetPosition(std::min(position_ + step, ValueAtPoint(X, Y)));
    else if (at < slider)
        SetPosition(std::max(position_ - step, ValueAtPoint(X, Y)));
}

void TkivTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    PageTowards(X, Y, 1);
    if (!repeat_timer_) {
        repeat_timer_ = std::make_unique<TTimer>();
        repeat_timer_->SetInterval(kRepeatMs);
        repeat_timer_->OnTimer = [this](TObject*) { RepeatTick(); };
        repeat_timer_->SetEnabled(true);
    }
    if (FocusOnClick() && CanFocus()) SetFocus();
}

void TkivTrackBar::RepeatTick()
{
    const TPoint p = ScreenToClient(ui::CurrentBackend().CursorPos());
    // Horizontal bars page three times as fast while held.
    PageTowards(p.X, p.Y, Horizontal() ? 3 : 1);
}

void TkivTrackBar::StopPaging()
{
    if (!repeat_timer_) return;
    // The timer may be the caller (a tick that ends the press): let it go
    // after its handler has returned.
    repeat_timer_->SetEnabled(false);
    repeat_timer_.reset();
}

void TkivTrackBar::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (!dragging_) {
        if (X < 0 || Y < 0 || X > Width() || Y > Height()) StopPaging();
        return;
    }
    const int v = std::clamp(ValueAtPoint(X, Y), min_, max_);
    position_ = v;
    const TPoint p = SliderPos();
    slider_->SetBounds(p.X, p.Y, slider_->Width(), slider_->Height());
    Invalidate();
    if (position_ != last_position_) {
        last_change_ = position_ - last_position_;
        last_position_ = position_;
        if (OnChange && !EventsMuted()) OnChange(this);
    }
}

void TkivTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    StopPaging();
    dragging_ = false;
    SetMouseCapture(false);
}

void TkivTrackBar::CancelMode()
{
    // The press was taken away (a modal form, say): stop what it started.
    StopPaging();
    dragging_ = false;
}

void TkivTrackBar::SliderMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        drag_offset_ = Horizontal() ? X : Y;
        dragging_ = true;
        if (FocusOnClick() && CanFocus()) SetFocus();
        SetMouseCapture(true);
    }
    if (OnMouseDown && !EventsMuted())
        OnMouseDown(this, Button, Shift, X + slider_->Left(), Y + slider_->Top());
}

void TkivTrackBar::SliderMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    dragging_ = false;
    if (OnMouseUp && !EventsMuted()) OnMouseUp(this, Button, Shift, X + slider_->Left(), Y + slider_->Top());
}

// --- keys and focus ------------------------------------------------------------

void TkivTrackBar::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    switch (Key) {
    case VK_PRIOR: SetPosition(position_ - page_size_); break;
    case VK_NEXT: SetPosition(position_ + page_size_); break;
    case VK_END: SetPosition(max_); break;
    case VK_HOME: SetPosition(min_); break;
    case VK_LEFT:
    case VK_UP: SetPosition(position_ - line_size_); break;
    case VK_RIGHT:
    case VK_DOWN: SetPosition(position_ + line_size_); break;
    default: return;
    }
    Key = 0;
}

void TkivTrackBar::FocusChanged(TControl* NewFocus)
{
    TCustomControl::FocusChanged(NewFocus);
    Invalidate();
}

// --- painting ----------------------------------------------------------------------

void TkivTrackBar::PaintTicks(TCanvas& canvas) const
{
    if (min_ == max_) return;
    const std::int64_t span = std::int64_t{max_} - min_;
    const int size = Horizontal() ? slider_->Width() : slider_->Height();
    const int travel = (Horizontal() ? Width() : Height()) - size;
    auto line = [&](int p) {
        if (Horizontal()) {
            canvas.MoveTo(p, Height() - 3);
            canvas.LineTo(p, Height());
        } else {
            canvas.MoveTo(0, p);
            canvas.LineTo(3, p);
            canvas.MoveTo(Width() - 3, p);
            canvas.LineTo(Width(), p);
        }
    };
    auto pixel = [&](std::int64_t at) {
        return static_cast<int>(std::int64_t{travel} * at / span) + size / 2;
    };
    // Min, every Frequency-th value after it, and Max.
    const std::int64_t step = frequency_ > 0 ? frequency_ : span;
    if (travel <= 0) {
        line(pixel(0));  // every value stands at the same place
    } else if (step * travel <= span) {
        // Ticks at most a pixel apart cover every pixel from Min to the
        // last one: draw the pixels, not the (maybe millions of) values.
        const int to = pixel((span / step) * step);
        for (int p = pixel(0); p <= to; ++p) line(p);
    } else {
        for (std::int64_t at = 0; at < span; at += step) line(pixel(at));
    }
    line(pixel(span));
}

void TkivTrackBar::Paint(TCanvas& Canvas)
{
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0) return;
    TBitmap off(w, h, Color());
    TCanvas& c = off.Canvas();
    if (transparent_) skin::DrawParentBackground(c, *this);
    // The buffer keeps the bar's magenta left out: copy it masked when the
    // parent shows through, else as it is (it was laid on Color).
    const int thickness = bar_image_.Height();
    if (!bar_buffer_.Empty()) {
        const TPoint at = Horizontal() ? TPoint{0, (h - thickness) / 2} : TPoint{(w - thickness) / 2, 0};
        c.Draw(at.X, at.Y, bar_buffer_);
    }
    if (Focused() && TabStop()) c.DrawFocusRect({0, 0, w, h});
    if (show_tick_) PaintTicks(c);
    Canvas.Draw(0, 0, off);
}

// --- scroll track --------------------------------------------------------------

TkivScrollTrackBar::TkivScrollTrackBar(TComponent* AOwner) : TkivTrackBar(AOwner)
{
    SetTabStop(false);
    Slider()->SetTabStop(false);
    Slider()->SetControlStyle(ControlStyle());
    // The owner supplies the pictures; drop what the base built.
    SetSliderImage(TBitmap());
    Slider()->SetSliderTransparent(false);
    SetBarImage(TBitmap());
}

bool TkivScrollTrackBar::SliderVisible() const { return Slider()->Visible(); }

void TkivScrollTrackBar::SetSliderVisible(bool on)
{
    if (on == Slider()->Visible()) return;
    Slider()->SetVisible(on);
}

void TkivScrollTrackBar::RefitSlider()
{
    Slider()->Refit();
    FitThickness();
    UpdateSlider();
}
