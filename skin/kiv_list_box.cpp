#include "skin/kiv_list_box.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_public.h"
#include "skin/kiv_scroll_bar.h"

namespace {

constexpr int kSkinControlBorderColour = 22;
constexpr int kBuiltInBorder = 25;
constexpr int kMaxItemHeight = 255;

}  // namespace

TkivListBox::TkivListBox(TComponent* AOwner) : TListBox(AOwner)
{
    SetControlStyle(ControlStyle() | csOpaque);
    SetStyle(lbOwnerDrawFixed);
    // Adding, inserting and deleting items keeps the bound bar current.
    Items().OnChange = [this, inherited = Items().OnChange](TObject* Sender) {
        if (inherited) inherited(Sender);
        SyncScrollBars();
    };
    OnScroll = [this](TObject*) { SyncScrollBars(); };
    SetUIStyle(skin::GetOwnerUIStyle(AOwner));
}

TkivListBox::~TkivListBox()
{
    vbar_.Release();
    if (file_theme_) file_theme_->RemoveFreeNotification(this);
}

void TkivListBox::SetBorderColor(TColor colour)
{
    border_color_ = colour;
    Invalidate();
}

void TkivListBox::SetAlignment(TAlignment alignment)
{
    if (alignment == alignment_) return;
    alignment_ = alignment;
    Invalidate();
}

void TkivListBox::SetSelectedColor(TColor colour)
{
    if (colour == selected_color_) return;
    selected_color_ = colour;
    Invalidate();
}

void TkivListBox::SetSelectedTextColor(TColor colour)
{
    if (colour == selected_text_color_) return;
    selected_text_color_ = colour;
    Invalidate();
}

void TkivListBox::SetDisabledTextColor(TColor colour)
{
    if (colour == disabled_text_color_) return;
    disabled_text_color_ = colour;
    Invalidate();
}

void TkivListBox::SetShowFocusRect(bool on)
{
    if (on == show_focus_rect_) return;
    show_focus_rect_ = on;
    if (Focused()) Invalidate();
}

void TkivListBox::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    TkivUIStyle effective;
    const bool skinned = TkivFileTheme::UsingFileTheme(file_theme_, style, effective);
    border_color_ =
        skin::StyleColour(skinned, file_theme_, kSkinControlBorderColour, effective, kBuiltInBorder);
    vbar_.SetStyle(effective);
    Invalidate();
}

void TkivListBox::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    vbar_.SetTheme(file_theme_);
    SetUIStyle(ui_style_);
}

void TkivListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TListBox::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || !AComponent) return;
    if (AComponent == vbar_.Bar()) vbar_.Forget();
    if (AComponent == file_theme_) {
        file_theme_ = nullptr;
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
}

void TkivListBox::SetVScrollBar(TkivScrollBar* bar)
{
    if (!vbar_.Bind(bar) || !bar) return;
    TkivUIStyle effective;
    TkivFileTheme::UsingFileTheme(file_theme_, ui_style_, effective);
    vbar_.SetTheme(file_theme_);
    vbar_.SetStyle(effective);
    PlaceScrollBars();
}

void TkivListBox::PlaceScrollBars()
{
    TkivScrollBar* v = vbar_.Bar();
    if (!v) return;
    const int L = Left(), T = Top(), W = Width(), H = Height();
    const int w = v->Width();
    const int left = W < w ? L : skin::UseRightToLeftLayout(*this) ? L + 2 : L + W - w - 2;
    v->SetBounds(left, T + 1, w, std::max(0, H - 2));
    SyncScrollBars();
}

void TkivListBox::SyncScrollBars()
{
    vbar_.Mirror(VertScrollInfo(), Enabled(), Visible(), skin::UnusableBar::Hide);
}

void TkivListBox::BarMoved()
{
    vbar_.TakeChange();
    SetTopIndex(vbar_.Bar()->Position());
    SyncScrollBars();
}

void TkivListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TListBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    PlaceScrollBars();
}

intptr_t TkivListBox::Perform(unsigned Msg, intptr_t WParam, intptr_t LParam)
{
    const intptr_t result = TListBox::Perform(Msg, WParam, LParam);
    if (Msg == WM_HSCROLL || Msg == WM_VSCROLL) SyncScrollBars();
    return result;
}

