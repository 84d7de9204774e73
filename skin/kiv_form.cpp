#include "skin/kiv_form.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/ui/menus.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/panel.h"
#include "skin/kiv_built_in_file_theme.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_form_border.h"
#include "skin/kiv_menu_bar.h"
#include "skin/kiv_public.h"
#include "skin/kiv_style_colour.h"

namespace {

// Getter indexes of the skin values the form reads.
namespace key {
constexpr std::uint8_t kTransColor = 0, kFormColor = 2, kMenuBarStartColor = 3;
constexpr std::uint8_t kLeftBorder = 5, kRightBorder = 6, kBottom1 = 7, kBottom2 = 8, kBottom3 = 9;
constexpr std::uint8_t kTitleMinY = 5, kTitleMaxY = 6, kBottomMinY = 7, kBottomMaxY = 8;
constexpr std::uint8_t kBottomThreeSect = 1, kTitleNeedsRegion = 2, kBottomNeedsRegion = 3;
}  // namespace key

int WidthOf(const TBitmap* b) { return b ? b->Width() : 0; }
int HeightOf(const TBitmap* b) { return b ? b->Height() : 0; }

}  // namespace

TkivForm::TkivForm(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    auto* host = dynamic_cast<TForm*>(AOwner);
    if (!host) return;
    // One skinned frame to a form: a second panel stays a plain panel.
    for (int i = 0; i < host->ComponentCount(); ++i)
        if (auto* other = dynamic_cast<TkivForm*>(host->Components(i));
            other && other != this && !other->Inert())
            return;
    host_ = host;
    created_maximized_ = host->WindowState() == wsMaximized;

    SetParent(host);
    title_bar_ = new TkivTitleBar(this);
    title_bar_->SetName("TitleBar");
    title_bar_->SetParent(this);
    title_bar_->OnCustomBtnsClick = [this](TObject* Sender, int index) {
        if (OnTitleBarCustomBtnsClick) OnTitleBarCustomBtnsClick(Sender, index);
    };
    title_bar_->OnHelpBtnClick = [this](TObject* Sender, int index) {
        if (OnTitleBarHelpBtnClick) OnTitleBarHelpBtnClick(Sender, index);
    };
    menu_bar_color_ = Color();
    menu_bar_height_ = 22;

    host_border_style_ = host->BorderStyle();
    if (host_border_style_ == bsNone || host_border_style_ == bsSingle || host_border_style_ == bsToolWindow)
        host->SetBorderStyle(bsDialog);
    host->SetFrameHook(this);

    SetUIStyle(TkivUIStyle::DeepBlue);
    auto_update_sub_ = false;
    SetAlign(alClient);
    SetCaption(host->Caption());
    SetTitleBarVisible(true);

    app_events_ = new TApplicationEvents(this);
    app_events_->OnMessage = [this](TMsg& msg, bool& handled) { AppMessage(msg, handled); };
    if (created_maximized_) FormResized(*host);
}

TkivForm::~TkivForm()
{
    destroying_ = true;
    if (menu_) {
        Unlink(menu_);
        menu_->RemoveFreeNotification(this);
    }
    if (file_theme_) file_theme_->RemoveFreeNotification(this);
    if (host_ && host_->FrameHook() == this) {
        // The host gets its own frame back.
        host_->SetFrameHook(nullptr);
        host_->SetWindowRegion(std::nullopt);
        host_->SetBorderStyle(host_border_style_);
    }
}

// --- style --------------------------------------------------------------------------------

bool TkivForm::UsingFile(TkivUIStyle& effective) const
{
    return TkivFileTheme::UsingFileTheme(file_theme_, ui_style_, effective);
}

void TkivForm::SetFileTheme(TkivFileTheme* theme)
{
    if (theme == file_theme_) return;
    if (file_theme_) file_theme_->RemoveFreeNotification(this);
    file_theme_ = theme;
    if (file_theme_) file_theme_->FreeNotification(this);
    SetUIStyle(ui_style_);
}

