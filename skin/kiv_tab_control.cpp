#include "skin/kiv_tab_control.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "platform/gfx/canvas.h"
#include "platform/ui/image_list.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_public.h"
#include "skin/kiv_skin_keys.h"

namespace {

// A skin record's getter index within its group (colours, bitmaps).
std::uint8_t SkinIndex(std::string_view name)
{
    for (int i = 0; i < skin::kSkinKeyCount; ++i)
        if (skin::kSkinKeys[i] == name)
            return static_cast<std::uint8_t>(i >= skin::kFirstBitmapKey ? i - skin::kFirstBitmapKey : i);
    return 0x7F;
}

// A colour of the skin; one it lacks (-1) is `fallback`, never white.
TColor SkinColour(const TkivFileTheme& theme, std::string_view name, TColor fallback)
{
    const std::int32_t colour = theme.GetColor(SkinIndex(name));
    return colour >= 0 ? static_cast<TColor>(colour) : fallback;
}

// Whether a tab picture is see-through, and where its key corner is.
bool PictureTransparent(const TBitmap& picture, bool& cornerFromTop)
{
    cornerFromTop = true;
    if (picture.Empty()) return false;
    if (gfx::ColorRGB(picture.Pixel(0, 0)) == clMagenta) return true;
    if (gfx::ColorRGB(picture.Pixel(0, picture.Height() - 1)) == clMagenta) {
        cornerFromTop = false;
        return true;
    }
    return false;
}

// A vertical line from y0 to y1, both included.
void VLine(TCanvas& canvas, int x, int y0, int y1)
{
    if (y1 < y0) return;
    canvas.MoveTo(x, y0);
    canvas.LineTo(x, y1 + 1);
}

}  // namespace

// --- the strip ----------------------------------------------------------------------------

TkivTabControlTopPanel::TkivTabControlTopPanel(TComponent* AOwner, TkivTab* tabControl)
    : TCustomControl(AOwner), tab_control_(tabControl)
{
    SetControlStyle(ControlStyle() & ~csAcceptsControls);
    SetFocusable(false);
    tabs_.Add("Tab1");
    tabs_.OnChange = [this](TObject*) { Refresh(); };
    SetCaption(" ");
}

bool TkivTabControlTopPanel::TabShown(int index) const
{
    return index < 0 || index >= static_cast<int>(tab_shown_.size()) || tab_shown_[index];
}

void TkivTabControlTopPanel::SetTabShown(int index, bool shown)
{
    if (index < 0) return;
    if (index >= static_cast<int>(tab_shown_.size())) tab_shown_.resize(index + 1, true);
    tab_shown_[index] = shown;
    Refresh();
}

int TkivTabControlTopPanel::TabWidth(int index) const
{
    return index >= 0 && index < static_cast<int>(tab_widths_.size()) ? tab_widths_[index] : -1;
}

void TkivTabControlTopPanel::SetTabWidth(int index, int width)
{
    if (index >= static_cast<int>(tab_widths_.size())) tab_widths_.resize(index + 1, -1);
    tab_widths_[index] = width;
}

void TkivTabControlTopPanel::SetTabIndex(int value)
{
    if (value == tab_index_) return;
    if (tabs_.Count() == 0) {
        tab_index_ = -1;
        Refresh();
        return;
    }
    if (value < -1 || value >= tabs_.Count()) {
        Refresh();
        return;
    }
    // Only the user's choice may be refused; changes by code always go through.
    if (user_click_ && tab_control_ && tab_control_->OnChanging && !tab_control_->EventsMuted()) {
        bool allow = true;
        tab_control_->OnChanging(tab_control_, allow);
        if (!allow) return;
    }
    tab_index_ = value;
    const bool keep = keep_active_visible_;
    keep_active_visible_ = true;
    Refresh();
    keep_active_visible_ = keep;
    if (tab_control_) tab_control_->TabActivated(tab_index_);
    Refresh();
}

void TkivTabControlTopPanel::SetLeftMargin(int value)
{
    left_margin_ = value;
    Refresh();
}

void TkivTabControlTopPanel::SetTabPosition(TkivTabPosition position)
{
    if (position == tab_position_) return;
    tab_position_ = position;
    skin::RotateBitmap180(active_picture_);
    skin::RotateBitmap180(inactive_picture_);
    skin::RotateBitmap180(line_picture_);
    Refresh();
}

void TkivTabControlTopPanel::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    SetUIStyle(ui_style_);
}

