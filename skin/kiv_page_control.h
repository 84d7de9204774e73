#pragma once
// TkivPageControl: a row of tabs over a stack of TkivTabSheet pages, one of
// them active and shown.
#include <vector>

#include "platform/ui/control.h"

class TkivTabSheet;

class TkivPageControl : public TCustomControl {
public:
    explicit TkivPageControl(TComponent* AOwner = nullptr);
    ~TkivPageControl() override;

    static constexpr int kTabHeight = 20;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TkivTabSheet* Pages(int index) const { return pages_.at(index); }
    int IndexOfPage(const TkivTabSheet* page) const;
    TkivTabSheet* ActivePage() const { return active_; }
    void SetActivePage(TkivTabSheet* page);
    int ActivePageIndex() const { return active_ ? IndexOfPage(active_) : -1; }
    void SetActivePageIndex(int index);

    // The user chose another tab.
    TNotifyEvent OnChange;

    void AdjustClientRect(TRect& Rect) const override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint(TCanvas& Canvas) override;

protected:
    void Resize() override;

private:
    friend class TkivTabSheet;
    void InsertPage(TkivTabSheet* page);
    void RemovePage(TkivTabSheet* page);
    TRect PageRect() const;
    // The tab rectangles of the pages (empty for hidden tabs).
    std::vector<TRect> TabRects();
    std::vector<TkivTabSheet*> pages_;
    TkivTabSheet* active_ = nullptr;
};
