#include "skin/kiv_themes.h"

#include <array>

#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "skin/kiv_form.h"
#include "skin/kiv_public.h"

namespace skin {

namespace {

using K = EntryKind;

struct Position {
    EntryKind kind;
    // Integer, colour and boolean values by style (MacOS .. BlueGlass).
    std::array<std::int32_t, 5> values;
    // Bitmap entries: the name after the style's prefix ("" = no picture).
    const char* suffix;
};

constexpr std::array<Position, kBuiltInEntries> kTable{{
    /* 1 */ {K::Bitmap, {}, "BUTTON"},
    /* 2 */ {K::Boolean, {1, 0, 0, 0, 1}, nullptr},
    /* 3 */ {K::Bitmap, {}, "CHECKBOX"},
    /* 4 */ {K::Bitmap, {}, "RADIOBUTTON"},
    /* 5 */ {K::Bitmap, {}, "TITLEBTN"},
    /* 6 */ {K::Boolean, {0, 0, 0, 1, 1}, nullptr},
    /* 7 */ {K::Integer, {3, 2, 0, 0, 4}, nullptr},
    /* 8 */ {K::Integer, {-2, -2, 0, 0, -3}, nullptr},
    /* 9 */ {K::Integer, {4, 5, 2, 2, 6}, nullptr},
    /* 10 */ {K::Bitmap, {}, "TITLE_LEFT"},
    /* 11 */ {K::Bitmap, {}, "TITLE_CLIENT"},
    /* 12 */ {K::Bitmap, {}, "TITLE_RIGHT"},
    /* 13 */ {K::Integer, {130, 150, 130, 130, 270}, nullptr},
    /* 14 */ {K::Integer, {0, 13, 0, 0, 11}, nullptr},
    /* 15 */ {K::Colour, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}, nullptr},
    /* 16 */ {K::Colour, {0x7F7F7F, 0xC82C00, 0x000000, 0x000000, 0x000000}, nullptr},
    /* 17 */ {K::Integer, {1, 3, 1, 1, 1}, nullptr},
    /* 18 */ {K::Colour, {0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E}, nullptr},
    /* 19 */ {K::Colour, {0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E}, nullptr},
    /* 20 */ {K::Colour, {0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}, nullptr},
    /* 21 */ {K::Colour, {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7}, nullptr},
    /* 22 */ {K::Colour, {0x000000, 0x000000, 0x000000, 0x000000, 0x000000}, nullptr},
    /* 23 */ {K::Colour, {0x000000, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6}, nullptr},
    /* 24 */ {K::Bitmap, {}, "PROGRESSBAR"},
    /* 25 */ {K::Colour, {0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000}, nullptr},
    /* 26 */ {K::Colour, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}, nullptr},
    /* 27 */ {K::Colour, {0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000}, nullptr},
    /* 28 */ {K::Bitmap, {}, "TRACKBAR_BAR"},
    /* 29 */ {K::Bitmap, {}, "TRACKBAR_SLIDER"},
    /* 30 */ {K::Bitmap, {}, "TRACKBAR_SLIDER_V"},
    /* 31 */ {K::Colour, {0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4}, nullptr},
    /* 32 */ {K::Bitmap, {}, "SCROLLBAR_BUTTON"},
    /* 33 */ {K::Bitmap, {}, "SCROLLBAR_TRACK"},
    /* 34 */ {K::Bitmap, {}, "CHECKLIST"},
    /* 35 */ {K::Colour, {0x474747, 0xC66931, 0x474747, 0x474747, 0x474747}, nullptr},
    /* 36 */ {K::Colour, {0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF}, nullptr},
    /* 37 */ {K::Colour, {0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8}, nullptr},
    /* 38 */ {K::Bitmap, {}, "SCROLLBUTTON"},
    /* 39 */ {K::Bitmap, {}, "TAB"},
    /* 40 */ {K::Bitmap, {}, "TAB_LINE"},
    /* 41 */ {K::Bitmap, {}, "SIDECHENNEL_HANDLE"},
    /* 42 */ {K::Bitmap, {}, "SIDECHENNEL_BAR"},
    /* 43 */ {K::Bitmap, {}, ""},
    /* 44 */ {K::Colour, {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}, nullptr},
    /* 45 */ {K::Bitmap, {}, ""},
    /* 46 */ {K::Bitmap, {}, ""},
    /* 47 */ {K::Integer, {0, 0, 0, 0, 0}, nullptr},
    /* 48 */ {K::Colour, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}, nullptr},
}};

