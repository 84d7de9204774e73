#pragma once
// TListBox: a list of text items with one selected item, fixed item
// height, an owner-draw hook and a vertical scroll bar.
#include <functional>

#include "platform/ui/control.h"
#include "platform/ui/scrollbar_part.h"
#include "platform/ui/strings.h"

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };
using TOwnerDrawState = unsigned;
constexpr TOwnerDrawState odSelected = 1;
constexpr TOwnerDrawState odFocused = 2;
constexpr TOwnerDrawState odDisabled = 4;
using TDrawItemEvent = std::function<void(TControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;

class TListBox : public TCustomControl {
public:
    explicit TListBox(TComponent* AOwner = nullptr);

    TStrings& Items() { return items_; }
    const TStrings& Items() const { return items_; }
    int Count() const { return items_.Count(); }
    int ItemIndex() const { return item_index_; }
    void SetItemIndex(int index);  // -1: none; shows the item
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle s);
    int ItemHeight() const { return item_height_; }
    void SetItemHeight(int h);
    TBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TBorderStyle s);
    int TopIndex() const { return top_index_; }
    void SetTopIndex(int index);
    // Items that fit fully in the client area.
    int VisibleItems() const;
    int ItemAtPos(TPoint p, bool existing) const;
    TRect ItemRect(int index) const;
    void Clear() { items_.Clear(); }
    // The canvas of the paint in progress, for OnDrawItem.
    TCanvas* Canvas() const { return TCustomControl::Canvas(); }

    // Vertical bar in items: Min 0, Max Count - 1, Page visible items.
    TScrollInfo VertScrollInfo() const;
    intptr_t Perform(unsigned Msg, intptr_t WParam = 0, intptr_t LParam = 0) override;

    TDrawItemEvent OnDrawItem;
    // After the user moved the selection (click or key); OnClick follows the click.
    TNotifyEvent OnChange;
    // After the list scrolled, for bound external bars.
    TNotifyEvent OnScroll;

    TRect NonClientInsets() const override;
    unsigned WantedKeys() const override { return dlgcWantArrows; }
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void Paint(TCanvas& Canvas) override;
    void PaintNonClient(TCanvas& Canvas) override;

protected:
    void Resize() override;
    void FontChanged() override;
    void BiDiModeChanged() override;
    virtual void DrawItem(TCanvas& canvas, int index, TRect rect, TOwnerDrawState state);

private:
    void ItemsChanged();
    void UpdateBar();
    bool BarVisible() const;
    void SelectByUser(int index);
    TStrings items_;
    int item_index_ = -1;
    int top_index_ = 0;
    TListBoxStyle style_ = lbStandard;
    int item_height_ = 13;
    bool item_height_set_ = false;
    TBorderStyle border_style_ = bsSingle;
    ui::ScrollBarPart bar_{sbVertical};
};