void TkivForm::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    if (Inert()) {
        Invalidate();
        return;
    }
    TkivUIStyle effective;
    if (UsingFile(effective)) {
        const TkivFileTheme& t = *file_theme_;
        SetColor(static_cast<TColor>(t.GetColor(key::kFormColor)));
        menu_bar_color_ = skin::StyleColour(true, file_theme_, key::kMenuBarStartColor, effective, 15);
        left_border_ = WidthOf(t.GetBitmap(key::kLeftBorder));
        right_border_ = WidthOf(t.GetBitmap(key::kRightBorder));
        bottom_border_ = HeightOf(t.GetBitmap(key::kBottom1));
        trans_color_ = static_cast<TColor>(t.GetColor(key::kTransColor));
        title_needs_region_ = t.GetBool(key::kTitleNeedsRegion);
        bottom_needs_region_ = t.GetBool(key::kBottomNeedsRegion);
        title_min_y_ = t.GetInt(key::kTitleMinY);
        title_max_y_ = t.GetInt(key::kTitleMaxY);
        bottom_min_y_ = t.GetInt(key::kBottomMinY);
        bottom_max_y_ = t.GetInt(key::kBottomMaxY);
    } else {
        title_bar_->SetRoundCornerBottom(0);
        left_border_ = right_border_ = bottom_border_ = 0;
        trans_color_ = clMagenta;
        title_needs_region_ = bottom_needs_region_ = false;
        border_color_ = skin::GetBuiltInColor(effective, 16);
        border_width_ = skin::GetBuiltInInt(effective, 17);
        SetColor(skin::GetBuiltInColor(effective, 15));
        menu_bar_color_ = Color();
    }
    // The frame takes the new borders before the title bar lays out.
    host_->FrameChanged();
    title_bar_->SetFileTheme(file_theme_);
    title_bar_->SetUIStyle(ui_style_);
    if (!UsingFile(effective)) title_bar_->SetRoundCorner(skin::GetBuiltInInt(effective, 14));
    if (auto* menu = dynamic_cast<TkivMainMenu*>(menu_)) {
        menu->SetUIStyle(ui_style_);
        menu->SetFileTheme(file_theme_);
    }
    if (menu_bar_) {
        menu_bar_->SetColor(menu_bar_color_);
        menu_bar_->Invalidate();
    }
    if (auto_update_sub_) skin::ApplyUIStyleToChildren(*this, ui_style_, file_theme_);
    Invalidate();
    title_bar_->PaintNow();
    UpdateRegion();
    PaintFormBorder();
    // Room for the title bar, a menu bar and the bottom edge.
    host_->Constraints().SetMinHeight(title_bar_->Height() + menu_bar_height_ + bottom_border_ + 3);
}

void TkivForm::UseProgramSkin()
{
    if (Inert()) return;
    auto storedIn = [](const TComponent* owner) -> TkivFileTheme* {
        if (!owner) return nullptr;
        for (int i = 0; i < owner->ComponentCount(); ++i)
            if (auto* theme = dynamic_cast<TkivBuiltInFileTheme*>(owner->Components(i))) return theme;
        return nullptr;
    };
    TkivFileTheme* theme = storedIn(host_);
    if (!theme) theme = storedIn(Screen().MainForm());
    if (!theme) return;
    SetFileTheme(theme);
    SetUIStyle(TkivUIStyle::FromThemeFile);
}

void TkivForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove) return;
    if (AComponent == form_panel_) form_panel_ = nullptr;
    if (AComponent == menu_ && menu_) {
        menu_ = nullptr;
        DestroyMenuBar();
    }
    if (AComponent == file_theme_ && file_theme_) {
        file_theme_ = nullptr;
        skin::ApplyUIStyleToChildren(*this, TkivUIStyle::DeepBlue, nullptr);
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
    if (AComponent == title_bar_) title_bar_ = nullptr;
    if (AComponent == menu_bar_) menu_bar_ = nullptr;
    if (AComponent == app_events_) app_events_ = nullptr;
}

// --- properties -----------------------------------------------------------------------------

