#include "skin/kiv_title_bar.h"

#include <algorithm>
#include <limits>

#include "platform/gfx/canvas.h"
#include "platform/ui/form.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/utf8.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_form.h"
#include "skin/kiv_locale.h"
#include "skin/kiv_public.h"

namespace {

// Getter indexes of the skin values the bar reads.
namespace key {
constexpr std::uint8_t kTransColor = 0, kTitleFontColor = 1, kFormColor = 2;
constexpr std::uint8_t kTitleBar1 = 0, kTitleButtons = 11;
constexpr std::uint8_t kIconPosX = 0, kButtonPosX = 3, kButtonPosY = 4;
constexpr std::uint8_t kFiveSect = 0, kTitleBtnTrans = 4;
}  // namespace key

constexpr int kTitleButtonCells = 18;
// A right-to-left bar opens its menus this far to the right.
constexpr int kRightToLeftMenuShift = 176;
// Room between a caption and the edge or buttons it runs from.
constexpr int kCaptionGap = 6;

int ClampToInt(std::int64_t v)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The first of a kind's three cells in the title-button strip.
int FirstCell(TkivTitleBarBtnType type, bool maximised)
{
    switch (type) {
    case kivControlBox: return 1;
    case kivHelp: return 4;
    case kivMax: return maximised ? 10 : 7;
    case kivMin: return 13;
    case kivClose: return 16;
    default: return 0;
    }
}

std::string Prefix(const std::vector<char32_t>& cps, std::size_t n)
{
    std::string out;
    for (std::size_t i = 0; i < n && i < cps.size(); ++i) ui::utf8::Append(out, cps[i]);
    return out;
}

void ErrorBox(const std::string& text) { ui::ShowMessageBox("Error", text, "OK"); }

// The program's 16 x 16 icon, drawn in code.
const TBitmap& AppIcon()
{
    static const TBitmap icon = [] {
        TBitmap b(16, 16, clMagenta);
        TCanvas& c = b.Canvas();
        c.Brush().SetColor(gfx::RGB(0xF0, 0xC0, 0x30));
        c.Pen().SetColor(gfx::RGB(0x60, 0x40, 0x10));
        c.Rectangle(1, 3, 15, 14);
        c.Brush().SetColor(gfx::RGB(0x30, 0x70, 0xC0));
        c.FillRect({3, 5, 13, 10});
        c.Brush().SetColor(clWhite);
        c.FillRect({5, 11, 11, 12});
        return b;
    }();
    return icon;
}

}  // namespace

// --- sections ------------------------------------------------------------------------

void TkivTitleBarSection::Changed()
{
    if (collection_) collection_->Update();
}

int TkivTitleBarSection::Index() const
{
    if (!collection_) return -1;
    for (int i = 0; i < collection_->Count(); ++i)
        if (collection_->Items(i) == this) return i;
    return -1;
}

void TkivTitleBarSection::SetWidth(int w)
{
    width_ = w;
    Changed();
}

void TkivTitleBarSection::SetAlign(TkivTitleBarAlign a)
{
    if (a == align_) return;
    if (a == kivClient && collection_)
        for (int i = 0; i < collection_->Count(); ++i)
            if (collection_->Items(i) != this && collection_->Items(i)->Align() == kivClient) {
                ErrorBox("Sorry, only one section's Align property can be \"kivClient\"");
                return;
            }
    align_ = a;
    if (a == kivClient) stretch_ = true;
    Changed();
}

void TkivTitleBarSection::SetPicture(const TBitmap& b)
{
    picture_ = b;
    if (auto_size_ && !picture_.Empty()) width_ = picture_.Width();
    Changed();
}

void TkivTitleBarSection::SetStretch(bool on)
{
    stretch_ = on || align_ == kivClient;
    Changed();
}

void TkivTitleBarSection::SetAutoSize(bool on)
{
    auto_size_ = on;
    if (!picture_.Empty()) width_ = picture_.Width();
    Changed();
}