void TkivTabControlTopPanel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent && AComponent == file_theme_) {
        file_theme_ = nullptr;
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
}

void TkivTabControlTopPanel::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    TkivUIStyle effective;
    active_picture_ = TBitmap();
    inactive_picture_ = TBitmap();
    line_picture_ = TBitmap();
    arrow_strip_ = TBitmap();
    if (TkivFileTheme::UsingFileTheme(file_theme_, style, effective)) {
        file_theme_->GetBitmapCell(SkinIndex("SKIN2_TABCONTROL"), active_picture_, 1, 2);
        file_theme_->GetBitmapCell(SkinIndex("SKIN2_TABCONTROL"), inactive_picture_, 2, 2);
        file_theme_->GetBitmapCell(SkinIndex("SKIN2_TABCONTROLLINE"), line_picture_, 0, 0);
        if (const TBitmap* arrows = file_theme_->GetBitmap(SkinIndex("SKIN2_SCROLLBUTTON")))
            arrow_strip_.Assign(*arrows);
        else
            skin::LoadBuiltInBitmap(TkivUIStyle::DeepBlue, 38, &arrow_strip_);
        active_font_color_ = SkinColour(*file_theme_, "SKIN2_TABCONTROLACTIVEFONTCOLOR", clBlack);
        inactive_font_color_ = SkinColour(*file_theme_, "SKIN2_TABCONTROLINACTIVEFONTCOLOR", clBlack);
    } else {
        skin::GetBuiltInBitmap(effective, 39, &active_picture_, 1, 2);
        skin::GetBuiltInBitmap(effective, 39, &inactive_picture_, 2, 2);
        skin::LoadBuiltInBitmap(effective, 40, &line_picture_);
        skin::LoadBuiltInBitmap(effective, 38, &arrow_strip_);
        active_font_color_ = clBlack;
        inactive_font_color_ = clBlack;
    }
    if (tab_position_ == kivBottom) {
        skin::RotateBitmap180(active_picture_);
        skin::RotateBitmap180(inactive_picture_);
        skin::RotateBitmap180(line_picture_);
    }
    arrow_width_ = arrow_strip_.Width() / 4;
    arrow_height_ = arrow_strip_.Height();
    const int height = active_picture_.Height() + line_picture_.Height();
    if (height != Height()) {
        SetHeight(height);
        if (tab_control_) {
            Reposition();
            tab_control_->Realign();
            tab_control_->Invalidate();
        }
    }
    Refresh();
}

void TkivTabControlTopPanel::Reposition()
{
    if (!tab_control_) return;
    const int top = tab_position_ == kivTop ? 0 : tab_control_->ClientHeight() - Height();
    SetBounds(0, top, tab_control_->ClientWidth(), Height());
}

TRect TkivTabControlTopPanel::ArrowRect(int dx) const
{
    const int H = Height();
    int y;
    if (tab_position_ == kivTop)
        y = arrow_height_ + 4 < H ? (H - arrow_height_) / 2 - 2 : 0;
    else
        y = arrow_height_ + 4 < H ? (H - arrow_height_) / 2 + 2 : H - arrow_height_;
    const int x = Width() - arrow_width_ - 2 - dx;
    return {x, y, x + arrow_width_, y + arrow_height_};
}

TRect TkivTabControlTopPanel::RightArrowRect() const { return ArrowRect(0); }
TRect TkivTabControlTopPanel::LeftArrowRect() const { return ArrowRect(arrow_width_); }

