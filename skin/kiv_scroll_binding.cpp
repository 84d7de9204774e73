#include "skin/kiv_scroll_binding.h"

#include <algorithm>

#include "platform/ui/control.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_scroll_bar.h"
#include "skin/kiv_themes.h"

namespace skin {

namespace {

// The bar draws its slider from LineButton and can hide it; both are
// optional parts of the bar, so they are set only where the bar has them.
template <class Bar>
void SetLineButton(Bar& bar, int length)
{
    if constexpr (requires { bar.SetLineButton(length); }) bar.SetLineButton(length);
}

template <class Bar>
void SetSliderVisible(Bar& bar, bool on)
{
    if constexpr (requires { bar.SetSliderVisible(on); }) bar.SetSliderVisible(on);
}

int BarLength(const TkivScrollBar& bar, TScrollBarKind kind)
{
    return kind == sbVertical ? bar.Height() : bar.Width();
}

int BarThickness(const TkivScrollBar& bar, TScrollBarKind kind)
{
    return kind == sbVertical ? bar.Width() : bar.Height();
}

}  // namespace

int ThumbLength(const TScrollInfo& info, int length, int thickness)
{
    if (!info.Usable()) return 0;
    const int track = std::max(0, length - 2 * thickness);
    const int range = info.Max - info.Min + 1;
    const int thumb = std::max(8, track * std::min(info.Page, range) / range);
    return std::min(thumb, track);
}

bool BoundScrollBar::Bind(TkivScrollBar* bar)
{
    if (bar == bar_) return false;
    if (bar_) {
        TkivScrollBar* old = bar_;
        bar_ = nullptr;
        old->OnChange = nullptr;
        SetLineButton(*old, 0);
        old->SetMax(100);
        old->SetEnabled(true);
        owner_->RemoveFreeNotification(old);
    }
    bar_ = bar;
    if (!bar_) return true;
    bar_->SetKind(kind_);
    bar_->OnChange = [this](TObject*) {
        if (writing_ || !moved_) return;
        moved_();
    };
    owner_->FreeNotification(bar_);
    bar_->BringToFront();
    known_position_ = bar_->Position();
    return true;
}

void BoundScrollBar::Release()
{
    if (!bar_) return;
    bar_->OnChange = nullptr;
    owner_->RemoveFreeNotification(bar_);
    bar_ = nullptr;
}

void BoundScrollBar::Mirror(const TScrollInfo& info, bool controlEnabled, bool controlVisible,
                            UnusableBar unusable)
{
    if (!bar_) return;
    TkivScrollBar& bar = *bar_;
    writing_ = true;
    if (unusable == UnusableBar::Hide) {
        if (!info.Usable()) {
            SetLineButton(bar, 0);
            bar.SetEnabled(false);
            bar.SetVisible(false);
        } else if (controlEnabled) {
            SetLineButton(bar, ThumbLength(info, BarLength(bar, kind_), BarThickness(bar, kind_)));
            bar.SetEnabled(true);
            bar.SetVisible(controlVisible);
        } else {
            bar.SetEnabled(false);
        }
    } else {
        if (info.Usable() && controlEnabled) {
            SetLineButton(bar, ThumbLength(info, BarLength(bar, kind_), BarThickness(bar, kind_)));
            // A click on an arrow moves a few pages of the bar sideways; never
            // nothing, which would leave the arrows dead.
            if (kind_ == sbHorizontal) bar.SetSmallChange(std::max(1, 3 * bar.PageSize()));
            bar.SetEnabled(true);
            SetSliderVisible(bar, true);
        } else {
            SetLineButton(bar, 0);
            bar.SetEnabled(false);
            SetSliderVisible(bar, false);
        }
    }
    bar.SetMax(info.Max - info.Page + 1);
    bar.SetMin(info.Min);
    bar.SetPosition(info.Pos);
    known_position_ = bar.Position();
    writing_ = false;
}

int BoundScrollBar::TakeChange()
{
    if (!bar_) return 0;
    const int change = bar_->Position() - known_position_;
    known_position_ = bar_->Position();
    return change;
}

void BoundScrollBar::SetStyle(TkivUIStyle effective)
{
    if (auto* styled = dynamic_cast<IkivStyled*>(bar_)) styled->SetUIStyle(effective);
}

void BoundScrollBar::SetTheme(TkivFileTheme* theme)
{
    if (auto* styled = dynamic_cast<IkivStyled*>(bar_)) styled->SetFileTheme(theme);
}

}  // namespace skin