void TkivListBox::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TListBox::KeyDown(Key, Shift);
    SyncScrollBars();
}

void TkivListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TListBox::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    left_button_down_ = true;
    SyncScrollBars();
}

void TkivListBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TListBox::MouseMove(Shift, X, Y);
    if (left_button_down_) SyncScrollBars();
}

void TkivListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TListBox::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft) left_button_down_ = false;
}

bool TkivListBox::MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    const bool handled = TListBox::MouseWheel(Shift, WheelDelta, MousePos);
    SyncScrollBars();
    return handled;
}

void TkivListBox::EnabledChanged()
{
    TListBox::EnabledChanged();
    SyncScrollBars();
}

void TkivListBox::BiDiModeChanged()
{
    TListBox::BiDiModeChanged();
    PlaceScrollBars();
}

void TkivListBox::VisibleChanged()
{
    TListBox::VisibleChanged();
    if (Visible())
        PlaceScrollBars();
    else if (vbar_.Bar())
        vbar_.Bar()->SetVisible(false);
}

unsigned TkivListBox::TextFlags() const
{
    TAlignment alignment = alignment_;
    // Under right-to-left layout left and right trade places.
    if (skin::UseRightToLeftLayout(*this) && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    const unsigned side = alignment == taRightJustify ? DT_RIGHT
                          : alignment == taCenter     ? DT_CENTER
                                                      : DT_LEFT;
    return side | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
}

int TkivListBox::CalcItemHeight(const std::string& text, int width) const
{
    TBitmap scratch(1, 1);
    TCanvas& canvas = scratch.Canvas();
    canvas.Font().Assign(Font());
    // Nothing to lay out in: one line of the text.
    if (width <= 0) return std::min(canvas.TextHeight(text), kMaxItemHeight);
    TRect r{0, 0, width - 2, 1};
    canvas.DrawText(text, r, TextFlags() | DT_CALCRECT);
    return std::min(r.Bottom, kMaxItemHeight);
}

void TkivListBox::MeasureItem(int index, int& height)
{
    if (OnMeasureItem) {
        OnMeasureItem(this, index, height);
        return;
    }
    if (index < 0 || index >= Count()) return;
    height = CalcItemHeight(Items()[index], ClientWidth());
}

void TkivListBox::DrawItem(TCanvas& canvas, int index, TRect rect, TOwnerDrawState state)
{
    canvas.Font().Assign(Font());
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    if (index >= 0) {
        if (state & odSelected) {
            canvas.Brush().SetColor(selected_color_);
            canvas.Font().SetColor(selected_text_color_);
        }
        if ((state & odDisabled) || !Enabled()) canvas.Font().SetColor(disabled_text_color_);
    }
    if (OnDrawItem) {
        TListBox::DrawItem(canvas, index, rect, state);
        return;
    }
    DrawItemDefault(canvas, index, rect, state);
    if (show_focus_rect_ && (state & odFocused)) canvas.DrawFocusRect(rect);
}

void TkivListBox::DrawItemDefault(TCanvas& canvas, int index, TRect rect, TOwnerDrawState)
{
    canvas.FillRect(rect);
    if (index < 0 || index >= Count()) return;
    const unsigned flags = TextFlags();
    TRect text = rect;
    if (flags & DT_RIGHT)
        text.Right -= 2;
    else
        text.Left += 2;
    canvas.Brush().SetStyle(bsClear);
    canvas.DrawText(Items()[index], text, flags);
}

void TkivListBox::Paint(TCanvas& Canvas)
{
    TListBox::Paint(Canvas);
    // An empty list with the focus shows where the first item would be.
    if (Count() == 0 && Focused()) {
        const TRect r = ItemRect(0);
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(Color());
        Canvas.FillRect(r);
        Canvas.DrawFocusRect(r);
    }
}

void TkivListBox::PaintNonClient(TCanvas& Canvas)
{
    if (BorderStyle() == bsSingle) skin::DrawControlBorder(Canvas, *this, border_color_, Color(), true);
}
