#include "platform/ui/label.h"

#include "platform/gfx/canvas.h"

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
}

void TLabel::SetAutoSize(bool on)
{
    auto_size_ = on;
    AdjustBounds();
}
void TLabel::SetWordWrap(bool on)
{
    word_wrap_ = on;
    AdjustBounds();
    Invalidate();
}
void TLabel::SetAlignment(TAlignment a)
{
    alignment_ = a;
    Invalidate();
}
void TLabel::SetLayout(TTextLayout l)
{
    layout_ = l;
    Invalidate();
}
void TLabel::SetTransparent(bool on)
{
    transparent_ = on;
    Invalidate();
}
void TLabel::SetShowAccelChar(bool on)
{
    show_accel_ = on;
    AdjustBounds();
    Invalidate();
}
void TLabel::SetFocusControl(TControl* control)
{
    focus_control_ = control;
    if (control) control->FreeNotification(this);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == focus_control_) focus_control_ = nullptr;
}

unsigned TLabel::TextFlags() const
{
    unsigned flags = DT_EXPANDTABS;
    if (word_wrap_) flags |= DT_WORDBREAK;
    if (!show_accel_) flags |= DT_NOPREFIX;
    if (alignment_ == taCenter) flags |= DT_CENTER;
    if (alignment_ == taRightJustify) flags |= DT_RIGHT;
    return flags;
}

void TLabel::AdjustBounds()
{
    if (!auto_size_) return;
    TBitmap scratch(1, 1);
    TCanvas& c = scratch.Canvas();
    c.Font().Assign(Font());
    std::string text = Caption().empty() ? " " : Caption();
    TRect r{0, 0, word_wrap_ ? Width() : 0, 0};
    c.DrawText(text, r, TextFlags() | DT_CALCRECT);
    int w = word_wrap_ ? Width() : r.Width();
    int left = Left();
    // A right-aligned label keeps its right edge, a centred one its middle.
    if (!word_wrap_ && alignment_ == taRightJustify) left = Left() + Width() - w;
    if (!word_wrap_ && alignment_ == taCenter) left = Left() + (Width() - w) / 2;
    SetBounds(left, Top(), w, r.Height());
}

void TLabel::Paint(TCanvas& canvas)
{
    TRect r = ClientRect();
    if (!transparent_) {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(r);
    }
    canvas.Brush().SetStyle(bsClear);
    if (!EffectivelyEnabled()) canvas.Font().SetColor(clGrayText);
    unsigned flags = TextFlags();
    if (layout_ != tlTop) {
        TRect measure = r;
        canvas.DrawText(Caption(), measure, flags | DT_CALCRECT);
        int h = measure.Height();
        int offset = layout_ == tlCenter ? (r.Height() - h) / 2 : r.Height() - h;
        r.Top += offset;
    }
    canvas.DrawText(Caption(), r, flags);
}

bool TLabel::DialogChar(char32_t Key, TShiftState)
{
    if (!show_accel_ || !focus_control_ || !IsAccel(Key, Caption())) return false;
    if (!focus_control_->CanFocus()) return false;
    focus_control_->SetFocus();
    return true;
}