int TkivTabControlTopPanel::DrawTabs(TBitmap& bitmap)
{
    TCanvas& canvas = bitmap.Canvas();
    const int W = bitmap.Width(), H = bitmap.Height();
    const int count = tabs_.Count();
    const int arrowLimit = W - 2 * arrow_width_ - 2;
    const int endLimit = W - 10;
    bool activeFromTop = true, inactiveFromTop = true;
    const bool activeTransparent = PictureTransparent(active_picture_, activeFromTop);
    const bool inactiveTransparent = PictureTransparent(inactive_picture_, inactiveFromTop);
    const int tabH = inactive_picture_.Height();
    const int lineH = line_picture_.Height();
    const TColor border = tab_control_ ? tab_control_->BorderColor() : clBlack;

    const int lineTop = tab_position_ == kivTop ? tabH : 0;
    skin::StretchBitmap(line_picture_, canvas, {1, lineTop, W - 1, lineTop + lineH});
    canvas.Pen().SetColor(border);
    VLine(canvas, 0, lineTop, lineTop + lineH - 1);
    VLine(canvas, W - 1, lineTop, lineTop + lineH - 1);

    canvas.Font().Assign(tab_control_ ? tab_control_->Font() : Font());
    TCustomImageList* images = tab_control_ ? tab_control_->Images() : nullptr;
    int x = left_margin_;
    int lastWhole = count - 1;
    int lastLimit = arrowLimit;
    bool cut = false;
    int shownSeen = 0;
    last_drawn_ = -1;
    for (int i = 0; i < count; ++i) {
        const int limit = i == count - 1 && first_tab_ == 0 ? endLimit : arrowLimit;
        if (i == count - 1) lastLimit = limit;
        if (!TabShown(i)) {
            SetTabWidth(i, 0);
            continue;
        }
        if (cut) break;
        const std::string& caption = tabs_[i];
        int width = caption.empty() ? 80 : canvas.TextWidth(caption) + 20;
        const int image = images ? GetImageIndex(i) : -1;
        if (image >= 0) width += images->Width() + 4;
        width = std::max(width, 15);
        SetTabWidth(i, width);
        if (shownSeen++ < first_tab_) continue;

        const bool active = i == tab_index_;
        TRect r{x, 0, x + width, 0};
        if (tab_position_ == kivTop) {
            r.Top = active ? 1 : 0;
            r.Bottom = r.Top + tabH;
        } else {
            r.Bottom = active ? H - 1 : H;
            r.Top = r.Bottom - tabH;
        }
        bool thisCut = false;
        if (r.Right > limit) {
            r.Right = std::max(x, arrowLimit);
            thisCut = cut = true;
            lastWhole = i - 1;
            // What shows of the cut tab is what a click can hit.
            if (!active) SetTabWidth(i, r.Width());
        }
        last_drawn_ = i;
        const TBitmap& picture = active ? active_picture_ : inactive_picture_;
        skin::DrawThreeSliceBitmap(picture, canvas, r, active ? activeFromTop : inactiveFromTop, Color(),
                                   active ? activeTransparent : inactiveTransparent);
        x += width;
        TRect text = r;
        if (image >= 0) {
            const int top = std::max(r.Top + 1, r.Top + (r.Height() - images->Height()) / 2);
            TCanvasStateSaver saver(canvas);
            canvas.IntersectClipRect(r);
            images->Draw(canvas, r.Left + 8, top, image, Enabled());
            text.Left += images->Width() + 4;
        }
        canvas.Brush().SetStyle(bsClear);
        canvas.Font().SetColor(active ? active_font_color_ : inactive_font_color_);
        unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
        if (thisCut) {
            text.Left += 10;
            text.Right -= 4;
            flags |= DT_LEFT;
        } else {
            flags |= DT_CENTER;
        }
        if (text.Right > text.Left) {
            TCanvasStateSaver saver(canvas);
            canvas.IntersectClipRect(r);
            canvas.DrawText(caption, text, flags);
        }
    }
    arrows_shown_ = (x > lastLimit || cut) && count > 0;
    return lastWhole;
}

int TkivTabControlTopPanel::GetImageIndex(int index) const
{
    TCustomImageList* images = tab_control_ ? tab_control_->Images() : nullptr;
    if (!images) return -1;
    const int image = tab_control_->GetTabImageIndex(index);
    return image >= 0 && image < images->Count() ? image : -1;
}

void TkivTabControlTopPanel::DrawScrollArrows(TBitmap& bitmap)
{
    if (!arrows_shown_ && first_tab_ == 0) return;
    TCanvas& canvas = bitmap.Canvas();
    auto draw = [&](const TRect& r, int cell, int litCell, int hit) {
        const bool lit = skin::CoordInRect(mouse_.X, mouse_.Y, r);
        if (lit) arrow_hit_ = hit;
        TBitmap picture;
        skin::CutBitmapCell(arrow_strip_, picture, 4, lit ? litCell : cell);
        if (!picture.Empty()) canvas.Draw(r.Left, r.Top, picture, clMagenta);
    };
    draw(RightArrowRect(), 1, 2, 1);
    draw(LeftArrowRect(), 3, 4, -1);
}