void TkivTitleBarSection::SetCapSec(bool on)
{
    cap_sec_ = on;
    Changed();
}

void TkivTitleBarSection::Assign(const TkivTitleBarSection& o)
{
    width_ = o.width_;
    align_ = o.align_;
    picture_ = o.picture_;
    stretch_ = o.stretch_;
    auto_size_ = o.auto_size_;
    cap_sec_ = o.cap_sec_;
    Changed();
}

TkivTitleBarSection* TkivTitleBarSections::Add()
{
    items_.push_back(std::make_unique<TkivTitleBarSection>(this));
    Update();
    return items_.back().get();
}

void TkivTitleBarSections::Clear()
{
    items_.clear();
    Update();
}

void TkivTitleBarSections::Assign(const TkivTitleBarSections& other)
{
    if (&other == this) return;
    items_.clear();
    for (const auto& s : other.items_) {
        items_.push_back(std::make_unique<TkivTitleBarSection>(this));
        items_.back()->Assign(*s);
    }
    Update();
}

void TkivTitleBarSections::Update()
{
    if (bar_) bar_->Invalidate();
}

// --- buttons ---------------------------------------------------------------------------

void TkivTitleBarButton::Changed()
{
    if (collection_) collection_->Update();
}

int TkivTitleBarButton::Index() const
{
    if (!collection_) return -1;
    for (int i = 0; i < collection_->Count(); ++i)
        if (collection_->Items(i) == this) return i;
    return -1;
}

void TkivTitleBarButton::SetButtonType(TkivTitleBarBtnType t)
{
    if (t == type_) return;
    if (t == kivControlBox && collection_)
        for (int i = 0; i < collection_->Count(); ++i)
            if (collection_->Items(i) != this && collection_->Items(i)->ButtonType() == kivControlBox) {
                ErrorBox("Sorry, only one button's ButtonType property can be \"kivControlBox\"");
                return;
            }
    type_ = t;
    ApplyUIStyle();
    Changed();
}

void TkivTitleBarButton::SetUIStyle(TkivUIStyle s)
{
    ui_style_ = s;
    ApplyUIStyle();
    Changed();
}

void TkivTitleBarButton::Assign(const TkivTitleBarButton& o)
{
    visible_ = o.visible_;
    type_ = o.type_;
    transparent_ = o.transparent_;
    top_ = o.top_;
    ui_style_ = o.ui_style_;
    pic_normal_ = o.pic_normal_;
    pic_mouse_on_ = o.pic_mouse_on_;
    pic_mouse_down_ = o.pic_mouse_down_;
    control_box_menu_ = o.control_box_menu_;
    Changed();
}

void TkivTitleBarButton::LoadCells(int first)
{
    TkivTitleBar* bar = collection_ ? collection_->Bar() : nullptr;
    TkivUIStyle effective;
    TBitmap* pics[3] = {&pic_normal_, &pic_mouse_on_, &pic_mouse_down_};
    if (bar && TkivFileTheme::UsingFileTheme(bar->FileTheme(), ui_style_, effective)) {
        for (int k = 0; k < 3; ++k) {
            bar->FileTheme()->GetBitmapCell(key::kTitleButtons, *pics[k], first + k, kTitleButtonCells);
            pics[k]->SetPixelFormat(pf24bit);
        }
        return;
    }
    TkivFileTheme::UsingFileTheme(nullptr, ui_style_, effective);
    for (int k = 0; k < 3; ++k) skin::GetBuiltInBitmap(effective, 5, pics[k], first + k, kTitleButtonCells);
}