void TkivForm::SetTitleBarCustom(bool on)
{
    if (title_bar_) title_bar_->SetCustom(on);
}

void TkivForm::SetBorderColor(TColor c)
{
    border_color_ = c;
    PaintFormBorder();
}

void TkivForm::SetBorderWidth(int w)
{
    border_width_ = w;
    if (host_) host_->FrameChanged();
    PaintFormBorder();
}

void TkivForm::SetTitleBarVisibleFrom(bool on, bool byCaller)
{
    if (!title_bar_) return;
    if (byCaller) title_wanted_visible_ = on;
    if (on == title_bar_->Visible()) return;
    title_bar_->SetVisible(on);
    title_bar_->SetTop(0);
    UpdateRegion();
    PaintFormBorder();
}

void TkivForm::SetTitleBarDrawAppIcon(bool on)
{
    if (title_bar_) title_bar_->SetDrawAppIcon(on);
}

TColor TkivForm::InactiveCaptionColor() const
{
    return title_bar_ ? title_bar_->InactiveCaptionColor() : clInactiveCaption;
}

void TkivForm::SetInactiveCaptionColor(TColor c)
{
    if (title_bar_) title_bar_->SetInactiveCaptionColor(c);
}

int TkivForm::RoundCorner() const
{
    return title_bar_ && title_bar_->Visible() ? title_bar_->RoundCorner() : 0;
}

void TkivForm::SetRoundCorner(int v)
{
    if (!title_bar_) return;
    title_bar_->SetRoundCorner(v);
    UpdateRegion();
    PaintFormBorder();
}

int TkivForm::RoundCornerBottom() const
{
    return title_bar_ && title_bar_->Visible() ? title_bar_->RoundCornerBottom() : 0;
}

void TkivForm::SetRoundCornerBottom(int v)
{
    if (!title_bar_) return;
    title_bar_->SetRoundCornerBottom(v);
    UpdateRegion();
}

void TkivForm::SetFormPanel(TControl* panel)
{
    if (panel == this) {
        ui::ShowMessageBox("Error", "Sorry, you can't select the Form assign to FormPanel property", "OK");
        return;
    }
    if (form_panel_) form_panel_->RemoveFreeNotification(this);
    form_panel_ = panel;
    if (!panel) return;
    panel->FreeNotification(this);
    panel->SetAlign(alClient);
    if (auto* p = dynamic_cast<TPanel*>(panel)) {
        p->SetBevelOuter(bvNone);
        p->SetBevelInner(bvNone);
        p->SetBorderStyle(bsNone);
        p->SetCaption("");
    }
}

void TkivForm::TextChanged()
{
    // The skinned caption is drawn by the title bar; the host's text is the
    // window's title, which the desktop shows in its task list.
    if (title_bar_) title_bar_->SetCaption(Caption());
    if (host_ && !destroying_) host_->SetCaption(Caption());
    Invalidate();
}

void TkivForm::Resize()
{
    TCustomControl::Resize();
    if (title_bar_) title_bar_->SetTop(0);
}

// --- menu bar -------------------------------------------------------------------------------

void TkivForm::Unlink(TMainMenu* menu)
{
    if (auto* kiv = dynamic_cast<TkivMainMenu*>(menu); kiv && kiv->MenuForm() == this)
        kiv->SetMenuForm(nullptr);
}

void TkivForm::SetMenu(TMainMenu* menu)
{
    if (Inert()) return;
    if (menu_) {
        Unlink(menu_);
        menu_->RemoveFreeNotification(this);
    }
    menu_ = menu;
    if (menu_) {
        menu_->FreeNotification(this);
        if (auto* kiv = dynamic_cast<TkivMainMenu*>(menu_)) kiv->SetMenuForm(this);
        if (!menu_bar_) CreateMenuBar();
        RebuildMenuBar();
        if (title_bar_) title_bar_->SetTop(0);
    } else {
        DestroyMenuBar();
    }
}

