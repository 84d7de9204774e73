#pragma once
// TkivImageButton: a push button drawn from four pictures of its own (a
// banner, the scroll bar's arrows). A state without its picture shows the
// normal one; without any picture only the caption is drawn.
#include "platform/ui/image.h"
#include "skin/kiv_button.h"

class TkivImageButton : public TkivCustomButton {
public:
    explicit TkivImageButton(TComponent* AOwner = nullptr);

    TPicture& PicNormal() { return pic_normal_; }
    TPicture& PicMouseOn() { return pic_mouse_on_; }
    TPicture& PicMouseDown() { return pic_mouse_down_; }
    TPicture& PicDisabled() { return pic_disabled_; }
    void SetPicNormal(const TBitmap& picture) { pic_normal_.Assign(picture); }
    void SetPicMouseOn(const TBitmap& picture) { pic_mouse_on_.Assign(picture); }
    void SetPicMouseDown(const TBitmap& picture) { pic_mouse_down_.Assign(picture); }
    void SetPicDisabled(const TBitmap& picture) { pic_disabled_.Assign(picture); }
    // The picture stretched over the button, else drawn in its own size.
    bool Stretch() const { return stretch_; }
    void SetStretch(bool on);
    // The focus rectangle is drawn only when asked for.
    bool DrawFocused() const { return draw_focused_; }
    void SetDrawFocused(bool on);
    // The pictures are the button's own: it always reads FromThemeFile.
    TkivUIStyle UIStyle() const { return TkivUIStyle::FromThemeFile; }

protected:
    void UpdateAutoSize() override;
    void PaintPic(TCanvas& canvas, TBitmap& picture) override;
    void PaintFocus(TCanvas& canvas) override;
    void GetNormalPic(TBitmap& destination) override;
    void GetMouseOnPic(TBitmap& destination) override { CopyPic(pic_mouse_on_, destination); }
    void GetMouseDownPic(TBitmap& destination) override { CopyPic(pic_mouse_down_, destination); }
    void GetDisabledPic(TBitmap& destination) override { CopyPic(pic_disabled_, destination); }
    void ParentChanged() override;

private:
    // The state's own picture, else the normal one, else nothing.
    void CopyPic(const TPicture& own, TBitmap& destination) const;
    void PictureChanged();

    TPicture pic_normal_, pic_mouse_on_, pic_mouse_down_, pic_disabled_;
    bool stretch_ = false;
    bool draw_focused_ = false;
};
