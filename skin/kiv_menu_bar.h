#pragma once
// TkivMenuBar: a skinned form's main menu, shown under the title bar as a
// row of drop-down buttons (one per top-level item) drawn in the colours
// of the form's style or skin. The bar belongs to its TkivForm.
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "skin/kiv_themes.h"

class TkivForm;
class TMenuItem;
class TPopupMenu;

class TkivMenuBar : public TCustomControl {
public:
    // The button's state as drawn.
    enum class ButtonState { Normal, Hot, Pressed };
    struct Button {
        TMenuItem* item = nullptr;
        std::string caption;
        bool enabled = true;
        TRect rect{};
    };

    explicit TkivMenuBar(TkivForm* form);

    TkivForm* Form() const { return form_; }
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    const Button& Buttons(int index) const { return buttons_.at(index); }
    // One button per visible top-level item of the menu, in menu order
    // (the same items keep their buttons and states).
    void Rebuild();
    // Captions and enabled states again from the items.
    void RefreshButtons();
    void SetButtonHeight(int h);
    int HotIndex() const { return hot_; }
    // Drops the button's item down (its sub-items as a popup menu, drawn
    // as the menu draws them).
    void DropDown(int index);
    // The style and skin the bar is drawn in: a TkivMainMenu's own, else
    // the form's.
    TkivUIStyle GoverningStyle() const;
    TkivFileTheme* GoverningTheme() const;

    void Paint(TCanvas& Canvas) override;

protected:
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Resize() override;
    void FontChanged() override { Layout(); }

private:
    void Layout();
    // The captions' font: a TkivMainMenu's, else the bar's own.
    void ButtonFont(TFont& font) const;
    int ButtonAt(int x, int y) const;
    void DrawButton(TCanvas& canvas, const Button& b, ButtonState state);

    TkivForm* form_;
    std::vector<Button> buttons_;
    int button_height_ = 22;
    int hot_ = -1;
    int pressed_ = -1;
};
