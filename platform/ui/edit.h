#pragma once
// TEdit: a single-line text box with caret, selection, clipboard and UTF-8
// text input (the input method delivers committed text as characters).
// OnChange fires only when the text really changes.
#include "platform/ui/control.h"

class TEdit : public TCustomControl {
public:
    explicit TEdit(TComponent* AOwner = nullptr);

    int MaxLength() const { return max_length_; }  // characters; 0: no limit
    void SetMaxLength(int n) { max_length_ = n < 0 ? 0 : n; }
    bool ReadOnly() const { return read_only_; }
    void SetReadOnly(bool on) { read_only_ = on; }
    char32_t PasswordChar() const { return password_char_; }
    void SetPasswordChar(char32_t c);
    bool AutoSelect() const { return auto_select_; }
    void SetAutoSelect(bool on) { auto_select_ = on; }
    TBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TBorderStyle s);
    bool Modified() const { return modified_; }
    void SetModified(bool on) { modified_ = on; }

    // Selection in characters.
    int SelStart() const;
    void SetSelStart(int chars);
    int SelLength() const;
    void SetSelLength(int chars);
    std::string SelText() const;
    // Replaces the selection (typing does the same).
    void SetSelText(const std::string& text);
    void SelectAll();
    void ClearSelection();
    void Clear() { SetText(""); }
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    TNotifyEvent OnChange;

    TRect NonClientInsets() const override;
    unsigned WantedKeys() const override { return dlgcWantArrows | dlgcWantChars; }
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void DoEnter() override;
    void Paint(TCanvas& Canvas) override;
    void PaintNonClient(TCanvas& Canvas) override;

protected:
    void TextChanged() override;
    virtual void Change();

private:
    std::string Display() const;
    int XOfOffset(size_t offset) const;  // in text pixels, before scrolling
    size_t OffsetAtX(int x) const;       // x in client pixels
    void MoveCaret(size_t offset, bool extend);
    void ScrollToCaret();
    size_t SelMin() const { return std::min(anchor_, caret_); }
    size_t SelMax() const { return std::max(anchor_, caret_); }
    void Replace(const std::string& text);

    int max_length_ = 0;
    bool read_only_ = false;
    char32_t password_char_ = 0;
    bool auto_select_ = true;
    TBorderStyle border_style_ = bsSingle;
    bool modified_ = false;
    size_t anchor_ = 0;  // byte offsets into Text()
    size_t caret_ = 0;
    int scroll_x_ = 0;
    bool in_edit_ = false;
};