constexpr std::array<const char*, 5> kPrefix{"MACOS_", "WINXP_", "DEEPBLUE_", "PROTEIN_", "BLUEGLASS_"};

// The row of a built-in style (0..4), or -1.
int StyleRow(TkivUIStyle style)
{
    const int v = static_cast<int>(static_cast<unsigned char>(style) & 0x7F);
    return v >= 1 && v <= 5 ? v - 1 : -1;
}

const Position* Lookup(TkivUIStyle style, int position, int& row)
{
    row = StyleRow(style);
    if (row < 0 || position < 1 || position > kBuiltInEntries) return nullptr;
    return &kTable[position - 1];
}

}  // namespace

std::int32_t GetBuiltInThemeValue(TkivUIStyle style, int position, EntryKind& kind)
{
    int row = 0;
    const Position* p = Lookup(style, position, row);
    if (!p) {
        kind = EntryKind::Integer;
        return -1;
    }
    kind = p->kind;
    return p->kind == EntryKind::Bitmap ? 0 : p->values[row];
}

std::string_view BuiltInBitmapName(TkivUIStyle style, int position)
{
    // Only strings with static storage are handed out.
    static const auto names = [] {
        std::array<std::array<std::string, kBuiltInEntries>, 5> all;
        for (int row = 0; row < 5; ++row)
            for (int i = 0; i < kBuiltInEntries; ++i) {
                const Position& p = kTable[i];
                if (p.kind != EntryKind::Bitmap || !*p.suffix) continue;
                // The three newer styles share one tab-strip arrow picture.
                if (i + 1 == 38 && row >= 2)
                    all[row][i] = "MORE_SCROLLBUTTON";
                else
                    all[row][i] = std::string(kPrefix[row]) + p.suffix;
            }
        return all;
    }();
    int row = 0;
    const Position* p = Lookup(style, position, row);
    if (!p || p->kind != EntryKind::Bitmap) return {};
    return names[row][position - 1];
}

void LoadBuiltInBitmap(TkivUIStyle style, int position, TBitmap* bitmap)
{
    if (!bitmap) return;
    const std::string_view name = BuiltInBitmapName(style, position);
    if (name.empty()) return;
    LoadBitmapResource(name, *bitmap);
}

void GetBuiltInBitmap(TkivUIStyle style, int position, TBitmap* graphic, int cellIndex, int cellCount)
{
    if (!graphic) return;
    if (cellCount == 0) {
        LoadBuiltInBitmap(style, position, graphic);
        return;
    }
    TBitmap strip;
    LoadBuiltInBitmap(style, position, &strip);
    CutBitmapCell(strip, *graphic, cellCount, cellIndex);
}

TColor GetBuiltInColor(TkivUIStyle style, int position)
{
    EntryKind kind;
    const std::int32_t v = GetBuiltInThemeValue(style, position, kind);
    return kind == EntryKind::Colour ? static_cast<TColor>(v) : 0;
}

bool GetBuiltInBool(TkivUIStyle style, int position)
{
    EntryKind kind;
    const std::int32_t v = GetBuiltInThemeValue(style, position, kind);
    return kind == EntryKind::Boolean && v != 0;
}

std::int32_t GetBuiltInInt(TkivUIStyle style, int position)
{
    EntryKind kind;
    const std::int32_t v = GetBuiltInThemeValue(style, position, kind);
    return kind == EntryKind::Integer ? v : -1;
}

TkivUIStyle GetOwnerUIStyle(const TComponent* owner)
{
    const auto* form = dynamic_cast<const TForm*>(owner);
    if (!form) return TkivUIStyle::DeepBlue;
    for (TControl* child : form->Children())
        if (auto* panel = dynamic_cast<TkivForm*>(child)) return panel->UIStyle();
    return TkivUIStyle::DeepBlue;
}

}  // namespace skin