void TkivTabControlTopPanel::Render(TBitmap& bitmap)
{
    bitmap.SetSize(std::max(0, Width()), std::max(0, Height()));
    arrow_hit_ = 0;
    const int count = tabs_.Count();
    first_tab_ = std::clamp(first_tab_, 0, std::max(0, count - 1));
    // An active tab scrolled off to the left comes back as the first one.
    if (keep_active_visible_ && tab_index_ >= 0 && tab_index_ < count && TabShown(tab_index_)) {
        int shownBefore = 0;
        for (int i = 0; i < tab_index_; ++i) shownBefore += TabShown(i) ? 1 : 0;
        first_tab_ = std::min(first_tab_, shownBefore);
    }
    auto pass = [&] {
        TCanvas& canvas = bitmap.Canvas();
        canvas.Brush().SetColor(Color());
        canvas.FillRect(bitmap.BoundsRect());
        skin::DrawParentBackground(canvas, *this);
        return DrawTabs(bitmap);
    };
    int lastWhole = pass();
    while (keep_active_visible_ && lastWhole < tab_index_ && first_tab_ < count - 1) {
        ++first_tab_;
        lastWhole = pass();
    }
    active_height_ = active_picture_.Height();
    DrawScrollArrows(bitmap);
}

void TkivTabControlTopPanel::Refresh()
{
    TBitmap scratch;
    Render(scratch);
    Invalidate();
}

void TkivTabControlTopPanel::Paint(TCanvas& Canvas)
{
    // One block copy of a picture built off screen: no flicker.
    TBitmap picture;
    Render(picture);
    Canvas.Draw(0, 0, picture);
}

int TkivTabControlTopPanel::HiddenTabsBeforeFirst() const
{
    int hidden = 0, shown = 0;
    for (int i = 0; i < tabs_.Count() && shown <= first_tab_; ++i) {
        if (TabShown(i))
            ++shown;
        else
            ++hidden;
    }
    return hidden;
}

void TkivTabControlTopPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    mouse_ = {X, Y};
    Refresh();
    if (arrow_hit_ != 0) {
        if (arrow_hit_ == -1)
            --first_tab_;
        else if (arrows_shown_)
            ++first_tab_;
        else
            return;
        first_tab_ = std::clamp(first_tab_, 0, tabs_.Count());
        Refresh();
        return;
    }
    // The tabs where they were drawn, from the first one drawn up to the
    // last one (a cut tab counts as far as it shows).
    const int start = first_tab_ + HiddenTabsBeforeFirst();
    const bool top = tab_position_ == kivTop;
    const int yFrom = top ? 0 : Height() - active_height_;
    const int yTo = top ? active_height_ : Height();
    int left = left_margin_;
    for (int i = start; i < tabs_.Count() && i <= last_drawn_; ++i) {
        const int width = TabWidth(i);
        if (width == -1) break;
        if (left < X && X < left + width && yFrom < Y && Y < yTo) {
            user_click_ = true;
            SetTabIndex(i);
            keep_active_visible_ = true;
            Refresh();
            keep_active_visible_ = false;
            user_click_ = false;
            return;
        }
        left += width;
    }
}

void TkivTabControlTopPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    mouse_ = {X, Y};
    if (arrows_shown_ || first_tab_ > 0) Refresh();
}

void TkivTabControlTopPanel::MouseLeave()
{
    TCustomControl::MouseLeave();
    mouse_ = {-1000, -1000};
    if (arrows_shown_ || first_tab_ > 0) Refresh();
}

// --- the tabbed container -------------------------------------------------------------------

TkivTab::TkivTab(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetCaption(" ");
    SetBounds(0, 0, 289, 80);
}

TkivTab::~TkivTab()
{
    TkivTabControlTopPanel* strip = top_panel_;
    top_panel_ = nullptr;
    if (strip) strip->tab_control_ = nullptr;
    delete strip;
}

void TkivTab::CreateStrip()
{
    top_panel_ = CreateTopPanel();
    top_panel_->SetParent(this);
    top_panel_->SetCursor(Cursor());
    top_panel_->OnClick = [this](TObject*) {
        if (OnClick && !EventsMuted()) OnClick(this);
    };
    top_panel_->OnDblClick = [this](TObject*) {
        if (OnDblClick && !EventsMuted()) OnDblClick(this);
    };
    SetUIStyle(skin::GetOwnerUIStyle(Owner()));
    top_panel_->Reposition();
}

