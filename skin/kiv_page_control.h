#pragma once
// TkivPageControl: a TkivTab that shows one TkivTabSheet page at a time and
// one tab per page in its strip. A sheet joins the page control that
// becomes its parent and leaves it with its parent; the page list keeps
// the tab order.
#include <string>
#include <vector>

#include "skin/kiv_tab_control.h"

class TkivTabSheet;

// The page control's strip.
class TkivPageControlTopPanel : public TkivTabControlTopPanel {
public:
    using TkivTabControlTopPanel::TkivTabControlTopPanel;
};

class TkivPageControl : public TkivTab {
public:
    explicit TkivPageControl(TComponent* AOwner = nullptr);
    ~TkivPageControl() override;

    // The strip's height in the built-in styles (forms lay pages out by it).
    static constexpr int kTabHeight = 24;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    // Page i; Pages throws outside 0 .. PageCount-1, GetPage gives nullptr.
    TkivTabSheet* Pages(int index) const { return pages_.at(index); }
    TkivTabSheet* GetPage(int index) const;
    int IndexOfPage(const TkivTabSheet* page) const;
    TkivTabSheet* ActivePage() const { return active_; }
    void SetActivePage(TkivTabSheet* page) { ActivatePage(page); }
    // PageIndex of the active page; 0 when there is none.
    int GetActivePageIndex() const;
    int ActivePageIndex() const { return GetActivePageIndex(); }
    // Activates page i (none outside the pages).
    void SetActivePageIndex(int index) { ActivatePage(GetPage(index)); }

    void ActivatePage(TkivTabSheet* page);
    void SelectPageByIndex(int index);
    // The active page's tab n was hidden: the nearest shown tab on the
    // left, else on the right, is selected.
    void SelectNeighbourPage(int index);
    // Moves the page to position n; outside the pages n becomes its own index.
    void MovePage(TkivTabSheet* page, int& index);

    // What the form stores as "Pages": the names of the pages in order.
    std::vector<std::string> PagesProperty() const;
    // Reading "Pages" while the form loads; the sheets sort themselves by
    // it once the last one has joined.
    void ReadPagesProperty(const std::vector<std::string>& names) { names_ = names; }

protected:
    TkivTabControlTopPanel* CreateTopPanel() override;
    int GetTabImageIndex(int index) const override;
    void BorderColorChanged() override;
    void TabActivated(int index) override;
    void ApplyUIStyleToPages(TkivUIStyle style, TkivFileTheme* theme) override;
    void ColorChanged() override;
    void ChildChanged(TControl* child) override;

private:
    friend class TkivTabSheet;
    void AddPage(TkivTabSheet* page);
    void RemovePage(TkivTabSheet* page);
    void RenumberPages();
    void RebuildTabCaptions();
    // The strip's TabShown slots from the pages' TabVisible flags.
    void CopyTabVisibility();
    void SortPagesByNames();
    void ShowPage(TkivTabSheet* page);
    void HidePage(TkivTabSheet* page);

    std::vector<TkivTabSheet*> pages_;
    std::vector<std::string> names_;
    TkivTabSheet* active_ = nullptr;
};
