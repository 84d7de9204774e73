#include "skin/kiv_page_control.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/ui/draw.h"
#include "skin/kiv_tab_sheet.h"

TkivPageControl::TkivPageControl(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetTabStop(true);
    SetFocusable(true);
    SetBounds(0, 0, 289, 193);
}

TkivPageControl::~TkivPageControl()
{
    for (TkivTabSheet* page : pages_) page->page_control_ = nullptr;
}

int TkivPageControl::IndexOfPage(const TkivTabSheet* page) const
{
    const auto it = std::find(pages_.begin(), pages_.end(), page);
    return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

TRect TkivPageControl::PageRect() const
{
    return {2, kTabHeight + 2, std::max(2, ClientWidth() - 2), std::max(kTabHeight + 2, ClientHeight() - 2)};
}

void TkivPageControl::InsertPage(TkivTabSheet* page)
{
    pages_.push_back(page);
    page->SetParent(this);
    page->SetBoundsRect(PageRect());
    if (!active_) SetActivePage(page);
    else page->SetVisible(false);
    Invalidate();
}

void TkivPageControl::RemovePage(TkivTabSheet* page)
{
    const int index = IndexOfPage(page);
    if (index < 0) return;
    pages_.erase(pages_.begin() + index);
    if (active_ == page) {
        active_ = nullptr;
        if (!pages_.empty()) SetActivePage(pages_[std::min<size_t>(index, pages_.size() - 1)]);
    }
    Invalidate();
}

void TkivPageControl::SetActivePage(TkivTabSheet* page)
{
    if (page && IndexOfPage(page) < 0) return;
    if (page == active_) return;
    if (active_) active_->SetVisible(false);
    active_ = page;
    if (active_) {
        active_->SetBoundsRect(PageRect());
        active_->SetVisible(true);
        active_->BringToFront();
    }
    Invalidate();
}

void TkivPageControl::SetActivePageIndex(int index)
{
    SetActivePage(index >= 0 && index < PageCount() ? pages_[index] : nullptr);
}

void TkivPageControl::AdjustClientRect(TRect& Rect) const
{
    Rect = PageRect();
}

void TkivPageControl::Resize()
{
    TCustomControl::Resize();
    for (TkivTabSheet* page : pages_) page->SetBoundsRect(PageRect());
}

std::vector<TRect> TkivPageControl::TabRects()
{
    std::vector<TRect> rects;
    TBitmap scratch;
    scratch.SetSize(1, 1);
    TCanvas measure(scratch);
    measure.Font().Assign(Font());
    int x = 2;
    for (TkivTabSheet* page : pages_) {
        if (!page->TabVisible()) {
            rects.push_back({});
            continue;
        }
        const int width = measure.TextWidth(page->Caption()) + 12;
        rects.push_back({x, 0, x + width, kTabHeight + 2});
        x += width;
    }
    return rects;
}

void TkivPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || Y >= kTabHeight) return;
    const std::vector<TRect> rects = TabRects();
    for (size_t i = 0; i < rects.size(); ++i) {
        const TRect& r = rects[i];
        if (X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom && pages_[i] != active_) {
            SetActivePage(pages_[i]);
            if (OnChange && !EventsMuted()) OnChange(this);
            return;
        }
    }
}

void TkivPageControl::Paint(TCanvas& Canvas)
{
    Canvas.Brush().SetColor(Color());
    Canvas.FillRect(ClientRect());
    const TRect body{0, kTabHeight, ClientWidth(), ClientHeight()};
    ui::DrawEdge1(Canvas, body, true);
    const std::vector<TRect> rects = TabRects();
    Canvas.Font().Assign(Font());
    if (!EffectivelyEnabled()) Canvas.Font().SetColor(clGray);
    for (size_t i = 0; i < rects.size(); ++i) {
        TRect r = rects[i];
        if (r.Width() <= 0) continue;
        if (pages_[i] != active_) r.Top += 2;
        Canvas.Brush().SetColor(Color());
        Canvas.FillRect(r);
        ui::DrawEdge1(Canvas, r, true);
        Canvas.Brush().SetStyle(bsClear);
        Canvas.TextOut(r.Left + 6, r.Top + (r.Height() - Canvas.TextHeight("Ag")) / 2, pages_[i]->Caption());
    }
}
