#pragma once
// TkivTrackBar: a skinned slider. A bar picture runs across the control,
// an image panel is the movable slider, ticks mark the values. Arrow keys
// step by LineSize, Page Up/Down and a held press on the bar by PageSize
// (repeating every 100 ms, never past the cursor), Home/End jump to
// Min/Max, and the slider can be dragged. Vertical bars run from Min at
// the top to Max at the bottom.
//
// TkivScrollTrackBar is the track of TkivScrollBar: its owner supplies the
// pictures, it never takes the focus and its slider is opaque.
#include <memory>

#include "platform/core/timer.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/control.h"
#include "skin/kiv_image_panel.h"
#include "skin/kiv_progress_bar.h"
#include "skin/kiv_themes.h"

class TkivFileTheme;
class TkivTrackBar;

// The slider: its picture drawn in its own size (its magenta or, for a
// skin, its bottom-left colour left out while transparent). Presses on it
// belong to the track bar.
class TkivTrackSlider : public TkivImagePanel {
public:
    explicit TkivTrackSlider(TkivTrackBar* track);

    bool SliderTransparent() const { return transparent_; }
    void SetSliderTransparent(bool on);
    // Takes the picture's size.
    void Refit();

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint(TCanvas& Canvas) override;

private:
    TkivTrackBar* track_;
    bool transparent_ = false;
};

class TkivTrackBar : public TCustomControl, public IkivStyled {
public:
    explicit TkivTrackBar(TComponent* AOwner = nullptr);
    ~TkivTrackBar() override;

    // Always Min <= Position <= Max. SetMin/SetMax move the other bound
    // and Position along; every setter places the slider, and OnChange
    // fires when Position differs from what it was at the last OnChange.
    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    int Position() const { return position_; }
    void SetPosition(int v);
    // Accepted only for 0..Max.
    int PageSize() const { return page_size_; }
    void SetPageSize(int v);
    int LineSize() const { return line_size_; }
    void SetLineSize(int v);
    // Tick spacing: 1 every value, 3 every third, 0 or less Min and Max only.
    int Frequency() const { return frequency_; }
    void SetFrequency(int v);
    bool ShowTick() const { return show_tick_; }
    void SetShowTick(bool on);
    // The parent's background behind the bar; MacOS turns it on.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    TkivProgressBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TkivProgressBarOrientation o);
    // The bar strip: three cells (start, middle, end). The style replaces
    // it on every rebuild unless the pictures come from outside.
    const TBitmap& BarImage() const { return bar_image_; }
    void SetBarImage(const TBitmap& bitmap);
    const TBitmap& SliderImage() const;
    TkivTrackSlider* Slider() const { return slider_; }

    // Position minus the Position of the OnChange before it.
    int LastChange() const { return last_change_; }
    bool Dragging() const { return dragging_; }
    // Paging by a held press is running.
    bool Paging() const { return repeat_timer_ != nullptr; }

    TNotifyEvent OnChange;

    TkivUIStyle UIStyle() const override { return ui_style_; }
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    void SetFileTheme(TkivFileTheme* theme) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // The value under a point: the slider's centre follows the cursor
    // (rounded half to even).
    int ValueAtPoint(int X, int Y) const;
    // Where the slider's top-left goes for Position.
    TPoint SliderPos() const;

    virtual void SetSliderImage(const TBitmap& bitmap);
    // Bar and slider pictures of the style; nothing with outside pictures.
    virtual void UpdatePictures();
    virtual bool UsesExternalPictures() const { return false; }
    virtual bool FocusOnClick() const { return true; }
    virtual bool IsSliderTransparent() const { return orientation_ == kivHorizontal; }

    unsigned WantedKeys() const override { return dlgcWantArrows; }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void CancelMode() override;
    void FocusChanged(TControl* NewFocus) override;
    void Paint(TCanvas& Canvas) override;

protected:
    void Resize() override;
    void ColorChanged() override;
    void Rebuild();
    void FitThickness();
    void UpdateSlider();
    bool Horizontal() const { return orientation_ == kivHorizontal; }

private:
    friend class TkivTrackSlider;
    void SliderMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void SliderMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    void BuildBarBuffer();
    void PageTowards(int X, int Y, int pages);
    void RepeatTick();
    void StopPaging();
    void PaintTicks(TCanvas& canvas) const;

    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
    int page_size_ = 2;
    int line_size_ = 1;
    int frequency_ = 1;
    bool show_tick_ = true;
    bool transparent_ = false;
    TkivProgressBarOrientation orientation_ = kivHorizontal;
    TBitmap bar_image_;
    TBitmap bar_buffer_;
    TkivTrackSlider* slider_ = nullptr;
    std::unique_ptr<TTimer> repeat_timer_;
    bool dragging_ = false;
    int drag_offset_ = 0;
    int last_position_ = 0;
    int last_change_ = 0;
    bool rebuilding_ = false;
    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
};

class TkivScrollTrackBar : public TkivTrackBar {
public:
    explicit TkivScrollTrackBar(TComponent* AOwner = nullptr);

    bool SliderVisible() const;
    void SetSliderVisible(bool on);
    // The slider takes the size of a new picture and its place.
    void RefitSlider();

    bool UsesExternalPictures() const override { return true; }
    bool FocusOnClick() const override { return false; }
    bool IsSliderTransparent() const override { return false; }
};