void TkivForm::CreateMenuBar()
{
    if (menu_bar_) return;
    menu_bar_ = new TkivMenuBar(this);
    menu_bar_->SetParent(this);
    menu_bar_->SetColor(menu_bar_color_);
    menu_bar_->SetButtonHeight(menu_bar_height_);
    menu_bar_->SetBounds(0, title_bar_ ? title_bar_->Height() : 0, Width(), menu_bar_height_);
    menu_bar_->SetAlign(alTop);
    if (title_bar_) title_bar_->SetTop(0);
}

void TkivForm::DestroyMenuBar()
{
    delete menu_bar_;
    menu_bar_ = nullptr;
    if (menu_) {
        Unlink(menu_);
        menu_->RemoveFreeNotification(this);
    }
    menu_ = nullptr;
    PaintFormBorder();
}

void TkivForm::RebuildMenuBar()
{
    if (!menu_bar_) return;
    if (!menu_) {
        DestroyMenuBar();
        return;
    }
    if (auto* kiv = dynamic_cast<TkivMainMenu*>(menu_)) {
        TFont font = menu_bar_->Font();
        if (kiv->UseSystemFont())
            skin::SetSystemMenuFont(font);
        else
            font.SetSize(kiv->FontSize());
        menu_bar_->SetFont(font);
    }
    menu_bar_->Rebuild();
}

void TkivForm::RefreshMenuBar()
{
    if (menu_bar_) menu_bar_->RefreshButtons();
}

void TkivForm::UpdateMenuBarFont()
{
    if (!menu_bar_ || !menu_) return;
    if (auto* kiv = dynamic_cast<TkivMainMenu*>(menu_)) {
        TFont font = menu_bar_->Font();
        kiv->ApplyMenuFont(font);
        menu_bar_->SetFont(font);
    }
    menu_bar_->RefreshButtons();
}

void TkivForm::SetMenuBarColor(TColor c)
{
    menu_bar_color_ = c;
    if (menu_bar_) menu_bar_->SetColor(c);
}

void TkivForm::SetMenuBarHeight(int h)
{
    menu_bar_height_ = h;
    if (menu_bar_) menu_bar_->SetButtonHeight(h);
}

// --- messages -------------------------------------------------------------------------------

bool TkivForm::HandleMenuShortCut(const TMsg& msg)
{
    if (!host_ || !menu_ || !skin::IsFormActive(host_) || !host_->Active()) return false;
    return menu_->IsShortCut(msg.key, msg.shift);
}

void TkivForm::AppMessage(TMsg& msg, bool& handled)
{
    if (destroying_ || !host_ || !title_bar_) return;
    // Only the form the message is for answers it: with several skinned
    // forms the first one must not take another form's keys.
    TForm* target = msg.target ? msg.target->ParentForm() : nullptr;
    if (!target && msg.target) target = dynamic_cast<TForm*>(msg.target);
    if (target != host_) return;
    if (msg.message == WM_SYSCHAR && msg.ch == U' ') {
        handled = true;
        title_bar_->SystemMenu()->Popup(host_->Left(), host_->Top() + title_bar_->Height());
    } else if (msg.message == WM_KEYDOWN) {
        handled = HandleMenuShortCut(msg);
    }
}

int TkivForm::BorderWidthAnswer() const { return skin::SkinBorderWidthAnswer(left_border_); }

bool TkivForm::FrameMessage(TForm&, unsigned msg, intptr_t, intptr_t, intptr_t& result)
{
    if (destroying_ || msg != WM_SKIN_GETBORDERWIDTH) return false;
    result = BorderWidthAnswer();
    return true;
}

TRect TkivForm::FrameInsets(const TForm& form)
{
    return skin::SkinFrameInsets(form.Width(), form.Height(), left_border_, right_border_, bottom_border_,
                                 border_width_);
}

void TkivForm::FormActivated(TForm&, bool active)
{
    if (title_bar_ && !destroying_) title_bar_->SetFormActive(active);
}