void TkivTitleBarButton::ApplyUIStyle()
{
    if (type_ == kivCustom) return;
    TkivTitleBar* bar = collection_ ? collection_->Bar() : nullptr;
    TkivUIStyle effective;
    if (bar && TkivFileTheme::UsingFileTheme(bar->FileTheme(), ui_style_, effective)) {
        transparent_ = bar->FileTheme()->GetBool(key::kTitleBtnTrans);
        top_ = bar->FileTheme()->GetInt(key::kButtonPosY);
    } else {
        TkivFileTheme::UsingFileTheme(nullptr, ui_style_, effective);
        transparent_ = skin::GetBuiltInBool(effective, 6);
        top_ = skin::GetBuiltInInt(effective, 9);
    }
    LoadCells(FirstCell(type_, false));
    if (type_ == kivMax && !(bar && bar->Custom())) RefreshMaxPicture();
}

void TkivTitleBarButton::RefreshMaxPicture()
{
    if (type_ != kivMax) return;
    TkivTitleBar* bar = collection_ ? collection_->Bar() : nullptr;
    TForm* form = bar ? bar->HostForm() : nullptr;
    LoadCells(FirstCell(kivMax, form && form->WindowState() == wsMaximized));
    Changed();
}

void TkivTitleBarButton::DoAction()
{
    TkivTitleBar* bar = collection_ ? collection_->Bar() : nullptr;
    TForm* form = bar ? bar->HostForm() : nullptr;
    if (!form) return;
    switch (type_) {
    case kivMax: bar->ToggleMaximize(); break;
    case kivMin: bar->MinimizeForm(); break;
    case kivClose: form->Close(); break;
    case kivControlBox:
        if (control_box_menu_) {
            TPoint p = bar->ClientToScreen({0, bar->Height()});
            if (skin::UseRightToLeftLayout(*bar)) p.X += kRightToLeftMenuShift;
            control_box_menu_->Popup(std::max(0, p.X), p.Y);
        }
        break;
    default: break;
    }
}

TkivTitleBarButton* TkivTitleBarButtons::Add()
{
    items_.push_back(std::make_unique<TkivTitleBarButton>(this));
    Update();
    return items_.back().get();
}

void TkivTitleBarButtons::Clear()
{
    items_.clear();
    Update();
}

void TkivTitleBarButtons::Assign(const TkivTitleBarButtons& other)
{
    if (&other == this) return;
    items_.clear();
    for (const auto& b : other.items_) {
        items_.push_back(std::make_unique<TkivTitleBarButton>(this));
        items_.back()->Assign(*b);
    }
    Update();
}

void TkivTitleBarButtons::Update()
{
    if (bar_) bar_->Invalidate();
}

// --- system menu -------------------------------------------------------------------------

TkivTitleBarPopupMenu::TkivTitleBarPopupMenu(TkivTitleBar* bar) : TkivPopupMenu(bar), bar_(bar)
{
    const char* captions[] = {"最小化(&N)", "最大化/还原(&X)", "-", "关闭(&C)"};
    for (const char* caption : captions) {
        auto* item = new TMenuItem(this);
        item->SetCaption(caption);
        Items()->Add(item);
    }
    MinimizeItem()->OnClick = [this](TObject*) { bar_->MinimizeForm(); };
    MaximizeItem()->OnClick = [this](TObject*) {
        for (int i = 0; i < bar_->Buttons().Count(); ++i) {
            TkivTitleBarButton* b = bar_->Buttons().Items(i);
            if (b->Visible() && b->ButtonType() == kivMax) b->DoAction();
        }
    };
    CloseItem()->OnClick = [this](TObject*) {
        if (TForm* form = bar_->HostForm()) form->Close();
    };
    HookItems();
}

