#pragma once
// TImage: shows a picture, plain, centred or stretched.
#include <filesystem>

#include "platform/gfx/bitmap.h"
#include "platform/ui/control.h"

class TPicture : public TObject {
public:
    TBitmap& Bitmap() { return bitmap_; }
    const TBitmap& Bitmap() const { return bitmap_; }
    bool Empty() const { return bitmap_.Empty(); }
    int Width() const { return bitmap_.Width(); }
    int Height() const { return bitmap_.Height(); }
    // BMP, JPEG or PNG; throws gfx::ImageError and keeps the old picture.
    void LoadFromFile(const std::filesystem::path& path);
    void SaveToFile(const std::filesystem::path& path) const { bitmap_.SaveToFile(path); }
    void Assign(const TBitmap& bitmap);
    void Clear();
    // Call after drawing into Bitmap() directly.
    void Changed();
    TNotifyEvent OnChange;

private:
    TBitmap bitmap_;
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner = nullptr);

    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }
    void LoadFromFile(const std::filesystem::path& path) { picture_.LoadFromFile(path); }
    bool Center() const { return center_; }
    void SetCenter(bool on)
    {
        center_ = on;
        Invalidate();
    }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool on)
    {
        stretch_ = on;
        Invalidate();
    }
    // Stretch keeping the aspect ratio.
    bool Proportional() const { return proportional_; }
    void SetProportional(bool on)
    {
        proportional_ = on;
        Invalidate();
    }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on)
    {
        transparent_ = on;
        Invalidate();
    }
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool on);
    // Where the picture lands in the control.
    TRect DestRect() const;

    void Paint(TCanvas& Canvas) override;

private:
    void PictureChanged();
    TPicture picture_;
    bool center_ = false;
    bool stretch_ = false;
    bool proportional_ = false;
    bool transparent_ = false;
    bool auto_size_ = false;
};
