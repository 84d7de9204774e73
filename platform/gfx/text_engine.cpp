#include "platform/gfx/internal/text_engine.h"

#include "platform/core/text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <fstream>
#include <map>
#include <mutex>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace gfx::internal {

// --- UTF-8 -------------------------------------------------------------

std::u32string DecodeUtf8(std::string_view s) { return core::Utf8ToCodePoints(s); }

std::string EncodeUtf8(std::u32string_view text) { return core::CodePointsToUtf8(text); }

bool IsWideChar(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
           (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

namespace {

bool IsBlank(char32_t c) { return c == ' ' || c == '\t' || c == 0xA0 || c == 0x3000; }
bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

void BlendPixel(std::uint32_t& p, std::uint32_t color, int cov, std::uint32_t alphaBits)
{
    if (cov <= 0) return;
    if (cov >= 255) {
        p = color | (alphaBits ? 0xFF000000u : (p & 0xFF000000u));
        return;
    }
    // Two channels at a time.
    const std::uint32_t rb = p & 0x00FF00FFu, g = p & 0x0000FF00u;
    const std::uint32_t crb = color & 0x00FF00FFu, cg = color & 0x0000FF00u;
    const std::uint32_t orb = (rb + (((crb - rb) * cov + 0x00800080u) >> 8)) & 0x00FF00FFu;
    const std::uint32_t og = (g + (((cg - g) * cov + 0x00008000u) >> 8)) & 0x0000FF00u;
    std::uint32_t a = p & 0xFF000000u;
    if (alphaBits) {
        const std::uint32_t pa = p >> 24;
        a = (pa + ((255 - pa) * cov + 127) / 255) << 24;
    }
    p = orb | og | a;
}

// --- the box font ------------------------------------------------------

class BoxFont final : public FontInstance {
public:
    explicit BoxFont(int em) : em_(std::max(em, 1))
    {
        m_.descent = em_ / 5;
        m_.ascent = em_ - m_.descent;
        m_.height = em_;
        m_.avgCharWidth = std::max(1, em_ / 2);
        m_.underlineOffset = 1;
        m_.lineThickness = 1;
    }
    const FontMetrics& Metrics() const override { return m_; }
    int Advance(char32_t ch) override
    {
        if (IsControl(ch)) return 0;
        return IsWideChar(ch) || ch == 0x3000 ? em_ : std::max(1, em_ / 2);
    }
    void Draw(TBitmap& dst, const TRect& clip, int x, int baseline, std::u32string_view text,
              TColor color) override
    {
        const std::uint32_t c = ColorRGB(color) | dst.AlphaBits();
        for (char32_t ch : text) {
            const int adv = Advance(ch);
            if (!IsBlank(ch) && adv > 0) {
                const TRect box =
                    TRect{x, baseline - m_.ascent + 1, x + std::max(1, adv - 1), baseline}.Intersect(clip);
                for (int y = box.Top; y < box.Bottom; ++y)
                    std::fill(dst.ScanLine(y) + box.Left, dst.ScanLine(y) + box.Right, c);
            }
            x += adv;
        }
    }

private:
    int em_;
    FontMetrics m_;
};

// --- FreeType fonts ----------------------------------------------------

// Guards FreeType's library object (face creation and destruction),
// fontconfig, the file cache and the instance cache.
std::recursive_mutex g_mutex;
FT_Library g_ft = nullptr;
bool g_fc_ready = false;

FT_Library Library()
{
    if (!g_ft && FT_Init_FreeType(&g_ft) != 0) g_ft = nullptr;
    return g_ft;
}

bool FontconfigReady()
{
    if (!g_fc_ready) {
        g_fc_ready = FcInit() == FcTrue;
        // Hand fontconfig's configuration back at exit, so that leak checkers
        // see a clean process.
        if (g_fc_ready) std::atexit([] { FcFini(); });
    }
    return g_fc_ready;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

constexpr const char* kLatinFamily = "DejaVu Sans";
constexpr const char* kCjkFamily = "WenQuanYi Micro Hei";

// The names the program's forms use, to the installed families.
std::string MapFamily(const std::string& name)
{
    static const std::map<std::string, std::string> table = {
        {"tahoma", kLatinFamily},
        {"ms sans serif", kLatinFamily},
        {"microsoft sans serif", kLatinFamily},
        {"arial", kLatinFamily},
        {"ms shell dlg", kLatinFamily},
        {"ms shell dlg 2", kLatinFamily},
        {"system", kLatinFamily},
        {"verdana", kLatinFamily},
        {"segoe ui", kLatinFamily},
        {"menu", kLatinFamily},
        {"", kLatinFamily},
        {"courier new", "DejaVu Sans Mono"},
        {"courier", "DejaVu Sans Mono"},
        {"fixedsys", "DejaVu Sans Mono"},
        {"terminal", "DejaVu Sans Mono"},
        {"times new roman", "DejaVu Serif"},
        {"宋体", kCjkFamily},
        {"新宋体", kCjkFamily},
        {"simsun", kCjkFamily},
        {"nsimsun", kCjkFamily},
        {"黑体", kCjkFamily},
        {"simhei", kCjkFamily},
        {"微软雅黑", kCjkFamily},
        {"microsoft yahei", kCjkFamily},
        {"楷体", kCjkFamily},
        {"楷体_gb2312", kCjkFamily},
        {"仿宋", kCjkFamily},
        {"仿宋_gb2312", kCjkFamily},
        {"幼圆", kCjkFamily},
        {"隶书", kCjkFamily},
    };
    auto it = table.find(Lower(name));
    return it == table.end() ? name : it->second;
}

struct FaceFile {
    std::string path;
    int index = 0;
    bool bold = false;    // the file's own weight is bold
    bool italic = false;  // the file's own slant is italic or oblique
};

// fontconfig's best file for a family and style (g_mutex held).
FaceFile MatchFamily(const std::string& family, bool bold, bool italic)
{
    FaceFile out;
    if (!FontconfigReady()) return out;
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult res;
    FcPattern* match = FcFontMatch(nullptr, pat, &res);
    if (match) {
        FcChar8* file = nullptr;
        int index = 0, weight = 0, slant = 0;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
            out.path = reinterpret_cast<char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) out.index = index;
        if (FcPatternGetInteger(match, FC_WEIGHT, 0, &weight) == FcResultMatch)
            out.bold = weight >= FC_WEIGHT_DEMIBOLD;
        if (FcPatternGetInteger(match, FC_SLANT, 0, &slant) == FcResultMatch)
            out.italic = slant != FC_SLANT_ROMAN;
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pat);
    return out;
}

// A file that has a glyph for the character (g_mutex held).
FaceFile MatchChar(char32_t ch)
{
    FaceFile out;
    if (!FontconfigReady()) return out;
    FcPattern* pat = FcPatternCreate();
    FcCharSet* cs = FcCharSetCreate();
    FcCharSetAddChar(cs, ch);
    FcPatternAddCharSet(pat, FC_CHARSET, cs);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult res;
    FcPattern* match = FcFontMatch(nullptr, pat, &res);
    if (match) {
        FcCharSet* have = nullptr;
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetCharSet(match, FC_CHARSET, 0, &have) == FcResultMatch && FcCharSetHasChar(have, ch) &&
            FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            out.path = reinterpret_cast<char*>(file);
            if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) out.index = index;
        }
        FcPatternDestroy(match);
    }
    FcCharSetDestroy(cs);
    FcPatternDestroy(pat);
    return out;
}

// Font files read once and shared by every face opened on them.
std::shared_ptr<const std::vector<unsigned char>> FileBytes(const std::string& path)
{
    static std::map<std::string, std::shared_ptr<const std::vector<unsigned char>>> files;
    auto it = files.find(path);
    if (it != files.end()) return it->second;
    std::ifstream in(path, std::ios::binary);
    std::shared_ptr<const std::vector<unsigned char>> data;
    if (in)
        data = std::make_shared<const std::vector<unsigned char>>(std::istreambuf_iterator<char>(in),
                                                                  std::istreambuf_iterator<char>());
    files[path] = data;
    return data;
}

struct Glyph {
    int left = 0, top = 0, width = 0, height = 0, advance = 0;
    std::vector<unsigned char> coverage;
};

class FreeTypeFont final : public FontInstance {
public:
    // Called with g_mutex held.
    FreeTypeFont(const std::string& name, int heightSpec, bool bold, bool italic)
        : bold_(bold), italic_(italic)
    {
        const std::string family = MapFamily(name);
        AddFace(MatchFamily(family, bold, italic));
        AddFace(MatchFamily(kLatinFamily, bold, italic));
        AddFace(MatchFamily(kCjkFamily, bold, italic));
        int em = heightSpec < 0 ? -heightSpec : heightSpec;
        if (em == 0) em = 11;
        double asc = 0.928, desc = 0.236;  // em fractions, should no face open
        if (!faces_.empty()) {
            FT_Face f = faces_[0].face;
            const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
            const double upem = f->units_per_EM ? f->units_per_EM : 2048;
            if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
                asc = os2->usWinAscent / upem;
                desc = os2->usWinDescent / upem;
            } else if (f->ascender - f->descender > 0) {
                asc = f->ascender / upem;
                desc = -f->descender / upem;
            }
        }
        // A positive height is the cell height: find the em that fills it.
        if (heightSpec > 0) em = std::max(1, static_cast<int>(std::lround(heightSpec / (asc + desc))));
        em_ = em;
        for (auto& fc : faces_) FT_Set_Pixel_Sizes(fc.face, 0, em_);
        m_.ascent = static_cast<int>(std::lround(asc * em_));
        m_.descent = static_cast<int>(std::lround(desc * em_));
        if (heightSpec > 0) m_.descent = std::max(0, heightSpec - m_.ascent);
        m_.height = m_.ascent + m_.descent;
        m_.lineThickness = std::max(1, static_cast<int>(std::lround(em_ / 14.0)));
        m_.underlineOffset = std::max(1, static_cast<int>(std::lround(em_ / 9.0)));
        if (m_.underlineOffset + m_.lineThickness > m_.descent)
            m_.underlineOffset = std::max(1, m_.descent - m_.lineThickness);
        m_.avgCharWidth = std::max(1, AdvanceLocked('x'));
    }
    ~FreeTypeFont() override
    {
        std::lock_guard lock(g_mutex);
        for (auto& f : faces_) FT_Done_Face(f.face);
    }

    const FontMetrics& Metrics() const override { return m_; }

    int Advance(char32_t ch) override
    {
        std::lock_guard lock(mutex_);
        return AdvanceLocked(ch);
    }

    void Draw(TBitmap& dst, const TRect& clipIn, int x, int baseline, std::u32string_view text,
              TColor color) override
    {
        std::lock_guard lock(mutex_);
        const TRect clip = clipIn.Intersect(dst.BoundsRect());
        const std::uint32_t c = ColorRGB(color);
        const std::uint32_t alphaBits = dst.AlphaBits();
        for (char32_t ch : text) {
            const Glyph* g = GlyphFor(ch);
            if (!g) continue;
            const int gx = x + g->left, gy = baseline - g->top;
            const TRect box = TRect{gx, gy, gx + g->width, gy + g->height}.Intersect(clip);
            for (int y = box.Top; y < box.Bottom; ++y) {
                std::uint32_t* row = dst.ScanLine(y);
                const unsigned char* cov =
                    g->coverage.data() + static_cast<std::size_t>(y - gy) * g->width - gx;
                for (int xx = box.Left; xx < box.Right; ++xx) BlendPixel(row[xx], c, cov[xx], alphaBits);
            }
            x += g->advance;
        }
    }

private:
    struct Face {
        std::shared_ptr<const std::vector<unsigned char>> data;
        FT_Face face = nullptr;
        bool synthBold = false, synthItalic = false;
    };

    int AddFace(const FaceFile& file)
    {
        if (file.path.empty()) return -1;
        for (std::size_t i = 0; i < faces_.size(); ++i)
            if (paths_[i] == file.path + "#" + std::to_string(file.index)) return static_cast<int>(i);
        FT_Library lib = Library();
        auto data = FileBytes(file.path);
        if (!lib || !data || data->empty()) return -1;
        Face f;
        f.data = data;
        if (FT_New_Memory_Face(lib, data->data(), static_cast<FT_Long>(data->size()), file.index, &f.face) !=
            0)
            return -1;
        if (em_ > 0) FT_Set_Pixel_Sizes(f.face, 0, em_);
        f.synthBold = bold_ && !file.bold;
        f.synthItalic = italic_ && !file.italic;
        faces_.push_back(f);
        paths_.push_back(file.path + "#" + std::to_string(file.index));
        return static_cast<int>(faces_.size()) - 1;
    }

    struct CharEntry {
        int face = -1;
        FT_UInt glyph = 0;
    };

    CharEntry Lookup(char32_t ch)
    {
        auto it = chars_.find(ch);
        if (it != chars_.end()) return it->second;
        CharEntry e;
        for (std::size_t i = 0; i < faces_.size(); ++i) {
            if (FT_UInt gi = FT_Get_Char_Index(faces_[i].face, ch)) {
                e = {static_cast<int>(i), gi};
                break;
            }
        }
        if (e.face < 0) {
            std::lock_guard lock(g_mutex);
            const int fi = AddFace(MatchChar(ch));
            if (fi >= 0)
                if (FT_UInt gi = FT_Get_Char_Index(faces_[fi].face, ch)) e = {fi, gi};
        }
        if (e.face < 0 && !faces_.empty()) e = {0, 0};  // the primary face's missing-glyph box
        chars_[ch] = e;
        return e;
    }

    const Glyph* GlyphFor(char32_t ch)
    {
        if (IsControl(ch)) return nullptr;
        const CharEntry e = Lookup(ch);
        if (e.face < 0) return nullptr;
        const std::uint64_t key = (static_cast<std::uint64_t>(e.face) << 32) | e.glyph;
        auto it = glyphs_.find(key);
        if (it != glyphs_.end()) return &it->second;
        Glyph g;
        Face& f = faces_[e.face];
        if (FT_Load_Glyph(f.face, e.glyph, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) == 0) {
            FT_GlyphSlot slot = f.face->glyph;
            if (f.synthItalic) FT_GlyphSlot_Oblique(slot);
            if (f.synthBold) FT_GlyphSlot_Embolden(slot);
            if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0) {
                const FT_Bitmap& bm = slot->bitmap;
                g.left = slot->bitmap_left;
                g.top = slot->bitmap_top;
                g.width = static_cast<int>(bm.width);
                g.height = static_cast<int>(bm.rows);
                g.coverage.resize(static_cast<std::size_t>(g.width) * g.height);
                for (int y = 0; y < g.height; ++y) {
                    const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
                    std::copy_n(src, g.width, g.coverage.data() + static_cast<std::size_t>(y) * g.width);
                }
            }
            g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        }
        return &glyphs_.emplace(key, std::move(g)).first->second;
    }

    int AdvanceLocked(char32_t ch)
    {
        const Glyph* g = GlyphFor(ch);
        return g ? g->advance : 0;
    }

    bool bold_, italic_;
    int em_ = 0;
    FontMetrics m_;
    std::vector<Face> faces_;
    std::vector<std::string> paths_;
    std::mutex mutex_;
    std::unordered_map<char32_t, CharEntry> chars_;
    std::unordered_map<std::uint64_t, Glyph> glyphs_;
};

}  // namespace