void TkivTitleBarPopupMenu::Popup(int X, int Y)
{
    bool has[3] = {false, false, false};
    for (int i = 0; i < bar_->Buttons().Count(); ++i) {
        const TkivTitleBarButton* b = bar_->Buttons().Items(i);
        if (!b->Visible()) continue;
        if (b->ButtonType() == kivMin) has[0] = true;
        if (b->ButtonType() == kivMax) has[1] = true;
        if (b->ButtonType() == kivClose) has[2] = true;
    }
    if (skin::UseRightToLeftLayout(*bar_)) X += kRightToLeftMenuShift;
    MinimizeItem()->SetEnabled(has[0]);
    MaximizeItem()->SetEnabled(has[1]);
    CloseItem()->SetEnabled(has[2]);
    TkivPopupMenu::Popup(X, Y);
}

// --- the bar -------------------------------------------------------------------------------

TkivTitleBar::TkivTitleBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle((ControlStyle() | csOpaque) & ~csAcceptsControls);
    system_menu_ = new TkivTitleBarPopupMenu(this);
    for (TkivTitleBarBtnType t : {kivControlBox, kivClose, kivMax, kivMin}) buttons_.Add()->SetButtonType(t);
    SetAlign(alTop);
    TFont f;
    f.SetColor(clWhite);
    f.SetName("Tahoma");
    f.SetBold(true);
    SetFont(f);
    SetUIStyle(skin::GetOwnerUIStyle(AOwner));
}

TkivTitleBar::~TkivTitleBar()
{
    if (file_theme_) file_theme_->RemoveFreeNotification(this);
}

TForm* TkivTitleBar::HostForm() const { return ParentForm(); }

bool TkivTitleBar::IsInSkinForm() const { return dynamic_cast<TkivForm*>(Parent()) != nullptr; }

int TkivTitleBar::BorderAnswer() const
{
    TForm* form = HostForm();
    return form ? static_cast<int>(form->Perform(WM_SKIN_GETBORDERWIDTH, 0, 0)) : 0;
}

void TkivTitleBar::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    // The font colour set by a caller stays while the theme is re-applied.
    font_colour_locked_ = true;
    SetUIStyle(ui_style_);
    font_colour_locked_ = false;
}

void TkivTitleBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == file_theme_ && file_theme_) {
        file_theme_ = nullptr;
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
}

void TkivTitleBar::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    if (custom_) return;
    sections_.Clear();
    TkivUIStyle effective;
    const bool file = TkivFileTheme::UsingFileTheme(file_theme_, style, effective);
    if (file)
        BuildFileThemeSections();
    else
        BuildBuiltInSections();
    ApplyButtonsStyle(file ? TkivUIStyle::FromThemeFile : effective);
    system_menu_->SetUIStyle(file ? TkivUIStyle::FromThemeFile : effective);
    system_menu_->SetFileTheme(file_theme_);
    if (!font_colour_locked_) {
        TFont f = Font();
        if (file)
            f.SetColor(static_cast<TColor>(file_theme_->GetColor(key::kTitleFontColor)));
        else
            f.SetColor(effective == TkivUIStyle::MacOS ? clBlack : clWhite);
        SetFont(f);
    }
    SetAutoSize(true);
    Invalidate();
}

void TkivTitleBar::SetButtonKinds(std::initializer_list<TkivTitleBarBtnType> kinds)
{
    buttons_.Clear();
    TkivUIStyle effective;
    const bool file = TkivFileTheme::UsingFileTheme(file_theme_, ui_style_, effective);
    for (TkivTitleBarBtnType kind : kinds) {
        TkivTitleBarButton* b = buttons_.Add();
        b->SetUIStyle(file ? TkivUIStyle::FromThemeFile : effective);
        b->SetButtonType(kind);
    }
}

void TkivTitleBar::ApplyButtonsStyle(TkivUIStyle effective)
{
    for (int i = 0; i < buttons_.Count(); ++i) buttons_.Items(i)->SetUIStyle(effective);
}

void TkivTitleBar::SetAutoSize(bool on)
{
    auto_size_ = on;
    if (!auto_size_) return;
    if (sections_.Count() == 0) {
        auto_size_ = false;
        return;
    }
    const int h = sections_.Items(0)->Picture().Height() - (IsInSkinForm() ? 3 : 0);
    if (h > 0) SetHeight(h);
}

