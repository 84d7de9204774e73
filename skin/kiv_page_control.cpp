#include "skin/kiv_page_control.h"

#include <algorithm>

#include "platform/ui/form.h"
#include "skin/kiv_public.h"
#include "skin/kiv_tab_sheet.h"

TkivPageControl::TkivPageControl(TComponent* AOwner) : TkivTab(AOwner)
{
    SetTabStop(true);
    CreateStrip();
    TopPanel()->Tabs().Clear();
    SetBounds(0, 0, 289, 193);
}

TkivPageControl::~TkivPageControl()
{
    for (TkivTabSheet* page : pages_) {
        page->page_control_ = nullptr;
        page->page_index_ = -1;
    }
    pages_.clear();
    active_ = nullptr;
}

TkivTabControlTopPanel* TkivPageControl::CreateTopPanel() { return new TkivPageControlTopPanel(this, this); }

TkivTabSheet* TkivPageControl::GetPage(int index) const
{
    return index >= 0 && index < PageCount() ? pages_[index] : nullptr;
}

int TkivPageControl::IndexOfPage(const TkivTabSheet* page) const
{
    const auto it = std::find(pages_.begin(), pages_.end(), page);
    return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

int TkivPageControl::GetActivePageIndex() const { return active_ ? active_->PageIndex() : 0; }

int TkivPageControl::GetTabImageIndex(int index) const
{
    const TkivTabSheet* page = GetPage(index);
    return page ? page->ImageIndex() : -1;
}

void TkivPageControl::BorderColorChanged()
{
    for (TkivTabSheet* page : pages_) page->border_color_ = BorderColor();
    if (active_) active_->Invalidate();
}

void TkivPageControl::ApplyUIStyleToPages(TkivUIStyle style, TkivFileTheme* theme)
{
    for (TkivTabSheet* page : pages_) {
        skin::ApplyUIStyleToChildren(*page, style, theme);
        page->SetColor(Color());
        page->border_color_ = BorderColor();
        page->SetAlign(alClient);
    }
}

void TkivPageControl::ColorChanged()
{
    TkivTab::ColorChanged();
    if (Loading()) return;
    for (TkivTabSheet* page : pages_) page->SetColor(Color());
}

void TkivPageControl::ChildChanged(TControl* child)
{
    TkivTab::ChildChanged(child);
    if (!child || child == TopPanel()) return;
    const auto it = std::find(pages_.begin(), pages_.end(), child);
    if (child->Parent() == this) {
        if (it == pages_.end())
            if (auto* sheet = dynamic_cast<TkivTabSheet*>(child)) AddPage(sheet);
    } else if (it != pages_.end()) {
        RemovePage(*it);
    }
}

void TkivPageControl::AddPage(TkivTabSheet* page)
{
    page->page_control_ = this;
    page->SetColor(Color());
    page->border_color_ = BorderColor();
    page->SetAlign(alClient);
    pages_.push_back(page);
    RenumberPages();
    RebuildTabCaptions();
    ActivatePage(page);
}

void TkivPageControl::RemovePage(TkivTabSheet* page)
{
    const int index = IndexOfPage(page);
    if (index < 0) return;
    auto& tabs = TopPanel()->Tabs();
    if (index < tabs.Count()) tabs.Delete(index);
    pages_.erase(pages_.begin() + index);
    page->page_control_ = nullptr;
    page->page_index_ = -1;
    RenumberPages();
    SelectPageByIndex(index - 1);
}

void TkivPageControl::RenumberPages()
{
    for (int i = 0; i < PageCount(); ++i) pages_[i]->page_index_ = i;
    // The tabs' shown flags go by position: keep them with their pages.
    CopyTabVisibility();
}

void TkivPageControl::RebuildTabCaptions()
{
    TStrings& tabs = TopPanel()->Tabs();
    tabs.BeginUpdate();
    tabs.Clear();
    for (TkivTabSheet* page : pages_) tabs.Add(page->Caption());
    tabs.EndUpdate();
}

void TkivPageControl::CopyTabVisibility()
{
    TopPanel()->tab_shown_.assign(pages_.size(), true);
    for (int i = 0; i < PageCount(); ++i) TopPanel()->tab_shown_[i] = pages_[i]->tab_visible_;
    TopPanel()->Refresh();
}

void TkivPageControl::HidePage(TkivTabSheet* page)
{
    page->SetEnabled(false);
    if (page->OnHide && !page->EventsMuted()) page->OnHide(page);
}

void TkivPageControl::ShowPage(TkivTabSheet* page)
{
    page->SetVisible(true);
    page->SetEnabled(true);
    page->BringToFront();
    page->Invalidate();
}

void TkivPageControl::ActivatePage(TkivTabSheet* page)
{
    if (page && page->page_control_ != this) return;
    if (active_ && active_ != page) HidePage(active_);
    active_ = page;
    if (!page) {
        // No tab stands for an active page, so any tab can be chosen again.
        TopPanel()->tab_index_ = -1;
        TopPanel()->Refresh();
        return;
    }
    SetTabIndex(page->PageIndex());
    ShowPage(page);
    if (page->OnShow && !page->EventsMuted()) page->OnShow(page);
}

void TkivPageControl::SelectPageByIndex(int index)
{
    if (active_ && active_->PageIndex() != index) {
        TkivTabSheet* old = active_;
        active_ = nullptr;  // it hears OnHide once
        HidePage(old);
    }
    if (index < 0 || index >= TopPanel()->Tabs().Count() || index >= PageCount()) {
        ActivatePage(nullptr);
        return;
    }
    SetTabIndex(index);
    TopPanel()->SetTabIndex(index);
    TkivTabSheet* page = pages_[index];
    active_ = page;
    ShowPage(page);
    if (page->OnShow && !page->EventsMuted()) page->OnShow(page);
}

void TkivPageControl::SelectNeighbourPage(int index)
{
    for (int i = std::min(index, PageCount()) - 1; i >= 0; --i)
        if (pages_[i]->TabVisible()) return SelectPageByIndex(i);
    for (int i = index + 1; i < PageCount(); ++i)
        if (pages_[i]->TabVisible()) return SelectPageByIndex(i);
}

void TkivPageControl::MovePage(TkivTabSheet* page, int& index)
{
    const int from = IndexOfPage(page);
    if (from < 0) return;
    if (index < 0 || index >= PageCount()) {
        index = from;
        return;
    }
    pages_.erase(pages_.begin() + from);
    pages_.insert(pages_.begin() + index, page);
    RenumberPages();
    RebuildTabCaptions();
    ActivatePage(page);
}

void TkivPageControl::TabActivated(int index)
{
    TkivTabSheet* page = GetPage(index);
    if (active_ && active_->PageIndex() != index) {
        TkivTabSheet* old = active_;
        active_ = nullptr;  // no tab chosen: no page active either
        HidePage(old);
    }
    if (page) {
        active_ = page;
        ShowPage(page);
        if (!EventsMuted() && page->ControlCount() > 0) {
            TControl* first = page->Controls(0);
            TForm* form = ParentForm();
            try {
                if (form && first->Visible() && first->CanFocus()) form->SetActiveControl(first);
            } catch (...) {
                // A control that refuses the focus leaves it where it was.
            }
        }
        if (page->OnShow && !page->EventsMuted()) page->OnShow(page);
    }
    TkivTab::TabActivated(index);
}

std::vector<std::string> TkivPageControl::PagesProperty() const
{
    std::vector<std::string> names;
    for (const TkivTabSheet* page : pages_) names.push_back(page->Name());
    return names;
}

void TkivPageControl::SortPagesByNames()
{
    auto rank = [this](const TkivTabSheet* page) {
        const auto it = std::find(names_.begin(), names_.end(), page->Name());
        return it == names_.end() ? static_cast<int>(names_.size()) : static_cast<int>(it - names_.begin());
    };
    std::stable_sort(pages_.begin(), pages_.end(),
                     [&](const TkivTabSheet* a, const TkivTabSheet* b) { return rank(a) < rank(b); });
    RenumberPages();
    RebuildTabCaptions();
    // The strip's tab follows the active page to its new place.
    TopPanel()->tab_index_ = active_ ? active_->PageIndex() : -1;
    TopPanel()->Refresh();
}
