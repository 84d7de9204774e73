#include "skin/kiv_list_view.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "platform/gfx/canvas.h"
#include "platform/ui/utf8.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_public.h"
#include "skin/kiv_scroll_bar.h"

namespace skin {

std::string FitTextWithEllipsis(const TCanvas& canvas, const std::string& text, int width)
{
    if (canvas.TextWidth(text) <= width) return text;
    size_t end = 0;
    for (;;) {
        end = ui::utf8::Next(text, end);
        if (end >= text.size()) return text;
        std::string candidate = text.substr(0, end) + "...";
        if (canvas.TextWidth(candidate) >= width) return candidate;
    }
}

}  // namespace skin

namespace {

// Skin colours and built-in table positions of the list view's look.
constexpr int kSkinFormColour = 2;
constexpr int kSkinControlBorderColour = 22;
constexpr int kSkinControlFontColour = 23;
constexpr int kBuiltInBorder = 25;
constexpr int kBuiltInHeaderFont = 27;
constexpr int kBuiltInHeader = 15;

}  // namespace

TkivListView::TkivListView(TComponent* AOwner) : TListView(AOwner)
{
    SetControlStyle(ControlStyle() | csOpaque);
    // Programmatic scrolls (MakeVisible) move the bound bars too.
    OnScroll = [this](TObject*) {
        if (!scrolling_from_bar_) SyncScrollBars();
    };
    SetUIStyle(skin::GetOwnerUIStyle(AOwner));
}

TkivListView::~TkivListView()
{
    vbar_.Release();
    hbar_.Release();
    if (file_theme_) file_theme_->RemoveFreeNotification(this);
}

void TkivListView::SetBorderColor(TColor colour)
{
    border_color_ = colour;
    Invalidate();
}

void TkivListView::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    TkivUIStyle effective;
    const bool skinned = TkivFileTheme::UsingFileTheme(file_theme_, style, effective);
    border_color_ =
        skin::StyleColour(skinned, file_theme_, kSkinControlBorderColour, effective, kBuiltInBorder);
    header_font_color_ =
        skin::StyleColour(skinned, file_theme_, kSkinControlFontColour, effective, kBuiltInHeaderFont);
    header_color_ = skin::StyleColour(skinned, file_theme_, kSkinFormColour, effective, kBuiltInHeader);
    vbar_.SetStyle(effective);
    hbar_.SetStyle(effective);
    Invalidate();
}

void TkivListView::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    SetUIStyle(ui_style_);
}

void TkivListView::Notification(TComponent* AComponent, TOperation Operation)
{
    TListView::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || !AComponent) return;
    if (AComponent == vbar_.Bar()) vbar_.Forget();
    if (AComponent == hbar_.Bar()) hbar_.Forget();
    if (AComponent == file_theme_) {
        file_theme_ = nullptr;
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
}

void TkivListView::BindBar(skin::BoundScrollBar& slot, TkivScrollBar* bar)
{
    if (!slot.Bind(bar) || !bar) return;
    bar->SetSmallChange(5);
    TkivUIStyle effective;
    TkivFileTheme::UsingFileTheme(file_theme_, ui_style_, effective);
    slot.SetStyle(effective);
    PlaceScrollBars();
}

void TkivListView::SetVScrollBar(TkivScrollBar* bar) { BindBar(vbar_, bar); }
void TkivListView::SetHScrollBar(TkivScrollBar* bar) { BindBar(hbar_, bar); }

void TkivListView::PlaceScrollBars()
{
    if (Loading() || placing_) return;
    TkivScrollBar* v = vbar_.Bar();
    TkivScrollBar* h = hbar_.Bar();
    placing_ = true;
    const bool rtl = skin::UseRightToLeftLayout(*this);
    const int L = Left(), T = Top(), W = Width(), H = Height();
    if (h) {
        const int hh = h->Height();
        if (H < hh) {
            h->SetTop(T);
        } else {
            const int left = rtl && v ? L + v->Width() + 1 : L + 1;
            const bool room_for_v = v && (rtl || v->Visible());
            h->SetBounds(left, T + H - hh - 2, std::max(0, room_for_v ? W - v->Width() - 2 : W - 2), hh);
        }
    }
    if (v) {
        const int w = v->Width();
        if (W < w) {
            v->SetLeft(L);
        } else {
            const int height = h && h->Visible() ? H - h->Height() - 2 : H - 2;
            v->SetBounds(rtl ? L + 2 : L + W - w - 2, T + 1, w, std::max(0, height));
        }
    }
    placing_ = false;
    SyncScrollBars();
}

void TkivListView::SyncScrollBars()
{
    if (Loading()) return;
    TkivScrollBar* v = vbar_.Bar();
    TkivScrollBar* h = hbar_.Bar();
    if (!v && !h) return;
    const bool v_shown = v && v->Visible(), h_shown = h && h->Visible();
    vbar_.Mirror(VertScrollInfo(), Enabled(), Visible(), skin::UnusableBar::Hide);
    hbar_.Mirror(HorzScrollInfo(), Enabled(), Visible(), skin::UnusableBar::Hide);
    // A bar that came or went changes the room the other one has.
    if (!placing_ && ((v && v->Visible() != v_shown) || (h && h->Visible() != h_shown))) PlaceScrollBars();
}

