// The built-in styles' artwork, drawn here rather than stored: every
// picture named in the style table, in the style's own colours, as strips
// of equal cells with magenta where the picture is see-through.
#include <array>
#include <cmath>
#include <string>

#include "platform/gfx/canvas.h"
#include "skin/kiv_public.h"
#include "skin/kiv_themes.h"

namespace skin {

namespace {

struct Palette {
    TColor light;    // top of faces
    TColor face;     // bottom of faces
    TColor border;   // outlines
    TColor accent;   // title bars, progress, selected parts
    TColor accent2;  // the accent's darker end
    TColor glyph;    // arrows and marks
    bool round;      // corners left see-through
};

using gfx::RGB;

const Palette* PaletteOf(std::string_view prefix)
{
    static const Palette macos{RGB(0xFA, 0xFA, 0xFA),
                               RGB(0xD6, 0xD6, 0xD6),
                               RGB(0x7F, 0x7F, 0x7F),
                               RGB(0x6E, 0x9C, 0xD8),
                               RGB(0x3A, 0x6E, 0xB4),
                               RGB(0x30, 0x30, 0x30),
                               true};
    static const Palette winxp{RGB(0xFF, 0xFF, 0xFF),
                               RGB(0xDC, 0xE6, 0xF4),
                               RGB(0x00, 0x3C, 0x74),
                               RGB(0x3C, 0x8C, 0xF0),
                               RGB(0x00, 0x54, 0xE3),
                               RGB(0x15, 0x42, 0x8B),
                               true};
    static const Palette deepblue{RGB(0xF4, 0xF6, 0xFA),
                                  RGB(0xC8, 0xD2, 0xE4),
                                  RGB(0x1C, 0x2C, 0x4C),
                                  RGB(0x2C, 0x48, 0x7C),
                                  RGB(0x10, 0x20, 0x44),
                                  RGB(0x10, 0x18, 0x30),
                                  false};
    static const Palette protein{RGB(0xFF, 0xFF, 0xFF),
                                 RGB(0xE8, 0xE4, 0xE4),
                                 RGB(0x5A, 0x1E, 0x1E),
                                 RGB(0xC4, 0x3A, 0x30),
                                 RGB(0x80, 0x18, 0x14),
                                 RGB(0x40, 0x10, 0x10),
                                 false};
    static const Palette blueglass{RGB(0xF0, 0xF8, 0xFF),
                                   RGB(0xA8, 0xCC, 0xEC),
                                   RGB(0x2A, 0x50, 0x7A),
                                   RGB(0x78, 0xB4, 0xE8),
                                   RGB(0x2E, 0x6C, 0xB0),
                                   RGB(0x12, 0x2A, 0x48),
                                   true};
    if (prefix == "MACOS") return &macos;
    if (prefix == "WINXP") return &winxp;
    if (prefix == "DEEPBLUE" || prefix == "MORE") return &deepblue;
    if (prefix == "PROTEIN") return &protein;
    if (prefix == "BLUEGLASS") return &blueglass;
    return nullptr;
}

// Lighter (amount > 0) or darker (amount < 0) by a share of 255.
TColor Shade(TColor c, int amount)
{
    return amount >= 0 ? gfx::MixColor(clWhite, c, amount) : gfx::MixColor(clBlack, c, -amount);
}

void Gradient(TBitmap& b, const TRect& r, TColor top, TColor bottom)
{
    const int h = std::max(1, r.Height() - 1);
    for (int y = r.Top; y < r.Bottom; ++y) {
        const TColor c = gfx::MixColor(bottom, top, (y - r.Top) * 255 / h);
        for (int x = r.Left; x < r.Right; ++x) b.SetPixel(x, y, c);
    }
}

void Frame(TBitmap& b, const TRect& r, TColor c)
{
    for (int x = r.Left; x < r.Right; ++x) {
        b.SetPixel(x, r.Top, c);
        b.SetPixel(x, r.Bottom - 1, c);
    }
    for (int y = r.Top; y < r.Bottom; ++y) {
        b.SetPixel(r.Left, y, c);
        b.SetPixel(r.Right - 1, y, c);
    }
}

// The corner pixels see-through, for rounded shapes.
void CutCorners(TBitmap& b, const TRect& r)
{
    for (TPoint p : {TPoint{r.Left, r.Top}, TPoint{r.Right - 1, r.Top}, TPoint{r.Left, r.Bottom - 1},
                     TPoint{r.Right - 1, r.Bottom - 1}})
        b.SetPixel(p.X, p.Y, clMagenta);
}

// A raised face with its state: 0 normal, 1 under the mouse, 2 pressed,
// 3 disabled.
void Face(TBitmap& b, const TRect& r, const Palette& p, int state)
{
    TColor top = p.light, bottom = p.face;
    if (state == 1) bottom = Shade(p.face, 90);
    if (state == 2) std::swap(top, bottom), top = Shade(top, -30);
    if (state == 3) top = bottom = Shade(p.face, 120);
    Gradient(b, r, top, bottom);
    Frame(b, r, state == 3 ? Shade(p.border, 140) : p.border);
    if (p.round) CutCorners(b, r);
}

void Cross(TBitmap& b, int cx, int cy, int s, TColor c)
{
    for (int i = -s; i <= s; ++i) {
        b.SetPixel(cx + i, cy + i, c);
        b.SetPixel(cx + i + 1, cy + i, c);
        b.SetPixel(cx + i, cy - i, c);
        b.SetPixel(cx + i + 1, cy - i, c);
    }
}

// A filled triangle pointing up (dir 0), down (1), left (2) or right (3).
void Arrow(TBitmap& b, int cx, int cy, int dir, TColor c)
{
    for (int i = 0; i < 4; ++i)
        for (int j = -i; j <= i; ++j) {
            const int along = i - 2;
            switch (dir) {
            case 0: b.SetPixel(cx + j, cy + along, c); break;
            case 1: b.SetPixel(cx + j, cy - along, c); break;
            case 2: b.SetPixel(cx + along, cy + j, c); break;
            default: b.SetPixel(cx - along, cy + j, c); break;
            }
        }
}

TBitmap Strip(int cellW, int cellH, int cells) { return TBitmap(cellW * cells, cellH, clMagenta); }

// Rounded (see-through corners) only where the style draws its buttons
// see-through; an opaque button would show the key colour.
TBitmap Button(Palette p, bool seeThrough)
{
    p.round = p.round && seeThrough;
    TBitmap b = Strip(75, 21, 3);
    for (int i = 0; i < 3; ++i) Face(b, Bounds(i * 75, 0, 75, 21), p, i);
    return b;
}

TBitmap Box(const Palette& p, bool radio)
{
    // Checked, unchecked, checked disabled, unchecked disabled.
    TBitmap b = Strip(13, 13, 4);
    for (int i = 0; i < 4; ++i) {
        const bool checked = i % 2 == 0;
        const bool disabled = i >= 2;
        const TRect r = Bounds(i * 13, 0, 13, 13);
        const TColor border = disabled ? Shade(p.border, 140) : p.border;
        const TColor mark = disabled ? Shade(p.glyph, 140) : p.glyph;
        if (!radio) {
            Gradient(b, r, clWhite, disabled ? Shade(p.face, 120) : p.face);
            Frame(b, r, border);
            if (checked)
                for (int k = 0; k < 5; ++k) {
                    const int x = r.Left + 3 + k, y = k < 2 ? 6 + k : 9 - (k - 1);
                    b.SetPixel(x, y, mark);
                    b.SetPixel(x, y - 1, mark);
                }
            continue;
        }
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 13; ++x) {
                const double d = std::hypot(x - 6.0, y - 6.0);
                if (d <= 6.2)
                    b.SetPixel(r.Left + x, y,
                               d >= 5.2 ? border : gfx::MixColor(p.face, clWhite, y * 255 / 12));
                if (checked && d <= 2.3) b.SetPixel(r.Left + x, y, mark);
            }
    }
    return b;
}

TBitmap TitleButtons(const Palette& p)
{
    // Six buttons in the title bar's cell order (control box, help,
    // maximise, restore, minimise, close), each normal, under the mouse and
    // pressed.
    TBitmap b = Strip(19, 17, 18);
    for (int k = 0; k < 18; ++k) {
        const int glyph = k / 3, state = k % 3;
        const TRect r = Bounds(k * 19, 0, 19, 17);
        TColor top = Shade(p.accent, 60), bottom = p.accent2;
        if (state == 1) top = Shade(top, 60), bottom = Shade(bottom, 40);
        if (state == 2) std::swap(top, bottom);
        Gradient(b, r, top, bottom);
        Frame(b, r, Shade(p.accent2, -60));
        Frame(b, r.Inflate(-1, -1), Shade(p.accent2, -60));
        const TColor g = clWhite;
        const int cx = r.Left + 9, cy = 8;
        switch (glyph) {
        case 5: Cross(b, cx - 1, cy, 3, g); break;
        case 2:
            Frame(b, {cx - 4, cy - 4, cx + 5, cy + 4}, g);
            Frame(b, {cx - 4, cy - 3, cx + 5, cy + 4}, g);
            break;
        case 3:
            Frame(b, {cx - 4, cy - 1, cx + 2, cy + 4}, g);
            Frame(b, {cx - 1, cy - 4, cx + 5, cy + 1}, g);
            break;
        case 4: Frame(b, {cx - 4, cy + 2, cx + 4, cy + 4}, g); break;
        case 1:
            Frame(b, {cx - 2, cy - 4, cx + 3, cy}, g);
            b.SetPixel(cx, cy + 1, g);
            b.SetPixel(cx, cy + 3, g);
            break;
        default: Frame(b, {cx - 3, cy - 3, cx + 4, cy + 4}, g); break;
        }
    }
    return b;
}

TBitmap TitlePart(const Palette& p, int part)
{
    // 27 rows: inside a skinned form the bar is 24 high, 3 rows going
    // under the frame.
    TBitmap b(9, 27, clMagenta);
    Gradient(b, b.BoundsRect(), Shade(p.accent, 70), p.accent2);
    for (int x = 0; x < 9; ++x) b.SetPixel(x, 0, Shade(p.accent, 110));
    if (p.round && part == 0) CutCorners(b, {0, 0, 2, 2});
    if (p.round && part == 2) CutCorners(b, {7, 0, 9, 2});
    return b;
}

TBitmap Progress(const Palette& p)
{
    TBitmap b(9, 13, clMagenta);
    Gradient(b, b.BoundsRect(), Shade(p.accent, 100), p.accent2);
    return b;
}

TBitmap TrackBar(const Palette& p)
{
    TBitmap b(15, 5, clMagenta);
    Gradient(b, b.BoundsRect(), Shade(p.border, 120), clWhite);
    Frame(b, b.BoundsRect(), p.border);
    if (p.round) CutCorners(b, b.BoundsRect());
    return b;
}

TBitmap Slider(const Palette& p)
{
    TBitmap b(11, 19, clMagenta);
    Face(b, {0, 0, 11, 15}, p, 0);
    for (int y = 15; y < 19; ++y)
        for (int x = y - 14; x < 11 - (y - 14); ++x)
            b.SetPixel(x, y, x == y - 14 || x == 10 - (y - 14) ? p.border : p.face);
    return b;
}

TBitmap ScrollButtons(const Palette& p, bool tabs)
{
    const int size = tabs ? 16 : 17;
    TBitmap b = Strip(size, size, tabs ? 4 : 6);
    const int cells = tabs ? 4 : 6;
    for (int i = 0; i < cells; ++i) {
        const TRect r = Bounds(i * size, 0, size, size);
        // The tab strip's arrows: right, right lit, left, left lit.
        const int state = tabs ? i % 2 : i % 3;
        Face(b, r, p, state);
        const int dir = tabs ? (i < 2 ? 3 : 2) : (i < 3 ? 0 : 1);
        Arrow(b, r.Left + size / 2, size / 2, dir, state == 3 ? Shade(p.glyph, 140) : p.glyph);
    }
    return b;
}

// The scroll bar's thumb as a horizontal bar: left cap, middle (stretched
// between the caps), right cap. Vertical bars turn the cells.
TBitmap ScrollTrack(const Palette& p)
{
    TBitmap b = Strip(17, 17, 3);
    for (int i = 0; i < 3; ++i) {
        const TRect r = Bounds(i * 17, 0, 17, 17);
        Gradient(b, r, p.light, p.face);
        for (int x = r.Left; x < r.Right; ++x) {
            b.SetPixel(x, 0, p.border);
            b.SetPixel(x, 16, p.border);
        }
        if (i == 0)
            for (int y = 0; y < 17; ++y) b.SetPixel(r.Left, y, p.border);
        if (i == 2)
            for (int y = 0; y < 17; ++y) b.SetPixel(r.Right - 1, y, p.border);
        // A grip on each cap, which is never stretched.
        if (i != 1)
            for (int k = 0; k < 3; ++k) {
                const int x = i == 0 ? r.Right - 2 - 3 * k : r.Left + 1 + 3 * k;
                for (int y = 5; y < 12; ++y) b.SetPixel(x, y, Shade(p.border, 80));
            }
        if (p.round && i != 1) {
            const int x = i == 0 ? r.Left : r.Right - 1;
            b.SetPixel(x, 0, clMagenta);
            b.SetPixel(x, 16, clMagenta);
        }
    }
    return b;
}

TBitmap Tab(const Palette& p)
{
    TBitmap b = Strip(61, 21, 2);
    for (int i = 0; i < 2; ++i) {
        const TRect r = Bounds(i * 61, 0, 61, 21);
        Gradient(b, r, i == 0 ? clWhite : p.light, i == 0 ? p.light : p.face);
        Frame(b, {r.Left, r.Top, r.Right, r.Bottom + 1}, p.border);
        CutCorners(b, {r.Left, r.Top, r.Right, r.Top + 2});
    }
    return b;
}

TBitmap Solid(int w, int h, TColor top, TColor bottom)
{
    TBitmap b(w, h);
    Gradient(b, b.BoundsRect(), top, bottom);
    return b;
}

// --- Message box icons and combo box buttons -------------------------------

// A filled disc of radius r round (cx, cy), with a darker rim.
void Disc(TBitmap& b, double cx, double cy, double r, TColor fill, TColor rim)
{
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d <= r) b.SetPixel(x, y, d >= r - 1.5 ? rim : fill);
        }
}

