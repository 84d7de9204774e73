#include "skin/kiv_tab_sheet.h"

#include "platform/gfx/canvas.h"
#include "skin/kiv_page_control.h"

TkivTabSheet::TkivTabSheet(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetCaption(" ");
    SetAlign(alClient);
}

TkivTabSheet::~TkivTabSheet()
{
    // Off the page control first, while it can still tell a sheet is leaving.
    if (page_control_) SetParent(nullptr);
}

void TkivTabSheet::SetPageControl(TkivPageControl* control)
{
    if (control == page_control_) return;
    SetParent(control);
}

void TkivTabSheet::SetPageIndex(int index)
{
    if (page_control_) page_control_->MovePage(this, index);
}

void TkivTabSheet::SetTabVisible(bool on)
{
    tab_visible_ = on;
    if (!page_control_) return;
    page_control_->TopPanel()->SetTabShown(page_index_, on);
    if (!on && page_control_->ActivePage() == this) page_control_->SelectNeighbourPage(page_index_);
}

void TkivTabSheet::SetImageIndex(int index)
{
    if (!page_control_) return;
    image_index_ = index;
    page_control_->TopPanel()->Refresh();
}

std::string TkivTabSheet::PageControlProperty() const
{
    return page_control_ ? page_control_->Name() : std::string();
}

void TkivTabSheet::ReadPageControlProperty(const std::string& name)
{
    TComponent* owner = Owner();
    auto* control = owner ? dynamic_cast<TkivPageControl*>(owner->FindComponent(name)) : nullptr;
    if (!control) return;
    SetPageControl(control);
    if (static_cast<int>(control->names_.size()) == control->PageCount()) {
        control->SortPagesByNames();
        control->CopyTabVisibility();
    }
}

void TkivTabSheet::TextChanged()
{
    if (page_control_) page_control_->RebuildTabCaptions();
}

void TkivTabSheet::Paint(TCanvas& Canvas)
{
    Canvas.Brush().SetColor(Color());
    Canvas.FillRect(ClientRect());
}
