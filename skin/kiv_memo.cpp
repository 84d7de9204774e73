#include "skin/kiv_memo.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_public.h"
#include "skin/kiv_scroll_bar.h"

namespace {

constexpr int kSkinControlBorderColour = 22;
constexpr int kBuiltInBorder = 25;

}  // namespace

TkivMemo::TkivMemo(TComponent* AOwner) : TMemo(AOwner)
{
    // Typing, pasting or setting the text changes its extent at any moment.
    Lines().OnChange = [this, inherited = Lines().OnChange](TObject* Sender) {
        if (inherited) inherited(Sender);
        SyncScrollBars();
    };
    OnScroll = [this](TObject*) {
        if (!scrolling_from_bar_) SyncScrollBars();
    };
    SetUIStyle(skin::GetOwnerUIStyle(AOwner));
}

TkivMemo::~TkivMemo()
{
    vbar_.Release();
    hbar_.Release();
    if (file_theme_) file_theme_->RemoveFreeNotification(this);
}

void TkivMemo::SetBorderColor(TColor colour)
{
    border_color_ = colour;
    Invalidate();
}

void TkivMemo::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    TkivUIStyle effective;
    const bool skinned = TkivFileTheme::UsingFileTheme(file_theme_, style, effective);
    border_color_ =
        skin::StyleColour(skinned, file_theme_, kSkinControlBorderColour, effective, kBuiltInBorder);
    vbar_.SetStyle(effective);
    hbar_.SetStyle(effective);
    Invalidate();
}

void TkivMemo::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    vbar_.SetTheme(file_theme_);
    hbar_.SetTheme(file_theme_);
    SetUIStyle(ui_style_);
}

void TkivMemo::Notification(TComponent* AComponent, TOperation Operation)
{
    TMemo::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || !AComponent) return;
    bool unbound = false;
    if (AComponent == vbar_.Bar()) {
        vbar_.Forget();
        unbound = true;
    }
    if (AComponent == hbar_.Bar()) {
        hbar_.Forget();
        unbound = true;
    }
    if (unbound) UpdateNativeScrollBars();
    if (AComponent == file_theme_) {
        file_theme_ = nullptr;
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
}

void TkivMemo::BindBar(skin::BoundScrollBar& slot, TkivScrollBar* bar)
{
    if (!slot.Bind(bar)) return;
    UpdateNativeScrollBars();
    if (!bar) return;
    TkivUIStyle effective;
    TkivFileTheme::UsingFileTheme(file_theme_, ui_style_, effective);
    slot.SetTheme(file_theme_);
    slot.SetStyle(effective);
    PlaceScrollBars();
}

void TkivMemo::SetVScrollBar(TkivScrollBar* bar) { BindBar(vbar_, bar); }
void TkivMemo::SetHScrollBar(TkivScrollBar* bar) { BindBar(hbar_, bar); }

void TkivMemo::UpdateNativeScrollBars()
{
    const bool v = vbar_.Bar() != nullptr, h = hbar_.Bar() != nullptr;
    SetScrollBars(v && h ? ssBoth : v ? ssVertical : h ? ssHorizontal : ssNone);
}

void TkivMemo::PlaceScrollBars()
{
    TkivScrollBar* v = vbar_.Bar();
    TkivScrollBar* h = hbar_.Bar();
    const bool rtl = skin::UseRightToLeftLayout(*this);
    const int L = Left(), T = Top(), W = Width(), H = Height();
    if (h) {
        const int hh = h->Height();
        h->SetVisible(Visible() && H >= hh);
        int left = L + 1, width = v ? W - v->Width() - 1 : W - 1;
        if (rtl) {
            left = v ? L + v->Width() + 1 : L + 1;
            width = v ? W - v->Width() - 2 : W - 2;
        }
        h->SetBounds(left, T + H - hh - 2, std::max(0, width), hh);
    }
    if (v) {
        const int w = v->Width();
        v->SetVisible(Visible() && W >= w);
        const int height = h ? H - h->Height() - 2 : H - 2;
        v->SetBounds(rtl ? L + 2 : L + W - w - 2, T + 1, w, std::max(0, height));
    }
    SyncScrollBars();
}

void TkivMemo::SyncScrollBars()
{
    if (scrolling_from_bar_) return;
    hbar_.Mirror(HorzScrollInfo(), Enabled(), Visible(), skin::UnusableBar::Disable);
    vbar_.Mirror(VertScrollInfo(), Enabled(), Visible(), skin::UnusableBar::Disable);
}

void TkivMemo::BarMoved(bool vertical)
{
    skin::BoundScrollBar& slot = vertical ? vbar_ : hbar_;
    slot.TakeChange();
    const int position = slot.Bar()->Position();
    scrolling_from_bar_ = true;
    if (vertical)
        SetTopRow(position);
    else
        Perform(WM_HSCROLL, MakeScrollWParam(SB_THUMBPOSITION, position));
    Invalidate();
    scrolling_from_bar_ = false;
}

void TkivMemo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TMemo::SetBounds(ALeft, ATop, AWidth, AHeight);
    PlaceScrollBars();
}

intptr_t TkivMemo::Perform(unsigned Msg, intptr_t WParam, intptr_t LParam)
{
    const intptr_t result = TMemo::Perform(Msg, WParam, LParam);
    if (Msg == WM_HSCROLL || Msg == WM_VSCROLL) SyncScrollBars();
    return result;
}

void TkivMemo::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TMemo::KeyDown(Key, Shift);
    SyncScrollBars();
}

void TkivMemo::KeyPress(char32_t& Key)
{
    TMemo::KeyPress(Key);
    SyncScrollBars();
}

void TkivMemo::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TMemo::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    left_button_down_ = true;
    SyncScrollBars();
}

void TkivMemo::MouseMove(TShiftState Shift, int X, int Y)
{
    TMemo::MouseMove(Shift, X, Y);
    if (left_button_down_) SyncScrollBars();
}

void TkivMemo::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TMemo::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft) left_button_down_ = false;
}

bool TkivMemo::MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    const bool handled = TMemo::MouseWheel(Shift, WheelDelta, MousePos);
    SyncScrollBars();
    return handled;
}

void TkivMemo::EnabledChanged()
{
    TMemo::EnabledChanged();
    SyncScrollBars();
}

void TkivMemo::VisibleChanged()
{
    TMemo::VisibleChanged();
    if (Visible()) {
        PlaceScrollBars();
        return;
    }
    if (vbar_.Bar()) vbar_.Bar()->SetVisible(false);
    if (hbar_.Bar()) hbar_.Bar()->SetVisible(false);
}

void TkivMemo::PaintNonClient(TCanvas& Canvas)
{
    // The memo's own bars, then the flat frame over its sunken edge.
    TMemo::PaintNonClient(Canvas);
    if (BorderStyle() == bsSingle) skin::DrawControlBorder(Canvas, *this, border_color_, Color(), true);
}
