#pragma once
// TkivScrollBar: a skinned scroll bar made of three children: a track
// (TkivScrollTrackBar) whose slider is the thumb, and two arrow buttons
// that step Position by SmallChange every 100 ms while held (the first step
// 100 ms after the press; a quick click moves nothing). Presses on the
// track page towards the cursor and the thumb can be dragged; the bar never
// takes the focus.
//
// What binders (list view, list box, memo) use:
// - Min, Max, Position: the track's. Position stays within Min..Max; the
//   setters keep the range consistent and clamp Position. Writing the
//   current Position does nothing.
// - OnChange: fires whenever Position changed (by code, arrows, paging or
//   dragging). Its Sender is the track (Track()), not the scroll bar.
// - LastChange() / GetLastChange(): new minus previous Position of the
//   last change (while dragging: of the last mouse move only).
// - PageSize: a percentage of the track that the thumb covers when
//   LineButton is 0 (below 10 or above 100 counts as 10); accepted only
//   for 0..Max. LargeChange is the same value, written without resizing the
//   thumb.
// - LineButton: the thumb length in pixels (0: from PageSize; 1..15 become
//   16); ignored when longer than the room between the arrows.
// - SmallChange: the arrow step (1..32767).
// - Orientation (Kind is the same as a TScrollBarKind), SliderVisible,
//   Enabled, Visible, bounds. Vertical bars take their arrows' width,
//   horizontal ones their height. A zero width or height hides the bar.
// - UIStyle, FileTheme.
#include <memory>

#include "platform/gfx/bitmap.h"
#include "platform/ui/control.h"
#include "skin/kiv_image_button.h"
#include "skin/kiv_progress_bar.h"
#include "skin/kiv_themes.h"
#include "skin/kiv_track_bar.h"

class TkivFileTheme;
class TTimer;

// An arrow of the scroll bar: three pictures (normal, under the mouse,
// pressed), and OnRepeat every RepeatInterval ms while the left button is
// held on it.
class TkivScrollArrow : public TkivImageButton {
public:
    explicit TkivScrollArrow(TComponent* AOwner);
    ~TkivScrollArrow() override;

    // 0 normal, 1 under the mouse, 2 pressed.
    void SetStatePicture(int state, const TBitmap& bitmap);
    const TBitmap& StatePicture(int state) const { return pictures_[state]; }
    // Takes the size of the normal picture.
    void Refit();
    int RepeatInterval() const { return interval_; }
    void SetRepeatInterval(int ms) { interval_ = ms; }
    bool IsDown() const { return down_; }

    TNotifyEvent OnRepeat;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void CancelMode() override;
    void Click() override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyUp(uint16_t& Key, TShiftState Shift) override;
    bool DialogKey(uint16_t Key, TShiftState Shift) override;
    bool DialogChar(char32_t Key, TShiftState Shift) override;
    void Paint(TCanvas& Canvas) override;

private:
    void Stop();
    TBitmap pictures_[3];
    std::unique_ptr<TTimer> timer_;
    int interval_ = 100;
    bool down_ = false;
    bool hot_ = false;
};

class TkivScrollBar : public TCustomControl, public IkivStyled {
public:
    explicit TkivScrollBar(TComponent* AOwner = nullptr);
    ~TkivScrollBar() override;

    int Min() const;
    void SetMin(int v);
    int Max() const;
    void SetMax(int v);
    int Position() const;
    void SetPosition(int v);
    int PageSize() const;
    void SetPageSize(int v);
    int LargeChange() const;
    void SetLargeChange(int v);
    int SmallChange() const { return small_change_; }
    void SetSmallChange(int v);
    int LineButton() const { return line_button_; }
    void SetLineButton(int v);
    int LastChange() const;
    int GetLastChange() const { return LastChange(); }
    bool SliderVisible() const;
    void SetSliderVisible(bool on);

    TkivProgressBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TkivProgressBarOrientation o);
    TScrollBarKind Kind() const { return orientation_ == kivVertical ? sbVertical : sbHorizontal; }
    void SetKind(TScrollBarKind kind) { SetOrientation(kind == sbVertical ? kivVertical : kivHorizontal); }

    TNotifyEvent OnChange;

    TkivScrollTrackBar* Track() const { return track_; }
    TkivScrollArrow* DecButton() const { return dec_button_; }
    TkivScrollArrow* IncButton() const { return inc_button_; }

    TkivUIStyle UIStyle() const override { return ui_style_; }
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    void SetFileTheme(TkivFileTheme* theme) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    void Paint(TCanvas& Canvas) override;

protected:
    void Resize() override;
    void VisibleChanged() override;
    void ColorChanged() override;

private:
    void BuildPictures();
    void ArrangeParts();
    void BuildThumb();
    bool Skinned() const;
    int Length() const { return orientation_ == kivVertical ? Height() : Width(); }
    int ArrowsLength() const;

    TkivScrollTrackBar* track_ = nullptr;
    TkivScrollArrow* inc_button_ = nullptr;
    TkivScrollArrow* dec_button_ = nullptr;
    TBitmap thumb_[3];
    TkivProgressBarOrientation orientation_ = kivHorizontal;
    int line_button_ = 0;
    int small_change_ = 1;
    bool arranging_ = false;
    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
};