void TkivListView::BarMoved(bool vertical)
{
    const int change = (vertical ? vbar_ : hbar_).TakeChange();
    if (change == 0) return;
    if (!vertical) {
        scrolling_from_bar_ = true;
        Scroll(change, 0);
        scrolling_from_bar_ = false;
        return;
    }
    // The list's own vertical bar counts rows whatever the view style.
    if (ViewStyle() != vsReport) {
        Scroll(0, change * RowHeight());
        return;
    }
    const int code = change > 0 ? SB_LINEDOWN : SB_LINEUP;
    for (int i = 0; i < std::abs(change); ++i) Perform(WM_VSCROLL, MakeScrollWParam(code, 0));
    Invalidate();
}

void TkivListView::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TListView::SetBounds(ALeft, ATop, AWidth, AHeight);
    PlaceScrollBars();
}

intptr_t TkivListView::Perform(unsigned Msg, intptr_t WParam, intptr_t LParam)
{
    const intptr_t result = TListView::Perform(Msg, WParam, LParam);
    if (Msg == WM_HSCROLL || Msg == WM_VSCROLL) SyncScrollBars();
    if (Msg == skin::kWmSetRedraw && (WParam & 0xFF) != 0 && Items().Count() == 0) AlphaSort();
    return result;
}

void TkivListView::ItemsChanged()
{
    TListView::ItemsChanged();
    SyncScrollBars();
}

void TkivListView::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TListView::KeyDown(Key, Shift);
    SyncScrollBars();
}

void TkivListView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TListView::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    left_button_down_ = true;
    SyncScrollBars();
}

void TkivListView::MouseMove(TShiftState Shift, int X, int Y)
{
    TListView::MouseMove(Shift, X, Y);
    if (left_button_down_) SyncScrollBars();
}

void TkivListView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TListView::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft) left_button_down_ = false;
}

bool TkivListView::MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    const bool handled = TListView::MouseWheel(Shift, WheelDelta, MousePos);
    SyncScrollBars();
    return handled;
}

void TkivListView::EnabledChanged()
{
    TListView::EnabledChanged();
    SyncScrollBars();
}

void TkivListView::BiDiModeChanged()
{
    TListView::BiDiModeChanged();
    PlaceScrollBars();
}

void TkivListView::VisibleChanged()
{
    TListView::VisibleChanged();
    if (Visible()) {
        PlaceScrollBars();
        return;
    }
    if (vbar_.Bar()) vbar_.Bar()->SetVisible(false);
    if (hbar_.Bar()) hbar_.Bar()->SetVisible(false);
}

void TkivListView::PaintNonClient(TCanvas& Canvas)
{
    if (BorderStyle() == bsSingle) skin::DrawControlBorder(Canvas, *this, border_color_, Color(), true);
}

void TkivListView::Paint(TCanvas& Canvas)
{
    TListView::Paint(Canvas);
    PaintHeader(Canvas);
}

void TkivListView::PaintHeader(TCanvas& Canvas)
{
    const int height = HeaderHeight();
    if (height <= 0) return;
    // The header spans the client width; the list's own vertical bar starts below it.
    const int right_edge = ClientWidth();
    TCanvasStateSaver saver(Canvas);
    Canvas.IntersectClipRect({0, 0, right_edge, height});
    Canvas.Font().Assign(Font());
    Canvas.Font().SetColor(header_font_color_);
    Canvas.Pen().SetColor(border_color_);
    const int header_left = -ScrollX();
    int x0 = header_left;
    int previous_separator = INT_MIN;
    for (int c = 0; c < Columns().Count(); ++c) {
        const TListColumn* column = Columns()[c];
        const TRect r{x0, 0, x0 + column->Width(), height};
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(header_color_);
        Canvas.FillRect(r);
        Canvas.Brush().SetStyle(bsClear);

        const std::string& caption = column->Caption();
        const int w = r.Width() - 6;
        const int text_width = Canvas.TextWidth(caption);
        int x = r.Left + 4;
        if (column->Alignment() == taRightJustify)
            x = r.Left + std::max(4, w - text_width - 2);
        else if (column->Alignment() == taCenter)
            x = r.Left + std::max(4, (w - text_width - 2) / 2);
        const std::string shown = skin::FitTextWithEllipsis(Canvas, caption, r.Right - x - 2);
        TRect text_rect{x, r.Top, r.Right - 2, r.Bottom};
        if (text_rect.Right > text_rect.Left) {
            TCanvasStateSaver clip(Canvas);
            Canvas.IntersectClipRect(text_rect);
            Canvas.DrawText(shown, text_rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }

        // Column separator; a zero-width column shows as a double line.
        Canvas.MoveTo(r.Right - 1, r.Top);
        Canvas.LineTo(r.Right - 1, r.Bottom);
        if (previous_separator == r.Right - 1) {
            Canvas.MoveTo(r.Right - 2, r.Top);
            Canvas.LineTo(r.Right - 2, r.Bottom);
        }
        previous_separator = r.Right - 1;
        x0 = r.Right;
    }
    if (x0 < right_edge) {
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(header_color_);
        Canvas.FillRect({std::max(x0, 0), 0, right_edge, height});
    }
    Canvas.MoveTo(header_left, height - 1);
    Canvas.LineTo(x0, height - 1);
}