void Block(TBitmap& b, const TRect& r, TColor c)
{
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) b.SetPixel(x, y, c);
}

// The message box's four 40 x 40 icons: warning, stop, information, help.
TBitmap MessageIcons()
{
    TBitmap b = Strip(40, 40, 4);
    // Warning: a yellow triangle with a black "!".
    {
        TBitmap cell(40, 40, clMagenta);
        for (int y = 3; y < 37; ++y) {
            const int half = (y - 3) * 18 / 34;
            const int left = 20 - half - 1, right = 20 + half;
            for (int x = left; x <= right; ++x) {
                const bool rim = x <= left + 1 || x >= right - 1 || y >= 35;
                cell.SetPixel(x, y, rim ? RGB(0x80, 0x60, 0x00) : RGB(0xFF, 0xD2, 0x20));
            }
        }
        Block(cell, {18, 13, 22, 27}, clBlack);
        Block(cell, {18, 29, 22, 33}, clBlack);
        b.Canvas().Draw(0, 0, cell);
    }
    // Stop: a red disc with a white cross.
    {
        TBitmap cell(40, 40, clMagenta);
        Disc(cell, 20, 20, 18, RGB(0xD8, 0x20, 0x20), RGB(0x80, 0x00, 0x00));
        for (int i = -7; i <= 7; ++i)
            for (int w = -1; w <= 1; ++w) {
                cell.SetPixel(20 + i + w, 20 + i, clWhite);
                cell.SetPixel(20 + i + w, 20 - i, clWhite);
            }
        b.Canvas().Draw(40, 0, cell);
    }
    // Information: a blue disc with a white "i".
    {
        TBitmap cell(40, 40, clMagenta);
        Disc(cell, 20, 20, 18, RGB(0x28, 0x64, 0xD0), RGB(0x10, 0x30, 0x80));
        Block(cell, {18, 9, 22, 13}, clWhite);
        Block(cell, {18, 16, 22, 31}, clWhite);
        Block(cell, {16, 29, 24, 31}, clWhite);
        b.Canvas().Draw(80, 0, cell);
    }
    // Help: a green disc with a white "?".
    {
        TBitmap cell(40, 40, clMagenta);
        Disc(cell, 20, 20, 18, RGB(0x20, 0x98, 0x48), RGB(0x08, 0x50, 0x20));
        Block(cell, {14, 9, 26, 12}, clWhite);
        Block(cell, {14, 12, 17, 15}, clWhite);
        Block(cell, {23, 12, 26, 19}, clWhite);
        Block(cell, {18, 18, 25, 21}, clWhite);
        Block(cell, {18, 21, 22, 25}, clWhite);
        Block(cell, {18, 28, 22, 32}, clWhite);
        b.Canvas().Draw(120, 0, cell);
    }
    return b;
}