void TkivTitleBar::BuildFileThemeSections()
{
    const TkivFileTheme& t = *file_theme_;
    five_sections_ = t.GetBool(key::kFiveSect);
    trans_color_ = static_cast<TColor>(t.GetColor(key::kTransColor));
    const int count = five_sections_ ? 5 : 3;
    for (int i = 0; i < count; ++i) {
        TkivTitleBarSection* s = sections_.Add();
        if (const TBitmap* b = t.GetBitmap(key::kTitleBar1 + i)) s->SetPicture(*b);
        if (!five_sections_) {
            if (i == 0) s->SetAutoSize(true);
            if (i == 1) s->SetAlign(kivClient);
            if (i == 2) s->SetAutoSize(true), s->SetAlign(kivRight);
        } else {
            if (i == 0 || i == 2) s->SetAutoSize(true);
            if (i == 1) s->SetCapSec(true);
            if (i == 3) s->SetAlign(kivClient);
            if (i == 4) s->SetAutoSize(true), s->SetAlign(kivRight);
        }
    }
    // The theme keeps a skin's integers to its pictures; the sums are wide
    // all the same, so that no value can overflow them.
    left_offset_ = t.GetInt(key::kIconPosX);
    right_offset_ = t.GetInt(key::kButtonPosX);
    button_top_ = ClampToInt(std::int64_t{t.GetInt(key::kButtonPosY)} - (IsInSkinForm() ? 3 : 0));
    form_color_ = static_cast<TColor>(t.GetColor(key::kFormColor));
    auto width = [&](std::uint8_t i) -> std::int64_t {
        const TBitmap* b = t.GetBitmap(key::kTitleBar1 + i);
        return b ? b->Width() : 0;
    };
    const TBitmap* strip = t.GetBitmap(key::kTitleButtons);
    const std::int64_t buttonsTerm =
        std::int64_t{strip ? strip->Width() / kTitleButtonCells : 0} * buttons_.Count() + right_offset_;
    const std::int64_t minWidth = five_sections_ ? width(0) + width(2) + std::max(width(4), buttonsTerm) + 16
                                                 : width(0) + std::max(width(2), buttonsTerm);
    if (TForm* form = HostForm()) form->Constraints().SetMinWidth(ClampToInt(minWidth));
}

void TkivTitleBar::BuildBuiltInSections()
{
    TkivUIStyle effective;
    TkivFileTheme::UsingFileTheme(nullptr, ui_style_, effective);
    five_sections_ = false;
    TBitmap picture;
    TkivTitleBarSection* s = sections_.Add();
    skin::LoadBuiltInBitmap(effective, 10, &picture);
    s->SetPicture(picture);
    s->SetAutoSize(true);
    s = sections_.Add();
    skin::LoadBuiltInBitmap(effective, 12, &picture);
    s->SetPicture(picture);
    s->SetAutoSize(true);
    s->SetAlign(kivRight);
    s = sections_.Add();
    skin::LoadBuiltInBitmap(effective, 11, &picture);
    s->SetPicture(picture);
    s->SetAlign(kivClient);
    left_offset_ = skin::GetBuiltInInt(effective, 7);
    right_offset_ = skin::GetBuiltInInt(effective, 8);
    button_top_ = skin::GetBuiltInInt(effective, 9) - (IsInSkinForm() ? 3 : 0);
    if (TForm* form = HostForm()) {
        form->Constraints().SetMinWidth(skin::GetBuiltInInt(effective, 13));
        form->Constraints().SetMinHeight(50);
    }
    round_corner_ = skin::GetBuiltInInt(effective, 14);
    round_corner_bottom_ = 0;
}

void TkivTitleBar::SetFormActive(bool on)
{
    if (on == form_active_) return;
    form_active_ = on;
    Invalidate();
}

