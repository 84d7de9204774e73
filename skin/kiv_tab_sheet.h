#pragma once
// TkivTabSheet: one page of a TkivPageControl; its caption is the tab's
// text. Only the active page of its control is shown.
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
    int PageIndex() const;
    bool TabVisible() const { return tab_visible_; }
    void SetTabVisible(bool on);

    void Paint(TCanvas& Canvas) override;

protected:
    void TextChanged() override;

private:
    friend class TkivPageControl;
    TkivPageControl* page_control_ = nullptr;
    bool tab_visible_ = true;
};
