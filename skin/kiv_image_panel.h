#pragma once
// The image panel: a panel that paints a Picture (in its own size,
// stretched or tiled) over its colour or over the parent's background, and
// its caption on top. TkivCustomPanel is also the base of the group box.
#include "platform/ui/image.h"
#include "platform/ui/panel.h"

enum TkivDrawStyle { kivNormal = 0, kivStretch = 1, kivTile = 2 };

class TkivCustomPanel : public TPanel {
public:
    explicit TkivCustomPanel(TComponent* AOwner = nullptr);

    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }
    void SetPicture(const TBitmap& picture) { picture_.Assign(picture); }
    // The parent's background shows through; the picture is drawn
    // see-through (magenta) too.
    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool on);
    // Sizes the panel from its picture, as far as its alignment lets it.
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool on);
    TkivDrawStyle DrawStyle() const { return draw_style_; }
    void SetDrawStyle(TkivDrawStyle style);

    void Paint(TCanvas& Canvas) override;

protected:
    virtual void DrawBackground() {}
    virtual void CaptionChanged() {}
    virtual void PictureChanged();
    // The text the panel part draws centred (the group box draws its own).
    virtual bool PaintsCaption() const { return true; }
    void TextChanged() override;
    void Resize() override;
    void ApplyAutoSize();

private:
    TPicture picture_;
    bool transparent_ = false;
    bool auto_size_ = false;
    TkivDrawStyle draw_style_ = kivNormal;
};

class TkivImagePanel : public TkivCustomPanel {
public:
    explicit TkivImagePanel(TComponent* AOwner = nullptr) : TkivCustomPanel(AOwner) {}
};
