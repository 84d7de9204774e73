#include "skin/kiv_progress_bar.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

#include "platform/gfx/canvas.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_public.h"

namespace skin {

namespace {

// Source rows [s0, s1) of the piece into rows [d0, d1) of r, stretched to
// r's width (or the same with columns).
void Band(const TBitmap& piece, TCanvas& canvas, const TRect& r, bool rows, int s0, int s1, int d0, int d1)
{
    if (s1 <= s0 || d1 <= d0) return;
    if (rows)
        canvas.DrawBitmap({r.Left, d0, r.Right, d1}, piece, {0, s0, piece.Width(), s1});
    else
        canvas.DrawBitmap({d0, r.Top, d1, r.Bottom}, piece, {s0, 0, s1, piece.Height()});
}

void StretchWithEdges(const TBitmap& piece, TCanvas& canvas, const TRect& r, int e, bool rows)
{
    if (r.Left < 0 || piece.Empty() || r.IsEmpty()) return;
    const int size = rows ? piece.Height() : piece.Width();
    if (e <= 0) e = size / 3;
    e = std::min(e, size);
    const int from = rows ? r.Top : r.Left;
    const int to = rows ? r.Bottom : r.Right;
    const int first = std::min(e, to - from);
    // The middle first, so that the kept edges win where a short
    // rectangle makes them overlap.
    Band(piece, canvas, r, rows, e, size - e, from + e, to - e);
    Band(piece, canvas, r, rows, size - e, size, std::max(from, to - e), to);
    Band(piece, canvas, r, rows, 0, first, from, from + first);
}

}  // namespace

void StretchWithEdgeRows(const TBitmap& piece, TCanvas& canvas, const TRect& r, int e)
{
    StretchWithEdges(piece, canvas, r, e, true);
}

void StretchWithEdgeColumns(const TBitmap& piece, TCanvas& canvas, const TRect& r, int e)
{
    StretchWithEdges(piece, canvas, r, e, false);
}

}  // namespace skin

namespace {

constexpr int kPieceEdge = 2;

// A 64-bit quotient toward zero, brought back into int's range.
int ClampToInt(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX)); }

std::unique_ptr<TBitmap> SkinPiece(const TkivFileTheme& theme, std::uint8_t index, bool vertical)
{
    auto piece = std::make_unique<TBitmap>();
    if (const TBitmap* b = theme.GetBitmap(index)) *piece = *b;
    piece->SetPixelFormat(pf24bit);
    if (vertical) skin::RotateBitmapLeft(*piece);
    return piece;
}

}  // namespace

TkivProgressBar::TkivProgressBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    picture_.OnChange = [this](TObject*) { Invalidate(); };
    SetBounds(0, 0, 150, 12);
    SetUIStyle(skin::GetOwnerUIStyle(AOwner));
    UpdateCaption();
}

TkivProgressBar::~TkivProgressBar()
{
    if (file_theme_) file_theme_->RemoveFreeNotification(this);
}

void TkivProgressBar::SetMin(int v)
{
    min_ = v;
    UpdateCaption();
}

void TkivProgressBar::SetMax(int v)
{
    max_ = v;
    UpdateCaption();
}

void TkivProgressBar::SetPosition(int v)
{
    position_ = v;
    UpdateCaption();
}

int TkivProgressBar::Percent() const
{
    if (min_ == max_) return 0;
    // In 64 bits: a frame count of a long job times 100 overflows 32.
    return ClampToInt((std::int64_t{position_} - min_) * 100 / (std::int64_t{max_} - min_));
}

int TkivProgressBar::FilledLength(int length) const
{
    if (min_ >= max_ || position_ <= min_) return 0;
    if (position_ > max_) return length;
    return ClampToInt(std::int64_t{length} * (std::int64_t{position_} - min_) / (std::int64_t{max_} - min_));
}

void TkivProgressBar::UpdateCaption()
{
    SetCaption(std::to_string(Percent()) + "%");
    Invalidate();
}

void TkivProgressBar::SetOrientation(TkivProgressBarOrientation o)
{
    orientation_ = o;
    UpdatePictures();
}

void TkivProgressBar::SetShowCaption(bool on)
{
    show_caption_ = on;
    Invalidate();
}

void TkivProgressBar::SetSmartShowCaption(bool on)
{
    smart_show_caption_ = on;
    Invalidate();
}

void TkivProgressBar::SetCaptionColor(TColor c)
{
    caption_color_ = c;
    Invalidate();
}

void TkivProgressBar::SetBorderColor(TColor c)
{
    border_color_ = c;
    Invalidate();
}

void TkivProgressBar::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    UpdatePictures();
}

void TkivProgressBar::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    SetUIStyle(ui_style_);
}

void TkivProgressBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == file_theme_ && file_theme_) {
        file_theme_ = nullptr;
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
}

bool TkivProgressBar::Skinned() const
{
    TkivUIStyle effective;
    return TkivFileTheme::UsingFileTheme(file_theme_, ui_style_, effective);
}