// A combo box's button face (MacOS and WinXP draw it from art). The
// WinXP face carries its own arrow; on MacOS the box draws one over it.
TBitmap ComboButton(const Palette& p, bool arrow)
{
    TBitmap b(17, 17, clMagenta);
    Face(b, b.BoundsRect(), p, 0);
    for (TPoint c : {TPoint{0, 0}, TPoint{16, 0}, TPoint{0, 16}, TPoint{16, 16}})
        b.SetPixel(c.X, c.Y, p.face);
    if (arrow) Arrow(b, 8, 8, 1, p.glyph);
    return b;
}

// --- end of message box icons and combo box buttons ------------------------

// --- menus ---------------------------------------------------------------------

// The check mark of menu items: black on white, white being see-through.
TBitmap MenuChecked()
{
    TBitmap b(16, 16, clWhite);
    for (int k = 0; k < 7; ++k) {
        const int x = 4 + k, y = k < 3 ? 7 + k : 9 - (k - 2);
        for (int d = 0; d < 2; ++d) b.SetPixel(x, y + d, clBlack);
    }
    return b;
}

// The MacOS menu: a light striped item face and a blue selection, 20 rows
// each (a separator takes the top 12 rows of the face).
TBitmap MacMenu(const Palette& p, bool selected)
{
    TBitmap b(16, 20);
    if (selected) {
        Gradient(b, b.BoundsRect(), Shade(p.accent, 40), p.accent2);
        return b;
    }
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 16; ++x) b.SetPixel(x, y, y % 2 ? p.light : Shade(p.light, -8));
    for (int x = 0; x < 16; ++x) b.SetPixel(x, 6, p.border);
    return b;
}