void TkivForm::FormResized(TForm& form)
{
    if (destroying_ || resizing_) return;
    resizing_ = true;
    // A host maximised before it was skinned gets its design bounds back
    // from the platform, which keeps them while the form is maximised.
    if (created_maximized_ && form.WindowState() != wsMaximized) created_maximized_ = false;
    if (form.WindowState() == wsMaximized) {
        // The frame's outer pixels go past the work area.
        const TRect area = skin::GetWorkAreaRect();
        form.SetBounds(area.Left - 2, area.Top - 2, area.Width() + 4, area.Height() + 1);
    }
    resizing_ = false;
    if (title_bar_) {
        title_bar_->RefreshMaxButtons();
        title_bar_->Invalidate();
    }
    PaintFormBorder();
    UpdateRegion();
}

void TkivForm::RemoveHostCaption()
{
    if (host_ && host_->FrameHook() != this) host_->SetFrameHook(this);
    if (host_) host_->FrameChanged();
}

int TkivForm::GetTitleBarSpace() const
{
    return title_bar_ && title_bar_->Visible() ? title_bar_->Height() + 3 : 0;
}

// --- painting ---------------------------------------------------------------------------------

void TkivForm::Paint(TCanvas& Canvas)
{
    if (destroying_) return;
    TkivUIStyle effective;
    const bool file = UsingFile(effective);
    const TRect r = ClientRect();
    TBitmap picture;
    if (!file && (effective == TkivUIStyle::MacOS || effective == TkivUIStyle::Protein) &&
        skin::LoadBitmapResource(
            effective == TkivUIStyle::MacOS ? "MACOS_FORM_BACKGROUND" : "PROTEIN_FORM_BACKGROUND", picture)) {
        TBitmap off(r.Width(), r.Height());
        skin::TilePicture(off.Canvas(), picture, off.BoundsRect());
        Canvas.Draw(0, 0, off);
    } else {
        Canvas.Brush().SetColor(Color());
        Canvas.FillRect(r);
    }
    // The border is painted over the window picture after the client.
}

void TkivForm::PaintFormBorder()
{
    if (destroying_ || !host_) return;
    if (host_->WindowState() == wsMinimized) return;
    host_->InvalidateWindow();
}

void TkivForm::PaintFrame(TForm& form, TCanvas& canvas)
{
    if (&form == host_) PaintFormBorderTo(canvas);
}

void TkivForm::PaintFormBorderTo(TCanvas& canvas)
{
    if (destroying_ || !host_ || host_->WindowState() == wsMinimized) return;
    const int W = host_->Width(), H = host_->Height();
    TkivUIStyle effective;
    if (UsingFile(effective))
        PaintSkinBorder(canvas, W, H);
    else
        PaintBuiltInBorder(canvas, W, H);
}

void TkivForm::ComposeBottomBorder(int W)
{
    const TkivFileTheme& t = *file_theme_;
    const TBitmap* b1 = t.GetBitmap(key::kBottom1);
    const int h = HeightOf(b1);
    bottom_bitmap_ = TBitmap(std::max(0, W), h, clBlack);
    bottom_bitmap_.SetPixelFormat(pf24bit);
    if (!b1 || W <= 0 || h <= 0) return;
    TCanvas& c = bottom_bitmap_.Canvas();
    if (t.GetBool(key::kBottomThreeSect)) {
        const TBitmap* b2 = t.GetBitmap(key::kBottom2);
        const TBitmap* b3 = t.GetBitmap(key::kBottom3);
        const int right = W - WidthOf(b3);
        if (b2 && right > b1->Width()) c.StretchDraw({b1->Width(), 0, right, h}, *b2);
        c.Draw(0, 0, *b1);
        if (b3) c.Draw(right, 0, *b3);
    } else {
        skin::DrawThreeSliceBitmapMasked(*b1, c, {0, 0, W, h}, trans_color_, false);
    }
}