void TkivTab::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    if (!top_panel_) return;
    if (top_panel_->file_theme_ != file_theme_) {
        if (top_panel_->file_theme_) top_panel_->file_theme_->RemoveFreeNotification(top_panel_);
        top_panel_->file_theme_ = file_theme_;
        if (file_theme_) file_theme_->FreeNotification(top_panel_);
    }
    top_panel_->SetUIStyle(style);
    ApplyUIStyleToPages(style, file_theme_);
    TkivUIStyle effective;
    if (TkivFileTheme::UsingFileTheme(file_theme_, style, effective)) {
        const TColor strip = skin::GetBuiltInColor(TkivUIStyle::DeepBlue, 26);
        top_panel_->SetColor(SkinColour(*file_theme_, "SKIN2_FORMCOLOR", strip));
        SetBorderColor(SkinColour(*file_theme_, "SKIN2_CONTROLBORDERCOLOR",
                                  skin::GetBuiltInColor(TkivUIStyle::DeepBlue, 25)));
        SetColor(SkinColour(*file_theme_, "SKIN2_FORMCOLOR", strip));
    } else {
        top_panel_->SetColor(skin::GetBuiltInColor(effective, 26));
        SetBorderColor(skin::GetBuiltInColor(effective, 25));
        SetColor(effective == TkivUIStyle::WinXP ? clWhite : skin::GetBuiltInColor(effective, 26));
    }
    top_panel_->Refresh();
    Invalidate();
}

void TkivTab::CursorChanged()
{
    if (top_panel_) top_panel_->SetCursor(Cursor());
}

void TkivTab::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    SetUIStyle(ui_style_);
}

void TkivTab::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || !AComponent) return;
    if (AComponent == file_theme_) {
        file_theme_ = nullptr;
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
    if (AComponent == images_) {
        images_ = nullptr;
        if (top_panel_) top_panel_->Refresh();
    }
}

void TkivTab::SetBorderColor(TColor colour)
{
    border_color_ = colour;
    BorderColorChanged();
    Invalidate();
    if (top_panel_) top_panel_->Refresh();
}

void TkivTab::FontChanged()
{
    TCustomControl::FontChanged();
    if (top_panel_) top_panel_->Refresh();
}

void TkivTab::SetImages(TCustomImageList* images)
{
    if (images != images_) {
        if (images_) images_->RemoveFreeNotification(this);
        images_ = images;
        if (images_) images_->FreeNotification(this);
    }
    if (top_panel_) top_panel_->Refresh();
}

void TkivTab::SetTabPosition(TkivTabPosition position)
{
    if (position == tab_position_) return;
    tab_position_ = position;
    if (top_panel_) {
        top_panel_->SetTabPosition(position);
        top_panel_->Reposition();
    }
    Realign();
    Invalidate();
}

void TkivTab::SetTabIndex(int index)
{
    if (top_panel_) top_panel_->SetTabIndex(index);
}

void TkivTab::TabActivated(int index)
{
    if (EventsMuted()) return;
    if (OnTabActive) OnTabActive(this, index);
    if (OnChange) OnChange(this);
}

void TkivTab::ApplyUIStyleToPages(TkivUIStyle style, TkivFileTheme* theme)
{
    skin::ApplyUIStyleToChildren(*this, style, theme);
}

void TkivTab::AdjustClientRect(TRect& Rect) const
{
    const int strip = top_panel_ ? top_panel_->Height() : 0;
    const int W = ClientWidth(), H = ClientHeight();
    if (tab_position_ == kivTop)
        Rect = {3, strip + 3, W - 3, H - 3};
    else
        Rect = {3, 3, W - 3, H - strip - 3};
    Rect.Right = std::max(Rect.Left, Rect.Right);
    Rect.Bottom = std::max(Rect.Top, Rect.Bottom);
}

void TkivTab::Resize()
{
    TCustomControl::Resize();
    if (top_panel_) top_panel_->Reposition();
}

void TkivTab::Paint(TCanvas& Canvas)
{
    const int strip = top_panel_ ? top_panel_->Height() : 0;
    const int W = ClientWidth(), H = ClientHeight();
    const bool top = tab_position_ == kivTop;
    const TRect page = top ? TRect{0, strip, W, H} : TRect{0, 0, W, H - strip};
    if (page.IsEmpty()) return;
    Canvas.Brush().SetColor(Color());
    Canvas.FillRect(page);
    Canvas.Pen().SetColor(border_color_);
    if (top) {
        VLine(Canvas, 0, page.Top - 1, page.Bottom - 1);
        VLine(Canvas, page.Right - 1, page.Top - 1, page.Bottom - 1);
        Canvas.MoveTo(0, page.Bottom - 1);
        Canvas.LineTo(page.Right, page.Bottom - 1);
    } else {
        const TPoint outline[] = {
            {page.Right - 1, page.Bottom - 1}, {page.Right - 1, page.Top}, {0, page.Top}, {0, page.Bottom}};
        Canvas.Polyline(outline);
    }
}