void TkivProgressBar::UpdatePictures()
{
    TkivUIStyle effective;
    const bool vertical = orientation_ == kivVertical;
    TBitmap fill;
    if (TkivFileTheme::UsingFileTheme(file_theme_, ui_style_, effective)) {
        if (const TBitmap* b = file_theme_->GetBitmap(20)) fill = *b;
        // A skin without the colour keeps the built-in one.
        const std::int32_t colour = file_theme_->GetColor(21);
        const std::int32_t border = file_theme_->GetColor(22);
        SetColor(colour >= 0 ? colour : skin::GetBuiltInColor(TkivUIStyle::DeepBlue, 26));
        border_color_ = border >= 0 ? border : skin::GetBuiltInColor(TkivUIStyle::DeepBlue, 25);
        start_cap_ = SkinPiece(*file_theme_, 19, vertical);
        empty_middle_ = SkinPiece(*file_theme_, 21, vertical);
        end_cap_ = SkinPiece(*file_theme_, 22, vertical);
    } else {
        skin::LoadBuiltInBitmap(effective, 24, &fill);
        SetColor(skin::GetBuiltInColor(effective, 26));
        border_color_ = skin::GetBuiltInColor(effective, 25);
    }
    if (vertical) skin::RotateBitmapLeft(fill);
    picture_.Assign(fill);
    Invalidate();
}

void TkivProgressBar::PaintSkinned(TCanvas& canvas, int w, int h)
{
    canvas.Brush().SetColor(Color());
    canvas.FillRect({0, 0, w, h});
    const TBitmap& filled = picture_.Bitmap();
    if (orientation_ == kivHorizontal) {
        const int s = start_cap_->Width(), n = end_cap_->Width();
        const int f = FilledLength(w - s - n);
        skin::StretchWithEdgeRows(*start_cap_, canvas, {0, 0, s, h}, kPieceEdge);
        skin::StretchWithEdgeRows(filled, canvas, {s, 0, s + f, h}, kPieceEdge);
        skin::StretchWithEdgeRows(*empty_middle_, canvas, {s + f, 0, w - n, h}, kPieceEdge);
        skin::StretchWithEdgeRows(*end_cap_, canvas, {w - n, 0, w, h}, kPieceEdge);
    } else {
        const int s = start_cap_->Height(), n = end_cap_->Height();
        const int f = FilledLength(h - s - n);
        skin::StretchWithEdgeColumns(*start_cap_, canvas, {0, h - s, w, h}, kPieceEdge);
        skin::StretchWithEdgeColumns(filled, canvas, {0, h - s - f, w, h - s}, kPieceEdge);
        skin::StretchWithEdgeColumns(*empty_middle_, canvas, {0, n, w, h - s - f}, kPieceEdge);
        skin::StretchWithEdgeColumns(*end_cap_, canvas, {0, 0, w, n}, kPieceEdge);
    }
}

void TkivProgressBar::PaintBuiltIn(TCanvas& canvas, int w, int h)
{
    const TBitmap& filled = picture_.Bitmap();
    canvas.Brush().SetColor(Color());
    if (orientation_ == kivHorizontal) {
        const int f = std::max(FilledLength(w - 1), 1);
        if (!filled.Empty()) skin::StretchBitmap(filled, canvas, {1, 1, f, h - 1});
        canvas.FillRect({f, 1, w - 1, h - 1});
    } else {
        const int e = std::max((h - 1) - FilledLength(h - 1), 1);
        if (!filled.Empty()) {
            TBitmap mirrored(filled.Width(), filled.Height());
            for (int y = 0; y < filled.Height(); ++y)
                std::copy_n(filled.ScanLine(filled.Height() - 1 - y), filled.Width(), mirrored.ScanLine(y));
            skin::StretchBitmap(mirrored, canvas, {1, e - 1, w - 1, h - 1});
        }
        canvas.FillRect({1, 1, w - 1, e});
        // The caption would stand across the fill; it stays off.
        show_caption_ = false;
    }
    canvas.Brush().SetColor(border_color_);
    canvas.FrameRect({0, 0, w, h});
}

void TkivProgressBar::Paint(TCanvas& Canvas)
{
    const int w = ClientWidth(), h = ClientHeight();
    if (w <= 0 || h <= 0) return;
    TBitmap off(w, h, Color());
    TCanvas& c = off.Canvas();
    if (Skinned() && start_cap_ && empty_middle_ && end_cap_)
        PaintSkinned(c, w, h);
    else
        PaintBuiltIn(c, w, h);
    if (show_caption_ && (!smart_show_caption_ || position_ != min_)) {
        // The caption in the drawing surface's own default font.
        c.Font().SetColor(caption_color_);
        c.Brush().SetStyle(bsClear);
        const std::string& text = Caption();
        c.TextOut((w - c.TextWidth(text)) / 2, (h - c.TextHeight(text)) / 2, text);
    }
    Canvas.Draw(0, 0, off);
}
