#pragma once
// TListView in report view: columns with caption, width and alignment;
// items with a caption and sub-items; one selected item, or with
// MultiSelect any number (Ctrl+click toggles, Shift+click and Shift+arrows
// extend from the anchor, Ctrl+A takes all). The model works while the
// control is hidden, which the program relies on for its data tables.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/scrollbar_part.h"
#include "platform/ui/strings.h"

class TListView;

class TListColumn {
public:
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c);
    int Width() const { return width_; }
    void SetWidth(int w);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    int Index() const;

private:
    friend class TListColumns;
    explicit TListColumn(TListView* view) : view_(view) {}
    TListView* view_;
    std::string caption_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
};

class TListColumns {
public:
    explicit TListColumns(TListView* view) : view_(view) {}
    TListColumn* Add();
    int Count() const { return static_cast<int>(columns_.size()); }
    TListColumn* Items(int index) const { return columns_.at(index).get(); }
    TListColumn* operator[](int index) const { return Items(index); }
    void Delete(int index);
    void Clear();
    int IndexOf(const TListColumn* column) const;

private:
    TListView* view_;
    std::vector<std::unique_ptr<TListColumn>> columns_;
};

class TListItem {
public:
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c);
    // SubItems(0) is the second column.
    TStrings& SubItems() { return sub_items_; }
    const TStrings& SubItems() const { return sub_items_; }
    int Index() const;
    bool Selected() const;
    void SetSelected(bool on);
    void* Data() const { return data_; }
    void SetData(void* data) { data_ = data; }
    TListView* ListView() const { return view_; }
    void Delete();
    // Scrolls the list so that the item is in view.
    void MakeVisible();

private:
    friend class TListItems;
    explicit TListItem(TListView* view);
    friend class TListView;
    TListView* view_;
    std::string caption_;
    TStrings sub_items_;
    void* data_ = nullptr;
    bool selected_ = false;
};

class TListItems {
public:
    explicit TListItems(TListView* view) : view_(view) {}
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    TListItem* Item(int index) const { return items_.at(index).get(); }
    TListItem* operator[](int index) const { return Item(index); }
    int IndexOf(const TListItem* item) const;
    void BeginUpdate() { ++updating_; }
    void EndUpdate();

private:
    friend class TListView;
    TListView* view_;
    std::vector<std::unique_ptr<TListItem>> items_;
    int updating_ = 0;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TListView : public TCustomControl {
public:
    explicit TListView(TComponent* AOwner = nullptr);
    ~TListView() override;

    TListColumns& Columns() { return columns_; }
    TListItems& Items() { return items_; }
    const TListItems& Items() const { return items_; }
    TViewStyle ViewStyle() const { return view_style_; }
    void SetViewStyle(TViewStyle s)
    {
        view_style_ = s;
        Invalidate();
    }
    bool RowSelect() const { return row_select_; }
    void SetRowSelect(bool on)
    {
        row_select_ = on;
        Invalidate();
    }
    bool GridLines() const { return grid_lines_; }
    void SetGridLines(bool on)
    {
        grid_lines_ = on;
        Invalidate();
    }
    bool ReadOnly() const { return read_only_; }
    void SetReadOnly(bool on) { read_only_ = on; }
    bool HideSelection() const { return hide_selection_; }
    void SetHideSelection(bool on)
    {
        hide_selection_ = on;
        Invalidate();
    }
    bool ShowColumnHeaders() const { return show_headers_; }
    void SetShowColumnHeaders(bool on);
    TBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TBorderStyle s);

    bool MultiSelect() const { return multi_select_; }
    void SetMultiSelect(bool on);
    // The selected item the user came to last (with MultiSelect, the first
    // selected one when that one is no longer selected); nullptr: none.
    TListItem* Selected() const;
    // Selects this item alone (nullptr: none).
    void SetSelected(TListItem* item);
    int ItemIndex() const;
    void SetItemIndex(int index);
    int SelCount() const;
    // With MultiSelect: every item selected.
    void SelectAll();
    void Clear() { items_.Clear(); }
    // Sorts the items by caption, case-insensitively.
    void AlphaSort();

    // The first item whose caption matches `text` (case-insensitive; with
    // `partial` a prefix is enough), searching from `start` (from the row
    // after it unless `inclusive`) to the end and, with `wrap`, on from the
    // top. nullptr when none matches.
    TListItem* FindCaption(int start, const std::string& text, bool partial, bool inclusive, bool wrap) const;

    // Scrolling: vertically in rows, horizontally in pixels.
    int TopIndex() const { return top_index_; }
    TListItem* TopItem() const;
    int VisibleRowCount() const;
    int RowHeight() const { return row_height_; }
    int HeaderHeight() const { return show_headers_ && view_style_ == vsReport ? header_height_ : 0; }
    // Scrolls by dx pixels and dy pixels (whole rows).
    void Scroll(int dx, int dy);
    TScrollInfo VertScrollInfo() const;
    TScrollInfo HorzScrollInfo() const;
    int ScrollX() const { return scroll_x_; }
    TListItem* GetItemAt(int x, int y) const;
    TRect ItemRect(int index) const;
    intptr_t Perform(unsigned Msg, intptr_t WParam = 0, intptr_t LParam = 0) override;

    TNotifyEvent OnSelectItem;  // the selected item changed
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

    // Model notifications from items and columns.
    virtual void ItemsChanged();
    void ItemRemoving(TListItem* item);

protected:
    void Resize() override;
    void FontChanged() override;
    void BiDiModeChanged() override;

private:
    friend class TListItem;
    int ContentWidth() const;
    TRect ListArea() const;  // client area without header and bars
    unsigned AlignmentFlags(TAlignment alignment) const;
    void UpdateBars();
    void SetTop(int index);
    // Selects the items from `from` to `to` (indexes, either order), keeping
    // the others selected when `keep`; the focus goes to `to`.
    void SelectRange(int from, int to, bool keep);
    // Ends a selection change: repaints and tells OnSelectItem when it changed.
    void SelectionChanged(bool changed);
    // The user came to item `index` with these keys held.
    void UserSelect(int index, TShiftState shift);
    TListColumns columns_{this};
    TListItems items_{this};
    TViewStyle view_style_ = vsReport;
    bool row_select_ = false;
    bool grid_lines_ = false;
    bool read_only_ = false;
    bool hide_selection_ = true;
    bool show_headers_ = true;
    TBorderStyle border_style_ = bsSingle;
    bool multi_select_ = false;
    TListItem* focused_ = nullptr;  // the item the user came to last
    TListItem* anchor_ = nullptr;   // where a Shift selection starts
    int top_index_ = 0;
    int scroll_x_ = 0;
    int row_height_ = 17;
    int header_height_ = 19;
    bool vbar_ = false, hbar_ = false;
    ui::ScrollBarPart vscroll_{sbVertical};
    ui::ScrollBarPart hscroll_{sbHorizontal};
    ui::ScrollBarPart* dragging_bar_ = nullptr;
};
