#pragma once
// TkivTabSheet: one page of a TkivPageControl; its caption is the tab's
// text. A sheet belongs to the page control that is its parent.
#include <string>

#include "platform/ui/control.h"

class TkivPageControl;

class TkivTabSheet : public TCustomControl {
public:
    explicit TkivTabSheet(TComponent* AOwner = nullptr);
    ~TkivTabSheet() override;

    TkivPageControl* PageControl() const { return page_control_; }
    // Moves the sheet into a page control (nullptr: out of it).
    void SetPageControl(TkivPageControl* control);
    // Position among its control's pages; -1 outside a control.
    int PageIndex() const { return page_index_; }
    // Only while attached; outside the pages nothing changes.
    void SetPageIndex(int index);
    bool TabVisible() const { return tab_visible_; }
    void SetTabVisible(bool on);
    // The tab's image in the page control's Images; a detached sheet drops it.
    int ImageIndex() const { return image_index_; }
    void SetImageIndex(int index);
    // Not read by the drawing; kept for the page control.
    TColor BorderColor() const { return border_color_; }

    // Becoming the active page and ceasing to be it.
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

    // What the form stores as "PageControl": the name of its page control.
    std::string PageControlProperty() const;
    // Reading "PageControl" while the form loads: joins the owner's
    // component of that name.
    void ReadPageControlProperty(const std::string& name);

    void Paint(TCanvas& Canvas) override;

protected:
    void TextChanged() override;

private:
    friend class TkivPageControl;
    TkivPageControl* page_control_ = nullptr;
    int page_index_ = -1;
    bool tab_visible_ = true;
    int image_index_ = -1;
    TColor border_color_ = clBlack;
};
