#pragma once
// TkivMainMenu: a main menu whose items draw themselves in the colours of
// the current UI style, shown by a skinned form in its own menu bar.
#include <memory>

#include "skin/kiv_menu_drawing.h"

// What shows a main menu in its menu bar (the skinned form) does for it.
class IkivMenuBarHost {
public:
    virtual ~IkivMenuBarHost() = default;
    virtual void RebuildMenuBar() = 0;
    virtual void RefreshMenuBar() = 0;
    virtual void UpdateMenuBarFont() = 0;
};

class TkivMainMenu : public TkivMenuBase<TMainMenu> {
public:
    explicit TkivMainMenu(TComponent* AOwner = nullptr);
    ~TkivMainMenu() override;

    // The form that shows this menu in its menu bar (set by that form).
    IkivMenuBarHost* MenuForm() const { return menu_form_; }
    void SetMenuForm(IkivMenuBarHost* host) { menu_form_ = host; }

    // nullptr while the menu's own check-mark list is installed; setting
    // nullptr installs that list again.
    TCustomImageList* Images() const override;
    void SetImages(TCustomImageList* images) override;
    void SetUseSystemFont(bool on) override;

    // Hooks the items, then has the menu bar built again.
    void HookItems() override;
    // Items joining or leaving the menu rebuild the bar; a changed caption
    // or enabled state refreshes it.
    void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;

protected:
    const TCustomImageList& CheckImages() const override { return *check_images_; }
    void MenuFontChanged() override;

private:
    std::unique_ptr<TCustomImageList> check_images_;
    IkivMenuBarHost* menu_form_ = nullptr;
};
