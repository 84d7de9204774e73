#include "skin/kiv_tab_sheet.h"

#include "platform/gfx/canvas.h"
#include "skin/kiv_page_control.h"

TkivTabSheet::TkivTabSheet(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetVisible(false);
}

TkivTabSheet::~TkivTabSheet() { SetPageControl(nullptr); }

void TkivTabSheet::SetPageControl(TkivPageControl* control)
{
    if (control == page_control_) return;
    if (page_control_) page_control_->RemovePage(this);
    page_control_ = control;
    if (control) control->InsertPage(this);
    else SetParent(nullptr);
}

int TkivTabSheet::PageIndex() const
{
    return page_control_ ? page_control_->IndexOfPage(this) : -1;
}

void TkivTabSheet::SetTabVisible(bool on)
{
    tab_visible_ = on;
    if (page_control_) page_control_->Invalidate();
}

void TkivTabSheet::TextChanged()
{
    if (page_control_) page_control_->Invalidate();
}

void TkivTabSheet::Paint(TCanvas& Canvas)
{
    Canvas.Brush().SetColor(Color());
    Canvas.FillRect(ClientRect());
}
