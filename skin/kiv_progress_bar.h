#pragma once
// TkivProgressBar: how far a job has come, drawn in the form's style. With
// a skin the bar is four pieces (start cap, filled middle, empty middle,
// end cap); with a built-in style a framed rectangle with the style's fill
// picture stretched over the done part. The percent caption is centred.
//
// Min, Max and Position are stored as given: a Position past Max shows a
// full bar and more than 100%, one below Min an empty bar and a negative
// percent.
#include <memory>
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/ui/control.h"
#include "platform/ui/image.h"
#include "skin/kiv_themes.h"

class TkivFileTheme;

// Shared by the track bar and the scroll bar. Vertical track and scroll
// bars run from the top; a vertical progress bar fills from the bottom.
enum TkivProgressBarOrientation { kivHorizontal, kivVertical };

class TkivProgressBar : public TCustomControl, public IkivStyled {
public:
    explicit TkivProgressBar(TComponent* AOwner = nullptr);
    ~TkivProgressBar() override;

    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    int Position() const { return position_; }
    void SetPosition(int v);
    void StepBy(int delta) { SetPosition(position_ + delta); }

    // (Position - Min) x 100 / (Max - Min), toward zero, unclamped; 0 for
    // an empty range. The caption is this followed by "%".
    int Percent() const;
    // How much of a length L is filled: 0 up to Min, L past Max.
    int FilledLength(int length) const;

    TkivProgressBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TkivProgressBarOrientation o);
    // A vertical bar drawn in a built-in style turns the caption off.
    bool ShowCaption() const { return show_caption_; }
    void SetShowCaption(bool on);
    // Hide the caption while Position = Min.
    bool SmartShowCaption() const { return smart_show_caption_; }
    void SetSmartShowCaption(bool on);
    TColor CaptionColor() const { return caption_color_; }
    void SetCaptionColor(TColor c);
    // The one-pixel frame of the built-in look.
    TColor BorderColor() const { return border_color_; }
    void SetBorderColor(TColor c);
    // The filled part; restyling replaces it.
    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }
    void SetPicture(const TBitmap& bitmap) { picture_.Assign(bitmap); }

    TkivUIStyle UIStyle() const override { return ui_style_; }
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    void SetFileTheme(TkivFileTheme* theme) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    void Paint(TCanvas& Canvas) override;

protected:
    void ColorChanged() override { Invalidate(); }

private:
    void UpdateCaption();
    void UpdatePictures();
    bool Skinned() const;
    void PaintSkinned(TCanvas& canvas, int w, int h);
    void PaintBuiltIn(TCanvas& canvas, int w, int h);

    int min_ = 0;
    int max_ = 100;
    int position_ = 50;
    TkivProgressBarOrientation orientation_ = kivHorizontal;
    bool show_caption_ = true;
    bool smart_show_caption_ = false;
    TColor caption_color_ = clBlack;
    TColor border_color_ = clBlack;
    TPicture picture_;
    // Skin pieces, present only once a skin was applied.
    std::unique_ptr<TBitmap> start_cap_, empty_middle_, end_cap_;
    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
};

namespace skin {
// A piece stretched over r keeping its top and bottom e rows (e = 0: a
// third of its height) and stretching the rows between; nothing when r
// starts left of 0. The Columns form keeps the left and right e columns.
void StretchWithEdgeRows(const TBitmap& piece, TCanvas& canvas, const TRect& r, int e);
void StretchWithEdgeColumns(const TBitmap& piece, TCanvas& canvas, const TRect& r, int e);
}  // namespace skin