void TkivForm::PaintSkinBorder(TCanvas& canvas, int W, int H)
{
    const TkivFileTheme& t = *file_theme_;
    const TColor formColor = static_cast<TColor>(t.GetColor(key::kFormColor));
    const int T = GetTitleBarSpace();
    const int B = bottom_border_;
    const bool menuShown = menu_bar_ && menu_bar_->Visible();
    const int menuTop = title_bar_ ? title_bar_->Height() + 3 : 3;
    const int menuBottom = menuTop + (menuShown ? menu_bar_->Height() : 0);
    // The title strip reaches under the frame: its outer columns and its
    // top rows are the frame's there, over the form colour.
    if (title_bar_ && title_bar_->Visible() && title_bar_->HasStandardSections()) {
        const TBitmap& s2 = *title_bar_->GetStripBitmap(-2);
        const int l = std::max(left_border_, 4), r = std::max(4, right_border_);
        canvas.CopyRect({0, 0, l, s2.Height()}, s2, {0, 0, l, s2.Height()});
        canvas.CopyRect({0, 0, s2.Width(), 3}, s2, {0, 0, s2.Width(), 3});
        canvas.CopyRect({W - r, 0, W, s2.Height()}, s2, {s2.Width() - r, 0, s2.Width(), s2.Height()});
    }
    auto side = [&](const TBitmap* b, bool left) {
        const int w = WidthOf(b);
        if (b && w > 0) {
            const TRect r = left ? TRect{0, T, w, H - B} : TRect{W - w, T, W, H - B};
            if (r.Height() > 0) canvas.StretchDraw(r, *b);
        }
        if (w < 4) {
            const TRect gap = left ? TRect{w, T, 4, H - B} : TRect{W - 4, T, W - w, H - B};
            canvas.Brush().SetColor(formColor);
            canvas.FillRect(gap);
            if (menuShown) {
                canvas.Brush().SetColor(menu_bar_color_);
                canvas.FillRect({gap.Left, menuTop, gap.Right, menuBottom});
            }
        }
    };
    // The side borders, each stretched down from under the title bar.
    side(t.GetBitmap(key::kLeftBorder), true);
    side(t.GetBitmap(key::kRightBorder), false);
    // The bottom edge as composed for this width; where it is shaped by
    // the region its see-through pixels show the form colour.
    ComposeBottomBorder(W);
    if (!bottom_bitmap_.Empty()) {
        if (bottom_needs_region_) {
            TBitmap over(bottom_bitmap_.Width(), bottom_bitmap_.Height(), formColor);
            over.Canvas().Draw(0, 0, bottom_bitmap_, trans_color_);
            canvas.Draw(0, H - B, over);
        } else {
            canvas.Draw(0, H - B, bottom_bitmap_);
        }
    }
    // A bottom edge thinner than the host's frame leaves a strip of form
    // colour above it, so no frame pixel is left unpainted.
    if (B < 4) {
        canvas.Brush().SetColor(formColor);
        canvas.FillRect({left_border_, H - 4, W - right_border_, H - B});
    }
}