void TkivTitleBar::RefreshMaxButtons()
{
    for (int i = 0; i < buttons_.Count(); ++i) buttons_.Items(i)->RefreshMaxPicture();
}

const TBitmap* TkivTitleBar::GetStripBitmap(int index) const
{
    if (index == -1) return &strip1_;
    if (index == -2) return &strip2_;
    if (index >= 0 && sections_.Count() > 2 && index < sections_.Count())
        return &sections_.Items(index)->Picture();
    return nullptr;
}

std::string TkivTitleBar::FitCaption(const TCanvas& canvas, const std::string& text, int width)
{
    if (canvas.TextWidth(text) <= width) return text;
    const std::vector<char32_t> cps = ui::utf8::CodePoints(text);
    for (std::size_t n = 1; n < cps.size(); ++n) {
        std::string s = Prefix(cps, n) + "...";
        if (canvas.TextWidth(s) >= width) return s;
    }
    return text;
}

void TkivTitleBar::Paint(TCanvas& Canvas)
{
    TBitmap bitmap(Width(), Height());
    RenderTo(bitmap);
    Canvas.Draw(0, 0, bitmap);
}

void TkivTitleBar::RenderTo(TBitmap& bitmap)
{
    TCanvas& c = bitmap.Canvas();
    c.Brush().SetStyle(bsClear);
    c.Font().Assign(Font());
    DrawSections(bitmap);
    DrawButtonsAndCaption(bitmap);
}

void TkivTitleBar::PaintNow()
{
    if (Width() <= 0 || Height() <= 0) return;
    TBitmap bitmap(Width(), Height());
    RenderTo(bitmap);
    Invalidate();
}

void TkivTitleBar::DrawSections(TBitmap& bitmap)
{
    const bool inSkinForm = IsInSkinForm();
    int dx = 0, dy = 0;
    if (inSkinForm) {
        const int a = BorderAnswer();
        dx = a != 0 ? -a : -3;
        dy = -3;
    }
    int buttonSum = 0;
    for (int i = 0; i < buttons_.Count(); ++i)
        buttonSum += buttons_.Items(i)->PicNormal().Width() + button_interval_;
    const int bw = bitmap.Width();
    strip1_ = TBitmap(bw - 2 * dx, bitmap.Height() - dy, clBlack);
    strip1_.SetPixelFormat(pf24bit);
    strip2_ = TBitmap(strip1_.Width(), strip1_.Height(), form_color_);
    strip2_.SetPixelFormat(pf24bit);
    TCanvas& c = bitmap.Canvas();
    TCanvas& s1 = strip1_.Canvas();
    int left = dx, right = bw - dx, lastLeft = 0;
    bool captionDrawn = false;
    const TkivTitleBarSection* client = nullptr;
    for (int i = 0; i < sections_.Count(); ++i) {
        const TkivTitleBarSection& s = *sections_.Items(i);
        const TBitmap& p = s.Picture();
        if (s.CapSec()) {
            const int next = i + 1 < sections_.Count() ? sections_.Items(i + 1)->Width() : 0;
            fitted_caption_ = FitCaption(c, Caption(), bw - left_offset_ - buttonSum - next - 21);
            const int w = c.TextWidth(fitted_caption_) + left_offset_ - lastLeft + 17;
            if (!p.Empty() && w > 0) {
                c.StretchDraw({left, dy, left + w, dy + p.Height()}, p);
                s1.StretchDraw({left - dx, 0, left - dx + w, p.Height()}, p);
            }
            left += std::max(0, w);
            captionDrawn = true;
        } else if (s.Align() == kivLeft) {
            if (!p.Empty()) {
                c.Draw(left, dy, p);
                s1.Draw(left - dx, 0, p);
            }
            left += p.Width();
            lastLeft = p.Width();
        } else if (s.Align() == kivRight) {
            if (!p.Empty()) {
                TBitmap over(p.Width(), p.Height(), form_color_);
                over.Canvas().Draw(0, 0, p, trans_color_);
                c.Draw(right - p.Width(), dy, over);
                s1.Draw(right - dx - p.Width(), 0, p);
            }
            right -= p.Width();
        } else {
            client = &s;
        }
    }
    if (client && !client->Picture().Empty()) {
        const TBitmap& p = client->Picture();
        if (right > left) {
            c.StretchDraw({left, dy, right, dy + p.Height()}, p);
            s1.StretchDraw({left - dx, 0, right - dx, p.Height()}, p);
        }
    }
    strip2_.Canvas().Draw(0, 0, strip1_, trans_color_);
    // The skinned form paints its border over the window after the client
    // in the same pass, so a caption section needs no extra border paint.
    if (!captionDrawn) fitted_caption_.clear();
}