// --- the skinned form's pictures ---------------------------------------------

// A form background tile: fine horizontal stripes.
TBitmap FormBackground(const Palette& p)
{
    TBitmap b(8, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) b.SetPixel(x, y, y % 2 ? Shade(p.face, 90) : Shade(p.light, -6));
    return b;
}

}  // namespace

bool LoadBitmapResource(std::string_view name, TBitmap& bitmap)
{
    if (name == "MENU_CHECKED") {
        bitmap = MenuChecked();
        bitmap.SetPixelFormat(pf24bit);
        return true;
    }
    if (name == "MSGDLG") {
        bitmap = MessageIcons();
        bitmap.SetPixelFormat(pf24bit);
        return true;
    }
    const std::size_t cut = name.find('_');
    if (cut == std::string_view::npos) return false;
    const Palette* p = PaletteOf(name.substr(0, cut));
    if (!p) return false;
    const std::string_view part = name.substr(cut + 1);
    const bool more = name.substr(0, cut) == "MORE";
    if (more && part != "SCROLLBUTTON") return false;

    TBitmap b;
    if (part == "BUTTON")
        b = Button(*p, name.substr(0, cut) == "MACOS" || name.substr(0, cut) == "BLUEGLASS");
    else if (part == "CHECKBOX" || part == "CHECKLIST")
        b = Box(*p, false);
    else if (part == "RADIOBUTTON")
        b = Box(*p, true);
    else if (part == "TITLEBTN")
        b = TitleButtons(*p);
    else if (part == "TITLE_LEFT")
        b = TitlePart(*p, 0);
    else if (part == "TITLE_CLIENT")
        b = TitlePart(*p, 1);
    else if (part == "TITLE_RIGHT")
        b = TitlePart(*p, 2);
    else if (part == "PROGRESSBAR")
        b = Progress(*p);
    else if (part == "TRACKBAR_BAR")
        b = TrackBar(*p);
    else if (part == "TRACKBAR_SLIDER")
        b = Slider(*p);
    else if (part == "TRACKBAR_SLIDER_V") {
        b = Slider(*p);
        RotateBitmapLeft(b);
    } else if (part == "SCROLLBAR_BUTTON")
        b = ScrollButtons(*p, false);
    else if (part == "SCROLLBAR_TRACK")
        b = ScrollTrack(*p);
    else if (part == "SCROLLBUTTON")
        b = ScrollButtons(*p, true);
    else if (part == "TAB")
        b = Tab(*p);
    else if (part == "TAB_LINE")
        b = Solid(9, 3, p->border, p->light);
    else if (part == "SIDECHENNEL_HANDLE")
        b = Solid(9, 9, p->accent, p->accent2);
    else if (part == "SIDECHENNEL_BAR")
        b = Solid(9, 21, p->light, p->face);
    else if (part == "COMBOBOX_BUTTON" && (name.starts_with("MACOS_") || name.starts_with("WINXP_")))
        b = ComboButton(*p, name.starts_with("WINXP_"));
    else if (part == "FORM_BACKGROUND")
        b = FormBackground(*p);
    else if (part == "MENU_BAR")
        b = MacMenu(*p, false);
    else if (part == "MENU_SELECT")
        b = MacMenu(*p, true);
    else
        return false;
    b.SetPixelFormat(pf24bit);
    bitmap = std::move(b);
    return true;
}

}  // namespace skin