void TkivForm::PaintBuiltInBorder(TCanvas& canvas, int W, int H)
{
    const int BW = border_width_;
    const int T = GetTitleBarSpace();
    // The title sections reach under the frame: their outer columns and
    // top rows are drawn there so the caption strip meets the border.
    if (title_bar_ && title_bar_->Visible() && title_bar_->HasStandardSections()) {
        const TBitmap* p0 = title_bar_->GetStripBitmap(0);
        const TBitmap* p1 = title_bar_->GetStripBitmap(1);
        const TBitmap* p2 = title_bar_->GetStripBitmap(2);
        // The pieces' see-through corners (the style's rounding) take the
        // border colour: a window whose region does not cut them off must
        // not show the key colour there.
        if (p0 && p1 && p2 && !p0->Empty() && 3 - BW > 0) {
            TBitmap part(3 - BW, p0->Height(), border_color_);
            part.Canvas().Draw(0, 0, *p0, trans_color_);
            canvas.Draw(BW, 0, part);
            part.Canvas().Brush().SetColor(border_color_);
            part.Canvas().FillRect(part.BoundsRect());
            if (p1->Width() > 2) {
                part.Canvas().Draw(2 - p1->Width(), 0, *p1, trans_color_);
            } else if (!p1->Empty()) {
                TBitmap narrow(part.Width(), part.Height(), border_color_);
                narrow.Canvas().StretchDraw(narrow.BoundsRect(), *p1);
                part.Canvas().Draw(0, 0, narrow, trans_color_);
            }
            canvas.Draw(W - 3, 0, part);
        }
        if (p0 && p1 && p2 && W > 5) {
            TBitmap top(W - 5, 3, border_color_);
            TCanvas& c = top.Canvas();
            const int rightAt = (W - 5) - p1->Width() + 3;
            if (!p2->Empty() && rightAt > p0->Width() - 2)
                c.StretchDraw({p0->Width() - 2, 0, rightAt, p2->Height()}, *p2);
            c.Draw(-2, 0, *p0, trans_color_);
            c.Draw(rightAt, 0, *p1, trans_color_);
            canvas.Draw(2, 0, top);
        }
    }
    // A thin border round a corner of 11 follows the region's arcs.
    const int rc = RoundCorner();
    canvas.Pen().SetColor(border_color_);
    if (BW == 1 && rc == 11) {
        canvas.Arc(W - 2 * rc + 1, -1, W + 1, 2 * rc - 1, W + 1, rc - 1, W - rc + 1, -1);
        canvas.Arc(-1, -1, 2 * rc - 1, 2 * rc - 1, rc - 1, -1, -1, rc - 1);
    }
    // Without a title bar the frame closes the top itself.
    if (!title_bar_ || !title_bar_->Visible()) {
        canvas.Brush().SetColor(border_color_);
        canvas.FillRect({0, 0, W, 1});
        canvas.Brush().SetColor(Color());
        canvas.FillRect({BW, 1, W - BW, 3});
    }
    // The border lines on the left, bottom and right.
    canvas.Brush().SetColor(border_color_);
    canvas.FillRect({0, 0, BW, H});
    canvas.FillRect({0, H - BW, W, H});
    canvas.FillRect({W - BW, 0, W, H});
    // A border thinner than the host's frame leaves a gap to the client:
    // the form colour fills it, the menu bar's colour beside the bar.
    if (BW < 4) {
        canvas.Brush().SetColor(Color());
        canvas.FillRect({BW, T, 3, H - BW});
        canvas.FillRect({W - 3, T, W - BW, H - BW});
        canvas.FillRect({BW, H - 2, W - BW, H - BW});
        if (menu_bar_ && menu_bar_->Visible()) {
            const int top = GetTitleBarSpace();
            canvas.Brush().SetColor(menu_bar_color_);
            canvas.FillRect({BW, top, 3, top + menu_bar_->Height()});
            canvas.FillRect({W - 3, top, W - BW, top + menu_bar_->Height()});
        }
    }
}

void TkivForm::UpdateRegion()
{
    if (destroying_ || !host_) return;
    const int W = host_->Width(), H = host_->Height();
    TkivUIStyle effective;
    std::optional<gfx::Region> region;
    if (UsingFile(effective)) {
        if (title_needs_region_ || bottom_needs_region_) {
            // Strip -1 as the title bar draws it now.
            if (title_bar_) title_bar_->PaintNow();
            ComposeBottomBorder(W);
            skin::RegionScan scan;
            scan.title = title_bar_ && title_bar_->Visible() ? title_bar_->GetStripBitmap(-1) : nullptr;
            scan.bottom = &bottom_bitmap_;
            scan.titleNeedsRegion = title_needs_region_;
            scan.bottomNeedsRegion = bottom_needs_region_;
            scan.titleMinY = title_min_y_;
            scan.titleMaxY = title_max_y_;
            scan.bottomMinY = bottom_min_y_;
            scan.bottomMaxY = bottom_max_y_;
            scan.transparent = trans_color_;
            region = skin::CreateRegionFromBitmaps(scan, H, W);
        }
    } else {
        region = skin::BuiltInWindowRegion(W, H, RoundCorner(), RoundCornerBottom());
    }
    // A region of the whole window is no shape at all.
    if (region && *region == gfx::Region(TRect{0, 0, W, H})) region.reset();
    host_->SetWindowRegion(std::move(region));
}