void TkivTitleBar::DrawButtonsAndCaption(TBitmap& bitmap)
{
    TCanvas& c = bitmap.Canvas();
    const int a = BorderAnswer();
    const int bw = bitmap.Width();
    int cursor = bw + a - right_offset_ - 1;
    hot_index_ = -1;
    button_rects_.assign(buttons_.Count(), TRect{});
    control_box_rect_ = {};
    TkivUIStyle effective;
    const bool file = TkivFileTheme::UsingFileTheme(file_theme_, ui_style_, effective);
    int controlBox = -1;
    auto pictureOf = [&](const TkivTitleBarButton& b, bool hot) -> const TBitmap& {
        if (hot) return pressed_ ? b.PicMouseDown() : b.PicMouseOn();
        return b.PicNormal();
    };
    auto drawButton = [&](const TkivTitleBarButton& b, const TBitmap& pic, int x, int y) {
        if (b.Transparent())
            c.Draw(x, y, pic, file ? trans_color_ : pic.Pixel(0, pic.Height() - 1));
        else
            c.Draw(x, y, pic);
    };
    for (int i = 0; i < buttons_.Count(); ++i) {
        const TkivTitleBarButton& b = *buttons_.Items(i);
        if (!b.Visible() || b.PicNormal().Empty() || b.PicMouseOn().Empty() || b.PicMouseDown().Empty())
            continue;
        if (b.ButtonType() == kivControlBox) {
            controlBox = i;
            continue;
        }
        const int w = b.PicNormal().Width(), h = b.PicNormal().Height();
        cursor -= b.ButtonType() == kivClose ? w : w + button_interval_ + 1;
        if (bw < cursor + w + 1) cursor = bw - w - 1;
        const TRect r{cursor, button_top_, cursor + w, button_top_ + h};
        button_rects_[i] = r;
        const bool hot = skin::PointInRect(mouse_, r);
        if (hot) hot_index_ = i;
        drawButton(b, pictureOf(b, hot), cursor, button_top_);
    }
    int x = std::max(0, left_offset_ - a - 3);
    if (controlBox >= 0) {
        const TkivTitleBarButton& b = *buttons_.Items(controlBox);
        const TBitmap& pic = b.PicNormal();
        const TRect r{x, button_top_, x + (draw_app_icon_ ? 16 : pic.Width()), button_top_ + pic.Height()};
        control_box_rect_ = r;
        button_rects_[controlBox] = r;
        const bool hot = skin::PointInRect(mouse_, r);
        if (hot) hot_index_ = controlBox;
        if (draw_app_icon_) {
            c.Draw(x + 3, button_top_, AppIcon(), clMagenta);
            x += 21;
        } else {
            drawButton(b, pictureOf(b, hot), x, button_top_ - 1);
            x += pic.Width() + 5;
        }
    }
    if (x == 0) x = 6;
    c.Font().Assign(Font());
    if (!form_active_) c.Font().SetColor(inactive_caption_color_);
    std::string text = Caption();
    if (!fitted_caption_.empty()) {
        text = fitted_caption_;
    } else if (c.TextWidth(text) > cursor - x) {
        const std::vector<char32_t> cps = ui::utf8::CodePoints(text);
        std::size_t n = cps.size();
        while (n > 0 && c.TextWidth(Prefix(cps, n) + "...") > cursor - x) --n;
        text = Prefix(cps, n) + "...";
    }
    drawn_caption_ = text;
    const int d = effective == TkivUIStyle::Protein && !file ? 3 : 0;
    c.Brush().SetStyle(bsClear);
    // A right-to-left bar ends its caption before the buttons, as far from
    // them as a left-to-right caption starts from the edge.
    const int at =
        skin::UseRightToLeftLayout(*this) ? std::max(x, cursor - kCaptionGap - c.TextWidth(text)) : x;
    c.TextOut(at, button_top_ + d, text);
}

