#pragma once
// Menus: items in a tree, popup menus that track modally, and main menus
// that answer their shortcuts. Items can be drawn by their owner
// (OnMeasureItem, OnDrawItem), which the skinned menus do.
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/control.h"

class TCanvas;

// A key with modifier bits: key | scShift | scCtrl | scAlt.
using TShortCut = uint32_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
TShortCut ShortCut(uint16_t key, TShiftState shift);
// "Ctrl+S", "F4", "Shift+Del"; empty for no shortcut.
std::string ShortCutToText(TShortCut shortcut);

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner = nullptr);
    ~TMenuItem() override;

    // Changes of caption, enabled state and visibility are told to the
    // menu (MenuChanged), so what shows the menu can follow.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c);
    bool IsLine() const { return caption_ == "-"; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    bool Visible() const { return visible_; }
    void SetVisible(bool on);
    bool Checked() const { return checked_; }
    void SetChecked(bool on) { checked_ = on; }
    bool Default() const { return default_; }
    void SetDefault(bool on) { default_ = on; }
    int ImageIndex() const { return image_index_; }
    void SetImageIndex(int i) { image_index_ = i; }
    TShortCut ShortCut() const { return shortcut_; }
    void SetShortCut(TShortCut s) { shortcut_ = s; }
    int Tag() const { return tag_; }
    void SetTag(int t) { tag_ = t; }

    // Sub-items, freed with this item unless removed first.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(index); }
    TMenuItem* operator[](int index) const { return Items(index); }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    void Delete(int index);
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
    // The menu whose tree holds this item, or nullptr.
    class TMenu* GetParentMenu() const;

    virtual void Click();

    TNotifyEvent OnClick;
    std::function<void(TObject* Sender, TCanvas& Canvas, int& Width, int& Height)> OnMeasureItem;
    std::function<void(TObject* Sender, TCanvas& Canvas, TRect Rect, bool Selected)> OnDrawItem;

private:
    void Changed(bool rebuild);
    std::string caption_;
    bool enabled_ = true, visible_ = true, checked_ = false, default_ = false;
    int image_index_ = -1;
    TShortCut shortcut_ = 0;
    int tag_ = 0;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    class TMenu* menu_ = nullptr;  // set on a menu's root item only
    friend class TMenu;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner = nullptr);
    ~TMenu() override;
    TMenuItem* Items() const { return items_; }
    virtual bool OwnerDraw() const { return owner_draw_; }
    virtual void SetOwnerDraw(bool on) { owner_draw_ = on; }
    // A menu that takes its owner's mode (ParentBiDiMode, the default)
    // reads right to left as the control that owns it does.
    TBiDiMode BiDiMode() const;
    void SetBiDiMode(TBiDiMode m)
    {
        bidi_mode_ = m;
        parent_bidi_mode_ = false;
    }
    bool ParentBiDiMode() const { return parent_bidi_mode_; }
    void SetParentBiDiMode(bool on) { parent_bidi_mode_ = on; }
    // The item whose shortcut this is (searching sub-items), or nullptr.
    TMenuItem* FindItemByShortCut(TShortCut shortcut) const;
    // Runs the item of a shortcut key; true when one ran.
    bool IsShortCut(uint16_t key, TShiftState shift);
    // An item joined or left the menu's tree (Source, Rebuild true), or an
    // item's caption or enabled state changed (Rebuild false), anywhere in it.
    virtual void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild);

private:
    TMenuItem* items_;
    bool owner_draw_ = false;
    TBiDiMode bidi_mode_ = bdLeftToRight;
    bool parent_bidi_mode_ = true;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner = nullptr);
    // Shows the menu at a screen point and tracks it modally: arrow keys
    // move over the items (skipping separators), Enter or a click chooses,
    // Escape or a click elsewhere closes, a mnemonic chooses its item. The
    // chosen item's Click runs after the menu has closed.
    virtual void Popup(int X, int Y);
    TComponent* PopupComponent() const { return popup_component_; }
    void SetPopupComponent(TComponent* c) { popup_component_ = c; }
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment a) { alignment_ = a; }
    bool AutoPopup() const { return auto_popup_; }
    void SetAutoPopup(bool on) { auto_popup_ = on; }
    // The item chosen by the last Popup (nullptr: closed without a choice).
    TMenuItem* LastChosen() const { return last_chosen_; }
    TNotifyEvent OnPopup;

private:
    TComponent* popup_component_ = nullptr;
    TPopupAlignment alignment_ = paLeft;
    bool auto_popup_ = true;
    TMenuItem* last_chosen_ = nullptr;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* AOwner = nullptr) : TMenu(AOwner) {}
};

namespace ui {
// The menu window of a running popup, for tests: nullptr when none runs.
class TForm* RunningMenuWindow();
// The menu window that is painting itself on this canvas (owner-drawn
// items draw on their window's canvas), or nullptr.
class TForm* MenuWindowOf(const TCanvas& canvas);
}  // namespace ui