std::shared_ptr<FontInstance> GetFontInstance(const TFont& font)
{
    using Key = std::tuple<std::string, int, bool, bool>;
    static std::map<Key, std::shared_ptr<FontInstance>> cache;
    const Key key{font.Name(), font.Height(), font.Bold(), font.Italic()};
    std::lock_guard lock(g_mutex);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    std::shared_ptr<FontInstance> fi;
    if (font.Name() == kTestFontName) {
        const int h = font.Height();
        fi = std::make_shared<BoxFont>(h == 0 ? 11 : std::abs(h));
    } else {
        fi = std::make_shared<FreeTypeFont>(font.Name(), font.Height(), font.Bold(), font.Italic());
    }
    if (cache.size() > 256) cache.clear();  // live instances stay with their users
    cache.emplace(key, fi);
    return fi;
}

}  // namespace gfx::internal

namespace gfx {

TFont SystemMenuFont()
{
    TFont f;
    f.SetName("Tahoma");
    f.SetHeight(-11);
    return f;
}

std::string ResolveFontFile(const std::string& name, bool bold, bool italic)
{
    if (name == kTestFontName) return {};
    std::lock_guard lock(internal::g_mutex);
    return internal::MatchFamily(internal::MapFamily(name), bold, italic).path;
}

}  // namespace gfx
