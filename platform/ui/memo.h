#pragma once
// TMemo: multi-line text. Lines holds the logical lines; Text joins them
// with CR LF. With WordWrap long lines wrap at the client width.
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/scrollbar_part.h"
#include "platform/ui/strings.h"

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TCustomControl {
public:
    explicit TMemo(TComponent* AOwner = nullptr);

    TStrings& Lines() { return lines_; }
    const TStrings& Lines() const { return lines_; }
    // The lines joined with CR LF (no break after the last one).
    std::string Text() const;
    void SetText(const std::string& text);
    bool ReadOnly() const { return read_only_; }
    void SetReadOnly(bool on) { read_only_ = on; }
    bool WordWrap() const { return word_wrap_; }
    void SetWordWrap(bool on);
    TScrollStyle ScrollBars() const { return scroll_bars_; }
    void SetScrollBars(TScrollStyle s);
    TBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TBorderStyle s);
    int MaxLength() const { return max_length_; }
    void SetMaxLength(int n) { max_length_ = n; }
    void Clear() { lines_.Clear(); }
    // Ctrl+A: the whole text is selected until the caret moves or the text
    // changes; typing, Backspace or Delete then replaces all of it.
    void SelectAll();
    bool AllSelected() const { return all_selected_; }

    // Caret as line and character.
    TPoint CaretPos() const;
    void SetCaretPos(TPoint p);
    // Scrolling: vertically in display rows, horizontally in pixels.
    int TopRow() const { return top_row_; }
    void SetTopRow(int row);
    int RowCount() const { return static_cast<int>(rows_.size()); }
    int VisibleRows() const;
    TScrollInfo VertScrollInfo() const;
    TScrollInfo HorzScrollInfo() const;
    intptr_t Perform(unsigned Msg, intptr_t WParam = 0, intptr_t LParam = 0) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnScroll;

    TRect NonClientInsets() const override;
    unsigned WantedKeys() const override { return dlgcWantArrows | dlgcWantChars | dlgcWantAllKeys; }
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void Paint(TCanvas& Canvas) override;
    void PaintNonClient(TCanvas& Canvas) override;

protected:
    void Resize() override;
    void FontChanged() override;

private:
    struct Row {
        int line;
        size_t start, end;  // byte range in the line
    };
    void Layout();
    void LinesChanged();
    int RowOfCaret() const;
    int LineHeight() const;
    int TextAreaWidth() const;
    bool HasV() const { return scroll_bars_ == ssVertical || scroll_bars_ == ssBoth; }
    bool HasH() const { return (scroll_bars_ == ssHorizontal || scroll_bars_ == ssBoth) && !word_wrap_; }
    void EditLines(const std::function<void()>& edit);
    // Takes out the selected text before an edit; true when there was one.
    bool DeleteSelection();
    void ScrollToCaret();

    TStrings lines_;
    bool read_only_ = false;
    bool word_wrap_ = true;
    TScrollStyle scroll_bars_ = ssNone;
    TBorderStyle border_style_ = bsSingle;
    int max_length_ = 0;
    int caret_line_ = 0;
    size_t caret_col_ = 0;  // byte offset in the caret's line
    bool all_selected_ = false;
    int top_row_ = 0;
    int scroll_x_ = 0;
    int content_width_ = 0;
    std::vector<Row> rows_;
};
