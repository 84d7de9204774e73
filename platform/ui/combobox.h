#pragma once
// TComboBox as a drop-down list: the box shows the selected item; the list
// drops down below it in a popup window.
#include "platform/ui/control.h"
#include "platform/ui/strings.h"

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TComboBox : public TCustomControl {
public:
    explicit TComboBox(TComponent* AOwner = nullptr);

    TStrings& Items() { return items_; }
    const TStrings& Items() const { return items_; }
    int ItemIndex() const { return item_index_; }
    // By the program: no OnChange.
    void SetItemIndex(int index);
    // The selected item's text ("" when none).
    std::string Text() const;
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle s) { style_ = s; }
    int DropDownCount() const { return drop_down_count_; }
    void SetDropDownCount(int n) { drop_down_count_ = n < 1 ? 1 : n; }
    bool DroppedDown() const { return dropped_; }
    // Drops the list and tracks it until the user chooses or leaves.
    void DropDown();
    void Clear() { items_.Clear(); }

    TNotifyEvent OnChange;  // the user chose another item
    TNotifyEvent OnSelect;  // the user chose an item
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

    unsigned WantedKeys() const override { return dlgcWantArrows; }
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    TRect NonClientInsets() const override { return {2, 2, 2, 2}; }
    void Paint(TCanvas& Canvas) override;
    void PaintNonClient(TCanvas& Canvas) override;
    // The drop-down button in client pixels: on the right, on the left
    // right to left.
    TRect ButtonRect() const;

private:
    void ChooseByUser(int index);
    TStrings items_;
    int item_index_ = -1;
    TComboBoxStyle style_ = csDropDownList;
    int drop_down_count_ = 8;
    bool dropped_ = false;
};
