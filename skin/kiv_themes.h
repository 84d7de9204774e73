#pragma once
// The style model: the five built-in styles with their table of 48 typed
// entries (bitmaps, colours, integers, switches), the lookups by position,
// the style a new control takes from its form, and the contract of every
// component that publishes UIStyle and FileTheme.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/types.h"

class TComponent;
class TkivFileTheme;

// Stored in one byte. DeepBlue is every component's default and the
// fallback wherever a style cannot be used.
enum class TkivUIStyle : unsigned char {
    FromThemeFile = 0,
    MacOS = 1,
    WinXP = 2,
    DeepBlue = 3,
    Protein = 4,
    BlueGlass = 5,
};

// What a Tkiv component publishes for the restyling machinery: the theme
// manager, the file theme's re-attach and ApplyUIStyleToChildren find these
// two properties here. Setting FileTheme re-applies UIStyle; when the theme
// component goes, the reference is cleared and the style becomes DeepBlue.
class IkivStyled {
public:
    virtual ~IkivStyled() = default;
    virtual TkivUIStyle UIStyle() const = 0;
    virtual void SetUIStyle(TkivUIStyle style) = 0;
    virtual TkivFileTheme* FileTheme() const = 0;
    virtual void SetFileTheme(TkivFileTheme* theme) = 0;
};

namespace skin {

// The kind of a built-in table position, shared by all styles.
enum class EntryKind : unsigned char { Integer = 0, Colour = 1, Bitmap = 2, Boolean = 3 };

inline constexpr int kBuiltInEntries = 48;

// The raw entry at position 1..48 and its kind. For a bitmap entry the value
// is 0 (its resource name comes from BuiltInBitmapName). FromThemeFile, a
// style above BlueGlass (of the low 7 bits) or a position outside 1..48
// give -1 and kind Integer.
std::int32_t GetBuiltInThemeValue(TkivUIStyle style, int position, EntryKind& kind);
// The resource name of a bitmap entry; empty for any other entry.
std::string_view BuiltInBitmapName(TkivUIStyle style, int position);
// The bitmap resource of a bitmap entry into `bitmap`; otherwise (or with a
// null bitmap, or an entry with no name) nothing happens.
void LoadBuiltInBitmap(TkivUIStyle style, int position, TBitmap* bitmap);
// Nothing without a graphic. Cell count 0: the whole resource; otherwise
// cell `cellIndex` (from 1) of `cellCount` equal cells (CutBitmapCell).
void GetBuiltInBitmap(TkivUIStyle style, int position, TBitmap* graphic, int cellIndex, int cellCount);
// The entry when it has the asked-for kind; else 0 (colour, boolean) or -1
// (integer).
TColor GetBuiltInColor(TkivUIStyle style, int position);
bool GetBuiltInBool(TkivUIStyle style, int position);
std::int32_t GetBuiltInInt(TkivUIStyle style, int position);

// The style a new control starts with: the UIStyle of the first TkivForm
// among the direct child controls of its owner form; DeepBlue when the
// owner is absent, not a form, or holds no TkivForm.
TkivUIStyle GetOwnerUIStyle(const TComponent* owner);

// The program's bitmap resources by name (the built-in styles' artwork);
// false, and the bitmap untouched, for an unknown name.
bool LoadBitmapResource(std::string_view name, TBitmap& bitmap);

}  // namespace skin