void TkivTitleBar::MinimizeForm()
{
    TForm* form = HostForm();
    if (!form) return;
    form->SetWindowState(wsMinimized);
}

void TkivTitleBar::ToggleMaximize()
{
    TForm* form = HostForm();
    if (!form) return;
    if (form->WindowState() == wsMaximized) {
        form->SetWindowState(wsNormal);
    } else {
        form->SetWindowState(wsMaximized);
        if (!IsInSkinForm()) {
            const TRect area = skin::GetWorkAreaRect();
            form->SetBounds(area.Left - 2, area.Top - 2, area.Width() + 4, area.Height() + 1);
        }
    }
    for (int i = 0; i < buttons_.Count(); ++i)
        if (buttons_.Items(i)->ButtonType() == kivMax) buttons_.Items(i)->RefreshMaxPicture();
}

void TkivTitleBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    mouse_ = {X, Y};
    pressed_ = true;
    // The hot button as drawn now.
    TBitmap scratch(std::max(1, Width()), std::max(1, Height()));
    RenderTo(scratch);
    Invalidate();
    TForm* form = HostForm();
    if (form && hot_index_ < 0 && form->WindowState() != wsMaximized) {
        SetMouseCapture(false);
        pressed_ = false;
        form->BeginMoveDrag();
    }
}

void TkivTitleBar::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    mouse_ = {X, Y};
    Invalidate();
}

void TkivTitleBar::MouseLeave()
{
    TCustomControl::MouseLeave();
    mouse_ = {-1, -1};
    Invalidate();
}

void TkivTitleBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    mouse_ = {X, Y};
    TBitmap scratch(std::max(1, Width()), std::max(1, Height()));
    RenderTo(scratch);
    const int hot = hot_index_;
    const bool wasPressed = pressed_;
    pressed_ = false;
    Invalidate();
    if (hot < 0 || !wasPressed) return;
    TkivTitleBarButton* b = buttons_.Items(hot);
    if (b->ButtonType() == kivControlBox && !b->ControlBoxMenu()) {
        const TPoint p = ClientToScreen({0, Height()});
        system_menu_->Popup(p.X, p.Y);
        return;
    }
    b->DoAction();
    if (b->ButtonType() == kivCustom && OnCustomBtnsClick) OnCustomBtnsClick(this, hot);
    if (b->ButtonType() == kivHelp && OnHelpBtnClick) OnHelpBtnClick(this, hot);
}

void TkivTitleBar::DblClick()
{
    TCustomControl::DblClick();
    TBitmap scratch(std::max(1, Width()), std::max(1, Height()));
    RenderTo(scratch);
    if (hot_index_ < 0) {
        for (int i = 0; i < buttons_.Count(); ++i)
            if (buttons_.Items(i)->Visible() && buttons_.Items(i)->ButtonType() == kivMax) {
                buttons_.Items(i)->DoAction();
                break;
            }
    } else if (buttons_.Items(hot_index_)->ButtonType() == kivControlBox) {
        if (TForm* form = HostForm()) form->Close();
    }
}
